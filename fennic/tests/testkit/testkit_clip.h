// Clips for the decoder's tests and benchmark, written with the Theora and
// Vorbis encoders: flat 4:2:0 frames of known YUV colours and a sine tone.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace testkit {

struct ClipYuv {
    uint8_t y, u, v;
};

struct ClipSpec {
    // The displayed picture and where it sits in the encoded frame (the frame
    // is the picture rounded up to 16, plus the offset).
    int nWidth = 64;
    int nHeight = 48;
    int nOffsetX = 0;
    int nOffsetY = 0;
    int nFps = 10;
    // One flat colour per frame; the frame outside the picture gets kBorder.
    std::vector<ClipYuv> lFrames;
    // When set, the picture outside its top-left 16 x 16 corner takes this
    // colour.
    std::optional<ClipYuv> outsideCorner;
    // Sound: none when nRate is 0. Channel c carries the tone when
    // lToneChannels[c] is set, else silence.
    int nRate = 0;
    int nChannels = 1;
    std::vector<bool> lToneChannels{true};
    float fToneHz = 440.0f;
    float fAmplitude = 0.5f;
    float fSeconds = 1.0f;
    // Leave out the picture stream.
    bool bNoPictures = false;
    // Short pages: every picture on a page of its own, and the sound in
    // pages of about 1024 sample frames (else as the pages fill).
    bool bShortPages = false;
};

// One page of a written clip: where it lies in the file, and the end time of
// its last packet (0 for header pages).
struct ClipPage {
    size_t nOffset = 0;
    size_t nSize = 0;
    double dTime = 0.0;
};

inline constexpr ClipYuv kBorder{235, 16, 240};

// Writes the clip as an Ogg file; returns its pages in file order.
std::vector<ClipPage> writeClip(const std::string& sPath, const ClipSpec& spec);

// The bytes with every page's end-of-stream flag cleared and its checksum
// made right again.
std::string withoutEndMarks(const std::string& sClip);

}  // namespace testkit
