#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "zep2/error.h"
#include "zep2/grfpack_lib.h"
#include "zep2/memstream.h"
#include "zep2/resource.h"
#include "zep2/resourcefile.h"
#include "zep2/zstream.h"

namespace fs = std::filesystem;
using Zep::String;

namespace {

class GrfPackTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = ::testing::TempDir() + "zep_grfpack_XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_sDir = pattern;
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(m_sDir, ec);
    }
    std::string path(const std::string& rel) const { return m_sDir + "/" + rel; }
    void writeFile(const std::string& rel, const std::string& bytes) {
        fs::create_directories(fs::path(path(rel)).parent_path());
        std::ofstream out(path(rel), std::ios::binary);
        out << bytes;
    }
    static std::string readFile(const std::string& p) {
        std::ifstream in(p, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    int run(std::initializer_list<std::string> args) {
        std::vector<const char*> argv{"grfpack"};
        for (const std::string& a : args) argv.push_back(a.c_str());
        m_sOut = "";
        m_sErr = "";
        return Zep::GrfPack::runTool(static_cast<int>(argv.size()), argv.data(), m_sOut, m_sErr);
    }
    // A folder with nested files, an empty file, a file past one copy chunk
    // and every byte value.
    void makeContent() {
        std::string big;
        for (int i = 0; i < 150000; ++i) big += static_cast<char>((i * 7919) % 251);
        std::string all;
        for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
        writeFile("src/Readme.TXT", "hello\r\n");
        writeFile("src/Images/Pic.PNG", all);
        writeFile("src/Images/deep/big.bin", big);
        writeFile("src/empty", "");
    }

    std::string m_sDir;
    String m_sOut;
    String m_sErr;
};

}  // namespace

TEST_F(GrfPackTest, CollectsRelativeSlashNamesSorted) {
    makeContent();
    Zep::List<String> names = Zep::GrfPack::collectFiles(path("src").c_str(), nullptr);
    ASSERT_EQ(names.getCount(), 4);
    EXPECT_STREQ(names[0].c_str(), "Images/Pic.PNG");
    EXPECT_STREQ(names[1].c_str(), "Images/deep/big.bin");
    EXPECT_STREQ(names[2].c_str(), "Readme.TXT");
    EXPECT_STREQ(names[3].c_str(), "empty");
}

TEST_F(GrfPackTest, PackListExtractVerifyRoundTrip) {
    makeContent();
    ASSERT_EQ(run({"pack", path("src"), path("out.dat")}), 0) << m_sErr.c_str();
    EXPECT_EQ(std::string(m_sOut.c_str()).rfind("packed 4 files (", 0), 0u) << m_sOut.c_str();

    // The game finds the entries by their lower-cased relative names.
    {
        Zep::ResourceFile archive(path("out.dat").c_str());
        EXPECT_TRUE(archive.exists("images/pic.png"));
        EXPECT_TRUE(archive.exists("Images/deep/BIG.bin"));
        EXPECT_TRUE(archive.exists("readme.txt"));
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
        EXPECT_EQ(readFile(path(std::string("copy/") + rel)), readFile(path(std::string("src/") + rel))) << rel;
    }

    EXPECT_EQ(run({"verify", path("out.dat"), path("copy")}), 0) << m_sErr.c_str();
    writeFile("copy/Readme.TXT", "changed");
    writeFile("copy/extra.txt", "x");
    EXPECT_EQ(run({"verify", path("out.dat"), path("copy")}), 1);
    EXPECT_STREQ(m_sErr.c_str(),
                 "differs: Readme.TXT\n"
                 "missing from the archive: extra.txt\n"
                 "grfpack: 2 differences\n");
}

TEST_F(GrfPackTest, ArchiveInsideThePackedFolderIsLeftOut) {
    writeFile("src/a.txt", "a");
    ASSERT_EQ(run({"pack", "-l", "1", path("src"), path("src/self.dat")}), 0) << m_sErr.c_str();
    ASSERT_EQ(run({"pack", path("src"), path("src/self.dat")}), 0) << m_sErr.c_str();
    Zep::ResourceFile archive(path("src/self.dat").c_str());
    EXPECT_EQ(archive.getEntryCount(), 1);
    EXPECT_TRUE(archive.exists("a.txt"));
}

TEST_F(GrfPackTest, EmptyFolderMakesAnEmptyArchive) {
    fs::create_directories(path("none"));
    ASSERT_EQ(run({"pack", path("none"), path("e.dat")}), 0) << m_sErr.c_str();
    ASSERT_EQ(run({"list", path("e.dat")}), 0);
    EXPECT_STREQ(m_sOut.c_str(), "0 entries, 0 bytes\n");
}

TEST_F(GrfPackTest, NamesDifferingOnlyInCaseAreRefused) {
    writeFile("src/a.png", "1");
    writeFile("src/A.PNG", "2");
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
    EXPECT_EQ(run({"pack", "only-one"}), 2);
    EXPECT_EQ(run({"pack", "-l", "12", "a", "b"}), 2);
    EXPECT_EQ(std::string(m_sErr.c_str()).rfind("grfpack: bad level '12' (0..9)\n", 0), 0u);
    EXPECT_EQ(run({"list"}), 2);
    EXPECT_EQ(run({"extract", "a.dat"}), 2);

    EXPECT_EQ(run({"pack", path("missing"), path("m.dat")}), 1);
    EXPECT_STREQ(m_sErr.c_str(), ("grfpack: '" + path("missing") + "' is not a folder\n").c_str());
    EXPECT_EQ(run({"list", path("missing.dat")}), 1);
    EXPECT_STREQ(m_sErr.c_str(), ("grfpack: File::File : '" + path("missing.dat") + "' does not exist\n").c_str());
    writeFile("junk.dat", "not an archive");
    EXPECT_EQ(run({"extract", path("junk.dat"), path("out")}), 1);
    EXPECT_STREQ(m_sErr.c_str(), "grfpack: ResourceFile::ResourceFile : bad header\n");
}

// An archive whose names climb out of the target folder is refused before
// anything is written.
TEST_F(GrfPackTest, ExtractRefusesNamesLeavingTheFolder) {
    for (const char* evil : {"../evil.txt", "/abs.txt", "a/../../evil.txt", "a\\..\\..\\evil.txt", "a//b"}) {
        Zep::SmartPtr<Zep::MemStream> out(new Zep::MemStream());
        {
            Zep::ResourceFileCompiler compiler{Zep::SmartPtr<Zep::Stream>(out)};
            compiler.writeHeader();
            const char data[] = "x";
            Zep::SmartPtr<Zep::MemStream> good(new Zep::MemStream(data, 1));
            compiler.add(good.get(), "good.txt");
            Zep::SmartPtr<Zep::MemStream> bad(new Zep::MemStream(data, 1));
            compiler.add(bad.get(), evil);
            compiler.finish();
        }
        {
            std::ofstream file(path("evil.dat"), std::ios::binary);
            file.write(static_cast<const char*>(out->getBuffer()), out->length());
        }
        EXPECT_EQ(run({"extract", path("evil.dat"), path("target/inner")}), 1) << evil;
        EXPECT_STREQ(m_sErr.c_str(),
                     (std::string("grfpack: refusing to extract '") + evil + "': the name leaves the target folder\n")
                         .c_str());
        EXPECT_FALSE(fs::exists(path("target"))) << evil;
        EXPECT_FALSE(fs::exists(path("evil.txt"))) << evil;
    }
}

TEST_F(GrfPackTest, BackslashNamesExtractIntoFolders) {
    Zep::SmartPtr<Zep::MemStream> out(new Zep::MemStream());
    {
        Zep::ResourceFileCompiler compiler{Zep::SmartPtr<Zep::Stream>(out)};
        compiler.writeHeader();
        const char data[] = "win";
        Zep::SmartPtr<Zep::MemStream> src(new Zep::MemStream(data, 3));
        compiler.add(src.get(), "Data\\Win.txt");
        compiler.finish();
    }
    {
        std::ofstream file(path("win.dat"), std::ios::binary);
        file.write(static_cast<const char*>(out->getBuffer()), out->length());
    }
    ASSERT_EQ(run({"extract", path("win.dat"), path("x")}), 0) << m_sErr.c_str();
    EXPECT_EQ(readFile(path("x/Data/Win.txt")), "win");
}
