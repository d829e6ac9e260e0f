#include "base/polygon.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <list>
#include <utility>

#include <zep2/error.h>

namespace {

constexpr const char* kZepSource = ".\\src\\polygon";

// sqrt(2) rounded to a float: the reach of a box's corner per unit of its larger half extent.
constexpr float kSqrt2 = 1.4142135381698608f;

// Exact clipping needs at most two moves per end; float rounding near a corner
// could otherwise bounce an end between two borders for ever.
constexpr int kMaxClipSteps = 16;

// Below this, a sweep stops halving the move.
constexpr float kSweepResolution = 0.01f;

std::vector<Point> toVector(const Zep::List<Point>& lPoints) {
    std::vector<Point> aPoints;
    aPoints.reserve(static_cast<size_t>(lPoints.getCount()));
    for (const Point& p : lPoints) aPoints.push_back(p);
    return aPoints;
}

Zep::List<Point> toList(const std::vector<Point>& aPoints) {
    Zep::List<Point> lPoints;
    for (const Point& p : aPoints) lPoints.add(p);
    return lPoints;
}

// The sine and cosine used by all rotations, so that rotated boxes and
// rotated points agree to the last bit.
void sinCos(float fAngle, float& s, float& c) {
    const double dRad = degToRad(fAngle);
    s = static_cast<float>(std::sin(dRad));
    c = static_cast<float>(std::cos(dRad));
}

}  // namespace

// Segments, circles and rectangles

bool intersectSegmentCircle(const Point& a, const Point& b, const Point& centre, float fRadius,
                            float* pT1, float* pT2) {
    const Point d = b - a;
    const Point f = a - centre;
    const float qa = d.dot(d);
    // A segment of no length has no parameter to solve for.
    if (!(qa > 0.0f)) return false;
    const float qb = 2.0f * f.dot(d);
    const float qc = f.dot(f) - fRadius * fRadius;
    const float disc = qb * qb - 4.0f * qa * qc;
    if (disc < 0.0f) return false;
    const float fRoot = std::sqrt(disc);
    if (pT1) *pT1 = (-qb - fRoot) / (2.0f * qa);
    if (pT2) *pT2 = (fRoot - qb) / (2.0f * qa);
    return true;
}

bool sweptCircleHitsCircle(const Point& from, const Point& to, float fRadius1, const Point& centre,
                           float fRadius2, float* pT) {
    float t1 = 0.0f, t2 = 0.0f;
    if (!intersectSegmentCircle(from, to, centre, fRadius1 + fRadius2, &t1, &t2)) return false;
    if (pT) *pT = t1;
    return t1 >= 0.0f && t1 <= 1.0f;
}

int computeOutCode(const Point& p, const Rect& r) {
    int nCode = 0;
    if (p.x < static_cast<float>(r.getLeft()))
        nCode |= 1;
    else if (p.x > static_cast<float>(r.getRight()))
        nCode |= 2;
    if (p.y < static_cast<float>(r.getTop()))
        nCode |= 4;
    else if (p.y > static_cast<float>(r.getBottom()))
        nCode |= 8;
    return nCode;
}

bool segmentIntersectsRect(Point a, Point b, const Rect& r) {
    int nCodeA = computeOutCode(a, r);
    int nCodeB = computeOutCode(b, r);
    for (int nStep = 0; nStep < kMaxClipSteps; ++nStep) {
        if ((nCodeA | nCodeB) == 0) return true;
        if ((nCodeA & nCodeB) != 0) return false;

        const bool bMoveA = nCodeA != 0;
        const int nCode = bMoveA ? nCodeA : nCodeB;
        // The border's own coordinate is set exactly; the other one is
        // interpolated. Both ends share the chosen side's bit when the
        // divisor is 0, and that case returned above.
        float x, y;
        if (nCode & 8) {
            y = static_cast<float>(r.getBottom());
            x = a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y);
        } else if (nCode & 4) {
            y = static_cast<float>(r.getTop());
            x = a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y);
        } else if (nCode & 1) {
            x = static_cast<float>(r.getLeft());
            y = a.y + (x - a.x) * (b.y - a.y) / (b.x - a.x);
        } else {
            x = static_cast<float>(r.getRight());
            y = a.y + (x - a.x) * (b.y - a.y) / (b.x - a.x);
        }
        if (bMoveA) {
            a = Point(x, y);
            nCodeA = computeOutCode(a, r);
        } else {
            b = Point(x, y);
            nCodeB = computeOutCode(b, r);
        }
    }
    // Still bouncing between borders: the segment at most grazes a corner.
    return false;
}

bool isLeftOf(const Point& a, const Point& b, const Point& c) {
    return cross(b - a, c - a) > 0.0f;
}

float triangleArea2(const Point& a, const Point& b, const Point& c) {
    return std::fabs(cross(b - a, c - a));
}

Point spiralOffset(int nIdx, int* pRing) {
    ZEP_TRACE("spiralOffset");
    ZEP_ASSERT(nIdx >= 0);
    if (nIdx == 0) {
        if (pRing) *pRing = 0;
        return Point(0.0f, 0.0f);
    }
    // Ring n holds the indexes (2n - 1)^2 .. (2n + 1)^2 - 1.
    int64_t n = static_cast<int64_t>(std::sqrt(static_cast<float>(nIdx)) + 1.0f) / 2;
    // The float root misplaces indexes at ring borders once they grow large.
    while (n > 1 && (2 * n - 1) * (2 * n - 1) > nIdx) --n;
    while ((2 * n + 1) * (2 * n + 1) <= nIdx) ++n;
    const int64_t k = nIdx - (2 * n - 1) * (2 * n - 1);

    int64_t x, y;
    if (k < 2 * n) {
        x = n - 1 - k;
        y = -n;
    } else if (k < 4 * n) {
        x = -n;
        y = k - 3 * n + 1;
    } else if (k < 6 * n) {
        x = k - 5 * n + 1;
        y = n;
    } else {
        x = n;
        y = 7 * n - 1 - k;
    }
    if (pRing) *pRing = static_cast<int>(n);
    return Point(static_cast<float>(x), static_cast<float>(y));
}

// Rotated boxes

Point rotatedHalfExtents(const Point& half, float fAngle) {
    const float a = normalizeAngle(fAngle);
    float s, c;
    sinCos(a, s, c);
    // Signed products per quadrant stand in for |c| and |s|.
    if (a < 90.0f) return Point(c * half.x + s * half.y, s * half.x + c * half.y);
    if (a < 180.0f) return Point(-c * half.x + s * half.y, s * half.x - c * half.y);
    if (a < 270.0f) return Point(-c * half.x - s * half.y, -s * half.x - c * half.y);
    return Point(c * half.x - s * half.y, -s * half.x + c * half.y);
}

void rotateRectBounds(Point& topLeft, Point& bottomRight, float fAngle) {
    ZEP_TRACE("rotateRectBounds");
    const float a = normalizeAngle(fAngle);
    float s, c;
    sinCos(a, s, c);
    const Point& tl = topLeft;
    const Point& br = bottomRight;
    // A rotated point is (c x - s y, s x + c y); each extreme comes from the
    // corner that the signs of c and s pick.
    float fLeft, fTop, fRight, fBottom;
    if (a < 90.0f) {
        fLeft = c * tl.x - s * br.y;
        fTop = s * tl.x + c * tl.y;
        fRight = c * br.x - s * tl.y;
        fBottom = s * br.x + c * br.y;
    } else if (a < 180.0f) {
        fLeft = c * br.x - s * br.y;
        fTop = s * tl.x + c * br.y;
        fRight = c * tl.x - s * tl.y;
        fBottom = s * br.x + c * tl.y;
    } else if (a < 270.0f) {
        fLeft = c * br.x - s * tl.y;
        fTop = s * br.x + c * br.y;
        fRight = c * tl.x - s * br.y;
        fBottom = s * tl.x + c * tl.y;
    } else {
        fLeft = c * tl.x - s * tl.y;
        fTop = s * br.x + c * tl.y;
        fRight = c * br.x - s * br.y;
        fBottom = s * tl.x + c * br.y;
    }
    ZEP_ASSERT(fBottom >= fTop);
    ZEP_ASSERT(fRight >= fLeft);
    topLeft = Point(fLeft, fTop);
    bottomRight = Point(fRight, fBottom);
}

bool orientedBoxHalfTest(const Point& halfA, const Point& d, float fAngleA, float fAngleB,
                         const Point& halfB) {
    const Point dA = rotatePoint(d, -fAngleA);
    const Point e = rotatedHalfExtents(halfB, fAngleB - fAngleA);
    return dA.x - e.x <= halfA.x && dA.y - e.y <= halfA.y && dA.x + e.x >= -halfA.x &&
           dA.y + e.y >= -halfA.y;
}

bool orientedBoxesOverlap(const Point& centreA, const Point& sizeA, float fAngleA,
                          const Point& centreB, const Point& sizeB, float fAngleB) {
    const Point halfA = sizeA * 0.5f;
    const Point halfB = sizeB * 0.5f;
    const float rA = std::max(halfA.x, halfA.y);
    const float rB = std::max(halfB.x, halfB.y);
    const float fReach = (rA + rB) * kSqrt2;
    if ((centreA - centreB).lengthSquared() > fReach * fReach) return false;
    return orientedBoxHalfTest(halfA, centreB - centreA, fAngleA, fAngleB, halfB) &&
           orientedBoxHalfTest(halfB, centreA - centreB, fAngleB, fAngleA, halfA);
}

// Point lists

bool isPolygonClockwise(const Zep::List<Point>& lPoints) {
    ZEP_TRACE("isPolygonClockwise");
    const int nCount = lPoints.getCount();
    if (nCount <= 2)
        throw Zep::AssertFailException(kZepSource, __LINE__, "Assertion failed : lPoints.size() > 2");
    const std::vector<Point> p = toVector(lPoints);
    for (int i = 1; i < nCount - 1; ++i) {
        const Point a = p[i] - p[i - 1];
        const Point b = p[i + 1] - p[i];
        const float fScale = a.length() * b.length();
        // A repeated vertex makes no turn at all.
        if (!(fScale > 0.0f)) continue;
        const float s = cross(a, b) / fScale;
        if (std::fabs(s) >= 0.001f) return s > 0.0f;
    }
    ZEP_THROW(Zep::FatalErrorException, "Degenerate polygon passed to isPolygonClockwise()");
}

bool isPolylineConvex(const Zep::List<Point>& lPoints) {
    const int nCount = lPoints.getCount();
    if (nCount < 3) return true;
    const std::vector<Point> p = toVector(lPoints);
    float fPrevTurn = 0.0f;
    for (int i = 1; i < nCount - 1; ++i) {
        const float fTurn = cross(p[i] - p[i - 1], p[i + 1] - p[i]);
        // Signs, not the product: the product of two tiny turns underflows to 0.
        if (i > 1 && ((fPrevTurn > 0.0f && fTurn < 0.0f) || (fPrevTurn < 0.0f && fTurn > 0.0f)))
            return false;
        fPrevTurn = fTurn;
    }
    return true;
}

bool pointInPolygon(const Zep::List<Point>& lPoints, const Point& q) {
    const int nCount = lPoints.getCount();
    const std::vector<Point> p = toVector(lPoints);
    bool bInside = false;
    for (int i = 0; i < nCount; ++i) {
        const Point& pi = p[i];
        const Point& pj = p[(i + 1) % nCount];
        if ((pi.y > q.y) != (pj.y > q.y)) {
            const float x = pi.x + (pj.x - pi.x) * (q.y - pi.y) / (pj.y - pi.y);
            if (x > q.x) bInside = !bInside;
        }
    }
    return bInside;
}

namespace {

// The leftmost and rightmost points (first of equals); for points on one
// vertical line the topmost and bottommost. False when every point is the same.
bool hullExtremes(const std::vector<Point>& p, int* pLeft, int* pRight) {
    int iL = 0, iR = 0;
    for (size_t i = 1; i < p.size(); ++i) {
        if (p[i].x < p[iL].x) iL = static_cast<int>(i);
        if (p[i].x > p[iR].x) iR = static_cast<int>(i);
    }
    if (iL == iR) {
        for (size_t i = 1; i < p.size(); ++i) {
            if (p[i].y < p[iL].y) iL = static_cast<int>(i);
            if (p[i].y > p[iR].y) iR = static_cast<int>(i);
        }
    }
    *pLeft = iL;
    *pRight = iR;
    return iL != iR;
}

// The hull under construction, in order. Each task holds a hull edge B -> A
// (B just before A, cyclically) and the points beyond it, which lie on the
// positive side of A -> B.
using Hull = std::list<Point>;
struct HullTask {
    Hull::iterator itA;
    Point a, b;
    std::vector<Point> aPoints;
};

// Index of the task's point farthest from its edge line, first of equals.
size_t farthestPoint(const HullTask& task) {
    const Point ab = task.b - task.a;
    size_t iFar = 0;
    float fFar = std::fabs(cross(ab, task.aPoints[0] - task.a));
    for (size_t i = 1; i < task.aPoints.size(); ++i) {
        const float f = std::fabs(cross(ab, task.aPoints[i] - task.a));
        if (f > fFar) {
            fFar = f;
            iFar = i;
        }
    }
    return iFar;
}

// Puts the farthest point P between the task's ends, leaving the edges B -> P
// and P -> A as two new tasks with the points still beyond them.
void splitHullTask(Hull& hull, const HullTask& task, std::vector<HullTask>& aTasks) {
    const size_t iFar = farthestPoint(task);
    const Point P = task.aPoints[iFar];
    const Hull::iterator itP = hull.insert(task.itA, P);
    HullTask toA{task.itA, task.a, P, {}};
    HullTask toB{itP, P, task.b, {}};
    for (size_t i = 0; i < task.aPoints.size(); ++i) {
        if (i == iFar) continue;
        const Point& q = task.aPoints[i];
        if (cross(P - task.a, q - task.a) > 0.0f)
            toA.aPoints.push_back(q);
        else if (cross(task.b - P, q - P) > 0.0f)
            toB.aPoints.push_back(q);
    }
    aTasks.push_back(std::move(toA));
    aTasks.push_back(std::move(toB));
}

}  // namespace

Zep::List<Point> convexHull(const Zep::List<Point>& lPoints) {
    ZEP_TRACE("convexHull");
    if (lPoints.getCount() < 3) return lPoints;
    const std::vector<Point> p = toVector(lPoints);
    int iL = 0, iR = 0;
    if (!hullExtremes(p, &iL, &iR)) return toList({p[iL]});  // every point the same
    const Point L = p[iL];
    const Point R = p[iR];

    // The two sides of the line L-R; points on it join the second side.
    Hull hull{L, R};
    std::vector<HullTask> aTasks(2);
    aTasks[0] = HullTask{hull.begin(), L, R, {}};
    aTasks[1] = HullTask{std::next(hull.begin()), R, L, {}};
    for (size_t i = 0; i < p.size(); ++i) {
        if (static_cast<int>(i) == iL || static_cast<int>(i) == iR) continue;
        aTasks[cross(R - L, p[i] - L) > 0.0f ? 0 : 1].aPoints.push_back(p[i]);
    }

    // A work list instead of recursion: thin point clouds recurse as deep as
    // the hull is long.
    while (!aTasks.empty()) {
        HullTask task = std::move(aTasks.back());
        aTasks.pop_back();
        if (task.aPoints.empty()) continue;
        if (task.aPoints.size() == 1)
            hull.insert(task.itA, task.aPoints[0]);
        else
            splitHullTask(hull, task, aTasks);
    }
    return toList(std::vector<Point>(hull.begin(), hull.end()));
}

// Polygon

Polygon::Polygon(const Zep::List<Point>& lPoints) {
    setPoints(lPoints);
}

void Polygon::setPoints(const Zep::List<Point>& lPoints) {
    ZEP_TRACE("Polygon::setPoints");
    m_lPoints = lPoints;
    m_bCacheValid = false;
    buildCache();
}

void Polygon::ensureCache() {
    if (!m_bCacheValid) buildCache();
}

void Polygon::buildCache() {
    ZEP_TRACE("Polygon::buildCache");
    // Repeated vertices (a closing copy of the first included) would make
    // edges of no length, with no normal and every point "beside" them.
    std::vector<Point> aVertices;
    for (const Point& p : m_lPoints)
        if (aVertices.empty() || p != aVertices.back()) aVertices.push_back(p);
    while (aVertices.size() > 1 && aVertices.back() == aVertices.front()) aVertices.pop_back();

    Zep::List<Point> lVertices = toList(aVertices);
    // Throws for fewer than three or collinear vertices; the cache then stays
    // invalid and the points as given.
    if (!isPolygonClockwise(lVertices)) {
        std::reverse(aVertices.begin(), aVertices.end());
        lVertices.reverse();
    }
    const bool bConvex = isPolylineConvex(lVertices);

    const size_t n = aVertices.size();
    aVertices.push_back(aVertices.front());
    lVertices.add(aVertices.front());

    std::vector<Point> aEdges(n), aNormals(n);
    std::vector<float> aLengthsSq(n), aOffsets(n);
    for (size_t i = 0; i < n; ++i) {
        const Point edge = aVertices[i + 1] - aVertices[i];
        aEdges[i] = edge;
        aLengthsSq[i] = edge.dot(edge);
        Point normal(edge.y, -edge.x);
        normal.normalize();
        aNormals[i] = normal;
        aOffsets[i] = normal.dot(aVertices[i]);
    }

    m_lPoints = std::move(lVertices);
    m_aVertices = std::move(aVertices);
    m_aEdges = std::move(aEdges);
    m_aEdgeLengthsSq = std::move(aLengthsSq);
    m_aNormals = std::move(aNormals);
    m_aOffsets = std::move(aOffsets);
    m_bConvex = bConvex;
    m_bCacheValid = true;
}

int Polygon::getEdgeCount() {
    ensureCache();
    return static_cast<int>(m_aEdges.size());
}

bool Polygon::isConvex() {
    ensureCache();
    return m_bConvex;
}

int Polygon::classifyPoint(int nEdge, const Point& p) {
    ZEP_TRACE("Polygon::classifyPoint");
    ensureCache();
    const int nEdges = static_cast<int>(m_aEdges.size());
    ZEP_ASSERT(nEdge >= 0 && nEdge < nEdges);
    return classify(nEdge, p);
}

int Polygon::classify(int nEdge, const Point& p) const {
    const Point d = p - m_aVertices[nEdge];
    if (m_aNormals[nEdge].dot(d) < 0.0f) return kBehindEdge;
    const float t = m_aEdges[nEdge].dot(d);
    if (t < 0.0f) return kBeforeEdge;
    if (t <= m_aEdgeLengthsSq[nEdge]) return kBesideEdge;
    return kPastEdge;
}

int Polygon::locate(const Point& p) {
    ensureCache();
    const int nEdges = static_cast<int>(m_aEdges.size());
    int nPrevious = kBehindEdge;
    for (int i = 0; i < nEdges; ++i) {
        const int c = classify(i, p);
        if (c == kBesideEdge) return 2 * i + 1;
        if ((c != kPastEdge && nPrevious == kPastEdge) ||
            (c == kBeforeEdge && nPrevious == kBehindEdge && i > 0))
            return 2 * i;
        nPrevious = c;
    }
    const int c0 = classify(0, p);
    if ((c0 == kPastEdge || nPrevious != kPastEdge) && (c0 != kBeforeEdge || nPrevious != kBehindEdge))
        return -1;
    return 0;
}

float Polygon::sweepCircle(const Point& from, const Point& to, float fRadius, Point* pNormal) {
    ensureCache();
    const int r1 = locate(from);
    const int r2 = locate(to);
    if (r1 == -1) return 0.0f;

    if (r1 != r2) {
        // NaN and infinite moves would halve for ever.
        const float fLength = (to - from).length();
        if (!(fLength >= kSweepResolution) || !std::isfinite(fLength)) return 1.0f;
        const Point mid = (from + to) / 2.0f;
        float t = sweepCircle(from, mid, fRadius, pNormal);
        if (t < 1.0f) return t * 0.5f;
        t = sweepCircle(mid, to, fRadius, pNormal);
        if (t < 1.0f) return 0.5f + t * 0.5f;
        return 1.0f;
    }

    const int k = r1 / 2;
    if (r1 % 2 == 1) {
        const float d1 = m_aNormals[k].dot(from) - m_aOffsets[k] - fRadius;
        const float d2 = m_aNormals[k].dot(to) - m_aOffsets[k] - fRadius;
        if (d1 > 0.0f && d2 > 0.0f) return 1.0f;
        if ((d1 > 0.0f || d2 > 0.0f) && d2 < d1) {
            if (pNormal) *pNormal = m_aNormals[k];
            return (d1 - kSweepResolution) / (d1 - d2);
        }
        return 0.0f;
    }

    const Point& vertex = m_aVertices[k];
    float t1 = 0.0f, t2 = 0.0f;
    if (!intersectSegmentCircle(from, to, vertex, fRadius, &t1, &t2) || t1 > 1.0f) return 1.0f;
    if (t1 >= 0.0f) {
        if (pNormal) {
            Point normal = from + (to - from) * t1 - vertex;
            normal.normalize();
            *pNormal = normal;
        }
        return t1;
    }
    if ((from - vertex).lengthSquared() < fRadius * fRadius) return t1;
    return 1.0f;
}
