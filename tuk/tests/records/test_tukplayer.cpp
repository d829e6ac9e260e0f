// The player record inside the profiles setting, and its score commit.
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include <zep2/error.h>
#include <zep2/memstream.h>
#include <zep2/objectstreamer.h>

#include "testkit/testkit_fixtures.h"
#include "records/records_util.h"
#include "records/tukplayer.h"

using namespace recordtest;

namespace {

class PlayerRecordTest : public testkit::AppTest<> {};

// 13 words: nFirst, nFirst + nStep, ...
std::string slots(int32_t nFirst, int32_t nStep) {
    std::string s;
    for (int i = 0; i < 13; ++i) s += le32(nFirst + i * nStep);
    return s;
}

void setWorking(TUKPlayer& player, int32_t nFirst, int32_t nStep) {
    for (int i = 0; i < 13; ++i) player.setWorkingScore(i, nFirst + i * nStep);
}

// A version-1 record: no best values, no extra values.
std::string versionOneRecord() {
    return le32(1) + slots(0, 1) + le32(900) + std::string("\x01", 1) + le32s({4, 3, 2, 25}) + slots(10, 10) +
           slots(7, 0);
}

}  // namespace

TEST_F(PlayerRecordTest, GoldenBytesOfVersionTwoAfterTheNameInsideTheSetting) {
    {
        TUKPlayerManager manager;
        auto* p = static_cast<TUKPlayer*>(manager.createProfile("Ab"));
        for (int k = 0; k < 13; ++k) p->setUpgradeLevel(k, k);
        p->setMoney(1234);
        p->setAdventureInProgress(true);
        p->setStoryValue(3);
        p->setStageNumber(2);
        p->setDifficulty(2);
        p->setAdventureProgress(17);
        setWorking(*p, 100, 1);
        p->setExtraWorking(5);
        p->commitScores(0);
        setWorking(*p, 50, 20);  // slots 0 to 2 below the best values, 3 to 12 above
        p->setExtraWorking(6);
        manager.save();
    }
    const std::string sRecord = le32(2) + slots(0, 1) + le32(1234) + std::string("\x01", 1) + le32s({3, 2, 2, 17}) +
                                slots(100, 1) + slots(50, 20) + slots(100, 1) + le32s({5, 6});
    ASSERT_EQ(sRecord.size(), 241u);
    EXPECT_EQ(settingBytes(m_app), profilesStream({{"Ab", sRecord}}));
}

TEST_F(PlayerRecordTest, NewRecordIsZeroWithDifficultyOne) {
    TUKPlayerManager manager;
    manager.createProfile("Ab");
    manager.save();
    const std::string sRecord = le32(2) + slots(0, 0) + le32(0) + std::string(1, '\0') + le32s({0, 0, 1, 0}) +
                                slots(0, 0) + slots(0, 0) + slots(0, 0) + le32s({0, 0});
    EXPECT_EQ(settingBytes(m_app), profilesStream({{"Ab", sRecord}}));
}

// The version-1 record is followed by a second profile: it is read to its
// exact end.
TEST_F(PlayerRecordTest, VersionOneReadsWithBestValuesFromTheCommittedOnesAndNoExtras) {
    setSettingBytes(m_app, profilesStream({{"Ab", versionOneRecord()}, {"Cy", le32(2) + std::string(237, '\0')}}));
    TUKPlayerManager manager;
    manager.load();
    ASSERT_EQ(manager.getProfileCount(), 2);
    EXPECT_FALSE(manager.hasUnreadableData());
    auto* p = static_cast<TUKPlayer*>(manager.getProfile("ab"));
    EXPECT_EQ(p->getUpgradeLevel(12), 12);
    EXPECT_EQ(p->getMoney(), 900);
    EXPECT_TRUE(p->isAdventureInProgress());
    EXPECT_EQ(p->getStoryValue(), 4);
    EXPECT_EQ(p->getStageNumber(), 3);
    EXPECT_EQ(p->getDifficulty(), 2);
    EXPECT_EQ(p->getAdventureProgress(), 25);
    for (int i : {0, 12}) {
        EXPECT_EQ(p->getCommittedScore(i), 10 + 10 * i);
        EXPECT_EQ(p->getBestScore(i), 10 + 10 * i);
        EXPECT_EQ(p->getWorkingScore(i), 7);
    }
    EXPECT_EQ(p->getExtraCommitted(), 0);
    EXPECT_EQ(p->getExtraWorking(), 0);
    EXPECT_STREQ(manager.getProfileAt(1)->getName().c_str(), "Cy");
}

TEST_F(PlayerRecordTest, UnknownVersionThrowsAndTheManagerKeepsTheSettingAside) {
    const std::string sRecord = le32(3) + std::string(237, '\0');
    const std::string sStream = profilesStream({{"Ab", sRecord}});
    {
        const std::string sAlone = std::string("\x05", 1) + str("Ab") + sRecord;
        Zep::SmartPtr<Zep::MemStream> pBytes(new Zep::MemStream(sAlone.data(), static_cast<int>(sAlone.size())));
        Zep::ObjectStreamer reader(pBytes.get(), false);
        TUKPlayer player;
        EXPECT_EQ(testkit::messageOf<Zep::BadStreamFormatException>([&] { player.read(reader); }),
                  "TUKPlayer::read : unknown format version\n");
    }
    setSettingBytes(m_app, sStream);
    const std::string sStored = m_app.getSetting(ProfileManager::kSettingKey).c_str();
    TUKPlayerManager manager;
    manager.load();
    EXPECT_EQ(manager.getProfileCount(), 0);
    EXPECT_TRUE(manager.hasUnreadableData());
    EXPECT_NE(m_files.logText().find("P: ** Bad profile data, kept as it was **\n"), std::string::npos);
    manager.save();
    EXPECT_EQ(m_app.getSetting(ProfileManager::kSettingKey).c_str(), sStored);
    manager.createProfile("Fresh");
    manager.save();
    EXPECT_EQ(m_app.getSetting(ProfileManager::kBackupKey).c_str(), sStored);
    EXPECT_EQ(settingBytes(m_app).substr(0, 5), std::string("\x05\x01\x00\x00\x00", 5));
}

TEST(PlayerScores, CommitByGameKind) {
    struct Row {
        int nKind;
        int32_t aCommitted[2], aBest[2], nExtraCommitted;
    };
    // Before: committed and best (10, 3), working (4, 8); extra committed 1, working 2.
    const Row kRows[] = {
        {0, {4, 8}, {10, 8}, 2},
        {1, {10, 3}, {10, 3}, 1},
        {2, {10, 3}, {10, 8}, 1},
        {-1, {10, 3}, {10, 3}, 1},
    };
    for (const Row& row : kRows) {
        TUKPlayer player;
        player.setWorkingScore(0, 10);
        player.setWorkingScore(1, 3);
        player.setExtraWorking(1);
        player.commitScores(0);
        player.setWorkingScore(0, 4);
        player.setWorkingScore(1, 8);
        player.setExtraWorking(2);
        player.commitScores(row.nKind);
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(player.getCommittedScore(i), row.aCommitted[i]) << row.nKind << " slot " << i;
            EXPECT_EQ(player.getBestScore(i), row.aBest[i]) << row.nKind << " slot " << i;
            EXPECT_EQ(player.getWorkingScore(i), i == 0 ? 4 : 8);
        }
        EXPECT_EQ(player.getExtraCommitted(), row.nExtraCommitted) << row.nKind;
    }
}
