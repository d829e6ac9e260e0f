// BuyUpgradeMode: the purchase dialog the store pushes for one store item.
// It describes the upgrade, offers the variants of a group (purchaseoptions.h),
// shows the next level's price and either the next tray (purchase id 0) or a
// preview of the bar (barpreview.h), and buys on Buy.
//
// Built on entry: the dimmed backdrop; the preview (purchase id not 0); a
// left column (the description, wrapped at 330 in 10 lines over a 330 x 190
// spacer, then the variant choices), beside it the preview's place (320 x
// 240 and 8 rows above it for the mask's lintel) and the picture
// "mask_buyupgrade" standing on its bottom-left corner at (402, 152), layer
// 500 - or for the tray a 150 x 90 place and a copy of
// "buyupgrade_bandeja<level + 1>_normal" on (width / 3, 0), with a 330 x 90
// spacer at tray level 1 and none at 2; below them the price, Buy ("UPG_Buy",
// id 1) and Cancel ("UPG_Cancel", id 0). The preview's sprites stand 402, 152
// further right and down than the preview placed them; with a preview the
// content is at least 600 - 2 * (152 - 8) = 312 high, so the centred frame's
// rim stays above the preview's lintel whatever the choices. The choice of
// the preferred kind, when one is offered (the juice machine of the store
// item clicked), else the first choice, is selected at once.
//
// The description wraps in balanced lines at 330 (Label::setBalancedWrapWidth:
// the narrowest width that keeps its line count), so its last line takes as
// many words as that count lets it; it stands centred over the spacer, which
// is as wide as the description at 330, so the column keeps its width
// whatever the text.
//
// The kind under consideration is the purchase id, replaced by a chosen
// variant's kind. Its texts: "UPG_Text_<kind>_<player's level>" (every kind
// its own, so that a chair's, a centre piece's or a juice machine's text
// names its table or machine, and follows the choice) and the text of
// "UPG_Price" formatted (formatText) with the price of the next level.
// Texts and Buy need a kind of 0 to 12 at a level with a price;
// otherwise both texts are empty and Buy is disabled (a group with no
// variant to offer, a kind at its last level).
//
// Choosing variant v (ids 3 to 10): the choice is checked alone, the kind
// becomes v's kind, applyUpgradePreview(v), the texts follow.
// applyUpgradePreview(v), with n = e(kind) + 1, the level the purchase
// reaches: every record sets its sprite back to its base visibility for each
// of its variant ids other than v; then each record holding v is hidden
// unless its levels hold n, and shown when they do.
//
// Buy (id 1): price above the money: a message "UPG_Cant" (its OK sends 2,
// which does nothing). Else money - price, the kind's level + 1, the store's
// purchased flag set, Buy disabled, and a message "UPG_Upgraded" whose OK
// sends 0. Id 0 (Cancel, or that OK) ends the dialog.
//
// Every frame the highlighted preview sprites are tinted (255, v, v, 255),
// v = 128 + 63 sin(0.7 pi t) truncated, t the dialog's running time. Presses
// never reach the store below.
#pragma once

#include <memory>

#include <zep2/list.h>
#include <zep2/str.h>

#include "screens/barpreview.h"
#include "records/tukmode.h"
#include "records/tukplayer.h"
#include "ui/ui_radio.h"
#include "records/upgrademanager.h"

class BuyUpgradeMode : public TUKDialog {
public:
    enum { kCloseId = 0, kBuyId = 1, kCantOkId = 2 };
    static constexpr int kPreviewX = 402;
    static constexpr int kPreviewY = 152;

    // nPreferredKind: the kind whose choice opens checked; -1 (or a kind not
    // offered) for the first choice.
    BuyUpgradeMode(TUKPlayer* pPlayer, Zep::SmartPtr<UpgradeManager> pUpgradeManager, int nPurchaseId,
                   Zep::String sSceneName, bool* pPurchased, int nPreferredKind = -1);
    ~BuyUpgradeMode() override;

    void onCallback(int nId, void* pData) override;
    void onEnter() override;
    void onEnd() override { end(); }
    void onUpdate(float fDelta) override;
    bool onMouseDown(int, int, int) override { return true; }

    void applyUpgradePreview(int nVariantId);

    int getKind() const { return m_nKind; }
    const SceneTags::Levels& getLevels() const { return m_anLevels; }
    // Empty before entry and for the tray.
    const BarPreview* getPreview() const { return m_pPreview.get(); }
    const RadioGroup& getVariantChoices() const { return m_lVariantChoices; }
    Zep::SmartPtr<Label> getTextLabel() const { return m_pTextLabel; }
    Zep::SmartPtr<Label> getPriceLabel() const { return m_pPriceLabel; }
    Zep::SmartPtr<Button> getBuyButton() const { return m_pBuyButton; }

private:
    void loadPreview();
    Zep::SmartPtr<Table> buildVariantChoices();
    void buildLeftColumn();
    void buildUpperRow();
    void buildLowerRow();
    void addPreviewPlace();
    void reservePreviewRoom();
    void addTrayPicture();
    Zep::SmartPtr<Sprite> blankSprite(int nWidth, int nHeight);
    void chooseVariant(int nVariantId);
    void updateTexts();
    // The price of the kind's next level; -1 when there is none to buy.
    int price() const;
    void buy();

    TUKPlayer* m_pPlayer;  // not owned
    Zep::SmartPtr<UpgradeManager> m_pUpgradeManager;
    int32_t m_nPurchaseId;
    int32_t m_nKind;
    int32_t m_nPreferredKind;
    SceneTags::Levels m_anLevels{};
    Zep::String m_sSceneName;
    bool* m_pPurchased;  // the store's, not owned
    bool m_bBought = false;
    Zep::SmartPtr<Label> m_pTextLabel;
    Zep::SmartPtr<Label> m_pPriceLabel;
    Zep::SmartPtr<Button> m_pBuyButton;
    Zep::SmartPtr<Table> m_pLeftTable;
    Zep::SmartPtr<Table> m_pUpperTable;
    Zep::SmartPtr<Table> m_pLowerTable;
    RadioGroup m_lVariantChoices;
    std::unique_ptr<BarPreview> m_pPreview;
    float m_fTime = 0.0f;
};
