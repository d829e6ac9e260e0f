#include "testkit/testkit_boxes.h"

#include <algorithm>
#include <vector>

#include "render/dirtyrects.h"

namespace testkit {

std::string boxesText(const DirtyRects& rects) {
    std::vector<std::string> v;
    for (const ScreenBox& b : rects.boxes()) v.push_back(boxText(b));
    std::sort(v.begin(), v.end());
    std::string s = rects.isWholeScreen() ? "whole" : "";
    for (const std::string& t : v) s += (s.empty() ? "" : " ") + t;
    return s;
}

}  // namespace testkit
