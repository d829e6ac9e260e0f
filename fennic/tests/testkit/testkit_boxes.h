// Boxes as text for expected values and failure messages: one box as
// "x0,y0-x1,y1" (screen, texel or content boxes alike: integers as they are,
// floats as a stream writes them, "2.5", "3"), and the boxes a frame drew,
// sorted, so that a test need not know the order they were kept in.
#pragma once

#include <sstream>
#include <string>

class DirtyRects;

namespace testkit {

template <class Box>
std::string boxText(const Box& b) {
    std::ostringstream s;
    s << b.x0 << ',' << b.y0 << '-' << b.x1 << ',' << b.y1;
    return s.str();
}

// The kept boxes sorted as text, space-separated ("" for none), after
// "whole " when the whole screen is drawn.
std::string boxesText(const DirtyRects& rects);

}  // namespace testkit
