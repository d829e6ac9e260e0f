// The highscore lists inside their setting, from arbitrary stream bytes:
// whatever the value, loading gives three lists of at least ten rows; their
// stored form loads back to the same bytes without a complaint; and a score
// above every row gets into each list.
//
// With FUZZ_TUK_HIGHSCORES_SEEDS set to a folder, the target writes its seed
// inputs there (the default tables, the first list in the older list form,
// short lists, two lists, a cut value) and ends.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <zep2/memstream.h>

#include "fuzz_app.h"
#include "records/highscorelists.h"

namespace {

std::string bytesOf(const Zep::String& sText) {
    Zep::SmartPtr<Zep::MemStream> pBytes = Zep::String::unescapeBinary(sText.c_str());
    return std::string(static_cast<const char*>(pBytes->getBuffer()), pBytes->length());
}

void writeSeed(const std::string& sFolder, const char* szName, const std::string& sBytes) {
    if (FILE* f = std::fopen((sFolder + "/" + szName).c_str(), "wb")) {
        std::fwrite(sBytes.data(), 1, sBytes.size(), f);
        std::fclose(f);
    }
}

void writeSeeds(const std::string& sFolder) {
    Zep::List<HighscoreList> lLists;
    for (int i = 0; i < HighscoreLists::kListCount; ++i) lLists.add(HighscoreLists::defaultList(i));
    const std::string sDefaults = bytesOf(HighscoreLists::encode(lLists));
    writeSeed(sFolder, "defaults", sDefaults);
    writeSeed(sFolder, "cut", sDefaults.substr(0, sDefaults.size() / 2));
    // 00 14 0A becomes 00, the older header 01 "tsL" and a 32-bit count.
    writeSeed(sFolder, "older_list", std::string(sDefaults).replace(2, 2, std::string("\x01tsL\x0A\0\0\0", 8)));
    lLists.removeAt(2);
    lLists[0][1] = HighscoreEntry("A\x01" "b", -7, "second");
    writeSeed(sFolder, "two_lists", bytesOf(HighscoreLists::encode(lLists)));
    for (int i = 0; i < 7; ++i) lLists[1].removeFirst();
    lLists.add(HighscoreList());
    writeSeed(sFolder, "short_lists", bytesOf(HighscoreLists::encode(lLists)));
}

void check(bool bHolds) {
    if (!bHolds) std::abort();
}

void checkFull(const HighscoreLists& lists) {
    check(lists.lists().getCount() == HighscoreLists::kListCount);
    for (const HighscoreList& list : lists.lists()) check(list.getCount() >= HighscoreLists::kRowCount);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (const char* szFolder = std::getenv("FUZZ_TUK_HIGHSCORES_SEEDS")) {
        writeSeeds(szFolder);
        std::exit(0);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const fuzz::App app = fuzz::makeApp();
    GameApp& game = *app.pApp;
    game.clearSettings();
    const Zep::String sValue = Zep::String::escapeBinary(data, static_cast<int>(size));
    game.setSetting(HighscoreLists::kSettingKey, sValue.c_str());

    HighscoreLists loaded;
    loaded.load();
    checkFull(loaded);
    check(sValue.length() == 0 || game.getSetting(HighscoreLists::kSettingKey) == sValue);

    const Zep::String sStored = HighscoreLists::encode(loaded.lists());
    game.setSetting(HighscoreLists::kSettingKey, sStored.c_str());
    HighscoreLists again;
    again.load();
    check(HighscoreLists::encode(again.lists()) == sStored);

    for (int i = 0; i < HighscoreLists::kListCount; ++i) {
        HighscoreList list = again.lists()[i];
        bool bAllTop = true;
        for (const HighscoreEntry& e : list) bAllTop = bAllTop && e.getScore() == INT_MAX;
        check(HighscoreLists().addScore(INT_MAX, "Top", i) != bAllTop);
    }
    HighscoreLists after;
    after.load();
    checkFull(after);
    return 0;
}
