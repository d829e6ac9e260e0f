// Control: the base of the user-interface controls, a sprite that reports to
// a callback target. refresh rebuilds the control's picture from its state
// and the current theme (after a theme change, for instance).
#pragma once

#include "callbacks.h"
#include "sprite.h"

class Control : public Sprite, public CallbackTrigger {
public:
    Control(int x, int y, int nZOrder);
    ~Control() override;

    // The sprite's named user data and the trigger's data pointer both answer
    // to these names; the argument lists tell them apart.
    using CallbackTrigger::getData;
    using CallbackTrigger::setData;
    using Sprite::getData;
    using Sprite::setData;

    // Base: the sprite's refresh.
    void refresh() override;
};
