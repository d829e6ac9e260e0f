// The resource registry: providers in order, suffixes, aliases, archives,
// folders and the listings.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>

#include <zep2/error.h>
#include <zep2/grfpack_lib.h>
#include <zep2/resourcefile.h>

#include "application/gameapp.h"
#include "image/imagetest_util.h"
#include "testkit/testkit_fixtures.h"
#include "application/registry.h"

using namespace imagetest;
using namespace testkit;

namespace {

// Opens the registry's members to the tests.
class RegistryApp : public testkit::TestApp {
public:
    const Zep::Hash<Zep::String, Zep::String>& imageAliases() const { return m_registry.getImageAliases(); }
    const Zep::Hash<Zep::String, Zep::String>& resourceAliases() const { return m_registry.getResourceAliases(); }
    int providerCount() const { return m_registry.getProviderCount(); }
};

using Registry = AppTest<RegistryApp>;

std::string text(const Zep::SmartPtr<Zep::Resource>& p) { return p->asString().c_str(); }

}  // namespace

TEST_F(Registry, EmptyListFindsNothing) {
    Zep::ResourceProvider* pProvider = reinterpret_cast<Zep::ResourceProvider*>(1);
    EXPECT_STREQ("", m_app.findResourceProvider("a", &pProvider).c_str());
    EXPECT_EQ(nullptr, pProvider);
    EXPECT_FALSE(m_app.resourceExists("a"));
    EXPECT_EQ("GameApp::getResource() : Resource 'a' not found",
              messageOf<Zep::ResourceException>([&] { m_app.getResource("a"); }));
    EXPECT_EQ("Assertion failed : pResFile",
              messageOf<Zep::AssertFailException>([&] { m_app.findResourceProvider("a", nullptr); }));
    EXPECT_EQ("GameApp::addResourceProvider : no provider",
              messageOf<Zep::BadParmException>([&] { m_app.addResourceProvider(nullptr, false); }));
}

TEST_F(Registry, ProvidersInOrderSuffixesInside) {
    auto pOwned = memoryProvider({{"a.txt", "second"}, {"only2", "2"}, {"pic.jpg", "jpg in second"}});
    const Zep::ResourceProvider* pSecond = pOwned.get();
    m_app.addResourceProvider(memoryProvider({{"a.txt", "first"}, {"pic.png", "png in first"}}), false);
    m_app.addResourceProvider(std::move(pOwned), false);
    EXPECT_EQ("first", text(m_app.getResource("a.txt")));
    EXPECT_EQ("2", text(m_app.getResource("only2")));
    m_app.addResourceProvider(memoryProvider({{"a.txt", "front"}}), true);
    EXPECT_EQ("front", text(m_app.getResource("A.TXT")));  // memory providers fold case

    Zep::ResourceProvider* pFound = nullptr;
    EXPECT_STREQ("only2", m_app.findResourceProvider("only2", &pFound).c_str());
    EXPECT_EQ(pSecond, pFound);
    // Nothing found: the last provider asked stays in the out-parameter.
    EXPECT_STREQ("", m_app.findResourceProvider("none", &pFound).c_str());
    EXPECT_EQ(pSecond, pFound);
    // Providers outside, suffixes inside: the first provider's ".png" wins.
    static const char* const kSuffixes[] = {".jpg", ".png", nullptr};
    static const char* const kEmpty[] = {nullptr};
    EXPECT_STREQ("pic.png", m_app.findResourceProvider("pic", &pFound, kSuffixes).c_str());
    EXPECT_NE(pSecond, pFound);
    EXPECT_STREQ("", m_app.findResource("pic", kEmpty).c_str());  // the default: the name itself
    EXPECT_TRUE(m_app.resourceExists("pic.jpg"));
}

TEST_F(Registry, AliasesApplyOnceToTheExactLowerCaseNameAndLaterEntriesWin) {
    m_app.addResourceProvider(
        memoryProvider({{"resource-alias.txt", "# aliases\nFirst Second\nsecond third\n"},
                        {"second", "2"},
                        {"third", "3"},
                        {"first", "1"},
                        {"image-alias.txt", "logo a\nLOGO b\nicon c\n"}}),
        false);
    EXPECT_EQ("2", text(m_app.getResource("first")));  // not on to "third"
    EXPECT_EQ("3", text(m_app.getResource("second")));
    // Capitals never match an alias, but the provider still folds the case.
    EXPECT_EQ("1", text(m_app.getResource("FIRST")));
    EXPECT_EQ(2, m_app.resourceAliases().getCount());
    EXPECT_STREQ("b", m_app.imageAliases().get("logo").c_str());
    m_app.addResourceProvider(memoryProvider({{"image-alias.txt", "logo d\tignored tokens\n"}}), false);
    EXPECT_STREQ("d", m_app.imageAliases().get("logo").c_str());
    EXPECT_STREQ("c", m_app.imageAliases().get("icon").c_str());

    EXPECT_EQ("List index out of range : 1 (have 1)", messageOf<Zep::FatalErrorException>([&] {
                  m_app.addResourceProvider(memoryProvider({{"resource-alias.txt", "good one\nlonely\n"}}), false);
              }));
    EXPECT_EQ(3, m_app.providerCount());  // the failed one is still owned by the list
}

TEST_F(Registry, AliasListsReadIntoAnyTableOrFromAProviderNotAdded) {
    Zep::Hash<Zep::String, Zep::String> hTable;
    m_app.readAliasList(nullptr, hTable);
    m_app.readAliasList(resource("Logo A\nicon b\n").get(), hTable);
    EXPECT_TRUE(hTable.getCount() == 2 && hTable.get("logo") == "a");
    auto pProvider = memoryProvider({{"image-alias.txt", "title splash\n"}});
    m_app.readAliasLists(pProvider.get());
    EXPECT_STREQ("splash", m_app.imageAliases().get("title").c_str());
    EXPECT_EQ(0, m_app.providerCount());
}

TEST_F(Registry, ArchivesAndFolders) {
    const std::string sMissing = m_dir.file("missing.dat");
    EXPECT_EQ("Resource file " + sMissing + " not found [2]",
              messageOf<Zep::FatalErrorException>([&] { m_app.addResourceFile(sMissing.c_str()); }));
    EXPECT_EQ(0, m_app.providerCount());

    std::filesystem::create_directories(m_dir.file("pack/sub"));
    testkit::writeFileBytes(m_dir.file("pack/title.txt"), "from the archive");
    testkit::writeFileBytes(m_dir.file("pack/resource-alias.txt"), "banner title.txt\n");
    const std::string sArchive = m_dir.file("content.dat");
    ASSERT_TRUE(Zep::GrfPack::packFolder(m_dir.file("pack").c_str(), sArchive.c_str(), -1).ok());
    m_app.addResourceFile(sArchive.c_str());
    EXPECT_EQ("from the archive", text(m_app.getResource("Title.TXT")));
    EXPECT_EQ("from the archive", text(m_app.getResource("banner")));
    EXPECT_NE(std::string::npos, m_files.logText().find("G: +" + sMissing + "\nG: +" + sArchive + "\n"));

    // Folders match names without regard to case and drop the name's folders.
    std::filesystem::create_directories(m_dir.file("loose"));
    testkit::writeFileBytes(m_dir.file("loose/Other.TXT"), "loose file");
    m_app.addResourceFolder(m_dir.file("loose").c_str());
    EXPECT_EQ("loose file", text(m_app.getResource("other.txt")));
    EXPECT_EQ("loose file", text(m_app.getResource("menus/OTHER.txt")));
    EXPECT_FALSE(m_app.resourceExists("third.txt"));
    m_app.addResourceFolder(m_dir.file("not-there").c_str());  // need not exist
    EXPECT_EQ(3, m_app.providerCount());
}

// A damaged entry is a resource error that names the entry and the archive;
// the archive goes on serving its other entries. A cut archive (its index
// comes last) is refused when it is added, before anything is served.
TEST_F(Registry, DamagedEntriesAndCutArchivesAreResourceErrors) {
    std::string sFont;
    for (int i = 0; i < 6000; ++i) sFont += static_cast<char>((i * 7919 + i / 13) & 0xFF);
    testkit::writeFileBytes(m_dir.file("pack/fonts/Face.ttf"), sFont);
    testkit::writeFileBytes(m_dir.file("pack/title.txt"), "still served");
    const std::string sArchive = m_dir.file("content.dat");
    ASSERT_TRUE(Zep::GrfPack::packFolder(m_dir.file("pack").c_str(), sArchive.c_str(), -1).ok());
    std::string sBytes = testkit::readFileBytes(sArchive);
    int nStart = 0, nEnd = static_cast<int>(sBytes.size());
    {
        const Zep::ResourceFile archive(sArchive.c_str());
        for (const Zep::ResourceFileEntry* pEntry : archive.getEntries()) {
            if (pEntry->getName() == "fonts/Face.ttf") nStart = pEntry->getOffset();
        }
        for (const Zep::ResourceFileEntry* pEntry : archive.getEntries())
            if (pEntry->getOffset() > nStart) nEnd = std::min(nEnd, pEntry->getOffset());
    }
    ASSERT_GT(nStart, 0);
    sBytes[static_cast<size_t>((nStart + nEnd) / 2)] ^= 0x10;
    testkit::writeFileBytes(sArchive, sBytes);
    m_app.addResourceFile(sArchive.c_str());
    EXPECT_EQ("damaged archive: entry 'fonts/Face.ttf' is damaged or cut short in '" + sArchive + "'",
              messageOf<Zep::ResourceException>([&] { m_app.getResource("FONTS/face.ttf"); }));
    EXPECT_EQ("still served", text(m_app.getResource("title.txt")));

    for (size_t nCut : {size_t{1}, sBytes.size() / 2, sBytes.size() - 12}) {
        const std::string sCut = m_dir.file("cut.dat");
        testkit::writeFileBytes(sCut, sBytes.substr(0, sBytes.size() - nCut));
        const std::string sMessage =
            messageOf<Zep::FatalErrorException>([&] { m_app.addResourceFile(sCut.c_str()); });
        EXPECT_EQ(sMessage.rfind("ResourceFile::", 0), 0u) << nCut << ": " << sMessage;
    }
    EXPECT_EQ(1, m_app.providerCount());
}

TEST_F(Registry, NamesAndListings) {
    m_app.addResourceProvider(memoryProvider({{"b", ""}, {"strings.txt", "key v"}}), false);
    m_app.addResourceFolder(m_dir.path().c_str());  // lists nothing
    m_app.addResourceProvider(memoryProvider({{"%s%n", ""}, {"b", ""}}), false);
    m_app.loadStringTable("strings.txt");
    const Zep::List<Zep::String> lNames = m_app.getResourceNames();
    ASSERT_EQ(4, lNames.getCount());
    // Provider after provider; duplicates stay.
    EXPECT_EQ((std::set<std::string>{"b", "strings.txt"}),
              (std::set<std::string>{lNames[0].c_str(), lNames[1].c_str()}));
    EXPECT_EQ((std::set<std::string>{"%s%n", "b"}), (std::set<std::string>{lNames[2].c_str(), lNames[3].c_str()}));

    for (const char* szValue : {"true", "TRUE "}) {
        testkit::ScopedEnv env("TUK_LIST_RESOURCES", szValue);
        EXPECT_FALSE(listResourcesIfRequested(m_app));
    }
    EXPECT_EQ(std::string::npos, m_files.logText().find("Resource names"));
    testkit::ScopedEnv env("TUK_LIST_RESOURCES", "TRUE");
    EXPECT_TRUE(listResourcesIfRequested(m_app));
    std::string sExpected = "U: ----- Resource names -----\n";
    for (const Zep::String& sName : lNames) sExpected += std::string("U: ") + sName.c_str() + "\n";
    sExpected += "U: --------------------------\nU: ----- String names -----\nU: KEY\nU: ------------------------\n";
    const std::string sLog = m_files.logText();
    ASSERT_GE(sLog.size(), sExpected.size());
    EXPECT_EQ(sExpected, sLog.substr(sLog.size() - sExpected.size()));
}

// The registry needs no application; clearing it deletes the providers (the
// destructor the rest) but keeps what their alias lists said.
TEST(RegistryAlone, LooksUpWithoutAnApplicationAndClearKeepsTheAliases) {
    ASSERT_EQ(nullptr, GameApp::getInstance());
    ResourceRegistry registry;
    registry.addProvider(memoryProvider({{"b", "back"}, {"resource-alias.txt", "alias b\n"}}), false);
    registry.addProvider(memoryProvider({{"b", "front"}}), true);
    EXPECT_EQ("front", text(registry.get("alias")));
    EXPECT_EQ(3, registry.getNames().getCount());
    registry.clear();
    EXPECT_TRUE(registry.getProviderCount() == 0 && !registry.exists("b"));
    EXPECT_STREQ("b", registry.getResourceAliases().get("alias").c_str());
    registry.addProvider(memoryProvider({{"c", ""}}), false);
}
