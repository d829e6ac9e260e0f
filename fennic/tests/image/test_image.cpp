// The Image algorithms (geometry, clipping, deferred work, pixel edits,
// sub-images) on real pixels of in-memory images.
#include <gtest/gtest.h>

#include <utility>

#include <zep2/error.h>

#include "image/imagetest_util.h"
#include "testkit/testkit_fixtures.h"

using namespace imagetest;
using namespace testkit;

namespace {

// Flip flags and store origin, as "h v x,y".
std::string pending(const Image& img) {
    bool bH = false, bV = false;
    int x = -1, y = -1;
    img.getFlipFlags(&bH, &bV);
    img.getStoreOrigin(&x, &y);
    return std::to_string(bH) + " " + std::to_string(bV) + " " + std::to_string(x) + "," + std::to_string(y);
}

Zep::SmartPtr<MemImage> subImage(Image& src, int x, int y, int w, int h) {
    Zep::SmartPtr<MemImage> p = new MemImage();
    p->setSubImage(src, x, y, w, h);
    return p;
}

// Canvas pixels (getPixel) at the given positions.
std::vector<Color> canvasPixels(Image& img, std::initializer_list<std::pair<int, int>> lAt) {
    std::vector<Color> l;
    for (auto [x, y] : lAt) l.push_back(img.getPixel(x, y));
    return l;
}

const Color kMargin(0, 0, 0, 255);

}  // namespace

TEST(ImageGeometry, RectsInAnchorCoordinatesAndAlignedInsPoints) {
    auto img = onCanvas(makeImage(20, 10, true), 30, 5, 100, 50);
    img->setInsPoint(40, 8);
    EXPECT_EQ(Rect(-40, -8, 60, 42), img->getRect());
    EXPECT_EQ(Rect(-10, -3, 10, 7), img->getDataRect());
    EXPECT_EQ(std::make_pair(100, 50), std::make_pair(img->getDimension(false), img->getDimension(true)));
    int n[5] = {};  // the pointer forms take null for what is not wanted
    img->getSize(&n[0], &n[1]);
    img->getDataSize(&n[2], nullptr);
    img->getInsPoint(nullptr, &n[3]);
    img->getDataOffset(nullptr, &n[4]);
    EXPECT_EQ((std::vector<int>{100, 50, 20, 8, 5}), std::vector<int>(n, n + 5));
    img->setInsPoint(Point(-1.7f, 2.9f));  // truncated toward zero
    EXPECT_EQ(Point(-1, 2), img->getInsPoint());

    auto whole = makeImage(10, 6, true);
    const int kData = Image::kAlignToData;
    const std::tuple<Image*, int, Point> kCases[] = {
        {whole.get(), Image::kAlignRight | Image::kAlignBottom, Point(9, 5)},
        {whole.get(), Image::kAlignCenterX | Image::kAlignCenterY, Point(5, 3)},
        {whole.get(), Image::kAlignRight | Image::kAlignCenterX, Point(9, 0)},  // 2 wins
        {whole.get(), 0, Point(0, 0)},
        {img.get(), kData | Image::kAlignCenterX, Point(40, 5)},
        {img.get(), kData | Image::kAlignRight | Image::kAlignBottom, Point(49, 14)},
    };
    for (const auto& [pImage, nFlags, expected] : kCases) {
        pImage->alignInsPoint(nFlags);
        EXPECT_EQ(expected, pImage->getInsPoint()) << nFlags;
    }
}

TEST(ImageFlip, FlipsMirrorAnchorDataAndPixelsAndFlippingBackRestoresThem) {
    auto img = onCanvas(makeImage(20, 10, true), 30, 5, 100, 50);
    img->setInsPoint(10, 7);
    const uint32_t nRevision = img->getRevision();
    img->hflip();
    // Geometry changes at once, the pixels only when next used.
    EXPECT_EQ("100x50 ins 90,7 data 50,5 20x10", layout(*img));
    EXPECT_EQ("1 0 0,0", pending(*img));
    EXPECT_EQ(std::make_pair(nRevision, 1), std::make_pair(img->getRevision(), img->getGeometryNotifications()));
    // Canvas column 30 + k shows what column 100 - 1 - (30 + k) showed.
    for (int k = 0; k < 20; ++k) EXPECT_EQ(pattern(k, 3), img->getPixel(69 - k, 8)) << k;
    EXPECT_EQ("0 0 0,0", pending(*img));

    auto rows = onCanvas(makeImage(6, 4, true), 1, 2, 10, 10);
    rows->setInsPoint(3, 3);
    rows->vflip();
    EXPECT_EQ("10x10 ins 3,7 data 1,4 6x4", layout(*rows));
    for (int k = 0; k < 4; ++k) EXPECT_EQ(pattern(2, k), rows->getPixel(3, 7 - k)) << k;

    // Two flips cost no pixel work; flushed flips flipped back and flushed again.
    auto back = onCanvas(makeImage(7, 5, true), 3, 1, 13, 9);
    const uint32_t nBackRevision = back->getRevision();
    back->hflip();
    back->hflip();
    EXPECT_EQ("0 0 0,0", pending(*back));
    back->flushPending();
    EXPECT_EQ(nBackRevision, back->getRevision());
    EXPECT_EQ("13x9 ins 0,0 data 3,1 7x5", layout(*back));
    auto both = makeImage(5, 3, true);
    both->hflip();
    both->vflip();
    both->flushPending();
    EXPECT_EQ(pattern(4, 2), dataPixel(*both, 0, 0));
    both->vflip();
    both->hflip();
    both->flushPending();
    expectData(*both, 5, 3);
}

// Placement is the same for every transfer; copy shows the pixels unblended.
TEST(ImageBlit, IntoEmptyDataGrowsExactlyToTheWrittenRectangle) {
    auto dst = onCanvas(new MemImage(), 0, 0, 50, 40);
    dst->copy(*makeImage(10, 6, true), 5, 7);
    EXPECT_EQ("50x40 ins 0,0 data 5,7 10x6", layout(*dst));
    expectData(*dst, 10, 6);
    // The source rectangle starts left of the source data and the destination
    // runs past the canvas: columns 0..8 land from x = 17, only 17..19 fit.
    auto clipped = onCanvas(new MemImage(), 0, 0, 20, 20);
    clipped->copy(*makeImage(10, 10, true), Rect(-3, 2, 9, 10), 14, 16);
    EXPECT_EQ("17,16 3x4", placement(*clipped));
    EXPECT_EQ(canvasPixels(*clipped, {{17, 16}, {19, 19}}), (std::vector<Color>{pattern(0, 2), pattern(2, 5)}));
    // The source's insertion point lands at the target.
    auto target = solid(10, 10, true, Color(0, 0, 0, 0));
    auto src = makeImage(3, 3, true);
    src->setInsPoint(1, 1);
    target->copy(*src, 5, 5);
    EXPECT_EQ(canvasPixels(*target, {{4, 4}, {6, 6}}), (std::vector<Color>{pattern(0, 0), pattern(2, 2)}));
}

TEST(ImageBlit, ClipBlitRectNumbers) {
    auto dst = onCanvas(makeImage(30, 30, true), 5, 5, 40, 40);
    auto src = onCanvas(makeImage(10, 10, true), 2, 3, 20, 20);
    // Source (0,0)-(8,8) is data (-2,-3)-(6,5), clipped to (0,0)-(6,5); the
    // corner moves by (2,3) to (1,4) and the data grows to (1,4)-(35,35).
    int sx = 0, sy = 0, w = 8, h = 8, dx = -1, dy = 1;
    ASSERT_TRUE(dst->clipBlitRect(*src, &sx, &sy, &w, &h, &dx, &dy));
    EXPECT_EQ((std::vector<int>{0, 0, 6, 5, 0, 0}), (std::vector<int>{sx, sy, w, h, dx, dy}));
    EXPECT_EQ("1,4 34x31", placement(*dst));
    // The old pixels kept their canvas places.
    EXPECT_EQ(canvasPixels(*dst, {{5, 5}, {34, 34}, {1, 4}}),
              (std::vector<Color>{pattern(0, 0), pattern(29, 29), Color(0, 0, 0, 0)}));
}

TEST(ImageBlit, NothingOutsideSourceDataOrDestinationCanvas) {
    auto dst = onCanvas(makeImage(10, 10, true), 0, 0, 30, 30);
    auto src = onCanvas(makeImage(4, 4, true), 10, 10, 20, 20);
    const uint32_t nRevision = dst->getRevision();
    dst->blit(*src, Rect(0, 0, 10, 10), 0, 0);    // wholly in the source margin
    dst->blit(*src, 40, 0);                       // wholly right of the canvas
    dst->blit(*src, -20, -20);                    // wholly above and left
    dst->blit(*src, Rect(10, 10, 10, 14), 0, 0);  // zero width
    dst->blit(*src, Rect(12, 12, 10, 10), 0, 0);  // inverted
    // Far away rectangles do not overflow.
    dst->blit(*src, Rect(2147483000, 0, 2147483600, 4), 0, 0);
    dst->blit(*src, Rect(0, 0, 4, 4), 2147483647, -2147483647 - 1);
    int sx = -2147483647, sy = 0, w = 2147483647, h = 4, dx = 2147483000, dy = 0;
    EXPECT_FALSE(dst->clipBlitRect(*src, &sx, &sy, &w, &h, &dx, &dy));
    EXPECT_EQ(nRevision, dst->getRevision());
    EXPECT_EQ("0,0 10x10", placement(*dst));
}

TEST(ImageBlit, BlitFromCompositesBetweenAlphaImagesAndBlendsOtherwise) {
    auto src = solid(2, 2, true, Color(200, 100, 0, 128));
    auto dstA = solid(2, 2, true, Color(0, 0, 200, 255));
    auto dstO = solid(2, 2, false, Color(0, 0, 200, 255));
    dstA->blitFrom(*src, 0, 0);
    dstO->blitFrom(*src, Rect(0, 0, 1, 1), 0, 0);
    // Composited: da = min(255, 127), t = 255, (200*128)/255 = 100, (100*128)/255 = 50,
    // (200*127)/255 = 99. Blended onto opaque: 0 + (200*128 + 255 >> 8) = 100,
    // (100*128 + 255) >> 8 = 50, 200 + (-200*128 + 255 >> 8) = 100.
    EXPECT_EQ((std::vector<Color>{Color(100, 50, 99, 255), Color(100, 50, 100, 255), Color(0, 0, 200, 255)}),
              (std::vector<Color>{dstA->getPixel(1, 1), dstO->getPixel(0, 0), dstO->getPixel(1, 0)}));
}

TEST(ImagePixels, MarginReadsOpaqueBlackAndIgnoresWrites) {
    auto img = onCanvas(makeImage(4, 4, true), 2, 2, 10, 10);
    EXPECT_EQ(canvasPixels(*img, {{0, 0}, {-5, 100}, {3, 4}}), (std::vector<Color>{kMargin, kMargin, pattern(1, 2)}));
    const uint32_t nRevision = img->getRevision();
    img->setPixel(9, 9, Color(1, 1, 1, 1));
    EXPECT_EQ(nRevision, img->getRevision());
    img->setPixel(2, 2, Color(9, 8, 7, 6));
    EXPECT_EQ(Color(9, 8, 7, 6), dataPixel(*img, 0, 0));
    EXPECT_EQ(0, img->getLockCount());
}

TEST(ImagePixels, TransparencyInTheMarginDependsOnAlphaOrKey) {
    auto alpha = onCanvas(makeImage(4, 4, true, [](int x, int) { return Color(1, 1, 1, x ? 10 : 0); }), 2, 2, 10, 10);
    auto opaque = onCanvas(makeImage(4, 4, false), 2, 2, 10, 10);
    auto keyed = onCanvas(makeImage(4, 4, false), 2, 2, 10, 10);
    keyed->setColorKey(pattern(1, 1));
    // Pending flips count.
    auto flipped = makeImage(4, 1, true, [](int x, int) { return Color(0, 0, 0, x == 0 ? 0 : 255); });
    flipped->hflip();
    const std::tuple<Image*, int, int, int, bool> kCases[] = {
        {alpha.get(), 0, 0, 0, true},    {alpha.get(), 2, 3, 0, true},     {alpha.get(), 3, 3, 9, false},
        {alpha.get(), 3, 3, 10, true},   {opaque.get(), 0, 0, 255, false}, {opaque.get(), 3, 3, 255, false},
        {keyed.get(), 0, 0, 0, true},    {keyed.get(), 3, 3, 0, true},     {keyed.get(), 4, 3, 0, false},
        {flipped.get(), 0, 0, 0, false}, {flipped.get(), 3, 0, 0, true},
    };
    for (const auto& [pImage, x, y, nThreshold, bTransparent] : kCases)
        EXPECT_EQ(bTransparent, pImage->isTransparent(x, y, nThreshold)) << x << "," << y << " " << nThreshold;
    EXPECT_TRUE(alpha->isTransparent(Point(0.5f, 9.9f), 0));
}

TEST(ImagePixels, RowsColumnsAndSegments) {
    auto img = makeImage(4, 3, true, [](int x, int y) { return Color(5, 5, 5, (x == 2 && y == 1) ? 7 : 0); });
    EXPECT_EQ((std::vector<bool>{true, false, true, true, false}),
              (std::vector<bool>{img->isRowEmpty(0, 0), img->isRowEmpty(1, 0), img->isRowEmpty(1, 7),
                                 img->isColumnEmpty(1, 0), img->isColumnEmpty(2, 6)}));
    EXPECT_EQ(0, img->getLockCount());
    // With a colour key only the key counts, whatever the alpha.
    auto keyed = makeImage(3, 1, false, [](int x, int) { return x == 1 ? Color(9, 9, 9, 255) : Color(1, 2, 3, 255); });
    keyed->setColorKey(Color(1, 2, 3, 255));
    ImageLock lock(*img), lockKeyed(*keyed);
    EXPECT_EQ((std::vector<bool>{true, false, true, false, true, false, true}),
              (std::vector<bool>{img->isRowSegmentTransparent(1, 0, 2), img->isRowSegmentTransparent(1, 0, 3),
                                 img->isColumnSegmentTransparent(2, 0, 1), img->isColumnSegmentTransparent(2, 0, 2),
                                 keyed->isRowSegmentTransparent(0, 0, 1), keyed->isRowSegmentTransparent(0, 0, 2),
                                 keyed->isRowSegmentTransparent(0, 2, 3)}));
}

TEST(ImageEdits, MultiplyColorAlphaAndRemapChannels) {
    auto fn = [](int x, int y) {
        return Color(static_cast<uint8_t>(x * 16 + y), static_cast<uint8_t>(255 - x), static_cast<uint8_t>(y), 99);
    };
    auto img = makeImage(16, 16, true, fn);
    img->multiplyColor(Color(255, 128, 0, 0));  // truncates: 255 * 255 >> 8 = 254
    expectData(*img, 16, 16, [&](int x, int y) {
        const Color c = fn(x, y);
        return Color(static_cast<uint8_t>(c.getRed() * 255 >> 8), static_cast<uint8_t>(c.getGreen() * 128 >> 8), 0, 99);
    });
    EXPECT_EQ(std::make_pair(1, 0), std::make_pair(img->getPixelNotifications(), img->getLockCount()));

    auto faded = makeImage(3, 1, true, [](int x, int) { return Color(10, 20, 30, x == 0 ? 0 : (x == 1 ? 255 : 3)); });
    const uint32_t nRevision = faded->getRevision();
    faded->multiplyAlpha(255);
    faded->multiplyAlpha(0x1FF);  // only the low byte counts
    EXPECT_EQ(std::make_pair(nRevision, 0), std::make_pair(faded->getRevision(), faded->getPixelNotifications()));
    faded->multiplyAlpha(128);
    EXPECT_EQ(alphas(*faded), (std::vector<int>{0, 127, 1}));
    EXPECT_EQ(1, faded->getPixelNotifications());

    auto mapped = solid(1, 1, true, Color(1, 2, 3, 4));
    for (const auto& [nRed, nGreen, nBlue, expected] :
         {std::tuple{2, 1, 0, Color(3, 2, 1, 4)}, {1, 1, 1, Color(2, 2, 2, 4)}}) {
        mapped->remapChannels(nRed, nGreen, nBlue);
        EXPECT_EQ(expected, dataPixel(*mapped, 0, 0));
    }
    EXPECT_EQ("Image::remapChannels : bad channel 3 (0 red, 1 green, 2 blue)",
              messageOf<Zep::BadParmException>([&] { mapped->remapChannels(0, 3, 1); }));
}

TEST(ImageEdits, EditsAndMirrorsOnASubImageLeaveTheSourceAlone) {
    auto src = makeImage(6, 4, true);
    auto dark = subImage(*src, 1, 1, 2, 2);
    dark->multiplyColor(Color(0, 0, 0, 255));
    EXPECT_EQ(Color(0, 0, 0, 255), dataPixel(*dark, 0, 0));
    auto mirrored = subImage(*src, 1, 1, 4, 2);
    mirrored->hflip();
    mirrored->vflip();
    EXPECT_EQ(canvasPixels(*mirrored, {{0, 0}, {3, 1}}), (std::vector<Color>{pattern(4, 2), pattern(1, 1)}));
    expectData(*src, 6, 4);
}

TEST(ImageAlphaMask, ModesWithAlphaAndRedMasks) {
    auto img = solid(2, 1, true, Color(50, 60, 70, 200));
    img->applyAlphaMask(*makeImage(2, 1, true, [](int x, int) { return Color(0, 0, 0, x ? 100 : 0); }), 0);
    EXPECT_EQ(Color(50, 60, 70, 0), dataPixel(*img, 0, 0));
    EXPECT_EQ(alphas(*img), (std::vector<int>{0, 100}));
    EXPECT_EQ(std::make_pair(1, 1), std::make_pair(img->getGeometryNotifications(), img->getPixelNotifications()));

    auto redMask = makeImage(2, 1, false, [](int x, int) { return Color(x ? 128 : 255, 9, 9, 255); });
    img->applyAlphaMask(*redMask, 1);
    EXPECT_EQ(alphas(*img), (std::vector<int>{0, 50}));  // 100 * 128 >> 8
    img->applyAlphaMask(*redMask, 2);                    // other modes write nothing
    EXPECT_EQ(Color(50, 60, 70, 50), dataPixel(*img, 1, 0));
    EXPECT_EQ(std::make_pair(0, 0), std::make_pair(img->getLockCount(), redMask->getLockCount()));

    // An opaque picture gets an alpha channel.
    auto opaque = makeImage(2, 2, false);
    opaque->applyAlphaMask(*makeImage(2, 2, false, [](int x, int y) { return Color(x * 100 + y, 0, 0, 255); }), 0);
    EXPECT_TRUE(opaque->hasAlpha());
    const Color c = pattern(1, 1);
    EXPECT_EQ(Color(c.getRed(), c.getGreen(), c.getBlue(), 101), dataPixel(*opaque, 1, 1));
}

TEST(ImageAlphaMask, UnequalSizesTouchOnlyPositionsBothStore) {
    // A 4x3 picture with a 3x2 mask: only the overlap changes.
    auto img = makeImage(4, 3, true);
    img->applyAlphaMask(*solid(3, 2, true, Color(0, 0, 0, 9)), 0);
    EXPECT_EQ(alphas(*img), (std::vector<int>{9, 9, 9, 255, 9, 9, 9, 255, 255, 255, 255, 255}));
    // A trimmed picture (data at (2,1) of a 6x4 canvas) and a mask whose data
    // sits at (0,2): the overlap is canvas (2,2)-(4,3), mask (2,0)-(4,1);
    // canvas (2,1) is mask margin, (4,3) past the mask data.
    auto trimmed = onCanvas(makeImage(3, 3, true), 2, 1, 6, 4);
    auto offset = onCanvas(makeImage(4, 2, true, [](int x, int y) { return Color(0, 0, 0, 10 * x + y); }), 0, 2, 6, 4);
    trimmed->applyAlphaMask(*offset, 0);
    EXPECT_EQ(alphas(*trimmed), (std::vector<int>{255, 255, 255, 20, 30, 255, 21, 31, 255}));
    // A bigger mask than the picture reads only inside the picture.
    auto tiny = makeImage(2, 2, true);
    tiny->applyAlphaMask(*solid(10, 10, true, Color(0, 0, 0, 1)), 0);
    EXPECT_EQ(alphas(*tiny), (std::vector<int>{1, 1, 1, 1}));
}

TEST(ImageSubImage, SharesTheStoreUntilPreparedAndThenKeepsItsOwnPixels) {
    auto src = makeImage(50, 40, true);
    auto sub = subImage(*src, 10, 20, 30, 15);
    EXPECT_TRUE(sub->sharesStoreWith(*src) && sub->isPreparePending());
    EXPECT_EQ("0 0 10,20", pending(*sub));
    EXPECT_EQ("30x15 ins 0,0 data 0,0 30x15", layout(*sub));
    EXPECT_EQ(pattern(10, 20), sub->getPixel(0, 0));  // flushes the preparation
    EXPECT_FALSE(sub->sharesStoreWith(*src) || sub->isPreparePending());
    EXPECT_EQ(pattern(39, 34), sub->getPixel(29, 14));
    // Writes to the source after a whole cut are not seen.
    auto small = makeImage(4, 4, true);
    auto whole = subImage(*small, 0, 0, 4, 4);
    small->setPixel(1, 1, Color(1, 1, 1, 1));
    small->fill(Color(2, 2, 2, 2));
    EXPECT_EQ(std::make_pair(pattern(1, 1), Color(2, 2, 2, 2)),
              std::make_pair(whole->getPixel(1, 1), small->getPixel(1, 1)));
    // Nested sub-images add their store origins.
    auto b = subImage(*subImage(*src, 4, 5, 10, 10), 2, 3, 4, 4);
    EXPECT_EQ("0 0 6,8", pending(*b));
    EXPECT_EQ(canvasPixels(*b, {{0, 0}, {3, 3}}), (std::vector<Color>{pattern(6, 8), pattern(9, 11)}));
}

TEST(ImageSubImage, BeyondTheSourceDataKeepsTheFullCanvas) {
    auto sheet = onCanvas(makeImage(20, 10, true), 5, 5, 40, 30);
    auto sub = subImage(*sheet, 0, 10, 30, 40);
    // data = (0,10)-(30,50) ∩ (5,5)-(25,15) = (5,10)-(25,15)
    EXPECT_EQ("30x40 ins 0,0 data 5,0 20x5", layout(*sub));
    EXPECT_EQ(canvasPixels(*sub, {{5, 0}, {4, 0}}), (std::vector<Color>{pattern(0, 5), kMargin}));
    EXPECT_TRUE(sub->isTransparent(29, 39, 0));
    auto none = subImage(*sheet, 100, 100, 8, 9);
    EXPECT_EQ(std::make_pair(Point(8, 9), Point(0, 0)), std::make_pair(none->getSize(), none->getDataSize()));
    none->flushPending();
    EXPECT_EQ(kMargin, none->getPixel(0, 0));
}

TEST(ImageSubImage, FlippedSources) {
    auto src = makeImage(6, 2, false);
    src->setSurfaceAlpha(40);
    src->setColorKey(pattern(0, 0));
    src->hflip();
    // A whole cut takes the pixel settings and the flip flags.
    auto whole = subImage(*src, 0, 0, 6, 2);
    EXPECT_EQ("1 0 0,0", pending(*whole));
    EXPECT_EQ(std::make_pair(40, pattern(0, 0)), std::make_pair(whole->getSurfaceAlpha(), whole->getColorKey()));
    EXPECT_EQ(canvasPixels(*whole, {{0, 1}, {5, 0}}), (std::vector<Color>{pattern(5, 1), pattern(0, 0)}));
    // A part shows the mirrored pixels: column 5 at canvas 0.
    auto left = subImage(*src, 0, 0, 3, 1);
    EXPECT_EQ(canvasPixels(*left, {{0, 0}, {2, 0}}), (std::vector<Color>{pattern(5, 0), pattern(3, 0)}));
    EXPECT_EQ(pattern(5, 0), src->getPixel(0, 0));
}
