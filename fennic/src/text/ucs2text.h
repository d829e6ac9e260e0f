// UTF-8 text as the 16-bit character codes the TrueType renderer draws.
//
// Well-formed sequences give their character. What the renderer cannot
// take as a character becomes U+FFFD, the replacement character: each byte
// that does not start a well-formed sequence (a stray continuation byte, a
// cut or overlong sequence, a surrogate, a value above U+10FFFF), each
// character above U+FFFF, and U+FFFE, which the renderer would take for a
// byte-swapped order mark. U+FEFF, the order mark itself, draws nothing and
// is left out.
#pragma once

#include <cstdint>
#include <vector>

// The codes, then a 0; null is an empty text.
std::vector<uint16_t> toUcs2(const char* szUtf8);
