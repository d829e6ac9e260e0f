// Mug: one glass in play, carried from the drink machine to a customer and
// back to the sink. LevelData lists every mug in play; its holders (coasters,
// seats, the waitress, customers) place, scale and fill it.
//
// Look: a stack of sprites in the level's mode, from one shared animation
// per glass ("vaso.template" with the glass's letter, cached as "vaso" plus
// the letter): the base layer ("drink_layer_1"), the lower and upper liquid
// layers (the fill sequence plus "_layer_down_2" / "_layer_up_2", tinted with
// liquids 0 and 1), the front ("drink_layer_3"), a straw and, once added, a
// decoration. The fill sequence is "stand_" plus "limpio" while the mug is
// clean and empty, else the fill level ("vacio", "medio", "lleno"). Layers
// show the first frame of their sequence; the mug never advances them.
// setPosition(x, y, z) keeps the whole mug below z: base z - 3, liquids,
// straw and decoration z - 2, front z - 1, shines z - 4. A new mug stands
// off screen at (-100, -100).
//
// Straw and decoration pictures are private copies of the cached images, so
// the insertion point each mug sets from its own glass moves no other mug.
//
// Highlight: two shine sprites ("vaso_brillo.template") below the base,
// tinted with the two liquids unless the mug is empty, pulsing once a second:
// a = 0.5 + 0.5 sin(2 pi t) on shine 0 and 1 - a on shine 1 when the liquids
// differ and the mug is not empty, else 0 on shine 1.
//
// Leaving the level: detach takes every sprite out of its mode and forgets
// the mode; the destructor only drops references and never reaches a mode.
//
// Broken preconditions throw Zep::AssertFailException "Assertion failed : "
// with the condition (see each operation).
#pragma once

#include <cstdint>

#include <zep2/list.h>
#include <zep2/refcount.h>

#include "anim/animsprite.h"
#include "base/color.h"

class PlayMode;

class Mug : public Zep::RefCountedObject {
public:
    enum BeverageType { BT_VASO = 0, BT_STEM_MARTINI = 1, BT_STEM = 2, BT_BEVERAGE_COUNT = 3 };
    static constexpr int kLiquidCount = 6;

    // "vaso", "stem_martini" or "stem"; any other name makes no mug (null).
    static Zep::SmartPtr<Mug> create(PlayMode* pMode, const char* szBeverage);
    // The name of glass 0 to 2; null for any other.
    static const char* beverageName(int nBeverage);
    // Liquids 2 and 5 share their colour.
    static Color liquidColor(int nLiquid);

    Mug(PlayMode* pMode, int nBeverage);
    ~Mug() override;
    Mug(const Mug&) = delete;
    Mug& operator=(const Mug&) = delete;

    // ---- Queries ----
    int getBeverage() const { return m_nBeverage; }
    int getCapacity() const { return m_nCapacity; }
    int getContents() const { return m_nContents; }
    // Both assert "m_nContents >= 0".
    bool isEmpty() const;
    bool isFull() const;
    bool isDrinking() const { return m_bDrinking; }
    bool isClean() const { return m_bClean; }
    bool isOrderMatched() const { return m_bOrderMatched; }
    bool hasDecoration() const { return m_pDecoration.notNULL(); }
    Zep::List<int> getLiquids() const { return m_lLiquids; }
    Zep::SmartPtr<AnimSprite> getSprite() const { return m_pBaseLayer; }
    Zep::SmartPtr<Image> getImage() const { return m_pBaseLayer->getImage(); }
    void getPosition(int* pX, int* pY, int* pZ) const;
    // The layers bottom to top, for tests and the drink machine's slide.
    Zep::SmartPtr<AnimSprite> getLowerLayer() const { return m_pLowerLayer; }
    Zep::SmartPtr<AnimSprite> getUpperLayer() const { return m_pUpperLayer; }
    Zep::SmartPtr<AnimSprite> getFrontLayer() const { return m_pFrontLayer; }
    Zep::SmartPtr<Sprite> getStraw() const { return m_pStraw; }
    Zep::SmartPtr<Sprite> getDecoration() const { return m_pDecoration; }
    const Zep::List<Zep::SmartPtr<AnimSprite>>& getShines() const { return m_lShines; }
    float getShineTime() const { return m_fShineTime; }

    // ---- Contents ----
    // The liquids, lower layer first; fill and the highlight need two.
    void setLiquids(const Zep::List<int>& lLiquids) { m_lLiquids = lLiquids; }
    // Full, the liquid layers tinted.
    void fill();
    // Asserts "nContents >= 0" and "nContents <= m_nCapacity".
    void setContents(int nContents);
    // Asserts "!isEmpty()".
    void startDrinking();
    // One sip; asserts "isDrinking()", then "!isEmpty()". The first one
    // makes the mug dirty.
    void drink();
    void stopDrinking();
    void setOrderMatched(bool bMatched) { m_bOrderMatched = bMatched; }
    // Plays the sequences of the current look again.
    void refresh();

    // ---- Look ----
    void setPosition(int x, int y, int z);
    // The layers and the straw only.
    void setLayerPosition(int x, int y);
    void setLayerZOrder(int z);
    void setScale(float fScale);
    void setHighlight(bool bOn);
    // A decoration "vaso_deco_largo_N", N = rand() % 13.
    void addDecoration();
    // Turns the straw towards its drinker once: at ordinary seats (index
    // below the level's ordinary seats) a left drinker (side < 0) gets the
    // left straw; at VIP seats a non-zero side gets the VIP straw, mirrored
    // for a left drinker. Other calls change nothing.
    void placeStraw(int nSpotIndex, int nSide);
    bool isStrawPlaced() const { return m_bStrawPlaced; }
    // Sums the shine time and pulses the shines.
    void update(float fDelta);
    // Off the level: sprites out of their mode, the mode forgotten.
    void detach();

private:
    Zep::SmartPtr<AnimSprite> makeLayer(const Zep::SmartPtr<Animation>& pAnimation);
    void createStraw();
    // A private copy of the named picture with the insertion point (x, y).
    Zep::SmartPtr<Image> privateImage(const char* szName, int x, int y) const;
    void placeShine();
    void addToMode(const Zep::SmartPtr<Sprite>& pSprite);
    const char* templateParam() const;

    Zep::SmartPtr<AnimSprite> m_pBaseLayer;
    Zep::SmartPtr<AnimSprite> m_pUpperLayer;
    Zep::SmartPtr<AnimSprite> m_pLowerLayer;
    Zep::SmartPtr<AnimSprite> m_pFrontLayer;
    Zep::SmartPtr<Sprite> m_pDecoration;
    Zep::SmartPtr<Sprite> m_pStraw;
    PlayMode* m_pMode;  // not owned; null once detached
    int32_t m_nBeverage;
    int32_t m_nCapacity = 2;
    bool m_bDrinking = false;
    bool m_bClean = true;
    int32_t m_nContents = 0;
    Zep::List<Zep::SmartPtr<AnimSprite>> m_lShines;
    Zep::List<int> m_lLiquids;
    bool m_bOrderMatched = false;
    bool m_bStrawPlaced = false;
    float m_fShineTime = 0.0f;
};
