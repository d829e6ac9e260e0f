// GameMode: one screen or state of the program (splash, menu, level, dialog).
//
// Modes live on the application's mode stack, which updates, draws and offers
// input to them through the virtual operations below. A mode owns what it
// shows: its sprites in display layers sorted by z-order (layers.h), the
// subset that takes mouse input (control layers), the subset whose
// controllers run each frame (update layers), its particles and its tooltip
// records.
//
// Draw order: layers first to last, each layer front to back, so lower
// z-orders are drawn beneath and, within one z-order, the sprite added last
// is drawn first, beneath the others. findControlAt walks the control layers
// from the highest z-order down, each layer front to back, so among equal
// z-orders the sprite added last is hit first.
//
// A sprite belongs to at most one mode, once: adding it again is a no-op and
// adding it to another mode takes it out of the first. Every sprite that
// leaves the mode's lists forgets the mode and its tooltip handle, so that a
// sprite outliving its mode never reaches it. The mode works without an
// application, video driver or theme (tests, early construction): it then
// skips the display notification, draws tooltips without a style, and reads
// the mouse as (0, 0).
#pragma once

#include <cstdint>
#include <memory>

#include <zep2/list.h>
#include <zep2/refcount.h>
#include <zep2/str.h>

#include "base/callbacks.h"
#include "sprite/layers.h"
#include "effects/particle.h"
#include "base/rect.h"
#include "sprite/sprite.h"
#include "sprite/tooltip.h"

class GameApp;
class Image;
class Font;
class Sample;
class ModeTransition;

class GameMode : public ICallbackTarget {
public:
    // Flag bits.
    enum : uint32_t {
        kActive = 1,           // updated, offered input, may be drawn
        kVisible = 2,          // drawn while active
        kDrawBelow = 4,        // the modes below are drawn too
        kUpdateBelow = 8,      // the modes below are updated too
        kInputBelow = 16,      // input goes on to the modes below
        kClearScreen = 32,     // the screen is cleared to black first
    };
    // States, set by the mode stack.
    enum { kStateNew = 0, kStateOnStack = 1, kStateSuspended = 2, kStateEnded = 3 };

    static constexpr int kTooltipZOrder = 2147483647;
    static constexpr int kDimmerZOrder = -1000;

    GameMode();
    ~GameMode() override;
    GameMode(const GameMode&) = delete;
    GameMode& operator=(const GameMode&) = delete;

    // ---- Life cycle hooks (base: nothing unless stated) ----
    void onCallback(int, void*) override {}
    virtual GameApp* getApp() const { return m_pApp; }
    virtual void onEnter() {}
    // Base: removeAllSprites.
    virtual void onEnd();
    virtual void onEnded() {}
    virtual void onSuspend() {}
    virtual void onResume() {}
    virtual void onCovered(GameMode*) {}
    virtual bool onQuitRequest() { return false; }
    virtual void onAppQuit() {}
    virtual void onAppActivate() {}
    virtual void onAppDeactivate() {}
    virtual void onUpdate(float) {}
    virtual bool onKeyDown(int, int) { return false; }
    virtual bool onKeyUp(int, int) { return false; }
    virtual bool onChar(int) { return false; }
    virtual bool onMouseMove(int, int) { return false; }
    virtual bool onMouseUp(int, int, int) { return false; }
    virtual bool onMouseDown(int, int, int) { return false; }

    // ---- Life cycle on the mode stack (gamemode_stack.cpp) ----
    // Only the top mode may end or suspend itself; otherwise
    // Zep::FatalErrorException names both addresses and nothing changes.
    // Ends through the exit transition when there is one; else onEnd, off
    // the stack into the ended modes (the mode below is resumed), onEnded.
    void endMode();
    // onSuspend, then off the stack; the caller keeps the mode.
    void suspendMode();
    // Ends the modes above this one, top first, without fading.
    void endModesAbove();
    // Fades out over this mode, ends it at full black, fades in.
    void startTransition(ModeTransition* pTransition);
    // Owned until endMode starts it; replaces (deletes) the one held before.
    void setExitTransition(ModeTransition* pTransition);
    ModeTransition* getExitTransition() const { return m_pExitTransition.get(); }

    // ---- Flags and state ----
    uint32_t getFlags() const { return m_nFlags; }
    // Tells the video driver when bits 0 to 2 change.
    void setFlags(uint32_t nFlags);
    void addFlags(uint32_t nBits) { setFlags(m_nFlags | nBits); }
    void clearFlags(uint32_t nBits) { setFlags(m_nFlags & ~nBits); }
    bool isActive() const { return (m_nFlags & kActive) != 0; }
    bool isVisible() const { return (m_nFlags & kVisible) != 0; }
    int getState() const { return m_nState; }
    void setState(int nState) { m_nState = nState; }
    int getMouseButtonMask() const { return m_nMouseButtonMask; }
    void setMouseButtonMask(int nMask) { m_nMouseButtonMask = nMask; }

    // ---- Sprites and layers ----
    Zep::SmartPtr<Sprite> addSprite(Zep::SmartPtr<Sprite> pSprite);
    // Out of every list, tooltip dropped, mode forgotten; a null sprite or one
    // of another mode is left alone.
    void removeSprite(Zep::SmartPtr<Sprite> pSprite);
    void removeSprites(const Zep::List<Zep::SmartPtr<Sprite>>& lSprites);
    bool containsSprite(const Zep::SmartPtr<Sprite>& pSprite) const;
    // Re-sorts display and control layers after a z-order change.
    void onSpriteLayerChanged(Zep::SmartPtr<Sprite> pSprite);
    void resortSprite(LayerList& lLayers, const Zep::SmartPtr<Sprite>& pSprite, LayerHandle& handle);
    // Empties every list and drops the tooltip records; the sprites forget
    // the mode, all of them even when one fails at it (the first failure is
    // thrown afterwards; the destructor logs it instead).
    void removeAllSprites();
    const LayerList& getLayers() const { return m_aLayers[0]; }
    const LayerList& getControlLayers() const { return m_aLayers[1]; }
    Zep::List<Zep::SmartPtr<Sprite>> getAllSprites() const;
    Zep::List<Zep::SmartPtr<Sprite>> getAllAnimatedSprites() const;
    // A black backdrop over the whole screen at z-order -1000.
    Zep::SmartPtr<Sprite> addDimmer(float fAlpha);

    // ---- Controls, focus and hover ----
    Zep::SmartPtr<Sprite> addControl(Zep::SmartPtr<Sprite> pSprite);
    void removeControl(Zep::SmartPtr<Sprite> pSprite);
    // The topmost control whose hit test takes the point, or null.
    Zep::SmartPtr<Sprite> findControlAt(int x, int y) const;
    Zep::SmartPtr<Sprite> getFocusSprite() const { return m_pFocus; }
    // onFocus to the new one, then onBlur to the old one.
    void setFocusSprite(Zep::SmartPtr<Sprite> pSprite);
    Zep::SmartPtr<Sprite> getHoverSprite() const { return m_pHover; }
    void setHoverSprite(Zep::SmartPtr<Sprite> pSprite) { m_pHover = pSprite; }

    // ---- Animated sprites ----
    void addAnimatedSprite(Zep::SmartPtr<Sprite> pSprite);
    void removeAnimatedSprite(Zep::SmartPtr<Sprite> pSprite);
    // Runs the controllers of a snapshot of the update layers.
    void updateSprites(float fDelta);

    // ---- Particles ----
    void addParticle(const Zep::SmartPtr<Particle>& pParticle) { m_lParticles.add(pParticle); }
    void addParticles(Zep::List<Zep::SmartPtr<Particle>> lParticles);
    Zep::List<Zep::SmartPtr<Particle>>& getParticles() { return m_lParticles; }
    void updateParticles(float fDelta) { ::updateParticles(m_lParticles, fDelta); }

    // ---- Tooltips ----
    TooltipHandle addTooltip(const Rect& rect, const char* szText);
    void removeTooltip(TooltipHandle pTooltip);
    void setTooltipText(TooltipHandle pTooltip, const char* szText);
    void setTooltipRect(TooltipHandle pTooltip, const Rect& rect) { pTooltip->data->rect = rect; }
    void setTooltipEnabled(TooltipHandle pTooltip, bool bEnabled) { pTooltip->data->bEnabled = bEnabled; }
    void setTooltipStyle(const char* szStyle) { m_sTooltipStyle = szStyle; }
    const Zep::String& getTooltipStyle() const { return m_sTooltipStyle; }
    void setTooltipOffset(const Point& offset) { m_tooltipOffset = offset; }
    // Sets the delay and the running countdown.
    void setTooltipDelay(float fSeconds);
    TooltipHandle getCurrentTooltip() const { return m_pCurrentTooltip; }
    int getTooltipCount() const { return m_lTooltips.getCount(); }
    void showTooltip();
    void hideTooltips();
    void updateTooltip(float fDelta);
    // Restarts the countdown, follows with a shown tooltip, then onMouseMove.
    bool handleMouseMove(int x, int y);
    void notifyResumed();
    void notifyCovered(GameMode* pNewTop);

    // onUpdate, sprites, particles, tooltips.
    void frameUpdate(float fDelta);

    // ---- Forwarding to the application (empty answers without one) ----
    const char* getText(const char* szKey) const;
    Zep::SmartPtr<Image> getImage(const char* szName) const;
    Zep::SmartPtr<Sample> getSample(const char* szName) const;
    Zep::SmartPtr<Image> createImage(int nWidth, int nHeight, int nFlags) const;
    Zep::SmartPtr<Font> getFont(const char* szName) const;

private:
    LayerList& layers(SpriteList eList) { return m_aLayers[static_cast<int>(eList)]; }
    void insertInto(SpriteList eList, const Zep::SmartPtr<Sprite>& pSprite);
    void removeFrom(SpriteList eList, const Zep::SmartPtr<Sprite>& pSprite);
    bool owns(const Zep::SmartPtr<Sprite>& pSprite) const { return pSprite.notNULL() && pSprite->getMode() == this; }
    void refreshMousePosition() const;
    Point mousePosition() const;
    TooltipHandle findTooltipAt(int x, int y) const;
    void placeTooltip(Tooltip& tooltip, int x, int y) const;
    void dropTooltipRecords();

    GameApp* m_pApp;
    uint32_t m_nFlags = 0;
    int32_t m_nState = kStateNew;
    LayerList m_aLayers[kSpriteListCount];  // display, control, update
    Zep::SmartPtr<Sprite> m_pHover;
    Zep::SmartPtr<Sprite> m_pFocus;
    Zep::List<Zep::SmartPtr<Particle>> m_lParticles;
    int32_t m_nMouseButtonMask = -1;
    Zep::List<Zep::SmartPtr<Tooltip>> m_lTooltips;
    TooltipHandle m_pCurrentTooltip = nullptr;
    float m_fTooltipCountdown = 0.0f;
    float m_fTooltipDelay = 0.25f;
    Zep::String m_sTooltipStyle;
    Point m_tooltipOffset = Point(25.0f, 25.0f);
    std::unique_ptr<ModeTransition> m_pExitTransition;
};
