// LevelHud: what a level shows over the bar while it is played. The day's
// money "$<money>" (in the campaign "$<money> / $<goal>") at (10, 8), the
// time left "<minutes>:<seconds, two digits>" at (700, 8), both in the
// theme's font "Sand::LabelText" at z-order 5000, each on its plate (the
// pictures "hud_plate_money" and "hud_plate_clock", 6 left of and 5 above
// its label, z-order 4999; none when the picture does not exist), and the
// options button (the text of "HUD_Options", callback id 30) between them,
// from its own size: centred across the screen, its top level with the
// plates' tops. The front corners below belong to the bar (a table's chair
// and a bongo player stand in the bottom-right one), the top row to the HUD.
//
// The time left is the day length less the time played, in whole seconds
// (truncated), never below 0. update sets the texts from the level data; a
// label whose text did not change is not drawn again.
#pragma once

#include "sprite/gamemode.h"
#include "level/leveldata.h"
#include "ui/ui_button.h"
#include "ui/ui_label.h"

class LevelHud {
public:
    static constexpr int kOptionsId = 30;
    static constexpr int kZOrder = 5000;

    // The plates, the labels and the button, added to the mode (not owned), which gets
    // the button's callback.
    explicit LevelHud(GameMode& mode);
    LevelHud(const LevelHud&) = delete;
    LevelHud& operator=(const LevelHud&) = delete;

    void update(const LevelData& data);

    Zep::SmartPtr<Label> getMoneyLabel() const { return m_pMoney; }
    Zep::SmartPtr<Label> getTimeLabel() const { return m_pTime; }
    // Null when the picture does not exist.
    Zep::SmartPtr<Sprite> getMoneyPlate() const { return m_pMoneyPlate; }
    Zep::SmartPtr<Sprite> getTimePlate() const { return m_pTimePlate; }
    Zep::SmartPtr<Button> getOptionsButton() const { return m_pOptions; }

private:
    static Zep::SmartPtr<Sprite> addPlate(GameMode& mode, const char* szPicture, int x, int y);
    void placeOptions(GameMode& mode);
    Zep::SmartPtr<Label> addLabel(GameMode& mode, int x, int y);

    Zep::SmartPtr<Sprite> m_pMoneyPlate;
    Zep::SmartPtr<Label> m_pMoney;
    Zep::SmartPtr<Sprite> m_pTimePlate;
    Zep::SmartPtr<Label> m_pTime;
    Zep::SmartPtr<Button> m_pOptions;
};
