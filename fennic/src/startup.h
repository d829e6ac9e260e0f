// What a game needs of the drivers at its start-up, without seeing them: the
// SDL driver headers are the framework's own, so the platform a game runs on
// is made here.
#pragma once

#include <memory>

class IPlatform;

// The audio format the desktop platform asks the mixer for.
constexpr int kDesktopAudioFrequency = 44100;
constexpr int kDesktopAudioChunkSize = 2048;

// The desktop platform: the SDL platform holding the textured video driver
// and the SDL_mixer audio driver (44,100 Hz, chunks of 2,048 sample frames).
// Nothing is started: GameApp::setPlatform takes it and
// GameApp::initSystems starts it. Make it after the application object,
// which the platform reports its events to.
std::unique_ptr<IPlatform> createDesktopPlatform();
