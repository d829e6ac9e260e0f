#include "zep2/grfpack_lib.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>
#include <random>
#include <set>
#include <span>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "zep2/error.h"
#include "zep2/file.h"
#include "zep2/platform_fs.h"
#include "zep2/resource.h"
#include "zep2/resourcefile.h"

namespace fs = std::filesystem;
using Zep::ResourceFile;
using Zep::ResourceFileEntry;
using Zep::SmartPtr;
using Zep::String;

namespace {
constexpr const char* kZepSource = ".\\src\\grfpack_lib";

// Entry offsets and sizes are 32-bit signed numbers.
constexpr int64_t kMaxArchiveBytes = INT_MAX;
// Temporary names tried, each taken already, before giving up.
constexpr int kTempNameTries = 16;

[[noreturn]] void fail(const String& sMessage) { ZEP_THROW(Zep::BadParmException, sMessage.c_str()); }

const char* systemReason(int nErr) { return nErr ? std::strerror(nErr) : "the system gave no reason"; }

std::string lowerAscii(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// The native path of a library path, its case matched to what exists.
std::string nativeOf(const char* szPath) { return Zep::platform_fs::resolve(szPath).c_str(); }

// Fails unless the path names a regular file that can be opened for reading.
void checkReadableFile(const char* szPath) {
    const std::string sNative = nativeOf(szPath);
    if (!Zep::platform_fs::pathExists(sNative.c_str())) fail(String::format("'%s' does not exist", szPath));
    if (Zep::platform_fs::isDirectory(sNative.c_str())) fail(String::format("'%s' is a folder", szPath));
    errno = 0;
    std::unique_ptr<FILE, int (*)(FILE*)> pFile(std::fopen(sNative.c_str(), "rb"), &std::fclose);
    if (!pFile) fail(String::format("can't read '%s': %s", szPath, systemReason(errno)));
}

// The native path of an existing folder; fails for anything else.
fs::path checkFolder(const char* szPath) {
    if (!szPath || !szPath[0]) fail("no folder given");
    const std::string sNative = nativeOf(szPath);
    if (!Zep::platform_fs::pathExists(sNative.c_str())) fail(String::format("'%s' does not exist", szPath));
    if (!Zep::platform_fs::isDirectory(sNative.c_str())) fail(String::format("'%s' is not a folder", szPath));
    return sNative;
}

// A new file beside a target, under a name of its own; removed again unless
// it was put in place over the target.
class TempFile {
public:
    explicit TempFile(std::string sTarget) : m_sTarget(std::move(sTarget)) {
        std::random_device random;
        for (int i = 0; i < kTempNameTries && !m_pFile; ++i) {
            m_sPath = m_sTarget + String::format(".%08x.tmp", random()).c_str();
            errno = 0;
            m_pFile.reset(Zep::platform_fs::openFile(m_sPath.c_str(), "wbx"));
            if (!m_pFile && errno != EEXIST) break;
        }
        if (!m_pFile) failWrite();
    }
    ~TempFile() {
        m_pFile.reset();
        if (!m_bPlaced) Zep::platform_fs::removeFile(m_sPath.c_str());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const std::string& path() const { return m_sPath; }

    // Writes the bytes and closes the file.
    void write(const void* pData, size_t nSize) {
        errno = 0;
        if (nSize > 0 && std::fwrite(pData, 1, nSize, m_pFile.get()) != nSize) failWrite();
        close();
    }
    void close() {
        errno = 0;
        FILE* pFile = m_pFile.release();
        if (pFile && std::fclose(pFile) != 0) failWrite();
    }
    // Renames the file over the target, replacing it in one step.
    void putInPlace() {
        errno = 0;
        if (Zep::platform_fs::renameFile(m_sPath.c_str(), m_sTarget.c_str()) != 0)
            fail(String::format("can't replace '%s': %s", m_sTarget.c_str(), systemReason(errno)));
        m_bPlaced = true;
    }

private:
    [[noreturn]] void failWrite() {
        fail(String::format("can't write '%s': %s", m_sTarget.c_str(), systemReason(errno)));
    }

    std::string m_sTarget;
    std::string m_sPath;
    std::unique_ptr<FILE, int (*)(FILE*)> m_pFile{nullptr, &std::fclose};
    bool m_bPlaced = false;
};

// Makes missing folders one level at a time and, unless kept, removes the
// ones it made again (those still empty).
class FolderMaker {
public:
    FolderMaker() = default;
    ~FolderMaker() {
        std::error_code ec;
        if (!m_bKept)
            for (auto it = m_made.rbegin(); it != m_made.rend(); ++it) fs::remove(*it, ec);
    }
    FolderMaker(const FolderMaker&) = delete;
    FolderMaker& operator=(const FolderMaker&) = delete;

    void make(const fs::path& folder) {
        fs::path sofar;
        for (const fs::path& part : folder) {
            sofar /= part;
            std::error_code ec;
            if (fs::is_directory(sofar, ec)) continue;
            if (fs::exists(sofar, ec)) fail(String::format("'%s' is not a folder", sofar.c_str()));
            if (!fs::create_directory(sofar, ec))
                fail(String::format("can't create folder '%s': %s", sofar.c_str(), ec.message().c_str()));
            m_made.push_back(sofar);
        }
    }
    void keep() { m_bKept = true; }

private:
    std::vector<fs::path> m_made;
    bool m_bKept = false;
};

// ------------------------------------------------------------------ packing

// Relative names of every regular file under the folder, sorted byte by
// byte; skip (may be empty) is a file to leave out.
std::vector<std::string> collectFiles(const fs::path& root, const fs::path& skip) {
    std::vector<std::string> names;
    std::error_code ec;
    fs::recursive_directory_iterator it(root, ec);
    for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        std::error_code ecEntry;
        if (!it->is_regular_file(ecEntry)) continue;
        if (!skip.empty() && fs::weakly_canonical(it->path(), ecEntry) == skip) continue;
        names.push_back(it->path().lexically_relative(root).generic_string());
    }
    if (ec) fail(String::format("can't read folder '%s': %s", root.c_str(), ec.message().c_str()));
    std::sort(names.begin(), names.end());
    return names;
}

// Names the reader would take for one another, or split at a backslash,
// must not go in.
void checkNames(const std::vector<std::string>& names) {
    std::vector<std::pair<std::string, std::string>> folded;
    for (const std::string& sName : names) {
        if (sName.find('\\') != std::string::npos)
            fail(String::format("can't pack '%s': a backslash in a name is a separator to the archive's users",
                                sName.c_str()));
        folded.emplace_back(lowerAscii(sName), sName);
    }
    std::sort(folded.begin(), folded.end());
    for (size_t i = 1; i < folded.size(); ++i) {
        if (folded[i].first == folded[i - 1].first)
            fail(String::format("'%s' and '%s' differ only in case; the archive can serve only one of them",
                                folded[i - 1].second.c_str(), folded[i].second.c_str()));
    }
}

// The archive must not end up among the files it packs.
void checkArchiveOutside(const fs::path& root, const char* szArchive) {
    std::error_code ec;
    const fs::path folder = fs::weakly_canonical(root, ec);
    const fs::path rel = fs::weakly_canonical(nativeOf(szArchive), ec).lexically_relative(folder);
    if (!rel.empty() && *rel.begin() != "..")
        fail(String::format("refusing to write the archive '%s' inside the folder being packed", szArchive));
}

int64_t totalSize(const fs::path& root, const std::vector<std::string>& names) {
    int64_t nTotal = 0;
    for (const std::string& sName : names) {
        std::error_code ec;
        const auto nSize = static_cast<int64_t>(fs::file_size(root / sName, ec));
        if (ec) fail(String::format("can't read '%s': %s", sName.c_str(), ec.message().c_str()));
        if (nSize >= kMaxArchiveBytes)
            fail(String::format("'%s' is too large for an archive (2 GiB at most)", sName.c_str()));
        nTotal += nSize;
    }
    return nTotal;
}

// Adds one file of the folder; the entry must hold the whole file.
void addFile(Zep::ResourceFileCompiler& compiler, const fs::path& root, const std::string& sName) {
    const std::string sPath = (root / sName).string();
    checkReadableFile(sPath.c_str());
    SmartPtr<Zep::File> pSource(new Zep::File(sPath.c_str(), Zep::File::kModeRead));
    const int nSourceSize = pSource->length();
    compiler.add(pSource.get(), sName.c_str());
    // A file that shrank while it was read would otherwise go in cut short.
    if (pSource->getPosition() != nSourceSize) fail(String::format("'%s' changed while it was packed", sName.c_str()));
}

// Writes the archive into the file at sPath and returns its length; szShown
// names it in messages.
int64_t writeArchive(const std::string& sPath, const char* szShown, const fs::path& root,
                     const std::vector<std::string>& names, int nLevel) {
    SmartPtr<Zep::File> pArchive(new Zep::File(sPath.c_str(), Zep::File::kModeWrite));
    SmartPtr<Zep::ResourceFileCompiler> pCompiler(new Zep::ResourceFileCompiler(SmartPtr<Zep::Stream>(pArchive)));
    pCompiler->setLevel(nLevel);
    pCompiler->writeHeader();
    for (const std::string& sName : names) {
        addFile(*pCompiler, root, sName);
        const int nPos = pArchive->getPosition();
        if (nPos < 0 || nPos >= kMaxArchiveBytes) fail("the archive would exceed 2 GiB");
    }
    pCompiler->finish();
    errno = 0;
    if (!pArchive->flush() || pArchive->hasError())
        fail(String::format("can't write '%s': %s", szShown, systemReason(errno)));
    return pArchive->length();
}

void pack(Zep::GrfPack::PackResult& result, const char* szFolder, const char* szArchive, int nLevel) {
    if (!szArchive || !szArchive[0]) fail("no archive name");
    if (nLevel < -1 || nLevel > 9) fail(String::format("deflate level %d is not -1 or 0..9", nLevel));
    const fs::path root = checkFolder(szFolder);
    if (Zep::platform_fs::isDirectory(nativeOf(szArchive).c_str()))
        fail(String::format("'%s' is a folder", szArchive));
    checkArchiveOutside(root, szArchive);
    const std::vector<std::string> names = collectFiles(root, fs::path());
    checkNames(names);
    result.nInputBytes = totalSize(root, names);

    TempFile temp(szArchive);
    temp.close();
    result.nArchiveBytes = writeArchive(temp.path(), szArchive, root, names, nLevel);
    result.nEntries = static_cast<int>(names.size());
    temp.putInPlace();
}

// ---------------------------------------------------------- reading archives

// Plain words for what the archive reader refuses, found by its message.
struct Reason {
    const char* szNeedle;
    const char* szFormat;  // formatted with the archive's or the entry's name
};

// The index-corrupt message quotes the index reader's own, so it comes first.
constexpr Reason kOpenReasons[] = {
    {": index is corrupt", "the index of '%s' is damaged or cut short"},
    {": bad header", "'%s' does not start like a resource archive"},
    {": bad stream format", "'%s' has an unknown header record"},
    {": unknown format version", "'%s' is of an unknown format version"},
    {"", "'%s' can't be read as a resource archive"},
};

constexpr const char* kDamagedEntry = "entry '%s' is damaged or cut short";

constexpr Reason kLoadReasons[] = {
    {"nSize >= 0", "entry '%s' has a negative size"},
    {"pData", "entry '%s' claims more bytes than the archive can hold"},
    {"nOffset >=", "entry '%s' starts outside the archive"},
    {"", kDamagedEntry},
};

// "damaged archive: " and the first reason whose needle the message holds
// (the last one always matches).
[[noreturn]] void failDamaged(const Zep::Exception& e, std::span<const Reason> reasons, const char* szName) {
    const Reason* pReason = &reasons.back();
    for (const Reason& reason : reasons) {
        if (std::strstr(e.getMessage(), reason.szNeedle)) {
            pReason = &reason;
            break;
        }
    }
    fail(String("damaged archive: ") + String::format(pReason->szFormat, szName));
}

std::unique_ptr<ResourceFile> openArchive(const char* szArchive) {
    if (!szArchive || !szArchive[0]) fail("no archive name");
    checkReadableFile(szArchive);
    try {
        return std::make_unique<ResourceFile>(szArchive);
    } catch (const Zep::Exception& e) {
        failDamaged(e, kOpenReasons, szArchive);
    }
}

SmartPtr<Zep::Resource> loadEntry(ResourceFile& archive, const ResourceFileEntry& entry) {
    try {
        return archive.load(entry.getName().c_str());
    } catch (const Zep::ResourceException&) {
        // Damaged entry data. The reader's words name the archive too; ours
        // name the entry alone, whatever its name holds.
        fail(String("damaged archive: ") + String::format(kDamagedEntry, entry.getName().c_str()));
    } catch (const Zep::Exception& e) {
        failDamaged(e, kLoadReasons, entry.getName().c_str());
    }
}

std::vector<const ResourceFileEntry*> sortedEntries(const ResourceFile& archive) {
    const Zep::List<const ResourceFileEntry*> lEntries = archive.getEntries();
    std::vector<const ResourceFileEntry*> sorted(lEntries.begin(), lEntries.end());
    std::sort(sorted.begin(), sorted.end(), [](const ResourceFileEntry* a, const ResourceFileEntry* b) {
        return std::strcmp(a->getName().c_str(), b->getName().c_str()) < 0;
    });
    return sorted;
}

void list(Zep::GrfPack::ListResult& result, const char* szArchive) {
    const std::unique_ptr<ResourceFile> pArchive = openArchive(szArchive);
    const std::vector<const ResourceFileEntry*> entries = sortedEntries(*pArchive);
    int64_t nTotal = 0;
    for (const ResourceFileEntry* pEntry : entries) {
        result.sListing += String::format("%10d  %s\n", pEntry->getSize(), pEntry->getName().c_str());
        nTotal += pEntry->getSize();
    }
    result.sListing += String::format("%d entries, %lld bytes\n", static_cast<int>(entries.size()),
                                      static_cast<long long>(nTotal));
}

// ---------------------------------------------------------------- extracting

// The entry name as a relative path below the extraction folder, or "" when
// the name would reach outside it.
std::string safeRelativePath(const char* szName) {
    std::string sName(szName);
    std::replace(sName.begin(), sName.end(), '\\', '/');
    if (sName.empty() || sName.front() == '/') return "";
    size_t nStart = 0;
    while (nStart <= sName.size()) {
        size_t nEnd = sName.find('/', nStart);
        if (nEnd == std::string::npos) nEnd = sName.size();
        const std::string sPart = sName.substr(nStart, nEnd - nStart);
        if (sPart.empty() || sPart == "." || sPart == "..") return "";
        nStart = nEnd + 1;
    }
    return sName;
}

struct Target {
    const ResourceFileEntry* pEntry;
    std::string sPath;
};

// Every entry's path below the folder, checked before anything is written:
// none may leave the folder, none may be a file and a folder at once.
std::vector<Target> planTargets(const std::vector<const ResourceFileEntry*>& entries) {
    std::vector<Target> targets;
    std::set<std::string> folders;
    for (const ResourceFileEntry* pEntry : entries) {
        const std::string sPath = safeRelativePath(pEntry->getName().c_str());
        if (sPath.empty())
            fail(String::format("refusing to extract '%s': the name leaves the target folder",
                                pEntry->getName().c_str()));
        for (size_t n = sPath.find('/'); n != std::string::npos; n = sPath.find('/', n + 1))
            folders.insert(sPath.substr(0, n));
        targets.push_back({pEntry, sPath});
    }
    for (const Target& target : targets) {
        if (folders.count(target.sPath))
            fail(String::format("can't extract '%s': the archive also holds entries inside it",
                                target.pEntry->getName().c_str()));
    }
    return targets;
}

// Inflates one entry into a temporary file beside its target.
std::unique_ptr<TempFile> writeEntry(ResourceFile& archive, const Target& target, const fs::path& root,
                                     FolderMaker& folders) {
    const fs::path path = root / target.sPath;
    folders.make(path.parent_path());
    if (fs::is_directory(path))
        fail(String::format("can't extract '%s': '%s' is a folder", target.pEntry->getName().c_str(), path.c_str()));
    SmartPtr<Zep::Resource> pResource = loadEntry(archive, *target.pEntry);
    auto pTemp = std::make_unique<TempFile>(path.string());
    pTemp->write(pResource->getData(), static_cast<size_t>(pResource->getSize()));
    return pTemp;
}

void extract(Zep::GrfPack::ExtractResult& result, const char* szArchive, const char* szFolder) {
    if (!szFolder || !szFolder[0]) fail("no folder to extract into");
    const std::unique_ptr<ResourceFile> pArchive = openArchive(szArchive);
    const std::vector<Target> targets = planTargets(sortedEntries(*pArchive));
    FolderMaker folders;
    std::vector<std::unique_ptr<TempFile>> written;
    for (const Target& target : targets) written.push_back(writeEntry(*pArchive, target, szFolder, folders));
    for (const auto& pTemp : written) pTemp->putInPlace();
    folders.keep();
    result.nWritten = static_cast<int>(targets.size());
}

// ----------------------------------------------------------------- verifying

bool readWholeFile(const fs::path& path, std::vector<char>& bytes) {
    std::unique_ptr<FILE, int (*)(FILE*)> pFile(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!pFile) return false;
    bytes.clear();
    char buffer[65536];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pFile.get())) > 0) bytes.insert(bytes.end(), buffer, buffer + n);
    return !std::ferror(pFile.get());
}

bool sameBytes(const std::vector<char>& bytes, Zep::Resource& resource) {
    return bytes.size() == static_cast<size_t>(resource.getSize()) &&
           (bytes.empty() || std::memcmp(bytes.data(), resource.getData(), bytes.size()) == 0);
}

void verify(Zep::GrfPack::VerifyResult& result, const char* szArchive, const char* szFolder) {
    const std::unique_ptr<ResourceFile> pArchive = openArchive(szArchive);
    const fs::path root = checkFolder(szFolder);
    std::vector<char> bytes;
    for (const ResourceFileEntry* pEntry : sortedEntries(*pArchive)) {
        SmartPtr<Zep::Resource> pResource = loadEntry(*pArchive, *pEntry);
        const char* szName = pEntry->getName().c_str();
        const std::string sPath = safeRelativePath(szName);
        if (sPath.empty() || !readWholeFile(root / sPath, bytes))
            result.lDifferences.add(String::format("missing from the folder: %s", szName));
        else if (!sameBytes(bytes, *pResource))
            result.lDifferences.add(String::format("differs: %s", szName));
    }
    std::error_code ec;
    const fs::path skip = fs::weakly_canonical(nativeOf(szArchive), ec);
    for (const std::string& sName : collectFiles(root, skip)) {
        if (!pArchive->exists(sName.c_str()))
            result.lDifferences.add(String::format("missing from the archive: %s", sName.c_str()));
    }
}

// Runs the work, turning whatever it throws into the result's error.
template <class R, class Work>
R attempt(Work&& work) {
    R result;
    try {
        work(result);
    } catch (const Zep::Exception& e) {
        result = R();
        result.sError = e.getMessage();
    } catch (const std::bad_alloc&) {
        result = R();
        result.sError = "out of memory";
    } catch (const std::exception& e) {
        result = R();
        result.sError = e.what();
    }
    return result;
}

}  // namespace

namespace Zep::GrfPack {

PackResult packFolder(const char* szFolder, const char* szArchive, int nLevel) {
    ZEP_TRACE("GrfPack::packFolder");
    return attempt<PackResult>([&](PackResult& result) { pack(result, szFolder, szArchive, nLevel); });
}

ListResult listArchive(const char* szArchive) {
    ZEP_TRACE("GrfPack::listArchive");
    return attempt<ListResult>([&](ListResult& result) { list(result, szArchive); });
}

ExtractResult extractArchive(const char* szArchive, const char* szFolder) {
    ZEP_TRACE("GrfPack::extractArchive");
    return attempt<ExtractResult>([&](ExtractResult& result) { extract(result, szArchive, szFolder); });
}

VerifyResult verifyArchive(const char* szArchive, const char* szFolder) {
    ZEP_TRACE("GrfPack::verifyArchive");
    return attempt<VerifyResult>([&](VerifyResult& result) { verify(result, szArchive, szFolder); });
}

}  // namespace Zep::GrfPack
