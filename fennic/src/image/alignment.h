// Alignment offsets: where a theme decoration or an animation script puts a
// point within a picture, given as text.
#pragma once

class Image;

// A coordinate within the image from a spec such as "center+3", "right-2",
// "contents_center" or a plain number: a keyword base (canvas width when
// horizontal, else height; keywords are not tied to an axis) plus the signed
// offset after the first "+" (or, without one, the first "-").
int parseAlignmentOffset(const char* szSpec, const Image* pImage, bool bHorizontal);
