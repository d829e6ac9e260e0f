#include "ui/ui_radio.h"

#include "application/gameapp.h"
#include "sprite/gamemode.h"
#include "theme/theme.h"
#include "ui/ui_label.h"

namespace {

constexpr int kLeftCentredV = 0x20;

GameApp* app() { return GameApp::getInstance(); }

Zep::SmartPtr<Theme> currentTheme() { return app() ? app()->getTheme() : Zep::SmartPtr<Theme>(); }

}  // namespace

// ---- RadioCustomButton -------------------------------------------------------------------

RadioCustomButton::RadioCustomButton(ToggleButton* pLinked, int nCallbackId, Zep::SmartPtr<Image> pNormal,
                                     Zep::SmartPtr<Image> pPushed, Zep::SmartPtr<Image> pHighlight,
                                     Zep::SmartPtr<Image> pDisabled)
    : CustomToggleButton(nCallbackId, pNormal, pPushed, pHighlight, pDisabled), m_pLinked(pLinked) {
    if (m_pLinked) setChecked(m_pLinked->isChecked());
}

RadioCustomButton::~RadioCustomButton() = default;

void RadioCustomButton::setChecked(bool bChecked) {
    ToggleButton::setChecked(bChecked);
    if (m_pLinked && m_pLinked->isChecked() != bChecked) m_pLinked->setChecked(bChecked);
}

// ---- RadioButton -------------------------------------------------------------------------

RadioButton::RadioButton(GameMode* pOwner, Zep::SmartPtr<Image> pUnchecked, Zep::SmartPtr<Image> pChecked,
                         const char* szTextOrImageName, int nCallbackId)
    : Table(pOwner) {
    buildOption(pUnchecked, pChecked, szTextOrImageName, nCallbackId);
}

RadioButton::RadioButton(GameMode* pOwner, const char* szTextOrImageName, int nCallbackId) : Table(pOwner) {
    Zep::SmartPtr<Image> pUnchecked, pChecked;
    if (Zep::SmartPtr<Theme> pTheme = currentTheme(); pTheme.notNULL())
        pTheme->getRadioButtonImages(&pUnchecked, &pChecked);
    buildOption(pUnchecked, pChecked, szTextOrImageName, nCallbackId);
}

RadioButton::~RadioButton() = default;

void RadioButton::buildOption(Zep::SmartPtr<Image> pUnchecked, Zep::SmartPtr<Image> pChecked, const char* szName,
                              int nId) {
    // Name, and the option's text for a name that is not a picture.
    setName((Zep::String("Radio::") + szName).c_str());
    const bool bImage = app() && app()->imageExists(szName);
    if (!bImage) m_sText = app() && app()->hasText(szName) ? app()->getText(szName) : szName;
    // The check mark in the first cell.
    newCell(1);
    m_pCheck = new RadioCustomButton(nullptr, nId, pUnchecked, pChecked, pUnchecked, nullptr);
    m_pCheck->setSoundFlags(Button::kNoHighlightSound);
    if (getOwner()) getOwner()->addControl(m_pCheck.get());
    add(m_pCheck.get(), kLeftCentredV);
    // The picture (or a placeholder for the text) as the label button in the second.
    Zep::SmartPtr<Image> pPicture = bImage ? app()->getImage(szName) : placeholderPicture();
    newCell(1);
    m_pLabelButton = new RadioCustomButton(m_pCheck.get(), nId, pPicture, pPicture, pPicture, pPicture);
    m_pLabelButton->setSoundFlags(Button::kNoHighlightSound);
    if (getOwner()) getOwner()->addControl(m_pLabelButton.get());
    add(m_pLabelButton.get(), kLeftCentredV);
    // Linked both ways, the text rendered, hits by rectangle.
    m_pCheck->setLinked(m_pLabelButton.get());
    m_pCheck->setChecked(m_pLabelButton->isChecked());
    if (!bImage) setText(m_sText.c_str());
    m_pCheck->setHitTestMode(1);
    m_pLabelButton->setHitTestMode(1);
}

// A blank picture as wide as the empty text and one default-font line tall
// (at least one pixel each way).
Zep::SmartPtr<Image> RadioButton::placeholderPicture() {
    Zep::SmartPtr<Theme> pTheme = currentTheme();
    if (!app() || pTheme.isNULL()) return Zep::SmartPtr<Image>();
    Zep::SmartPtr<Font> pFont = pTheme->getFont("Theme::Default");
    const int nHeight = pFont.notNULL() ? pFont->getHeight() : 1;
    const int nWidth = pFont.notNULL() ? pFont->getTextWidth("") : 0;
    return app()->createImage(nWidth > 0 ? nWidth : 1, nHeight > 0 ? nHeight : 1, true);
}

int RadioButton::getId() const { return m_pCheck->getCallbackId(); }

void RadioButton::setId(int nId) {
    m_pCheck->setCallbackId(nId);
    m_pLabelButton->setCallbackId(nId);
}

bool RadioButton::isChecked() const { return m_pCheck->isChecked(); }

void RadioButton::setChecked(bool bChecked) { m_pCheck->setChecked(bChecked); }

void RadioButton::setText(const char* szText) {
    m_sText = szText;
    Zep::SmartPtr<Label> pLabel = new Label(szText);
    if (m_pFont.notNULL()) pLabel->setFont(m_pFont);
    Zep::SmartPtr<Image> pImage = pLabel->getImage();
    m_pLabelButton->setImages(pImage, pImage, pImage, pImage);
    m_pLabelButton->rebuildImage();
}

void RadioButton::setFont(Zep::SmartPtr<Font> pFont) {
    m_pFont = pFont;
    setText(Zep::String(m_sText).c_str());
}

// ---- RadioGroup -------------------------------------------------------------------------

bool RadioGroup::select(int nCallbackId) {
    bool bFound = false;
    for (const Zep::SmartPtr<RadioButton>& pOption : *this) {
        pOption->setChecked(pOption->getId() == nCallbackId);
        bFound = bFound || pOption->getId() == nCallbackId;
    }
    return bFound;
}
