#include "theme.h"

Theme::Theme() = default;

Theme::~Theme() = default;
