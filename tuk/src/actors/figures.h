// The bar's ambient figures. Each is one or more animated sprites that the
// figure advances itself; the play mode updates the figures once a frame.
// getSprites answers a copy of the figure's sprite list.
//
// MisterBongos: the bongo player, "mrbongo.template" read with its variant
// (cached as "bongoman" plus the variant), one sprite at (x, y) with the
// depth as z-order, playing "play"; added to the owning mode.
//
// DancingGirl: one sprite of the caller's animation playing "dance", which
// walks at 6 pixels a second between minX and maxX: right first, turning at
// each end, mirrored (horizontal scale -1) while it walks left. The caller
// adds its sprite to the mode. A dancer's animation of a variant is
// "bailarina.template" read with the variant, cached as "bailarina.anim" plus
// the variant (loadAnimation).
//
// PathSprite: one sprite of the caller's animation (its default sequence)
// that walks a path's waypoints in order at a speed in pixels a second, from
// the last back to the first, mirrored while it moves left; a step may pass
// several waypoints. With fewer than two waypoints it stands still. The
// caller adds its sprite to the mode.
#pragma once

#include <cstdint>

#include <zep2/list.h>
#include <zep2/refcount.h>
#include <zep2/str.h>

#include "anim/animsprite.h"
#include "sprite/gamemode.h"
#include "base/rect.h"

class AmbientFigure : public Zep::RefCountedObject {
public:
    // Advances every sprite.
    virtual void update(float fDelta);
    Zep::List<Zep::SmartPtr<AnimSprite>> getSprites() const { return m_lSprites; }
    Zep::SmartPtr<AnimSprite> getSprite() const { return m_lSprites.getFirst(); }

protected:
    Zep::List<Zep::SmartPtr<AnimSprite>> m_lSprites;
};

class MisterBongos : public AmbientFigure {
public:
    MisterBongos(GameMode* pMode, int x, int y, int nDepth, const Zep::String& sVariant);
};

class DancingGirl : public AmbientFigure {
public:
    static constexpr float kSpeed = 6.0f;  // pixels a second

    DancingGirl(const Zep::SmartPtr<Animation>& pAnimation, int x, int y, int nDepth, int nMinX, int nMaxX);
    static Zep::SmartPtr<Animation> loadAnimation(const Zep::String& sVariant);
    void update(float fDelta) override;
    float getX() const { return m_fX; }
    bool isWalkingLeft() const { return m_nDirection < 0; }

private:
    float m_fX;
    float m_fY;
    int32_t m_nMinX;
    int32_t m_nMaxX;
    int32_t m_nDirection = 1;
};

class PathSprite : public AmbientFigure {
public:
    PathSprite(const Zep::SmartPtr<Animation>& pAnimation, const Zep::List<Point>& lWaypoints, float fSpeed,
               int nDepth);
    void update(float fDelta) override;
    // The waypoint it heads for.
    int getTarget() const { return m_nTarget; }

private:
    Zep::List<Point> m_lWaypoints;
    float m_fSpeed;
    Point m_position;
    int32_t m_nTarget = 1;
};
