// The game's bases for its screens and dialogs.
//
// TUKMode: a full-screen mode. Made without flags it keeps GameMode's own
// (active and visible); made with flags it takes them with active and visible
// added (flags | 3), so TUKMode(1) is a mode over modes that are neither drawn
// nor updated, and TUKMode(13) one that lets the modes below draw and update.
//
// TUKDialog: a dialog that pauses the modes below it (they are drawn, not
// updated). Its addText and addTextToTable are DialogMode's, unchanged.
#pragma once

#include <cstdint>

#include "sprite/gamemode.h"
#include "dialogs/ui_dialog.h"

class TUKMode : public GameMode {
public:
    explicit TUKMode(uint32_t nFlags = 0);
};

class TUKDialog : public DialogMode {
public:
    TUKDialog() : DialogMode(true) {}
};
