#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "zep2/error.h"
#include "zep2/file.h"
#include "zep2/memstream.h"
#include "zep2/resource.h"
#include "zep2/resourcefile.h"
#include "zep2/zstream.h"

namespace fs = std::filesystem;
using Zep::MemStream;
using Zep::Resource;
using Zep::ResourceFile;
using Zep::ResourceFileCompiler;
using Zep::SmartPtr;
using Zep::String;

namespace {

using Bytes = std::vector<uint8_t>;

// Little builder for hand-made archives and indexes.
struct Builder {
    Bytes v;
    bool bBigEndian = false;

    Builder& u8(uint8_t b) {
        v.push_back(b);
        return *this;
    }
    Builder& raw(const Bytes& b) {
        v.insert(v.end(), b.begin(), b.end());
        return *this;
    }
    Builder& text(const char* s) {
        v.insert(v.end(), s, s + std::strlen(s));
        return *this;
    }
    Builder& u32(uint32_t n) {
        for (int i = 0; i < 4; ++i) v.push_back(static_cast<uint8_t>(n >> (bBigEndian ? 24 - 8 * i : 8 * i)));
        return *this;
    }
    // One index element: tag 00, id, record word, name, offset, size, packed.
    Builder& entry(uint32_t id, const char* name, int32_t offset, int32_t size, uint32_t word = 0x01454952) {
        u8(0x00).u32(id).u32(word).u8(0x12).u8(static_cast<uint8_t>(std::strlen(name))).text(name);
        return u32(static_cast<uint32_t>(offset)).u32(static_cast<uint32_t>(size)).u8(1);
    }
};

Bytes toBytes(MemStream& stream) {
    const auto* p = static_cast<const uint8_t*>(stream.getBuffer());
    return Bytes(p, p + stream.length());
}

Bytes deflateBytes(const Bytes& plain) {
    SmartPtr<MemStream> out(new MemStream());
    {
        SmartPtr<Zep::ZStream> zip(new Zep::ZStream(out.get(), 9));
        if (!plain.empty()) zip->write(static_cast<int>(plain.size()), plain.data());
    }
    return toBytes(*out);
}

Bytes inflateAt(const Bytes& bytes, int offset) {
    SmartPtr<MemStream> in(new MemStream(bytes.data(), static_cast<int>(bytes.size())));
    in->setPosition(offset);
    SmartPtr<Zep::ZStream> zip(new Zep::ZStream(in.get(), -1));
    Bytes out;
    uint8_t buffer[1000];
    int n = 0;
    while ((n = zip->read(sizeof buffer, buffer)) > 0) out.insert(out.end(), buffer, buffer + n);
    return out;
}

uint32_t le32(const Bytes& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

Bytes bytesOf(const char* s) { return Bytes(s, s + std::strlen(s)); }

// A whole archive built by hand: header, deflated entries, deflated index.
Bytes handArchive(const std::vector<Bytes>& entries, const std::vector<const char*>& names, bool bigEndian = false,
                  int count = -1) {
    Builder archive;
    archive.bBigEndian = bigEndian;
    std::vector<int32_t> offsets;
    Bytes body;
    for (const Bytes& e : entries) {
        offsets.push_back(12 + static_cast<int32_t>(body.size()));
        Bytes z = deflateBytes(e);
        body.insert(body.end(), z.begin(), z.end());
    }
    Builder index;
    index.bBigEndian = bigEndian;
    index.u8(0x05).u8(0x00).u8(0x14).u8(static_cast<uint8_t>(count < 0 ? entries.size() : count));
    for (size_t i = 0; i < entries.size(); ++i)
        index.entry(static_cast<uint32_t>(i), names[i], offsets[i], static_cast<int32_t>(entries[i].size()));
    archive.text("GRF").u8(0x05).u32(0x01465247).u32(12 + static_cast<uint32_t>(body.size())).raw(body);
    archive.raw(deflateBytes(index.v));
    return archive.v;
}

// An archive made by the compiler in memory.
Bytes compileArchive(const std::vector<std::pair<const char*, Bytes>>& entries) {
    SmartPtr<MemStream> out(new MemStream());
    ResourceFileCompiler compiler{SmartPtr<Zep::Stream>(out)};
    compiler.writeHeader();
    for (const auto& [name, bytes] : entries) {
        SmartPtr<MemStream> source(new MemStream(bytes.data(), static_cast<int>(bytes.size())));
        compiler.add(source.get(), name);
    }
    compiler.finish();
    return toBytes(*out);
}

class ArchiveTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = ::testing::TempDir() + "zep_archive_XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_sDir = pattern;
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(m_sDir, ec);
    }
    std::string write(const Bytes& bytes, const char* name = "test.dat") {
        std::string path = m_sDir + "/" + name;
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path;
    }
    // The message of the FatalErrorException that opening throws.
    std::string openError(const Bytes& bytes) {
        std::string path = write(bytes);
        try {
            ResourceFile archive(path.c_str());
        } catch (const Zep::FatalErrorException& e) {
            return e.getMessage();
        }
        return "(opened)";
    }

    std::string m_sDir;
};

std::string loadText(ResourceFile& archive, const char* name) {
    SmartPtr<Resource> res = archive.load(name);
    return std::string(static_cast<const char*>(res->getData()), static_cast<size_t>(res->getSize()));
}

const Bytes kGoldenIndex = {0x05, 0x00, 0x14, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x52, 0x49, 0x45, 0x01,
                            0x12, 0x01, 0x61, 0x0C, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00, 0x01};

}  // namespace

TEST(ResourceFileCompiler, HeaderAndIndexBytes) {
    SmartPtr<MemStream> out(new MemStream());
    ResourceFileCompiler compiler{SmartPtr<Zep::Stream>(out)};
    compiler.writeHeader();
    EXPECT_EQ(toBytes(*out), (Bytes{0x47, 0x52, 0x46, 0x05, 0x47, 0x52, 0x46, 0x01, 0, 0, 0, 0}));

    Bytes hello = bytesOf("hello");
    SmartPtr<MemStream> source(new MemStream(hello.data(), 5));
    const int nPacked = compiler.add(source.get(), "a");
    const int nLengthBeforeFinish = out->length();
    EXPECT_EQ(nPacked, nLengthBeforeFinish - 12);
    compiler.finish();
    EXPECT_EQ(out->getPosition(), 12);  // left after the header, not at the end

    Bytes bytes = toBytes(*out);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 8), (Bytes{0x47, 0x52, 0x46, 0x05, 0x47, 0x52, 0x46, 0x01}));
    const uint32_t nIndexOffset = le32(bytes, 8);
    EXPECT_EQ(nIndexOffset, static_cast<uint32_t>(nLengthBeforeFinish));
    EXPECT_EQ(inflateAt(bytes, static_cast<int>(nIndexOffset)), kGoldenIndex);
    EXPECT_EQ(inflateAt(bytes, 12), hello);
}

TEST(ResourceFileCompiler, NamesAreStoredAsGivenWithFreshIds) {
    Bytes bytes = compileArchive({{"Sub/Pic.PNG", bytesOf("x")}, {"b", bytesOf("")}});
    Bytes index = inflateAt(bytes, static_cast<int>(le32(bytes, 8)));
    // 05 00 14 02, then 00 + id 0 + record ... "Sub/Pic.PNG".
    ASSERT_GT(index.size(), 30u);
    EXPECT_EQ(index[3], 0x02);
    EXPECT_EQ(le32(index, 5), 0u);
    EXPECT_EQ(std::string(index.begin() + 15, index.begin() + 26), "Sub/Pic.PNG");
    // The second element gets id 1.
    const size_t second = 26 + 9;
    EXPECT_EQ(index[second], 0x00);
    EXPECT_EQ(le32(index, second + 1), 1u);
}

// A source that says it holds 100 bytes and delivers 10 ends the entry
// there, and the index records the 10 bytes actually stored.
TEST_F(ArchiveTest, ShortSourceEndsTheEntry) {
    class ShortStream : public Zep::Stream {
    public:
        int read(int nSize, void* pBuffer) override {
            const int n = nSize < 10 - m_nPos ? nSize : 10 - m_nPos;
            std::memset(pBuffer, 's', static_cast<size_t>(n));
            m_nPos += n;
            return n;
        }
        int write(int, const void*) override { return 0; }
        int getPosition() override { return m_nPos; }
        int setPosition(int n) override { return m_nPos = n, 0; }
        int length() override { return 100; }
        bool supports(int nMode) override { return nMode == 1; }

    private:
        int m_nPos = 0;
    };
    SmartPtr<MemStream> out(new MemStream());
    {
        ResourceFileCompiler compiler{SmartPtr<Zep::Stream>(out)};
        compiler.writeHeader();
        SmartPtr<ShortStream> source(new ShortStream());
        compiler.add(source.get(), "short");
        compiler.finish();
    }
    std::string path = write(toBytes(*out));
    ResourceFile archive(path.c_str());
    EXPECT_EQ(archive.getResourceSize("short"), 10);
    EXPECT_EQ(loadText(archive, "short"), "ssssssssss");
}

TEST_F(ArchiveTest, RoundTripLargeAndEmptyEntries) {
    Bytes big(200000);
    uint32_t seed = 12345;
    for (auto& b : big) {
        seed = seed * 1103515245u + 12345u;
        b = static_cast<uint8_t>((seed >> 16) % 7);  // compressible but not trivial
    }
    std::string path = write(compileArchive({{"big.bin", big}, {"empty.txt", Bytes()}, {"t.txt", bytesOf("text")}}));
    ResourceFile archive(path.c_str());
    EXPECT_EQ(archive.getEntryCount(), 3);

    SmartPtr<Resource> res = archive.load("big.bin");
    ASSERT_EQ(res->getSize(), 200000);
    EXPECT_EQ(res->getRefCount(), 1);
    EXPECT_EQ(std::memcmp(res->getData(), big.data(), big.size()), 0);
    EXPECT_NE(archive.load("big.bin").get(), res.get());  // a new resource on every load

    SmartPtr<Resource> empty = archive.load("empty.txt");
    EXPECT_EQ(empty->getSize(), 0);
    EXPECT_EQ(archive.getResourceSize("empty.txt"), 0);
    EXPECT_EQ(loadText(archive, "T.TXT"), "text");

    // Entries may be loaded in any order, again and again.
    EXPECT_EQ(loadText(archive, "t.txt"), "text");
    EXPECT_EQ(archive.load("big.bin")->getSize(), 200000);

    auto entries = archive.getEntries();
    EXPECT_EQ(entries.getCount(), 3);
    int nFound = 0;
    for (const Zep::ResourceFileEntry* pEntry : entries) {
        if (pEntry->getName() == "big.bin") {
            EXPECT_EQ(pEntry->getOffset(), 12);
            EXPECT_EQ(pEntry->getSize(), 200000);
            EXPECT_TRUE(pEntry->isPacked());
            ++nFound;
        }
    }
    EXPECT_EQ(nFound, 1);
}

TEST_F(ArchiveTest, NamesFoldCaseButKeepSeparators) {
    std::string path = write(compileArchive({{"Sub/Pic.PNG", bytesOf("pic")}}));
    ResourceFile archive(path.c_str());
    EXPECT_TRUE(archive.exists("sub/pic.png"));
    EXPECT_TRUE(archive.exists("SUB/PIC.png"));
    EXPECT_FALSE(archive.exists("sub\\pic.png"));
    EXPECT_FALSE(archive.exists("pic.png"));
    EXPECT_STREQ(archive.getPath("Sub/Pic.PNG").c_str(), "Sub/Pic.PNG");
    Zep::List<String> names = archive.listNames();
    ASSERT_EQ(names.getCount(), 1);
    EXPECT_STREQ(names[0].c_str(), "sub/pic.png");
    EXPECT_EQ(loadText(archive, "SUB/pic.PNG"), "pic");
}

TEST_F(ArchiveTest, LaterOfTwoCaseVariantsWins) {
    std::string path = write(compileArchive({{"Readme.TXT", bytesOf("first")}, {"readme.txt", bytesOf("second")}}));
    ResourceFile archive(path.c_str());
    EXPECT_EQ(archive.listNames().getCount(), 1);
    EXPECT_EQ(loadText(archive, "README.txt"), "second");
}

TEST_F(ArchiveTest, EmptyArchive) {
    Bytes bytes = compileArchive({});
    EXPECT_EQ(le32(bytes, 8), 12u);
    EXPECT_EQ(inflateAt(bytes, 12), (Bytes{0x05, 0x00, 0x14, 0x00}));
    std::string path = write(bytes);
    ResourceFile archive(path.c_str());
    EXPECT_EQ(archive.listNames().getCount(), 0);
    EXPECT_FALSE(archive.exists(""));
    EXPECT_FALSE(archive.exists("a"));
    EXPECT_EQ(archive.getEntries().getCount(), 0);
}

TEST_F(ArchiveTest, MissingNameThrowsTheTableError) {
    std::string path = write(compileArchive({{"a", bytesOf("1")}}));
    ResourceFile archive(path.c_str());
    try {
        archive.load("No/Such.png");
        FAIL() << "no exception";
    } catch (const Zep::FatalErrorException& e) {
        EXPECT_STREQ(e.getMessage(), "Hash key not found : \"no/such.png\"");
    }
    EXPECT_THROW(archive.getResourceSize("b"), Zep::FatalErrorException);
    EXPECT_EQ(loadText(archive, "a"), "1");
}

TEST_F(ArchiveTest, HandBuiltBigEndianArchiveOpens) {
    Bytes bytes = handArchive({bytesOf("big endian"), bytesOf("xy")}, {"One.txt", "two"}, true);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 8), (Bytes{0x47, 0x52, 0x46, 0x05, 0x01, 0x46, 0x52, 0x47}));
    std::string path = write(bytes);
    ResourceFile archive(path.c_str());
    EXPECT_EQ(archive.getEntryCount(), 2);
    EXPECT_EQ(loadText(archive, "one.txt"), "big endian");
    EXPECT_EQ(archive.getResourceSize("two"), 2);
}

TEST_F(ArchiveTest, HandBuiltLittleEndianArchiveOpens) {
    std::string path = write(handArchive({bytesOf("le")}, {"x"}));
    ResourceFile archive(path.c_str());
    EXPECT_EQ(loadText(archive, "X"), "le");
}

TEST_F(ArchiveTest, HeaderErrors) {
    EXPECT_EQ(openError(bytesOf("GRX\x05GRF\x01\x0C\0\0\0")), "ResourceFile::ResourceFile : bad header");
    EXPECT_EQ(openError(bytesOf("GR")), "ResourceFile::ResourceFile : bad header");
    EXPECT_EQ(openError(Bytes()), "ResourceFile::ResourceFile : bad header");

    // Tag 0 in the little-endian reading, 1 in the big-endian one.
    Builder wrongTag;
    wrongTag.text("GRF").u8(0x05).raw({0x00, 0x00, 0x00, 0x01}).u32(12);
    EXPECT_EQ(openError(wrongTag.v), "ResourceFile::ResourceFile : bad stream format : 00465247, got 00000001");

    Builder version2;
    version2.text("GRF").u8(0x05).u32(0x02465247).u32(12);
    EXPECT_EQ(openError(version2.v), "ResourceFile::ResourceFile : unknown format version 2");

    // Cut inside the record word: the missing bytes read as zeros, and the
    // big-endian retry finds 47 52 00 00.
    EXPECT_EQ(openError(bytesOf("GRF\x05GR")), "ResourceFile::ResourceFile : bad stream format : 00465247, got 00520000");
}

TEST_F(ArchiveTest, MissingFileIsTheFileLayersError) {
    const std::string path = m_sDir + "/none.dat";
    try {
        ResourceFile archive(path.c_str());
        FAIL() << "no exception";
    } catch (const Zep::FileAccessException& e) {
        EXPECT_EQ(std::string(e.getMessage()), "File::File : '" + path + "' does not exist");
    }
}

TEST_F(ArchiveTest, CorruptFirstRecordIsIndexCorruptAtStep3) {
    Builder index;
    index.u8(0x05).u8(0x00).u8(0x14).u8(0x01).entry(0, "a", 12, 1, 0x01464952);
    Builder archive;
    Bytes entry = deflateBytes(bytesOf("a"));
    archive.text("GRF").u8(0x05).u32(0x01465247).u32(12 + static_cast<uint32_t>(entry.size())).raw(entry);
    archive.raw(deflateBytes(index.v));
    const std::string message = openError(archive.v);
    EXPECT_EQ(message.rfind("ResourceFile::ResourceFile : index is corrupt [FatalErrorException : "
                            "ResourceFileEntry::persistFrom : bad stream format : 00454952, got 00464952 at ",
                            0),
              0u)
        << message;
    EXPECT_NE(message.find("resourcefile("), std::string::npos) << message;
    const std::string tail = String::format("] nDbgStep = 3 nIdxOff = %d", 12 + static_cast<int>(entry.size())).c_str();
    EXPECT_EQ(message.substr(message.size() - tail.size()), tail) << message;
}

TEST_F(ArchiveTest, IndexErrorsAtOtherSteps) {
    // Never finished: the offset is still 0.
    SmartPtr<MemStream> out(new MemStream());
    {
        ResourceFileCompiler compiler{SmartPtr<Zep::Stream>(out)};
        compiler.writeHeader();
        Bytes one = bytesOf("1");
        SmartPtr<MemStream> source(new MemStream(one.data(), 1));
        compiler.add(source.get(), "one");
    }
    std::string message = openError(toBytes(*out));
    EXPECT_NE(message.find("index is corrupt ["), std::string::npos) << message;
    EXPECT_NE(message.find("] nDbgStep = 0 nIdxOff = 0"), std::string::npos) << message;

    // The index is not a list.
    Builder archive;
    archive.text("GRF").u8(0x05).u32(0x01465247).u32(12).raw(deflateBytes({0x05, 0x00, 0x13, 0x00}));
    message = openError(archive.v);
    EXPECT_NE(message.find("[BadStreamFormatException : List::persistFrom : bad stream format"), std::string::npos)
        << message;
    EXPECT_NE(message.find("nDbgStep = 3 nIdxOff = 12"), std::string::npos) << message;
}

// A null element (tag 02) can't be indexed: refused as corrupt.
TEST_F(ArchiveTest, NullIndexElementIsCorrupt) {
    Builder index;
    index.u8(0x05).u8(0x00).u8(0x14).u8(0x02).entry(0, "a", 12, 1).u8(0x02);
    Builder archive;
    Bytes entry = deflateBytes(bytesOf("a"));
    archive.text("GRF").u8(0x05).u32(0x01465247).u32(12 + static_cast<uint32_t>(entry.size())).raw(entry);
    archive.raw(deflateBytes(index.v));
    const std::string message = openError(archive.v);
    EXPECT_NE(message.find("index is corrupt ["), std::string::npos) << message;
    EXPECT_NE(message.find("nDbgStep = 3"), std::string::npos) << message;
}

// Entries read before the failure are freed (the leak checker watches), and
// an entry met twice through a back-reference is freed once.
TEST_F(ArchiveTest, FailureAfterSomeEntriesAndBackReferences) {
    Builder bad;
    bad.u8(0x05).u8(0x00).u8(0x14).u8(0x03).entry(0, "a", 12, 1).entry(1, "b", 12, 1).entry(2, "c", 12, 1, 0x02454952);
    Builder archive;
    Bytes entry = deflateBytes(bytesOf("a"));
    const uint32_t nIndex = 12 + static_cast<uint32_t>(entry.size());
    archive.text("GRF").u8(0x05).u32(0x01465247).u32(nIndex).raw(entry).raw(deflateBytes(bad.v));
    const std::string message = openError(archive.v);
    EXPECT_NE(message.find("ResourceFileEntry::persistFrom : unknown format version 2"), std::string::npos) << message;

    Builder twice;
    twice.u8(0x05).u8(0x00).u8(0x14).u8(0x02).entry(0, "a", 12, 1).u8(0x01);
    twice.u32(0);
    Builder archive2;
    archive2.text("GRF").u8(0x05).u32(0x01465247).u32(nIndex).raw(entry).raw(deflateBytes(twice.v));
    std::string path = write(archive2.v, "twice.dat");
    ResourceFile archive3(path.c_str());
    EXPECT_EQ(archive3.getEntryCount(), 1);
    EXPECT_EQ(loadText(archive3, "a"), "a");
}

TEST_F(ArchiveTest, DamagedEntriesFailTheLoadOnly) {
    Bytes good = deflateBytes(bytesOf("good"));
    Bytes cut = deflateBytes(bytesOf("this entry is cut short"));
    cut.resize(cut.size() / 2);
    Builder body;
    body.raw(good).raw(cut);
    const int32_t nGood = 12;
    const int32_t nCut = 12 + static_cast<int32_t>(good.size());
    const int32_t nIndex = nCut + static_cast<int32_t>(cut.size());
    Builder index;
    index.u8(0x05).u8(0x00).u8(0x14).u8(0x05);
    index.entry(0, "good", nGood, 4);
    index.entry(1, "cut", nCut, 23);
    index.entry(2, "negative", nGood, -1);
    index.entry(3, "huge", nGood, 0x7FFFFFF0);
    index.entry(4, "far", 0x40000000, 4);
    Builder archive;
    archive.text("GRF").u8(0x05).u32(0x01465247).u32(static_cast<uint32_t>(nIndex)).raw(body.v);
    archive.raw(deflateBytes(index.v));
    std::string path = write(archive.v);

    // Opening reads only the index, so the damage shows when loading.
    ResourceFile resources(path.c_str());
    EXPECT_EQ(resources.getEntryCount(), 5);
    auto expectAssert = [&](const char* name, const char* message) {
        try {
            resources.load(name);
            ADD_FAILURE() << name << ": no exception";
        } catch (const Zep::AssertFailException& e) {
            EXPECT_STREQ(e.getMessage(), message) << name;
        }
    };
    expectAssert("cut", "Assertion failed : nRead == nSize");
    expectAssert("negative", "Assertion failed : nSize >= 0");
    expectAssert("huge", "Assertion failed : pData");
    expectAssert("far", "Assertion failed : nOffset >= kHeaderSize && nOffset < m_nFileLength");
    // Still usable afterwards.
    EXPECT_EQ(loadText(resources, "good"), "good");
}

TEST_F(ArchiveTest, LevelsAndBadLevel) {
    Bytes text = bytesOf("aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa");
    SmartPtr<MemStream> out(new MemStream());
    ResourceFileCompiler compiler{SmartPtr<Zep::Stream>(out)};
    compiler.writeHeader();
    compiler.setLevel(0);
    SmartPtr<MemStream> source(new MemStream(text.data(), static_cast<int>(text.size())));
    const int nStored = compiler.add(source.get(), "stored");
    EXPECT_GT(nStored, static_cast<int>(text.size()));
    compiler.setLevel(10);
    SmartPtr<MemStream> source2(new MemStream(text.data(), static_cast<int>(text.size())));
    try {
        compiler.add(source2.get(), "bad");
        FAIL() << "no exception";
    } catch (const Zep::AssertFailException& e) {
        EXPECT_STREQ(e.getMessage(), "Assertion failed : nLevel <= 9");
    }
    EXPECT_EQ(compiler.getEntryCount(), 1);
    compiler.setLevel(-1);
    compiler.finish();
    EXPECT_EQ(compiler.getEntryCount(), 0);
    std::string path = write(toBytes(*out));
    ResourceFile archive(path.c_str());
    EXPECT_EQ(loadText(archive, "stored"), std::string(text.begin(), text.end()));
}

// The archive written through a file, as the tool does it.
TEST_F(ArchiveTest, CompilerOverAFile) {
    const std::string path = m_sDir + "/file.dat";
    {
        SmartPtr<Zep::File> file(new Zep::File(path.c_str(), Zep::File::kModeWrite));
        ResourceFileCompiler compiler{SmartPtr<Zep::Stream>(file)};
        compiler.writeHeader();
        Bytes data = bytesOf("file data");
        SmartPtr<MemStream> source(new MemStream(data.data(), static_cast<int>(data.size())));
        compiler.add(source.get(), "Data/File.txt");
        compiler.finish();
    }
    ResourceFile archive(path.c_str());
    EXPECT_EQ(loadText(archive, "data/file.txt"), "file data");
}

// Every prefix of an archive, and the archive with any one byte changed,
// either opens and serves its entries or fails with the library's own
// exceptions; nothing else may happen.
TEST_F(ArchiveTest, CutOrDamagedArchivesOnlyEverThrow) {
    const Bytes good =
        compileArchive({{"One.txt", bytesOf("first entry")}, {"dir/two.bin", Bytes(300, 7)}, {"z", Bytes()}});
    auto tryAll = [&](const Bytes& bytes) {
        const std::string path = write(bytes, "damaged.dat");
        int nServed = 0;
        try {
            ResourceFile archive(path.c_str());
            for (const String& sName : archive.listNames()) {
                try {
                    nServed += archive.load(sName.c_str())->getSize() >= 0;
                } catch (const Zep::Exception&) {
                }
            }
        } catch (const Zep::Exception&) {
        }
        return nServed;
    };
    EXPECT_EQ(tryAll(good), 3);
    for (size_t n = 0; n < good.size(); ++n) tryAll(Bytes(good.begin(), good.begin() + static_cast<long>(n)));
    for (size_t at = 0; at < good.size(); ++at) {
        for (uint8_t flip : {0x01, 0x80, 0xFF}) {
            Bytes bytes = good;
            bytes[at] ^= flip;
            tryAll(bytes);
        }
    }
}
