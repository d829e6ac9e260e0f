// HighScoreMode: the highscore screen, and the owner of the lists'
// operations (highscorelists.h).
//
// The main menu pushes a new one each time; the campaign map makes one only
// to call addScore and deletes it without pushing it. Nothing is loaded
// before the screen is entered.
//
// The screen (a full-screen mode over modes that are neither drawn nor
// updated): "sand_frame_back" tiles every 44 pixels in layer -2 over the
// whole screen, "high_back" at (0, 0) in layer -1, three tab buttons down
// the left (styles "AdventureBtn", "CrazyBtn", "FreeBtn", callback ids 0 to
// 2, in a table at (70, 160), layer 2) and the back button "HF_Back" (id -1)
// at (606, 460). Each list has a page table at (280, 150), framed in
// "EmptyFrame": rank, name ("HF_Name") and score ("HF_Score") columns under
// headers in "Sand::HighScoreTitle", rows in "Theme::DefaultHighScore". A
// page is built the first time its tab is pressed (page 0 on entry) and
// kept: the page shown lies in layer 20, the others in layer -10, beneath
// the tiles. Lists are sorted once, on entry, and never saved by the screen.
// Every mouse press is taken.
#pragma once

#include <zep2/list.h>

#include "records/highscorelists.h"
#include "records/tukmode.h"
#include "ui/ui_button.h"
#include "ui/ui_table.h"

class HighScoreMode : public TUKMode {
public:
    static constexpr const char* kTabStyles[HighscoreLists::kListCount] = {"AdventureBtn", "CrazyBtn", "FreeBtn"};
    static constexpr int kBackId = -1;
    static constexpr int kShownLayer = 20;
    static constexpr int kHiddenLayer = -10;

    HighScoreMode();
    ~HighScoreMode() override;

    void onEnter() override;
    void onCallback(int nId, void* pData) override;
    bool onMouseDown(int, int, int) override { return true; }

    // The lists' operations (highscorelists.h).
    bool addScore(int nScore, const char* szName, int nList) { return m_lists.addScore(nScore, szName, nList); }
    static bool insertScore(HighscoreList& list, int nScore, const char* szName) {
        return HighscoreLists::insertScore(list, nScore, szName);
    }
    void loadHighscores() { m_lists.load(); }
    void saveHighscores() const { m_lists.save(); }
    Zep::List<HighscoreList>& getLists() { return m_lists.lists(); }

    // Builds the page of one list and keeps it.
    void buildPage(int nList);
    // Null until built.
    Zep::SmartPtr<Table> getPage(int nList) const { return m_lPages.get(nList); }
    Zep::SmartPtr<ToggleButton> getTab(int nList) const { return m_lTabs.get(nList); }

private:
    void addTabs();
    Zep::SmartPtr<Table> column(const char* szHeader, int nWrapWidth);
    void addEntryLabel(Table& column, const char* szText);
    void showPage(int nList);

    HighscoreLists m_lists;
    Zep::List<Zep::SmartPtr<Table>> m_lPages;
    Zep::List<Zep::SmartPtr<ToggleButton>> m_lTabs;
    Zep::List<bool> m_lBuilt;
    Zep::SmartPtr<Table> m_pTabTable;
};
