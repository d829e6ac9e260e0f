// mkttf: writes the framework's pixel font as a TrueType file.
//
//   mkttf FILE [FAMILY [CHARS [CELL]]]
//
// FAMILY names the font ("Pixel" by default); CHARS keeps only those
// characters (all of them by default, "-" also means all); CELL is the size
// of one pixel in font units (100, the em being ten pixels).
//
// Exit status: 0 done, 1 the font cannot be written, 2 bad usage or I/O.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include <zep2/error.h>

#include "text/ttfpixelfont.h"
#include "text/ttfwriter.h"

int main(int argc, char** argv) {
    if (argc < 2 || argc > 5) {
        std::fprintf(stderr, "usage: mkttf FILE [FAMILY [CHARS [CELL]]]\n");
        return 2;
    }
    const char* szFamily = argc > 2 ? argv[2] : "Pixel";
    const char* szChars = argc > 3 && std::strcmp(argv[3], "-") != 0 ? argv[3] : nullptr;
    const int nCell = argc > 4 ? std::atoi(argv[4]) : 100;
    if (nCell < 2 || nCell > 1000) {
        std::fprintf(stderr, "mkttf: CELL must lie in 2 to 1000\n");
        return 2;
    }
    std::vector<uint8_t> vFile;
    try {
        vFile = writeTrueType(pixelFont(szFamily, szChars, nCell));
    } catch (const Zep::Exception& e) {
        std::fprintf(stderr, "mkttf: %s\n", e.getMessage());
        return 1;
    }
    std::ofstream out(argv[1], std::ios::binary);
    out.write(reinterpret_cast<const char*>(vFile.data()), static_cast<std::streamsize>(vFile.size()));
    if (!out) {
        std::fprintf(stderr, "mkttf: cannot write %s\n", argv[1]);
        return 2;
    }
    return 0;
}
