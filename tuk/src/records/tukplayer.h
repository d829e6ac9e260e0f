// TUKPlayer: the player record, one profile of the profile manager.
//
// After the name (ProfileData's part) every field goes through the object
// streamer, int32 little-endian and a bool as one byte 0 or 1. Offsets after
// the name:
//     0    4  version: 2
//     4   52  13 upgrade levels of the current game (0 = not bought)
//    56    4  money of the current game
//    60    1  adventure in progress
//    61    4  story value
//    65    4  stage number
//    69    4  difficulty
//    73    4  adventure progress (50 or more: the adventure is finished)
//    77   52  13 committed score slots
//   129   52  13 working score slots
//   181   52  13 best values
//   233    4  extra committed value
//   237    4  extra working value
// Version 2 is always written (241 bytes after the name). Version 1 is the
// same without the last three fields (181 bytes): reading it sets the best
// values to the committed ones and the extra values to 0. Any other version
// throws Zep::BadStreamFormatException "TUKPlayer::read : unknown format
// version\n"; the profile manager then keeps the unreadable setting aside.
//
// A new record is all zero, with the adventure flag false and difficulty 1.
#pragma once

#include <array>
#include <cstdint>

#include "application/profiles.h"

class TUKPlayer : public ProfileData {
public:
    static constexpr int kUpgradeKinds = 13;
    static constexpr int kScoreSlots = 13;
    // The campaign's totals in the score slots: the money and the stars of
    // the days won (adventurescore.h makes the adventure's score of them).
    static constexpr int kMoneySlot = 0;
    static constexpr int kStarsSlot = 1;
    static constexpr int32_t kVersion = 2;

    TUKPlayer() = default;

    void write(Zep::ObjectStreamer& streamer) override;
    void read(Zep::ObjectStreamer& streamer) override;

    // Game kind 0 (the campaign): the working slots become the committed ones,
    // the best values rise to them and the extra working value is committed.
    // Kind 2 only raises the best values; other kinds change nothing.
    void commitScores(int nGameKind);

    // Indexes are checked ("Assertion failed : ...").
    int getUpgradeLevel(int nKind) const;
    void setUpgradeLevel(int nKind, int nLevel);
    int getMoney() const { return m_nMoney; }
    void setMoney(int nMoney) { m_nMoney = nMoney; }
    bool isAdventureInProgress() const { return m_bAdventureInProgress; }
    void setAdventureInProgress(bool bOn) { m_bAdventureInProgress = bOn; }
    int getStoryValue() const { return m_nStoryValue; }
    void setStoryValue(int nValue) { m_nStoryValue = nValue; }
    int getStageNumber() const { return m_nStageNumber; }
    void setStageNumber(int nStage) { m_nStageNumber = nStage; }
    int getDifficulty() const { return m_nDifficulty; }
    void setDifficulty(int nDifficulty) { m_nDifficulty = nDifficulty; }
    int getAdventureProgress() const { return m_nAdventureProgress; }
    void setAdventureProgress(int nProgress) { m_nAdventureProgress = nProgress; }
    int getCommittedScore(int nSlot) const;
    int getWorkingScore(int nSlot) const;
    void setWorkingScore(int nSlot, int nValue);
    int getBestScore(int nSlot) const;
    int getExtraCommitted() const { return m_nExtraCommitted; }
    int getExtraWorking() const { return m_nExtraWorking; }
    void setExtraWorking(int nValue) { m_nExtraWorking = nValue; }

private:
    using Slots = std::array<int32_t, kScoreSlots>;

    void raiseBestScores();

    std::array<int32_t, kUpgradeKinds> m_aUpgradeLevels{};
    int32_t m_nMoney = 0;
    bool m_bAdventureInProgress = false;
    int32_t m_nStoryValue = 0;
    int32_t m_nStageNumber = 0;
    int32_t m_nDifficulty = 1;
    int32_t m_nAdventureProgress = 0;
    Slots m_aCommittedScores{};
    Slots m_aWorkingScores{};
    Slots m_aBestScores{};
    int32_t m_nExtraCommitted = 0;
    int32_t m_nExtraWorking = 0;
};

// The game's profile manager: its profiles are player records.
using TUKPlayerManager = ProfileManagerImpl<TUKPlayer>;
