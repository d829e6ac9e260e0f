// ActionBalloon: a customer's order balloon. An action spot over the
// balloon's sprite (its attached sprite, which only serves as the template
// of the pictures and stays hidden); what shows is one picture per frame of
// that sprite's current sequence, each a private copy of the frame's image
// with the order's icons drawn on it, at the sprite's position and z-order.
//
// Icons, left to right, centred on the balloon's upper three quarters, 2
// pixels apart: the glass ("bub_ico_vaso_1" to "_3" for glasses 0 to 2),
// then the liquids ("bub_ico_fruta_straw", "_apple", "_banana", "_orange",
// "_grape", "_pear" for 0 to 5) with "bub_ico_plus" between two of them;
// an icon that does not exist is left out.
//
// Shown flag: setVisible stores it and shows or hides every picture;
// showPicture(n) hides every picture, then shows picture n when the flag is
// set. isVisible answers whether any picture shows. Alpha and scale apply to
// every picture, also to those built later.
//
// As a click listener it answers only while visible: in the box of a shown
// picture, at its z-order. As an action target (take) it needs its customer
// in state 2 or 3 holding no mug with drink in it (an empty glass does not
// count) and without an outstanding order, the
// balloon visible, and a barman in the level; its action places the
// customer's order as it then stands (glass and liquids) with the bar
// (BarOrders), for the barmen to make.
//
// The customer attaches itself and detaches before it leaves the level; the
// balloon holds no reference to it. removeSprites takes the pictures out of
// the mode; the destructor never reaches the mode.
#pragma once

#include <cstdint>

#include <zep2/list.h>
#include <zep2/str.h>

#include "actors/actionspot.h"

class Character;

class ActionBalloon : public ActionSpot {
public:
    // The heading as a letter ("n", "e", "s", "w"); the index is the seat, or
    // 4 and 5 for the two VIP balloons.
    ActionBalloon(PlayMode* pMode, const Rect& bounds, const char* szHeading, int nIndex);

    int getIndex() const { return m_nIndex; }
    void setCustomer(Character* pCustomer) { m_pCustomer = pCustomer; }

    // ---- The order ----
    void clearItems();
    void setBeverage(int nBeverage);
    void addItem(int nLiquid);
    int getBeverage() const { return m_nBeverage; }
    const Zep::List<int>& getItems() const { return m_lItems; }

    // ---- Pictures ----
    void buildPictures();
    void removeSprites();
    const Zep::List<Zep::SmartPtr<Sprite>>& getPictures() const { return m_lPictures; }
    void setAlpha(float fAlpha);
    void setScale(float fScale);
    void setVisible(bool bVisible);
    bool isVisible() const;
    void showPicture(int n);

    int getClickPriority(int x, int y) override;
    bool canDoAction(int nHand) override;
    int beginAction(int) override { return kTake; }
    void completeAction(int) override;

private:
    static constexpr int kTake = 2;

    Zep::SmartPtr<Image> makePicture(const Zep::SmartPtr<Image>& pFrame) const;
    Zep::List<Zep::String> iconNames() const;

    int32_t m_nIndex;
    Character* m_pCustomer = nullptr;  // not owned
    int32_t m_nBeverage = 0;
    Zep::List<int> m_lItems;
    Zep::List<Zep::SmartPtr<Sprite>> m_lPictures;
    bool m_bShown = false;
    float m_fAlpha = 1.0f;
    float m_fScale = 1.0f;
};
