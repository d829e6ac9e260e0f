// The congratulation dialog and its flower bursts (longdialogmode.h).
#include "screens/longdialogmode.h"

#include <cstdlib>

#include <zep2/error.h>

#include "effects/particle_emitter.h"
#include "ui/ui_button.h"
#include "ui/ui_label.h"

namespace {

constexpr const char* kZepSource = ".\\src\\longdialogmode";

constexpr int kCentred = 0x24;
constexpr int kWrapWidth = 330;
constexpr int kLabelLayer = 7;

}  // namespace

LongDialogMode::LongDialogMode(const Zep::String& sText, const Zep::String& sSecondText, int nButtonId)
    : m_sText(sText), m_sSecondText(sSecondText), m_nButtonId(nButtonId) {}

LongDialogMode::~LongDialogMode() = default;

void LongDialogMode::onEnter() {
    ZEP_TRACE("LongDialogMode::onEnter");
    start();
    Zep::SmartPtr<Table> pTable = getTable();
    Zep::SmartPtr<Sprite> pPicture = new Sprite(getImage("congrats"), 0, 0, 0);
    addSprite(pPicture);
    pTable->add(pPicture.get(), kCentred);
    pTable->newRow();
    Zep::SmartPtr<Label> pText = new Label(m_sText.c_str(), 0, 0, kLabelLayer, kWrapWidth, true);
    pText->setTextAlign(4);
    addSprite(pText.get());
    pTable->add(pText.get(), kCentred);
    pTable->newRow();
    Zep::SmartPtr<Button> pOk = new Button(getText("CPD_OK"), m_nButtonId);
    addControl(pOk.get());
    pTable->add(pOk.get(), kCentred);
}

void LongDialogMode::onUpdate(float fDelta) {
    launchFlower();
    TUKDialog::onUpdate(fDelta);
}

void LongDialogMode::onCallback(int, void*) { endMode(); }

void LongDialogMode::launchFlower() {
    ZEP_TRACE("LongDialogMode::launchFlower");
    const int nFlower = std::rand() % 5 + 1;
    Zep::SmartPtr<Image> pFlower = getImage(Zep::String::format("mapa_flor_%d_s", nFlower).c_str())->clone(false);
    pFlower->alignInsPoint(Image::kAlignCenterX | Image::kAlignCenterY);
    const int x = std::rand() % 400 + 200;
    Zep::SmartPtr<ParticleEmitter> pEmitter = new ParticleEmitter(this);
    pEmitter->load(kEmitter);
    pEmitter->setPosition(x, kFlowerY);
    pEmitter->addImageType(pFlower, 0);
    pEmitter->setZOrder(0);
    pEmitter->emit(-1);
    addParticles(pEmitter->getParticles());
}
