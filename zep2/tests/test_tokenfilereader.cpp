#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "test_util.h"
#include "zep2/tokenfilereader.h"
#include "zep2/zstream.h"

using testutil::messageOf;
using Zep::String;
using Zep::TokenFileReader;

namespace {

// One "number:token|token" entry per line read, separated by blanks.
std::string readAll(TokenFileReader& reader) {
    std::string out;
    while (!reader.isEOF()) {
        reader.nextLine();
        out += (out.empty() ? "" : " ") + std::to_string(reader.getLineNumber()) + ":" +
               reader.getTokens().join("|").c_str();
    }
    return out;
}

std::string readAll(const char* text) {
    TokenFileReader reader(text);
    return readAll(reader);
}

}  // namespace

TEST(TokenFileReader, LineNumbersCountPiecesNotBreaks) {
    EXPECT_EQ(readAll("a\r\n\r\nb"), "0:a 1:b");
    EXPECT_EQ(readAll("a\n   \nb"), "0:a 2:b");  // a blank-only line is dropped but uses up its number
    // CR alone ends a line too; a last line without a break still counts.
    EXPECT_EQ(readAll("\r\rx\r# note\ry z"), "0:x 2:y|z");
    TokenFileReader reader("one");
    reader.parseText("two\nthree");
    EXPECT_EQ(readAll(reader), "0:one 0:two 1:three");  // each text numbers its own lines
}

TEST(TokenFileReader, CommentsAndEscapedHashes) {
    EXPECT_EQ(readAll("key value # comment"), "0:key|value");
    EXPECT_EQ(readAll("label \\#1"), "0:label|#1");
    EXPECT_EQ(readAll("x \\# y \\# z # c"), "0:x|#|y|#|z");
    EXPECT_EQ(readAll("a \\\\#b"), "0:a|\\#b");        // two backslashes: one stays, "#" is text
    EXPECT_EQ(readAll("c:\\dir x"), "0:c:\\dir|x");    // a backslash before anything else is kept
    EXPECT_EQ(readAll("say \"hello world\""), "0:say|\"hello|world\"");  // quotes are ordinary
    TokenFileReader only("  \r\n# one\n\t\n   # two\n\n");
    EXPECT_TRUE(only.isEOF());  // only comments and blanks: at the end at once
    EXPECT_EQ(only.getLineNumber(), 0);
    EXPECT_EQ(only.getTokens().getCount(), 0);
}

TEST(TokenFileReader, TokensSplitOnBlankAndTab) {
    TokenFileReader reader("a\tb   c");
    reader.nextLine();
    EXPECT_EQ(reader.getTokens().getCount(), 3);
    EXPECT_STREQ(reader.getTokensFrom(1).c_str(), "b c");
    EXPECT_STREQ(reader.getTokensFrom(3).c_str(), "");
    EXPECT_STREQ(reader.getTokensFrom(-2).c_str(), "a b c");
    EXPECT_STREQ(reader.getLine().c_str(), "a\tb   c");

    // Past the end: the range error, and the last line stays current.
    EXPECT_TRUE(reader.isEOF());
    EXPECT_EQ(messageOf<Zep::FatalErrorException>([&] { reader.nextLine(); }), "List index out of range : 0 (have 0)");
    EXPECT_STREQ(reader.getTokens()[2].c_str(), "c");
}

TEST(TokenFileReader, NullInputsAreAssertions) {
    EXPECT_EQ(messageOf<Zep::AssertFailException>([] { TokenFileReader r(static_cast<const char*>(nullptr)); }),
              "Assertion failed : sChunk");
    EXPECT_EQ(messageOf<Zep::AssertFailException>([] { TokenFileReader r(static_cast<Zep::Stream*>(nullptr)); }),
              "Assertion failed : pFile");
}

TEST(TokenFileReader, KeyValueTable) {
    TokenFileReader reader("a 1\nb 2 extra\na 3\n");
    Zep::Hash<String, String> table = reader.readKeyValueTable();
    EXPECT_EQ(table.getCount(), 2);
    EXPECT_EQ(table.getBucketCount(), 97);
    EXPECT_STREQ(table.get("a").c_str(), "3");
    EXPECT_STREQ(table.get("b").c_str(), "2");
    EXPECT_TRUE(reader.isEOF());

    TokenFileReader lonely("a 1\nlonely\n");  // a one-token line is a range error
    EXPECT_EQ(messageOf<Zep::FatalErrorException>([&] { lonely.readKeyValueTable(); }),
              "List index out of range : 1 (have 1)");
}

TEST(TokenFileReader, StreamFromCurrentPositionToTheEnd) {
    const char text[] = "skip\nfirst 1\nsecond 2";
    Zep::SmartPtr<Zep::MemStream> view(new Zep::MemStream(text, static_cast<int>(std::strlen(text))));
    view->setPosition(5);
    TokenFileReader reader(view.get());
    EXPECT_EQ(readAll(reader), "0:first|1 1:second|2");
    EXPECT_EQ(view->getPosition(), static_cast<int>(std::strlen(text)));  // left where the reading stopped
}

// The text of a compressed stream is longer than the stream's length (the
// compressed size): all of it must arrive.
TEST(TokenFileReader, CompressedStreamIsReadToItsEnd) {
    String text;
    for (int i = 0; i < 5000; ++i) text += String::format("key%d value%d\n", i, i);
    Zep::MemStream packed;
    Zep::ZStream(&packed, 9).write(text.length(), text.c_str());
    auto bytes = packed.clone();
    ASSERT_LT(bytes->length(), text.length() / 2);
    Zep::ZStream unzip(bytes.get(), -1);
    TokenFileReader reader(&unzip);
    auto table = reader.readKeyValueTable();
    EXPECT_EQ(table.getCount(), 5000);
    EXPECT_STREQ(table.get("key4999").c_str(), "value4999");
}
