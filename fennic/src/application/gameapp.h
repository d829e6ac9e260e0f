// The application object: one per process, reached through GameApp::getInstance.
//
// It owns the platform (and through it the drivers), the mode stack, the
// current theme, the settings, the command line and the resource side. The
// game derives its own application class and overrides the virtual hooks.
//
// The operations are implemented one source file per concern: gameapp.cpp
// (construction, destruction, hooks), app_lifecycle.cpp (start-up),
// app_log.cpp, app_settings.cpp, app_frame.cpp, app_input.cpp,
// app_services.cpp, app_stack.cpp (over the ModeStack of app_modestack.h),
// app_resources.cpp, app_caches.cpp, app_strings.cpp.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include <zep2/hash.h>
#include <zep2/list.h>
#include <zep2/refcount.h>
#include <zep2/str.h>

#include "application/app_animcache.h"
#include "application/app_caches.h"
#include "application/app_modestack.h"
#include "application/registry.h"
#include "base/settingstable.h"
#include "base/stringtable.h"

class IPlatform;
class IVideoDriver;
class IAudioDriver;
class DummyAudioDriver;
class Image;
class Sample;
class Music;
class Theme;
class Point;
class GameMode;
class ModeTransition;
class Animation;

namespace Zep {
class LogFile;
class Resource;
class ResourceProvider;
}  // namespace Zep

class GameApp {
public:
    // Version of the framework, logged at construction.
    static constexpr const char* kVersion = "1.4.0";

    // Settings load states.
    enum SettingsLoadState {
        kSettingsNotLoaded = SettingsTable::kNotLoaded,
        kSettingsRead = SettingsTable::kRead,
        kSettingsUnreadable = SettingsTable::kUnreadable,  // defaults used
        kSettingsMissing = SettingsTable::kMissing,
    };

    // Frame-delta policies when the elapsed time exceeds the maximum delta.
    enum DeltaPolicy { kDeltaNone = 0, kDeltaSkip = 1, kDeltaClamp = 2 };

    GameApp();
    virtual ~GameApp();
    GameApp(const GameApp&) = delete;
    GameApp& operator=(const GameApp&) = delete;

    // The singleton; null before construction and after destruction.
    static GameApp* getInstance() { return s_pInstance; }
    static GameApp** getInstanceAddress() { return &s_pInstance; }

    // ---- Life cycle -------------------------------------------------------

    // The game creates the platform, loads the settings, registers its
    // resources, calls initSystems and pushes its first modes. Base: nothing.
    virtual void init();
    // Called once after the frame loop: notifies the modes, lets the game
    // write what they finished (onModesQuit), stores screen and volume
    // settings and saves them. A save that fails is logged, not thrown
    // (trySaveSettingsFile); what a mode's onAppQuit throws passes through.
    virtual void shutdown();
    // At shutdown, after every mode's onAppQuit and before the settings are
    // saved: where a game puts into the settings what its modes finished on
    // the way out (its profiles, say). Base: nothing.
    virtual void onModesQuit();

    // Starts platform, video, audio, fonts, theme, volumes, random seed and
    // timing. VideoFlag::FromSettings takes the flags from the settings.
    void initSystems(int nWidth, int nHeight, unsigned nVideoFlags, const Zep::SmartPtr<Image>& pIcon);
    // Takes ownership of the platform; the previous one is deleted.
    void setPlatform(std::unique_ptr<IPlatform> pPlatform);
    IPlatform* getPlatform() const { return m_pPlatform.get(); }
    void registerBuiltinResources();
    void purgeCaches();
    // Scalar members back to their initial values; releases the theme.
    void resetState();

    // Emergency exit: shuts the platform down once, then ends the process with
    // exit code 1 without running static destructors.
    [[noreturn]] static void fatalExit();

    // ---- Hooks (base behaviour in the respective sources) ----------------

    virtual void onQuitRequest();
    virtual bool keyDownHook(int nKey, unsigned nModifiers);
    virtual void keyUpHook(int nKey, unsigned nModifiers);
    virtual void onVideoModeChanged();
    virtual void onActivate();
    virtual void onDeactivate();
    virtual void onMouseFocusGained();
    virtual void onMouseFocusLost();
    virtual void onCloseRequest();
    // Framework defaults; the game's override runs after the base.
    virtual void setDefaultSettings();

    // ---- Frame loop and timing --------------------------------------------

    int run();
    void frame(int& nLastFrameTime, int& nDueTime, bool bKeepEndedModes);
    void updateModes(float fElapsed);
    // Ends the frame loop after the current frame.
    void quit(int nExitCode) {
        m_nExitCode = nExitCode;
        m_bQuit = true;
    }
    bool isQuitting() const { return m_bQuit; }
    int getExitCode() const { return m_nExitCode; }
    void setFrameRate(int nFramesPerSecond);
    int getFrameRate() const { return m_nFramesPerSecond; }
    void setDeltaClamp(float fMaxDelta, int nPolicy);
    void setSkipNextUpdate(bool bSkip) { m_bSkipNextUpdate = bSkip; }
    void setRenderEnabled(bool bEnabled) { m_bRenderEnabled = bEnabled; }
    int getFrameCount() const { return m_nFrameCount; }
    int getTicks();
    int getLowestDrawnModeIndex();
    // Null outside the stack.
    GameMode* getModeAt(int nIndex);
    GameMode* getTopMode();
    int getModeCount() const { return m_modeStack.count(); }
    // A copy of the stack (top first), for walks that may push and end modes.
    Zep::List<GameMode*> copyModeStack() const { return m_modeStack.modes(); }
    bool isModeOnStack(const GameMode* pMode) const { return m_modeStack.contains(pMode); }
    // Set whenever a mode is pushed, popped or ended; input routing reads it to
    // drop the releases of a press that changed the stack.
    bool isModeStackChanged() const { return m_modeStack.isChanged(); }
    void setModeStackChanged(bool bChanged) { m_modeStack.setChanged(bChanged); }

    // ---- Input routing -----------------------------------------------------

    bool onKeyDown(int nKey, unsigned nModifiers);
    void onChar(int nChar);
    void onKeyUp(int nKey, unsigned nModifiers);
    void onMouseMove(int nX, int nY, bool bSendToModes);
    void onMouseDown(int nButtonMask, int nX, int nY);
    void onMouseUp(int nButtonMask, int nX, int nY);
    void routeQuitRequest();
    bool handleSystemKeys(int nKey, unsigned nModifiers);
    void refreshMousePosition();
    void setConfirmQuit(bool bConfirm) { m_bConfirmQuit = bConfirm; }
    bool getConfirmQuit() const { return m_bConfirmQuit; }
    void setQuitDialogClosed() { m_bQuitDialogOpen = false; }

    // ---- Settings -----------------------------------------------------------

    // The stored value, or a shared empty text when the key is absent (the key
    // is not added).
    const Zep::String& getSetting(const char* szKey) const;
    void setSetting(const char* szKey, const char* szValue);
    void clearSettings();
    bool isFullscreenSetting() const;
    unsigned getVideoFlagsFromSettings() const;
    // The user data folder for the folder name, then "<prefix>config.dat".
    // A data folder that can't be written is still the place: the file is
    // read from it and saving fails (trySaveSettingsFile logs why). With no
    // data folder named at all the path is "": nothing read, nothing saved.
    static void initConfigPath(const char* szPrefix, const char* szFolder);
    static void setConfigPath(const char* szPath);
    static const Zep::String& getConfigPath();
    // Defaults, the file, the volumes clamped, then the file written back.
    // Never throws for the file: a damaged one gives the defaults, and a
    // write that fails (read-only folder, full disk) is logged and the
    // program goes on with the settings in memory.
    void loadSettings();
    // A damaged file is moved aside; if it can't be, the path is not written
    // again until a later read finds a good file or none there.
    void readSettingsFile(const char* szPath);
    // Both throw Zep::FileAccessException when the file can't be replaced;
    // the file on disk then stays as it was. For saves that a caller asked for
    // and wants to hear about.
    void writeSettingsFile(const char* szPath);
    void saveSettingsFile();
    // "Fullscreen" from the screen, and, with audio, "SoundVolume" and
    // "MusicVolume" from the volumes: into the table, not the file. The
    // shutdown and the options dialog's buttons store them so.
    void storeScreenAndVolumeSettings();
    // saveSettingsFile without the exception: a failure is logged as
    // "G: ** Settings not saved : <reason> **", told to onSettingsNotSaved
    // and answered false. The start-up load, the shutdown and the standard
    // profile dialogs save this way, so a data folder that can't be written
    // never ends the game.
    bool trySaveSettingsFile();
    // After each failed trySaveSettingsFile, with the reason and the
    // system's reason (errno, 0 when none is known; platform_fs::writeFailureOf
    // tells its kind): the game may tell the player. It runs inside the
    // caller's handler, so it must not change the mode stack
    // (pushModeNextFrame can). Base: nothing.
    virtual void onSettingsNotSaved(const char* szReason, int nSystemError);
    int getSettingsLoadState() const { return m_settings.getLoadState(); }
    // After an unreadable settings file: where it was kept (SettingsTable::getKeptCopy).
    const Zep::String& getSettingsKeptCopy() const { return m_settings.getKeptCopy(); }
    // After an unreadable settings file that could not be moved aside: it
    // stays where it was, untouched, and nothing is saved over it.
    bool isSettingsFileKeptInPlace() const { return m_settings.isKeptInPlace(); }
    // Where a damaged settings file is kept until the player has been told:
    // the copy moved aside, which loadSettings remembers in the fresh
    // settings under kUntoldCopyKey (so a start that fails before its screens
    // are up leaves the telling to the next start), or, this run, the file
    // itself left in place; "" when there is nothing to tell.
    static constexpr const char* kUntoldCopyKey = "DamagedSettingsCopy";
    Zep::String getUntoldSettingsCopy() const;
    // Once told: the remembered copy is dropped and the settings saved.
    void forgetUntoldSettingsCopy();
    static void disableSettingsSaving();
    const Zep::Hash<Zep::String, Zep::String>& getSettings() const { return m_settings.entries(); }

    // ---- Log ------------------------------------------------------------------

    // Writes exactly the formatted text (at most 4,095 characters); nothing
    // when no log is open. Outside text goes through "%s", never as format.
    static void log(const char* szFormat, ...) __attribute__((format(printf, 1, 2)));
    static void openLog(const char* szPath);
    // The log on standard error instead of a file; its file name is
    // kStandardErrorLogName, and the log report leaves it alone.
    static void openLogOnStandardError();
    static bool isLogOnStandardError();
    static constexpr const char* kStandardErrorLogName = "/dev/stderr";
    static void closeLog();
    // The user data folder for the folder name, then "<prefix>.log". Without
    // a writable data folder, or when that file can't be opened, the log goes
    // to standard error.
    static void initLogFile(const char* szPrefix, const char* szFolder);
    static Zep::LogFile* getLog();
    // The open log's file name, or "dummy.log".
    static Zep::String getLogFileName();
    // Later openLog calls do nothing; an open log stays open.
    static void disableLog();
    static void setLogReport(bool bEnable, const char* szURL);
    // Sends the log of the last start once per enabling; true when sent.
    static bool reportLog();

    // ---- Services: platform -----------------------------------------------

    void getMousePosition(int* pX, int* pY);
    Point getMousePoint();
    void setMousePosition(int nX, int nY);
    bool isMouseButtonDown(int nButton);
    bool isKeyDown(int nKey);
    unsigned getKeyModifiers();
    int getJoystickCount();
    Zep::String getJoystickName(int nIndex);
    int getJoystickAxisCount(int nJoystick);
    int getJoystickButtonCount(int nJoystick);
    float getJoystickAxis(int nAxis, int nJoystick);
    bool isJoystickButtonDown(int nButton, int nJoystick);

    // ---- Services: video ------------------------------------------------------

    IVideoDriver* getVideoDriver() const;
    bool isFullscreen() const;
    void setFullscreen(bool bOn);
    void toggleFullscreen();
    void iconify();
    int getScreenWidth() const;
    int getScreenHeight() const;
    void getScreenSize(int* pWidth, int* pHeight) const;
    void setWindowTitle(const char* szTitle);
    void setCursor(const Zep::SmartPtr<Image>& pCursor);
    void showCursor(bool bShow);
    bool isCursorVisible() const;
    Zep::SmartPtr<Image> createImage(int nWidth, int nHeight, bool bAlpha);
    Zep::SmartPtr<Image> createImageFromPixels(void* pPixels, int nWidth, int nHeight, int nBitsPerPixel,
                                               int nPitch, unsigned nRedMask, unsigned nGreenMask,
                                               unsigned nBlueMask, unsigned nAlphaMask);
    static void minimizeApp();

    // ---- Services: audio ------------------------------------------------------

    IAudioDriver* getAudioDriver() const { return m_pAudioDriver; }
    bool isAudioEnabled() const { return m_bAudioEnabled; }
    int playSound(const Zep::SmartPtr<Sample>& pSample, bool bLoop = false, int nChannel = -1);
    void setSoundPanning(int nChannel, int nPan);
    void stopSound(int nChannel);
    void stopAllSounds();
    void playMusic(const char* szTrack, bool bLoop);
    void playMusicObject(const Zep::SmartPtr<Music>& pMusic, bool bLoop);
    void stopMusic();
    void haltMusic();
    void stopAllAudio();
    Zep::String getCurrentMusicName() const;
    // 0 .. 255, stored raw; the driver gets value / 255.
    void setSoundVolume(int nVolume);
    void setMusicVolume(int nVolume);
    int getSoundVolume() const { return m_nSoundVolume; }
    int getMusicVolume() const { return m_nMusicVolume; }

    // ---- Services: other ------------------------------------------------------

    Zep::SmartPtr<Theme> getTheme() const;
    void setTheme(const Zep::SmartPtr<Theme>& pTheme);
    // A new theme loaded from the file becomes current; then every Control in
    // the sprite layers of every mode on the stack is refreshed.
    void reloadTheme(const char* szThemeFile);
    void setCommandLine(const Zep::List<Zep::String>& lWords) { m_lCommandLine = lWords; }
    Zep::List<Zep::String> getCommandLine() const { return m_lCommandLine; }
    static Zep::String getEnvironmentVariable(const char* szName);
    static int getTotalMemoryMB();
    static void messageBox(const char* szCaption, const char* szText);
    void setWasFullscreen() { m_bWasFullscreen = true; }
    void setSuppressModeNotifications(bool bSuppress) { m_modeStack.setSuppressed(bSuppress); }
    bool areModeNotificationsSuppressed() const { return m_modeStack.isSuppressed(); }
    // Diagnostics hook of the theme ("[font] name", "[cursor] name"): nothing.
    static void debugReport(const char*) {}
    static void debugLog(const char*) {}

    // ---- Mode stack -------------------------------------------------------------

    // The stack owns what is pushed on it; pushing a mode that is on the stack
    // or has ended throws Zep::FatalErrorException.
    void pushMode(GameMode* pMode);
    // The transition fades out over the top mode and pushes next at full black.
    void pushTransition(GameMode* pNext, ModeTransition* pTransition);
    // Called by GameMode::endMode and GameMode::suspendMode.
    void popMode();
    // Pushed at the start of a later frame, before the modes update, once no
    // transition is on top: for a mode wanted from inside a handler whose
    // caller may still end its own mode. The application owns it until then
    // and deletes it unpushed when it goes first.
    void pushModeNextFrame(std::unique_ptr<GameMode> pMode);
    // Pushes the mode with flags 7 and runs frames while it is the top (ended
    // modes kept for the outer loop; a quit request does not end it); answers
    // the top mode then.
    GameMode* runModal(GameMode* pMode);

    // ---- Resource registry -----------------------------------------------------

    // Takes ownership of the provider, even when its alias lists fail.
    Zep::List<Zep::ResourceProvider*>::Node* addResourceProvider(std::unique_ptr<Zep::ResourceProvider> pProvider,
                                                                 bool bAtFront);
    void addResourceFile(const char* szFileName, bool bAtFront = false);
    void addResourceFolder(const char* szFolder, bool bAtFront = false);
    // Suffix lists are null-terminated; null means the name as it is.
    Zep::String findResourceProvider(const char* szName, Zep::ResourceProvider** ppProvider,
                                     const char* const* pSuffixes = nullptr);
    Zep::String findResource(const char* szName, const char* const* pSuffixes = nullptr);
    bool resourceExists(const char* szName);
    Zep::SmartPtr<Zep::Resource> getResource(const char* szName);
    Zep::List<Zep::String> getResourceNames();
    void dumpResourceNames();
    void dumpStringNames();
    void readAliasLists(Zep::ResourceProvider* pProvider);
    void readAliasList(Zep::Resource* pText, Zep::Hash<Zep::String, Zep::String>& hTable);

    // ---- Resource caches ---------------------------------------------------------

    // Gives the image, sample and music caches their loaders: the platform's
    // image factory and the audio driver's loaders (start-up step 9).
    void initCaches();
    Zep::SmartPtr<Image> getImage(const char* szName);
    Zep::SmartPtr<Image> loadImage(const char* szName, int nExtra);
    void addImage(const char* szName, const Zep::SmartPtr<Image>& pImage, bool bPin);
    Zep::List<Zep::String> getImageNames();
    bool releaseImage(const char* szName);
    void releaseImagesNotIn(const Zep::List<Zep::String>& lKeep);
    bool setImageCacheEnabled(bool bEnabled);
    bool isImageCached(const char* szName);
    bool imageExists(const char* szName);
    Zep::SmartPtr<Sample> getSample(const char* szName);
    Zep::SmartPtr<Music> getMusic(const char* szName);
    bool releaseSample(const char* szName);
    bool releaseMusic(const char* szName);
    Zep::List<Zep::String> getSampleNames();
    Zep::List<Zep::String> getMusicNames();
    bool sampleExists(const char* szName);
    bool musicExists(const char* szName);
    void purgeImages();
    void purgeSamples();
    void purgeMusic();
    Zep::SmartPtr<Animation> loadAnimation(const char* szScriptName, const char* szKey,
                                           const Zep::List<Zep::String>& lParams);
    Zep::SmartPtr<Animation> getAnimation(const char* szScriptName);
    void queueAnimation(const char* szScriptName, const char* szKey, const Zep::List<Zep::String>& lParams);
    void preloadAnimation(const char* szScriptName);
    void continuePreload();
    bool isAnimationCached(const char* szKey);
    void releaseAnimation(const char* szKey);
    // Drops the cached animation only when nothing outside the cache holds it.
    bool releaseUnusedAnimation(const char* szKey);
    Zep::List<Zep::String> getAnimationNames();
    void purgeAnimations();
    bool isPreloadPending() const { return m_animations.isPreloadPending(); }
    void logCacheStatistics();

    // ---- String tables -------------------------------------------------------------

    void loadStringTable(const char* szName);
    // The stored text, or the key pointer itself when it is missing.
    const char* getText(const char* szKey);
    bool hasText(const char* szKey);
    Zep::List<Zep::String> getStringNames();
    Zep::String selectLanguage(const Zep::List<Zep::String>& lPreferred);
    Zep::List<Zep::String> getLanguageFiles(const Zep::List<Zep::String>& lPreferred);
    Zep::String getLanguage(const Zep::List<Zep::String>& lPreferred);

protected:
    // ---- Members, in the order of the object's description ------------------

    std::unique_ptr<IPlatform> m_pPlatform;
    // The platform's audio driver, or the application's own silent one.
    IAudioDriver* m_pAudioDriver = nullptr;
    std::unique_ptr<DummyAudioDriver> m_pOwnAudioDriver;
    bool m_bQuit = false;
    int32_t m_nExitCode = 0;
    ModeStack m_modeStack{*this};  // with the ended modes and the stack's flags
    Zep::SmartPtr<Theme> m_pTheme;
    bool m_bAudioEnabled = false;
    // The registry, the string tables, the caches and the settings table are
    // parts of their own; the operations on them forward there.
    ResourceRegistry m_registry;  // providers and alias tables
    StringTables m_strings;
    ResourceCaches m_caches{m_registry.getImageAliases()};  // images, samples, music
    AnimationCache m_animations;  // animations and their preload, with its pending flag
    int32_t m_nSoundVolume = 0;
    int32_t m_nMusicVolume = 0;
    bool m_bQuitDialogOpen = false;
    bool m_bConfirmQuit = false;
    bool m_bWasFullscreen = false;
    int32_t m_nFramesPerSecond = 0;
    int32_t m_nFramePeriod = 0;
    int32_t m_nFrameCount = 0;
    bool m_bRenderEnabled = true;
    bool m_bSkipNextUpdate = false;
    float m_fMaxFrameDelta = 100.0f;
    int32_t m_nDeltaPolicy = kDeltaNone;
    Zep::List<Zep::String> m_lCommandLine;
    SettingsTable m_settings;  // with the load state of the settings file

private:
    void pushNextFrameModes();
    void initVideo(int nWidth, int nHeight, unsigned nVideoFlags, const Zep::SmartPtr<Image>& pIcon);
    void initAudio(unsigned nVideoFlags);

    std::vector<std::unique_ptr<GameMode>> m_vNextFrameModes;  // pushModeNextFrame
    static GameApp* s_pInstance;
    static bool s_bFatalExitStarted;
};
