// CreditsMode: scrolls a column of credit items (texts, images, gaps) up over
// a darkened background picture, through a band between two screen lines.
//
// The caller builds the column before the push: background, band, fade
// strips, then the items in order. Items wait off screen, hidden, until they
// enter just below the band; the next one enters when the last one's bottom
// reaches the band bottom, so items follow without space but the caller's
// gaps. At each band edge graded strips cut from the background (nearly
// opaque at the edge, thinning inwards) and opaque masks beyond the band
// cover the items, so they fade in at the bottom and out at the top. Scrolling
// keeps the fraction of a pixel not yet moved. An item leaves when its bottom
// reaches the band top; when none is left the column is finished and, with
// end-when-done, the mode ends. An empty column is finished as soon as the
// mode enters (there is no first item to let in) and, with end-when-done,
// ends in the first update. Any key or mouse-button release ends the mode.
//
// Z-orders: background -2000, items 10, strips and masks 200.
#pragma once

#include <cstdint>

#include <zep2/list.h>
#include <zep2/refcount.h>
#include <zep2/str.h>

#include "sprite/gamemode.h"

class Label;

class CreditsMode : public GameMode {
public:
    static constexpr int kBackgroundZOrder = -2000;
    static constexpr int kItemZOrder = 10;
    static constexpr int kMaskZOrder = 200;
    // Off-screen parking of pending items, beyond the screen's size.
    static constexpr int kParkingOffset = 100;
    static constexpr int kGapWidth = 10;

    CreditsMode();
    ~CreditsMode() override;

    // ---- Set-up, before the push ----
    void setBackground(const char* szImage) { m_sBackground = szImage; }
    void setScrollBand(int nTop, int nBottom);
    int getBandTop() const { return m_nBandTop; }
    int getBandBottom() const { return m_nBandBottom; }
    void setFadeStrips(int nCount, int nHeight);
    // 0 (none) to 255 (black); outside throws AssertFailException and keeps
    // the old value.
    void setDarkStrength(int nStrength);
    void setScrollSpeed(float fPixelsPerSecond) { m_fSpeed = fPixelsPerSecond; }
    float getScrollSpeed() const { return m_fSpeed; }
    void setEndWhenDone(bool bEnd) { m_bEndWhenDone = bEnd; }
    bool isFinished() const { return m_bFinished; }
    const Zep::List<Zep::SmartPtr<Sprite>>& getActiveItems() const { return m_lActive; }
    const Zep::List<Zep::SmartPtr<Sprite>>& getPendingItems() const { return m_lPending; }

    // ---- Items ----
    // A string-table key or a literal text, centred white with a black
    // shadow; a line holding only "-" shows as an empty line.
    Zep::SmartPtr<Label> addText(const char* szKeyOrText, bool bAppend);
    Zep::SmartPtr<Sprite> addImage(const char* szImage, bool bAppend);
    // Blank vertical space of that height.
    void addGap(int nHeight);
    // Hides the item, parks it off screen and queues it.
    void appendItem(Zep::SmartPtr<Sprite> pItem);

    // Background, strips, masks, first item; hides the cursor, 60 frames/s.
    void onEnter() override;
    // Shows the cursor again.
    void onEnd() override;
    void onUpdate(float fDelta) override;
    bool onKeyUp(int nKey, int nModifiers) override;
    bool onMouseUp(int nButton, int x, int y) override;

    // The text's line count: pieces between "\n" that are not empty.
    static int countLines(const Zep::String& sText);

private:
    Zep::SmartPtr<Sprite> addMaskStrip(const Zep::SmartPtr<Image>& pBackground, int y1, int y2, int nAlpha);
    void addFadeStrips(const Zep::SmartPtr<Image>& pBackground);
    void enterNextItem();
    // Moves the active items up; those whose bottom reached the band top leave.
    void scrollItems(int nPixels);
    // The colour that darkens the background by the strength.
    Color darkening() const;
    // Sets finished; with end-when-done, ends the mode.
    void finish();

    Zep::String m_sBackground;
    Zep::List<Zep::SmartPtr<Sprite>> m_lActive;
    Zep::List<Zep::SmartPtr<Sprite>> m_lPending;
    float m_fSpeed = 30.0f;
    int32_t m_nBandTop = 50;  // and the bottom 50 above the screen bottom
    int32_t m_nBandBottom;
    int32_t m_nFadeStrips = 25;
    int32_t m_nFadeStripHeight = 5;
    int32_t m_nDarkStrength = 192;
    float m_fScrollRemainder = 0.0f;
    bool m_bEndWhenDone = true;
    bool m_bFinished = false;
    bool m_bEndDue = false;  // an empty column entered: end in the first update
};
