// Alignment offsets within a picture.
#include "image/alignment.h"

#include <climits>
#include <cstdlib>
#include <string>

#include "image/image.h"

namespace {

// atoi's reading (leading blanks, sign, digits), held within int.
long long numberOf(const char* szText) {
    const long long n = std::strtoll(szText, nullptr, 10);
    return n < INT_MIN ? INT_MIN : n > INT_MAX ? INT_MAX : n;
}

long long keywordBase(const std::string& sSpec, const Image& image, bool bHorizontal) {
    const int nExtent = bHorizontal ? image.getWidth() : image.getHeight();
    if (sSpec == "contents_center") {
        const Rect data = image.getDataRect();
        return bHorizontal ? (data.getRight() - data.getLeft()) / 2 + data.getLeft() + image.getInsPointX()
                           : (data.getBottom() - data.getTop()) / 2 + data.getTop() + image.getInsPointY();
    }
    if (sSpec == "center" || sSpec == "middle") return nExtent / 2;
    if (sSpec == "right" || sSpec == "bottom") return nExtent;
    if (sSpec == "left" || sSpec == "top") return 0;
    return numberOf(sSpec.c_str());
}

}  // namespace

int parseAlignmentOffset(const char* szSpec, const Image* pImage, bool bHorizontal) {
    std::string sSpec = szSpec ? szSpec : "";
    // The first "+" splits the text, else the first "-": the signed rest is the offset.
    size_t nSign = sSpec.find('+');
    if (nSign == std::string::npos) nSign = sSpec.find('-');
    long long nOffset = 0;
    if (nSign != std::string::npos) {
        nOffset = numberOf(sSpec.c_str() + nSign);
        sSpec.resize(nSign);
    }
    const long long nResult = keywordBase(sSpec, *pImage, bHorizontal) + nOffset;
    return static_cast<int>(nResult < INT_MIN ? INT_MIN : nResult > INT_MAX ? INT_MAX : nResult);
}
