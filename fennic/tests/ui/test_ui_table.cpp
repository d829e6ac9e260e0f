#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "anim/animsprite.h"
#include "sprite/gamemode.h"
#include "effects/sc_playanim.h"
#include "sprite/spritetest_util.h"
#include "theme/themetest_util.h"
#include "ui/ui_table.h"

namespace {

using Sizes = std::vector<std::pair<int, int>>;  // per cell: width (or -1 for a new row), height
constexpr int kRow = -1;

Zep::SmartPtr<Sprite> sprite(int w, int h) { return new Sprite(spritetest::picture(w, h, 0, 0), 0, 0, 0); }

// A table of cells holding one sprite each; a width of 0 makes an empty cell.
Zep::SmartPtr<Table> tableOf(const Sizes& cells) {
    Zep::SmartPtr<Table> p = new Table(nullptr);
    p->newRow();
    for (const auto& [w, h] : cells) {
        if (w == kRow) {
            p->newRow();
            continue;
        }
        p->newCell(h < 0 ? -h : 1);  // a negative height: a cell spanning that many columns, 10 high
        if (w > 0) p->add(sprite(w, h < 0 ? 10 : h).get(), 9);
    }
    return p;
}

std::string sizeOf(Table& t) { return std::to_string(t.getWidth()) + "x" + std::to_string(t.getHeight()); }

// The x of the first content of every cell of a row, after arranging at (0, 0).
std::string columnStarts(Table& t, int nRow) {
    t.setPosition(0, 0);
    std::string s;
    for (int i = 0; i < t.getCellCount(nRow); ++i)
        if (t.getLayerCount(nRow, i) > 0) s += std::to_string(static_cast<int>(t.getContent(nRow, i, 0)->getPosition().x)) + " ";
    return s;
}

struct MeasureCase {
    const char* szName;
    Sizes cells;
    int nRequestedW, nRequestedH, nSpacing;
    const char* szSize;
    int nRow;
    const char* szStarts;
};

TEST(TableMeasure, NumbersOfTheLayout) {
    const MeasureCase kCases[] = {
        {"empty", {}, 0, 0, 0, "0x0", 0, ""},
        {"three columns", {{10, 5}, {20, 5}, {30, 5}}, 0, 0, 0, "60x5", 0, "0 10 30 "},
        {"spacing", {{10, 5}, {20, 5}, {kRow, 0}, {10, 5}}, 0, 0, 4, "34x14", 0, "0 14 "},
        // Requested width 100 over 10, 20, 30: each grows by 13, the remainder lost.
        {"extra width", {{10, 5}, {20, 5}, {30, 5}}, 100, 0, 0, "99x5", 0, "0 23 56 "},
        // Extra height goes to every row alike.
        {"extra height", {{10, 10}, {kRow, 0}, {10, 20}}, 0, 50, 0, "10x50", 1, "0 "},
        // A span wider than its columns spreads in proportion: 50 x 10/30 = 16, 50 x 20/30 = 33 + 1.
        {"span", {{10, 5}, {20, 5}, {kRow, 0}, {50, -2}}, 0, 0, 0, "50x15", 0, "0 16 "},
        // A zero-width column alone takes the span's whole width.
        {"span over empty", {{0, 5}, {20, 5}, {kRow, 0}, {50, -2}}, 0, 0, 0, "70x15", 0, "50 "},
    };
    for (const MeasureCase& c : kCases) {
        Zep::SmartPtr<Table> t = tableOf(c.cells);
        t->setSize(c.nRequestedW, c.nRequestedH);
        if (c.nSpacing) t->setSpacing(c.nSpacing);
        EXPECT_EQ(c.szSize, sizeOf(*t)) << c.szName;
        if (t->getRowCount() > 0) {
            EXPECT_EQ(c.szStarts, columnStarts(*t, c.nRow)) << c.szName;
        }
    }
}

TEST(TableMeasure, FlaggedColumnsKeepTheirWidthAndEmptyRowsDoNotMoveDown) {
    Zep::SmartPtr<Table> t = tableOf({{10, 5}, {20, 5}, {30, 5}});
    t->setCellFlags(Table::kNoExtraWidth);  // the 30 column
    t->setSize(100, 0);
    EXPECT_EQ("100x5", sizeOf(*t));
    EXPECT_EQ("0 30 70 ", columnStarts(*t, 0));

    // A row without cells counts its spacing in the height but not in the placing.
    Zep::SmartPtr<Table> r = tableOf({{10, 10}, {kRow, 0}, {kRow, 0}, {10, 10}});
    r->setRowSpacing(5);
    EXPECT_EQ("10x30", sizeOf(*r));  // 10 + 0 + 10 and two spacings
    EXPECT_EQ(15, static_cast<int>(r->getContent(2, 0, 0)->getPosition().y));
}

TEST(TableArrange, AlignmentOffsetsInsertionPointsAndZOrders) {
    struct Case {
        int nAlign;
        int dx, dy;
    };
    for (const Case& c : {Case{0x24, 34, 14}, Case{0x12, 69, 29}, Case{9, 0, 0}, Case{0, 0, 0}}) {
        Zep::SmartPtr<Table> t = new Table(nullptr);
        t->add(sprite(100, 40).get(), 9);
        Zep::SmartPtr<Sprite> p = sprite(31, 11);
        t->add(p.get(), c.nAlign);
        t->setZOrder(5);
        t->setPosition(10, 20);
        EXPECT_EQ(std::make_pair(10 + c.dx, 20 + c.dy), std::make_pair(p->getX(), p->getY())) << c.nAlign;
        EXPECT_EQ(std::make_pair(8, 18), std::make_pair(t->getContent(0, 0, 0)->getZOrder(), p->getZOrder()));
    }
    // Cell flag 2 shifts sprites by their image's insertion point.
    Zep::SmartPtr<Table> t = new Table(nullptr);
    Zep::SmartPtr<Sprite> p = new Sprite(spritetest::picture(20, 20, 7, 3), 0, 0, 0);
    t->add(p.get(), 9);
    t->setCellFlags(Table::kUseInsPoint);
    t->setPosition(0, 0);
    EXPECT_EQ(std::make_pair(7.0f, 3.0f), std::make_pair(p->getPosition().x, p->getPosition().y));
    EXPECT_EQ("List index out of range : 4 (have 1)", testkit::messageOf([&] { t->getCellCount(4); }));
}

TEST(TableArrange, NestedTablesAttachedSpritesAndNames) {
    Zep::SmartPtr<Table> pOuter = new Table(nullptr), pInner = new Table(nullptr);
    pInner->add(sprite(10, 10).get(), 9);
    pInner->setContentName("dot");
    pOuter->add(sprite(40, 30).get(), 9);
    pOuter->newCell(1);
    pOuter->add(pInner.get(), 0x24);
    EXPECT_EQ(pInner->getContent(0, 0, 0), pOuter->findContent("dot"));
    EXPECT_TRUE(pOuter->findContent("none").isNULL());
    Zep::SmartPtr<Sprite> pBadge = sprite(4, 4);
    pOuter->attachSprite(pBadge, 2 | 0x20, 7);
    // An animated sprite attached gets its player; a plain one gets nothing.
    Zep::SmartPtr<Animation> pAnim = new Animation(10.0f);
    pAnim->addFrame("default", sprite(4, 4)->getImage(), 1);
    Zep::SmartPtr<Sprite> pSpinner = new AnimSprite(pAnim, 0, 0, 0);
    pOuter->attachSprite(pSpinner, 2, 0);
    EXPECT_EQ(0, pBadge->getControllerCount());
    EXPECT_NE(nullptr, dynamic_cast<SCPlayAnimation*>(pSpinner->getController(0)));
    pOuter->setPosition(100, 100);
    // The inner table took the cell's height (30), so centring leaves it at the cell's corner.
    EXPECT_EQ(std::make_pair(140, 100), std::make_pair(static_cast<int>(pInner->getPosition().x),
                                                       static_cast<int>(pInner->getPosition().y)));
    EXPECT_EQ(30, pInner->getHeight());
    EXPECT_EQ(std::make_pair(150, 115), std::make_pair(pBadge->getX(), pBadge->getY()));
    EXPECT_EQ(7, pBadge->getZOrder());
    Zep::List<Zep::SmartPtr<Sprite>> lAll;
    pOuter->getSprites(lAll, true);
    EXPECT_EQ(2, lAll.getCount());
    pOuter->getSprites(lAll, false);
    EXPECT_EQ(1, lAll.getCount());
    pOuter->setVisible(false);
    EXPECT_FALSE(pBadge->isVisible() || lAll.getFirst()->isVisible());
}

class FramedTable : public themetest::ThemeApp {};

TEST_F(FramedTable, AResizedTableGetsANewFrameAndAMovedOneKeepsIt) {
    m_app.setTheme(sample());
    Zep::SmartPtr<Table> t = new Table(nullptr);
    t->add(sprite(20, 10).get(), 9);
    t->setFramed(true);
    t->setPosition(50, 40);
    Zep::SmartPtr<Table> pFrame = t->getFrame();
    ASSERT_TRUE(pFrame.notNULL());
    // Border 4 all round: the frame at (46, 36), 28 x 18.
    EXPECT_EQ("46,36 28x18", std::to_string(static_cast<int>(pFrame->getPosition().x)) + "," +
                                 std::to_string(static_cast<int>(pFrame->getPosition().y)) + " " + sizeOf(*pFrame));
    int w = 0, h = 0;
    t->getOuterSize(&w, &h, true);
    EXPECT_EQ(std::make_pair(28, 18), std::make_pair(w, h));
    t->setPosition(60, 40);
    EXPECT_EQ(pFrame, t->getFrame());
    EXPECT_EQ(56, static_cast<int>(pFrame->getPosition().x));
    t->add(sprite(30, 10).get(), 9);
    t->updateLayout();
    EXPECT_NE(pFrame, t->getFrame());
    t->setFramed(false);
    t->updateLayout();
    EXPECT_TRUE(t->getFrame().isNULL());
}

}  // namespace

namespace {

TEST_F(FramedTable, ContentsJoinTheOwnerModeAndLeaveItOnRemoval) {
    m_app.setTheme(sample());
    GameMode mode;
    Zep::SmartPtr<Table> t = new Table(&mode), pSub = new Table(&mode);
    Zep::SmartPtr<Sprite> pA = sprite(10, 10), pB = sprite(10, 10), pBadge = sprite(2, 2);
    t->add(pA.get(), 9);
    pSub->add(pB.get(), 9);
    t->add(pSub.get(), 9);
    mode.addSprite(pBadge);
    t->attachSprite(pBadge, 9, 1);
    EXPECT_TRUE(pA->getMode() == &mode && pB->getMode() == &mode);
    t->setFramed(true);
    t->setPosition(10, 10);
    Zep::List<Zep::SmartPtr<Sprite>> lSprites;
    t->getSprites(lSprites, true);
    EXPECT_GT(lSprites.getCount(), 2);  // the frame's pieces first, then the two contents
    EXPECT_EQ(pB, lSprites.getLast());
    t->removeContents();
    EXPECT_TRUE(!pA->getMode() && !pB->getMode() && !pBadge->getMode());
    EXPECT_TRUE(t->getLayerCount(0, 0) == 2 && t->getContent(0, 0, 1).isNULL());  // the layers stay, empty
    t->removeAll();
    EXPECT_TRUE(t->getFrame().isNULL());
    t->clear();
    EXPECT_EQ(0, t->getRowCount());
}

}  // namespace
