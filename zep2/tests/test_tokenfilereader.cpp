#include <zep2/tokenfilereader.h>
#include <zep2/zstream.h>

#include "test_util.h"

using testutil::messageOf;
using Zep::String;
using Zep::TokenFileReader;

namespace {
// One "number:token|token" entry per line read, separated by blanks.
std::string readAll(TokenFileReader& reader) {
    std::string out;
    while (!reader.isEOF()) {
        reader.nextLine();
        out.append(out.empty() ? "" : " ")
            .append(std::to_string(reader.getLineNumber()))
            .append(":")
            .append(reader.getTokens().join("|").c_str());
    }
    return out;
}

std::string readAll(const char* text) {
    TokenFileReader reader(text);
    return readAll(reader);
}
}  // namespace

TEST(TokenFileReader, LinesNumbersCommentsAndEscapedHashes) {
    const std::pair<const char*, const char*> cases[] = {
        // Line numbers count pieces, not breaks; a blank-only line is dropped
        // but uses up its number. CR alone ends a line too.
        {"a\r\n\r\nb", "0:a 1:b"}, {"a\n   \nb", "0:a 2:b"}, {"\r\rx\r# note\ry z", "0:x 2:y|z"},
        {"key value # comment", "0:key|value"}, {"label \\#1", "0:label|#1"}, {"x \\# y \\# z # c", "0:x|#|y|#|z"},
        {"a \\\\#b", "0:a|\\#b"},            // two backslashes: one stays, "#" is text
        {"c:\\dir x", "0:c:\\dir|x"},          // a backslash before anything else is kept
        {"say \"hello world\"", "0:say|\"hello|world\""},  // quotes are ordinary
        {"  \r\n# one\n\t\n   # two\n\n", ""},  // only comments and blanks: at the end at once
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(readAll(text), expected) << text;
    TokenFileReader reader("one");
    reader.parseText("two\nthree");
    EXPECT_EQ(readAll(reader), "0:one 0:two 1:three");  // each text numbers its own lines
}

TEST(TokenFileReader, TokensRangeErrorsAndNullInputs) {
    TokenFileReader reader("a\tb   c");
    reader.nextLine();
    EXPECT_STREQ((reader.getTokens().join("|") + "/" + reader.getTokensFrom(1) + "/" + reader.getTokensFrom(3) + "/" +
                  reader.getTokensFrom(-2) + "/" + reader.getLine()).c_str(),
                 "a|b|c/b c//a b c/a\tb   c");
    // Past the end: the range error, and the last line stays current.
    EXPECT_TRUE(reader.isEOF());
    EXPECT_EQ(messageOf<Zep::FatalErrorException>([&] { reader.nextLine(); }), "List index out of range : 0 (have 0)");
    EXPECT_STREQ(reader.getTokens()[2].c_str(), "c");
    EXPECT_EQ(messageOf<Zep::AssertFailException>([] { TokenFileReader r(static_cast<const char*>(nullptr)); }) +
                  messageOf<Zep::AssertFailException>([] { TokenFileReader r(static_cast<Zep::Stream*>(nullptr)); }),
              "Assertion failed : sChunkAssertion failed : pFile");
}

TEST(TokenFileReader, KeyValueTablesFromTextAndStreams) {
    TokenFileReader reader("a 1\nb 2 extra\na 3\n");
    Zep::Hash<String, String> table = reader.readKeyValueTable();
    EXPECT_TRUE(table.getCount() == 2 && table.getBucketCount() == 97 && reader.isEOF());
    EXPECT_STREQ((table.get("a") + table.get("b")).c_str(), "32");  // the later key wins
    TokenFileReader lonely("a 1\nlonely\n");  // a one-token line is a range error
    EXPECT_EQ(messageOf<Zep::FatalErrorException>([&] { lonely.readKeyValueTable(); }),
              "List index out of range : 1 (have 1)");
    // A stream is read from its position until it runs dry: the text of a
    // compressed stream is longer than the stream's length (the compressed size).
    auto view = testutil::reader(testutil::textBytes("skip\nfirst 1\nsecond 2"));
    view->setPosition(5);
    TokenFileReader fromView(view.get());
    EXPECT_TRUE(readAll(fromView) == "0:first|1 1:second|2" && view->getPosition() == view->length());
    String lines;
    for (int i = 0; i < 5000; ++i) lines += String::format("key%d value%d\n", i, i);
    auto bytes = testutil::reader(testutil::deflateBytes(testutil::textBytes(lines.c_str()), 9));
    ASSERT_LT(bytes->length(), lines.length() / 2);
    Zep::ZStream unzip(bytes.get(), -1);
    auto unzipped = TokenFileReader(&unzip).readKeyValueTable();
    EXPECT_TRUE(unzipped.getCount() == 5000 && unzipped.get("key4999") == "value4999");
}
