// The SDL picture loader over arbitrary bytes: a picture under a ".png",
// ".jpg" or ".tga" name or a bare one, with or without its ".colorkey"
// companion and an ".alpha" companion (".png" or ".jpg"), goes through the
// header check, SDL_image, the conversion and the companions, then trim,
// mirror, the transfers and a drop and reload of the pixels.
//
// Input: one flag byte (bits 0-1 the picture's name: ".png", ".jpg", ".tga",
// bare; bit 2 a ".colorkey" companion; bit 3 convert; bit 4 the alpha
// companion is ".jpg", else ".png"), two bytes of picture length
// (little-endian), the picture, then the alpha companion (none when empty).
//
// The loader lets through pictures of up to kMaxPicturePixels, far above the
// fuzzer's memory limit; the few that declare more than kFuzzPixels are
// skipped here. Larger ones are the loader's to refuse and are kept.
//
// With FUZZ_SDL_IMAGE_SEEDS set to a folder, the target writes its seed
// inputs there and ends: valid pictures of every kind, and the damaged ones
// that once got through.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <string>

#include <SDL.h>

#include <zep2/error.h>

#include "../fennic/tests/testkit/testkit_pictures.h"
#include "fuzz_app.h"
#include "image/pictureheader.h"
#include "sdl/sdl_image.h"

namespace {

constexpr int64_t kFuzzPixels = int64_t(1) << 20;
const char* const kNameSuffixes[] = {".png", ".jpg", ".tga", ""};

bool tooBigToFuzz(const char* szName, const uint8_t* p, size_t n) {
    const PictureHeader header = readPictureHeader(szName, p, n);
    return header.isSound() && int64_t(header.m_nWidth) * header.m_nHeight > kFuzzPixels;
}

void exercise(const char* szName, bool bConvert) {
    SDLImage image(szName, bConvert, true);
    SDLImage target(16, 16, true, true);
    target.blitFrom(image, 3, 3);
    target.blit(image, -2, 5);
    image.hflip();
    image.trim();
    image.getPixel(0, 0);
    const Zep::SmartPtr<Surface> pSurface = image.getSurface();
    pSurface->releasePixels();
    pSurface->ensureLoaded();
}

// Seeds ------------------------------------------------------------------

Color colourAt(int x, int y) { return Color(uint8_t(x * 16), uint8_t(y * 16), uint8_t(x ^ y), uint8_t(255 - x * 8)); }
Color greyAt(int x, int y) { return Color(uint8_t(40 + 100 * (x / 8) + 50 * (y / 8)), 0, 0, 255); }

std::string input(int nFlags, const std::string& sPicture, const std::string& sMask = "") {
    const size_t n = sPicture.size();
    return std::string{char(nFlags), char(n & 0xFF), char(n >> 8)} + sPicture + sMask;
}

void writeSeed(const std::string& sFolder, const char* szName, const std::string& sBytes) {
    if (FILE* f = std::fopen((sFolder + "/" + szName).c_str(), "wb")) {
        std::fwrite(sBytes.data(), 1, sBytes.size(), f);
        std::fclose(f);
    }
}

void writeSeeds(const std::string& sFolder) {
    const std::string sPng = testkit::pngPicture(16, 16, colourAt);
    const std::string sJpeg = testkit::jpegPicture(16, 16, greyAt);
    const std::string sTga = testkit::tgaPicture(8, 8, true, colourAt);
    std::string sRle = sTga.substr(0, 18);
    sRle[2] = 10;  // run-length coded: every row one run of its first pixel
    for (int y = 0; y < 8; ++y) sRle += char(0x87) + sTga.substr(18 + y * 32, 4);
    // Indexed (a map of 4 colours of 24 bits) and grey run-length coded.
    std::string sIndexed = std::string("\x00\x01\x01\x00\x00\x04\x00\x18", 8) + sTga.substr(8, 10);
    sIndexed[16] = 8;
    sIndexed += "\x10\x20\x30\x40\x50\x60\x70\x80\x90\xA0\xB0\xC0";
    for (int i = 0; i < 64; ++i) sIndexed += char(i % 5 == 0 ? 3 : i % 3);
    std::string sGrey = sTga.substr(0, 18);
    sGrey[2] = 11;
    sGrey[16] = 8;
    sGrey[17] = 0x20;
    for (int y = 0; y < 8; ++y) sGrey += std::string{char(0x83), char(y * 30), char(0x03)} + "abcd";
    std::string sHugePng = sPng, sHugeJpeg = sJpeg;
    sHugePng.replace(16, 8, std::string("\x00\x00\x3F\xFF\x00\x00\xFF\xFF", 8));  // 16383 x 65535
    sHugeJpeg.replace(sJpeg.find("\xFF\xC0") + 5, 4, "\x3E\x80\x3E\x80");       // 16000 x 16000
    const std::string sXpm = "/* XPM */\nstatic char *x[] = {\"4 4 1 1\", \". c #000000\", \"....\"};\n";
    writeSeed(sFolder, "png_convert", input(8, sPng));
    writeSeed(sFolder, "png_keyed", input(4, sPng));
    writeSeed(sFolder, "png_bare_jpeg_mask", input(8 | 3 | 16, sPng, sJpeg));
    writeSeed(sFolder, "jpeg_png_mask", input(8 | 1, sJpeg, sPng));
    writeSeed(sFolder, "jpeg_bare_keyed", input(4 | 3, sJpeg));
    writeSeed(sFolder, "tga_alpha", input(8 | 2, sTga));
    writeSeed(sFolder, "tga_rle_keyed_mask", input(4 | 2, sRle, sPng));
    writeSeed(sFolder, "tga_indexed", input(8 | 2, sIndexed));
    writeSeed(sFolder, "tga_grey_rle_keyed", input(4 | 2, sGrey));
    writeSeed(sFolder, "gif_under_png", input(8, "GIF89a" + sPng.substr(6)));
    writeSeed(sFolder, "huge_png", input(8, sHugePng));
    writeSeed(sFolder, "huge_jpeg", input(8 | 1, sHugeJpeg));
    writeSeed(sFolder, "cut_jpeg", input(8 | 1, sJpeg.substr(0, sJpeg.size() * 2 / 3)));
    writeSeed(sFolder, "xpm_bare", input(8 | 3, sXpm));
    writeSeed(sFolder, "xpm_under_png", input(8, sXpm));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (const char* szFolder = std::getenv("FUZZ_SDL_IMAGE_SEEDS")) {
        writeSeeds(szFolder);
        std::exit(0);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const fuzz::App app = [] {
        SDL_Init(SDL_INIT_NOPARACHUTE);
        return fuzz::makeApp();
    }();
    if (size < 3) return 0;
    const int nFlags = data[0];
    const size_t nPicture = std::min<size_t>(size - 3, data[1] | data[2] << 8);
    const uint8_t* pPicture = data + 3;
    const uint8_t* pMask = pPicture + nPicture;
    const size_t nMask = size - 3 - nPicture;

    // Every combination has names of its own, so nothing stale is found:
    // "k..." bases have a colour-key companion, the rest never.
    const char* szSuffix = kNameSuffixes[nFlags & 3];
    const char* szMaskSuffix = (nFlags & 16) ? ".alpha.jpg" : ".alpha.png";
    const std::string sBase = std::string((nFlags & 4) ? "k" : "p") + char('0' + (nFlags & 3)) +
                              (nMask ? ((nFlags & 16) ? "j" : "n") : "x");
    const std::string sPicture = sBase + szSuffix, sMask = sBase + szMaskSuffix;
    if (tooBigToFuzz(sPicture.c_str(), pPicture, nPicture) || tooBigToFuzz(sMask.c_str(), pMask, nMask)) return 0;
    fuzz::addFile(app, sPicture.c_str(), pPicture, nPicture);
    if (nMask) fuzz::addFile(app, sMask.c_str(), pMask, nMask);
    if (nFlags & 4) fuzz::addFile(app, (sBase + ".colorkey").c_str(), "", 0);
    try {
        exercise(sBase.c_str(), (nFlags & 8) != 0);
    } catch (const Zep::Exception&) {
    }
    return 0;
}
