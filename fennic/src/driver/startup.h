// What a game needs of the drivers at its start-up, without seeing them: the
// SDL driver headers are the framework's own, so the platform a game runs on
// and the driver-backed theme classes are made here.
#pragma once

#include <memory>

class IPlatform;

// The audio format the desktop platform asks the mixer for.
constexpr int kDesktopAudioFrequency = 44100;
constexpr int kDesktopAudioChunkSize = 2048;

// An option of the desktop platform: every pointer motion reaches the
// application at once, and every button press or release is preceded by a
// move to its own position, so that it acts on the control under it (without
// it the moves of one pump collapse into one, sent after its buttons).
constexpr int kDesktopImmediateMouse = 4;

// The desktop platform: the SDL platform holding the textured video driver
// and the SDL_mixer audio driver (44,100 Hz, chunks of 2,048 sample frames),
// with the options given (0 or kDesktopImmediateMouse).
// Nothing is started: GameApp::setPlatform takes it and
// GameApp::initSystems starts it. Make it after the application object,
// which the platform reports its events to.
std::unique_ptr<IPlatform> createDesktopPlatform(int nOptions = 0);

// The theme's font class "TrueType" (fonts read from TrueType files through
// SDL_ttf), for a game on another platform, such as the test kit's: the
// desktop platform registers it itself while it lives. Registering again
// replaces the class's factory; unregistering a class that is not there does
// nothing. Themes loaded while it is registered keep their fonts.
void registerTrueTypeFonts();
void unregisterTrueTypeFonts();
