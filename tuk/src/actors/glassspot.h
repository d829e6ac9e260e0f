// GlassSpot: a coaster of the bar (also the drink machine's platform and the
// barman's spots), where one mug can stand; an action target of the level.
//
// The waitress takes its mug or puts one down:
//   take (kind 2): the coaster holds a mug and she has room for it (hands:
//     hand h is her first free slot; tray: fewer items than her capacity);
//   serve (kind 0): it holds none and she carries one (hands: in slot h;
//     tray: any slot), the mug of slot h or the tray's first carried one.
// A coaster that is not available refuses both.
//
// A mug put down with placing stands on the coaster: centred on its sprite,
// the bottom row of the mug's picture on the sprite's point, in front of it
// (base layer one above the coaster), at scale 1. The coaster passes its
// highlight to its mug. Coaster pictures stand on their point (width / 2,
// 30), set on a private copy of the picture.
//
// A barman's coaster is where the barmen put the drinks they make; the
// waitress uses it like any other.
#pragma once

#include "actors/actionspot.h"
#include "actors/mug.h"

class GlassSpot : public ActionSpot {
public:
    static constexpr int kCoasterInsY = 30;

    GlassSpot(PlayMode* pMode, const Rect& walkRect, int nHeading) : ActionSpot(pMode, walkRect, nHeading) {}

    // A copy of the picture with the coaster's insertion point (null for null).
    static Zep::SmartPtr<Image> coasterImage(const Zep::SmartPtr<Image>& pImage);

    bool hasMug() const { return m_pMug.notNULL(); }
    Zep::SmartPtr<Mug> getMug() const { return m_pMug; }
    // With bPlace the mug is stood on the coaster now; without, it stays
    // where its carrier left it.
    void putMug(const Zep::SmartPtr<Mug>& pMug, bool bPlace);
    // The mug, no longer held (null when none).
    Zep::SmartPtr<Mug> takeMug();
    void setAvailable(bool bAvailable) { m_bAvailable = bAvailable; }
    bool isAvailable() const { return m_bAvailable; }
    void setBarmanSpot(bool bBarman) { m_bBarman = bBarman; }
    bool isBarmanSpot() const { return m_bBarman; }

    bool canDoAction(int nHand) override;
    int beginAction(int nHand) override;
    void completeAction(int nHand) override;
    void setHighlight(bool bOn) override;

private:
    bool m_bAvailable = true;
    bool m_bHighlight = false;
    bool m_bBarman = false;
    Zep::SmartPtr<Mug> m_pMug;
};
