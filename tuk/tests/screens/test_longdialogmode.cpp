// The congratulation dialog: its text, the flower burst of every frame and
// the button that ends it.
#include <cstdlib>

#include <gtest/gtest.h>

#include "screens/longdialogmode.h"
#include "effects/particle_emitter.h"
#include "screens/screens_util.h"

namespace {

class CongratulationDialog : public screentest::ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        ParticleEmitter::clearDefinitions();
        m_pFiles->add(LongDialogMode::kEmitter, testkit::resource("maxparticles 3\nlifetimerange 5 5\n"));
        picture("congrats", 60, 40);
        // Flower n is 10·n pixels wide, so a particle's picture tells which one it is.
        for (int n = 1; n <= 5; ++n) picture(("mapa_flor_" + std::to_string(n) + "_s").c_str(), 10 * n, 8, true);
        m_pDialog = new LongDialogMode(m_app.getText("HF_Newhigh"), m_app.getText("HF_Congrats"), 0);
        m_app.pushMode(m_pDialog);
    }
    void TearDown() override { ParticleEmitter::clearDefinitions(); }

    LongDialogMode* m_pDialog = nullptr;
};

}  // namespace

TEST_F(CongratulationDialog, ShowsOnlyTheFirstTextAndEndsOnItsButton) {
    std::string sTexts;
    Button* pButton = nullptr;
    for (const Zep::SmartPtr<Sprite>& p : m_pDialog->getAllSprites()) {
        if (auto* pLabel = dynamic_cast<Label*>(p.get())) sTexts += pLabel->getText().c_str() + std::string(";");
        if (auto* pFound = dynamic_cast<Button*>(p.get())) pButton = pFound;
    }
    EXPECT_EQ(sTexts + pButton->getCaption().c_str(), "A new highscore!;OK");
    events({testkit::FakeEvent::mouseDown(1, 5, 5), testkit::FakeEvent::mouseUp(1, 5, 5)});
    EXPECT_EQ(m_app.getTopMode(), m_pDialog);
    pressOn(*pButton);
    EXPECT_NE(m_app.getTopMode(), m_pDialog);
}

TEST_F(CongratulationDialog, EveryFrameShootsOneBurstOfItsOwnFlowerCopy) {
    std::srand(11);
    std::string sExpected, sBursts;
    for (int i = 0; i < 4; ++i) {
        const int n = std::rand() % 5 + 1;
        sExpected += std::to_string(n) + " at " + std::to_string(std::rand() % 400 + 200) + ",300; ";
    }
    std::srand(11);
    particleRandom().seed(5);
    const Image* pPrevious = nullptr;
    for (int i = 0; i < 4; ++i) {
        m_app.updateModes(0.01f);
        ASSERT_EQ(m_pDialog->getParticles().getCount(), 3 * (i + 1));
        const Particle& last = *m_pDialog->getParticles().getLast();
        const Zep::SmartPtr<Image> pImage = last.getSprite()->getImage();
        const int n = pImage->getWidth() / 10;
        sBursts += std::to_string(n) + " at " + std::to_string(static_cast<int>(last.getPosition().x)) + "," +
                   std::to_string(static_cast<int>(last.getPosition().y)) + "; ";
        // A copy of its own, centred; the cached picture keeps its corner.
        const Zep::SmartPtr<Image> pCached = m_app.getImage(("mapa_flor_" + std::to_string(n) + "_s").c_str());
        EXPECT_TRUE(pImage.get() != pCached.get() && pImage.get() != pPrevious);
        EXPECT_EQ(pImage->getInsPoint(), Point(5.0f * n, 4.0f));
        EXPECT_EQ(pCached->getInsPoint(), Point(0.0f, 0.0f));
        pPrevious = pImage.get();
    }
    EXPECT_EQ(sBursts, sExpected);
}
