// Zep::TokenFileReader: a line-and-token reader for plain-text definition
// files (image definitions, alias tables, emitters, themes).
//
// The text is split into lines at runs of CR and LF, "#" starts a comment
// ("\#" is a literal "#"), lines are trimmed and empty ones dropped. Each line
// keeps the number of the raw piece it came from (counting from 0), so error
// messages can point at it. Tokens are separated by blanks and tabs; there is
// no quoting.
#pragma once

#include <cstdint>

#include "zep2/hash.h"
#include "zep2/list.h"
#include "zep2/str.h"

namespace Zep {

class Stream;

class TokenFileReader {
public:
    // Parses a NUL-terminated text at once; no pointer to it is kept.
    // Null throws "Assertion failed : sChunk".
    explicit TokenFileReader(const char* sChunk);
    // Reads the stream from its current position until it delivers no more
    // bytes (a compressed stream's length is not its text length), then
    // parses the text. The stream is neither closed nor repositioned.
    // Null throws "Assertion failed : pFile".
    explicit TokenFileReader(Stream* pFile);
    virtual ~TokenFileReader() = default;

    TokenFileReader(const TokenFileReader&) = delete;
    TokenFileReader& operator=(const TokenFileReader&) = delete;

    // Appends the lines of the text to the pending ones and resets the
    // current line to "" and its number to 0.
    void parseText(const char* sText);

    bool isEOF() const { return m_lLines.getCount() == 0; }
    // Takes the next pending line. With none left it throws the list's
    // "List index out of range : 0 (have 0)" and changes nothing.
    void nextLine();

    // The current line's tokens, valid until the next nextLine.
    List<String>& getTokens() { return m_lTokens; }
    const List<String>& getTokens() const { return m_lTokens; }
    const String& getLine() const { return m_sLine; }
    int getLineNumber() const { return m_nLineNumber; }

    // Tokens from index nFirst to the end, joined by single blanks; "" when
    // nFirst is at or past the token count (a negative nFirst counts as 0).
    String getTokensFrom(int nFirst) const;

    // Consumes every pending line as "key value ..." into a 97-bucket table;
    // a later key replaces an earlier one and tokens past the second are
    // ignored. A one-token line throws the list's range error.
    Hash<String, String> readKeyValueTable();

private:
    List<String> m_lLines;
    List<int> m_lLineNumbers;
    String m_sLine;
    int32_t m_nLineNumber = 0;
    List<String> m_lTokens;
};

}  // namespace Zep
