// The game's global generator.
#include "records/gamerandom.h"

Zep::Random& gameRandom() {
    static Zep::Random s_random;
    return s_random;
}
