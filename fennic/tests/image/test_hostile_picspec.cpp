// Hostile picture definitions: every number of a ".subimage" or ".spec" out
// of its range fails the load with its own message; numbers at the edges of
// the ranges load, flip and place a sprite without overflowing.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <zep2/error.h>
#include <zep2/resource.h>

#include "image/imagefactory.h"
#include "image/memimage.h"
#include "image/pngwriter.h"
#include "sprite/sprite.h"
#include "testkit/testkit_app.h"
#include "testkit/testkit_platform.h"

namespace {

Color colorAt(int x, int y) {
    return Color(static_cast<uint8_t>(x * 9), static_cast<uint8_t>(y * 13), static_cast<uint8_t>(x + y), 255);
}

Zep::SmartPtr<Zep::Resource> resourceOf(const void* pData, size_t nSize) {
    Zep::SmartPtr<Zep::Resource> p = new Zep::Resource(static_cast<int>(nSize), nullptr, true);
    if (nSize) std::memcpy(p->getData(), pData, nSize);
    return p;
}

Zep::SmartPtr<Zep::Resource> pngOf(int w, int h) {
    Zep::SmartPtr<MemImage> p = new MemImage(w, h, true);
    {
        ImageLock lock(*p);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) p->writePixel(x, y, colorAt(x, y));
    }
    const std::vector<uint8_t> png = encodePngRgba(*p);
    return resourceOf(png.data(), png.size());
}

// "wxh ins x,y data x,y wxh"
std::string layout(const Image& img) {
    return std::to_string(img.getWidth()) + "x" + std::to_string(img.getHeight()) + " ins " +
           std::to_string(img.getInsPointX()) + "," + std::to_string(img.getInsPointY()) + " data " +
           std::to_string(static_cast<int>(img.getDataOffset().x)) + "," +
           std::to_string(static_cast<int>(img.getDataOffset().y)) + " " + std::to_string(img.getDataWidth()) +
           "x" + std::to_string(img.getDataHeight());
}

// "cut" is a sub-image of the 16 x 12 "sheet"; "base" an 8 x 6 picture with
// a canvas definition.
class HostilePicSpec : public ::testing::Test {
protected:
    void SetUp() override {
        auto pPlatform = std::make_unique<testkit::FakePlatform>();
        pPlatform->setImageFactory(std::make_unique<MemImageFactory>());
        m_app.setPlatform(std::move(pPlatform));
        m_app.initCaches();
        auto pFiles = std::make_unique<Zep::MemoryResourceProvider>();
        m_pFiles = pFiles.get();
        m_app.addResourceProvider(std::move(pFiles), false);
        m_pFiles->add("sheet.png", pngOf(16, 12));
        m_pFiles->add("base.png", pngOf(8, 6));
    }

    // The picture that the definition file makes ("cut.subimage" or "base.spec").
    Zep::SmartPtr<Image> load(const std::string& sFile, const std::string& sText) {
        m_pFiles->add(sFile.c_str(), resourceOf(sText.data(), sText.size()));
        ImageFactory& factory = *m_app.getPlatform()->getImageFactory();
        return Zep::SmartPtr<Image>(factory.load(sFile.substr(0, sFile.find('.')).c_str()));
    }

    testkit::TestApp m_app;
    Zep::MemoryResourceProvider* m_pFiles = nullptr;
};

}  // namespace

// Built from "sheet 2 3 8 6" and "vcanvas 20 16 4 5", one number changed.
TEST_F(HostilePicSpec, NumbersOutOfRangeFailTheLoad) {
    const std::string sOffset = " out of range [-65536, 65536] at ", sSize = " out of range [0, 65536] at ";
    struct Row {
        const char* szFile;
        const char* szText;
        std::string sMessage;
    };
    const Row aRows[] = {
        {"cut.subimage", "sheet -2147483648 -2147483648 2147483647 2147483647",
         "x -2147483648" + sOffset + "cut.subimage"},
        {"cut.subimage", "sheet 2147483647 3 8 6", "x 2147483647" + sOffset + "cut.subimage"},
        {"cut.subimage", "sheet 2 -65537 8 6", "y -65537" + sOffset + "cut.subimage"},
        {"cut.subimage", "sheet 2 3 -1 6", "width -1" + sSize + "cut.subimage"},
        {"cut.subimage", "sheet 2 3 65537 6", "width 65537" + sSize + "cut.subimage"},
        {"cut.subimage", "sheet 2 3 8 4294967302", "height 4294967302" + sSize + "cut.subimage"},
        {"cut.subimage", "sheet 2 3 8 99999999999999999999", "height 99999999999999999999" + sSize + "cut.subimage"},
        {"base.spec", "vcanvas 2147483647 2147483647 -2147483648 -2147483648",
         "canvas width 2147483647" + sSize + "base.spec, line 1"},
        {"base.spec", "vcanvas 20 -16 4 5", "canvas height -16" + sSize + "base.spec, line 1"},
        {"base.spec", "vcanvas 20 16 -2147483648 5", "data x -2147483648" + sOffset + "base.spec, line 1"},
        {"base.spec", "vcanvas 20 16 4 65537", "data y 65537" + sOffset + "base.spec, line 1"},
        {"base.spec", "# fine first\nvcanvas 20 16 4 5\nvcanvas 20 16 4 2147483648",
         "data y 2147483648" + sOffset + "base.spec, line 3"},
    };
    for (const Row& row : aRows) {
        std::string sGot = "(loaded)";
        try {
            load(row.szFile, row.szText);
        } catch (const Zep::Exception& e) {
            sGot = std::string(e.className()) + ": " + e.getMessage();
        }
        EXPECT_EQ("FatalErrorException: " + row.sMessage, sGot) << row.szText;
    }
}

// Numbers at the edges of their ranges: the layout as loaded, after a
// horizontal and a vertical flip, the draw rectangle of a sprite at (0, 0)
// and the canvas pixel (0, 0) after the flips.
TEST_F(HostilePicSpec, EdgeValuesLoadAndFlip) {
    struct Row {
        const char* szFile;
        const char* szText;
        const char* szLoaded;
        const char* szFlipped;
        const char* szDrawRect;
        Color pixel;
    };
    const Color kMargin(0, 0, 0, 255);
    const Row aRows[] = {
        {"cut.subimage", "sheet -65520 0 65536 12", "65536x12 ins 0,0 data 65520,0 16x12",
         "65536x12 ins 65536,12 data 0,0 16x12", "(-65536, -12 - -65520, 0)", colorAt(15, 11)},
        {"cut.subimage", "sheet 65536 65536 65536 65536", "65536x65536 ins 0,0 data -65536,-65536 0x0",
         "65536x65536 ins 65536,65536 data 131072,131072 0x0", "(65536, 65536 - 65536, 65536)", kMargin},
        {"base.spec", "vcanvas 65536 65536 -65536 65536", "65536x65536 ins 0,0 data -65536,65536 8x6",
         "65536x65536 ins 65536,65536 data 131064,-6 8x6", "(65528, -65542 - 65536, -65536)", kMargin},
        {"base.spec", "vcanvas 0 0 0 0", "0x0 ins 0,0 data 0,0 8x6", "0x0 ins 0,0 data -8,-6 8x6",
         "(-8, -6 - 0, 0)", kMargin},
        {"base.spec", "vcanvas 16 12 8 6", "16x12 ins 0,0 data 8,6 8x6", "16x12 ins 16,12 data 0,0 8x6",
         "(-16, -12 - -8, -6)", colorAt(7, 5)},
    };
    for (const Row& row : aRows) {
        Zep::SmartPtr<Image> img = load(row.szFile, row.szText);
        EXPECT_EQ(row.szLoaded, layout(*img)) << row.szText;
        img->hflip();
        img->vflip();
        EXPECT_EQ(row.szFlipped, layout(*img)) << row.szText;
        EXPECT_EQ(row.pixel, img->getPixel(0, 0)) << row.szText;
        const Zep::SmartPtr<Sprite> pSprite = new Sprite(img, 0, 0, 0);
        EXPECT_STREQ(row.szDrawRect, pSprite->getDrawRect().toString().c_str()) << row.szText;
    }
}
