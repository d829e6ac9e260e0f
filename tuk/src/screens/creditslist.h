// The credits list: the column of the credits screen after the version line,
// read from the text resource "credits.txt".
//
// One item a line (lines split at CR and LF); blank lines and lines that
// begin with '#' are skipped. A line is a marker, one blank and the text:
//   "= KEY"   a heading: a 20-pixel gap, then the text in the heading font
//             "Sand::HighScoreTitleBlue", joining the column
//   "+ TEXT"  a line of the column in the credits' own font
//   "- TEXT"  a label made but not queued in the column
// The text stands as written; a string-table key shows its text
// (CreditsMode::addText). Any other line is left out and logged:
// "B: ** Credits line left out : <line> **\n" (at most kMaxLoggedBytes of it).
// At most kMaxItems items are read; the rest is left out, logged once.
#pragma once

#include <zep2/list.h>
#include <zep2/str.h>

class CreditsMode;

namespace creditslist {

constexpr const char* kResource = "credits.txt";
constexpr const char* kHeadingFont = "Sand::HighScoreTitleBlue";
constexpr int kHeadingGap = 20;
constexpr int kMaxItems = 200;
constexpr int kMaxLoggedBytes = 80;

struct Item {
    char cKind = '+';  // '=', '+' or '-'
    Zep::String sText;
};

Zep::List<Item> read(const Zep::String& sText);
// Appends the items to the credits' column, in order.
void addTo(CreditsMode& credits, const Zep::List<Item>& lItems);

}  // namespace creditslist
