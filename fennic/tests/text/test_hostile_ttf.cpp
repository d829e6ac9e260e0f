// TrueType text and font files from outside: hostile lines drawn with the
// framework's pixel font (one font pixel a screen pixel at 10 points), and
// damaged copies of that font refused when they are made into fonts.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <zep2/error.h>
#include <zep2/resource.h>

#include "image/memimage.h"
#include "sdl/sdl_ttf.h"
#include "testkit/testkit_app.h"
#include "testkit/testkit_platform.h"
#include "testkit/testkit_tempdir.h"
#include "text/ttfpixelfont.h"
#include "text/ttfwriter.h"
#include "text/ucs2text.h"

namespace {

Zep::SmartPtr<Zep::Resource> resourceOf(const std::vector<uint8_t>& v) {
    Zep::SmartPtr<Zep::Resource> p = new Zep::Resource(static_cast<int>(v.size()), nullptr, true);
    std::memcpy(p->getData(), v.data(), v.size());
    return p;
}

// Where a table of the file starts.
size_t tableAt(const std::vector<uint8_t>& v, const char* szTag) {
    for (size_t i = 12; i + 16 <= v.size(); i += 16) {
        const uint8_t* p = &v[i + 8];
        if (std::memcmp(&v[i], szTag, 4) == 0) return size_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
    }
    ADD_FAILURE() << szTag;
    return 0;
}

class HostileTtf : public ::testing::Test {
protected:
    void SetUp() override {
        auto pPlatform = std::make_unique<testkit::FakePlatform>();
        pPlatform->setImageFactory(std::make_unique<MemImageFactory>());
        m_app.setPlatform(std::move(pPlatform));
        auto pFiles = std::make_unique<Zep::MemoryResourceProvider>();
        m_pFiles = pFiles.get();
        m_app.addResourceProvider(std::move(pFiles), false);
        m_pFiles->add("fonts/pixel.ttf", resourceOf(writeTrueType(pixelFont("Pixel"))));
    }

    Zep::SmartPtr<Font> font(const char* szName) { return m_factory.createFont(Zep::List<Zep::String>{szName, "10"}); }

    // The line drawn at (x, 0) on a 24 x 8 image, as rows of '#' (opaque) and '.'.
    std::vector<std::string> drawn(const std::string& sText, int x) {
        Zep::SmartPtr<Font> p = font("fonts/pixel.ttf");
        p->setDrawShadow(false);
        Zep::SmartPtr<Image> pImage = m_app.createImage(24, 8, true);
        p->drawText(pImage, x, 0, sText.c_str());
        std::vector<std::string> vRows(8, std::string(24, '.'));
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 24; ++x)
                if (pImage->getPixel(x, y).getAlpha() > 128) vRows[y][x] = '#';
        return vRows;
    }

    testkit::TempDir m_dir;
    testkit::AppFiles m_files{m_dir};
    testkit::TestApp m_app;
    Zep::MemoryResourceProvider* m_pFiles = nullptr;
    SDLTTFFactory m_factory;
};

using Rows = std::vector<std::string>;
const Rows kNothing(8, std::string(24, '.'));
const Rows kFourH = {"........................", "#...#.#...#.#...#.#...#.", "#...#.#...#.#...#.#...#.",
                     "#...#.#...#.#...#.#...#.", "#####.#####.#####.#####.", "#...#.#...#.#...#.#...#.",
                     "#...#.#...#.#...#.#...#.", "#...#.#...#.#...#.#...#."};

// Nothing that renders empty is an error; each byte that does not begin a
// UTF-8 sequence shows as the replacement character; a line far wider than any surface is drawn in
// pieces, those off the target left out; an accent reaching left of the
// line's start is drawn where the font puts it.
TEST_F(HostileTtf, HostileLinesDrawWhatTheyHold) {
    const std::string sWide(3000, 'H');  // 18000 pixels
    const struct {
        const char* szWhat;
        std::string sText;
        int x;
        Rows vRows;
    } kCases[] = {
        {"empty", "", 0, kNothing},
        {"zero-width space", "\xE2\x80\x8B\xE2\x80\x8B", 0, kNothing},
        {"order mark", "\xEF\xBB\xBF", 0, kNothing},
        {"above U+10FFFF", "\xF4\x90\x80\x80", 0,
         {"........................", "#...#.#...#.#...#.#...#.", ".###...###...###...###..",
          "####..####..####..####..", "###.#.###.#.###.#.###.#.", "##.##.##.##.##.##.##.##.",
          "#####.#####.#####.#####.", "##.##.##.##.##.##.##.##."}},
        {"sequence cut by the end", "I\xE2\x80", 0,
         {"........................", "###.#...#.#...#.........", ".#...###...###..........",
          ".#..####..####..........", ".#..###.#.###.#.........", ".#..##.##.##.##.........",
          ".#..#####.#####.........", "###.##.##.##.##........."}},
        {"wide line, its start", sWide, 0, kFourH},
        {"wide line, past the first piece", sWide, -16998, kFourH},
        {"wide line, wholly left of the target", sWide, -18000, kNothing},
        {"accent after a dot", ".\xCC\x81", 2,
         {".##.....................", "........................", "........................",
          "........................", "........................", "........................",
          "........................", "..#....................."}},
    };
    for (const auto& c : kCases) {
        Rows vRows;
        EXPECT_NO_THROW(vRows = drawn(c.sText, c.x)) << c.szWhat;
        EXPECT_EQ(c.vRows, vRows) << c.szWhat;
    }
    EXPECT_EQ(18000, font("fonts/pixel.ttf")->getTextWidth(sWide.c_str()));
}

// Damaged copies of a valid font: one field changed, or the file cut.
TEST_F(HostileTtf, DamagedFontsAreRefusedWhenMade) {
    const std::vector<uint8_t> vValid = writeTrueType(pixelFont("Pixel", "HELO"));
    const std::string kNoGlyph = "SDLTrueTypeFont : Can't measure text with fonts/bad.ttf [Couldn't find glyph]";
    const std::string kNoFile = "SDLTrueTypeFont : Can't open fonts/bad.ttf [Couldn't load font file]";
    const struct {
        const char* szTable;
        size_t nAt;
        int nValue;  // a 16-bit field's new value; -1 cuts the file there
        std::string sMessage;
    } kCases[] = {
        {"glyf", 0, 0x7FFF, kNoGlyph},  // the missing glyph's contour count
        {"glyf", 10, 0xFFFF, kNoGlyph}, // its first contour's end point
        {"loca", 6, 1, kNoGlyph},       // glyph 1 at an odd offset
        {"maxp", 4, 0, kNoGlyph},       // no glyphs
        {"maxp", 16, -1, kNoGlyph},
        {"hhea", 4, 0x8000, "SDLTrueTypeFont : Can't measure text with fonts/bad.ttf [line height -324]"},
        {"hhea", 6, 0x7FFF, "SDLTrueTypeFont : Can't measure text with fonts/bad.ttf [line height -319]"},
        {"head", 18, 0, kNoFile},  // units per em
        {"head", 27, -1, kNoFile},
    };
    for (const auto& c : kCases) {
        std::vector<uint8_t> v = vValid;
        const size_t nAt = tableAt(v, c.szTable) + c.nAt;
        if (c.nValue < 0) v.resize(nAt);
        else v[nAt] = static_cast<uint8_t>(c.nValue >> 8), v[nAt + 1] = static_cast<uint8_t>(c.nValue);
        m_pFiles->add("fonts/bad.ttf", resourceOf(v));
        const std::string sWhat = std::string(c.szTable) + "+" + std::to_string(c.nAt);
        EXPECT_EQ(c.sMessage, testutil::messageOf<Zep::ResourceException>([&] { font("fonts/bad.ttf"); })) << sWhat;
        EXPECT_EQ(0, SDLTTFData::getUseCount()) << sWhat;
    }
    EXPECT_TRUE(m_factory.getRecentKeys().isEmpty());
}

// The codes the renderer is given for text that is not plain UTF-8.
TEST(HostileUtf8, MalformedBytesBecomeReplacementCharacters) {
    const struct {
        const char* szText;
        std::vector<uint16_t> vCodes;
    } kCases[] = {
        {"\xC3\xA9", {0xE9, 0}},
        {"\xC0\x80", {0xFFFD, 0xFFFD, 0}},            // overlong
        {"\xED\xA0\x80", {0xFFFD, 0xFFFD, 0xFFFD, 0}},  // surrogate
        {"\xF0\x9F\x98\x80", {0xFFFD, 0}},           // above U+FFFF
        {"a\xEF\xBF\xBE" "b", {'a', 0xFFFD, 'b', 0}},     // swapped order mark
        {"\xEF\xBB\xBF" "a", {'a', 0}},                  // order mark
        {"\x80" "a\xF4", {0xFFFD, 'a', 0xFFFD, 0}},
    };
    for (const auto& c : kCases) EXPECT_EQ(c.vCodes, toUcs2(c.szText)) << c.szText;
}

}  // namespace
