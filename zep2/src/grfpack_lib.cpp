#include "zep2/grfpack_lib.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "zep2/error.h"
#include "zep2/file.h"
#include "zep2/resource.h"
#include "zep2/resourcefile.h"

namespace fs = std::filesystem;

namespace {
constexpr const char* kZepSource = ".\\src\\grfpack_lib";

// Entry offsets and sizes are 32-bit signed numbers.
constexpr int64_t kMaxArchiveBytes = INT_MAX;

std::string lowerAscii(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

[[noreturn]] void fail(const Zep::String& sMessage) { ZEP_THROW(Zep::BadParmException, sMessage.c_str()); }

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

bool readWholeFile(const fs::path& path, std::vector<char>& bytes) {
    std::unique_ptr<FILE, int (*)(FILE*)> pFile(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!pFile) return false;
    bytes.clear();
    char buffer[65536];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pFile.get())) > 0) bytes.insert(bytes.end(), buffer, buffer + n);
    return !std::ferror(pFile.get());
}

bool writeWholeFile(const fs::path& path, const void* pData, size_t nSize) {
    std::unique_ptr<FILE, int (*)(FILE*)> pFile(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!pFile) return false;
    if (nSize > 0 && std::fwrite(pData, 1, nSize, pFile.get()) != nSize) return false;
    return std::fflush(pFile.get()) == 0;
}

// A parsed deflate level, or -2 for text that is not one.
int parseLevel(const char* szText) {
    if (!szText || !szText[0] || szText[1]) return -2;
    return szText[0] >= '0' && szText[0] <= '9' ? szText[0] - '0' : -2;
}
}  // namespace

namespace Zep::GrfPack {

List<String> collectFiles(const char* szFolder, const char* szSkip) {
    ZEP_TRACE("GrfPack::collectFiles");
    const fs::path root(szFolder ? szFolder : "");
    std::error_code ec;
    if (root.empty() || !fs::is_directory(root, ec)) fail(String::format("'%s' is not a folder", szFolder ? szFolder : ""));

    fs::path skip;
    if (szSkip && szSkip[0]) skip = fs::weakly_canonical(szSkip, ec);

    std::vector<std::string> names;
    fs::recursive_directory_iterator it(root, ec);
    if (ec) fail(String::format("can't read folder '%s' (%s)", szFolder, ec.message().c_str()));
    for (; it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (ec) break;
        if (!it->is_regular_file(ec)) continue;
        if (!skip.empty() && fs::weakly_canonical(it->path(), ec) == skip) continue;
        names.push_back(it->path().lexically_relative(root).generic_string());
    }
    if (ec) fail(String::format("can't read folder '%s' (%s)", szFolder, ec.message().c_str()));

    std::sort(names.begin(), names.end());
    // Names the reader would take for one another must not both go in.
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

    List<String> lNames;
    for (const std::string& sName : names) lNames.add(String(sName.c_str()));
    return lNames;
}

PackSummary packFolder(const char* szFolder, const char* szArchive, int nLevel) {
    ZEP_TRACE("GrfPack::packFolder");
    if (!szArchive || !szArchive[0]) fail("no archive name");
    if (nLevel < -1 || nLevel > 9) fail(String::format("deflate level %d is not -1 or 0..9", nLevel));
    List<String> lNames = collectFiles(szFolder, szArchive);
    const fs::path root(szFolder);

    PackSummary summary;
    std::error_code ec;
    for (const String& sName : lNames) {
        const auto nSize = fs::file_size(root / sName.c_str(), ec);
        if (ec) fail(String::format("can't read '%s' (%s)", sName.c_str(), ec.message().c_str()));
        summary.nInputBytes += static_cast<int64_t>(nSize);
        if (static_cast<int64_t>(nSize) >= kMaxArchiveBytes)
            fail(String::format("'%s' is too large for an archive (2 GiB at most)", sName.c_str()));
    }

    bool bCreated = false;
    try {
        SmartPtr<File> pArchive(new File(szArchive, File::kModeWrite));
        bCreated = true;
        ResourceFileCompiler compiler{SmartPtr<Stream>(pArchive)};
        compiler.setLevel(nLevel);
        compiler.writeHeader();
        for (const String& sName : lNames) {
            const String sPath = String((root / sName.c_str()).c_str());
            SmartPtr<File> pSource(new File(sPath.c_str(), File::kModeRead));
            const int nSourceSize = pSource->length();
            compiler.add(pSource.get(), sName.c_str());
            // The entry must hold the whole file: a file that shrank while it
            // was read would otherwise go in cut short without a word.
            if (pSource->getPosition() != nSourceSize)
                fail(String::format("'%s' changed while it was packed", sName.c_str()));
            const int nPos = pArchive->getPosition();
            if (nPos < 0 || nPos >= kMaxArchiveBytes) fail("the archive would exceed 2 GiB");
            ++summary.nEntries;
        }
        compiler.finish();
        if (!pArchive->flush() || pArchive->hasError()) fail(String::format("can't write '%s'", szArchive));
        summary.nArchiveBytes = pArchive->length();
    } catch (...) {
        if (bCreated) std::remove(szArchive);
        throw;
    }
    return summary;
}

String listArchive(const char* szArchive) {
    ZEP_TRACE("GrfPack::listArchive");
    ResourceFile archive(szArchive);
    List<const ResourceFileEntry*> lEntries = archive.getEntries();
    std::vector<const ResourceFileEntry*> sorted(lEntries.begin(), lEntries.end());
    std::sort(sorted.begin(), sorted.end(), [](const ResourceFileEntry* a, const ResourceFileEntry* b) {
        return std::strcmp(a->getName().c_str(), b->getName().c_str()) < 0;
    });
    String sOut;
    int64_t nTotal = 0;
    for (const ResourceFileEntry* pEntry : sorted) {
        sOut += String::format("%10d  %s\n", pEntry->getSize(), pEntry->getName().c_str());
        nTotal += pEntry->getSize();
    }
    sOut += String::format("%d entries, %lld bytes\n", static_cast<int>(sorted.size()), static_cast<long long>(nTotal));
    return sOut;
}

int extractArchive(const char* szArchive, const char* szFolder) {
    ZEP_TRACE("GrfPack::extractArchive");
    if (!szFolder || !szFolder[0]) fail("no folder to extract into");
    ResourceFile archive(szArchive);
    List<const ResourceFileEntry*> lEntries = archive.getEntries();

    // Every name is checked before anything is written.
    std::vector<std::pair<const ResourceFileEntry*, std::string>> targets;
    for (const ResourceFileEntry* pEntry : lEntries) {
        const std::string sPath = safeRelativePath(pEntry->getName().c_str());
        if (sPath.empty())
            fail(String::format("refusing to extract '%s': the name leaves the target folder", pEntry->getName().c_str()));
        targets.emplace_back(pEntry, sPath);
    }

    const fs::path root(szFolder);
    std::error_code ec;
    int nWritten = 0;
    for (const auto& [pEntry, sPath] : targets) {
        const fs::path target = root / sPath;
        fs::create_directories(target.parent_path(), ec);
        if (ec) fail(String::format("can't create folder '%s' (%s)", target.parent_path().c_str(), ec.message().c_str()));
        SmartPtr<Resource> pResource = archive.load(pEntry->getName().c_str());
        if (!writeWholeFile(target, pResource->getData(), static_cast<size_t>(pResource->getSize())))
            fail(String::format("can't write '%s'", target.c_str()));
        ++nWritten;
    }
    return nWritten;
}

int verifyArchive(const char* szArchive, const char* szFolder, String& sReport) {
    ZEP_TRACE("GrfPack::verifyArchive");
    ResourceFile archive(szArchive);
    const fs::path root(szFolder ? szFolder : "");
    int nProblems = 0;
    List<const ResourceFileEntry*> lEntries = archive.getEntries();
    std::vector<char> bytes;
    for (const ResourceFileEntry* pEntry : lEntries) {
        const char* szName = pEntry->getName().c_str();
        const std::string sPath = safeRelativePath(szName);
        if (sPath.empty() || !readWholeFile(root / sPath, bytes)) {
            sReport += String::format("missing from the folder: %s\n", szName);
            ++nProblems;
            continue;
        }
        SmartPtr<Resource> pResource = archive.load(szName);
        if (bytes.size() != static_cast<size_t>(pResource->getSize()) ||
            (!bytes.empty() && std::memcmp(bytes.data(), pResource->getData(), bytes.size()) != 0)) {
            sReport += String::format("differs: %s\n", szName);
            ++nProblems;
        }
    }
    List<String> lFiles = collectFiles(szFolder, szArchive);
    for (const String& sName : lFiles) {
        if (!archive.exists(sName.c_str())) {
            sReport += String::format("missing from the archive: %s\n", sName.c_str());
            ++nProblems;
        }
    }
    return nProblems;
}

String usageText() {
    return "usage: grfpack pack [-l LEVEL] FOLDER ARCHIVE.dat\n"
           "                   pack every file under FOLDER; names are paths relative to it\n"
           "                   with \"/\" between folders (LEVEL 0..9, default 9)\n"
           "       grfpack list ARCHIVE.dat\n"
           "                   list the entries: size and name\n"
           "       grfpack extract ARCHIVE.dat FOLDER\n"
           "                   write every entry into FOLDER\n"
           "       grfpack verify ARCHIVE.dat FOLDER\n"
           "                   compare the entries with the files under FOLDER\n";
}

int runTool(int argc, const char* const* argv, String& sOut, String& sErr) {
    std::vector<const char*> args;
    for (int i = 1; i < argc; ++i) args.push_back(argv[i]);
    auto usage = [&](const char* szProblem) {
        if (szProblem) sErr += String::format("grfpack: %s\n", szProblem);
        sErr += usageText();
        return 2;
    };
    if (args.empty()) return usage(nullptr);
    const String sCommand(args[0]);
    if (sCommand == "-h" || sCommand == "--help" || sCommand == "help") {
        sOut += usageText();
        return 0;
    }
    try {
        if (sCommand == "pack") {
            int nLevel = 9;
            size_t i = 1;
            if (i < args.size() && (String(args[i]) == "-l" || String(args[i]) == "--level")) {
                if (i + 1 >= args.size()) return usage("-l needs a level");
                nLevel = parseLevel(args[i + 1]);
                if (nLevel < 0) return usage(String::format("bad level '%s' (0..9)", args[i + 1]).c_str());
                i += 2;
            }
            if (args.size() - i != 2) return usage("pack needs a folder and an archive name");
            PackSummary summary = packFolder(args[i], args[i + 1], nLevel);
            sOut += String::format("packed %d files (%lld bytes) into %s (%lld bytes)\n", summary.nEntries,
                                   static_cast<long long>(summary.nInputBytes), args[i + 1],
                                   static_cast<long long>(summary.nArchiveBytes));
            return 0;
        }
        if (sCommand == "list") {
            if (args.size() != 2) return usage("list needs an archive name");
            sOut += listArchive(args[1]);
            return 0;
        }
        if (sCommand == "extract") {
            if (args.size() != 3) return usage("extract needs an archive name and a folder");
            const int n = extractArchive(args[1], args[2]);
            sOut += String::format("extracted %d entries into %s\n", n, args[2]);
            return 0;
        }
        if (sCommand == "verify") {
            if (args.size() != 3) return usage("verify needs an archive name and a folder");
            String sReport;
            const int nProblems = verifyArchive(args[1], args[2], sReport);
            if (nProblems == 0) {
                sOut += String::format("%s matches %s\n", args[1], args[2]);
                return 0;
            }
            sErr += sReport;
            sErr += String::format("grfpack: %d differences\n", nProblems);
            return 1;
        }
        return usage(String::format("unknown command '%s'", sCommand.c_str()).c_str());
    } catch (const Exception& e) {
        sErr += String::format("grfpack: %s\n", e.getMessage());
        return 1;
    } catch (const std::exception& e) {
        sErr += String::format("grfpack: %s\n", e.what());
        return 1;
    }
}

}  // namespace Zep::GrfPack
