// The adventure's score (adventurescore.h).
#include "records/adventurescore.h"

#include "records/cappedsum.h"
#include "records/tukplayer.h"

namespace adventurescore {

int32_t score(int32_t nMoney, int32_t nStars) {
    return cappedValue(static_cast<int64_t>(nMoney) * kPointsPerDollar + static_cast<int64_t>(nStars) * kPointsPerStar);
}

int32_t score(const TUKPlayer& player) {
    return score(player.getWorkingScore(TUKPlayer::kMoneySlot), player.getWorkingScore(TUKPlayer::kStarsSlot));
}

}  // namespace adventurescore
