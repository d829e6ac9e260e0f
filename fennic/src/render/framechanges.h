// What a frame draws, compared with what the frame before drew.
//
// The textured driver lists, in drawing order, one record per sprite it
// draws: the sprite, what it draws (the picture's identity and the stamp of
// its tiles, the colour, place, scale and rotation as the device gets them)
// and its screen box. finish compares the list with the last frame's and
// names the screen boxes to draw again:
//   - a record without a counterpart in the other list (new, gone, shown,
//     hidden) gives its box;
//   - a record whose drawing differs from its counterpart's gives both boxes;
//   - a record that now comes before one it used to follow (z-order, a
//     sprite re-added) gives its box; of any two records that changed
//     places one is found so;
//   - a volatile record (whose drawing cannot be compared) gives its boxes
//     every frame, and so does a record whose box is not wholly covered by
//     the boxes of the frame's opaque records (where nothing opaque lies
//     beneath or above, drawing it again over its own last picture would
//     blend it once more: such pixels change at every full redraw and are
//     therefore redrawn every frame).
// Outside the named boxes every pixel meets the same records in the same
// order as in the last frame, with an opaque one among them or none at
// all, so drawing it again would give the pixel it has: the frame drawn
// only inside the boxes is the frame drawn whole.
//
// The records link to their counterparts through the sprites' driver data
// (the frame number and the place of the sprite's last record), so the
// comparison costs no search. A sprite listed twice in a frame has no
// counterpart for its second record, and a last record is the counterpart
// of one record at most.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "render/dirtyrects.h"
#include "render/opaquecover.h"

class Sprite;

struct DrawRecord {
    // What the device draws for the sprite; equal keys draw equal pixels.
    //
    // So every value the driver's drawSprite reads from the sprite, its
    // picture or the driver's own state, and that may change a pixel, has
    // its field here, set by SDL3DVideoDriverBase::recordDrawing. A new
    // property of the drawing gets a field (the defaulted == compares it)
    // and a line there; a property whose effect reaches past the sprite's
    // own box (state left to the sprites drawn after it, a mask) makes the
    // frame uncomparable instead (FrameChanges::setUncomparable), and one
    // whose pixels the driver cannot name from frame to frame (a movie, an
    // outline) makes the record volatile.
    struct Key {
        uint64_t nPicture = 0;  // the image's driver-data serial
        int32_t nTiles = 0;     // the stamp of the image's tiles
        uint32_t nColour = 0;   // the diffuse colour the device gets
        int32_t nBlend = 0;     // the blend mode (0 normal, 1 additive)
        float fX = 0, fY = 0;   // the sprite's position
        float fOffX = 0, fOffY = 0;
        float fRotation = 0, fScaleX = 1, fScaleY = 1;
        ScreenBox box;          // every pixel the sprite may touch
        bool operator==(const Key&) const = default;
    };

    Sprite* pSprite = nullptr;  // null for a screen clear
    Key key;
    ScreenBox opaque;           // pixels it covers with opaque colour (maybe empty)
    int32_t nLast = -1;         // its counterpart in the last frame's list
    bool bVolatile = false;
};

class FrameChanges {
public:
    // The opaque boxes kept per frame for the coverage test (the largest).
    static constexpr size_t kOpaqueBoxes = 8;

    // Starts the list of a new frame on a screen of w x h pixels.
    void begin(int nWidth, int nHeight);
    // Numbers unique in the process (drivers never share one): this frame's
    // and the last listed frame's.
    int64_t frameNumber() const { return m_nFrame; }
    int64_t lastFrameNumber() const { return m_nLastFrame; }
    // Appended to this frame's list at place size().
    void add(const DrawRecord& record) { m_vCurrent.push_back(record); }
    int32_t size() const { return static_cast<int32_t>(m_vCurrent.size()); }
    // This frame cannot be compared (a screen clear, masks, a blend whose
    // state leaks into later sprites): it and the next are drawn whole.
    void setUncomparable() { m_bUncomparable = true; }
    // Fills the boxes to draw (the whole screen when bWhole); this frame's
    // list becomes the last frame's.
    void finish(DirtyRects& rects, bool bWhole);
    const std::vector<DrawRecord>& records() const { return m_vCurrent; }

private:
    bool isCovered(const DrawRecord& record) const;
    void noteOpaque(const ScreenBox& box);
    void compare(DirtyRects& rects);

    int64_t m_nFrame = 0;
    int64_t m_nLastFrame = -1;
    std::vector<DrawRecord> m_vCurrent;
    std::vector<DrawRecord> m_vLast;
    std::vector<ScreenBox> m_vOpaque;  // the largest, for a quick answer
    OpaqueCover m_cover;                // all of them
    std::vector<uint8_t> m_vMatched;
    int m_nWidth = 0;
    int m_nHeight = 0;
    bool m_bUncomparable = false;
    bool m_bLastUncomparable = true;
};
