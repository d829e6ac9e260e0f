// One table of transfers that every pixel store must pass: the in-memory
// store and the SDL pictures agree pixel for pixel. The numbers are SDL 1.2's
// blits (checked against the library) and the compositing rule of copyRect.
#pragma once

#include <gtest/gtest.h>

#include "image/image.h"
#include "image/imagefactory.h"

namespace transfertest {

enum class Op { Blit, Copy, CopyRect, BlitFrom };

struct TransferCase {
    const char* szName;
    Op eOp;
    bool bSrcAlpha;
    bool bDstAlpha;
    Color src;
    Color dst;
    int nSurfaceAlpha;  // of the source, -1 when not set
    bool bKey;          // the source's colour key is (9, 9, 9)
    Color expected;
};

inline const TransferCase kTransferCases[] = {
    // An alpha source onto alpha: d + (s - d)*a >> 8, the destination's alpha stays.
    {"alpha on alpha", Op::Blit, true, true, Color(200, 100, 0, 64), Color(0, 50, 200, 77), -1, false,
     Color(50, 62, 150, 77)},
    {"rounds down", Op::Blit, true, true, Color(201, 99, 3, 100), Color(7, 250, 200, 0), -1, false,
     Color(82, 191, 123, 0)},
    {"opaque pixel keeps the alpha", Op::Blit, true, true, Color(10, 20, 30, 255), Color(1, 2, 3, 4), -1, false,
     Color(10, 20, 30, 4)},
    {"clear pixel", Op::Blit, true, true, Color(9, 9, 9, 0), Color(1, 2, 3, 4), -1, false, Color(1, 2, 3, 4)},
    {"surface alpha of an alpha source", Op::Blit, true, true, Color(10, 20, 30, 255), Color(1, 2, 3, 4), 100,
     false, Color(10, 20, 30, 4)},
    // Every other pairing: d + ((s - d)*a + 255 >> 8).
    {"alpha on opaque", Op::Blit, true, false, Color(201, 99, 3, 100), Color(7, 250, 200, 255), -1, false,
     Color(83, 192, 124, 255)},
    {"opaque pixel on opaque", Op::Blit, true, false, Color(0, 0, 0, 255), Color(10, 10, 10, 255), -1, false,
     Color(1, 1, 1, 255)},
    {"surface alpha on alpha", Op::Blit, false, true, Color(100, 100, 100, 255), Color(1, 2, 3, 40), 128, false,
     Color(51, 51, 52, 255)},
    {"surface alpha on opaque", Op::Blit, false, false, Color(200, 100, 0, 255), Color(0, 50, 200, 255), 64, false,
     Color(50, 63, 150, 255)},
    {"surface alpha 0", Op::Blit, false, true, Color(100, 100, 100, 255), Color(1, 2, 3, 40), 0, false,
     Color(1, 2, 3, 40)},
    {"key skipped", Op::Blit, false, true, Color(9, 9, 9, 255), Color(1, 2, 3, 40), -1, true, Color(1, 2, 3, 40)},
    {"key with surface alpha", Op::Blit, false, true, Color(9, 9, 9, 255), Color(1, 2, 3, 40), 128, true,
     Color(1, 2, 3, 40)},
    {"not the key", Op::Blit, false, true, Color(5, 6, 7, 255), Color(1, 2, 3, 40), -1, true, Color(5, 6, 7, 255)},
    {"plain opaque", Op::Blit, false, true, Color(5, 6, 7, 255), Color(1, 2, 3, 40), -1, false,
     Color(5, 6, 7, 255)},
    // Copies: values as they are.
    {"copy alpha", Op::Copy, true, true, Color(5, 6, 7, 77), Color(1, 2, 3, 40), -1, false, Color(5, 6, 7, 77)},
    {"copy onto opaque", Op::Copy, true, false, Color(5, 6, 7, 77), Color(1, 2, 3, 255), -1, false,
     Color(5, 6, 7, 255)},
    {"copy ignores key and surface alpha", Op::Copy, false, true, Color(9, 9, 9, 255), Color(1, 2, 3, 40), 50, true,
     Color(9, 9, 9, 255)},
    // Compositing: da = min(d.a, 255 - s.a), t = da + s.a, (d*da + s*s.a) / t.
    {"composite opaque pixel", Op::CopyRect, true, true, Color(10, 20, 30, 255), Color(1, 2, 3, 4), -1, false,
     Color(10, 20, 30, 255)},
    {"composite over clear", Op::CopyRect, true, true, Color(10, 20, 30, 77), Color(1, 2, 3, 0), -1, false,
     Color(10, 20, 30, 77)},
    {"composite clear pixel", Op::CopyRect, true, true, Color(9, 9, 9, 0), Color(1, 2, 3, 4), -1, false,
     Color(1, 2, 3, 4)},
    {"composite half over opaque", Op::CopyRect, true, true, Color(200, 100, 0, 128), Color(0, 0, 200, 255), -1,
     false, Color(100, 50, 99, 255)},
    {"composite over part", Op::CopyRect, true, true, Color(201, 99, 3, 100), Color(7, 250, 200, 90), -1, false,
     Color(109, 170, 96, 190)},
    {"composite onto opaque", Op::CopyRect, true, false, Color(201, 99, 3, 100), Color(7, 250, 200, 255), -1,
     false, Color(83, 190, 122, 255)},
    // blitFrom composites between alpha images and blits otherwise.
    {"blitFrom alpha", Op::BlitFrom, true, true, Color(201, 99, 3, 100), Color(7, 250, 200, 90), -1, false,
     Color(109, 170, 96, 190)},
    {"blitFrom onto opaque", Op::BlitFrom, true, false, Color(201, 99, 3, 100), Color(7, 250, 200, 255), -1, false,
     Color(83, 192, 124, 255)},
};

inline Zep::SmartPtr<Image> onePixel(ImageFactory& factory, bool bAlpha, const Color& c) {
    Zep::SmartPtr<Image> p(factory.createBlank(1, 1, bAlpha));
    ImageLock lock(*p);
    p->writePixel(0, 0, c);
    return p;
}

// Runs every case with images of the factory.
inline void runTransferCases(ImageFactory& factory) {
    for (const TransferCase& c : kTransferCases) {
        Zep::SmartPtr<Image> src = onePixel(factory, c.bSrcAlpha, c.src);
        Zep::SmartPtr<Image> dst = onePixel(factory, c.bDstAlpha, c.dst);
        if (c.nSurfaceAlpha >= 0) src->setSurfaceAlpha(c.nSurfaceAlpha);
        if (c.bKey) src->setColorKey(Color(9, 9, 9, 255));
        switch (c.eOp) {
            case Op::Blit: dst->blit(*src, 0, 0); break;
            case Op::Copy: dst->copy(*src, 0, 0); break;
            case Op::CopyRect: dst->copyRect(*src, 0, 0, 1, 1, 0, 0); break;
            case Op::BlitFrom: dst->blitFrom(*src, 0, 0); break;
        }
        ImageLock lock(*dst);
        EXPECT_EQ(c.expected, dst->readPixel(0, 0)) << c.szName << ": " << dst->readPixel(0, 0).toString().c_str();
    }
}

}  // namespace transfertest
