// The level's scene reader: the keyword table, the line loop with its errors
// and log lines, the sprites and the figures (scenereader.h).
#include "level/scenereader.h"

#include <algorithm>

#include <zep2/resource.h>

#include "actors/barman.h"
#include "actors/figures.h"
#include "actors/parrot.h"
#include "level/playmode.h"
#include "records/tukplayer.h"

namespace {

constexpr const char* kZepSource = ".\\src\\scenereader";

using scenelines::token;

}  // namespace

void PlayMode::loadScene() {
    SceneTags::Levels levels{};
    for (int i = 0; m_pPlayer && i < TUKPlayer::kUpgradeKinds; ++i)
        levels[static_cast<size_t>(i)] = m_pPlayer->getUpgradeLevel(i);
    SceneReader(*this, levels).read(m_sSceneName);
}

SceneReader::SceneReader(PlayMode& mode, const SceneTags::Levels& levels)
    : m_mode(mode), m_lines(levels, SceneTags::Reader::kLevel), m_names(*mode.getApp(), m_hNamed) {}

const SceneReader::Keyword* SceneReader::findKeyword(const Zep::String& sKeyword) {
    static const Keyword kKeywords[] = {
        {"sprite", 5, &SceneReader::sprite},
        {"sprite_repeat", 6, &SceneReader::spriteRepeat},
        {"sprite_conditional", 6, &SceneReader::spriteConditional},
        {"animsprite", 5, &SceneReader::animSprite},
        {"animsprite_conditional", 7, &SceneReader::animSpriteConditional},
        {"barman", 6, &SceneReader::barman},
        {"bongos", 6, &SceneReader::bongos},
        {"bailarina", 8, &SceneReader::bailarina},
        {"parrot", 4, &SceneReader::parrot},
        {"actionspot", 11, &SceneReader::actionSpot},
        {"actionspot_conditional", 12, &SceneReader::actionSpot},
        {"drinkmachine", 12, &SceneReader::drinkMachine},
        {"liquid", 5, &SceneReader::machineButton},
        {"beverage", 5, &SceneReader::machineButton},
        {"walkarea", 6, &SceneReader::walkArea},
        {"preferredline", 8, &SceneReader::preferredLine},
        {"charspots", 5, &SceneReader::charSpots},
        {"background", 2, &SceneReader::background},
        {"soundtrack", 2, &SceneReader::soundtrack},
        {"randompoint", 3, &SceneReader::randomPoint},
        {"randomsprite", 3, &SceneReader::randomSprite},
        {"path", 2, &SceneReader::path},
        {"waypoint", 3, &SceneReader::waypoint},
        {"pathsprite", 5, &SceneReader::pathSprite},
        {"emitter", 5, &SceneReader::emitter},
        {"buttonanim", 1, nullptr},
        {"lingo", 1, nullptr},
        {"seagull", 1, nullptr},
    };
    for (const Keyword& keyword : kKeywords)
        if (sKeyword == keyword.szName) return &keyword;
    return nullptr;
}

// ---- The lines -------------------------------------------------------------------------

void SceneReader::read(const Zep::String& sSceneName) {
    ZEP_TRACE("SceneReader::read");
    m_sFile = sSceneName + ".scene";
    const Zep::String sText = m_mode.getApp()->getResource(m_sFile.c_str())->asString();
    for (const Line& line : scenelines::splitLines(sText)) {
        try {
            readLine(line);
            m_lines.lineRead(line.nNumber);
        } catch (const scenelines::SceneLineError& error) {
            if (error.getKind() == scenelines::SceneLineError::kMalformed) fail(line.nNumber, error.getCause());
            scenelines::skipLogged(m_sFile, line, error);
        } catch (const SceneParserException&) {
            throw;
        } catch (const Zep::Exception& e) {
            fail(line.nNumber, e.getMessage());
        }
    }
    m_mode.getScene().lMadeLines = m_lines.getMade();
    const char* szText = sText.c_str();
    check(static_cast<int>(std::count(szText, szText + sText.length(), '\n')) + 1);
    showRandomSprites();
    linkPlatforms();
    orderSeats();
}

void SceneReader::readLine(const Line& line) {
    if (m_names.apply(line)) return;
    const Zep::String& sKeyword = line.lTokens[0];
    const Keyword* pKeyword = findKeyword(sKeyword);
    if (!pKeyword) return logUnknown(line);
    if (!pKeyword->pRead) return logIgnored(sKeyword);
    token(line, pKeyword->nTokens - 1);
    (this->*pKeyword->pRead)(line);
}

void SceneReader::fail(int nLine, const Zep::String& sCause) const {
    const Zep::String sMessage = Zep::String::format("Scene %s, line %d : %s", m_sFile.c_str(), nLine, sCause.c_str());
    ZEP_THROW(SceneParserException, sMessage.c_str());
}

bool SceneReader::isMade(const Line& line) { return m_lines.ask(line.nNumber, line.lTokens); }

void SceneReader::logIgnored(const Zep::String& sKeyword) {
    if (m_lIgnored.indexOf(sKeyword) >= 0) return;
    m_lIgnored.add(sKeyword);
    GameApp::log("B: Scene %s: keyword %s ignored\n", m_sFile.c_str(), sKeyword.c_str());
}

void SceneReader::logUnknown(const Line& line) {
    GameApp::log("B: Scene %s, line %d: unknown keyword %s\n", m_sFile.c_str(), line.nNumber,
                 line.lTokens[0].c_str());
}

void SceneReader::requireRoom(int nSprites) {
    if (nSprites > kMaxSprites - m_nSprites)
        throw scenelines::SceneLineError(scenelines::SceneLineError::kMalformed,
                                         Zep::String::format("more than %d sprites", kMaxSprites));
}

Zep::SmartPtr<Sprite> SceneReader::addSprite(const Zep::SmartPtr<Sprite>& pSprite) {
    ++m_nSprites;
    return m_mode.addSprite(pSprite);
}

Zep::SmartPtr<Image> SceneReader::picture(const Zep::String& sName) {
    Zep::SmartPtr<Image> pImage = m_names.image(sName);
    return pImage.notNULL() ? pImage : m_mode.getImage(sName.c_str());
}

int SceneReader::heading(const Zep::String& sToken, int nLine) const {
    static const char* const kHeadings[] = {"n", "e", "s", "w"};
    for (int i = 0; i < 4; ++i)
        if (sToken == kHeadings[i]) return i;
    fail(nLine, Zep::String::format("unknown heading %s", sToken.c_str()));
}

int SceneReader::number(const Line& line, int n) const {
    const int nValue = scenelines::readInt(token(line, n));
    if (nValue < -kMaxCoordinate || nValue > kMaxCoordinate)
        fail(line.nNumber, Zep::String::format("number %s out of range", line.lTokens[n].c_str()));
    return nValue;
}

Rect SceneReader::rect(const Line& line, int n) const {
    return Rect(number(line, n), number(line, n + 1), number(line, n + 2), number(line, n + 3));
}

// ---- Sprites ----------------------------------------------------------------------------

void SceneReader::sprite(const Line& line) {
    const int x = number(line, 2), y = number(line, 3), nDepth = number(line, 4);
    requireRoom(1);
    Zep::SmartPtr<Sprite> pSprite = addSprite(new Sprite(m_names.image(token(line, 1)), x, y, nDepth));
    if (line.lTokens.getCount() >= 6) m_names.registerSprite(line.lTokens[5], pSprite);
}

void SceneReader::spriteRepeat(const Line& line) {
    const int x = number(line, 2), y = number(line, 3), nDepth = number(line, 4);
    const int nCopies = scenelines::readInt(token(line, 5));
    if (nCopies > 0) {
        const int nStep = number(line, 6);
        if (nCopies > kMaxRepeatCopies)
            fail(line.nNumber, Zep::String::format("more than %d copies", kMaxRepeatCopies));
        requireRoom(nCopies);
        for (int i = 0; i < nCopies; ++i) {
            const int nX = scenelines::addClamped(x, int64_t(i) * nStep);
            addSprite(new Sprite(m_names.image(token(line, 1)), nX, y, nDepth));
        }
    }
    if (line.lTokens.getCount() >= 8) m_names.registerNoSprite(line.lTokens[7]);
}

void SceneReader::spriteConditional(const Line& line) {
    const int x = number(line, 2), y = number(line, 3), nDepth = number(line, 4);
    if (!isMade(line)) return;
    requireRoom(1);
    Zep::SmartPtr<Sprite> pSprite = addSprite(new Sprite(m_names.image(token(line, 1)), x, y, nDepth));
    if (line.lTokens.getCount() >= 7) m_names.registerSprite(line.lTokens[6], pSprite);
}

void SceneReader::animSprite(const Line& line) { makeAnimSprite(line, 5); }

void SceneReader::animSpriteConditional(const Line& line) {
    if (isMade(line)) makeAnimSprite(line, 5);
}

void SceneReader::makeAnimSprite(const Line& line, int nNameToken) {
    const int x = number(line, 2), y = number(line, 3), nDepth = number(line, 4);
    Zep::SmartPtr<Animation> pAnimation = m_names.definedAnimation(token(line, 1));
    requireRoom(1);
    Zep::SmartPtr<AnimSprite> pSprite = new AnimSprite(pAnimation, x, y, nDepth);
    addSprite(pSprite.get());
    m_mode.getScene().lAnimated.add(pSprite);
    if (line.lTokens.getCount() > nNameToken) m_names.registerSprite(line.lTokens[nNameToken], pSprite.get());
}

// ---- Figures ----------------------------------------------------------------------------

void SceneReader::barman(const Line& line) {
    const int x = number(line, 1), y = number(line, 2), nDepth = number(line, 3);
    const int nFacing = number(line, 4);
    if (isMade(line)) m_mode.addBarman(new Barman(x, y, nDepth, nFacing, &m_mode, scenelines::optionalToken(line, 6)));
}

void SceneReader::bongos(const Line& line) {
    const int x = number(line, 1), y = number(line, 2), nDepth = number(line, 3);
    if (isMade(line)) m_mode.addFigure(new MisterBongos(&m_mode, x, y, nDepth, token(line, 4)));
}

void SceneReader::bailarina(const Line& line) {
    const int x = number(line, 1), y = number(line, 2), nDepth = number(line, 3);
    const int nMinX = number(line, 4), nMaxX = number(line, 5);
    const Zep::String& sVariant = token(line, 6);
    if (!isMade(line)) return;
    Zep::SmartPtr<DancingGirl> pDancer =
        new DancingGirl(DancingGirl::loadAnimation(sVariant), x, y, nDepth, nMinX, nMaxX);
    m_mode.addSprite(pDancer->getSprite().get());
    m_mode.addFigure(pDancer.get());
}

void SceneReader::parrot(const Line& line) {
    const int x = number(line, 1), y = number(line, 2), nDepth = number(line, 3);
    if (!isMade(line)) return;
    if (m_mode.getParrot().notNULL()) fail(line.nNumber, "more than one parrot");
    m_mode.setParrot(new Parrot(&m_mode, x, y, nDepth));
}
