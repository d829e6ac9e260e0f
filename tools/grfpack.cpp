// grfpack: packs a folder into a resource archive, lists, extracts and
// verifies archives; the work itself is in the foundation (grfpack_lib.h),
// this file is the command line. Run without arguments for the usage text.
//
// Exit status: 0 done, 1 failed (the reason on standard error), 2 bad usage.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include <zep2/grfpack_lib.h>

namespace {

using Args = std::vector<std::string>;

constexpr const char* kUsage =
    "usage: grfpack pack [-l LEVEL] FOLDER ARCHIVE.dat\n"
    "                   pack every file under FOLDER; names are paths relative to it\n"
    "                   with \"/\" between folders (LEVEL 0..9, default 9)\n"
    "       grfpack list ARCHIVE.dat\n"
    "                   list the entries: size and name\n"
    "       grfpack extract ARCHIVE.dat FOLDER\n"
    "                   write every entry into FOLDER\n"
    "       grfpack verify ARCHIVE.dat FOLDER\n"
    "                   compare the entries with the files under FOLDER\n";

int usage(const std::string& sProblem) {
    if (!sProblem.empty()) std::fprintf(stderr, "grfpack: %s\n", sProblem.c_str());
    std::fputs(kUsage, stderr);
    return 2;
}

int failed(const Zep::String& sError) {
    std::fprintf(stderr, "grfpack: %s\n", sError.c_str());
    return 1;
}

// A deflate level 0..9, or -1 for text that is not one.
int parseLevel(const std::string& sText) {
    return sText.size() == 1 && sText[0] >= '0' && sText[0] <= '9' ? sText[0] - '0' : -1;
}

int runPack(const Args& args) {
    int nLevel = 9;
    size_t i = 1;
    if (i < args.size() && (args[i] == "-l" || args[i] == "--level")) {
        if (i + 1 >= args.size()) return usage("-l needs a level");
        nLevel = parseLevel(args[i + 1]);
        if (nLevel < 0) return usage("bad level '" + args[i + 1] + "' (0..9)");
        i += 2;
    }
    if (args.size() - i != 2) return usage("pack needs a folder and an archive name");
    const Zep::GrfPack::PackResult result = Zep::GrfPack::packFolder(args[i].c_str(), args[i + 1].c_str(), nLevel);
    if (!result.ok()) return failed(result.sError);
    std::printf("packed %d files (%lld bytes) into %s (%lld bytes)\n", result.nEntries,
                static_cast<long long>(result.nInputBytes), args[i + 1].c_str(),
                static_cast<long long>(result.nArchiveBytes));
    return 0;
}

int runList(const Args& args) {
    if (args.size() != 2) return usage("list needs an archive name");
    const Zep::GrfPack::ListResult result = Zep::GrfPack::listArchive(args[1].c_str());
    if (!result.ok()) return failed(result.sError);
    std::fputs(result.sListing.c_str(), stdout);
    return 0;
}

int runExtract(const Args& args) {
    if (args.size() != 3) return usage("extract needs an archive name and a folder");
    const Zep::GrfPack::ExtractResult result = Zep::GrfPack::extractArchive(args[1].c_str(), args[2].c_str());
    if (!result.ok()) return failed(result.sError);
    std::printf("extracted %d entries into %s\n", result.nWritten, args[2].c_str());
    return 0;
}

int runVerify(const Args& args) {
    if (args.size() != 3) return usage("verify needs an archive name and a folder");
    const Zep::GrfPack::VerifyResult result = Zep::GrfPack::verifyArchive(args[1].c_str(), args[2].c_str());
    if (!result.ok()) return failed(result.sError);
    if (result.lDifferences.getCount() == 0) {
        std::printf("%s matches %s\n", args[1].c_str(), args[2].c_str());
        return 0;
    }
    for (const Zep::String& sLine : result.lDifferences) std::fprintf(stderr, "%s\n", sLine.c_str());
    std::fprintf(stderr, "grfpack: %d differences\n", result.lDifferences.getCount());
    return 1;
}

int run(const Args& args) {
    if (args.empty()) return usage("");
    const std::string& sCommand = args[0];
    if (sCommand == "-h" || sCommand == "--help" || sCommand == "help") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (sCommand == "pack") return runPack(args);
    if (sCommand == "list") return runList(args);
    if (sCommand == "extract") return runExtract(args);
    if (sCommand == "verify") return runVerify(args);
    return usage("unknown command '" + sCommand + "'");
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return run(Args(argv + 1, argv + argc));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "grfpack: %s\n", e.what());
        return 1;
    }
}
