// The bar's figures as the preview shows them: the sprites of the level's own
// figures (barman.h, figures.h), made without an owning mode, in the pose a
// figure starts in and never updated; the figure itself is released with the
// line (barpreview.h).
#include "screens/barpreview.h"

#include <zep2/error.h>

#include "actors/barman.h"
#include "actors/figures.h"

namespace {

constexpr const char* kZepSource = ".\\src\\barpreview_figures";

Zep::List<Zep::SmartPtr<Sprite>> spritesOf(const AmbientFigure& figure) {
    Zep::List<Zep::SmartPtr<Sprite>> lSprites;
    for (const Zep::SmartPtr<AnimSprite>& pSprite : figure.getSprites()) lSprites.add(pSprite.get());
    return lSprites;
}

}  // namespace

BarPreview::Sprites BarPreview::barmanSprites(int x, int y, int nDepth, int nFacing, const Zep::String& sLook) {
    ZEP_TRACE("BarPreview::barmanSprites");
    const Zep::SmartPtr<Barman> pBarman = new Barman(x, y, nDepth, nFacing, nullptr, sLook);
    return spritesOf(*pBarman);
}

BarPreview::Sprites BarPreview::bongoSprites(int x, int y, int nDepth, const Zep::String& sVariant) {
    ZEP_TRACE("BarPreview::bongoSprites");
    const Zep::SmartPtr<MisterBongos> pBongos = new MisterBongos(nullptr, x, y, nDepth, sVariant);
    return spritesOf(*pBongos);
}

Zep::SmartPtr<Sprite> BarPreview::dancerSprite(const Zep::String& sVariant, int x, int y, int nDepth, int nMinX,
                                               int nMaxX) {
    ZEP_TRACE("BarPreview::dancerSprite");
    const Zep::SmartPtr<DancingGirl> pDancer =
        new DancingGirl(DancingGirl::loadAnimation(sVariant), x, y, nDepth, nMinX, nMaxX);
    return pDancer->getSprite().get();
}
