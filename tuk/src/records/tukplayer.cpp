// The player record's stream form and its score commit (tukplayer.h).
#include "records/tukplayer.h"

#include <algorithm>

#include <zep2/error.h>
#include <zep2/objectstreamer.h>

namespace {

constexpr const char* kZepSource = ".\\src\\tukplayer";

template <size_t N>
void writeAll(Zep::ObjectStreamer& streamer, const std::array<int32_t, N>& aValues) {
    for (int32_t nValue : aValues) streamer.writeInt32(nValue);
}

template <size_t N>
void readAll(Zep::ObjectStreamer& streamer, std::array<int32_t, N>& aValues) {
    for (int32_t& nValue : aValues) streamer.readInt32(nValue);
}

}  // namespace

void TUKPlayer::write(Zep::ObjectStreamer& streamer) {
    ProfileData::write(streamer);
    streamer.writeInt32(kVersion);
    writeAll(streamer, m_aUpgradeLevels);
    streamer.writeInt32(m_nMoney);
    streamer.writeBool(m_bAdventureInProgress);
    streamer.writeInt32(m_nStoryValue);
    streamer.writeInt32(m_nStageNumber);
    streamer.writeInt32(m_nDifficulty);
    streamer.writeInt32(m_nAdventureProgress);
    writeAll(streamer, m_aCommittedScores);
    writeAll(streamer, m_aWorkingScores);
    writeAll(streamer, m_aBestScores);
    streamer.writeInt32(m_nExtraCommitted);
    streamer.writeInt32(m_nExtraWorking);
}

void TUKPlayer::read(Zep::ObjectStreamer& streamer) {
    ZEP_TRACE("TUKPlayer::read");
    ProfileData::read(streamer);
    int32_t nVersion = 0;
    streamer.readInt32(nVersion);
    if (nVersion != 1 && nVersion != 2)
        ZEP_THROW(Zep::BadStreamFormatException, "TUKPlayer::read : unknown format version\n");
    readAll(streamer, m_aUpgradeLevels);
    streamer.readInt32(m_nMoney);
    streamer.readBool(m_bAdventureInProgress);
    streamer.readInt32(m_nStoryValue);
    streamer.readInt32(m_nStageNumber);
    streamer.readInt32(m_nDifficulty);
    streamer.readInt32(m_nAdventureProgress);
    readAll(streamer, m_aCommittedScores);
    readAll(streamer, m_aWorkingScores);
    if (nVersion == 1) {
        m_aBestScores = m_aCommittedScores;
        m_nExtraCommitted = 0;
        m_nExtraWorking = 0;
        return;
    }
    readAll(streamer, m_aBestScores);
    streamer.readInt32(m_nExtraCommitted);
    streamer.readInt32(m_nExtraWorking);
}

void TUKPlayer::raiseBestScores() {
    for (int i = 0; i < kScoreSlots; ++i) m_aBestScores[i] = std::max(m_aBestScores[i], m_aWorkingScores[i]);
}

void TUKPlayer::commitScores(int nGameKind) {
    if (nGameKind == 0) {
        m_aCommittedScores = m_aWorkingScores;
        raiseBestScores();
        m_nExtraCommitted = m_nExtraWorking;
    } else if (nGameKind == 2) {
        raiseBestScores();
    }
}

int TUKPlayer::getUpgradeLevel(int nKind) const {
    ZEP_ASSERT(nKind >= 0 && nKind < kUpgradeKinds);
    return m_aUpgradeLevels[nKind];
}

void TUKPlayer::setUpgradeLevel(int nKind, int nLevel) {
    ZEP_ASSERT(nKind >= 0 && nKind < kUpgradeKinds);
    m_aUpgradeLevels[nKind] = nLevel;
}

int TUKPlayer::getCommittedScore(int nSlot) const {
    ZEP_ASSERT(nSlot >= 0 && nSlot < kScoreSlots);
    return m_aCommittedScores[nSlot];
}

int TUKPlayer::getWorkingScore(int nSlot) const {
    ZEP_ASSERT(nSlot >= 0 && nSlot < kScoreSlots);
    return m_aWorkingScores[nSlot];
}

void TUKPlayer::setWorkingScore(int nSlot, int nValue) {
    ZEP_ASSERT(nSlot >= 0 && nSlot < kScoreSlots);
    m_aWorkingScores[nSlot] = nValue;
}

int TUKPlayer::getBestScore(int nSlot) const {
    ZEP_ASSERT(nSlot >= 0 && nSlot < kScoreSlots);
    return m_aBestScores[nSlot];
}
