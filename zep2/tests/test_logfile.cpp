#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "zep2/error.h"
#include "zep2/file.h"
#include "zep2/logfile.h"
#include "zep2/zstream.h"

using Zep::LogFile;
namespace fs = std::filesystem;

namespace {

class LogFolder {
public:
    LogFolder() {
        std::string sTemplate = ::testing::TempDir() + "zeplogXXXXXX";
        std::vector<char> buf(sTemplate.begin(), sTemplate.end());
        buf.push_back(0);
        EXPECT_NE(::mkdtemp(buf.data()), nullptr);
        m_sPath = buf.data();
    }
    ~LogFolder() {
        std::error_code ec;
        fs::remove_all(m_sPath, ec);
    }
    std::string path(const std::string& sName) const { return m_sPath + "/" + sName; }

private:
    std::string m_sPath;
};

std::string contents(const std::string& sPath) {
    std::ifstream f(sPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

template <class Fn>
std::string badState(Fn fn) {
    try {
        fn();
    } catch (const Zep::BadStateException& e) {
        return e.getMessage();
    }
    return "<no exception>";
}

}  // namespace

TEST(LogFileWrite, AppendsAndHoldsNothingOpen) {
    LogFolder tmp;
    std::string name = tmp.path("tuk.log");
    LogFile log(name.c_str());
    EXPECT_FALSE(fs::exists(name));
    EXPECT_EQ(log.length(), 0);
    EXPECT_EQ(log.write(6, "first\n"), 6);
    EXPECT_TRUE(log.writeText("second\n"));
    EXPECT_EQ(contents(name), "first\nsecond\n");
    EXPECT_EQ(log.length(), 13);
    EXPECT_STREQ(log.getFileName().c_str(), name.c_str());
    EXPECT_FALSE(log.hasError());
}

TEST(LogFileWrite, DeletedBetweenWritesKeepsOnlyTheSecond) {
    LogFolder tmp;
    std::string name = tmp.path("tuk.log");
    LogFile log(name.c_str());
    log.writeText("one\n");
    EXPECT_EQ(Zep::File::remove(name.c_str()), 0);
    log.writeText("two\n");
    EXPECT_EQ(contents(name), "two\n");
}

TEST(LogFileWrite, UnopenableFileWritesNothing) {
    LogFolder tmp;
    LogFile log(tmp.path("missing/folder.log").c_str());
    EXPECT_EQ(log.write(3, "abc"), 0);
    EXPECT_EQ(log.length(), 0);
    EXPECT_TRUE(log.hasError());
}

TEST(LogFileModes, RefusesReadsAndSeeks) {
    LogFolder tmp;
    LogFile log(tmp.path("x.log").c_str());
    char c;
    EXPECT_EQ(badState([&] { log.read(1, &c); }), "Zep::LogFile::read : LogFiles can't be read");
    EXPECT_EQ(badState([&] { log.getPosition(); }), "Zep::LogFile::read : LogFiles can't be seeked");
    EXPECT_EQ(badState([&] { log.setPosition(0); }), "Zep::LogFile::read : LogFiles can't be seeked");
    EXPECT_TRUE(log.supports(2));
    EXPECT_FALSE(log.supports(1));
    EXPECT_FALSE(log.supports(3));
    EXPECT_TRUE(log.atEnd());
    try {
        log.read(1, &c);
    } catch (const Zep::Exception& e) {
        std::string file = e.getFile();
        EXPECT_EQ(file.substr(file.size() - 7), "logfile");
    }
}

TEST(LogFileModes, CarriesACompressedStream) {
    LogFolder tmp;
    std::string name = tmp.path("packed.log");
    {
        LogFile log(name.c_str());
        Zep::ZStream z(&log, 9);
        EXPECT_TRUE(z.writeString("packed report"));
    }
    Zep::File f(name.c_str(), 1);
    Zep::ZStream z(&f);
    EXPECT_STREQ(z.readString().c_str(), "packed report");
}
