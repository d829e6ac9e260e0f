#include <gtest/gtest.h>

#include <string>

#include "zep2/error.h"
#include "zep2/exclog.h"
#include "zep2/memstream.h"

namespace {

std::string textOf(Zep::MemStream& stream) {
    const char* p = static_cast<const char*>(stream.getBuffer());
    return p ? std::string(p, static_cast<size_t>(stream.length())) : std::string();
}

// Refuses every write by throwing, as a finished compressed stream does.
class ThrowingStream : public Zep::Stream {
public:
    int read(int, void*) override { return 0; }
    int write(int, const void*) override { throw Zep::BadStateException(".\\src\\probe", 1, "closed"); }
    int getPosition() override { return 0; }
    int setPosition(int) override { return 0; }
    int length() override { return 0; }
    bool supports(int nMode) override { return nMode == kWrite; }
};

class ExceptionLogTest : public ::testing::Test {
protected:
    void TearDown() override { Zep::setExceptionLog(nullptr); }
};

}  // namespace

TEST_F(ExceptionLogTest, OffByDefault) {
    EXPECT_TRUE(Zep::getExceptionLog().isNULL());
    Zep::BadParmException e(".\\src\\helpers", 12, "abc");
    EXPECT_STREQ(e.getMessage(), "abc");
}

TEST_F(ExceptionLogTest, WritesTheReportBlock) {
    Zep::SmartPtr<Zep::MemStream> log(new Zep::MemStream());
    Zep::setExceptionLog(log);
    EXPECT_EQ(Zep::getExceptionLog().get(), log.get());
    { Zep::BadParmException e(".\\src\\helpers", 12, "abc"); }
    EXPECT_EQ(textOf(*log),
              "---------------------\n"
              "Exception in file .\\src\\helpers, line 12 : \n"
              "abc\n"
              "---------------------\n");
}


TEST_F(ExceptionLogTest, NullHandleStopsReportsAndReleasesTheStream) {
    Zep::SmartPtr<Zep::MemStream> log(new Zep::MemStream());
    Zep::setExceptionLog(log);
    EXPECT_EQ(log->getRefCount(), 2);
    Zep::setExceptionLog(nullptr);
    EXPECT_EQ(log->getRefCount(), 1);
    { Zep::BadStateException e(".\\src\\y", 1, "quiet"); }
    EXPECT_EQ(log->length(), 0);
    EXPECT_TRUE(Zep::getExceptionLog().isNULL());
}

TEST_F(ExceptionLogTest, FailingLogStreamDoesNotReplaceTheException) {
    Zep::setExceptionLog(Zep::SmartPtr<Zep::Stream>(new ThrowingStream()));
    try {
        throw Zep::ResourceException(".\\src\\z", 9, "original");
    } catch (const Zep::ResourceException& e) {
        EXPECT_STREQ(e.getMessage(), "original");
    }
}
