// Boxes of two screens over the demo content, measured in the pixels of
// their real pictures and fonts: the store's money beside its coin on its
// tag for sums of one to nine digits, its stamps whole on its items, and the
// saved-game question centred and wrapped where it reads as a sentence.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dialogs/ui_stddialogs.h"
#include "records/upgrademanager.h"
#include "screens/democontent_util.h"
#include "screens/previewtest_util.h"
#include "screens/storeitems.h"
#include "screens/storemode.h"

namespace {

using democontent::describe;

// The box with the pixel (x, y) in it.
Rect grown(const Rect& box, int x, int y) {
    const Rect pixel(x, y, x + 1, y + 1);
    return box.isEmpty() ? pixel : box.unite(pixel);
}

// The mode's pictures composed inside an area, topmost opaque pixel first,
// all but one sprite (when given) left out: what that sprite is drawn over.
class Under {
public:
    Under(GameMode& mode, const Sprite* pLeft, const Rect& area) : m_area(area) {
        m_vPixels.assign(static_cast<size_t>(area.getWidth() * area.getHeight()), Color());
        for (const Zep::SmartPtr<Sprite>& pSprite : mode.getAllSprites())
            if (pSprite.get() != pLeft && pSprite->isVisible() && pSprite->getAlpha() > 0.0f) paint(*pSprite);
    }
    Color at(int x, int y) const { return m_vPixels[index(x, y)]; }
    // How many pixels of the box are of the colour.
    int count(const Color& colour, const Rect& box) const {
        int n = 0;
        for (int y = box.getTop(); y < box.getBottom(); ++y)
            for (int x = box.getLeft(); x < box.getRight(); ++x) n += at(x, y) == colour ? 1 : 0;
        return n;
    }
    // The box of the pixels in the box that are not of the colour.
    Rect otherThan(const Color& colour, const Rect& box) const {
        Rect found;
        for (int y = box.getTop(); y < box.getBottom(); ++y)
            for (int x = box.getLeft(); x < box.getRight(); ++x)
                if (at(x, y) != colour) found = grown(found, x, y);
        return found;
    }

private:
    size_t index(int x, int y) const {
        return static_cast<size_t>((y - m_area.getTop()) * m_area.getWidth() + x - m_area.getLeft());
    }
    // The display layers come in drawing order: a later opaque pixel covers an earlier one.
    void paint(const Sprite& sprite) {
        const Zep::SmartPtr<Image> pImage = sprite.getImage();
        if (pImage.isNULL()) return;
        const Rect drawn = sprite.getBoundingRect();
        const Rect box = drawn.intersect(m_area);
        if (box.isEmpty() || !drawn.intersects(m_area)) return;
        pImage->lock();
        for (int y = box.getTop(); y < box.getBottom(); ++y)
            for (int x = box.getLeft(); x < box.getRight(); ++x)
                if (const Color c = pImage->readPixel(x - drawn.getLeft(), y - drawn.getTop()); c.getAlpha() > 0)
                    m_vPixels[index(x, y)] = c;
        pImage->unlock();
    }

    Rect m_area;
    std::vector<Color> m_vPixels;
};

class DemoScreens : public democontent::DemoContentTest {
protected:
    TUKPlayer m_player;
};

int pixelsOf(Image& image, const Color& colour) {
    image.lock();
    int n = 0;
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x) n += image.readPixel(x, y) == colour ? 1 : 0;
    image.unlock();
    return n;
}

// A stamp's letters: the fully opaque pixels of its commonest opaque colour.
struct Ink {
    Color colour;
    int nPixels = 0;
};

Ink inkOf(Image& stamp) {
    std::map<uint32_t, Ink> mOpaque;
    stamp.lock();
    for (int y = 0; y < stamp.getHeight(); ++y)
        for (int x = 0; x < stamp.getWidth(); ++x)
            if (const Color c = stamp.readPixel(x, y); c.getAlpha() == 255) {
                Ink& ink = mOpaque[c.getPackedValue()];
                ink = {c, ink.nPixels + 1};
            }
    stamp.unlock();
    Ink commonest;
    for (const auto& [nPacked, ink] : mOpaque)
        if (ink.nPixels > commonest.nPixels) commonest = ink;
    return commonest;
}

// The stamp an item carries at a level, or null.
const char* stampOf(int nItem, int nLevel) {
    const UpgradeManager::Look eLook = UpgradeManager::getItemPicture(nItem, nLevel).eLook;
    if (eLook == UpgradeManager::kSoldOut) return "store_soldout";
    return eLook == UpgradeManager::kNotAvailable ? "store_notavail" : nullptr;
}

}  // namespace

// The sum covers nothing but its tag's paper, a whole coin stands just
// before it, and paper shows round both: for every length the store shows.
TEST_F(DemoScreens, TheStoresMoneyStandsBesideItsCoinOnItsTagUpToNineDigits) {
    for (int nMoney : {0, 42, 380, 5000, 12345, 123456, 1234567, 88888888, 999999999}) {
        m_player.setMoney(nMoney);
        auto* pStore = new StoreMode(&m_player, "scene0");
        m_app.pushMode(pStore);
        const Label& label = *pStore->getMoneyLabel();
        const std::string sCase = label.getText().c_str();
        const Rect sum = democontent::opaqueBox(label);
        const Under under(*pStore, &label, Rect(300, 500, 800, 600));
        const Color paper = under.at(sum.getRight() + 2, (sum.getTop() + sum.getBottom()) / 2);
        EXPECT_EQ(describe(under.otherThan(paper, sum)), describe(Rect())) << sCase << " over " << describe(sum);
        const Rect before(sum.getLeft() - 30, sum.getTop(), sum.getLeft(), sum.getBottom());
        const Rect coin = under.otherThan(paper, before);
        EXPECT_GE(coin.getWidth(), 14) << sCase << ": " << describe(coin);
        EXPECT_GE(sum.getLeft() - coin.getRight(), 2) << sCase << ": " << describe(coin) << " " << describe(sum);
        EXPECT_LE(sum.getLeft() - coin.getRight(), 8) << sCase << ": " << describe(coin) << " " << describe(sum);
        const Rect rim(coin.getLeft() - 4, sum.getTop(), sum.getRight() + 4, sum.getBottom());
        EXPECT_EQ(describe(under.otherThan(paper, rim)), describe(coin)) << sCase << " in its tag";
        pStore->endMode();
        m_app.deleteEndedModes();
    }
}

// Its lines, measured in the label's pixels row by row, stand centred under
// the title; it breaks between "continue" and "your".
TEST_F(DemoScreens, TheSavedGameQuestionIsCentredAndWrappedWhereItReadsAsASentence) {
    auto* pDialog = new StartAgainDlg(nullptr, -1, 15, 11, nullptr);
    m_app.pushMode(pDialog);
    Table& table = *pDialog->getTable();
    const Label* pTitle = dynamic_cast<Label*>(table.getContent(0, 0, 0).get());
    Label* pQuestion = dynamic_cast<Label*>(table.getContent(2, 0, 0).get());
    ASSERT_TRUE(pTitle && pQuestion);
    Label& question = *pQuestion;
    std::string sLines;
    for (const Zep::String& sLine : question.getFont()->splitLines(question.getText().c_str(), question.getTextWidth()))
        sLines += std::string(sLine.trim().c_str()) + "|";
    EXPECT_EQ(sLines, "Do you want to continue|your saved game?|");
    const Rect shown = democontent::opaqueBox(*pTitle);
    const int nCentre2 = shown.getLeft() + shown.getRight();  // twice the title's middle
    const int nTop = question.getY() + question.getTextMargin(), nLine = question.getFont()->getHeight();
    const Rect drawn = democontent::opaqueBox(question);
    const Zep::SmartPtr<Image> pImage = question.getImage();
    pImage->lock();
    for (int i = 0; i < question.getLineCount(); ++i) {
        const Rect band(drawn.getLeft(), std::max(drawn.getTop(), nTop + i * nLine), drawn.getRight(),
                        std::min(drawn.getBottom(), nTop + (i + 1) * nLine));
        Rect line;
        for (int y = band.getTop(); y < band.getBottom(); ++y)
            for (int x = band.getLeft(); x < band.getRight(); ++x)
                if (pImage->readPixel(x - question.getX(), y - question.getY()).getAlpha() > 0)
                    line = grown(line, x, y);
        EXPECT_NEAR(line.getLeft() + line.getRight(), nCentre2, 3) << "line " << i << " " << describe(line)
                                                                   << " under " << describe(shown);
    }
    pImage->unlock();
}

// Every letter of a stamp shows, on every item at every level that carries
// one: in the item's picture, and in the store as it draws a new game, every
// item sold out, and the first machine's item at each level.
TEST_F(DemoScreens, EveryStampOfTheStoreShowsWholeOnEveryItemAtEveryLevel) {
    const UpgradeManager catalogue;
    int nStamped = 0;
    for (int nItem = 0; nItem < UpgradeManager::kItems; ++nItem)
        for (int nLevel = 0; nLevel < UpgradeManager::getItemLimit(nItem); ++nLevel)
            if (const char* szStamp = stampOf(nItem, nLevel)) {
                const Ink ink = inkOf(*m_app.getImage(szStamp));
                ASSERT_GT(ink.nPixels, 50) << szStamp;
                EXPECT_EQ(pixelsOf(*catalogue.getItemImage(nItem, nLevel), ink.colour), ink.nPixels)
                    << "item " << nItem << " at level " << nLevel << ", " << szStamp;
                ++nStamped;
            }
    EXPECT_EQ(nStamped, 15);
    for (const char* szLevels : {"0000000000000", "0000001100000", "0000002200000", "2111113311224"}) {
        previewtest::setLevels(m_player, szLevels);
        auto* pStore = new StoreMode(&m_player, "scene0");
        m_app.pushMode(pStore);
        const Under shown(*pStore, nullptr, Rect(0, 0, 800, 600));
        for (int nItem = 0; nItem < UpgradeManager::kItems; ++nItem) {
            const int nLevel = StoreItems::levelShown(nItem, StoreItems::levelsOf(m_player));
            const char* szStamp = stampOf(nItem, nLevel);
            if (!szStamp) continue;
            const Ink ink = inkOf(*m_app.getImage(szStamp));
            const Zep::SmartPtr<Image> pPicture = catalogue.getItemImage(nItem, nLevel);
            const StoreItems::Item& place = StoreItems::get(nItem);
            const Rect box(place.x - pPicture->getWidth() / 2, place.y - pPicture->getHeight() / 2,
                           place.x + pPicture->getWidth() / 2 + 1, place.y + pPicture->getHeight() / 2 + 1);
            EXPECT_EQ(shown.count(ink.colour, box), ink.nPixels)
                << szLevels << ": item " << nItem << " at level " << nLevel << ", " << szStamp;
        }
        pStore->endMode();
        m_app.deleteEndedModes();
    }
}
