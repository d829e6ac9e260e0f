// zcopy: deflates a file through a zlib stream into "<file>.z", inflates it
// back and compares it with the original; optionally lists a folder.
//
//   zcopy [-l level] FILE [FOLDER]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "zep2/error.h"
#include "zep2/file.h"
#include "zep2/zstream.h"

namespace {

constexpr int kChunk = 65536;

int usage() {
    std::fprintf(stderr, "usage: zcopy [-l level] FILE [FOLDER]\n");
    return 2;
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
    if (nArg + 1 < argc && std::strcmp(argv[nArg], "-l") == 0) {
        nLevel = std::atoi(argv[nArg + 1]);
        nArg += 2;
    }
    if (nArg >= argc || argc - nArg > 2) return usage();
    const char* szFile = argv[nArg];
    const char* szFolder = nArg + 1 < argc ? argv[nArg + 1] : nullptr;

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
        std::fprintf(stderr, "Error : %s [%s:%d]\n", e.getMessage(), e.getFile(), e.getLine());
        Zep::File::remove(sPacked.c_str());
        return 2;
    }
    return 0;
}
