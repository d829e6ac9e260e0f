// The settings table and its file.
#include "base/settingstable.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include <zep2/error.h>
#include <zep2/file.h>
#include <zep2/objectstreamer.h>
#include <zep2/persist_impl.h>
#include <zep2/platform_fs.h>
#include <zep2/zstream.h>

#include "application/gameapp.h"

namespace {

constexpr const char* kZepSource = ".\\src\\settingstable";

constexpr int kSettingsLevel = 9;
constexpr const char* kBadSuffix = ".bad";

bool s_bSavingDisabled = false;

// The C library's atoi, without its undefined behaviour on overflow.
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
void readTable(const char* szPath, SettingsTable::Table& hRead) {
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

// Writes the table into a new settings file; false when that failed.
bool writeTable(Zep::File& file, const SettingsTable::Table& hTable) {
    try {
        Zep::SmartPtr<Zep::ZStream> pZip(new Zep::ZStream(&file, kSettingsLevel));
        {
            Zep::ObjectStreamer streamer(pZip.get(), false);
            streamer.writeByte(0);
            hTable.persistTo(streamer);
        }
        pZip->finish();
        return !pZip->hasError();
    } catch (const Zep::Exception&) {
        return false;
    }
}

// A file found good or missing at the kept path may be written again.
void releaseKept(Zep::String& sKept, const char* szPath) {
    if (!sKept.isEmpty() && Zep::platform_fs::resolve(szPath) == sKept) sKept = "";
}

}  // namespace

// ---- The table ------------------------------------------------------------------

const Zep::String& SettingsTable::get(const char* szKey) const {
    static const Zep::String sEmpty;
    const auto* pNode = m_hEntries.findNode(Zep::String(szKey));
    return pNode ? pNode->value : sEmpty;
}

void SettingsTable::set(const char* szKey, const char* szValue) {
    m_hEntries.set(Zep::String(szKey), Zep::String(szValue));
}

int SettingsTable::getInt(const char* szKey) const { return toIntLikeAtoi(get(szKey).c_str()); }

bool SettingsTable::getBool(const char* szKey) const { return get(szKey).toUpper() == "TRUE"; }

void SettingsTable::clampInt(const char* szKey, int nMin, int nMax) {
    const int nValue = getInt(szKey);
    set(szKey, Zep::String::format("%d", nValue < nMin ? nMin : nValue > nMax ? nMax : nValue).c_str());
}

// ---- Reading ----------------------------------------------------------------------

void SettingsTable::readFile(const char* szPath) {
    ZEP_TRACE("SettingsTable::readFile");
    m_sKeptCopy = "";
    if (!Zep::File::exists(szPath)) {
        m_nLoadState = kMissing;
        releaseKept(m_sKeptBadFile, szPath);
        return;
    }
    m_nLoadState = kRead;
    Table hRead(97);
    try {
        readTable(szPath, hRead);
    } catch (const Zep::Exception&) {
        GameApp::log("G: ** Bad config, using defaults **\n");
        m_nLoadState = kUnreadable;
        keepBadFile(szPath);
        return;
    }
    releaseKept(m_sKeptBadFile, szPath);
    m_hEntries.addAll(hRead);
}

// Keeps what the player had: the defaults are written over the path next, so
// the damaged file moves aside first. Where that fails, the path is not
// written at all until a later read finds a good or no file there.
void SettingsTable::keepBadFile(const char* szPath) {
    m_sKeptCopy = Zep::platform_fs::moveAside(szPath, kBadSuffix);
    if (!m_sKeptCopy.isEmpty()) {
        releaseKept(m_sKeptBadFile, szPath);
        return;
    }
    GameApp::log("G: ** Bad config kept, settings not saved **\n");
    m_sKeptBadFile = Zep::platform_fs::resolve(szPath);
    m_sKeptCopy = m_sKeptBadFile;
}

// ---- Writing ----------------------------------------------------------------------

void SettingsTable::disableSaving() { s_bSavingDisabled = true; }

void SettingsTable::writeFile(const char* szPath) const {
    ZEP_TRACE("SettingsTable::writeFile");
    if (s_bSavingDisabled) return;
    if (!m_sKeptBadFile.isEmpty() && Zep::platform_fs::resolve(szPath) == m_sKeptBadFile) return;
    // Creation failures of the temporary file propagate as the file's exception.
    const int nError =
        Zep::platform_fs::atomicReplace(szPath, [this](Zep::File& file) { return writeTable(file, m_hEntries); });
    if (nError != 0)
        throw Zep::FileAccessException(
            kZepSource, __LINE__,
            Zep::String::format("GameApp::writeSettingsFile : can't write %s [%d]", szPath, nError).c_str(), nError);
}
