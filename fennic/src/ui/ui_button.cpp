#include "ui/ui_button.h"

#include "application/gameapp.h"
#include "sprite/gamemode.h"
#include "theme/theme.h"

namespace {

Zep::SmartPtr<Theme> currentTheme() {
    GameApp* pApp = GameApp::getInstance();
    return pApp ? pApp->getTheme() : Zep::SmartPtr<Theme>();
}

bool leftButtonHeld() {
    GameApp* pApp = GameApp::getInstance();
    return pApp && pApp->isMouseButtonDown(1);
}

}  // namespace

// ---- Button ----------------------------------------------------------------------------

Button::Button(const char* szCaption, int nCallbackId) : Control(0, 0, 0, true), m_sCaption(szCaption) {
    setCallback(nullptr, nCallbackId, nullptr);
}

Button::Button(const char* szCaption, int nCallbackId, int x, int y, int nZOrder, int nWidth)
    : Control(x, y, nZOrder, true), m_sCaption(szCaption), m_nWidth(nWidth) {
    setCallback(nullptr, nCallbackId, nullptr);
}

Button::~Button() = default;

void Button::setState(int nState) {
    m_nState = nState;
    if (isVisible()) rebuildImage();
}

void Button::setCaption(const char* szCaption) {
    m_sCaption = szCaption;
    rebuildImage();
}

void Button::setStyle(const char* szStyle) {
    m_sStyle = Zep::String(szStyle).toLower();
    if (isVisible()) rebuildImage();
}

void Button::setSize(int nWidth, int) {
    m_nWidth = nWidth;
    rebuildImage();
}

// Shown again in a mode, the hover follows the mouse; hidden, it is left.
void Button::setVisible(bool bVisible) {
    const bool bWasVisible = isVisible();
    Sprite::setVisible(bVisible);
    if (isVisible() && !bWasVisible && getMode()) {
        if (GameApp* pApp = GameApp::getInstance()) pApp->refreshMousePosition();
        rebuildImage();
    } else if (!isVisible()) {
        onMouseLeave();
    }
}

void Button::setEnabled(bool bEnabled) {
    if (bEnabled != isEnabled()) {
        if (GameMode* pMode = getMode()) {
            if (bEnabled)
                pMode->addControl(Zep::SmartPtr<Sprite>(this));
            else
                pMode->removeControl(Zep::SmartPtr<Sprite>(this));
        }
        Control::setEnabled(bEnabled);
        setState(bEnabled ? kNormal : kDisabled);
    }
    rebuildImage();
}

void Button::rebuildImage() { setImage(getStateImage()); }

Zep::SmartPtr<Image> Button::getStateImage() {
    Zep::SmartPtr<Theme> pTheme = currentTheme();
    if (pTheme.isNULL()) return Zep::SmartPtr<Image>();
    return pTheme->makeButtonImage(m_sCaption.c_str(), m_nState, m_nWidth, m_sStyle.c_str());
}

void Button::playHighlightSound() {
    if (m_nSoundFlags & kNoHighlightSound) return;
    if (Zep::SmartPtr<Theme> pTheme = currentTheme(); pTheme.notNULL()) pTheme->playButtonHighlightSound(m_sStyle.c_str());
}

bool Button::onMouseEnter() {
    if (!isEnabled()) return false;
    if (leftButtonHeld()) {
        setState(kPushed);
        return false;
    }
    playHighlightSound();
    setState(kHighlight);
    return false;
}

bool Button::onMouseLeave() {
    if (isEnabled()) setState(kNormal);
    return false;
}

bool Button::onMouseDown(int nButtonMask) {
    if (nButtonMask != 1 || !isEnabled()) return false;
    setState(kPushed);
    return true;
}

bool Button::onMouseUp(int nButtonMask) {
    if (nButtonMask != 1 || !isEnabled()) return false;
    setState(kHighlight);
    if (Zep::SmartPtr<Theme> pTheme = currentTheme(); pTheme.notNULL()) pTheme->playButtonSound(m_sStyle.c_str());
    trigger();
    return true;
}

// A mode that empties its lists all at once does not detach each sprite, so
// the mode left behind is also forgotten as target here. Only joining resets
// the state and renders: a button leaving a mode keeps its picture, so that
// a mode being freed never asks the theme for anything.
bool Button::onModeSet() {
    if (m_pJoinedMode && m_pJoinedMode != getMode() && getTarget() == m_pJoinedMode) setTarget(nullptr);
    m_pJoinedMode = getMode();
    if (!getMode()) return false;
    setState(kNormal);
    if (!getTarget()) setCallback(getMode(), getCallbackId(), getData());
    return false;
}

void Button::detachFromMode() {
    if (getMode() && getTarget() == getMode()) setTarget(nullptr);
    Control::detachFromMode();
}

// ---- ToggleButton ----------------------------------------------------------------------

ToggleButton::ToggleButton(const char* szCaption, int nCallbackId) : Button(szCaption, nCallbackId) {}

ToggleButton::ToggleButton(const char* szCaption, int nCallbackId, int x, int y, int nZOrder, int nWidth)
    : Button(szCaption, nCallbackId, x, y, nZOrder, nWidth) {}

ToggleButton::~ToggleButton() = default;

void ToggleButton::setChecked(bool bChecked) {
    m_bChecked = bChecked;
    setState(!isEnabled() ? kDisabled : (bChecked ? kPushed : kNormal));
}

bool ToggleButton::onMouseEnter() {
    if (isChecked()) return false;
    playHighlightSound();
    setState(kHighlight);
    return false;
}

bool ToggleButton::onMouseLeave() {
    if (!isChecked()) setState(kNormal);
    return false;
}

bool ToggleButton::onMouseDown(int nButtonMask) {
    if (nButtonMask != 1) return false;
    setChecked(!isChecked());
    if (getMode()) trigger();
    return true;
}

bool ToggleButton::onMouseUp(int) { return true; }
