// The purchase dialog: its choices, texts and Buy for the store's purchases,
// the variants switching the preview, the price text checked, the pulse;
// over the demo content, the preview inside the frame and each variant's
// text naming its table or machine.
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "screens/buyupgrademode.h"
#include "screens/democontent_util.h"
#include "screens/previewtest_util.h"
#include "dialogs/ui_stddialogs.h"

namespace {

class PurchaseDialog : public previewtest::PreviewTest {
protected:
    void SetUp() override {
        PreviewTest::SetUp();
        m_pFiles->add("variants.txt", testkit::resource("UPG_Text_3_0 Chair 1\nUPG_Text_11_0 Flowers 1\n"));
        m_app.loadStringTable("variants.txt");
    }
    BuyUpgradeMode& open(int nPurchaseId, const char* szLevels, int nMoney) {
        previewtest::setLevels(m_player, szLevels);
        m_player.setMoney(nMoney);
        m_pDialog = new BuyUpgradeMode(&m_player, new UpgradeManager(), nPurchaseId, "bar", &m_bPurchased);
        m_app.pushMode(m_pDialog);
        return *m_pDialog;
    }
    // The texts of the choices, the checked one marked "*".
    std::string choices() const {
        std::string s;
        for (const Zep::SmartPtr<RadioButton>& pChoice : m_pDialog->getVariantChoices())
            s.append(s.empty() ? "" : " ").append(pChoice->getText().c_str()).append(pChoice->isChecked() ? "*" : "");
        return s;
    }
    DlgMessage* message() { return dynamic_cast<DlgMessage*>(m_app.getTopMode()); }

    TUKPlayer m_player;
    bool m_bPurchased = false;
    BuyUpgradeMode* m_pDialog = nullptr;
};

}  // namespace

TEST_F(PurchaseDialog, ChoicesTextsAndBuyFollowThePurchaseAndTheLevels) {
    const struct {
        int nPurchaseId;
        const char* szLevels;
        int nMoney;
        const char* szChoices;
        int nKind;
        const char* szText;
        const char* szPrice;
        bool bBuy;
        int nMoneyAfter;  // after Buy
        int nLevelAfter;  // of the kind
    } kRows[] = {
        {0, "0000000000000", 80, "", 0, "Tray", "Price: 80", true, 0, 1},
        {13, "0010100000000", 100, "Chair 1* Chair 3", 3, "Chair 1", "Price: 20", true, 80, 1},
        {14, "0000010000000", 100, "Daisies 1*", 11, "Flowers 1", "Price: 90", true, 10, 1},
        {12, "0000000000000", 90, "", 12, "Bongos", "Price: 90", true, 0, 1},
        {15, "0000001000000", 100, "Barman 0* Machine 1", 6, "Barman", "Price: 190", true, 100, 1},  // too dear
        {15, "0000003300000", 1000, "", 15, "", "", false, 1000, -1},  // no machine to offer
        {13, "0011110000000", 1000, "", 13, "", "", false, 1000, -1},
    };
    for (const auto& row : kRows) {
        BuyUpgradeMode& dialog = open(row.nPurchaseId, row.szLevels, row.nMoney);
        const std::string sCase = std::to_string(row.nPurchaseId) + " at " + row.szLevels;
        EXPECT_EQ(choices(), row.szChoices) << sCase;
        EXPECT_EQ(dialog.getKind(), row.nKind) << sCase;
        EXPECT_EQ(dialog.getTextLabel()->getText(), row.szText) << sCase;
        EXPECT_EQ(dialog.getPriceLabel()->getText(), row.szPrice) << sCase;
        EXPECT_EQ(dialog.getBuyButton()->isEnabled(), row.bBuy) << sCase;
        dialog.onCallback(BuyUpgradeMode::kBuyId, nullptr);
        dialog.onCallback(BuyUpgradeMode::kBuyId, nullptr);
        EXPECT_EQ(m_player.getMoney(), row.nMoneyAfter) << sCase;
        const bool bBought = row.nMoney != row.nMoneyAfter;
        if (row.nLevelAfter >= 0) {
            EXPECT_EQ(m_player.getUpgradeLevel(row.nKind), row.nLevelAfter) << sCase;
        }
        EXPECT_EQ(m_bPurchased, bBought) << sCase;
        EXPECT_EQ(message() != nullptr, row.bBuy) << sCase;
        while (message()) message()->onOk();
        // The OK of "UPG_Upgraded" closes the dialog; that of "UPG_Cant" leaves it.
        EXPECT_EQ(m_app.getTopMode() == m_pDialog, !bBought) << sCase;
        if (m_app.getTopMode() == m_pDialog) m_pDialog->onCallback(BuyUpgradeMode::kCloseId, nullptr);
        EXPECT_NE(m_app.getTopMode(), m_pDialog);
        m_bPurchased = false;
    }
}

TEST_F(PurchaseDialog, AChosenVariantShowsItsCandidatesAtTheLevelItWouldReach) {
    BuyUpgradeMode& dialog = open(13, "0000000000000", 0);
    const BarPreview& preview = *dialog.getPreview();
    EXPECT_EQ(choices(), "Chair 0* Chair 1 Chair 2 Chair 3");
    EXPECT_EQ(previewtest::depths(preview.getSprites(), 10), "11 12 12 12 13 14h 15 32");
    dialog.onCallback(4, nullptr);
    EXPECT_EQ(choices(), "Chair 0 Chair 1* Chair 2 Chair 3");
    EXPECT_EQ(previewtest::depths(preview.getSprites(), 10), "11 12 12 12 13h 14 15 32");
    EXPECT_EQ(dialog.getKind(), 3);
    dialog.onCallback(9, nullptr);  // not offered here
    EXPECT_EQ(dialog.getKind(), 3);
    // Placed beside the dialog's text; the additions pulse.
    EXPECT_EQ(preview.getNamedSprites().get("corner")->getPosition(), Point(690.0f, 374.0f));
    dialog.onUpdate(0.5f);
    for (const Zep::SmartPtr<Sprite>& pSprite : preview.getHighlights())
        EXPECT_EQ(pSprite->getColor(), Color(255, 184, 184, 255));
}

TEST_F(PurchaseDialog, APriceTextWithAnotherConversionIsShownAsItIsAndLogged) {
    m_pFiles->add("odd.txt", testkit::resource("UPG_Price Cost %s\n"));
    m_app.loadStringTable("odd.txt");
    BuyUpgradeMode& dialog = open(0, "0000000000000", 80);
    EXPECT_EQ(dialog.getTextLabel()->getText(), "Tray");
    EXPECT_EQ(dialog.getPriceLabel()->getText(), "Cost %s");
    EXPECT_NE(m_files.logText().find("B: ** Text shown as it is, no format for %d : Cost %s **\n"), std::string::npos);
    EXPECT_EQ(dialog.getPreview(), nullptr);
}

namespace {

class DemoPurchaseDialog : public democontent::DemoContentTest {
protected:
    BuyUpgradeMode& open(int nPurchaseId, const char* szLevels) {
        previewtest::setLevels(m_player, szLevels);
        m_player.setMoney(1000);
        m_pDialog = new BuyUpgradeMode(&m_player, new UpgradeManager(), nPurchaseId, "scene0", &m_bPurchased);
        m_app.pushMode(m_pDialog);
        return *m_pDialog;
    }
    // What the dialog shows of the bar (or, for the tray, the tray's picture).
    Rect pictureBox() {
        Rect box;
        if (const BarPreview* pPreview = m_pDialog->getPreview()) {
            for (const Zep::SmartPtr<Sprite>& pSprite : pPreview->getSprites())
                if (pSprite->isVisible())
                    box = box.isEmpty() ? pSprite->getBoundingRect() : box.unite(pSprite->getBoundingRect());
            return box;
        }
        const int nTrayWidth = m_app.getImage("buyupgrade_bandeja2_normal")->getWidth();
        for (const Zep::SmartPtr<Sprite>& pSprite : m_pDialog->getAllSprites())
            if (pSprite->getImage().notNULL() && pSprite->getImage()->getWidth() == nTrayWidth)
                box = pSprite->getBoundingRect();
        return box;
    }
    // The picture laid over the preview's top edge, layer 500.
    Rect maskBox() const {
        for (const Zep::SmartPtr<Sprite>& pSprite : m_pDialog->getAllSprites())
            if (pSprite->getZOrder() == 500) return democontent::opaqueBox(*pSprite);
        return Rect();
    }

    TUKPlayer m_player;
    bool m_bPurchased = false;
    BuyUpgradeMode* m_pDialog = nullptr;
};

}  // namespace

// Every kind as the store sells it, with no, one, two or four variant
// choices: the bar preview at its place, and the lintel laid over its top
// edge, stand inside the frame's rim.
TEST_F(DemoPurchaseDialog, ThePreviewAndItsLintelStandInsideTheFrameForEveryKind) {
    const struct {
        int nPurchaseId;
        int nVariant;  // chosen after opening; 0 none
        const char* szLevels;
        int nChoices;
        int nKind;
    } kRows[] = {
        {0, 0, "1000000000000", 0, 0},  {1, 0, "0000000000000", 0, 1},  {13, 3, "0000000000000", 4, 2},
        {13, 4, "0000000000000", 4, 3}, {13, 5, "0000000000000", 4, 4}, {13, 6, "0011100000000", 1, 5},
        {15, 9, "0000000000000", 2, 6}, {15, 10, "0000003000000", 1, 7}, {8, 0, "0000000000000", 0, 8},
        {9, 0, "0000000000000", 0, 9},  {14, 7, "0010100000000", 2, 10}, {14, 8, "0000100000000", 1, 11},
        {12, 0, "0000000000000", 0, 12},
    };
    for (const auto& row : kRows) {
        BuyUpgradeMode& dialog = open(row.nPurchaseId, row.szLevels);
        if (row.nVariant) dialog.onCallback(row.nVariant, nullptr);
        const std::string sCase = "kind " + std::to_string(row.nKind);
        ASSERT_EQ(dialog.getKind(), row.nKind) << sCase;
        EXPECT_EQ(dialog.getVariantChoices().getCount(), row.nChoices) << sCase;
        const Rect inside = democontent::frameInside(*dialog.getTable());
        const Rect picture = pictureBox(), mask = maskBox();
        ASSERT_FALSE(picture.isEmpty()) << sCase;
        EXPECT_TRUE(democontent::contains(inside, picture))
            << sCase << ": picture " << democontent::describe(picture) << ", inside " << democontent::describe(inside);
        if (row.nPurchaseId != 0) {
            EXPECT_EQ(picture.getTopLeft(), Point(BuyUpgradeMode::kPreviewX, BuyUpgradeMode::kPreviewY)) << sCase;
            ASSERT_FALSE(mask.isEmpty()) << sCase;
            EXPECT_TRUE(democontent::contains(inside, mask))
                << sCase << ": lintel " << democontent::describe(mask) << ", inside " << democontent::describe(inside);
        }
        dialog.onCallback(BuyUpgradeMode::kCloseId, nullptr);
        m_app.updateModes(0.01f);
    }
}

// Each variant of the three groups, at each level it is sold at: the text
// names the table or machine of the choice, and follows a change of choice.
TEST_F(DemoPurchaseDialog, EachVariantsTextNamesItsTableOrMachineAndFollowsTheChoice) {
    const char* const kChair0 = "One chair at the first table: an important guest can sit on it.";
    const char* const kChair1 = "One chair at the second table: an important guest can sit on it.";
    const char* const kRoses0 = "A bigger bouquet for the first table.";
    const char* const kRoses1 = "A bigger bouquet for the second table.";
    const char* const kGlass0 = "A second glass for the barman at the first machine.";
    const char* const kGlass1 = "A second glass for the barman at the second machine.";
    const struct {
        int nPurchaseId;
        const char* szLevels;
        std::vector<std::pair<int, const char*>> vTexts;  // variant id and its text; the first is chosen at once
    } kRows[] = {
        {13, "0000000000000", {{3, kChair0}, {4, kChair0}, {5, kChair1}, {6, kChair1}, {3, kChair0}}},
        {13, "0010100000000", {{4, kChair0}, {6, kChair1}, {4, kChair0}}},
        {14, "0010100000000", {{7, "Flowers for the first table."}, {8, "Flowers for the second table."}}},
        {14, "0001010000110", {{7, kRoses0}, {8, kRoses1}, {7, kRoses0}}},
        {14, "0010110000010", {{7, "Flowers for the first table."}, {8, kRoses1}}},
        {15, "0000000000000", {{9, "The first juice machine."}, {10, "The second juice machine."}}},
        {15, "0000001100000", {{9, "A barman at the first machine."}, {10, "A barman at the second machine."}}},
        {15, "0000002200000", {{9, kGlass0}, {10, kGlass1}}},
        {15, "0000002000000", {{9, kGlass0}, {10, "The second juice machine."}, {9, kGlass0}}},
    };
    for (const auto& row : kRows) {
        BuyUpgradeMode& dialog = open(row.nPurchaseId, row.szLevels);
        for (size_t i = 0; i < row.vTexts.size(); ++i) {
            const auto& [nVariant, szText] = row.vTexts[i];
            if (i > 0) dialog.onCallback(nVariant, nullptr);
            EXPECT_EQ(std::string(dialog.getTextLabel()->getText().c_str()), szText)
                << row.nPurchaseId << " at " << row.szLevels << ", choice " << nVariant;
        }
        dialog.onCallback(BuyUpgradeMode::kCloseId, nullptr);
        m_app.updateModes(0.01f);
    }
}

// Every description the dialog shows, each kind at each level it is sold
// at: the text of its key, wrapped in lines within 330 pixels of which the
// last holds more than one word, standing centred on the same middle (the
// tray's dialog, without the preview, on a middle of its own).
TEST_F(DemoPurchaseDialog, NoDescriptionLeavesOneWordAloneOnItsLastLine) {
    const struct {
        int nKind, nPurchaseId, nVariant;  // variant 0: none
        const char* szLevels;               // the kind's own level is set over it
    } kRows[] = {
        {0, 0, 0, "0000000000000"},   {2, 13, 3, "0000000000000"},  {3, 13, 4, "0000000000000"},
        {4, 13, 5, "0000000000000"},  {5, 13, 6, "0000000000000"},  {6, 15, 9, "0000000000000"},
        {7, 15, 10, "0000000000000"}, {8, 8, 0, "0000000000000"},   {9, 9, 0, "0000000000000"},
        {10, 14, 7, "0010000000000"}, {11, 14, 8, "0000100000000"}, {12, 12, 0, "0000000000000"},
    };
    int nTexts = 0;
    std::map<bool, std::set<int>> mMiddles;  // twice the middles, the tray's apart
    for (const auto& row : kRows)
        for (int nLevel = 0; UpgradeManager::getUpgradePrice(row.nKind, nLevel) >= 0; ++nLevel) {
            std::string sLevels = row.szLevels;
            sLevels[static_cast<size_t>(row.nKind)] = static_cast<char>('0' + nLevel);
            BuyUpgradeMode& dialog = open(row.nPurchaseId, sLevels.c_str());
            if (row.nVariant) dialog.onCallback(row.nVariant, nullptr);
            Label& label = *dialog.getTextLabel();
            Font& font = *label.getFont();
            const std::string sKey = "UPG_Text_" + std::to_string(row.nKind) + "_" + std::to_string(nLevel);
            ASSERT_TRUE(m_app.hasText(sKey.c_str())) << sKey;
            EXPECT_STREQ(label.getText().c_str(), m_app.getText(sKey.c_str())) << sKey;
            std::string sLines;
            for (const Zep::String& sLine : font.splitLines(label.getText().c_str(), label.getTextWidth())) {
                EXPECT_LE(font.getTextWidth(sLine.trim().c_str()), 330) << sKey;
                sLines += std::string(sLine.trim().c_str()) + "|";
            }
            const size_t nLast = sLines.rfind('|', sLines.size() - 2);
            if (nLast != std::string::npos) {
                EXPECT_NE(sLines.find(' ', nLast), std::string::npos) << sKey << ": " << sLines;
            }
            const Rect box = label.getBoundingRect();
            mMiddles[row.nKind == 0].insert(box.getLeft() + box.getRight());
            ++nTexts;
            dialog.onCallback(BuyUpgradeMode::kCloseId, nullptr);
            m_app.updateModes(0.01f);
        }
    EXPECT_EQ(nTexts, 22);
    for (const auto& [bTray, setMiddles] : mMiddles) EXPECT_LE(*setMiddles.rbegin() - *setMiddles.begin(), 2) << bTray;
}
