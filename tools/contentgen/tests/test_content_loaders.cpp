// The demo content through the framework's own readers: the theme with the
// TrueType fonts of the archive, the string tables, the credits list, the
// emitter, and every sample and music track through SDL_mixer on SDL's dummy
// audio driver.
#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "effects/particle_emitter.h"
#include "sdl/sdl_audio.h"
#include "sdl/sdl_ttf.h"
#include "base/stringtable.h"
#include "testkit/testkit_tempdir.h"
#include "theme/theme.h"
#include "theme/theme_styles.h"
#include "dialogs/ui_credits.h"

#include "content_util.h"

namespace {

using contenttest::expand;

class ContentLoaders : public contenttest::ContentTest {
protected:
    void SetUp() override {
        ContentTest::SetUp();
        ASSERT_TRUE(m_driver.init()) << SDL_GetError();
        m_app.useAudioDriver(&m_driver, true);
        Theme::registerFontFactory("TrueType", new SDLTTFFactory());
        for (const char* szTable : {"nontranslated.txt", "messages.txt", "private.txt"})
            m_tables.add(szTable, m_app.getResource(szTable)->asString());
    }
    void TearDown() override {
        Theme::unregisterFontFactory("TrueType");
        ParticleEmitter::clearDefinitions();
        m_driver.shutdown();
        SDL_Quit();
    }
    std::string text(const char* szKey) const { return m_tables.getText(szKey); }

    testkit::ScopedEnv m_audioEnv{"SDL_AUDIODRIVER", "dummy"};
    SDLAudioDriver m_driver;
    StringTables m_tables;
};

// The conversions of a format text, in order ("%d %d" gives "dd").
std::string conversions(const std::string& s) {
    std::string sOut;
    for (size_t i = s.find('%'); i != std::string::npos && i + 1 < s.size(); i = s.find('%', i + 2)) {
        const size_t nEnd = s.find_first_of("dfs%", i + 1);
        if (nEnd != std::string::npos && s[nEnd] != '%') sOut += s[nEnd];
    }
    return sOut;
}

}  // namespace

TEST_F(ContentLoaders, TheThemeLoadsWithItsFontsPicturesAndSounds) {
    Zep::SmartPtr<Theme> pTheme = new Theme();
    try {
        pTheme->load("sand.theme");
    } catch (const Zep::Exception& e) {
        FAIL() << e.getMessage();
    }
    const struct {
        const char* szFont;
        int nPoints;
        Color text;
        bool bShadow;
    } kFonts[] = {
        {"Theme::Default", 16, Color(255, 248, 231, 255), true},
        {"Theme::DefaultBlack", 16, Color(0, 0, 0, 255), false},
        {"Theme::DefaultSmall", 13, Color(255, 248, 231, 255), true},
        {"Theme::DefaultHighScore", 18, Color(90, 52, 24, 255), false},
        {"Sand::TitleBold", 28, Color(255, 248, 231, 255), true},
        {"Sand::LabelText", 18, Color(90, 52, 24, 255), false},
        {"Sand::HighScoreTitle", 20, Color(90, 52, 24, 255), false},
        {"Sand::HighScoreTitleBlue", 20, Color(142, 202, 230, 255), false},
        {"Sand::ButtonText", 16, Color(255, 248, 231, 255), true},
    };
    for (const auto& f : kFonts) {
        Zep::SmartPtr<Font> pCopy = pTheme->getFont(f.szFont);
        auto* pFont = dynamic_cast<SDLTrueTypeFont*>(pCopy.get());
        ASSERT_NE(nullptr, pFont) << f.szFont;
        EXPECT_EQ(std::make_tuple(f.nPoints, f.text, f.bShadow),
                  std::make_tuple(pFont->getPointSize(), pFont->getTextColor(), pFont->getDrawShadow()))
            << f.szFont;
    }
    for (const char* szStyle : {"OptionsBtn", "HowToBtn", "HighBtn", "QuitBtn", "PaperButton", "AdventureBtn",
                                "CrazyBtn", "FreeBtn"}) {
        ButtonStyle* pStyle = pTheme->getButtonStyle(szStyle);
        ASSERT_NE(nullptr, pStyle) << szStyle;
        EXPECT_EQ(pStyle->pImage[0], pStyle->pImage[3]) << szStyle;  // disabled looks normal
        EXPECT_FALSE(pStyle->bResize) << szStyle;
        EXPECT_FALSE(pStyle->hSoundSet.get("clicked")) << szStyle;  // it plays the default button's
    }
    ButtonStyle& button = *pTheme->getButtonStyle(nullptr);
    EXPECT_EQ(std::make_tuple(12, 12, true), std::make_tuple(button.nLeftCap, button.nRightCap, button.bResize));
    for (const char* szEvent : {"clicked", "highlighted"}) ASSERT_EQ(1, button.hSounds.get(szEvent).getCount());
    EXPECT_STREQ("sfx_ui_click", button.hSounds.get("clicked").get(0)->getName().c_str());
    EXPECT_STREQ("sfx_ui_hover", button.hSounds.get("highlighted").get(0)->getName().c_str());
    for (const char* szFrame : {"sand_undecoratedframe", "EmptyFrame"}) {
        FrameStyle* pFrame = pTheme->getFrameStyle(szFrame);
        ASSERT_NE(nullptr, pFrame) << szFrame;
        for (int i : {0, 1, 2, 3, 4, 5, 6, 7, static_cast<int>(ThemeParts::kBack)})  // edges, corners, back
            EXPECT_NE(nullptr, pFrame->part(i)) << szFrame << " " << i;
    }
    EXPECT_EQ(Rect(16, 16, 16, 16), pTheme->getFrameBorder("sand_undecoratedframe"));
    EXPECT_EQ(400, pTheme->getLongSeparator()->getWidth());
}

TEST_F(ContentLoaders, TheStringTablesHoldEveryKeyTheScreensRead) {
    const char* const kKeys[] = {
        "MNM_{Adventure,Relax_Mode,Free_Play,Won}", "LDN_Loading", "TipToExit", "UPG_{Default,Leave,Good,Bad}",
        "UPG_TEXT_{0..8}", "UPG_Text_0_{0,1}", "UPG_Text_{2..5}_0", "UPG_Text_{6,7}_{0..2}", "UPG_Text_{8,9}_0",
        "UPG_Text_{10,11}_{0,1}", "UPG_Text_12_{0..3}",
        "UPG_{Price,Buy,Cancel,Cant,Upgraded}", "UPG_Radio_Chair{0..3}", "UPC_Radio_Center_{0,1}_{0,1}",
        "UPC_Radio_Juicer_{0,1}_{0,2,3}", "GSM_{LevelScore,Total,LevelGoal,LevelStars,Customers,Time,TotalStars}",
        "StatTimePlayed", "HF_{Back,Name,Score,Newhigh,Congrats}", "CPD_OK",
        "GOD_{Difficulty,Easy,Medium,Hard,Credits}",
        "AboutVerFmt", "text_{design,programming,art,musicdir,musicsfx,business,acknow}_g", "CredLibraries",
        "HT_{Back,Previous,Next}", "PLY_{Bonus,Penalty}", "SAD_{Title,MainText,Continue,StartNew,Cancel}",
        "GPD_{Title,Text}", "ECD_QueryExit{0..4}",
        "GOD_{GameOptions,MusicVolume,SoundVolume,FullScreen,Windowed,16BPP,24BPP,32BPP,BtnOK,BtnContinue}",
        "GOD_{BtnExit,CantToggle}",
        "SPD_{SelectProfile,Select,CreateNew,Delete,DeleteProfile,ConfirmDelete,BtnConfirmDelete,BtnCancelDelete}",
        "SPD_{Cancel,Up,Down}", "CPD_{CreateProfile,EnterYourName,Cancel}", "{yes,no,ok,exit}", "GameCaption",
        "MAP_{Stage,Day,Money,Play,Menu,Finished}", "HUD_Options",
    };
    size_t nKeys = 0;
    for (const char* szPattern : kKeys)
        for (const std::string& sKey : expand(szPattern)) {
            EXPECT_TRUE(m_tables.hasText(sKey.c_str())) << sKey;
            ++nKeys;
        }
    EXPECT_EQ(143u, nKeys);
    // The formats' conversions match the values the screens pass.
    const struct {
        const char* szKey;
        const char* szConversions;
    } kFormats[] = {
        {"UPG_Price", "d"}, {"StatTimePlayed", "dd"}, {"AboutVerFmt", "ddd"}, {"MAP_Stage", "d"},
        {"MAP_Day", "d"},   {"MAP_Money", "d"},       {"PLY_Bonus", "f"},     {"PLY_Penalty", "f"},
    };
    for (const auto& f : kFormats) EXPECT_EQ(f.szConversions, conversions(text(f.szKey))) << f.szKey;
    EXPECT_EQ("Version %d.%d.%d", text("AboutVerFmt"));
    EXPECT_EQ("Tuk Harbor", text("GameCaption"));
    EXPECT_EQ(2, CreditsMode::countLines(text("CredLibraries").c_str()));
}

TEST_F(ContentLoaders, TheCreditsListNamesThePeopleUnderTheSixHeadingsAndTheFonts) {
    std::vector<std::pair<std::string, int>> sections;
    std::string sLast;
    for (const Zep::String& sLine : m_app.getResource("credits.txt")->asString().split("\r\n")) {
        const std::string s = sLine.c_str();
        if (s.empty() || s[0] == '#') continue;
        ASSERT_TRUE(s.size() > 2 && s[1] == ' ' && (s[0] == '=' || s[0] == '+')) << s;
        if (s[0] == '=') {
            EXPECT_TRUE(m_tables.hasText(s.substr(2).c_str())) << s;
            sections.emplace_back(s.substr(2), 0);
        } else {
            ASSERT_FALSE(sections.empty()) << s;
            ++sections.back().second;
        }
        sLast = s.substr(2);
    }
    const std::vector<std::pair<std::string, int>> kSections = {
        {"text_design_g", 3},   {"text_programming_g", 2}, {"text_art_g", 1},    {"text_musicdir_g", 1},
        {"text_musicsfx_g", 2}, {"text_business_g", 1},    {"text_acknow_g", 2},
    };
    EXPECT_EQ(kSections, sections);
    EXPECT_EQ("Text set in the DejaVu fonts (Bitstream Vera licence)", sLast);
}

TEST_F(ContentLoaders, TheEmitterLoadsAndThrowsSixFlowers) {
    ParticleEmitter emitter(nullptr);
    emitter.load("flower_cannon.emitter");
    EXPECT_EQ(std::make_tuple(6, static_cast<int>(ParticleEmitter::kAreaRadial), 0.0f, 4.0f, 1.2f, 1.8f),
              std::make_tuple(emitter.getMaxParticles(), emitter.getAreaType(), emitter.getAreaSizeA(),
                              emitter.getAreaSizeB(), emitter.getLifetimeMin(), emitter.getLifetimeMax()));
    EXPECT_EQ(std::make_tuple(true, true, 0.1f, 0.7f, 1.0f, 0),
              std::make_tuple(emitter.isScaling(), emitter.isFading(), emitter.getFadeIn(), emitter.getFadeOut(),
                              emitter.getMaxAlpha(), emitter.getTypes().getCount()));
    emitter.addImageType(m_app.getImage("mapa_flor_3_s"), 0);
    emitter.emit(-1);
    EXPECT_EQ(6, emitter.getLiveCount());
}

TEST_F(ContentLoaders, EverySampleAndTrackLoadsThroughTheMixer) {
    const struct {
        const char* szNames;
        float fSeconds;
    } kSamples[] = {
        {"sfx_game_ask{1,2}", 0.4f},      {"sfx_game_accept{1,2}", 0.3f}, {"sfx_game_mistake{1,2}", 0.5f},
        {"sfx_game_cantdo", 0.2f},        {"sfx_game_juicer", 0.9f},      {"sfx_game_number", 0.04f},
        {"sfx_game_star", 0.5f},          {"sfx_game_parrot", 0.3f},      {"sfx_mouseover", 0.05f},
        {"sfx_store_clink", 0.4f},        {"ms_{winlevel,loselevel}", 2.0f}, {"sfx_ui_{click,hover}", 0.05f},
    };
    int nFrequency = 0, nChannels = 0;
    uint16_t nFormat = 0;
    ASSERT_EQ(1, Mix_QuerySpec(&nFrequency, &nFormat, &nChannels));
    for (const auto& s : kSamples)
        for (const std::string& sName : expand(s.szNames)) {
            Zep::SmartPtr<Sample> pSample = m_app.getSample(sName.c_str());
            Mix_Chunk* pChunk = static_cast<SDLSample&>(*pSample).getChunk();
            ASSERT_NE(nullptr, pChunk) << sName;
            EXPECT_NEAR(s.fSeconds, pChunk->alen / 4.0 / nFrequency, 0.001) << sName;
        }
    for (const std::string& sName : expand("ms_{menu,story,story_win,level}")) {
        Zep::SmartPtr<Music> pMusic = m_app.getMusic(sName.c_str());
        Mix_Music* pTrack = static_cast<SDLMusic&>(*pMusic).getTrack();
        ASSERT_NE(nullptr, pTrack) << sName;
        EXPECT_EQ(MUS_OGG, Mix_GetMusicType(pTrack)) << sName;
    }
}

// Every effect and every track, as the mixer plays it, peaks at or below
// -6 dBFS: room for several of them at once.
TEST_F(ContentLoaders, EveryEffectAndTrackPeaksAtOrBelowMinusSixDecibels) {
    const int nCeiling = static_cast<int>(32768.0 * std::pow(10.0, -6.0 / 20.0));
    auto peakOf = [](const Mix_Chunk& chunk) {
        int nPeak = 0;
        for (Uint32 i = 0; i + 1 < chunk.alen; i += 2) {
            int16_t n = 0;
            std::memcpy(&n, chunk.abuf + i, 2);
            nPeak = std::max(nPeak, std::abs(static_cast<int>(n)));
        }
        return nPeak;
    };
    int nChecked = 0;
    for (const Zep::String& sEntry : m_app.getResourceNames()) {
        const std::string sName = sEntry.c_str();
        const bool bWav = sName.size() > 4 && sName.substr(sName.size() - 4) == ".wav";
        const bool bOgg = sName.size() > 4 && sName.substr(sName.size() - 4) == ".ogg";
        if (!bWav && !bOgg) continue;
        const Zep::SmartPtr<Zep::Resource> pBytes = m_app.getResource(sName.c_str());
        Mix_Chunk* pChunk = Mix_LoadWAV_RW(SDL_RWFromConstMem(pBytes->getData(), pBytes->getSize()), 1);
        ASSERT_NE(nullptr, pChunk) << sName << ": " << Mix_GetError();
        const int nPeak = peakOf(*pChunk);
        Mix_FreeChunk(pChunk);
        EXPECT_LE(nPeak, nCeiling) << sName;
        EXPECT_GT(nPeak, nCeiling / 8) << sName;  // and still heard
        ++nChecked;
    }
    EXPECT_EQ(nChecked, 21);
}
