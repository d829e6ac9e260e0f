// Waitress: the figure the player moves through the bar.
//
// The play mode walks her along paths and its command queue turns her and
// lets her act; she decides nothing herself. What is here is her walking
// core: position (screen pixels, floats), heading (0 north, 1 east, 2 south,
// 3 west) with a second heading blended into the step (-1 none), and her
// state (0 idle, 2 walking, 3 acting).
//
// Speeds in pixels per second by heading: 220 north, 298 east, 200 south, 298
// west. getMoveStep moves along the heading at its speed, plus 0.75 of that
// speed along the second heading: east with south blended in moves 298
// pixels a second sideways and 223.5 down.
//
// She stands only inside the level's walk areas: setPosition to a point
// whose whole-pixel part lies outside every area is ignored, and a walk does
// not start when the point 5 pixels ahead lies outside.
#pragma once

#include <cstdint>

#include <zep2/refcount.h>
#include <zep2/str.h>

class PlayMode;

class Waitress : public Zep::RefCountedObject {
public:
    enum { kIdle = 0, kWalking = 2, kActing = 3 };
    enum { kNorth = 0, kEast = 1, kSouth = 2, kWest = 3, kNoHeading = -1 };

    // The level, her figure's base name, where she stands and how many items
    // she may carry (2, 4 or 6; more than 2 ride on a tray). She starts idle,
    // facing south.
    Waitress(PlayMode* pMode, const char* szBaseName, int x, int y, int nCapacity);

    // Once per frame, after the play mode's path-walk step.
    virtual void update(float fDelta);

    // Position truncated to whole pixels.
    int getX() const { return static_cast<int>(m_fX); }
    int getY() const { return static_cast<int>(m_fY); }
    void getPosition(int* pX, int* pY) const;
    void getPositionF(float* pX, float* pY) const;
    int getHeading() const { return m_nHeading; }
    int getSecondHeading() const { return m_nSecondHeading; }
    const Zep::String& getBaseName() const { return m_sBaseName; }
    int getCapacity() const { return m_nCapacity; }
    bool hasTray() const { return m_bTray; }

    int getState() const { return m_nState; }
    bool isWalking() const { return m_nState == kWalking; }
    bool justStoppedWalking() const { return m_nPrevState == kWalking && m_nState != kWalking; }
    bool isActingWith(int nArm) const { return m_nState == kActing && m_nActingArm == nArm; }
    bool isIdle() const { return !isWalking() && !isActingWith(0) && !isActingWith(1); }

    void getMoveStep(float fDelta, float* pDx, float* pDy) const;

    void setPosition(float x, float y);
    // Turns her and makes her stand.
    void setHeading(int nHeading);
    // Turns her when the heading changes, then starts a walk step unless she
    // already walks or the point 5 pixels ahead is outside the walk areas.
    void setWalkDirection(int nHeading, int nSecondHeading);
    void stopWalking();
    void setState(int nState);

private:
    PlayMode* m_pMode;  // not owned
    Zep::String m_sBaseName;
    int32_t m_nState = kIdle;
    int32_t m_nPrevState = kIdle;
    float m_fX;
    float m_fY;
    int32_t m_nHeading = kNorth;
    int32_t m_nSecondHeading = kNoHeading;
    bool m_bFoot = false;
    int32_t m_nActingArm = -1;
    int32_t m_nCapacity;
    bool m_bTray;
};
