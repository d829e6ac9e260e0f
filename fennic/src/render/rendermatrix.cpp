#include "render/rendermatrix.h"

#include <cmath>

namespace render {

Mat4 Mat4::identity() {
    Mat4 r;
    for (int i = 0; i < 4; ++i) r.m[i][i] = 1.0f;
    return r;
}

Mat4 multiply(const Mat4& a, const Mat4& b) {
    Mat4 r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            float f = 0.0f;
            for (int k = 0; k < 4; ++k) f += a.m[i][k] * b.m[k][j];
            r.m[i][j] = f;
        }
    return r;
}

Mat4 translation(float x, float y, float z) {
    Mat4 r = Mat4::identity();
    r.m[3][0] = x;
    r.m[3][1] = y;
    r.m[3][2] = z;
    return r;
}

Mat4 scaling(float x, float y, float z) {
    Mat4 r = Mat4::identity();
    r.m[0][0] = x;
    r.m[1][1] = y;
    r.m[2][2] = z;
    return r;
}

Mat4 rotationZ(float fRadians) {
    Mat4 r = Mat4::identity();
    const float c = std::cos(fRadians);
    const float s = std::sin(fRadians);
    r.m[0][0] = c;
    r.m[0][1] = s;
    r.m[1][0] = -s;
    r.m[1][1] = c;
    return r;
}

Mat4 orthoOffCenter(float fLeft, float fRight, float fBottom, float fTop, float fNear, float fFar) {
    Mat4 r = Mat4::identity();
    r.m[0][0] = 2.0f / (fRight - fLeft);
    r.m[1][1] = 2.0f / (fTop - fBottom);
    r.m[2][2] = 1.0f / (fFar - fNear);
    r.m[3][0] = (fLeft + fRight) / (fLeft - fRight);
    r.m[3][1] = (fTop + fBottom) / (fBottom - fTop);
    r.m[3][2] = fNear / (fNear - fFar);
    return r;
}

void transformPoint(const Mat4& m, float x, float y, float z, float& outX, float& outY) {
    outX = x * m.m[0][0] + y * m.m[1][0] + z * m.m[2][0] + m.m[3][0];
    outY = x * m.m[0][1] + y * m.m[1][1] + z * m.m[2][1] + m.m[3][1];
}

}  // namespace render
