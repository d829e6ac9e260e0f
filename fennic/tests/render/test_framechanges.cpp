// What a frame must draw again: the dirty boxes (merged until apart, the
// whole screen past its share), the opaque cover of a frame, and the
// comparison of two frames' records.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/dirtyrects.h"
#include "render/framechanges.h"
#include "render/opaquecover.h"
#include "testkit/testkit_boxes.h"

namespace {

using testkit::boxesText;

TEST(DirtyRects, BoxesThatMeetMergeWhenThatWastesLittleElseTheyAreCutApart) {
    const struct {
        const char* szName;
        std::vector<ScreenBox> vAdded;
        const char* szKept;
    } kRows[] = {
        {"apart", {{10, 10, 20, 20}, {100, 50, 120, 60}}, "10,10-20,20 100,50-120,60"},
        {"overlapping", {{10, 10, 30, 30}, {20, 20, 40, 35}}, "10,10-40,35"},
        {"within the gap", {{10, 10, 20, 20}, {27, 10, 30, 20}}, "10,10-30,20"},
        {"just past the gap", {{10, 10, 20, 20}, {28, 10, 30, 20}}, "10,10-20,20 28,10-30,20"},
        // The third reaches both: the grown box then meets the one it had passed.
        {"bridged", {{10, 10, 20, 20}, {60, 10, 70, 20}, {18, 12, 62, 14}}, "10,10-70,20"},
        {"grown into a third", {{0, 0, 10, 10}, {40, 40, 50, 50}, {5, 5, 45, 35}}, "0,0-50,50"},
        {"cut to the screen", {{-10, -5, 10, 10}, {190, 90, 300, 300}}, "0,0-10,10 190,90-200,100"},
        {"empty and outside", {{5, 5, 5, 9}, {300, 0, 310, 10}}, ""},
        // Their bounding box would draw far more than they cover: the new
        // one loses the part the kept one has.
        {"an L cut", {{0, 0, 100, 20}, {80, 0, 100, 90}}, "0,0-100,20 80,20-100,90"},
        {"near but costly apart", {{0, 0, 100, 40}, {0, 45, 20, 95}}, "0,0-100,40 0,45-20,95"},
        {"a cross cut in two", {{40, 0, 60, 100}, {0, 40, 200, 60}}, "0,40-40,60 40,0-60,100 60,40-200,60"},
        // A walking figure, then two dancers side by side that touch it: the
        // dancers' pieces may not merge back over the figure.
        {"figure and dancers",
         {{48, 0, 114, 58}, {112, 50, 137, 100}, {135, 50, 160, 100}},
         "112,58-160,100 114,50-160,58 48,0-114,58"},
        {"past the share", {{0, 0, 200, 61}}, "whole 0,0-200,100"},
        {"at the share", {{0, 0, 200, 60}}, "0,0-200,60"},
    };
    for (const auto& row : kRows) {
        DirtyRects rects;
        rects.reset(200, 100);
        for (const ScreenBox& b : row.vAdded) rects.add(b);
        EXPECT_EQ(boxesText(rects), row.szKept) << row.szName;
        int64_t nArea = 0;
        for (const ScreenBox& b : rects.boxes()) nArea += b.area();
        EXPECT_EQ(rects.area(), nArea) << row.szName;
        // Kept boxes never overlap, and every added pixel is in one.
        for (size_t i = 0; i < rects.boxes().size(); ++i)
            for (size_t j = i + 1; j < rects.boxes().size(); ++j)
                EXPECT_FALSE(rects.boxes()[i].meets(rects.boxes()[j])) << row.szName;
        for (ScreenBox b : row.vAdded) {
            b.clipTo(rects.screen());
            for (int y = b.y0; y < b.y1; ++y)
                for (int x = b.x0; x < b.x1; ++x)
                    EXPECT_TRUE(std::any_of(rects.boxes().begin(), rects.boxes().end(),
                                            [&](const ScreenBox& k) { return k.meets(ScreenBox{x, y, x + 1, y + 1}); }))
                        << row.szName << " " << x << "," << y;
        }
    }
}

TEST(OpaqueCover, TilesCoverTogetherAndOneMissingPixelUncovers) {
    OpaqueCover cover;
    cover.reset(200, 100);
    // Tiles of 44 x 30 over (0, 0)-(176, 90), across 64-pixel words.
    for (int y = 0; y < 90; y += 30)
        for (int x = 0; x < 176; x += 44) cover.add(ScreenBox{x, y, x + 44, y + 30});
    EXPECT_TRUE(cover.covers(ScreenBox{0, 0, 176, 90}));
    EXPECT_TRUE(cover.covers(ScreenBox{40, 25, 140, 65}));
    EXPECT_FALSE(cover.covers(ScreenBox{40, 25, 177, 65}));  // one column past
    EXPECT_FALSE(cover.covers(ScreenBox{0, 89, 10, 91}));    // one row past
    EXPECT_TRUE(cover.covers(ScreenBox{-20, -20, 10, 10}));  // cut to the screen first
    cover.reset(200, 100);
    cover.add(ScreenBox{0, 0, 63, 10});
    cover.add(ScreenBox{64, 0, 200, 10});
    EXPECT_FALSE(cover.covers(ScreenBox{60, 0, 70, 10}));  // column 63 missing
    cover.add(ScreenBox{63, 0, 64, 10});
    EXPECT_TRUE(cover.covers(ScreenBox{0, 0, 200, 10}));
}

// A record: picture id (the key), box, its place in the last list, opaque or volatile.
DrawRecord rec(uint64_t nPicture, const ScreenBox& box, int nLast, bool bOpaque = false, bool bVolatile = false) {
    DrawRecord r;
    r.key.nPicture = nPicture;
    r.key.box = box;
    r.nLast = nLast;
    r.opaque = bOpaque ? box : ScreenBox{};
    r.bVolatile = bVolatile;
    return r;
}

// The boxes of the second frame after the first, both over a background.
std::string changes(const std::vector<DrawRecord>& vFirst, const std::vector<DrawRecord>& vSecond) {
    FrameChanges changes;
    DirtyRects rects;
    const DrawRecord background = rec(1, {0, 0, 400, 300}, 0, true);
    changes.begin(400, 300);
    changes.add(background);
    for (const DrawRecord& r : vFirst) changes.add(r);
    changes.finish(rects, true);
    changes.begin(400, 300);
    changes.add(background);
    for (const DrawRecord& r : vSecond) changes.add(r);
    changes.finish(rects, false);
    return boxesText(rects);
}

TEST(FrameChanges, ChangedNewGoneAndReorderedRecordsNameTheirBoxes) {
    const ScreenBox a{10, 10, 30, 30}, a2{14, 10, 34, 30}, b{100, 100, 140, 130}, c{200, 50, 220, 70};
    const struct {
        const char* szName;
        std::vector<DrawRecord> vFirst, vSecond;
        const char* szBoxes;
    } kRows[] = {
        {"unchanged", {rec(2, a, -1), rec(3, b, -1)}, {rec(2, a, 1), rec(3, b, 2)}, ""},
        {"moved", {rec(2, a, -1), rec(3, b, -1)}, {rec(2, a2, 1), rec(3, b, 2)}, "10,10-34,30"},
        {"another picture", {rec(2, b, -1)}, {rec(4, b, 1)}, "100,100-140,130"},
        {"new", {rec(2, a, -1)}, {rec(2, a, 1), rec(3, c, -1)}, "200,50-220,70"},
        {"gone", {rec(2, a, -1), rec(3, c, -1)}, {rec(2, a, 1)}, "200,50-220,70"},
        // B now before A: the one that came first before is named.
        {"swapped", {rec(2, a, -1), rec(3, b, -1)}, {rec(3, b, 2), rec(2, a, 1)}, "10,10-30,30"},
        {"volatile", {rec(2, a, -1, false, true)}, {rec(2, a, 1, false, true)}, "10,10-30,30"},
        // Two records claiming one last record: the second counts as new.
        {"claimed twice", {rec(2, a, -1)}, {rec(2, a, 1), rec(2, c, 1)}, "200,50-220,70"},
    };
    for (const auto& row : kRows) EXPECT_EQ(changes(row.vFirst, row.vSecond), row.szBoxes) << row.szName;
}

// Where nothing opaque lies, drawing a translucent sprite again would blend
// it again: its box is drawn every frame.
TEST(FrameChanges, ATranslucentRecordOffEveryOpaqueBoxIsDrawnEveryFrame) {
    FrameChanges changes;
    DirtyRects rects;
    const DrawRecord floorLeft = rec(1, {0, 0, 100, 100}, -1, true), floorRight = rec(2, {100, 0, 200, 100}, -1, true);
    for (int nFrame = 0; nFrame < 3; ++nFrame) {
        changes.begin(400, 300);
        changes.add(rec(1, floorLeft.key.box, nFrame ? 0 : -1, true));
        changes.add(rec(2, floorRight.key.box, nFrame ? 1 : -1, true));
        changes.add(rec(3, {90, 20, 110, 40}, nFrame ? 2 : -1));    // over both floors
        changes.add(rec(4, {190, 20, 210, 40}, nFrame ? 3 : -1));   // half off them
        changes.finish(rects, nFrame == 0);
    }
    EXPECT_EQ(boxesText(rects), "190,20-210,40");
}

TEST(FrameChanges, AFrameThatCannotBeComparedIsWholeAndSoIsTheNext) {
    FrameChanges changes;
    DirtyRects rects;
    std::string sSeen;
    for (int nFrame = 0; nFrame < 4; ++nFrame) {
        changes.begin(400, 300);
        changes.add(rec(1, {0, 0, 400, 300}, nFrame ? 0 : -1, true));
        if (nFrame == 1) changes.setUncomparable();
        changes.finish(rects, nFrame == 0);
        sSeen += rects.isWholeScreen() ? 'W' : rects.isEmpty() ? '-' : 'p';
    }
    EXPECT_EQ(sSeen, "WWW-");
    // A new screen size draws whole.
    changes.begin(300, 300);
    changes.add(rec(1, {0, 0, 300, 300}, 0, true));
    changes.finish(rects, false);
    EXPECT_TRUE(rects.isWholeScreen());
}

}  // namespace
