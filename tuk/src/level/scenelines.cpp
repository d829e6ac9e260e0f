// The scene's line syntax, number reading and named objects (scenelines.h).
#include "level/scenelines.h"

#include <cerrno>
#include <cfloat>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include <zep2/error.h>

namespace {

constexpr const char* kZepSource = ".\\src\\scenelines";

constexpr const char* kBlanks = " \t\r\n";
constexpr const char* kSeparators = " \t";

bool isBlank(char c) { return c != '\0' && std::strchr(kBlanks, c) != nullptr; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

Zep::String trimmed(const char* p, const char* pEnd) {
    while (p < pEnd && isBlank(*p)) ++p;
    while (pEnd > p && isBlank(pEnd[-1])) --pEnd;
    return Zep::String(p, static_cast<int>(pEnd - p));
}

// The tokens of one line of the text, [p, pEnd); empty for a line to skip.
Zep::List<Zep::String> tokensOf(const char* p, const char* pEnd) {
    if (const void* pHash = std::memchr(p, '#', static_cast<size_t>(pEnd - p))) pEnd = static_cast<const char*>(pHash);
    const Zep::String sLine = trimmed(p, pEnd);
    if (sLine.isEmpty()) return Zep::List<Zep::String>();
    Zep::List<Zep::String> lTokens = sLine.split(kSeparators);
    // Only a CR can be left at either end of a token.
    for (Zep::String& sToken : lTokens) {
        const char* s = sToken.c_str();
        const int n = sToken.length();
        if (isBlank(s[0]) || isBlank(s[n - 1])) sToken = trimmed(s, s + n);
    }
    lTokens[0] = lTokens[0].toLower();
    return lTokens;
}

const char* skipDigits(const char* p) {
    while (isDigit(*p)) ++p;
    return p;
}

}  // namespace

namespace scenelines {

Zep::List<Line> splitLines(const Zep::String& sText) {
    ZEP_TRACE("scenelines::splitLines");
    Zep::List<Line> lLines;
    const char* p = sText.c_str();
    const char* const pEnd = p + sText.length();
    for (int32_t nNumber = 1; p <= pEnd; ++nNumber) {
        const void* pBreak = std::memchr(p, '\n', static_cast<size_t>(pEnd - p));
        const char* pLineEnd = pBreak ? static_cast<const char*>(pBreak) : pEnd;
        Line line;
        line.lTokens = tokensOf(p, pLineEnd);
        if (!line.lTokens.isEmpty()) {
            line.nNumber = nNumber;
            lLines.add(line);
        }
        p = pLineEnd + 1;
    }
    return lLines;
}

int32_t readInt(const Zep::String& sToken) {
    const char* p = sToken.c_str();
    const bool bNegative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    int64_t nValue = 0;
    for (; isDigit(*p); ++p) {
        nValue = nValue * 10 + (*p - '0');
        if (nValue > int64_t(INT_MAX) + 1) break;
    }
    if (bNegative) nValue = -nValue;
    if (nValue > INT_MAX) return INT_MAX;
    if (nValue < INT_MIN) return INT_MIN;
    return static_cast<int32_t>(nValue);
}

float readFloat(const Zep::String& sToken) {
    const char* const pStart = sToken.c_str();
    const char* p = pStart;
    if (*p == '-' || *p == '+') ++p;
    const char* pDigits = p;
    p = skipDigits(p);
    bool bDigits = p > pDigits;
    if (*p == '.') {
        const char* pFraction = p + 1;
        p = skipDigits(pFraction);
        bDigits = bDigits || p > pFraction;
    }
    if (!bDigits) return 0.0f;
    if (*p == 'e' || *p == 'E') {
        const char* pExponent = p + 1;
        if (*pExponent == '-' || *pExponent == '+') ++pExponent;
        if (isDigit(*pExponent)) p = skipDigits(pExponent);
    }
    const std::string sNumber(pStart, p);
    const float fValue = std::strtof(sNumber.c_str(), nullptr);
    if (fValue > FLT_MAX) return FLT_MAX;
    if (fValue < -FLT_MAX) return -FLT_MAX;
    return fValue;
}

int32_t addClamped(int32_t a, int64_t b) {
    const int64_t nSum = int64_t(a) + b;
    if (nSum > INT_MAX) return INT_MAX;
    if (nSum < INT_MIN) return INT_MIN;
    return static_cast<int32_t>(nSum);
}

void skipLine(const Zep::String& sCause) { throw SceneLineError(SceneLineError::kSkipped, sCause); }

const Zep::String& token(const Line& line, int n) {
    if (n >= line.lTokens.getCount())
        throw SceneLineError(SceneLineError::kMalformed, Zep::String::format("need %d tokens", n + 1));
    return line.lTokens[n];
}

Zep::String optionalToken(const Line& line, int n) {
    return n < line.lTokens.getCount() ? line.lTokens[n] : Zep::String();
}

void skipLogged(const Zep::String& sFile, const Line& line, const SceneLineError& error) {
    GameApp::log("B: Scene %s, line %d : %s; line skipped\n", sFile.c_str(), line.nNumber, error.getCause().c_str());
}

// ---- SceneNames ----------------------------------------------------------------

bool SceneNames::apply(const Line& line) {
    ZEP_TRACE("SceneNames::apply");
    const Zep::String& sKeyword = line.lTokens[0];
    if (sKeyword == "image") {
        const Zep::String& sName = token(line, 1);
        m_hImages.set(sName, m_app.getImage(sName.c_str()));
    } else if (sKeyword == "animation") {
        const Zep::String& sName = token(line, 1);
        m_hAnimations.set(sName, m_app.getAnimation(sName.c_str()));
    } else if (sKeyword == "clone") {
        clone(line);
    } else if (sKeyword == "hflip") {
        privateImage(token(line, 1))->hflip();
    } else if (sKeyword == "inspos") {
        inspos(line);
    } else if (sKeyword == "flip" || sKeyword == "flipsafe") {
        scale(line, sKeyword == "flipsafe", -1.0f, 1.0f);
    } else if (sKeyword == "scale_anim") {
        scale(line, false, readFloat(token(line, 2)), readFloat(token(line, 3)));
    } else if (sKeyword == "playsequence") {
        playSequence(line);
    } else {
        return false;
    }
    return true;
}

Zep::SmartPtr<Image> SceneNames::image(const Zep::String& sName) { return m_hImages[sName]; }

Zep::SmartPtr<Animation> SceneNames::definedAnimation(const Zep::String& sName) {
    Zep::SmartPtr<Animation> pAnimation = m_hAnimations[sName];
    if (pAnimation.isNULL())
        skipLine(Zep::String::format("animation %s not defined", sName.c_str()));
    return pAnimation;
}

Zep::SmartPtr<Image> SceneNames::definedImage(const Zep::String& sName) {
    Zep::SmartPtr<Image> pImage = m_hImages[sName];
    if (pImage.isNULL())
        skipLine(Zep::String::format("image %s not defined", sName.c_str()));
    return pImage;
}

Zep::SmartPtr<Image> SceneNames::privateImage(const Zep::String& sName) {
    Zep::SmartPtr<Image> pImage = definedImage(sName);
    if (m_lPrivate.indexOf(pImage) >= 0) return pImage;
    Zep::SmartPtr<Image> pCopy = pImage->clone(false);
    m_lPrivate.add(pCopy);
    m_hImages.set(sName, pCopy);
    return pCopy;
}

void SceneNames::clone(const Line& line) {
    const Zep::String& sSource = token(line, 1);
    const Zep::String sTarget = line.lTokens.getCount() == 2 ? sSource : line.lTokens[2];
    Zep::SmartPtr<Image> pCopy = definedImage(sSource)->clone(false);
    m_lPrivate.add(pCopy);
    m_hImages.set(sTarget, pCopy);
}

void SceneNames::inspos(const Line& line) {
    const Zep::String& sX = token(line, 1);
    const Zep::String& sY = token(line, 2);
    Zep::SmartPtr<Image> pImage = privateImage(token(line, 3));
    int x = readInt(sX);
    if (sX == "center") x = pImage->getWidth() / 2;
    if (sX == "right") x = pImage->getWidth();
    int y = readInt(sY);
    if (sY == "center") y = pImage->getHeight() / 2;
    if (sY == "bottom") y = pImage->getHeight();
    pImage->setInsPoint(x, y);
}

Zep::SmartPtr<Sprite> SceneNames::namedSprite(const Zep::String& sName) {
    Zep::SmartPtr<Sprite> pSprite = m_hSprites.get(sName);
    if (pSprite.isNULL())
        skipLine(Zep::String::format("%s names no sprite", sName.c_str()));
    return pSprite;
}

void SceneNames::scale(const Line& line, bool bOnlyRegistered, float fX, float fY) {
    const Zep::String& sName = token(line, 1);
    if (bOnlyRegistered && !m_hSprites.contains(sName)) return;
    namedSprite(sName)->setScale(fX, fY);
}

void SceneNames::playSequence(const Line& line) {
    const Zep::String& sName = token(line, 1);
    const Zep::String& sSequence = token(line, 2);
    AnimSprite* pSprite = dynamic_cast<AnimSprite*>(namedSprite(sName).get());
    if (!pSprite)
        skipLine(Zep::String::format("sprite %s is not animated", sName.c_str()));
    pSprite->play(sSequence.c_str(), 0.0f, -1);
}

}  // namespace scenelines
