// The build's generated demo content for a test application: the content
// folder read from disk, or the archives packed from it (pictures, scripts,
// the scene, the customer table, texts), every sound of it known to the
// fake audio driver, the string tables, and the game's theme "sand.theme"
// with its TrueType fonts (the font class is registered here: unregister it
// when the test ends). Throws what loading the table or the theme throws.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include <zep2/resource.h>

#include "application/gameapp.h"
#include "driver/startup.h"
#include "testkit/testkit_audio.h"
#include "theme/theme.h"

namespace democontent {

// bArchives: the three archives the build packed beside the game's program
// instead of the folders (the sounds' names still come from the folder).
inline void loadDemoContent(GameApp& app, testkit::FakeAudioDriver& audio, bool bArchives = false) {
    const std::string sArchives = std::filesystem::path(TUK_GAME_PROGRAM).parent_path().string() + "/";
    for (const char* szArchive : {"lang_en.dat", "tuk_data.dat", "tuk_sound.dat"})
        if (bArchives) app.addResourceFile((sArchives + szArchive).c_str());
    for (const char* szFolder : {"tuk_data/", "tuk_data/fonts/", "lang_en/"})
        if (!bArchives)
            app.addResourceProvider(
                std::make_unique<Zep::FilesystemResourceProvider>((std::string(TUK_CONTENT_FOLDER) + szFolder).c_str()),
                false);
    for (const auto& entry : std::filesystem::directory_iterator(TUK_CONTENT_FOLDER "tuk_sound")) {
        audio.m_sampleLoader.m_setNames.insert(entry.path().stem().string());
        audio.m_musicLoader.m_setNames.insert(entry.path().stem().string());
    }
    for (const char* szTable : {"nontranslated.txt", "messages.txt"}) app.loadStringTable(szTable);
    registerTrueTypeFonts();
    Zep::SmartPtr<Theme> pTheme = new Theme();
    pTheme->load("sand.theme");
    app.setTheme(pTheme);
}

}  // namespace democontent
