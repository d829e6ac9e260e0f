#include "zep2/tokenfilereader.h"

#include <vector>

#include "zep2/error.h"
#include "zep2/stream.h"

namespace {
constexpr const char* kZepSource = ".\\src\\tokenfilereader";

constexpr int kReadChunk = 65536;

// Cuts the comment off one raw line: the first "#" not preceded by a
// backslash ends the text, and a backslash right before a "#" is dropped so
// that the "#" stays as text.
Zep::String stripComment(const Zep::String& sPiece) {
    const char* p = sPiece.c_str();
    const int n = sPiece.length();
    std::vector<char> out;
    out.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        const char c = p[i];
        if (c == '\\' && i + 1 < n && p[i + 1] == '#') continue;
        if (c == '#' && (i == 0 || p[i - 1] != '\\')) break;
        out.push_back(c);
    }
    return Zep::String(out.data(), static_cast<int>(out.size()));
}
}  // namespace

namespace Zep {

TokenFileReader::TokenFileReader(const char* sChunk) {
    ZEP_TRACE("TokenFileReader::TokenFileReader");
    ZEP_ASSERT(sChunk);
    parseText(sChunk);
}

TokenFileReader::TokenFileReader(Stream* pFile) {
    ZEP_TRACE("TokenFileReader::TokenFileReader");
    ZEP_ASSERT(pFile);
    // Read until the stream runs dry: for a compressed stream length() is the
    // compressed size, which says nothing about the text's size.
    std::vector<char> text;
    for (;;) {
        const size_t nHave = text.size();
        text.resize(nHave + kReadChunk);
        const int nRead = pFile->read(kReadChunk, text.data() + nHave);
        text.resize(nHave + static_cast<size_t>(nRead > 0 ? nRead : 0));
        if (nRead <= 0) break;
    }
    text.push_back('\0');
    parseText(text.data());
}

void TokenFileReader::parseText(const char* sText) {
    ZEP_TRACE("TokenFileReader::parseText");
    ZEP_ASSERT(sText);
    List<String> lPieces = String(sText).split("\r\n");
    int nNumber = 0;
    for (const String& sPiece : lPieces) {
        String sLine = stripComment(sPiece).trim();
        if (!sLine.isEmpty()) {
            m_lLines.add(sLine);
            m_lLineNumbers.add(nNumber);
        }
        ++nNumber;
    }
    m_sLine = "";
    m_nLineNumber = 0;
}

void TokenFileReader::nextLine() {
    ZEP_TRACE("TokenFileReader::nextLine");
    // The first removal throws on an empty queue before anything changes.
    String sLine = m_lLines.removeAt(0);
    m_nLineNumber = m_lLineNumbers.removeAt(0);
    m_sLine = sLine;
    m_lTokens = m_sLine.split(" \t");
}

String TokenFileReader::getTokensFrom(int nFirst) const {
    String sOut;
    int nIndex = 0;
    if (nFirst < 0) nFirst = 0;
    for (const String& sToken : m_lTokens) {
        if (nIndex++ < nFirst) continue;
        if (!sOut.isEmpty()) sOut += ' ';
        sOut += sToken;
    }
    return sOut;
}

Hash<String, String> TokenFileReader::readKeyValueTable() {
    ZEP_TRACE("TokenFileReader::readKeyValueTable");
    Hash<String, String> hTable(97);
    while (!isEOF()) {
        nextLine();
        String sValue = m_lTokens.get(1);
        String sKey = m_lTokens.get(0);
        hTable.set(sKey, sValue);
    }
    return hTable;
}

}  // namespace Zep
