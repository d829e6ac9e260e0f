// Damaged player records inside the profiles setting: each row changes one
// field of a valid record, or cuts it.
#include <climits>
#include <string>

#include <gtest/gtest.h>

#include "testkit/testkit_fixtures.h"
#include "records/records_util.h"
#include "records/tukplayer.h"

using namespace recordtest;

namespace {

class HostilePlayerRecords : public testkit::AppTest<> {};

// A valid version-2 record: levels 1, money 500, the flag set, the rest 0
// but difficulty 1.
std::string validRecord() {
    std::string s = le32(2);
    for (int i = 0; i < 13; ++i) s += le32(1);
    return s + le32(500) + std::string("\x01", 1) + le32s({0, 0, 1, 0}) + std::string(164, '\0');
}

std::string withWord(std::string sRecord, size_t nOffset, int32_t nValue) {
    return sRecord.replace(nOffset, 4, le32(nValue));
}

}  // namespace

TEST_F(HostilePlayerRecords, BadVersionsAndCutRecordsLeaveNoProfileAndKeepTheSetting) {
    const std::string sValid = validRecord();
    std::string sFlagTwo = sValid;
    sFlagTwo[60] = 2;
    const std::string sVersionOne = withWord(sValid, 0, 1).substr(0, 181);
    const struct {
        const char* szCase;
        std::string sRecord;
        const char* szLoaded;  // levels 0 and 1, money, flag; null: nothing loads
    } kRows[] = {
        {"valid", sValid, "1 1 500 1"},
        {"version 0", withWord(sValid, 0, 0), nullptr},
        {"version 3", withWord(sValid, 0, 3), nullptr},
        {"version -1", withWord(sValid, 0, -1), nullptr},
        {"version 2 big-endian", withWord(sValid, 0, 0x02000000), nullptr},
        {"cut after the version", sValid.substr(0, 4), nullptr},
        {"cut at the flag", sValid.substr(0, 60), nullptr},
        {"version 2 cut where version 1 ends", sValid.substr(0, 181), nullptr},
        {"version 2 one byte short", sValid.substr(0, 240), nullptr},
        {"version 1 one byte short", sVersionOne.substr(0, 180), nullptr},
        {"flag byte 2 reads as not set", sFlagTwo, "1 1 500 0"},
        {"negative level and money kept as read", withWord(withWord(sValid, 4, -7), 56, INT_MIN),
         "-7 1 -2147483648 1"},
    };
    for (const auto& row : kRows) {
        setSettingBytes(m_app, profilesStream({{"Ab", row.sRecord}}));
        const std::string sStored = m_app.getSetting(ProfileManager::kSettingKey).c_str();
        TUKPlayerManager manager;
        manager.load();
        EXPECT_EQ(manager.hasUnreadableData(), row.szLoaded == nullptr) << row.szCase;
        if (!row.szLoaded) {
            EXPECT_EQ(manager.getProfileCount(), 0) << row.szCase;
            manager.save();
            EXPECT_EQ(m_app.getSetting(ProfileManager::kSettingKey).c_str(), sStored) << row.szCase;
            continue;
        }
        ASSERT_EQ(manager.getProfileCount(), 1) << row.szCase;
        const auto* p = static_cast<TUKPlayer*>(manager.getProfileAt(0));
        EXPECT_EQ(std::to_string(p->getUpgradeLevel(0)) + " " + std::to_string(p->getUpgradeLevel(1)) + " " +
                      std::to_string(p->getMoney()) + " " + std::to_string(p->isAdventureInProgress()),
                  row.szLoaded)
            << row.szCase;
    }
}
