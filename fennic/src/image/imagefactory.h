// The platform's maker of images: by name, blank, empty, or over caller pixels.
// The video driver supplies the concrete factory; the image cache uses it as
// its loader. Every image returned has reference count 0: the caller takes it
// into a Zep::SmartPtr<Image>.
#pragma once

#include "driver/audiodriver.h"  // IResourceLoader

class Image;

class ImageFactory : public IResourceLoader<Image> {
public:
    // A new image loaded by name (alpha and trimming options on).
    Image* load(const char* szName) override = 0;
    // True when the registry has the name as ".jpg", ".png" or ".subimage".
    bool exists(const char* szName) override = 0;
    virtual Image* load(const char* szName, bool bOptionA) = 0;
    // An image over the caller's pixel memory, which is not copied and must
    // outlive the image.
    virtual Image* createFromPixels(void* pPixels, int nWidth, int nHeight, int nBitsPerPixel,
                                    int nPitch, unsigned nRedMask, unsigned nGreenMask,
                                    unsigned nBlueMask, unsigned nAlphaMask) = 0;
    // Sizes below 1 count as 1; every pixel (0, 0, 0, 0).
    virtual Image* createBlank(int nWidth, int nHeight, bool bAlpha) = 0;
    // No pixel data, to be filled as a sub-image.
    virtual Image* createEmpty() = 0;
};
