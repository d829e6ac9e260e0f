#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "test_util.h"
#include "zep2/exclog.h"
#include "zep2/str.h"

namespace {

constexpr const char* kZepSource = ".\\tests\\trace";

void innermost() {
    ZEP_TRACE("innermost");
    Zep::ScopeTrace::setDetail("loading a.png");
    ZEP_THROW(Zep::BadParmException, "bad value");
}

void middle() {
    ZEP_TRACE("middle");
    innermost();
}

void outer() {
    ZEP_TRACE("outer");
    middle();
}

int recurse(int n) {
    ZEP_TRACE("recurse");
    Zep::ScopeTrace::setDetail("deep");
    Zep::ScopeTrace::appendDetail("er");
    if (n == 0) return Zep::traceDepth();
    return recurse(n - 1);
}

}  // namespace

TEST(ScopeTrace, SnapshotNamesTheThrowerAndDepthUnwinds) {
    ZEP_TRACE("catcher");
    int level = Zep::traceDepth();
    try {
        outer();
        FAIL() << "no exception";
    } catch (Zep::Exception& e) {
        EXPECT_EQ(Zep::traceDepth(), level);
        const Zep::TraceSnapshot& snap = e.getSnapshot();
        ASSERT_EQ(snap.getDepth(), level + 3);
        EXPECT_STREQ(snap.entryText(snap.getDepth() - 1), "$innermost");
        EXPECT_STREQ(snap.getDetail(snap.getDepth() - 1), "loading a.png");
        EXPECT_STREQ(snap.entryText(snap.getDepth() - 3), "$outer");
        EXPECT_STREQ(snap.entryText(level - 1), "$catcher");
        EXPECT_STREQ(e.className(), "BadParmException");
        EXPECT_STREQ(e.getMessage(), "bad value");
        EXPECT_STREQ(e.getFile(), ".\\tests\\trace");
        EXPECT_GT(e.getLine(), 0);
        // Outside the table and below it the text is empty.
        EXPECT_STREQ(snap.entryText(snap.getDepth()), "");
        EXPECT_STREQ(snap.entryText(-1), "");
    }
}

TEST(ScopeTrace, EmptyStackGivesEmptySnapshot) {
    ASSERT_EQ(Zep::traceDepth(), 0);
    Zep::FatalErrorException e("f", 1, "m");
    EXPECT_EQ(e.getSnapshot().getDepth(), 0);
    EXPECT_STREQ(e.getSnapshot().entryText(0), "");
}

TEST(ScopeTrace, DetailIsCappedAt255Characters) {
    ZEP_TRACE("detail");
    std::string longText(300, 'x');
    Zep::ScopeTrace::setDetail(longText.c_str());
    Zep::TraceSnapshot snap;
    EXPECT_EQ(std::strlen(snap.getDetail(snap.getDepth() - 1)), 255u);

    // Appending never lets the whole detail outgrow the entry.
    Zep::ScopeTrace::setDetail(std::string(200, 'a').c_str());
    Zep::ScopeTrace::appendDetail(std::string(200, 'b').c_str());
    Zep::TraceSnapshot snap2;
    std::string detail = snap2.getDetail(snap2.getDepth() - 1);
    EXPECT_EQ(detail.size(), 255u);
    EXPECT_EQ(detail, std::string(200, 'a') + std::string(55, 'b'));
}

TEST(ScopeTrace, DetailDiesWithItsEntryAndDeepStacksAreSafe) {
    {
        ZEP_TRACE("first");
        Zep::ScopeTrace::setDetail("old");
    }
    {
        ZEP_TRACE("second");
        Zep::TraceSnapshot snap;
        EXPECT_STREQ(snap.getDetail(snap.getDepth() - 1), "");
    }
    // 3,000 levels: the levels past the table are counted but not recorded.
    EXPECT_EQ(recurse(3000), 3001);
    EXPECT_EQ(Zep::traceDepth(), 0);
    struct Deep {
        static void go(int n) {
            ZEP_TRACE("deep");
            if (n > 0) return go(n - 1);
            EXPECT_EQ(Zep::TraceSnapshot().getDepth(), Zep::kTraceCapacity);
        }
    };
    Deep::go(2500);
    ZEP_TRACE("after");
    EXPECT_EQ(Zep::TraceSnapshot().getDepth(), 1);
}

TEST(Exception, SetMessageAndRethrowReachesTheNextHandler) {
    try {
        try {
            ZEP_THROW(Zep::FatalErrorException, "first");
        } catch (Zep::Exception& e) {
            e.setMessage(Zep::String::format("%s at line %d", e.getMessage(), 7).c_str());
            throw;
        }
    } catch (Zep::FatalErrorException& e) {
        EXPECT_STREQ(e.getMessage(), "first at line 7");
    }
}

TEST(Exception, AssertionMessageIsTheExpressionText) {
    int nLevel = -1;
    EXPECT_EQ(testutil::describe([&] { ZEP_ASSERT(nLevel >= 0); }),
              "AssertFailException [.\\tests\\trace]: Assertion failed : nLevel >= 0");
}

TEST(Exception, ClassNamesAndCopies) {
    EXPECT_STREQ(AnimationParserException("f", 1, "").className(), "AnimationParserException");
    ZEP_TRACE("copy");
    Zep::ResourceException original("file", 12, "msg");
    Zep::ResourceException copy(original);
    EXPECT_STREQ(copy.className(), "ResourceException");
    EXPECT_STREQ(copy.getMessage(), "msg");
    EXPECT_STREQ(copy.getFile(), "file");
    EXPECT_EQ(copy.getLine(), 12);
    EXPECT_EQ(copy.getSnapshot().getDepth(), original.getSnapshot().getDepth());
    EXPECT_NE(copy.getMessage(), original.getMessage());
}

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
