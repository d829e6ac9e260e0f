#include <zep2/list.h>
#include <zep2/str.h>

#include "test_util.h"

using testutil::Bytes;
using Zep::String;

namespace {
Bytes bytesOf(const String& s) { return Bytes(s.c_str(), s.c_str() + s.length()); }
}  // namespace

TEST(String, CapacityFollowsTheRoundingRule) {
    // A buffer of exactly n bytes has no room for the NUL at index n; appends record the exact
    // total, so every further append beyond it reallocates; replacing gives a fresh copy sized by the rule.
    String s, full, x("x");
    full.assign(std::string(36, 'k').c_str(), 36);
    const std::pair<int, int> capacities[] = {  // in order: the braces sequence the assignments
        {s.getCapacity(), 36}, {(s = std::string(35, 'a').c_str()).getCapacity(), 36},
        {(s = std::string(36, 'a').c_str()).getCapacity(), 40}, {String::roundCapacity(33), 36},
        {full.length() * 100 + full.getCapacity(), 3640}, {x.getCapacity(), 4}, {(x += "abc").getCapacity(), 5},
        {(x += 'd').getCapacity(), 6}, {String(nullptr, 7).getCapacity(), 12},
        {String("a-b").replaceAll("-", std::string(40, '=').c_str()).getCapacity(), 44},
        {String(std::string(40, '=').c_str()).replaceAll("==", "").getCapacity(), 4},
        {String("aXa bXA").replaceAllIgnoreCase("xa", "Q").getCapacity(), 8}};
    for (auto [nCapacity, nExpected] : capacities) EXPECT_EQ(nCapacity, nExpected);
    x += '\0';
    EXPECT_STREQ(x.append(x.c_str()).c_str(), "xabcdxabcd");  // appending itself
}

TEST(String, ConstructionAssignmentAndComparisons) {
    String s("hello"), empty, b("b");
    const std::pair<String, const char*> made[] = {
        {s.assign(s.c_str()), "hello"}, {s.assign(s.c_str() + 2), "llo"},  // a tail of its own buffer
        {s.assign(static_cast<const char*>(nullptr)), ""}, {s.assign("abcdef", 3), "abc"},
        {String(static_cast<const char*>(nullptr)), ""}, {String("ab\0cd", 5), "ab"}, {String(nullptr, 7), ""},
        {String('q'), "q"}, {s + "cd", "abccd"}, {"x" + s + s, "xabcabc"}, {s = 'z', "z"}};
    for (const auto& [text, expected] : made) EXPECT_STREQ(text.c_str(), expected);

    const char* null = nullptr;
    EXPECT_TRUE(empty == null && empty <= null && b != null && b >= null && !(b <= null));
    EXPECT_TRUE(b > "a" && "a" < b && "c" > b && "b" <= b && "b" >= b && "b" == b);
    EXPECT_TRUE(String("\xE9") > "z" && String("a") < String("ab"));  // unsigned byte order
}

TEST(String, IndexAndSearch) {
    String abc("abc"), p("a\\b/c\\d");
    EXPECT_TRUE(abc[-1] == 'c' && std::as_const(abc)[-3] == 'a');
    // Out-of-range starts find nothing instead of reading outside the text.
    const std::pair<int, int> found[] = {{p.findLast('\\'), 5}, {p.find("b/", 0), 2},   {p.find('c', 5), -1},
                                         {p.findFirstOf("/\\", 0), 1}, {p.findFirstOf("", 0), -1},
                                         {p.find("a", 100), -1},  {p.find('a', -5), -1}};
    for (auto [at, expected] : found) EXPECT_EQ(at, expected);
}

TEST(String, PiecesTrimmingCaseAndReplacing) {
    String s("hello"), d("a-b-c");
    const std::pair<String, const char*> pieces[] = {
        {s.left(2), "he"},       {s.left(-1), "hell"}, {s.left(99), "hello"}, {s.left(-99), ""},
        {s.right(3), "llo"},     {s.right(99), "hello"}, {s.right(-2), ""},   {s.mid(1, 3), "ell"},
        {s.mid(3, 99), "lo"},    {s.mid(2, 1), ""},    {s.mid(5, 9), ""},     {s.mid(9), ""},
        {s.mid(-3), "hello"},    {String("   ").trimLeft(), "   "},           {String("   ").trim(), ""},
        {String(" \t a b\r\n").trim(), "a b"},         {String("\r\nx").trimLeft(), "x"},
        {String("aBc\xE9\xC9").toUpper(), "ABC\xE9\xC9"},                     {String("AbC\xE9").toLower(), "abc\xE9"},
        {d.replaceFirst("-", "+"), "a+b-c"},           {d.replaceFirst("x", "+"), "a-b-c"},
        {d.replaceAll("-", "--"), "a--b--c"},  // inserted text is not searched again
        {String("&amp;lt;").replaceAll("&amp;", "&"), "&lt;"},
        {String("Hello HELLO hello").replaceAllIgnoreCase("hello", "HeLLo!"), "HeLLo! HeLLo! HeLLo!"},
        {String("aXa").replaceAllIgnoreCase("XA", "xx"), "axx"},
        // An empty pattern leaves the text as it is instead of looping forever.
        {d.replaceAll("", "x"), "a-b-c"},              {d.replaceAllIgnoreCase("", "x"), "a-b-c"}};
    for (const auto& [piece, expected] : pieces) EXPECT_STREQ(piece.c_str(), expected);
}

TEST(String, FormattingAndNumbers) {
    EXPECT_EQ(String::format("%s", std::string(5000, 'z').c_str()).length(), 4095);  // cut at 4095
    String t;
    EXPECT_TRUE(t.sprintf("%05d", 42) == 5 && t == "00042" && String::toInt(nullptr) + String::toInt("-12abc") == -12);
    EXPECT_FLOAT_EQ(String::toFloat("") + String::toFloat("2.5"), 2.5f);
    // The sign stands before the first group.
    const std::pair<String, const char*> groups[] = {
        {String::formatThousands(1234567, ","), "1,234,567"}, {String::formatThousands(123, ","), "123"},
        {String::formatThousands(1234567, nullptr), "1234567"}, {String::formatThousands(1234567, ""), "1234567"},
        {String::formatThousands(-123456, ","), "-123,456"}, {String::formatThousands(INT_MIN, "."), "-2.147.483.648"}};
    for (const auto& [text, expected] : groups) EXPECT_STREQ(text.c_str(), expected);
}

TEST(String, Utf8) {
    String e = String::fromCodePoint(0xE9);
    EXPECT_EQ(bytesOf(e), (Bytes{0xC3, 0xA9}));
    String text = e + String::fromCodePoint('a') + String::fromCodePoint(0x20AC);
    const std::pair<String, const char*> pieces[] = {{String::fromCodePoint(0x1F600), "\xF0\x9F\x98\x80"},
        {text, "\xC3\xA9" "a\xE2\x82\xAC"}, {text.utf8Left(1), "\xC3\xA9"}, {text.utf8Left(-1), "\xC3\xA9" "a"},
        {text.utf8Right(1), "\xE2\x82\xAC"},  {text.utf8Right(0), ""},       {text.utf8Mid(1, 1), "a"},
        {text.utf8Mid(1), "a\xE2\x82\xAC"},   {text.utf8Mid(3), ""}};
    for (const auto& [piece, expected] : pieces) EXPECT_STREQ(piece.c_str(), expected);
    EXPECT_TRUE(text.utf8Length() == 3 && text.utf8At(9) == text.c_str() + text.length());
    // Malformed text: a three-byte lead cut short, bytes that cannot lead, a lone lead.
    String cut("a\xE2\x82"), lone("\xF0");
    EXPECT_TRUE(cut.utf8Length() == 2 && cut.utf8At(5) == cut.c_str() + 3 && lone.utf8Length() == 1);
    EXPECT_TRUE(String("\xF8\xFF" "b").utf8Length() == 3 && lone.utf8Right(1) == "\xF0");
}

TEST(StringSplit, BlanksSeparatorsClassesAndCommonPrefix) {
    // Words, blanks and punctuation; singles stand alone, unknown bytes share one class.
    const Zep::List<String> blanks{" "};
    const std::pair<Zep::List<String>, const char*> splits[] = {
        {String("  a  b ").split(), "a|b"}, {String("   ").split(), ""}, {String("a\tb").split(), "a\tb"},
        {String(",x;;y, z,").split(",; "), "x|y|z"}, {String("whole").split(""), "whole"},
        {String("ab, cd").splitByClasses(Zep::List<String>{"abcd", " "}, ","), "ab|,| |cd"},
        {String("hi  there\n\nok").splitByClasses(blanks, "\n"), "hi|  |there|\n|\n|ok"},
        {String("x1!").splitByClasses(Zep::List<String>(), nullptr), "x1!"},
        {String("").splitByClasses(blanks, "\n"), ""}};
    for (const auto& [list, expected] : splits) EXPECT_STREQ(list.join("|").c_str(), expected);
    EXPECT_EQ(String("   ").split().getCount() + String("").splitByClasses(blanks, "\n").getCount(), 0);
    // Ignores case; the text that sorts first gives the spelling, the first of equal ones.
    const std::pair<Zep::List<String>, const char*> prefixes[] = {
        {{"Apple", "apricot"}, "Ap"}, {{"apricot", "APPLE"}, "AP"}, {{"abc", "xyz"}, ""}, {{"Only"}, "Only"},
        {{}, ""}, {{"DATA3", "Data1", "data22"}, "Data"}, {{"SAME", "same"}, "SAME"}};
    for (const auto& [texts, expected] : prefixes) EXPECT_STREQ(String::commonPrefix(texts).c_str(), expected);
}

TEST(StringBinaryEscape, ZeroAndOneAreStuffed) {
    const uint8_t raw[] = {0x00, 0x01, 0x41};
    EXPECT_EQ(bytesOf(String::escapeBinary(raw, 3)), (Bytes{0x01, 0x01, 0x01, 0x02, 0x41}));
    Bytes all;
    for (int i = 0; i < 256; ++i) all.push_back(static_cast<uint8_t>(i));
    all.push_back(0);
    String escaped = String::escapeBinary(all.data(), static_cast<int>(all.size()));
    EXPECT_EQ(escaped.length(), 257 + 3);  // two zeros and a one, each doubled
    auto decoded = String::unescapeBinary(escaped.c_str());
    EXPECT_TRUE(testutil::bytesOf(*decoded) == all && !decoded->supports(Zep::Stream::kRead) &&
                decoded->supports(Zep::Stream::kWrite));

    EXPECT_TRUE(String::escapeBinary(nullptr, 4).isEmpty() && String::escapeBinary("x", 0).isEmpty());
    // Unknown escapes give one byte; a trailing lone escape stops at the end:
    // the text's own NUL is not the escaped byte.
    const char lone[] = {'A', '\x01', '\0', '\x01', '\x01'};
    const std::pair<const char*, Bytes> decodings[] = {
        {"", {}}, {nullptr, {}}, {"\x01\x01\x01\x02\x41", {0x00, 0x01, 0x41}},
        {"\x01\x7F" "a", {0x01, 'a'}}, {lone, {'A', 0x01}}};
    for (const auto& [text, bytes] : decodings) EXPECT_EQ(testutil::bytesOf(*String::unescapeBinary(text)), bytes);
}
