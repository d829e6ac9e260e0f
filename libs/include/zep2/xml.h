// Zep::XMLParser: a pull parser over an XML document held in memory.
//
// Each next() produces one node: an element start, one attribute, a run of
// text, an element end, a comment, or a declaration start or end. There is no
// tree and no validation; callers look at the open-element stack to know where
// a text node sits.
#pragma once

#include <vector>

#include "zep2/str.h"

namespace Zep {

// Names of the open elements, innermost first. Its members carry the names of
// the list operations the parser needs, so the parser can keep its stack in a
// Zep::List<String> without its callers changing.
class XMLElementStack {
public:
    int getCount() const { return static_cast<int>(m_lNames.size()); }
    String get(int index) const;  // 0 is the innermost
    String getFirst() const { return get(0); }
    void addFirst(const String& name) { m_lNames.push_back(name); }
    String removeFirst();
    void clear() { m_lNames.clear(); }

private:
    std::vector<String> m_lNames;  // innermost last
};

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

    XMLElementStack& getOpenElements() { return m_lOpen; }
    const XMLElementStack& getOpenElements() const { return m_lOpen; }

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
    XMLElementStack m_lOpen;
    String m_sError;
    mutable bool m_bDecoded = false;
};

}  // namespace Zep
