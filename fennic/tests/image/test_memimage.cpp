// The in-memory pixel store: formats, blending, locking, store primitives
// and the factory.
#include <gtest/gtest.h>

#include <vector>

#include <zep2/error.h>

#include "image/imagetest_util.h"
#include "testkit/testkit_fixtures.h"
#include "image/transfer_cases.h"

using namespace imagetest;
using namespace testkit;

namespace {

// 32-bit words with red in the low byte: a layout the store handles
// through its general path.
const PixelFormat kAbgr{32, 0xFF000000u, 0x000000FFu, 0x0000FF00u, 0x00FF0000u};
const PixelFormat k565{16, 0, 0xF800, 0x07E0, 0x001F};

uint32_t rawPixel(Image& img, int x, int y) { return dynamic_cast<MemImage&>(img).getStore().readRaw(x, y); }

// Data pixels at the given positions.
std::vector<Color> pixelsAt(const Image& img, std::initializer_list<std::pair<int, int>> lAt) {
    std::vector<Color> l;
    for (auto [x, y] : lAt) l.push_back(dataPixel(img, x, y));
    return l;
}

}  // namespace

TEST(MemImageFactory, BlankImages) {
    MemImageFactory factory;
    Zep::SmartPtr<Image> a = factory.createBlank(0, -3, true);
    EXPECT_EQ(1, a->getRefCount());
    EXPECT_EQ(Point(1, 1), a->getSize());
    EXPECT_EQ(Color(0, 0, 0, 0), dataPixel(*a, 0, 0));
    EXPECT_EQ(MemPixelFormats::kAlpha, a->getPixelFormat());
    a->setSurfaceAlpha(10);
    EXPECT_EQ(255, a->getSurfaceAlpha());  // an alpha channel always reports 255

    Zep::SmartPtr<Image> o = factory.createBlank(3, 2, false);
    EXPECT_FALSE(o->hasAlpha());
    EXPECT_EQ(Color(0, 0, 0, 255), dataPixel(*o, 2, 1));  // black, opaque
    EXPECT_EQ(MemPixelFormats::kOpaque, o->getPixelFormat());
    for (auto [nSet, nGot] : {std::pair{-1, 255}, {128, 128}, {999, 255}}) {
        if (nSet >= 0) o->setSurfaceAlpha(nSet);
        EXPECT_EQ(nGot, o->getSurfaceAlpha());
    }
    EXPECT_EQ(Point(0, 0), Zep::SmartPtr<Image>(factory.createEmpty())->getSize());
}

TEST(MemImageFactory, PixelsOverCallerMemory) {
    MemImageFactory factory;
    std::vector<uint32_t> lWords(4 * 2, 0);
    Zep::SmartPtr<Image> img = factory.createFromPixels(lWords.data(), 4, 2, 32, 16, kAbgr.nRedMask,
                                                        kAbgr.nGreenMask, kAbgr.nBlueMask, kAbgr.nAlphaMask);
    img->setPixel(1, 1, Color(0x11, 0x22, 0x33, 0x44));
    EXPECT_EQ(0x44332211u, lWords[5]);  // written in place
    lWords[2] = 0x80FF0001u;
    EXPECT_EQ(Color(1, 0, 255, 128), img->getPixel(2, 0));
    EXPECT_EQ(kAbgr, img->getPixelFormat());
    EXPECT_EQ("Bad pixel memory : 4x2, pitch 8", messageOf<Zep::BadParmException>([&] {
                  factory.createFromPixels(lWords.data(), 4, 2, 32, 8, 0xFF, 0xFF00, 0xFF0000, 0);
              }));
    EXPECT_EQ("Bad pixel memory : 4x2, pitch 16, no pixels", messageOf<Zep::BadParmException>([&] {
                  factory.createFromPixels(nullptr, 4, 2, 32, 16, 0xFF, 0xFF00, 0xFF0000, 0);
              }));

    // 24-bit pixels, blue first in memory.
    std::vector<uint8_t> lBytes = {1, 2, 3, 4, 5, 6, 0, 0};
    Zep::SmartPtr<Image> src = factory.createFromPixels(lBytes.data(), 2, 1, 24, 8, 0xFF0000, 0xFF00, 0xFF, 0);
    EXPECT_EQ(Color(3, 2, 1, 255), src->getPixel(0, 0));
    auto dst = solid(2, 1, true, Color(0, 0, 0, 0));
    dst->blit(*src, 0, 0);
    EXPECT_EQ(Color(6, 5, 4, 255), dataPixel(*dst, 1, 0));
    src->setPixel(1, 0, Color(7, 8, 9, 255));
    EXPECT_EQ(std::make_pair(uint8_t(9), uint8_t(7)), std::make_pair(lBytes[3], lBytes[5]));
}

TEST(MemImageFactory, UnsupportedFormatsAreRefused) {
    EXPECT_EQ("Unsupported pixel format : 12 bpp, masks A 00000000 R 00000F00 G 000000F0 B 0000000F",
              messageOf<Zep::BadParmException>([] { PixelStore::checkFormat(PixelFormat{12, 0, 0xF00, 0xF0, 0xF}); }));
    // Overlapping, split and oversized masks.
    for (const PixelFormat& format : {PixelFormat{32, 0, 0xFF00, 0xFFF0, 0xFF}, PixelFormat{16, 0, 0x0F0F, 0x00F0, 0},
                                      PixelFormat{16, 0, 0x1F0000, 0x7E0, 0x1F}})
        EXPECT_THROW(PixelStore::checkFormat(format), Zep::BadParmException);
    EXPECT_THROW(makeImage(2, 2, true)->convert(PixelFormat{0, 0, 0, 0, 0}), Zep::BadParmException);
}

TEST(MemImageLocking, PixelsNeedALockAndAPlaceInTheData) {
    auto img = makeImage(4, 4, true);
    EXPECT_EQ("MemImage::readPixel : the image is not locked",
              messageOf<Zep::BadStateException>([&] { img->readPixel(0, 0); }));
    EXPECT_EQ("MemImage::unlock : the image is not locked", messageOf<Zep::BadStateException>([&] { img->unlock(); }));
    ImageLock outer(*img), inner(*img);
    EXPECT_EQ(2, img->getLockCount());
    EXPECT_EQ("MemImage::readPixel : (4, 0) is outside the data (4x4)",
              messageOf<Zep::BadParmException>([&] { img->readPixel(4, 0); }));
    EXPECT_EQ("MemImage::writePixel : (0, -1) is outside the data (4x4)",
              messageOf<Zep::BadParmException>([&] { img->writePixel(0, -1, Color()); }));
}

TEST(MemImageBlend, FormulaOnEveryDestinationKind) {
    const Color src(200, 100, 50, 128);
    // 10 + (190*128 >> 8) = 105, 20 + (80*128 >> 8) = 60, 30 + (20*128 >> 8)
    // = 40; the destination's alpha stays. Onto opaque ((s - d)*a + 255 >> 8)
    // gives the same here. The general path (another word layout on both
    // sides) gives the same.
    const std::tuple<Zep::SmartPtr<Image>, Zep::SmartPtr<Image>, Color> kCases[] = {
        {solid(1, 1, true, Color(10, 20, 30, 255)), solid(1, 1, true, src), Color(105, 60, 40, 255)},
        {solid(1, 1, true, Color(10, 20, 30, 0)), solid(1, 1, true, src), Color(105, 60, 40, 0)},
        {solid(1, 1, false, Color(10, 20, 30, 255)), solid(1, 1, true, src), Color(105, 60, 40, 255)},
        {solid(1, 1, true, Color(10, 20, 30, 255))->convert(kAbgr), solid(1, 1, true, src)->convert(kAbgr),
         Color(105, 60, 40, 255)},
    };
    for (const auto& [dst, from, expected] : kCases) {
        dst->blit(*from, 0, 0);
        EXPECT_EQ(expected, dataPixel(*dst, 0, 0));
    }
    // Fully transparent and fully opaque sources.
    auto dst = solid(2, 1, true, Color(1, 2, 3, 4));
    dst->blit(*makeImage(2, 1, true, [](int x, int) { return Color(9, 9, 9, x ? 255 : 0); }), 0, 0);
    EXPECT_EQ(pixelsAt(*dst, {{0, 0}, {1, 0}}), (std::vector<Color>{Color(1, 2, 3, 4), Color(9, 9, 9, 4)}));
}

TEST(MemImageBlend, ColorKeyAndSurfaceAlphaOfOpaqueSources) {
    const Color key(255, 0, 255, 255), kBlack(0, 0, 0, 255);
    auto src = makeImage(2, 1, false, [&](int x, int) { return x ? Color(100, 100, 100, 255) : key; });
    src->setColorKey(key);
    auto dst = solid(2, 1, true, kBlack);
    dst->blit(*src, 0, 0);  // the keyed pixel is skipped
    EXPECT_EQ(pixelsAt(*dst, {{0, 0}, {1, 0}}), (std::vector<Color>{kBlack, Color(100, 100, 100, 255)}));
    dst->copy(*src, 0, 0);  // copy ignores the key
    EXPECT_EQ(key, dataPixel(*dst, 0, 0));

    src->setSurfaceAlpha(128);
    auto faded = solid(2, 1, false, kBlack);
    faded->blit(*src, 0, 0);  // (100*128 + 255) >> 8
    EXPECT_EQ(pixelsAt(*faded, {{0, 0}, {1, 0}}), (std::vector<Color>{kBlack, Color(50, 50, 50, 255)}));
    // The same through the general path: (100, 100, 100) in 5-6-5 reads
    // (99, 101, 99); at 128 over black: (50, 51, 50).
    Zep::SmartPtr<Image> src16 = src->convert(k565);
    src16->setColorKey(src16->getPixel(0, 0));
    auto faded16 = solid(2, 1, false, kBlack);
    faded16->blit(*src16, 0, 0);
    EXPECT_EQ(pixelsAt(*faded16, {{0, 0}, {1, 0}}), (std::vector<Color>{kBlack, Color(50, 51, 50, 255)}));
}

TEST(MemImageCopy, AlphaIsKeptDroppedOrAdded) {
    auto src = solid(2, 2, true, Color(10, 20, 30, 40));
    auto dstA = solid(2, 2, true, Color(0, 0, 0, 0));
    auto dstO = solid(2, 2, false, Color(0, 0, 0, 0));
    auto back = solid(2, 2, true, Color(0, 0, 0, 0));
    dstA->copy(*src, 0, 0);
    dstO->copy(*src, 0, 0);
    back->copy(*dstO, 0, 0);
    EXPECT_EQ((std::vector<Color>{Color(10, 20, 30, 40), Color(10, 20, 30, 255), Color(10, 20, 30, 255)}),
              (std::vector<Color>{dataPixel(*dstA, 1, 1), dataPixel(*dstO, 1, 1), dataPixel(*back, 0, 0)}));

    // copyRect takes a canvas rectangle and places it by the insertion point.
    auto sheet = makeImage(8, 8, true);
    sheet->setInsPoint(1, 1);
    auto dst = solid(4, 4, true, Color(0, 0, 0, 0));
    dst->copyRect(*sheet, 2, 3, 2, 2, 2, 2);
    EXPECT_EQ(pixelsAt(*dst, {{1, 1}, {2, 2}, {3, 3}}),
              (std::vector<Color>{pattern(2, 3), pattern(3, 4), Color(0, 0, 0, 0)}));
}

TEST(MemImageCopy, CopyOntoItselfUsesThePixelsAsTheyWere) {
    auto img = onCanvas(makeImage(4, 4, true), 0, 0, 10, 10);
    img->copy(*img, 4, 4);
    EXPECT_EQ(Point(8, 8), img->getDataSize());
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(pattern(x, y), img->getPixel(x, y));
            EXPECT_EQ(pattern(x, y), img->getPixel(x + 4, y + 4));
        }
    }
    auto row = makeImage(4, 1, true);
    row->copy(*row, 1, 0);
    EXPECT_EQ(pixelsAt(*row, {{1, 0}, {3, 0}}), (std::vector<Color>{pattern(0, 0), pattern(2, 0)}));
}

TEST(MemImageFormat, ConvertReducesAndExpandsChannels) {
    auto img = onCanvas(solid(3, 2, true, Color(255, 128, 7, 77)), 1, 2, 9, 9);
    img->setInsPoint(4, 5);
    Zep::SmartPtr<Image> c = img->convert(k565);
    // 5-6-5: r (255*31+127)/255 = 31, g (128*63+127)/255 = 32, b (7*31+127)/255 = 1.
    EXPECT_EQ(0xFC01u, rawPixel(*c, 0, 0));
    // Expanded: 31 -> 255, 32 -> round(32*255/63) = 130, 1 -> round(255/31) = 8.
    EXPECT_EQ(Color(255, 130, 8, 255), dataPixel(*c, 2, 1));
    EXPECT_FALSE(c->hasAlpha());
    EXPECT_EQ("9x9 ins 4,5 data 1,2 3x2", layout(*c));

    Zep::SmartPtr<Image> small = img->convert(PixelFormat{8, 0, 0xE0, 0x1C, 0x03});
    // 3-3-2: r 7, g (128*7+127)/255 = 4, b (7*3+127)/255 = 0.
    EXPECT_EQ(0xF0u, rawPixel(*small, 1, 1));
    EXPECT_EQ(Color(255, 146, 0, 255), dataPixel(*small, 1, 1));
    // alpha (77*15+127)/255 = 5 -> 85
    EXPECT_EQ(85, dataPixel(*img->convert(PixelFormat{16, 0xF000, 0x0F00, 0x00F0, 0x000F}), 0, 0).getAlpha());

    // Preparing for display goes back to the display format.
    Zep::SmartPtr<Image> odd = solid(2, 2, true, Color(1, 2, 3, 4))->convert(kAbgr);
    odd->prepareForDisplay();
    EXPECT_EQ(MemPixelFormats::kAlpha, odd->getPixelFormat());
    EXPECT_EQ(Color(1, 2, 3, 4), dataPixel(*odd, 1, 1));
}

TEST(MemImageFormat, AddAndRemoveTheAlphaChannel) {
    const Color key(0, 255, 0, 255);
    auto img = makeImage(2, 1, false, [&](int x, int) { return x ? Color(5, 6, 7, 255) : key; });
    img->setColorKey(key);
    img->addAlphaChannel();
    EXPECT_TRUE(img->hasAlpha());
    EXPECT_FALSE(img->hasColorKey());
    EXPECT_EQ(pixelsAt(*img, {{0, 0}, {1, 0}}), (std::vector<Color>{Color(0, 255, 0, 0), Color(5, 6, 7, 255)}));
    EXPECT_TRUE(img->isTransparent(0, 0, 0));
    img->removeAlphaChannel();
    EXPECT_FALSE(img->hasAlpha());
    EXPECT_EQ(Color(0, 255, 0, 255), dataPixel(*img, 0, 0));
}

TEST(MemImageStore, SetDataRectKeepsCanvasPositionsAndThePixelScaleTravelsWithTheStore) {
    auto img = onCanvas(makeImage(4, 4, true), 2, 2, 10, 10);
    EXPECT_FLOAT_EQ(1.0f, img->getPixelScale());
    img->setPixelScale(2.0f);
    Zep::SmartPtr<MemImage> sub = new MemImage(), shared = new MemImage();
    sub->setSubImage(*img, 0, 0, 2, 2);
    shared->shareData(*img);
    EXPECT_TRUE(shared->sharesStoreWith(*img));
    img->setDataRect(3, 1, 5, 3);
    EXPECT_EQ("10x10 ins 0,0 data 3,1 5x3", layout(*img));
    // A new area, two kept pixels and a cut off one, now margin.
    EXPECT_EQ((std::vector<Color>{Color(0, 0, 0, 0), pattern(1, 0), pattern(3, 1), Color(0, 0, 0, 255)}),
              (std::vector<Color>{img->getPixel(3, 1), img->getPixel(3, 2), img->getPixel(5, 3), img->getPixel(2, 2)}));
    sub->flushPending();
    EXPECT_EQ((std::vector<float>{2.0f, 2.0f, 2.0f}),
              (std::vector<float>{img->getPixelScale(), sub->getPixelScale(), shared->getPixelScale()}));
    EXPECT_EQ("MemImage::setDataRect : negative size -1x3",
              messageOf<Zep::BadParmException>([&] { img->setDataRect(0, 0, -1, 3); }));
}

TEST(MemImageStore, TrimKeepsTheCanvasAndFillOnlyTheData) {
    auto img = makeImage(6, 5, true, [](int x, int y) {
        return Color(1, 1, 1, (x >= 2 && x <= 4 && y >= 1 && y <= 3 && x + y != 7) ? 200 : 0);
    });
    img->setVirtualCanvas(1, 1, 8, 7);
    auto clear = solid(3, 3, true, Color(1, 1, 1, 0));
    auto opaque = solid(3, 3, false, Color(0, 0, 0, 255));
    for (auto* p : {img.get(), clear.get(), opaque.get()}) p->trim();
    EXPECT_EQ(200, img->getPixel(3, 2).getAlpha());
    EXPECT_EQ((std::vector<std::string>{layout(*img), layout(*clear), layout(*opaque)}),
              (std::vector<std::string>{"8x7 ins 0,0 data 3,2 3x3", "3x3 ins 0,0 data 0,0 0x0",
                                        "3x3 ins 0,0 data 0,0 3x3"}));

    auto filled = onCanvas(solid(3, 2, false, Color(0, 0, 0, 255)), 1, 1, 6, 6);
    filled->fill(Color(9, 8, 7, 0));
    EXPECT_EQ((std::vector<Color>{Color(9, 8, 7, 255), Color(9, 8, 7, 255), Color(0, 0, 0, 255)}),
              (std::vector<Color>{filled->getPixel(1, 1), filled->getPixel(3, 2), filled->getPixel(4, 2)}));
}

namespace {

Zep::SmartPtr<MemImage> fromPng(const std::vector<uint8_t>& lBytes) {
    Zep::SmartPtr<MemImage> p = new MemImage();
    p->loadPicture(lBytes.data(), lBytes.size(), "pic");
    return p;
}

std::vector<uint8_t> png(int w, int h, int nColorType, int nDepth, std::vector<std::vector<uint8_t>> lRows,
                         std::vector<uint8_t> lPalette = {}, std::vector<uint8_t> lTransparency = {},
                         int nFilter = -1) {
    return encodePng(PngSpec{w, h, nColorType, nDepth, std::move(lRows), std::move(lPalette),
                             std::move(lTransparency), nFilter});
}

// The good file's bytes with a chunk put in after the signature (at 8) or
// after the header (at 33).
std::vector<uint8_t> withChunk(std::vector<uint8_t> lBytes, size_t nAt, const char* szType) {
    std::vector<uint8_t> lChunk;
    putChunk(lChunk, szType, {1, 2});
    lBytes.insert(lBytes.begin() + static_cast<ptrdiff_t>(nAt), lChunk.begin(), lChunk.end());
    return lBytes;
}

// Every data pixel, row by row.
std::vector<Color> allPixels(const Image& img) {
    std::vector<Color> l;
    for (int y = 0; y < img.getDataHeight(); ++y)
        for (int x = 0; x < img.getDataWidth(); ++x) l.push_back(dataPixel(img, x, y));
    return l;
}

}  // namespace

TEST(MemImagePicture, RgbaThroughEveryRowFilter) {
    auto fn = [](int x, int y) {
        return Color(static_cast<uint8_t>(x * 29), static_cast<uint8_t>(y * 31), static_cast<uint8_t>(x * y * 13),
                     static_cast<uint8_t>(x * 37 + y * 11));
    };
    Zep::SmartPtr<MemImage> img = new MemImage();
    img->setInsPoint(3, 4);
    const std::string sBytes = pngOf(9, 7, fn);
    img->loadPicture(reinterpret_cast<const uint8_t*>(sBytes.data()), sBytes.size(), "pic");
    EXPECT_EQ("9x7 ins 3,4 data 0,0 9x7", layout(*img));
    EXPECT_TRUE(img->hasAlpha());
    expectData(*img, 9, 7, fn);
}

TEST(MemImagePicture, GreyPaletteAndDeepFormats) {
    const Color kWhite(255, 255, 255, 255), kBlack(0, 0, 0, 255), kP1(1, 2, 3, 0), kP2(40, 50, 60, 255),
        kP3(70, 80, 90, 255), kP4(200, 210, 220, 255);
    const std::vector<uint8_t> lPalette = {1, 2, 3, 40, 50, 60, 70, 80, 90, 200, 210, 220};
    const struct {
        std::vector<uint8_t> lBytes;
        bool bAlpha;
        std::vector<Color> lPixels;
    } kCases[] = {
        // Grey with alpha, as the built-in font strip is stored.
        {png(2, 1, 4, 8, {{10, 20, 200, 255}}), true, {Color(10, 10, 10, 20), Color(200, 200, 200, 255)}},
        // 1-bit and 4-bit grey.
        {png(10, 1, 0, 1, {{0xA0, 0x40}}), false,
         {kWhite, kBlack, kWhite, kBlack, kBlack, kBlack, kBlack, kBlack, kBlack, kWhite}},
        {png(3, 1, 0, 4, {{0x3F, 0x10}}), false,
         {Color(51, 51, 51, 255), kWhite, Color(17, 17, 17, 255)}},
        // 2-bit palette, the first entry transparent: indices 0 1 2 3 1 / 3 2 1 0 0.
        {png(5, 2, 3, 2, {{0x1B, 0x40}, {0xE4, 0x00}}, lPalette, {0}), true,
         {kP1, kP2, kP3, kP4, kP2, kP4, kP3, kP2, kP1, kP1}},
        // 16-bit RGB with a transparent colour: the high bytes count.
        {png(2, 1, 2, 16, {{0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0, 1, 0, 2, 0, 3}}, {}, {0, 1, 0, 2, 0, 3}), true,
         {Color(0x12, 0x56, 0x9A, 255), Color(0, 0, 0, 0)}},
        // 8-bit grey with a transparent grey level; 8-bit RGB without transparency is opaque.
        {png(2, 1, 0, 8, {{5, 7}}, {}, {0, 5}), true, {Color(5, 5, 5, 0), Color(7, 7, 7, 255)}},
        {png(1, 2, 2, 8, {{1, 2, 3}, {4, 5, 6}}), false, {Color(1, 2, 3, 255), Color(4, 5, 6, 255)}},
    };
    for (const auto& c : kCases) {
        auto img = fromPng(c.lBytes);
        EXPECT_EQ(c.bAlpha, img->hasAlpha());
        EXPECT_EQ(c.lPixels, allPixels(*img));
    }
}

TEST(MemImagePicture, DamagedFilesAreRefused) {
    const std::string sGood = pngOf(3, 3, [](int, int) { return Color(0x40, 0x20, 0x10, 0x80); });
    const std::vector<uint8_t> lGood(sGood.begin(), sGood.end());
    auto lBadCrc = lGood;
    lBadCrc[20] ^= 1;  // inside the header
    auto lInterlaced = png(1, 1, 6, 8, {{1, 2, 3, 4}});
    lInterlaced[28] = 1;  // interlace method, then fix the checksum
    const uLong nCrc = crc32(crc32(0, nullptr, 0), &lInterlaced[12], 17);
    for (int i = 0; i < 4; ++i) lInterlaced[29 + i] = static_cast<uint8_t>(nCrc >> (24 - 8 * i));
    const std::pair<std::vector<uint8_t>, const char*> kCases[] = {
        {{0xFF, 0xD8, 0xFF, 0xE0, 0, 0, 0, 0, 0}, "MemImage : 'pic' is not a picture this store can read (PNG only)"},
        {lBadCrc, "PNG 'pic' : bad chunk checksum"},
        {std::vector<uint8_t>(lGood.begin(), lGood.begin() + 40), "PNG 'pic' : truncated chunk"},
        {lInterlaced, "PNG 'pic' : interlaced pictures are not supported"},
        {png(2, 1, 3, 8, {{0, 5}}, {1, 2, 3}), "PNG 'pic' : palette index out of range"},
        {png(1, 1, 3, 8, {{0}}), "PNG 'pic' : palette missing"},
        {png(0, 1, 6, 8, {}), "PNG 'pic' : bad picture size"},
        {png(1, 1, 5, 8, {{0}}), "PNG 'pic' : bad colour type or bit depth"},
        {png(1, 1, 4, 8, {{1, 2}}, {}, {0, 0}), "PNG 'pic' : bad transparency"},
        {png(1, 1, 6, 8, {{1, 2, 3, 4}}, {}, {}, 5), "PNG 'pic' : bad row filter"},
        {withChunk(lGood, 8, "IDAT"), "PNG 'pic' : header missing"},
        {withChunk(lGood, 33, "QUUX"), "PNG 'pic' : unknown critical chunk"},
        // A few bytes of data cannot fill 4096 x 4096 pixels: refused before allocating for them.
        {png(4096, 4096, 6, 8, {{1, 2, 3, 4}}), "PNG 'pic' : image data truncated or corrupt"},
    };
    for (const auto& [lBytes, szMessage] : kCases)
        EXPECT_EQ(szMessage, messageOf<Zep::BadStreamFormatException>([&lBytes = lBytes] { fromPng(lBytes); }));
    // Every cut of a good file is refused cleanly.
    for (size_t n = 0; n < lGood.size(); ++n) {
        Zep::SmartPtr<MemImage> p = new MemImage();
        EXPECT_THROW(p->loadPicture(lGood.data(), n, "cut"), Zep::BadStreamFormatException) << n;
    }
}

// The transfer table that the SDL pictures pass as well.
TEST(MemImageTransfers, SharedTransferTable) {
    MemImageFactory factory;
    transfertest::runTransferCases(factory);
}
