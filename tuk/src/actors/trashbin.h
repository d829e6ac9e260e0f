// TrashBin: the sink, where the waitress leaves empty mugs; PropDispenser:
// the fixture that decorates her drinks. Both are action spots; the play
// mode finds the level's sink among its click listeners.
//
// TrashBin: acts (kind 0, serve) while she carries an empty mug; it takes
// every empty mug she carries, each leaving the level (the level's mug list,
// its sprites off the screen), and adds them to the tally of its pile. The
// pile shows one of four sprites ("<image>_pile_1" to "_4", standing on the
// sink one above its depth), the highest whose threshold (1, 6, 11, 16
// glasses) the tally has reached; none below 1.
//
// PropDispenser: acts (kind 1, fill) while she carries a mug that is not
// empty and has no decoration; it decorates each such mug she carries.
#pragma once

#include "actors/actionspot.h"

class TrashBin : public ActionSpot {
public:
    static constexpr int kPiles = 4;

    // The pile sprites of the sink's image name at (x, y), depth + 1, hidden.
    TrashBin(PlayMode* pMode, const Rect& walkRect, int nHeading, const char* szImage, int x, int y, int nDepth);

    void addGlasses(int nGlasses) { m_nGlasses += nGlasses; }
    int getGlasses() const { return m_nGlasses; }
    void updatePile();
    // 0 for none, else 1 to 4.
    int getShownPile() const;
    Zep::SmartPtr<Sprite> getPileSprite(int n) const { return m_apPiles[n]; }

    bool canDoAction(int nHand) override;
    int beginAction(int) override { return 0; }
    void completeAction(int nHand) override;

private:
    int32_t m_nGlasses = 0;
    Zep::SmartPtr<Sprite> m_apPiles[kPiles];
};

class PropDispenser : public ActionSpot {
public:
    PropDispenser(PlayMode* pMode, const Rect& walkRect, int nHeading) : ActionSpot(pMode, walkRect, nHeading) {}

    bool canDoAction(int nHand) override;
    int beginAction(int) override { return 1; }
    void completeAction(int nHand) override;
};
