// SDL pictures against real SDL and SDL_image: loading with companions,
// colour keys, dropping and reloading pixels, blank images, trim, the
// transfer table shared with the in-memory store, and the mended faults.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <SDL.h>

#include <zep2/error.h>
#include <zep2/resource.h>

#include "image/imagetest_util.h"
#include "testkit/testkit_fixtures.h"
#include "sdl/sdl_image.h"
#include "sdl/sdl_imagefactory.h"
#include "sdl/sdltest_pictures.h"
#include "testkit/testkit_platform.h"
#include "testkit/testkit_video.h"
#include "image/transfer_cases.h"

using namespace imagetest;
using namespace testkit;

namespace {

const PixelFormat kAlphaFormat{32, 0xFF000000u, 0xFFu, 0xFF00u, 0xFF0000u};
const PixelFormat kOpaqueFormat{24, 0, 0xFFu, 0xFF00u, 0xFF0000u};
const Color kKey(9, 9, 9, 255);

// Four flat 8 x 8 blocks, which baseline JPEG keeps exactly.
int blockGrey(int x, int y) {
    static const int kGreys[4] = {0, 66, 132, 255};  // exact in 5 bits as well
    return kGreys[(x / 8) + 2 * (y / 8)];
}
Color greyBlocks(int x, int y) {
    const uint8_t g = static_cast<uint8_t>(blockGrey(x, y));
    return Color(g, g, g, 255);
}
Color keyedPattern(int x, int y) { return (x + y) % 3 == 0 ? kKey : pattern(x, y); }

class SdlImage : public AppTest<> {
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

    void write(const std::string& sName, const std::string& sBytes) {
        testkit::writeFileBytes(m_dir.file(sName), sBytes);
    }
    ImageFactory& factory() { return *m_app.getPlatform()->getImageFactory(); }
    Zep::SmartPtr<Image> load(const char* szName) { return Zep::SmartPtr<Image>(factory().load(szName)); }
    static Surface& surfaceOf(const Image& img) { return *dynamic_cast<const SDLImage&>(img).getSurface(); }

    testkit::ScopedEnv m_video{"SDL_VIDEODRIVER", "dummy"};
};

}  // namespace

TEST_F(SdlImage, AlphaCompanionsGiveEveryPixelItsAlpha) {
    write("logo.png", sdltest::pngOfType(16, 16, 2, pattern));
    write("logo.alpha.jpg", sdltest::jpegOf(16, 16, greyBlocks));  // grey, 24 bits
    write("own.png", sdltest::pngOfType(16, 16, 2, pattern));
    write("own.alpha.png", pngOf(16, 16, [](int x, int y) { return Color(1, 2, 3, uint8_t(x * 16 + y)); }));
    write("deep.png", sdltest::pngOfType(16, 16, 2, pattern));
    write("deep.alpha.png", sdltest::palettePngOf(16, 16, [](int x, int y) {  // a palette of 4: its red counts
              return Color(uint8_t(blockGrey(x, y)), 255, 0, 255);
          }));
    write("plain.tga", sdltest::tgaOf(16, 16, false, pattern));
    write("photo.jpg", sdltest::jpegOf(16, 16, greyBlocks));
    write("x.alpha.png", sdltest::pngOfType(16, 16, 2, pattern));
    write("x.alpha.alpha.png", sdltest::pngOfType(16, 16, 0, greyBlocks));
    struct Case {
        const char* szName;
        PixelFormat format;
        std::function<Color(int, int)> expected;
    };
    const auto withAlpha = [](std::function<int(int, int)> fnAlpha) {
        return [fnAlpha](int x, int y) {
            Color c = pattern(x, y);
            c.setAlpha(uint8_t(fnAlpha(x, y)));
            return c;
        };
    };
    const Case kCases[] = {
        {"logo", kAlphaFormat, withAlpha(blockGrey)},
        {"own", kAlphaFormat, withAlpha([](int x, int y) { return x * 16 + y; })},
        {"deep", kAlphaFormat, withAlpha(blockGrey)},
        {"plain", kOpaqueFormat, pattern},
        {"photo", kOpaqueFormat, greyBlocks},
        {"x.alpha", kOpaqueFormat, pattern},  // a companion never has one of its own
    };
    for (const Case& c : kCases) {
        Zep::SmartPtr<Image> img = load(c.szName);
        EXPECT_EQ(c.format, img->getPixelFormat()) << c.szName;
        EXPECT_EQ("16x16 ins 0,0 data 0,0 16x16", layout(*img)) << c.szName;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                ASSERT_EQ(c.expected(x, y), img->getPixel(x, y)) << c.szName << " " << x << "," << y;
    }
}

// A companion smaller than the picture is applied where both have pixels;
// the rest keeps alpha 255 from the conversion.
TEST_F(SdlImage, SmallerAlphaCompanionIsAppliedOnlyWhereBothHavePixels) {
    write("big.png", sdltest::pngOfType(16, 12, 2, pattern));
    write("big.alpha.png", sdltest::pngOfType(4, 3, 0, [](int x, int y) { return Color(uint8_t(x * 10 + y), 0, 0, 255); }));
    Zep::SmartPtr<Image> img = load("big");
    EXPECT_EQ(std::vector<int>({0, 30, 2, 255, 255}),
              (std::vector<int>{img->getPixel(0, 0).getAlpha(), img->getPixel(3, 0).getAlpha(),
                                img->getPixel(0, 2).getAlpha(), img->getPixel(4, 0).getAlpha(),
                                img->getPixel(15, 11).getAlpha()}));
}

TEST_F(SdlImage, ColorKeyCompanionKeepsTheDecodedFormat) {
    write("key.tga", sdltest::tgaOf(6, 4, false, keyedPattern));
    write("key.colorkey", "");
    Zep::SmartPtr<Image> img = load("key");
    ASSERT_TRUE(img->hasColorKey());
    EXPECT_EQ(kKey, img->getColorKey());  // the bottom-left pixel (0, 3)
    EXPECT_EQ((PixelFormat{24, 0, 0xFF0000u, 0xFF00u, 0xFFu}), img->getPixelFormat());  // TGA's, not converted
    Zep::SmartPtr<Image> dst(factory().createBlank(6, 4, true));
    dst->fill(Color(1, 2, 3, 40));
    dst->blit(*img, 0, 0);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(keyedPattern(x, y) == kKey ? Color(1, 2, 3, 40) : pattern(x, y), dst->getPixel(x, y)) << x << "," << y;
    // The display copy of a keyed picture has alpha, the key and the alpha.
    img->setSurfaceAlpha(90);
    const Zep::SmartPtr<Surface> pDisplay = surfaceOf(*img).displayFormat();
    EXPECT_EQ((std::vector<int>{1, 1, 255, 1}), (std::vector<int>{pDisplay->hasAlpha(), pDisplay->hasColorKey(),
                                                                   pDisplay->getAlpha(), pDisplay->isModified()}));
    EXPECT_EQ(kKey, pDisplay->getColorKey());
    write("other.png", sdltest::pngOfType(1, 1, 2, pattern));
    EXPECT_EQ((std::vector<bool>{true, false, false}),
              (std::vector<bool>{factory().exists("other"), factory().exists("key"), factory().exists("nothing")}));
}

// The key companion's name replaces a real suffix only: a picture found under
// its bare name looks for "bare.colorkey", not ".colorkey".
TEST_F(SdlImage, ColorKeyNameOfABareNameAppendsTheSuffix) {
    write("bare", sdltest::pngOfType(2, 2, 2, keyedPattern));
    write(".colorkey", "");
    EXPECT_FALSE(load("bare")->hasColorKey());
    write("bare.colorkey", "");
    EXPECT_TRUE(load("bare")->hasColorKey());
    EXPECT_FALSE(factory().exists("bare"));  // loads, yet only ".jpg", ".png", ".subimage" exist
}

TEST_F(SdlImage, DroppedPixelsComeBackWithKeyAndSurfaceAlpha) {
    write("key.tga", sdltest::tgaOf(6, 4, false, keyedPattern));
    write("key.colorkey", "");
    write("logo.png", sdltest::pngOfType(16, 16, 2, pattern));
    write("logo.alpha.jpg", sdltest::jpegOf(16, 16, greyBlocks));
    for (const char* szName : {"key", "logo"}) {
        Zep::SmartPtr<Image> img = load(szName);
        img->setSurfaceAlpha(77);
        std::vector<Color> lBefore;
        for (int y = 0; y < img->getHeight(); ++y)
            for (int x = 0; x < img->getWidth(); ++x) lBefore.push_back(img->getPixel(x, y));
        const PixelFormat format = img->getPixelFormat();
        Surface& s = surfaceOf(*img);
        s.releasePixels();
        ASSERT_FALSE(s.hasPixels()) << szName;
        // The format copy answers while the pixels are away.
        EXPECT_EQ(format, img->getPixelFormat());
        EXPECT_EQ(img->hasAlpha() ? 255 : 77, img->getSurfaceAlpha()) << szName;
        EXPECT_EQ(std::string(szName) == "key", img->hasColorKey());
        EXPECT_FALSE(s.hasPixels());
        std::vector<Color> lAfter;
        for (int y = 0; y < img->getHeight(); ++y)
            for (int x = 0; x < img->getWidth(); ++x) lAfter.push_back(img->getPixel(x, y));
        EXPECT_TRUE(s.hasPixels());
        EXPECT_EQ(lBefore, lAfter) << szName;
        EXPECT_EQ(img->hasAlpha() ? 255 : 77, img->getSurfaceAlpha()) << szName;
        if (img->hasColorKey()) {
            EXPECT_EQ(kKey, img->getColorKey());
        }
        // Changed pixels stay for good.
        img->fill(Color(1, 2, 3, 4));
        s.releasePixels();
        EXPECT_TRUE(s.hasPixels()) << szName;
    }
}

// The fault mended: a mask left the surface unmodified, so dropped pixels
// came back from the file without it.
TEST_F(SdlImage, AnAlphaMaskKeepsThePixelsThroughADrop) {
    write("glow.png", pngOf(4, 2, [](int x, int y) { return Color(uint8_t(x), uint8_t(y), 7, 200); }));
    Zep::SmartPtr<Image> img = load("glow");
    ASSERT_TRUE(img->hasAlpha());
    Zep::SmartPtr<Image> mask(factory().createBlank(4, 2, true));
    mask->fill(Color(0, 0, 0, 99));
    img->applyAlphaMask(*mask, 0);
    surfaceOf(*img).releasePixels();
    EXPECT_TRUE(surfaceOf(*img).hasPixels());
    EXPECT_EQ(Color(3, 1, 7, 99), img->getPixel(3, 1));
}

TEST_F(SdlImage, BlankImagesAndTrim) {
    Zep::SmartPtr<Image> tiny(factory().createBlank(0, 0, true));
    EXPECT_EQ("1x1 ins 0,0 data 0,0 1x1", layout(*tiny));
    EXPECT_EQ(Color(0, 0, 0, 0), tiny->getPixel(0, 0));
    tiny->setSurfaceAlpha(10);
    EXPECT_EQ(255, tiny->getSurfaceAlpha());
    Zep::SmartPtr<Image> opaque(factory().createBlank(4, 3, false));
    EXPECT_EQ(kOpaqueFormat, opaque->getPixelFormat());
    EXPECT_EQ(Color(0, 0, 0, 255), opaque->getPixel(3, 2));

    Zep::SmartPtr<Image> one(factory().createBlank(8, 8, true));
    one->setPixel(3, 5, Color(7, 8, 9, 255));
    one->trim();
    EXPECT_EQ("8x8 ins 0,0 data 3,5 1x1", layout(*one));
    EXPECT_EQ(Color(7, 8, 9, 255), one->getPixel(3, 5));
    opaque->trim();  // neither alpha nor key: every pixel shows
    EXPECT_EQ("4x3 ins 0,0 data 0,0 4x3", layout(*opaque));
    Zep::SmartPtr<Image> none(factory().createBlank(8, 6, true));
    none->trim();
    EXPECT_EQ("8x6 ins 0,0 data 0,0 0x0", layout(*none));
}

TEST_F(SdlImage, SharedTransferTable) {
    transfertest::runTransferCases(factory());
}

// Text surfaces come in ARGB while pictures are ABGR: compositing across the
// two orders gives what it gives within one order.
TEST_F(SdlImage, CompositingAcrossChannelOrders) {
    SDL_Surface* pArgb = SDL_CreateRGBSurface(SDL_SWSURFACE, 2, 1, 32, 0xFF0000u, 0xFF00u, 0xFFu, 0xFF000000u);
    static_cast<uint32_t*>(pArgb->pixels)[0] = 0x40C86400u;  // (200, 100, 0, 64)
    static_cast<uint32_t*>(pArgb->pixels)[1] = 0xFF0A141Eu;  // (10, 20, 30, 255)
    Zep::SmartPtr<Image> pSource = new SDLImage(pArgb);
    Zep::SmartPtr<Image> pTarget(factory().createBlank(2, 1, true));
    pTarget->setPixel(0, 0, Color(0, 50, 200, 77));
    pTarget->copyRect(*pSource, 0, 0, 2, 1, 0, 0);
    // da = min(77, 191) = 77, t = 141: (200 x 64) / 141, (50 x 77 + 100 x 64) / 141, (200 x 77) / 141.
    EXPECT_EQ(Color(90, 72, 109, 141), pTarget->getPixel(0, 0));
    EXPECT_EQ(Color(10, 20, 30, 255), pTarget->getPixel(1, 0));
}

TEST_F(SdlImage, EmptyClipChangesAndMarksNothing) {
    write("logo.png", sdltest::pngOfType(16, 16, 2, pattern));
    Zep::SmartPtr<Image> dst = load("logo");
    Zep::SmartPtr<Image> src(factory().createBlank(4, 4, true));
    dst->blit(*src, 100, 0);
    dst->copy(*src, -4, 0);
    dst->copyRect(*src, 0, 0, 4, 4, 0, 40);
    EXPECT_FALSE(surfaceOf(*dst).isModified());
    dst->blit(*src, 0, 0);
    EXPECT_TRUE(surfaceOf(*dst).isModified());
}

TEST_F(SdlImage, SubImagesDetachMirrorAndGrow) {
    write("logo.png", sdltest::pngOfType(16, 16, 2, pattern));
    Zep::SmartPtr<Image> img = load("logo");
    Zep::SmartPtr<Image> sub = img->createSubImage(4, 2, 8, 6, false);
    EXPECT_EQ(&surfaceOf(*img), &surfaceOf(*sub));  // shared until the first access
    sub->hflip();
    EXPECT_EQ(pattern(11, 2), sub->getPixel(0, 0));
    EXPECT_NE(&surfaceOf(*img), &surfaceOf(*sub));
    sub->vflip();
    EXPECT_EQ(pattern(11, 7), sub->getPixel(0, 0));
    // Conversions keep the geometry and the colours.
    sub->setInsPoint(2, 3);
    Zep::SmartPtr<Image> converted = sub->convert(kAlphaFormat);
    EXPECT_EQ(kAlphaFormat, converted->getPixelFormat());
    EXPECT_EQ("8x6 ins 2,3 data 0,0 8x6", layout(*converted));
    EXPECT_EQ(pattern(11, 7), converted->getPixel(0, 0));
    converted->removeAlphaChannel();
    EXPECT_EQ(kOpaqueFormat, converted->getPixelFormat());
    converted->addAlphaChannel();
    EXPECT_EQ((std::vector<Color>{pattern(4, 2), pattern(4, 2)}),
              (std::vector<Color>{converted->getPixel(7, 5), sub->getPixel(7, 5)}));
    // A fill of a sub-image never reaches the picture it was cut from.
    img->createSubImage(0, 0, 2, 2, false)->fill(Color(1, 2, 3, 255));
    EXPECT_EQ(pattern(0, 0), img->getPixel(0, 0));
    // Onto itself: the pixels as they were before the transfer.
    Zep::SmartPtr<Image> row(factory().createBlank(4, 1, true));
    for (int x = 0; x < 4; ++x) row->setPixel(x, 0, pattern(x, 0));
    row->copy(*row, 1, 0);
    row->copyRect(*row, 0, 0, 1, 1, 3, 0);
    EXPECT_EQ((std::vector<Color>{pattern(0, 0), pattern(0, 0), pattern(1, 0), pattern(0, 0)}),
              (std::vector<Color>{row->getPixel(0, 0), row->getPixel(1, 0), row->getPixel(2, 0), row->getPixel(3, 0)}));
    // Growing the data keeps canvas positions; the new part is clear.
    Zep::SmartPtr<Image> a(factory().createBlank(2, 2, true));
    a->setPixel(1, 1, Color(5, 6, 7, 255));
    a->setVirtualCanvas(0, 0, 6, 6);
    a->setColorKey(kKey);
    a->setDataRect(1, 1, 3, 3);
    EXPECT_EQ("6x6 ins 0,0 data 1,1 3x3", layout(*a));
    EXPECT_EQ((std::vector<Color>{Color(5, 6, 7, 255), Color(0, 0, 0, 0)}),
              (std::vector<Color>{a->getPixel(1, 1), a->getPixel(3, 3)}));
    EXPECT_TRUE(a->hasColorKey());
}

TEST_F(SdlImage, LoadingErrors) {
    write("junk.png", "not a picture");
    EXPECT_EQ("Surface::loadFromFiles : resource nothing not found",
              messageOf<Zep::BadParmException>([&] { load("nothing"); }));
    const std::string sJunk = messageOf<Zep::ResourceException>([&] { load("junk"); });
    EXPECT_EQ("Surface::loadFromResource : Can't load " + m_dir.path() + "junk.png [", sJunk.substr(0, sJunk.find('[') + 1));
    EXPECT_EQ("Assertion failed : pSurf", messageOf<Zep::AssertFailException>([] { SDLImage img(nullptr); }));
    int nPixel = 0x11223344;
    Zep::SmartPtr<Image> over(factory().createFromPixels(&nPixel, 1, 1, 32, 4, 0xFF, 0xFF00, 0xFF0000, 0xFF000000u));
    EXPECT_EQ(Color(0x44, 0x33, 0x22, 0x11), over->getPixel(0, 0));
    over->setPixel(0, 0, Color(1, 2, 3, 4));
    EXPECT_EQ(0x04030201, nPixel);
}
