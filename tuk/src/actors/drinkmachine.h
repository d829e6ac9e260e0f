// DrinkMachine: a juice machine of the bar ("juicer_0" or "juicer_1"). The
// waitress presses a beverage button (the glass) and one liquid button, or
// two while the level plays harder; the machine then runs, slides the full
// mug out onto its last free platform coaster and returns to rest. LevelData
// lists the level's machines; the play mode updates each once a frame.
//
// Buttons: sprites of "button.template" read with the extra name "fruta"
// (liquids, cached as "button_<type>_liquid.anim") or "vaso" (beverages,
// "button_<type>_beverage.anim"), playing "notpushed" or "pushed"; at most
// three of each ("Assertion failed : m_hLiquidButtons.getCount() < 3",
// "Assertion failed : m_hBeverageButtons.getCount() < BT_BEVERAGE_COUNT").
// The button targets (machinebuttons.h) and the platform coasters are linked
// to the machine by ActionTarget::create.
//
// Selection: a beverage press clears every choice, then chooses that glass;
// the glass stays chosen across drinks. Liquid presses append; the choice is
// complete with one liquid, or with two when difficult. startDrink (the
// liquid button's action) needs a chosen glass and a free coaster; it plays
// "sfx_game_juicer", makes the mug of that glass with the chosen liquids
// (the one liquid twice when not difficult), full and in the level's mug
// list, runs "funcionando" and makes the coasters unavailable. Otherwise it
// makes no mug and only clears the liquids.
//
// Machine sprite: "normal" -> "funcionando" -> "desplaza" -> "normal"; the
// machine runs from the drink's start to the hand-over, and meanwhile its
// buttons refuse and it offers no coaster. Each
// update first advances it, then, with (mx, my) its position and d = -1 for
// a mirrored sprite (negative horizontal scale), else +1:
//   - "funcionando" just ended: "desplaza" starts; the mug's layers stand
//     at (mx + 82 d, my + 143) one above the machine's z-order;
//   - "desplaza" no longer plays (its end or the slide's): the hand-over.
//     The coasters are compacted (mugs move towards the end of the list),
//     the mug goes onto the last free coaster, the liquid buttons are reset
//     and the coasters available again; when the waitress stands idle
//     within 10 pixels of that coaster's point on both axes, the coaster is
//     clicked for her. Without a free coaster the machine keeps its mug and
//     tries again next update;
//   - "desplaza" plays: x = (int)(mx + 82 d - 152 t d) after t seconds of
//     slide, until x reaches mx + 6 d, where the slide stops the sprite.
//
// removeFromScene takes the machine out of the level for good: its sprites
// and its coasters' and buttons' sprites out of the mode, the coasters' mugs
// and its own out of the level, the coasters and buttons out of the level's
// lists. It then holds no mug and its update does nothing.
#pragma once

#include <cstdint>

#include <zep2/hash.h>
#include <zep2/list.h>
#include <zep2/refcount.h>

#include "anim/animsprite.h"
#include "actors/glassspot.h"
#include "actors/mug.h"

class PlayMode;

class DrinkMachine : public Zep::RefCountedObject {
public:
    static constexpr int kMaxLiquidButtons = 3;
    static constexpr int kSlideStart = 82;   // pixels from the machine
    static constexpr int kSlideEnd = 6;      // pixels from the machine
    static constexpr int kSlideDrop = 143;   // pixels below the machine
    static constexpr float kSlideSpeed = 152.0f;  // pixels a second
    static constexpr int kPickUpRange = 10;  // pixels on both axes

    // The level's current difficulty flag and the level (not owned); a
    // machine without a level makes no drinks.
    explicit DrinkMachine(bool bDifficult = false, PlayMode* pMode = nullptr);
    ~DrinkMachine() override;

    // ---- Scene set-up ----
    void setId(int nId) { m_nId = nId; }
    int getId() const { return m_nId; }
    // The machine sprite; it plays "normal".
    void setSprite(const Zep::SmartPtr<AnimSprite>& pSprite);
    Zep::SmartPtr<AnimSprite> getSprite() const { return m_pSprite; }
    void addSprite(const Zep::SmartPtr<Sprite>& pSprite) { m_lSprites.add(pSprite); }
    // The button sprite at (x, y) with z-order z, in the mode, "notpushed".
    Zep::SmartPtr<AnimSprite> addLiquidButton(int nType, PlayMode* pMode, int x, int y, int z);
    Zep::SmartPtr<AnimSprite> addBeverageButton(int nType, PlayMode* pMode, int x, int y, int z);
    Zep::SmartPtr<AnimSprite> getLiquidButton(int nType) const;
    Zep::SmartPtr<AnimSprite> getBeverageButton(int nType) const;
    void addPlatformSpot(const Zep::SmartPtr<GlassSpot>& pSpot) { m_lPlatform.add(pSpot); }
    void addButtonTarget(const Zep::SmartPtr<ActionSpot>& pTarget) { m_lButtons.add(pTarget); }
    const Zep::List<Zep::SmartPtr<GlassSpot>>& getPlatformSpots() const { return m_lPlatform; }
    void setDifficultyFlag(bool bDifficult) { m_bDifficult = bDifficult; }
    bool getDifficultyFlag() const { return m_bDifficult; }

    // ---- Selection ----
    void selectBeverage(int nBeverage);
    // True when the choice is complete.
    bool selectLiquid(int nLiquid);
    // -1 when none.
    int getSelectedBeverage() const;
    Zep::List<int> getSelectedLiquids() const { return m_lLiquids; }
    bool isLiquidSelected(int nLiquid) const { return m_lLiquids.indexOf(nLiquid) >= 0; }
    void resetLiquidButtons();
    // True when a mug was made.
    bool startDrink();

    // ---- Coasters and mug ----
    // Null while the machine runs; else the last coaster without a mug.
    Zep::SmartPtr<GlassSpot> getFreePlatformSpot() const;
    void compactPlatform();
    void enablePlatformSpots() { setPlatformAvailable(true); }
    void disablePlatformSpots() { setPlatformAvailable(false); }
    void setMug(const Zep::SmartPtr<Mug>& pMug) { m_pMug = pMug; }
    void clearMug() { m_pMug = nullptr; }
    Zep::SmartPtr<Mug> getMug() const { return m_pMug; }
    // From a drink's start to its hand-over: the sprite shows "funcionando"
    // or "desplaza" ("normal" may loop: it is the machine at rest).
    bool isRunning() const;

    void update(float fDelta);
    void removeFromScene(PlayMode* pMode);
    bool isRemoved() const { return m_bRemoved; }

private:
    Zep::SmartPtr<AnimSprite> addButton(Zep::Hash<int, Zep::SmartPtr<AnimSprite>>& hButtons, const char* szKind,
                                        const char* szExtra, int nType, PlayMode* pMode, int x, int y, int z);
    void setPlatformAvailable(bool bAvailable);
    Zep::SmartPtr<GlassSpot> lastFreeCoaster() const;
    int direction() const;
    void startSlide();
    void slide(float fDelta);
    void handOver();
    void offerPickUp(GlassSpot& spot);

    bool m_bDifficult;
    bool m_abBeverages[Mug::BT_BEVERAGE_COUNT] = {false, false, false};
    bool m_bRemoved = false;
    int32_t m_nId = 0;
    float m_fSlideTime = 0.0f;
    Zep::SmartPtr<AnimSprite> m_pSprite;
    Zep::List<Zep::SmartPtr<Sprite>> m_lSprites;
    Zep::SmartPtr<Mug> m_pMug;
    Zep::List<Zep::SmartPtr<GlassSpot>> m_lPlatform;
    Zep::List<Zep::SmartPtr<ActionSpot>> m_lButtons;
    Zep::List<int> m_lLiquids;
    Zep::Hash<int, Zep::SmartPtr<AnimSprite>> m_hLiquidButtons{97};
    Zep::Hash<int, Zep::SmartPtr<AnimSprite>> m_hBeverageButtons{97};
    PlayMode* m_pMode;  // not owned
};
