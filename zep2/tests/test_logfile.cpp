#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "test_util.h"
#include "zep2/file.h"
#include "zep2/logfile.h"
#include "zep2/zstream.h"

using Zep::LogFile;
using testutil::getFile;
using testutil::messageOf;

TEST(LogFile, AppendsAndHoldsNothingOpen) {
    testutil::TempFolder tmp;
    const std::string name = tmp.path("tuk.log");
    LogFile log(name.c_str());
    EXPECT_FALSE(std::filesystem::exists(name));
    EXPECT_EQ(log.write(6, "first\n"), 6);
    EXPECT_TRUE(log.writeText("second\n"));
    EXPECT_EQ(getFile(name), "first\nsecond\n");
    EXPECT_EQ(log.length(), 13);
    EXPECT_STREQ(log.getFileName().c_str(), name.c_str());
    EXPECT_FALSE(log.hasError());
    // Deleted between writes: only the second write is there.
    EXPECT_EQ(Zep::File::remove(name.c_str()), 0);
    log.writeText("two\n");
    EXPECT_EQ(getFile(name), "two\n");

    LogFile lost(tmp.path("missing/folder.log").c_str());
    EXPECT_EQ(lost.write(3, "abc"), 0);
    EXPECT_EQ(lost.length(), 0);
    EXPECT_TRUE(lost.hasError());
}

TEST(LogFile, RefusesReadsAndSeeks) {
    LogFile log("unused.log");
    char c;
    EXPECT_EQ(messageOf<Zep::BadStateException>([&] { log.read(1, &c); }),
              "Zep::LogFile::read : LogFiles can't be read");
    EXPECT_EQ(messageOf<Zep::BadStateException>([&] { log.getPosition(); }),
              "Zep::LogFile::read : LogFiles can't be seeked");
    EXPECT_EQ(messageOf<Zep::BadStateException>([&] { log.setPosition(0); }),
              "Zep::LogFile::read : LogFiles can't be seeked");
    EXPECT_TRUE(log.supports(2));
    EXPECT_FALSE(log.supports(1) || log.supports(3));
    EXPECT_TRUE(log.atEnd());
    try {
        log.read(1, &c);
    } catch (const Zep::Exception& e) {
        const std::string file = e.getFile();
        EXPECT_EQ(file.substr(file.size() - 7), "logfile");
    }
}

TEST(LogFile, CarriesACompressedStream) {
    testutil::TempFolder tmp;
    const std::string name = tmp.path("packed.log");
    {
        LogFile log(name.c_str());
        EXPECT_TRUE(Zep::ZStream(&log, 9).writeString("packed report"));
    }
    Zep::File f(name.c_str(), 1);
    EXPECT_STREQ(Zep::ZStream(&f).readString().c_str(), "packed report");
}
