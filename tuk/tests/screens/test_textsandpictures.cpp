// The packed demo archives say what they show, and show what the game does:
// the tray for sale carries, in its text and in its pictures, the glasses
// the waitress's tray holds; a chair is sold one at a time in the text, in
// the purchase dialog's preview and in the level's seats; the preview shows
// the bar as the level does, without the level's labels; every figure keeps
// its skin in each of its looks; and the how-to pages show the meter a
// standing guest has, not a seated guest's.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "actors/barman.h"
#include "actors/figures.h"
#include "level/customertable.h"
#include "level/levelhud.h"
#include "level/playmode.h"
#include "records/upgrademanager.h"
#include "screens/buyupgrademode.h"
#include "screens/democontent_util.h"
#include "screens/previewtest_util.h"

namespace {

// The number the text gives the noun ("four glasses", "One chair"); 0 when
// it counts none.
int countIn(const std::string& sText, const std::string& sNoun) {
    static const std::map<std::string, int> kNumbers = {{"a", 1},    {"an", 1},    {"one", 1}, {"two", 2},
                                                        {"three", 3}, {"four", 4}, {"five", 5}, {"six", 6}};
    std::string sWords;
    for (char c : sText) sWords += std::isalpha(static_cast<unsigned char>(c)) ? static_cast<char>(std::tolower(c)) : ' ';
    std::istringstream words(sWords);
    std::string sBefore, sWord;
    while (words >> sWord) {
        const bool bNoun = sWord == sNoun || sWord == sNoun + "s" || sWord == sNoun + "es";
        if (bNoun && kNumbers.count(sBefore)) return kNumbers.at(sBefore);
        sBefore = sWord;
    }
    return 0;
}

// The most separate runs of opaque pixels one row of the picture meets: a
// row across the glasses standing on a tray meets each glass once.
int mostRunsInARow(const Zep::SmartPtr<Image>& pImage) {
    pImage->lock();
    int nMost = 0;
    for (int y = 0; y < pImage->getHeight(); ++y) {
        int nRuns = 0;
        bool bIn = false;
        for (int x = 0; x < pImage->getWidth(); ++x) {
            const bool bOpaque = pImage->readPixel(x, y).getAlpha() >= 128;
            nRuns += bOpaque && !bIn ? 1 : 0;
            bIn = bOpaque;
        }
        nMost = std::max(nMost, nRuns);
    }
    pImage->unlock();
    return nMost;
}

// The meter's rim: the pixels of its frame (sequence "0") that none of its
// segments covers, as (x, y, colour); what shows whatever the patience.
struct RimPixel {
    int x, y;
    Color colour;
};

std::vector<RimPixel> meterRim(const Animation& meter) {
    std::vector<Zep::SmartPtr<Image>> vImages;
    for (int n = 0; n <= 8; ++n) vImages.push_back(meter.getFrameImage(std::to_string(n).c_str(), 0));
    for (const Zep::SmartPtr<Image>& p : vImages) p->lock();
    std::vector<RimPixel> vRim;
    for (int y = 0; y < vImages[0]->getHeight(); ++y)
        for (int x = 0; x < vImages[0]->getWidth(); ++x) {
            const Color c = vImages[0]->readPixel(x, y);
            bool bCovered = false;
            for (size_t n = 1; n < vImages.size(); ++n) bCovered |= vImages[n]->readPixel(x, y).getAlpha() != 0;
            if (c.getAlpha() == 255 && !bCovered) vRim.push_back({x, y, c});
        }
    for (const Zep::SmartPtr<Image>& p : vImages) p->unlock();
    return vRim;
}

// How many places of the page show the rim exactly.
int placesShowing(const Zep::SmartPtr<Image>& pPage, const std::vector<RimPixel>& vRim, int nWidth, int nHeight) {
    pPage->lock();
    int nPlaces = 0;
    for (int y = 0; y + nHeight <= pPage->getHeight(); ++y)
        for (int x = 0; x + nWidth <= pPage->getWidth(); ++x) {
            bool bShows = true;
            for (size_t i = 0; bShows && i < vRim.size(); ++i)
                bShows = pPage->readPixel(x + vRim[i].x, y + vRim[i].y) == vRim[i].colour;
            nPlaces += bShows ? 1 : 0;
        }
    pPage->unlock();
    return nPlaces;
}

// Whether the picture paints any pixel.
bool paints(Image& image) {
    for (int y = 0; y < image.getHeight(); ++y)
        if (!image.isRowEmpty(y, 0)) return true;
    return false;
}

// The colour the sprites show at the pixel: the topmost opaque one's.
Color shownAt(const Zep::List<Zep::SmartPtr<Sprite>>& lSprites, int x, int y) {
    const Point centre(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f);
    const Sprite* pTop = nullptr;
    for (const Zep::SmartPtr<Sprite>& pSprite : lSprites)
        if (pSprite->isVisible() && pSprite->hitTestPixel(centre, 254) &&
            (!pTop || pSprite->getZOrder() > pTop->getZOrder()))
            pTop = pSprite.get();
    if (!pTop) return Color(0, 0, 0, 0);
    const Point local = pTop->screenToLocal(centre);
    return pTop->getDrawImage()->getPixel(static_cast<int>(local.x), static_cast<int>(local.y));
}

// A colour's hue in degrees (0 to 360), saturation and value (0 to 1).
struct Hsv {
    float h, s, v;
};

Hsv hsvOf(const Color& c) {
    const float r = c.getRed() / 255.0f, g = c.getGreen() / 255.0f, b = c.getBlue() / 255.0f;
    const float fMax = std::max({r, g, b}), fRange = fMax - std::min({r, g, b});
    float h = 0.0f;
    if (fRange > 0.0f) h = fMax == r ? 60.0f * (g - b) / fRange : fMax == g ? 120.0f + 60.0f * (b - r) / fRange
                                                                              : 240.0f + 60.0f * (r - g) / fRange;
    return {h < 0.0f ? h + 360.0f : h, fMax > 0.0f ? fRange / fMax : 0.0f, fMax};
}

// Skin: opaque, of a skin's hue (15 to 45 degrees), neither grey nor
// glaring (saturation 0.2 to 0.8), not dark (value 0.3 and up).
bool isSkin(const Color& c) {
    const Hsv hsv = hsvOf(c);
    return c.getAlpha() == 255 && hsv.h >= 15.0f && hsv.h <= 45.0f && hsv.s >= 0.2f && hsv.s <= 0.8f && hsv.v >= 0.3f;
}

// The skin pixels of the first look's picture (with skin all round: an
// outline's or a sleeve's edge is no skin) whose hue the other look's
// picture changes by more than 3 degrees; their count in *pSkin.
int skinChanged(Image& first, Image& other, int* pSkin) {
    if (first.getWidth() != other.getWidth() || first.getHeight() != other.getHeight()) return -1;
    first.lock();
    other.lock();
    int nChanged = 0;
    for (int y = 1; y + 1 < first.getHeight(); ++y)
        for (int x = 1; x + 1 < first.getWidth(); ++x) {
            bool bSkin = true;
            for (int dy = -1; dy <= 1 && bSkin; ++dy)
                for (int dx = -1; dx <= 1 && bSkin; ++dx) bSkin = isSkin(first.getPixel(x + dx, y + dy));
            if (!bSkin) continue;
            ++*pSkin;
            const Hsv a = hsvOf(first.getPixel(x, y)), b = hsvOf(other.getPixel(x, y));
            const float fTurn = std::fabs(a.h - b.h);
            nChanged += std::min(fTurn, 360.0f - fTurn) > 3.0f || b.s < 0.1f ? 1 : 0;
        }
    other.unlock();
    first.unlock();
    return nChanged;
}

class DemoArchives : public democontent::DemoContentTest {
protected:
    DemoArchives() : DemoContentTest(true) {}

    BuyUpgradeMode& openDialog(int nPurchaseId, const char* szLevels) {
        previewtest::setLevels(m_player, szLevels);
        m_pDialog = new BuyUpgradeMode(&m_player, new UpgradeManager(), nPurchaseId, "scene0", &m_bPurchased);
        m_app.pushMode(m_pDialog);
        return *m_pDialog;
    }
    void closeDialog() {
        m_pDialog->onCallback(BuyUpgradeMode::kCloseId, nullptr);
        m_app.updateModes(0.01f);
    }
    // The scene's chairs ("chair0" to "chair3") the dialog's preview shows.
    int chairsShown() const {
        int n = 0;
        for (int i = 0; i < 4; ++i) {
            const Zep::String sName = Zep::String::format("chair%d", i);
            const scenelines::SpriteNames& hNamed = m_pDialog->getPreview()->getNamedSprites();
            n += hNamed.contains(sName) && hNamed.get(sName)->isVisible() ? 1 : 0;
        }
        return n;
    }
    // The VIP seats of the level read at the levels.
    int vipSeats(const char* szLevels) {
        TUKPlayer player;
        previewtest::setLevels(player, szLevels);
        PlayMode level(&player, nullptr, "scene0", 0, 0, 1);
        level.loadScene();
        return level.getLevelData().m_lCharacterSpots.getCount() - level.getLevelData().m_nOrdinarySpots;
    }

    TUKPlayer m_player;
    bool m_bPurchased = false;
    BuyUpgradeMode* m_pDialog = nullptr;
};

}  // namespace

// The tray's next level as the dialog offers it: its text, its picture in
// the dialog and its item in the store count the glasses the tray holds.
TEST_F(DemoArchives, EachTrayForSaleShowsAndSaysTheGlassesItHolds) {
    const UpgradeManager catalogue;
    for (const int nLevel : {1, 2}) {
        const int nGlasses = UpgradeManager::effectValue(0, nLevel);
        const std::string sCase = "tray level " + std::to_string(nLevel) + ", " + std::to_string(nGlasses) + " glasses";
        BuyUpgradeMode& dialog = openDialog(0, nLevel == 1 ? "0000000000000" : "1000000000000");
        EXPECT_EQ(countIn(dialog.getTextLabel()->getText().c_str(), "glass"), nGlasses)
            << sCase << ": " << dialog.getTextLabel()->getText().c_str();
        const Zep::String sPicture = Zep::String::format("buyupgrade_bandeja%d_normal", nLevel);
        EXPECT_EQ(mostRunsInARow(m_app.getImage(sPicture.c_str())), nGlasses) << sCase << ": " << sPicture.c_str();
        EXPECT_EQ(mostRunsInARow(catalogue.getItemImage(0, nLevel - 1)), nGlasses) << sCase << ": the store's item";
        closeDialog();
    }
}

// Each chair as the dialog offers it, with none or some bought: the text
// counts the chairs the preview adds for the choice and the seats the level
// gains with it.
TEST_F(DemoArchives, AChairForSaleIsOneChairInTheTextThePreviewAndTheLevel) {
    const struct {
        const char* szLevels;
        int nVariant;  // chair kind - 2 + 3
        const char* szBought;
    } kRows[] = {
        {"0000000000000", 3, "0010000000000"}, {"0000000000000", 4, "0001000000000"},
        {"0000000000000", 5, "0000100000000"}, {"0000000000000", 6, "0000010000000"},
        {"0010100000000", 4, "0011100000000"}, {"0011100000000", 6, "0011110000000"},
    };
    for (const auto& row : kRows) {
        const std::string sCase = std::string(row.szLevels) + " choice " + std::to_string(row.nVariant);
        BuyUpgradeMode& dialog = openDialog(13, row.szLevels);
        const int nOwned = static_cast<int>(std::count(row.szLevels + 2, row.szLevels + 6, '1'));
        dialog.onCallback(row.nVariant, nullptr);
        const int nSaid = countIn(dialog.getTextLabel()->getText().c_str(), "chair");
        EXPECT_EQ(nSaid, 1) << sCase << ": " << dialog.getTextLabel()->getText().c_str();
        EXPECT_EQ(chairsShown() - nOwned, nSaid) << sCase;
        EXPECT_EQ(vipSeats(row.szBought) - vipSeats(row.szLevels), nSaid) << sCase;
        closeDialog();
    }
}

// The chairs' preview, with a chair and a centrepiece at each table and the
// parrot: every still picture the preview paints is one of the level's, at
// four tenths of its place (no strip of the preview's own over the floor);
// and the level's money and clock stand on plates of their own, under the
// whole of each label, while the bar's pictures under the plates show no
// plate (fewer than a tenth of the plate's pixels alike), so that the
// preview, which shows the bar without the labels, shows no empty plate.
TEST_F(DemoArchives, ThePreviewShowsTheBarAsTheLevelDoesWithoutTheLevelsLabels) {
    const char* const szLevels = "0010100010110";
    TUKPlayer player;
    previewtest::setLevels(player, szLevels);
    PlayMode level(&player, nullptr, "scene0", 0, 0, 1);
    level.loadScene();
    const Zep::List<Zep::SmartPtr<Sprite>> lScene = level.getAllSprites();
    auto place = [](const Sprite& sprite, float fScale) {
        return std::string(sprite.getImage()->getName().c_str()) + " at " +
               std::to_string(static_cast<int>(static_cast<float>(sprite.getX()) * fScale)) + "," +
               std::to_string(static_cast<int>(static_cast<float>(sprite.getY()) * fScale));
    };
    std::set<std::string> setLevel;
    for (const Zep::SmartPtr<Sprite>& pSprite : lScene)
        if (pSprite->getImage().notNULL()) setLevel.insert(place(*pSprite, BarPreview::kScale));
    BarPreview preview(m_app, 13, previewtest::levels(szLevels));
    preview.read("scene0");
    std::string sOwn;
    int nStills = 0;
    for (const Zep::SmartPtr<Sprite>& pSprite : preview.getSprites()) {
        if (dynamic_cast<const AnimSprite*>(pSprite.get()) || !pSprite->isVisible() || pSprite->getImage().isNULL() ||
            !paints(*pSprite->getImage()))
            continue;
        ++nStills;
        if (const std::string sPlace = place(*pSprite, 1.0f); !setLevel.count(sPlace)) sOwn.append(" ").append(sPlace);
    }
    EXPECT_GE(nStills, 10);
    EXPECT_EQ(sOwn, "");

    GameMode* pMode = new GameMode();
    m_app.pushMode(pMode);
    LevelHud hud(*pMode);
    LevelData data;
    data.m_nMoneyGoal = 400;
    data.m_fDayLength = 150.0f;
    hud.update(data);
    const struct {
        const char* szWhat;
        Zep::SmartPtr<Label> pLabel;
        Zep::SmartPtr<Sprite> pPlate;
    } kLabels[] = {{"money", hud.getMoneyLabel(), hud.getMoneyPlate()},
                   {"clock", hud.getTimeLabel(), hud.getTimePlate()}};
    for (const auto& row : kLabels) {
        ASSERT_TRUE(row.pPlate.notNULL()) << row.szWhat;
        const Rect plate = democontent::opaqueBox(*row.pPlate), label = row.pLabel->getBoundingRect();
        EXPECT_TRUE(democontent::contains(plate, label))
            << row.szWhat << ": label " << democontent::describe(label) << " on " << democontent::describe(plate);
        EXPECT_LT(row.pPlate->getZOrder(), row.pLabel->getZOrder()) << row.szWhat;
        int nPixels = 0, nAlike = 0;
        for (int y = plate.getTop(); y < plate.getBottom(); ++y)
            for (int x = plate.getLeft(); x < plate.getRight(); ++x) {
                const Color c = shownAt({row.pPlate}, x, y);
                if (c.getAlpha() != 255) continue;
                ++nPixels;
                nAlike += shownAt(lScene, x, y) == c ? 1 : 0;
            }
        EXPECT_GT(nPixels, 0) << row.szWhat;
        EXPECT_LT(nAlike * 10, nPixels) << row.szWhat << ": " << nAlike << " of " << nPixels;
    }
}

// Each figure that comes in looks, the barmen, the bongo players and the
// dancers of the scene's lines and the customers of each kind of the table:
// every frame of every sequence of each look keeps the skin of the first
// look's same frame.
TEST_F(DemoArchives, EveryFigureKeepsItsSkinInEachOfItsLooks) {
    std::vector<std::pair<std::string, Zep::SmartPtr<Animation>>> vBarmen, vBongos, vDancers, vGuests, vVips;
    for (const Zep::String& sLine : m_app.getResource("scene0.scene")->asString().split("\n")) {
        const Zep::List<Zep::String> lTokens = sLine.trim().split(" \t");
        if (lTokens.getCount() > 5 && lTokens[0] == "barman") {
            const Zep::String sLook = lTokens.getCount() > 6 ? lTokens[6] : Zep::String();
            vBarmen.emplace_back("barman " + std::string(lTokens[5].c_str()), Barman::loadAnimation(sLook));
        }
        if (lTokens.getCount() > 4 && lTokens[0] == "bongos") {
            const MisterBongos player(nullptr, 0, 0, 0, lTokens[4]);
            vBongos.emplace_back("bongo player " + std::string(lTokens[4].c_str()),
                                 player.getSprites().getFirst()->getAnimation());
        }
        if (lTokens.getCount() > 6 && lTokens[0] == "bailarina")
            vDancers.emplace_back("dancer " + std::string(lTokens[6].c_str()), DancingGirl::loadAnimation(lTokens[6]));
    }
    const CustomerTable table = CustomerTable::load();
    for (bool bVip : {false, true})
        for (const CustomerEntry& entry : table.getEntries(bVip)) {
            const Zep::String sScript = Zep::String::format("ch_%s.anim", entry.sName.c_str());
            (bVip ? vVips : vGuests).emplace_back(entry.sName.c_str(), m_app.getAnimation(sScript.c_str()));
        }
    int nLooks = 0;
    for (const auto* pFigure : {&vBarmen, &vBongos, &vDancers, &vGuests, &vVips}) {
        ASSERT_GE(pFigure->size(), 2u);
        const auto& [sFirst, pFirst] = pFigure->front();
        for (size_t i = 1; i < pFigure->size(); ++i) {
            const auto& [sOther, pOther] = (*pFigure)[i];
            int nSkin = 0, nChanged = 0;
            std::set<std::pair<const Image*, const Image*>> setCompared;
            for (const Zep::String& sSequence : pFirst->getSequenceNames())
                for (int n = 0; n < pFirst->getFrameCount(sSequence.c_str()); ++n) {
                    const Zep::SmartPtr<Image> pA = pFirst->getFrameImage(sSequence.c_str(), n);
                    const Zep::SmartPtr<Image> pB = pOther->getFrameImage(sSequence.c_str(), n);
                    if (!setCompared.insert({pA.get(), pB.get()}).second) continue;
                    const int nFrame = skinChanged(*pA, *pB, &nSkin);
                    EXPECT_GE(nFrame, 0) << sOther << " " << sSequence.c_str() << " " << n << ": another size";
                    nChanged += std::max(nFrame, 0);
                }
            EXPECT_GT(nSkin, 0) << sFirst;
            EXPECT_EQ(nChanged, 0) << sOther << " against " << sFirst << ": " << nChanged << " of " << nSkin
                                   << " skin pixels of another hue";
            ++nLooks;
        }
    }
    // The barmen of the two machines, the second bongo player and dancer,
    // two more guests and a second VIP.
    EXPECT_EQ(nLooks, 7);
}

// A day-1 guest stands and has the flat meter: the how-to pages show its
// rim, and nowhere the tall meter of a seated guest.
TEST_F(DemoArchives, TheHowToPagesShowTheMeterOfAStandingGuest) {
    const Zep::SmartPtr<Animation> pStanding = m_app.getAnimation("medidor_flat.anim");
    const Zep::SmartPtr<Animation> pSeated = m_app.getAnimation("medidor.anim");
    const std::vector<RimPixel> vStanding = meterRim(*pStanding), vSeated = meterRim(*pSeated);
    const Zep::SmartPtr<Image> pFlat = pStanding->getFrameImage("0", 0), pTall = pSeated->getFrameImage("0", 0);
    ASSERT_GT(pFlat->getWidth(), pFlat->getHeight());
    ASSERT_FALSE(vStanding.empty() || vSeated.empty());
    int nStanding = 0;
    for (const char* szPage : {"howto0", "howto1", "howto2", "howto3"}) {
        const Zep::SmartPtr<Image> pPage = m_app.getImage(szPage);
        nStanding += placesShowing(pPage, vStanding, pFlat->getWidth(), pFlat->getHeight());
        EXPECT_EQ(placesShowing(pPage, vSeated, pTall->getWidth(), pTall->getHeight()), 0) << szPage;
    }
    EXPECT_GE(nStanding, 1);
}
