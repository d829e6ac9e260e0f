// The on-screen notices about the settings file, each the framework's message
// dialog that names a path between two texts, closed with OK (or Return):
//
// - progress can't be kept: a first text that names the cause the save met,
//   the path it concerns, "NSD_PlayOn" (that the player may play on):
//   - no room left on the disk: "NSD_NoRoom", the settings file's folder;
//   - a folder has the settings file's name: "NSD_NameTaken", the file's path;
//   - the game may not write there: "NSD_NoRight", the folder;
//   - anything else: "NSD_Failed" with the system's own words in place of
//     its "%s", the file's path.
//   Without a data folder at all the line with the path is left out. The game
//   shows it once per run, from the first save that fails once its screens
//   are up: a start in a folder that can't be written is told when the main
//   menu first saves, which fails the same way.
// - the saved settings could not be read: "BSD_NotRead" (that a copy was
//   kept), the full path of the copy, "BSD_Defaults" (that the game starts
//   on new settings); or, when the damaged file could not be moved aside,
//   "BSD_LeftAlone" (that it was left where it is, untouched), its own path,
//   "BSD_NotKept" (that nothing is kept while it is there). The main menu
//   shows it before it asks for the first name: once for a copy (at the
//   first start that reaches the menu), once per run for a file left alone.
// - the saved players could not be read: "BPD_NotRead" (that their data is
//   kept in the settings file), the file's path, "BPD_KeptAs" with the
//   setting's name in place of its "%s". The main menu shows it once, at
//   the start that found them, before it asks for a name.
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
Zep::String text(const Zep::String& sFirst, const Zep::String& sPath, const Zep::String& sLast);
// For a save that failed for the system's reason nSystemError (errno; 0
// when none is known).
std::unique_ptr<DlgMessage> makeUnsaved(GameApp& app, int nSystemError);
std::unique_ptr<DlgMessage> makeUnreadable(GameApp& app);
// For a profile set kept under the setting sKey.
std::unique_ptr<DlgMessage> makeUnreadableProfiles(GameApp& app, const Zep::String& sKey);

}  // namespace settingsnotice
