// The scene's action spots, drink machines and their buttons, and what is
// done with them after the last line (scenereader.h).
#include "level/scenereader.h"

#include <initializer_list>

#include "actors/actionspot.h"
#include "actors/drinkmachine.h"
#include "actors/glassspot.h"
#include "level/playmode.h"

namespace {

constexpr const char* kZepSource = ".\\src\\scenereader_spots";

constexpr int kFirstArgument = 11;
constexpr int kFirstMachineKind = 6;  // upgrade kinds 6 and 7: machines 0 and 1

using scenelines::token;

bool isOneOf(const Zep::String& s, std::initializer_list<const char*> lWords) {
    for (const char* szWord : lWords)
        if (s == szWord) return true;
    return false;
}

}  // namespace

struct SceneReader::Spot {
    Zep::String sType;
    int32_t x = 0;
    int32_t y = 0;
    int32_t nDepth = 0;
    Rect walkRect;
    int32_t nHeading = 0;
    Zep::String sImage;
    bool bBarman = false;
    int32_t nMachine = 0;
    int32_t nSeatKind = 0;
    int32_t nDirection = 1;
};

// ---- Action spots --------------------------------------------------------------------

void SceneReader::actionSpot(const Line& line) {
    const bool bConditional = line.lTokens[0] == "actionspot_conditional";
    const Spot spot = readSpot(line, bConditional);
    if (!bConditional || isMade(line)) makeSpot(spot);
}

SceneReader::Spot SceneReader::readSpot(const Line& line, bool bConditional) const {
    Spot spot;
    spot.sType = token(line, 1);
    if (!isOneOf(spot.sType, {"glassspot", "platformjuicer", "trashbin", "propdispenser", "charspot"}))
        fail(line.nNumber, Zep::String::format("unknown action spot type %s", spot.sType.c_str()));
    spot.x = number(line, 2);
    spot.y = number(line, 3);
    spot.nDepth = number(line, 4);
    spot.walkRect = rect(line, 5);
    spot.nHeading = heading(token(line, 9), line.nNumber);
    spot.sImage = token(line, 10);
    const Zep::String sTag = bConditional ? line.lTokens.getLast() : Zep::String();
    const int nArguments = line.lTokens.getCount() - kFirstArgument - (bConditional ? 1 : 0);
    const Zep::String sFirst = nArguments >= 1 ? line.lTokens[kFirstArgument] : Zep::String();
    if (spot.sType == "glassspot") {
        spot.bBarman = sFirst == "barman" || isOneOf(sTag, {"barman_0", "barman_1", "barman_0_a", "barman_1_a"});
    } else if (spot.sType == "platformjuicer") {
        spot.nMachine = nArguments >= 1 ? scenelines::readInt(sFirst) : sTag == "juicer_1" ? 1 : 0;
        if (spot.nMachine < 0 || spot.nMachine >= kMachines)
            fail(line.nNumber, Zep::String::format("machine id %d out of range", spot.nMachine));
    } else if (spot.sType == "charspot") {
        if (nArguments < 1)
            fail(line.nNumber, Zep::String::format("need %d tokens", kFirstArgument + 1 + (bConditional ? 1 : 0)));
        spot.nSeatKind = scenelines::readInt(sFirst);
        if (spot.nSeatKind < 0 || spot.nSeatKind >= kSeatKinds)
            fail(line.nNumber, Zep::String::format("seat kind %d out of range", spot.nSeatKind));
        if (nArguments >= 2) spot.nDirection = scenelines::readInt(line.lTokens[kFirstArgument + 1]);
        if (spot.nDirection != 1 && spot.nDirection != -1)
            fail(line.nNumber, Zep::String::format("direction %d out of range", spot.nDirection));
    }
    return spot;
}

void SceneReader::makeSpot(const Spot& spot) {
    ZEP_TRACE("SceneReader::makeSpot");
    ActionTarget::SpotLink link;
    link.nMachine = -1;  // coasters are linked after the last line
    link.bBarman = spot.bBarman;
    link.pImage = picture(spot.sImage);
    const char* szType = spot.sType == "charspot" ? "characterspot" : spot.sType.c_str();
    const Zep::SmartPtr<ActionSpot> pSpot = ActionTarget::create(&m_mode, szType, spot.x, spot.y, spot.nDepth,
                                                                 spot.walkRect, spot.nHeading,
                                                                 spot.sImage.c_str(), link);
    if (spot.sType == "trashbin") ++m_nSinks;
    if (spot.sType == "platformjuicer")
        m_lPlatforms.add(PlatformLink{spot.nMachine, Zep::SmartPtr<GlassSpot>::dynamicCast(pSpot)});
    if (spot.sType == "charspot") m_lSeats.add(Seat{pSpot, spot.nSeatKind, spot.nDirection});
}

// ---- Drink machines ------------------------------------------------------------------

void SceneReader::drinkMachine(const Line& line) {
    ZEP_TRACE("SceneReader::drinkMachine");
    const Zep::String& sKind = token(line, 6);
    const int nId = sKind == "juicer_0" ? 0 : sKind == "juicer_1" ? 1 : -1;
    if (nId < 0) fail(line.nNumber, Zep::String::format("unknown machine kind %s", sKind.c_str()));
    m_machineRect = rect(line, 7);
    m_nMachineHeading = heading(token(line, 11), line.nNumber);
    m_bMachineLine = true;
    m_pMachine = nullptr;
    if (m_lines.getLevels()[static_cast<size_t>(kFirstMachineKind + nId)] != 1) return;
    LevelData& data = m_mode.getLevelData();
    for (const Zep::SmartPtr<DrinkMachine>& pOther : data.m_lDrinkMachines)
        if (pOther->getId() == nId) fail(line.nNumber, Zep::String::format("machine %s built twice", sKind.c_str()));
    const Zep::SmartPtr<Sprite> pNamed = namedSprite(token(line, 1), line);
    const Zep::SmartPtr<AnimSprite> pSprite = Zep::SmartPtr<AnimSprite>::dynamicCast(pNamed);
    if (pSprite.isNULL())
        fail(line.nNumber, Zep::String::format("sprite %s is not animated", line.lTokens[1].c_str()));
    Zep::List<Zep::SmartPtr<Sprite>> lParts;
    for (int i = 2; i <= 5; ++i) lParts.add(namedSprite(line.lTokens[i], line));
    m_pMachine = new DrinkMachine(data.m_bHarderMode, &m_mode);
    m_pMachine->setId(nId);
    m_pMachine->setSprite(pSprite);
    for (const Zep::SmartPtr<Sprite>& pPart : lParts) m_pMachine->addSprite(pPart);
    data.m_lDrinkMachines.add(m_pMachine);
    // The machine advances its own sprite.
    Zep::List<Zep::SmartPtr<AnimSprite>>& lAnimated = m_mode.getScene().lAnimated;
    const int nIndex = lAnimated.indexOf(pSprite);
    if (nIndex >= 0) lAnimated.removeAt(nIndex);
}

Zep::SmartPtr<Sprite> SceneReader::namedSprite(const Zep::String& sName, const Line& line) const {
    if (!m_hNamed.contains(sName) || m_hNamed.get(sName).isNULL())
        fail(line.nNumber, Zep::String::format("unknown sprite name %s", sName.c_str()));
    return m_hNamed.get(sName);
}

void SceneReader::machineButton(const Line& line) {
    const bool bLiquid = line.lTokens[0] == "liquid";
    ActionTarget::SpotLink link;
    link.nType = scenelines::readInt(token(line, 1));
    const int x = number(line, 2), y = number(line, 3), z = number(line, 4);
    if (link.nType < 0 || link.nType >= (bLiquid ? kLiquidTypes : kBeverageTypes))
        fail(line.nNumber, Zep::String::format("%s type %d out of range", line.lTokens[0].c_str(), link.nType));
    if (!m_bMachineLine) fail(line.nNumber, "no drinkmachine line before it");
    if (m_pMachine.isNULL()) return;
    link.nMachine = m_pMachine->getId();
    ActionTarget::create(&m_mode, line.lTokens[0].c_str(), x, y, z, m_machineRect, m_nMachineHeading, "", link);
}

// ---- After the last line -------------------------------------------------------------

void SceneReader::linkPlatforms() {
    for (const PlatformLink& platform : m_lPlatforms)
        for (const Zep::SmartPtr<DrinkMachine>& pMachine : m_mode.getLevelData().m_lDrinkMachines)
            if (pMachine->getId() == platform.nMachine) pMachine->addPlatformSpot(platform.pSpot);
}

void SceneReader::orderSeats() {
    LevelData& data = m_mode.getLevelData();
    data.m_lCharacterSpots.clear();
    data.m_lSeatKinds.clear();
    data.m_lVipDirections.clear();
    for (const bool bOrdinary : {true, false}) {
        for (const Seat& seat : m_lSeats) {
            if ((seat.nKind == 0) != bOrdinary) continue;
            data.m_lCharacterSpots.add(Zep::SmartPtr<CharacterSpot>::dynamicCast(seat.pSpot));
            data.m_lSeatKinds.add(seat.nKind);
            if (!bOrdinary) data.m_lVipDirections.add(seat.nDirection);
        }
        if (bOrdinary) data.m_nOrdinarySpots = data.m_lCharacterSpots.getCount();
    }
}
