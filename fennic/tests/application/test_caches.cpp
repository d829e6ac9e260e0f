// The image, sample and music caches: naming rules, reference-count release,
// pinning, the disabled guard and the loadImage lookup order.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include <zep2/error.h>

#include "image/memimage.h"
#include "testkit/testkit_fixtures.h"
#include "testkit/testkit_audio.h"
#include "testkit/testkit_platform.h"

namespace {

using testkit::messageOf;

// Images freed so far; cached images may outlive the platform and its factory.
int g_nFreed = 0;

class CountedImage : public MemImage {
public:
    CountedImage() : MemImage(2, 2, false) {}
    ~CountedImage() override { ++g_nFreed; }
};

// Records every load (with the option of the two-argument form).
class RecordingFactory : public MemImageFactory {
public:
    Image* load(const char* szName) override {
        m_vLoads.push_back(szName);
        return new CountedImage();
    }
    Image* load(const char* szName, bool bOption) override {
        m_vLoads.push_back(std::string(szName) + (bOption ? " +" : " -"));
        return new CountedImage();
    }
    bool exists(const char* szName) override { return m_setNames.count(szName) > 0; }

    std::vector<std::string> m_vLoads;
    std::set<std::string> m_setNames;
};

std::vector<std::string> strings(const Zep::List<Zep::String>& l) {
    std::vector<std::string> v;
    for (const Zep::String& s : l) v.push_back(s.c_str());
    return v;
}

class Caches : public testkit::AppTest<> {
protected:
    void SetUp() override {
        g_nFreed = 0;
        auto pOwned = std::make_unique<testkit::FakePlatform>();
        testkit::FakePlatform* pPlatform = pOwned.get();
        pPlatform->setImageFactory(std::make_unique<RecordingFactory>());
        pPlatform->setAudioDriver(std::make_unique<testkit::FakeAudioDriver>());
        m_app.setPlatform(std::move(pOwned));
        factory = static_cast<RecordingFactory*>(pPlatform->getImageFactory());
        audio = static_cast<testkit::FakeAudioDriver*>(pPlatform->getAudioDriver());
        for (const char* szName : {"Boom", "boom"}) audio->m_sampleLoader.m_setNames.insert(szName);
        audio->m_musicLoader.m_setNames.insert("ms_Theme");
        m_app.useAudioDriver(audio);
        m_app.addResourceProvider(testkit::memoryProvider({{"image-alias.txt", "title logo_en\n"}}), false);
    }
    Zep::SmartPtr<Image> counted() { return new CountedImage(); }

    RecordingFactory* factory = nullptr;
    testkit::FakeAudioDriver* audio = nullptr;
};

}  // namespace

TEST_F(Caches, ImageNamesFoldAndAliasSampleAndMusicNamesDoNot) {
    Zep::SmartPtr<Image> a = m_app.getImage("Logo");
    EXPECT_EQ(a, m_app.getImage("LOGO"));
    EXPECT_NE(a, m_app.getImage("TITLE"));  // one alias step: "title" -> "logo_en"
    EXPECT_EQ(m_app.getImage("logo_en"), m_app.getImage("Title"));
    EXPECT_EQ(factory->m_vLoads, (std::vector<std::string>{"logo", "logo_en"}));
    EXPECT_TRUE(m_app.isImageCached("LOGO") && !m_app.isImageCached("title"));  // no alias step here

    Zep::SmartPtr<Sample> s = m_app.getSample("Boom");
    EXPECT_NE(s, m_app.getSample("boom"));
    EXPECT_EQ(m_app.getSample("Boom"), m_app.getSample("Boom"));
    EXPECT_EQ(audio->m_sampleLoader.m_vLoaded, (std::vector<std::string>{"Boom", "boom"}));
    EXPECT_EQ(m_app.getMusic("ms_Theme"), m_app.getMusic("ms_Theme"));
    EXPECT_EQ(audio->m_musicLoader.m_vLoaded, std::vector<std::string>{"ms_Theme"});
    EXPECT_THROW(m_app.getMusic("ms_theme"), Zep::ResourceException);
    EXPECT_FALSE(m_app.releaseMusic("ms_theme"));  // the failed load stored nothing
}

TEST_F(Caches, ReleaseDropsOnlyWhatNothingElseHolds) {
    Zep::SmartPtr<Image> held = m_app.getImage("held");
    EXPECT_FALSE(m_app.releaseImage("HELD"));  // a sprite still shows it
    EXPECT_EQ(2, held->getRefCount());  // kept, and the release left no reference behind
    held = nullptr;
    EXPECT_EQ(0, g_nFreed);
    EXPECT_TRUE(m_app.releaseImage("Held") && g_nFreed == 1);
    EXPECT_FALSE(m_app.releaseImage("held"));  // gone

    Zep::SmartPtr<Sample> s = m_app.getSample("Boom");
    EXPECT_FALSE(m_app.releaseSample("Boom"));
    s = nullptr;
    EXPECT_TRUE(m_app.releaseSample("Boom"));

    m_app.addImage("Hole", Zep::SmartPtr<Image>(), false);
    EXPECT_EQ("Assertion failed : nRef >= 2", messageOf<Zep::AssertFailException>([&] { m_app.releaseImage("hole"); }));
}

TEST_F(Caches, PinnedImageSurvivesPurge) {
    m_app.addImage("Pinned", counted(), true);
    m_app.addImage("loose", counted(), false);
    Zep::SmartPtr<Image> held = m_app.getImage("held");
    m_app.getMusic("ms_Theme");
    m_app.purgeImages();
    m_app.purgeMusic();
    EXPECT_EQ(1, g_nFreed);
    EXPECT_TRUE(m_app.getImageNames().getCount() == 2 && m_app.isImageCached("pinned") && m_app.isImageCached("held"));
    EXPECT_FALSE(m_app.releaseImage("pinned") || m_app.musicExists("ms_other"));
    EXPECT_TRUE(m_app.musicExists("ms_Theme"));  // the loader still knows it
}

TEST_F(Caches, DisabledGuardRestoresThePreviousState) {
    {
        DisableImageCache guard;
        Zep::SmartPtr<Image> a = m_app.getImage("shot");
        EXPECT_NE(a, m_app.getImage("shot"));  // loaded twice, stored never
        EXPECT_TRUE(m_app.getImageNames().isEmpty());
        m_app.addImage("kept", a, false);  // explicit adds still store
        EXPECT_EQ(a, m_app.getImage("KEPT"));  // and are answered
    }
    EXPECT_EQ(m_app.getImage("shot"), m_app.getImage("shot"));
    EXPECT_EQ(factory->m_vLoads.size(), 3u);

    EXPECT_TRUE(m_app.setImageCacheEnabled(false));
    { DisableImageCache guard; }
    EXPECT_FALSE(m_app.setImageCacheEnabled(true));  // still off after the guard
}

TEST_F(Caches, LoadImageLooksUpAliasThenExactNameThenMakes) {
    // Name, extra argument, what the factory was asked ("" for a cache hit).
    const std::tuple<const char*, int, std::string> steps[] = {
        {"Icon", 1, "Icon +"},  // made with the name as given, stored as "icon"
        {"Icon", 0, "Icon -"},  // "Icon" itself is not a key: made again
        {"icon", 7, ""},        // the folded name hits
        {"TITLE", 0, "TITLE -"},  // alias known, but "logo_en" not cached yet
    };
    for (const auto& [szName, nExtra, sLoad] : steps) {
        factory->m_vLoads.clear();
        m_app.loadImage(szName, nExtra);
        EXPECT_EQ(factory->m_vLoads, sLoad.empty() ? std::vector<std::string>{} : std::vector<std::string>{sLoad})
            << szName;
    }
    EXPECT_EQ(strings(m_app.getImageNames()).size(), 2u);  // "icon" and "title"
    Zep::SmartPtr<Image> logo = m_app.getImage("logo_en");
    EXPECT_EQ(logo, m_app.loadImage("Title", 0));  // the alias's entry wins now
    // Caching off does not stop loadImage from storing.
    DisableImageCache guard;
    m_app.loadImage("Fresh", 0);
    EXPECT_TRUE(m_app.isImageCached("fresh"));
}

TEST_F(Caches, ReleaseImagesNotInWalksBothListsInOrder) {
    for (const char* szName : {"a", "b", "c", "d", "e"}) m_app.getImage(szName);
    Zep::List<Zep::String> lKeep;
    const Zep::List<Zep::String> lNames = m_app.getImageNames();
    for (int i = 0; i < lNames.getCount(); i += 2) lKeep.add(lNames.get(i));
    Zep::SmartPtr<Image> held = m_app.getImage(lNames.get(1).c_str());
    m_app.releaseImagesNotIn(lKeep);
    std::vector<std::string> vExpected = strings(lKeep);
    vExpected.insert(vExpected.begin() + 1, lNames.get(1).c_str());  // held elsewhere
    EXPECT_EQ(strings(m_app.getImageNames()), vExpected);

    // An empty keep list releases every image that only the cache holds.
    m_app.releaseImagesNotIn(Zep::List<Zep::String>());
    EXPECT_EQ(strings(m_app.getImageNames()), std::vector<std::string>{lNames.get(1).c_str()});
}

TEST_F(Caches, ExistsAsksTheCacheThenTheLoader) {
    factory->m_setNames = {"logo_en", "splash"};
    m_app.addImage("Made", counted(), false);
    // Through the alias for "Title"; sample names keep their case.
    EXPECT_EQ((std::vector<bool>{true, true, false, true, true, false}),
              (std::vector<bool>{m_app.imageExists("SPLASH"), m_app.imageExists("Title"), m_app.imageExists("logo"),
                                 m_app.imageExists("made"), m_app.sampleExists("Boom"), m_app.sampleExists("BOOM")}));
}

TEST(CachesWithoutLoaders, AnswerWhatWasAddedAndRefuseToLoad) {
    testkit::TempDir dir;
    testkit::AppFiles files(dir);
    testkit::TestApp app;
    EXPECT_EQ("ResCache::get : no loader for 'ghost'",
              messageOf<Zep::FatalErrorException>([&] { app.getImage("Ghost"); }));
    EXPECT_FALSE(app.imageExists("ghost") || app.sampleExists("ghost"));
    Zep::SmartPtr<Image> p = new MemImage(1, 1, false);
    app.addImage("Made", p, false);
    EXPECT_EQ(p, app.getImage("made"));
    EXPECT_EQ("GameApp::loadImage : no image factory for 'other'",
              messageOf<Zep::FatalErrorException>([&] { app.loadImage("Other", 0); }));
}
