#include <gtest/gtest.h>

#include <string>

#include "test_util.h"
#include "zep2/exclog.h"

namespace {

// Refuses every write by throwing, as a finished compressed stream does.
class ThrowingStream : public testutil::ScriptStream {
public:
    int write(int, const void*) override { throw Zep::BadStateException(".\\src\\probe", 1, "closed"); }
};

class ExceptionLogTest : public ::testing::Test {
protected:
    void TearDown() override { Zep::setExceptionLog(nullptr); }
};

}  // namespace

TEST_F(ExceptionLogTest, WritesTheReportBlockUntilSetToNull) {
    EXPECT_TRUE(Zep::getExceptionLog().isNULL());
    Zep::SmartPtr<Zep::MemStream> log(new Zep::MemStream());
    Zep::setExceptionLog(log);
    EXPECT_EQ(Zep::getExceptionLog().get(), log.get());
    EXPECT_EQ(log->getRefCount(), 2);
    { Zep::BadParmException e(".\\src\\helpers", 12, "abc"); }
    const testutil::Bytes report = testutil::bytesOf(*log);
    EXPECT_EQ(std::string(report.begin(), report.end()),
              "---------------------\n"
              "Exception in file .\\src\\helpers, line 12 : \n"
              "abc\n"
              "---------------------\n");

    // A null handle stops the reports and releases the stream.
    Zep::setExceptionLog(nullptr);
    EXPECT_EQ(log->getRefCount(), 1);
    { Zep::BadStateException e(".\\src\\y", 1, "quiet"); }
    EXPECT_EQ(log->length(), static_cast<int>(report.size()));
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
