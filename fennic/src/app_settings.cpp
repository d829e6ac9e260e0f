// The settings table and the settings file.
//
// The file is zlib data (level 9) holding an object stream: the header, one
// byte 0, then the settings table's hash record. Player profiles and
// highscores live in this file, so it is never rewritten in place: the new
// contents go to a temporary file beside it, which replaces the old one only
// when every byte reached the disk. An unreadable file is moved aside before
// the defaults replace it.
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

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
constexpr const char* kTempSuffix = ".tmp";
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

// Hands a closed file's data to the disk; the file is named natively.
bool syncFile(const char* szNativePath) {
    int fd = ::open(szNativePath, O_RDONLY);
    if (fd < 0) return false;
    bool bOk = ::fsync(fd) == 0;
    ::close(fd);
    return bOk;
}

// Makes a completed rename durable; failure here loses nothing already
// written, so it is not reported.
void syncFolderOf(const Zep::String& sNativePath) {
    int nSlash = sNativePath.findLast('/');
    Zep::String sFolder = nSlash < 0 ? Zep::String(".") : nSlash == 0 ? Zep::String("/") : sNativePath.left(nSlash);
    int fd = ::open(sFolder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
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
        return;
    }
    m_nSettingsLoadState = kSettingsRead;
    Zep::Hash<Zep::String, Zep::String> hRead(97);
    try {
        Zep::SmartPtr<Zep::File> pFile(new Zep::File(szPath, Zep::File::kModeRead));
        Zep::SmartPtr<Zep::ZStream> pZip(new Zep::ZStream(pFile.get()));
        {
            Zep::ObjectStreamer streamer(pZip.get(), false);
            uint8_t nIgnored = 0;
            streamer.readByte(nIgnored);
            hRead.persistFrom(streamer);
        }
        // Damaged zlib data may still have yielded a well-formed prefix.
        if (pZip->hasError() || pFile->hasError())
            ZEP_THROW(Zep::BadStreamFormatException, "GameApp::readSettingsFile : damaged data");
    } catch (const Zep::Exception&) {
        log("G: ** Bad config, using defaults **\n");
        m_nSettingsLoadState = kSettingsUnreadable;
        // Keep what the player had: the defaults are written over the path
        // next, so the damaged file moves aside first.
        Zep::String sNative = Zep::platform_fs::resolve(szPath);
        Zep::platform_fs::renameFile(sNative.c_str(), (sNative + kBadSuffix).c_str());
        return;
    }
    m_hSettings.addAll(hRead);
}

// ---- Saving ---------------------------------------------------------------------

void GameApp::writeSettingsFile(const char* szPath) {
    ZEP_TRACE("GameApp::writeSettingsFile");
    if (s_bSavingDisabled) return;
    Zep::String sTarget = Zep::platform_fs::resolve(szPath);
    Zep::String sTemp = sTarget + kTempSuffix;

    bool bWritten = false;
    {
        // Creation failures propagate as the file's exception.
        Zep::SmartPtr<Zep::File> pFile(new Zep::File(sTemp.c_str(), Zep::File::kModeWrite));
        try {
            Zep::SmartPtr<Zep::ZStream> pZip(new Zep::ZStream(pFile.get(), kSettingsLevel));
            {
                Zep::ObjectStreamer streamer(pZip.get(), false);
                streamer.writeByte(0);
                m_hSettings.persistTo(streamer);
            }
            pZip->finish();
            bWritten = !pZip->hasError() && pFile->flush() && !pFile->hasError();
        } catch (const Zep::Exception&) {
            bWritten = false;
        }
    }  // closed here
    bWritten = bWritten && syncFile(sTemp.c_str());
    if (!bWritten || Zep::platform_fs::renameFile(sTemp.c_str(), sTarget.c_str()) != 0) {
        int nError = errno;
        ::unlink(sTemp.c_str());
        ZEP_THROW(Zep::FileAccessException,
                  Zep::String::format("GameApp::writeSettingsFile : can't write %s [%d]", szPath, nError).c_str());
    }
    syncFolderOf(sTarget);
}

void GameApp::saveSettingsFile() { writeSettingsFile(configPath().c_str()); }
