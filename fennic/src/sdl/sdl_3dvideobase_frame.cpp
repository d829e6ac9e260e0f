// SDL3DVideoDriverBase: one frame, drawn whole or only where it changed.
#include <algorithm>
#include <cmath>

#include "base/color.h"
#include "sprite/drawwalk.h"
#include "media/flashsprite.h"
#include "application/gameapp.h"
#include "render/rendermatrix.h"
#include "sdl/sdl_3dvideobase.h"
#include "sdl/sdl_image.h"
#include "sdl/sdl_surface.h"
#include "media/videosprite.h"

namespace {

constexpr float kDegreesToRadians = 0.01745329238474369f;
// Pixels added around a sprite's corners: the device snaps positions to
// 1/256 pixel and draws the pixels whose centres its triangles hold.
constexpr int kBoxMargin = 2;
// A pixel whose centre lies this far inside an opaque sprite's rectangle is
// surely drawn by it: more than the device's snapping and rounding move an edge.
constexpr float kInside = 1.0f / 128.0f;
// Beyond this a coordinate is off every screen.
constexpr float kFar = 1.0e7f;

int floorPixel(float f) { return static_cast<int>(std::floor(std::clamp(f, -kFar, kFar))); }
int ceilPixel(float f) { return static_cast<int>(std::ceil(std::clamp(f, -kFar, kFar))); }

// A surface whose textures are wholly opaque and that holds the image's
// whole rectangle, so that every pixel the image's tiles cover gets an
// opaque texel (bilinear samples mix opaque texels only).
bool drawsOpaque(const SDLImage& image) {
    const Surface* pSurface = image.getSurface().get();
    const auto* pData = pSurface ? dynamic_cast<const Drv3DSurfaceData*>(pSurface->getDriverData()) : nullptr;
    if (!pData || !pData->m_bOpaqueTexels) return false;
    int x = 0;
    int y = 0;
    image.getStoreOrigin(&x, &y);
    return x >= 0 && y >= 0 && x + image.getDataWidth() <= pSurface->getWidth() &&
           y + image.getDataHeight() <= pSurface->getHeight();
}

}  // namespace

// The walk's two drawing steps, drawn at once.
class SDL3DVideoDriverBase::Walk : public IDrawTarget {
public:
    explicit Walk(SDL3DVideoDriverBase& driver) : m_rDriver(driver) {}
    void clearScreen(const Color& color) override { m_rDriver.clear(color); }
    void drawSprite(GameMode&, Sprite& sprite) override { m_rDriver.drawSprite(&sprite); }

private:
    SDL3DVideoDriverBase& m_rDriver;
};

// The walk's two drawing steps, listed for the comparison.
class SDL3DVideoDriverBase::Recorder : public IDrawTarget {
public:
    explicit Recorder(SDL3DVideoDriverBase& driver) : m_rDriver(driver) {}
    void clearScreen(const Color&) override {
        DrawRecord record;
        record.key.box = m_rDriver.m_dirty.screen();
        record.bVolatile = true;
        m_rDriver.m_changes.add(record);
        m_rDriver.m_changes.setUncomparable();
    }
    void drawSprite(GameMode&, Sprite& sprite) override { m_rDriver.recordSprite(sprite); }

private:
    SDL3DVideoDriverBase& m_rDriver;
};

uint32_t SDL3DVideoDriverBase::diffuseOf(const Sprite& sprite, const SDLImage& image) {
    const float fAlpha = std::clamp(static_cast<float>(image.getSurfaceAlpha()) / 255.0f * sprite.getAlpha(), 0.0f, 1.0f);
    const Color tint = sprite.getColor();
    auto channel = [](float f) { return static_cast<uint32_t>(f * 255.0f); };
    return (channel(fAlpha) << 24) | (channel(tint.getRed() / 255.0f) << 16) | (channel(tint.getGreen() / 255.0f) << 8) |
           channel(tint.getBlue() / 255.0f);
}

Point SDL3DVideoDriverBase::anchorOffset(const SDLImage& image) {
    return (image.getDataOffset() - image.getInsPoint()) / image.getPixelScale();
}

void SDL3DVideoDriverBase::render() {
    if (!beginFrame()) return;
    placeCursor();
    listFrame();
    if (m_dirty.isWholeScreen())
        drawWholeFrame();
    else
        drawChanges();
    endFrame();
}

// The cursor stands where the mouse is.
void SDL3DVideoDriverBase::placeCursor() {
    if (!isCursorVisible() || m_pCursorSprite.isNULL()) return;
    int x = 0;
    int y = 0;
    if (GameApp* pApp = GameApp::getInstance()) pApp->getMousePosition(&x, &y);
    m_pCursorSprite->setPosition(x, y);
}

void SDL3DVideoDriverBase::drawWholeFrame() {
    if (GameApp* pApp = GameApp::getInstance()) {
        Walk walk(*this);
        drawModes(*pApp, walk);
    }
    if (isCursorVisible() && m_pCursorSprite.notNULL()) drawSprite(m_pCursorSprite.get());
}

// The walk and the cursor as records, compared with the last frame's.
void SDL3DVideoDriverBase::listFrame() {
    int nWidth = 0;
    int nHeight = 0;
    getTargetSize(nWidth, nHeight);
    m_dirty.reset(nWidth, nHeight);
    m_changes.begin(nWidth, nHeight);
    if (GameApp* pApp = GameApp::getInstance()) {
        Recorder recorder(*this);
        drawModes(*pApp, recorder);
    }
    if (isCursorVisible() && m_pCursorSprite.notNULL()) recordSprite(*m_pCursorSprite);
    m_changes.finish(m_dirty, needsWholeFrame());
}

bool SDL3DVideoDriverBase::needsWholeFrame() {
    const bool bWhole = m_bRedrawAll || m_bRedrawNext || textureResetFrame() != m_nListedResetFrame ||
                        m_nOriginX != m_nListedOriginX || m_nOriginY != m_nListedOriginY ||
                        getMargin() != m_nListedMargin;
    m_bRedrawNext = false;
    m_nListedResetFrame = textureResetFrame();
    m_nListedOriginX = m_nOriginX;
    m_nListedOriginY = m_nOriginY;
    m_nListedMargin = getMargin();
    return bWhole;
}

// Every box on its own, clipped, with the records that meet it in order.
void SDL3DVideoDriverBase::drawChanges() {
    for (const ScreenBox& box : m_dirty.boxes()) {
        setClip(&box);
        for (const DrawRecord& record : m_changes.records()) {
            if (!record.pSprite || !record.key.box.meets(box)) continue;
            ScreenBox clip = record.key.box;
            clip.clipTo(box);
            setClip(&clip);
            drawSprite(record.pSprite);
        }
    }
    setClip(nullptr);
}

void SDL3DVideoDriverBase::recordSprite(Sprite& sprite) {
    auto* pImage = dynamic_cast<SDLImage*>(sprite.getDrawImage().get());
    if (!pImage) return;
    buildTiles(pImage);
    DrawRecord record;
    if (!recordDrawing(sprite, *pImage, record)) return;
    linkRecord(sprite, record);
    m_changes.add(record);
}

// False when the sprite changes no pixel.
bool SDL3DVideoDriverBase::recordDrawing(Sprite& sprite, SDLImage& image, DrawRecord& record) {
    auto* pData = dynamic_cast<Drv3DImageData*>(image.getDriverData());
    if (!pData) return false;
    const uint32_t nColour = diffuseOf(sprite, image);
    const int nBlend = sprite.getBlendMode();
    // Masks read and write the stencil across sprites, and other blend
    // values keep the state of the sprite drawn before: not comparable.
    if (sprite.getMaskFlags() != 1 || sprite.getMaskTest() || (nBlend != 0 && nBlend != 1))
        m_changes.setUncomparable();
    else if ((nColour >> 24) == 0 || (pData->m_content.isEmpty() && sprite.getPointCount() == 0))
        return false;  // an outline is drawn in the sprite's colour whatever its picture
    record.pSprite = &sprite;
    DrawRecord::Key& key = record.key;
    key.nPicture = pData->serial();
    key.nTiles = pData->tiles().m_nStamp;
    key.nColour = nColour;
    key.nBlend = nBlend;
    const Point pos = sprite.getPosition();
    const Point offset = anchorOffset(image);
    key.fX = pos.x;
    key.fY = pos.y;
    key.fOffX = offset.x;
    key.fOffY = offset.y;
    key.fRotation = sprite.getRotation();
    key.fScaleX = sprite.getScaleX();
    key.fScaleY = sprite.getScaleY();
    const bool bOpaque = (nColour >> 24) == 255 && nBlend == 0 && key.fRotation == 0.0f && drawsOpaque(image);
    if (sprite.getPointCount() > 0) {
        key.box = m_dirty.screen();
        record.bVolatile = true;
    } else {
        key.box = spriteBox(sprite, image, pData->m_content, bOpaque ? &record.opaque : nullptr);
    }
    return true;
}

// The sprite's data names its record of the last frame and learns this one.
void SDL3DVideoDriverBase::linkRecord(Sprite& sprite, DrawRecord& record) {
    auto* pData = dynamic_cast<Drv3DSpriteData*>(sprite.getDriverData());
    if (!pData) {
        std::unique_ptr<Drv3DSpriteData> pNew = createSpriteData();
        pData = pNew.get();
        sprite.setDriverData(std::move(pNew));
    }
    if (pData->m_nVolatile < 0)
        pData->m_nVolatile = dynamic_cast<VideoSprite*>(&sprite) || dynamic_cast<FlashSprite*>(&sprite) ? 1 : 0;
    record.bVolatile = record.bVolatile || pData->m_nVolatile == 1;
    const bool bListedLast = pData->m_nRecordFrame == m_changes.lastFrameNumber();
    record.nLast = bListedLast ? pData->m_nRecordIndex : -1;
    pData->m_nRecordFrame = m_changes.frameNumber();
    pData->m_nRecordIndex = m_changes.size();
}

// The device pixels the sprite's tiles may touch (where they may draw); with
// pOpaque, also those they surely cover (rotation 0, an opaque picture, whose
// content is its whole rectangle).
ScreenBox SDL3DVideoDriverBase::spriteBox(const Sprite& sprite, const SDLImage& image, const ContentBox& content,
                                          ScreenBox* pOpaque) const {
    const Point offset = anchorOffset(image);
    const Point pos = sprite.getPosition();
    const float x = pos.x - 0.5f, y = pos.y - 0.5f;
    const float aX[4] = {offset.x + content.x0, offset.x + content.x1, offset.x + content.x0, offset.x + content.x1};
    const float aY[4] = {offset.y + content.y0, offset.y + content.y0, offset.y + content.y1, offset.y + content.y1};
    float fMinX = kFar, fMinY = kFar, fMaxX = -kFar, fMaxY = -kFar;
    const bool bPlain = sprite.getRotation() == 0.0f && !sprite.isScaled();
    const render::Mat4 view =
        bPlain ? render::Mat4::identity()
               : render::multiply(render::multiply(render::scaling(sprite.getScaleX(), sprite.getScaleY(), 1.0f),
                                                   render::rotationZ(sprite.getRotation() * kDegreesToRadians)),
                                  render::translation(x, y, 0.0f));
    for (int i = 0; i < 4; ++i) {
        float sx = x + aX[i], sy = y + aY[i];
        if (!bPlain) render::transformPoint(view, aX[i], aY[i], 0.0f, sx, sy);
        if (!std::isfinite(sx) || !std::isfinite(sy)) return m_dirty.screen();
        fMinX = std::min(fMinX, sx);
        fMaxX = std::max(fMaxX, sx);
        fMinY = std::min(fMinY, sy);
        fMaxY = std::max(fMaxY, sy);
    }
    // Logical to device pixels: the origin at the device's left margin.
    const float fShiftX = static_cast<float>(getMargin() - m_nOriginX), fShiftY = static_cast<float>(-m_nOriginY);
    fMinX += fShiftX;
    fMaxX += fShiftX;
    fMinY += fShiftY;
    fMaxY += fShiftY;
    ScreenBox box{floorPixel(fMinX) - kBoxMargin, floorPixel(fMinY) - kBoxMargin, ceilPixel(fMaxX) + kBoxMargin,
                  ceilPixel(fMaxY) + kBoxMargin};
    box.clipTo(m_dirty.screen());
    if (pOpaque) {
        // Pixel centres inside the rectangle by more than the snapping.
        *pOpaque = ScreenBox{floorPixel(fMinX + kInside) + 1, floorPixel(fMinY + kInside) + 1,
                             ceilPixel(fMaxX - kInside), ceilPixel(fMaxY - kInside)};
        pOpaque->clipTo(m_dirty.screen());
        if (pOpaque->isEmpty()) *pOpaque = ScreenBox{};
    }
    return box;
}
