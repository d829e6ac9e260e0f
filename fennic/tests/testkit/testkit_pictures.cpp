#include "testkit/testkit_pictures.h"

#include <vector>

#include "image/memimage.h"
#include "image/pngwriter.h"

namespace testkit {

namespace {

void putBe16(std::string& s, int n) {
    s.push_back(static_cast<char>(n >> 8));
    s.push_back(static_cast<char>(n));
}

void putLe16(std::string& s, int n) {
    s.push_back(static_cast<char>(n));
    s.push_back(static_cast<char>(n >> 8));
}

// A marker and its segment, the length in front.
void putSegment(std::string& s, uint8_t nCode, const std::string& sBody) {
    s.push_back(static_cast<char>(0xFF));
    s.push_back(static_cast<char>(nCode));
    putBe16(s, static_cast<int>(sBody.size()) + 2);
    s += sBody;
}

// Huffman tables by code length: the sixteen counts, then the symbols.
std::string huffmanTable(uint8_t nClassAndId, int nLength, const std::vector<uint8_t>& lSymbols) {
    std::string s(1, static_cast<char>(nClassAndId));
    for (int i = 1; i <= 16; ++i) s.push_back(static_cast<char>(i == nLength ? lSymbols.size() : 0));
    s.append(lSymbols.begin(), lSymbols.end());
    return s;
}

class BitWriter {
public:
    void put(uint32_t nBits, int nCount) {
        for (int i = nCount - 1; i >= 0; --i) {
            m_nByte = static_cast<uint8_t>(m_nByte << 1 | ((nBits >> i) & 1));
            if (++m_nFill == 8) flushByte();
        }
    }
    // Pads with ones, as the format asks.
    std::string finish() {
        while (m_nFill) put(1, 1);
        return m_sOut;
    }

private:
    void flushByte() {
        m_sOut.push_back(static_cast<char>(m_nByte));
        if (m_nByte == 0xFF) m_sOut.push_back('\0');
        m_nByte = 0;
        m_nFill = 0;
    }
    std::string m_sOut;
    uint8_t m_nByte = 0;
    int m_nFill = 0;
};

// Each block: the DC difference's category as a 4-bit code (categories 0
// to 11 all have 4 bits), its bits, then the 1-bit end of block.
std::string jpegBlocks(int nWidth, int nHeight, const PictureFn& fn) {
    BitWriter bits;
    int nPrevious = 0;
    for (int by = 0; by < nHeight; by += 8)
        for (int bx = 0; bx < nWidth; bx += 8) {
            const int nDc = 8 * (fn(bx, by).getRed() - 128);
            const int nDiff = nDc - nPrevious;
            nPrevious = nDc;
            int nCategory = 0;
            while ((nDiff < 0 ? -nDiff : nDiff) >> nCategory) ++nCategory;
            bits.put(static_cast<uint32_t>(nCategory), 4);
            const int nBits = nDiff < 0 ? nDiff + (1 << nCategory) - 1 : nDiff;  // negatives as one's complement
            bits.put(static_cast<uint32_t>(nBits), nCategory);
            bits.put(0, 1);
        }
    return bits.finish();
}

}  // namespace

std::string pngPicture(int nWidth, int nHeight, const PictureFn& fn) {
    MemImage image(nWidth, nHeight, true);
    for (int y = 0; y < nHeight; ++y)
        for (int x = 0; x < nWidth; ++x) image.setPixel(x, y, fn(x, y));
    const std::vector<uint8_t> lBytes = encodePngRgba(image);
    return std::string(lBytes.begin(), lBytes.end());
}

std::string jpegPicture(int nWidth, int nHeight, const PictureFn& fn) {
    std::string s = "\xFF\xD8";
    putSegment(s, 0xDB, std::string(1, '\0') + std::string(64, '\1'));  // quantiser 1 throughout
    std::string sFrame(1, '\x08');                                      // 8-bit samples
    putBe16(sFrame, nHeight);
    putBe16(sFrame, nWidth);
    sFrame += std::string("\x01\x01\x11\x00", 4);  // one component: id 1, 1 x 1, quantiser 0
    putSegment(s, 0xC0, sFrame);
    putSegment(s, 0xC4, huffmanTable(0x00, 4, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    putSegment(s, 0xC4, huffmanTable(0x10, 1, {0x00}));
    putSegment(s, 0xDA, std::string("\x01\x01\x00\x00\x3F\x00", 6));
    s += jpegBlocks(nWidth, nHeight, fn);
    return s + "\xFF\xD9";
}

std::string tgaPicture(int nWidth, int nHeight, bool bAlpha, const PictureFn& fn) {
    std::string s(2, '\0');
    s.push_back(2);  // true colour, uncompressed
    s.append(9, '\0');
    putLe16(s, nWidth);
    putLe16(s, nHeight);
    s.push_back(static_cast<char>(bAlpha ? 32 : 24));
    s.push_back(static_cast<char>(0x20 | (bAlpha ? 8 : 0)));  // top-left origin
    for (int y = 0; y < nHeight; ++y)
        for (int x = 0; x < nWidth; ++x) {
            const Color c = fn(x, y);
            s += {static_cast<char>(c.getBlue()), static_cast<char>(c.getGreen()), static_cast<char>(c.getRed())};
            if (bAlpha) s.push_back(static_cast<char>(c.getAlpha()));
        }
    return s;
}

}  // namespace testkit
