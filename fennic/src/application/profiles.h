// Named player profiles, kept as one escaped object stream in the setting
// "PLAYER_MANAGER_PLAYER_PROFILE_DATA".
//
// The list holds at most kMaxProfiles profiles: the dialogs refuse a new one
// when it is full. A stored set of more (an older build let the list grow past
// it) lists its first kMaxProfiles; the others are kept aside, unlisted, and
// written back after the listed ones, so no save drops them. Deleting a listed
// profile brings the first one kept aside into the list. Both are found by
// name through tables, so reading n stored profiles takes time linear in n.
#pragma once

#include <memory>

#include <zep2/hash.h>
#include <zep2/list.h>
#include <zep2/str.h>

namespace Zep {
class ObjectStreamer;
}
class GameApp;

// One player's data. The game derives its record: its write calls the base
// write first and then appends its own data; its read mirrors that exactly,
// because all profiles lie one after the other in one stream.
class ProfileData {
public:
    ProfileData() = default;
    virtual ~ProfileData() = default;
    ProfileData(const ProfileData&) = delete;
    ProfileData& operator=(const ProfileData&) = delete;

    virtual void write(Zep::ObjectStreamer& streamer);
    virtual void read(Zep::ObjectStreamer& streamer);

    const Zep::String& getName() const { return m_sName; }
    void setName(const char* szName) { m_sName = szName; }

protected:
    Zep::String m_sName;
};

class ProfileManager {
public:
    static constexpr const char* kSettingKey = "PLAYER_MANAGER_PLAYER_PROFILE_DATA";
    // Where an unreadable profile setting is kept once it is put aside: this
    // key, or kBackupKey.1, .2, ... when an older one holds other text.
    static constexpr const char* kBackupKey = "PLAYER_MANAGER_PLAYER_PROFILE_DATA.bad";
    static constexpr int kMaxProfiles = 100;

    ProfileManager();
    // Saves the profiles into the setting, then deletes them.
    virtual ~ProfileManager();
    ProfileManager(const ProfileManager&) = delete;
    ProfileManager& operator=(const ProfileManager&) = delete;

    // Names are compared trimmed and lower-cased.
    bool hasProfile(const char* szName) const;
    // Fails with the table's missing-key error; test with hasProfile first.
    virtual ProfileData* getProfile(const char* szName);
    // Requires that no profile of that name exists; keeps the name as given.
    // The dialogs create none while the list is full.
    virtual ProfileData* createProfile(const char* szName);
    // A new, empty profile object of the game's class.
    virtual std::unique_ptr<ProfileData> createProfileObject() = 0;
    // Then the first profile kept aside whose name is free joins the list.
    void deleteProfile(const char* szName);

    // The keys (trimmed, lower-cased names) in creation order.
    Zep::List<Zep::String> getProfileNames() const;
    int getProfileCount() const { return m_lProfiles.getCount(); }
    ProfileData* getProfileAt(int nIndex) const { return m_lProfiles.get(nIndex); }
    // The list holds kMaxProfiles profiles (or more, when a caller created past it).
    bool isFull() const { return getProfileCount() >= kMaxProfiles; }
    // Stored profiles beyond the list's first kMaxProfiles, in stored order.
    int getKeptAsideCount() const { return m_lKeptAside.getCount(); }

    // Writes the set into the setting. A setting that could not be read is
    // left as it is until the player changes the set, then put aside.
    void save();
    // Replaces the profiles by those of the setting.
    void load();
    // True after a load that found the setting unreadable and kept it.
    bool hasUnreadableData() const { return m_bKeepUnreadable; }
    // Moves the unreadable setting kept by load to the first backup key that
    // is free or already holds the same text (no older copy is written
    // over), then saves the set in its place, so a later load finds the
    // set and no damage. Returns that key; "" when nothing was kept.
    Zep::String keepUnreadableAside();

    // The table key of a name.
    static Zep::String keyOf(const char* szName);

private:
    enum class ReadResult { kOk, kBadCount, kDamaged };

    void deleteAllProfiles();
    // Reads the escaped stream; the profiles read so far stay on failure.
    ReadResult readProfiles(const Zep::String& sText, bool bSwapped);
    // A profile read whole joins the list, or is kept aside when the list is
    // full; one whose name was met before is dropped.
    void addReadProfile(std::unique_ptr<ProfileData> pProfile);
    void bringBackKeptAside();
    Zep::String moveUnreadableAside(GameApp& app);

    Zep::Hash<Zep::String, ProfileData*> m_hProfiles;  // owns the profiles
    Zep::List<ProfileData*> m_lProfiles;               // creation (or load) order
    Zep::List<ProfileData*> m_lKeptAside;              // owned; stored after the list
    Zep::Hash<Zep::String, ProfileData*> m_hKeptAside;  // the same, by key
    bool m_bKeepUnreadable = false;
    bool m_bChanged = false;  // profiles created or deleted since the last load
};

// The game's manager: profiles are objects of class T.
template <class T>
class ProfileManagerImpl : public ProfileManager {
public:
    std::unique_ptr<ProfileData> createProfileObject() override { return std::make_unique<T>(); }
};

// A profile as an object reference of the object streamer: null is the tag
// 2, an object already written the tag 1 and its id, a new one the tag 0, a
// new id and its own write. Reading makes plain ProfileData objects, which the
// caller owns (one whose body fails to read is deleted and the pointer left
// null); a reference to an id not read fails with "AlreadyLoaded failed".
void writeProfileObject(Zep::ObjectStreamer& streamer, ProfileData* pProfile);
void readProfileObject(Zep::ObjectStreamer& streamer, ProfileData*& pProfile);
// A profile in place: the tag 0 and its own write; reading skips the tag.
void writeProfileValue(Zep::ObjectStreamer& streamer, ProfileData& profile);
void readProfileValue(Zep::ObjectStreamer& streamer, ProfileData& profile);
