// The Image algorithms (geometry, clipping, deferred work, pixel edits,
// sub-images) on real pixels of in-memory images.
#include <gtest/gtest.h>

#include <functional>

#include <zep2/error.h>

#include "memimage.h"

namespace {

using Pattern = std::function<Color(int, int)>;

// A distinct opaque colour for every data position.
Color pattern(int x, int y) {
    return Color(static_cast<uint8_t>(x * 7 + 1), static_cast<uint8_t>(y * 11 + 2), static_cast<uint8_t>(x + y * 3),
                 255);
}

Zep::SmartPtr<MemImage> makeImage(int w, int h, bool bAlpha, const Pattern& fn = pattern) {
    Zep::SmartPtr<MemImage> p = new MemImage(w, h, bAlpha);
    ImageLock lock(*p);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) p->writePixel(x, y, fn(x, y));
    return p;
}

Color dataPixel(const Image& img, int x, int y) {
    ImageLock lock(img);
    return img.readPixel(x, y);
}

// An image with no data and a canvas of w x h.
Zep::SmartPtr<MemImage> makeEmptyCanvas(int w, int h) {
    Zep::SmartPtr<MemImage> p = new MemImage();
    p->setVirtualCanvas(0, 0, w, h);
    return p;
}

}  // namespace

// ---- Geometry ----------------------------------------------------------------

TEST(ImageGeometry, RectsAreInAnchorCoordinates) {
    auto img = makeImage(20, 10, true);
    img->setVirtualCanvas(30, 5, 100, 50);
    img->setInsPoint(40, 8);
    EXPECT_EQ(Rect(-40, -8, 60, 42), img->getRect());
    EXPECT_EQ(Rect(-10, -3, 10, 7), img->getDataRect());
    EXPECT_EQ(100, img->getDimension(false));
    EXPECT_EQ(50, img->getDimension(true));
    EXPECT_EQ(Point(20, 10), img->getDataSize());
}

TEST(ImageGeometry, PointInsertionTruncatesTowardZero) {
    auto img = makeImage(4, 4, true);
    img->setInsPoint(Point(-1.7f, 2.9f));
    EXPECT_EQ(-1, img->getInsPointX());
    EXPECT_EQ(2, img->getInsPointY());
}

TEST(ImageGeometry, AlignInsPoint) {
    auto img = makeImage(10, 6, true);
    img->alignInsPoint(Image::kAlignRight | Image::kAlignBottom);
    EXPECT_EQ(Point(9, 5), img->getInsPoint());
    img->alignInsPoint(Image::kAlignCenterX | Image::kAlignCenterY);
    EXPECT_EQ(Point(5, 3), img->getInsPoint());
    img->alignInsPoint(Image::kAlignRight | Image::kAlignCenterX);  // 2 wins over 4
    EXPECT_EQ(Point(9, 0), img->getInsPoint());
    img->alignInsPoint(0);
    EXPECT_EQ(Point(0, 0), img->getInsPoint());

    auto part = makeImage(20, 10, true);
    part->setVirtualCanvas(30, 5, 100, 50);
    part->alignInsPoint(Image::kAlignToData | Image::kAlignCenterX);
    EXPECT_EQ(Point(40, 5), part->getInsPoint());
    part->alignInsPoint(Image::kAlignToData | Image::kAlignRight | Image::kAlignBottom);
    EXPECT_EQ(Point(49, 14), part->getInsPoint());
}

TEST(ImageGeometry, CopyGeometryAndPixelSettings) {
    auto src = makeImage(8, 8, false);
    src->setVirtualCanvas(2, 3, 20, 30);
    src->setInsPoint(4, 5);
    src->setSurfaceAlpha(77);
    src->setColorKey(Color(1, 2, 3, 255));
    auto dst = makeImage(8, 8, false);
    dst->copyGeometry(*src);
    EXPECT_EQ(Point(4, 5), dst->getInsPoint());
    EXPECT_EQ(Point(2, 3), dst->getDataOffset());
    EXPECT_EQ(20, dst->getWidth());
    EXPECT_EQ(30, dst->getHeight());
    EXPECT_EQ(77, dst->getSurfaceAlpha());
    EXPECT_TRUE(dst->hasColorKey());
    EXPECT_EQ(Color(1, 2, 3, 255), dst->getColorKey());
}

// ---- Flips and deferred work ----------------------------------------------------

TEST(ImageFlip, HflipMirrorsAnchorDataAndPixels) {
    auto img = makeImage(20, 10, true);
    img->setVirtualCanvas(30, 5, 100, 50);
    img->setInsPoint(10, 7);
    const uint32_t nRevision = img->getRevision();
    img->hflip();
    // Geometry changes at once, the pixels only when next used.
    EXPECT_EQ(90, img->getInsPointX());
    EXPECT_EQ(7, img->getInsPointY());
    EXPECT_EQ(Point(50, 5), img->getDataOffset());
    bool bH = false, bV = true;
    img->getFlipFlags(&bH, &bV);
    EXPECT_TRUE(bH);
    EXPECT_FALSE(bV);
    EXPECT_EQ(nRevision, img->getRevision());
    EXPECT_EQ(1, img->getGeometryNotifications());

    // Canvas column 30 + k shows what column 100 - 1 - (30 + k) showed.
    for (int k = 0; k < 20; ++k) EXPECT_EQ(pattern(k, 3), img->getPixel(69 - k, 8)) << k;
    img->getFlipFlags(&bH, &bV);
    EXPECT_FALSE(bH);
}

TEST(ImageFlip, VflipMirrorsRows) {
    auto img = makeImage(6, 4, true);
    img->setVirtualCanvas(1, 2, 10, 10);
    img->setInsPoint(3, 3);
    img->vflip();
    EXPECT_EQ(7, img->getInsPointY());
    EXPECT_EQ(Point(1, 4), img->getDataOffset());
    for (int k = 0; k < 4; ++k) EXPECT_EQ(pattern(2, k), img->getPixel(3, 7 - k)) << k;
}

TEST(ImageFlip, HflipTwiceRestoresEverything) {
    auto img = makeImage(7, 5, true);
    img->setVirtualCanvas(3, 1, 13, 9);
    img->setInsPoint(4, 6);
    const uint32_t nRevision = img->getRevision();
    img->hflip();
    img->hflip();
    EXPECT_EQ(Point(4, 6), img->getInsPoint());
    EXPECT_EQ(Point(3, 1), img->getDataOffset());
    bool bH = true, bV = true;
    img->getFlipFlags(&bH, &bV);
    EXPECT_FALSE(bH);
    img->flushPending();
    EXPECT_EQ(nRevision, img->getRevision());  // two flips cost no pixel work
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) EXPECT_EQ(pattern(x, y), dataPixel(*img, x, y));
}

TEST(ImageFlip, FlushedFlipThenFlipBackRestoresPixels) {
    auto img = makeImage(5, 3, true);
    img->hflip();
    img->vflip();
    img->flushPending();
    EXPECT_EQ(pattern(4, 2), dataPixel(*img, 0, 0));
    img->vflip();
    img->hflip();
    img->flushPending();
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(pattern(x, y), dataPixel(*img, x, y));
}

// ---- Clipped blits ----------------------------------------------------------------

TEST(ImageBlit, IntoEmptyDataGrowsExactlyToTheWrittenRectangle) {
    auto dst = makeEmptyCanvas(50, 40);
    auto src = makeImage(10, 6, true);
    dst->blit(*src, 5, 7);
    EXPECT_EQ(Point(5, 7), dst->getDataOffset());
    EXPECT_EQ(Point(10, 6), dst->getDataSize());
    EXPECT_EQ(50, dst->getWidth());
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 10; ++x) EXPECT_EQ(pattern(x, y), dataPixel(*dst, x, y));
}

TEST(ImageBlit, ClippedAtBothEndsGrowsOnlyInsideTheCanvas) {
    auto dst = makeEmptyCanvas(20, 20);
    auto src = makeImage(10, 10, true);
    // The source rectangle starts left of the source data and the
    // destination runs past the canvas on the right and the bottom.
    dst->blit(*src, Rect(-3, 2, 9, 10), 14, 16);
    // Source columns 0..8 land from x = 17; only 17..19 fit; rows 2..5 fit.
    EXPECT_EQ(Point(17, 16), dst->getDataOffset());
    EXPECT_EQ(Point(3, 4), dst->getDataSize());
    EXPECT_EQ(pattern(0, 2), dst->getPixel(17, 16));
    EXPECT_EQ(pattern(2, 5), dst->getPixel(19, 19));
}

TEST(ImageBlit, ClipBlitRectNumbers) {
    auto dst = makeImage(30, 30, true);
    dst->setVirtualCanvas(5, 5, 40, 40);
    auto src = makeImage(10, 10, true);
    src->setVirtualCanvas(2, 3, 20, 20);
    // Source rect (0,0)-(8,8) in source canvas -> data (-2,-3)-(6,5) -> (0,0)-(6,5).
    int sx = 0, sy = 0, w = 8, h = 8, dx = -1, dy = 1;
    ASSERT_TRUE(dst->clipBlitRect(*src, &sx, &sy, &w, &h, &dx, &dy));
    // dst corner moves by (2,3) to (1,4); the canvas clips nothing; the data
    // grows from (5,5)-(35,35) to (1,4)-(35,35).
    EXPECT_EQ(0, sx);
    EXPECT_EQ(0, sy);
    EXPECT_EQ(6, w);
    EXPECT_EQ(5, h);
    EXPECT_EQ(0, dx);
    EXPECT_EQ(0, dy);
    EXPECT_EQ(Point(1, 4), dst->getDataOffset());
    EXPECT_EQ(Point(34, 31), dst->getDataSize());
    // The old pixels kept their canvas places.
    EXPECT_EQ(pattern(0, 0), dst->getPixel(5, 5));
    EXPECT_EQ(pattern(29, 29), dst->getPixel(34, 34));
    EXPECT_EQ(Color(0, 0, 0, 0), dst->getPixel(1, 4));
}

TEST(ImageBlit, NothingOutsideSourceDataOrDestinationCanvas) {
    auto dst = makeImage(10, 10, true);
    dst->setVirtualCanvas(0, 0, 30, 30);
    auto src = makeImage(4, 4, true);
    src->setVirtualCanvas(10, 10, 20, 20);
    const uint32_t nRevision = dst->getRevision();
    dst->blit(*src, Rect(0, 0, 10, 10), 0, 0);  // wholly in the source margin
    dst->blit(*src, 40, 0);                      // wholly right of the canvas
    dst->blit(*src, -20, -20);                    // wholly above and left
    dst->blit(*src, Rect(10, 10, 10, 14), 0, 0);  // zero width
    dst->blit(*src, Rect(12, 12, 10, 10), 0, 0);  // inverted
    EXPECT_EQ(nRevision, dst->getRevision());
    EXPECT_EQ(Point(10, 10), dst->getDataSize());
    EXPECT_EQ(Point(0, 0), dst->getDataOffset());
}

TEST(ImageBlit, FarAwayRectanglesDoNotOverflow) {
    auto dst = makeImage(10, 10, true);
    auto src = makeImage(4, 4, true);
    dst->blit(*src, Rect(2147483000, 0, 2147483600, 4), 0, 0);
    dst->blit(*src, Rect(0, 0, 4, 4), 2147483647, -2147483647 - 1);
    int sx = -2147483647, sy = 0, w = 2147483647, h = 4, dx = 2147483000, dy = 0;
    EXPECT_FALSE(dst->clipBlitRect(*src, &sx, &sy, &w, &h, &dx, &dy));
    EXPECT_EQ(Point(10, 10), dst->getDataSize());
}

TEST(ImageBlit, InsertionPointOfTheSourceLandsAtTheTarget) {
    auto dst = makeImage(10, 10, true, [](int, int) { return Color(0, 0, 0, 0); });
    auto src = makeImage(3, 3, true);
    src->setInsPoint(1, 1);
    dst->blit(*src, 5, 5);
    EXPECT_EQ(pattern(0, 0), dst->getPixel(4, 4));
    EXPECT_EQ(pattern(1, 1), dst->getPixel(5, 5));
    EXPECT_EQ(pattern(2, 2), dst->getPixel(6, 6));
}

TEST(ImageBlit, BlitFromCopiesAlphaBetweenAlphaImagesAndBlendsOtherwise) {
    auto half = [](int, int) { return Color(200, 100, 0, 128); };
    auto dstA = makeImage(2, 2, true, [](int, int) { return Color(0, 0, 200, 255); });
    auto src = makeImage(2, 2, true, half);
    dstA->blitFrom(*src, 0, 0);
    EXPECT_EQ(Color(200, 100, 0, 128), dstA->getPixel(1, 1));  // copied, not blended

    auto dstO = makeImage(2, 2, false, [](int, int) { return Color(0, 0, 200, 255); });
    dstO->blitFrom(*src, Rect(0, 0, 1, 1), 0, 0);
    // round((200*128 + 0*127)/255) = 100, round(100*128/255) = 50, round(200*127/255) = 100
    EXPECT_EQ(Color(100, 50, 100, 255), dstO->getPixel(0, 0));
    EXPECT_EQ(Color(0, 0, 200, 255), dstO->getPixel(1, 0));
}

// ---- Pixels at canvas positions ---------------------------------------------------

TEST(ImagePixels, MarginReadsOpaqueBlackAndIgnoresWrites) {
    auto img = makeImage(4, 4, true);
    img->setVirtualCanvas(2, 2, 10, 10);
    EXPECT_EQ(Color(0, 0, 0, 255), img->getPixel(0, 0));
    EXPECT_EQ(Color(0, 0, 0, 255), img->getPixel(-5, 100));
    EXPECT_EQ(pattern(1, 2), img->getPixel(3, 4));
    const uint32_t nRevision = img->getRevision();
    img->setPixel(9, 9, Color(1, 1, 1, 1));
    EXPECT_EQ(nRevision, img->getRevision());
    img->setPixel(2, 2, Color(9, 8, 7, 6));
    EXPECT_EQ(Color(9, 8, 7, 6), dataPixel(*img, 0, 0));
    EXPECT_EQ(0, img->getLockCount());
}

TEST(ImagePixels, TransparencyInTheMarginDependsOnAlphaOrKey) {
    auto alpha = makeImage(4, 4, true, [](int x, int) { return Color(1, 1, 1, x == 0 ? 0 : 10); });
    alpha->setVirtualCanvas(2, 2, 10, 10);
    EXPECT_TRUE(alpha->isTransparent(0, 0, 0));
    EXPECT_TRUE(alpha->isTransparent(2, 3, 0));
    EXPECT_FALSE(alpha->isTransparent(3, 3, 9));
    EXPECT_TRUE(alpha->isTransparent(3, 3, 10));
    EXPECT_TRUE(alpha->isTransparent(Point(0.5f, 9.9f), 0));

    auto opaque = makeImage(4, 4, false);
    opaque->setVirtualCanvas(2, 2, 10, 10);
    EXPECT_FALSE(opaque->isTransparent(0, 0, 255));
    EXPECT_FALSE(opaque->isTransparent(3, 3, 255));

    opaque->setColorKey(pattern(1, 1));
    EXPECT_TRUE(opaque->isTransparent(0, 0, 0));
    EXPECT_TRUE(opaque->isTransparent(3, 3, 0));
    EXPECT_FALSE(opaque->isTransparent(4, 3, 0));
}

TEST(ImagePixels, TransparencySeesPendingFlips) {
    auto img = makeImage(4, 1, true, [](int x, int) { return Color(0, 0, 0, x == 0 ? 0 : 255); });
    img->hflip();
    EXPECT_FALSE(img->isTransparent(0, 0, 0));
    EXPECT_TRUE(img->isTransparent(3, 0, 0));
}

TEST(ImagePixels, RowsColumnsAndSegments) {
    auto img = makeImage(4, 3, true, [](int x, int y) { return Color(5, 5, 5, (x == 2 && y == 1) ? 7 : 0); });
    EXPECT_TRUE(img->isRowEmpty(0, 0));
    EXPECT_FALSE(img->isRowEmpty(1, 0));
    EXPECT_TRUE(img->isRowEmpty(1, 7));
    EXPECT_TRUE(img->isColumnEmpty(1, 0));
    EXPECT_FALSE(img->isColumnEmpty(2, 6));
    EXPECT_EQ(0, img->getLockCount());

    ImageLock lock(*img);
    EXPECT_TRUE(img->isRowSegmentTransparent(1, 0, 2));
    EXPECT_FALSE(img->isRowSegmentTransparent(1, 0, 3));
    EXPECT_TRUE(img->isColumnSegmentTransparent(2, 0, 1));
    EXPECT_FALSE(img->isColumnSegmentTransparent(2, 0, 2));

    // With a colour key only the key counts, whatever the alpha.
    auto keyed = makeImage(3, 1, false, [](int x, int) { return x == 1 ? Color(9, 9, 9, 255) : Color(1, 2, 3, 255); });
    keyed->setColorKey(Color(1, 2, 3, 255));
    ImageLock lockKeyed(*keyed);
    EXPECT_TRUE(keyed->isRowSegmentTransparent(0, 0, 1));
    EXPECT_FALSE(keyed->isRowSegmentTransparent(0, 0, 2));
    EXPECT_TRUE(keyed->isRowSegmentTransparent(0, 2, 3));
}

// ---- Whole-image pixel edits -------------------------------------------------------

TEST(ImageEdits, MultiplyColorTruncates) {
    auto img = makeImage(16, 16, true, [](int x, int y) {
        return Color(static_cast<uint8_t>(x * 16 + y), static_cast<uint8_t>(255 - x), static_cast<uint8_t>(y), 99);
    });
    img->multiplyColor(Color(255, 128, 0, 0));
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const int r = x * 16 + y;
            EXPECT_EQ(Color(static_cast<uint8_t>(r * 255 >> 8), static_cast<uint8_t>((255 - x) * 128 >> 8), 0, 99),
                      dataPixel(*img, x, y));
        }
    }
    EXPECT_EQ(254, dataPixel(*img, 15, 15).getRed());  // 255 * 255 >> 8
    EXPECT_EQ(1, img->getPixelNotifications());
    EXPECT_EQ(0, img->getLockCount());
}

TEST(ImageEdits, MultiplyAlpha) {
    auto img = makeImage(3, 1, true, [](int x, int) { return Color(10, 20, 30, x == 0 ? 0 : (x == 1 ? 255 : 3)); });
    const uint32_t nRevision = img->getRevision();
    img->multiplyAlpha(255);
    img->multiplyAlpha(0x1FF);  // only the low byte counts
    EXPECT_EQ(nRevision, img->getRevision());
    EXPECT_EQ(0, img->getPixelNotifications());

    img->multiplyAlpha(128);
    EXPECT_EQ(Color(10, 20, 30, 0), dataPixel(*img, 0, 0));
    EXPECT_EQ(Color(10, 20, 30, 127), dataPixel(*img, 1, 0));
    EXPECT_EQ(Color(10, 20, 30, 1), dataPixel(*img, 2, 0));
    EXPECT_EQ(1, img->getPixelNotifications());
}

TEST(ImageEdits, RemapChannels) {
    auto img = makeImage(2, 2, true, [](int, int) { return Color(1, 2, 3, 4); });
    img->remapChannels(0, 1, 2);
    EXPECT_EQ(Color(1, 2, 3, 4), dataPixel(*img, 1, 1));
    img->remapChannels(2, 1, 0);
    EXPECT_EQ(Color(3, 2, 1, 4), dataPixel(*img, 1, 1));
    img->remapChannels(1, 1, 1);
    EXPECT_EQ(Color(2, 2, 2, 4), dataPixel(*img, 0, 0));
    try {
        img->remapChannels(0, 3, 1);
        FAIL();
    } catch (const Zep::BadParmException& e) {
        EXPECT_STREQ("Image::remapChannels : bad channel 3 (0 red, 1 green, 2 blue)", e.getMessage());
    }
}

TEST(ImageEdits, EditsOnASubImageLeaveTheSourceAlone) {
    auto src = makeImage(4, 4, true);
    Zep::SmartPtr<MemImage> sub = new MemImage();
    sub->setSubImage(*src, 1, 1, 2, 2);
    sub->multiplyColor(Color(0, 0, 0, 255));
    EXPECT_EQ(Color(0, 0, 0, 255), dataPixel(*sub, 0, 0));
    EXPECT_EQ(pattern(1, 1), dataPixel(*src, 1, 1));
}

// ---- Alpha masks ------------------------------------------------------------------

TEST(ImageAlphaMask, ModesWithAlphaAndRedMasks) {
    auto img = makeImage(2, 1, true, [](int, int) { return Color(50, 60, 70, 200); });
    auto alphaMask = makeImage(2, 1, true, [](int x, int) { return Color(0, 0, 0, x ? 100 : 0); });
    img->applyAlphaMask(*alphaMask, 0);
    EXPECT_EQ(Color(50, 60, 70, 0), dataPixel(*img, 0, 0));
    EXPECT_EQ(Color(50, 60, 70, 100), dataPixel(*img, 1, 0));
    EXPECT_EQ(1, img->getGeometryNotifications());
    EXPECT_EQ(0, img->getPixelNotifications());

    auto redMask = makeImage(2, 1, false, [](int x, int) { return Color(x ? 128 : 255, 9, 9, 255); });
    img->applyAlphaMask(*redMask, 1);
    EXPECT_EQ(Color(50, 60, 70, 0), dataPixel(*img, 0, 0));
    EXPECT_EQ(Color(50, 60, 70, 50), dataPixel(*img, 1, 0));  // 100 * 128 >> 8

    img->applyAlphaMask(*redMask, 2);  // other modes write nothing
    EXPECT_EQ(Color(50, 60, 70, 50), dataPixel(*img, 1, 0));
    EXPECT_EQ(0, img->getLockCount());
    EXPECT_EQ(0, redMask->getLockCount());
}

TEST(ImageAlphaMask, OpaquePictureGetsAnAlphaChannel) {
    auto img = makeImage(2, 2, false);
    auto mask = makeImage(2, 2, false, [](int x, int y) { return Color(static_cast<uint8_t>(x * 100 + y), 0, 0, 255); });
    img->applyAlphaMask(*mask, 0);
    EXPECT_TRUE(img->hasAlpha());
    EXPECT_EQ(Color(pattern(1, 1).getRed(), pattern(1, 1).getGreen(), pattern(1, 1).getBlue(), 101),
              dataPixel(*img, 1, 1));
}

TEST(ImageAlphaMask, UnequalSizesTouchOnlyPositionsBothStore) {
    // A 6x4 picture with a 3x2 mask: only the overlap changes.
    auto img = makeImage(6, 4, true);
    auto small = makeImage(3, 2, true, [](int, int) { return Color(0, 0, 0, 9); });
    img->applyAlphaMask(*small, 0);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ((x < 3 && y < 2) ? 9 : 255, dataPixel(*img, x, y).getAlpha()) << x << "," << y;

    // A trimmed picture (data at (2,1) of a 6x4 canvas) and a mask whose data
    // sits at (0,2): the overlap is canvas (2,2)-(4,3).
    auto trimmed = makeImage(3, 3, true);
    trimmed->setVirtualCanvas(2, 1, 6, 4);
    auto offset = makeImage(4, 2, true, [](int x, int y) { return Color(0, 0, 0, static_cast<uint8_t>(10 * x + y)); });
    offset->setVirtualCanvas(0, 2, 6, 4);
    trimmed->applyAlphaMask(*offset, 0);
    EXPECT_EQ(255, dataPixel(*trimmed, 0, 0).getAlpha());  // canvas (2,1): mask margin
    EXPECT_EQ(20, dataPixel(*trimmed, 0, 1).getAlpha());   // canvas (2,2): mask (2,0)
    EXPECT_EQ(31, dataPixel(*trimmed, 1, 2).getAlpha());   // canvas (3,3): mask (3,1)
    EXPECT_EQ(255, dataPixel(*trimmed, 2, 2).getAlpha());  // canvas (4,3): past the mask data

    // A bigger mask than the picture reads only inside the picture.
    auto big = makeImage(10, 10, true, [](int, int) { return Color(0, 0, 0, 1); });
    auto tiny = makeImage(2, 2, true);
    tiny->applyAlphaMask(*big, 0);
    EXPECT_EQ(1, dataPixel(*tiny, 1, 1).getAlpha());
}

// ---- Sub-images ---------------------------------------------------------------------

TEST(ImageSubImage, SharesTheStoreUntilPrepared) {
    auto src = makeImage(50, 40, true);
    src->setVirtualCanvas(0, 0, 50, 40);
    Zep::SmartPtr<MemImage> sub = new MemImage();
    sub->setSubImage(*src, 10, 20, 30, 15);
    EXPECT_TRUE(sub->sharesStoreWith(*src));
    EXPECT_TRUE(sub->isPreparePending());
    int sx = -1, sy = -1;
    sub->getStoreOrigin(&sx, &sy);
    EXPECT_EQ(10, sx);
    EXPECT_EQ(20, sy);
    EXPECT_EQ(30, sub->getWidth());
    EXPECT_EQ(15, sub->getHeight());
    EXPECT_EQ(Point(0, 0), sub->getInsPoint());
    EXPECT_EQ(pattern(10, 20), sub->getPixel(0, 0));  // flushes the preparation
    EXPECT_FALSE(sub->sharesStoreWith(*src));
    EXPECT_FALSE(sub->isPreparePending());
    EXPECT_EQ(pattern(39, 34), sub->getPixel(29, 14));
}

TEST(ImageSubImage, BeyondTheSourceDataKeepsTheFullCanvas) {
    // The sheet is 40x30 with data 20x10 at (5,5).
    auto sheet = makeImage(20, 10, true);
    sheet->setVirtualCanvas(5, 5, 40, 30);
    Zep::SmartPtr<MemImage> sub = new MemImage();
    sub->setSubImage(*sheet, 0, 10, 30, 40);
    EXPECT_EQ(30, sub->getWidth());
    EXPECT_EQ(40, sub->getHeight());
    // data = (0,10)-(30,50) ∩ (5,5)-(25,15) = (5,10)-(25,15)
    EXPECT_EQ(Point(5, 0), sub->getDataOffset());
    EXPECT_EQ(Point(20, 5), sub->getDataSize());
    EXPECT_EQ(pattern(0, 5), sub->getPixel(5, 0));
    EXPECT_EQ(Color(0, 0, 0, 255), sub->getPixel(4, 0));
    EXPECT_TRUE(sub->isTransparent(29, 39, 0));

    Zep::SmartPtr<MemImage> none = new MemImage();
    none->setSubImage(*sheet, 100, 100, 8, 9);
    EXPECT_EQ(8, none->getWidth());
    EXPECT_EQ(9, none->getHeight());
    EXPECT_EQ(Point(0, 0), none->getDataSize());
    none->flushPending();
    EXPECT_EQ(Color(0, 0, 0, 255), none->getPixel(0, 0));
}

TEST(ImageSubImage, CopiesPixelSettingsAndFlipFlagsOfAWholeCut) {
    auto src = makeImage(6, 2, false);
    src->setSurfaceAlpha(40);
    src->setColorKey(pattern(0, 0));
    src->hflip();
    Zep::SmartPtr<MemImage> whole = new MemImage();
    whole->setSubImage(*src, 0, 0, 6, 2);
    bool bH = false, bV = true;
    whole->getFlipFlags(&bH, &bV);
    EXPECT_TRUE(bH);
    EXPECT_FALSE(bV);
    EXPECT_EQ(40, whole->getSurfaceAlpha());
    EXPECT_EQ(pattern(0, 0), whole->getColorKey());
    // Prepared, then mirrored: the flipped picture.
    EXPECT_EQ(pattern(5, 1), whole->getPixel(0, 1));
    EXPECT_EQ(pattern(0, 0), whole->getPixel(5, 0));
}

TEST(ImageSubImage, PartOfAFlippedSourceShowsMirroredPixels) {
    auto src = makeImage(10, 1, true);
    src->hflip();
    Zep::SmartPtr<MemImage> left = new MemImage();
    left->setSubImage(*src, 0, 0, 3, 1);
    // The flipped source shows column 9 at canvas 0.
    EXPECT_EQ(pattern(9, 0), left->getPixel(0, 0));
    EXPECT_EQ(pattern(7, 0), left->getPixel(2, 0));
    EXPECT_EQ(pattern(9, 0), src->getPixel(0, 0));
}

TEST(ImageSubImage, NestedSubImagesAddStoreOrigins) {
    auto src = makeImage(20, 20, true);
    Zep::SmartPtr<MemImage> a = new MemImage();
    a->setSubImage(*src, 4, 5, 10, 10);
    Zep::SmartPtr<MemImage> b = new MemImage();
    b->setSubImage(*a, 2, 3, 4, 4);
    int sx = 0, sy = 0;
    b->getStoreOrigin(&sx, &sy);
    EXPECT_EQ(6, sx);
    EXPECT_EQ(8, sy);
    EXPECT_EQ(pattern(6, 8), b->getPixel(0, 0));
    EXPECT_EQ(pattern(9, 11), b->getPixel(3, 3));
}

TEST(ImageSubImage, SourceWritesAfterTheCutAreNotSeen) {
    auto src = makeImage(4, 4, true);
    Zep::SmartPtr<MemImage> sub = new MemImage();
    sub->setSubImage(*src, 0, 0, 4, 4);
    src->setPixel(1, 1, Color(1, 1, 1, 1));
    src->fill(Color(2, 2, 2, 2));
    EXPECT_EQ(pattern(1, 1), sub->getPixel(1, 1));
    EXPECT_EQ(Color(2, 2, 2, 2), src->getPixel(1, 1));
}
