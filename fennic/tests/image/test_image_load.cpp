// Loading images by name: pictures, ".subimage" and ".spec" definitions, the
// factory, and the sub-images made through it.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <zep2/error.h>

#include "application/gameapp.h"
#include "image/imagetest_util.h"
#include "testkit/testkit_fixtures.h"
#include "testkit/testkit_platform.h"

using namespace imagetest;
using namespace testkit;

namespace {

Color sheetColor(int x, int y) {
    return Color(static_cast<uint8_t>(x), static_cast<uint8_t>(y), static_cast<uint8_t>(x ^ y), 255);
}

class ImageLoad : public ResourceTest {
protected:
    void SetUp() override {
        ResourceTest::SetUp();
        auto pPlatform = std::make_unique<testkit::FakePlatform>();
        pPlatform->setImageFactory(std::make_unique<MemImageFactory>());
        m_app.setPlatform(std::move(pPlatform));
        m_app.initCaches();
        add("sheet.png", pngOf(100, 80, sheetColor));
    }
    void TearDown() override { Image::setAutoTrim(false); }

    ImageFactory& factory() { return *m_app.getPlatform()->getImageFactory(); }
    Zep::SmartPtr<Image> load(const char* szName) { return Zep::SmartPtr<Image>(factory().load(szName)); }
    std::string loadError(const char* szName) {
        return messageOf<Zep::FatalErrorException>([&] { load(szName); });
    }
};

}  // namespace

TEST_F(ImageLoad, PlainPicture) {
    Image* pRaw = factory().load("sheet");
    EXPECT_EQ(0, pRaw->getRefCount());
    Zep::SmartPtr<Image> img(pRaw);
    EXPECT_EQ("100x80 ins 0,0 data 0,0 100x80 sheet", layout(*img) + " " + img->getName().c_str());
    EXPECT_EQ(sheetColor(42, 17), img->getPixel(42, 17));
    add("cut.subimage", "sheet 0 0 1 1");
    EXPECT_EQ((std::vector<bool>{true, false, true}),
              (std::vector<bool>{factory().exists("sheet"), factory().exists("nothing"), factory().exists("cut")}));
    EXPECT_EQ("MemImage::loadData : picture 'nothing' not found",
              messageOf<Zep::ResourceException>([&] { load("nothing"); }));
}

TEST_F(ImageLoad, SubImageAndCanvasDefinitions) {
    add("sheet_a.subimage", "sheet 10 20 30 40");
    add("sheet_b.subimage", "sheet   90 70\t30 40 extra tokens\n");  // past the sheet: a margin
    add("odd.subimage", "sheet 10x 2junk abc 5");                      // the numbers read like atoi
    add("big.png", pngOf(48, 56, sheetColor));
    add("big.spec", "vcanvas 64 64 8 4\n");
    add("many.png", pngOf(4, 4, sheetColor));
    add("many.spec", "# first, then replaced\nvcanvas 10 10 1 1\n\nvcanvas 20 30 2 3 # last wins\n");
    // A sub-image is cut first, then put on its canvas.
    add("both.subimage", "sheet 10 20 30 40");
    add("both.spec", "vcanvas 50 60 5 6");
    const std::tuple<const char*, const char*, int, int, Color> kCases[] = {
        {"sheet_a", "30x40 ins 0,0 data 0,0 30x40", 0, 0, sheetColor(10, 20)},
        {"sheet_a", "30x40 ins 0,0 data 0,0 30x40", 29, 39, sheetColor(39, 59)},
        {"sheet_b", "30x40 ins 0,0 data 0,0 10x10", 9, 9, sheetColor(99, 79)},
        {"sheet_b", "30x40 ins 0,0 data 0,0 10x10", 10, 10, Color(0, 0, 0, 255)},
        {"odd", "0x5 ins 0,0 data 0,0 0x0", 0, 0, Color(0, 0, 0, 255)},
        {"big", "64x64 ins 0,0 data 8,4 48x56", 8, 4, sheetColor(0, 0)},
        {"many", "20x30 ins 0,0 data 2,3 4x4", 2, 3, sheetColor(0, 0)},
        {"both", "50x60 ins 0,0 data 5,6 30x40", 5, 6, sheetColor(10, 20)},
    };
    for (const auto& [szName, szLayout, x, y, color] : kCases) {
        Zep::SmartPtr<Image> img = load(szName);
        EXPECT_STREQ(szName, img->getName().c_str());
        EXPECT_EQ(szLayout, layout(*img));
        EXPECT_EQ(color, img->getPixel(x, y)) << szName;
    }
    EXPECT_TRUE(load("sheet_b")->isTransparent(29, 39, 0));
}

TEST_F(ImageLoad, DefinitionErrors) {
    add("short.subimage", "sheet 1 2");
    EXPECT_EQ("List index out of range : 3 (have 3)", loadError("short"));
    for (const char* szName : {"caps.png", "later.png", "few.png"}) add(szName, pngOf(2, 2, sheetColor));
    add("caps.spec", "VCANVAS 64 64 8 4\n");
    EXPECT_EQ("Unknown token VCANVAS at caps.spec, line 1", loadError("caps"));
    add("later.spec", "vcanvas 4 4 0 0\n# note\nresize 3\n");
    EXPECT_EQ("Unknown token resize at later.spec, line 3", loadError("later"));
    add("few.spec", "vcanvas 64 64 8\n");
    EXPECT_EQ("Assertion failed : lToks.getLength() == 5",
              messageOf<Zep::AssertFailException>([&] { load("few"); }));
}

TEST_F(ImageLoad, SubImageCyclesAreErrors) {
    add("self.subimage", "self 0 0 4 4");
    EXPECT_EQ("Image 'self' is cut from itself (sub-image cycle)", loadError("self"));
    add("ping.subimage", "pong 0 0 4 4");
    add("pong.subimage", "PING 0 0 4 4");
    // The source comes through the image cache, which lower-cases its name.
    EXPECT_EQ("Image 'ping' is cut from itself (sub-image cycle)", loadError("ping"));
    // Nothing of the failed loads is left behind.
    add("fine.subimage", "sheet 1 1 2 2");
    EXPECT_EQ(sheetColor(1, 1), load("fine")->getPixel(0, 0));
    // A chain deeper than any sheet of the game is refused; a long chain
    // without a cycle still loads (asked second: the cache keeps its links).
    add("c0.subimage", "sheet 0 0 50 50");
    for (int i = 1; i < 70; ++i)
        add(Zep::String::format("c%d.subimage", i).c_str(), Zep::String::format("c%d 0 0 40 40", i - 1).c_str());
    EXPECT_EQ("Image 'c5' : sub-images nested deeper than 64", loadError("c69"));
    EXPECT_EQ(sheetColor(0, 0), load("c19")->getPixel(0, 0));
    add("lost.subimage", "nothing 0 0 4 4");  // a missing sheet: the picture loader's message
    EXPECT_EQ("MemImage::loadData : picture 'nothing' not found",
              messageOf<Zep::ResourceException>([&] { load("lost"); }));
}

TEST_F(ImageLoad, AutoTrimOnlyWhenSwitchedOnAndAsked) {
    add("halo.png", pngOf(6, 6, [](int x, int y) { return Color(9, 9, 9, x / 2 == 1 && y >= 1 && y < 5 ? 255 : 0); }));
    EXPECT_EQ(Point(6, 6), load("halo")->getDataSize());
    Image::setAutoTrim(true);
    EXPECT_TRUE(Image::getAutoTrim());
    EXPECT_EQ("6x6 ins 0,0 data 2,1 2x4", layout(*load("halo")));
    EXPECT_EQ(Point(6, 6), Zep::SmartPtr<Image>(factory().load("halo", false))->getDataSize());
    add("halo.spec", "vcanvas 8 8 1 1");
    EXPECT_EQ(Point(6, 6), load("halo")->getDataSize());
}

TEST_F(ImageLoad, SubImagesCloneAndAlphaImageThroughTheFactory) {
    Zep::SmartPtr<Image> sheet = load("sheet");
    sheet->setInsPoint(7, 8);
    Zep::SmartPtr<Image> sub = sheet->createSubImage(Rect(10, 10, 20, 30), false);
    EXPECT_TRUE(sub->getRefCount() == 1 && sub->isPreparePending() && sub->getSize() == Point(10, 20));
    Zep::SmartPtr<Image> now = sheet->createSubImage(10, 10, 10, 20, true);
    EXPECT_FALSE(now->isPreparePending());
    EXPECT_EQ(sheetColor(10, 10), now->getPixel(0, 0));

    Zep::SmartPtr<Image> copy = sheet->clone(false);
    EXPECT_EQ("100x80 ins 7,8 data 0,0 100x80 sheet", layout(*copy) + " " + copy->getName().c_str());
    EXPECT_EQ(sheetColor(99, 79), copy->getPixel(99, 79));

    Zep::SmartPtr<Image> alpha = load("sheet")->createSubImage(0, 0, 3, 1, true);
    alpha->setPixel(1, 0, Color(5, 5, 5, 77));
    Zep::SmartPtr<Image> mask = alpha->createAlphaImage();
    EXPECT_EQ(Point(3, 1), mask->getSize());
    EXPECT_EQ(std::make_pair(Color(255, 255, 255, 255), Color(77, 77, 77, 255)),
              std::make_pair(mask->getPixel(0, 0), mask->getPixel(1, 0)));
}

TEST(ImageLoadWithoutApp, NeedsTheApplication) {
    Zep::SmartPtr<MemImage> img = new MemImage();
    EXPECT_EQ("Image : there is no application object",
              messageOf<Zep::BadStateException>([&] { img->load("x", true, true); }));
    EXPECT_EQ("Image : there is no application object", messageOf<Zep::BadStateException>([&] { img->clone(true); }));
}
