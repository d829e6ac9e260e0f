// The textured video driver and its software device under SDL's dummy video
// driver: exact back-buffer pixels of sprites, blending, the mask, rotation
// and scale, polygons, tiling of a large picture, state caching, lost and
// wrong-mode devices, and the start-up failure.
#include <gtest/gtest.h>

#include <random>

#include <zep2/error.h>

#include "image/memimage.h"
#include "sdl/sdl_imagefactory.h"
#include "render/renderscale.h"
#include "sdl/sdltest_driver.h"
#include "testkit/testkit_tempdir.h"

using namespace sdltest;

namespace {

const Color kRed(255, 0, 0, 255), kGreen(0, 255, 0, 255), kBlue(0, 0, 255, 255), kWhite(255, 255, 255, 255);
constexpr uint32_t kBlack = 0;

class D3D7Render : public DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        ASSERT_TRUE(m_pVideo->setVideoMode(800, 600, m_nFlags));
    }
    void frame() { m_pVideo->render(); }
    // Modes set so far, by the log's "D: Set" lines.
    int modeSets() {
        const std::string sLog = m_files.logText();
        int n = 0;
        for (size_t i = sLog.find("D: Set "); i != std::string::npos; i = sLog.find("D: Set ", i + 1)) ++n;
        return n;
    }

    testkit::ScopedEnv m_env{"SDL_VIDEODRIVER", "dummy"};
    int m_nFlags = 0;
};

class D3D7RenderStencil : public D3D7Render {
protected:
    D3D7RenderStencil() { m_nFlags = static_cast<int>(VideoFlag::Stencil); }
};

Color quadrant(int x, int y) { return x == 0 ? (y == 0 ? kRed : kBlue) : (y == 0 ? kGreen : kWhite); }

// At (10, 20) with the insertion point (5, 5), the first texel's corner is
// at (4.5, 14.5): texel (0, 0) fills pixel (5, 15) exactly.
TEST_F(D3D7Render, TheFirstTexelLandsOnItsPixel) {
    Zep::SmartPtr<SDLImage> p = picture(4, 4, true, [](int x, int y) { return Color(x * 60, y * 60, 7, 255); });
    p->setInsPoint(5, 5);
    add(p, 10, 20);
    frame();
    EXPECT_EQ(px(5, 15), rgb(0, 0, 7));
    EXPECT_EQ(px(8, 18), rgb(180, 180, 7));
    EXPECT_EQ(px(6, 17), rgb(60, 120, 7));
    for (auto [x, y] : {std::pair{4, 15}, {9, 15}, {5, 14}, {5, 19}}) EXPECT_EQ(px(x, y), kBlack) << x << "," << y;
    EXPECT_EQ(m_pVideo->presentCount(), 1);
}

// Texel x diffuse, alpha and the two blend modes over a flat background.
TEST_F(D3D7Render, TintAlphaAndBlendModes) {
    struct Case {
        const char* szName;
        Color back, sprite, tint;
        float fAlpha;
        int nBlend;
        uint32_t nExpected;
    } aCases[] = {
        {"tint x white", Color(0, 0, 0, 255), kWhite, Color(200, 100, 50, 255), 1.0f, 0, rgb(200, 100, 50)},
        {"alpha 0.5 over black", Color(0, 0, 0, 255), kWhite, kWhite, 0.5f, 0, rgb(127, 127, 127)},
        {"alpha 0.5 over grey", Color(100, 100, 100, 255), Color(200, 0, 50, 255), kWhite, 0.5f, 0, rgb(150, 50, 75)},
        {"additive", Color(100, 100, 100, 255), Color(100, 100, 100, 255), kWhite, 1.0f, 1, rgb(200, 200, 200)},
        {"additive saturates", Color(200, 100, 0, 255), Color(200, 200, 200, 255), kWhite, 1.0f, 1, rgb(255, 255, 200)},
    };
    for (const Case& c : aCases) {
        m_mode.removeAllSprites();
        add(flat(8, 8, c.back, false), 0, 0, 0);
        SpritePtr p = add(flat(4, 4, c.sprite), 2, 2, 1);
        p->setColor(c.tint);
        p->setAlpha(c.fAlpha);
        p->setBlendMode(c.nBlend);
        frame();
        EXPECT_EQ(px(3, 3), c.nExpected) << c.szName;
    }
}

// Flags 3 write the mask under alpha above 0; the mask test then draws only
// there; the next frame starts with a cleared mask.
TEST_F(D3D7RenderStencil, MaskWrittenUnderOpaquePixelsThenTestedThenCleared) {
    SpritePtr pMask = add(picture(4, 2, true, [](int x, int) { return x < 2 ? kRed : Color(0, 0, 255, 0); }), 0, 0, 0);
    pMask->setMaskFlags(3);
    SpritePtr pTested = add(flat(4, 2, kGreen), 0, 0, 1);
    pTested->setMaskTest(true);
    frame();
    EXPECT_EQ(std::vector<uint32_t>({px(0, 0), px(1, 1), px(2, 0), px(3, 1)}),
              std::vector<uint32_t>({rgb(0, 255, 0), rgb(0, 255, 0), kBlack, kBlack}));
    EXPECT_EQ(device().stencil(1, 0), 1);
    EXPECT_EQ(device().stencil(2, 0), 0);
    pMask->setVisible(false);
    add(flat(4, 2, kBlue, false), 0, 0, -1);
    frame();
    EXPECT_EQ(device().stencil(1, 0), 0);
    EXPECT_EQ(px(1, 0), rgb(0, 0, 255));
}

// Flags 2: the mask is written, no colour changes.
TEST_F(D3D7RenderStencil, MaskOnlySpriteChangesNoColour) {
    add(flat(4, 4, kBlue, false), 0, 0, 0);
    add(flat(2, 2, kRed), 1, 1, 1)->setMaskFlags(2);
    frame();
    EXPECT_EQ(px(1, 1), rgb(0, 0, 255));
    EXPECT_EQ(px(2, 2), rgb(0, 0, 255));
    EXPECT_EQ(device().stencil(2, 2), 1);
    EXPECT_EQ(device().stencil(3, 3), 0);
}

// A 2 x 2 checker turned 90 degrees clockwise and doubled: its corners land
// on the 4 x 4 block left of and below (100, 100).
TEST_F(D3D7Render, RotatedAndScaledChecker) {
    SpritePtr p = add(picture(2, 2, false, quadrant), 100, 100);
    p->setRotation(90.0f);
    p->setScale(2.0f);
    frame();
    EXPECT_EQ(px(99, 100), rgb(255, 0, 0));
    EXPECT_EQ(px(99, 103), rgb(0, 255, 0));
    EXPECT_EQ(px(96, 100), rgb(0, 0, 255));
    EXPECT_EQ(px(96, 103), rgb(255, 255, 255));
    for (auto [x, y] : {std::pair{100, 101}, {95, 101}, {97, 99}, {97, 104}}) EXPECT_EQ(px(x, y), kBlack) << x << "," << y;
}

// Points make an untextured fan in the sprite's tint.
TEST_F(D3D7Render, PolygonFan) {
    SpritePtr p = add(flat(1, 1, kWhite), 50, 50);
    p->setPoints(Zep::List<Point>{Point(0, 0), Point(10, 0), Point(0, 10)});
    p->setColor(Color(0, 200, 0, 255));
    frame();
    for (auto [x, y] : {std::pair{50, 50}, {58, 50}, {50, 58}, {54, 54}}) EXPECT_EQ(px(x, y), rgb(0, 200, 0)) << x << "," << y;
    for (auto [x, y] : {std::pair{49, 50}, {59, 51}, {56, 56}, {50, 60}}) EXPECT_EQ(px(x, y), kBlack) << x << "," << y;
}

// 800 x 600 cuts into 40 tiles on an 800 x 608 grid; drawn at (0, 0) it is
// its source pixel for pixel.
TEST_F(D3D7Render, NoisePictureRoundTripsThroughFortyTiles) {
    std::mt19937 random(20);
    std::vector<uint32_t> vNoise(800 * 600);
    for (uint32_t& v : vNoise) v = random() & 0xFFFFFFu;
    Zep::SmartPtr<SDLImage> p = picture(800, 600, false, [&](int x, int y) {
        const uint32_t v = vNoise[static_cast<size_t>(y) * 800 + x];
        return Color(v >> 16, (v >> 8) & 0xFF, v & 0xFF, 255);
    });
    add(p, 0, 0);
    frame();
    int nDiffer = 0;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) nDiffer += px(x, y) != vNoise[static_cast<size_t>(y) * 800 + x] ? 1 : 0;
    EXPECT_EQ(nDiffer, 0);
    auto& tiles = static_cast<Drv3DSurfaceData*>(p->getSurface()->getDriverData())->tiles();
    EXPECT_EQ(std::vector<int>({tiles.m_nCount, tiles.m_nGridWidth, tiles.m_nGridHeight}),
              std::vector<int>({40, 800, 608}));
    // Tile 27 opens the right-hand column (32 wide), 36 is the first of the
    // bottom row (24 high in a 32-high texture), 39 the corner.
    EXPECT_EQ(std::vector<float>({tiles.m_vX[4 * 27], tiles.m_vX[4 * 27 + 2], tiles.m_vU[4 * 27 + 2]}),
              std::vector<float>({768, 800, 1.0f}));
    EXPECT_EQ(std::vector<float>({tiles.m_vY[4 * 36], tiles.m_vY[4 * 36 + 2], tiles.m_vV[4 * 36 + 2]}),
              std::vector<float>({576, 600, 0.75f}));
    EXPECT_EQ(std::vector<float>({tiles.m_vX[4 * 39], tiles.m_vY[4 * 39]}), std::vector<float>({768, 576}));
}

// Blend, alpha-test and stencil states go to the device only when a pending
// value changed: three calls per change.
TEST_F(D3D7Render, StatesAreSentOnlyOnChange) {
    struct Case {
        std::vector<int> vBlend;
        int nFirstFrame, nSecondFrame;
    } aCases[] = {{{0, 0}, 3, 0}, {{1, 0}, 6, 6}, {{0, 1, 1}, 6, 6}, {{1}, 3, 0}};
    for (const Case& c : aCases) {
        m_mode.removeAllSprites();
        ASSERT_TRUE(m_pVideo->setVideoMode(800, 600, 0));
        for (int nBlend : c.vBlend) add(flat(2, 2, kWhite), 0, 0)->setBlendMode(nBlend);
        const int nStart = device().stateCalls();
        frame();
        const int nAfterFirst = device().stateCalls();
        frame();
        EXPECT_EQ(std::vector<int>({nAfterFirst - nStart, device().stateCalls() - nAfterFirst}),
                  std::vector<int>({c.nFirstFrame, c.nSecondFrame}))
            << c.vBlend.size();
    }
}

// A lost device skips whole frames; a wrong mode in a window rebuilds the
// mode; a rebuild that still cannot start a scene is fatal.
TEST_F(D3D7Render, LostDeviceSkipsAndWrongModeResets) {
    add(flat(2, 2, kRed), 1, 1);
    device().injectStatus(render::Status::Lost);
    frame();
    EXPECT_EQ(m_pVideo->presentCount(), 0);
    EXPECT_EQ(px(1, 1), kBlack);
    device().injectStatus(render::Status::WrongMode);
    frame();
    EXPECT_EQ(device().status(), render::Status::Ok);
    EXPECT_EQ(modeSets(), 2);
    EXPECT_EQ(m_pVideo->presentCount(), 1);
    EXPECT_EQ(px(1, 1), rgb(255, 0, 0));
    m_pVideo->forceDeviceStatus(render::Status::WrongMode);
    device().injectStatus(render::Status::WrongMode);
    try {
        frame();
        ADD_FAILURE() << "no exception";
    } catch (const Zep::FatalErrorException& e) {
        EXPECT_STREQ(e.getMessage(), "Couldn't reset video mode");
    }
}

// Colour-key texels stay transparent and the padding repeats the last
// copied column and row, so a scaled picture keeps its edge colour.
TEST_F(D3D7Render, PaddingRepeatsTheEdgeAndKeyTexelsAreTransparent) {
    const Color kKey(9, 9, 9, 255);
    Zep::SmartPtr<SDLImage> p = picture(3, 3, false, [&](int x, int y) { return x == 1 && y == 1 ? kKey : kWhite; });
    p->setColorKey(kKey);
    SpritePtr pSprite = add(p, 10, 10);
    pSprite->setScale(4.0f);
    frame();
    auto& tiles = static_cast<D3D7TileData&>(static_cast<Drv3DSurfaceData*>(p->getSurface()->getDriverData())->tiles());
    const uint32_t* pTexels = tiles.slot(0).get()->texels();
    EXPECT_EQ(pTexels[1 * 4 + 1], 0u);
    EXPECT_EQ(std::vector<uint32_t>({pTexels[3], pTexels[3 * 4], pTexels[3 * 4 + 3]}),
              std::vector<uint32_t>({0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu}));
    // The last column of the scaled picture is white, not faded into padding.
    EXPECT_EQ(px(21, 11), rgb(255, 255, 255));
    EXPECT_EQ(px(11, 21), rgb(255, 255, 255));
}

// The cursor sprite comes last, at the mouse, only while the cursor shows;
// an image that is not an SDL picture is skipped.
TEST_F(D3D7Render, CursorDrawnLastAtTheMouseWhileVisible) {
    m_mode.addFlags(GameMode::kClearScreen);
    add(flat(100, 100, kBlue, false), 0, 0);
    m_mode.addSprite(new Sprite(Zep::SmartPtr<Image>(new MemImage(8, 8, true)), 50, 50, 1));
    EXPECT_TRUE(m_pVideo->getCursorSprite().isNULL());
    Zep::SmartPtr<SDLImage> pCursor = flat(2, 2, kRed);
    m_pVideo->setCursorImage(pCursor.get());
    ASSERT_TRUE(m_pVideo->getCursorSprite().notNULL());
    m_app.setMousePosition(30, 40);
    frame();
    EXPECT_EQ(std::vector<uint32_t>({px(30, 40), px(31, 41), px(32, 40), px(50, 50)}),
              std::vector<uint32_t>({rgb(255, 0, 0), rgb(255, 0, 0), rgb(0, 0, 255), rgb(0, 0, 255)}));
    m_pVideo->setCursorVisible(false);
    frame();
    EXPECT_EQ(px(30, 40), rgb(0, 0, 255));
}

// A picture edited after it was tiled shows the edit once the frame counter
// moved on; within the frame of the mode change tiles are rebuilt at each use.
TEST_F(D3D7Render, EditedPictureIsTiledAgain) {
    Zep::SmartPtr<SDLImage> p = flat(4, 4, kRed);
    add(p, 0, 0);
    frame();
    auto& tiles = static_cast<Drv3DSurfaceData*>(p->getSurface()->getDriverData())->tiles();
    EXPECT_EQ(tiles.m_nStamp, 0);
    m_app.advanceFrameCount(2);
    frame();
    EXPECT_EQ(tiles.m_nStamp, 2);
    frame();
    EXPECT_EQ(tiles.m_nStamp, 2);
    m_app.advanceFrameCount(1);
    {
        ImageLock lock(*p);
        p->writePixel(1, 1, kGreen);
    }
    p->onPixelsChanged();
    m_app.advanceFrameCount(1);
    frame();
    EXPECT_EQ(tiles.m_nStamp, 4);
    EXPECT_EQ(std::vector<uint32_t>({px(1, 1), px(2, 2)}), std::vector<uint32_t>({rgb(0, 255, 0), rgb(255, 0, 0)}));
}

// Mask flags with bit 2 clear the mask only when the pending states change:
// two such sprites in a row clear it once, so both masks stay.
TEST_F(D3D7RenderStencil, ClearFirstHappensOnlyOnAStateChange) {
    add(flat(2, 2, kRed), 0, 0, 0)->setMaskFlags(6);
    add(flat(2, 2, kRed), 4, 0, 1)->setMaskFlags(6);
    frame();
    EXPECT_EQ(std::vector<int>({device().stencil(0, 0), device().stencil(4, 0)}), std::vector<int>({1, 1}));
}

TEST(TileSizes, PowersOfTwoAndTheCheapestSide) {
    const std::pair<int, int> aPowers[] = {{-3, 1}, {0, 1}, {1, 1}, {2, 2}, {3, 4}, {33, 64}, {512, 512}};
    for (auto [n, nWant] : aPowers) EXPECT_EQ(nextPowerOfTwo(n), nWant) << n;
    const std::pair<int, int> aSides[] = {{800, 256}, {600, 64}, {10, 64}, {128, 128}, {1024, 512}, {40, 64}};
    for (auto [n, nWant] : aSides) EXPECT_EQ(chooseTileSize(n, 64, 512), nWant) << n;
}

// Image tiles over the 800 x 600 grid: strict overlap, coordinates inside
// the surface tile, mirroring and the picture's scale.
TEST_F(D3D7Render, ImageTilesCutFromTheSurfaceGrid) {
    Zep::SmartPtr<SDLImage> pSheet = flat(800, 600, kWhite, false);
    auto tilesOf = [&](int x, int y, int w, int h, bool bFlip) {
        Zep::SmartPtr<SDLImage> pPart = new SDLImage();
        pPart->setSubImage(*pSheet, x, y, w, h);
        if (bFlip) pPart->hflip();
        m_pVideo->prepareImage(pPart.get());
        const Drv3DTileData& t = static_cast<Drv3DImageData*>(pPart->getDriverData())->tiles();
        return std::vector<float>({float(t.m_nCount), t.m_vX[0], t.m_vX[2], t.m_vY[0], t.m_vY[2], t.m_vU[0], t.m_vU[2],
                                   t.m_vV[0], t.m_vV[2]});
    };
    // Touching tiles 0, 2 and 10 only along edges: one tile.
    EXPECT_EQ(tilesOf(256, 0, 256, 64, false), std::vector<float>({1, 0, 256, 0, 64, 0, 1, 0, 1}));
    // Across the corner of four tiles; the first is the top-left part.
    EXPECT_EQ(tilesOf(250, 60, 10, 10, false), std::vector<float>({4, 0, 6, 0, 4, 250 / 256.0f, 1, 60 / 64.0f, 1}));
    // Mirrored, data width 100: X = 0 becomes 100.
    EXPECT_EQ(tilesOf(0, 0, 100, 10, true), std::vector<float>({1, 100, 0, 0, 10, 0, 100 / 256.0f, 0, 10 / 64.0f}));
    pSheet->setPixelScale(2.0f);
    EXPECT_EQ(tilesOf(256, 0, 256, 64, false), std::vector<float>({1, 0, 128, 0, 32, 0, 1, 0, 1}));
}

// The present's scaling: pixel centres mapped back, weights in 1/256.
TEST(RenderScale, BlackWhitePairDoubled) {
    const uint32_t aSrc[2] = {0xFF000000u, 0xFFFFFFFFu};
    uint32_t aDst[4] = {};
    scaleFrame(aSrc, 2, 1, aDst, 4, 1);
    EXPECT_EQ(std::vector<uint32_t>(aDst, aDst + 4),
              std::vector<uint32_t>({0xFF000000u, 0xFF404040u, 0xFFBFBFBFu, 0xFFFFFFFFu}));
}

// No mode at all: the message box, then the program ends with code 1.
class NoModes : public D3D7VideoDriver {
protected:
    bool trySetMode(int, int, int, bool, int, uint32_t) override { return false; }
};

// The window icon is loaded before the first mode is set: it is kept in the
// texture layout like every later picture.
TEST(D3D7RenderStart, PicturesLoadedBeforeTheFirstModeTakeTheTextureLayout) {
    testkit::ScopedEnv env{"SDL_VIDEODRIVER", "dummy"};
    testkit::TempDir dir;
    testkit::AppFiles files(dir);
    testkit::TestApp app;
    auto pPlatform = std::make_unique<testkit::FakePlatform>();
    pPlatform->setVideoDriver(std::make_unique<D3D7VideoDriver>());
    pPlatform->setImageFactory(std::make_unique<SDLImageFactory>());
    app.setPlatform(std::move(pPlatform));
    app.initCaches();
    app.addResourceProvider(testkit::memoryProvider({{"icon.png", imagetest::pngOf(2, 2, imagetest::pattern)}}),
                            false);
    const auto* pIcon = dynamic_cast<const SDLImage*>(app.getImage("icon").get());
    ASSERT_NE(pIcon, nullptr);
    const SDL_PixelFormat* pFormat = pIcon->getSurface()->getFormat();
    EXPECT_EQ(std::vector<uint32_t>({pFormat->BitsPerPixel, pFormat->Amask, pFormat->Rmask}),
              std::vector<uint32_t>({32, 0xFF000000u, 0x000000FFu}));
}

TEST(D3D7RenderDeathTest, NoModeShowsInitializationErrorAndExits) {
    testkit::ScopedEnv env{"SDL_VIDEODRIVER", "dummy"};
    EXPECT_EXIT(
        {
            SDL_Init(SDL_INIT_NOPARACHUTE);
            NoModes driver;
            driver.setVideoMode(800, 600, 0);
        },
        ::testing::ExitedWithCode(1),
        "Initialization error: Can't set your video mode to the appropriate resolution.\r\nPlease update your video "
        "drivers and/or video card.");
}

}  // namespace
