#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <memory>
#include <filesystem>
#include <fstream>
#include <string>

#include "zep2/error.h"
#include "zep2/memstream.h"
#include "zep2/resource.h"
#include "zep2/stream.h"

namespace fs = std::filesystem;
using Zep::FilesystemResourceProvider;
using Zep::MemoryResourceProvider;
using Zep::Resource;
using Zep::SmartPtr;
using Zep::String;

namespace {

// A scratch folder removed with the fixture.
class ResourceFolder : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = ::testing::TempDir() + "zep_resource_XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_sDir = pattern;
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(m_sDir, ec);
    }
    void writeFile(const std::string& name, const std::string& bytes) {
        std::ofstream out(m_sDir + "/" + name, std::ios::binary);
        out << bytes;
    }

    std::string m_sDir;
};

// Changes the working folder for one test.
class CurrentFolder {
public:
    explicit CurrentFolder(const std::string& dir) : m_old(fs::current_path()) { fs::current_path(dir); }
    ~CurrentFolder() { fs::current_path(m_old); }

private:
    fs::path m_old;
};

}  // namespace

TEST(Resource, OwnsAndFreesItsOwnBlock) {
    SmartPtr<Resource> res(new Resource(16, nullptr, true));
    ASSERT_NE(res->getData(), nullptr);
    EXPECT_EQ(res->getSize(), 16);
    EXPECT_EQ(res->getRefCount(), 1);
    std::memset(res->getData(), 'x', 16);
    EXPECT_STREQ(res->asString().c_str(), "xxxxxxxxxxxxxxxx");
}

// A block the resource allocated is freed even when it was told it doesn't
// own its data (the leak checker of the test run sees the difference).
TEST(Resource, SelfAllocatedBlockIsFreedWithoutOwnership) {
    SmartPtr<Resource> res(new Resource(64, nullptr, false));
    EXPECT_FALSE(res->ownsData());
    ASSERT_NE(res->getData(), nullptr);
}

TEST(Resource, CallersBufferIsLeftAlone) {
    char buffer[6] = "hello";
    {
        SmartPtr<Resource> res(new Resource(5, buffer, false));
        EXPECT_EQ(res->getData(), buffer);
        EXPECT_STREQ(res->asString().c_str(), "hello");
    }
    EXPECT_STREQ(buffer, "hello");
}

TEST(Resource, OwnedCallerBlockIsFreed) {
    void* block = Resource::allocateData(3);
    std::memcpy(block, "abc", 3);
    SmartPtr<Resource> res(new Resource(3, block, true));
    EXPECT_STREQ(res->asString().c_str(), "abc");
}

TEST(Resource, NegativeSizeIsRefused) {
    try {
        Resource res(-1, nullptr, true);
        FAIL() << "no exception";
    } catch (const Zep::AssertFailException& e) {
        EXPECT_STREQ(e.getMessage(), "Assertion failed : nSize >= 0");
    }
}

TEST(Resource, OpenStreamIsAViewOverTheBytes) {
    char bytes[4] = {1, 2, 3, 4};
    SmartPtr<Resource> res(new Resource(4, bytes, false));
    SmartPtr<Zep::MemStream> stream = res->openStream();
    EXPECT_EQ(stream->length(), 4);
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

TEST(FilesystemResourceProvider, RootGetsOneSeparator) {
    EXPECT_STREQ(FilesystemResourceProvider("data").getRoot().c_str(), "data/");
    EXPECT_STREQ(FilesystemResourceProvider("data/").getRoot().c_str(), "data/");
    EXPECT_STREQ(FilesystemResourceProvider("data\\").getRoot().c_str(), "data\\");
    // Empty is the current folder, never the file-system root.
    EXPECT_STREQ(FilesystemResourceProvider("").getRoot().c_str(), "");
    EXPECT_STREQ(FilesystemResourceProvider(nullptr).getRoot().c_str(), "");
}

TEST(FilesystemResourceProvider, BaseNameTakesTheRightmostSeparator) {
    EXPECT_STREQ(FilesystemResourceProvider::baseName("dir\\sub/pic.png").c_str(), "pic.png");
    EXPECT_STREQ(FilesystemResourceProvider::baseName("dir/sub\\pic.png").c_str(), "pic.png");
    EXPECT_STREQ(FilesystemResourceProvider::baseName("pic.png").c_str(), "pic.png");
    EXPECT_STREQ(FilesystemResourceProvider::baseName("dir/").c_str(), "");
    EXPECT_STREQ(FilesystemResourceProvider::baseName(nullptr).c_str(), "");
}

TEST_F(ResourceFolder, FolderProviderServesBareNames) {
    writeFile("pic.png", std::string("\x89PNG\0\x01", 6));
    FilesystemResourceProvider provider(m_sDir.c_str());
    EXPECT_TRUE(provider.exists("x/y/pic.png"));
    EXPECT_TRUE(provider.exists("a\\pic.png"));
    EXPECT_FALSE(provider.exists("other.png"));
    EXPECT_STREQ(provider.getPath("a/b/pic.png").c_str(), (m_sDir + "/pic.png").c_str());
    EXPECT_EQ(provider.listNames().getCount(), 0);

    SmartPtr<Resource> res = provider.load("sub/pic.png");
    ASSERT_EQ(res->getSize(), 6);
    EXPECT_EQ(res->getRefCount(), 1);
    EXPECT_EQ(std::memcmp(res->getData(), "\x89PNG\0\x01", 6), 0);
    // A new object on every load.
    SmartPtr<Resource> again = provider.load("pic.png");
    EXPECT_NE(again.get(), res.get());
}

TEST_F(ResourceFolder, FolderProviderMatchesCaseLikeTheFileLayer) {
    writeFile("Font.PNG", "F");
    FilesystemResourceProvider provider(m_sDir.c_str());
    EXPECT_TRUE(provider.exists("font.png"));
    EXPECT_EQ(provider.load("FONT.png")->getSize(), 1);
}

TEST_F(ResourceFolder, FolderProviderEmptyFileAndMissingFile) {
    writeFile("empty.txt", "");
    FilesystemResourceProvider provider(m_sDir.c_str());
    SmartPtr<Resource> res = provider.load("empty.txt");
    EXPECT_EQ(res->getSize(), 0);
    EXPECT_NE(res->getData(), nullptr);
    try {
        provider.load("missing.txt");
        FAIL() << "no exception";
    } catch (const Zep::FileAccessException& e) {
        EXPECT_EQ(std::string(e.getMessage()), "File::File : '" + m_sDir + "/missing.txt' does not exist");
    }
}

TEST_F(ResourceFolder, EmptyFolderIsTheCurrentFolder) {
    writeFile("here.txt", "here");
    CurrentFolder cwd(m_sDir);
    FilesystemResourceProvider provider("");
    EXPECT_TRUE(provider.exists("here.txt"));
    EXPECT_STREQ(provider.getPath("x/here.txt").c_str(), "here.txt");
    EXPECT_STREQ(provider.load("here.txt")->asString().c_str(), "here");
    // Nothing from the file-system root comes through.
    EXPECT_FALSE(provider.exists("etc"));
}

namespace {
// Claims 100 bytes and delivers 10, in pieces of 4.
class ShortStream : public Zep::Stream {
public:
    int read(int nSize, void* pBuffer) override {
        int n = std::min({nSize, 4, 10 - m_nPos});
        std::memset(pBuffer, 'a' + m_nPos, static_cast<size_t>(n));
        m_nPos += n;
        return n;
    }
    int write(int, const void*) override { return 0; }
    int getPosition() override { return m_nPos; }
    int setPosition(int n) override { m_nPos = n; return 0; }
    int length() override { return 100; }
    bool supports(int nMode) override { return nMode == 1; }

private:
    int m_nPos = 0;
};
}  // namespace

TEST(Resource, ShortReadGivesTheBytesThatArrived) {
    ShortStream stream;
    SmartPtr<Resource> res = Resource::readFrom(&stream);
    ASSERT_EQ(res->getSize(), 10);
    EXPECT_STREQ(res->asString().c_str(), "aaaaeeeeii");
}

TEST(MemoryResourceProvider, LowerCasedNamesAndTheSameObject) {
    MemoryResourceProvider provider;
    SmartPtr<Resource> font(new Resource(3, nullptr, true));
    provider.add("Font.PNG", font);
    EXPECT_EQ(font->getRefCount(), 2);
    EXPECT_TRUE(provider.exists("font.png"));
    EXPECT_TRUE(provider.exists("FONT.png"));
    EXPECT_FALSE(provider.exists("font"));
    EXPECT_EQ(provider.load("font.png").get(), font.get());
    EXPECT_EQ(provider.load("FONT.png").get(), font.get());
    Zep::List<String> names = provider.listNames();
    ASSERT_EQ(names.getCount(), 1);
    EXPECT_STREQ(names[0].c_str(), "font.png");
    EXPECT_STREQ(provider.getPath("Font.PNG").c_str(), "Font.PNG");
}

TEST(MemoryResourceProvider, ReplacingReleasesTheOldResource) {
    MemoryResourceProvider provider;
    SmartPtr<Resource> first(new Resource(1, nullptr, true));
    SmartPtr<Resource> second(new Resource(2, nullptr, true));
    provider.add("font.png", first);
    provider.add("FONT.png", second);
    EXPECT_EQ(first->getRefCount(), 1);
    EXPECT_EQ(second->getRefCount(), 2);
    EXPECT_EQ(provider.load("Font.png")->getSize(), 2);
    EXPECT_EQ(provider.listNames().getCount(), 1);
}

TEST(MemoryResourceProvider, MissingNameAndNullResource) {
    MemoryResourceProvider provider;
    try {
        provider.load("No.Such");
        FAIL() << "no exception";
    } catch (const Zep::FatalErrorException& e) {
        EXPECT_STREQ(e.getMessage(), "Hash key not found : \"no.such\"");
    }
    try {
        provider.add("x", SmartPtr<Resource>());
        FAIL() << "no exception";
    } catch (const Zep::AssertFailException& e) {
        EXPECT_STREQ(e.getMessage(), "Assertion failed : pResource.notNULL()");
    }
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
