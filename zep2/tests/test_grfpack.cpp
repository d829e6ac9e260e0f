#include <sys/wait.h>

#include <numeric>
#include <set>

#include <zep2/grfpack_lib.h>
#include <zep2/resourcefile.h>

#include "test_util.h"

namespace fs = std::filesystem;
using namespace testutil;
using namespace Zep::GrfPack;

namespace {
class GrfPackTest : public ::testing::Test {
protected:
    std::string path(const std::string& rel) const { return m_tmp.path(rel); }
    static std::string quoted(const std::string& s) { return "'" + s + "'"; }
    // Every file under the scratch folder, relative to it, sorted.
    std::string tree() const {
        std::set<std::string> names;
        for (const auto& e : fs::recursive_directory_iterator(m_tmp.root()))
            names.insert(fs::relative(e.path(), m_tmp.root()).string() + (e.is_directory() ? "/ " : " "));
        return std::accumulate(names.begin(), names.end(), std::string());
    }
    // An archive written by the compiler, each entry holding its own name.
    std::string writeArchive(const std::string& rel, std::initializer_list<const char*> names) {
        Zep::SmartPtr<Zep::MemStream> out(new Zep::MemStream());
        Zep::SmartPtr<Zep::ResourceFileCompiler> compiler(new Zep::ResourceFileCompiler(out));
        compiler->writeHeader();
        for (const char* name : names) {
            Zep::SmartPtr<Zep::MemStream> src(new Zep::MemStream(name, static_cast<int>(std::strlen(name))));
            compiler->add(src.get(), name);
        }
        compiler->finish();
        putFile(path(rel), testutil::bytesOf(*out));
        return path(rel);
    }
    // Runs a tool built beside the test program: exit status, output, errors.
    struct Run { int nStatus; std::string sOut, sErr; };
    Run run(const char* tool, const std::vector<std::string>& args) const {
        const std::string sTool = (fs::read_symlink("/proc/self/exe").parent_path() / tool).string();
        std::string command = "'" + sTool + "'";
        for (const std::string& arg : args) command += " '" + arg + "'";
        const int n = std::system((command + " >" + path("o") + " 2>" + path("e") + " </dev/null").c_str());
        return {WIFEXITED(n) ? WEXITSTATUS(n) : -1, getFile(path("o")), getFile(path("e"))};
    }
    testutil::TempFolder m_tmp;
};
}  // namespace

TEST_F(GrfPackTest, PackListExtractVerifyRoundTrip) {
    // Nested files, an empty file, a file past one copy chunk and every byte value.
    std::string big, all;
    for (int i = 0; i < 150000; ++i) big += static_cast<char>((i * 7919) % 251);
    for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
    const std::vector<std::pair<std::string, std::string>> files = {
        {"Readme.TXT", "hello\r\n"}, {"Images/Pic.PNG", all}, {"Images/deep/big.bin", big}, {"empty", ""}};
    for (const auto& [rel, bytes] : files) putFile(path("src/" + rel), bytes);
    putFile(path("out.dat"), "the previous archive is replaced");
    const PackResult packed = packFolder(path("src").c_str(), path("out.dat").c_str(), 9);
    ASSERT_TRUE(packed.ok()) << packed.sError.c_str();
    EXPECT_TRUE(packed.nEntries == 4 && packed.nInputBytes == 150263 &&
                packed.nArchiveBytes == static_cast<int64_t>(fs::file_size(path("out.dat"))));
    EXPECT_STREQ(listArchive(path("out.dat").c_str()).sListing.c_str(),
                 "       256  Images/Pic.PNG\n"
                 "    150000  Images/deep/big.bin\n"
                 "         7  Readme.TXT\n"
                 "         0  empty\n"
                 "4 entries, 150263 bytes\n");
    EXPECT_EQ(extractArchive(path("out.dat").c_str(), path("copy").c_str()).nWritten, 4);
    for (const auto& [rel, bytes] : files) EXPECT_EQ(getFile(path("copy/" + rel)), bytes) << rel;
    EXPECT_EQ(verifyArchive(path("out.dat").c_str(), path("copy").c_str()).lDifferences.getCount(), 0);
    putFile(path("copy/Readme.TXT"), "changed");
    putFile(path("copy/extra.txt"), "x");
    fs::remove(path("copy/empty"));
    EXPECT_STREQ(verifyArchive(path("out.dat").c_str(), path("copy").c_str()).lDifferences.join("|").c_str(),
                 "differs: Readme.TXT|missing from the folder: empty|missing from the archive: extra.txt");
}

// A failed pack says why and leaves the previous archive and nothing else.
TEST_F(GrfPackTest, FailedPackKeepsThePreviousArchive) {
    for (const char* rel : {"src/a.png", "case/a.png", "case/A.PNG"}) putFile(path(rel), "1");
    putFile(path("old.dat"), "previous");
    fs::create_directories(path("folder.dat"));
    const std::string src = path("src"), old = path("old.dat");
    const struct { std::string folder, archive; int nLevel; std::string error; } cases[] = {
        {path("case"), old, 9, "'A.PNG' and 'a.png' differ only in case; the archive can serve only one of them"},
        {src, src + "/x", 9, "refusing to write the archive '" + src + "/x' inside the folder being packed"},
        {path("missing"), old, 9, quoted(path("missing")) + " does not exist"},
        {old, old, 9, "'" + old + "' is not a folder"},
        {src, path("folder.dat"), 9, quoted(path("folder.dat")) + " is a folder"},
        {src, path("none/x.dat"), 9, "can't write '" + path("none/x.dat") + "': No such file or directory"},
        {src, old, 10, "deflate level 10 is not -1 or 0..9"},
        {src, "", 9, "no archive name"}};
    for (const auto& c : cases) {
        EXPECT_STREQ(packFolder(c.folder.c_str(), c.archive.c_str(), c.nLevel).sError.c_str(), c.error.c_str());
        EXPECT_EQ(getFile(old), "previous");
        EXPECT_EQ(tree(), "case/ case/A.PNG case/a.png folder.dat/ old.dat src/ src/a.png ");
    }
}

// Names leaving the target folder, a damaged entry, a folder in the way: the extraction stops
// with a reason, removes what it wrote and keeps what was there. Backslashes are separators.
TEST_F(GrfPackTest, FailedExtractLeavesNothingBehind) {
    auto failure = [&](const std::string& archive, const char* folder) {
        return std::string(extractArchive(archive.c_str(), path(folder).c_str()).sError.c_str());
    };
    for (const char* evil : {"../evil.txt", "/abs.txt", "a/../../evil.txt", "a\\..\\..\\evil.txt", "a//b"})
        EXPECT_EQ(failure(writeArchive("evil.dat", {"good.txt", evil}), "t/x"),
                  std::string("refusing to extract '") + evil + "': the name leaves the target folder");
    EXPECT_EQ(failure(writeArchive("conflict.dat", {"a", "a/b"}), "t"),
              "can't extract 'a': the archive also holds entries inside it");
    putFile(path("t/a.txt"), "kept");
    std::string bytes = getFile(writeArchive("damaged.dat", {"a.txt", "n/e/w.txt", "z.txt"}));
    bytes[static_cast<uint8_t>(bytes[8]) - 1] ^= 0x01;  // the checksum of "z.txt", the last entry
    putFile(path("damaged.dat"), bytes);
    EXPECT_EQ(failure(path("damaged.dat"), "t"), "damaged archive: entry 'z.txt' is damaged or cut short");
    fs::create_directories(path("t/m.txt"));
    EXPECT_EQ(failure(writeArchive("fine.dat", {"a.txt", "m.txt"}), "t"),
              "can't extract 'm.txt': '" + path("t/m.txt") + "' is a folder");
    EXPECT_EQ(tree(), "conflict.dat damaged.dat evil.dat fine.dat t/ t/a.txt t/m.txt/ ");
    EXPECT_EQ(getFile(path("t/a.txt")), "kept");
    EXPECT_EQ(failure(writeArchive("win.dat", {"Data\\Win.txt"}), "x"), "");
    EXPECT_EQ(getFile(path("x/Data/Win.txt")), "Data\\Win.txt");
}

// Exit status 0 done, 1 failed, 2 bad usage. What can't be read is named in
// words; a damaged archive says so, whether its header, an entry or its index
// (cut by any number of bytes) is hit.
TEST_F(GrfPackTest, CommandLine) {
    putFile(path("src/a.txt"), "a");
    putFile(path("other/b.txt"), "b");
    fs::create_directories(path("dir.dat"));
    putFile(path("junk"), "not an archive");
    const std::string good = getFile(writeArchive("good.dat", {"one.txt", "two.txt"}));
    putFile(path("v2.dat"), good.substr(0, 7) + "\x02" + good.substr(8));
    putFile(path("flip.dat"), good.substr(0, 13) + static_cast<char>(good[13] ^ 0x40) + good.substr(14));
    const std::string dat = path("a.dat"), usage = "usage: grfpack pack [-l LEVEL] FOLDER ARCHIVE.dat\n";
    const std::string damaged = "grfpack: damaged archive: ";
    std::vector<std::tuple<std::vector<std::string>, int, std::string, std::string>> cases = {
        {{}, 2, "", usage}, {{"--help"}, 0, usage, ""}, {{"list"}, 2, "", "grfpack: list needs an archive name\n"},
        {{"frobnicate"}, 2, "", "grfpack: unknown command 'frobnicate'\n" + usage},
        {{"pack", "-l", "12", "a", "b"}, 2, "", "grfpack: bad level '12' (0..9)\n" + usage},
        {{"pack", "-l"}, 2, "", "grfpack: -l needs a level\n"},
        {{"list", dat}, 1, "", "grfpack: '" + dat + "' does not exist\n"},
        {{"pack", "only-one"}, 2, "", "grfpack: pack needs a folder and an archive name\n"},
        {{"extract", "a.dat"}, 2, "", "grfpack: extract needs an archive name and a folder\n"},
        {{"list", path("dir.dat")}, 1, "", "grfpack: '" + path("dir.dat") + "' is a folder\n"},
        {{"list", path("junk")}, 1, "", damaged + "'" + path("junk") + "' does not start like a resource archive\n"},
        {{"list", path("v2.dat")}, 1, "", damaged + "'" + path("v2.dat") + "' is of an unknown format version\n"},
        {{"extract", path("flip.dat"), path("y")}, 1, "", damaged + "entry 'one.txt' is damaged or cut short\n"},
        {{"pack", "-l", "1", path("src"), dat}, 0, "packed 1 files (1 bytes) into " + dat + " (", ""},
        {{"list", dat}, 0, "         1  a.txt\n1 entries, 1 bytes\n", ""},
        {{"extract", dat, path("x")}, 0, "extracted 1 entries into " + path("x") + "\n", ""},
        {{"verify", dat, path("x")}, 0, dat + " matches " + path("x") + "\n", ""},
        {{"verify", dat, path("other")}, 1, "",
         "missing from the folder: a.txt\nmissing from the archive: b.txt\ngrfpack: 2 differences\n"}};
    for (const std::string n : {"1", "2", "8", "15", "16"}) {  // never taken for a shorter index
        putFile(path("cut" + n), good.substr(0, good.size() - std::stoul(n)));
        cases.push_back({{"verify", path("cut" + n), path("x")}, 1, "",
                         damaged + "the index of '" + path("cut" + n) + "' is damaged or cut short\n"});
    }
    for (const auto& [args, nStatus, out, err] : cases) {
        const Run r = run("grfpack", args);
        EXPECT_EQ(r.nStatus, nStatus) << r.sErr;
        // Each expected text is the start of what came; an empty one means nothing came.
        EXPECT_EQ(r.sOut.substr(0, out.empty() ? std::string::npos : out.size()), out);
        EXPECT_EQ(r.sErr.substr(0, err.empty() ? std::string::npos : err.size()), err);
    }
    EXPECT_FALSE(fs::exists(path("y")));
}

TEST_F(GrfPackTest, ZcopyRoundTripListingAndRefusals) {
    const std::string file = path("f.txt"), dir = path("d");
    putFile(file, std::string(5000, 'z'));
    putFile(dir + "/sub/x", "");
    putFile(dir + "/y", "");
    Run r = run("zcopy", {"-l", "1", file, dir});
    EXPECT_TRUE(r.nStatus == 0 && r.sOut.rfind(file + ": 5000 bytes, deflated to ", 0) == 0) << r.sOut << r.sErr;
    EXPECT_EQ(r.sOut.substr(r.sOut.find(", round trip")), ", round trip ok\n" + dir + ": 2 entries\n  d sub\n  f y\n");
    const std::pair<std::vector<std::string>, std::string> refused[] = {
        {{"-l", "x", file}, "bad level 'x' (0..9)"}, {{"-l", "10", file}, "bad level '10' (0..9)"},
        {{dir}, "'" + dir + "' is a folder"},
        {{file, path("nope")}, quoted(path("nope")) + " does not exist"},
        {{file, file}, "'" + file + "' is not a folder"}};
    for (const auto& [args, error] : refused) {
        r = run("zcopy", args);
        EXPECT_TRUE(r.nStatus == 2 && r.sErr == "zcopy: " + error + "\n") << r.sErr;
    }
    EXPECT_FALSE(fs::exists(file + ".z"));
}
