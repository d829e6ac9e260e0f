// Callbacks from controls to whoever built them.
//
// ICallbackTarget receives; CallbackTrigger sends: it stores a target, an id
// and a data pointer and, when triggered, hands the id and the data back to
// the target unchanged. Every mode is a target, every control a trigger, so
// a screen builds its buttons with ids of its own and tells them apart in
// onCallback. The target is not owned and must outlive the trigger.
#pragma once

class ICallbackTarget {
public:
    virtual ~ICallbackTarget() = default;
    virtual void onCallback(int nCallbackId, void* pData) = 0;
};

class CallbackTrigger {
public:
    CallbackTrigger() = default;
    virtual ~CallbackTrigger() = default;

    // None of the three pointers may be null.
    virtual void getCallback(ICallbackTarget** ppTarget, int* pCallbackId, void** ppData) const;
    virtual void setCallback(ICallbackTarget* pTarget, int nCallbackId, void* pData);
    virtual ICallbackTarget* getTarget() const { return m_pTarget; }
    virtual int getCallbackId() const { return m_nCallbackId; }
    virtual void* getData() const { return m_pData; }
    virtual void setTarget(ICallbackTarget* pTarget) { m_pTarget = pTarget; }
    virtual void setCallbackId(int nCallbackId) { m_nCallbackId = nCallbackId; }
    virtual void setData(void* pData) { m_pData = pData; }
    // Calls the target with the id and the data; false without a target.
    virtual bool trigger();

private:
    ICallbackTarget* m_pTarget = nullptr;
    int m_nCallbackId = 0;
    void* m_pData = nullptr;
};
