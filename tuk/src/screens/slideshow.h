// SlideshowMode: a list of slides (slidespec.h) over a sand background,
// with a music track looping, over modes that are neither drawn nor updated.
// Two presentations, chosen when it is made:
//
// Cut-scene (album false): the slides play by themselves and are consumed.
// States, advanced by onUpdate(dt):
//   0 hold       the timer (0 at the start) runs down; at or below 0 the
//                first slide left starts (state 1), or with none left the
//                fade-out begins (state 2, from the next update on).
//   1 fading in  the picture's alpha rises by dt up to 1 (one second); then 3.
//   3 captions   each pending caption first waits out its delay, then its
//                label's alpha rises by dt; past 1 it is done. With none
//                pending: state 0 with the timer at 10 seconds.
//   2 fading out everything on screen takes the current picture's alpha
//                (or the last caption's) minus dt; at 0, or with nothing on
//                screen, the mode ends.
// Any other state throws Zep::FatalErrorException "Unknown state <n>".
// A slide that starts a new page first takes every picture and caption off
// the screen. Its picture is a private copy of the named one, so fading
// never touches the cached picture; the pictures are fetched with the image
// cache off.
// Skip (left mouse button or space): in state 1 the picture is shown fully
// at once; in every state the pending captions are shown fully and are no
// longer pending, and the state becomes 0 with the timer at -1, so the next
// slide (or the fade-out) starts on the next update. Escape or Enter ends
// the mode; space skips and then goes to the default key handling; any other
// mouse press ends the mode; every mouse press is taken. The cursor is hidden.
//
// Album (album true): pages turned with three small buttons at the lower
// right, previous (id 0), stop (id 2: ends the mode) and next (id 1). A page
// is a slide that starts a new page with the slides after it up to the next
// such slide; the first page starts at slide 0. Its pictures are the cached
// ones, fully opaque; captions are not shown. Previous is enabled past the
// first page, next while a later page exists. Escape or Enter ends the mode;
// space turns to the next page when there is one, then goes to the default
// key handling. The cursor is shown.
#pragma once

#include <zep2/list.h>

#include "screens/slidespec.h"
#include "records/tukmode.h"
#include "ui/ui_button.h"
#include "ui/ui_label.h"
#include "ui/ui_table.h"

class SlideshowMode : public TUKMode {
public:
    enum { kHold = 0, kFadingIn = 1, kFadingOut = 2, kCaptions = 3 };
    enum { kPreviousId = 0, kNextId = 1, kStopId = 2 };
    static constexpr float kHoldSeconds = 10.0f;
    static constexpr int kButtonLayer = 1000;

    SlideshowMode(const SlideList& lSlides, bool bAlbum, const Zep::String& sMusic);
    ~SlideshowMode() override;

    void onEnter() override;
    void onUpdate(float fDelta) override;
    void onCallback(int nId, void* pData) override;
    bool onKeyDown(int nKey, int nModifiers) override;
    bool onMouseDown(int nButtonMask, int x, int y) override;

    int getShowState() const { return m_nState; }
    float getTimer() const { return m_fTimer; }
    int getSlidesLeft() const { return m_lSlides.getCount(); }
    const Zep::List<Zep::SmartPtr<Sprite>>& getShownSprites() const { return m_lShownSprites; }
    const Zep::List<Zep::SmartPtr<Label>>& getPageLabels() const { return m_lPageLabels; }
    int getPendingCount() const { return m_lPending.getCount(); }
    int getPageStart() const { return m_nPageStart; }
    Zep::SmartPtr<CustomButton> getPreviousButton() const { return m_pPreviousButton; }
    Zep::SmartPtr<CustomButton> getNextButton() const { return m_pNextButton; }

protected:
    // A caption not yet fully shown, its delay left and its label.
    struct PendingCaption {
        Zep::SmartPtr<StoryText> pCaption;
        float fDelay = 0.0f;
        Zep::SmartPtr<Label> pLabel;
    };

    // Cut-scene.
    void hold(float fDelta);
    void startSlide(const SlideSpec& slide);
    void addCaption(const Zep::SmartPtr<StoryText>& pCaption);
    void fadeIn(float fDelta);
    void revealCaptions(float fDelta);
    void fadeOut(float fDelta);
    void skip();
    void clearScreen();

    // Album (slideshow_album.cpp).
    void buildAlbumControls();
    Zep::SmartPtr<CustomButton> makeAlbumButton(const char* szName, int nId);
    void showPage(int nStart);
    int findPageStart(int nFrom, int nStep) const;

    void addBackground();

    SlideList m_lSlides;
    float m_fTimer = 0.0f;
    Zep::List<Zep::SmartPtr<Sprite>> m_lShownSprites;
    int32_t m_nState = kHold;
    Zep::SmartPtr<Image> m_pWorkingPicture;
    bool m_bAlbum;
    int32_t m_nPageStart = 0;
    Zep::String m_sMusic;
    Zep::SmartPtr<CustomButton> m_pNextButton;
    Zep::SmartPtr<CustomButton> m_pPreviousButton;
    Zep::List<PendingCaption> m_lPending;
    Zep::List<Zep::SmartPtr<Label>> m_lPageLabels;
    Zep::SmartPtr<Table> m_pButtonTable;
};
