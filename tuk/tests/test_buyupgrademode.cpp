// The purchase dialog: its choices, texts and Buy for the store's purchases,
// the variants switching the preview, the price text checked, the pulse.
#include <gtest/gtest.h>

#include "buyupgrademode.h"
#include "previewtest_util.h"
#include "ui_stddialogs.h"

namespace {

class PurchaseDialog : public previewtest::PreviewTest {
protected:
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
            s += (s.empty() ? "" : " ") + std::string(pChoice->getText().c_str()) + (pChoice->isChecked() ? "*" : "");
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
        {13, "0010100000000", 100, "Chair 1* Chair 3", 3, "Chairs", "Price: 20", true, 80, 1},
        {14, "0000010000000", 100, "Daisies 1*", 11, "Flowers", "Price: 90", true, 10, 1},
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
    m_pFiles->add("odd.txt", imagetest::resource("UPG_Price Cost %s\n"));
    m_app.loadStringTable("odd.txt");
    BuyUpgradeMode& dialog = open(0, "0000000000000", 80);
    EXPECT_EQ(dialog.getTextLabel()->getText(), "Tray");
    EXPECT_EQ(dialog.getPriceLabel()->getText(), "Cost %s");
    EXPECT_NE(m_files.logText().find("B: ** Text shown as it is, no format for %d : Cost %s **\n"), std::string::npos);
    EXPECT_EQ(dialog.getPreview(), nullptr);
}
