// The game's one generator for timers and counts (a customer's state timers,
// its number of drinks). Visible choices (orders, mirroring, decorations)
// use the C runtime's rand instead, which the application seeds at start-up.
// Seeded from the clock when first used; tests seed it.
#pragma once

#include <zep2/random.h>

Zep::Random& gameRandom();
