// The patience meter's pictures, which the balloons set ships and the
// instruction pages show as the game shows them: n 0 is the frame, 1 to 8
// the segments from the empty end, each on the whole meter's canvas so that
// all nine stand at one point. A flat meter is 58 x 12 (standing guests':
// narrower than the 60 pixels between two places, so that neighbours'
// meters never meet), a tall one 12 x 62 (seated guests').
#pragma once

#include "canvas.h"

namespace cg {

Canvas meter(int n, bool bTall);

}  // namespace cg
