// The settings table and the settings file.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>
#include <zlib.h>

#include <gtest/gtest.h>

#include <zep2/error.h>
#include <zep2/file.h>
#include <zep2/platform_fs.h>
#include <zep2/str.h>

#include "application/gameapp.h"
#include "testkit/testkit_fixtures.h"

using testkit::TempDir;
using testkit::TestApp;

namespace {

// zlib's own one-call forms, independent of the library's stream.
std::string inflateAll(const std::string& sPacked) {
    std::string sOut(1 << 20, '\0');
    uLongf nOut = sOut.size();
    EXPECT_EQ(uncompress(reinterpret_cast<Bytef*>(sOut.data()), &nOut,
                         reinterpret_cast<const Bytef*>(sPacked.data()), sPacked.size()), Z_OK);
    return sOut.substr(0, nOut);
}

std::string deflateAll(const std::string& sPlain) {
    std::string sOut(compressBound(sPlain.size()), '\0');
    uLongf nOut = sOut.size();
    compress2(reinterpret_cast<Bytef*>(sOut.data()), &nOut, reinterpret_cast<const Bytef*>(sPlain.data()),
              sPlain.size(), 9);
    return sOut.substr(0, nOut);
}

// A string record: 0x12, the length (short texts only), the bytes.
std::string str(const std::string& sText) {
    EXPECT_LT(sText.size(), 128u);
    return std::string("\x12", 1) + static_cast<char>(sText.size()) + sText;
}

using Entries = std::vector<std::pair<std::string, std::string>>;

// The inflated form of a settings file holding these entries in this order.
std::string settingsBytes(const Entries& vEntries) {
    std::string sOut("\x05\x00\x13", 3);
    sOut += static_cast<char>(vEntries.size());
    for (const auto& entry : vEntries) sOut += str(entry.first) + str(entry.second);
    return sOut;
}

class SettingsTest : public testkit::AppTest<> {
protected:
    std::string config() const { return m_files.configPath(); }
    std::string inflatedConfig() const { return inflateAll(testkit::readFileBytes(config())); }
    // The stream's header, the byte 0, the table's type byte and its entry count.
    std::string headAndCount() const { return inflatedConfig().substr(0, 4); }
    void writeConfig(const Entries& v) { testkit::writeFileBytes(config(), deflateAll(settingsBytes(v))); }
    std::string setting(const char* szKey) const { return m_app.getSetting(szKey).c_str(); }
    // Loads the settings; returns what that added to the log.
    std::string loadAndLog() {
        const size_t nBefore = m_files.logText().size();
        m_app.loadSettings();
        return m_files.logText().substr(nBefore);
    }
};

}  // namespace

TEST_F(SettingsTest, PathMissingAndExactKeysAndVideoFlagsFromFullscreenAndDepth) {
    testkit::ScopedEnv env("XDG_DATA_HOME", (m_dir.path() + "data").c_str());
    GameApp::initConfigPath("tuk", "Halvorn\\TukHarbor");  // the fixture restores the path
    EXPECT_STREQ(GameApp::getConfigPath().c_str(), (m_dir.path() + "data/Halvorn/TukHarbor/tukconfig.dat").c_str());

    EXPECT_EQ(setting("Nothing"), "");
    EXPECT_FALSE(m_app.getSettings().contains("Nothing"));
    m_app.setSetting("Key", "a");
    m_app.setSetting("Key", "b");
    EXPECT_EQ(setting("Key") + "|" + setting("key"), "b|");  // keys are exact
    // Full-screen is the upper-cased text "TRUE"; the depth reads like atoi.
    const std::tuple<const char*, const char*, unsigned> kCases[] = {
        {"FALSE", "", 0},  {"yes", "16", 4},         {"TRUE ", "15", 4},
        {"True", "24", 9}, {"true", " 32bits", 13}, {"TRUE", "8", 1}};
    for (const auto& [szFullscreen, szBpp, nFlags] : kCases) {
        m_app.setSetting("Fullscreen", szFullscreen);
        m_app.setSetting("BPP", szBpp);
        EXPECT_EQ(m_app.isFullscreenSetting(), (nFlags & 1) != 0) << szFullscreen;
        EXPECT_EQ(m_app.getVideoFlagsFromSettings(), nFlags) << szFullscreen << " " << szBpp;
    }
}

TEST_F(SettingsTest, FileHasTheExactInflatedBytesInTheTablesKeyOrder) {
    m_app.clearSettings();
    m_app.setSetting("MusicVolume", "255");
    m_app.saveSettingsFile();
    EXPECT_EQ(inflatedConfig(), settingsBytes({{"MusicVolume", "255"}}));
    EXPECT_FALSE(testkit::fileExists(config() + ".tmp"));

    m_app.clearSettings();
    m_app.setDefaultSettings();
    m_app.setSetting("PLAYER_NAME", "Ann");
    m_app.saveSettingsFile();
    Entries vEntries;
    for (const Zep::String& sKey : m_app.getSettings().getKeys())
        vEntries.emplace_back(sKey.c_str(), setting(sKey.c_str()));
    ASSERT_EQ(vEntries.size(), 4u);
    EXPECT_EQ(inflatedConfig(), settingsBytes(vEntries));
}

TEST_F(SettingsTest, VolumesAreReadLikeAtoiClampedAndSavedBack) {
    const std::pair<const char*, const char*> kCases[] = {
        {"300", "255"}, {"  42abc", "42"}, {"-7", "0"}, {"loud", "0"}, {"99999999999999", "255"}};
    for (const auto& [szRead, szKept] : kCases) {
        writeConfig({{"MusicVolume", szRead}, {"SoundVolume", szRead}});
        m_app.loadSettings();
        EXPECT_EQ(m_app.getSettingsLoadState(), GameApp::kSettingsRead);
        EXPECT_EQ(setting("MusicVolume") + "|" + setting("SoundVolume") + "|" + setting("Fullscreen"),
                  std::string(szKept) + "|" + szKept + "|TRUE") << szRead;
    }
    const std::string sSaved = inflatedConfig();
    EXPECT_EQ(sSaved.substr(0, 4), std::string("\x05\x00\x13\x03", 4));
    EXPECT_NE(sSaved.find(str("MusicVolume") + str("255")), std::string::npos);
    EXPECT_EQ(sSaved.find("99999"), std::string::npos);
}

TEST_F(SettingsTest, UnknownKeysSurviveAndGameDefaultsComeAfterTheFrameworks) {
    m_app.m_vGameDefaults = {{"SoundVolume", "128"}, {"Difficulty", "1"}};
    writeConfig({{"HIGHSCORES", "\x02\x03"}, {"Fullscreen", "FALSE"}, {"Difficulty", "3"}});
    m_app.loadSettings();
    // The file wins over both kinds of defaults.
    EXPECT_EQ(setting("HIGHSCORES") + setting("Fullscreen") + setting("SoundVolume") + setting("Difficulty"),
              "\x02\x03" "FALSE1283");
    m_app.clearSettings();
    m_app.readSettingsFile(config().c_str());
    EXPECT_EQ(setting("HIGHSCORES"), "\x02\x03");
}

TEST_F(SettingsTest, DamagedFilesAreMovedAsideUnderTheFirstFreeNameAndDefaultsWritten) {
    writeConfig({{"MusicVolume", "12"}, {"PROFILES", "x"}});
    const std::string sGood = testkit::readFileBytes(config());
    std::string sBadSum = sGood;
    sBadSum.back() ^= 1;
    // A cut or wrong checksum once passed: the table itself was whole.
    const std::string kDamaged[] = {sGood.substr(0, sGood.size() - 4), sBadSum,
                                    sGood.substr(0, sGood.size() / 2), "not zlib at all",
                                    deflateAll(std::string("\x05\x00\x14\x00", 4)),
                                    deflateAll(std::string("\x05\x00\x13\x01\x12\x05" "abc", 9)), ""};
    std::vector<std::string> vAside;
    for (const std::string& sBad : kDamaged) {
        testkit::writeFileBytes(config(), sBad);
        EXPECT_EQ(loadAndLog(), "G: ** Bad config, using defaults **\n");
        EXPECT_EQ(m_app.getSettingsLoadState(), GameApp::kSettingsUnreadable) << vAside.size();
        EXPECT_EQ(setting("MusicVolume") + setting("PROFILES"), "255");
        // The three defaults, and where the damaged file went until the player is told.
        EXPECT_EQ(headAndCount(), std::string("\x05\x00\x13\x04", 4));
        vAside.push_back(config() + ".bad" + (vAside.empty() ? "" : "." + std::to_string(vAside.size())));
        EXPECT_EQ(m_app.getSettingsKeptCopy(), vAside.back().c_str());
        EXPECT_EQ(setting(GameApp::kUntoldCopyKey), vAside.back());
        EXPECT_FALSE(m_app.isSettingsFileKeptInPlace());
    }
    // Nothing the player had is destroyed: every damaged file waits beside the
    // fresh one, none replaced by a later one.
    for (size_t i = 0; i < vAside.size(); ++i) EXPECT_EQ(testkit::readFileBytes(vAside[i]), kDamaged[i]) << i;
}

TEST_F(SettingsTest, DamagedFileThatCannotBeMovedAsideIsNeverWrittenOver) {
    const std::string sBad = "not zlib at all";
    testkit::writeFileBytes(config(), sBad);
    for (int n = 0; n < Zep::platform_fs::kMaxAsideNames; ++n)
        testkit::writeFileBytes(config() + ".bad" + (n ? Zep::String::format(".%d", n).c_str() : ""), "taken");
    EXPECT_EQ(loadAndLog(), "G: ** Bad config, using defaults **\nG: ** Bad config kept, settings not saved **\n");
    EXPECT_EQ(setting("Fullscreen"), "TRUE");
    EXPECT_EQ(m_app.getSettingsKeptCopy(), config().c_str());  // in its place
    EXPECT_TRUE(m_app.isSettingsFileKeptInPlace());
    // Not even a change by the player is saved over it.
    m_app.setSetting("MusicVolume", "3");
    m_app.saveSettingsFile();
    // Other paths are written and read; that changes nothing here.
    m_app.writeSettingsFile(m_dir.file("other.dat").c_str());
    m_app.readSettingsFile(m_dir.file("other.dat").c_str());
    EXPECT_EQ(m_app.getSettingsLoadState(), GameApp::kSettingsRead);
    m_app.shutdown();
    EXPECT_EQ(testkit::readFileBytes(config()), sBad);
    EXPECT_FALSE(testkit::fileExists(config() + ".tmp"));
    // Once the file is gone, a load gives the defaults and a new file again.
    ASSERT_EQ(Zep::File::remove(config().c_str()), 0);
    m_app.loadSettings();
    EXPECT_EQ(m_app.getSettingsLoadState(), GameApp::kSettingsMissing);
    EXPECT_EQ(m_app.getSettingsKeptCopy(), "");
    EXPECT_FALSE(m_app.isSettingsFileKeptInPlace());
    EXPECT_EQ(setting("Fullscreen") + setting("SoundVolume") + setting("MusicVolume"), "TRUE255255");
    EXPECT_EQ(headAndCount(), std::string("\x05\x00\x13\x03", 4));
}

TEST_F(SettingsTest, FailedWriteLeavesThePreviousFileUntouchedAndShutdownSaves) {
    m_app.loadSettings();
    m_app.setSetting("PROFILES", std::string(5000, 'p').c_str());
    m_app.saveSettingsFile();
    std::string sBefore = testkit::readFileBytes(config());

    // The temporary file leads to a device that is always full.
    std::filesystem::create_symlink("/dev/full", config() + ".tmp");
    m_app.setSetting("PROFILES", "changed");
    EXPECT_THROW(m_app.saveSettingsFile(), Zep::FileAccessException);
    EXPECT_EQ(testkit::readFileBytes(config()), sBefore);
    EXPECT_FALSE(testkit::fileExists(config() + ".tmp"));

    // A folder that is not there cannot hold the file.
    std::string sPath = m_dir.file("missing_folder/tukconfig.dat");
    EXPECT_THROW(m_app.writeSettingsFile(sPath.c_str()), Zep::FileAccessException);
    EXPECT_FALSE(testkit::fileExists(sPath));

    // The next save goes through: the one at shutdown, after it stored the
    // screen mode (no platform: not full-screen; audio off: volumes kept).
    m_app.setSetting("Fullscreen", "TRUE");
    m_app.shutdown();
    EXPECT_EQ(setting("Fullscreen"), "FALSE");
    EXPECT_NE(inflatedConfig().find(str("PROFILES") + str("changed")), std::string::npos);
    EXPECT_NE(inflatedConfig().find(str("Fullscreen") + str("FALSE")), std::string::npos);
}

TEST(SettingsPath, DisabledSavingWritesNothing) {
    TempDir dir;
    testkit::ScopedChdir cd(dir.path());  // the child's log
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
