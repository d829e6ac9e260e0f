// Named content: Zep::Resource, a counted block of bytes, and the providers
// that serve resources by name (a folder of loose files, an in-memory table,
// and the archive reader in resourcefile.h).
#pragma once

#include <cstdint>

#include "zep2/hash.h"
#include "zep2/list.h"
#include "zep2/refcount.h"
#include "zep2/str.h"

namespace Zep {

class MemStream;
class Stream;

class Resource : public RefCountedObject {
public:
    // nSize bytes at pData. With a null pData the resource allocates an
    // uninitialised block of nSize bytes itself and always frees it, whatever
    // bOwns says. A caller's block is freed only when bOwns is true, and must
    // then come from allocateData (std::malloc). A negative size throws
    // "Assertion failed : nSize >= 0".
    Resource(int nSize, void* pData, bool bOwns);
    ~Resource() override;
    Resource(const Resource&) = delete;
    Resource& operator=(const Resource&) = delete;

    // A block for an owning resource; null when it can't be had.
    static void* allocateData(int nSize);
    static void freeData(void* pData);

    void* getData() const { return m_pData; }
    int getSize() const { return m_nSize; }
    bool ownsData() const { return m_bOwns; }

    // The bytes as text; a NUL byte ends it.
    String asString() const;
    // A read-only view over the bytes, not a copy: the resource must outlive it.
    SmartPtr<MemStream> openStream() const;

    // A new resource with up to pStream->length() bytes read from the
    // stream's position; a stream that delivers fewer gives a smaller
    // resource, never one with bytes that were not read.
    static SmartPtr<Resource> readFrom(Stream* pStream);

private:
    void* m_pData = nullptr;
    int32_t m_nSize = 0;
    bool m_bOwns = false;
    bool m_bAllocated = false;  // the block came from this resource
};

// Something that serves resources by name. Not counted: whoever creates a
// provider deletes it.
class ResourceProvider {
public:
    virtual ~ResourceProvider() = default;
    virtual bool exists(const char* szName) = 0;
    virtual SmartPtr<Resource> load(const char* szName) = 0;
    virtual List<String> listNames() = 0;
    // Where the provider finds the name (a file path, or the name itself).
    virtual String getPath(const char* szName) = 0;
};

// Loose files of one folder, found by the last component of the name only:
// a/pic.png, b\pic.png and pic.png all mean <folder>/pic.png. Case follows
// the file layer, which matches names without regard to case.
class FilesystemResourceProvider : public ResourceProvider {
public:
    // A separator is added unless the folder ends in "/" or "\"; an empty
    // folder is the current folder.
    explicit FilesystemResourceProvider(const char* szFolder);

    // The part after the last "/" or "\", or the whole name.
    static String baseName(const char* szName);

    bool exists(const char* szName) override;
    // A new resource with the bytes the file delivered; a missing file throws
    // the file layer's FileAccessException.
    SmartPtr<Resource> load(const char* szName) override;
    // Always empty: the folder is not listed.
    List<String> listNames() override;
    String getPath(const char* szName) override;

    const String& getRoot() const { return m_sRoot; }

private:
    String m_sRoot;
};

// Resources put in by the program, kept under lower-cased names. load hands
// out the stored object itself, the same one on every call.
class MemoryResourceProvider : public ResourceProvider {
public:
    MemoryResourceProvider();

    // Stores the resource under the lower-cased name, replacing (and
    // releasing) one already there. Null throws "Assertion failed : pResource".
    void add(const char* szName, const SmartPtr<Resource>& pResource);

    bool exists(const char* szName) override;
    // Throws FatalErrorException "Hash key not found : ..." for a missing name.
    SmartPtr<Resource> load(const char* szName) override;
    List<String> listNames() override;
    // The name as given.
    String getPath(const char* szName) override;

private:
    Hash<String, SmartPtr<Resource>> m_hResources;
};

}  // namespace Zep
