// Controls leaving their mode when building a dialog fails, and the settings
// file in a data folder that can't be written.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include <zep2/error.h>

#include "image/memimage.h"
#include "testkit/testkit_app.h"
#include "testkit/testkit_platform.h"
#include "testkit/testkit_tempdir.h"
#include "testkit/testkit_video.h"
#include "theme/theme.h"
#include "dialogs/ui_dialog.h"
#include "ui/ui_editbox.h"
#include "ui/ui_slider.h"
#include "ui/ui_table.h"

namespace {

namespace fs = std::filesystem;
using SpritePtr = Zep::SmartPtr<Sprite>;
using testutil::messageOf;

// A test application on the fake platform with images in memory, its log in
// a temporary folder, and only the built-in theme.
class HostileControls : public ::testing::Test {
protected:
    void SetUp() override {
        auto pPlatform = std::make_unique<testkit::FakePlatform>();
        pPlatform->setVideoDriver(std::make_unique<testkit::FakeVideoDriver>());
        pPlatform->setImageFactory(std::make_unique<MemImageFactory>());
        m_app.setPlatform(std::move(pPlatform));
        m_app.initCaches();
        m_app.registerBuiltinResources();
        m_app.setTheme(new Theme());
        newLog();  // the application's banner
    }
    // What the log gained since the last call.
    std::string newLog() {
        const std::string sAll = m_files.logText();
        const std::string sNew = sAll.substr(m_nLogSeen);
        m_nLogSeen = sAll.size();
        return sNew;
    }

    testkit::TempDir m_dir;
    testkit::AppFiles m_files{m_dir};
    testkit::TestApp m_app;
    size_t m_nLogSeen = 0;
};

int g_nRenders = 0;

// A control that counts its renderings.
template <class T>
struct Counting : T {
    using T::T;
    void rebuildImage() override {
        ++g_nRenders;
        T::rebuildImage();
    }
};

// Fails when it leaves a mode.
struct ClingingSprite : Sprite {
    ClingingSprite() : Sprite(0, 0, 0) {}
    bool onModeSet() override {
        if (!getMode()) throw Zep::BadStateException("test", __LINE__, "clinging");
        return false;
    }
};

}  // namespace

// ---- Controls ----------------------------------------------------------------------

// The built-in theme has no unnamed button style: the first button fails as it
// joins the dialog, and freeing the half-built dialog adds nothing to that.
TEST_F(HostileControls, DialogsUnderTheBuiltInThemeFailWithTheirOwnErrorOnly) {
    const std::pair<const char*, std::function<void()>> kCases[] = {
        {"yes/no with text", [] { DlgYesNo dlg(nullptr, "Quit?", 1, 2); }},
        {"yes/no without text", [] { DlgYesNo dlg(nullptr, nullptr, 1, 2); }},
        {"message when pushed", [this] { m_app.pushMode(new DlgMessage(nullptr, "Saved.", 1)); }},
    };
    for (const auto& [szName, build] : kCases) {
        EXPECT_EQ(messageOf(build), "Unknown button style ''") << szName;
        EXPECT_EQ(newLog(), "") << szName;
    }
}

TEST_F(HostileControls, ControlsLeavingAModeKeepTheirPictures) {
    m_app.getTheme()->addButtonStyle("");
    m_app.getTheme()->setButtonImage("", 4, m_app.createImage(40, 20, true));
    const Zep::SmartPtr<Image> pFace = m_app.createImage(30, 10, true);
    using Make = std::function<Zep::SmartPtr<Control>()>;
    const std::pair<const char*, Make> kControls[] = {
        {"button", [] { return new Counting<Button>("go", 7); }},
        {"toggle", [] { return new Counting<ToggleButton>("on", 7); }},
        {"custom", [&] { return new Counting<CustomButton>(7, pFace, pFace, pFace, pFace); }},
        {"label", [] { return new Counting<Label>("text"); }},
        {"edit box", [] { return new Counting<EditBox>(); }},
        {"slider", [] { return new Counting<HSlider>(7, 0, 10, 5); }},
    };
    using Leave = std::function<void(GameMode*&, Control&)>;
    const std::pair<const char*, Leave> kWays[] = {
        {"removed", [](GameMode*& p, Control& c) { p->removeSprite(&c); }},
        {"mode ended", [](GameMode*& p, Control&) { p->onEnd(); }},
        {"mode freed", [](GameMode*& p, Control&) { delete p, p = nullptr; }},
        {"table freed", [](GameMode*& p, Control& c) {
             Zep::SmartPtr<Table> pTable = new Table(p);
             pTable->add(&c, 0);
             pTable->setRemoveOnDestroy(true);
         }},
    };
    for (const auto& [szControl, make] : kControls) {
        for (const auto& [szWay, leave] : kWays) {
            GameMode* pMode = new GameMode();
            Zep::SmartPtr<Control> pControl = make();
            pMode->addControl(pControl.get());
            const Image* pPicture = pControl->getImage().get();
            g_nRenders = 0;
            leave(pMode, *pControl);
            EXPECT_EQ(g_nRenders, 0) << szControl << ", " << szWay;
            EXPECT_EQ(pControl->getMode(), nullptr) << szControl << ", " << szWay;
            EXPECT_EQ(pControl->getImage().get(), pPicture) << szControl << ", " << szWay;
            delete pMode;
        }
    }
}

// Every sprite forgets the mode even when one fails at it; freeing the mode
// logs the failure, emptying it passes the failure on.
TEST_F(HostileControls, ASpriteFailingToLeaveNeitherEscapesTheDestructorNorStrandsOthers) {
    for (const bool bFree : {true, false}) {
        auto pMode = std::make_unique<GameMode>();
        const SpritePtr aSprites[] = {pMode->addSprite(new Sprite(0, 0, 0)), pMode->addSprite(new ClingingSprite()),
                                      pMode->addSprite(new Sprite(0, 0, 1))};
        EXPECT_EQ(messageOf([&] { bFree ? pMode.reset() : pMode->removeAllSprites(); }),
                  bFree ? "(nothing thrown)" : "clinging");
        for (const SpritePtr& p : aSprites) EXPECT_EQ(p->getMode(), nullptr) << bFree;
        EXPECT_EQ(newLog(), bFree ? "G: ** Mode freed with an error : clinging **\n" : "");
    }
}

// ---- Settings in a folder that can't be written ------------------------------------

// The data folder made read-only for the life of the object. Where that does
// not stop writing (a privileged user), a folder takes the temporary file's
// name instead, so that creating that file fails all the same.
struct ReadOnlyFolder {
    ReadOnlyFolder(const std::string& sFolder, const std::string& sFile) : sFolder(sFolder) {
        fs::permissions(sFolder, fs::perms::owner_read | fs::perms::owner_exec);
        if (::access(sFolder.c_str(), W_OK) != 0) return;
        fs::create_directory(sFile + ".tmp");
        nError = EISDIR;
    }
    ~ReadOnlyFolder() { fs::permissions(sFolder, fs::perms::owner_all); }

    std::string sFolder;
    int nError = EACCES;  // why the temporary file can't be made
};

TEST_F(HostileControls, LoadAndShutdownGoOnWhenTheSettingsFolderIsReadOnly) {
    const std::string sFolder = m_dir.file("data/");
    const std::string sConfig = sFolder + "tukconfig.dat";
    fs::create_directory(sFolder);
    GameApp::setConfigPath(sConfig.c_str());  // AppFiles restores it
    m_app.setSetting("MusicVolume", "77");
    m_app.setSetting("PROFILES", "Ann");
    m_app.saveSettingsFile();
    const std::string sBefore = testkit::readFileBytes(sConfig);
    ReadOnlyFolder readOnly(sFolder, sConfig);
    const std::string sLine = "G: ** Settings not saved : File::File : can't open file " + sConfig + ".tmp (wb) [" +
                              std::to_string(readOnly.nError) + "] **\n";
    newLog();

    struct Case {
        const char* szName;
        std::function<void()> run;
        const char* szKey;
        const char* szValue;  // in memory afterwards
    };
    const Case kCases[] = {
        {"load", [this] { m_app.loadSettings(); }, "MusicVolume", "77"},
        {"shutdown", [this] { m_app.shutdown(); }, "Fullscreen", "FALSE"},
    };
    for (const Case& c : kCases) {
        EXPECT_EQ(messageOf(c.run), "(nothing thrown)") << c.szName;
        EXPECT_EQ(newLog(), sLine) << c.szName;
        EXPECT_STREQ(m_app.getSetting(c.szKey).c_str(), c.szValue) << c.szName;
        EXPECT_STREQ(m_app.getSetting("PROFILES").c_str(), "Ann") << c.szName;
        EXPECT_EQ(testkit::readFileBytes(sConfig), sBefore) << c.szName;
    }
    EXPECT_EQ(m_app.getSettingsLoadState(), GameApp::kSettingsRead);
    // A save the caller asks for directly still reports the failure.
    EXPECT_THROW(m_app.saveSettingsFile(), Zep::FileAccessException);
}
