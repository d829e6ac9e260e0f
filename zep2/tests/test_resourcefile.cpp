#include <zep2/resource.h>
#include <zep2/resourcefile.h>
#include <zep2/zstream.h>

#include "test_util.h"

using namespace testutil;
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

Bytes inflateAt(const Bytes& bytes, int offset) {
    MemStream in(bytes.data() + offset, static_cast<int>(bytes.size()) - offset);
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
    const Bytes entry = deflateBytes(textBytes("a"), 9);
    return Builder().header(12 + static_cast<uint32_t>(entry.size())).raw(entry).raw(deflateBytes(index.v, 9)).v;
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
Bytes compileArchive(const std::vector<std::pair<const char*, std::string>>& entries) {
    SmartPtr<MemStream> out(new MemStream());
    SmartPtr<ResourceFileCompiler> compiler = startArchive(out);
    for (const auto& [name, text] : entries) addBytes(*compiler, name, textBytes(text));
    compiler->finish();
    return bytesOf(*out);
}

std::string loadText(ResourceFile& archive, const char* name) { return archive.load(name)->asString().c_str(); }

class ArchiveTest : public ::testing::Test {
protected:
    std::string write(const Bytes& bytes, const char* name = "test.dat") {
        putFile(m_tmp.path(name), bytes);
        return m_tmp.path(name);
    }
    TempFolder m_tmp;
};
}  // namespace

TEST(ResourceFileCompiler, HeaderAndIndexBytes) {
    SmartPtr<MemStream> out(new MemStream());
    SmartPtr<ResourceFileCompiler> compiler = startArchive(out);
    EXPECT_EQ(bytesOf(*out), (Bytes{0x47, 0x52, 0x46, 0x05, 0x47, 0x52, 0x46, 0x01, 0, 0, 0, 0}));
    const int nPacked = addBytes(*compiler, "a", textBytes("hello"));
    const int nLengthBeforeFinish = out->length();
    compiler->finish();
    Bytes bytes = bytesOf(*out);  // the stream is left after the header, not at the end
    EXPECT_TRUE(nPacked == nLengthBeforeFinish - 12 && out->getPosition() == 12);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 8), (Bytes{0x47, 0x52, 0x46, 0x05, 0x47, 0x52, 0x46, 0x01}));
    EXPECT_EQ(le32(bytes, 8), static_cast<uint32_t>(nLengthBeforeFinish));
    EXPECT_EQ(inflateAt(bytes, nLengthBeforeFinish),
              (Bytes{0x05, 0x00, 0x14, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x52, 0x49, 0x45, 0x01,
                     0x12, 0x01, 0x61, 0x0C, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00, 0x01}));
    EXPECT_EQ(inflateAt(bytes, 12), textBytes("hello"));
    // Names are stored as given, with fresh ids; an empty archive has an empty index.
    bytes = compileArchive({{"Sub/Pic.PNG", "x"}, {"b", ""}});
    Bytes index = inflateAt(bytes, static_cast<int>(le32(bytes, 8)));
    ASSERT_GT(index.size(), 40u);
    EXPECT_TRUE(index[3] == 0x02 && le32(index, 5) == 0 && index[26 + 9] == 0x00 && le32(index, 26 + 10) == 1);
    EXPECT_EQ(std::string(index.begin() + 15, index.begin() + 26), "Sub/Pic.PNG");
    bytes = compileArchive({});
    EXPECT_TRUE(le32(bytes, 8) == 12 && inflateAt(bytes, 12) == (Bytes{0x05, 0x00, 0x14, 0x00}));
}

// Names keep their case in the index and are found after lower-casing;
// separators are kept. Also a stored entry (level 0) and a source that
// delivers 10 of the 100 bytes it announced: the index records the 10.
TEST_F(ArchiveTest, CompiledArchivesServeTheirEntriesByFoldedName) {
    SmartPtr<MemStream> out(new MemStream());
    SmartPtr<ResourceFileCompiler> compiler = startArchive(out);
    for (auto [name, text] : {std::pair{"Sub/Pic.PNG", "pic"}, {"Readme.TXT", "first"}, {"readme.txt", "second"}})
        addBytes(*compiler, name, textBytes(text));
    compiler->setLevel(0);
    EXPECT_GT(addBytes(*compiler, "Stored", Bytes(63, 'a')), 63);
    compiler->setLevel(-1);
    SmartPtr<ScriptStream> shortSource(new ScriptStream(Bytes(10, 's'), Zep::Stream::kRead));
    shortSource->m_nLength = 100;
    compiler->add(shortSource.get(), "T.txt");
    compiler->finish();
    ResourceFile archive(write(bytesOf(*out)).c_str());
    EXPECT_EQ(archive.listNames().getCount(), 4);  // the later readme replaced the earlier
    EXPECT_TRUE(archive.exists("SUB/PIC.png") && !archive.exists("sub\\pic.png") && !archive.exists("pic.png"));
    EXPECT_EQ(loadText(archive, archive.getPath("SUB/pic.PNG").c_str()) + loadText(archive, "README.txt") +
                  loadText(archive, "stored") + loadText(archive, "t.txt"),
              "picsecond" + std::string(63, 'a') + "ssssssssss");
    EXPECT_EQ(messageOf<Zep::FatalErrorException>([&] { archive.load("No/Such.png"); }),
              "Hash key not found : \"no/such.png\"");
    EXPECT_EQ(messageOf<Zep::FatalErrorException>([&] { archive.getResourceSize("B"); }), "Hash key not found : \"b\"");
    // An entry met twice through a back-reference is indexed and freed once.
    ResourceFile twice(write(withIndex(Builder().index(2).entry(0, "a", 12, 1).u8(0x01).u32(0))).c_str());
    EXPECT_TRUE(twice.getEntryCount() == 1 && loadText(twice, "a") == "a");
}

// Hand-built archives in either byte order: the good entry loads, damaged
// ones fail the load only (opening reads just the index). Entry data that is
// cut, fails its checksum or runs on past its size is a resource error naming
// the entry and the archive (it was an assertion failure, "nRead == nSize",
// which called the program at fault for a damaged file); index records that
// can't be right stay assertions.
TEST_F(ArchiveTest, HandBuiltArchivesInEitherByteOrderAndDamagedEntries) {
    const Bytes good = deflateBytes(textBytes("good"), 9);
    Bytes cut = deflateBytes(textBytes("this entry is cut short"), 9), badSum = good;
    cut.resize(cut.size() / 2);
    badSum.back() ^= 1;
    const int32_t nCut = 12 + static_cast<int32_t>(good.size()), nBadSum = nCut + static_cast<int32_t>(cut.size());
    for (bool bBigEndian : {true, false}) {
        Builder index, archive;
        index.bBigEndian = archive.bBigEndian = bBigEndian;
        index.index(7).entry(0, "Good", 12, 4).entry(1, "cut", nCut, 23).entry(2, "negative", 12, -1);
        index.entry(3, "huge", 12, 0x7FFFFFF0).entry(4, "far", 0x40000000, 4).entry(5, "badsum", nBadSum, 4);
        index.entry(6, "short", 12, 3);  // the stream goes on past the recorded size
        archive.header(static_cast<uint32_t>(nBadSum + static_cast<int32_t>(badSum.size())));
        archive.raw(good).raw(cut).raw(badSum).raw(deflateBytes(index.v, 9));
        EXPECT_EQ(Bytes(archive.v.begin() + 4, archive.v.begin() + 8),
                  bBigEndian ? (Bytes{0x01, 0x46, 0x52, 0x47}) : (Bytes{0x47, 0x52, 0x46, 0x01}));
        const std::string path = write(archive.v);
        ResourceFile resources(path.c_str());
        EXPECT_EQ(resources.getEntryCount(), 7);
        for (const char* name : {"cut", "badsum", "short"})
            EXPECT_EQ(messageOf<Zep::ResourceException>([&] { resources.load(name); }),
                      "damaged archive: entry '" + std::string(name) + "' is damaged or cut short in '" + path + "'");
        const std::pair<const char*, const char*> cases[] = {
            {"huge", "pData"}, {"negative", "nSize >= 0"}, {"far", "nOffset >= kHeaderSize && nOffset < m_nFileLength"}};
        for (auto [name, message] : cases)
            EXPECT_EQ(messageOf<Zep::AssertFailException>([&, name = name] { resources.load(name); }),
                      std::string("Assertion failed : ") + message) << name;
        EXPECT_EQ(loadText(resources, "GOOD"), "good");  // still usable afterwards
    }
}

// Opening fails with the header's own messages, or with the index-corrupt one
// naming what the index reader threw and the step it had reached.
TEST_F(ArchiveTest, OpenErrors) {
    const Bytes badTag = withIndex(Builder().index(1).entry(0, "a", 12, 1, 0x01464952));
    const std::string idx = std::to_string(le32(badTag, 8));
    Bytes cutIndex = compileArchive({{"a", "a"}});
    cutIndex.pop_back();
    SmartPtr<MemStream> unfinished(new MemStream());
    addBytes(*startArchive(unfinished), "one", textBytes("1"));  // released without finish: offset 0
    const std::string indexCorrupt = "ResourceFile::ResourceFile : index is corrupt [";
    const std::string entryError = indexCorrupt + "FatalErrorException : ResourceFileEntry::persistFrom : ";
    const std::string damaged =
        indexCorrupt + "FatalErrorException : ResourceFile::readIndex : the index is damaged or cut short at ";
    const struct { Bytes bytes; std::string prefix, suffix; } cases[] = {
        {Bytes(), "ResourceFile::ResourceFile : bad header", ""},
        {Builder().header(12, 0x01000000).v,  // tag 0 little-endian, 1 big-endian
         "ResourceFile::ResourceFile : bad stream format : 00465247, got 00000001", ""},
        {Builder().header(12, 0x02465247).v, "ResourceFile::ResourceFile : unknown format version 2", ""},
        // Cut inside the record word: missing bytes read as zeros; big-endian, 47 52 00 00.
        {textBytes("GRF\x05GR"), "ResourceFile::ResourceFile : bad stream format : 00465247, got 00520000", ""},
        {badTag, entryError + "bad stream format : 00454952, got 00464952 at ", "] nDbgStep = 3 nIdxOff = " + idx},
        {bytesOf(*unfinished), indexCorrupt, "] nDbgStep = 0 nIdxOff = 0"},
        // A null element (tag 02) can't be indexed.
        {withIndex(Builder().index(2).entry(0, "a", 12, 1).u8(0x02)), indexCorrupt, "nDbgStep = 3 nIdxOff = " + idx},
        // Entries read before the failure are freed (the leak checker watches).
        {withIndex(Builder().index(3).entry(0, "a", 12, 1).entry(1, "b", 12, 1).entry(2, "c", 12, 1, 0x02454952)),
         entryError + "unknown format version 2", ""},
        // The index's zlib stream must end with an intact checksum, and no later.
        {cutIndex, damaged, "nDbgStep = 3 nIdxOff = " + std::to_string(le32(cutIndex, 8))},
        {withIndex(Builder().index(0).u8(0)), damaged, "nDbgStep = 3 nIdxOff = " + idx}};
    for (const auto& c : cases) {
        const std::string path = write(c.bytes);
        const std::string message = messageOf<Zep::FatalErrorException>([&] { ResourceFile archive(path.c_str()); });
        EXPECT_EQ(message.substr(0, c.prefix.size()), c.prefix) << message;
        EXPECT_EQ(message.substr(message.size() - std::min(message.size(), c.suffix.size())), c.suffix) << message;
    }
}

// Every cut of an archive fails to open (the index comes last and must end
// with its checksum). With any one bit flipped, an archive either fails to
// open or serves each entry with exactly its original bytes or not at all;
// a flip in entry data leaves the index intact, so it always opens.
TEST_F(ArchiveTest, CutOrDamagedArchivesThrowOrServeTheOriginalBytes) {
    const std::vector<std::pair<const char*, std::string>> entries = {
        {"One.txt", "first entry, first entry"}, {"dir/two.bin", std::string(300, 7)}, {"z", ""}};
    const Bytes good = compileArchive(entries);
    // The number of entries served, or -1 when the archive does not open.
    auto served = [&](const Bytes& bytes) {
        std::unique_ptr<ResourceFile> archive;
        try {
            archive = std::make_unique<ResourceFile>(write(bytes).c_str());
        } catch (const Zep::FatalErrorException&) {
            return -1;
        }
        int nServed = 0;
        for (const auto& [name, text] : entries) {
            try {
                EXPECT_EQ(loadText(*archive, name), text);
                ++nServed;
            } catch (const Zep::Exception&) {
            }
        }
        return nServed;
    };
    EXPECT_EQ(served(good), 3);
    for (size_t n = 0; n < good.size(); ++n) EXPECT_EQ(served(Bytes(good.begin(), good.begin() + n)), -1) << n;
    for (size_t at = 0; at < good.size(); ++at) {
        for (int bit = 0; bit < 8; ++bit) {
            Bytes bytes = good;
            bytes[at] ^= static_cast<uint8_t>(1 << bit);
            EXPECT_GE(served(bytes), at >= 12 && at < le32(good, 8) ? 2 : -1) << "byte " << at << " bit " << bit;
        }
    }
}

// ------------------------------------------------ resources and providers

// The leak checker of the test run sees whether each block is freed.
TEST(Resource, OwnershipViewsAndShortReads) {
    SmartPtr<Resource> unowned(new Resource(64, nullptr, false));  // its own block: freed all the same
    void* block = Resource::allocateData(3);
    std::memcpy(block, "abc", 3);
    EXPECT_STREQ(SmartPtr<Resource>(new Resource(3, block, true))->asString().c_str(), "abc");
    char buffer[5] = {'h', 'e', 'l', 'l', 'o'};  // the caller's buffer is left alone
    EXPECT_EQ(SmartPtr<Resource>(new Resource(5, buffer, false))->openStream()->getBuffer(), buffer);  // a view
    EXPECT_EQ(messageOf([] { Resource(-1, nullptr, true); }), "Assertion failed : nSize >= 0");
    ScriptStream script(textBytes("aaaaeeeeii"));
    script.m_nPiece = 4, script.m_nLength = 100;
    EXPECT_STREQ(Resource::readFrom(&script)->asString().c_str(), "aaaaeeeeii");
}

// Folders serve bare names without regard to case; an empty root is the
// current folder, never the file-system root.
TEST(FilesystemResourceProvider, RootsAndBareNames) {
    for (auto [given, root] : {std::pair{"data", "data/"}, {"data/", "data/"}, {"data\\", "data\\"}, {"", ""}})
        EXPECT_STREQ(Zep::FilesystemResourceProvider(given).getRoot().c_str(), root);
    TempFolder tmp;
    putFile(tmp.path("Font.PNG"), "F");
    EXPECT_STREQ(Zep::FilesystemResourceProvider(tmp.root().c_str()).load("a\\FONT.png")->asString().c_str(), "F");
    const std::filesystem::path old = std::filesystem::current_path();
    std::filesystem::current_path(tmp.root());
    EXPECT_TRUE(Zep::FilesystemResourceProvider(nullptr).exists("x/font.png") &&
                !Zep::FilesystemResourceProvider("").exists("etc"));
    std::filesystem::current_path(old);
}

TEST(MemoryResourceProvider, LowerCasedNamesAndTheSameObject) {
    SmartPtr<Resource> font(new Resource(3, nullptr, true)), second(new Resource(2, nullptr, true));
    {
        Zep::MemoryResourceProvider provider;
        provider.add("Font.PNG", font);
        EXPECT_TRUE(provider.load("FONT.png") == font && !provider.exists("font"));
        provider.add("FONT.png", second);  // replacing releases the old resource
        EXPECT_EQ(font->getRefCount(), 1);
    }
    EXPECT_EQ(second->getRefCount(), 1);  // the provider drops its references when deleted
}
