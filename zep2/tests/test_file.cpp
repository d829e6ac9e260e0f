// Files, folder listings, log files and the file-system layer under them.

#include <cerrno>

#include <zep2/file.h>
#include <zep2/logfile.h>
#include <zep2/platform_fs.h>
#include <zep2/zstream.h>

#include "test_util.h"

using Zep::Directory;
using Zep::File;
using Zep::LogFile;
using Zep::SmartPtr;
using namespace testutil;
namespace fs = std::filesystem;
namespace pfs = Zep::platform_fs;

namespace {
std::string openError(const std::string& sName, int nMode) {
    return messageOf<Zep::FileAccessException>([&] { File f(sName.c_str(), nMode); });
}

using Listing = std::vector<std::pair<std::string, int>>;

Listing sortedListing(Directory& dir) {
    Listing out;
    for (int i = 0; i < dir.getEntryCount(); ++i)
        out.emplace_back(dir.getEntry(i)->m_sName.c_str(), dir.getEntry(i)->m_nType);
    std::sort(out.begin(), out.end());
    return out;
}
}  // namespace

TEST(FileOpen, ErrorMessagesAndModes) {
    TempFolder tmp;
    const std::string name = tmp.path("u.dat"), root = tmp.root(), deep = tmp.path("no/such/folder.dat");
    const std::pair<std::string, std::string> kErrors[] = {
        {openError(name, 1), "File::File : '" + name + "' does not exist"},
        {openError(root, 1), "File::File : '" + root + "' does not exist"},
        {openError(name, 4), "File::File : unknown mode '4'"}};  // unknown modes touch nothing
    for (const auto& [sGot, sExpected] : kErrors) EXPECT_EQ(sGot, sExpected);
    // Then the system's reason; a folder can't be opened for writing either.
    EXPECT_EQ(openError(deep, 2).rfind("File::File : can't open file " + deep + " (wb) [", 0), 0u);
    EXPECT_EQ(openError(root, 3).rfind("File::File : can't open file " + root + " (r+b) [", 0), 0u);
    EXPECT_TRUE(!fs::exists(name) && File(name.c_str(), 3).length() == 0);  // update mode creates a missing file
    putFile(name, "abcdef");
    {
        File f(name.c_str(), 3);  // and keeps existing bytes, mixing reads and writes
        char c[3] = {};
        EXPECT_TRUE(f.read(2, c) == 2 && f.write(2, "XY") == 2 && f.read(2, c) == 2 && f.supports(3) && !f.hasError());
        EXPECT_STREQ(c, "ef");
    }
    EXPECT_EQ(getFile(name), "abXYef");
    File reader(name.c_str(), 1);  // writing a read-only file is an error
    EXPECT_TRUE(reader.write(3, "xyz") == 0 && reader.hasError());
    EXPECT_TRUE(!File(name.c_str(), 2).supports(1) && fs::file_size(name) == 0);  // write mode truncates
}

TEST(FileIo, PositionLengthLinesReadAllAndAFullDisk) {
    TempFolder tmp;
    const std::string name = tmp.path("l.dat");
    putFile(name, "0123456789");
    {
        File f(name.c_str(), 1);
        EXPECT_EQ(f.setPosition(4), 0);
        EXPECT_EQ((std::vector<int>{f.length(), f.getPosition(), f.remaining(), f.readU8()}),
                  (std::vector<int>{10, 4, 6, '4'}));
        EXPECT_NE(f.setPosition(-1), 0);
        f.setPosition(6);
        Zep::String s("junk");
        EXPECT_TRUE(f.readAll(s) == 4 && s == "6789");  // from here
    }
    putFile(name, "a\r\nb\n" + std::string(5000, 'x'));
    {
        File f(name.c_str(), 1);  // CR LF is kept; a long line comes in pieces; "$" marks the end
        std::vector<std::string> lines(5);
        for (std::string& line : lines) {
            line = f.readLine().c_str();
            line += f.isEOF() ? "$" : "";
        }
        EXPECT_EQ(lines,
                  (std::vector<std::string>{"a\r\n", "b\n", std::string(4095, 'x'), std::string(905, 'x') + "$", "$"}));
    }
    putFile(name, std::string("ab\0cd", 5));
    Zep::String s;
    EXPECT_TRUE(File(name.c_str(), 1).readAll(s) == 5 && s == "ab");  // a NUL ends the text
    {
        File f(name.c_str(), 2);
        f.printf("%s=%d\n", "n", 42);
        f.writeU32(258);
        EXPECT_EQ(f.getPosition(), 9);
    }
    EXPECT_EQ(getFile(name), std::string("n=42\n\x02\x01\x00\x00", 9));
    // A full disk is reported.
    File f("/dev/full", 2);
    std::vector<char> data(100000, 'x');
    EXPECT_TRUE(f.write(static_cast<int>(data.size()), data.data()) < static_cast<int>(data.size()) && f.hasError());
    // A small write sits in the buffer; the error shows when it is flushed.
    File g("/dev/full", 2);
    EXPECT_TRUE(g.write(10, "0123456789") == 10 && !g.flush() && g.hasError());
    EXPECT_EQ(std::make_pair(f.getSystemError(), g.getSystemError()), std::make_pair(ENOSPC, ENOSPC));
}

TEST(FilePaths, BackslashesAndCaseFollowTheDataAndRenameReplaces) {
    TempFolder tmp;
    putFile(tmp.path("Data/Sub/File.txt"), "payload");
    const std::string name = tmp.root() + "\\data\\SUB\\file.TXT";
    EXPECT_TRUE(File::exists(name.c_str()));  // only for regular files
    EXPECT_FALSE(File::exists(nullptr) || File::exists("") || File::exists(tmp.root().c_str()) ||
                 File::exists(tmp.path("missing").c_str()));
    EXPECT_TRUE(File::remove(tmp.path("missing").c_str()) + File::remove(nullptr) == 0 &&
                File(name.c_str(), 1).readAll() == "payload");
    // Writing reuses the existing name rather than adding a second file.
    File((tmp.root() + "\\DATA\\sub\\FILE.txt").c_str(), 2).writeText("new");
    EXPECT_EQ(getFile(tmp.path("Data/Sub/File.txt")), "new");
    // A new file goes into the matching folder under the name as given.
    { File f((tmp.root() + "\\DATA\\sub\\Fresh.txt").c_str(), 2); }
    EXPECT_TRUE(fs::exists(tmp.path("Data/Sub/Fresh.txt")) &&
                File::remove((tmp.root() + "\\data\\sub\\fresh.TXT").c_str()) == 0 &&
                !fs::exists(tmp.path("Data/Sub/Fresh.txt")));
    // An exact match wins, else the smallest name in byte order.
    putFile(tmp.path("abc.txt"), "lower");
    putFile(tmp.path("ABC.txt"), "upper");
    auto resolve = [](const std::string& s) { return std::string(pfs::resolve(s.c_str()).c_str()); };
    EXPECT_EQ(resolve(tmp.path("abc.txt")) + resolve(tmp.path("Abc.txt")) + resolve(tmp.path("q/Abc.txt")),
              tmp.path("abc.txt") + tmp.path("ABC.txt") + tmp.path("q/Abc.txt"));
    EXPECT_TRUE(pfs::nativePath("a\\b\\c.dat") == "a/b/c.dat" && pfs::resolve(nullptr).isEmpty());

    EXPECT_EQ(pfs::renameFile((tmp.root() + "\\Abc.TXT").c_str(), (tmp.root() + "\\abc.txt").c_str()), 0);
    EXPECT_TRUE(getFile(tmp.path("abc.txt")) == "upper" && !fs::exists(tmp.path("ABC.txt")));
    EXPECT_EQ(pfs::renameFile(tmp.path("missing").c_str(), tmp.path("x").c_str()), -1);
}

TEST(AtomicReplace, OldFileStaysByteForByteUnlessEveryStepSucceeds) {
    TempFolder tmp;
    const std::string name = tmp.path("Save.dat"), temp = name + ".tmp";
    putFile(name, "old");
    auto writes = [](bool bResult) { return [bResult](File& f) { return f.writeText("new") && bResult; }; };
    EXPECT_EQ(pfs::atomicReplace(name.c_str(), writes(false)), EIO);
    fs::create_symlink("/dev/full", temp);  // a disk that is always full
    EXPECT_TRUE(pfs::atomicReplace(name.c_str(), writes(true)) == ENOSPC && !fs::exists(fs::symlink_status(temp)));
    EXPECT_THROW(pfs::atomicReplace(name.c_str(), [](File&) -> bool { throw Zep::BadStateException("t", 1, "x"); }),
                 Zep::BadStateException);
    putFile(temp + "/x", "");  // a temporary file that can't be created
    EXPECT_THROW(pfs::atomicReplace(name.c_str(), writes(true)), Zep::FileAccessException);
    fs::remove_all(temp);
    EXPECT_EQ(getFile(name), "old");
    EXPECT_THROW(pfs::atomicReplace(tmp.path("no/folder.dat").c_str(), writes(true)), Zep::FileAccessException);
    // The target is found without regard to case and replaced, not joined.
    EXPECT_EQ(pfs::atomicReplace((tmp.root() + "\\SAVE.DAT").c_str(), writes(true)), 0);
    EXPECT_TRUE(getFile(name) == "new" && !fs::exists(temp) && !fs::exists(tmp.path("SAVE.DAT")));
    // A rename that fails (a folder is in the way) also leaves nothing behind.
    putFile(tmp.path("dir.dat/x"), "");
    EXPECT_TRUE(pfs::atomicReplace(tmp.path("dir.dat").c_str(), writes(true)) == EISDIR &&
                !fs::exists(tmp.path("dir.dat.tmp")));
}

TEST(FolderHelpers, MoveAsideMakeProbeAndDetach) {
    TempFolder tmp;
    const std::string name = tmp.path("c.dat");
    fs::create_symlink("nowhere", name + ".bad.2");  // a dangling link still takes the name
    for (const std::string& sAside : {name + ".bad", name + ".bad.1", name + ".bad.3"}) {
        putFile(name, sAside);
        const Zep::String sMoved = pfs::moveAside((tmp.root() + "\\C.DAT").c_str(), ".bad");
        EXPECT_TRUE(sMoved == sAside.c_str() && getFile(sAside) == sAside) << sAside;
    }
    EXPECT_STREQ(pfs::moveAside(name.c_str(), ".bad").c_str(), "");  // nothing there
    const std::string folder = tmp.path("new"), probe = folder + "/p";
    EXPECT_TRUE(pfs::makeFolder(folder.c_str()) && !pfs::makeFolder(folder.c_str()));
    EXPECT_TRUE(pfs::probeNewFile(probe.c_str()) == 0 && !fs::exists(probe));
    putFile(probe, "mine");
    EXPECT_TRUE(pfs::probeNewFile(probe.c_str()) == EEXIST && getFile(probe) == "mine" &&
                pfs::probeNewFile(tmp.path("none/p").c_str()) == ENOENT);
    EXPECT_EXIT(
        {
            pfs::detachStandardStreams();
            std::fputs("lost", stderr);
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), ::testing::Eq(std::string()));
}

TEST(DirectoryListing, SortedEntriesWithTypesKeptUntilScanned) {
    TempFolder tmp;
    putFile(tmp.path("a.txt"), "a");
    putFile(tmp.path("sub/b.bin"), "b");
    fs::create_directory_symlink("sub", tmp.path("link"));  // a link counts as what it points to
    const Listing expected = {{".", 2}, {"..", 2}, {"a.txt", 1}, {"link", 2}, {"sub", 2}};
    Directory dir(tmp.root().c_str()), trailing((tmp.root() + "\\\\").c_str()), sub((tmp.root() + "\\SUB").c_str());
    EXPECT_TRUE(sortedListing(dir) == expected && sortedListing(trailing) == expected &&
                trailing.getPath() == tmp.root().c_str());
    EXPECT_EQ(sortedListing(sub), (Listing{{".", 2}, {"..", 2}, {"b.bin", 1}}));
    // Only backslashes means the current folder.
    Directory current("\\\\");
    EXPECT_STREQ(current.getPath().c_str(), "");
    const Listing all = sortedListing(current);
    EXPECT_NE(std::find(all.begin(), all.end(), std::make_pair(std::string("."), 2)), all.end());
    // An empty listing is read again; a listing is kept until scanned again.
    Directory later(tmp.path("later").c_str());
    EXPECT_TRUE(later.getEntryCount() == 0 && later.getEntry(0).isNULL());
    putFile(tmp.path("later/x"), "");
    EXPECT_EQ(sortedListing(later), (Listing{{".", 2}, {"..", 2}, {"x", 1}}));
    EXPECT_TRUE(later.getEntry(-1).isNULL() && later.getEntry(3).isNULL());
    putFile(tmp.path("later/y"), "");
    EXPECT_EQ(later.getEntries().getCount(), 3);
    later.scan();
    EXPECT_EQ(later.getEntryCount(), 4);
}

TEST(LogFile, AppendsHoldsNothingOpenCarriesACompressedStreamAndRefusesReadsAndSeeks) {
    TempFolder tmp;
    const std::string name = tmp.path("tuk.log");
    LogFile log(name.c_str());
    EXPECT_FALSE(fs::exists(name));  // nothing is written yet
    EXPECT_TRUE(log.write(6, "first\n") == 6 && log.writeText("second\n") && log.length() == 13 && !log.hasError());
    EXPECT_EQ(getFile(name), "first\nsecond\n");
    // Deleted between writes: only the second write is there.
    EXPECT_EQ(Zep::File::remove(name.c_str()), 0);
    log.writeText("two\n");
    EXPECT_EQ(getFile(name), "two\n");

    LogFile lost(tmp.path("missing/folder.log").c_str());
    EXPECT_TRUE(lost.write(3, "abc") + lost.length() == 0 && lost.hasError());

    const std::string packed = tmp.path("packed.log");
    {
        LogFile packedLog(packed.c_str());
        EXPECT_TRUE(Zep::ZStream(&packedLog, 9).writeString("packed report"));
    }
    File f(packed.c_str(), 1);
    EXPECT_STREQ(Zep::ZStream(&f).readString().c_str(), "packed report");
    // No reads or seeks.
    char c;
    EXPECT_EQ(testutil::describe([&] { log.read(1, &c); }),
              "BadStateException [.\\src\\logfile]: Zep::LogFile::read : LogFiles can't be read");
    for (auto seek : {+[](LogFile& l) { l.getPosition(); }, +[](LogFile& l) { l.setPosition(0); }})
        EXPECT_EQ(messageOf<Zep::BadStateException>([&] { seek(log); }),
                  "Zep::LogFile::read : LogFiles can't be seeked");
    EXPECT_TRUE(log.supports(2) && !log.supports(1) && !log.supports(3) && log.atEnd());
}
