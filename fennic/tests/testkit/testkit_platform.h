// A platform for tests: a manual clock, scripted events per frame, settable
// input state, and fake drivers that it owns like the real one does.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "driver/audiodriver.h"
#include "image/imagefactory.h"
#include "driver/platform.h"

namespace testkit {

// One event of the scripted queue, as the platform would deliver it.
struct FakeEvent {
    enum Type {
        kKeyDown,
        kKeyUp,
        kChar,
        kMouseMove,
        kMouseDown,
        kMouseUp,
        kQuit,
        kActivate,
        kDeactivate,
        kMouseFocusGained,
        kMouseFocusLost,
    };

    Type eType = kKeyDown;
    int nKey = 0;
    unsigned nModifiers = 0;
    int nChar = 0;
    int nX = 0;
    int nY = 0;
    int nButtonMask = 0;

    static FakeEvent keyDown(int nKey, unsigned nModifiers = 0);
    static FakeEvent keyUp(int nKey, unsigned nModifiers = 0);
    static FakeEvent character(int nChar);
    static FakeEvent mouseMove(int nX, int nY);
    static FakeEvent mouseDown(int nButtonMask, int nX, int nY);
    static FakeEvent mouseUp(int nButtonMask, int nX, int nY);
    static FakeEvent of(Type eType);

    bool operator==(const FakeEvent&) const = default;
};

class FakePlatform : public IPlatform {
public:
    using Dispatcher = std::function<void(const FakeEvent&)>;

    FakePlatform();
    ~FakePlatform() override;

    // ---- Drivers (owned, deleted with the platform) ----
    void setVideoDriver(std::unique_ptr<IVideoDriver> pDriver);
    void setAudioDriver(std::unique_ptr<IAudioDriver> pDriver);
    void setImageFactory(std::unique_ptr<ImageFactory> pFactory);
    IVideoDriver* getVideoDriver() override { return m_pVideoDriver.get(); }
    IAudioDriver* getAudioDriver() override { return m_pAudioDriver.get(); }
    ImageFactory* getImageFactory() override { return m_pImageFactory.get(); }

    int init() override;
    void shutdown() override;
    const char* getName() const override { return "Fake"; }

    // ---- Events ----
    // Queues the events that the next processEvents without a scripted frame
    // before it delivers; each call scripts one more frame.
    void queueFrame(std::vector<FakeEvent> vEvents);
    // Where the events go; by default they are only recorded.
    void setDispatcher(Dispatcher dispatcher) { m_dispatcher = std::move(dispatcher); }
    void processEvents() override;

    // ---- Clock ----
    uint32_t getTicks() override { return m_nNow; }
    // Advances the clock by the request and records it.
    void sleep(uint32_t nMilliseconds) override;
    void setTicks(uint32_t nNow) { m_nNow = nNow; }
    void advance(uint32_t nMilliseconds) { m_nNow += nMilliseconds; }
    // Time that each processEvents call spends, standing for a frame's work.
    void setWorkTimePerFrame(uint32_t nMilliseconds) { m_nWorkTime = nMilliseconds; }

    // ---- Input state ----
    bool isMouseButtonDown(int nButton) override { return m_setButtons.count(nButton) > 0; }
    bool isKeyDown(int nKey) override { return m_setKeys.count(nKey) > 0; }
    unsigned getKeyModifiers() override { return m_nModifiers; }
    uint32_t getDoubleClickTime() override { return 500; }
    void getMousePosition(int& nX, int& nY) override;
    void setMousePosition(int nX, int nY) override;

    int getJoystickCount() override { return 0; }
    const char* getJoystickName(int) override { return ""; }
    int getJoystickAxisCount(int) override { return 0; }
    int getJoystickButtonCount(int) override { return 0; }
    float getJoystickAxis(int, int) override { return 0.0f; }
    bool isJoystickButtonDown(int, int) override { return false; }

    void openDocument(const Zep::String& sPath) override { m_vDocuments.push_back(sPath.c_str()); }
    std::unique_ptr<MutexImpl> createMutexImpl() override;

    // ---- What happened ----
    int m_nInitCount = 0;
    int m_nShutdownCount = 0;
    int m_nProcessCount = 0;
    std::vector<uint32_t> m_vSleeps;
    std::vector<FakeEvent> m_vDelivered;
    std::vector<std::string> m_vDocuments;
    std::set<int> m_setButtons;
    std::set<int> m_setKeys;
    unsigned m_nModifiers = 0;
    int m_nMouseReads = 0;  // getMousePosition calls
    int m_nMouseX = 0;
    int m_nMouseY = 0;

private:
    std::unique_ptr<IVideoDriver> m_pVideoDriver;
    std::unique_ptr<IAudioDriver> m_pAudioDriver;
    std::unique_ptr<ImageFactory> m_pImageFactory;
    std::deque<std::vector<FakeEvent>> m_dqFrames;
    Dispatcher m_dispatcher;
    uint32_t m_nNow = 0;
    uint32_t m_nWorkTime = 0;
};

}  // namespace testkit
