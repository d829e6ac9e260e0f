// The scene reader's suites: the actors' test bar (actorfixture.h) with the
// scripts a scene names besides, scene texts in memory, and a level of its
// own read from "t.scene" with the player's upgrade levels.
//
// More scripts: "bailarina.template" plays "dance" of "dancer_1",
// "walker.anim" one looping frame of "bongo_1"; "glow.emitter" makes
// particles of "parrot_1". More pictures: "wall" 20 x 10 and "sky" 80 x 60.
#pragma once

#include <memory>
#include <string>

#include "actors/actorfixture.h"
#include "level/playmode.h"
#include "records/tukplayer.h"

namespace scenetest {

// The fewest lines of a level: a walk area, a sink and one ordinary seat.
inline const char* baseScene() {
    return "walkarea 0 400 800 700 300\n"
           "actionspot trashbin 10 10 5 0 400 40 440 n sink\n"
           "actionspot charspot 100 300 90 80 420 120 460 n seat 0\n";
}

class SceneTest : public bartest::ActorTest {
protected:
    void SetUp() override {
        ActorTest::SetUp();
        m_app.addImage("wall", imagetest::solid(20, 10, true, Color(1, 2, 3, 255)).get(), false);
        m_app.addImage("sky", imagetest::solid(80, 60, false, Color(4, 5, 6, 255)).get(), false);
        auto pFiles = testkit::memoryProvider(
            {{"bailarina.template", "fps 10\nload dancer_1\nseq dance loop\nadd dancer_1\n"},
             {"walker.anim", "fps 10\nload bongo_1\nseq walk loop\nadd bongo_1\ndefault walk\n"},
             {"glow.emitter", "type radial\nmaxparticles 2\nemissionrate 10\nimage parrot_1\n"}});
        m_pScenes = pFiles.get();
        m_app.addResourceProvider(std::move(pFiles), false);
    }
    void TearDown() override {
        m_pLevel.reset();
        ParticleEmitter::clearDefinitions();
        ActorTest::TearDown();
    }

    // A new level read from the text with the upgrade levels (13 digits,
    // kind 0 first). The exception of the reading passes through.
    PlayMode& read(const std::string& sText, const char* szLevels = "0000000000000") {
        for (int i = 0; i < TUKPlayer::kUpgradeKinds && szLevels[i]; ++i)
            m_player.setUpgradeLevel(i, szLevels[i] - '0');
        m_pScenes->add("t.scene", testkit::resource(sText));
        m_pLevel.reset();
        m_pLevel = std::make_unique<PlayMode>(&m_player, nullptr, "t", 0, 0, 1);
        m_pLevel->loadScene();
        return *m_pLevel;
    }
    // The message of the reading's exception; empty when it read.
    std::string error(const std::string& sText, const char* szLevels = "0000000000000") {
        try {
            read(sText, szLevels);
        } catch (const Zep::Exception& e) {
            return e.getMessage();
        }
        return "";
    }

    Zep::MemoryResourceProvider* m_pScenes = nullptr;
    TUKPlayer m_player;
    std::unique_ptr<PlayMode> m_pLevel;
};

}  // namespace scenetest
