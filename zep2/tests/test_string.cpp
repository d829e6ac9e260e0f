#include <gtest/gtest.h>

#include <string>

#include "zep2/str.h"

using Zep::String;

TEST(String, CapacityFollowsTheRoundingRule) {
    String s;
    EXPECT_EQ(s.getCapacity(), 36);
    EXPECT_EQ(s.length(), 0);
    s = std::string(35, 'a').c_str();
    EXPECT_EQ(s.getCapacity(), 36);
    s = std::string(36, 'a').c_str();
    EXPECT_EQ(s.getCapacity(), 40);
    EXPECT_EQ(String::roundCapacity(32), 36);
    EXPECT_EQ(String::roundCapacity(33), 36);
}

TEST(String, AppendRecordsTheExactTotal) {
    String s("x");
    EXPECT_EQ(s.getCapacity(), 4);
    s += "abc";
    EXPECT_EQ(s.getCapacity(), 5);
    EXPECT_STREQ(s.c_str(), "xabc");
    s += 'd';  // every further append beyond the recorded size reallocates
    EXPECT_EQ(s.getCapacity(), 6);
    s += '\0';
    EXPECT_STREQ(s.c_str(), "xabcd");
    s.append(s.c_str());  // appending itself
    EXPECT_STREQ(s.c_str(), "xabcdxabcd");
}

TEST(String, ConstructionFromBuffersAndNulls) {
    EXPECT_STREQ(String(static_cast<const char*>(nullptr)).c_str(), "");
    EXPECT_STREQ(String("abcdef", 3).c_str(), "abc");
    EXPECT_STREQ(String("ab\0cd", 5).c_str(), "ab");
    EXPECT_STREQ(String(nullptr, 7).c_str(), "");
    EXPECT_EQ(String(nullptr, 7).getCapacity(), 12);
    EXPECT_STREQ(String('q').c_str(), "q");
    String s("hello");
    s.assign(s.c_str());
    EXPECT_STREQ(s.c_str(), "hello");
    s.assign(s.c_str() + 2);  // a tail of its own buffer
    EXPECT_STREQ(s.c_str(), "llo");
    s.assign(static_cast<const char*>(nullptr));
    EXPECT_STREQ(s.c_str(), "");
    s.assign("abcdef", 3);
    EXPECT_STREQ(s.c_str(), "abc");

    // A buffer of exactly n bytes has no room for the NUL at index n.
    String full;
    ASSERT_EQ(full.getCapacity(), 36);
    std::string text(36, 'k');
    full.assign(text.c_str(), 36);
    EXPECT_EQ(full.length(), 36);
    EXPECT_EQ(full.getCapacity(), 40);
}

TEST(String, IndexAndSearch) {
    String s("abc");
    EXPECT_EQ(s[-1], 'c');
    EXPECT_EQ(s[0], 'a');
    String p("a\\b/c\\d");
    EXPECT_EQ(p.findLast('\\'), 5);
    EXPECT_EQ(p.find("b/", 0), 2);
    EXPECT_EQ(p.find('c', 0), 4);
    EXPECT_EQ(p.find('c', 5), -1);
    EXPECT_EQ(p.findFirstOf("/\\", 0), 1);
    EXPECT_EQ(p.findFirstOf("", 0), -1);
    // Out-of-range starts find nothing instead of reading outside the text.
    EXPECT_EQ(p.find("a", 100), -1);
    EXPECT_EQ(p.find('a', -5), -1);
}

TEST(String, ComparisonsWithNullAndReflection) {
    String empty;
    String b("b");
    EXPECT_TRUE(empty == static_cast<const char*>(nullptr));
    EXPECT_TRUE(b != static_cast<const char*>(nullptr));
    EXPECT_TRUE(b >= static_cast<const char*>(nullptr));
    EXPECT_FALSE(b <= static_cast<const char*>(nullptr));
    EXPECT_TRUE(empty <= static_cast<const char*>(nullptr));
    EXPECT_TRUE(b > "a");
    EXPECT_TRUE("a" < b);
    EXPECT_TRUE("c" > b);
    EXPECT_TRUE("b" <= b && "b" >= b && "b" == b);
    EXPECT_TRUE(String("\xE9") > "z");  // unsigned byte order
    EXPECT_TRUE(String("a") < String("ab"));
}

TEST(String, Pieces) {
    String s("hello");
    EXPECT_STREQ(s.left(2).c_str(), "he");
    EXPECT_STREQ(s.left(-1).c_str(), "hell");
    EXPECT_STREQ(s.left(99).c_str(), "hello");
    EXPECT_STREQ(s.left(-99).c_str(), "");
    EXPECT_STREQ(s.right(3).c_str(), "llo");
    EXPECT_STREQ(s.right(99).c_str(), "hello");
    EXPECT_STREQ(s.right(0).c_str(), "");
    EXPECT_STREQ(s.right(-2).c_str(), "");
    EXPECT_STREQ(s.mid(1, 3).c_str(), "ell");
    EXPECT_STREQ(s.mid(3, 99).c_str(), "lo");
    EXPECT_STREQ(s.mid(2, 1).c_str(), "");
    EXPECT_STREQ(s.mid(5, 9).c_str(), "");
    EXPECT_STREQ(s.mid(2).c_str(), "llo");
    EXPECT_STREQ(s.mid(9).c_str(), "");
    EXPECT_STREQ(s.mid(-3).c_str(), "hello");
}

TEST(String, Trimming) {
    String blanks("   ");
    EXPECT_STREQ(blanks.trimLeft().c_str(), "   ");
    EXPECT_STREQ(blanks.trimRight().c_str(), "");
    EXPECT_STREQ(blanks.trim().c_str(), "");
    EXPECT_STREQ(String(" \t a b\r\n").trim().c_str(), "a b");
    EXPECT_STREQ(String("\r\nx").trimLeft().c_str(), "x");
}

TEST(String, CaseTouchesOnlyAsciiLetters) {
    EXPECT_STREQ(String("aBc\xE9\xC9").toUpper().c_str(), "ABC\xE9\xC9");
    EXPECT_STREQ(String("AbC\xE9\xC9").toLower().c_str(), "abc\xE9\xC9");
}

TEST(String, FormattingIsCutAt4095) {
    std::string big(5000, 'z');
    String s = String::format("%s", big.c_str());
    EXPECT_EQ(s.length(), 4095);
    EXPECT_STREQ(String::format("List index out of range : %d (have %d)", 4, 3).c_str(),
                 "List index out of range : 4 (have 3)");
    String t;
    EXPECT_EQ(t.sprintf("%05d", 42), 5);
    EXPECT_STREQ(t.c_str(), "00042");
}

TEST(String, Numbers) {
    EXPECT_EQ(String::toInt(nullptr), 0);
    EXPECT_EQ(String::toInt("-12abc"), -12);
    EXPECT_FLOAT_EQ(String::toFloat(""), 0.0f);
    EXPECT_FLOAT_EQ(String::toFloat("2.5"), 2.5f);
    EXPECT_STREQ(String::formatThousands(1234567, ",").c_str(), "1,234,567");
    EXPECT_STREQ(String::formatThousands(123, ",").c_str(), "123");
    EXPECT_STREQ(String::formatThousands(123456, ",").c_str(), "123,456");
    EXPECT_STREQ(String::formatThousands(1234567, nullptr).c_str(), "1234567");
    EXPECT_STREQ(String::formatThousands(1234567, "").c_str(), "1234567");
    EXPECT_STREQ(String::formatThousands(0, ",").c_str(), "0");
    // The sign stands before the first group.
    EXPECT_STREQ(String::formatThousands(-123456, ",").c_str(), "-123,456");
    EXPECT_STREQ(String::formatThousands(-2147483647 - 1, ".").c_str(), "-2.147.483.648");
}

TEST(String, Replacing) {
    String s("a-b-c");
    EXPECT_STREQ(s.replaceFirst("-", "+").c_str(), "a+b-c");
    EXPECT_STREQ(s.replaceFirst("x", "+").c_str(), "a-b-c");
    EXPECT_STREQ(s.replaceAll("-", "--").c_str(), "a--b--c");  // inserted text is not searched again
    EXPECT_STREQ(String("&amp;lt;").replaceAll("&amp;", "&").c_str(), "&lt;");
    EXPECT_STREQ(String("aXbxc").replaceAllIgnoreCase("x", "-").c_str(), "a-b-c");
    EXPECT_STREQ(String("Hello HELLO").replaceAllIgnoreCase("hello", "bye").c_str(), "bye bye");
    // An empty pattern leaves the text as it is instead of looping forever.
    EXPECT_STREQ(s.replaceAll("", "x").c_str(), "a-b-c");
    EXPECT_STREQ(s.replaceAllIgnoreCase("", "x").c_str(), "a-b-c");
}

TEST(String, Utf8) {
    String e = String::fromCodePoint(0xE9);
    ASSERT_EQ(e.length(), 2);
    EXPECT_EQ(static_cast<unsigned char>(e[0]), 0xC3);
    EXPECT_EQ(static_cast<unsigned char>(e[1]), 0xA9);
    EXPECT_STREQ(String::fromCodePoint('A').c_str(), "A");
    EXPECT_STREQ(String::fromCodePoint(0x20AC).c_str(), "\xE2\x82\xAC");
    EXPECT_STREQ(String::fromCodePoint(0x1F600).c_str(), "\xF0\x9F\x98\x80");

    String text = e + "a" + String::fromCodePoint(0x20AC);
    EXPECT_EQ(text.utf8Length(), 3);
    EXPECT_STREQ(text.utf8Left(1).c_str(), "\xC3\xA9");
    EXPECT_STREQ(text.utf8Left(-1).c_str(), "\xC3\xA9" "a");
    EXPECT_STREQ(text.utf8Right(1).c_str(), "\xE2\x82\xAC");
    EXPECT_STREQ(text.utf8Right(0).c_str(), "");
    EXPECT_STREQ(text.utf8Mid(1, 1).c_str(), "a");
    EXPECT_STREQ(text.utf8Mid(1).c_str(), "a\xE2\x82\xAC");
    EXPECT_STREQ(text.utf8Mid(3).c_str(), "");
    EXPECT_EQ(text.utf8At(0), text.c_str());
    EXPECT_EQ(text.utf8At(9), text.c_str() + text.length());
}

TEST(String, Utf8WalkStopsAtTheEndOfMalformedText) {
    // A three-byte lead cut short, and a byte that cannot lead a sequence.
    String cut("a\xE2\x82");
    EXPECT_EQ(cut.utf8Length(), 2);
    EXPECT_EQ(cut.utf8At(5), cut.c_str() + 3);
    String stray("\xF8\xFF" "b");
    EXPECT_EQ(stray.utf8Length(), 3);
    String lone("\xF0");
    EXPECT_EQ(lone.utf8Length(), 1);
    EXPECT_STREQ(lone.utf8Right(1).c_str(), "\xF0");
}

TEST(String, Concatenation) {
    String a("ab");
    EXPECT_STREQ((a + "cd").c_str(), "abcd");
    EXPECT_STREQ(("x" + a).c_str(), "xab");
    EXPECT_STREQ((a + a).c_str(), "abab");
    String c;
    c = 'z';
    EXPECT_STREQ(c.c_str(), "z");
}
