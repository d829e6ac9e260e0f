#include <gtest/gtest.h>

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
using testutil::messageOf;
using testutil::putFile;
using testutil::textBytes;
using Zep::MemStream;
using Zep::Resource;
using Zep::ResourceFile;
using Zep::ResourceFileCompiler;
using Zep::SmartPtr;

namespace {

// Little builder for hand-made archives and indexes.
struct Builder {
    Bytes v;
    bool bBigEndian = false;

    Builder& raw(const Bytes& b) {
        v.insert(v.end(), b.begin(), b.end());
        return *this;
    }
    Builder& u8(uint8_t b) { return raw({b}); }
    Builder& u32(uint32_t n) {
        for (int i = 0; i < 4; ++i) v.push_back(static_cast<uint8_t>(n >> (bBigEndian ? 24 - 8 * i : 8 * i)));
        return *this;
    }
    // The archive header with the given index offset.
    Builder& header(uint32_t nIndex, uint32_t nWord = 0x01465247) {
        return raw(textBytes("GRF")).u8(0x05).u32(nWord).u32(nIndex);
    }
    // The start of an index listing n elements.
    Builder& index(uint8_t n) { return raw({0x05, 0x00, 0x14, n}); }
    // One index element: tag 00, id, record word, name, offset, size, packed.
    Builder& entry(uint32_t id, const char* name, int32_t offset, int32_t size, uint32_t word = 0x01454952) {
        u8(0x00).u32(id).u32(word).u8(0x12).u8(static_cast<uint8_t>(std::strlen(name))).raw(textBytes(name));
        return u32(static_cast<uint32_t>(offset)).u32(static_cast<uint32_t>(size)).u8(1);
    }
};

Bytes deflateBytes(const Bytes& plain) {
    MemStream out;
    Zep::ZStream(&out, 9).write(static_cast<int>(plain.size()), plain.data());
    return bytesOf(out);
}

Bytes inflateAt(const Bytes& bytes, int offset) {
    MemStream in(bytes.data(), static_cast<int>(bytes.size()));
    in.setPosition(offset);
    Zep::ZStream zip(&in, -1);
    Bytes out(1000);
    out.resize(static_cast<size_t>(zip.read(1000, out.data())));
    return out;
}

uint32_t le32(const Bytes& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

// An archive of one deflated entry "a" and the given index, deflated.
Bytes withIndex(const Builder& index) {
    const Bytes entry = deflateBytes(textBytes("a"));
    return Builder().header(12 + static_cast<uint32_t>(entry.size())).raw(entry).raw(deflateBytes(index.v)).v;
}

SmartPtr<ResourceFileCompiler> startArchive(const SmartPtr<Zep::Stream>& out) {
    SmartPtr<ResourceFileCompiler> compiler(new ResourceFileCompiler(out));
    compiler->writeHeader();
    return compiler;
}

int addBytes(ResourceFileCompiler& compiler, const char* name, const Bytes& bytes) {
    SmartPtr<MemStream> source(new MemStream(bytes.data(), static_cast<int>(bytes.size())));
    return compiler.add(source.get(), name);
}

// An archive made by the compiler in memory.
Bytes compileArchive(const std::vector<std::pair<const char*, Bytes>>& entries) {
    SmartPtr<MemStream> out(new MemStream());
    SmartPtr<ResourceFileCompiler> compiler = startArchive(out);
    for (const auto& [name, bytes] : entries) addBytes(*compiler, name, bytes);
    compiler->finish();
    return bytesOf(*out);
}

Bytes bytesOf(const Resource& res) {
    const auto* p = static_cast<const uint8_t*>(res.getData());
    return Bytes(p, p + res.getSize());
}

std::string loadText(ResourceFile& archive, const char* name) { return archive.load(name)->asString().c_str(); }

class ArchiveTest : public ::testing::Test {
protected:
    std::string write(const Bytes& bytes, const char* name = "test.dat") {
        putFile(m_tmp.path(name), bytes);
        return m_tmp.path(name);
    }
    testutil::TempFolder m_tmp;
};

}  // namespace

TEST(ResourceFileCompiler, HeaderAndIndexBytes) {
    SmartPtr<MemStream> out(new MemStream());
    SmartPtr<ResourceFileCompiler> compiler = startArchive(out);
    EXPECT_EQ(bytesOf(*out), (Bytes{0x47, 0x52, 0x46, 0x05, 0x47, 0x52, 0x46, 0x01, 0, 0, 0, 0}));
    const int nPacked = addBytes(*compiler, "a", textBytes("hello"));
    const int nLengthBeforeFinish = out->length();
    EXPECT_EQ(nPacked, nLengthBeforeFinish - 12);
    compiler->finish();
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

// Over a file: a large entry, an empty one, a stored one (level 0), a source
// that delivers less than it announced, and a bad level refused.
TEST_F(ArchiveTest, RoundTripOverAFile) {
    Bytes big(200000);
    uint32_t seed = 12345;
    for (auto& b : big) b = static_cast<uint8_t>(((seed = seed * 1103515245u + 12345u) >> 16) % 7);
    const std::string path = m_tmp.path("file.dat");
    {
        SmartPtr<ResourceFileCompiler> compiler = startArchive(new Zep::File(path.c_str(), Zep::File::kModeWrite));
        addBytes(*compiler, "big.bin", big);
        addBytes(*compiler, "empty.txt", Bytes());
        compiler->setLevel(0);
        EXPECT_GT(addBytes(*compiler, "Data/Stored.txt", Bytes(63, 'a')), 63);
        compiler->setLevel(10);
        EXPECT_EQ(messageOf<Zep::AssertFailException>([&] { addBytes(*compiler, "bad", Bytes(1)); }),
                  "Assertion failed : nLevel <= 9");
        compiler->setLevel(-1);
        // Says it holds 100 bytes, delivers 10: the index records the 10.
        SmartPtr<testutil::ScriptStream> shortSource(new testutil::ScriptStream(Bytes(10, 's'), Zep::Stream::kRead));
        shortSource->m_nLength = 100;
        compiler->add(shortSource.get(), "T.txt");
        EXPECT_EQ(compiler->getEntryCount(), 4);
        compiler->finish();
        EXPECT_EQ(compiler->getEntryCount(), 0);
    }
    ResourceFile archive(path.c_str());
    EXPECT_EQ(archive.getEntryCount(), 4);
    SmartPtr<Resource> res = archive.load("big.bin");
    EXPECT_EQ(res->getRefCount(), 1);
    EXPECT_EQ(bytesOf(*res), big);
    EXPECT_NE(archive.load("big.bin").get(), res.get());  // a new resource on every load
    EXPECT_EQ(archive.load("empty.txt")->getSize(), 0);
    EXPECT_EQ(loadText(archive, "data/stored.txt"), std::string(63, 'a'));
    EXPECT_EQ(archive.getResourceSize("t.txt"), 10);
    EXPECT_EQ(loadText(archive, "t.txt"), "ssssssssss");
    for (const Zep::ResourceFileEntry* pEntry : archive.getEntries()) {
        if (pEntry->getName() != "big.bin") continue;
        EXPECT_EQ(pEntry->getOffset(), 12);
        EXPECT_EQ(pEntry->getSize(), 200000);
        EXPECT_TRUE(pEntry->isPacked());
    }
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
    EXPECT_EQ(messageOf<Zep::FatalErrorException>([&] { archive.load("No/Such.png"); }),
              "Hash key not found : \"no/such.png\"");
    EXPECT_THROW(archive.getResourceSize("b"), Zep::FatalErrorException);
    EXPECT_EQ(ResourceFile(write(compileArchive({}), "empty.dat").c_str()).getEntries().getCount(), 0);
}

TEST_F(ArchiveTest, HandBuiltArchivesOpenInEitherByteOrder) {
    for (bool bBigEndian : {true, false}) {
        Builder archive, index;
        archive.bBigEndian = index.bBigEndian = bBigEndian;
        const Bytes one = deflateBytes(textBytes("big endian")), two = deflateBytes(textBytes("xy"));
        index.index(2).entry(0, "One.txt", 12, 10).entry(1, "two", 12 + static_cast<int32_t>(one.size()), 2);
        archive.header(12 + static_cast<uint32_t>(one.size() + two.size())).raw(one).raw(two);
        archive.raw(deflateBytes(index.v));
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

// Opening fails with the header's own messages, or with the index-corrupt one
// naming what the index reader threw and the step it had reached.
TEST_F(ArchiveTest, OpenErrors) {
    const Bytes badTag = withIndex(Builder().index(1).entry(0, "a", 12, 1, 0x01464952));
    const std::string idx = std::to_string(le32(badTag, 8));
    Bytes cutIndex = compileArchive({{"a", textBytes("a")}}), badSum = cutIndex;
    cutIndex.pop_back();
    badSum.back() ^= 0x10;
    SmartPtr<MemStream> unfinished(new MemStream());
    addBytes(*startArchive(unfinished), "one", textBytes("1"));  // released without finish: offset 0
    const std::string indexCorrupt = "ResourceFile::ResourceFile : index is corrupt [";
    const std::string entryError = indexCorrupt + "FatalErrorException : ResourceFileEntry::persistFrom : ";
    const std::string damaged =
        indexCorrupt + "FatalErrorException : ResourceFile::readIndex : the index is damaged or cut short at ";
    const std::string endOfOne = "nDbgStep = 3 nIdxOff = " + std::to_string(le32(badSum, 8));
    const struct {
        Bytes bytes;
        std::string prefix, suffix;
    } cases[] = {
        {textBytes("GRX\x05GRF\x01\x0C\0\0\0"), "ResourceFile::ResourceFile : bad header", ""},
        {textBytes("GR"), "ResourceFile::ResourceFile : bad header", ""},
        {Bytes(), "ResourceFile::ResourceFile : bad header", ""},
        // Tag 0 in the little-endian reading, 1 in the big-endian one.
        {Builder().header(12, 0x01000000).v,
         "ResourceFile::ResourceFile : bad stream format : 00465247, got 00000001", ""},
        {Builder().header(12, 0x02465247).v, "ResourceFile::ResourceFile : unknown format version 2", ""},
        // Cut inside the record word: the missing bytes read as zeros, and the
        // big-endian retry finds 47 52 00 00.
        {textBytes("GRF\x05GR"), "ResourceFile::ResourceFile : bad stream format : 00465247, got 00520000", ""},
        {badTag, entryError + "bad stream format : 00454952, got 00464952 at ", "] nDbgStep = 3 nIdxOff = " + idx},
        {bytesOf(*unfinished), indexCorrupt, "] nDbgStep = 0 nIdxOff = 0"},
        {Builder().header(12).raw(deflateBytes({0x05, 0x00, 0x13, 0x00})).v,
         indexCorrupt + "BadStreamFormatException : List::persistFrom : bad stream format", "nDbgStep = 3 nIdxOff = 12"},
        // A null element (tag 02) can't be indexed.
        {withIndex(Builder().index(2).entry(0, "a", 12, 1).u8(0x02)), indexCorrupt, "nDbgStep = 3 nIdxOff = " + idx},
        // Entries read before the failure are freed (the leak checker watches).
        {withIndex(Builder().index(3).entry(0, "a", 12, 1).entry(1, "b", 12, 1).entry(2, "c", 12, 1, 0x02454952)),
         entryError + "unknown format version 2", ""},
        // The index's zlib stream must end with an intact checksum, and no later.
        {cutIndex, damaged, endOfOne},
        {badSum, damaged, endOfOne},
        {withIndex(Builder().index(0).u8(0)), damaged, "nDbgStep = 3 nIdxOff = " + idx},
    };
    for (const auto& c : cases) {
        const std::string path = write(c.bytes);
        const std::string message = messageOf<Zep::FatalErrorException>([&] { ResourceFile archive(path.c_str()); });
        EXPECT_EQ(message.substr(0, c.prefix.size()), c.prefix) << message;
        EXPECT_EQ(message.substr(message.size() - std::min(message.size(), c.suffix.size())), c.suffix) << message;
    }
    const std::string path = m_tmp.path("none.dat");
    EXPECT_EQ(messageOf<Zep::FileAccessException>([&] { ResourceFile archive(path.c_str()); }),
              "File::File : '" + path + "' does not exist");
}

// An entry met twice through a back-reference is indexed and freed once.
TEST_F(ArchiveTest, BackReferenceInTheIndex) {
    ResourceFile twice(write(withIndex(Builder().index(2).entry(0, "a", 12, 1).u8(0x01).u32(0))).c_str());
    EXPECT_EQ(twice.getEntryCount(), 1);
    EXPECT_EQ(loadText(twice, "a"), "a");
}

TEST_F(ArchiveTest, DamagedEntriesFailTheLoadOnly) {
    const Bytes good = deflateBytes(textBytes("good"));
    Bytes cut = deflateBytes(textBytes("this entry is cut short")), badSum = good;
    cut.resize(cut.size() / 2);
    badSum.back() ^= 1;
    const int32_t nCut = 12 + static_cast<int32_t>(good.size()), nBadSum = nCut + static_cast<int32_t>(cut.size());
    Builder index;
    index.index(7).entry(0, "good", 12, 4).entry(1, "cut", nCut, 23).entry(2, "negative", 12, -1);
    index.entry(3, "huge", 12, 0x7FFFFFF0).entry(4, "far", 0x40000000, 4).entry(5, "badsum", nBadSum, 4);
    index.entry(6, "short", 12, 3);  // the stream goes on past the recorded size
    Builder archive;
    archive.header(static_cast<uint32_t>(nBadSum + static_cast<int32_t>(badSum.size())));
    archive.raw(good).raw(cut).raw(badSum).raw(deflateBytes(index.v));

    // Opening reads only the index, so the damage shows when loading.
    ResourceFile resources(write(archive.v).c_str());
    EXPECT_EQ(resources.getEntryCount(), 7);
    const std::pair<const char*, const char*> cases[] = {
        {"cut", "Assertion failed : nRead == nSize"},
        {"badsum", "Assertion failed : nRead == nSize"},
        {"short", "Assertion failed : nRead == nSize"},
        {"negative", "Assertion failed : nSize >= 0"},
        {"huge", "Assertion failed : pData"},
        {"far", "Assertion failed : nOffset >= kHeaderSize && nOffset < m_nFileLength"},
    };
    for (auto [name, message] : cases)
        EXPECT_EQ(messageOf<Zep::AssertFailException>([&] { resources.load(name); }), message) << name;
    EXPECT_EQ(loadText(resources, "good"), "good");  // still usable afterwards
}

// Every cut of an archive fails to open (the index comes last and must end
// with its checksum). With any one bit flipped, an archive either fails to
// open or serves each entry with exactly its original bytes or not at all;
// a flip in entry data leaves the index intact, so it always opens.
TEST_F(ArchiveTest, CutOrDamagedArchivesThrowOrServeTheOriginalBytes) {
    const std::vector<std::pair<const char*, Bytes>> entries = {
        {"One.txt", textBytes("first entry, first entry")}, {"dir/two.bin", Bytes(300, 7)}, {"z", Bytes()}};
    const Bytes good = compileArchive(entries);
    // The number of entries served, or -1 when the archive does not open.
    auto served = [&](const Bytes& bytes) {
        const std::string path = write(bytes, "damaged.dat");
        std::unique_ptr<ResourceFile> archive;
        try {
            archive = std::make_unique<ResourceFile>(path.c_str());
        } catch (const Zep::FatalErrorException&) {
            return -1;
        }
        int nServed = 0;
        for (const auto& [name, original] : entries) {
            try {
                EXPECT_EQ(bytesOf(*archive->load(name)), original) << name;
                ++nServed;
            } catch (const Zep::Exception&) {
            }
        }
        return nServed;
    };
    EXPECT_EQ(served(good), 3);
    for (size_t n = 0; n < good.size(); ++n) EXPECT_EQ(served(Bytes(good.begin(), good.begin() + n)), -1) << n;
    const size_t nIndexAt = le32(good, 8);
    for (size_t at = 0; at < good.size(); ++at) {
        for (int bit = 0; bit < 8; ++bit) {
            Bytes bytes = good;
            bytes[at] ^= static_cast<uint8_t>(1 << bit);
            const int nServed = served(bytes);
            if (at >= 12 && at < nIndexAt) {
                EXPECT_GE(nServed, 2) << "byte " << at << " bit " << bit;
            }
        }
    }
}

// ------------------------------------------------ resources and providers

using Zep::FilesystemResourceProvider;
using Zep::MemoryResourceProvider;

// The leak checker of the test run sees whether each block is freed.
TEST(Resource, BlocksStreamsAndShortReads) {
    SmartPtr<Resource> own(new Resource(16, nullptr, true));
    std::memset(own->getData(), 'x', 16);
    EXPECT_STREQ(own->asString().c_str(), "xxxxxxxxxxxxxxxx");
    // Allocated by the resource: freed even when it was told it doesn't own it.
    SmartPtr<Resource> unowned(new Resource(64, nullptr, false));
    EXPECT_FALSE(unowned->ownsData());
    void* block = Resource::allocateData(3);
    std::memcpy(block, "abc", 3);
    EXPECT_STREQ(SmartPtr<Resource>(new Resource(3, block, true))->asString().c_str(), "abc");
    char buffer[5] = {'h', 'e', 'l', 'l', 'o'};  // the caller's buffer is left alone
    SmartPtr<Resource> view(new Resource(5, buffer, false));
    EXPECT_EQ(messageOf<Zep::AssertFailException>([] { Resource res(-1, nullptr, true); }),
              "Assertion failed : nSize >= 0");

    SmartPtr<MemStream> stream = view->openStream();  // a view over the bytes, read-only
    EXPECT_TRUE(stream->supports(1));
    EXPECT_FALSE(stream->supports(2));
    EXPECT_EQ(stream->getBuffer(), static_cast<const void*>(buffer));
    char out[8] = {};
    EXPECT_EQ(stream->read(8, out), 5);
    EXPECT_EQ(SmartPtr<Resource>(new Resource(0, nullptr, true))->openStream()->length(), 0);

    testutil::ScriptStream script(textBytes("aaaaeeeeii"));
    script.m_nPiece = 4;
    script.m_nLength = 100;
    EXPECT_STREQ(Resource::readFrom(&script)->asString().c_str(), "aaaaeeeeii");
}

TEST(FilesystemResourceProvider, RootAndBaseNames) {
    const std::pair<const char*, const char*> roots[] = {
        {"data", "data/"}, {"data/", "data/"}, {"data\\", "data\\"}, {"", ""}, {nullptr, ""}};
    for (auto [given, root] : roots) EXPECT_STREQ(FilesystemResourceProvider(given).getRoot().c_str(), root);
    const std::pair<const char*, const char*> bases[] = {
        {"dir\\sub/pic.png", "pic.png"}, {"dir/sub\\pic.png", "pic.png"}, {"dir/", ""}, {nullptr, ""}};
    for (auto [given, base] : bases) EXPECT_STREQ(FilesystemResourceProvider::baseName(given).c_str(), base);
}

TEST(FilesystemResourceProvider, ServesBareNamesMatchingCase) {
    testutil::TempFolder tmp;
    putFile(tmp.path("pic.png"), std::string("\x89PNG\0\x01", 6));
    putFile(tmp.path("Font.PNG"), "F");
    putFile(tmp.path("empty.txt"), "");
    FilesystemResourceProvider provider(tmp.root().c_str());
    EXPECT_TRUE(provider.exists("a\\pic.png"));
    EXPECT_FALSE(provider.exists("other.png"));
    EXPECT_STREQ(provider.getPath("a/b/pic.png").c_str(), (tmp.root() + "/pic.png").c_str());
    EXPECT_EQ(provider.listNames().getCount(), 0);
    SmartPtr<Resource> res = provider.load("sub/pic.png");
    EXPECT_EQ(bytesOf(*res), textBytes(std::string("\x89PNG\0\x01", 6)));
    EXPECT_NE(provider.load("pic.png").get(), res.get());  // a new object on every load
    EXPECT_EQ(provider.load("FONT.png")->getSize(), 1);
    EXPECT_NE(provider.load("empty.txt")->getData(), nullptr);
    EXPECT_EQ(messageOf<Zep::FileAccessException>([&] { provider.load("missing.txt"); }),
              "File::File : '" + tmp.root() + "/missing.txt' does not exist");

    // Empty is the current folder; nothing from the file-system root comes through.
    const std::filesystem::path old = std::filesystem::current_path();
    std::filesystem::current_path(tmp.root());
    FilesystemResourceProvider here("");
    EXPECT_STREQ(here.getPath("x/empty.txt").c_str(), "empty.txt");
    EXPECT_STREQ(here.load("font.png")->asString().c_str(), "F");
    EXPECT_FALSE(here.exists("etc"));
    std::filesystem::current_path(old);
}

TEST(MemoryResourceProvider, LowerCasedNamesAndTheSameObject) {
    SmartPtr<Resource> font(new Resource(3, nullptr, true)), second(new Resource(2, nullptr, true));
    {
        MemoryResourceProvider provider;
        provider.add("Font.PNG", font);
        EXPECT_EQ(font->getRefCount(), 2);
        EXPECT_TRUE(provider.exists("FONT.png"));
        EXPECT_FALSE(provider.exists("font"));
        EXPECT_EQ(provider.load("FONT.png").get(), font.get());
        EXPECT_STREQ(provider.listNames().join(",").c_str(), "font.png");
        EXPECT_STREQ(provider.getPath("Font.PNG").c_str(), "Font.PNG");
        provider.add("FONT.png", second);  // replacing releases the old resource
        EXPECT_EQ(font->getRefCount(), 1);
        EXPECT_EQ(provider.load("Font.png")->getSize(), 2);
        EXPECT_EQ(messageOf<Zep::FatalErrorException>([&] { provider.load("No.Such"); }),
                  "Hash key not found : \"no.such\"");
        EXPECT_EQ(messageOf<Zep::AssertFailException>([&] { provider.add("x", SmartPtr<Resource>()); }),
                  "Assertion failed : pResource.notNULL()");
    }
    EXPECT_EQ(second->getRefCount(), 1);  // the provider drops its references when deleted
}
