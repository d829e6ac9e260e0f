// Sliders: an integer value in a range, picked by dragging a knob along a
// track or by pressing on the track.
//
// SliderBase keeps the value, the range, the images and the drag; HSlider and
// VSlider supply the geometry along their axis. The knob is a SliderThumb
// sprite that the slider places one z-order above itself and scales between
// the theme's two knob scales. Any mouse button that reaches the slider or the
// knob starts a drag (neither the mask nor the enabled flag is looked at); the
// knob then holds the mode's focus, so every move and the release reach it
// wherever the cursor is. Each change of the value re-renders the slider and,
// in a mode, sends one callback; setValue does not clamp.
//
// The value maths divides by the range and by the track length, so an empty
// range (max <= min) or an empty track (end <= start) is refused with an
// assertion failure wherever it is set, instead of dividing by zero later.
#pragma once

#include "sprite/control.h"

class SliderBase;

class SliderThumb : public Control {
public:
    SliderThumb(Zep::SmartPtr<Image> pKnob, SliderBase* pSlider);
    ~SliderThumb() override;

    bool onMouseMove(int x, int y) override;
    bool onMouseDown(int nButtonMask) override;
    bool onMouseUp(int nButtonMask) override;

private:
    SliderBase* m_pSlider;  // the slider owns the knob
};

class SliderBase : public Control {
public:
    enum { kEmptyFull = 0, kFrontBack = 1 };

    SliderBase(Zep::SmartPtr<Image> pEmpty, Zep::SmartPtr<Image> pFull, Zep::SmartPtr<Image> pKnob, int nCallbackId,
               int nMin, int nMax, int nValue);
    SliderBase(int nCallbackId, int nMin, int nMax, int nValue);
    ~SliderBase() override;

    int getValue() const { return m_nValue; }
    void setValue(int nValue);
    int getMin() const { return m_nMin; }
    int getMax() const { return m_nMax; }
    int getStyle() const { return m_nStyle; }
    void setStyle(int nStyle);
    void setTrackRange(int nStart, int nEnd);
    int getTrackStart() const { return m_nTrackStart; }
    int getTrackEnd() const { return m_nTrackEnd; }
    bool isDragging() const { return m_bDragging; }
    Zep::SmartPtr<SliderThumb> getThumb() const { return m_pThumb; }

    virtual void setValueFromPosition(const Point& p);
    virtual void loadThemeImages();
    // The point's place along the track, relative to the slider, less half the knob.
    virtual int getTrackPosition(const Point& p) = 0;
    virtual void placeThumb() = 0;

    bool onMouseMove(int x, int y) override;
    bool onMouseDown(int nButtonMask) override;
    bool onMouseUp(int nButtonMask) override;
    // The sprite's own refresh, then the knob placed.
    void refresh() override;
    bool onModeSet() override;
    void detachFromMode() override;

protected:
    // (value - min) / (max - min) in floating point.
    float fraction() const;
    int trackLength() const { return m_nTrackEnd - m_nTrackStart; }
    // Knob z-order and scale; the position is the subclass's.
    void layerAndScaleThumb();
    // Style 1: the full image tinted with the ramp pixel at (x, y).
    void renderFrontBack(int x, int y);

    int32_t m_nStyle = kEmptyFull;
    Zep::SmartPtr<Image> m_pRampImage;
    Zep::SmartPtr<Image> m_pFullImage;
    Zep::SmartPtr<Image> m_pEmptyImage;
    Zep::SmartPtr<Image> m_pThumbImage;
    Zep::SmartPtr<SliderThumb> m_pThumb;
    int32_t m_nMin;
    int32_t m_nMax;
    int32_t m_nValue;
    int32_t m_nTrackStart = 0;
    int32_t m_nTrackEnd = 1;
    float m_fThumbScaleMin = 1.0f;
    float m_fThumbScaleMax = 1.0f;
    bool m_bDragging = false;
};

class HSlider : public SliderBase {
public:
    HSlider(Zep::SmartPtr<Image> pEmpty, Zep::SmartPtr<Image> pFull, Zep::SmartPtr<Image> pKnob, int nCallbackId,
            int nMin, int nMax, int nValue);
    HSlider(int nCallbackId, int nMin, int nMax, int nValue);
    ~HSlider() override;

    void rebuildImage() override;
    void loadThemeImages() override;
    int getTrackPosition(const Point& p) override;
    void placeThumb() override;
};

class VSlider : public SliderBase {
public:
    VSlider(Zep::SmartPtr<Image> pEmpty, Zep::SmartPtr<Image> pFull, Zep::SmartPtr<Image> pKnob, int nCallbackId,
            int nMin, int nMax, int nValue);
    VSlider(int nCallbackId, int nMin, int nMax, int nValue);
    ~VSlider() override;

    void rebuildImage() override;
    void loadThemeImages() override;
    int getTrackPosition(const Point& p) override;
    void placeThumb() override;
};
