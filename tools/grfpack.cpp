// grfpack: packs a folder into a resource archive, lists, extracts and
// verifies archives. Run without arguments for the usage text.
#include <cstdio>

#include "zep2/grfpack_lib.h"

int main(int argc, char** argv) {
    Zep::String sOut;
    Zep::String sErr;
    const int nStatus = Zep::GrfPack::runTool(argc, argv, sOut, sErr);
    std::fputs(sOut.c_str(), stdout);
    std::fputs(sErr.c_str(), stderr);
    return nStatus;
}
