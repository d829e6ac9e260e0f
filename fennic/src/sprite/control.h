// Control: the base of the user-interface controls, a sprite that reports to
// a callback target.
//
// A control carries an enabled flag and a focusable flag. The input focus is
// the owning mode's focus sprite, and it doubles as mouse capture: the
// application gives the focus sprite the keys, the characters, every mouse
// move and every release besides the sprite under the cursor. A press with
// exactly the left (1) or right (4) button mask on an enabled, focusable
// control takes the focus and is consumed; any other press goes on to the
// mode. Focus operations on a control in no mode change only the flags.
//
// Every control renders its own picture in rebuildImage whenever its state
// changes; refresh (after a theme change, for instance) renders it again.
#pragma once

#include "base/callbacks.h"
#include "sprite/sprite.h"

class Control : public Sprite, public CallbackTrigger {
public:
    Control(int x, int y, int nZOrder, bool bEnabled = true);
    ~Control() override;

    // The sprite's named user data and the trigger's data pointer both answer
    // to these names; the argument lists tell them apart.
    using CallbackTrigger::getData;
    using CallbackTrigger::setData;
    using Sprite::getData;
    using Sprite::setData;

    // rebuildImage, then the sprite's refresh.
    void refresh() override;
    void redraw() { rebuildImage(); }
    // Stores the flag; disabling the focused control clears the mode's focus.
    // Does not render: controls that look different when disabled override it.
    virtual void setEnabled(bool bEnabled);
    virtual bool isEnabled() const { return m_bEnabled; }
    // Base: nothing.
    virtual void rebuildImage() {}

    bool onMouseDown(int nButtonMask) override;

    bool isFocusable() const { return m_bFocusable; }
    // False also releases the mode's focus, whoever holds it.
    void setFocusable(bool bFocusable);
    void takeFocus();
    void releaseFocus();
    bool hasFocus() const;

private:
    bool m_bEnabled;
    bool m_bFocusable = false;
};
