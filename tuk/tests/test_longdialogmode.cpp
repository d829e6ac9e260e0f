// The congratulation dialog: its text, the flower burst of every frame and
// the button that ends it.
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "longdialogmode.h"
#include "particle_emitter.h"
#include "screens_util.h"

namespace {

class CongratulationDialog : public screentest::ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        ParticleEmitter::clearDefinitions();
        m_pFiles->add(LongDialogMode::kEmitter, imagetest::resource("maxparticles 3\nlifetimerange 5 5\n"));
        picture("congrats", 60, 40);
        // Flower n is 10·n pixels wide, so a particle's picture tells which one it is.
        for (int n = 1; n <= 5; ++n) picture(("mapa_flor_" + std::to_string(n) + "_s").c_str(), 10 * n, 8, true);
        m_pDialog = new LongDialogMode(m_app.getText("HF_Newhigh"), m_app.getText("HF_Congrats"), 0);
        m_app.pushMode(m_pDialog);
    }
    void TearDown() override { ParticleEmitter::clearDefinitions(); }

    template <class T>
    std::vector<T*> spritesOf() {
        std::vector<T*> v;
        for (const Zep::SmartPtr<Sprite>& p : m_pDialog->getAllSprites())
            if (auto* pT = dynamic_cast<T*>(p.get())) v.push_back(pT);
        return v;
    }

    LongDialogMode* m_pDialog = nullptr;
};

}  // namespace

TEST_F(CongratulationDialog, ShowsTheFirstTextAndEndsOnItsButton) {
    std::string sLabels;
    for (Label* pLabel : spritesOf<Label>())
        sLabels += std::string(pLabel->getText().c_str()) + ";";
    EXPECT_EQ(sLabels, "A new highscore!;");
    EXPECT_EQ(m_pDialog->getSecondText(), "Well done");
    ASSERT_EQ(spritesOf<Button>().size(), 1u);
    EXPECT_EQ(spritesOf<Button>()[0]->getCaption(), "OK");
    press(5, 5);
    EXPECT_EQ(m_app.getTopMode(), m_pDialog);
    pressOn(*spritesOf<Button>()[0]);
    EXPECT_NE(m_app.getTopMode(), m_pDialog);
}

TEST_F(CongratulationDialog, EveryFrameShootsOneBurstOfItsOwnFlowerCopy) {
    std::srand(11);
    std::string sExpected;
    for (int i = 0; i < 4; ++i) {
        const int n = std::rand() % 5 + 1;
        sExpected += "flower " + std::to_string(n) + " x " + std::to_string(std::rand() % 400 + 200) + "; ";
    }
    std::srand(11);
    particleRandom().seed(5);
    std::string sBursts;
    const Image* pPrevious = nullptr;
    for (int i = 0; i < 4; ++i) {
        m_app.updateModes(0.01f);
        const auto& lParticles = m_pDialog->getParticles();
        ASSERT_EQ(lParticles.getCount(), 3 * (i + 1));
        const Particle& last = *lParticles.getLast();
        const Zep::SmartPtr<Image> pImage = last.getSprite()->getImage();
        const int n = pImage->getWidth() / 10;
        sBursts += "flower " + std::to_string(n) + " x " + std::to_string(static_cast<int>(last.getPosition().x)) +
                   "; ";
        // Centred on a copy of its own; the cached picture keeps its corner.
        const Zep::SmartPtr<Image> pCached = m_app.getImage(("mapa_flor_" + std::to_string(n) + "_s").c_str());
        EXPECT_NE(pImage.get(), pCached.get());
        EXPECT_NE(pImage.get(), pPrevious);
        EXPECT_EQ(std::to_string(pImage->getInsPointX()) + "," + std::to_string(pImage->getInsPointY()),
                  std::to_string(5 * n) + ",4");
        EXPECT_EQ(pCached->getInsPoint(), Point(0.0f, 0.0f));
        EXPECT_EQ(last.getPosition().y, 300.0f);
        pPrevious = pImage.get();
    }
    EXPECT_EQ(sBursts, sExpected);
}
