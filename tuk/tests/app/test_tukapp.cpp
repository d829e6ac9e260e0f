// The game's application object on the test kit: its defaults, the splash
// logos that the partner folder adds, the exit confirmation of a window close,
// the notice of progress that can't be saved and the pause of a running level
// when the window loses the focus.
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <zep2/platform_fs.h>

#include "actors/barfixture.h"
#include "app/process_util.h"
#include "base/keys.h"
#include "level/playmode.h"
#include "screens/screens_util.h"
#include "app/tukapp.h"
#include "screens/settingsnotice.h"
#include "records/profileaccess.h"
#include "records/tukmode.h"
#include "records/tukplayer.h"
#include "dialogs/ui_dialog.h"

namespace {

// The game's application with the stack's ended modes freed on demand; it
// records the system's reason of every failed save.
class ProbeApp : public TUKApp {
public:
    void deleteEndedModes() { m_modeStack.deleteEnded(); }
    void onSettingsNotSaved(const char* szReason, int nSystemError) override {
        m_vSaveErrors.push_back(nSystemError);
        TUKApp::onSettingsNotSaved(szReason, nSystemError);
    }
    std::vector<int> m_vSaveErrors;
};

// The texts of a dialog's labels, in the order of its sprites.
std::vector<std::string> labelTexts(GameMode& dialog) {
    std::vector<std::string> vTexts;
    for (const Zep::SmartPtr<Sprite>& pSprite : dialog.getAllSprites())
        if (auto* pLabel = dynamic_cast<Label*>(pSprite.get())) vTexts.push_back(pLabel->getText().c_str());
    return vTexts;
}

// Takes the right to write the folder away for the life of the object: root,
// whom permission bits never stop, acts as user "nobody" meanwhile (the
// temporary folder is root's own, closed to others); anyone else makes it
// read-only. skipReason() is not empty when that could not be done.
class NoRightToWrite {
public:
    explicit NoRightToWrite(const std::string& sFolder) : m_sFolder(sFolder), m_bRoot(::geteuid() == 0) {
        namespace fs = std::filesystem;
        if (!m_bRoot) fs::permissions(sFolder, fs::perms::owner_read | fs::perms::owner_exec);
        else if (::setegid(kNobody) != 0 || ::seteuid(kNobody) != 0) m_sSkip = "root may not act as user nobody here";
    }
    ~NoRightToWrite() {
        if (!m_bRoot) std::filesystem::permissions(m_sFolder, std::filesystem::perms::owner_all);
        else EXPECT_TRUE(::seteuid(0) == 0 && ::setegid(0) == 0);
    }
    const std::string& skipReason() const { return m_sSkip; }

private:
    static constexpr unsigned kNobody = 65534;
    std::string m_sFolder;
    bool m_bRoot;
    std::string m_sSkip;
};

class TukAppTest : public spritetest::AppWithScreen<ProbeApp> {
protected:
    void SetUp() override {
        AppWithScreen::SetUp();
        m_app.initCaches();
        m_app.registerBuiltinResources();
        m_app.addResourceProvider(testkit::memoryProvider({{"s.theme", screentest::theme()}}), false);
        for (const char* szName : {"btn", "frm", "separator"})
            m_app.addImage(szName, imagetest::solid(40, 20, false, Color(90, 60, 30, 255)).get(), true);
        Zep::SmartPtr<Theme> pTheme = new Theme();
        pTheme->load("s.theme");
        m_app.setTheme(pTheme);
    }
};

TEST_F(TukAppTest, DefaultsAreTheFrameworksThenDifficultyOneAndAWindow) {
    m_app.clearSettings();
    m_app.setDefaultSettings();
    const std::vector<std::pair<const char*, const char*>> kExpected = {
        {"Difficulty", "1"}, {"Fullscreen", "FALSE"}, {"SoundVolume", "255"}, {"MusicVolume", "255"}};
    for (const auto& [szKey, szValue] : kExpected) EXPECT_STREQ(m_app.getSetting(szKey).c_str(), szValue) << szKey;
}

// The partner pictures come and go with the "3rdparty" folder.
TEST_F(TukAppTest, SplashShowsTheOptionalLogosOnlyWhenTheirPicturesExist) {
    const struct {
        const char* szAdded;
        std::string sLogos;
    } kCases[] = {
        {nullptr, "splash_1 splash_3 "},
        {"splash_4", "splash_1 splash_3 splash_4 "},
        {"splash_2", "splash_1 splash_2 splash_3 splash_4 "},
    };
    auto addPicture = [this](const char* szName) {
        m_app.addImage(szName, imagetest::solid(4, 2, true, Color(42, 157, 143, 255)).get(), true);
    };
    addPicture("splash_1");
    addPicture("splash_3");
    for (const auto& c : kCases) {
        if (c.szAdded) addPicture(c.szAdded);
        std::unique_ptr<SplashScreen> pSplash = m_app.createSplashScreen();
        std::string sLogos;
        for (int i = 0; i < pSplash->getLogoCount(); ++i) {
            const SSLogoInfo* pLogo = pSplash->getLogo(i);
            sLogos += std::string(pLogo->m_sName.c_str()) + " ";
            EXPECT_TRUE(pLogo->m_fDuration == 3.0f && pLogo->m_fFadeInSpeed == 512.0f && pLogo->m_sMusic.isEmpty());
        }
        EXPECT_EQ(sLogos, c.sLogos);
    }
}

// A window close asks; "yes" quits with 0 even when a follow-up mode is set,
// "no" closes the question and lets the next close ask again.
TEST_F(TukAppTest, CloseRequestAsksAndYesQuitsWithZero) {
    m_app.pushMode(new TUKMode());
    m_app.setConfirmQuit(true);
    for (int nAnswer : {1, 0}) {
        m_app.onQuitRequest();
        auto* pAsk = dynamic_cast<TUKExitConfirmMode*>(m_app.getTopMode());
        ASSERT_NE(pAsk, nullptr);
        m_app.onQuitRequest();
        EXPECT_EQ(m_app.getTopMode(), pAsk);  // one question at a time
        pAsk->setFollowUpMode(new TUKMode());
        pAsk->onCallback(nAnswer, nullptr);
        m_app.deleteEndedModes();
        EXPECT_EQ(m_app.getModeCount(), 2 - nAnswer) << nAnswer;  // "yes" stays up
        EXPECT_EQ(m_app.isQuitting(), nAnswer == 0) << nAnswer;
    }
    EXPECT_EQ(m_app.getExitCode(), 0);
}

// The settings file replaced by a folder: with no screen up a failed save
// tells nothing; with one, the first failed save brings the message dialog
// at the next frame (not inside the saving handler), naming the folder in
// the file's place. OK closes it; later failures only log.
TEST_F(TukAppTest, TheFirstFailedSaveOnAScreenIsToldOnceAtTheNextFrameNamingTheFolder) {
    const std::string sSettings = m_files.configPath();
    std::filesystem::create_directories(sSettings);
    int nLast = 0, nDue = 0;
    auto frame = [&] {
        m_app.frame(nLast, nDue, false);
        return m_app.getTopMode();
    };
    EXPECT_FALSE(m_app.trySaveSettingsFile());
    EXPECT_EQ(frame(), nullptr);
    auto* pScreen = new TUKMode();
    m_app.pushMode(pScreen);
    EXPECT_FALSE(m_app.trySaveSettingsFile());
    EXPECT_EQ(m_app.getTopMode(), pScreen);
    auto* pNotice = dynamic_cast<DlgMessage*>(frame());
    ASSERT_NE(pNotice, nullptr);
    EXPECT_EQ(labelTexts(*pNotice), std::vector<std::string>{"NSD_NameTaken\n" + sSettings + "\nNSD_PlayOn"});
    EXPECT_TRUE(pNotice->onKeyDown(Key::Return, 0));
    EXPECT_EQ(frame(), pScreen);
    EXPECT_FALSE(m_app.trySaveSettingsFile());
    EXPECT_EQ(frame(), pScreen);
    EXPECT_EQ(processtest::countOf(m_files.logText(), "G: ** Settings not saved : "), 3);
}

// Each save meets a real cause; the notice for the reason the save was
// given names that cause and the path it concerns.
TEST_F(TukAppTest, TheNoticeNamesTheCauseTheSaveMet) {
    m_app.addResourceProvider(testkit::memoryProvider({{"n.txt", "NSD_Failed Not written (%s):\n"}}), false);
    m_app.loadStringTable("n.txt");
    const std::string sSettings = m_files.configPath();
    const std::string sFolder = sSettings.substr(0, sSettings.rfind('/') + 1);
    const std::string sGone = sFolder + "gone/tukconfig.dat";
    struct Case {
        const char* szCause;
        std::function<void()> make, undo;
        std::string sShown;
    };
    std::unique_ptr<NoRightToWrite> pNoRight;
    const Case kCases[] = {
        {"a folder in the file's place", [&] { std::filesystem::create_directories(sSettings); },
         [&] { std::filesystem::remove(sSettings); }, "NSD_NameTaken\n" + sSettings},
        {"a full disk", [&] { std::filesystem::create_symlink("/dev/full", sSettings + ".tmp"); }, [] {},
         "NSD_NoRoom\n" + sFolder},
        {"a folder it may not write", [&] { pNoRight = std::make_unique<NoRightToWrite>(sFolder); },
         [&] { pNoRight.reset(); }, "NSD_NoRight\n" + sFolder},
        {"a folder that is gone", [&] { GameApp::setConfigPath(sGone.c_str()); },
         [&] { GameApp::setConfigPath(sSettings.c_str()); }, "Not written (No such file or directory):\n" + sGone},
    };
    // The save as the situation stands; ASSERT leaves only this step.
    auto check = [&](const Case& c) {
        m_app.m_vSaveErrors.clear();
        ASSERT_FALSE(m_app.trySaveSettingsFile()) << c.szCause;
        ASSERT_EQ(m_app.m_vSaveErrors.size(), 1u) << c.szCause;
        auto pNotice = settingsnotice::makeUnsaved(m_app, m_app.m_vSaveErrors[0]);
        DlgMessage* pShown = pNotice.get();
        m_app.pushMode(pNotice.release());
        EXPECT_EQ(labelTexts(*pShown), std::vector<std::string>{c.sShown + "\nNSD_PlayOn"}) << c.szCause;
        pShown->endMode();
        m_app.deleteEndedModes();
    };
    m_app.pushMode(new TUKMode());
    for (const Case& c : kCases) {
        c.make();
        if (pNoRight && !pNoRight->skipReason().empty())
            std::cout << "[ SKIPPED  ] " << c.szCause << ": " << pNoRight->skipReason() << "\n";
        else
            check(c);
        c.undo();
        EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(sSettings + ".tmp"))) << c.szCause;
    }
}

// A damaged file moved aside is named as the kept copy; one that can't be
// (every name for a copy taken) as left where it is, and it stays byte for
// byte through the saves that follow.
TEST_F(TukAppTest, TheDamagedSettingsNoticeNamesWhereTheFileIs) {
    const std::string sSettings = m_files.configPath();
    for (const bool bNamesTaken : {false, true}) {
        for (int n = 0; bNamesTaken && n < Zep::platform_fs::kMaxAsideNames; ++n)
            testkit::writeFileBytes(sSettings + ".bad" + (n ? std::string(".") + std::to_string(n) : ""), "taken");
        testkit::writeFileBytes(sSettings, "not a settings file");
        m_app.loadSettings();
        auto pNotice = settingsnotice::makeUnreadable(m_app);
        DlgMessage* pShown = pNotice.get();
        m_app.pushMode(pNotice.release());
        EXPECT_EQ(labelTexts(*pShown), std::vector<std::string>{bNamesTaken
                                                                     ? "BSD_LeftAlone\n" + sSettings + "\nBSD_NotKept"
                                                                     : "BSD_NotRead\n" + sSettings + ".bad\nBSD_Defaults"});
        pShown->endMode();
        m_app.deleteEndedModes();
        EXPECT_TRUE(m_app.trySaveSettingsFile());
        EXPECT_EQ(testkit::readFileBytes(sSettings) == "not a settings file", bNamesTaken);
    }
}

TEST_F(TukAppTest, LosingTheFocusPausesOnlyALevelWithItsBarOpen) {
    const struct {
        bool bLevel;
        bool bBarClosed;
        bool bPaused;
    } kCases[] = {{true, false, true}, {true, true, false}, {false, false, false}};
    for (const auto& c : kCases) {
        GameMode* pMode = c.bLevel ? new bartest::HandBuiltLevel(nullptr, nullptr, "scene0", 0, 0, 1) : new TUKMode();
        if (c.bLevel) static_cast<PlayMode*>(pMode)->getLevelData().m_bBarClosed = c.bBarClosed;
        m_app.pushMode(pMode);
        m_app.onDeactivate();
        auto* pPause = dynamic_cast<GamePausedDlg*>(m_app.getTopMode());
        EXPECT_EQ(pPause != nullptr, c.bPaused) << c.bLevel << c.bBarClosed;
        if (pPause) {
            EXPECT_TRUE(pPause->onKeyDown(' ', 0));  // any key closes it
            m_app.deleteEndedModes();
        }
        EXPECT_EQ(m_app.getTopMode(), pMode);
        pMode->endMode();
        m_app.deleteEndedModes();
    }
}

// The shutdown saves the profiles as the modes leave them on their way out
// (the map takes then a day that the statistics were still showing).
TEST_F(TukAppTest, TheShutdownSavesTheProfilesAsTheModesLeaveThem) {
    struct Leaving : TUKMode {
        void onAppQuit() override { static_cast<TUKPlayer*>(getProfileManager()->getProfile("Ann"))->setMoney(750); }
    };
    getProfileManager()->createProfile("Ann");
    m_app.pushMode(new Leaving());
    m_app.shutdown();
    m_app.clearSettings();
    m_app.loadSettings();
    EXPECT_EQ(static_cast<TUKPlayer*>(getProfileManager()->getProfile("Ann"))->getMoney(), 750);
    releaseProfileManager();
}

}  // namespace
