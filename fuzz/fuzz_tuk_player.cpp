// The player records inside the profiles setting, from arbitrary bytes: a
// set that loads is saved, loaded and saved again to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "application/gameapp.h"
#include "fuzz_app.h"
#include "records/tukplayer.h"

namespace {

GameApp& app() {
    static GameApp* s_pApp = fuzz::makeApp().pApp;
    return *s_pApp;
}

// Loads the setting and saves it again; false when it was unreadable.
bool resave(GameApp& game, std::string& sSaved) {
    TUKPlayerManager profiles;
    profiles.load();
    if (profiles.hasUnreadableData()) return false;
    for (int i = 0; i < profiles.getProfileCount(); ++i) {
        auto* pPlayer = static_cast<TUKPlayer*>(profiles.getProfileAt(i));
        pPlayer->commitScores(pPlayer->getDifficulty() % 3);
    }
    profiles.save();
    sSaved = game.getSetting(ProfileManager::kSettingKey).c_str();
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    GameApp& game = app();
    game.clearSettings();
    game.setSetting(ProfileManager::kSettingKey, Zep::String::escapeBinary(data, static_cast<int>(size)).c_str());
    std::string sFirst, sSecond;
    if (!resave(game, sFirst)) return 0;
    if (!resave(game, sSecond) || sFirst != sSecond) std::abort();
    return 0;
}
