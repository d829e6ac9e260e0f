// Helpers shared by the test files: scratch folders, byte buffers, a scripted
// stream and catching an exception's message. Brings in GoogleTest and the
// standard headers every test file uses.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <zep2/error.h>
#include <zep2/memstream.h>
#include <zep2/zstream.h>

namespace testutil {

using Bytes = std::vector<uint8_t>;

// A scratch folder, removed with everything in it.
class TempFolder {
public:
    TempFolder() {
        std::string sPattern = ::testing::TempDir() + "zeptestXXXXXX";
        EXPECT_NE(::mkdtemp(sPattern.data()), nullptr);
        m_sRoot = sPattern;
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(m_sRoot, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    std::string path(const std::string& sName) const { return m_sRoot + "/" + sName; }
    const std::string& root() const { return m_sRoot; }

private:
    std::string m_sRoot;
};

// Writes the bytes, making missing parent folders.
inline void putFile(const std::string& sPath, const std::string& sBytes) {
    std::filesystem::create_directories(std::filesystem::path(sPath).parent_path());
    std::ofstream f(sPath, std::ios::binary | std::ios::trunc);
    f << sBytes;
}

inline void putFile(const std::string& sPath, const Bytes& bytes) {
    putFile(sPath, std::string(bytes.begin(), bytes.end()));
}

inline std::string getFile(const std::string& sPath) {
    std::ifstream f(sPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

inline Bytes bytesOf(Zep::MemStream& stream) {
    const auto* p = static_cast<const uint8_t*>(stream.getBuffer());
    return p ? Bytes(p, p + stream.length()) : Bytes();
}

// The bytes an object streamer (of type OS) writes through the call, its header included.
template <class OS, class F>
Bytes streamed(F&& write) {
    Zep::MemStream out;
    {
        OS os(&out, false);
        write(os);
    }
    return bytesOf(out);
}

// The bytes deflated into one zlib stream, written in pieces of at most nPiece.
inline Bytes deflateBytes(const Bytes& plain, int nLevel = -1, size_t nPiece = 1 << 30) {
    Zep::MemStream out;
    Zep::ZStream z(&out, nLevel);
    for (size_t i = 0; i < plain.size(); i += nPiece) {
        const int n = static_cast<int>(std::min(nPiece, plain.size() - i));
        EXPECT_EQ(z.write(n, plain.data() + i), n);
    }
    z.finish();
    return bytesOf(out);
}

inline Bytes textBytes(const std::string& sText) { return Bytes(sText.begin(), sText.end()); }

// A read-only stream over a copy of the bytes.
inline Zep::SmartPtr<Zep::MemStream> reader(const Bytes& bytes, uint8_t nOrder = Zep::Stream::kLittleEndian) {
    Zep::MemStream source;
    if (!bytes.empty()) source.write(static_cast<int>(bytes.size()), bytes.data());
    Zep::SmartPtr<Zep::MemStream> view = source.clone();
    view->setByteOrder(nOrder);
    return view;
}

// The message of the exception of type Ex that the call throws.
template <class Ex = Zep::Exception, class F>
std::string messageOf(F&& call) {
    try {
        call();
    } catch (const Ex& e) {
        return e.getMessage();
    }
    return "(nothing thrown)";
}

// "Class [source]: message" of the exception the call throws.
template <class F>
std::string describe(F&& call) {
    try {
        call();
    } catch (const Zep::Exception& e) {
        return std::string(e.className()) + " [" + e.getFile() + "]: " + e.getMessage();
    }
    return "(nothing thrown)";
}

// Serves a script of bytes in pieces of at most m_nPiece, may claim another
// length than it holds, takes at most m_nRoom bytes of writes and records
// what is asked of it. Supports the modes it is given.
class ScriptStream : public Zep::Stream {
public:
    explicit ScriptStream(Bytes data = {}, int nModes = kRead | kWrite) : m_data(std::move(data)), m_nModes(nModes) {}
    ~ScriptStream() override {
        if (m_pDeleted) *m_pDeleted = true;
    }
    int read(int nSize, void* pBuffer) override {
        ++m_nReads;
        m_nLargestRead = std::max(m_nLargestRead, nSize);
        const int n = std::min({nSize, m_nPiece, static_cast<int>(m_data.size()) - m_nPos});
        if (n <= 0) return 0;
        std::memcpy(pBuffer, m_data.data() + m_nPos, static_cast<size_t>(n));
        m_nPos += n;
        return n;
    }
    int write(int nSize, const void* pBuffer) override {
        ++m_nWrites;
        const int n = std::min(nSize, m_nRoom);
        m_nRoom -= n;
        const auto* p = static_cast<const uint8_t*>(pBuffer);
        m_written.insert(m_written.end(), p, p + n);
        return n;
    }
    // One that takes only the first nRoom bytes written to it.
    static Zep::SmartPtr<ScriptStream> taking(int nRoom) {
        Zep::SmartPtr<ScriptStream> p(new ScriptStream());
        p->m_nRoom = nRoom;
        return p;
    }
    int getPosition() override { return m_nPos; }
    int setPosition(int nPosition) override {
        m_nPos = nPosition;
        return 0;
    }
    int length() override { return m_nLength >= 0 ? m_nLength : static_cast<int>(m_data.size()); }
    bool supports(int nMode) override { return (m_nModes & nMode) == nMode; }

    Bytes m_data;
    Bytes m_written;
    int m_nModes;
    int m_nPiece = 1 << 30;
    int m_nLength = -1;
    int m_nRoom = 1 << 30;
    int m_nPos = 0;
    int m_nReads = 0;
    int m_nWrites = 0;
    int m_nLargestRead = 0;
    bool* m_pDeleted = nullptr;
};

}  // namespace testutil
