// The frame loop: run, one frame step, the mode-update walk and the timing
// settings.
//
// A quit signal (oshelpers.h) noted since the last frame ends the loop after
// this frame, as a confirmed quit would: no question asked, exit code 0, and
// the normal shutdown (settings saved) follows.
//
// Tick counts are the platform's unsigned 32-bit milliseconds held as signed
// ints. Differences are taken modulo 2^32 and then read as signed, so the
// loop keeps its pace across the wrap of the counter.
#include <cstdint>

#include <zep2/error.h>

#include "driver/audiodriver.h"
#include "base/color.h"
#include "application/gameapp.h"
#include "sprite/gamemode.h"
#include "base/oshelpers.h"
#include "driver/platform.h"

namespace {

constexpr const char* kZepSource = ".\\src\\app_frame";

// a - b in milliseconds, across the wrap of the tick counter.
int32_t tickDiff(int nA, int nB) { return static_cast<int32_t>(static_cast<uint32_t>(nA) - static_cast<uint32_t>(nB)); }

int tickAdd(int nTicks, int nMilliseconds) {
    return static_cast<int>(static_cast<uint32_t>(nTicks) + static_cast<uint32_t>(nMilliseconds));
}

}  // namespace

int GameApp::run() {
    ZEP_TRACE("GameApp::run");
    init();
    ZEP_ASSERT(getPlatform() != NULL);
    int nLast = getTicks();
    int nDue = tickAdd(nLast, m_nFramePeriod);
    while (!m_bQuit) frame(nLast, nDue, false);
    shutdown();
    if (IVideoDriver* pVideo = getVideoDriver()) {
        pVideo->clear(Color(0, 0, 0, 255));
        pVideo->flush();
    }
    return m_nExitCode;
}

void GameApp::frame(int& nLastFrameTime, int& nDueTime, bool bKeepEndedModes) {
    // Sleep only when early.
    if (const int32_t nEarly = tickDiff(nDueTime, getTicks()); nEarly > 0)
        m_pPlatform->sleep(static_cast<uint32_t>(nEarly));
    // The elapsed time, measured after the sleep; the audio gets it unclamped.
    const int nNow = getTicks();
    const float fElapsed = static_cast<float>(tickDiff(nNow, nLastFrameTime) / 1000.0);
    if (m_bAudioEnabled && m_pAudioDriver) m_pAudioDriver->update(fElapsed);
    pushNextFrameModes();
    // The delta policy applies only to a delta strictly above the maximum.
    if (!m_bSkipNextUpdate && m_modeStack.count() > 0) {
        const bool bOver = fElapsed > m_fMaxFrameDelta;
        if (!bOver || m_nDeltaPolicy != kDeltaSkip)
            updateModes(bOver && m_nDeltaPolicy == kDeltaClamp ? m_fMaxFrameDelta : fElapsed);
    }
    m_bSkipNextUpdate = false;
    // Input, then drawing, with the frame counter stepped around the drawing.
    m_pPlatform->processEvents();
    if (const int nSignal = takeQuitSignal()) {
        log("G: Signal %d, quitting\n", nSignal);
        quit(0);
    }
    ++m_nFrameCount;
    if (m_bRenderEnabled && m_modeStack.count() > 0)
        if (IVideoDriver* pVideo = getVideoDriver()) pVideo->render();
    ++m_nFrameCount;
    // The next frame is due one period after this one's measured start.
    nDueTime = tickAdd(nNow, m_nFramePeriod);
    nLastFrameTime = nNow;
    if (!bKeepEndedModes) m_modeStack.deleteEnded();
}

// From the top down while the modes let the update through; the flags are
// read before the mode's update, and a mode standing several times in a row
// is updated once.
void GameApp::updateModes(float fElapsed) {
    int i = 0;
    while (GameMode* pMode = m_modeStack.at(i)) {
        const uint32_t nFlags = pMode->getFlags();
        if (nFlags & GameMode::kActive) pMode->frameUpdate(fElapsed);
        if (!(nFlags & GameMode::kUpdateBelow)) return;
        while (m_modeStack.at(++i) == pMode) {
        }
    }
}

void GameApp::setFrameRate(int nFramesPerSecond) {
    m_nFramesPerSecond = nFramesPerSecond;
    m_nFramePeriod = nFramesPerSecond >= 1 ? 1000 / nFramesPerSecond : 0;
}

void GameApp::setDeltaClamp(float fMaxDelta, int nPolicy) {
    m_fMaxFrameDelta = fMaxDelta;
    m_nDeltaPolicy = nPolicy;
}
