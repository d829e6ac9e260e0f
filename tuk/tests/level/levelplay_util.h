// A level of the demo content on the test kit: the generated content folder
// read from disk (pictures, scripts, scene, customer table, texts), every
// sound of it known to the fake audio driver, the theme "sand.theme" with its
// TrueType fonts, events routed from the platform's script, and rand and
// the game's generator seeded. A scripted player presses only the mouse.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "actors/barfixture.h"
#include "records/gamerandom.h"
#include "screens/gamestatsmode.h"
#include "keys.h"
#include "level/playmode.h"
#include "startup.h"
#include "testkit_events.h"
#include "theme.h"
#include "records/tukplayer.h"

namespace leveltest {

class DemoLevel : protected bartest::AudioHolder, public testkit::ModeAppTest {
protected:
    void SetUp() override {
        ModeAppTest::SetUp();
        m_app.useAudioDriver(&m_audio);
        m_app.initCaches();
        m_app.registerBuiltinResources();
        for (const char* szFolder : {"tuk_data/", "tuk_data/fonts/", "lang_en/"})
            m_app.addResourceProvider(
                std::make_unique<Zep::FilesystemResourceProvider>((std::string(TUK_CONTENT_FOLDER) + szFolder).c_str()),
                false);
        for (const auto& entry : std::filesystem::directory_iterator(TUK_CONTENT_FOLDER "tuk_sound")) {
            m_audio.m_sampleLoader.m_setNames.insert(entry.path().stem().string());
            m_audio.m_musicLoader.m_setNames.insert(entry.path().stem().string());
        }
        m_app.loadStringTable("messages.txt");
        registerTrueTypeFonts();
        Zep::SmartPtr<Theme> pTheme = new Theme();
        pTheme->load("sand.theme");
        m_app.setTheme(pTheme);
        m_pPlatform->setDispatcher(testkit::routeTo(m_app));
        std::srand(3);
        gameRandom().seed(9);
    }
    void TearDown() override { unregisterTrueTypeFonts(); }

    // The level pushed (it builds itself on entering) and the clock started.
    PlayMode& enter(int nKind = 0, DayResult* pResult = nullptr) {
        m_pLevel = new PlayMode(&m_player, pResult, "scene0", 0, nKind, 1);
        m_app.pushMode(m_pLevel);
        start(10000);
        return *m_pLevel;
    }
    template <class T>
    T* top() {
        return dynamic_cast<T*>(m_app.getTopMode());
    }
    bool isLevelOnStack() {
        for (int i = 0; i < m_app.getModeCount(); ++i)
            if (m_app.getModeAt(i) == m_pLevel) return true;
        return false;
    }
    // A press of the left button, delivered in the next frame, where the
    // level gives it to the listener: the point of the rectangle nearest to
    // its middle, as a player aims (a point at the rim of a pulsing balloon
    // may have left it by the next frame); false when no point does.
    bool pressOn(IClickListener* pListener, const Rect& r) {
        const int nMidX = (r.getLeft() + r.getRight()) / 2, nMidY = (r.getTop() + r.getBottom()) / 2;
        int nBest = -1, nBestX = 0, nBestY = 0;
        for (int y = r.getTop(); y < r.getBottom(); y += 2)
            for (int x = r.getLeft(); x < r.getRight(); x += 2) {
                const int nDistance = (x - nMidX) * (x - nMidX) + (y - nMidY) * (y - nMidY);
                if ((nBest < 0 || nDistance < nBest) && m_pLevel->findClickListener(x, y) == pListener) {
                    nBest = nDistance;
                    nBestX = x;
                    nBestY = y;
                }
            }
        if (nBest < 0) return false;
        m_pPlatform->queueFrame({testkit::FakeEvent::mouseDown(MouseButton::Left, nBestX, nBestY)});
        return true;
    }
    // A press and release at the centre of a control, over two frames.
    void clickOn(const Sprite& sprite) {
        const Rect r = sprite.getBoundingRect();
        const int x = (r.getLeft() + r.getRight()) / 2, y = (r.getTop() + r.getBottom()) / 2;
        m_pPlatform->queueFrame({testkit::FakeEvent::mouseMove(x, y),
                                 testkit::FakeEvent::mouseDown(MouseButton::Left, x, y)});
        m_pPlatform->queueFrame({testkit::FakeEvent::mouseUp(MouseButton::Left, x, y)});
        frames(2);
    }

    // The player's move for this frame, when the waitress can take a click:
    // serve a carried drink to the waiting customer who ordered it (or drop
    // it into the sink), else fetch a full mug from the bar, else take the
    // order of a calling customer.
    void playerMove() {
        PlayMode& level = *m_pLevel;
        if (!level.canTakeClick() || level.getPendingClickCount() > 0) return;
        Waitress& waitress = *level.getLevelData().m_pWaitress;
        if (waitress.countCarriedItems() > 0) return serveCarried(waitress);
        for (const Zep::SmartPtr<GlassSpot>& pSpot : level.getGlassSpots())
            if (pSpot->isBarmanSpot() && pSpot->hasMug() && pSpot->getMug()->isFull() &&
                pressOn(pSpot.get(), pSpot->getSprite()->getBoundingRect()))
                return;
        for (const Zep::SmartPtr<Character>& pCustomer : level.getCharacters()) {
            const Zep::SmartPtr<ActionBalloon> pBalloon = pCustomer->getBalloon();
            if (pBalloon.isNULL() || !pBalloon->canDoAction(0)) continue;
            for (const Zep::SmartPtr<Sprite>& pPicture : pBalloon->getPictures())
                if (pPicture->isVisible() && pressOn(pBalloon.get(), pPicture->getBoundingRect())) {
                    ++m_nOrdersTaken;
                    return;
                }
        }
    }
    void serveCarried(Waitress& waitress) {
        Zep::SmartPtr<Mug> pMug;
        for (int i = 0; pMug.isNULL() && i < 8; ++i) pMug = waitress.getHandContents(i);
        for (const Zep::SmartPtr<Character>& pCustomer : m_pLevel->getCharacters()) {
            if (pCustomer->getState() != Character::kWaiting && pCustomer->getState() != Character::kCalling) continue;
            if (!pCustomer->matchesOrder(pMug->getBeverage(), pMug->getLiquids())) continue;
            CharacterSpot& seat = *m_pLevel->getLevelData().m_lCharacterSpots.get(pCustomer->getSpot());
            if (pressOn(&seat, seat.getSprite()->getBoundingRect())) return;
        }
        Zep::SmartPtr<TrashBin> pSink = m_pLevel->findTrashBin();
        pressOn(pSink.get(), pSink->getSprite()->getBoundingRect());
    }

    TUKPlayer m_player;
    PlayMode* m_pLevel = nullptr;  // owned by the stack
    int m_nOrdersTaken = 0;
};

}  // namespace leveltest
