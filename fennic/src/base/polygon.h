// Geometry routines on points, rectangles and point lists, and Polygon, a
// closed polygon with cached edge data for point location and circle sweeps.
//
// Coordinates are floats on a y-down screen; angles are degrees. With y down,
// a positive cross product is a clockwise turn on screen.
#pragma once

#include <vector>

#include <zep2/list.h>

#include "base/rect.h"

// Segments, circles and rectangles

// Solves |a + t(b - a) - centre| = radius for t (t1 <= t2). False when the line
// misses the circle or a and b coincide.
bool intersectSegmentCircle(const Point& a, const Point& b, const Point& centre, float fRadius,
                            float* pT1, float* pT2);
// A circle moving from -> to first touches a still circle at fraction *pT in
// [0, 1]. A circle that already overlaps at the start does not hit.
bool sweptCircleHitsCircle(const Point& from, const Point& to, float fRadius1, const Point& centre,
                           float fRadius2, float* pT);
// Bits 1 left, 2 right, 4 above, 8 below; the right and bottom edges count as inside.
int computeOutCode(const Point& p, const Rect& r);
bool segmentIntersectsRect(Point a, Point b, const Rect& r);
// cross(b - a, c - a) > 0: c lies to the left of a -> b in y-up terms, which
// on the y-down screen is a clockwise turn.
bool isLeftOf(const Point& a, const Point& b, const Point& c);
// Twice the area of the triangle.
float triangleArea2(const Point& a, const Point& b, const Point& c);
// The nIdx-th cell of a square spiral around (0, 0); *pRing gets its ring.
Point spiralOffset(int nIdx, int* pRing = nullptr);

// Rotated boxes

// Half extents of the axis-aligned box around a box of the given half extents
// rotated by fAngle.
Point rotatedHalfExtents(const Point& half, float fAngle);
// Replaces the corners by those of the axis-aligned box around the rectangle
// rotated about the origin.
void rotateRectBounds(Point& topLeft, Point& bottomRight, float fAngle);
bool orientedBoxHalfTest(const Point& halfA, const Point& d, float fAngleA, float fAngleB,
                         const Point& halfB);
// Boxes given by centre, full size and rotation; touching edges overlap.
bool orientedBoxesOverlap(const Point& centreA, const Point& sizeA, float fAngleA,
                          const Point& centreB, const Point& sizeB, float fAngleB);

// Point lists: a polygon given by its vertices, not closed by a repeated vertex.

// Decided by the first clear turn, so meant for convex polygons.
bool isPolygonClockwise(const Zep::List<Point>& lPoints);
bool isPolylineConvex(const Zep::List<Point>& lPoints);
// Even-odd rule.
bool pointInPolygon(const Zep::List<Point>& lPoints, const Point& q);
// Quickhull; the hull runs clockwise on screen.
Zep::List<Point> convexHull(const Zep::List<Point>& lPoints);

class Polygon {
public:
    // Codes of classifyPoint.
    enum {
        kBeforeEdge = 0,
        kBesideEdge = 1,
        kPastEdge = 2,
        kBehindEdge = 3,
    };

    Polygon() = default;
    explicit Polygon(const Zep::List<Point>& lPoints);
    Polygon(const Polygon& other) = default;
    Polygon& operator=(const Polygon& other) = default;
    virtual ~Polygon() = default;

    void setPoints(const Zep::List<Point>& lPoints);
    // The vertices; once the cache is built they run clockwise and the first
    // is repeated at the end.
    const Zep::List<Point>& getPoints() const { return m_lPoints; }
    // Number of edges (vertices) of the built cache.
    int getEdgeCount();

    bool isConvex();
    // Where p lies against edge nEdge: before its start, beside it, past its
    // end, or behind its line.
    int classifyPoint(int nEdge, const Point& p);
    // The feature nearest to an outside point: 2i + 1 edge i, 2i vertex i, -1 inside.
    int locate(const Point& p);
    // The fraction of the move from -> to a circle can travel before touching
    // the polygon (1 = no contact).
    float sweepCircle(const Point& from, const Point& to, float fRadius, Point* pNormal);

private:
    void ensureCache();
    void buildCache();
    int classify(int nEdge, const Point& p) const;

    Zep::List<Point> m_lPoints;
    bool m_bCacheValid = false;
    bool m_bConvex = false;
    std::vector<Point> m_aVertices;  // closed copy of m_lPoints for fast access
    std::vector<Point> m_aEdges;
    std::vector<float> m_aEdgeLengthsSq;
    std::vector<Point> m_aNormals;
    std::vector<float> m_aOffsets;
};
