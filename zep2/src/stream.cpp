#include "zep2/stream.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

#include "zep2/error.h"

namespace {
constexpr const char* kZepSource = ".\\src\\stream";

// Upper bound for one read of a string body when the stream can't tell how much
// it still holds; keeps a forged length from turning into a huge allocation.
constexpr uint32_t kStringChunk = 64 * 1024;

constexpr uint32_t kLegacyStringTag = 0x727453;
}  // namespace

namespace Zep {

void Stream::readFixed(int nSize, uint8_t* pBytes) {
    std::memset(pBytes, 0, static_cast<size_t>(nSize));
    int nRead = read(nSize, pBytes);
    // A misbehaving stream must not leave stale bytes behind either.
    if (nRead < 0) nRead = 0;
    if (nRead < nSize) std::memset(pBytes + nRead, 0, static_cast<size_t>(nSize - nRead));
}

uint8_t Stream::readU8() {
    uint8_t b[1];
    readFixed(1, b);
    return b[0];
}

bool Stream::writeU8(uint8_t nValue) {
    return write(1, &nValue) == 1;
}

int16_t Stream::readI16() {
    uint8_t b[2];
    readFixed(2, b);
    uint16_t v = (m_nByteOrder == kBigEndian) ? static_cast<uint16_t>((b[0] << 8) | b[1])
                                              : static_cast<uint16_t>((b[1] << 8) | b[0]);
    return static_cast<int16_t>(v);
}

bool Stream::writeU16(uint16_t nValue) {
    uint8_t b[2];
    if (m_nByteOrder == kBigEndian) {
        b[0] = static_cast<uint8_t>(nValue >> 8);
        b[1] = static_cast<uint8_t>(nValue);
    } else {
        b[0] = static_cast<uint8_t>(nValue);
        b[1] = static_cast<uint8_t>(nValue >> 8);
    }
    return write(2, b) == 2;
}

namespace {
uint32_t loadLE32(const uint8_t* b) {
    return static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
           (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24);
}
void storeLE32(uint32_t v, uint8_t* b) {
    b[0] = static_cast<uint8_t>(v);
    b[1] = static_cast<uint8_t>(v >> 8);
    b[2] = static_cast<uint8_t>(v >> 16);
    b[3] = static_cast<uint8_t>(v >> 24);
}
uint32_t swap32(uint32_t v) {
    return (v >> 24) | ((v >> 8) & 0xFF00u) | ((v << 8) & 0xFF0000u) | (v << 24);
}
}  // namespace

uint32_t Stream::readU32() {
    uint8_t b[4];
    readFixed(4, b);
    uint32_t v = loadLE32(b);
    return m_nByteOrder == kBigEndian ? swap32(v) : v;
}

bool Stream::writeU32(uint32_t nValue) {
    uint8_t b[4];
    storeLE32(m_nByteOrder == kBigEndian ? swap32(nValue) : nValue, b);
    return write(4, b) == 4;
}

// Floating-point values are little-endian whatever the stream's byte order.
float Stream::readFloat() {
    uint8_t b[4];
    readFixed(4, b);
    return std::bit_cast<float>(loadLE32(b));
}

bool Stream::writeFloat(float fValue) {
    uint8_t b[4];
    storeLE32(std::bit_cast<uint32_t>(fValue), b);
    return write(4, b) == 4;
}

double Stream::readDouble() {
    uint8_t b[8];
    readFixed(8, b);
    return std::bit_cast<double>(static_cast<uint64_t>(loadLE32(b)) | (static_cast<uint64_t>(loadLE32(b + 4)) << 32));
}

bool Stream::writeDouble(double fValue) {
    const auto bits = std::bit_cast<uint64_t>(fValue);
    uint8_t b[8];
    storeLE32(static_cast<uint32_t>(bits), b);
    storeLE32(static_cast<uint32_t>(bits >> 32), b + 4);
    return write(8, b) == 8;
}

uint32_t Stream::readVarUInt() {
    uint32_t nValue = 0;
    for (int nShift = 0; nShift <= 28; nShift += 7) {
        uint8_t b = 0;
        // The end of the data ends the number: no endless loop on empty reads.
        if (read(1, &b) != 1) break;
        nValue |= static_cast<uint32_t>(b & 0x7F) << nShift;
        if ((b & 0x80) == 0) break;
    }
    return nValue;
}

namespace {
// Encodes v as a var-int into b (room for 5 bytes); returns the byte count.
int encodeVarUInt(uint32_t v, uint8_t* b) {
    int n = 0;
    do {
        uint8_t c = static_cast<uint8_t>(v & 0x7F);
        v >>= 7;
        if (v != 0) c |= 0x80;
        b[n++] = c;
    } while (v != 0);
    return n;
}
}  // namespace

// One write for the whole number: a stream that refuses part of it keeps the
// same leading bytes as with byte-by-byte writes, and the result is false.
bool Stream::writeVarUInt(uint32_t nValue) {
    uint8_t b[5];
    int n = encodeVarUInt(nValue, b);
    return write(n, b) == n;
}

bool Stream::writeText(const char* szText) {
    if (szText == nullptr) return true;
    int n = static_cast<int>(std::strlen(szText));
    if (n == 0) return true;
    return write(n, szText) == n;
}

String Stream::readString() {
    ZEP_TRACE("Stream::readString");
    uint8_t nType = readU8();
    uint32_t nLength;
    if (nType == 0x01) {
        uint8_t t[3];
        readFixed(3, t);
        uint32_t nTag = (static_cast<uint32_t>(t[0]) << 16) | (static_cast<uint32_t>(t[1]) << 8) | t[2];
        if (nTag != kLegacyStringTag) {
            uint32_t nShown = (static_cast<uint32_t>(t[2]) << 24) | (static_cast<uint32_t>(t[1]) << 16) |
                              (static_cast<uint32_t>(t[0]) << 8);
            ZEP_THROW(BadStreamFormatException,
                      String::format("Stream::readString : bad stream format : %08X, got %08X",
                                     kLegacyStringTag, nShown)
                          .c_str());
        }
        nLength = readU32();
    } else {
        if ((nType & 0x0F) != 2) ZEP_THROW(BadStreamFormatException, "Stream::readString : bad stream format\n");
        if ((nType >> 4) != 1)
            ZEP_THROW(BadStreamFormatException, "Stream::readString : unknown format version\n");
        nLength = readVarUInt();
    }
    if (nLength == 0) return String();

    // The length comes from the data and can't be trusted: never allocate more
    // than the stream can still deliver. When the stream can tell how much is
    // left, one read takes it all; otherwise the body arrives in bounded chunks.
    int nLeft = remaining();
    std::vector<char> text;
    uint32_t nGot = 0;
    while (nGot < nLength) {
        uint32_t nWant = nLength - nGot;
        if (nLeft >= 0) {
            nWant = std::min(nWant, static_cast<uint32_t>(nLeft) - std::min(nGot, static_cast<uint32_t>(nLeft)));
        } else {
            nWant = std::min(nWant, kStringChunk);
        }
        if (nWant == 0) break;
        text.resize(nGot + nWant);
        int nRead = read(static_cast<int>(nWant), text.data() + nGot);
        if (nRead <= 0) break;
        nGot += static_cast<uint32_t>(nRead);
        if (static_cast<uint32_t>(nRead) < nWant) break;
    }
    if (nGot != nLength) return String();
    text.resize(nGot);
    text.push_back('\0');
    // A NUL inside the text ends it there.
    return String(text.data());
}

bool Stream::writeString(const char* szText) {
    size_t nLen = szText ? std::strlen(szText) : 0;
    int n = nLen > INT32_MAX ? INT32_MAX : static_cast<int>(nLen);
    // Type byte and length in one write; only a refused type byte fails here.
    uint8_t header[6];
    header[0] = 0x12;
    int nHeader = 1 + encodeVarUInt(static_cast<uint32_t>(n), header + 1);
    if (write(nHeader, header) <= 0) return false;
    if (n == 0) return true;
    return write(n, szText) == n;
}

}  // namespace Zep
