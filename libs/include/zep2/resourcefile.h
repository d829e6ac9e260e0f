// Resource archives (*.dat): many named resources in one file, each deflated
// on its own, followed by a deflated index of names, offsets and sizes.
//
// Layout: "GRF", the object-stream header byte 05, the record word 0x01465247,
// the 32-bit offset of the index, the entries' zlib streams one after
// another, then the index as one zlib stream holding an object stream with a
// list of ResourceFileEntry records. Words are little-endian; an archive
// whose header and index are both big-endian is read as well.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "zep2/hash.h"
#include "zep2/list.h"
#include "zep2/objectstreamer.h"
#include "zep2/refcount.h"
#include "zep2/resource.h"
#include "zep2/str.h"

namespace Zep {

class File;
class ObjectStreamer;
class Stream;

// One index record: the name as stored (case kept), where its zlib stream
// starts, and its inflated size.
class ResourceFileEntry {
public:
    static constexpr uint32_t kTag = 0x454952;
    static constexpr int kVersion = 1;

    ResourceFileEntry() = default;
    ResourceFileEntry(const char* szName, int nOffset, int nSize, bool bPacked = true)
        : m_sName(szName), m_nOffset(nOffset), m_nSize(nSize), m_bPacked(bPacked) {}
    virtual ~ResourceFileEntry() = default;
    ResourceFileEntry(const ResourceFileEntry&) = default;
    ResourceFileEntry& operator=(const ResourceFileEntry&) = default;

    const String& getName() const { return m_sName; }
    int getOffset() const { return m_nOffset; }
    int getSize() const { return m_nSize; }
    bool isPacked() const { return m_bPacked; }

    // Record word 0x01454952, name, offset, size, packed byte.
    void persistTo(ObjectStreamer& streamer) const;
    // Throws FatalErrorException on a wrong tag or version.
    void persistFrom(ObjectStreamer& streamer);

private:
    friend class ResourceFileCompiler;

    String m_sName;
    int32_t m_nOffset = 0;
    int32_t m_nSize = 0;
    bool m_bPacked = false;
};

// Reads an archive and serves its entries by name. Names are compared after
// lower-casing only: separators are kept, so "Data/A.png" is found as
// "data/a.png" but not as "data\a.png". Entries are inflated on demand.
class ResourceFile : public ResourceProvider {
public:
    static constexpr uint32_t kTag = 0x465247;
    static constexpr int kVersion = 1;
    static constexpr int kHeaderSize = 12;

    // Opens and indexes the archive; throws FatalErrorException for a bad
    // archive (an index whose zlib stream is cut, damaged or does not end
    // right after the list is bad too) and FileAccessException for a missing
    // file. Only the index is read here.
    explicit ResourceFile(const char* szFileName);
    ~ResourceFile() override;
    ResourceFile(const ResourceFile&) = delete;
    ResourceFile& operator=(const ResourceFile&) = delete;

    bool exists(const char* szName) override;
    // A new resource owning the inflated bytes. A missing name throws
    // "Hash key not found : ..."; an index record that can't be right (a
    // negative size, more bytes than the archive can hold, an offset outside
    // it) throws AssertFailException. Entry data that is damaged or cut short
    // (a zlib stream that does not give the entry's bytes and end with an
    // intact checksum right after them) throws ResourceException "damaged
    // archive: entry '<name as stored>' is damaged or cut short in
    // '<archive>'". The archive stays usable after a failed load.
    SmartPtr<Resource> load(const char* szName) override;
    // Lower-cased names in index order.
    List<String> listNames() override;
    // The name unchanged.
    String getPath(const char* szName) override;

    // Every entry in index order; the archive keeps owning them.
    List<const ResourceFileEntry*> getEntries() const;
    // Inflated size of the named entry; a missing name throws.
    int getResourceSize(const char* szName);
    int getEntryCount() const { return m_hIndex.getCount(); }

private:
    // Nulls the file and throws FatalErrorException with the message.
    [[noreturn]] void refuse(const String& sMessage);
    // Checks the magic and the header record (either byte order); returns
    // the index offset.
    int32_t readHeader();
    // Reads the index into lEntries; any failure becomes the index-corrupt
    // message naming the step reached.
    void readIndex(int32_t nIndexOffset, List<ResourceFileEntry*>& lEntries);
    void inflateIndex(int32_t nIndexOffset, List<ResourceFileEntry*>& lEntries, int& nStep);
    // Keys the entries by their lower-cased names.
    void fillTable(const List<ResourceFileEntry*>& lEntries);
    // The bytes inflated at nOffset, counted only when the zlib stream ends
    // right after them with its checksum intact; -1 otherwise.
    int inflateEntry(int nOffset, int nSize, void* pData);

    String m_sFileName;  // as given, for messages
    SmartPtr<File> m_pFile;
    int32_t m_nFileLength = 0;
    Hash<String, ResourceFileEntry> m_hIndex;
};

// Writes an archive: construct over a write-only stream that can be
// positioned, writeHeader, add entries, finish, release. Counted: hold it by
// SmartPtr. Released without finish, the archive keeps index offset 0 and is
// not valid.
class ResourceFileCompiler : public RefCountedObject {
public:
    static constexpr int kCopyChunk = 65536;

    explicit ResourceFileCompiler(const SmartPtr<Stream>& pStream);
    ~ResourceFileCompiler() override;
    ResourceFileCompiler(const ResourceFileCompiler&) = delete;
    ResourceFileCompiler& operator=(const ResourceFileCompiler&) = delete;

    // The 12 header bytes with index offset 0.
    void writeHeader();
    // Deflate level for entries added afterwards: -1 (default, 9) or 0..9.
    void setLevel(int nLevel) { m_nLevel = nLevel; }
    int getLevel() const { return m_nLevel; }
    // Appends the rest of the source under the name as given. Copies until
    // the source's length is reached or it delivers nothing more; the entry
    // records the bytes actually copied. Returns the compressed size.
    int add(Stream* pSource, const char* szName);
    // Writes the index and patches its offset into the header. The stream is
    // left just after the header, not at its end.
    void finish();

    int getEntryCount() const { return static_cast<int>(m_lEntries.size()); }

private:
    SmartPtr<Stream> m_pStream;
    int m_nLevel = 9;
    int m_nHeaderPos = 3;
    std::vector<std::unique_ptr<ResourceFileEntry>> m_lEntries;
};

}  // namespace Zep

DECLARE_STREAMABLE(::Zep::ResourceFileEntry)
