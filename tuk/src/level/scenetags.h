// SceneTags: the upgrade tags of a scene's conditional lines, and the one rule
// by which both readers of a scene text, the level and the store's bar
// preview, decide whether such a line's object belongs to the bar.
//
// The tag table, scanned from the top and compared case-sensitively; each tag
// belongs to an upgrade kind:
//    0 "parrot_stand" 8      7 "mesa_0" 2             14 "barman_1" 7         21 "mantel_1" 11
//    1 "juicer_0" 6          8 "mesa_1" 4             15 "prop_dispenser" 9   22 "juicer_0_a" 6
//    2 "juicer_1" 7          9 "center_lvl_2_0" 10    16 "show_1" 12          23 "juicer_1_a" 7
//    3 "silla_0" 2          10 "center_lvl_1_0" 10    17 "show_2" 12          24 "barman_0_a" 6
//    4 "silla_1" 3          11 "center_lvl_2_1" 11    18 "show_3" 12          25 "barman_1_a" 7
//    5 "silla_2" 4          12 "center_lvl_1_1" 11    19 "show_4" 12
//    6 "silla_3" 5          13 "barman_0" 6           20 "mantel_0" 10
//
// Presence, with L the player's 13 upgrade levels and e(k) the effect value
// of kind k at L[k] (UpgradeManager::effectValue). Tokens are counted from the
// keyword (token 0, lower case):
//   "sprite_conditional", tag token 5: "silla_0" to "silla_3" when e(2) to
//     e(5) = 1; "mesa_0" when e(2) or e(3) = 1; "mesa_1" when e(4) or e(5) = 1;
//     "juicer_0", "juicer_1" when e(6), e(7) = 1; "center_lvl_1_0" and
//     "mantel_0" when e(10) = 1, "center_lvl_2_0" and "mantel_2" when
//     e(10) = 2; the same with "_1", "mantel_1", "mantel_3" and e(11);
//     "parrot_stand" when e(8) = 1.
//   "animsprite_conditional" (7 tokens at least): the last token "juicer_0"
//     when e(6) = 1 or "juicer_1" when e(7) = 1; or token 6 "barman_0" when
//     e(6) = 2, "barman_1" when e(7) = 2, "prop_dispenser" when e(9) = 1.
//   "barman", tag token 5: "barman_0" when e(6) >= 2, "barman_1" when
//     e(7) >= 2. The level also makes the tag "base", always.
//   "bongos", tag token 5: "show_1", "show_2" when L[12] >= 1, 2.
//   "bailarina", tag token 7: "show_3", "show_4" when L[12] >= 3, 4.
//   "parrot": when L[8] = 1.
//   "actionspot_conditional", type token 1, tag the last token: "juicer_0",
//     "juicer_1" when e(6), e(7) = 1; "barman_0", "barman_1" when e(6), e(7)
//     is 2 or 3; "barman_0_a", "barman_1_a" when e(6), e(7) = 3. The preview
//     shows only the type "glassspot". The level makes every type; a glass
//     spot follows the preview's rule, so that both show the same coasters,
//     and for any other type a tag not named here follows the
//     "sprite_conditional" rule, plus "prop_dispenser" when e(9) = 1 and
//     "show_1" to "show_4" when L[12] >= 1 to 4.
// Any other tag is absent, and so is the object of a line too short to hold
// its tag. Lines of other keywords are not conditional and always made.
#pragma once

#include <array>
#include <cstdint>

#include <zep2/list.h>
#include <zep2/str.h>

namespace SceneTags {

constexpr int kTagCount = 26;
using Levels = std::array<int32_t, 13>;

// Which reader asks: the level or the bar preview (with no variant purchase).
enum class Reader { kLevel, kPreview };

// Row 0 to 25 of the table.
const char* getTag(int nRow);
// The kind of the first row holding the tag; -1 for any other word.
int findKind(const Zep::String& sTag);

// Whether the object of the line (its tokens as split) is made with the
// upgrade levels.
bool isMade(const Zep::List<Zep::String>& lTokens, const Levels& levels, Reader eReader);

// The rule as one reading of a scene applies it, line by line, with a record
// of the lines it was asked about and of those whose object the reader made,
// by line number in scene order. A line counts as made when the rule held and
// the reader then read the line to its end (lineRead); a line skipped or
// failed after the rule was asked is not.
class ConditionalLines {
public:
    ConditionalLines(const Levels& levels, Reader eReader) : m_levels(levels), m_eReader(eReader) {}

    // isMade for the line, which is noted as asked about.
    bool ask(int32_t nLine, const Zep::List<Zep::String>& lTokens);
    // The line was read to its end.
    void lineRead(int32_t nLine);

    const Levels& getLevels() const { return m_levels; }
    const Zep::List<int32_t>& getAsked() const { return m_lAsked; }
    const Zep::List<int32_t>& getMade() const { return m_lMade; }

private:
    Levels m_levels;
    Reader m_eReader;
    Zep::List<int32_t> m_lAsked;
    Zep::List<int32_t> m_lMade;
    int32_t m_nPending = 0;  // the line whose object the rule made, until it is read
};

}  // namespace SceneTags
