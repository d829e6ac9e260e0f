#include "zep2/objectstreamer.h"

#include <cstring>

namespace {
constexpr const char* kZepSource = ".\\src\\objectstreamer";

constexpr int kIdTableBuckets = 97;
constexpr int kOlderHeaderSize = 26;
// The older header starts with the older string form of the stream's title;
// only its first five bytes take part in the check.
constexpr uint8_t kOlderHeaderStart[] = {0x01, 0x72, 0x74, 0x53, 0x00};
}  // namespace

namespace Zep {

ObjectStreamer::ObjectStreamer(Stream* pStream, bool bOwnsStream)
    : m_pStream(pStream), m_bOwnsStream(bOwnsStream) {
    ZEP_TRACE("ObjectStreamer::ObjectStreamer");
    ZEP_ASSERT(pStream != nullptr);
    if (pStream->supports(Stream::kRead | Stream::kWrite))
        ZEP_THROW(FatalErrorException, "Zep::ObjectStreamer : Bidirectional streams not supported");
    m_bWriting = pStream->supports(Stream::kWrite);
    if (m_bWriting) {
        pStream->writeU8(kHeader);
    } else {
        uint8_t aHeader[kOlderHeaderSize] = {};
        aHeader[0] = pStream->readU8();
        if (aHeader[0] == kLegacyHeader) {
            pStream->read(kOlderHeaderSize - 1, aHeader + 1);
            if (std::memcmp(aHeader, kOlderHeaderStart, sizeof kOlderHeaderStart) != 0)
                ZEP_THROW(FatalErrorException, "Wrong ObjectStreamer signature");
        }
        // Any other first byte is taken as the header of a current stream.
    }
    m_hIdTable = std::make_unique<Hash<unsigned long, unsigned long>>(kIdTableBuckets);
    m_nNextId = 0;
    // Taken last: a constructor that throws leaves the stream alone.
    if (m_bOwnsStream) m_pOwnedStream = pStream;
}

ObjectStreamer::~ObjectStreamer() {
    ZEP_TRACE("ObjectStreamer::~ObjectStreamer");
    m_hIdTable.reset();
    m_pOwnedStream = nullptr;
    m_pStream = nullptr;
}

// ---------------------------------------------------------------------------
// Id table

// The table starts with 97 buckets and a hash table never grows by itself; a
// long object graph would otherwise make every lookup walk long chains.
void ObjectStreamer::growIdTable(int nEntries) { m_hIdTable->growFor(nEntries); }

uint32_t ObjectStreamer::registerObject(const void* pObject) {
    ZEP_TRACE("ObjectStreamer::registerObject");
    uint32_t nId = m_nNextId++;
    m_hIdTable->set(reinterpret_cast<unsigned long>(pObject), nId);
    growIdTable(static_cast<int>(m_nNextId));
    return nId;
}

int ObjectStreamer::findObjectId(const void* pObject) const {
    ZEP_TRACE("ObjectStreamer::findObjectId");
    auto* pNode = m_hIdTable->findNode(reinterpret_cast<unsigned long>(pObject));
    return pNode ? static_cast<int>(pNode->value) : -1;
}

void ObjectStreamer::registerLoaded(uint32_t nId, void* pObject) {
    ZEP_TRACE("ObjectStreamer::registerLoaded");
    m_hIdTable->set(nId, reinterpret_cast<unsigned long>(pObject));
    m_hLoadedTypes[nId] = nullptr;
    growIdTable(static_cast<int>(m_hLoadedTypes.size()));
}

void ObjectStreamer::registerLoaded(uint32_t nId, void* pObject, const std::type_info& type) {
    registerLoaded(nId, pObject);
    m_hLoadedTypes[nId] = &type;
}

bool ObjectStreamer::isLoaded(uint32_t nId) const {
    ZEP_TRACE("ObjectStreamer::isLoaded");
    return m_hIdTable->contains(nId);
}

bool ObjectStreamer::isLoadedAs(uint32_t nId, const std::type_info& type) const {
    ZEP_TRACE("ObjectStreamer::isLoadedAs");
    if (!isLoaded(nId)) return false;
    auto it = m_hLoadedTypes.find(nId);
    // Ids recorded without a type by hand-written readers match any type.
    return it == m_hLoadedTypes.end() || it->second == nullptr || *it->second == type;
}

void* ObjectStreamer::getLoaded(uint32_t nId) const {
    ZEP_TRACE("ObjectStreamer::getLoaded");
    return reinterpret_cast<void*>(m_hIdTable->get(nId));
}

// ---------------------------------------------------------------------------
// Typed values

bool ObjectStreamer::writeByte(uint8_t nValue) { return m_pStream->writeU8(nValue); }
void ObjectStreamer::readByte(uint8_t& nValue) { nValue = m_pStream->readU8(); }

bool ObjectStreamer::writeChar(char cValue) { return m_pStream->writeU8(static_cast<uint8_t>(cValue)); }
void ObjectStreamer::readChar(char& cValue) { cValue = static_cast<char>(m_pStream->readU8()); }

bool ObjectStreamer::writeBool(bool bValue) { return m_pStream->writeU8(bValue ? 1 : 0); }
void ObjectStreamer::readBool(bool& bValue) { bValue = m_pStream->readU8() == 1; }

bool ObjectStreamer::writeInt16(int16_t nValue) { return m_pStream->writeU16(static_cast<uint16_t>(nValue)); }
void ObjectStreamer::readInt16(int16_t& nValue) { nValue = m_pStream->readI16(); }

bool ObjectStreamer::writeUInt16(uint16_t nValue) { return m_pStream->writeU16(nValue); }
void ObjectStreamer::readUInt16(uint16_t& nValue) { nValue = static_cast<uint16_t>(m_pStream->readI16()); }

bool ObjectStreamer::putU32(uint32_t nValue) { return m_pStream->writeU32(nValue); }
uint32_t ObjectStreamer::getU32() { return m_pStream->readU32(); }

bool ObjectStreamer::writeFloat(float fValue) { return m_pStream->writeFloat(fValue); }
void ObjectStreamer::readFloat(float& fValue) { fValue = m_pStream->readFloat(); }

bool ObjectStreamer::writeDouble(double fValue) { return m_pStream->writeDouble(fValue); }
void ObjectStreamer::readDouble(double& fValue) { fValue = m_pStream->readDouble(); }

bool ObjectStreamer::writeVarInt(int32_t nValue) { return m_pStream->writeVarInt(nValue); }
int32_t ObjectStreamer::readVarInt() { return m_pStream->readVarInt(); }

bool ObjectStreamer::writeVarUInt(uint32_t nValue) { return m_pStream->writeVarUInt(nValue); }
uint32_t ObjectStreamer::readVarUInt() { return m_pStream->readVarUInt(); }

bool ObjectStreamer::writeString(const String& sText) { return m_pStream->writeString(sText.c_str()); }
bool ObjectStreamer::writeString(const char* szText) { return m_pStream->writeString(szText ? szText : ""); }
void ObjectStreamer::readString(String& sText) { sText = m_pStream->readString(); }

}  // namespace Zep
