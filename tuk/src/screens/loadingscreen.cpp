// The start-up loading screen (loadingscreen.h).
#include "screens/loadingscreen.h"

#include <cstdint>

#include <zep2/error.h>
#include <zep2/resource.h>

#include "application/gameapp.h"
#include "screens/menumode.h"
#include "effects/particle_emitter.h"
#include "screens/sandtiles.h"
#include "ui/ui_label.h"

namespace {

constexpr const char* kZepSource = ".\\src\\loadingscreen";

constexpr const char* kLineBreaks = "\r\n";
constexpr int kCentred = 0x24;
constexpr int kRowSpacing = 5;
constexpr int kCentreX = 400;
constexpr int kLabelY = 380;
constexpr int kRowY = 300;
const Color kDark(96, 96, 96, 255);
const Color kLit(255, 255, 255, 255);

// The frame props and their insertion points.
constexpr struct {
    const char* szName;
    int x;
    int y;
} kProps[] = {
    {"sand_frame_prop_1", 36, 123}, {"sand_frame_prop_2", 56, 55},  {"sand_frame_prop_3", 30, 10},
    {"sand_frame_prop_4", 59, 22},  {"sand_frame_prop_5", 32, 108},
};

// The first name of a list that is not empty, taken off it.
bool takeFirst(Zep::List<Zep::String>& lNames, Zep::String& sName) {
    if (lNames.isEmpty()) return false;
    sName = lNames.removeFirst();
    return true;
}

}  // namespace

LoadingScreen::LoadingScreen() = default;

LoadingScreen::~LoadingScreen() = default;

void LoadingScreen::onCallback(int nId, void*) {
    if (nId == 0) endMode();
}

void LoadingScreen::onEnter() {
    GameApp* pApp = getApp();
    for (const auto& prop : kProps) getImage(prop.szName)->setInsPoint(prop.x, prop.y);
    m_bDone = false;
    m_bFirstFrame = true;
    pApp->setFrameRate(0);
    pApp->showCursor(false);
}

void LoadingScreen::onUpdate(float) {
    ZEP_TRACE("LoadingScreen::onUpdate");
    if (m_bFirstFrame) {
        buildScreen();
        readLists();
        m_bFirstFrame = false;
        return;
    }
    if (m_bDone) return;
    GameApp* pApp = getApp();
    const int nStart = pApp->getTicks();
    do {
        runPass();
        if (m_nLoaded >= m_nTotal) m_bDone = true;
    } while (!m_bDone && pApp->getTicks() - nStart < kSliceMs);
    showProgress();
    if (!m_bDone) return;
    endMode();
    pApp->pushMode(new MenuMode());
}

// ---- The screen --------------------------------------------------------------------

void LoadingScreen::buildScreen() {
    sandtiles::addScreenTiles(*this, -3);
    addSprite(new Sprite(getImage("loading_back"), -6, -10, -2));
    Zep::SmartPtr<Label> pLabel = new Label(getText("LDN_Loading"), 0, 0, 1);
    pLabel->setThemeFont("Sand::TitleBold");
    pLabel->setPosition(kCentreX - pLabel->getWidth() / 2, kLabelY);
    addSprite(pLabel.get());
    buildProgressRow();
}

void LoadingScreen::buildProgressRow() {
    m_pProgressRow = new Table(this);
    m_pProgressRow->setFrameStyle("sand_undecoratedframe");
    m_pProgressRow->setColumnSpacing(kRowSpacing);
    for (int i = 0; i < kProgressCount; ++i) {
        Zep::SmartPtr<Sprite> pPicture = new Sprite(i % 2 ? "progress_star" : "progress_clam", 0, 0, 0);
        addSprite(pPicture);
        m_lProgress.add(pPicture);
        pPicture->setColor(kDark);
        m_pProgressRow->newCell(1);
        m_pProgressRow->add(pPicture.get(), kCentred);
    }
    m_pProgressRow->setZOrder(1);
    m_pProgressRow->setPosition(kCentreX - m_pProgressRow->getWidth() / 2, kRowY);
}

// ---- Loading -------------------------------------------------------------------------

Zep::List<Zep::String> LoadingScreen::readList(const char* szResource) {
    return getApp()->getResource(szResource)->asString().split(kLineBreaks);
}

void LoadingScreen::readLists() {
    m_lAnimations = readList(kCharacterAnimations);
    m_lAnimations.addAll(readList(kCommonAnimations));
    m_lSounds = readList(kSounds);
    m_lMusic = readList(kMusic);
    m_lEmitters = readList(kEmitters);
    m_nTotal = m_lAnimations.getCount() + m_lSounds.getCount() + m_lMusic.getCount() + m_lEmitters.getCount();
    m_nLoaded = 0;
}

// What is loaded is dropped at once: only the cache entry matters.
void LoadingScreen::runPass() {
    GameApp* pApp = getApp();
    Zep::String sName;
    if (takeFirst(m_lSounds, sName)) {
        pApp->getSample(sName.c_str());
        ++m_nLoaded;
    }
    if (takeFirst(m_lAnimations, sName)) {
        pApp->getAnimation(sName.c_str());
        ++m_nLoaded;
    }
    if (takeFirst(m_lMusic, sName)) {
        pApp->getMusic(sName.c_str());
        ++m_nLoaded;
    }
    if (takeFirst(m_lEmitters, sName)) {
        Zep::SmartPtr<ParticleEmitter> pEmitter = new ParticleEmitter(this);
        pEmitter->load(sName.c_str());
        ++m_nLoaded;
    }
}

int LoadingScreen::lastLitPicture(int nLoaded, int nTotal) {
    const int nHalf = nTotal / 2;
    if (nHalf < 1) return -1;
    const int64_t nLast = static_cast<int64_t>(nLoaded) * 10 / nHalf;
    return nLast > kProgressCount - 1 ? kProgressCount - 1 : static_cast<int>(nLast);
}

void LoadingScreen::showProgress() {
    const int nLast = lastLitPicture(m_nLoaded, m_nTotal);
    for (int i = 0; i <= nLast; ++i) m_lProgress.get(i)->setColor(kLit);
}
