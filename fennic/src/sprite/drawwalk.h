// The draw walk shared by the video drivers.
//
// From the lowest drawn mode (GameApp::getLowestDrawnModeIndex) up to the top
// (index 0), every mode that is active and visible: a mode with the
// clear-screen flag first clears the screen to (0, 0, 0, 255); then its
// display layers first to last, each layer front to back, and every sprite
// that is visible and has a picture to draw. The driver supplies the two
// drawing steps and draws its cursor after the walk.
#pragma once

class Color;
class GameApp;
class GameMode;
class Sprite;

class IDrawTarget {
public:
    virtual ~IDrawTarget() = default;
    virtual void clearScreen(const Color& color) = 0;
    virtual void drawSprite(GameMode& mode, Sprite& sprite) = 0;
};

void drawModes(GameApp& app, IDrawTarget& target);
