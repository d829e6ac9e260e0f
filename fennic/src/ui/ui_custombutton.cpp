// The custom buttons: a picture of their own per state, given directly, by
// name, or found from one base name.
#include "application/gameapp.h"
#include "ui/ui_button.h"

namespace {

GameApp* app() { return GameApp::getInstance(); }

bool exists(const Zep::String& sName) { return app() && app()->imageExists(sName.c_str()); }

Zep::SmartPtr<Image> imageNamed(const char* szName) { return app() ? app()->getImage(szName) : Zep::SmartPtr<Image>(); }

// The first existing name of base + ending, or an empty string.
Zep::String firstExisting(const char* szBase, std::initializer_list<const char*> endings) {
    for (const char* szEnding : endings)
        if (Zep::String sName = Zep::String(szBase) + szEnding; exists(sName)) return sName;
    return Zep::String();
}

StateImages imagesNamed(const Zep::String asNames[4]) {
    StateImages images;
    for (int i = 0; i < 4; ++i) images.a[i] = imageNamed(asNames[i].c_str());
    return images;
}

StateImages imagesNamed(const char* szNormal, const char* szPushed, const char* szHighlight, const char* szDisabled) {
    const Zep::String asNames[4] = {szNormal, szPushed, szHighlight, szDisabled};
    return imagesNamed(asNames);
}

}  // namespace

void findButtonImageNames(const char* szBase, Zep::String asNames[4]) {
    asNames[0] = firstExisting(szBase, {"normal", "up", ""});
    if (asNames[0].isEmpty()) asNames[0] = szBase;
    asNames[1] = firstExisting(szBase, {"pushed", "pressed", "down", "dn"});
    asNames[2] = firstExisting(szBase, {"highlight", "high", "o"});
    asNames[3] = firstExisting(szBase, {"disabled", "gray", "grey"});
    for (int i = 1; i < 4; ++i)
        if (asNames[i].isEmpty()) asNames[i] = asNames[0];
}

void findToggleImageNames(const char* szBase, Zep::String asNames[4]) {
    const char* aszEndings[4] = {"normal", "pushed", "highlight", "disabled"};
    for (int i = 0; i < 4; ++i) asNames[i] = Zep::String(szBase) + aszEndings[i];
    for (int i = 1; i < 4; ++i)
        if (!exists(asNames[i])) asNames[i] = asNames[0];
}

// ---- CustomButton ----------------------------------------------------------------------

CustomButton::CustomButton(int nCallbackId, Zep::SmartPtr<Image> pNormal, Zep::SmartPtr<Image> pPushed,
                           Zep::SmartPtr<Image> pHighlight, Zep::SmartPtr<Image> pDisabled)
    : Button("", nCallbackId) {
    setImages(pNormal, pPushed, pHighlight, pDisabled);
}

CustomButton::CustomButton(int nCallbackId, const char* szNormal, const char* szPushed, const char* szHighlight,
                           const char* szDisabled)
    : Button("", nCallbackId) {
    const StateImages images = imagesNamed(szNormal, szPushed, szHighlight, szDisabled);
    setImages(images.a[0], images.a[1], images.a[2], images.a[3]);
}

CustomButton::CustomButton(int nCallbackId, const char* szBaseName) : Button("", nCallbackId) {
    Zep::String asNames[4];
    findButtonImageNames(szBaseName, asNames);
    const StateImages images = imagesNamed(asNames);
    setImages(images.a[0], images.a[1], images.a[2], images.a[3]);
}

CustomButton::~CustomButton() = default;

void CustomButton::setImages(Zep::SmartPtr<Image> pNormal, Zep::SmartPtr<Image> pPushed,
                             Zep::SmartPtr<Image> pHighlight, Zep::SmartPtr<Image> pDisabled) {
    m_images = StateImages{{pNormal, pPushed, pHighlight, pDisabled}};
    rebuildImage();
}

Zep::SmartPtr<Image> CustomButton::getStateImage() { return m_images.a[getState() & 3]; }

// ---- CustomToggleButton ----------------------------------------------------------------

CustomToggleButton::CustomToggleButton(int nCallbackId, Zep::SmartPtr<Image> pNormal, Zep::SmartPtr<Image> pPushed,
                                       Zep::SmartPtr<Image> pHighlight, Zep::SmartPtr<Image> pDisabled)
    : ToggleButton("", nCallbackId) {
    setImages(pNormal, pPushed, pHighlight, pDisabled);
}

CustomToggleButton::CustomToggleButton(int nCallbackId, const char* szNormal, const char* szPushed,
                                       const char* szHighlight, const char* szDisabled)
    : ToggleButton("", nCallbackId) {
    const StateImages images = imagesNamed(szNormal, szPushed, szHighlight, szDisabled);
    setImages(images.a[0], images.a[1], images.a[2], images.a[3]);
}

CustomToggleButton::CustomToggleButton(int nCallbackId, const char* szBaseName) : ToggleButton("", nCallbackId) {
    Zep::String asNames[4];
    findToggleImageNames(szBaseName, asNames);
    const StateImages images = imagesNamed(asNames);
    setImages(images.a[0], images.a[1], images.a[2], images.a[3]);
}

CustomToggleButton::~CustomToggleButton() = default;

void CustomToggleButton::setImages(Zep::SmartPtr<Image> pNormal, Zep::SmartPtr<Image> pPushed,
                                   Zep::SmartPtr<Image> pHighlight, Zep::SmartPtr<Image> pDisabled) {
    m_images = StateImages{{pNormal, pPushed, pHighlight, pDisabled}};
    rebuildImage();
}

Zep::SmartPtr<Image> CustomToggleButton::getStateImage() { return m_images.a[getState() & 3]; }
