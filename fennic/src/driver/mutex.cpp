#include "driver/mutex.h"

#include "application/gameapp.h"

namespace {

std::unique_ptr<MutexImpl> implFromPlatform() {
    GameApp* pApp = GameApp::getInstance();
    IPlatform* pPlatform = pApp ? pApp->getPlatform() : nullptr;
    return pPlatform ? pPlatform->createMutexImpl() : nullptr;
}

}  // namespace

Mutex::Mutex() : m_pImpl(implFromPlatform()) {}

Mutex::~Mutex() = default;

int Mutex::lock() {
    if (!m_pImpl) m_pImpl = implFromPlatform();
    return m_pImpl ? m_pImpl->lock() : -1;
}

int Mutex::unlock() { return m_pImpl ? m_pImpl->unlock() : -1; }
