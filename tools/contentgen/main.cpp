// contentgen: draws, synthesises and writes the game's demo content into
// three flat folders (lang_en, tuk_data, tuk_sound) under the folder given.
// Fixed seeds and no time stamps: two runs write the same bytes.
//
// usage: contentgen OUTPUT_FOLDER
// Exit status: 0 done, 1 failed (the reason on standard error), 2 bad usage.
#include <chrono>
#include <cstdio>
#include <exception>

#include "sets.h"
#include "text.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: contentgen OUTPUT_FOLDER\n", stderr);
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    try {
        cg::Output out(argv[1]);
        for (auto make : {cg::makeBar, cg::makeWaitress, cg::makeCustomers, cg::makeMugs, cg::makeBalloons,
                          cg::makeFigures, cg::makeSounds, cg::makeStartup, cg::makeMenu, cg::makeTheme,
                          cg::makeStore, cg::makeDayEnd, cg::makeRecords, cg::makeHowTo, cg::makeCutScenes,
                          cg::makeMap})
            make(out);
        cg::closeFonts();
        const double fSeconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("contentgen: %d files, %lld bytes in %.2f s\n", out.fileCount(),
                    static_cast<long long>(out.byteCount()), fSeconds);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "contentgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
