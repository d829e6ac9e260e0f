#include "zep2/resourcefile.h"

#include <cstring>
#include <new>
#include <unordered_set>

#include "zep2/error.h"
#include "zep2/file.h"
#include "zep2/objectstreamer.h"
#include "zep2/persist_impl.h"
#include "zep2/zstream.h"

namespace {
constexpr const char* kZepSource = ".\\src\\resourcefile";

// Deflate never packs more than 1,032 bytes into one; an entry claiming more
// than that from the bytes left in the archive is damage, not a size to
// allocate.
constexpr int64_t kMaxInflateRatio = 1032;
constexpr int64_t kMaxInflateSlack = 1024;

constexpr uint32_t recordWord(uint32_t nTag, int nVersion) {
    return (static_cast<uint32_t>(nVersion) << 24) | nTag;
}

// Readers of the index hand over heap entries through raw pointers; the
// same entry can appear twice through a back-reference. Frees each once.
void deleteEntries(Zep::List<Zep::ResourceFileEntry*>& lEntries) {
    std::unordered_set<Zep::ResourceFileEntry*> seen;
    for (Zep::ResourceFileEntry* pEntry : lEntries) {
        if (pEntry && seen.insert(pEntry).second) delete pEntry;
    }
    lEntries.clear();
}

struct EntryListGuard {
    Zep::List<Zep::ResourceFileEntry*>& m_lEntries;
    ~EntryListGuard() { deleteEntries(m_lEntries); }
};
}  // namespace

IMPLEMENT_STREAMABLE(::Zep::ResourceFileEntry)

namespace Zep {

// ------------------------------------------------------- ResourceFileEntry

void ResourceFileEntry::persistTo(ObjectStreamer& streamer) const {
    streamer.writeUInt32(recordWord(kTag, kVersion));
    streamer.writeString(m_sName);
    streamer.writeInt32(m_nOffset);
    streamer.writeInt32(m_nSize);
    streamer.writeBool(m_bPacked);
}

void ResourceFileEntry::persistFrom(ObjectStreamer& streamer) {
    ZEP_TRACE("ResourceFileEntry::persistFrom");
    uint32_t nWord = 0;
    streamer.readUInt32(nWord);
    const uint32_t nTag = nWord & 0xFFFFFF;
    const int nVersion = static_cast<int32_t>(nWord) >> 24;
    if (nTag != kTag)
        ZEP_THROW(FatalErrorException,
                  String::format("ResourceFileEntry::persistFrom : bad stream format : %08X, got %08X", kTag, nTag)
                      .c_str());
    if (nVersion != kVersion)
        ZEP_THROW(FatalErrorException,
                  String::format("ResourceFileEntry::persistFrom : unknown format version %d", nVersion).c_str());
    streamer.readString(m_sName);
    int32_t nValue = 0;
    streamer.readInt32(nValue);
    m_nOffset = nValue;
    streamer.readInt32(nValue);
    m_nSize = nValue;
    streamer.readBool(m_bPacked);
}

// ------------------------------------------------------------ ResourceFile

ResourceFile::ResourceFile(const char* szFileName) : m_sFileName(szFileName ? szFileName : ""), m_hIndex(97) {
    ZEP_TRACE("ResourceFile::ResourceFile");
    // The file is a member: whatever is thrown below closes it again.
    m_pFile = new File(szFileName, File::kModeRead);
    m_nFileLength = m_pFile->length();
    const int32_t nIndexOffset = readHeader();
    List<ResourceFileEntry*> lEntries;
    EntryListGuard guard{lEntries};
    readIndex(nIndexOffset, lEntries);
    fillTable(lEntries);
}

ResourceFile::~ResourceFile() = default;

void ResourceFile::refuse(const String& sMessage) {
    m_pFile = nullptr;
    ZEP_THROW(FatalErrorException, sMessage.c_str());
}

int32_t ResourceFile::readHeader() {
    ZEP_TRACE("ResourceFile::readHeader");
    char aMagic[3] = {};
    if (m_pFile->read(3, aMagic) != 3 || std::memcmp(aMagic, "GRF", 3) != 0)
        refuse("ResourceFile::ResourceFile : bad header");

    auto pStreamer = std::make_unique<ObjectStreamer>(m_pFile.get(), false);
    uint32_t nWord = 0;
    pStreamer->readUInt32(nWord);
    if ((nWord & 0xFFFFFF) != kTag) {
        // Archives of the older big-endian kind: read the header again in
        // that order; the index then follows the same order.
        m_pFile->setByteOrder(Stream::kBigEndian);
        m_pFile->setPosition(0);
        m_pFile->read(3, aMagic);
        pStreamer.reset();
        pStreamer = std::make_unique<ObjectStreamer>(m_pFile.get(), false);
        pStreamer->readUInt32(nWord);
    }
    const uint32_t nTag = nWord & 0xFFFFFF;
    const int nVersion = static_cast<int32_t>(nWord) >> 24;
    if (nTag != kTag)
        refuse(String::format("ResourceFile::ResourceFile : bad stream format : %08X, got %08X", kTag, nTag));
    if (nVersion != kVersion)
        refuse(String::format("ResourceFile::ResourceFile : unknown format version %d", nVersion));
    int32_t nIndexOffset = 0;
    pStreamer->readInt32(nIndexOffset);
    return nIndexOffset;
}

void ResourceFile::readIndex(int32_t nIndexOffset, List<ResourceFileEntry*>& lEntries) {
    ZEP_TRACE("ResourceFile::readIndex");
    int nDbgStep = 0;
    String sCaught;
    try {
        inflateIndex(nIndexOffset, lEntries, nDbgStep);
    } catch (const Exception& e) {
        sCaught = String::format("%s : %s at %s(%d)", e.className(), e.getMessage(), e.getFile(), e.getLine());
    } catch (const std::bad_alloc&) {
        sCaught = String::format("bad_alloc : out of memory at %s(%d)", kZepSource, __LINE__);
    }
    if (!sCaught.isEmpty()) {
        refuse(String::format("ResourceFile::ResourceFile : index is corrupt [%s] nDbgStep = %d nIdxOff = %d",
                              sCaught.c_str(), nDbgStep, nIndexOffset));
    }
}

void ResourceFile::inflateIndex(int32_t nIndexOffset, List<ResourceFileEntry*>& lEntries, int& nStep) {
    nStep = 0;
    // An index that would start inside the header or past the end can only
    // be damage (an archive never finished has offset 0).
    if (nIndexOffset < kHeaderSize || nIndexOffset >= m_nFileLength)
        ZEP_THROW(FatalErrorException,
                  String::format("ResourceFile::readIndex : index offset outside the file (length %d)", m_nFileLength)
                      .c_str());
    m_pFile->setPosition(nIndexOffset);
    nStep = 1;
    SmartPtr<ZStream> pZip(new ZStream(m_pFile.get(), -1));
    pZip->setByteOrder(m_pFile->getByteOrder());
    nStep = 2;
    auto pStreamer = std::make_unique<ObjectStreamer>(pZip.get(), false);
    nStep = 3;
    uint8_t nTag = 0;
    pStreamer->readByte(nTag);
    lEntries.persistFrom(*pStreamer);
    for (ResourceFileEntry* pEntry : lEntries) {
        if (!pEntry) ZEP_THROW(FatalErrorException, "ResourceFile::readIndex : null entry in the index");
    }
    // Missing bytes read as zeros: only the end of the zlib stream and its
    // checksum tell a cut or damaged index from a good one.
    if (!pZip->verifyEnd())
        ZEP_THROW(FatalErrorException, "ResourceFile::readIndex : the index is damaged or cut short");
    nStep = 4;
    pStreamer.reset();
    nStep = 5;
    pZip = nullptr;
}

void ResourceFile::fillTable(const List<ResourceFileEntry*>& lEntries) {
    // A later entry whose name differs only in case replaces the earlier one.
    for (ResourceFileEntry* pEntry : lEntries) m_hIndex.set(pEntry->getName().toLower(), *pEntry);
    m_hIndex.rehash();
}

bool ResourceFile::exists(const char* szName) { return m_hIndex.contains(String(szName).toLower()); }

SmartPtr<Resource> ResourceFile::load(const char* szName) {
    ZEP_TRACE("ResourceFile::load");
    ScopeTrace::setDetail(szName ? szName : "");
    const ResourceFileEntry& entry = m_hIndex.get(String(szName).toLower());
    const int nSize = entry.getSize();
    ZEP_ASSERT(nSize >= 0);
    const int nOffset = entry.getOffset();
    ZEP_ASSERT(nOffset >= kHeaderSize && nOffset < m_nFileLength);

    void* pRaw = nullptr;
    const int64_t nMaxSize = static_cast<int64_t>(m_nFileLength - nOffset) * kMaxInflateRatio + kMaxInflateSlack;
    if (nSize <= nMaxSize) pRaw = Resource::allocateData(nSize);
    std::unique_ptr<void, void (*)(void*)> pData(pRaw, &Resource::freeData);
    ZEP_ASSERT(pData);

    // Damaged or cut data is the archive's fault, not the program's: a
    // resource error naming both, which the callers report as such.
    if (inflateEntry(nOffset, nSize, pData.get()) != nSize)
        ZEP_THROW(ResourceException, String::format("damaged archive: entry '%s' is damaged or cut short in '%s'",
                                                    entry.getName().c_str(), m_sFileName.c_str())
                                         .c_str());
    SmartPtr<Resource> pResource(new Resource(nSize, pData.get(), true));
    pData.release();
    return pResource;
}

int ResourceFile::inflateEntry(int nOffset, int nSize, void* pData) {
    m_pFile->setPosition(nOffset);
    SmartPtr<ZStream> pZip(new ZStream(m_pFile.get(), -1));
    const int nRead = nSize > 0 ? pZip->read(nSize, pData) : 0;
    return pZip->verifyEnd() ? nRead : -1;
}

List<String> ResourceFile::listNames() { return m_hIndex.getKeys(); }

String ResourceFile::getPath(const char* szName) { return String(szName); }

List<const ResourceFileEntry*> ResourceFile::getEntries() const {
    List<const ResourceFileEntry*> lOut;
    const List<String> lKeys = m_hIndex.getKeys();
    for (const String& sKey : lKeys) lOut.add(&m_hIndex.get(sKey));
    return lOut;
}

int ResourceFile::getResourceSize(const char* szName) {
    ZEP_TRACE("ResourceFile::getResourceSize");
    return m_hIndex.get(String(szName).toLower()).getSize();
}

// ---------------------------------------------------- ResourceFileCompiler

ResourceFileCompiler::ResourceFileCompiler(const SmartPtr<Stream>& pStream) : m_pStream(pStream) {
    ZEP_TRACE("ResourceFileCompiler::ResourceFileCompiler");
    ZEP_ASSERT(pStream.notNULL());
}

ResourceFileCompiler::~ResourceFileCompiler() = default;

void ResourceFileCompiler::writeHeader() {
    ZEP_TRACE("ResourceFileCompiler::writeHeader");
    m_pStream->write(3, "GRF");
    m_nHeaderPos = m_pStream->getPosition();
    ObjectStreamer streamer(m_pStream.get(), false);
    streamer.writeUInt32(recordWord(ResourceFile::kTag, ResourceFile::kVersion));
    streamer.writeInt32(0);
}

int ResourceFileCompiler::add(Stream* pSource, const char* szName) {
    ZEP_TRACE("ResourceFileCompiler::add");
    ZEP_ASSERT(pSource);
    const int nStart = m_pStream->getPosition();
    auto pEntry = std::make_unique<ResourceFileEntry>(szName, nStart, 0, true);
    int nRemaining = pSource->length();
    int nCopied = 0;
    {
        SmartPtr<ZStream> pZip(new ZStream(m_pStream.get(), m_nLevel));
        std::vector<uint8_t> buffer(static_cast<size_t>(kCopyChunk));
        // A source that delivers less than it announced ends the entry
        // there, and the index records what was really stored.
        while (nRemaining > 0) {
            const int nWant = nRemaining < kCopyChunk ? nRemaining : kCopyChunk;
            const int nRead = pSource->read(nWant, buffer.data());
            if (nRead <= 0) break;
            pZip->write(nRead, buffer.data());
            nRemaining -= nRead;
            nCopied += nRead;
        }
    }
    pEntry->m_nSize = nCopied;
    m_lEntries.push_back(std::move(pEntry));
    return m_pStream->getPosition() - nStart;
}

void ResourceFileCompiler::finish() {
    ZEP_TRACE("ResourceFileCompiler::finish");
    const int nIndexOffset = m_pStream->getPosition();
    {
        SmartPtr<ZStream> pZip(new ZStream(m_pStream.get(), -1));
        ObjectStreamer streamer(pZip.get(), false);
        List<ResourceFileEntry*> lEntries;
        for (const auto& pEntry : m_lEntries) lEntries.add(pEntry.get());
        streamer.writeByte(0);
        lEntries.persistTo(streamer);
    }
    m_pStream->setPosition(m_nHeaderPos);
    {
        ObjectStreamer streamer(m_pStream.get(), false);
        streamer.writeUInt32(recordWord(ResourceFile::kTag, ResourceFile::kVersion));
        streamer.writeInt32(nIndexOffset);
    }
    m_lEntries.clear();
}

}  // namespace Zep
