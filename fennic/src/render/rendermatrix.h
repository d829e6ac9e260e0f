// Row-vector 4 x 4 matrices for the render device: a point p is transformed
// as p x M, so a product A x B applies A first. The helpers build the
// matrices the textured driver needs: translation, scaling, rotation about z
// (x, y) -> (x cos t - y sin t, x sin t + y cos t), which turns clockwise on a
// screen whose y grows downwards, and the left-handed off-centre
// orthographic projection onto the unit cube.
#pragma once

namespace render {

struct Mat4 {
    float m[4][4] = {};

    static Mat4 identity();
    bool operator==(const Mat4&) const = default;
};

Mat4 multiply(const Mat4& a, const Mat4& b);
Mat4 translation(float x, float y, float z);
Mat4 scaling(float x, float y, float z);
Mat4 rotationZ(float fRadians);
// (left, top) goes to (-1, 1), (right, bottom) to (1, -1); z from near to far
// onto 0..1.
Mat4 orthoOffCenter(float fLeft, float fRight, float fBottom, float fTop, float fNear, float fFar);

// p x M for a point with w = 1 (the x and y of the result).
void transformPoint(const Mat4& m, float x, float y, float z, float& outX, float& outY);

}  // namespace render
