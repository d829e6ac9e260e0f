// Zep::XMLParser: a pull parser over an XML document held in memory.
//
// Each next() produces one node: an element start, one attribute, a run of
// text, an element end, a comment, or a declaration start or end. There is no
// tree and no validation; callers look at the open-element stack to know where
// a text node sits.
#pragma once

#include "zep2/list.h"
#include "zep2/str.h"

namespace Zep {

class XMLParser {
public:
    enum NodeType {
        kNone = 0,
        kElementStart = 1,
        kAttribute = 2,
        kText = 3,
        kElementEnd = 4,
        kDeclarationStart = 5,
        kDeclarationEnd = 6,
        kComment = 7,
    };

    XMLParser();
    virtual ~XMLParser() = default;
    XMLParser(const XMLParser&) = delete;
    XMLParser& operator=(const XMLParser&) = delete;

    // Takes a copy of the text (null is the empty document) and rewinds.
    void setText(const char* text);
    // Back to the first character; name, text and the decoded flag stay.
    void reset();

    // False at the end of the document or when the step failed (hasError).
    bool next();

    int getType() const { return m_nType; }
    const String& getName() const { return m_sName; }
    // Text nodes have their entities decoded on the first call.
    String getText() const;

    List<String>& getOpenElements() { return m_lOpen; }
    const List<String>& getOpenElements() const { return m_lOpen; }

    bool hasError() const { return !m_sError.isEmpty(); }
    String getError() const { return m_sError; }

    // One left-to-right pass over the five predefined references.
    static String decodeEntities(const char* text);

private:
    char peek() const { return m_sDocument.c_str()[m_nPos]; }
    bool atEnd() const { return peek() == 0; }
    bool spells(const char* text) const;  // at the "<" just stepped over
    void skipWhitespace();
    int scanUntil(const char* stops) const;  // index of the first stop or the NUL
    bool scanText(const char* terminator);
    bool readTagName(bool closing);
    bool readAttribute();
    bool endTag();
    String popOpen();

    String m_sDocument;
    int m_nPos = 0;
    int m_nType = kNone;
    String m_sName;
    mutable String m_sText;
    int m_nState = 0;
    bool m_bInDeclaration = false;
    List<String> m_lOpen;
    String m_sError;
    mutable bool m_bDecoded = false;
};

}  // namespace Zep
