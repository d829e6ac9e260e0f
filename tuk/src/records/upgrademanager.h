// UpgradeManager: the upgrade catalogue. It has no state of its own; the
// store makes one and hands it to each purchase dialog.
//
// Upgrade kinds 0 to 12 with 3, 2, 2, 2, 2, 2, 4, 4, 2, 2, 3, 3, 5 levels:
// 0 the tray, 1 (not sold), 2 to 5 the chairs, 6 and 7 the juice machines,
// 8 the parrot, 9 the prop dispenser, 10 and 11 the centrepieces, 12 the
// shows. Effect values: kind 0 gives the waitress's capacity 2, 4, 6; kinds 1
// to 11 the level itself; kind 12 the customers' extra patience 0, 12, 20,
// 23, 26. Prices are those of the next level; -1 from the last level on.
// Anything outside the table (kind, level) answers -1.
//
// Store items 0 to 8 (the tray, the chairs, the first juice machine, the
// parrot, the prop dispenser, the centrepieces, the shows, the juice
// machines 0 and 1) show one picture per level below the item's limit
// (3, 2, 5, 2, 2, 4, 5, 4, 4). A picture is "<name>_normal" (its highlight
// "<name>_highlight"), or "sold out" / "not available": a copy of that
// picture with its colour halved (multiplied by 128) and the stamp
// "store_soldout" / "store_notavail" drawn at its centre. The parrot at
// level 0 has no picture: the store shows the animation of createItemSprite.
#pragma once

#include <zep2/refcount.h>
#include <zep2/str.h>

#include "anim/animsprite.h"
#include "image/image.h"

class UpgradeManager : public Zep::RefCountedObject {
public:
    static constexpr int kKinds = 13;
    static constexpr int kItems = 9;

    enum Look { kNoPicture, kNormal, kSoldOut, kNotAvailable };
    struct ItemPicture {
        Look eLook;
        const char* szName;  // null for no picture
    };

    static int getLevelCount(int nKind);
    static int effectValue(int nKind, int nLevel);
    static int getUpgradePrice(int nKind, int nCurrentLevel);
    // The number of levels an item shows, 0 outside 0 to 8.
    static int getItemLimit(int nItem);
    // The picture's base name and look for an item at a level; no picture
    // outside the table.
    static ItemPicture getItemPicture(int nItem, int nLevel);

    // Empty where there is no picture.
    Zep::SmartPtr<Image> getItemImage(int nItem, int nLevel) const;
    Zep::SmartPtr<Image> getItemHighlightImage(int nItem, int nLevel) const;
    // The parrot item at level 0: "store_parrot.anim" at layer 10; else empty.
    Zep::SmartPtr<AnimSprite> createItemSprite(int nItem, int nLevel) const;

private:
    static Zep::SmartPtr<Image> pictureOf(const ItemPicture& picture, const char* szSuffix);
};
