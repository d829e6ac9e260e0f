#include "control.h"

Control::Control(int x, int y, int nZOrder) : Sprite(x, y, nZOrder) { setTarget(nullptr); }

Control::~Control() = default;

void Control::refresh() { Sprite::refresh(); }
