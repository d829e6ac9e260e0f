// The on-screen notices about the settings file, each the framework's message
// dialog that names a path between two texts, closed with OK (or Return):
//
// - progress can't be kept: "NSD_NotSaved", the settings file's folder,
//   "NSD_PlayOn" (that the player may play on); without a folder (no data
//   folder at all) the line with the folder is left out. The game shows it
//   once per run, from the first save that fails once its screens are up: a
//   start in a folder that can't be written is told when the main menu first
//   saves, which fails the same way.
// - the saved settings could not be read: "BSD_NotRead" (that a copy was
//   kept), the full path of the copy (the damaged file moved aside, or left
//   in its place when it could not be moved), "BSD_Defaults" (that the game
//   starts on new settings). The main menu shows it once per run, before it
//   asks for the first name.
#pragma once

#include <memory>

#include <zep2/str.h>

class GameApp;
class DlgMessage;

namespace settingsnotice {

// "<folder>/" of the settings file's path, "" when it names no folder.
Zep::String folderOf(const Zep::String& sSettingsPath);
// The whole text: the two texts with the path between them, on lines of
// their own; an empty path is left out.
Zep::String text(GameApp& app, const char* szFirstKey, const Zep::String& sPath, const char* szLastKey);
std::unique_ptr<DlgMessage> makeUnsaved(GameApp& app);
std::unique_ptr<DlgMessage> makeUnreadable(GameApp& app);

}  // namespace settingsnotice
