// The Vorbis setup header (codebooks, floors, residues, mappings, modes),
// read bit by bit as the decoder reads it, with the decoder's own refusals
// and a few more. A codebook whose lengths do not fill its code tree exactly
// fails the decoder's first set-up, and the retry at the next read goes on
// with the books after it left as zeros, dividing by their zero dimension;
// books of no dimension or no used entry are refused for the same reason,
// and floors of type 0, which nothing writes any more, are not read.
//
// Every loop runs at most once per bit left in the packet, so the walk is
// linear in the header's size.
#include <algorithm>
#include <vector>

#include "media/soundcheck_bytes.h"

namespace {

constexpr uint32_t kSetupPacketType = 5;
constexpr uint32_t kCodebookSync = 0x564342;
constexpr uint32_t kMaxCodewordLength = 32;
// The decoder refuses books whose entries times dimensions might overflow.
constexpr int kMaxBookSizeBits = 24;
constexpr uint32_t kMaxLookupType = 2;
constexpr uint32_t kFloorType1 = 1;
constexpr uint32_t kMaxFloorPosts = 63;
constexpr uint32_t kMaxResidueType = 2;

class BitReader {
public:
    BitReader(const uint8_t* p, size_t n) : m_pBytes(p), m_nBits(n * 8) {}

    // The next nCount (0 to 32) bits, least significant first; past the end
    // the reader is spent and every read gives 0.
    uint32_t read(int nCount) {
        if (m_nAt + nCount > m_nBits) {
            m_bSpent = true;
            return 0;
        }
        uint32_t nValue = 0;
        for (int i = 0; i < nCount; ++i, ++m_nAt) nValue |= uint32_t((m_pBytes[m_nAt / 8] >> (m_nAt % 8)) & 1) << i;
        return nValue;
    }
    // Moves past nCount bits (refusing more than are left).
    void skip(uint64_t nCount) {
        if (nCount > left()) m_bSpent = true;
        m_nAt = m_bSpent ? m_nBits : m_nAt + nCount;
    }
    uint64_t left() const { return m_nBits - m_nAt; }
    bool spent() const { return m_bSpent; }

private:
    const uint8_t* m_pBytes;
    uint64_t m_nBits;
    uint64_t m_nAt = 0;
    bool m_bSpent = false;
};

int ilog(uint32_t n) {
    int nBits = 0;
    for (; n; n >>= 1) ++nBits;
    return nBits;
}

struct Book {
    uint32_t nDim = 0;
    uint32_t nEntries = 0;
    uint32_t nUsed = 0;
    uint32_t nLookup = 0;
    uint64_t nCodeSpace = 0;
};

struct Setup {
    uint32_t nChannels = 0;
    std::vector<Book> books;
    uint32_t nFloors = 0;
    uint32_t nResidues = 0;
    uint32_t nMappings = 0;
};

Zep::String bad(const char* szWhat) { return Zep::String::format("Ogg: Vorbis setup %s", szWhat); }

// The largest r with r^dim <= entries.
uint64_t lookup1Values(uint32_t nEntries, uint32_t nDim) {
    if (nDim == 1) return nEntries;
    uint64_t r = 0;
    for (;; ++r) {
        uint64_t nPower = 1;
        for (uint32_t i = 0; i < nDim && nPower <= nEntries; ++i) nPower *= r + 1;
        if (nPower > nEntries) return r;
    }
}

// Each used entry of codeword length n takes 2^(32 - n) of the code space.
constexpr uint64_t kFullCodeSpace = uint64_t(1) << 32;

uint64_t codeSpace(uint32_t nLength) { return uint64_t(1) << (kMaxCodewordLength - nLength); }

Zep::String readOrderedLengths(BitReader& bits, Book& book) {
    uint32_t nLength = bits.read(5) + 1;
    for (uint32_t nEntry = 0; nEntry < book.nEntries && !bits.spent(); ++nLength) {
        if (nLength > kMaxCodewordLength) return bad("codeword longer than 32 bits");
        const uint32_t nRun = bits.read(ilog(book.nEntries - nEntry));
        if (nRun > book.nEntries - nEntry || (nRun > 0 && ((nRun - 1) >> (nLength - 1)) > 1))
            return bad("codeword run past the book");
        nEntry += nRun;
        book.nUsed += nRun;
        book.nCodeSpace += nRun * codeSpace(nLength);
    }
    return Zep::String();
}

Zep::String readLengths(BitReader& bits, Book& book) {
    if (bits.read(1)) return readOrderedLengths(bits, book);
    const bool bSparse = bits.read(1);
    if (book.nEntries > bits.left() / (bSparse ? 1 : 5)) return bad("book past the header");
    for (uint32_t i = 0; i < book.nEntries; ++i)
        if (!bSparse || bits.read(1)) {
            book.nCodeSpace += codeSpace(bits.read(5) + 1);
            ++book.nUsed;
        }
    return Zep::String();
}

Zep::String readBook(BitReader& bits, Book& book) {
    if (bits.read(24) != kCodebookSync) return bad("codebook out of step");
    book.nDim = bits.read(16);
    book.nEntries = bits.read(24);
    if (book.nDim == 0 || book.nEntries == 0 || ilog(book.nDim) + ilog(book.nEntries) > kMaxBookSizeBits)
        return bad("codebook of impossible size");
    if (Zep::String sWhy = readLengths(bits, book); !sWhy.isEmpty()) return sWhy;
    // The decoder builds its tree once and, when the lengths over- or
    // under-fill it, goes on with the books it had not built yet as zeros.
    if (book.nUsed == 0) return bad("codebook without entries");
    if (book.nUsed > 1 && book.nCodeSpace != kFullCodeSpace) return bad("codebook lengths that do not fill its tree");
    book.nLookup = bits.read(4);
    if (book.nLookup > kMaxLookupType) return bad("codebook lookup type");
    if (book.nLookup == 0) return Zep::String();
    bits.skip(64);  // minimum and delta
    const uint32_t nValueBits = bits.read(4) + 1;
    bits.read(1);
    const uint64_t nValues =
        book.nLookup == 1 ? lookup1Values(book.nEntries, book.nDim) : uint64_t(book.nEntries) * book.nDim;
    bits.skip(nValues * nValueBits);
    return Zep::String();
}

Zep::String readFloor(BitReader& bits, const Setup& setup) {
    if (bits.read(16) != kFloorType1) return bad("floor type (only 1 is read)");
    const uint32_t nPartitions = bits.read(5);
    uint32_t nClassOf[32] = {};
    int nMaxClass = -1;
    for (uint32_t i = 0; i < nPartitions; ++i) nMaxClass = std::max<int>(nMaxClass, nClassOf[i] = bits.read(4));
    uint32_t nClassDim[16] = {};
    for (int c = 0; c <= nMaxClass; ++c) {
        nClassDim[c] = bits.read(3) + 1;
        const uint32_t nSubclasses = bits.read(2);
        if (nSubclasses && bits.read(8) >= setup.books.size()) return bad("floor book");
        for (uint32_t k = 0; k < (1u << nSubclasses); ++k)
            if (const uint32_t nBook = bits.read(8); nBook > setup.books.size()) return bad("floor book");
    }
    bits.read(2);
    const int nRangeBits = static_cast<int>(bits.read(4));
    std::vector<uint32_t> posts{0, 1u << nRangeBits};
    for (uint32_t i = 0; i < nPartitions; ++i) {
        if (posts.size() - 2 + nClassDim[nClassOf[i]] > kMaxFloorPosts) return bad("floor of too many posts");
        for (uint32_t k = 0; k < nClassDim[nClassOf[i]]; ++k) posts.push_back(bits.read(nRangeBits));
    }
    std::sort(posts.begin(), posts.end());
    if (std::adjacent_find(posts.begin(), posts.end()) != posts.end()) return bad("floor with a repeated post");
    return Zep::String();
}

Zep::String readResidue(BitReader& bits, const Setup& setup) {
    if (bits.read(16) > kMaxResidueType) return bad("residue type");
    bits.skip(72);  // begin, end, grouping
    const uint32_t nPartitions = bits.read(6) + 1;
    const uint32_t nGroupBook = bits.read(8);
    uint32_t nBooks = 0;
    for (uint32_t i = 0; i < nPartitions; ++i) {
        uint32_t nCascade = bits.read(3);
        if (bits.read(1)) nCascade |= bits.read(5) << 3;
        for (; nCascade; nCascade >>= 1) nBooks += nCascade & 1;
    }
    for (uint32_t i = 0; i < nBooks; ++i) {
        const uint32_t nBook = bits.read(8);
        if (nBook >= setup.books.size() || setup.books[nBook].nLookup == 0) return bad("residue book");
    }
    if (nGroupBook >= setup.books.size()) return bad("residue book");
    // The partition classes the group book spells must fit its entries.
    const Book& group = setup.books[nGroupBook];
    uint64_t nClasses = 1;
    for (uint32_t i = 0; i < group.nDim && nPartitions > 1; ++i)
        if ((nClasses *= nPartitions) > group.nEntries) return bad("residue partitions past their book");
    return Zep::String();
}

Zep::String readMapping(BitReader& bits, const Setup& setup) {
    if (bits.read(16) != 0) return bad("mapping type");
    const uint32_t nSubmaps = bits.read(1) ? bits.read(4) + 1 : 1;
    if (bits.read(1)) {
        const uint32_t nSteps = bits.read(8) + 1;
        const int nChannelBits = ilog(setup.nChannels - 1);
        for (uint32_t i = 0; i < nSteps; ++i) {
            const uint32_t nMagnitude = bits.read(nChannelBits), nAngle = bits.read(nChannelBits);
            if (nMagnitude == nAngle || nMagnitude >= setup.nChannels || nAngle >= setup.nChannels)
                return bad("channel coupling");
        }
    }
    if (bits.read(2) != 0) return bad("mapping reserved bits");
    if (nSubmaps > 1)
        for (uint32_t i = 0; i < setup.nChannels; ++i)
            if (bits.read(4) >= nSubmaps) return bad("channel submap");
    for (uint32_t i = 0; i < nSubmaps; ++i) {
        bits.read(8);
        if (bits.read(8) >= setup.nFloors || bits.read(8) >= setup.nResidues) return bad("submap floor or residue");
    }
    return Zep::String();
}

Zep::String readModes(BitReader& bits, const Setup& setup) {
    const uint32_t nModes = bits.read(6) + 1;
    for (uint32_t i = 0; i < nModes; ++i) {
        bits.read(1);
        if (bits.read(16) != 0 || bits.read(16) != 0 || bits.read(8) >= setup.nMappings) return bad("mode");
    }
    if (bits.read(1) != 1) return bad("framing bit");
    return Zep::String();
}

// Reads nCount items with the reader until one is refused or the bits run out.
// A refusal read from bits past the end counts as the header cut short.
template <class ReadOne>
Zep::String readList(BitReader& bits, uint32_t nCount, ReadOne readOne) {
    for (uint32_t i = 0; i < nCount && !bits.spent(); ++i)
        if (Zep::String sWhy = readOne(); !sWhy.isEmpty()) return bits.spent() ? Zep::String() : sWhy;
    return Zep::String();
}

Zep::String readSetup(BitReader& bits, Setup& setup) {
    const uint32_t nBooks = bits.read(8) + 1;
    Zep::String sWhy = readList(bits, nBooks, [&] { return readBook(bits, setup.books.emplace_back()); });
    if (!sWhy.isEmpty()) return sWhy;
    const uint32_t nTimes = bits.read(6) + 1;
    for (uint32_t i = 0; i < nTimes; ++i)
        if (bits.read(16) != 0 && !bits.spent()) return bad("time transform");
    setup.nFloors = bits.read(6) + 1;
    sWhy = readList(bits, setup.nFloors, [&] { return readFloor(bits, setup); });
    if (!sWhy.isEmpty()) return sWhy;
    setup.nResidues = bits.read(6) + 1;
    sWhy = readList(bits, setup.nResidues, [&] { return readResidue(bits, setup); });
    if (!sWhy.isEmpty()) return sWhy;
    setup.nMappings = bits.read(6) + 1;
    sWhy = readList(bits, setup.nMappings, [&] { return readMapping(bits, setup); });
    if (!sWhy.isEmpty()) return sWhy;
    sWhy = readModes(bits, setup);
    return bits.spent() ? Zep::String() : sWhy;
}

}  // namespace

Zep::String checkVorbisSetup(const uint8_t* pPacket, size_t nSize, uint32_t nChannels) {
    const SoundBytes bytes(pPacket, nSize);
    if (!bytes.has(0, 7) || bytes.u8(0) != kSetupPacketType || !bytes.matches(1, "vorbis"))
        return Zep::String("Ogg: no Vorbis setup header");
    BitReader bits(pPacket + 7, nSize - 7);
    Setup setup;
    setup.nChannels = nChannels;
    if (Zep::String sWhy = readSetup(bits, setup); !sWhy.isEmpty()) return sWhy;
    if (bits.spent()) return Zep::String("Ogg: Vorbis setup header cut short");
    return Zep::String();
}
