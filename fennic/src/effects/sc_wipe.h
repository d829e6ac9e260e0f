// SCWipe: cuts a sprite's picture back towards one edge over a time, or, split
// in two halves, towards two opposite edges (a curtain opening from the
// middle).
//
// Every update cuts the visible part out of the source image kept at start,
// never out of the previous part, so rounding does not add up; the sprite is
// moved where needed so that the kept edge stays in place on screen. A split
// wipe shows the second half on a sprite of its own in the mode, which leaves
// the mode when the wipe ends. The bottom half of a vertical split mirrors
// the top half: a part of height trunc(h/2 * q) from the image's bottom whose
// bottom edge stays at y0 + h.
//
// A sprite without an image has nothing to wipe: the wipe ends at its first
// update. A sprite without a mode gets no second sprite shown and nothing is
// removed.
#pragma once

#include "image/image.h"
#include "sprite/sc_base.h"

class SCWipe : public SpriteController {
public:
    enum { kKeepTop = 0, kKeepBottom = 1, kKeepLeft = 2, kKeepRight = 3 };

    SCWipe(int nDirection, bool bSplit, float fDuration, bool bRemoveWhenDone);
    void start(Zep::SmartPtr<Sprite> pSprite) override;
    bool update(float fDelta, Zep::SmartPtr<Sprite> pSprite) override;
    Zep::SmartPtr<Sprite> getSecondSprite() const { return m_pSecond; }

private:
    bool isVertical() const { return m_nDirection == kKeepTop || m_nDirection == kKeepBottom; }
    void startSplit(Sprite& sprite);
    void cutWhole(Sprite& sprite, float q);
    void cutSplit(Sprite& sprite, float q);
    void finishWipe(const Zep::SmartPtr<Sprite>& pSprite);

    int m_nDirection;
    bool m_bSplit;
    bool m_bRemoveWhenDone;
    Zep::SmartPtr<Sprite> m_pSecond;
    int m_nHeight = 0, m_nWidth = 0;
    int m_nX = 0, m_nY = 0;
    Zep::SmartPtr<Image> m_pSource;
};
