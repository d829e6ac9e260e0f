#include "ui/ui_slider.h"

#include <zep2/error.h>

#include "application/gameapp.h"
#include "sprite/gamemode.h"
#include "theme/theme.h"

namespace {

constexpr const char* kZepSource = ".\\src\\ui_slider";

GameApp* app() { return GameApp::getInstance(); }

Zep::SmartPtr<Theme> currentTheme() { return app() ? app()->getTheme() : Zep::SmartPtr<Theme>(); }

// The theme's three slider images, or none without a theme.
void themeImages(Zep::SmartPtr<Image>* pEmpty, Zep::SmartPtr<Image>* pFull, Zep::SmartPtr<Image>* pKnob) {
    if (Zep::SmartPtr<Theme> pTheme = currentTheme(); pTheme.notNULL()) pTheme->getSliderImages(pEmpty, pFull, pKnob);
}

int widthOf(const Zep::SmartPtr<Image>& p) { return p.notNULL() ? p->getWidth() : 0; }
int heightOf(const Zep::SmartPtr<Image>& p) { return p.notNULL() ? p->getHeight() : 0; }

}  // namespace

// ---- SliderThumb ------------------------------------------------------------------------

SliderThumb::SliderThumb(Zep::SmartPtr<Image> pKnob, SliderBase* pSlider) : Control(0, 0, 0, true), m_pSlider(pSlider) {
    setImage(pKnob);
}

SliderThumb::~SliderThumb() = default;

bool SliderThumb::onMouseMove(int x, int y) { return m_pSlider->onMouseMove(x, y); }

bool SliderThumb::onMouseDown(int nButtonMask) {
    setFocusable(true);
    takeFocus();
    return m_pSlider->onMouseDown(nButtonMask);
}

bool SliderThumb::onMouseUp(int nButtonMask) {
    releaseFocus();
    setFocusable(false);
    return m_pSlider->onMouseUp(nButtonMask);
}

// ---- SliderBase -------------------------------------------------------------------------

SliderBase::SliderBase(Zep::SmartPtr<Image> pEmpty, Zep::SmartPtr<Image> pFull, Zep::SmartPtr<Image> pKnob,
                       int nCallbackId, int nMin, int nMax, int nValue)
    : Control(0, 0, 0, true),
      m_pFullImage(pFull),
      m_pEmptyImage(pEmpty),
      m_pThumbImage(pKnob),
      m_nMin(nMin),
      m_nMax(nMax),
      m_nValue(nValue) {
    if (m_nMin >= m_nMax) throw Zep::AssertFailException(kZepSource, __LINE__, "Assertion failed : m_nMin < m_nMax");
    setCallback(nullptr, nCallbackId, nullptr);
}

SliderBase::SliderBase(int nCallbackId, int nMin, int nMax, int nValue)
    : SliderBase(nullptr, nullptr, nullptr, nCallbackId, nMin, nMax, nValue) {
    themeImages(&m_pEmptyImage, &m_pFullImage, &m_pThumbImage);
}

SliderBase::~SliderBase() = default;

void SliderBase::setValue(int nValue) {
    if (nValue == m_nValue) return;
    m_nValue = nValue;
    rebuildImage();
    if (getMode()) trigger();
}

void SliderBase::setStyle(int nStyle) {
    m_nStyle = nStyle;
    rebuildImage();
}

void SliderBase::setTrackRange(int nStart, int nEnd) {
    if (nStart >= nEnd)
        throw Zep::AssertFailException(kZepSource, __LINE__, "Assertion failed : m_nTrackStart < m_nTrackEnd");
    m_nTrackStart = nStart;
    m_nTrackEnd = nEnd;
    rebuildImage();
}

float SliderBase::fraction() const {
    return static_cast<float>(m_nValue - m_nMin) / static_cast<float>(m_nMax - m_nMin);
}

// Values change at half steps: the position is moved on by half a step before it is truncated.
void SliderBase::setValueFromPosition(const Point& p) {
    const int nPos = getTrackPosition(p);
    const int nRange = m_nMax - m_nMin;
    const int nHalf = trackLength() / (2 * nRange);
    int nValue = m_nMin + (nRange * (nPos - m_nTrackStart + nHalf)) / trackLength();
    if (nValue < m_nMin) nValue = m_nMin;
    if (nValue > m_nMax) nValue = m_nMax;
    setValue(nValue);
}

void SliderBase::loadThemeImages() {
    setHitTestMode(1);
    Zep::SmartPtr<Theme> pTheme = currentTheme();
    if (pTheme.notNULL()) pTheme->getSliderScale(&m_fThumbScaleMin, &m_fThumbScaleMax);
    if (m_pThumbImage.notNULL()) m_pThumbImage->alignInsPoint(0x24);
    if (m_pThumb.notNULL() && m_pThumb->getMode()) m_pThumb->getMode()->removeSprite(m_pThumb.get());
    m_pThumb = new SliderThumb(m_pThumbImage, this);
    const int nStyle = pTheme.notNULL() ? pTheme->getSliderStyle() : kEmptyFull;
    if (nStyle == kFrontBack && pTheme.notNULL() && app())
        m_pRampImage = app()->getImage(pTheme->getSliderFrontBackName().c_str());
    setStyle(nStyle);
}

bool SliderBase::onMouseMove(int x, int y) {
    if (m_bDragging) setValueFromPosition(Point(static_cast<float>(x), static_cast<float>(y)));
    return false;
}

bool SliderBase::onMouseDown(int) {
    m_bDragging = true;
    if (app()) setValueFromPosition(app()->getMousePoint());
    if (m_pThumb.notNULL()) {
        m_pThumb->setFocusable(true);
        m_pThumb->takeFocus();
    }
    return true;
}

bool SliderBase::onMouseUp(int) {
    if (m_pThumb.notNULL()) {
        m_pThumb->releaseFocus();
        m_pThumb->setFocusable(false);
    }
    m_bDragging = false;
    return true;
}

void SliderBase::refresh() {
    Sprite::refresh();
    placeThumb();
}

// Also run with no mode when the slider leaves one: then nothing to do.
bool SliderBase::onModeSet() {
    if (!getMode()) return false;
    setCallback(getMode(), getCallbackId(), CallbackTrigger::getData());
    if (m_pThumb.notNULL()) getMode()->addControl(m_pThumb.get());
    placeThumb();
    return false;
}

void SliderBase::detachFromMode() {
    if (getMode() && m_pThumb.notNULL()) getMode()->removeSprite(m_pThumb.get());
    Control::detachFromMode();
}

void SliderBase::layerAndScaleThumb() {
    if (m_pThumb->getMode()) m_pThumb->setZOrder(getZOrder() + 1);
    m_pThumb->setScale(m_fThumbScaleMin + (m_fThumbScaleMax - m_fThumbScaleMin) * fraction());
}

void SliderBase::renderFrontBack(int x, int y) {
    setImage(m_pFullImage);
    if (m_pRampImage.notNULL()) setColor(m_pRampImage->getPixel(x, y));
}

// ---- HSlider ---------------------------------------------------------------------------

HSlider::HSlider(Zep::SmartPtr<Image> pEmpty, Zep::SmartPtr<Image> pFull, Zep::SmartPtr<Image> pKnob, int nCallbackId,
                 int nMin, int nMax, int nValue)
    : SliderBase(pEmpty, pFull, pKnob, nCallbackId, nMin, nMax, nValue) {
    HSlider::loadThemeImages();
}

HSlider::HSlider(int nCallbackId, int nMin, int nMax, int nValue) : SliderBase(nCallbackId, nMin, nMax, nValue) {
    HSlider::loadThemeImages();
}

HSlider::~HSlider() = default;

void HSlider::loadThemeImages() {
    SliderBase::loadThemeImages();
    int nStart = 0, nEnd = widthOf(m_pFullImage);
    if (Zep::SmartPtr<Theme> pTheme = currentTheme(); pTheme.notNULL() && !pTheme->getSliderRange(&nStart, &nEnd))
        nStart = 0, nEnd = widthOf(m_pFullImage);
    setTrackRange(nStart, nEnd);
    rebuildImage();
}

int HSlider::getTrackPosition(const Point& p) {
    return static_cast<int>(p.x) - getX() - widthOf(m_pThumbImage) / 2;
}

void HSlider::placeThumb() {
    if (m_pThumb.isNULL()) return;
    const int nOffset = static_cast<int>(static_cast<float>(trackLength()) * fraction());
    m_pThumb->setPosition(getX() + m_nTrackStart + nOffset + widthOf(m_pThumbImage) / 2,
                          getY() + heightOf(getImage()) / 2);
    layerAndScaleThumb();
}

void HSlider::rebuildImage() {
    if (m_nStyle == kFrontBack) {
        const int nW = widthOf(m_pRampImage);
        renderFrontBack(std::min(static_cast<int>(static_cast<float>(nW) * fraction()), nW - 1), 0);
    } else if (app() && m_pEmptyImage.notNULL()) {
        const int nKnob = widthOf(m_pThumbImage);
        Zep::SmartPtr<Image> pImage =
            app()->createImage(m_pEmptyImage->getWidth() + nKnob, m_pEmptyImage->getHeight(), true);
        pImage->blitFrom(*m_pEmptyImage, nKnob / 2, 0);
        const int nFill = (m_nValue - m_nMin) * trackLength() / (m_nMax - m_nMin) + m_nTrackStart;
        if (m_pFullImage.notNULL() && nFill > 0)
            pImage->blitFrom(*m_pFullImage, Rect(0, 0, nFill, m_pFullImage->getHeight()), nKnob / 2, 0);
        setImage(pImage);
    }
    placeThumb();
}

// ---- VSlider ---------------------------------------------------------------------------

VSlider::VSlider(Zep::SmartPtr<Image> pEmpty, Zep::SmartPtr<Image> pFull, Zep::SmartPtr<Image> pKnob, int nCallbackId,
                 int nMin, int nMax, int nValue)
    : SliderBase(pEmpty, pFull, pKnob, nCallbackId, nMin, nMax, nValue) {
    VSlider::loadThemeImages();
}

VSlider::VSlider(int nCallbackId, int nMin, int nMax, int nValue) : SliderBase(nCallbackId, nMin, nMax, nValue) {
    VSlider::loadThemeImages();
}

VSlider::~VSlider() = default;

void VSlider::loadThemeImages() {
    SliderBase::loadThemeImages();
    int nStart = 0, nEnd = heightOf(m_pFullImage);
    if (Zep::SmartPtr<Theme> pTheme = currentTheme(); pTheme.notNULL() && !pTheme->getSliderRange(&nStart, &nEnd))
        nStart = 0, nEnd = heightOf(m_pFullImage);
    setTrackRange(nStart, nEnd);
    rebuildImage();
}

int VSlider::getTrackPosition(const Point& p) {
    return static_cast<int>(p.y) - getY() - heightOf(m_pThumbImage) / 2;
}

void VSlider::placeThumb() {
    if (m_pThumb.isNULL()) return;
    const int nOffset = static_cast<int>(static_cast<float>(trackLength()) * fraction());
    m_pThumb->setPosition(getX() + widthOf(getImage()) / 2,
                          getY() + m_nTrackStart + nOffset + heightOf(m_pThumbImage) / 2);
    layerAndScaleThumb();
}

void VSlider::rebuildImage() {
    if (m_nStyle == kFrontBack) {
        const int nH = heightOf(m_pRampImage);
        renderFrontBack(0, std::min(static_cast<int>(static_cast<float>(nH) * fraction()), nH - 1));
    } else if (app() && m_pEmptyImage.notNULL()) {
        const int nKnob = heightOf(m_pThumbImage);
        Zep::SmartPtr<Image> pImage =
            app()->createImage(m_pEmptyImage->getWidth(), m_pEmptyImage->getHeight() + nKnob, true);
        pImage->blitFrom(*m_pEmptyImage, 0, nKnob / 2);
        const int nFill = (m_nValue - m_nMin) * trackLength() / (m_nMax - m_nMin) + m_nTrackStart;
        if (m_pFullImage.notNULL() && nFill > 0)
            pImage->blitFrom(*m_pFullImage, Rect(0, 0, m_pFullImage->getWidth(), nFill), 0, nKnob / 2);
        setImage(pImage);
    }
    placeThumb();
}
