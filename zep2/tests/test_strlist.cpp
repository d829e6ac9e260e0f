#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "zep2/list.h"
#include "zep2/memstream.h"
#include "zep2/str.h"

using Bytes = std::vector<uint8_t>;

namespace {

std::vector<std::string> texts(const Zep::List<Zep::String>& list) {
    std::vector<std::string> out;
    for (const Zep::String& s : list) out.emplace_back(s.c_str());
    return out;
}

Bytes bytesOf(Zep::MemStream& stream) {
    const auto* p = static_cast<const uint8_t*>(stream.getBuffer());
    return p ? Bytes(p, p + stream.length()) : Bytes();
}

Bytes bytesOf(const Zep::String& s) {
    const auto* p = reinterpret_cast<const uint8_t*>(s.c_str());
    return Bytes(p, p + s.length());
}

}  // namespace

TEST(StringSplit, DefaultSeparatorIsTheBlank) {
    EXPECT_EQ(texts(Zep::String("  a  b ").split()), (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(texts(Zep::String("").split()).empty());
    EXPECT_TRUE(texts(Zep::String("   ").split()).empty());
    EXPECT_EQ(texts(Zep::String("a\tb").split()), (std::vector<std::string>{"a\tb"}));
}

TEST(StringSplit, AnyOfSeveralSeparators) {
    EXPECT_EQ(texts(Zep::String(",x;;y, z,").split(",; ")), (std::vector<std::string>{"x", "y", "z"}));
    EXPECT_EQ(texts(Zep::String("whole").split("")), (std::vector<std::string>{"whole"}));
}

TEST(StringSplitByClasses, WordsBlanksAndPunctuation) {
    Zep::List<Zep::String> classes{"abcd", " "};
    EXPECT_EQ(texts(Zep::String("ab, cd").splitByClasses(classes, ",")),
              (std::vector<std::string>{"ab", ",", " ", "cd"}));
}

TEST(StringSplitByClasses, SinglesStandAloneAndUnknownBytesShareOneClass) {
    Zep::List<Zep::String> classes{" "};
    EXPECT_EQ(texts(Zep::String("hi  there\n\nok").splitByClasses(classes, "\n")),
              (std::vector<std::string>{"hi", "  ", "there", "\n", "\n", "ok"}));
    EXPECT_EQ(texts(Zep::String("x1!").splitByClasses(Zep::List<Zep::String>(), nullptr)),
              (std::vector<std::string>{"x1!"}));
    EXPECT_TRUE(texts(Zep::String("").splitByClasses(classes, "\n")).empty());
}

TEST(StringCommonPrefix, IgnoresCaseAndKeepsTheFirstSortingText) {
    auto prefix = [](std::initializer_list<Zep::String> items) {
        return std::string(Zep::String::commonPrefix(Zep::List<Zep::String>(items)).c_str());
    };
    EXPECT_EQ(prefix({"Apple", "apricot"}), "Ap");
    EXPECT_EQ(prefix({"apricot", "APPLE"}), "AP");
    EXPECT_EQ(prefix({"abc", "xyz"}), "");
    EXPECT_EQ(prefix({"Only"}), "Only");
    EXPECT_EQ(prefix({}), "");
    // data1 sorts first, so its own spelling gives the result.
    EXPECT_EQ(prefix({"DATA3", "Data1", "data22"}), "Data");
    // Equal texts: the first one wins.
    EXPECT_EQ(prefix({"SAME", "same"}), "SAME");
}

TEST(StringBinaryEscape, ZeroAndOneAreStuffed) {
    const uint8_t raw[] = {0x00, 0x01, 0x41};
    Zep::String escaped = Zep::String::escapeBinary(raw, 3);
    EXPECT_EQ(bytesOf(escaped), (Bytes{0x01, 0x01, 0x01, 0x02, 0x41}));
    auto decoded = Zep::String::unescapeBinary(escaped.c_str());
    EXPECT_EQ(bytesOf(*decoded), (Bytes{0x00, 0x01, 0x41}));
}

TEST(StringBinaryEscape, EveryByteValueRoundTrips) {
    Bytes raw;
    for (int i = 0; i < 256; ++i) raw.push_back(static_cast<uint8_t>(i));
    raw.push_back(0);
    Zep::String escaped = Zep::String::escapeBinary(raw.data(), static_cast<int>(raw.size()));
    EXPECT_EQ(escaped.length(), 257 + 3);  // two zeros and a one, each doubled
    auto decoded = Zep::String::unescapeBinary(escaped.c_str());
    EXPECT_EQ(bytesOf(*decoded), raw);
    EXPECT_FALSE(decoded->supports(Zep::Stream::kRead));
    EXPECT_TRUE(decoded->supports(Zep::Stream::kWrite));
}

TEST(StringBinaryEscape, EmptyAndNullInput) {
    EXPECT_TRUE(Zep::String::escapeBinary(nullptr, 4).isEmpty());
    EXPECT_TRUE(Zep::String::escapeBinary("x", 0).isEmpty());
    EXPECT_EQ(Zep::String::unescapeBinary("")->length(), 0);
    EXPECT_EQ(Zep::String::unescapeBinary(nullptr)->length(), 0);
}

TEST(StringBinaryEscape, UnknownEscapeGivesOne) {
    auto decoded = Zep::String::unescapeBinary("\x01\x7F" "a");
    EXPECT_EQ(bytesOf(*decoded), (Bytes{0x01, 'a'}));
}

TEST(StringBinaryEscape, TrailingLoneEscapeStopsAtTheEnd) {
    // The text's own NUL must not be taken as the escaped byte.
    std::vector<char> text = {'A', '\x01', '\0', '\x01', '\x01'};
    auto decoded = Zep::String::unescapeBinary(text.data());
    EXPECT_EQ(bytesOf(*decoded), (Bytes{'A', 0x01}));
}
