// StoreMode: the upgrade store between levels. A salesman behind his desk,
// the nine store items on the shelves (storeitems.h), the player's money, a
// description line and Back. A buyable item is a button that opens the
// purchase dialog (buyupgrademode.h) for its purchase id.
//
// Entering, with the image cache off (the store's pictures go with it):
// "upgrade_store" at (0, 0); "store_mask" at (789, 270), layer 500; Back
// ("HF_Back", id 21, style "PaperButton") at (627, 531), layer 1; the money
// ("%d", "Sand::LabelText", centred) at y = 546, layer 2, after its coin
// "store_coin" (1 pixel and the label's margin between them, the coin on
// the sum's middle), the two centred together on x = 542 from their widths;
// the salesman ("salesman.anim" at (472, 311), layer 4, "blink", a second
// one beneath playing "normal"); the description ("UPG_Default",
// "Theme::DefaultBlack", wrapped at 426) at (20, 529), layer 2; the balloon
// "store_globito_normal" at (600, 160), layer 1, and "UPG_Leave" (wrapped at
// 113) at (602, 162), layer 2, both clear. Then the items are laid out.
//
// Items, in order 0 to 8, with the image cache off: item 3 while the parrot
// is not bought is the animated parrot of UpgradeManager::createItemSprite
// at (743, 360); any other item shows its picture for its level shown,
// centred (a private copy), or nothing without one: a CustomButton (normal
// and disabled the picture, pushed and highlight its highlight form) sending
// the purchase id with the text "UPG_TEXT_<item>" when buyable, else a plain
// sprite; at the item's place and layer.
//
// Hover: over the parrot it plays "highlight" (keeping its frame and the
// time left in it; "sfx_mouseover"), the salesman "talk", the description
// "UPG_Text_3"; off it, "normal". Over a highlighted button its text and
// "talk". Over nothing, once the mood timer is exactly 0, "UPG_Default"
// again and "blink". A release on the parrot opens purchase id 8.
//
// A click on an item (ids 0 to 15): "sad" for 1 s (the mood timer), and the
// purchase dialog over the store, opened on the juice machine the item sells
// (StoreItems::preferredKind; the button's callback data is its item's row).
// Back (id 21): the leave timer runs from 0.5 s, the balloon fades in over
// 0.5 s, and once it is down to -0.5 s the store fades to black and ends; a
// second Back meanwhile starts the fade at once. The fade starts once: while
// the leave timer runs item clicks are ignored, and once the fade has
// started Back is ignored too.
//
// Back from the dialog (onResume, also at the end of entering): a purchase
// plays "sfx_store_clink", "smile" for 1 s and "UPG_Good"; a dialog closed
// without one shows "UPG_Bad". The money is printed and placed again, and
// the items are laid out again from the new levels.
//
// Every frame the parrot item and the salesman advance; the mood timer runs
// down (not by a frame of 0.5 s or more) and at 0 the salesman blinks again.
#pragma once

#include <zep2/list.h>
#include <zep2/str.h>

#include "anim/animsprite.h"
#include "records/tukmode.h"
#include "records/tukplayer.h"
#include "ui/ui_button.h"
#include "ui/ui_label.h"
#include "records/upgrademanager.h"

class StoreMode : public TUKMode {
public:
    enum { kLastItemId = 15, kBackId = 21 };
    static constexpr float kMoodSeconds = 1.0f;
    static constexpr float kLeaveSeconds = 0.5f;
    static constexpr float kLeftAt = -0.5f;

    StoreMode(TUKPlayer* pPlayer, Zep::String sSceneName);
    ~StoreMode() override;

    void onCallback(int nId, void* pData) override;
    void onEnter() override;
    void onEnd() override {}
    void onResume() override;
    void onUpdate(float fDelta) override;
    bool onMouseMove(int x, int y) override;
    bool onMouseUp(int nButton, int x, int y) override;

    const Zep::String& getSceneName() const { return m_sSceneName; }
    const Zep::List<Zep::SmartPtr<CustomButton>>& getItemButtons() const { return m_lItemButtons; }
    const Zep::List<Zep::SmartPtr<Sprite>>& getItemSprites() const { return m_lItemSprites; }
    Zep::SmartPtr<AnimSprite> getParrotItem() const { return m_pParrotItem; }
    Zep::SmartPtr<AnimSprite> getSalesman() const { return m_pSalesman; }
    Zep::SmartPtr<Label> getMoneyLabel() const { return m_pMoneyLabel; }
    Zep::SmartPtr<Sprite> getCoin() const { return m_pCoin; }
    Zep::SmartPtr<Label> getTextLabel() const { return m_pTextLabel; }
    Zep::SmartPtr<Sprite> getBalloon() const { return m_pBalloon; }
    float getMoodTimer() const { return m_fMoodTimer; }
    float getLeaveTimer() const { return m_fLeaveTimer; }
    bool isLeaving() const { return m_bLeaving; }

private:
    void buildItems();
    void buildItem(int nItem, int nLevel, bool bBuyable);
    void clearItems();
    void showMoney();
    void startExit();
    void setText(const char* szText);
    void salesmanPlays(const char* szSequence);
    // The parrot item's hover; true when the pointer is over it.
    bool hoverParrot(int x, int y);
    bool isOnParrot(int x, int y) const;

    TUKPlayer* m_pPlayer;  // not owned
    Zep::String m_sSceneName;
    Zep::SmartPtr<UpgradeManager> m_pUpgradeManager;
    Zep::List<Zep::SmartPtr<CustomButton>> m_lItemButtons;
    Zep::List<Zep::String> m_lItemTexts;
    Zep::List<Zep::SmartPtr<Sprite>> m_lItemSprites;
    Zep::SmartPtr<AnimSprite> m_pParrotItem;
    Zep::SmartPtr<AnimSprite> m_pSalesman;
    Zep::SmartPtr<Sprite> m_pCoin;
    Zep::SmartPtr<Label> m_pMoneyLabel;
    Zep::SmartPtr<Label> m_pTextLabel;
    Zep::SmartPtr<Label> m_pLeaveLabel;
    Zep::SmartPtr<Sprite> m_pBalloon;
    bool m_bPurchased = false;
    bool m_bFresh = true;
    bool m_bLaidOut = false;
    bool m_bLeaving = false;  // the fade to black has started
    float m_fMoodTimer = 0.0f;
    float m_fLeaveTimer = -1.0f;
};
