// The settings table and the settings file.
//
// The file is zlib data (level 9) holding an object stream: the header, one
// byte 0, then the settings table's hash record. Player profiles and
// highscores live in this file, so it is never rewritten in place: saving goes
// through the file-system layer's atomic replace. A file is only taken when
// its zlib data ends with a matching checksum; an unreadable file is moved
// aside (tukconfig.dat.bad, then .bad.1, .bad.2, ...) before the defaults
// replace it. When it can't be moved aside, it is never written over during
// this run: the defaults stay in memory only.
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "gameapp.h"
#include "oshelpers.h"
#include "videodriver.h"
#include "zep2/error.h"
#include "zep2/file.h"
#include "zep2/objectstreamer.h"
#include "zep2/persist_impl.h"
#include "zep2/platform_fs.h"
#include "zep2/zstream.h"

namespace {

constexpr const char* kZepSource = ".\\src\\app_settings";

constexpr int kSettingsLevel = 9;
constexpr const char* kBadSuffix = ".bad";

Zep::String& configPath() {
    static Zep::String sPath("config.dat");
    return sPath;
}

bool s_bSavingDisabled = false;

// The C library's atoi, without its undefined behaviour on overflow: leading
// blanks, an optional sign, digits; 0 without digits; clamped to int.
int toIntLikeAtoi(const char* szText) {
    if (!szText) return 0;
    errno = 0;
    long long nValue = std::strtoll(szText, nullptr, 10);
    if (nValue > INT_MAX) return INT_MAX;
    if (nValue < INT_MIN) return INT_MIN;
    return static_cast<int>(nValue);
}

// Reads the table from a settings file. Throws on anything but a complete
// file: damaged zlib data may still yield a well-formed prefix, and a cut
// file may still hold the whole table, so the end of the zlib data and its
// checksum must be there too.
void readTable(const char* szPath, Zep::Hash<Zep::String, Zep::String>& hRead) {
    Zep::SmartPtr<Zep::File> pFile(new Zep::File(szPath, Zep::File::kModeRead));
    Zep::SmartPtr<Zep::ZStream> pZip(new Zep::ZStream(pFile.get()));
    {
        Zep::ObjectStreamer streamer(pZip.get(), false);
        uint8_t nIgnored = 0;
        streamer.readByte(nIgnored);
        hRead.persistFrom(streamer);
    }
    if (!pZip->verifyEnd() || pZip->hasError() || pFile->hasError())
        ZEP_THROW(Zep::BadStreamFormatException, "GameApp::readSettingsFile : damaged data");
}

// A file found good or missing at the kept path may be written again.
void releaseKept(Zep::String& sKept, const char* szPath) {
    if (!sKept.isEmpty() && Zep::platform_fs::resolve(szPath) == sKept) sKept = "";
}

}  // namespace

// ---- Table access -----------------------------------------------------------

const Zep::String& GameApp::getSetting(const char* szKey) const {
    static const Zep::String sEmpty;
    const auto* pNode = m_hSettings.findNode(Zep::String(szKey));
    return pNode ? pNode->value : sEmpty;
}

void GameApp::setSetting(const char* szKey, const char* szValue) {
    m_hSettings.set(Zep::String(szKey), Zep::String(szValue));
}

void GameApp::clearSettings() { m_hSettings.clear(); }

void GameApp::setDefaultSettings() {
    setSetting("Fullscreen", "TRUE");
    setSetting("SoundVolume", "255");
    setSetting("MusicVolume", "255");
}

bool GameApp::isFullscreenSetting() const { return getSetting("Fullscreen").toUpper() == "TRUE"; }

unsigned GameApp::getVideoFlagsFromSettings() const {
    unsigned nFlags = isFullscreenSetting() ? VideoFlag::Fullscreen : 0;
    return nFlags | static_cast<unsigned>(IVideoDriver::bppToFlags(toIntLikeAtoi(getSetting("BPP").c_str())));
}

// ---- The file's path and switches -------------------------------------------

void GameApp::initConfigPath(const char* szPrefix, const char* szFolder) {
    configPath() = getUserDataFolder(szFolder) + Zep::String::format("%sconfig.dat", szPrefix ? szPrefix : "");
}

void GameApp::setConfigPath(const char* szPath) { configPath() = szPath; }

const Zep::String& GameApp::getConfigPath() { return configPath(); }

void GameApp::disableSettingsSaving() { s_bSavingDisabled = true; }

// ---- Loading ------------------------------------------------------------------

void GameApp::loadSettings() {
    ZEP_TRACE("GameApp::loadSettings");
    clearSettings();
    setDefaultSettings();
    readSettingsFile(configPath().c_str());
    for (const char* szKey : {"MusicVolume", "SoundVolume"}) {
        int nVolume = toIntLikeAtoi(getSetting(szKey).c_str());
        nVolume = nVolume < 0 ? 0 : nVolume > 255 ? 255 : nVolume;
        setSetting(szKey, Zep::String::format("%d", nVolume).c_str());
    }
    // A missing or damaged file is replaced by a good one at once.
    saveSettingsFile();
}

void GameApp::readSettingsFile(const char* szPath) {
    ZEP_TRACE("GameApp::readSettingsFile");
    if (!Zep::File::exists(szPath)) {
        m_nSettingsLoadState = kSettingsMissing;
        releaseKept(m_sKeptBadConfig, szPath);
        return;
    }
    m_nSettingsLoadState = kSettingsRead;
    Zep::Hash<Zep::String, Zep::String> hRead(97);
    try {
        readTable(szPath, hRead);
    } catch (const Zep::Exception&) {
        log("G: ** Bad config, using defaults **\n");
        m_nSettingsLoadState = kSettingsUnreadable;
        keepBadConfig(szPath);
        return;
    }
    releaseKept(m_sKeptBadConfig, szPath);
    m_hSettings.addAll(hRead);
}

// Keeps what the player had: the defaults are written over the path next, so
// the damaged file moves aside first. Where that fails, the path is not
// written at all until a later load finds a good or no file there.
void GameApp::keepBadConfig(const char* szPath) {
    if (!Zep::platform_fs::moveAside(szPath, kBadSuffix).isEmpty()) {
        releaseKept(m_sKeptBadConfig, szPath);
        return;
    }
    log("G: ** Bad config kept, settings not saved **\n");
    m_sKeptBadConfig = Zep::platform_fs::resolve(szPath);
}

// ---- Saving ---------------------------------------------------------------------

void GameApp::writeSettingsFile(const char* szPath) {
    ZEP_TRACE("GameApp::writeSettingsFile");
    if (s_bSavingDisabled) return;
    if (!m_sKeptBadConfig.isEmpty() && Zep::platform_fs::resolve(szPath) == m_sKeptBadConfig) return;
    // Creation failures of the temporary file propagate as the file's exception.
    int nError = Zep::platform_fs::atomicReplace(szPath, [this](Zep::File& file) {
        try {
            Zep::SmartPtr<Zep::ZStream> pZip(new Zep::ZStream(&file, kSettingsLevel));
            {
                Zep::ObjectStreamer streamer(pZip.get(), false);
                streamer.writeByte(0);
                m_hSettings.persistTo(streamer);
            }
            pZip->finish();
            return !pZip->hasError();
        } catch (const Zep::Exception&) {
            return false;
        }
    });
    if (nError != 0)
        ZEP_THROW(Zep::FileAccessException,
                  Zep::String::format("GameApp::writeSettingsFile : can't write %s [%d]", szPath, nError).c_str());
}

void GameApp::saveSettingsFile() { writeSettingsFile(configPath().c_str()); }
