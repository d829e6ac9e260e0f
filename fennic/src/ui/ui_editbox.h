// EditBox: the one-line text entry, a label that edits its text.
//
// It takes the focus on a left or right press, keeps a caret counted in
// UTF-8 characters, edits from key and character events, refuses characters
// outside the allowed set or inside the forbidden set (unconsumed, so the mode
// still sees them), and drops characters beyond the maximum length or beyond
// the wrap width, which serves as the maximum text width in pixels. Every
// edit is reported to the mode that holds the box once the owner has set a
// callback id (-1 after construction: nothing is reported). "No modifier"
// means no bit outside 0xF000, so Num Lock and Caps Lock do not count.
// Escape, Return and Tab go once to the owning mode's onKeyDown and are
// consumed; a box in no mode passes them to nobody and still consumes them.
// While focused, the image is widened by the width of "__" and a steady "_"
// marks the caret. A character dropped because the box is full (the maximum
// length or width) plays the full sound when one is set, so the player hears
// that the key was refused.
#pragma once

#include "ui/ui_label.h"

class Sample;

class EditBox : public Label {
public:
    EditBox();
    EditBox(int x, int y, int nZOrder, int nMaxWidth, bool bEnabled);
    EditBox(int x, int y, int nZOrder, Zep::SmartPtr<Image> pBackground, bool bEnabled);
    ~EditBox() override;

    void setAllowedChars(const Zep::String& sChars) { m_sAllowedChars = sChars; }
    void setForbiddenChars(const Zep::String& sChars) { m_sForbiddenChars = sChars; }
    void setMaxLength(int nChars) { m_nMaxLength = nChars; }
    void setFullSound(const Zep::SmartPtr<Sample>& pSample);
    // Clamped to 0 .. the text's length in characters.
    void setCaretPos(int nPos);
    int getCaretPos() const { return m_nCaretPos; }

    using Label::setText;
    void setText(const char* szText) override;
    int getTextWidth() override;
    void rebuildImage() override;

    bool onFocus() override;
    bool onBlur() override;
    bool onKeyDown(int nKey, int nModifiers) override;
    bool onChar(int nCodePoint) override;
    bool onModeSet() override;

private:
    void init();
    void reportChange();
    bool moveCaret(int nKey);
    void removeAt(int nIndex);
    // Consumed and dropped: the box is full.
    bool refuseFull();

    int32_t m_nCaretPos = 0;
    int32_t m_nMaxLength = -1;
    Zep::String m_sAllowedChars;
    Zep::String m_sForbiddenChars;
    Zep::SmartPtr<Sample> m_pFullSound;
};
