#include "sprite/control.h"

#include "sprite/gamemode.h"

Control::Control(int x, int y, int nZOrder, bool bEnabled) : Sprite(x, y, nZOrder), m_bEnabled(bEnabled) {
    setTarget(nullptr);
    setFocusable(false);
}

Control::~Control() = default;

void Control::refresh() {
    rebuildImage();
    Sprite::refresh();
}

void Control::setEnabled(bool bEnabled) {
    m_bEnabled = bEnabled;
    if (!bEnabled && hasFocus()) getMode()->setFocusSprite(Zep::SmartPtr<Sprite>());
}

// An equality test on the mask: a press of two buttons at once is not taken.
bool Control::onMouseDown(int nButtonMask) {
    if (!isEnabled() || !isFocusable() || (nButtonMask != 1 && nButtonMask != 4)) return false;
    takeFocus();
    return true;
}

void Control::setFocusable(bool bFocusable) {
    m_bFocusable = bFocusable;
    if (!bFocusable) releaseFocus();
}

void Control::takeFocus() {
    if (getMode()) getMode()->setFocusSprite(Zep::SmartPtr<Sprite>(this));
}

void Control::releaseFocus() {
    if (getMode()) getMode()->setFocusSprite(Zep::SmartPtr<Sprite>());
}

bool Control::hasFocus() const { return getMode() && getMode()->getFocusSprite().get() == this; }
