// Where the demo scene's pictures paint: the box of a picture's pixels that
// are not fully transparent, of every picture of an animation, of what a
// sprite may show where it stands, and of an ambient figure wherever it
// walks; and whether any picture of an animation, drawn where a sprite
// stands, paints a pixel inside a box.
#pragma once

#include <map>
#include <string>
#include <utility>

#include "actors/figures.h"
#include "anim/animsprite.h"
#include "image/image.h"
#include "base/rect.h"
#include "sprite/sprite.h"

namespace demoscene {

inline std::string boxText(const Rect& r) { return r.toString().c_str(); }

// The box mirrored about the vertical line at x.
inline Rect mirrored(const Rect& box, int x) {
    return Rect(2 * x - box.getRight(), box.getTop(), 2 * x - box.getLeft(), box.getBottom());
}

// Each picture and animation is measured once (and held, so that no other
// picture takes its address).
class OpaqueBoxes {
public:
    // In anchor coordinates; empty when the picture has no such pixel.
    Rect of(const Zep::SmartPtr<Image>& pImage) {
        const auto found = m_images.find(pImage.get());
        if (found != m_images.end()) return found->second.second;
        Image& image = *pImage;
        int nTop = 0, nBottom = image.getDataHeight(), nLeft = 0, nRight = image.getDataWidth();
        while (nTop < nBottom && image.isRowEmpty(nTop, 0)) ++nTop;
        while (nBottom > nTop && image.isRowEmpty(nBottom - 1, 0)) --nBottom;
        while (nLeft < nRight && image.isColumnEmpty(nLeft, 0)) ++nLeft;
        while (nRight > nLeft && image.isColumnEmpty(nRight - 1, 0)) --nRight;
        int nDataX = 0, nDataY = 0;
        image.getDataOffset(&nDataX, &nDataY);
        const int dx = nDataX - image.getInsPointX(), dy = nDataY - image.getInsPointY();
        const Rect box = nTop < nBottom && nLeft < nRight ? Rect(nLeft + dx, nTop + dy, nRight + dx, nBottom + dy)
                                                          : Rect();
        m_images.emplace(pImage.get(), std::make_pair(pImage, box));
        return box;
    }
    // An animation loaded again under its name (each level loads the
    // customers' anew) is measured once.
    Rect of(const Zep::SmartPtr<Animation>& pAnimation) {
        const std::string sName = pAnimation->getName().c_str();
        const auto named = m_named.find(sName);
        if (!sName.empty() && named != m_named.end()) return named->second;
        const auto found = m_animations.find(pAnimation.get());
        if (found != m_animations.end()) return found->second.second;
        Rect box;
        for (const Zep::String& sSequence : pAnimation->getSequenceNames())
            for (const Zep::SmartPtr<FrameData>& pFrame : pAnimation->getSequence(sSequence.c_str())->getFrames())
                box = box.unite(of(pFrame->getImage()));
        m_animations.emplace(pAnimation.get(), std::make_pair(pAnimation, box));
        if (!sName.empty()) m_named[sName] = box;
        return box;
    }
    // The screen box of what the sprite shows where it stands now: every
    // picture of an animated sprite's animation, else its picture.
    Rect of(const Sprite& sprite) {
        const AnimSprite* pAnimated = dynamic_cast<const AnimSprite*>(&sprite);
        Rect box;
        if (pAnimated && pAnimated->getAnimation().notNULL()) box = of(pAnimated->getAnimation());
        else if (sprite.getImage().notNULL()) box = of(sprite.getImage());
        return box.isEmpty() ? box : sprite.transformRect(box);
    }
    // The screen box of the picture the sprite shows now.
    Rect ofShown(const Sprite& sprite) {
        const Zep::SmartPtr<Image> pImage = sprite.getImage();
        const Rect box = pImage.notNULL() ? of(pImage) : Rect();
        return box.isEmpty() ? box : sprite.transformRect(box);
    }
    // An ambient figure over a minute and a half of its walk, a frame every
    // half second (they walk 6 pixels a second); the figure walks on.
    Rect walkOf(AmbientFigure& figure) {
        Rect box;
        for (int nStep = 0; nStep <= 180; ++nStep) {
            for (const Zep::SmartPtr<AnimSprite>& pSprite : figure.getSprites()) box = box.unite(of(*pSprite));
            figure.update(0.5f);
        }
        return box;
    }

private:
    std::map<const Image*, std::pair<Zep::SmartPtr<Image>, Rect>> m_images;
    std::map<const Animation*, std::pair<Zep::SmartPtr<Animation>, Rect>> m_animations;
    std::map<std::string, Rect> m_named;
};

// Whether some picture of the sprite's animation, drawn where the sprite
// stands at its scale (or mirrored), paints a pixel inside the box.
inline bool paintsInto(const AnimSprite& sprite, const Rect& box, bool bMirrored = false) {
    const Zep::SmartPtr<Animation> pAnimation = sprite.getAnimation();
    if (pAnimation.isNULL()) return false;
    for (const Zep::String& sSequence : pAnimation->getSequenceNames())
        for (const Zep::SmartPtr<FrameData>& pFrame : pAnimation->getSequence(sSequence.c_str())->getFrames()) {
            Sprite probe(pFrame->getImage(), sprite.getX(), sprite.getY(), 0);
            probe.setScale(sprite.getScaleX() * (bMirrored ? -1.0f : 1.0f), sprite.getScaleY());
            const Rect area = probe.getBoundingRect().intersect(box);
            for (int y = area.getTop(); y < area.getBottom(); ++y)
                for (int x = area.getLeft(); x < area.getRight(); ++x)
                    if (probe.hitTestPixel(Point(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f), 0))
                        return true;
        }
    return false;
}

}  // namespace demoscene
