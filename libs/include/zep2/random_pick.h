// pickRandom: one element of a list, chosen by a generator of its own.
#pragma once

#include "zep2/list.h"
#include "zep2/random.h"

namespace Zep {

// Each element type gets its own generator, seeded from the clock on the
// first call. An empty list asks for index -1 and gets the list's range error.
template <class T>
T pickRandom(const List<T>& list) {
    static Random s_random;
    return list.get(s_random.randInt(0, list.getCount() - 1));
}

}  // namespace Zep
