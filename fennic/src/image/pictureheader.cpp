// Picture headers: the format the name and the first bytes agree on, and the
// declared size (see pictureheader.h).
#include "image/pictureheader.h"

#include <cstring>

#include <strings.h>

namespace {

constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
// Signature, then the header chunk's length and type, then width and height.
constexpr size_t kPngSizeEnd = 24;
constexpr uint32_t kPngHeaderLength = 13;

constexpr uint8_t kJpegMark = 0xFF;
constexpr uint8_t kJpegStart = 0xD8;
constexpr uint8_t kJpegEnd = 0xD9;
constexpr uint8_t kJpegScan = 0xDA;
// Precision, height, width and component count follow the length.
constexpr size_t kJpegFrameLength = 8;

constexpr size_t kTgaHeaderSize = 18;

uint32_t be16(const uint8_t* p) { return static_cast<uint32_t>(p[0]) << 8 | p[1]; }
uint32_t le16(const uint8_t* p) { return static_cast<uint32_t>(p[1]) << 8 | p[0]; }
uint32_t be32(const uint8_t* p) { return be16(p) << 16 | be16(p + 2); }

bool endsWithNoCase(const char* szName, const char* szSuffix) {
    const size_t nName = std::strlen(szName), nSuffix = std::strlen(szSuffix);
    return nName >= nSuffix && strcasecmp(szName + (nName - nSuffix), szSuffix) == 0;
}

bool isPng(const uint8_t* p, size_t n) { return n >= sizeof(kPngSignature) && !std::memcmp(p, kPngSignature, 8); }
bool isJpeg(const uint8_t* p, size_t n) {
    return n >= 3 && p[0] == kJpegMark && p[1] == kJpegStart && p[2] == kJpegMark;
}

// Records the size, or what is wrong with it.
void setSize(PictureHeader& header, int64_t nWidth, int64_t nHeight) {
    Zep::String sProblem;
    if (nWidth < 1 || nHeight < 1)
        sProblem = "empty";
    else if (nWidth > kMaxPictureSide || nHeight > kMaxPictureSide)
        sProblem = Zep::String::format("more than %d a side", kMaxPictureSide);
    else if (nWidth * nHeight > kMaxPicturePixels)
        sProblem = Zep::String::format("more than %lld pixels", static_cast<long long>(kMaxPicturePixels));
    if (!sProblem.isEmpty()) {
        header.m_sProblem = Zep::String::format("%lld x %lld pixels: %s", static_cast<long long>(nWidth),
                                                static_cast<long long>(nHeight), sProblem.c_str());
        return;
    }
    header.m_nWidth = static_cast<int32_t>(nWidth);
    header.m_nHeight = static_cast<int32_t>(nHeight);
}

void readPng(PictureHeader& header, const uint8_t* p, size_t n) {
    if (!isPng(p, n)) {
        header.m_sProblem = "no PNG signature";
        return;
    }
    if (n < kPngSizeEnd || be32(p + 8) != kPngHeaderLength || std::memcmp(p + 12, "IHDR", 4) != 0) {
        header.m_sProblem = "PNG header missing";
        return;
    }
    setSize(header, be32(p + 16), be32(p + 20));
}

bool isJpegFrame(uint8_t nCode) {
    // SOF0 to SOF15, less DHT (C4), JPG (C8) and DAC (CC).
    return nCode >= 0xC0 && nCode <= 0xCF && nCode != 0xC4 && nCode != 0xC8 && nCode != 0xCC;
}

// Markers without a length: TEM and the restart markers.
bool isJpegStandalone(uint8_t nCode) { return nCode == 0x01 || (nCode >= 0xD0 && nCode <= 0xD7); }

// The offset of the marker that ends the entropy-coded data from nPos on
// (stuffed zeros and restart markers belong to the data), or n when the data
// run off the end.
size_t skipScanData(const uint8_t* p, size_t n, size_t nPos) {
    while (nPos < n) {
        const void* pMark = std::memchr(p + nPos, kJpegMark, n - nPos);
        if (!pMark) return n;
        const size_t nMark = static_cast<size_t>(static_cast<const uint8_t*>(pMark) - p);
        size_t nCode = nMark + 1;
        while (nCode < n && p[nCode] == kJpegMark) ++nCode;  // fill bytes
        if (nCode >= n) return n;
        if (p[nCode] != 0x00 && !(p[nCode] >= 0xD0 && p[nCode] <= 0xD7)) return nCode - 1;
        nPos = nCode + 1;
    }
    return n;
}

// Walks the segments from the start marker to the end-of-image marker; the
// frame header gives the size.
void readJpeg(PictureHeader& header, const uint8_t* p, size_t n) {
    bool bFrame = false;
    int nScans = 0;
    size_t nPos = 2;
    while (nPos < n) {
        // Stray bytes before a marker are skipped, as the decoder does.
        const void* pMark = std::memchr(p + nPos, kJpegMark, n - nPos);
        if (!pMark) break;
        nPos = static_cast<size_t>(static_cast<const uint8_t*>(pMark) - p);
        while (nPos < n && p[nPos] == kJpegMark) ++nPos;
        if (nPos >= n) break;
        const uint8_t nCode = p[nPos++];
        if (nCode == kJpegEnd) {
            if (nScans == 0) header.m_sProblem = "JPEG frame or scan missing";
            return;
        }
        if (nCode == 0x00 || isJpegStandalone(nCode)) continue;
        if (n - nPos < 2) break;
        const size_t nLength = be16(p + nPos);
        if (nLength < 2) {
            header.m_sProblem = Zep::String::format("JPEG segment length %u", static_cast<unsigned>(nLength));
            return;
        }
        if (n - nPos < nLength) break;
        if (isJpegFrame(nCode) && !bFrame) {
            if (nLength < kJpegFrameLength) {
                header.m_sProblem = "JPEG frame header cut short";
                return;
            }
            bFrame = true;
            setSize(header, be16(p + nPos + 5), be16(p + nPos + 3));
            if (!header.isSound()) return;
        }
        nPos += nLength;
        if (nCode != kJpegScan) continue;
        if (!bFrame) {
            header.m_sProblem = "JPEG frame or scan missing";
            return;
        }
        if (++nScans > kMaxJpegScans) {
            header.m_sProblem = Zep::String::format("JPEG of more than %d scans", kMaxJpegScans);
            return;
        }
        nPos = skipScanData(p, n, nPos);
    }
    header.m_sProblem = "JPEG cut short";
}

// Whether the run-length packets from nPos on hold nPixels pixels of nBytes
// bytes: a packet is a count byte, then one pixel repeated (top bit set) or
// that many pixels; the pixels run on from row to row.
bool packetsCover(const uint8_t* p, size_t n, size_t nPos, int64_t nPixels, int64_t nBytes) {
    while (nPixels > 0) {
        if (nPos >= n) return false;
        const uint8_t nHead = p[nPos++];
        const int64_t nCount = (nHead & 0x7F) + 1;
        const int64_t nData = (nHead & 0x80) ? nBytes : nCount * nBytes;
        if (static_cast<int64_t>(n - nPos) < nData) return false;
        nPos += static_cast<size_t>(nData);
        nPixels -= nCount;
    }
    return true;
}

void readTga(PictureHeader& header, const uint8_t* p, size_t n) {
    if (n < kTgaHeaderSize) {
        header.m_sProblem = "TGA header cut short";
        return;
    }
    const int nMapType = p[1], nType = p[2], nDepth = p[16];
    const bool bRle = nType >= 9;  // 9 to 11: run-length coded 1 to 3
    if (nMapType > 1)
        header.m_sProblem = Zep::String::format("TGA colour map type %d unknown", nMapType);
    else if (nType != 1 && nType != 2 && nType != 3 && nType != 9 && nType != 10 && nType != 11)
        header.m_sProblem = Zep::String::format("TGA image type %d unknown", nType);
    else if (nDepth != 8 && nDepth != 15 && nDepth != 16 && nDepth != 24 && nDepth != 32)
        header.m_sProblem = Zep::String::format("TGA depth of %d bits unknown", nDepth);
    else
        setSize(header, le16(p + 12), le16(p + 14));
    if (!header.isSound()) return;

    const int64_t nMapBytes = nMapType ? int64_t(le16(p + 5)) * ((p[7] + 7) / 8) : 0;
    const int64_t nStart = static_cast<int64_t>(kTgaHeaderSize) + p[0] + nMapBytes;
    const int64_t nPixels = int64_t(header.m_nWidth) * header.m_nHeight, nBytes = (nDepth + 7) / 8;
    const bool bWhole = static_cast<int64_t>(n) >= nStart &&
                        (bRle ? packetsCover(p, n, static_cast<size_t>(nStart), nPixels, nBytes)
                              : static_cast<int64_t>(n) - nStart >= nPixels * nBytes);
    if (!bWhole) header.m_sProblem = "TGA cut short";
}

}  // namespace

PictureHeader readPictureHeader(const char* szName, const uint8_t* pBytes, size_t nSize) {
    PictureHeader header;
    const char* szSafe = szName ? szName : "";
    const size_t n = pBytes ? nSize : 0;
    const bool bPngName = endsWithNoCase(szSafe, ".png");
    const bool bJpegName = endsWithNoCase(szSafe, ".jpg") || endsWithNoCase(szSafe, ".jpeg");
    if (endsWithNoCase(szSafe, ".tga")) {
        header.m_format = PictureFormat::Tga;
        readTga(header, pBytes, n);
    } else if (bJpegName || (!bPngName && isJpeg(pBytes, n))) {
        header.m_format = PictureFormat::Jpeg;
        if (isJpeg(pBytes, n))
            readJpeg(header, pBytes, n);
        else
            header.m_sProblem = "no JPEG signature";
    } else if (bPngName || isPng(pBytes, n)) {
        readPng(header, pBytes, n);
    } else {
        header.m_sProblem = "no PNG or JPEG signature";
    }
    return header;
}
