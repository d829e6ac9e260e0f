// LoadingScreen: fills the caches at start-up, then hands over to the main
// menu. The program pushes it first, as the bottom mode, with the splash
// screen over it, so its work starts when the splash screen has ended.
//
// Five text resources name what to load, one name a line (lines split at CR
// and LF, empty lines dropped, each name used as it stands):
//   "preload-char0-anims.txt", "preload-common-anims.txt"  animations
//   "preload-sound.txt"                                     sound samples
//   "preload-music.txt"                                     music tracks
//   "preload-emitter.txt"                                   particle definitions
// All five are required: a missing one fails in GameApp::getResource.
//
// Entering: the insertion points of the five frame props are set, frame
// pacing is switched off (frame rate 0) and the cursor hidden. The first
// update builds the screen (sand tiles, "loading_back", the "LDN_Loading"
// label and a row of ten progress pictures, clam and star in turn, tinted
// dark) and reads the lists; it loads nothing.
//
// Each later update runs passes: a pass takes the first name off every list
// that is not empty, in the order sounds, animations, music, emitters, and
// loads it into its cache. Passes follow one another while less than 25 ms
// have gone by since the update began; at least one runs, and a pass begun is
// finished. Then the progress row: pictures 0 to n are lit, with
// n = loaded * 10 / (total / 2) capped at 9 (integer divisions), so the row is
// fully lit once half the names are loaded; with a total below 2 no picture
// is lit. When every name is loaded the screen ends and pushes the menu.
#pragma once

#include <cstdint>

#include <zep2/list.h>
#include <zep2/str.h>

#include "sprite/gamemode.h"
#include "ui/ui_table.h"

class LoadingScreen : public GameMode {
public:
    static constexpr int kSliceMs = 25;
    static constexpr int kProgressCount = 10;
    static constexpr const char* kCharacterAnimations = "preload-char0-anims.txt";
    static constexpr const char* kCommonAnimations = "preload-common-anims.txt";
    static constexpr const char* kSounds = "preload-sound.txt";
    static constexpr const char* kMusic = "preload-music.txt";
    static constexpr const char* kEmitters = "preload-emitter.txt";

    LoadingScreen();
    ~LoadingScreen() override;

    void onCallback(int nId, void* pData) override;
    void onEnter() override;
    void onUpdate(float fDelta) override;

    // The last progress picture lit, or -1 for none.
    static int lastLitPicture(int nLoaded, int nTotal);

    int getTotal() const { return m_nTotal; }
    int getLoaded() const { return m_nLoaded; }
    bool isDone() const { return m_bDone; }
    const Zep::List<Zep::SmartPtr<Sprite>>& getProgressPictures() const { return m_lProgress; }

private:
    void buildScreen();
    void buildProgressRow();
    void readLists();
    Zep::List<Zep::String> readList(const char* szResource);
    void runPass();
    void showProgress();

    Zep::List<Zep::String> m_lAnimations;
    Zep::List<Zep::String> m_lSounds;
    Zep::List<Zep::String> m_lMusic;
    Zep::List<Zep::String> m_lEmitters;
    Zep::List<Zep::SmartPtr<Sprite>> m_lProgress;
    Zep::SmartPtr<Table> m_pProgressRow;
    int32_t m_nTotal = 0;
    int32_t m_nLoaded = 0;
    bool m_bFirstFrame = true;
    bool m_bDone = false;
};
