// The settings table and the settings file.
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <zlib.h>

#include <gtest/gtest.h>

#include "gameapp.h"
#include "testkit_app.h"
#include "testkit_tempdir.h"
#include "zep2/error.h"

using testkit::AppFiles;
using testkit::TempDir;
using testkit::TestApp;

namespace {

std::string inflateAll(const std::string& sPacked) {
    std::string sOut(1 << 20, '\0');
    uLongf nOut = sOut.size();
    int nResult = uncompress(reinterpret_cast<Bytef*>(sOut.data()), &nOut,
                             reinterpret_cast<const Bytef*>(sPacked.data()), sPacked.size());
    EXPECT_EQ(nResult, Z_OK);
    sOut.resize(nResult == Z_OK ? nOut : 0);
    return sOut;
}

std::string deflateAll(const std::string& sPlain) {
    std::string sOut(compressBound(sPlain.size()), '\0');
    uLongf nOut = sOut.size();
    EXPECT_EQ(compress2(reinterpret_cast<Bytef*>(sOut.data()), &nOut,
                        reinterpret_cast<const Bytef*>(sPlain.data()), sPlain.size(), 9),
              Z_OK);
    sOut.resize(nOut);
    return sOut;
}

// A string record: 0x12, the length (short texts only), the bytes.
std::string str(const std::string& sText) {
    EXPECT_LT(sText.size(), 128u);
    return std::string("\x12", 1) + static_cast<char>(sText.size()) + sText;
}

// The inflated form of a settings file holding these entries in this order.
std::string settingsBytes(const std::vector<std::pair<std::string, std::string>>& vEntries) {
    std::string sOut("\x05\x00\x13", 3);
    sOut += static_cast<char>(vEntries.size());
    for (const auto& entry : vEntries) sOut += str(entry.first) + str(entry.second);
    return sOut;
}

class SettingsTest : public ::testing::Test {
protected:
    TempDir dir;
    AppFiles files{dir};
    TestApp app;

    std::string config() const { return files.configPath(); }
    std::string inflatedConfig() const { return inflateAll(testkit::readFileBytes(config())); }
};

}  // namespace

// ---- Table access ------------------------------------------------------------

TEST_F(SettingsTest, MissingKeyGivesEmptyTextAndIsNotAdded) {
    EXPECT_STREQ(app.getSetting("Nothing").c_str(), "");
    EXPECT_FALSE(app.getSettings().contains("Nothing"));
    app.setSetting("Key", "a");
    app.setSetting("Key", "b");
    EXPECT_STREQ(app.getSetting("Key").c_str(), "b");
    EXPECT_STREQ(app.getSetting("key").c_str(), "");  // keys are exact
}

TEST_F(SettingsTest, FullscreenComparesUpperCased) {
    app.setSetting("Fullscreen", "true");
    EXPECT_TRUE(app.isFullscreenSetting());
    app.setSetting("Fullscreen", "yes");
    EXPECT_FALSE(app.isFullscreenSetting());
    app.setSetting("Fullscreen", "TRUE ");
    EXPECT_FALSE(app.isFullscreenSetting());
}

TEST_F(SettingsTest, VideoFlagsFromFullscreenAndDepth) {
    app.setSetting("Fullscreen", "FALSE");
    EXPECT_EQ(app.getVideoFlagsFromSettings(), 0u);
    app.setSetting("BPP", "16");
    EXPECT_EQ(app.getVideoFlagsFromSettings(), 4u);
    app.setSetting("BPP", "15");
    EXPECT_EQ(app.getVideoFlagsFromSettings(), 4u);
    app.setSetting("BPP", "24");
    app.setSetting("Fullscreen", "True");
    EXPECT_EQ(app.getVideoFlagsFromSettings(), 9u);
    app.setSetting("BPP", " 32bits");
    EXPECT_EQ(app.getVideoFlagsFromSettings(), 13u);
    app.setSetting("BPP", "8");
    EXPECT_EQ(app.getVideoFlagsFromSettings(), 1u);
}

// ---- File format -----------------------------------------------------------------

TEST_F(SettingsTest, OneEntryFileHasTheExactInflatedBytes) {
    app.clearSettings();
    app.setSetting("MusicVolume", "255");
    app.saveSettingsFile();
    EXPECT_EQ(inflatedConfig(), settingsBytes({{"MusicVolume", "255"}}));
}

TEST_F(SettingsTest, EntriesFollowTheTablesKeyOrder) {
    app.clearSettings();
    app.setDefaultSettings();
    app.setSetting("PLAYER_NAME", "Ann");
    app.saveSettingsFile();
    Zep::List<Zep::String> lKeys = app.getSettings().getKeys();
    std::vector<std::pair<std::string, std::string>> vEntries;
    for (int i = 0; i < lKeys.getCount(); ++i)
        vEntries.emplace_back(lKeys.get(i).c_str(), app.getSetting(lKeys.get(i).c_str()).c_str());
    ASSERT_EQ(vEntries.size(), 4u);
    EXPECT_EQ(inflatedConfig(), settingsBytes(vEntries));
}

// ---- Loading -----------------------------------------------------------------------

TEST_F(SettingsTest, MissingFileGivesDefaultsStateThreeAndANewFile) {
    app.loadSettings();
    EXPECT_EQ(app.getSettingsLoadState(), GameApp::kSettingsMissing);
    EXPECT_STREQ(app.getSetting("Fullscreen").c_str(), "TRUE");
    EXPECT_STREQ(app.getSetting("SoundVolume").c_str(), "255");
    EXPECT_STREQ(app.getSetting("MusicVolume").c_str(), "255");
    EXPECT_TRUE(testkit::fileExists(config()));
    EXPECT_FALSE(testkit::fileExists(config() + ".tmp"));
    EXPECT_EQ(app.m_nDefaultsCalls, 1);
}

TEST_F(SettingsTest, HandMadeFileIsClampedAndSavedBack) {
    testkit::writeFileBytes(config(), deflateAll(settingsBytes({{"MusicVolume", "300"}})));
    app.loadSettings();
    EXPECT_EQ(app.getSettingsLoadState(), GameApp::kSettingsRead);
    EXPECT_STREQ(app.getSetting("MusicVolume").c_str(), "255");
    EXPECT_STREQ(app.getSetting("SoundVolume").c_str(), "255");
    EXPECT_STREQ(app.getSetting("Fullscreen").c_str(), "TRUE");

    std::string sSaved = inflatedConfig();
    ASSERT_GE(sSaved.size(), 4u);
    EXPECT_EQ(sSaved.substr(0, 4), std::string("\x05\x00\x13\x03", 4));
    EXPECT_NE(sSaved.find(str("MusicVolume") + str("255")), std::string::npos);
    EXPECT_EQ(sSaved.find("300"), std::string::npos);
}

TEST_F(SettingsTest, VolumesAreReadLikeAtoiAndClamped) {
    testkit::writeFileBytes(config(), deflateAll(settingsBytes({{"MusicVolume", "  42abc"}, {"SoundVolume", "-7"}})));
    app.loadSettings();
    EXPECT_STREQ(app.getSetting("MusicVolume").c_str(), "42");
    EXPECT_STREQ(app.getSetting("SoundVolume").c_str(), "0");

    testkit::writeFileBytes(config(),
                            deflateAll(settingsBytes({{"MusicVolume", "loud"}, {"SoundVolume", "99999999999999"}})));
    app.loadSettings();
    EXPECT_STREQ(app.getSetting("MusicVolume").c_str(), "0");
    EXPECT_STREQ(app.getSetting("SoundVolume").c_str(), "255");
}

TEST_F(SettingsTest, UnknownKeysSurviveLoadAndSave) {
    testkit::writeFileBytes(config(), deflateAll(settingsBytes({{"HIGHSCORES", "\x02\x03"}, {"Fullscreen", "FALSE"}})));
    app.loadSettings();
    EXPECT_STREQ(app.getSetting("HIGHSCORES").c_str(), "\x02\x03");
    EXPECT_STREQ(app.getSetting("Fullscreen").c_str(), "FALSE");
    app.clearSettings();
    app.readSettingsFile(config().c_str());
    EXPECT_STREQ(app.getSetting("HIGHSCORES").c_str(), "\x02\x03");
}

TEST_F(SettingsTest, GameDefaultsComeAfterTheFrameworksAndFileValuesWin) {
    app.m_vGameDefaults = {{"SoundVolume", "128"}, {"Difficulty", "1"}};
    testkit::writeFileBytes(config(), deflateAll(settingsBytes({{"Difficulty", "3"}})));
    app.loadSettings();
    EXPECT_STREQ(app.getSetting("SoundVolume").c_str(), "128");
    EXPECT_STREQ(app.getSetting("Difficulty").c_str(), "3");
}

TEST_F(SettingsTest, TruncatedFileIsMovedAsideAndDefaultsWritten) {
    testkit::writeFileBytes(config(), deflateAll(settingsBytes({{"MusicVolume", "12"}, {"PROFILES", "x"}})));
    app.loadSettings();
    ASSERT_STREQ(app.getSetting("PROFILES").c_str(), "x");
    std::string sGood = testkit::readFileBytes(config());
    std::string sBad = sGood.substr(0, sGood.size() / 2);
    testkit::writeFileBytes(config(), sBad);

    std::string sLogBefore = files.logText();
    app.loadSettings();
    EXPECT_EQ(app.getSettingsLoadState(), GameApp::kSettingsUnreadable);
    EXPECT_EQ(files.logText().substr(sLogBefore.size()), "G: ** Bad config, using defaults **\n");
    EXPECT_STREQ(app.getSetting("MusicVolume").c_str(), "255");
    EXPECT_STREQ(app.getSetting("PROFILES").c_str(), "");
    // Nothing the player had is destroyed: the damaged bytes wait beside the
    // fresh file.
    EXPECT_EQ(testkit::readFileBytes(config() + ".bad"), sBad);
    EXPECT_EQ(inflatedConfig().substr(0, 4), std::string("\x05\x00\x13\x03", 4));
}

TEST_F(SettingsTest, ForeignFilesAreUnreadable) {
    for (const std::string& sBytes : {std::string("not zlib at all"), deflateAll(std::string("\x05\x00\x14\x00", 4)),
                                      deflateAll(std::string("\x05\x00\x13\x01\x12\x05" "abc", 9)),
                                      std::string()}) {
        testkit::writeFileBytes(config(), sBytes);
        app.loadSettings();
        EXPECT_EQ(app.getSettingsLoadState(), GameApp::kSettingsUnreadable) << sBytes.size();
        EXPECT_STREQ(app.getSetting("Fullscreen").c_str(), "TRUE");
    }
}

// ---- Saving --------------------------------------------------------------------------

TEST_F(SettingsTest, FailedWriteLeavesThePreviousFileUntouched) {
    app.loadSettings();
    app.setSetting("PROFILES", std::string(5000, 'p').c_str());
    app.saveSettingsFile();
    std::string sBefore = testkit::readFileBytes(config());

    // The temporary file leads to a device that is always full.
    ASSERT_EQ(::symlink("/dev/full", (config() + ".tmp").c_str()), 0);
    app.setSetting("PROFILES", "changed");
    EXPECT_THROW(app.saveSettingsFile(), Zep::FileAccessException);
    EXPECT_EQ(testkit::readFileBytes(config()), sBefore);
    EXPECT_FALSE(testkit::fileExists(config() + ".tmp"));

    // The next save goes through.
    app.saveSettingsFile();
    EXPECT_NE(inflatedConfig().find("changed"), std::string::npos);
}

TEST_F(SettingsTest, FolderThatCannotHoldTheFileThrows) {
    app.setSetting("A", "b");
    std::string sPath = dir.file("missing_folder/tukconfig.dat");
    EXPECT_THROW(app.writeSettingsFile(sPath.c_str()), Zep::FileAccessException);
    EXPECT_FALSE(testkit::fileExists(sPath));
}

TEST_F(SettingsTest, ShutdownStoresScreenAndVolumesThenSaves) {
    app.loadSettings();
    app.setSetting("Fullscreen", "TRUE");
    app.shutdown();  // no platform: not full-screen; audio off: volumes kept
    EXPECT_STREQ(app.getSetting("Fullscreen").c_str(), "FALSE");
    EXPECT_NE(inflatedConfig().find(str("Fullscreen") + str("FALSE")), std::string::npos);
}

TEST(SettingsPath, InitConfigPathUsesTheUserDataFolder) {
    TempDir dir;
    testkit::ScopedEnv env("XDG_DATA_HOME", (dir.path() + "data").c_str());
    std::string sOld = GameApp::getConfigPath().c_str();
    GameApp::initConfigPath("tuk", "Halvorn\\TukHarbor");
    EXPECT_STREQ(GameApp::getConfigPath().c_str(), (dir.path() + "data/Halvorn/TukHarbor/tukconfig.dat").c_str());
    GameApp::setConfigPath(sOld.c_str());
}

TEST(SettingsPath, DisabledSavingWritesNothing) {
    TempDir dir;
    std::string sPath = dir.file("tukconfig.dat");
    // The switch is permanent for the process: checked in a child.
    EXPECT_EXIT(
        {
            GameApp::closeLog();
            TestApp app;
            GameApp::setConfigPath(sPath.c_str());
            GameApp::disableSettingsSaving();
            app.loadSettings();
            app.shutdown();
            std::_Exit(0);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_FALSE(testkit::fileExists(sPath));
}
