// The adventure's score: what a finished campaign offers to the Adventure
// records (highscore list 0). It counts the money earned on the days won
// and the stars earned on them, the totals the player record keeps in its
// working score slots (TUKPlayer::kMoneySlot, TUKPlayer::kStarsSlot):
//
//     score = 3 x money + 50 x stars, held within an int32_t
//
// A drink pays $100 and earns up to two stars (one for quick service, one
// for a decoration), so each drink served is worth up to 400 points. Serving
// every guest of the 50 days with both stars on every drink scores 516,800,
// above the records' best default (450,000); a campaign that only meets each
// day's goal stays below their lowest (400,000) at every difficulty, even
// with both stars on each of its drinks. The fourth how-to page tells the
// player what the score counts (3 a dollar, 50 a star, on the days won) and
// that the lowest score of the Adventure records is the one to beat.
#pragma once

#include <cstdint>

class TUKPlayer;

namespace adventurescore {

constexpr int kPointsPerDollar = 3;
constexpr int kPointsPerStar = 50;

// The score of those totals; negative totals (a hand-edited record) count
// as they are, and the score never wraps.
int32_t score(int32_t nMoney, int32_t nStars);
// The score of the player's adventure so far, from its working totals: the
// same for a campaign begun by an older build, which kept the same totals.
int32_t score(const TUKPlayer& player);

}  // namespace adventurescore
