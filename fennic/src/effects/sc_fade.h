// Alpha, colour and image controllers: change how a sprite looks over game
// time (alpha, visibility, tint, image).
//
// Timed controllers (fade, tint, palette) run p from 0 to exactly 1; the
// others keep the base timer (duration 0, no clamp) and read only its elapsed
// time. A relative SCLinearFade multiplies the sprite's current alpha on every
// update, so its effect compounds and depends on the frame rate. SCPulseColor
// clamps each channel to 0..255 rather than letting it wrap around.
#pragma once

#include <zep2/str.h>

#include "base/color.h"
#include "image/image.h"
#include "sprite/sc_base.h"

class SCLinearFade : public SpriteController {
public:
    SCLinearFade(float fFrom, float fTo, float fDuration, bool bAbsolute);
    void start(Zep::SmartPtr<Sprite> pSprite) override;
    bool apply(Zep::SmartPtr<Sprite> pSprite) override;

private:
    float m_fFrom, m_fTo;
    bool m_bAbsolute;
};

// Never ends by itself.
class SCSinusoidAlpha : public SpriteController {
public:
    SCSinusoidAlpha(float fFrequency, float fPhase);
    SCSinusoidAlpha(float fMin, float fMax, float fFrequency, float fPhase);
    bool apply(Zep::SmartPtr<Sprite> pSprite) override;

private:
    float m_fFrequency, m_fMin, m_fMax, m_fPhase;
};

// Visible, then hidden, each period; a total of 0 or less blinks without end,
// else the sprite ends visible once the elapsed time passes the total.
class SCBlink : public SpriteController {
public:
    SCBlink(float fVisibleTime, float fHiddenTime, float fTotalTime);
    bool apply(Zep::SmartPtr<Sprite> pSprite) override;

private:
    float m_fVisibleTime, m_fHiddenTime, m_fTotalTime;
};

// Swings from base towards other and as far past base the other way, at a
// frequency in radians per second; alpha 255. Never ends by itself.
class SCPulseColor : public SpriteController {
public:
    SCPulseColor(const Color& base, const Color& other, float fFrequency);
    bool apply(Zep::SmartPtr<Sprite> pSprite) override;

private:
    int m_aBase[3];
    int m_aDiff[3];
    float m_fFrequency;
};

class SCLinearTint : public SpriteController {
public:
    SCLinearTint(const Color& from, const Color& to, float fDuration);
    void start(Zep::SmartPtr<Sprite> pSprite) override;
    bool apply(Zep::SmartPtr<Sprite> pSprite) override;

private:
    Color m_from, m_to;
    float m_aDiff[3];
};

// Tints with row 0 of the palette, left to right over the duration.
class SCApplyPalette : public SpriteController {
public:
    SCApplyPalette(const Zep::SmartPtr<Image>& pPalette, float fDuration);
    bool apply(Zep::SmartPtr<Sprite> pSprite) override;

private:
    Zep::SmartPtr<Image> m_pPalette;
};

// Acts once: the held image, or the image of the held name.
class SCReplaceImage : public SpriteController {
public:
    explicit SCReplaceImage(const char* szImageName) : m_sImageName(szImageName ? szImageName : "") {}
    explicit SCReplaceImage(const Zep::SmartPtr<Image>& pImage) : m_pImage(pImage) {}
    bool apply(Zep::SmartPtr<Sprite> pSprite) override;
    virtual Zep::SmartPtr<Image> getImage() const { return m_pImage; }

private:
    Zep::String m_sImageName;
    Zep::SmartPtr<Image> m_pImage;
};
