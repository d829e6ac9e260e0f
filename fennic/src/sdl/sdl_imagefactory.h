// SDLImageFactory: the platform's maker of SDLImages (sdl_image.h).
// Every image returned has reference count 0: the caller takes it into a
// Zep::SmartPtr<Image>.
#pragma once

#include "image/imagefactory.h"

class SDLImageFactory : public ImageFactory {
public:
    // Converted, with the alpha companion.
    Image* load(const char* szName) override;
    // True when the name is known with ".jpg", ".png" or ".subimage"; a
    // picture stored under its bare name or as ".tga" loads all the same.
    bool exists(const char* szName) override;
    Image* load(const char* szName, bool bConvert) override;
    // An SDL surface over the caller's memory, read and written in place.
    Image* createFromPixels(void* pPixels, int nWidth, int nHeight, int nBitsPerPixel, int nPitch,
                            unsigned nRedMask, unsigned nGreenMask, unsigned nBlueMask,
                            unsigned nAlphaMask) override;
    // Cleared: with alpha every pixel is (0, 0, 0, 0), without it black.
    Image* createBlank(int nWidth, int nHeight, bool bAlpha) override;
    Image* createEmpty() override;
};
