// The settings table: text keys (exact, case counts) to text values, typed
// reads of them, and the settings file that keeps them.
//
// The file is zlib data (level 9) holding an object stream: the header, one
// byte 0, then the table's hash record. Player profiles and highscores live
// in this file, so it is never rewritten in place: saving goes through the
// file-system layer's atomic replace. A file is only taken when its zlib data
// ends with a matching checksum; an unreadable file is moved aside
// (tukconfig.dat.bad, then .bad.1, .bad.2, ...) before the defaults replace
// it. When it can't be moved aside, it is never written over during this run:
// the defaults stay in memory only.
#pragma once

#include <cstdint>

#include <zep2/hash.h>
#include <zep2/str.h>

class SettingsTable {
public:
    using Table = Zep::Hash<Zep::String, Zep::String>;

    // What the last readFile found.
    enum LoadState { kNotLoaded = 0, kRead = 1, kUnreadable = 2, kMissing = 3 };

    // ---- The table ------------------------------------------------------------

    // The stored value, or a shared empty text when the key is absent (the key
    // is not added).
    const Zep::String& get(const char* szKey) const;
    void set(const char* szKey, const char* szValue);
    void remove(const char* szKey) { m_hEntries.remove(Zep::String(szKey)); }
    void clear() { m_hEntries.clear(); }
    const Table& entries() const { return m_hEntries; }
    // The value read like the C library's atoi (leading blanks, an optional
    // sign, digits; 0 without digits), clamped to int instead of overflowing.
    int getInt(const char* szKey) const;
    // True when the upper-cased value is "TRUE".
    bool getBool(const char* szKey) const;
    // Stores the value read as by getInt, clamped to nMin .. nMax, as decimal text.
    void clampInt(const char* szKey, int nMin, int nMax);

    // ---- The file ---------------------------------------------------------------

    // Adds a complete file's entries. A damaged file is moved aside; if it
    // can't be, the path is not written again until a later read finds a
    // good file or none there.
    void readFile(const char* szPath);
    // Throws FileAccessException, with the system's reason, when the file
    // can't be replaced; the previous file then stays as it was.
    void writeFile(const char* szPath) const;
    int getLoadState() const { return m_nLoadState; }
    // Where the last read kept the damaged file: the native path it was moved
    // aside to, or its own when it could not be moved; "" after a read that
    // found a good file or none.
    const Zep::String& getKeptCopy() const { return m_sKeptCopy; }
    // True when the last read left the damaged file where it was, untouched,
    // because it could not be moved aside: nothing is saved over it. The kept
    // copy is then the file itself (a copy moved aside has a name of its own).
    bool isKeptInPlace() const { return !m_sKeptCopy.isEmpty() && m_sKeptCopy == m_sKeptBadFile; }
    void resetLoadState() { m_nLoadState = kNotLoaded; }
    // Later writes do nothing, for the rest of the process.
    static void disableSaving();

private:
    void keepBadFile(const char* szPath);

    Table m_hEntries;
    int32_t m_nLoadState = kNotLoaded;
    Zep::String m_sKeptBadFile;  // native path of a damaged settings file left in place
    Zep::String m_sKeptCopy;
};
