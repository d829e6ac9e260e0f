#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "zep2/error.h"
#include "zep2/memstream.h"
#include "zep2/stream.h"
#include "zep2/tokenfilereader.h"
#include "zep2/zstream.h"

using Zep::String;
using Zep::TokenFileReader;

namespace {

struct Line {
    int nNumber;
    std::vector<std::string> tokens;
};

std::vector<Line> readAll(TokenFileReader& reader) {
    std::vector<Line> lines;
    while (!reader.isEOF()) {
        reader.nextLine();
        Line line{reader.getLineNumber(), {}};
        for (const String& s : reader.getTokens()) line.tokens.emplace_back(s.c_str());
        lines.push_back(line);
    }
    return lines;
}

std::vector<Line> readAll(const char* text) {
    TokenFileReader reader(text);
    return readAll(reader);
}

using Tokens = std::vector<std::string>;

}  // namespace

TEST(TokenFileReader, LineNumbersCountPiecesNotBreaks) {
    auto crlf = readAll("a\r\n\r\nb");
    ASSERT_EQ(crlf.size(), 2u);
    EXPECT_EQ(crlf[0].nNumber, 0);
    EXPECT_EQ(crlf[0].tokens, Tokens{"a"});
    EXPECT_EQ(crlf[1].nNumber, 1);
    EXPECT_EQ(crlf[1].tokens, Tokens{"b"});

    // A blank-only line is dropped but uses up its number.
    auto blank = readAll("a\n   \nb");
    ASSERT_EQ(blank.size(), 2u);
    EXPECT_EQ(blank[0].nNumber, 0);
    EXPECT_EQ(blank[1].nNumber, 2);

    // CR alone ends a line too; a last line without a break still counts.
    auto cr = readAll("\r\rx\r# note\ry z");
    ASSERT_EQ(cr.size(), 2u);
    EXPECT_EQ(cr[0].nNumber, 0);
    EXPECT_EQ(cr[1].nNumber, 2);
    EXPECT_EQ(cr[1].tokens, (Tokens{"y", "z"}));
}

TEST(TokenFileReader, CommentsAndEscapedHashes) {
    EXPECT_EQ(readAll("key value # comment")[0].tokens, (Tokens{"key", "value"}));
    EXPECT_TRUE(readAll("# whole line\n#\n").empty());
    EXPECT_EQ(readAll("label \\#1")[0].tokens, (Tokens{"label", "#1"}));
    EXPECT_EQ(readAll("x \\# y \\# z # c")[0].tokens, (Tokens{"x", "#", "y", "#", "z"}));
    // Two backslashes before "#": one stays, and the "#" is text.
    EXPECT_EQ(readAll("a \\\\#b")[0].tokens, (Tokens{"a", "\\#b"}));
    // A backslash before anything else is kept.
    EXPECT_EQ(readAll("c:\\dir x")[0].tokens, (Tokens{"c:\\dir", "x"}));
    // Quotes are ordinary characters.
    EXPECT_EQ(readAll("say \"hello world\"")[0].tokens, (Tokens{"say", "\"hello", "world\""}));
}

TEST(TokenFileReader, TokensSplitOnBlankAndTab) {
    TokenFileReader reader("a\tb   c");
    reader.nextLine();
    EXPECT_EQ(reader.getTokens().getCount(), 3);
    EXPECT_STREQ(reader.getTokens()[2].c_str(), "c");
    EXPECT_STREQ(reader.getTokensFrom(1).c_str(), "b c");
    EXPECT_STREQ(reader.getTokensFrom(3).c_str(), "");
    EXPECT_STREQ(reader.getTokensFrom(-2).c_str(), "a b c");
    EXPECT_STREQ(reader.getLine().c_str(), "a\tb   c");
}

TEST(TokenFileReader, OnlyCommentsAndBlanksIsAtEndAtOnce) {
    TokenFileReader reader("  \r\n# one\n\t\n   # two\n\n");
    EXPECT_TRUE(reader.isEOF());
    EXPECT_EQ(reader.getLineNumber(), 0);
    EXPECT_EQ(reader.getTokens().getCount(), 0);
}

TEST(TokenFileReader, NextLinePastTheEndThrowsAndKeepsState) {
    TokenFileReader reader("only line");
    reader.nextLine();
    EXPECT_TRUE(reader.isEOF());
    try {
        reader.nextLine();
        FAIL() << "no exception";
    } catch (const Zep::FatalErrorException& e) {
        EXPECT_STREQ(e.getMessage(), "List index out of range : 0 (have 0)");
    }
    // The last line stays current.
    EXPECT_STREQ(reader.getTokens()[1].c_str(), "line");
}

TEST(TokenFileReader, NullInputsAreAssertions) {
    try {
        TokenFileReader reader(static_cast<const char*>(nullptr));
        FAIL() << "no exception";
    } catch (const Zep::AssertFailException& e) {
        EXPECT_STREQ(e.getMessage(), "Assertion failed : sChunk");
    }
    try {
        TokenFileReader reader(static_cast<Zep::Stream*>(nullptr));
        FAIL() << "no exception";
    } catch (const Zep::AssertFailException& e) {
        EXPECT_STREQ(e.getMessage(), "Assertion failed : pFile");
    }
}

TEST(TokenFileReader, KeyValueTable) {
    TokenFileReader reader("a 1\nb 2 extra\na 3\n");
    Zep::Hash<String, String> table = reader.readKeyValueTable();
    EXPECT_EQ(table.getCount(), 2);
    EXPECT_EQ(table.getBucketCount(), 97);
    EXPECT_STREQ(table.get("a").c_str(), "3");
    EXPECT_STREQ(table.get("b").c_str(), "2");
    EXPECT_TRUE(reader.isEOF());
}

TEST(TokenFileReader, KeyValueTableOneTokenLineIsRangeError) {
    TokenFileReader reader("a 1\nlonely\n");
    try {
        reader.readKeyValueTable();
        FAIL() << "no exception";
    } catch (const Zep::FatalErrorException& e) {
        EXPECT_STREQ(e.getMessage(), "List index out of range : 1 (have 1)");
    }
}

TEST(TokenFileReader, ParseTextAppends) {
    TokenFileReader reader("one");
    reader.parseText("two\nthree");
    auto lines = readAll(reader);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].nNumber, 0);
    EXPECT_EQ(lines[1].nNumber, 0);  // each text numbers its own lines
    EXPECT_EQ(lines[2].nNumber, 1);
}

TEST(TokenFileReader, StreamFromCurrentPositionToTheEnd) {
    const char text[] = "skip\nfirst 1\nsecond 2";
    Zep::SmartPtr<Zep::MemStream> view(new Zep::MemStream(text, static_cast<int>(std::strlen(text))));
    view->setPosition(5);
    TokenFileReader reader(view.get());
    auto lines = readAll(reader);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].tokens, (Tokens{"first", "1"}));
    EXPECT_EQ(lines[1].tokens, (Tokens{"second", "2"}));
    // The stream is left where the reading stopped.
    EXPECT_EQ(view->getPosition(), static_cast<int>(std::strlen(text)));
}

// The text of a compressed stream is longer than the stream's length (the
// compressed size): all of it must arrive.
TEST(TokenFileReader, CompressedStreamIsReadToItsEnd) {
    String text;
    for (int i = 0; i < 5000; ++i) text += String::format("key%d value%d\n", i, i);
    Zep::SmartPtr<Zep::MemStream> packed(new Zep::MemStream());
    {
        Zep::SmartPtr<Zep::ZStream> zip(new Zep::ZStream(packed.get(), 9));
        zip->write(text.length(), text.c_str());
    }
    auto bytes = packed->clone();
    ASSERT_LT(bytes->length(), text.length() / 2);
    Zep::SmartPtr<Zep::ZStream> unzip(new Zep::ZStream(bytes.get(), -1));
    TokenFileReader reader(unzip.get());
    auto table = reader.readKeyValueTable();
    EXPECT_EQ(table.getCount(), 5000);
    EXPECT_STREQ(table.get("key4999").c_str(), "value4999");
}
