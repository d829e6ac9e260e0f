// The application object for tests, standing for the game's own class: it
// adds its defaults after the framework's and records the hooks it sees.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "application/gameapp.h"
#include "testkit/testkit_tempdir.h"

namespace testkit {

class TestApp : public GameApp {
public:
    TestApp() = default;
    // The stacked modes stay with the test.
    // Borrowed modes leave the stack; pushed ones go with the application.
    ~TestApp() override;

    // Puts a mode on top of the stack, or takes it off, without the stack's
    // notifications; the mode stays the test's own.
    void stackMode(GameMode* pMode);
    void unstackMode(GameMode* pMode);
    const ModeStack& modeStack() const { return m_modeStack; }
    // Frees the ended modes, as the end of a frame does.
    void deleteEndedModes() { m_modeStack.deleteEnded(); }
    // Moves the frame counter as the frame step does (twice per frame).
    void advanceFrameCount(int nSteps) { m_nFrameCount += nSteps; }

    void setDefaultSettings() override;
    void onCloseRequest() override { ++m_nCloseRequests; }
    // What a game does at shutdown once its modes have quit.
    void onModesQuit() override {
        if (m_onModesQuit) m_onModesQuit();
    }
    void onVideoModeChanged() override { ++m_nVideoModeChanges; }

    // Stands in for the start-up's choice of audio driver (not owned); the
    // caches take their loaders from it and from the platform, as at start-up.
    void useAudioDriver(IAudioDriver* pDriver, bool bEnabled = true) {
        m_pAudioDriver = pDriver;
        m_bAudioEnabled = bEnabled;
        initCaches();
    }
    void setWasFullscreenFlag(bool bOn) { m_bWasFullscreen = bOn; }
    bool getWasFullscreenFlag() const { return m_bWasFullscreen; }
    bool isQuitDialogOpen() const { return m_bQuitDialogOpen; }

    // Defaults the game adds after the framework's.
    std::vector<std::pair<std::string, std::string>> m_vGameDefaults;
    int m_nDefaultsCalls = 0;
    int m_nCloseRequests = 0;
    int m_nVideoModeChanges = 0;
    std::function<void()> m_onModesQuit;

private:
    std::vector<GameMode*> m_vBorrowed;
};

// Sends the log and the settings file into a folder for the life of the
// object: "<folder>test.log" and "<folder>tukconfig.dat". The log is closed
// and the settings path restored afterwards.
class AppFiles {
public:
    explicit AppFiles(const TempDir& dir);
    ~AppFiles();
    AppFiles(const AppFiles&) = delete;
    AppFiles& operator=(const AppFiles&) = delete;

    std::string logPath() const { return m_sLog; }
    std::string configPath() const { return m_sConfig; }
    std::string logText() const { return readFileBytes(m_sLog); }

private:
    std::string m_sLog;
    std::string m_sConfig;
    std::string m_sOldConfig;
};

}  // namespace testkit
