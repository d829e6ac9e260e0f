// The mug: its making, contents, placement and leaving the level (mug.h).
#include "actors/mug.h"

#include <cstring>

#include <zep2/error.h>
#include <zep2/str.h>

#include "application/gameapp.h"
#include "level/playmode.h"

namespace {

constexpr const char* kZepSource = ".\\src\\mug";

constexpr const char* kBeverageNames[Mug::BT_BEVERAGE_COUNT] = {"vaso", "stem_martini", "stem"};
constexpr const char* kTemplateParams[Mug::BT_BEVERAGE_COUNT] = {"a", "b", "c"};
constexpr int kBeverageCapacity = 2;
constexpr const char* kFillNames[] = {"vacio", "medio", "lleno", "espuma"};
constexpr int kOffScreen = -100;
constexpr int kNewZOrder = -1000;

constexpr uint8_t kLiquidRgb[Mug::kLiquidCount][3] = {{255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                                                     {255, 130, 16}, {139, 0, 255}, {255, 255, 0}};

void removeFromItsMode(const Zep::SmartPtr<Sprite>& pSprite) {
    if (pSprite.notNULL() && pSprite->getMode()) pSprite->getMode()->removeSprite(pSprite);
}

}  // namespace

Zep::SmartPtr<Mug> Mug::create(PlayMode* pMode, const char* szBeverage) {
    for (int n = 0; n < BT_BEVERAGE_COUNT; ++n)
        if (szBeverage && std::strcmp(szBeverage, kBeverageNames[n]) == 0) return new Mug(pMode, n);
    return Zep::SmartPtr<Mug>();
}

const char* Mug::beverageName(int nBeverage) {
    return nBeverage >= 0 && nBeverage < BT_BEVERAGE_COUNT ? kBeverageNames[nBeverage] : nullptr;
}

Color Mug::liquidColor(int nLiquid) {
    ZEP_ASSERT(nLiquid >= 0 && nLiquid < kLiquidCount);
    const uint8_t* pRgb = kLiquidRgb[nLiquid];
    return Color(pRgb[0], pRgb[1], pRgb[2], 255);
}

Mug::Mug(PlayMode* pMode, int nBeverage) : m_pMode(pMode), m_nBeverage(nBeverage), m_nCapacity(kBeverageCapacity) {
    ZEP_ASSERT(nBeverage >= 0 && nBeverage < BT_BEVERAGE_COUNT);
    const char* szParam = templateParam();
    Zep::List<Zep::String> lParams;
    lParams.add(szParam);
    const Zep::String sKey = Zep::String("vaso") + szParam;
    Zep::SmartPtr<Animation> pAnimation =
        GameApp::getInstance()->loadAnimation("vaso.template", sKey.c_str(), lParams);
    m_pBaseLayer = makeLayer(pAnimation);
    m_pUpperLayer = makeLayer(pAnimation);
    m_pLowerLayer = makeLayer(pAnimation);
    m_pFrontLayer = makeLayer(pAnimation);
    for (const Zep::SmartPtr<AnimSprite>& pLayer : {m_pBaseLayer, m_pLowerLayer, m_pUpperLayer, m_pFrontLayer})
        addToMode(pLayer);
    refresh();
    createStraw();
}

Mug::~Mug() = default;

Zep::SmartPtr<AnimSprite> Mug::makeLayer(const Zep::SmartPtr<Animation>& pAnimation) {
    return new AnimSprite(pAnimation, kOffScreen, kOffScreen, kNewZOrder);
}

const char* Mug::templateParam() const { return kTemplateParams[m_nBeverage]; }

void Mug::addToMode(const Zep::SmartPtr<Sprite>& pSprite) {
    if (m_pMode) m_pMode->addSprite(pSprite);
}

// ---- Contents ------------------------------------------------------------------

bool Mug::isEmpty() const {
    ZEP_ASSERT(m_nContents >= 0);
    return m_nContents == 0;
}

bool Mug::isFull() const {
    ZEP_ASSERT(m_nContents >= 0);
    return m_nContents == m_nCapacity;
}

void Mug::fill() {
    setContents(m_nCapacity);
    m_pUpperLayer->setColor(liquidColor(m_lLiquids.get(1)));
    m_pLowerLayer->setColor(liquidColor(m_lLiquids.get(0)));
}

void Mug::setContents(int nContents) {
    ZEP_ASSERT(nContents >= 0);
    ZEP_ASSERT(nContents <= m_nCapacity);
    m_nContents = nContents;
    refresh();
}

void Mug::startDrinking() {
    ZEP_ASSERT(!isEmpty());
    m_bDrinking = true;
}

void Mug::drink() {
    ZEP_ASSERT(isDrinking());
    ZEP_ASSERT(!isEmpty());
    m_bClean = false;
    setContents(m_nContents - 1);
}

void Mug::stopDrinking() {
    m_bDrinking = false;
    refresh();
}

void Mug::refresh() {
    m_pBaseLayer->play("drink_layer_1", 0.0f, -1);
    m_pFrontLayer->play("drink_layer_3", 0.0f, -1);
    const char* szLevel = m_bClean && m_nContents == 0 ? "limpio" : kFillNames[m_nContents];
    const Zep::String sFill = Zep::String::format("stand_%s", szLevel);
    m_pUpperLayer->play((sFill + "_layer_up_2").c_str(), 0.0f, -1);
    m_pLowerLayer->play((sFill + "_layer_down_2").c_str(), 0.0f, -1);
}

// ---- Placement -----------------------------------------------------------------

void Mug::getPosition(int* pX, int* pY, int* pZ) const {
    m_pBaseLayer->getPosition(pX, pY);
    *pZ = m_pBaseLayer->getZOrder();
}

void Mug::setPosition(int x, int y, int z) {
    const int nBase = z - 3;
    setLayerPosition(x, y);
    setLayerZOrder(nBase);
    if (m_pDecoration.notNULL()) {
        m_pDecoration->setPosition(x, y);
        m_pDecoration->setZOrder(nBase + 1);
    }
    placeShine();
}

void Mug::setLayerPosition(int x, int y) {
    for (const Zep::SmartPtr<AnimSprite>& pLayer : {m_pBaseLayer, m_pUpperLayer, m_pLowerLayer, m_pFrontLayer})
        pLayer->setPosition(x, y);
    m_pStraw->setPosition(x, y);
}

void Mug::setLayerZOrder(int z) {
    m_pBaseLayer->setZOrder(z);
    m_pUpperLayer->setZOrder(z + 1);
    m_pLowerLayer->setZOrder(z + 1);
    m_pStraw->setZOrder(z + 1);
    m_pFrontLayer->setZOrder(z + 2);
}

void Mug::setScale(float fScale) {
    for (const Zep::SmartPtr<AnimSprite>& pLayer : {m_pBaseLayer, m_pUpperLayer, m_pLowerLayer, m_pFrontLayer})
        pLayer->setScale(fScale);
    m_pStraw->setScale(fScale);
    if (m_pDecoration.notNULL()) m_pDecoration->setScale(fScale);
}

void Mug::detach() {
    for (const Zep::SmartPtr<AnimSprite>& pLayer : {m_pBaseLayer, m_pUpperLayer, m_pLowerLayer, m_pFrontLayer})
        removeFromItsMode(pLayer);
    removeFromItsMode(m_pStraw);
    removeFromItsMode(m_pDecoration);
    for (const Zep::SmartPtr<AnimSprite>& pShine : m_lShines) removeFromItsMode(pShine);
    m_pMode = nullptr;
}
