// Waitress: the figure the player moves through the bar, and the hands that
// carry its mugs.
//
// The play mode walks her along paths and its command queue turns her and
// lets her act; she decides nothing herself. Position in screen pixels
// (floats); heading 0 north, 1 east, 2 south, 3 west ("n", "e", "s", "w"),
// with a second heading blended into the step (-1 none); state 0 idle,
// 2 walking, 3 acting.
//
// Figure: five sprites of one template animation ("<base>.template", cached
// under the file name plus "A" for capacity 6, else "B", and read with that
// letter): body (z-order 100, then the depth of her walk area), left and
// right arm (body + per-heading offsets) and left and right thumb, drawn
// over a carried mug. The sequences are named from formats: "stand_%s_main",
// "walk_%s_main_%s" (left/right foot); arms "stand_%s_arm_%s_%s" and
// "walk_%s_arm_%s_%s[_%s]" with fill "empty"/"full" or "tray", side
// "left"/"right" and, walking with hands, swing "back"/"front"; thumbs the
// same with "thumb", or "thumb_empty"; actions "%s_%s_%s" (serve/fill/take,
// heading, left/right/tray), such as "take_s_tray".
//
// Walking: speeds 220, 298, 200, 298 pixels a second by heading; the second
// heading adds 0.75 of its direction at the first heading's speed. Her size
// follows the walk band: 1 - (bottom - y) * 0.208 / (bottom - top), 0.792 at
// the band's top, 1.0 at its bottom. She stands only in the walk areas: a
// position whose whole-pixel part leaves every area is ignored (fractions of
// a pixel never consult them). Each walk sequence is one step; a walk starts
// only when the point 5 pixels ahead lies in a walk area. Walking by herself
// (no path walk) she drifts a tenth of the way a frame to the preferred line.
//
// Hands: hand slots hold mugs (null: free), at least capacity of them. With
// capacity 2 hand h is slot h; with 4 or 6 every slot rides on a tray held by
// the left arm, and the hand given to targets is 2.
//
// Carried items follow the arm frames: an arm frame's property "position" p
// indexes two 88-entry tables, the held item's point (mx, my) in the body
// image. With the body image w x h whose top-left is (ox, oy) on screen and
// her scale s: x = (mx - w/2) s + w/2 + ox, y = h - (h - my) s + oy. With
// hands item i follows arm i, z-order = arm z + a per-hand, per-heading
// offset. With a tray the point is the tray's centre, from the right arm's
// frame at capacity 4, the left arm's at 6; each slot adds its own offset
// (times s) from a table per capacity and heading, z from the right arm
// facing east, else the left arm. A "position" outside 0..87 throws
// Zep::FatalErrorException naming the animation, the sequence and the frame.
//
// Actions: startAction plays the action sequence on the acting arm (the left
// one with a tray); the target's completeAction runs at the sequence's first
// frame with the property "doaction", found by scanning every frame the arm
// passed in the update, so a long frame time that skips it still completes it
// once. Any state change or new action first completes a pending action (it
// jumps to that frame): an action that has begun always takes effect once.
// Releasing a target clears its busy flag.
//
// Leaving the level (detach): her sprites leave the mode, her items and her
// target are let go and the mode is forgotten; nothing more is asked of her
// then. The destructor drops her sprites and items and never reaches the
// mode.
#pragma once

#include <cstdint>

#include <zep2/list.h>
#include <zep2/refcount.h>
#include <zep2/str.h>

#include "actors/actionspot.h"
#include "anim/animsprite.h"
#include "actors/mug.h"
#include "base/rect.h"

class PlayMode;

class Waitress : public Zep::RefCountedObject {
public:
    enum { kIdle = 0, kWalking = 2, kActing = 3 };
    enum { kNorth = 0, kEast = 1, kSouth = 2, kWest = 3, kNoHeading = -1 };
    enum { kLeftHand = 0, kRightHand = 1, kTrayHand = 2 };
    enum { kMugTableSize = 88 };

    // "n", "e", "s", "w".
    static const char* headingLetter(int nHeading);

    // The level, her figure's base name, where she stands and how many items
    // she may carry (2, 4 or 6; more than 2 ride on a tray). She starts idle,
    // facing south, at scale 1.
    Waitress(PlayMode* pMode, const char* szBaseName, int x, int y, int nCapacity);
    ~Waitress() override;

    // At every day start: the capacity, and her sprites made again from the
    // template file (the body keeps its sequence). Slots are added, never
    // removed.
    void buildSprites(const char* szTemplateFile, int nCapacity);
    // Queues her animation for the background preload under the cache key
    // and with the letter ("A" for capacity 6, else "B") that her sprites
    // load it by, so that the preload and the sprites share one animation.
    static void preloadSprites(const char* szTemplateFile, int nCapacity);

    // Once per frame, after the play mode's path-walk step: the sprites
    // advance (body, right arm, left arm, left thumb, right thumb); a walk
    // step that ended makes her stand; an action passes its action point;
    // items are laid out again when an arm changed frame.
    virtual void update(float fDelta);

    // ---- Queries ----
    int getX() const { return truncToInt(m_fX); }
    int getY() const { return truncToInt(m_fY); }
    void getPosition(int* pX, int* pY) const;
    void getPositionF(float* pX, float* pY) const;
    int getHeading() const { return m_nHeading; }
    int getSecondHeading() const { return m_nSecondHeading; }
    const Zep::String& getBaseName() const { return m_sBaseName; }
    int getCapacity() const { return m_nCapacity; }
    bool hasTray() const { return m_bTray; }
    float getDepthScale() const { return m_fDepthScale; }
    // Her whole-pixel position plus the hand's offset for the heading
    // (hands 0 and 1: 0/45/0/-45 by -100/-104/-100/-104; the tray: none).
    void getHandPosition(int* pX, int* pY, int nHand) const;

    int getState() const { return m_nState; }
    bool isWalking() const { return m_nState == kWalking; }
    bool justStoppedWalking() const { return m_nPrevState == kWalking && m_nState != kWalking; }
    bool isActingWith(int nArm) const { return m_nState == kActing && m_nActingArm == nArm; }
    bool isIdle() const { return !isWalking() && !isActingWith(0) && !isActingWith(1); }
    Zep::SmartPtr<IActionTarget> getTarget() const { return m_pTarget; }

    // Sprites: 0 left, 1 right.
    Zep::SmartPtr<AnimSprite> getBodySprite() const { return m_pBody; }
    Zep::SmartPtr<AnimSprite> getArmSprite(int nArm) const { return m_apArms[nArm]; }
    Zep::SmartPtr<AnimSprite> getThumbSprite(int nArm) const { return m_apThumbs[nArm]; }

    // ---- Hand slots ----
    int countCarriedItems() const;
    // Null when n is not a slot.
    Zep::SmartPtr<Mug> getHandContents(int n) const;
    bool isHandEmpty(int n) const { return getHandContents(n).isNULL(); }
    int getSlotCount() const { return m_lSlots.getCount(); }
    // Into the first free slot; with none it throws Zep::FatalErrorException
    // "setHandContents() illegally called. Tray is full." and changes nothing.
    void setHandContents(const Zep::SmartPtr<Mug>& pMug);
    // The item of slot n (null when none), the slot freed.
    Zep::SmartPtr<Mug> takeHandContents(int n);
    // Every empty item, their slots freed.
    Zep::List<Zep::SmartPtr<Mug>> takeEmptyItems();
    // Every item that is not empty; the slots stay as they are.
    Zep::List<Zep::SmartPtr<Mug>> getFilledItems() const;
    // Room for one more item taken with the hand: with a tray fewer items
    // than her capacity, with hands the hand is her first free slot.
    bool canTakeWith(int nHand) const;

    // ---- Movement and posture ----
    void getMoveStep(float fDelta, float* pDx, float* pDy) const;
    void setPosition(float x, float y);
    // Turns her and makes her stand.
    void setHeading(int nHeading);
    // Turns her when the heading changes, then starts a walk step unless she
    // already walks or the point 5 pixels ahead is outside the walk areas.
    void setWalkDirection(int nHeading, int nSecondHeading);
    void stopWalking();
    // Out of the level (see above).
    void detach();
    // The scale for her y on her sprites, not stored (the mode resumes).
    void updateDepthScale();
    // A pending action completes first; entering idle shows the standing arms.
    void setState(int nState);

    // ---- Actions ----
    // Starts the target's action with the hand: answers its kind, or -1 when
    // the arm is still playing, the target refuses, or (no tray) the hand is
    // not 0 or 1; then nothing changes, except that a new target first
    // completes a pending action. A null target shows the resting pose of
    // the hand's arm and answers -1.
    int startAction(const Zep::SmartPtr<IActionTarget>& pTarget, int nHand);

private:
    // ---- Sprites (waitress_sprites.cpp) ----
    void loadSprites(const char* szTemplateFile);
    // Her animation's letter, and its cache key: the template file and the letter.
    static const char* animationLetter(int nCapacity);
    static Zep::String animationKey(const char* szTemplateFile, int nCapacity);
    void removeSprites();
    void showStandingArms();
    void showWalkingArms();
    void placeArms();
    // Without a tray thumb a and arm a, with one arm 0 only; then the layout.
    void playArm(int nArm, const Zep::String& sArm, const char* szThumb);
    const char* fillWord(int nSlot) const;
    // "left", "right", "tray" for 0, 1, 2.
    static const char* sideWord(int nSide);
    // ---- Actions (waitress_action.cpp) ----
    void showRestingPose(int nHand);
    void scanForActionPoint();
    void completePendingAction();
    void finishAction();
    // ---- Layout (waitress_layout.cpp) ----
    void layoutItems();
    void layoutHands(float fScale);
    void layoutTray(float fScale);
    // The point of the arm's "position" frame mapped onto the screen.
    void mapArmPoint(int nArm, float fScale, float* pX, float* pY) const;
    int armPosition(int nArm) const;

    float scaleForY(float y) const;
    void applyScale(float fScale);

    PlayMode* m_pMode;  // not owned
    Zep::String m_sBaseName;
    Zep::SmartPtr<AnimSprite> m_pBody;
    Zep::SmartPtr<AnimSprite> m_apArms[2];
    Zep::SmartPtr<AnimSprite> m_apThumbs[2];
    int32_t m_nState = kIdle;
    int32_t m_nPrevState = kIdle;
    float m_fX;
    float m_fY;
    int32_t m_nHeading = kNorth;
    int32_t m_nSecondHeading = kNoHeading;
    bool m_bFoot = false;
    Zep::SmartPtr<IActionTarget> m_pTarget;
    int32_t m_nActingArm = -1;
    int32_t m_nActingHand = -1;
    Zep::String m_sActionSequence;
    Zep::List<Zep::SmartPtr<Mug>> m_lSlots;
    int32_t m_nCapacity;
    bool m_bTray;
    float m_fDepthScale = 1.0f;
};
