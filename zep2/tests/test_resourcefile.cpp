#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "test_util.h"
#include "zep2/file.h"
#include "zep2/resource.h"
#include "zep2/resourcefile.h"
#include "zep2/zstream.h"

using testutil::Bytes;
using testutil::bytesOf;
using testutil::textBytes;
using Zep::MemStream;
using Zep::ResourceFile;
using Zep::ResourceFileCompiler;
using Zep::SmartPtr;
using Zep::String;

namespace {

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
    Builder& u32(uint32_t n) {
        for (int i = 0; i < 4; ++i) v.push_back(static_cast<uint8_t>(n >> (bBigEndian ? 24 - 8 * i : 8 * i)));
        return *this;
    }
    // The archive header with the given index offset.
    Builder& header(uint32_t nIndex, uint32_t nWord = 0x01465247) {
        return raw(textBytes("GRF")).u8(0x05).u32(nWord).u32(nIndex);
    }
    // The start of an index listing n elements.
    Builder& index(uint8_t n) { return u8(0x05).u8(0x00).u8(0x14).u8(n); }
    // One index element: tag 00, id, record word, name, offset, size, packed.
    Builder& entry(uint32_t id, const char* name, int32_t offset, int32_t size, uint32_t word = 0x01454952) {
        u8(0x00).u32(id).u32(word).u8(0x12).u8(static_cast<uint8_t>(std::strlen(name))).raw(textBytes(name));
        return u32(static_cast<uint32_t>(offset)).u32(static_cast<uint32_t>(size)).u8(1);
    }
};

Bytes deflateBytes(const Bytes& plain) {
    MemStream out;
    {
        Zep::ZStream zip(&out, 9);
        if (!plain.empty()) zip.write(static_cast<int>(plain.size()), plain.data());
    }
    return bytesOf(out);
}

Bytes inflateAt(const Bytes& bytes, int offset) {
    MemStream in(bytes.data(), static_cast<int>(bytes.size()));
    in.setPosition(offset);
    Zep::ZStream zip(&in, -1);
    Bytes out;
    uint8_t buffer[1000];
    for (int n = 0; (n = zip.read(sizeof buffer, buffer)) > 0;) out.insert(out.end(), buffer, buffer + n);
    return out;
}

uint32_t le32(const Bytes& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

// An archive of one deflated entry "a" and the given index, deflated.
Bytes withIndex(const Builder& index) {
    const Bytes entry = deflateBytes(textBytes("a"));
    Builder archive;
    archive.header(12 + static_cast<uint32_t>(entry.size())).raw(entry).raw(deflateBytes(index.v));
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
    return bytesOf(*out);
}

class ArchiveTest : public ::testing::Test {
protected:
    std::string write(const Bytes& bytes, const char* name = "test.dat") {
        testutil::putFile(m_tmp.path(name), bytes);
        return m_tmp.path(name);
    }
    // The message of the FatalErrorException that opening throws.
    std::string openError(const Bytes& bytes) {
        const std::string path = write(bytes);
        return testutil::messageOf<Zep::FatalErrorException>([&] { ResourceFile archive(path.c_str()); });
    }

    testutil::TempFolder m_tmp;
};

std::string loadText(ResourceFile& archive, const char* name) { return archive.load(name)->asString().c_str(); }

}  // namespace

TEST(ResourceFileCompiler, HeaderAndIndexBytes) {
    SmartPtr<MemStream> out(new MemStream());
    ResourceFileCompiler compiler{SmartPtr<Zep::Stream>(out)};
    compiler.writeHeader();
    EXPECT_EQ(bytesOf(*out), (Bytes{0x47, 0x52, 0x46, 0x05, 0x47, 0x52, 0x46, 0x01, 0, 0, 0, 0}));

    SmartPtr<MemStream> source(new MemStream("hello", 5));
    const int nPacked = compiler.add(source.get(), "a");
    const int nLengthBeforeFinish = out->length();
    EXPECT_EQ(nPacked, nLengthBeforeFinish - 12);
    compiler.finish();
    EXPECT_EQ(out->getPosition(), 12);  // left after the header, not at the end

    Bytes bytes = bytesOf(*out);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 8), (Bytes{0x47, 0x52, 0x46, 0x05, 0x47, 0x52, 0x46, 0x01}));
    EXPECT_EQ(le32(bytes, 8), static_cast<uint32_t>(nLengthBeforeFinish));
    EXPECT_EQ(inflateAt(bytes, nLengthBeforeFinish),
              (Bytes{0x05, 0x00, 0x14, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x52, 0x49, 0x45, 0x01,
                     0x12, 0x01, 0x61, 0x0C, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00, 0x01}));
    EXPECT_EQ(inflateAt(bytes, 12), textBytes("hello"));

    // Names are stored as given, with fresh ids; an empty archive has an empty index.
    bytes = compileArchive({{"Sub/Pic.PNG", textBytes("x")}, {"b", Bytes()}});
    Bytes index = inflateAt(bytes, static_cast<int>(le32(bytes, 8)));
    ASSERT_GT(index.size(), 40u);
    EXPECT_EQ(index[3], 0x02);
    EXPECT_EQ(le32(index, 5), 0u);
    EXPECT_EQ(std::string(index.begin() + 15, index.begin() + 26), "Sub/Pic.PNG");
    EXPECT_EQ(index[26 + 9], 0x00);
    EXPECT_EQ(le32(index, 26 + 10), 1u);
    bytes = compileArchive({});
    EXPECT_EQ(le32(bytes, 8), 12u);
    EXPECT_EQ(inflateAt(bytes, 12), (Bytes{0x05, 0x00, 0x14, 0x00}));
}

TEST_F(ArchiveTest, RoundTripLargeEmptyAndShortEntries) {
    Bytes big(200000);
    uint32_t seed = 12345;
    for (auto& b : big) {
        seed = seed * 1103515245u + 12345u;
        b = static_cast<uint8_t>((seed >> 16) % 7);  // compressible but not trivial
    }
    SmartPtr<MemStream> out(new MemStream());
    {
        ResourceFileCompiler compiler{SmartPtr<Zep::Stream>(out)};
        compiler.writeHeader();
        SmartPtr<MemStream> source(new MemStream(big.data(), static_cast<int>(big.size())));
        compiler.add(source.get(), "big.bin");
        source = new MemStream(nullptr, 0);
        compiler.add(source.get(), "empty.txt");
        // A source that says it holds 100 bytes and delivers 10 ends the
        // entry there, and the index records the 10 bytes actually stored.
        SmartPtr<testutil::ScriptStream> shortSource(new testutil::ScriptStream(Bytes(10, 's'), Zep::Stream::kRead));
        shortSource->m_nLength = 100;
        compiler.add(shortSource.get(), "T.txt");
        compiler.finish();
    }
    ResourceFile archive(write(bytesOf(*out)).c_str());
    EXPECT_EQ(archive.getEntryCount(), 3);
    SmartPtr<Zep::Resource> res = archive.load("big.bin");
    ASSERT_EQ(res->getSize(), 200000);
    EXPECT_EQ(res->getRefCount(), 1);
    EXPECT_EQ(std::memcmp(res->getData(), big.data(), big.size()), 0);
    EXPECT_NE(archive.load("big.bin").get(), res.get());  // a new resource on every load
    EXPECT_EQ(archive.load("empty.txt")->getSize(), 0);
    EXPECT_EQ(archive.getResourceSize("t.txt"), 10);
    EXPECT_EQ(loadText(archive, "t.txt"), "ssssssssss");
    EXPECT_EQ(archive.load("big.bin")->getSize(), 200000);  // in any order, again and again

    int nFound = 0;
    for (const Zep::ResourceFileEntry* pEntry : archive.getEntries()) {
        if (pEntry->getName() != "big.bin") continue;
        EXPECT_EQ(pEntry->getOffset(), 12);
        EXPECT_EQ(pEntry->getSize(), 200000);
        EXPECT_TRUE(pEntry->isPacked());
        ++nFound;
    }
    EXPECT_EQ(nFound, 1);
}

TEST_F(ArchiveTest, NamesFoldCaseButKeepSeparatorsAndTheLaterVariantWins) {
    ResourceFile archive(write(compileArchive({{"Sub/Pic.PNG", textBytes("pic")}, {"Readme.TXT", textBytes("first")},
                                               {"readme.txt", textBytes("second")}}))
                             .c_str());
    EXPECT_TRUE(archive.exists("SUB/PIC.png"));
    EXPECT_FALSE(archive.exists("sub\\pic.png"));
    EXPECT_FALSE(archive.exists("pic.png"));
    EXPECT_STREQ(archive.getPath("Sub/Pic.PNG").c_str(), "Sub/Pic.PNG");
    EXPECT_EQ(archive.listNames().getCount(), 2);
    EXPECT_GE(archive.listNames().indexOf("sub/pic.png"), 0);
    EXPECT_EQ(loadText(archive, "SUB/pic.PNG"), "pic");
    EXPECT_EQ(loadText(archive, "README.txt"), "second");
    EXPECT_EQ(testutil::messageOf<Zep::FatalErrorException>([&] { archive.load("No/Such.png"); }),
              "Hash key not found : \"no/such.png\"");
    EXPECT_THROW(archive.getResourceSize("b"), Zep::FatalErrorException);

    ResourceFile empty(write(compileArchive({}), "empty.dat").c_str());
    EXPECT_EQ(empty.listNames().getCount(), 0);
    EXPECT_FALSE(empty.exists(""));
    EXPECT_EQ(empty.getEntries().getCount(), 0);
}

TEST_F(ArchiveTest, HandBuiltArchivesOpenInEitherByteOrder) {
    for (bool bBigEndian : {true, false}) {
        Builder archive, index;
        archive.bBigEndian = index.bBigEndian = bBigEndian;
        const Bytes one = deflateBytes(textBytes("big endian")), two = deflateBytes(textBytes("xy"));
        index.index(2).entry(0, "One.txt", 12, 10).entry(1, "two", 12 + static_cast<int32_t>(one.size()), 2);
        archive.header(12 + static_cast<uint32_t>(one.size() + two.size()))
            .raw(one)
            .raw(two)
            .raw(deflateBytes(index.v));
        if (bBigEndian) {
            EXPECT_EQ(Bytes(archive.v.begin(), archive.v.begin() + 8),
                      (Bytes{0x47, 0x52, 0x46, 0x05, 0x01, 0x46, 0x52, 0x47}));
        }
        ResourceFile resources(write(archive.v).c_str());
        EXPECT_EQ(resources.getEntryCount(), 2);
        EXPECT_EQ(loadText(resources, "one.txt"), "big endian");
        EXPECT_EQ(loadText(resources, "TWO"), "xy");
    }
}

TEST_F(ArchiveTest, HeaderErrors) {
    EXPECT_EQ(openError(textBytes("GRX\x05GRF\x01\x0C\0\0\0")), "ResourceFile::ResourceFile : bad header");
    EXPECT_EQ(openError(textBytes("GR")), "ResourceFile::ResourceFile : bad header");
    EXPECT_EQ(openError(Bytes()), "ResourceFile::ResourceFile : bad header");
    // Tag 0 in the little-endian reading, 1 in the big-endian one.
    EXPECT_EQ(openError(Builder().header(12, 0x01000000).v),
              "ResourceFile::ResourceFile : bad stream format : 00465247, got 00000001");
    EXPECT_EQ(openError(Builder().header(12, 0x02465247).v), "ResourceFile::ResourceFile : unknown format version 2");
    // Cut inside the record word: the missing bytes read as zeros, and the
    // big-endian retry finds 47 52 00 00.
    EXPECT_EQ(openError(textBytes("GRF\x05GR")),
              "ResourceFile::ResourceFile : bad stream format : 00465247, got 00520000");

    const std::string path = m_tmp.path("none.dat");
    EXPECT_EQ(testutil::messageOf<Zep::FileAccessException>([&] { ResourceFile archive(path.c_str()); }),
              "File::File : '" + path + "' does not exist");
}

TEST_F(ArchiveTest, CorruptIndexNamesTheStep) {
    const Bytes archive = withIndex(Builder().index(1).entry(0, "a", 12, 1, 0x01464952));
    std::string message = openError(archive);
    EXPECT_EQ(message.rfind("ResourceFile::ResourceFile : index is corrupt [FatalErrorException : "
                            "ResourceFileEntry::persistFrom : bad stream format : 00454952, got 00464952 at ",
                            0),
              0u)
        << message;
    EXPECT_NE(message.find("resourcefile("), std::string::npos) << message;
    const std::string tail = String::format("] nDbgStep = 3 nIdxOff = %d", static_cast<int>(le32(archive, 8))).c_str();
    EXPECT_EQ(message.substr(message.size() - tail.size()), tail) << message;

    // Never finished: the offset is still 0.
    SmartPtr<MemStream> out(new MemStream());
    {
        ResourceFileCompiler compiler{SmartPtr<Zep::Stream>(out)};
        compiler.writeHeader();
        SmartPtr<MemStream> source(new MemStream("1", 1));
        compiler.add(source.get(), "one");
    }
    message = openError(bytesOf(*out));
    EXPECT_NE(message.find("index is corrupt ["), std::string::npos) << message;
    EXPECT_NE(message.find("] nDbgStep = 0 nIdxOff = 0"), std::string::npos) << message;

    // The index is not a list.
    message = openError(Builder().header(12).raw(deflateBytes({0x05, 0x00, 0x13, 0x00})).v);
    EXPECT_NE(message.find("[BadStreamFormatException : List::persistFrom : bad stream format"), std::string::npos)
        << message;
    EXPECT_NE(message.find("nDbgStep = 3 nIdxOff = 12"), std::string::npos) << message;

    // A null element (tag 02) can't be indexed: refused as corrupt.
    message = openError(withIndex(Builder().index(2).entry(0, "a", 12, 1).u8(0x02)));
    EXPECT_NE(message.find("index is corrupt ["), std::string::npos) << message;
    EXPECT_NE(message.find("nDbgStep = 3"), std::string::npos) << message;
}

// Entries read before the failure are freed (the leak checker watches), and
// an entry met twice through a back-reference is freed once.
TEST_F(ArchiveTest, FailureAfterSomeEntriesAndBackReferences) {
    const std::string message = openError(
        withIndex(Builder().index(3).entry(0, "a", 12, 1).entry(1, "b", 12, 1).entry(2, "c", 12, 1, 0x02454952)));
    EXPECT_NE(message.find("ResourceFileEntry::persistFrom : unknown format version 2"), std::string::npos) << message;

    ResourceFile twice(write(withIndex(Builder().index(2).entry(0, "a", 12, 1).u8(0x01).u32(0)), "twice.dat").c_str());
    EXPECT_EQ(twice.getEntryCount(), 1);
    EXPECT_EQ(loadText(twice, "a"), "a");
}

TEST_F(ArchiveTest, DamagedEntriesFailTheLoadOnly) {
    const Bytes good = deflateBytes(textBytes("good"));
    Bytes cut = deflateBytes(textBytes("this entry is cut short"));
    cut.resize(cut.size() / 2);
    const int32_t nCut = 12 + static_cast<int32_t>(good.size());
    Builder index;
    index.index(5).entry(0, "good", 12, 4).entry(1, "cut", nCut, 23).entry(2, "negative", 12, -1);
    index.entry(3, "huge", 12, 0x7FFFFFF0).entry(4, "far", 0x40000000, 4);
    Builder archive;
    archive.header(static_cast<uint32_t>(nCut + static_cast<int32_t>(cut.size()))).raw(good).raw(cut);
    archive.raw(deflateBytes(index.v));

    // Opening reads only the index, so the damage shows when loading.
    ResourceFile resources(write(archive.v).c_str());
    EXPECT_EQ(resources.getEntryCount(), 5);
    const std::pair<const char*, const char*> cases[] = {
        {"cut", "Assertion failed : nRead == nSize"},
        {"negative", "Assertion failed : nSize >= 0"},
        {"huge", "Assertion failed : pData"},
        {"far", "Assertion failed : nOffset >= kHeaderSize && nOffset < m_nFileLength"},
    };
    for (auto [name, message] : cases)
        EXPECT_EQ(testutil::messageOf<Zep::AssertFailException>([&] { resources.load(name); }), message) << name;
    EXPECT_EQ(loadText(resources, "good"), "good");  // still usable afterwards
}

TEST_F(ArchiveTest, LevelsAndBadLevelOverAFile) {
    const std::string path = m_tmp.path("file.dat");
    const std::string text(63, 'a');
    {
        SmartPtr<Zep::File> file(new Zep::File(path.c_str(), Zep::File::kModeWrite));
        ResourceFileCompiler compiler{SmartPtr<Zep::Stream>(file)};
        compiler.writeHeader();
        compiler.setLevel(0);
        SmartPtr<MemStream> source(new MemStream(text.data(), static_cast<int>(text.size())));
        EXPECT_GT(compiler.add(source.get(), "Data/Stored.txt"), static_cast<int>(text.size()));
        compiler.setLevel(10);
        source->setPosition(0);
        EXPECT_EQ(testutil::messageOf<Zep::AssertFailException>([&] { compiler.add(source.get(), "bad"); }),
                  "Assertion failed : nLevel <= 9");
        EXPECT_EQ(compiler.getEntryCount(), 1);
        compiler.setLevel(-1);
        compiler.finish();
        EXPECT_EQ(compiler.getEntryCount(), 0);
    }
    ResourceFile archive(path.c_str());
    EXPECT_EQ(loadText(archive, "data/stored.txt"), text);
}

// Every prefix of an archive, and the archive with any one byte changed,
// either opens and serves its entries or fails with the library's own
// exceptions; nothing else may happen.
TEST_F(ArchiveTest, CutOrDamagedArchivesOnlyEverThrow) {
    const Bytes good =
        compileArchive({{"One.txt", textBytes("first entry")}, {"dir/two.bin", Bytes(300, 7)}, {"z", Bytes()}});
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

using testutil::messageOf;
using testutil::putFile;
using Zep::FilesystemResourceProvider;
using Zep::MemoryResourceProvider;
using Zep::Resource;

namespace {

// Changes the working folder for one scope.
class CurrentFolder {
public:
    explicit CurrentFolder(const std::string& dir) : m_old(std::filesystem::current_path()) {
        std::filesystem::current_path(dir);
    }
    ~CurrentFolder() { std::filesystem::current_path(m_old); }

private:
    std::filesystem::path m_old;
};

}  // namespace

// The leak checker of the test run sees whether each block is freed.
TEST(Resource, BlocksAreFreedByOwnershipOrWhenSelfAllocated) {
    SmartPtr<Resource> own(new Resource(16, nullptr, true));
    EXPECT_EQ(own->getRefCount(), 1);
    std::memset(own->getData(), 'x', 16);
    EXPECT_STREQ(own->asString().c_str(), "xxxxxxxxxxxxxxxx");
    // Allocated by the resource: freed even when it was told it doesn't own it.
    SmartPtr<Resource> unowned(new Resource(64, nullptr, false));
    EXPECT_FALSE(unowned->ownsData());
    ASSERT_NE(unowned->getData(), nullptr);
    void* block = Resource::allocateData(3);
    std::memcpy(block, "abc", 3);
    EXPECT_STREQ(SmartPtr<Resource>(new Resource(3, block, true))->asString().c_str(), "abc");

    char buffer[6] = "hello";  // the caller's buffer is left alone
    EXPECT_STREQ(SmartPtr<Resource>(new Resource(5, buffer, false))->asString().c_str(), "hello");
    EXPECT_STREQ(buffer, "hello");
    EXPECT_EQ(messageOf<Zep::AssertFailException>([] { Resource res(-1, nullptr, true); }),
              "Assertion failed : nSize >= 0");
}

TEST(Resource, OpenStreamIsAViewOverTheBytes) {
    char bytes[4] = {1, 2, 3, 4};
    SmartPtr<Resource> res(new Resource(4, bytes, false));
    SmartPtr<Zep::MemStream> stream = res->openStream();
    EXPECT_TRUE(stream->supports(1));
    EXPECT_FALSE(stream->supports(2));
    EXPECT_EQ(stream->getBuffer(), static_cast<const void*>(bytes));
    char out[8] = {};
    EXPECT_EQ(stream->read(8, out), 4);
    EXPECT_EQ(out[3], 4);
    SmartPtr<Resource> empty(new Resource(0, nullptr, true));
    EXPECT_EQ(empty->openStream()->length(), 0);
    EXPECT_STREQ(empty->asString().c_str(), "");
}

TEST(Resource, ShortReadGivesTheBytesThatArrived) {
    testutil::ScriptStream stream(testutil::textBytes("aaaaeeeeii"));
    stream.m_nPiece = 4;
    stream.m_nLength = 100;
    SmartPtr<Resource> res = Resource::readFrom(&stream);
    EXPECT_STREQ(res->asString().c_str(), "aaaaeeeeii");
}

TEST(FilesystemResourceProvider, RootAndBaseNames) {
    EXPECT_STREQ(FilesystemResourceProvider("data").getRoot().c_str(), "data/");
    EXPECT_STREQ(FilesystemResourceProvider("data/").getRoot().c_str(), "data/");
    EXPECT_STREQ(FilesystemResourceProvider("data\\").getRoot().c_str(), "data\\");
    // Empty is the current folder, never the file-system root.
    EXPECT_STREQ(FilesystemResourceProvider("").getRoot().c_str(), "");
    EXPECT_STREQ(FilesystemResourceProvider(nullptr).getRoot().c_str(), "");

    EXPECT_STREQ(FilesystemResourceProvider::baseName("dir\\sub/pic.png").c_str(), "pic.png");
    EXPECT_STREQ(FilesystemResourceProvider::baseName("dir/sub\\pic.png").c_str(), "pic.png");
    EXPECT_STREQ(FilesystemResourceProvider::baseName("dir/").c_str(), "");
    EXPECT_STREQ(FilesystemResourceProvider::baseName(nullptr).c_str(), "");
}

TEST(FilesystemResourceProvider, ServesBareNamesMatchingCase) {
    testutil::TempFolder tmp;
    putFile(tmp.path("pic.png"), std::string("\x89PNG\0\x01", 6));
    putFile(tmp.path("Font.PNG"), "F");
    putFile(tmp.path("empty.txt"), "");
    FilesystemResourceProvider provider(tmp.root().c_str());
    EXPECT_TRUE(provider.exists("x/y/pic.png"));
    EXPECT_TRUE(provider.exists("a\\pic.png"));
    EXPECT_FALSE(provider.exists("other.png"));
    EXPECT_STREQ(provider.getPath("a/b/pic.png").c_str(), (tmp.root() + "/pic.png").c_str());
    EXPECT_EQ(provider.listNames().getCount(), 0);

    SmartPtr<Resource> res = provider.load("sub/pic.png");
    ASSERT_EQ(res->getSize(), 6);
    EXPECT_EQ(res->getRefCount(), 1);
    EXPECT_EQ(std::memcmp(res->getData(), "\x89PNG\0\x01", 6), 0);
    EXPECT_NE(provider.load("pic.png").get(), res.get());  // a new object on every load

    EXPECT_TRUE(provider.exists("font.png"));
    EXPECT_EQ(provider.load("FONT.png")->getSize(), 1);
    EXPECT_EQ(provider.load("empty.txt")->getSize(), 0);
    EXPECT_NE(provider.load("empty.txt")->getData(), nullptr);
    EXPECT_EQ(messageOf<Zep::FileAccessException>([&] { provider.load("missing.txt"); }),
              "File::File : '" + tmp.root() + "/missing.txt' does not exist");
}

TEST(FilesystemResourceProvider, EmptyFolderIsTheCurrentFolder) {
    testutil::TempFolder tmp;
    putFile(tmp.path("here.txt"), "here");
    CurrentFolder cwd(tmp.root());
    FilesystemResourceProvider provider("");
    EXPECT_TRUE(provider.exists("here.txt"));
    EXPECT_STREQ(provider.getPath("x/here.txt").c_str(), "here.txt");
    EXPECT_STREQ(provider.load("here.txt")->asString().c_str(), "here");
    EXPECT_FALSE(provider.exists("etc"));  // nothing from the file-system root comes through
}

TEST(MemoryResourceProvider, LowerCasedNamesAndTheSameObject) {
    MemoryResourceProvider provider;
    SmartPtr<Resource> font(new Resource(3, nullptr, true));
    provider.add("Font.PNG", font);
    EXPECT_EQ(font->getRefCount(), 2);
    EXPECT_TRUE(provider.exists("font.png"));
    EXPECT_TRUE(provider.exists("FONT.png"));
    EXPECT_FALSE(provider.exists("font"));
    EXPECT_EQ(provider.load("FONT.png").get(), font.get());
    EXPECT_STREQ(provider.listNames().join(",").c_str(), "font.png");
    EXPECT_STREQ(provider.getPath("Font.PNG").c_str(), "Font.PNG");

    // Replacing releases the old resource.
    SmartPtr<Resource> second(new Resource(2, nullptr, true));
    provider.add("FONT.png", second);
    EXPECT_EQ(font->getRefCount(), 1);
    EXPECT_EQ(second->getRefCount(), 2);
    EXPECT_EQ(provider.load("Font.png")->getSize(), 2);
    EXPECT_EQ(provider.listNames().getCount(), 1);

    EXPECT_EQ(messageOf<Zep::FatalErrorException>([&] { provider.load("No.Such"); }),
              "Hash key not found : \"no.such\"");
    EXPECT_EQ(messageOf<Zep::AssertFailException>([&] { provider.add("x", SmartPtr<Resource>()); }),
              "Assertion failed : pResource.notNULL()");
}

TEST(MemoryResourceProvider, ProviderDropsItsReferencesWhenDeleted) {
    SmartPtr<Resource> res(new Resource(1, nullptr, true));
    {
        std::unique_ptr<Zep::ResourceProvider> provider(new MemoryResourceProvider());
        static_cast<MemoryResourceProvider*>(provider.get())->add("a", res);
        EXPECT_EQ(res->getRefCount(), 2);
    }
    EXPECT_EQ(res->getRefCount(), 1);
}
