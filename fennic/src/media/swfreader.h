// The plain logic of the Flash layer that needs no Flash control: the frame
// size in a movie file's header, and the alpha of a picture rendered once over
// black and once over white.
//
// A movie file starts with a three-byte signature ("FWS" plain, "CWS" zlib
// compressed from byte 8 on), a version byte and a 32-bit length; the frame
// size RECT follows at byte 8 (inside the compressed data for "CWS"). The
// RECT is a bit record, most significant bit first: 5 bits n, then Xmin,
// Xmax, Ymin and Ymax as n-bit two's-complement values in twips (1/20 px).
#pragma once

#include <cstdint>

#include <zep2/stream.h>

struct SwfFrameSize {
    int nWidth = 0;
    int nHeight = 0;
};

// Bytes of the header read for the RECT (the record takes at most 9).
constexpr int kSwfHeaderBytes = 256;

// The frame size of a RECT record in nRead bytes. Each value is divided by
// 20 (truncating) before the minimum is subtracted. A record longer than the
// bytes read gives 0 x 0.
SwfFrameSize readSwfRect(const uint8_t* pBytes, int nRead);

// The frame size of the movie in a stream positioned at its start. Any
// signature other than "CWS" is read as uncompressed; a short or damaged file
// gives 0 x 0 (never bytes that were not read).
SwfFrameSize readSwfFrameSize(Zep::Stream& file);

// Alpha of pixels rendered over black and over white (4 bytes each, colour
// in the first three): each channel difference d = (white - black) mod 256,
// alpha = 255 - (d0 + d1 + d2) / 3, written into the fourth byte of pBlack.
void recoverAlphaFromBlackWhite(uint8_t* pBlack, const uint8_t* pWhite, int nPixels);
