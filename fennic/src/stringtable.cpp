#include "stringtable.h"

#include <cstring>

#include <zep2/error.h>
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

}  // namespace

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
