// Player profiles kept in one setting.
#include <string>

#include <gtest/gtest.h>

#include "gameapp.h"
#include "profiles.h"
#include "testkit_app.h"
#include "testkit_tempdir.h"
#include "zep2/error.h"
#include "zep2/memstream.h"
#include "zep2/objectstreamer.h"

using testkit::AppFiles;
using testkit::TempDir;
using testkit::TestApp;

namespace {

// The game's kind of record: the name, then a version and its own data.
class TestPlayer : public ProfileData {
public:
    void write(Zep::ObjectStreamer& streamer) override {
        ProfileData::write(streamer);
        streamer.writeInt32(2);
        streamer.writeInt32(m_nScore);
    }
    void read(Zep::ObjectStreamer& streamer) override {
        ProfileData::read(streamer);
        int32_t nVersion = 0;
        streamer.readInt32(nVersion);
        streamer.readInt32(m_nScore);
    }
    int32_t m_nScore = 0;
};

using PlayerManager = ProfileManagerImpl<TestPlayer>;

TestPlayer* player(ProfileData* p) { return dynamic_cast<TestPlayer*>(p); }

std::string bytesOf(Zep::MemStream& stream) {
    return std::string(static_cast<const char*>(stream.getBuffer()), stream.length());
}

// The raw object-stream bytes behind the setting.
std::string settingBytes(const GameApp& app) {
    Zep::SmartPtr<Zep::MemStream> pBytes =
        Zep::String::unescapeBinary(app.getSetting(ProfileManager::kSettingKey).c_str());
    return bytesOf(*pBytes);
}

void setSettingBytes(GameApp& app, const std::string& sBytes) {
    app.setSetting(ProfileManager::kSettingKey, Zep::String::escapeBinary(sBytes.data(), sBytes.size()).c_str());
}

// Writes profiles the way a writer of the given byte order would.
std::string writtenProfiles(const std::vector<std::pair<std::string, int>>& vProfiles, uint8_t nByteOrder) {
    Zep::SmartPtr<Zep::MemStream> pStream(new Zep::MemStream());
    pStream->setByteOrder(nByteOrder);
    {
        Zep::ObjectStreamer streamer(pStream.get(), false);
        streamer.writeInt32(static_cast<int32_t>(vProfiles.size()));
        for (const auto& entry : vProfiles) {
            TestPlayer p;
            p.setName(entry.first.c_str());
            p.m_nScore = entry.second;
            streamer.writeString(entry.first.c_str());
            streamer.writeByte(0);
            p.write(streamer);
        }
    }
    return bytesOf(*pStream);
}

class ProfilesTest : public ::testing::Test {
protected:
    TempDir dir;
    AppFiles files{dir};
    TestApp app;
};

}  // namespace

TEST_F(ProfilesTest, SaveAndLoadKeepNamesOrderAndSubclassData) {
    {
        PlayerManager manager;
        player(manager.createProfile("Ann"))->m_nScore = 1200;
        player(manager.createProfile("Bob "))->m_nScore = -5;
        player(manager.createProfile("Cy"))->m_nScore = 7;
        manager.save();
    }
    // The escaped text survives the table's string storage.
    const Zep::String& sText = app.getSetting(ProfileManager::kSettingKey);
    EXPECT_EQ(sText.length(), static_cast<int>(std::string(sText.c_str()).size()));
    EXPECT_GT(sText.length(), 0);

    PlayerManager loaded;
    loaded.load();
    ASSERT_EQ(loaded.getProfileCount(), 3);
    EXPECT_STREQ(loaded.getProfileAt(0)->getName().c_str(), "Ann");
    EXPECT_STREQ(loaded.getProfileAt(1)->getName().c_str(), "Bob ");
    EXPECT_STREQ(loaded.getProfileAt(2)->getName().c_str(), "Cy");
    EXPECT_EQ(player(loaded.getProfile("ann"))->m_nScore, 1200);
    EXPECT_EQ(player(loaded.getProfile("bob"))->m_nScore, -5);
    EXPECT_EQ(player(loaded.getProfile(" CY "))->m_nScore, 7);
}

TEST_F(ProfilesTest, StreamLayoutIsCountThenNameMarkerAndRecord) {
    {
        PlayerManager manager;
        player(manager.createProfile("Al"))->m_nScore = 258;
        manager.save();
    }
    std::string sExpected("\x05"
                          "\x01\x00\x00\x00"
                          "\x12\x02"
                          "Al"
                          "\x00"
                          "\x12\x02"
                          "Al"
                          "\x02\x00\x00\x00"
                          "\x02\x01\x00\x00",
                          22);
    EXPECT_EQ(settingBytes(app), sExpected);
}

TEST_F(ProfilesTest, NamesAreFoundTrimmedAndLowerCased) {
    PlayerManager manager;
    ProfileData* p = manager.createProfile("Mixed Case ");
    EXPECT_TRUE(manager.hasProfile("mixed case"));
    EXPECT_TRUE(manager.hasProfile("  MIXED CASE\t"));
    EXPECT_EQ(manager.getProfile("mixed case"), p);
    EXPECT_STREQ(p->getName().c_str(), "Mixed Case ");
    Zep::List<Zep::String> lNames = manager.getProfileNames();
    ASSERT_EQ(lNames.getCount(), 1);
    EXPECT_STREQ(lNames.get(0).c_str(), "mixed case");
}

TEST_F(ProfilesTest, DuplicatesAndMissingNamesFail) {
    PlayerManager manager;
    manager.createProfile("Ann");
    try {
        manager.createProfile(" ANN");
        FAIL() << "no exception";
    } catch (const Zep::AssertFailException& e) {
        EXPECT_STREQ(e.getMessage(), "Assertion failed : !hasProfile(sName)");
    }
    try {
        manager.getProfile("nobody");
        FAIL() << "no exception";
    } catch (const Zep::FatalErrorException& e) {
        // The table's own missing-key error, naming the key.
        std::string sMessage = e.getMessage();
        EXPECT_EQ(sMessage.rfind("Hash key not found : ", 0), 0u) << sMessage;
        EXPECT_NE(sMessage.find("nobody"), std::string::npos) << sMessage;
    }
    EXPECT_THROW(manager.deleteProfile("nobody"), Zep::FatalErrorException);
    manager.deleteProfile("ann");
    EXPECT_EQ(manager.getProfileCount(), 0);
    EXPECT_FALSE(manager.hasProfile("Ann"));
}

TEST_F(ProfilesTest, EmptySetSavesCountZeroAndLoadingItClears) {
    {
        PlayerManager manager;
        manager.save();
    }
    EXPECT_EQ(settingBytes(app), std::string("\x05\x00\x00\x00\x00", 5));
    EXPECT_STREQ(app.getSetting(ProfileManager::kSettingKey).c_str(), "\x05\x01\x01\x01\x01\x01\x01\x01\x01");

    PlayerManager manager;
    manager.createProfile("Temp");
    manager.load();
    EXPECT_EQ(manager.getProfileCount(), 0);
}

TEST_F(ProfilesTest, EmptySettingChangesNothing) {
    app.setSetting(ProfileManager::kSettingKey, "");
    PlayerManager manager;
    manager.createProfile("Kept");
    manager.load();
    EXPECT_EQ(manager.getProfileCount(), 1);
}

TEST_F(ProfilesTest, BigEndianWriterLoadsAfterTheSwappedRetry) {
    setSettingBytes(app, writtenProfiles({{"Eve", 7}, {"Zed", 65536}}, Zep::Stream::kBigEndian));
    PlayerManager manager;
    manager.load();
    ASSERT_EQ(manager.getProfileCount(), 2);
    EXPECT_EQ(player(manager.getProfile("eve"))->m_nScore, 7);
    EXPECT_EQ(player(manager.getProfile("zed"))->m_nScore, 65536);
    EXPECT_FALSE(manager.hasUnreadableData());
}

TEST_F(ProfilesTest, DestructorSaves) {
    {
        PlayerManager manager;
        manager.createProfile("Late");
    }
    PlayerManager manager;
    manager.load();
    EXPECT_TRUE(manager.hasProfile("late"));
}

// ---- Damaged settings are kept ---------------------------------------------------

TEST_F(ProfilesTest, UnreadableSettingIsKeptUntilTheSetChanges) {
    std::string sGood = writtenProfiles({{"Ann", 1}, {"Bob", 2}}, Zep::Stream::kLittleEndian);
    std::string sDamaged = sGood.substr(0, sGood.size() - 1);
    setSettingBytes(app, sDamaged);
    std::string sStored = app.getSetting(ProfileManager::kSettingKey).c_str();
    {
        PlayerManager manager;
        manager.load();
        EXPECT_EQ(manager.getProfileCount(), 0);
        EXPECT_TRUE(manager.hasUnreadableData());
        manager.save();
        EXPECT_STREQ(app.getSetting(ProfileManager::kSettingKey).c_str(), sStored.c_str());
    }  // the destructor's save keeps it too
    EXPECT_STREQ(app.getSetting(ProfileManager::kSettingKey).c_str(), sStored.c_str());
    EXPECT_NE(files.logText().find("P: ** Bad profile data, kept as it was **\n"), std::string::npos);

    PlayerManager manager;
    manager.load();
    manager.createProfile("Fresh");
    manager.save();
    EXPECT_STREQ(app.getSetting(ProfileManager::kBackupKey).c_str(), sStored.c_str());
    PlayerManager reloaded;
    reloaded.load();
    ASSERT_EQ(reloaded.getProfileCount(), 1);
    EXPECT_STREQ(reloaded.getProfileAt(0)->getName().c_str(), "Fresh");
}

TEST_F(ProfilesTest, CountOutOfRangeBothWaysIsDamagedNotLooped) {
    // 0x7FFFFFFF little-endian, negative when swapped.
    setSettingBytes(app, std::string("\x05\xFF\xFF\xFF\x7F\x12\x01" "A\x00", 9));
    PlayerManager manager;
    manager.load();
    EXPECT_EQ(manager.getProfileCount(), 0);
    EXPECT_TRUE(manager.hasUnreadableData());
}

TEST_F(ProfilesTest, DuplicateNameInTheStreamIsSkipped) {
    setSettingBytes(app, writtenProfiles({{"Ann", 1}, {"ann ", 2}, {"Bob", 3}}, Zep::Stream::kLittleEndian));
    PlayerManager manager;
    manager.load();
    ASSERT_EQ(manager.getProfileCount(), 2);
    EXPECT_EQ(manager.getProfileNames().getCount(), 2);
    EXPECT_EQ(player(manager.getProfile("ann"))->m_nScore, 1);
    EXPECT_EQ(player(manager.getProfile("bob"))->m_nScore, 3);
    manager.deleteProfile("ann");
    manager.deleteProfile("bob");
    EXPECT_EQ(manager.getProfileCount(), 0);
}

TEST_F(ProfilesTest, ForeignTextIsDamaged) {
    app.setSetting(ProfileManager::kSettingKey, "hello");
    PlayerManager manager;
    manager.load();
    EXPECT_EQ(manager.getProfileCount(), 0);
    EXPECT_TRUE(manager.hasUnreadableData());
}

// ---- Without an application object ---------------------------------------------

TEST(ProfilesNoApp, SaveAndLoadNeedTheApplication) {
    ASSERT_EQ(GameApp::getInstance(), nullptr);
    PlayerManager manager;
    try {
        manager.save();
        FAIL() << "no exception";
    } catch (const Zep::AssertFailException& e) {
        EXPECT_STREQ(e.getMessage(), "Assertion failed : pApp");
    }
    EXPECT_THROW(manager.load(), Zep::AssertFailException);
    manager.createProfile("Orphan");
    // The destructor's save fails quietly instead of ending the program.
}

// ---- Object references -----------------------------------------------------------

TEST(ProfileReferences, SecondReferenceAndNullAreTags) {
    ProfileData ann;
    ann.setName("Ann");
    Zep::SmartPtr<Zep::MemStream> pStream(new Zep::MemStream());
    {
        Zep::ObjectStreamer streamer(pStream.get(), false);
        writeProfileObject(streamer, &ann);
        writeProfileObject(streamer, &ann);
        writeProfileObject(streamer, nullptr);
        writeProfileValue(streamer, ann);
    }
    std::string sExpected("\x05"
                          "\x00\x00\x00\x00\x00\x12\x03"
                          "Ann"
                          "\x01\x00\x00\x00\x00"
                          "\x02"
                          "\x00\x12\x03"
                          "Ann",
                          23);
    EXPECT_EQ(bytesOf(*pStream), sExpected);

    Zep::SmartPtr<Zep::MemStream> pView = pStream->clone();
    Zep::ObjectStreamer reader(pView.get(), false);
    ProfileData* pFirst = nullptr;
    ProfileData* pSecond = nullptr;
    ProfileData* pNull = &ann;
    readProfileObject(reader, pFirst);
    readProfileObject(reader, pSecond);
    readProfileObject(reader, pNull);
    ProfileData value;
    readProfileValue(reader, value);
    std::unique_ptr<ProfileData> pOwned(pFirst);
    EXPECT_EQ(pFirst, pSecond);
    EXPECT_STREQ(pFirst->getName().c_str(), "Ann");
    EXPECT_EQ(pNull, nullptr);
    EXPECT_STREQ(value.getName().c_str(), "Ann");
}

TEST(ProfileReferences, UnknownBackReferenceFails) {
    std::string sBytes("\x05\x01\x07\x00\x00\x00", 6);
    Zep::SmartPtr<Zep::MemStream> pView(new Zep::MemStream(sBytes.data(), static_cast<int>(sBytes.size())));
    Zep::ObjectStreamer reader(pView.get(), false);
    ProfileData* p = nullptr;
    try {
        readProfileObject(reader, p);
        FAIL() << "no exception";
    } catch (const Zep::FatalErrorException& e) {
        EXPECT_STREQ(e.getMessage(), "AlreadyLoaded failed");
    }
}
