#include "testkit/testkit_platform.h"

namespace testkit {

namespace {

class FakeMutexImpl : public MutexImpl {
public:
    int lock() override { return 0; }
    int unlock() override { return 0; }
};

}  // namespace

FakeEvent FakeEvent::keyDown(int nKey, unsigned nModifiers) {
    FakeEvent e;
    e.eType = kKeyDown;
    e.nKey = nKey;
    e.nModifiers = nModifiers;
    return e;
}

FakeEvent FakeEvent::keyUp(int nKey, unsigned nModifiers) {
    FakeEvent e = keyDown(nKey, nModifiers);
    e.eType = kKeyUp;
    return e;
}

FakeEvent FakeEvent::character(int nChar) {
    FakeEvent e;
    e.eType = kChar;
    e.nChar = nChar;
    return e;
}

FakeEvent FakeEvent::mouseMove(int nX, int nY) {
    FakeEvent e;
    e.eType = kMouseMove;
    e.nX = nX;
    e.nY = nY;
    return e;
}

FakeEvent FakeEvent::mouseDown(int nButtonMask, int nX, int nY) {
    FakeEvent e = mouseMove(nX, nY);
    e.eType = kMouseDown;
    e.nButtonMask = nButtonMask;
    return e;
}

FakeEvent FakeEvent::mouseUp(int nButtonMask, int nX, int nY) {
    FakeEvent e = mouseDown(nButtonMask, nX, nY);
    e.eType = kMouseUp;
    return e;
}

FakeEvent FakeEvent::of(Type eType) {
    FakeEvent e;
    e.eType = eType;
    return e;
}

FakePlatform::FakePlatform() = default;

// The image factory goes first, then the video and the audio driver, as the
// real platform deletes them.
FakePlatform::~FakePlatform() {
    m_pImageFactory.reset();
    m_pVideoDriver.reset();
    m_pAudioDriver.reset();
}

void FakePlatform::setVideoDriver(std::unique_ptr<IVideoDriver> pDriver) {
    m_pVideoDriver = std::move(pDriver);
    if (m_pVideoDriver) m_pVideoDriver->setScaleFactor(getScaleFactor());
}

void FakePlatform::setAudioDriver(std::unique_ptr<IAudioDriver> pDriver) { m_pAudioDriver = std::move(pDriver); }

void FakePlatform::setImageFactory(std::unique_ptr<ImageFactory> pFactory) { m_pImageFactory = std::move(pFactory); }

int FakePlatform::init() {
    ++m_nInitCount;
    return 3;
}

void FakePlatform::shutdown() { ++m_nShutdownCount; }

void FakePlatform::queueFrame(std::vector<FakeEvent> vEvents) { m_dqFrames.push_back(std::move(vEvents)); }

void FakePlatform::processEvents() {
    ++m_nProcessCount;
    m_nNow += m_nWorkTime;
    if (m_dqFrames.empty()) return;
    std::vector<FakeEvent> vFrame = std::move(m_dqFrames.front());
    m_dqFrames.pop_front();
    for (const FakeEvent& event : vFrame) {
        if (event.eType == FakeEvent::kMouseMove || event.eType == FakeEvent::kMouseDown ||
            event.eType == FakeEvent::kMouseUp) {
            m_nMouseX = event.nX;
            m_nMouseY = event.nY;
        }
        m_vDelivered.push_back(event);
        if (m_dispatcher) m_dispatcher(event);
    }
}

void FakePlatform::sleep(uint32_t nMilliseconds) {
    m_vSleeps.push_back(nMilliseconds);
    m_nNow += nMilliseconds;
}

void FakePlatform::getMousePosition(int& nX, int& nY) {
    ++m_nMouseReads;
    nX = m_nMouseX;
    nY = m_nMouseY;
}

void FakePlatform::setMousePosition(int nX, int nY) {
    m_nMouseX = nX;
    m_nMouseY = nY;
}

std::unique_ptr<MutexImpl> FakePlatform::createMutexImpl() { return std::make_unique<FakeMutexImpl>(); }

}  // namespace testkit
