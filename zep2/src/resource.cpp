#include "zep2/resource.h"

#include <cstdlib>
#include <memory>

#include "zep2/error.h"
#include "zep2/file.h"
#include "zep2/memstream.h"

namespace {
constexpr const char* kZepSource = ".\\src\\resource";
}  // namespace

namespace Zep {

// ---------------------------------------------------------------- Resource

Resource::Resource(int nSize, void* pData, bool bOwns) : m_pData(pData), m_nSize(nSize), m_bOwns(bOwns) {
    ZEP_TRACE("Resource::Resource");
    ZEP_ASSERT(nSize >= 0);
    if (!m_pData) {
        m_pData = allocateData(nSize);
        ZEP_ASSERT(m_pData);
        m_bAllocated = true;
    }
}

Resource::~Resource() {
    if (m_bOwns || m_bAllocated) freeData(m_pData);
    m_pData = nullptr;
}

void* Resource::allocateData(int nSize) {
    if (nSize < 0) return nullptr;
    // Never a null block, even for an empty resource.
    return std::malloc(nSize > 0 ? static_cast<size_t>(nSize) : 1);
}

void Resource::freeData(void* pData) { std::free(pData); }

String Resource::asString() const { return String(static_cast<const char*>(m_pData), m_nSize); }

SmartPtr<MemStream> Resource::openStream() const { return SmartPtr<MemStream>(new MemStream(m_pData, m_nSize)); }

SmartPtr<Resource> Resource::readFrom(Stream* pStream) {
    ZEP_TRACE("Resource::readFrom");
    ZEP_ASSERT(pStream);
    const int nLength = pStream->length();
    ZEP_ASSERT(nLength >= 0);
    std::unique_ptr<void, void (*)(void*)> pData(allocateData(nLength), &freeData);
    ZEP_ASSERT(pData);
    // Only what actually arrived counts: a file that shrank since its
    // length was taken must not leave unread bytes inside the resource.
    int nTotal = 0;
    while (nTotal < nLength) {
        const int nRead = pStream->read(nLength - nTotal, static_cast<char*>(pData.get()) + nTotal);
        if (nRead <= 0) break;
        nTotal += nRead;
    }
    SmartPtr<Resource> pResource(new Resource(nTotal, pData.get(), true));
    pData.release();
    return pResource;
}

// ---------------------------------------------------- FilesystemResourceProvider

FilesystemResourceProvider::FilesystemResourceProvider(const char* szFolder) : m_sRoot(szFolder) {
    // An empty folder stays empty, so names resolve against the current
    // folder instead of the file-system root.
    if (m_sRoot.isEmpty()) return;
    const char cLast = m_sRoot[-1];
    if (cLast != '\\' && cLast != '/') m_sRoot += "/";
}

String FilesystemResourceProvider::baseName(const char* szName) {
    String sName(szName);
    const int nSlash = sName.findLast('/');
    const int nBackslash = sName.findLast('\\');
    const int nCut = nSlash > nBackslash ? nSlash : nBackslash;
    return nCut < 0 ? sName : sName.mid(nCut + 1);
}

bool FilesystemResourceProvider::exists(const char* szName) { return File::exists(getPath(szName).c_str()); }

SmartPtr<Resource> FilesystemResourceProvider::load(const char* szName) {
    ZEP_TRACE("FilesystemResourceProvider::load");
    ScopeTrace::setDetail(szName ? szName : "");
    File file(getPath(szName).c_str(), File::kModeRead);
    return Resource::readFrom(&file);
}

List<String> FilesystemResourceProvider::listNames() { return List<String>(); }

String FilesystemResourceProvider::getPath(const char* szName) { return m_sRoot + baseName(szName); }

// ------------------------------------------------------ MemoryResourceProvider

MemoryResourceProvider::MemoryResourceProvider() : m_hResources(97) {}

void MemoryResourceProvider::add(const char* szName, const SmartPtr<Resource>& pResource) {
    ZEP_TRACE("MemoryResourceProvider::add");
    ZEP_ASSERT(pResource.notNULL());
    m_hResources.set(String(szName).toLower(), pResource);
}

bool MemoryResourceProvider::exists(const char* szName) { return m_hResources.contains(String(szName).toLower()); }

SmartPtr<Resource> MemoryResourceProvider::load(const char* szName) {
    ZEP_TRACE("MemoryResourceProvider::load");
    return m_hResources.get(String(szName).toLower());
}

List<String> MemoryResourceProvider::listNames() { return m_hResources.getKeys(); }

String MemoryResourceProvider::getPath(const char* szName) { return String(szName); }

}  // namespace Zep
