// The PNG encoder of the in-memory images.
#include "image/pngwriter.h"

#include <zlib.h>

#include <zep2/error.h>

#include "image/image.h"

namespace {

constexpr const char* kZepSource = ".\\src\\pngwriter";
constexpr uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

void putWord(std::vector<uint8_t>& lOut, uint32_t n) {
    for (int nShift = 24; nShift >= 0; nShift -= 8) lOut.push_back(static_cast<uint8_t>(n >> nShift));
}

// Length, type, data, then the CRC of type and data.
void putChunk(std::vector<uint8_t>& lOut, const char* szType, const std::vector<uint8_t>& lData) {
    putWord(lOut, static_cast<uint32_t>(lData.size()));
    const size_t nStart = lOut.size();
    lOut.insert(lOut.end(), szType, szType + 4);
    lOut.insert(lOut.end(), lData.begin(), lData.end());
    putWord(lOut, static_cast<uint32_t>(crc32(0, &lOut[nStart], static_cast<uInt>(lOut.size() - nStart))));
}

// Filter byte 0, then RGBA per canvas pixel.
std::vector<uint8_t> rawRows(Image& image) {
    int nDataX = 0, nDataY = 0;
    image.getDataOffset(&nDataX, &nDataY);
    const int nWidth = image.getWidth(), nHeight = image.getHeight();
    const int nDataWidth = image.getDataWidth(), nDataHeight = image.getDataHeight();
    // Sized once: the rows are written in place (transparent outside the data).
    std::vector<uint8_t> lRows(static_cast<size_t>(nHeight) * (1 + 4 * static_cast<size_t>(nWidth)), 0);
    ImageLock lock(image);
    uint8_t* pOut = lRows.data();
    for (int y = 0; y < nHeight; ++y) {
        *pOut++ = 0;
        for (int x = 0; x < nWidth; ++x, pOut += 4) {
            const int dx = x - nDataX, dy = y - nDataY;
            if (dx < 0 || dy < 0 || dx >= nDataWidth || dy >= nDataHeight) continue;
            const Color c = image.readPixel(dx, dy);
            pOut[0] = c.getRed(), pOut[1] = c.getGreen(), pOut[2] = c.getBlue(), pOut[3] = c.getAlpha();
        }
    }
    return lRows;
}

}  // namespace

std::vector<uint8_t> encodePngRgba(Image& image) {
    std::vector<uint8_t> lHeader;
    putWord(lHeader, static_cast<uint32_t>(image.getWidth()));
    putWord(lHeader, static_cast<uint32_t>(image.getHeight()));
    lHeader.insert(lHeader.end(), {8, 6, 0, 0, 0});  // depth 8, RGBA, deflate, filter 0, no interlace
    const std::vector<uint8_t> lRows = rawRows(image);
    uLongf nPacked = compressBound(static_cast<uLong>(lRows.size()));
    std::vector<uint8_t> lPacked(nPacked);
    if (compress2(lPacked.data(), &nPacked, lRows.data(), static_cast<uLong>(lRows.size()), 9) != Z_OK)
        ZEP_THROW(Zep::FatalErrorException, "PNG writer : deflate failed");
    lPacked.resize(nPacked);
    std::vector<uint8_t> lOut(std::begin(kSignature), std::end(kSignature));
    putChunk(lOut, "IHDR", lHeader);
    putChunk(lOut, "IDAT", lPacked);
    putChunk(lOut, "IEND", {});
    return lOut;
}
