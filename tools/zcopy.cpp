// zcopy: deflates a file through a zlib stream into "<file>.z", inflates it
// back and compares it with the original; optionally lists a folder ("." and
// ".." left out).
//
//   zcopy [-l level] FILE [FOLDER]
//
// Exit status: 0 round trip ok, 1 round trip failed, 2 bad usage or input.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include <zep2/error.h>
#include <zep2/file.h>
#include <zep2/platform_fs.h>
#include <zep2/zstream.h>

namespace {

constexpr int kChunk = 65536;

int usage() {
    std::fprintf(stderr, "usage: zcopy [-l level] FILE [FOLDER]\n");
    return 2;
}

int refuse(const std::string& sWhy) {
    std::fprintf(stderr, "zcopy: %s\n", sWhy.c_str());
    return 2;
}

// A deflate level 0..9, or -1 for text that is not one.
int parseLevel(const char* szText) {
    return szText[0] >= '0' && szText[0] <= '9' && !szText[1] ? szText[0] - '0' : -1;
}

// Why the path can't be used, or "" when it names what is wanted.
std::string unusable(const char* szPath, bool bWantFolder) {
    const std::string sQuoted = "'" + std::string(szPath) + "'";
    const Zep::String sNative = Zep::platform_fs::resolve(szPath);
    if (!Zep::platform_fs::pathExists(sNative.c_str())) return sQuoted + " does not exist";
    const bool bFolder = Zep::platform_fs::isDirectory(sNative.c_str());
    if (bFolder != bWantFolder) return sQuoted + (bFolder ? " is a folder" : " is not a folder");
    return "";
}

// Returns false when some write did not reach the disk.
bool deflateFile(const char* szFrom, const char* szTo, int nLevel, int& nPacked) {
    Zep::File in(szFrom, Zep::File::kModeRead);
    Zep::File out(szTo, Zep::File::kModeWrite);
    bool bZipError;
    {
        Zep::ZStream zip(&out, nLevel);
        std::vector<char> buf(kChunk);
        for (;;) {
            int n = in.read(kChunk, buf.data());
            if (n <= 0) break;
            zip.write(n, buf.data());
        }
        zip.finish();
        bZipError = zip.hasError();
    }
    nPacked = out.length();
    return !bZipError && !out.hasError();
}

// Inflates szPacked and compares with szOriginal; returns the first differing
// offset, or -1 when both are the same.
long compareInflated(const char* szPacked, const char* szOriginal, bool& bDamaged) {
    Zep::File packed(szPacked, Zep::File::kModeRead);
    Zep::File original(szOriginal, Zep::File::kModeRead);
    Zep::ZStream zip(&packed);
    std::vector<char> a(kChunk), b(kChunk);
    long nOffset = 0;
    for (;;) {
        int na = zip.read(kChunk, a.data());
        int nb = original.read(kChunk, b.data());
        int nSame = std::min(na, nb);
        for (int i = 0; i < nSame; ++i)
            if (a[i] != b[i]) return nOffset + i;
        if (na != nb) return nOffset + nSame;
        if (na == 0) break;
        nOffset += na;
    }
    bDamaged = zip.hasError();
    return -1;
}

void listFolder(const char* szPath) {
    Zep::Directory dir(szPath);
    std::vector<std::pair<std::string, bool>> entries;
    for (int i = 0; i < dir.getEntryCount(); ++i) {
        Zep::SmartPtr<Zep::DirEntry> e = dir.getEntry(i);
        if (e->m_sName == "." || e->m_sName == "..") continue;
        entries.emplace_back(e->m_sName.c_str(), e->isFolder());
    }
    std::sort(entries.begin(), entries.end());
    std::printf("%s: %zu entries\n", szPath, entries.size());
    for (const auto& [name, bFolder] : entries) std::printf("  %c %s\n", bFolder ? 'd' : 'f', name.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    int nLevel = -1;
    int nArg = 1;
    if (nArg < argc && std::strcmp(argv[nArg], "-l") == 0) {
        if (nArg + 1 >= argc) return usage();
        nLevel = parseLevel(argv[nArg + 1]);
        if (nLevel < 0) return refuse("bad level '" + std::string(argv[nArg + 1]) + "' (0..9)");
        nArg += 2;
    }
    if (nArg >= argc || argc - nArg > 2) return usage();
    const char* szFile = argv[nArg];
    const char* szFolder = nArg + 1 < argc ? argv[nArg + 1] : nullptr;
    std::string sWhy = unusable(szFile, false);
    if (sWhy.empty() && szFolder) sWhy = unusable(szFolder, true);
    if (!sWhy.empty()) return refuse(sWhy);

    std::string sPacked = std::string(szFile) + ".z";
    // The work file is ours to delete; never touch one that was there before.
    if (Zep::File::exists(sPacked.c_str())) {
        std::fprintf(stderr, "zcopy: %s already exists\n", sPacked.c_str());
        return 2;
    }
    try {
        int nPacked = 0;
        if (!deflateFile(szFile, sPacked.c_str(), nLevel, nPacked)) {
            std::fprintf(stderr, "zcopy: writing %s failed\n", sPacked.c_str());
            Zep::File::remove(sPacked.c_str());
            return 1;
        }
        int nOriginal = Zep::File(szFile, Zep::File::kModeRead).length();
        bool bDamaged = false;
        long nDiff = compareInflated(sPacked.c_str(), szFile, bDamaged);
        Zep::File::remove(sPacked.c_str());
        std::printf("%s: %d bytes, deflated to %d bytes", szFile, nOriginal, nPacked);
        if (nDiff >= 0 || bDamaged) {
            std::printf(", round trip FAILED at offset %ld\n", nDiff);
            return 1;
        }
        std::printf(", round trip ok\n");
        if (szFolder) listFolder(szFolder);
    } catch (const Zep::Exception& e) {
        std::fprintf(stderr, "zcopy: %s\n", e.getMessage());
        Zep::File::remove(sPacked.c_str());
        return 2;
    }
    return 0;
}
