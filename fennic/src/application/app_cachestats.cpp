// The cache statistics: a diagnostic listing of the cached images and
// animations with their pixel sizes, written to the log.
//
// It only looks: entries are read from the caches without loading anything,
// and no animation is released, since the listing loads none of them.
#include <zep2/hash.h>

#include "anim/animation.h"
#include "application/gameapp.h"
#include "image/image.h"

namespace {

// Bytes per pixel times the pixel-data area.
int imageBytes(const Image& image) {
    return image.getPixelFormat().nBitsPerPixel / 8 * image.getDataWidth() * image.getDataHeight();
}

void logImageStatistics(ResCache<Image>& images) {
    GameApp::log("========== Image cache stats ==========\n");
    int nTotal = 0;
    for (const Zep::String& sName : images.getNames()) {
        const Zep::SmartPtr<Image> pImage = images.find(sName);
        if (pImage.isNULL()) continue;
        const int nBytes = imageBytes(*pImage);
        nTotal += nBytes;
        GameApp::log("%5d KB %30s  %3dx%3d  %2d BPP [%d refs]\n", nBytes / 1024, sName.c_str(),
                     pImage->getDataWidth(), pImage->getDataHeight(), pImage->getPixelFormat().nBitsPerPixel / 8 * 8,
                     pImage->getRefCount() - 2);
    }
    GameApp::log("Total size = %d KB\n", nTotal / 1024);
    GameApp::log("\n\n");
}

void logAnimationStatistics(const AnimationCache& animations) {
    GameApp::log("========== Animation cache stats ==========\n");
    Zep::Hash<Zep::SmartPtr<Image>, bool> hCounted(97);
    int nTotal = 0, nUnique = 0;
    for (const Zep::String& sName : animations.getNames()) {
        const Zep::SmartPtr<Animation> pAnimation = animations.find(sName.c_str());
        if (pAnimation.isNULL()) continue;
        int nBytes = 0;
        for (const Zep::SmartPtr<Image>& pImage : pAnimation->getImages()) {
            if (pImage.isNULL()) continue;
            const int nImage = imageBytes(*pImage);
            nBytes += nImage;
            if (hCounted.contains(pImage)) continue;
            hCounted.set(pImage, true);
            nUnique += nImage;
        }
        nTotal += nBytes;
        GameApp::log("%5d KB %30s\n", nBytes / 1024, sName.c_str());
    }
    GameApp::log("Total size = %d KB (%d KB unique)\n", nTotal / 1024, nUnique / 1024);
    GameApp::log("\n\n");
}

}  // namespace

void GameApp::logCacheStatistics() {
    logImageStatistics(m_caches.images());
    logAnimationStatistics(m_animations);
}
