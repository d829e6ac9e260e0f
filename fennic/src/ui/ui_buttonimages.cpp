// Theme: button images and button sounds.
//
// A button image is the state's image of the style with the caption drawn
// centred on it; with resizing the image is cut into a left cap, a centre
// strip repeated to the width and a right cap. Captions and buttons are kept
// in the application's image cache ("Txt::" + button name, and the button
// name "%s::Btn::%s::%s_%d_%d"), so each is built once.
//
// Styles lacking what a picture needs (the state's image, a centre left
// between the caps) are errors thrown before anything is drawn, never a
// division by zero or a missing image used.
#include <algorithm>
#include <cstdint>
#include <limits>

#include <zep2/error.h>
#include <zep2/random_pick.h>

#include "driver/audiodriver.h"
#include "application/gameapp.h"
#include "image/image.h"
#include "theme/theme.h"

using ThemeParts::notNULL;

namespace {

constexpr const char* kZepSource = ".\\src\\ui_buttonimages";
constexpr int kDisabledAlpha = 128;

GameApp& app() {
    GameApp* pApp = GameApp::getInstance();
    if (!pApp) ZEP_THROW(Zep::BadStateException, "Theme : no application for button images");
    return *pApp;
}

// Offsets from the theme file may be anything: positions stay within int.
int clampToInt(int64_t n) {
    return static_cast<int>(std::clamp<int64_t>(n, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// The button's width rounded to whole centre tiles, the last one dropped when
// the caption fits without it.
int tiledWidth(const ButtonStyle& style, int nWidth, int nCenter, int nCaptionWidth) {
    const int nCaps = style.nLeftCap + style.nRightCap;
    int n = (nWidth - nCaps + nCenter - 1) / nCenter;
    if ((n - 1) * nCenter >= nCaptionWidth) --n;
    return n * nCenter + nCaps;
}

// The state image cut into caps and a centre strip repeated across w.
Zep::SmartPtr<Image> stretchedBackground(const ButtonStyle& style, const Image& back, int w) {
    const int nCenter = back.getWidth() - style.nLeftCap - style.nRightCap;
    const int h = back.getHeight();
    Zep::SmartPtr<Image> pOut = app().createImage(w, h, back.hasAlpha());
    for (int x = style.nLeftCap; x < w - style.nRightCap; x += nCenter) pOut->copyRect(back, style.nLeftCap, 0, nCenter, h, x, 0);
    pOut->copyRect(back, 0, 0, style.nLeftCap, h, 0, 0);
    pOut->copyRect(back, back.getWidth() - style.nRightCap, 0, style.nRightCap, h, w - style.nRightCap, 0);
    return pOut;
}

}  // namespace

Zep::SmartPtr<Image> Theme::makeButtonImage(const char* szCaption, int nState, int nWidth, const char* szStyle) {
    ZEP_TRACE("Theme::makeButtonImage");
    if (!hasButtonStyle(szStyle)) {
        ZEP_THROW(Zep::FatalErrorException, Zep::String::format("Unknown button style '%s'", szStyle ? szStyle : "").c_str());
    }
    ButtonStyle& style = *getButtonStyle(szStyle);
    GameApp& a = app();
    const Zep::String sCaption(szCaption);
    Zep::String sKey = sCaption.toLower();
    if (a.hasText(sKey.c_str())) sKey = a.getText(sKey.c_str());
    const Zep::String sName = Zep::String::format("%s::Btn::%s::%s_%d_%d", m_sName.c_str(), szStyle ? szStyle : "",
                                                  sCaption.c_str(), style.bResize ? nWidth : -1, nState);
    if (a.isImageCached(sName.c_str())) return a.getImage(sName.c_str());

    // Check the pieces before building anything.
    ZEP_ASSERT(nState >= 0 && nState < ThemeParts::kStates);
    Image* pStateImage = style.pImage[nState].get();
    ZEP_ASSERT(notNULL(pStateImage));
    const int64_t nCenterWide = int64_t{pStateImage->getWidth()} - style.nLeftCap - style.nRightCap;
    const int nCenter = static_cast<int>(std::clamp<int64_t>(nCenterWide, 0, pStateImage->getWidth()));
    if (style.bResize) {
        ZEP_ASSERT(style.nLeftCap >= 0 && style.nRightCap >= 0);
        ZEP_ASSERT(nCenter > 0);
    }

    // A resizable button of a set width keeps its caption between its caps.
    const int nRoom = style.bResize && nWidth != -1 ? std::max(0, nWidth - style.nLeftCap - style.nRightCap) : -1;
    Zep::SmartPtr<Image> pCaption = captionImage(style, szCaption, sKey, nState, sName, nRoom)->clone(false);
    if (nState == ThemeParts::kStateDisabled) {
        if (pCaption->hasAlpha()) {
            pCaption->multiplyAlpha(kDisabledAlpha);
        } else {
            pCaption->setSurfaceAlpha(kDisabledAlpha);
        }
    }

    // The background at its width.
    Zep::SmartPtr<Image> pOut;
    int w = 0;
    if (!style.bResize) {
        w = std::max(pStateImage->getWidth(), pCaption->getWidth());
        pOut = a.createImage(w, pStateImage->getHeight(), pStateImage->hasAlpha());
        pOut->copy(*pStateImage, (w - pStateImage->getWidth()) / 2, 0);
    } else {
        w = nWidth == -1 ? pCaption->getWidth() + 2 * style.nPadding : nWidth;
        if (style.bTileCenter) w = tiledWidth(style, w, nCenter, pCaption->getWidth());
        ZEP_ASSERT(w > 0);
        pOut = stretchedBackground(style, *pStateImage, w);
    }

    // The caption centred, moved by the state's offset.
    pOut->blitFrom(*pCaption, clampToInt(int64_t{w / 2} + style.nTextOffsetX[nState]),
                   clampToInt(int64_t{pStateImage->getHeight() / 2} + style.nTextOffsetY[nState]));
    a.addImage(sName.c_str(), pOut, false);
    return a.getImage(sName.c_str());
}

// The caption of a button: an image standing in for the text, or the text
// rendered; cached with its insertion point at its centre.
Zep::SmartPtr<Image> Theme::captionImage(ButtonStyle& style, const char* szCaption, const Zep::String& sKey, int nState,
                                         const Zep::String& sButtonName, int nRoom) {
    GameApp& a = app();
    const Zep::String sTextName = "Txt::" + sButtonName;
    if (a.isImageCached(sTextName.c_str())) return a.getImage(sTextName.c_str());
    const Zep::String sImageName = m_sTextPrefix + sKey;
    Zep::SmartPtr<Image> pImage;
    if (a.imageExists(sImageName.c_str())) {
        pImage = a.getImage(sImageName.c_str());
    } else if (a.imageExists(szCaption)) {
        pImage = a.getImage(szCaption);
    } else {
        Zep::String sText = a.hasText(Zep::String(szCaption).toLower().c_str()) ? sKey : Zep::String(szCaption);
        const Zep::String& sFont = style.sFont[nState];
        Zep::SmartPtr<Font> pFont = getFont(sFont.isEmpty() ? "Theme::Button" : sFont.c_str());
        if (nRoom >= 0) sText = pFont->fitText(sText.c_str(), nRoom);
        if (style.bColorSet[nState]) pFont->setTextColor(style.cText[nState]);
        pImage = a.createImage(pFont->getTextWidth(sText.c_str()), 2 * pFont->getHeight(), true);
        pFont->drawText(pImage, pImage->getRect(), sText.c_str());
    }
    Zep::SmartPtr<Image> pCopy = pImage->clone(false);
    pCopy->setInsPoint(pCopy->getWidth() / 2, pCopy->getHeight() / 2);
    a.addImage(sTextName.c_str(), pCopy, false);
    return pCopy;
}

void Theme::playButtonSound(const char* szStyle) { playStyleSound(szStyle, "clicked"); }

void Theme::playButtonHighlightSound(const char* szStyle) { playStyleSound(szStyle, "highlighted"); }

// One of the style's samples for the event, else of the unnamed style's.
void Theme::playStyleSound(const char* szStyle, const char* szEvent) {
    const Zep::String sEvent(szEvent);
    ButtonStyle* pStyle = getButtonStyle(szStyle);
    const bool bOwn = pStyle->hSoundSet.contains(sEvent) && pStyle->hSoundSet.get(sEvent);
    ButtonStyle* pFrom = bOwn ? pStyle : getButtonStyle(nullptr);
    if (!pFrom->hSounds.contains(sEvent)) return;
    const Zep::List<Zep::SmartPtr<Sample>>& lSamples = pFrom->hSounds.get(sEvent);
    if (!lSamples.isEmpty()) app().playSound(Zep::pickRandom(lSamples), false, -1);
}
