// The slide show stepped by dt: the cut-scene's states and their timing,
// skips in every state, and the album's pages turned by its buttons.
#include <gtest/gtest.h>

#include "base/keys.h"
#include "screens/screens_util.h"
#include "screens/slideshow.h"

namespace {

using testkit::FakeEvent;

class SlideshowTest : public screentest::ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        m_pAudio->m_musicLoader.m_setNames.insert("ms_story");
        // "a" comes from its file, so whether it is cached shows.
        m_pFiles->add("a.png", testkit::resource(imagetest::pngOf(8, 6, imagetest::pattern)));
        for (const char* szName : {"b", "c", "d"}) picture(szName, 8, 6);
        for (const char* szName : {"littlebutton_active", "littlebutton_highlight", "littlebutton_pushed"})
            picture(szName, 30, 20, true);
        for (const char* szName : {"album_prev", "album_stop", "album_next"})
            m_app.addImage(szName, imagetest::solid(10, 10, true, Color(200, 10, 10, 255)).get(), true);
    }
    static Zep::SmartPtr<SlideSpec> slide(const char* szImage, bool bNewPage, StoryTextList lCaptions = {}) {
        return new SlideSpec(szImage, 4, 5, 2, lCaptions, bNewPage);
    }
    static Zep::SmartPtr<StoryText> caption(float fDelay) {
        return new StoryText("text", "Theme::Default", 10, 20, 3, fDelay, Color(1, 2, 3, 255));
    }
    void start(const SlideList& lSlides, bool bAlbum = false) {
        m_pMode = new SlideshowMode(lSlides, bAlbum, "ms_story");
        m_app.pushMode(m_pMode);
    }
    // "<state> t<timer> a<picture alphas> c<caption alphas> p<pending> s<slides left>", or "ended".
    std::string show() const {
        if (!m_app.isModeOnStack(m_pMode)) return "ended";
        auto number = [](float f) { return testing::PrintToString(f); };
        std::string s = std::to_string(m_pMode->getShowState()) + " t" + number(m_pMode->getTimer()) + " a";
        for (const Zep::SmartPtr<Sprite>& p : m_pMode->getShownSprites()) s += number(p->getAlpha()) + "/";
        s += " c";
        for (const Zep::SmartPtr<Label>& p : m_pMode->getPageLabels()) s += number(p->getAlpha()) + "/";
        return s + " p" + std::to_string(m_pMode->getPendingCount()) + " s" + std::to_string(m_pMode->getSlidesLeft());
    }
    // Updates of 0.25 s keep every sum exact.
    std::string steps(int nCount) {
        for (int i = 0; i < nCount && m_app.isModeOnStack(m_pMode); ++i) m_app.updateModes(0.25f);
        return show();
    }

    SlideshowMode* m_pMode = nullptr;
};

struct Step {
    int nSteps;
    const char* szShow;
};

}  // namespace

TEST_F(SlideshowTest, ASlideFadesInForASecondHoldsTenAndTheEndFadesOutInOne) {
    start({slide("a", true), slide("b", false)});
    EXPECT_EQ(m_pAudio->m_vMusic, std::vector<std::string>{"ms_story"});
    EXPECT_FALSE(m_pVideo->m_bCursorVisible);
    const Step kRows[] = {
        {1, "1 t-0.25 a0/ c p0 s1"},  {3, "1 t-0.25 a0.75/ c p0 s1"}, {1, "3 t-0.25 a1/ c p0 s1"},
        {1, "0 t10 a1/ c p0 s1"},     {39, "0 t0.25 a1/ c p0 s1"},     {1, "1 t0 a1/0/ c p0 s0"},
        {5, "0 t10 a1/1/ c p0 s0"},   {40, "2 t0 a1/1/ c p0 s0"},      {1, "2 t0 a0.75/0.75/ c p0 s0"},
        {2, "2 t0 a0.25/0.25/ c p0 s0"}, {1, "ended"},
    };
    for (const Step& row : kRows) EXPECT_EQ(steps(row.nSteps), row.szShow);
    EXPECT_FALSE(m_app.isImageCached("a"));
}

TEST_F(SlideshowTest, CaptionsWaitTheirDelayThenFadeInEachForASecond) {
    start({slide("b", true, {caption(0.0f), caption(0.5f)})});
    const Step kRows[] = {
        {5, "3 t-0.25 a1/ c0/0/ p2 s0"},   {1, "3 t-0.25 a1/ c0.25/0/ p2 s0"}, {2, "3 t-0.25 a1/ c0.75/0.25/ p2 s0"},
        {1, "3 t-0.25 a1/ c1/0.5/ p2 s0"}, {1, "3 t-0.25 a1/ c1/0.75/ p1 s0"}, {1, "3 t-0.25 a1/ c1/1/ p1 s0"},
        {1, "0 t10 a1/ c1/1/ p0 s0"},      {41, "2 t0 a0.75/ c0.75/0.75/ p0 s0"},
    };
    for (const Step& row : kRows) EXPECT_EQ(steps(row.nSteps), row.szShow);
}

TEST_F(SlideshowTest, ASkipInEveryStateStartsWhatComesNextOnTheNextUpdateAndOtherInputEndsIt) {
    const FakeEvent kSpace = FakeEvent::keyDown(Key::Space), kLeft = FakeEvent::mouseDown(1, 50, 50);
    const struct {
        int nSteps;  // before the input
        FakeEvent input;
        const char* szAfter;  // the input, then one more update
    } kRows[] = {
        {6, kSpace, "0 t-1 a1/ c p0 s1 | 1 t-1.25 a0/ c0/ p1 s0"},             // hold
        {2, kLeft, "0 t-1 a1/ c p0 s1 | 1 t-1.25 a0/ c0/ p1 s0"},              // fading in
        {52, kLeft, "0 t-1 a1/ c1/ p0 s0 | 2 t-1.25 a1/ c1/ p0 s0"},           // captions
        {104, kSpace, "0 t-1 a0.75/ c0.75/ p0 s0 | 2 t-1.25 a0.75/ c0.75/ p0 s0"},  // fading out
        {1, FakeEvent::keyDown(Key::Escape), "ended | ended"},
        {1, FakeEvent::keyDown(Key::Return), "ended | ended"},
        {1, FakeEvent::mouseDown(4, 50, 50), "ended | ended"},
    };
    for (const auto& row : kRows) {
        start({slide("b", true), slide("c", true, {caption(2.0f)})});
        steps(row.nSteps);
        events({row.input});
        const std::string sSkipped = show();
        EXPECT_EQ(sSkipped + " | " + steps(1), row.szAfter) << row.nSteps;
        if (m_app.isModeOnStack(m_pMode)) m_pMode->endMode();
        m_app.deleteEndedModes();
    }
}

TEST_F(SlideshowTest, AnEmptyListEndsOnTheSecondUpdateAndABadStateIsAFault) {
    start({});
    EXPECT_EQ(steps(1), "2 t-0.25 a c p0 s0");
    EXPECT_EQ(steps(1), "ended");
    struct Broken : SlideshowMode {
        Broken() : SlideshowMode({}, false, "ms_story") { m_nState = 7; }
    } broken;
    EXPECT_EQ(testkit::messageOf([&] { broken.onUpdate(0.25f); }), "Unknown state 7");
}

TEST_F(SlideshowTest, AlbumPagesTurnWithItsButtonsAndTheSpaceBar) {
    start({slide("b", true), slide("c", false), slide("d", true), slide("b", true)}, true);
    EXPECT_TRUE(m_pVideo->m_bCursorVisible);
    auto page = [&] {
        return std::to_string(m_pMode->getPageStart()) + ":" + std::to_string(m_pMode->getShownSprites().getCount()) +
               (m_pMode->getPreviousButton()->isEnabled() ? " <" : " -") +
               (m_pMode->getNextButton()->isEnabled() ? ">" : "-");
    };
    EXPECT_EQ(page(), "0:2 ->");
    const Rect r = m_pMode->getNextButton()->getBoundingRect();
    EXPECT_EQ(Point(r.getRight(), r.getBottom()), Point(640, 485));
    const struct {
        char cInput;  // n next, p previous, s space
        const char* szPage;
    } kRows[] = {{'n', "2:1 <>"}, {'n', "3:1 <-"}, {'s', "3:1 <-"}, {'p', "2:1 <>"}, {'p', "0:2 ->"}, {'s', "2:1 <>"}};
    for (const auto& row : kRows) {
        if (row.cInput == 's') events({FakeEvent::keyDown(Key::Space)});
        if (row.cInput != 's') pressOn(row.cInput == 'n' ? *m_pMode->getNextButton() : *m_pMode->getPreviousButton());
        EXPECT_EQ(page(), row.szPage) << row.cInput;
    }
    // The icon is drawn at the centre of a copy of the background, and the cached pictures stay as they were.
    EXPECT_EQ(imagetest::dataPixel(*m_pMode->getNextButton()->getStateImage(), 15, 10), Color(200, 10, 10, 255));
    EXPECT_EQ(imagetest::dataPixel(*m_app.getImage("littlebutton_active"), 15, 10), Color(90, 60, 30, 255));
    EXPECT_EQ(m_app.getImage("album_next")->getInsPoint(), Point(0.0f, 0.0f));
    m_pMode->onCallback(SlideshowMode::kStopId, nullptr);
    EXPECT_EQ(show(), "ended");
}
