#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include "test_util.h"
#include "zep2/grfpack_lib.h"
#include "zep2/resourcefile.h"

namespace fs = std::filesystem;
using testutil::getFile;
using testutil::putFile;
using Zep::String;

namespace {

class GrfPackTest : public ::testing::Test {
protected:
    std::string path(const std::string& rel) const { return m_tmp.path(rel); }
    int run(std::initializer_list<std::string> args) {
        std::vector<const char*> argv{"grfpack"};
        for (const std::string& a : args) argv.push_back(a.c_str());
        m_sOut = "";
        m_sErr = "";
        return Zep::GrfPack::runTool(static_cast<int>(argv.size()), argv.data(), m_sOut, m_sErr);
    }
    // An archive written by the compiler with the given entry names.
    void writeArchive(const std::string& rel, std::initializer_list<const char*> names) {
        Zep::SmartPtr<Zep::MemStream> out(new Zep::MemStream());
        Zep::ResourceFileCompiler compiler{Zep::SmartPtr<Zep::Stream>(out)};
        compiler.writeHeader();
        for (const char* name : names) {
            Zep::SmartPtr<Zep::MemStream> src(new Zep::MemStream("win", 3));
            compiler.add(src.get(), name);
        }
        compiler.finish();
        putFile(path(rel), testutil::bytesOf(*out));
    }

    testutil::TempFolder m_tmp;
    String m_sOut;
    String m_sErr;
};

}  // namespace

TEST_F(GrfPackTest, PackListExtractVerifyRoundTrip) {
    // Nested files, an empty file, a file past one copy chunk and every byte value.
    std::string big, all;
    for (int i = 0; i < 150000; ++i) big += static_cast<char>((i * 7919) % 251);
    for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
    putFile(path("src/Readme.TXT"), "hello\r\n");
    putFile(path("src/Images/Pic.PNG"), all);
    putFile(path("src/Images/deep/big.bin"), big);
    putFile(path("src/empty"), "");

    Zep::List<String> names = Zep::GrfPack::collectFiles(path("src").c_str(), nullptr);
    EXPECT_STREQ(names.join(",").c_str(), "Images/Pic.PNG,Images/deep/big.bin,Readme.TXT,empty");

    ASSERT_EQ(run({"pack", path("src"), path("out.dat")}), 0) << m_sErr.c_str();
    EXPECT_EQ(std::string(m_sOut.c_str()).rfind("packed 4 files (", 0), 0u) << m_sOut.c_str();
    {
        // The game finds the entries by their lower-cased relative names.
        Zep::ResourceFile archive(path("out.dat").c_str());
        EXPECT_TRUE(archive.exists("images/pic.png"));
        EXPECT_TRUE(archive.exists("Images/deep/BIG.bin"));
        EXPECT_FALSE(archive.exists("images\\pic.png"));
        EXPECT_EQ(archive.getResourceSize("images/deep/big.bin"), 150000);
    }

    ASSERT_EQ(run({"list", path("out.dat")}), 0) << m_sErr.c_str();
    EXPECT_STREQ(m_sOut.c_str(),
                 "       256  Images/Pic.PNG\n"
                 "    150000  Images/deep/big.bin\n"
                 "         7  Readme.TXT\n"
                 "         0  empty\n"
                 "4 entries, 150263 bytes\n");

    ASSERT_EQ(run({"extract", path("out.dat"), path("copy")}), 0) << m_sErr.c_str();
    EXPECT_STREQ(m_sOut.c_str(), ("extracted 4 entries into " + path("copy") + "\n").c_str());
    for (const char* rel : {"Readme.TXT", "Images/Pic.PNG", "Images/deep/big.bin", "empty"}) {
        ASSERT_TRUE(fs::exists(path(std::string("copy/") + rel))) << rel;
        EXPECT_EQ(getFile(path(std::string("copy/") + rel)), getFile(path(std::string("src/") + rel))) << rel;
    }

    EXPECT_EQ(run({"verify", path("out.dat"), path("copy")}), 0) << m_sErr.c_str();
    putFile(path("copy/Readme.TXT"), "changed");
    putFile(path("copy/extra.txt"), "x");
    EXPECT_EQ(run({"verify", path("out.dat"), path("copy")}), 1);
    EXPECT_STREQ(m_sErr.c_str(),
                 "differs: Readme.TXT\n"
                 "missing from the archive: extra.txt\n"
                 "grfpack: 2 differences\n");
}

TEST_F(GrfPackTest, ArchiveInsideThePackedFolderIsLeftOut) {
    putFile(path("src/a.txt"), "a");
    ASSERT_EQ(run({"pack", "-l", "1", path("src"), path("src/self.dat")}), 0) << m_sErr.c_str();
    ASSERT_EQ(run({"pack", path("src"), path("src/self.dat")}), 0) << m_sErr.c_str();
    Zep::ResourceFile archive(path("src/self.dat").c_str());
    EXPECT_EQ(archive.getEntryCount(), 1);
    EXPECT_TRUE(archive.exists("a.txt"));

    fs::create_directories(path("none"));
    ASSERT_EQ(run({"pack", path("none"), path("e.dat")}), 0) << m_sErr.c_str();
    ASSERT_EQ(run({"list", path("e.dat")}), 0);
    EXPECT_STREQ(m_sOut.c_str(), "0 entries, 0 bytes\n");
}

TEST_F(GrfPackTest, NamesDifferingOnlyInCaseAreRefused) {
    putFile(path("src/a.png"), "1");
    putFile(path("src/A.PNG"), "2");
    EXPECT_EQ(run({"pack", path("src"), path("x.dat")}), 1);
    EXPECT_STREQ(m_sErr.c_str(),
                 "grfpack: 'A.PNG' and 'a.png' differ only in case; the archive can serve only one of them\n");
    EXPECT_FALSE(fs::exists(path("x.dat")));
}

TEST_F(GrfPackTest, UsageAndErrors) {
    EXPECT_EQ(run({}), 2);
    EXPECT_EQ(std::string(m_sErr.c_str()).rfind("usage: grfpack pack", 0), 0u);
    EXPECT_EQ(run({"--help"}), 0);
    EXPECT_STREQ(m_sOut.c_str(), Zep::GrfPack::usageText().c_str());
    EXPECT_EQ(run({"frobnicate"}), 2);
    EXPECT_EQ(std::string(m_sErr.c_str()).rfind("grfpack: unknown command 'frobnicate'\nusage:", 0), 0u);
    EXPECT_EQ(run({"pack", "-l", "12", "a", "b"}), 2);
    EXPECT_EQ(std::string(m_sErr.c_str()).rfind("grfpack: bad level '12' (0..9)\n", 0), 0u);
    EXPECT_EQ(run({"pack", "only-one"}), 2);
    EXPECT_EQ(run({"list"}), 2);
    EXPECT_EQ(run({"extract", "a.dat"}), 2);

    EXPECT_EQ(run({"pack", path("missing"), path("m.dat")}), 1);
    EXPECT_STREQ(m_sErr.c_str(), ("grfpack: '" + path("missing") + "' is not a folder\n").c_str());
    EXPECT_EQ(run({"list", path("missing.dat")}), 1);
    EXPECT_STREQ(m_sErr.c_str(), ("grfpack: File::File : '" + path("missing.dat") + "' does not exist\n").c_str());
    putFile(path("junk.dat"), "not an archive");
    EXPECT_EQ(run({"extract", path("junk.dat"), path("out")}), 1);
    EXPECT_STREQ(m_sErr.c_str(), "grfpack: ResourceFile::ResourceFile : bad header\n");
}

// An archive whose names climb out of the target folder is refused before
// anything is written.
TEST_F(GrfPackTest, ExtractRefusesNamesLeavingTheFolder) {
    for (const char* evil : {"../evil.txt", "/abs.txt", "a/../../evil.txt", "a\\..\\..\\evil.txt", "a//b"}) {
        writeArchive("evil.dat", {"good.txt", evil});
        EXPECT_EQ(run({"extract", path("evil.dat"), path("target/inner")}), 1) << evil;
        EXPECT_EQ(std::string(m_sErr.c_str()),
                  std::string("grfpack: refusing to extract '") + evil + "': the name leaves the target folder\n");
        EXPECT_FALSE(fs::exists(path("target"))) << evil;
        EXPECT_FALSE(fs::exists(path("evil.txt"))) << evil;
    }
    writeArchive("win.dat", {"Data\\Win.txt"});  // backslash names extract into folders
    ASSERT_EQ(run({"extract", path("win.dat"), path("x")}), 0) << m_sErr.c_str();
    EXPECT_EQ(getFile(path("x/Data/Win.txt")), "win");
}
