#include "zep2/xml.h"

#include <cstring>
#include <string>

#include "zep2/error.h"

namespace {

[[maybe_unused]] constexpr const char* kZepSource = ".\\src\\xml";
constexpr const char* kWhitespace = " \t\n\r";

struct Entity {
    const char* reference;
    char character;
};

constexpr Entity kEntities[] = {
    {"&lt;", '<'}, {"&gt;", '>'}, {"&amp;", '&'}, {"&apos;", '\''}, {"&quot;", '"'},
};

}  // namespace

namespace Zep {

XMLParser::XMLParser() { reset(); }

void XMLParser::setText(const char* text) {
    m_sDocument = text;
    reset();
}

void XMLParser::reset() {
    m_nPos = 0;
    m_nType = kNone;
    m_nState = 0;
    m_bInDeclaration = false;
    m_sError = "";
    m_lOpen.clear();
}

String XMLParser::getText() const {
    if (m_nType == kText && !m_bDecoded) {
        m_sText = decodeEntities(m_sText.c_str());
        m_bDecoded = true;
    }
    return m_sText;
}

String XMLParser::decodeEntities(const char* text) {
    if (text == nullptr) return String();
    std::string out;
    out.reserve(std::strlen(text));
    for (const char* p = text; *p != 0;) {
        bool replaced = false;
        if (*p == '&') {
            for (const Entity& entity : kEntities) {
                const size_t n = std::strlen(entity.reference);
                if (std::strncmp(p, entity.reference, n) == 0) {
                    out += entity.character;
                    p += n;
                    replaced = true;
                    break;
                }
            }
        }
        if (!replaced) out += *p++;
    }
    return String(out.c_str(), static_cast<int>(out.size()));
}

bool XMLParser::spells(const char* text) const {
    return m_nPos > 0 &&
           std::strncmp(m_sDocument.c_str() + m_nPos - 1, text, std::strlen(text)) == 0;
}

void XMLParser::skipWhitespace() {
    while (!atEnd() && std::strchr(kWhitespace, peek()) != nullptr) ++m_nPos;
}

int XMLParser::scanUntil(const char* stops) const {
    return m_nPos + static_cast<int>(std::strcspn(m_sDocument.c_str() + m_nPos, stops));
}

// Every scan below stops at the document's NUL: a document cut short ends
// the step with false, the way an unterminated comment does.

bool XMLParser::scanText(const char* terminator) {
    const char* start = m_sDocument.c_str() + m_nPos;
    const char* found = std::strstr(start, terminator);
    if (found == nullptr) {
        m_sText = start;
        m_nPos += m_sText.length();
        return false;
    }
    m_sText.assign(start, static_cast<int>(found - start));
    m_nPos += static_cast<int>(found - start) + static_cast<int>(std::strlen(terminator));
    m_nState = 0;
    return true;
}

bool XMLParser::readTagName(bool closing) {
    m_nState = 2;
    skipWhitespace();
    const int end = scanUntil(" \t\n\r>/");
    m_sName.assign(m_sDocument.c_str() + m_nPos, end - m_nPos);
    m_nPos = end;
    if (atEnd()) return false;
    if (!closing) {
        m_lOpen.addFirst(m_sName);
        m_nType = m_bInDeclaration ? kDeclarationStart : kElementStart;
        return true;
    }
    const String open = popOpen();
    if (open != m_sName) {
        m_sError = String::format("Mismatched tag close : open %s, close %s", open.c_str(),
                                  m_sName.c_str());
        return false;
    }
    m_nType = kElementEnd;
    return true;
}

bool XMLParser::readAttribute() {
    int end = scanUntil(" \t\n\r=");
    m_sName.assign(m_sDocument.c_str() + m_nPos, end - m_nPos);
    m_nPos = end;
    m_nPos = scanUntil("\"");
    if (atEnd()) return false;
    ++m_nPos;
    end = scanUntil("\"");
    m_sText.assign(m_sDocument.c_str() + m_nPos, end - m_nPos);
    m_nPos = end;
    if (atEnd()) return false;
    ++m_nPos;
    m_nType = kAttribute;
    return true;
}

// At the "/" of "/>" or the "?" of "?>".
bool XMLParser::endTag() {
    const bool declaration = m_bInDeclaration;
    ++m_nPos;
    skipWhitespace();
    if (peek() == '>') {
        ++m_nPos;
        m_nState = 0;
        m_bInDeclaration = false;
        if (m_lOpen.getCount() == 0) {
            // Nothing open to end: report it the way a stray closing tag is.
            m_sError = String::format("Mismatched tag close : open , close %s",
                                      declaration ? "?>" : "/>");
            return false;
        }
        m_sName = m_lOpen.removeFirst();
        m_nType = declaration ? kDeclarationEnd : kElementEnd;
        return true;
    }
    if (atEnd()) return false;
    const String open = popOpen();
    m_sError = String::format("Bad tag close : open %s %s, found '%c'", open.c_str(),
                              declaration ? "[special]" : "", peek());
    return false;
}

String XMLParser::popOpen() {
    if (m_lOpen.getCount() == 0) return String();
    return m_lOpen.removeFirst();
}

bool XMLParser::next() {
    if (atEnd()) return false;
    for (;;) {
        m_sName = "";
        m_sText = "";
        m_nType = kNone;
        switch (m_nState) {
            case 0: {
                const int end = scanUntil("<");
                const bool textSeen = end > m_nPos;
                if (textSeen) m_sText.assign(m_sDocument.c_str() + m_nPos, end - m_nPos);
                m_nPos = end;
                m_nState = 1;
                if (peek() == '<') ++m_nPos;
                if (textSeen) {
                    m_nType = kText;
                    m_bDecoded = false;
                    return true;
                }
                break;
            }
            case 1:
                m_bInDeclaration = false;
                if (peek() == '?') {
                    ++m_nPos;
                    m_bInDeclaration = true;
                    return readTagName(false);
                }
                if (peek() == '/') {
                    ++m_nPos;
                    return readTagName(true);
                }
                if (spells("<!--")) {
                    m_nType = kComment;
                    m_nPos += 3;
                    return scanText("-->");
                }
                if (spells("<![CDATA[")) {
                    m_nType = kText;
                    m_bDecoded = false;
                    m_nPos += 8;
                    return scanText("]]>");
                }
                return readTagName(false);
            default: {
                skipWhitespace();
                const char c = peek();
                if (c == 0) break;
                if ((c == '?' && m_bInDeclaration) || (c == '/' && !m_bInDeclaration))
                    return endTag();
                if (c == '>') {
                    ++m_nPos;
                    m_nState = 0;
                    break;
                }
                return readAttribute();
            }
        }
        if (atEnd()) return false;
    }
}

}  // namespace Zep
