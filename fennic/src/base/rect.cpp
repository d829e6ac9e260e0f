#include "base/rect.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kPi = 3.141592653589793;

// Beyond this many degrees the stepwise wrapping would take long (or forever
// once 360 is below the float spacing), so fmod does the bulk of the work.
constexpr float kWrapLimit = 36000.0f;

// Halves a sum of two edges, truncating toward zero, without 32-bit overflow.
float halfSum(int32_t a, int32_t b) {
    const int64_t sum = static_cast<int64_t>(a) + b;
    return static_cast<float>(sum / 2);
}

float spanOf(int32_t from, int32_t to) {
    return static_cast<float>(static_cast<int64_t>(to) - from);
}

}  // namespace

// Point

float Point::length() const {
    return std::sqrt(x * x + y * y);
}

void Point::normalize() {
    const float fLength = length();
    if (fLength > 0.0f) {
        x /= fLength;
        y /= fLength;
    }
}

float Point::getAngle() const {
    float fAngle = vectorAngle(*this);
    while (fAngle < 0.0f) fAngle += 360.0f;
    while (fAngle >= 360.0f) fAngle -= 360.0f;
    return fAngle;
}

Point reflect(const Point& v, const Point& normal) {
    Point n(normal);
    n.normalize();
    return v - 2.0f * v.dot(n) * n;
}

// Rect

Rect::Rect(int32_t nLeft, int32_t nTop, int32_t nRight, int32_t nBottom, bool bNormalise) {
    if (bNormalise)
        setNormalised(nLeft, nTop, nRight, nBottom);
    else
        set(nLeft, nTop, nRight, nBottom);
}

Rect::Rect(const Point& topLeft, const Point& bottomRight, bool bNormalise)
    : Rect(truncToInt(topLeft.x), truncToInt(topLeft.y), truncToInt(bottomRight.x),
           truncToInt(bottomRight.y), bNormalise) {}

void Rect::set(int32_t nLeft, int32_t nTop, int32_t nRight, int32_t nBottom) {
    m_nLeft = nLeft;
    m_nTop = nTop;
    m_nRight = nRight;
    m_nBottom = nBottom;
}

void Rect::setNormalised(int32_t nLeft, int32_t nTop, int32_t nRight, int32_t nBottom) {
    set(std::min(nLeft, nRight), std::min(nTop, nBottom), std::max(nLeft, nRight),
        std::max(nTop, nBottom));
}

Point Rect::getTopLeft() const {
    return Point(static_cast<float>(m_nLeft), static_cast<float>(m_nTop));
}

Point Rect::getBottomRight() const {
    return Point(static_cast<float>(m_nRight), static_cast<float>(m_nBottom));
}

Point Rect::getSize() const {
    return Point(spanOf(m_nLeft, m_nRight), spanOf(m_nTop, m_nBottom));
}

Point Rect::getCenter() const {
    return Point(halfSum(m_nLeft, m_nRight), halfSum(m_nTop, m_nBottom));
}

Zep::String Rect::toString() const {
    return Zep::String::format("(%d, %d - %d, %d)", m_nLeft, m_nTop, m_nRight, m_nBottom);
}

bool Rect::intersects(const Rect& other) const {
    return other.m_nLeft < m_nRight && other.m_nRight > m_nLeft && other.m_nTop < m_nBottom &&
           other.m_nBottom > m_nTop;
}

Rect Rect::intersect(const Rect& other) const {
    if (!intersects(other)) return Rect();
    return Rect(std::max(m_nLeft, other.m_nLeft), std::max(m_nTop, other.m_nTop),
                std::min(m_nRight, other.m_nRight), std::min(m_nBottom, other.m_nBottom), true);
}

Rect Rect::unite(const Rect& other) const {
    if (isEmpty()) return other;
    if (other.isEmpty()) return *this;
    return Rect(std::min(m_nLeft, other.m_nLeft), std::min(m_nTop, other.m_nTop),
                std::max(m_nRight, other.m_nRight), std::max(m_nBottom, other.m_nBottom), true);
}

void Rect::extend(const Rect& other) {
    m_nLeft = std::min(m_nLeft, other.m_nLeft);
    m_nTop = std::min(m_nTop, other.m_nTop);
    m_nRight = std::max(m_nRight, other.m_nRight);
    m_nBottom = std::max(m_nBottom, other.m_nBottom);
}

void Rect::clipTo(const Rect& bounds) {
    // Raise first, then lower: with inverted bounds the upper bound wins.
    auto clamp = [](int32_t n, int32_t nLow, int32_t nHigh) {
        if (n < nLow) n = nLow;
        if (n > nHigh) n = nHigh;
        return n;
    };
    m_nTop = clamp(m_nTop, bounds.m_nTop, bounds.m_nBottom);
    m_nBottom = clamp(m_nBottom, bounds.m_nTop, bounds.m_nBottom);
    m_nLeft = clamp(m_nLeft, bounds.m_nLeft, bounds.m_nRight);
    m_nRight = clamp(m_nRight, bounds.m_nLeft, bounds.m_nRight);
}

bool Rect::operator==(const Rect& other) const {
    return m_nTop == other.m_nTop && m_nLeft == other.m_nLeft && m_nBottom == other.m_nBottom &&
           m_nRight == other.m_nRight;
}

// Angles

float degToRad(float fDegrees) {
    return static_cast<float>(fDegrees * kPi / 180.0);
}

float radToDeg(float fRadians) {
    return static_cast<float>(fRadians * 180.0 / kPi);
}

float vectorAngle(const Point& v) {
    return static_cast<float>(std::atan2(static_cast<double>(v.y), static_cast<double>(v.x)) * 180.0 / kPi);
}

float normalizeAngle(float fAngle) {
    if (!std::isfinite(fAngle)) return 0.0f;
    if (std::fabs(fAngle) >= kWrapLimit) fAngle = std::fmod(fAngle, 360.0f);
    while (fAngle >= 360.0f) fAngle -= 360.0f;
    while (fAngle < 0.0f) fAngle += 360.0f;
    // A tiny negative angle plus 360 rounds to 360 itself.
    if (fAngle >= 360.0f) fAngle = 0.0f;
    return fAngle;
}

float interpolateAngle(float fFrom, float fTo, float fT) {
    float fDelta = fTo - fFrom;
    if (!std::isfinite(fDelta)) return fFrom;
    if (std::fabs(fDelta) >= kWrapLimit) fDelta = std::fmod(fDelta, 360.0f);
    while (fDelta > 180.0f) fDelta -= 360.0f;
    while (fDelta < -180.0f) fDelta += 360.0f;
    return fFrom + fDelta * fT;
}

Point rotatePoint(const Point& p, float fAngle) {
    if (fAngle == 0.0f) return p;
    const double dRad = degToRad(fAngle);
    const float c = static_cast<float>(std::cos(dRad));
    const float s = static_cast<float>(std::sin(dRad));
    return Point(c * p.x - s * p.y, s * p.x + c * p.y);
}
