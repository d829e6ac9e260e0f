#include <gtest/gtest.h>

#include <zep2/error.h>

#include "ui/ui_radio.h"
#include "ui/ui_slider.h"
#include "ui/uitest_util.h"

namespace {

using E = testkit::FakeEvent;

// A mode that logs the callbacks that reach it.
struct LogMode : GameMode {
    void onCallback(int nId, void*) override { vIds.push_back(nId); }
    std::vector<int> vIds;
};

Zep::SmartPtr<Image> solidImage(int w, int h, const Color& c) { return imagetest::solid(w, h, true, c).get(); }

// A 0-10 horizontal slider with a 100-pixel track, a 10 x 10 knob, at (100, 200).
struct TestSlider : HSlider {
    TestSlider()
        : HSlider(solidImage(100, 10, Color(0, 0, 255, 255)), solidImage(100, 10, Color(255, 0, 0, 255)),
                  solidImage(10, 10, Color(0, 255, 0, 255)), 42, 0, 10, 0) {
        setTrackRange(0, 100);
        setPosition(100, 200);
    }
    void setRamp(Zep::SmartPtr<Image> p) { m_pRampImage = p, setStyle(kFrontBack); }
};

class Sliders : public uitest::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        m_pMode = new LogMode();
        m_app.pushMode(m_pMode);
        m_pSlider = new TestSlider();
        m_pMode->addControl(m_pSlider.get());
    }
    void press(int nMask, int x, int y) { pump({E::mouseMove(x, y), E::mouseDown(nMask, x, y)}); }
    void release(int nMask, int x, int y) { pump({E::mouseUp(nMask, x, y)}); }
    int thumbX() { return m_pSlider->getThumb()->getX(); }

    LogMode* m_pMode = nullptr;
    Zep::SmartPtr<TestSlider> m_pSlider;
};

TEST_F(Sliders, APressSetsThePressedValueOnceAndValuesChangeAtHalfSteps) {
    // Track positions p = x - 100 - 5: 0..4 give 0, 5..14 give 1, 55 gives 6.
    press(1, 160, 205);
    EXPECT_EQ(6, m_pSlider->getValue());
    EXPECT_EQ(std::vector<int>{42}, m_pMode->vIds);
    release(1, 160, 205);
    press(1, 160, 205);
    release(1, 160, 205);
    EXPECT_EQ(std::vector<int>{42}, m_pMode->vIds);  // the same value sends nothing
    struct Case { int x; int nValue; };
    for (const Case& c : {Case{109, 0}, Case{110, 1}, Case{119, 1}, Case{120, 2}, Case{205, 10}}) {
        m_pSlider->setValueFromPosition(Point(static_cast<float>(c.x), 0.0f));
        EXPECT_EQ(c.nValue, m_pSlider->getValue()) << c.x;
    }
}

TEST_F(Sliders, ADragReleasedFarFromTheKnobClampsAndEnds) {
    press(1, 105, 205);
    m_pPlatform->m_setButtons.insert(1);
    pump({E::mouseMove(150, 205)});
    EXPECT_EQ(5, m_pSlider->getValue());
    EXPECT_TRUE(m_pSlider->getThumb()->hasFocus());
    pump({E::mouseMove(700, 500)});  // far right and below: the knob holds the mouse
    EXPECT_EQ(10, m_pSlider->getValue());
    m_pPlatform->m_setButtons.erase(1);
    release(1, 700, 500);
    EXPECT_FALSE(m_pSlider->isDragging());
    EXPECT_FALSE(m_pSlider->getThumb()->hasFocus());
    pump({E::mouseMove(0, 0)});
    EXPECT_EQ(10, m_pSlider->getValue());  // moves after the release change nothing
    // Dragging past the other end keeps min; a right-button press drags as well.
    press(4, 150, 205);
    pump({E::mouseMove(-50, 10)});
    EXPECT_EQ(0, m_pSlider->getValue());
    release(4, -50, 10);
    EXPECT_EQ((std::vector<int>{42, 42, 42, 42}), m_pMode->vIds);
}

TEST_F(Sliders, KnobPlacementScaleLayerAndTheEmptyFullImage) {
    EXPECT_EQ(105, thumbX());  // min: start + knob / 2
    EXPECT_EQ(205, m_pSlider->getThumb()->getY());
    EXPECT_EQ(m_pSlider->getZOrder() + 1, m_pSlider->getThumb()->getZOrder());
    EXPECT_FLOAT_EQ(1.0f, m_pSlider->getThumb()->getScaleX());  // the sample theme's 1.0 .. 1.2
    m_pSlider->setValue(10);
    EXPECT_EQ(205, thumbX());  // max: end + knob / 2
    EXPECT_FLOAT_EQ(1.2f, m_pSlider->getThumb()->getScaleX());
    m_pSlider->setValue(5);
    // 110 x 10: empty from x 5, full up to fill 50.
    Zep::SmartPtr<Image> p = m_pSlider->getImage();
    ASSERT_EQ(110, p->getWidth());
    EXPECT_EQ(Color(255, 0, 0, 255), p->getPixel(54, 5));
    EXPECT_EQ(Color(0, 0, 255, 255), p->getPixel(55, 5));
    // Moving the slider moves the knob.
    m_pSlider->setPosition(0, 0);
    EXPECT_EQ(55, thumbX());
}

TEST_F(Sliders, SetValueDoesNotClampAndReportsOnlyInAMode) {
    m_pSlider->setValue(0);
    EXPECT_TRUE(m_pMode->vIds.empty());
    m_pSlider->setValue(12);
    EXPECT_EQ(12, m_pSlider->getValue());
    EXPECT_EQ(std::vector<int>{42}, m_pMode->vIds);
    Zep::SmartPtr<TestSlider> pLoose = new TestSlider();
    pLoose->setValue(3);
    EXPECT_EQ(3, pLoose->getValue());
    EXPECT_EQ(std::vector<int>{42}, m_pMode->vIds);
    // Leaving the mode takes the knob along.
    m_pMode->removeSprite(m_pSlider.get());
    EXPECT_FALSE(m_pMode->containsSprite(m_pSlider->getThumb().get()));
}

// The vertical kind, with the theme's images and track.
struct TestVSlider : VSlider {
    TestVSlider() : VSlider(1, 0, 10, 0) {}
    void setRamp(Zep::SmartPtr<Image> p) { m_pRampImage = p, setStyle(kFrontBack); }
};

TEST_F(Sliders, FrontBackStyleReadsTheLastRampRowForMax) {
    m_pSlider->setRamp(imagetest::makeImage(10, 10, true, [](int x, int) { return Color(x * 20, 0, 0, 255); }).get());
    m_pSlider->setValue(10);
    EXPECT_EQ(Color(180, 0, 0, 255), m_pSlider->getColor());  // column 9, not 10
    m_pSlider->setValue(5);
    EXPECT_EQ(Color(100, 0, 0, 255), m_pSlider->getColor());
    Zep::SmartPtr<TestVSlider> pV = new TestVSlider();
    pV->setRamp(imagetest::makeImage(1, 10, true, [](int, int y) { return Color(0, y * 20, 0, 255); }).get());
    pV->setValue(10);
    EXPECT_EQ(Color(0, 180, 0, 255), pV->getColor());  // row 9, not 10
}

// An empty range or track would divide by zero; both are refused.
TEST_F(Sliders, AnEmptyRangeOrTrackIsRefused) {
    auto message = [](auto fn) {
        try {
            fn();
        } catch (const Zep::AssertFailException& e) {
            return std::string(e.getMessage());
        }
        return std::string("no exception");
    };
    const char* szRange = "Assertion failed : m_nMin < m_nMax";
    EXPECT_EQ(szRange, message([] { Zep::SmartPtr<HSlider> p = new HSlider(1, 5, 5, 5); }));
    EXPECT_EQ(szRange, message([] { Zep::SmartPtr<VSlider> p = new VSlider(1, 9, 2, 5); }));
    EXPECT_EQ("Assertion failed : m_nTrackStart < m_nTrackEnd", message([&] { m_pSlider->setTrackRange(50, 50); }));
    EXPECT_EQ(100, m_pSlider->getTrackEnd());  // the refused track is not kept
    // A theme whose track is empty is refused when a slider takes it.
    Zep::SmartPtr<Theme> pTheme = new Theme();
    loadText(*pTheme, std::string(themetest::kSampleTheme) + "sliderrange 30 30\n");
    m_app.setTheme(pTheme);
    EXPECT_EQ("Assertion failed : m_nTrackStart < m_nTrackEnd",
              message([] { Zep::SmartPtr<HSlider> p = new HSlider(1, 0, 10, 0); }));
}

TEST_F(Sliders, VerticalSliderTakesTheThemeTrackAndPlacesAlongY) {
    Zep::SmartPtr<VSlider> p = new VSlider(7, 0, 100, 50);
    EXPECT_EQ(8, p->getTrackStart());  // sliderrange 8 192
    EXPECT_EQ(192, p->getTrackEnd());
    m_pMode->addControl(p.get());
    const int nKnob = p->getThumb()->getImage()->getHeight();
    EXPECT_EQ(8 + 92 + nKnob / 2, p->getThumb()->getY());
}

// ---- Radio buttons ----

class Radios : public Sliders {
protected:
    Zep::SmartPtr<RadioButton> option(const char* szKey, int nId) {
        Zep::SmartPtr<RadioButton> p = new RadioButton(m_pMode, szKey, nId);
        p->setPosition(100, 100 + 40 * m_group.getCount());
        m_group.add(p);
        return p;
    }
    RadioGroup m_group;
};

TEST_F(Radios, ClickingTheTextChecksBothPartsAndAGroupMakesItExclusive) {
    Zep::SmartPtr<RadioButton> pYes = option("yes", 21);
    Zep::SmartPtr<RadioButton> pOther = option("no_such_key", 22);
    EXPECT_EQ("Yes", std::string(pYes->getText().c_str()));
    EXPECT_EQ("no_such_key", std::string(pOther->getText().c_str()));
    EXPECT_EQ("Radio::yes", std::string(pYes->getName().c_str()));
    EXPECT_EQ(1, pYes->getCheck()->getHitTestMode());
    auto [x, y] = uitest::centreOf(*pYes->getLabelButton());
    click(x, y);
    EXPECT_TRUE(pYes->isChecked());
    EXPECT_TRUE(pYes->getLabelButton()->isChecked());
    EXPECT_EQ(std::vector<int>{21}, m_pMode->vIds);
    // A checked option clicked again sends its id with both parts unchecked.
    auto [cx, cy] = uitest::centreOf(*pYes->getCheck());
    click(cx, cy);
    EXPECT_FALSE(pYes->isChecked());
    EXPECT_FALSE(pYes->getLabelButton()->isChecked());
    EXPECT_EQ((std::vector<int>{21, 21}), m_pMode->vIds);
    EXPECT_TRUE(m_group.select(21));
    EXPECT_TRUE(pYes->isChecked());
    EXPECT_TRUE(m_group.select(22));
    EXPECT_EQ((std::pair{false, true}), std::pair(pYes->isChecked(), pOther->getLabelButton()->isChecked()));
    EXPECT_FALSE(m_group.select(99));
    EXPECT_FALSE(pOther->isChecked());
    pYes->setChecked(true);
    EXPECT_EQ((std::vector<int>{21, 21}), m_pMode->vIds);  // no callback from the program
}

TEST_F(Radios, CheckMarkLooksAndDisabling) {
    Zep::SmartPtr<Image> pOff = solidImage(12, 12, Color(0, 0, 0, 255)), pOn = solidImage(14, 14, Color(9, 9, 9, 255));
    Zep::SmartPtr<RadioButton> p = new RadioButton(m_pMode, pOff, pOn, "yes", 5);
    Zep::SmartPtr<RadioCustomButton> pCheck = p->getCheck();
    EXPECT_EQ(pOff.get(), pCheck->getImage().get());
    pCheck->setState(Button::kHighlight);
    EXPECT_EQ(pOff.get(), pCheck->getImage().get());
    p->setChecked(true);
    EXPECT_EQ(pOn.get(), pCheck->getImage().get());
    pCheck->setEnabled(false);
    EXPECT_FALSE(pCheck->isVisible());
    pCheck->setEnabled(true);
    EXPECT_TRUE(pCheck->isVisible());
    // setId renumbers both parts.
    p->setId(9);
    EXPECT_EQ(9, p->getLabelButton()->getCallbackId());
}

}  // namespace
