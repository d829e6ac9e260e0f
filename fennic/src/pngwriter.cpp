// The PNG encoder of the in-memory images.
#include "pngwriter.h"

#include <zlib.h>

#include <zep2/error.h>

#include "image.h"

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
    std::vector<uint8_t> lRows;
    ImageLock lock(image);
    for (int y = 0; y < image.getHeight(); ++y) {
        lRows.push_back(0);
        for (int x = 0; x < image.getWidth(); ++x) {
            const int dx = x - nDataX, dy = y - nDataY;
            const bool bInside = dx >= 0 && dy >= 0 && dx < image.getDataWidth() && dy < image.getDataHeight();
            const Color c = bInside ? image.readPixel(dx, dy) : Color(0, 0, 0, 0);
            lRows.insert(lRows.end(), {c.getRed(), c.getGreen(), c.getBlue(), c.getAlpha()});
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
