#include "application/profiles.h"

#include <typeinfo>

#include <zep2/error.h>
#include <zep2/memstream.h>
#include <zep2/objectstreamer.h>

#include "application/gameapp.h"

namespace {

constexpr const char* kZepSource = ".\\src\\profiles";

// A read-only view that remembers whether any read came up short: typed reads
// past the end yield zeros and empty texts without complaint, which must not
// pass for profile data.
class CheckedView : public Zep::MemStream {
public:
    CheckedView(const void* pData, int nSize) : Zep::MemStream(pData, nSize) {}

    int read(int nSize, void* pBuffer) override {
        int nRead = Zep::MemStream::read(nSize, pBuffer);
        if (nRead < nSize) m_bShort = true;
        return nRead;
    }
    bool wasShort() const { return m_bShort; }

private:
    bool m_bShort = false;
};

}  // namespace

// ---- ProfileData ------------------------------------------------------------

void ProfileData::write(Zep::ObjectStreamer& streamer) { streamer.writeString(m_sName); }

void ProfileData::read(Zep::ObjectStreamer& streamer) { streamer.readString(m_sName); }

// ---- ProfileManager ----------------------------------------------------------

ProfileManager::ProfileManager() : m_hProfiles(97), m_hKeptAside(97) {}

ProfileManager::~ProfileManager() {
    // A destructor must not throw: a save that fails is logged and dropped.
    try {
        save();
    } catch (const Zep::Exception& e) {
        GameApp::log("P: ** Profiles not saved : %s **\n", e.getMessage());
    } catch (...) {
        GameApp::log("P: ** Profiles not saved **\n");
    }
    deleteAllProfiles();
}

Zep::String ProfileManager::keyOf(const char* szName) { return Zep::String(szName).trim().toLower(); }

bool ProfileManager::hasProfile(const char* szName) const { return m_hProfiles.contains(keyOf(szName)); }

ProfileData* ProfileManager::getProfile(const char* szName) { return m_hProfiles.get(keyOf(szName)); }

ProfileData* ProfileManager::createProfile(const char* sName) {
    ZEP_TRACE("ProfileManager::createProfile");
    ZEP_ASSERT(!hasProfile(sName));
    std::unique_ptr<ProfileData> pProfile = createProfileObject();
    pProfile->setName(sName);
    ProfileData* pRaw = pProfile.get();
    m_hProfiles.set(keyOf(sName), pRaw);
    m_lProfiles.add(pProfile.release());
    m_bChanged = true;
    return pRaw;
}

void ProfileManager::deleteProfile(const char* szName) {
    ZEP_TRACE("ProfileManager::deleteProfile");
    std::unique_ptr<ProfileData> pProfile(getProfile(szName));
    int nIndex = m_lProfiles.indexOf(pProfile.get());
    if (nIndex >= 0) m_lProfiles.removeAt(nIndex);
    m_hProfiles.remove(keyOf(pProfile->getName().c_str()));
    m_bChanged = true;
    bringBackKeptAside();
}

// Its name is free unless a caller created past the full list; one whose name
// is taken stays aside, and in the stored set.
void ProfileManager::bringBackKeptAside() {
    for (int i = 0; i < m_lKeptAside.getCount() && !isFull(); ++i) {
        ProfileData* pProfile = m_lKeptAside.get(i);
        Zep::String sKey = keyOf(pProfile->getName().c_str());
        if (m_hProfiles.contains(sKey)) continue;
        m_lKeptAside.removeAt(i);
        m_hKeptAside.remove(sKey);
        m_hProfiles.set(sKey, pProfile);
        m_lProfiles.add(pProfile);
        return;
    }
}

Zep::List<Zep::String> ProfileManager::getProfileNames() const {
    Zep::List<Zep::String> lNames;
    for (int i = 0; i < m_lProfiles.getCount(); ++i) lNames.add(keyOf(m_lProfiles.get(i)->getName().c_str()));
    return lNames;
}

void ProfileManager::deleteAllProfiles() {
    // The table and the list hold the same objects; the list deletes them.
    while (!m_lProfiles.isEmpty()) delete m_lProfiles.removeFirst();
    while (!m_lKeptAside.isEmpty()) delete m_lKeptAside.removeFirst();
    m_hProfiles.clear();
    m_hKeptAside.clear();
}

void ProfileManager::save() {
    ZEP_TRACE("ProfileManager::save");
    GameApp* pApp = GameApp::getInstance();
    ZEP_ASSERT(pApp);
    if (m_bKeepUnreadable) {
        // Nothing the player had is overwritten by an empty set; once the
        // player changes the set, the unreadable text is kept aside.
        if (!m_bChanged) return;
        moveUnreadableAside(*pApp);
    }
    Zep::SmartPtr<Zep::MemStream> pBytes(new Zep::MemStream());
    {
        Zep::ObjectStreamer streamer(pBytes.get(), false);
        streamer.writeInt32(m_lProfiles.getCount() + m_lKeptAside.getCount());
        for (const Zep::List<ProfileData*>* pList : {&m_lProfiles, &m_lKeptAside}) {
            for (int i = 0; i < pList->getCount(); ++i) {
                ProfileData* pProfile = pList->get(i);
                streamer.writeString(pProfile->getName());
                streamer.writeByte(0);
                pProfile->write(streamer);
            }
        }
    }
    pApp->setSetting(kSettingKey, Zep::String::escapeBinary(pBytes->getBuffer(), pBytes->length()).c_str());
}

Zep::String ProfileManager::keepUnreadableAside() {
    ZEP_TRACE("ProfileManager::keepUnreadableAside");
    GameApp* pApp = GameApp::getInstance();
    ZEP_ASSERT(pApp);
    if (!m_bKeepUnreadable) return Zep::String();
    Zep::String sKey = moveUnreadableAside(*pApp);
    save();
    return sKey;
}

// The same text under a backup key already (a put-aside whose file was never
// saved) needs no second copy.
Zep::String ProfileManager::moveUnreadableAside(GameApp& app) {
    const Zep::String sText = app.getSetting(kSettingKey);
    Zep::String sKey = kBackupKey;
    for (int n = 1; !app.getSetting(sKey.c_str()).isEmpty() && app.getSetting(sKey.c_str()) != sText; ++n)
        sKey = Zep::String::format("%s.%d", kBackupKey, n);
    app.setSetting(sKey.c_str(), sText.c_str());
    m_bKeepUnreadable = false;
    return sKey;
}

// A count above kMaxProfiles is either the set of an older build that let
// the list grow past it, or garbage: the count of a big-endian writer read
// the other way round (5 reads as 83886080) or damaged bytes. It is taken as a
// count only when that many profiles follow, each read whole, and end exactly
// at the last byte: the game writes nothing after its last profile, and
// garbage that reads as that many well-formed records in a byte order not
// its own, ending on the very last byte, does not happen in practice. Any
// other count above the limit is refused as a bad count (kBadCount), which
// earns the byte-swapped retry as before. A count of 0 to kMaxProfiles reads
// as it always did; bytes after its profiles are ignored.
ProfileManager::ReadResult ProfileManager::readProfiles(const Zep::String& sText, bool bSwapped) {
    Zep::SmartPtr<Zep::MemStream> pBytes = Zep::String::unescapeBinary(sText.c_str());
    Zep::SmartPtr<CheckedView> pView(new CheckedView(pBytes->getBuffer(), pBytes->length()));
    if (bSwapped) pView->setByteOrder(Zep::Stream::kBigEndian);
    bool bOverLimit = false;
    try {
        Zep::ObjectStreamer streamer(pView.get(), false);
        int32_t nCount = 0;
        streamer.readInt32(nCount);
        if (pView->wasShort()) return ReadResult::kDamaged;
        if (nCount < 0) return ReadResult::kBadCount;
        bOverLimit = nCount > kMaxProfiles;
        // Every profile holds at least its marker byte.
        if (bOverLimit && nCount > pView->remaining()) return ReadResult::kBadCount;
        const ReadResult eCut = bOverLimit ? ReadResult::kBadCount : ReadResult::kDamaged;
        for (int32_t i = 0; i < nCount; ++i) {
            Zep::String sName;
            streamer.readString(sName);
            std::unique_ptr<ProfileData> pProfile = createProfileObject();
            uint8_t nMarker = 0;
            streamer.readByte(nMarker);
            pProfile->read(streamer);
            if (pView->wasShort()) return eCut;
            addReadProfile(std::move(pProfile));
        }
        if (bOverLimit && pView->remaining() != 0) return ReadResult::kBadCount;
    } catch (const Zep::Exception&) {
        return bOverLimit ? ReadResult::kBadCount : ReadResult::kDamaged;
    }
    return ReadResult::kOk;
}

// The object's own record decides its name and key. A name met twice would
// leave the table and the list disagreeing: the later one is dropped. The
// table of those kept aside grows with them, so each lookup stays short.
void ProfileManager::addReadProfile(std::unique_ptr<ProfileData> pProfile) {
    Zep::String sKey = keyOf(pProfile->getName().c_str());
    if (m_hProfiles.contains(sKey) || m_hKeptAside.contains(sKey)) return;
    if (isFull()) {
        m_hKeptAside.set(sKey, pProfile.get());
        m_lKeptAside.add(pProfile.release());
        m_hKeptAside.growFor(m_lKeptAside.getCount());
        return;
    }
    m_hProfiles.set(sKey, pProfile.get());
    m_lProfiles.add(pProfile.release());
}

void ProfileManager::load() {
    ZEP_TRACE("ProfileManager::load");
    GameApp* pApp = GameApp::getInstance();
    ZEP_ASSERT(pApp);
    Zep::String sText = pApp->getSetting(kSettingKey);
    if (sText.isEmpty()) return;

    deleteAllProfiles();
    m_bKeepUnreadable = false;
    m_bChanged = false;
    ReadResult eResult = readProfiles(sText, false);
    if (eResult == ReadResult::kBadCount) {
        // Data of a big-endian writer: read again with the values swapped.
        deleteAllProfiles();
        eResult = readProfiles(sText, true);
    }
    if (eResult != ReadResult::kOk) {
        deleteAllProfiles();
        m_bKeepUnreadable = true;
        GameApp::log("P: ** Bad profile data, kept as it was **\n");
    }
}

// ---- Object references ----------------------------------------------------------

void writeProfileObject(Zep::ObjectStreamer& streamer, ProfileData* pProfile) {
    if (!pProfile) {
        streamer.writeByte(2);
        return;
    }
    int nId = streamer.findObjectId(pProfile);
    if (nId >= 0) {
        streamer.writeByte(1);
        streamer.writeUInt32(static_cast<uint32_t>(nId));
        return;
    }
    // Registered before its body, so references from inside it point back.
    uint32_t nNewId = streamer.registerObject(pProfile);
    streamer.writeByte(0);
    streamer.writeUInt32(nNewId);
    pProfile->write(streamer);
}

void readProfileObject(Zep::ObjectStreamer& streamer, ProfileData*& pProfile) {
    uint8_t nTag = 0;
    streamer.readByte(nTag);
    if (nTag == 2) {
        pProfile = nullptr;
        return;
    }
    uint32_t nId = 0;
    streamer.readUInt32(nId);
    if (nTag == 0) {
        // An object whose body fails to read is deleted, the pointer stays null.
        pProfile = nullptr;
        auto pFresh = std::make_unique<ProfileData>();
        pFresh->read(streamer);
        pProfile = pFresh.release();
        streamer.registerLoaded(nId, pProfile, typeid(ProfileData));
        return;
    }
    if (!streamer.isLoadedAs(nId, typeid(ProfileData))) ZEP_THROW(Zep::FatalErrorException, "AlreadyLoaded failed");
    pProfile = static_cast<ProfileData*>(streamer.getLoaded(nId));
}

void writeProfileValue(Zep::ObjectStreamer& streamer, ProfileData& profile) {
    streamer.writeByte(0);
    profile.write(streamer);
}

void readProfileValue(Zep::ObjectStreamer& streamer, ProfileData& profile) {
    uint8_t nTag = 0;
    streamer.readByte(nTag);
    profile.read(streamer);
}
