// Damaged and hostile pictures through the SDL picture loader: each row is a
// valid PNG, JPEG or TGA written by the test with one field changed, cut
// short, or put under a name of another format.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include <SDL.h>

#include <zep2/error.h>
#include <zep2/resource.h>

#include "sdl/sdl_imagefactory.h"
#include "testkit/testkit_app.h"
#include "testkit/testkit_pictures.h"
#include "testkit/testkit_platform.h"
#include "testkit/testkit_video.h"

namespace {

constexpr int kWidth = 12, kHeight = 10;

Color colourAt(int x, int y) { return Color(uint8_t(x * 20), uint8_t(y * 25), 7, uint8_t(x == 0 ? 90 : 255)); }
// Flat 8 x 8 blocks: 30, 90, 120 and 180.
Color greyAt(int x, int y) {
    const uint8_t g = uint8_t(30 + 60 * (x / 8) + 90 * (y / 8));
    return Color(g, g, g, 255);
}

std::string patched(std::string s, size_t nAt, const std::string& sBytes) {
    return s.replace(nAt, sBytes.size(), sBytes);
}
std::string be16(int n) { return {char(n >> 8), char(n)}; }
std::string be32(uint32_t n) { return be16(int(n >> 16)) + be16(int(n & 0xFFFF)); }
std::string le16(int n) { return {char(n), char(n >> 8)}; }

// The same pixels run-length coded: each row one packet of raw pixels.
// A colour-mapped TGA of two colours whose pixels use index nLast at the end.
std::string mappedTga(uint8_t nLast) {
    std::string s("\x00\x01\x01\x00\x00\x02\x00\x18\x00\x00\x00\x00", 12);
    s += le16(kWidth) + le16(kHeight) + std::string("\x08\x00", 2) + std::string("\x10\x20\x30\x40\x50\x60", 6);
    for (int i = 0; i < kWidth * kHeight - 1; ++i) s += char(i & 1);
    return s + char(nLast);
}

std::string runLengthTga(const std::string& sTga) {
    std::string s = patched(sTga.substr(0, 18), 2, "\x0A");
    for (size_t nRow = 18; nRow < sTga.size(); nRow += 3 * kWidth)
        s += char(kWidth - 1) + sTga.substr(nRow, 3 * kWidth);
    return s;
}

// The offsets of the JPEG's markers, as the test writer lays them out.
constexpr size_t kJpegQuant = 2, kJpegFrame = kJpegQuant + 69;

class HostileImage : public ::testing::Test {
protected:
    void SetUp() override {
        SDL_Init(SDL_INIT_NOPARACHUTE);
        auto pPlatform = std::make_unique<testkit::FakePlatform>();
        pPlatform->setVideoDriver(std::make_unique<testkit::FakeVideoDriver>());
        pPlatform->setImageFactory(std::make_unique<SDLImageFactory>());
        m_app.setPlatform(std::move(pPlatform));
        m_app.addResourceProvider(std::make_unique<Zep::FilesystemResourceProvider>(m_dir.path().c_str()), false);
    }
    void TearDown() override { SDL_Quit(); }

    // "<width>x<height> <alpha or opaque> r,g,b,a" of the bottom-right pixel,
    // or the exception; "@" in the message stands for the folder.
    std::string outcome(const char* szName) {
        try {
            Zep::SmartPtr<Image> img(m_app.getPlatform()->getImageFactory()->load(szName));
            const Color c = img->getPixel(img->getWidth() - 1, img->getHeight() - 1);
            return Zep::String::format("%dx%d %s %d,%d,%d,%d", img->getWidth(), img->getHeight(),
                                       img->hasAlpha() ? "alpha" : "opaque", c.getRed(), c.getGreen(), c.getBlue(),
                                       c.getAlpha())
                .c_str();
        } catch (const Zep::Exception& e) {
            std::string s = std::string(e.className()) + ": " + e.getMessage();
            for (size_t n = s.find(m_dir.path()); n != std::string::npos; n = s.find(m_dir.path()))
                s.replace(n, m_dir.path().size(), "@");
            return s;
        }
    }

    testkit::TempDir m_dir;
    testkit::AppFiles m_files{m_dir};
    testkit::TestApp m_app;
    testkit::ScopedEnv m_video{"SDL_VIDEODRIVER", "dummy"};
};

}  // namespace

TEST_F(HostileImage, EachDamagedPictureIsRefusedOrLoadsAsItIs) {
    const std::string kPng = testkit::pngPicture(kWidth, kHeight, colourAt);
    const std::string kJpeg = testkit::jpegPicture(kWidth, kHeight, greyAt);
    const std::string kTga = testkit::tgaPicture(kWidth, kHeight, false, colourAt);
    const size_t nScan = kJpeg.find("\xFF\xDA");
    const std::string sScan = kJpeg.substr(nScan, kJpeg.size() - 2 - nScan);
    std::string sManyScans = kJpeg.substr(0, nScan);
    for (int i = 0; i < 65; ++i) sManyScans += sScan;
    struct Row {
        const char* szFile;
        std::string sBytes;
        std::string sExpected;  // follows "Surface::loadFromResource : Can't load @" when it holds a "["
        const char* szLoad = nullptr;  // the file's name when null
    };
    const Row kRows[] = {
        {"ok.png", kPng, "12x10 alpha 220,225,7,255"},
        {"gif.png", patched(kPng, 0, "GIF89a"), "gif.png [no PNG signature]"},
        {"jpeg.png", kJpeg, "jpeg.png [no PNG signature]"},
        {"png.jpg", kPng, "png.jpg [no JPEG signature]"},
        {"PNG.JPG", kPng, "PNG.JPG [no JPEG signature]"},
        {"png.tga", kPng, "png.tga [TGA colour map type 80 unknown]"},
        {"bare", kJpeg, "12x10 opaque 180,180,180,255"},
        {"xpm", "/* XPM */\nstatic char *x[] = {\"4 4 1 1\", \". c #000000\", \"....\"};\n",
         "xpm [no PNG or JPEG signature]"},
        {"wide.png", patched(kPng, 16, be32(16385)), "wide.png [16385 x 10 pixels: more than 16384 a side]"},
        {"tall.png", patched(kPng, 16, be32(16383) + be32(65535)),
         "tall.png [16383 x 65535 pixels: more than 16384 a side]"},
        {"many.png", patched(kPng, 16, be32(4096) + be32(4097)),
         "many.png [4096 x 4097 pixels: more than 16777216 pixels]"},
        {"zero.png", patched(kPng, 16, be32(0)), "zero.png [0 x 10 pixels: empty]"},
        {"nohead.png", patched(kPng, 12, "IHDX"), "nohead.png [PNG header missing]"},
        {"cut.png", kPng.substr(0, kPng.size() / 2), "cut.png [Error reading the PNG file.]"},
        {"ok.jpg", kJpeg, "12x10 opaque 180,180,180,255"},
        {"tail.jpg", kJpeg + "more", "12x10 opaque 180,180,180,255"},
        {"noend.jpg", kJpeg.substr(0, kJpeg.size() - 2), "noend.jpg [JPEG cut short]"},
        {"cut.jpg", kJpeg.substr(0, nScan + 12), "cut.jpg [JPEG cut short]"},
        {"huge.jpg", patched(kJpeg, kJpegFrame + 5, be16(16000) + be16(16000)),
         "huge.jpg [16000 x 16000 pixels: more than 16777216 pixels]"},
        {"noframe.jpg", patched(kJpeg, kJpegFrame + 1, "\xE1"), "noframe.jpg [JPEG frame or scan missing]"},
        {"scans.jpg", sManyScans + "\xFF\xD9", "scans.jpg [JPEG of more than 64 scans]"},
        {"len.jpg", patched(kJpeg, kJpegQuant + 2, be16(1)), "len.jpg [JPEG segment length 1]"},
        {"long.jpg", patched(kJpeg, kJpegQuant + 2, be16(0xFFFF)), "long.jpg [JPEG cut short]"},
        {"ok.tga", kTga, "12x10 opaque 220,225,7,255"},
        {"tga", kTga, "tga [no PNG or JPEG signature]"},
        {"cut.tga", kTga.substr(0, kTga.size() - 1), "cut.tga [TGA cut short]"},
        {"rle.tga", runLengthTga(kTga), "12x10 opaque 220,225,7,255"},
        {"rlecut.tga", runLengthTga(kTga).substr(0, 18 + 37 * kHeight - 1), "rlecut.tga [TGA cut short]"},
        {"head.tga", kTga.substr(0, 17), "head.tga [TGA header cut short]"},
        {"type.tga", patched(kTga, 2, "\x05"), "type.tga [TGA image type 5 unknown]"},
        {"depth.tga", patched(kTga, 16, "\x07"), "depth.tga [TGA depth of 7 bits unknown]"},
        {"wide.tga", patched(kTga, 12, le16(20000)), "wide.tga [20000 x 10 pixels: more than 16384 a side]"},
        {"map.tga", mappedTga(1), "12x10 opaque 96,80,64,255"},
        {"index.tga", mappedTga(5), "index.tga [colour index 5 beyond the 2 colours of its palette]"},
        {"mask.alpha.png", patched(kPng, 0, "GIF89a"), "mask.alpha.png [no PNG signature]", "mask"},
        {"mask.alpha.jpg", kJpeg.substr(0, kJpeg.size() - 2), "mask.alpha.jpg [JPEG cut short]", "mask"},
    };
    testkit::writeFileBytes(m_dir.file("mask.png"), kPng);
    for (const Row& row : kRows) {
        testkit::writeFileBytes(m_dir.file(row.szFile), row.sBytes);
        const bool bRefused = row.sExpected.find('[') != std::string::npos;
        const std::string sRefused = "ResourceException: Surface::loadFromResource : Can't load @";
        EXPECT_EQ(bRefused ? sRefused + row.sExpected : row.sExpected, outcome(row.szLoad ? row.szLoad : row.szFile))
            << row.szFile;
    }
}
