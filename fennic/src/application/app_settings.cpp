// The application's settings: the framework's defaults, the settings file's
// path, the load at start-up and the operations that forward to the settings
// table (settingstable.h, which also describes the file).
#include <zep2/error.h>

#include "application/gameapp.h"
#include "base/oshelpers.h"
#include "driver/videodriver.h"

namespace {

constexpr const char* kZepSource = ".\\src\\app_settings";

Zep::String& configPath() {
    static Zep::String sPath("config.dat");
    return sPath;
}

}  // namespace

// ---- Table access -----------------------------------------------------------

const Zep::String& GameApp::getSetting(const char* szKey) const { return m_settings.get(szKey); }

void GameApp::setSetting(const char* szKey, const char* szValue) { m_settings.set(szKey, szValue); }

void GameApp::clearSettings() { m_settings.clear(); }

void GameApp::setDefaultSettings() {
    setSetting("Fullscreen", "TRUE");
    setSetting("SoundVolume", "255");
    setSetting("MusicVolume", "255");
}

bool GameApp::isFullscreenSetting() const { return m_settings.getBool("Fullscreen"); }

unsigned GameApp::getVideoFlagsFromSettings() const {
    unsigned nFlags = isFullscreenSetting() ? VideoFlag::Fullscreen : 0;
    return nFlags | static_cast<unsigned>(IVideoDriver::bppToFlags(m_settings.getInt("BPP")));
}

// ---- The file's path and switches -------------------------------------------

void GameApp::initConfigPath(const char* szPrefix, const char* szFolder) {
    Zep::String sFolder = getUserDataFolder(szFolder);
    // "" is no folder: a name relative to the current folder would read
    // someone else's file, or none, and hide the player's profiles.
    if (sFolder.isEmpty()) sFolder = getUserDataFolderName(szFolder);
    configPath() = sFolder.isEmpty() ? Zep::String()
                                     : sFolder + Zep::String::format("%sconfig.dat", szPrefix ? szPrefix : "");
}

void GameApp::setConfigPath(const char* szPath) { configPath() = szPath; }

const Zep::String& GameApp::getConfigPath() { return configPath(); }

void GameApp::disableSettingsSaving() { SettingsTable::disableSaving(); }

// ---- Loading and saving ---------------------------------------------------------

void GameApp::loadSettings() {
    ZEP_TRACE("GameApp::loadSettings");
    clearSettings();
    setDefaultSettings();
    readSettingsFile(configPath().c_str());
    if (getSettingsLoadState() == kSettingsUnreadable && !isSettingsFileKeptInPlace())
        setSetting(kUntoldCopyKey, getSettingsKeptCopy().c_str());
    for (const char* szKey : {"MusicVolume", "SoundVolume"}) m_settings.clampInt(szKey, 0, 255);
    // A missing or damaged file is replaced by a good one at once; where it
    // can't be, the game still starts with what was read.
    trySaveSettingsFile();
}

Zep::String GameApp::getUntoldSettingsCopy() const {
    return isSettingsFileKeptInPlace() ? getSettingsKeptCopy() : getSetting(kUntoldCopyKey);
}

void GameApp::forgetUntoldSettingsCopy() {
    if (getSetting(kUntoldCopyKey).isEmpty()) return;
    m_settings.remove(kUntoldCopyKey);
    trySaveSettingsFile();
}

void GameApp::readSettingsFile(const char* szPath) { m_settings.readFile(szPath); }

void GameApp::writeSettingsFile(const char* szPath) { m_settings.writeFile(szPath); }

void GameApp::saveSettingsFile() { writeSettingsFile(configPath().c_str()); }

bool GameApp::trySaveSettingsFile() {
    try {
        saveSettingsFile();
        return true;
    } catch (const Zep::Exception& e) {
        log("G: ** Settings not saved : %s **\n", e.getMessage());
        const auto* pFileError = dynamic_cast<const Zep::FileAccessException*>(&e);
        onSettingsNotSaved(e.getMessage(), pFileError ? pFileError->getSystemError() : 0);
    }
    return false;
}

void GameApp::onSettingsNotSaved(const char*, int) {}
