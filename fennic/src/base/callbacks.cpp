#include "base/callbacks.h"

void CallbackTrigger::getCallback(ICallbackTarget** ppTarget, int* pCallbackId, void** ppData) const {
    *ppTarget = m_pTarget;
    *pCallbackId = m_nCallbackId;
    *ppData = m_pData;
}

void CallbackTrigger::setCallback(ICallbackTarget* pTarget, int nCallbackId, void* pData) {
    m_pTarget = pTarget;
    m_nCallbackId = nCallbackId;
    m_pData = pData;
}

bool CallbackTrigger::trigger() {
    if (!m_pTarget) return false;
    m_pTarget->onCallback(m_nCallbackId, m_pData);
    return true;
}
