// The game's one profile manager: the players' records (TUKPlayer), kept in
// the settings' profile entry.
//
// getProfileManager makes the manager on its first call and loads the
// profiles from the settings; later calls answer the same manager.
// releaseProfileManager deletes it, which saves the profiles into the
// settings first (ProfileManager's destructor); the next getProfileManager
// makes and loads a new one. The main menu releases it when it ends; every
// TUKPlayer* taken from the manager dies with it.
#pragma once

#include "records/tukplayer.h"

TUKPlayerManager* getProfileManager();
void releaseProfileManager();
