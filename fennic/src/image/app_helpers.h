// Small framework helpers shared across the graphics and application layers:
// the alignment-offset parser of theme decorations and animation scripts, and
// the "CLOCK" timing lines used to measure loading.
#pragma once

class Image;

// A coordinate within the image from a spec such as "center+3", "right-2",
// "contents_center" or a plain number: a keyword base (canvas width when
// horizontal, else height; keywords are not tied to an axis) plus the signed
// offset after the first "+" (or, without one, the first "-").
int parseAlignmentOffset(const char* szSpec, const Image* pImage, bool bHorizontal);

// Sets the start and last-mark times to the process clock (milliseconds).
void clockReset();
// Writes "CLOCK : label : delta [acc total]" (seconds) to the console and the
// log when their switches are on, then marks the clock afresh.
void clockMark(const char* szLabel);
// The two output switches; both start on.
void setClockOutput(bool bConsole, bool bLog);
