// The on-screen notice that progress can't be kept: the framework's message
// dialog, saying that the game can't write its folder, naming the folder (the
// settings file's), and that the player may play on. Its texts are
// "NSD_NotSaved" and "NSD_PlayOn"; without a folder (no data folder at all)
// the line with the folder is left out.
//
// The game shows it once per run, from the first save that fails once its
// screens are up: a start in a folder that can't be written is told when the
// main menu first saves, which fails the same way.
#pragma once

#include <memory>

#include <zep2/str.h>

class GameApp;
class DlgMessage;

namespace unsavednotice {

// "<folder>/" of the settings file's path, "" when it names no folder.
Zep::String folderOf(const Zep::String& sSettingsPath);
// The whole text: the two texts with the folder between them.
Zep::String text(GameApp& app, const Zep::String& sFolder);
std::unique_ptr<DlgMessage> make(GameApp& app);

}  // namespace unsavednotice
