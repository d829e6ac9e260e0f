// The bar's figures as the preview shows them: their sprites alone, in the
// pose a figure starts in, never updated (barpreview.h).
//
// The barman: "barman.template" scaled horizontally by his facing, "idle".
// The bongo player: "mrbongo.template" read with the variant (cached as
// "bongoman" + variant), "play". The dancer: "bailarina.template" read with
// the variant (cached as "bailarina.anim" + variant), "dance".
//
// These are the first sprites of the figures the level builds; when the
// figures' own classes give their sprites (getSprites), these three answer
// from them.
#include "barpreview.h"

#include <zep2/error.h>

namespace {

constexpr const char* kZepSource = ".\\src\\barpreview_figures";

Zep::SmartPtr<Sprite> playing(const Zep::SmartPtr<Animation>& pAnimation, int x, int y, int nDepth,
                              const char* szSequence) {
    Zep::SmartPtr<AnimSprite> pSprite = new AnimSprite(pAnimation, x, y, nDepth);
    pSprite->play(szSequence, 0.0f, -1);
    return pSprite.get();
}

Zep::List<Zep::String> oneWord(const Zep::String& sWord) {
    Zep::List<Zep::String> lWords;
    lWords.add(sWord);
    return lWords;
}

}  // namespace

BarPreview::Sprites BarPreview::barmanSprites(int x, int y, int nDepth, int nFacing) {
    ZEP_TRACE("BarPreview::barmanSprites");
    Zep::SmartPtr<Sprite> pSprite = playing(m_app.getAnimation("barman.template"), x, y, nDepth, "idle");
    pSprite->setScale(static_cast<float>(nFacing), 1.0f);
    Sprites lSprites;
    lSprites.add(pSprite);
    return lSprites;
}

BarPreview::Sprites BarPreview::bongoSprites(int x, int y, int nDepth, const Zep::String& sVariant) {
    ZEP_TRACE("BarPreview::bongoSprites");
    const Zep::String sKey = Zep::String("bongoman") + sVariant;
    Sprites lSprites;
    lSprites.add(playing(m_app.loadAnimation("mrbongo.template", sKey.c_str(), oneWord(sVariant)), x, y, nDepth,
                         "play"));
    return lSprites;
}

Zep::SmartPtr<Sprite> BarPreview::dancerSprite(const Zep::String& sVariant, int x, int y, int nDepth, int, int) {
    ZEP_TRACE("BarPreview::dancerSprite");
    const Zep::String sKey = Zep::String("bailarina.anim") + sVariant;
    return playing(m_app.loadAnimation("bailarina.template", sKey.c_str(), oneWord(sVariant)), x, y, nDepth, "dance");
}
