// Movie frame size and black/white alpha recovery; see swfreader.h.
#include "media/swfreader.h"

#include <array>
#include <cstring>

#include <zep2/zstream.h>

namespace {

constexpr int kRectOffset = 8;
constexpr int kTwipsPerPixel = 20;

// n bits at a bit offset, most significant bit first, as a signed value.
int32_t signedBits(const uint8_t* pBytes, int nOffset, int nBits) {
    if (nBits == 0) return 0;
    uint32_t nValue = 0;
    for (int i = 0; i < nBits; ++i) {
        const int nBit = nOffset + i;
        nValue = (nValue << 1) | ((pBytes[nBit / 8] >> (7 - nBit % 8)) & 1u);
    }
    // Sign extension from bit n - 1.
    const uint32_t nSign = 1u << (nBits - 1);
    return static_cast<int32_t>(nValue ^ nSign) - static_cast<int32_t>(nSign);
}

}  // namespace

SwfFrameSize readSwfRect(const uint8_t* pBytes, int nRead) {
    SwfFrameSize size;
    if (nRead < 1) return size;
    const int nBits = pBytes[0] >> 3;
    if (nRead < (4 * nBits + 12) / 8) return size;
    int32_t aValues[4];
    for (int k = 0; k < 4; ++k) aValues[k] = signedBits(pBytes, 5 + k * nBits, nBits) / kTwipsPerPixel;
    size.nWidth = aValues[1] - aValues[0];
    size.nHeight = aValues[3] - aValues[2];
    return size;
}

SwfFrameSize readSwfFrameSize(Zep::Stream& file) {
    char aSignature[3] = {};
    if (file.read(3, aSignature) != 3) return {};
    file.setPosition(kRectOffset);
    std::array<uint8_t, kSwfHeaderBytes> aBytes{};
    int nRead = 0;
    if (std::memcmp(aSignature, "CWS", 3) == 0) {
        Zep::ZStream inflater(&file, -1);
        nRead = inflater.read(kSwfHeaderBytes, aBytes.data());
    } else {
        nRead = file.read(kSwfHeaderBytes, aBytes.data());
    }
    return readSwfRect(aBytes.data(), nRead);
}

void recoverAlphaFromBlackWhite(uint8_t* pBlack, const uint8_t* pWhite, int nPixels) {
    for (int i = 0; i < nPixels; ++i, pBlack += 4, pWhite += 4) {
        int nSum = 0;
        for (int c = 0; c < 3; ++c) nSum += static_cast<uint8_t>(pWhite[c] - pBlack[c]);
        pBlack[3] = static_cast<uint8_t>(255 - nSum / 3);
    }
}
