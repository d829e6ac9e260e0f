// Sprite: the scene node of everything visible.
//
// A picture placed at a floating-point position (the image's insertion point
// lands there), with z-order, visibility, alpha, tint, scale and rotation
// about that point, blend mode, an optional clip rectangle, owned sprite
// controllers, named user data and input hooks. A mode holds its sprites in
// layered lists (layers.h) and draws them through the video driver, which
// reads the drawing state below and may attach its own per-sprite data.
//
// Ownership: sprites are counted (Zep::SmartPtr<Sprite>); the mode is not a
// counted reference but a plain pointer that the mode sets while the sprite
// is in its lists and clears when the sprite leaves them, so a sprite that
// outlives its mode never reaches it. Controllers are owned and deleted as
// soon as they report done; the controller walk survives a controller that
// removes itself or another one during its update.
#pragma once

#include <cstdint>
#include <memory>

#include <zep2/hash.h>
#include <zep2/list.h>
#include <zep2/refcount.h>
#include <zep2/str.h>

#include "base/color.h"
#include "image/image.h"
#include "sprite/layers.h"
#include "base/rect.h"
#include "base/slotpool.h"
#include "sprite/visualobject.h"

class GameMode;
class SpriteController;
class DrvSpriteData;
struct Tooltip;

// A mode's tooltip record as the sprite knows it: the node in the mode's list.
using TooltipHandle = Zep::ListNode<Zep::SmartPtr<Tooltip>>*;

class Sprite : public IVisualObject {
public:
    SLOTPOOL_ALLOCATED

    // Hit-test modes.
    enum { kHitPixel = 0, kHitRect = 1, kHitBox = 2 };

    Sprite();
    Sprite(const Zep::SmartPtr<Image>& pImage, int x, int y, int nZOrder);
    Sprite(const Zep::SmartPtr<Image>& pImage, const Point& position, int nZOrder);
    Sprite(const char* szImageName, int x, int y, int nZOrder);
    Sprite(const char* szImageName, const Point& position, int nZOrder);
    Sprite(int x, int y, int nZOrder);
    Sprite(const Point& position, int nZOrder);
    ~Sprite() override;
    Sprite(const Sprite&) = delete;
    Sprite& operator=(const Sprite&) = delete;

    // ---- Size, position, order, visibility (IVisualObject) ----
    // The image's canvas size while visible with an image, else 0 x 0.
    Point getSize() const override;
    void getSize(int* pWidth, int* pHeight) const override;
    void setSize(const Point&) override {}
    void setSize(int, int) override {}
    int getWidth() const override;
    int getHeight() const override;
    Point getPosition() const override { return Point(m_fX, m_fY); }
    void getPosition(float* pX, float* pY) const override;
    void getPosition(int* pX, int* pY) const override;
    void setPosition(const Point& p) override { setPosition(p, false); }
    void setPosition(float x, float y) override { setPosition(Point(x, y), false); }
    void setPosition(int x, int y) override;
    int getZOrder() const override { return m_pExtras->nZOrder; }
    // A changed z-order re-sorts the sprite in its mode.
    void setZOrder(int nZOrder) override;
    // Final: the draw walk reads it for every sprite of every frame.
    bool isVisible() const final { return m_bVisible; }
    void setVisible(bool bVisible) override;
    void setClipRect(const Rect& rect) override;
    void clearClipRect() override;

    // With keepImageAnchor the shared image's insertion point moves so that
    // the picture stays where it is on screen while the anchor moves to p;
    // every sprite showing that image sees the new insertion point.
    virtual void setPosition(const Point& p, bool bKeepImageAnchor);
    virtual void setPosition(float x, float y, bool bKeepImageAnchor);
    virtual void setPosition(int x, int y, bool bKeepImageAnchor);
    // setPosition(x, y) for the sprites of particles: their classes (Sprite
    // and AnimSprite) keep the base onMove, so only the refresh remains, and
    // it has work only with a clip rectangle or a tooltip.
    void moveTo(float x, float y) {
        m_fX = x;
        m_fY = y;
        if (m_bClipRect || m_pTooltip) refresh();
    }
    virtual void setAlpha(float fAlpha) { m_fAlpha = fAlpha; }
    // By the hit-test mode: box, rectangle, or pixel with threshold 0.
    virtual bool hitTest(const Point& screen);
    virtual void setHitTestMode(int nMode) { m_pExtras->nHitTestMode = nMode; }
    virtual int getX() const;
    virtual int getY() const;
    // Screen box of the draw image's canvas; empty when invisible or without one.
    virtual Rect getBoundingRect() const;
    // Screen box of the draw image's stored pixels (tooltips and clipping).
    virtual Rect getDrawRect() const;

    // ---- Controllers ----
    // Takes the controller, joins the mode's update list, then starts it.
    virtual SpriteController* addController(std::unique_ptr<SpriteController> pController);
    // Unlinks and deletes it; a controller not held does nothing.
    virtual void removeController(SpriteController* pController);
    // Each controller's update in list order; those done are deleted.
    virtual void updateControllers(float fDelta);
    // Each controller's finish; those done are deleted, the others stay.
    virtual void finishControllers();
    virtual int getControllerCount() const;
    virtual SpriteController* getController(int nIndex) const;
    // Deletes every controller without finishing it.
    virtual void removeAllControllers();

    // ---- Input hooks: true when the event was consumed. Base: false. ----
    virtual bool onMouseEnter() { return false; }
    virtual bool onMouseLeave() { return false; }
    virtual bool onMouseMove(int, int) { return false; }
    virtual bool onMouseDown(int) { return false; }
    virtual bool onMouseUp(int) { return false; }
    virtual bool onFocus() { return false; }
    virtual bool onBlur() { return false; }
    virtual bool onKeyDown(int, int) { return false; }
    virtual bool onKeyUp(int, int) { return false; }
    virtual bool onChar(int) { return false; }
    // Told before a new position is stored; the answer is not used.
    virtual bool onMove(int, int) { return false; }

    // Re-cuts the clipped image when clipped, then refreshes the tooltip.
    virtual void refresh();
    // Told after the owning mode was set or cleared.
    virtual bool onModeSet() { return false; }
    // Drops the tooltip record and forgets the mode.
    virtual void detachFromMode();
    // Copies visibility and draw rectangle into the tooltip record.
    virtual void refreshTooltip();

    // ---- Mode and list handles (set by the owning mode) ----
    void setMode(GameMode* pMode);
    GameMode* getMode() const { return m_pExtras->pMode; }
    LayerHandle& getHandle(SpriteList eList) { return m_pExtras->aHandles[static_cast<int>(eList)]; }
    const LayerHandle& getHandle(SpriteList eList) const { return m_pExtras->aHandles[static_cast<int>(eList)]; }
    TooltipHandle getTooltipHandle() const { return m_pTooltip; }
    void setTooltipHandle(TooltipHandle pTooltip) { m_pTooltip = pTooltip; }

    // ---- Image ----
    // A null image hides the sprite, any other shows it.
    void setImage(const Zep::SmartPtr<Image>& pImage);
    // Through the application's image cache; no application gives no image.
    void setImageByName(const char* szName);
    Zep::SmartPtr<Image> getImage() const { return m_pImage; }
    // The clipped image when a clip rectangle is set, else the image.
    Zep::SmartPtr<Image> getDrawImage() const { return m_bClipRect ? m_pExtras->pClippedImage : m_pImage; }
    // Whether getDrawImage would give an image, without taking a reference.
    bool hasDrawImage() const { return m_bClipRect ? m_pExtras->pClippedImage.notNULL() : m_pImage.notNULL(); }
    bool isClipped() const { return m_pExtras->pClippedImage != m_pImage; }

    // ---- Drawing state ----
    float getAlpha() const { return m_fAlpha; }
    float getRotation() const { return m_fRotation; }
    void setRotation(float fDegrees) { m_fRotation = fDegrees; }
    // Inline: the particle step sets it on every sprite each frame.
    void setScale(float fScaleX, float fScaleY) {
        m_fScaleX = fScaleX;
        m_fScaleY = fScaleY;
        if (m_bClipRect) updateClippedImage();
    }
    void setScale(float fScale) { setScale(fScale, fScale); }
    float getScaleX() const { return m_fScaleX; }
    float getScaleY() const { return m_fScaleY; }
    void getScale(float* pScaleX, float* pScaleY) const;
    Point getScalePoint() const { return Point(m_fScaleX, m_fScaleY); }
    bool isScaled() const { return m_fScaleX != 1.0f || m_fScaleY != 1.0f; }
    void setColor(const Color& tint) { m_pExtras->cTint = tint; }
    Color getColor() const { return m_pExtras->cTint; }
    void setBlendMode(int nMode) { m_pExtras->nBlendMode = nMode; }
    int getBlendMode() const { return m_pExtras->nBlendMode; }
    void setMaskFlags(int nFlags) { m_pExtras->nMaskFlags = nFlags; }
    int getMaskFlags() const { return m_pExtras->nMaskFlags; }
    void setMaskTest(bool bTest) { m_pExtras->bMaskTest = bTest; }
    bool getMaskTest() const { return m_pExtras->bMaskTest; }
    int getHitTestMode() const { return m_pExtras->nHitTestMode; }
    // Copies the outline and stamps it with the frame count (-1 without an
    // application).
    void setPoints(const Zep::List<Point>& lPoints);
    Zep::List<Point>& getPoints();
    // The outline's point count, without making an outline.
    int getPointCount() const;
    int getPointsStamp() const;
    // A copy, or Rect(0, 0, 0, 0) without one.
    Rect getClipRect() const;
    bool hasClipRect() const { return m_bClipRect; }
    // The driver's per-sprite cache, owned by the sprite.
    DrvSpriteData* getDriverData() const { return m_pExtras->pDriverData.get(); }
    void setDriverData(std::unique_ptr<DrvSpriteData> pData);

    // ---- User data (not owned); getData of a missing name throws ----
    void setData(const char* szName, void* pValue);
    bool hasData(const char* szName) const;
    void* getData(const char* szName) const;

    // ---- Tooltip (kept by the mode; a sprite without a mode has none) ----
    void setTooltip(const char* szText);
    void removeTooltip();

    // ---- Transforms ----
    // Screen to canvas coordinates of the draw image.
    Point screenToLocal(const Point& screen) const;
    // Canvas coordinates of the draw image to screen; undoes screenToLocal.
    Point localToScreen(const Point& local) const;
    // A rectangle in anchor coordinates to its screen box.
    Rect transformRect(const Rect& anchorRect) const;

    // ---- Hit tests (false without a draw image) ----
    bool hitTestBox(const Point& screen) const;
    bool hitTestRect(const Point& screen) const;
    // The rectangle test, then the drawn pixel's transparency.
    bool hitTestPixel(const Point& screen, int nThreshold) const;
    bool hitTestBoxAt(int x, int y) const { return hitTestBox(Point(static_cast<float>(x), static_cast<float>(y))); }
    bool overlaps(const Sprite& other) const;
    bool overlapsData(const Sprite& other) const;

    // Re-cuts the drawn part of the image to the clip rectangle.
    void updateClippedImage();

private:
    void initImage(const Zep::SmartPtr<Image>& pImage);
    // The walk of updateControllers and finishControllers.
    template <class Step>
    void walkControllers(Step step);
    void disposeController(SpriteController* pController);
    bool overlapsBox(const Sprite& other, bool bData) const;
    // The side records, made on first use.
    struct ControllerState;
    struct RareState;
    ControllerState& controllerState();
    RareState& rareState();

    // What the frame's walks read (the particle step, the draw walk) fills
    // the first 64 bytes, one cache line of the slot (slotpool.h); the rest
    // lives in a record of its own, so that the sprites the walks read sit
    // close together.
    bool m_bVisible = true;
    bool m_bClipRect = false;  // Extras::pClipRect is set
    float m_fX = 0.0f;
    float m_fY = 0.0f;
    float m_fAlpha = 1.0f;
    float m_fRotation = 0.0f;
    float m_fScaleX = 1.0f;
    float m_fScaleY = 1.0f;
    Zep::SmartPtr<Image> m_pImage;
    TooltipHandle m_pTooltip = nullptr;
    struct Extras {
        SLOTPOOL_ALLOCATED
        Extras();
        ~Extras();
        std::unique_ptr<Rect> pClipRect;
        Zep::SmartPtr<Image> pClippedImage;
        GameMode* pMode = nullptr;
        Color cTint = Color(255, 255, 255, 255);
        int32_t nBlendMode = 0;
        int32_t nMaskFlags = 1;
        bool bMaskTest = false;
        int32_t nZOrder = 0;
        int32_t nHitTestMode = kHitPixel;
        std::unique_ptr<DrvSpriteData> pDriverData;
        LayerHandle aHandles[kSpriteListCount];
        // Few sprites have controllers, user data or an outline: those
        // live in side records of their own.
        std::unique_ptr<ControllerState> pControllers;
        std::unique_ptr<RareState> pRare;
    };
    const std::unique_ptr<Extras> m_pExtras = std::make_unique<Extras>();
};
