#include <zep2/exclog.h>
#include <zep2/str.h>

#include "test_util.h"

namespace {
constexpr const char* kZepSource = ".\\tests\\trace";

// Nests `levels` traced calls below this one; the innermost checks that a
// snapshot records at most the table's capacity, then throws when asked to.
int nest(int levels, bool fail) {
    ZEP_TRACE(levels == 0 ? "innermost" : "nested");
    Zep::ScopeTrace::setDetail("loading");
    Zep::ScopeTrace::appendDetail(" a.png");
    if (levels > 0) return nest(levels - 1, fail);
    EXPECT_EQ(Zep::TraceSnapshot().getDepth(), std::min(Zep::traceDepth(), Zep::kTraceCapacity));
    if (fail) ZEP_THROW(Zep::BadParmException, "bad value");
    return Zep::traceDepth();
}
}  // namespace

TEST(ScopeTrace, SnapshotNamesTheThrowerAndDepthUnwinds) {
    EXPECT_EQ(Zep::FatalErrorException("f", 1, "m").getSnapshot().getDepth(), 0);  // empty stack
    ZEP_TRACE("catcher");
    try {
        nest(2, true);
        FAIL() << "no exception";
    } catch (Zep::Exception& e) {
        EXPECT_EQ(Zep::traceDepth(), 1);
        const Zep::TraceSnapshot& snap = e.getSnapshot();
        ASSERT_EQ(snap.getDepth(), 4);
        const std::pair<std::string, const char*> texts[] = {  // entryText reuses one buffer
            {snap.entryText(0), "$catcher"}, {snap.entryText(1), "$nested"}, {snap.entryText(3), "$innermost"},
            {snap.getDetail(3), "loading a.png"}, {snap.getFileName(3), ".\\tests\\trace"},
            {snap.getMessage(2), "nested"}, {snap.entryText(4), ""}, {snap.entryText(-1), ""},
            {snap.getMessage(4), ""}, {snap.getFileName(-1), ""}, {snap.getDetail(4), ""},
        };  // outside the table every text is empty
        for (const auto& [text, expected] : texts) EXPECT_EQ(text, expected);
        EXPECT_TRUE(snap.getLine(1) > 0 && snap.getFlag(1) == 1 && snap.getLine(4) == 0 && snap.getFlag(-1) == 0);
        EXPECT_EQ(std::string(e.className()) + ": " + e.getMessage() + " in " + e.getFile(),
                  "BadParmException: bad value in .\\tests\\trace");
        EXPECT_GT(e.getLine(), 0);
    }
}

TEST(ScopeTrace, DetailIsCappedAt255CharactersAndDiesWithItsEntry) {
    {
        ZEP_TRACE("detail");
        Zep::ScopeTrace::setDetail(std::string(300, 'x').c_str());
        EXPECT_EQ(std::string(Zep::TraceSnapshot().getDetail(0)), std::string(255, 'x'));
        // Appending never lets the whole detail outgrow the entry.
        Zep::ScopeTrace::setDetail(std::string(200, 'a').c_str());
        Zep::ScopeTrace::appendDetail(std::string(200, 'b').c_str());
        EXPECT_EQ(std::string(Zep::TraceSnapshot().getDetail(0)), std::string(200, 'a') + std::string(55, 'b'));
        Zep::ScopeTrace::clearDetail();
        EXPECT_STREQ(Zep::TraceSnapshot().getDetail(0), "");
        Zep::ScopeTrace::setDetail("old");  // dies with its entry
    }
    ZEP_TRACE("second");
    EXPECT_STREQ(Zep::TraceSnapshot().getDetail(0), "");
    // Levels past the table are counted but not recorded, and unwind.
    EXPECT_TRUE(nest(3000, false) == 3002 && Zep::traceDepth() == 1);
}

// The allocation-free reader sees the live levels, the same as a snapshot,
// and nothing outside them.
TEST(ScopeTrace, LiveEntriesAreCopiedAsRecorded) {
    ZEP_TRACE("outer");
    {
        ZEP_TRACE("inner");
        Zep::ScopeTrace::setDetail(std::string(300, 'd').c_str());
        Zep::LiveTraceEntry entry{};
        ASSERT_TRUE(Zep::copyLiveTraceEntry(1, entry));
        EXPECT_EQ(std::string(entry.m_szMessage) + "|" + entry.m_szFile + "|" + entry.m_szDetail,
                  "inner|.\\tests\\trace|" + std::string(255, 'd'));
        EXPECT_TRUE(entry.m_nFlag == 1 && entry.m_nLine == Zep::TraceSnapshot().getLine(1));
        for (int i : {-1, 2, Zep::kTraceCapacity}) EXPECT_FALSE(Zep::copyLiveTraceEntry(i, entry)) << i;
    }
    Zep::LiveTraceEntry entry{};
    EXPECT_TRUE(Zep::copyLiveTraceEntry(0, entry) && std::string(entry.m_szMessage) == "outer");
    EXPECT_FALSE(Zep::copyLiveTraceEntry(1, entry));
}

TEST(Exception, SetMessageRethrowAssertionsClassNamesAndCopies) {
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
    int nLevel = -1;
    EXPECT_EQ(testutil::describe([&] { ZEP_ASSERT(nLevel >= 0); }),
              "AssertFailException [.\\tests\\trace]: Assertion failed : nLevel >= 0");
    EXPECT_STREQ(AnimationParserException(nullptr, 1, nullptr).className(), "AnimationParserException");

    ZEP_TRACE("copy");
    Zep::ResourceException original("file", 12, "msg");
    Zep::ResourceException copy(original);
    EXPECT_EQ(testutil::describe([&] { throw copy; }), "ResourceException [file]: msg");
    EXPECT_TRUE(copy.getLine() == 12 && copy.getSnapshot().getDepth() == original.getSnapshot().getDepth());
    copy.setMessage(nullptr);
    EXPECT_EQ(std::string(copy.getMessage()) + original.getMessage(), "msg");
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
    { Zep::BadParmException e(".\\src\\helpers", 12, "abc"); }
    const testutil::Bytes report = testutil::bytesOf(*log);
    EXPECT_EQ(std::string(report.begin(), report.end()),
              "---------------------\n"
              "Exception in file .\\src\\helpers, line 12 : \n"
              "abc\n"
              "---------------------\n");
    // A null handle stops the reports and releases the stream.
    Zep::setExceptionLog(nullptr);
    { Zep::BadStateException e(".\\src\\y", 1, "quiet"); }
    EXPECT_TRUE(log->getRefCount() == 1 && log->length() == static_cast<int>(report.size()));
}

TEST_F(ExceptionLogTest, FailingLogStreamDoesNotReplaceTheException) {
    Zep::setExceptionLog(Zep::SmartPtr<Zep::Stream>(new ThrowingStream()));
    EXPECT_EQ(testutil::messageOf([] { throw Zep::ResourceException(".\\src\\z", 9, "original"); }), "original");
}
