// Drawing only what changed against drawing the whole frame, over a few
// hundred frames of random changes: sprites move, turn, scale and mirror,
// fade, change tint, blend mode, outline and picture, go up and down the
// z-order, hide and show, pictures are edited and mirrored, and a second
// mode is pushed over the first and popped. Some pictures reach their
// clamped edge texels through texture coordinates past [0, 1]. Every frame
// drawn only where it changed must be the same frame drawn whole, byte for
// byte; a failure names the frame, what changed in it and the first pixel
// that differs. The seed is fixed: a failure repeats.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "sdl/sdltest_driver.h"
#include "testkit/testkit_boxes.h"
#include "testkit/testkit_tempdir.h"
#include "testkit/testkit_texturedvideo.h"
#include "render/tiles3d.h"

using namespace sdltest;

namespace {

constexpr int kWidth = 320, kHeight = 240;
constexpr int kFrames = 300;
constexpr uint32_t kSeed = 20240611u;

// Uploads that map the surface tiles of chosen pictures onto texture
// coordinates from -0.3 to 1.3 across and -0.25 to 1.25 down: each picture
// then shows its clamped edge texels around its own.
class StretchingDriver : public D3D7VideoDriver {
public:
    void stretch(const SDLImage& image) { m_stretched.insert(image.getSurface().get()); }

protected:
    void uploadTexture(Drv3DTileData& tiles, int nIndex, Drv3DSurfaceData& data, Surface& source, int nFirstCorner,
                       int x0, int y0, int x1, int y1, bool bAlpha) override {
        D3D7VideoDriver::uploadTexture(tiles, nIndex, data, source, nFirstCorner, x0, y0, x1, y1, bAlpha);
        if (!m_stretched.count(&source)) return;
        const float aU[4] = {-0.3f, 1.3f, 1.3f, -0.3f}, aV[4] = {-0.25f, -0.25f, 1.25f, 1.25f};
        for (size_t c = 0; c < 4; ++c) {
            tiles.m_vU[static_cast<size_t>(nFirstCorner) + c] = aU[c];
            tiles.m_vV[static_cast<size_t>(nFirstCorner) + c] = aV[c];
        }
    }

private:
    std::set<const Surface*> m_stretched;
};

struct PictureSpec {
    const char* szName;
    int w, h;
    bool bAlpha, bStretched;
    ColorFn fn;
};

std::string num(float f) {
    std::ostringstream s;
    s << f;
    return s.str();
}

Color gradient(int x, int y) { return Color(x * 6 % 256, y * 9 % 256, (x + y) * 4 % 256, 255); }
Color withAlpha(const Color& c, int a) { return Color(c.getRed(), c.getGreen(), c.getBlue(), a); }

// Content that touches some edges and not others, translucent, opaque,
// wholly clear, a single texel.
const PictureSpec kPictures[] = {
    {"opaque", 40, 30, false, false, gradient},
    {"solid", 32, 32, true, false, gradient},
    {"blob", 32, 32, true, false,
     [](int x, int y) { return withAlpha(gradient(x, y), x < 14 && y > 18 ? 60 + x * 12 : 0); }},
    {"stripe", 64, 16, true, false, [](int x, int y) { return withAlpha(gradient(x, y), y == 7 ? 255 : 0); }},
    {"haze", 24, 40, true, false, [](int x, int y) { return withAlpha(gradient(x, y), 100); }},
    {"clear", 16, 16, true, false, [](int x, int y) { return withAlpha(gradient(x, y), 0); }},
    {"dot", 20, 20, true, false, [](int x, int y) { return withAlpha(gradient(x, y), x == 9 && y == 9 ? 200 : 0); }},
    {"ring", 50, 36, true, false,
     [](int x, int y) {
         const int d = (x - 25) * (x - 25) + (y - 18) * (y - 18);
         return withAlpha(gradient(x, y), d > 64 && d < 196 ? 180 : 0);
     }},
    {"opaque*", 32, 16, false, true, gradient},
    {"blob*", 32, 32, true, true,
     [](int x, int y) { return withAlpha(gradient(x, y), x < 10 && y > 20 ? 220 : 0); }},
    {"stripe*", 16, 32, true, true, [](int x, int y) { return withAlpha(gradient(x, y), x == 15 ? 255 : 0); }},
    {"solid*", 64, 64, true, true, gradient},
};
constexpr int kPictureCount = static_cast<int>(std::size(kPictures));
constexpr int kClearPicture = 5;

class ChangedDriverRandom : public DriverTest {
protected:
    std::unique_ptr<D3D7VideoDriver> makeDriver() override { return std::make_unique<StretchingDriver>(); }
    void SetUp() override {
        DriverTest::SetUp();
        ASSERT_TRUE(m_pVideo->setVideoMode(kWidth, kHeight, 0));
        m_pReference = std::make_unique<render::RenderDevice>(kWidth, kHeight, false);
        for (const PictureSpec& spec : kPictures) {
            m_vPictures.push_back(picture(spec.w, spec.h, spec.bAlpha, spec.fn));
            if (spec.bStretched) static_cast<StretchingDriver*>(m_pVideo)->stretch(*m_vPictures.back());
        }
        // Opaque under most of the screen, nothing along its right edge.
        add(picture(290, 220, false, gradient), 0, 10, 0);
        m_overlay.setFlags(GameMode::kActive | GameMode::kVisible | GameMode::kDrawBelow);
        for (int i = 0; i < 16; ++i) {
            GameMode& mode = i < 12 ? m_mode : m_overlay;
            SpritePtr p = mode.addSprite(new Sprite(pictureAt(below(kPictureCount)), 0, 0, 1 + below(5)));
            p->setPosition(between(-20, kWidth), between(-20, kHeight));
            m_vSprites.push_back(p);
        }
        m_app.advanceFrameCount(2);
    }
    void TearDown() override {
        if (m_bOverlay) m_app.unstackMode(&m_overlay);
        m_overlay.removeAllSprites();
        DriverTest::TearDown();
    }

    int below(int n) { return static_cast<int>(m_rng() % static_cast<uint32_t>(n)); }
    float between(float a, float b) { return a + (b - a) * static_cast<float>(m_rng() % 100000) / 100000.0f; }
    // On a quarter of a pixel, as positions often are.
    float quarters(float a, float b) { return static_cast<float>(static_cast<int>(between(a, b) * 4)) / 4.0f; }
    Zep::SmartPtr<Image> pictureAt(int n) { return Zep::SmartPtr<Image>(m_vPictures[static_cast<size_t>(n)].get()); }

    // One random change; what it did.
    std::string change() {
        const int nSprite = below(static_cast<int>(m_vSprites.size()));
        Sprite& s = *m_vSprites[static_cast<size_t>(nSprite)];
        const std::string sWho = "sprite " + std::to_string(nSprite) + " ";
        switch (below(13)) {
            case 0:
            case 1: {
                const Point at = below(2) ? Point(quarters(-30, kWidth), quarters(-30, kHeight))
                                          : s.getPosition() + Point(between(-6, 6), between(-6, 6));
                s.setPosition(at);
                return sWho + "moved to " + num(at.x) + "," + num(at.y);
            }
            case 2: {
                const float f = below(3) ? between(-180, 180) : 0.0f;
                s.setRotation(f);
                return sWho + "turned to " + num(f);
            }
            case 3: {
                const float aScales[] = {1.0f, 0.5f, 1.5f, -1.0f, 0.75f, 2.0f, -0.6f, 1.0f};
                const float sx = aScales[below(8)], sy = aScales[below(8)];
                s.setScale(sx, sy);
                return sWho + "scaled " + num(sx) + "," + num(sy);
            }
            case 4: {
                const float aAlphas[] = {0.0f, 0.3f, 0.5f, 0.8f, 1.0f, 1.0f};
                const float f = aAlphas[below(6)];
                s.setAlpha(f);
                return sWho + "alpha " + num(f);
            }
            case 5: {
                const Color c(below(256), below(256), below(256), 255);
                s.setColor(below(3) ? c : Color(255, 255, 255, 255));
                return sWho + "tinted";
            }
            case 6:
                s.setBlendMode(1 - s.getBlendMode());
                return sWho + "blend " + std::to_string(s.getBlendMode());
            case 7: return outline(s, sWho);
            case 8: {
                const int n = below(kPictureCount);
                s.setImage(pictureAt(n));
                return sWho + "shows " + kPictures[n].szName;
            }
            case 9: {
                const int n = below(7);
                s.setZOrder(n);
                return sWho + "to z " + std::to_string(n);
            }
            case 10:
                s.setVisible(!s.isVisible());
                return sWho + (s.isVisible() ? "shown" : "hidden");
            case 11: return editPicture();
            default: return toggleOverlay();
        }
    }
    // Every sprite as it stands, for a failure's message.
    std::string scene() {
        std::string s = m_bOverlay ? "second mode up" : "second mode down";
        for (size_t i = 0; i < m_vSprites.size(); ++i) {
            const Sprite& p = *m_vSprites[i];
            const Color c = p.getColor();
            s += "\n  sprite " + std::to_string(i) + ": " + pictureName(p) + " at " + num(p.getPosition().x) + "," +
                 num(p.getPosition().y) + " z " + std::to_string(p.getZOrder()) + " turned " + num(p.getRotation()) +
                 " scaled " + num(p.getScaleX()) + "," + num(p.getScaleY()) + " alpha " + num(p.getAlpha()) +
                 " tint " + std::to_string(c.getRed()) + "," + std::to_string(c.getGreen()) + "," +
                 std::to_string(c.getBlue()) + " blend " + std::to_string(p.getBlendMode()) + " points " +
                 std::to_string(p.getPointCount()) + (p.isVisible() ? "" : " hidden");
        }
        return s;
    }
    std::string pictureName(const Sprite& p) {
        for (size_t i = 0; i < m_vPictures.size(); ++i)
            if (p.getImage().get() == m_vPictures[i].get()) return kPictures[i].szName;
        return "none";
    }
    // A fan of three to five points about the sprite; or, when a sprite has
    // one, that outline removed. Outlines are drawn over the whole screen
    // every frame: one at a time, for a few frames.
    std::string outline(Sprite& s, const std::string& sWho) {
        for (size_t i = 0; i < m_vSprites.size(); ++i)
            if (m_vSprites[i]->getPointCount() > 0) {
                m_vSprites[i]->setPoints(Zep::List<Point>());
                return "sprite " + std::to_string(i) + " outline removed";
            }
        Zep::List<Point> lPoints;
        const int n = 3 + below(3);
        for (int i = 0; i < n; ++i) lPoints.add(Point(between(-15, 40), between(-15, 40)));
        s.setPoints(lPoints);
        // An outline's picture is often wholly clear: the fan alone shows.
        if (below(2)) s.setImage(pictureAt(kClearPicture));
        return sWho + "outlined with " + std::to_string(n) + " points";
    }
    std::string editPicture() {
        const int n = below(kPictureCount);
        SDLImage& image = *m_vPictures[static_cast<size_t>(n)];
        if (below(2)) {
            image.hflip();
            return std::string(kPictures[n].szName) + " mirrored";
        }
        const int x = below(kPictures[n].w), y = below(kPictures[n].h);
        {
            ImageLock lock(image);
            image.writePixel(x, y, Color(below(256), below(256), below(256), below(256)));
        }
        image.onPixelsChanged();
        return std::string(kPictures[n].szName) + " pixel " + std::to_string(x) + "," + std::to_string(y) + " edited";
    }
    std::string toggleOverlay() {
        m_bOverlay = !m_bOverlay;
        if (m_bOverlay)
            m_app.stackMode(&m_overlay);
        else
            m_app.unstackMode(&m_overlay);
        return m_bOverlay ? "second mode pushed" : "second mode popped";
    }

    testkit::ScopedEnv m_env{"SDL_VIDEODRIVER", "dummy"};
    std::unique_ptr<render::RenderDevice> m_pReference;
    std::mt19937 m_rng{kSeed};
    std::vector<Zep::SmartPtr<SDLImage>> m_vPictures;
    std::vector<SpritePtr> m_vSprites;
    GameMode m_overlay;
    bool m_bOverlay = false;
};

TEST_F(ChangedDriverRandom, EveryFrameEqualsTheWholeFrame) {
    int nPartial = 0;
    for (int nFrame = 0; nFrame < kFrames; ++nFrame) {
        std::string sChanges;
        for (int n = 1 + below(3); n > 0; --n) sChanges += change() + "; ";
        m_pVideo->render();
        const DirtyRects& drawn = m_pVideo->drawnBoxes();
        nPartial += drawn.isWholeScreen() || drawn.isEmpty() ? 0 : 1;
        ASSERT_EQ(testkit::compareWithWhole(*m_pVideo, *m_pReference), "")
            << "frame " << nFrame << " after " << sChanges << "drawing " << testkit::boxesText(drawn) << "; "
            << scene();
        m_app.advanceFrameCount(2);
    }
    // A good share of the frames drew only part of the screen: the changed-only
    // drawing was put to work.
    EXPECT_GT(nPartial, kFrames / 3);
}

}  // namespace
