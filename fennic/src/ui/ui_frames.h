// The edges of a generated frame: which parts make each edge and how many
// pieces an edge of a given length takes.
//
// An edge is five parts: first corner, first end, middle, second end, second
// corner. A stretching edge takes the asked length with middles repeated
// (the last one overlapped by the corner); a fixed edge (its middle or an end
// marked "fixed") is rounded up to whole pieces: one middle ornament flanked
// by pairs of end pieces, or only end pairs, or only repeated middles.
//
// A style with border parts must have both corners of every edge and a middle
// or end pieces of non-zero length; anything else is an AssertFailException
// before any drawing (never a division by zero or an endless loop). A style
// without border parts (only "back") takes any length as it is.
#pragma once

#include "theme/theme_styles.h"

namespace FrameEdges {

enum Edge { kTopEdge, kBottomEdge, kLeftEdge, kRightEdge };

struct EdgeParts {
    int nFirstCorner, nFirstEnd, nMiddle, nSecondEnd, nSecondCorner;
    bool bVertical;
};

struct EdgeLayout {
    int nLength = 0;
    int nEnds = 0;
    int nMiddles = 0;
};

const EdgeParts& partsOf(Edge edge);
// The length of a part's image along the edge; 0 when missing.
int lengthOf(const FrameStyle& style, int nPart, bool bVertical);
bool isFixed(const FrameStyle& style, const EdgeParts& parts);
// Throws the checks of a fixed edge.
void checkFixed(const FrameStyle& style, const EdgeParts& parts);
EdgeLayout computeEdgeLayout(const FrameStyle& style, Edge edge, int nLength);
// The fitted (width, height): top and bottom, left and right must agree.
void fitSize(const FrameStyle& style, int& nWidth, int& nHeight);

}  // namespace FrameEdges
