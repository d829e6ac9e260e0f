// The bar preview's reading of a scene text (barpreview.h).
#include "screens/barpreview.h"

#include <zep2/error.h>
#include <zep2/resource.h>

#include "actors/glassspot.h"
#include "records/upgrademanager.h"

namespace {

constexpr const char* kZepSource = ".\\src\\barpreview";

constexpr const char* kStripImage = "ui_fondo_azul";
constexpr int kStripTiles = 10;
constexpr int kStripStep = 80;
constexpr int kStripY = 555;
constexpr int kStripDepth = 140;
constexpr int kParrotKind = 8;
constexpr int kShowKind = 12;
constexpr int kChairsPurchase = 13;
constexpr int kCentresPurchase = 14;
constexpr int kJuicersPurchase = 15;

using scenelines::intToken;
using scenelines::token;

bool isOneOf(const Zep::String& s, std::initializer_list<const char*> lWords) {
    for (const char* szWord : lWords)
        if (s == szWord) return true;
    return false;
}

bool isChairTag(const Zep::String& s) {
    return isOneOf(s, {"silla_0", "silla_1", "silla_2", "silla_3", "mesa_0", "mesa_1"});
}

bool isCentreTag(const Zep::String& s) {
    return isOneOf(s, {"center_lvl_2_0", "center_lvl_1_0", "center_lvl_2_1", "center_lvl_1_1", "mantel_0",
                       "mantel_1", "mantel_2", "mantel_3"});
}

bool isJuicerTag(const Zep::String& s) { return isOneOf(s, {"juicer_0", "juicer_1"}); }
bool isBarmanTag(const Zep::String& s) { return isOneOf(s, {"barman_0", "barman_1"}); }

int depthOf(const scenelines::Line& line, int n) { return scenelines::addClamped(intToken(line, n), 10); }

}  // namespace

BarPreview::BarPreview(GameApp& app, int nPurchaseId, const SceneTags::Levels& levels)
    : m_app(app),
      m_nPurchaseId(nPurchaseId),
      m_nKind(nPurchaseId),
      m_lines(levels, SceneTags::Reader::kPreview) {}

int BarPreview::effect(int nKind) const {
    if (nKind < 0 || nKind >= UpgradeManager::kKinds) return -1;
    return UpgradeManager::effectValue(nKind, m_lines.getLevels()[static_cast<size_t>(nKind)]);
}

void BarPreview::read(const Zep::String& sSceneName) {
    ZEP_TRACE("BarPreview::read");
    const Zep::String sFile = sSceneName + ".scene";
    const Zep::String sText = m_app.getResource(sFile.c_str())->asString();
    addStrip();
    scenelines::SceneNames names(m_app, m_hNamedSprites);
    for (const Line& line : scenelines::splitLines(sText)) {
        try {
            readLine(line, names);
            m_lines.lineRead(line.nNumber);
        } catch (const scenelines::SceneLineError& error) {
            scenelines::skipLogged(sFile, line, error);
        }
    }
    scaleAll();
}

void BarPreview::addStrip() {
    Zep::SmartPtr<Image> pStrip = m_app.getImage(kStripImage);
    for (int i = 0; i < kStripTiles; ++i) append(new Sprite(pStrip, i * kStripStep, kStripY, kStripDepth), false);
}

void BarPreview::readLine(const Line& line, scenelines::SceneNames& names) {
    if (names.apply(line)) return;
    const Zep::String& sKeyword = line.lTokens[0];
    if (sKeyword == "sprite") sprite(line, names);
    else if (sKeyword == "sprite_repeat") spriteRepeat(line, names);
    else if (sKeyword == "sprite_conditional") spriteConditional(line, names);
    else if (sKeyword == "animsprite") animSprite(line, names);
    else if (sKeyword == "animsprite_conditional") animSpriteConditional(line, names);
    else if (sKeyword == "barman") barman(line);
    else if (sKeyword == "bongos") bongos(line);
    else if (sKeyword == "bailarina") bailarina(line);
    else if (sKeyword == "parrot") parrot(line);
    else if (sKeyword == "actionspot_conditional") actionSpotConditional(line);
}

void BarPreview::scaleAll() {
    for (const Zep::SmartPtr<Sprite>& pSprite : m_lSprites) {
        pSprite->setScale(pSprite->getScaleX() * kScale, pSprite->getScaleY() * kScale);
        int x = 0, y = 0;
        pSprite->getPosition(&x, &y);
        pSprite->setPosition(static_cast<int>(static_cast<float>(x) * kScale),
                             static_cast<int>(static_cast<float>(y) * kScale));
    }
}

void BarPreview::append(const Zep::SmartPtr<Sprite>& pSprite, bool bHighlight) {
    m_lSprites.add(pSprite);
    if (bHighlight) m_lHighlights.add(pSprite);
}

void BarPreview::requireRoom(int n) const {
    if (n > kMaxSprites - m_lSprites.getCount())
        scenelines::skipLine(Zep::String::format("more than %d sprites", kMaxSprites));
}

bool BarPreview::isMade(const Line& line) { return m_lines.ask(line.nNumber, line.lTokens); }

// ---- Sprites -------------------------------------------------------------------------

void BarPreview::sprite(const Line& line, scenelines::SceneNames& names) {
    const Zep::String& sImage = token(line, 1);
    const int x = intToken(line, 2), y = intToken(line, 3), nDepth = depthOf(line, 4);
    requireRoom(1);
    Zep::SmartPtr<Sprite> pSprite = new Sprite(names.image(sImage), x, y, nDepth);
    append(pSprite, false);
    if (line.lTokens.getCount() >= 6) names.registerSprite(line.lTokens[5], pSprite);
}

void BarPreview::spriteRepeat(const Line& line, scenelines::SceneNames& names) {
    const Zep::String& sImage = token(line, 1);
    const int x = intToken(line, 2), y = intToken(line, 3), nDepth = depthOf(line, 4);
    const int nCopies = intToken(line, 5);
    if (nCopies > 0) {
        const int nStep = intToken(line, 6);
        if (nCopies > kMaxRepeatCopies)
            scenelines::skipLine(Zep::String::format("more than %d copies", kMaxRepeatCopies));
        requireRoom(nCopies);
        for (int i = 0; i < nCopies; ++i) {
            const int nX = scenelines::addClamped(x, int64_t(i) * nStep);
            append(new Sprite(names.image(sImage), nX, y, nDepth), false);
        }
    }
    if (line.lTokens.getCount() >= 8) names.registerNoSprite(line.lTokens[7]);
}

void BarPreview::spriteConditional(const Line& line, scenelines::SceneNames& names) {
    const Zep::String& sTag = token(line, 5);
    const Zep::String& sImage = token(line, 1);
    const int x = intToken(line, 2), y = intToken(line, 3), nDepth = depthOf(line, 4);
    const bool bChairs = m_nPurchaseId == kChairsPurchase && isChairTag(sTag);
    const bool bCentres = m_nPurchaseId == kCentresPurchase && isCentreTag(sTag);
    const bool bJuicers = m_nPurchaseId == kJuicersPurchase && isJuicerTag(sTag);
    if (!bChairs && !bCentres && !bJuicers && !isMade(line)) return;
    requireRoom(1);
    Zep::SmartPtr<Sprite> pSprite = new Sprite(names.image(sImage), x, y, nDepth);
    if (bChairs) return addChairSprite(pSprite, line);
    if (bCentres) return addCenterSprite(pSprite, line);
    if (bJuicers) return addJuicerSprite(pSprite, line, "sprite_conditional");
    const bool bTable = sTag == "mesa_0" || sTag == "mesa_1";
    append(pSprite, bTable ? isTableHighlighted(sTag) : isKind(sTag));
    if (line.lTokens.getCount() >= 7) names.registerSprite(line.lTokens[6], pSprite);
}

bool BarPreview::isTableHighlighted(const Zep::String& sTag) const {
    const int nFirst = sTag == "mesa_0" ? 2 : 4;
    return (m_nKind == nFirst || m_nKind == nFirst + 1) && effect(nFirst) != effect(nFirst + 1);
}

void BarPreview::animSprite(const Line& line, scenelines::SceneNames& names) {
    const Zep::String& sAnimation = token(line, 1);
    const int x = intToken(line, 2), y = intToken(line, 3), nDepth = depthOf(line, 4);
    Zep::SmartPtr<Animation> pAnimation = names.definedAnimation(sAnimation);
    requireRoom(1);
    Zep::SmartPtr<Sprite> pSprite = new AnimSprite(pAnimation, x, y, nDepth);
    append(pSprite, false);
    if (line.lTokens.getCount() >= 6) names.registerSprite(line.lTokens[5], pSprite);
}

void BarPreview::animSpriteConditional(const Line& line, scenelines::SceneNames& names) {
    const Zep::String& sTag = token(line, 6);
    const Zep::String sLast = line.lTokens.getLast();
    const bool bJuicers = m_nPurchaseId == kJuicersPurchase && (isJuicerTag(sLast) || isBarmanTag(sTag));
    if (!bJuicers && !isMade(line)) return;
    const Zep::String& sAnimation = token(line, 1);
    const int x = intToken(line, 2), y = intToken(line, 3), nDepth = depthOf(line, 4);
    Zep::SmartPtr<Animation> pAnimation = names.definedAnimation(sAnimation);
    requireRoom(1);
    Zep::SmartPtr<Sprite> pSprite = new AnimSprite(pAnimation, x, y, nDepth);
    if (bJuicers) return addJuicerSprite(pSprite, line, "animsprite_conditional");
    append(pSprite, isKind(sTag));
    names.registerSprite(line.lTokens[5], pSprite);
}

// ---- Figures and coasters ------------------------------------------------------------

void BarPreview::barman(const Line& line) {
    const Zep::String& sTag = token(line, 5);
    const bool bJuicers = m_nPurchaseId == kJuicersPurchase && isBarmanTag(sTag);
    if (!bJuicers && !isMade(line)) return;
    const int x = intToken(line, 1), y = intToken(line, 2), nDepth = depthOf(line, 3);
    const int nFacing = intToken(line, 4);
    const Sprites lSprites = barmanSprites(x, y, nDepth, nFacing, scenelines::optionalToken(line, 6));
    requireRoom(lSprites.getCount());
    for (const Zep::SmartPtr<Sprite>& pSprite : lSprites) {
        if (bJuicers) addJuicerSprite(pSprite, line, "barman");
        else append(pSprite, isKind(sTag));
    }
}

void BarPreview::bongos(const Line& line) {
    token(line, 5);
    if (!isMade(line)) return;
    const int x = intToken(line, 1), y = intToken(line, 2), nDepth = intToken(line, 3);
    const Zep::String& sVariant = token(line, 4);
    const Sprites lSprites = bongoSprites(x, y, nDepth, sVariant);
    requireRoom(lSprites.getCount());
    for (const Zep::SmartPtr<Sprite>& pSprite : lSprites)
        append(pSprite, m_nKind == kShowKind);
}

void BarPreview::bailarina(const Line& line) {
    token(line, 7);
    if (!isMade(line)) return;
    const int x = intToken(line, 1), y = intToken(line, 2), nDepth = depthOf(line, 3);
    const int nMinX = intToken(line, 4), nMaxX = intToken(line, 5);
    const Zep::String& sVariant = token(line, 6);
    requireRoom(1);
    append(dancerSprite(sVariant, x, y, nDepth, nMinX, nMaxX), m_nKind == kShowKind);
}

void BarPreview::parrot(const Line& line) {
    if (!isMade(line)) return;
    const int x = intToken(line, 1), y = intToken(line, 2), nDepth = depthOf(line, 3);
    requireRoom(2);
    Zep::SmartPtr<Animation> pAnimation = m_app.getAnimation("parrot.anim");
    Zep::SmartPtr<AnimSprite> pStill = new AnimSprite(pAnimation, x, y, nDepth);
    pStill->play("stand_still", 0.0f, -1);
    Zep::SmartPtr<AnimSprite> pMove = new AnimSprite(pAnimation, x, y, scenelines::addClamped(nDepth, 1));
    pMove->play("stand_move", 0.0f, -1);
    append(pStill.get(), m_nKind == kParrotKind);
    append(pMove.get(), m_nKind == kParrotKind);
}

void BarPreview::actionSpotConditional(const Line& line) {
    const Zep::String& sType = token(line, 1);
    const Zep::String sTag = line.lTokens.getLast();
    const bool bJuicers = m_nPurchaseId == kJuicersPurchase;
    if (sType != "glassspot" || (!bJuicers && !isMade(line))) return;
    const int x = intToken(line, 2), y = intToken(line, 3), nDepth = depthOf(line, 4);
    requireRoom(1);
    Zep::SmartPtr<Sprite> pSprite = new Sprite(coaster(), x, y, nDepth);
    if (bJuicers) return addJuicerSprite(pSprite, line, "actionspot_conditional");
    const int nKind = SceneTags::findKind(sTag);
    const int nBrought = isJuicerTag(sTag) ? 1 : isBarmanTag(sTag) ? 2 : 3;
    append(pSprite, nKind == m_nKind && effect(nKind) == nBrought);
}

Zep::SmartPtr<Image> BarPreview::coaster() {
    if (m_pCoaster.isNULL()) m_pCoaster = GlassSpot::coasterImage(m_app.getImage("posavaso_1"));
    return m_pCoaster;
}
