// Player profiles kept in one setting.
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include <zep2/error.h>
#include <zep2/memstream.h>
#include <zep2/objectstreamer.h>

#include "application/gameapp.h"
#include "testkit/testkit_fixtures.h"
#include "application/profiles.h"

using testkit::messageOf;

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

// "name=score|" for every profile, in the manager's order.
std::string listing(const ProfileManager& manager) {
    std::string sOut;
    for (int i = 0; i < manager.getProfileCount(); ++i) {
        TestPlayer* p = player(manager.getProfileAt(i));
        sOut += std::string(p->getName().c_str()) + "=" + std::to_string(p->m_nScore) + "|";
    }
    return sOut;
}

class ProfilesTest : public testkit::AppTest<> {
protected:
    // A manager that loaded the setting.
    std::unique_ptr<PlayerManager> loaded() {
        auto pManager = std::make_unique<PlayerManager>();
        pManager->load();
        return pManager;
    }
};

}  // namespace

TEST_F(ProfilesTest, StreamLayoutAndTheDestructorsSaveOfNamesOrderAndSubclassData) {
    {
        PlayerManager manager;
        player(manager.createProfile("Al"))->m_nScore = 258;
        manager.save();
    }
    // Count, name, marker, then the record: name, version, score.
    const std::string sExpected("\x05" "\x01\x00\x00\x00" "\x12\x02" "Al" "\x00"
                                "\x12\x02" "Al" "\x02\x00\x00\x00" "\x02\x01\x00\x00", 22);
    EXPECT_EQ(settingBytes(m_app), sExpected);
    {
        PlayerManager manager;
        for (const auto& [szName, nScore] : {std::pair{"Ann", 1200}, {"Bob ", -5}, {"Cy", 7}})
            player(manager.createProfile(szName))->m_nScore = nScore;
    }
    // The escaped text survives the table's string storage.
    const Zep::String& sText = m_app.getSetting(ProfileManager::kSettingKey);
    EXPECT_EQ(sText.length(), static_cast<int>(std::string(sText.c_str()).size()));
    auto pLoaded = loaded();
    EXPECT_EQ(listing(*pLoaded), "Ann=1200|Bob =-5|Cy=7|");
    EXPECT_EQ(player(pLoaded->getProfile(" CY "))->m_nScore, 7);
}

TEST_F(ProfilesTest, NamesAreFoundTrimmedAndLowerCasedAndDuplicatesFail) {
    PlayerManager manager;
    ProfileData* p = manager.createProfile("Mixed Case ");
    EXPECT_TRUE(manager.hasProfile("  MIXED CASE\t") && manager.getProfile("mixed case") == p);
    EXPECT_STREQ(p->getName().c_str(), "Mixed Case ");
    EXPECT_EQ(manager.getProfileNames().getCount(), 1);
    EXPECT_STREQ(manager.getProfileNames().get(0).c_str(), "mixed case");

    EXPECT_EQ("Assertion failed : !hasProfile(sName)",
              messageOf<Zep::AssertFailException>([&] { manager.createProfile(" MIXED case"); }));
    // The table's own missing-key error, naming the key.
    EXPECT_EQ("Hash key not found : \"nobody\"",
              messageOf<Zep::FatalErrorException>([&] { manager.getProfile("nobody"); }));
    EXPECT_THROW(manager.deleteProfile("nobody"), Zep::FatalErrorException);
    manager.deleteProfile("mixed case");
    EXPECT_FALSE(manager.getProfileCount() != 0 || manager.hasProfile("Mixed Case"));
}

TEST_F(ProfilesTest, EmptySetSavesCountZeroAndLoadingItClears) {
    m_app.setSetting(ProfileManager::kSettingKey, "");
    PlayerManager manager;
    manager.createProfile("Temp");
    manager.load();  // an empty setting changes nothing
    EXPECT_EQ(manager.getProfileCount(), 1);
    PlayerManager().save();
    EXPECT_EQ(settingBytes(m_app), std::string("\x05\x00\x00\x00\x00", 5));
    EXPECT_STREQ(m_app.getSetting(ProfileManager::kSettingKey).c_str(), "\x05\x01\x01\x01\x01\x01\x01\x01\x01");
    manager.load();
    EXPECT_EQ(manager.getProfileCount(), 0);
}

TEST_F(ProfilesTest, UnreadableSettingIsKeptUntilTheSetChanges) {
    std::string sGood = writtenProfiles({{"Ann", 1}, {"Bob", 2}}, Zep::Stream::kLittleEndian);
    std::string sDamaged = sGood.substr(0, sGood.size() - 1);
    setSettingBytes(m_app, sDamaged);
    std::string sStored = m_app.getSetting(ProfileManager::kSettingKey).c_str();
    {
        auto pManager = loaded();
        EXPECT_TRUE(pManager->hasUnreadableData() && pManager->getProfileCount() == 0);
        pManager->save();
        EXPECT_STREQ(m_app.getSetting(ProfileManager::kSettingKey).c_str(), sStored.c_str());
    }  // the destructor's save keeps it too
    EXPECT_STREQ(m_app.getSetting(ProfileManager::kSettingKey).c_str(), sStored.c_str());
    EXPECT_NE(m_files.logText().find("P: ** Bad profile data, kept as it was **\n"), std::string::npos);

    auto pManager = loaded();
    pManager->createProfile("Fresh");
    pManager->save();
    EXPECT_STREQ(m_app.getSetting(ProfileManager::kBackupKey).c_str(), sStored.c_str());
    EXPECT_EQ(listing(*loaded()), "Fresh=0|");
}

// Put aside at once or on a change of the set, the unreadable text goes to
// the first backup key that is free or holds that text already; an older
// copy is never written over, and the next load finds a set, not damage.
TEST_F(ProfilesTest, UnreadableSettingIsPutAsideUnderTheFirstFreeBackupKey) {
    const std::string kBackup = ProfileManager::kBackupKey;
    const std::string sBad("\x05\x39\x30\x00\x00junk", 9);  // a count of 12345, or more swapped
    const std::string sStored = Zep::String::escapeBinary(sBad.data(), 9).c_str();
    const struct {
        std::vector<std::string> vOlder;  // the backup keys' texts before
        bool bAtOnce;                     // keepUnreadableAside, else a profile created and saved
        std::string sKey;
    } kCases[] = {{{}, true, kBackup},
                  {{"older"}, true, kBackup + ".1"},
                  {{"older", sStored}, true, kBackup + ".1"},
                  {{"older", "older too"}, false, kBackup + ".2"}};
    for (const auto& c : kCases) {
        m_app.clearSettings();
        setSettingBytes(m_app, sBad);
        for (size_t i = 0; i < c.vOlder.size(); ++i)
            m_app.setSetting((kBackup + (i ? std::string(".") + std::to_string(i) : std::string())).c_str(), c.vOlder[i].c_str());
        auto pManager = loaded();
        if (c.bAtOnce) {
            EXPECT_EQ(pManager->keepUnreadableAside().c_str(), c.sKey);
            EXPECT_EQ(pManager->keepUnreadableAside().c_str(), std::string());  // nothing left to put aside
        } else {
            pManager->createProfile("Fresh");
            pManager->save();
        }
        EXPECT_EQ(m_app.getSetting(c.sKey.c_str()).c_str(), sStored) << c.sKey;
        EXPECT_EQ(m_app.getSetting(kBackup.c_str()).c_str(), c.vOlder.empty() ? sStored : "older");
        auto pNext = loaded();
        EXPECT_FALSE(pNext->hasUnreadableData()) << c.sKey;
        EXPECT_EQ(listing(*pNext), c.bAtOnce ? "" : "Fresh=0|");
    }
}

TEST_F(ProfilesTest, ForeignTextAndCountsOutOfRangeBothWaysAreDamagedNotLooped) {
    // 0x7FFFFFFF little-endian, negative when swapped.
    const std::string sCount("\x05\xFF\xFF\xFF\x7F\x12\x01" "A\x00", 9);
    for (const Zep::String& sText : {Zep::String::escapeBinary(sCount.data(), 9), Zep::String("hello")}) {
        m_app.setSetting(ProfileManager::kSettingKey, sText.c_str());
        auto pManager = loaded();
        EXPECT_TRUE(pManager->hasUnreadableData() && pManager->getProfileCount() == 0) << sText.c_str();
    }
}

TEST_F(ProfilesTest, BigEndianWriterLoadsAfterTheSwappedRetryAndDuplicateNamesAreSkipped) {
    using Written = std::vector<std::pair<std::string, int>>;
    const std::tuple<Written, uint8_t, const char*> kCases[] = {
        {{{"Eve", 7}, {"Zed", 65536}}, Zep::Stream::kBigEndian, "Eve=7|Zed=65536|"},
        {{{"Ann", 1}, {"ann ", 2}, {"Bob", 3}}, Zep::Stream::kLittleEndian, "Ann=1|Bob=3|"}};
    for (const auto& [vWritten, nOrder, szLoaded] : kCases) {
        setSettingBytes(m_app, writtenProfiles(vWritten, nOrder));
        auto pManager = loaded();
        EXPECT_EQ(listing(*pManager), szLoaded);
        EXPECT_FALSE(pManager->hasUnreadableData());
        pManager->deleteProfile(vWritten.back().first.c_str());  // the table and the list agree
        EXPECT_EQ(pManager->getProfileNames().getCount(), pManager->getProfileCount());
    }
}

// A set of more than a hundred, as an older build wrote it: the list shows
// its first hundred and a save keeps them all; a delete brings the next one
// in. A count over a hundred that its profiles do not fill to the last byte
// is garbage, kept as it was.
TEST_F(ProfilesTest, MoreThanAHundredStoredListTheFirstHundredAndSaveThemAll) {
    using Written = std::vector<std::pair<std::string, int>>;
    Written v;
    for (int i = 1; i <= 102; ++i) v.emplace_back(std::string("P") + std::to_string(i), i);
    const auto le = [](const Written& w) { return writtenProfiles(w, Zep::Stream::kLittleEndian); };
    const std::string s101 = le(Written(v.begin(), v.end() - 1));
    std::string sCut = le(Written(v.begin(), v.end() - 2));
    sCut[1] = 101;  // the count, over a hundred profiles
    const struct {
        const char* szCase;
        std::string sStored;
        bool bRead;
        std::string sSaved;
    } kCases[] = {{"101", s101, true, s101},
                  {"102 of a big-endian writer", writtenProfiles(v, Zep::Stream::kBigEndian), true, le(v)},
                  {"101 followed by 100", sCut, false, sCut},
                  {"101 and a byte more", s101 + "x", false, s101 + "x"}};
    for (const auto& c : kCases) {
        setSettingBytes(m_app, c.sStored);
        auto pManager = loaded();
        EXPECT_EQ(pManager->hasUnreadableData(), !c.bRead) << c.szCase;
        EXPECT_EQ(pManager->getProfileCount(), c.bRead ? 100 : 0) << c.szCase;
        if (c.bRead) {
            EXPECT_STREQ(pManager->getProfileAt(99)->getName().c_str(), "P100") << c.szCase;
        }
        pManager->save();
        EXPECT_EQ(settingBytes(m_app), c.sSaved) << c.szCase;
    }
    setSettingBytes(m_app, le(v));
    auto pManager = loaded();
    pManager->deleteProfile("p5");
    EXPECT_STREQ(pManager->getProfileAt(99)->getName().c_str(), "P101");
    pManager->save();
    v.erase(v.begin() + 4);
    EXPECT_EQ(settingBytes(m_app), le(v));
}

TEST(ProfilesNoApp, SaveAndLoadNeedTheApplication) {
    ASSERT_EQ(GameApp::getInstance(), nullptr);
    PlayerManager manager;
    EXPECT_EQ("Assertion failed : pApp", messageOf<Zep::AssertFailException>([&] { manager.save(); }));
    EXPECT_THROW(manager.load(), Zep::AssertFailException);
    manager.createProfile("Orphan");
    // The destructor's save fails quietly instead of ending the program.
}

TEST(ProfileReferences, SecondReferenceAndNullAreTagsAndUnknownOnesFail) {
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
    // The object, a reference back to it, null, then a value.
    const std::string sExpected("\x05" "\x00\x00\x00\x00\x00\x12\x03" "Ann" "\x01\x00\x00\x00\x00" "\x02"
                                "\x00\x12\x03" "Ann", 23);
    EXPECT_EQ(bytesOf(*pStream), sExpected);

    Zep::SmartPtr<Zep::MemStream> pView = pStream->clone();
    Zep::ObjectStreamer reader(pView.get(), false);
    ProfileData *pFirst = nullptr, *pSecond = nullptr, *pNull = &ann, value;
    readProfileObject(reader, pFirst);
    readProfileObject(reader, pSecond);
    readProfileObject(reader, pNull);
    readProfileValue(reader, value);
    std::unique_ptr<ProfileData> pOwned(pFirst);
    EXPECT_TRUE(pFirst == pSecond && pNull == nullptr);
    EXPECT_EQ(std::string(pFirst->getName().c_str()) + value.getName().c_str(), "AnnAnn");

    // A reference back to an object never read.
    const std::string sUnknown("\x05\x01\x07\x00\x00\x00", 6);
    Zep::SmartPtr<Zep::MemStream> pBad(new Zep::MemStream(sUnknown.data(), static_cast<int>(sUnknown.size())));
    Zep::ObjectStreamer badReader(pBad.get(), false);
    EXPECT_EQ("AlreadyLoaded failed",
              messageOf<Zep::FatalErrorException>([&] { readProfileObject(badReader, pSecond); }));
}
