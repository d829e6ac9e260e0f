// The settings file and the player-profile blob kept inside it, from arbitrary
// bytes. The profile seeds are object streams (the header byte 5 first), one
// of them with more than a hundred profiles.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include <zep2/error.h>
#include <zep2/objectstreamer.h>

#include "application/gameapp.h"
#include "fuzz_app.h"
#include "application/profiles.h"

namespace {

class FuzzProfiles : public ProfileManager {
public:
    std::unique_ptr<ProfileData> createProfileObject() override { return std::make_unique<ProfileData>(); }
};

GameApp& app() {
    static GameApp* s_pApp = fuzz::makeApp().pApp;
    return *s_pApp;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    GameApp& game = app();
    static const std::string path = "/tmp/fuzz_settings_" + std::to_string(getpid()) + ".dat";
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
        try {
            game.clearSettings();
            game.readSettingsFile(path.c_str());
        } catch (const Zep::Exception&) {
        }
        std::remove(path.c_str());
        std::remove((path + ".bad").c_str());  // a damaged file is moved aside
    }
    // The same bytes as the escaped profile text inside the settings.
    game.clearSettings();
    game.setSetting(ProfileManager::kSettingKey, Zep::String::escapeBinary(data, static_cast<int>(size)).c_str());
    try {
        FuzzProfiles profiles;
        profiles.load();
        for (const Zep::String& name : profiles.getProfileNames()) (void)profiles.getProfile(name.c_str());
        // Damaged data put aside leaves a set that reads back whole.
        if (!profiles.keepUnreadableAside().isEmpty()) {
            profiles.load();
            if (profiles.hasUnreadableData()) __builtin_trap();
        }
    } catch (const Zep::Exception&) {
    }
    return 0;
}
