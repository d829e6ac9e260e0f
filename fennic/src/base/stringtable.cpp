// The string-table readers, the tables' lookups and the installed languages.
#include "base/stringtable.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include <zep2/error.h>
#include <zep2/file.h>
#include <zep2/xml.h>

namespace {

constexpr const char* kZepSource = ".\\src\\stringtable";

bool isBlankOrTab(char c) {
    return c == ' ' || c == '\t';
}

// The value escapes, replaced in this order over the whole value: "\n"
// before "\\", so a backslash written as "\\" followed by "n" ends up as a
// backslash and a line feed.
Zep::String replaceEscapes(const Zep::String& sValue) {
    return sValue.replaceAll("\\n", "\n").replaceAll("\\r", "\r").replaceAll("\\t", "\t").replaceAll("\\\\", "\\");
}

// The line up to its first "#" without a backslash before it; "\#" before
// that point stands for "#".
Zep::String stripComment(const char* p, int n) {
    Zep::String sOut;
    for (int i = 0; i < n; ++i) {
        if (p[i] == '\\' && i + 1 < n && p[i + 1] == '#') {
            sOut += '#';
            ++i;
        } else if (p[i] == '#') {
            break;
        } else {
            sOut += p[i];
        }
    }
    return sOut;
}

void readTextLine(const Zep::String& sLine, Zep::Hash<Zep::String, Zep::String>& hTable, Zep::String& sLastKey) {
    if (sLine.trim().isEmpty()) return;
    const char* p = sLine.c_str();
    while (isBlankOrTab(*p)) ++p;
    const char* pEnd = p;
    while (*pEnd && !isBlankOrTab(*pEnd)) ++pEnd;
    const Zep::String sKey = Zep::String(p, static_cast<int>(pEnd - p)).toUpper().trim();
    while (isBlankOrTab(*pEnd)) ++pEnd;
    const Zep::String sValue = replaceEscapes(Zep::String(pEnd));
    ZEP_ASSERT(sKey != "");

    if (sKey == ".") {
        // Continues the previous entry; before any entry the lookup fails.
        const Zep::String sJoined = hTable.get(sLastKey) + sValue;
        hTable.set(sLastKey, sJoined);
        return;
    }
    hTable.set(sKey, sValue);
    sLastKey = sKey;
}

// Language code to its archives, from the program's folder.
Zep::Hash<Zep::String, Zep::List<Zep::String>> installedLanguages() {
    std::vector<std::string> lFiles;
    Zep::Directory folder(".");
    for (int i = 0; i < folder.getEntryCount(); ++i) {
        Zep::SmartPtr<Zep::DirEntry> pEntry = folder.getEntry(i);
        if (pEntry.isNULL() || pEntry->isFolder()) continue;
        const Zep::String sName = pEntry->getName();
        if (sName.length() > 4 && sName.right(4).toLower() == ".dat" && sName.find('_') >= 0)
            lFiles.push_back(sName.c_str());
    }
    std::sort(lFiles.begin(), lFiles.end());
    Zep::Hash<Zep::String, Zep::List<Zep::String>> hLanguages;
    for (const std::string& sFile : lFiles) {
        const Zep::String sName(sFile.c_str());
        const Zep::String sBase = sName.left(sName.length() - 4);
        const Zep::String sCode = sBase.mid(sBase.findLast('_') + 1);
        if (sCode.isEmpty()) continue;
        hLanguages[sCode].add(sName);
    }
    return hLanguages;
}

}  // namespace

// ---- Readers ----------------------------------------------------------------------

void readStringTableText(const Zep::String& sText, Zep::Hash<Zep::String, Zep::String>& hTable) {
    ZEP_TRACE("readStringTableText");
    const char* p = sText.c_str();
    if (std::strncmp(p, "\xEF\xBB\xBF", 3) == 0) p += 3;
    Zep::String sLastKey;
    while (*p) {
        // A run of line breaks ends one line: no empty lines arise.
        while (*p == '\r' || *p == '\n') ++p;
        const char* pEnd = p;
        while (*pEnd && *pEnd != '\r' && *pEnd != '\n') ++pEnd;
        if (pEnd > p) readTextLine(stripComment(p, static_cast<int>(pEnd - p)), hTable, sLastKey);
        p = pEnd;
    }
}

void readStringTableXml(const Zep::String& sText, Zep::Hash<Zep::String, Zep::String>& hTable) {
    ZEP_TRACE("readStringTableXml");
    Zep::XMLParser parser;
    parser.setText(sText.c_str());
    bool bKeyPending = false;
    Zep::String sKey;
    // A malformed document ends the reading; what was read stays.
    while (parser.next()) {
        if (parser.getType() != Zep::XMLParser::kText) continue;
        const Zep::List<Zep::String>& lOpen = parser.getOpenElements();
        if (lOpen.getCount() < 3 || lOpen.get(0).toLower() != "data" || lOpen.get(1).toLower() != "cell" ||
            lOpen.get(2).toLower() != "row")
            continue;
        const Zep::String sNode = parser.getText();
        if (!bKeyPending) {
            sKey = sNode.toUpper();
            bKeyPending = true;
            continue;
        }
        const char* v = sNode.c_str();
        while (*v == ' ' || *v == '\t' || *v == '\r' || *v == '\n') ++v;
        hTable.set(sKey, replaceEscapes(Zep::String(v)));
        bKeyPending = false;
    }
}

// ---- StringTables -------------------------------------------------------------------

void StringTables::add(const char* szName, const Zep::String& sText) {
    const Zep::String sName = Zep::String(szName).toLower();
    if (sName.length() >= 4 && sName.right(4) == ".xml")
        readStringTableXml(sText, m_hTexts);
    else
        readStringTableText(sText, m_hTexts);
}

const char* StringTables::getText(const char* szKey) const {
    if (!szKey) return szKey;
    const auto* pNode = m_hTexts.findNode(Zep::String(szKey).toUpper());
    return pNode ? pNode->value.c_str() : szKey;
}

bool StringTables::hasText(const char* szKey) const {
    return szKey && m_hTexts.contains(Zep::String(szKey).toUpper());
}

Zep::String StringTables::selectLanguage(const Zep::List<Zep::String>& lPreferred) {
    ZEP_TRACE("StringTables::selectLanguage");
    const Zep::Hash<Zep::String, Zep::List<Zep::String>> hLanguages = installedLanguages();
    for (const Zep::String& sCode : lPreferred)
        if (hLanguages.contains(sCode)) return sCode;
    const Zep::List<Zep::String> lCodes = hLanguages.getKeys();
    return lCodes.isEmpty() ? Zep::String() : lCodes.getFirst();
}

Zep::List<Zep::String> StringTables::getLanguageFiles(const Zep::List<Zep::String>& lPreferred) {
    ZEP_TRACE("StringTables::getLanguageFiles");
    const Zep::String sCode = getLanguage(lPreferred);
    return installedLanguages().get(sCode);
}

Zep::String StringTables::getLanguage(const Zep::List<Zep::String>& lPreferred) {
    ZEP_TRACE("StringTables::getLanguage");
    const Zep::String sCode = selectLanguage(lPreferred);
    if (sCode.isEmpty()) ZEP_THROW(Zep::FatalErrorException, "No installed languages found");
    return sCode;
}
