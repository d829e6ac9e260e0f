// The customer table "customers.txt" (customertable.h).
#include "level/customertable.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>

#include <zep2/error.h>
#include <zep2/resource.h>
#include <zep2/tokenfilereader.h>

#include "application/gameapp.h"

namespace {

constexpr const char* kZepSource = ".\\src\\customertable";

constexpr int kTokens = 3;

bool isName(const Zep::String& sName) {
    if (sName.isEmpty() || sName.length() > CustomerTable::kMaxNameLength) return false;
    for (const char* p = sName.c_str(); *p; ++p)
        if (!std::isalnum(static_cast<unsigned char>(*p)) && *p != '_') return false;
    return true;
}

// 1 to kMaxVoiceDigits digits, at least 1; -1 otherwise.
int voiceOf(const Zep::String& sVoice) {
    const char* sz = sVoice.c_str();
    const size_t nDigits = std::strspn(sz, "0123456789");
    if (nDigits == 0 || nDigits != std::strlen(sz) || nDigits > CustomerTable::kMaxVoiceDigits) return -1;
    const long nVoice = std::strtol(sz, nullptr, 10);
    return nVoice >= 1 ? static_cast<int>(nVoice) : -1;
}

}  // namespace

// The token reader numbers its lines without the empty ones, so each line
// as an editor counts it gets a reader of its own.
CustomerTable CustomerTable::parse(const char* szFile, const char* szText) {
    CustomerTable table(szFile);
    const char* pLine = szText;
    for (int nLine = 1; pLine; ++nLine) {
        const char* pEnd = std::strchr(pLine, '\n');
        const std::string sLine = pEnd ? std::string(pLine, pEnd) : std::string(pLine);
        Zep::TokenFileReader reader(sLine.c_str());
        while (!reader.isEOF()) {
            reader.nextLine();
            table.readLine(reader.getTokens(), nLine);
        }
        pLine = pEnd ? pEnd + 1 : nullptr;
    }
    if (table.m_lNormal.isEmpty()) table.fail("no \"normal\" customer");
    return table;
}

CustomerTable CustomerTable::load(const char* szFile) {
    ZEP_TRACE("CustomerTable::load");
    const Zep::String sText = GameApp::getInstance()->getResource(szFile)->asString();
    return parse(szFile, sText.c_str());
}

void CustomerTable::readLine(const Zep::List<Zep::String>& lTokens, int nLine) {
    if (lTokens.getCount() != kTokens) failAt(nLine, "need 3 tokens: name, kind, voice");
    const Zep::String& sName = lTokens.get(0);
    const Zep::String& sKind = lTokens.get(1);
    if (!isName(sName)) failAt(nLine, Zep::String::format("bad name '%s'", sName.c_str()));
    if (sKind != "normal" && sKind != "vip") failAt(nLine, Zep::String::format("unknown kind '%s'", sKind.c_str()));
    CustomerEntry entry;
    entry.sName = sName;
    entry.bVip = sKind == "vip";
    entry.nVoice = voiceOf(lTokens.get(2));
    if (entry.nVoice < 1) failAt(nLine, Zep::String::format("bad voice '%s'", lTokens.get(2).c_str()));
    if (m_lNormal.getCount() + m_lVip.getCount() >= kMaxCustomers)
        failAt(nLine, Zep::String::format("more than %d customers", kMaxCustomers));
    (entry.bVip ? m_lVip : m_lNormal).add(entry);
}

void CustomerTable::fail(const char* szWhat) const {
    ZEP_THROW(Zep::BadStreamFormatException,
              Zep::String::format("Customer table %s : %s", m_sFile.c_str(), szWhat).c_str());
}

void CustomerTable::failAt(int nLine, const Zep::String& sWhat) const {
    ZEP_THROW(Zep::BadStreamFormatException,
              Zep::String::format("Customer table %s, line %d : %s", m_sFile.c_str(), nLine, sWhat.c_str()).c_str());
}
