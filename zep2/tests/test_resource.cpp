#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "test_util.h"
#include "zep2/resource.h"

using testutil::messageOf;
using testutil::putFile;
using Zep::FilesystemResourceProvider;
using Zep::MemoryResourceProvider;
using Zep::Resource;
using Zep::SmartPtr;

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
