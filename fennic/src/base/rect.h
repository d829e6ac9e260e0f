// Rect, Point and the angle helpers: the geometric value types of the framework.
//
// Screen coordinates grow right (x) and down (y); angles are degrees and a
// positive angle turns clockwise on screen.
#pragma once

#include <cstdint>

#include <zep2/str.h>

class Point {
public:
    Point() = default;
    Point(float fX, float fY) : x(fX), y(fY) {}
    Point(const Point& other) = default;
    Point& operator=(const Point& other) = default;
    virtual ~Point() = default;

    Point& operator+=(const Point& other) {
        x += other.x;
        y += other.y;
        return *this;
    }
    Point& operator-=(const Point& other) {
        x -= other.x;
        y -= other.y;
        return *this;
    }
    Point& operator*=(float f) {
        x *= f;
        y *= f;
        return *this;
    }
    // Plain float division: dividing by 0 gives infinities, as for any float.
    Point& operator/=(float f) {
        x /= f;
        y /= f;
        return *this;
    }

    bool operator==(const Point& other) const { return x == other.x && y == other.y; }
    bool operator!=(const Point& other) const { return !(*this == other); }

    float length() const;
    float lengthSquared() const { return x * x + y * y; }
    float dot(const Point& other) const { return x * other.x + y * other.y; }

    // In place; a zero point stays (0, 0).
    void normalize();

    // Direction in degrees, in [0, 360).
    float getAngle() const;

    float x = 0.0f;
    float y = 0.0f;
};

inline Point operator+(const Point& a, const Point& b) { return Point(a.x + b.x, a.y + b.y); }
inline Point operator-(const Point& a, const Point& b) { return Point(a.x - b.x, a.y - b.y); }
inline Point operator*(const Point& p, float f) { return Point(p.x * f, p.y * f); }
inline Point operator*(float f, const Point& p) { return Point(f * p.x, f * p.y); }
inline Point operator/(const Point& p, float f) { return Point(p.x / f, p.y / f); }
inline Point operator-(const Point& p) { return Point(-p.x, -p.y); }

// Cross product u.x*v.y - u.y*v.x: positive for a clockwise turn on screen.
inline float cross(const Point& u, const Point& v) { return u.x * v.y - u.y * v.x; }

// Float to integer coordinate: truncation toward zero that cannot overflow
// (out-of-range values saturate, NaN gives 0).
// Inline: the particle step and every sprite move call it per frame.
inline int32_t truncToInt(float f) {
    if (f != f) return 0;
    if (f >= 2147483648.0f) return INT32_MAX;
    if (f <= -2147483648.0f) return INT32_MIN;
    return static_cast<int32_t>(f);
}

// Mirror v on the line whose normal is given; a zero normal leaves v alone.
Point reflect(const Point& v, const Point& normal);

// Four 32-bit edges; right and bottom are exclusive. Built and printed as
// left, top, right, bottom.
class Rect {
public:
    Rect() = default;
    Rect(int32_t nLeft, int32_t nTop, int32_t nRight, int32_t nBottom, bool bNormalise = false);
    // Float corners are truncated toward zero (out-of-range values saturate, NaN gives 0).
    Rect(const Point& topLeft, const Point& bottomRight, bool bNormalise = false);

    void set(int32_t nLeft, int32_t nTop, int32_t nRight, int32_t nBottom);
    void setNormalised(int32_t nLeft, int32_t nTop, int32_t nRight, int32_t nBottom);

    int32_t getLeft() const { return m_nLeft; }
    int32_t getTop() const { return m_nTop; }
    int32_t getRight() const { return m_nRight; }
    int32_t getBottom() const { return m_nBottom; }
    // Wrap around instead of overflowing for extreme edges; getSize is exact.
    int32_t getWidth() const { return wrappedSpan(m_nLeft, m_nRight); }
    int32_t getHeight() const { return wrappedSpan(m_nTop, m_nBottom); }

    Point getTopLeft() const;
    Point getBottomRight() const;
    Point getSize() const;
    Point getCenter() const;

    Zep::String toString() const;

    // Only a zero width or height is empty; an inverted Rect is not.
    bool isEmpty() const { return m_nTop == m_nBottom || m_nLeft == m_nRight; }
    // Strict: edges that only touch do not intersect.
    bool intersects(const Rect& other) const;
    Rect intersect(const Rect& other) const;
    Rect unite(const Rect& other) const;
    void extend(const Rect& other);
    void clipTo(const Rect& bounds);

    bool operator==(const Rect& other) const;
    bool operator!=(const Rect& other) const { return !(*this == other); }

private:
    static int32_t wrappedSpan(int32_t nFrom, int32_t nTo) {
        return static_cast<int32_t>(static_cast<uint32_t>(nTo) - static_cast<uint32_t>(nFrom));
    }

    // Stored top first; only the storage order differs from the interface.
    int32_t m_nTop = 0;
    int32_t m_nLeft = 0;
    int32_t m_nBottom = 0;
    int32_t m_nRight = 0;
};

// Angles. The conversions compute in double with pi = 3.141592653589793.
float degToRad(float fDegrees);
float radToDeg(float fRadians);
// atan2 in degrees, in (-180, 180]; not brought into [0, 360).
float vectorAngle(const Point& v);
// Into [0, 360). Non-finite angles give 0.
float normalizeAngle(float fAngle);
// The shorter way from one angle to another; a difference of exactly 180 is kept.
float interpolateAngle(float fFrom, float fTo, float fT);
// Turns p about the origin, clockwise on screen for a positive angle.
Point rotatePoint(const Point& p, float fAngle);
