// CustomerTable: the bar's customers, read from the token file
// "customers.txt": one customer per line, "name kind voice", where the name
// is 1 to 32 letters, digits and "_", the kind is "normal" or "vip" and the
// voice an integer of 1 to 9 digits, at least 1 (it numbers the samples
// "sfx_game_ask<voice>" and the like). "#" starts a comment; blank lines are
// skipped. At most 1000 customers, at least one "normal" one.
//
// Errors throw Zep::BadStreamFormatException
//   "Customer table <file>, line <n> : <what>"
// with the line as an editor counts it (from 1, every "\n" one more, blank
// and comment lines included), or "Customer table <file> : <what>" for the
// table as a whole.
#pragma once

#include <cstdint>

#include <zep2/list.h>
#include <zep2/str.h>

struct CustomerEntry {
    Zep::String sName;
    bool bVip = false;
    int32_t nVoice = 1;
};

class CustomerTable {
public:
    static constexpr const char* kFileName = "customers.txt";
    static constexpr int kMaxCustomers = 1000;
    static constexpr int kMaxNameLength = 32;
    static constexpr int kMaxVoiceDigits = 9;

    // The text of szFile.
    static CustomerTable parse(const char* szFile, const char* szText);
    // The resource through the application.
    static CustomerTable load(const char* szFile = kFileName);

    const Zep::String& getFileName() const { return m_sFile; }
    // The "normal" or the "vip" customers, in file order.
    const Zep::List<CustomerEntry>& getEntries(bool bVip) const { return bVip ? m_lVip : m_lNormal; }
    // Throws "Customer table <file> : <what>".
    [[noreturn]] void fail(const char* szWhat) const;

private:
    explicit CustomerTable(const char* szFile) : m_sFile(szFile) {}
    void readLine(const Zep::List<Zep::String>& lTokens, int nLine);
    [[noreturn]] void failAt(int nLine, const Zep::String& sWhat) const;

    Zep::String m_sFile;
    Zep::List<CustomerEntry> m_lNormal;
    Zep::List<CustomerEntry> m_lVip;
};
