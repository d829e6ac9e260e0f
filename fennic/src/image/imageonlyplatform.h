// A platform that only makes in-memory images: no window, input, clock,
// joystick or drivers. For programs that cut, tint and draw images without a
// screen (benchmarks, fuzz targets); the application's image accessors and
// Image::createSubImage reach its MemImageFactory.
#pragma once

#include <memory>

#include "image/memimage.h"
#include "driver/platform.h"

class ImageOnlyPlatform : public IPlatform {
public:
    int init() override { return 0; }
    void shutdown() override {}
    const char* getName() const override { return "ImageOnly"; }
    void processEvents() override {}
    uint32_t getTicks() override { return 0; }
    void sleep(uint32_t) override {}
    bool isMouseButtonDown(int) override { return false; }
    bool isKeyDown(int) override { return false; }
    unsigned getKeyModifiers() override { return 0; }
    uint32_t getDoubleClickTime() override { return 0; }
    void getMousePosition(int& nX, int& nY) override { nX = nY = 0; }
    void setMousePosition(int, int) override {}
    int getJoystickCount() override { return 0; }
    const char* getJoystickName(int) override { return ""; }
    int getJoystickAxisCount(int) override { return 0; }
    int getJoystickButtonCount(int) override { return 0; }
    float getJoystickAxis(int, int) override { return 0.0f; }
    bool isJoystickButtonDown(int, int) override { return false; }
    void openDocument(const Zep::String&) override {}
    std::unique_ptr<MutexImpl> createMutexImpl() override { return nullptr; }
    IVideoDriver* getVideoDriver() override { return nullptr; }
    IAudioDriver* getAudioDriver() override { return nullptr; }
    ImageFactory* getImageFactory() override { return &m_factory; }

private:
    MemImageFactory m_factory;
};
