// The push buttons: Button (a caption drawn by the theme in a named button
// style), ToggleButton (checked or not, toggles on the press), and
// CustomButton / CustomToggleButton (a picture of their own per state).
//
// States, also the index of the state image: 0 normal, 1 pushed (left button
// held on it, or a checked toggle), 2 highlight (hovered), 3 disabled.
//
// A Button fires on a left release while enabled, whether or not the press
// happened on it: a press elsewhere dragged onto the button and released
// there clicks it. The click sound plays first, then the callback. Entering
// plays the style's highlight sound unless sound flag 0x100 is set. Disabling
// takes the button out of its mode's controls (it then gets no mouse input)
// and enabling puts it back. A button has no image until it joins a mode or
// changes; joining resets the state to 0 and makes the mode the callback
// target when none is set; leaving clears only a target that is that mode and
// renders nothing (the picture stays as it was).
#pragma once

#include <zep2/str.h>

#include "sprite/control.h"

class Button : public Control {
public:
    enum { kNormal = 0, kPushed = 1, kHighlight = 2, kDisabled = 3 };
    static constexpr int kNoHighlightSound = 0x100;

    Button(const char* szCaption, int nCallbackId);
    Button(const char* szCaption, int nCallbackId, int x, int y, int nZOrder, int nWidth);
    ~Button() override;

    int getState() const { return m_nState; }
    // Renders only when visible.
    void setState(int nState);
    const Zep::String& getCaption() const { return m_sCaption; }
    void setCaption(const char* szCaption);
    // Stored in lower case; empty is the theme's default style.
    void setStyle(const char* szStyle);
    const Zep::String& getStyle() const { return m_sStyle; }
    void setSoundFlags(int nFlags) { m_nSoundFlags = nFlags; }
    int getSoundFlags() const { return m_nSoundFlags; }

    // The width becomes nWidth (the height is not used).
    void setSize(int nWidth, int nHeight) override;
    using Sprite::setSize;
    void setVisible(bool bVisible) override;
    void setEnabled(bool bEnabled) override;
    void rebuildImage() override;
    // The theme's button image of caption, state, width and style.
    virtual Zep::SmartPtr<Image> getStateImage();

    bool onMouseEnter() override;
    bool onMouseLeave() override;
    bool onMouseDown(int nButtonMask) override;
    bool onMouseUp(int nButtonMask) override;
    bool onModeSet() override;
    void detachFromMode() override;

protected:
    void playHighlightSound();

private:
    Zep::String m_sCaption;
    int32_t m_nState = kNormal;
    int32_t m_nWidth = -1;
    Zep::String m_sStyle;
    int32_t m_nSoundFlags = 0;
    GameMode* m_pJoinedMode = nullptr;  // the mode last joined, not owned
};

// Toggles and fires on a left press (the callback only while in a mode); a
// release is consumed and does nothing; no click sound. It does not look at
// the enabled flag: disabling already takes it out of the mode's controls.
class ToggleButton : public Button {
public:
    ToggleButton(const char* szCaption, int nCallbackId);
    ToggleButton(const char* szCaption, int nCallbackId, int x, int y, int nZOrder, int nWidth);
    ~ToggleButton() override;

    bool isChecked() const { return m_bChecked; }
    // State 3 when disabled, else 1 checked, 0 not.
    virtual void setChecked(bool bChecked);

    bool onMouseEnter() override;
    bool onMouseLeave() override;
    bool onMouseDown(int nButtonMask) override;
    bool onMouseUp(int nButtonMask) override;

private:
    bool m_bChecked = false;
};

// The four state pictures of a custom button: normal, pushed, highlight, disabled.
struct StateImages {
    Zep::SmartPtr<Image> a[4];
};

// Picture names for a base name: for each state the first existing name of
// its endings (normal "normal", "up", ""; pushed "pushed", "pressed", "down",
// "dn"; highlight "highlight", "high", "o"; disabled "disabled", "gray",
// "grey"); a state without one takes the normal name, and the normal name
// is the base name itself when none of its endings exists.
void findButtonImageNames(const char* szBase, Zep::String asNames[4]);
// For toggles: base + "normal" (kept even when missing), "pushed",
// "highlight", "disabled", each missing one replaced by the normal name.
void findToggleImageNames(const char* szBase, Zep::String asNames[4]);

class CustomButton : public Button {
public:
    CustomButton(int nCallbackId, Zep::SmartPtr<Image> pNormal, Zep::SmartPtr<Image> pPushed,
                 Zep::SmartPtr<Image> pHighlight, Zep::SmartPtr<Image> pDisabled);
    CustomButton(int nCallbackId, const char* szNormal, const char* szPushed, const char* szHighlight,
                 const char* szDisabled);
    CustomButton(int nCallbackId, const char* szBaseName);
    ~CustomButton() override;

    void setImages(Zep::SmartPtr<Image> pNormal, Zep::SmartPtr<Image> pPushed, Zep::SmartPtr<Image> pHighlight,
                   Zep::SmartPtr<Image> pDisabled);
    Zep::SmartPtr<Image> getStateImage() override;

private:
    StateImages m_images;
};

class CustomToggleButton : public ToggleButton {
public:
    CustomToggleButton(int nCallbackId, Zep::SmartPtr<Image> pNormal, Zep::SmartPtr<Image> pPushed,
                       Zep::SmartPtr<Image> pHighlight, Zep::SmartPtr<Image> pDisabled);
    CustomToggleButton(int nCallbackId, const char* szNormal, const char* szPushed, const char* szHighlight,
                       const char* szDisabled);
    CustomToggleButton(int nCallbackId, const char* szBaseName);
    ~CustomToggleButton() override;

    void setImages(Zep::SmartPtr<Image> pNormal, Zep::SmartPtr<Image> pPushed, Zep::SmartPtr<Image> pHighlight,
                   Zep::SmartPtr<Image> pDisabled);
    Zep::SmartPtr<Image> getStateImage() override;

private:
    StateImages m_images;
};
