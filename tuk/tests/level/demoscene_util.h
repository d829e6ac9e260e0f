// The demo content's scene from the generated folder, with decoded pictures,
// read by the level's scene reader at the player's upgrade levels; and the
// upgrade sets the demo scene's suites walk.
#pragma once

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <zep2/resource.h>

#include "actors/actionballoon.h"
#include "level/playmode.h"
#include "level/scenetags.h"
#include "sprite/spritetest_util.h"
#include "records/tukplayer.h"
#include "records/upgrademanager.h"

namespace demoscene {

constexpr int kMachineKinds[] = {6, 7};

// Every upgrade alone at each of its levels (36 sets), 40 drawn at random
// with a fixed seed, then the two juice machines at each pair of their
// levels with nothing else bought and with everything else at its top
// level (32, of which the first sets hold the seven with one machine or
// none bought): 101 sets.
inline std::vector<SceneTags::Levels> upgradeSets() {
    std::vector<SceneTags::Levels> vLevels;
    for (int nKind = 0; nKind < UpgradeManager::kKinds; ++nKind)
        for (int nLevel = 0; nLevel < UpgradeManager::getLevelCount(nKind); ++nLevel) {
            SceneTags::Levels levels{};
            levels[static_cast<size_t>(nKind)] = nLevel;
            vLevels.push_back(levels);
        }
    std::mt19937 random(38);
    for (int i = 0; i < 40; ++i) {
        SceneTags::Levels levels{};
        for (int nKind = 0; nKind < UpgradeManager::kKinds; ++nKind)
            levels[static_cast<size_t>(nKind)] = static_cast<int>(random() % UpgradeManager::getLevelCount(nKind));
        vLevels.push_back(levels);
    }
    const int nMachineLevels = UpgradeManager::getLevelCount(kMachineKinds[0]);
    for (bool bEverythingElse : {false, true})
        for (int nFirst = 0; nFirst < nMachineLevels; ++nFirst)
            for (int nSecond = 0; nSecond < nMachineLevels; ++nSecond) {
                SceneTags::Levels levels{};
                for (int nKind = 0; bEverythingElse && nKind < UpgradeManager::kKinds; ++nKind)
                    levels[static_cast<size_t>(nKind)] = UpgradeManager::getLevelCount(nKind) - 1;
                levels[kMachineKinds[0]] = nFirst;
                levels[kMachineKinds[1]] = nSecond;
                if (std::find(vLevels.begin(), vLevels.end(), levels) == vLevels.end()) vLevels.push_back(levels);
            }
    return vLevels;
}

// Where a click reaches a customer's balloon, shown, as it pulses: its
// pictures at 95 and 105 % of their size.
inline Rect balloonArea(ActionBalloon& balloon) {
    balloon.setVisible(true);
    Rect box;
    for (float fScale : {0.95f, 1.05f}) {
        balloon.setScale(fScale);
        for (const Zep::SmartPtr<Sprite>& pPicture : balloon.getPictures()) box = box.unite(pPicture->getBoundingRect());
    }
    return box;
}

// "0011110000000": the levels as digits, kind 0 first.
inline std::string digits(const SceneTags::Levels& levels) {
    std::string s;
    for (int n : levels) s += std::to_string(n);
    return s;
}

class DemoScene : public spritetest::AppWithScreen<> {
protected:
    void SetUp() override {
        AppWithScreen::SetUp();
        m_app.initCaches();
        m_app.registerBuiltinResources();
        m_app.addResourceProvider(
            std::make_unique<Zep::FilesystemResourceProvider>(TUK_CONTENT_FOLDER "tuk_data/"), false);
    }
    // The level read at the levels (digits, kind 0 first); the reading's
    // exception passes through.
    std::unique_ptr<PlayMode> read(const char* szLevels) {
        for (int i = 0; i < TUKPlayer::kUpgradeKinds; ++i) m_player.setUpgradeLevel(i, szLevels[i] - '0');
        auto pLevel = std::make_unique<PlayMode>(&m_player, nullptr, "scene0", 0, 0, 1);
        pLevel->loadScene();
        return pLevel;
    }
    TUKPlayer m_player;
};

}  // namespace demoscene
