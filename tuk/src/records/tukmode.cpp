// The game's full-screen mode base.
#include "records/tukmode.h"

TUKMode::TUKMode(uint32_t nFlags) {
    if (nFlags != 0) setFlags(nFlags | kActive | kVisible);
}
