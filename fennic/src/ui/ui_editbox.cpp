#include "ui/ui_editbox.h"

#include <algorithm>

#include "driver/audiodriver.h"
#include "text/font.h"
#include "application/gameapp.h"
#include "sprite/gamemode.h"
#include "base/keys.h"

namespace {

constexpr unsigned kIgnoredModifiers = 0xF000;

bool hasModifier(int nModifiers) { return (static_cast<unsigned>(nModifiers) & ~kIgnoredModifiers) != 0; }

bool isCaretKey(int nKey) { return nKey == Key::Left || nKey == Key::Right || nKey == Key::Home || nKey == Key::End; }

bool isModeKey(int nKey) { return nKey == Key::Escape || nKey == Key::Return || nKey == Key::Tab; }

}  // namespace

EditBox::EditBox() : Label("", 0, 0, 0, 0, true) { init(); }

EditBox::EditBox(int x, int y, int nZOrder, int nMaxWidth, bool bEnabled)
    : Label("", x, y, nZOrder, nMaxWidth, bEnabled) {
    init();
}

EditBox::EditBox(int x, int y, int nZOrder, Zep::SmartPtr<Image> pBackground, bool bEnabled)
    : Label("", x, y, nZOrder, pBackground, bEnabled) {
    init();
}

EditBox::~EditBox() = default;

void EditBox::setFullSound(const Zep::SmartPtr<Sample>& pSample) { m_pFullSound = pSample; }

void EditBox::init() {
    m_nCaretPos = 0;
    setFocusable(true);
    m_nMaxLength = -1;
    setCallback(nullptr, -1, nullptr);
}

void EditBox::setCaretPos(int nPos) {
    m_nCaretPos = std::clamp(nPos, 0, text().utf8Length());
    rebuildImage();
}

void EditBox::setText(const char* szText) {
    Label::setText(szText);
    m_nCaretPos = std::min(m_nCaretPos, text().utf8Length());
}

int EditBox::getTextWidth() {
    const int w = Label::getTextWidth();
    return hasFocus() && getFont().notNULL() ? w + getFont()->getTextWidth("__") : w;
}

// The label, then the caret drawn at its place in the shown text.
void EditBox::rebuildImage() {
    renderText();
    Zep::SmartPtr<Image> pImage = getImage();
    if (!hasFocus() || pImage.isNULL() || getFont().isNULL()) return;
    const int m = getTextMargin();
    m_nCaretPos = std::min(m_nCaretPos, text().utf8Length());
    const int x = m + getFont()->getTextWidth(getDisplayText().utf8Left(m_nCaretPos).c_str());
    getFont()->drawText(pImage, x, m, "_");
    setImage(pImage);
}

bool EditBox::onFocus() {
    setCaretPos(text().utf8Length());
    rebuildImage();
    return false;
}

bool EditBox::onBlur() {
    rebuildImage();
    return false;
}

// The mode that holds the box is always its target; id and data stay.
bool EditBox::onModeSet() {
    setCallback(getMode(), getCallbackId(), CallbackTrigger::getData());
    return false;
}

void EditBox::reportChange() {
    if (getCallbackId() != -1) trigger();
}

void EditBox::removeAt(int nIndex) {
    const Zep::String& s = text();
    setText((s.utf8Left(nIndex) + s.utf8Mid(nIndex + 1)).c_str());
}

bool EditBox::moveCaret(int nKey) {
    const int nLength = text().utf8Length();
    if (nKey == Key::Left && m_nCaretPos > 0) --m_nCaretPos;
    if (nKey == Key::Right && m_nCaretPos < nLength) ++m_nCaretPos;
    if (nKey == Key::Home) m_nCaretPos = 0;
    if (nKey == Key::End) m_nCaretPos = nLength;
    rebuildImage();
    return true;
}

bool EditBox::onKeyDown(int nKey, int nModifiers) {
    if (nKey == Key::Backspace) {
        if (m_nCaretPos >= 1) removeAt(--m_nCaretPos);
        reportChange();
        return true;
    }
    if (nKey == Key::Delete) {
        if (m_nCaretPos < text().utf8Length()) removeAt(m_nCaretPos);
        reportChange();
        return true;
    }
    if (hasModifier(nModifiers)) return false;
    if (isCaretKey(nKey)) return moveCaret(nKey);
    if (!isModeKey(nKey)) return false;
    // Passed on once; in no mode nobody gets them.
    if (GameMode* pMode = getMode()) pMode->onKeyDown(nKey, nModifiers);
    return true;
}

bool EditBox::onChar(int nCodePoint) {
    if (nCodePoint == 0) return false;
    const Zep::String& s = text();
    if (m_nMaxLength != -1 && s.utf8Length() >= m_nMaxLength) return refuseFull();
    const Zep::String c = Zep::String::fromCodePoint(nCodePoint);
    if (!m_sAllowedChars.isEmpty() && m_sAllowedChars.find(c.c_str(), 0) < 0) return false;
    if (!m_sForbiddenChars.isEmpty() && m_sForbiddenChars.find(c.c_str(), 0) >= 0) return false;
    const Zep::String sCandidate = s.utf8Left(m_nCaretPos) + c + s.utf8Mid(m_nCaretPos);
    const int nWrap = getWrapWidth();
    if (nWrap > 0 && getFont().notNULL() && getFont()->getTextWidth(sCandidate.c_str()) > nWrap) return refuseFull();
    ++m_nCaretPos;
    setText(sCandidate.c_str());
    reportChange();
    return true;
}

bool EditBox::refuseFull() {
    GameApp* pApp = GameApp::getInstance();
    if (m_pFullSound.notNULL() && pApp) pApp->playSound(m_pFullSound, false, -1);
    return true;
}
