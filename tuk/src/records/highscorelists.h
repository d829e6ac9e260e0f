// HighscoreLists: the game's three highscore lists (0 the campaign, 1 relax
// mode, 2 free play) of ten rows each, kept in the text setting "Highscores".
//
// Stored form: the escaped text (Zep::String::escapeBinary) of one object
// stream: the header 05, then per list the byte 00 and the list (14, the
// number of rows as a var-int, per row the byte 00 and the row), nothing
// after the last list.
//
// Order: higher scores first, by the list's merge sort, which puts rows of
// equal score in the reverse of the order they had before the sort.
// insertScore keeps the lists unsorted (the new row stands last), so every
// reader sorts before it shows or inserts.
//
// Loading appends to the lists held (it never clears them):
//   - an empty or missing setting gives the default tables, written back at once;
//   - a stored value is read list by list; a list read only in part is
//     dropped. A value that can't be read to the end of its third list, or
//     holds lists of fewer than ten rows, is logged once
//     ("B: ** Highscores setting damaged : <reason>; rows read <n> <n> <n>,
//     the rest taken from the default tables **", "none" for a list not
//     read): missing lists are the default tables, and a list of k rows gets
//     the default rows k+1 to 10 of its table. The setting itself stays as it
//     is until a score gets in (addScore saves only then).
#pragma once

#include <zep2/list.h>

#include "records/highscoreentry.h"

using HighscoreList = Zep::List<HighscoreEntry>;

class HighscoreLists {
public:
    static constexpr const char* kSettingKey = "Highscores";
    static constexpr int kListCount = 3;
    static constexpr int kRowCount = 10;

    // The default table of list 0, 1 or 2 (anything else: an empty list).
    static HighscoreList defaultList(int nList);
    // Higher scores first; equal scores end reversed.
    static void sortList(HighscoreList& list);
    // When some row scores strictly lower than nScore: the list sorted, its
    // tenth row removed (a shorter list loses none), and a new row of that
    // name and score, with the second text of the first such row, added
    // last; true. Otherwise the list is unchanged and the answer false.
    static bool insertScore(HighscoreList& list, int nScore, const char* szName);

    // The stored form of the lists: the escaped text of the stream.
    static Zep::String encode(const Zep::List<HighscoreList>& lLists);

    // loadHighscores / saveHighscores over the application's setting.
    void load();
    void save() const;
    // load, insertScore on list nList, save when the score got in. A list
    // index outside the lists answers false.
    bool addScore(int nScore, const char* szName, int nList);

    Zep::List<HighscoreList>& lists() { return m_lLists; }
    const Zep::List<HighscoreList>& lists() const { return m_lLists; }

private:
    void appendDefaults();
    // Appends the lists read completely; the message of what stopped the
    // reading, or empty.
    Zep::String appendStored(const Zep::String& sValue);
    // Pads the lists from nFirst on and fills them up to three; true when
    // anything was missing.
    bool completeFrom(int nFirst);

    Zep::List<HighscoreList> m_lLists;
};
