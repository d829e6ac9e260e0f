// Intrusive reference counting: RefCountedObject carries the count, SmartPtr keeps it.
#pragma once

#include <cstdint>

namespace Zep {

class RefCountedObject {
public:
    RefCountedObject() = default;
    // The count is not part of an object's value: copies start at 0 and
    // assignment leaves the target's count alone.
    RefCountedObject(const RefCountedObject&) : m_nRefCount(0) {}
    RefCountedObject& operator=(const RefCountedObject&) { return *this; }
    virtual ~RefCountedObject() = default;

    int getRefCount() const { return m_nRefCount; }

    // Used by SmartPtr only.
    void addRef() { ++m_nRefCount; }
    // Returns true when the count reached 0 and the object was deleted.
    bool release() {
        // GCC 12 warns that the count is read after the delete when it
        // inlines two releases of one object one after the other (a list
        // holding the object twice): it cannot know that the first release
        // left the count above 0.
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ >= 12
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuse-after-free"
#endif
        if (--m_nRefCount == 0) {
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ >= 12
#pragma GCC diagnostic pop
#endif
            delete this;
            return true;
        }
        return false;
    }

private:
    int32_t m_nRefCount = 0;
};

template <class T>
class SmartPtr {
public:
    SmartPtr() = default;
    SmartPtr(T* p) : m_p(p) { retain(); }
    SmartPtr(const SmartPtr& other) : m_p(other.m_p) { retain(); }
    template <class U>
    SmartPtr(const SmartPtr<U>& other) : m_p(other.get()) { retain(); }
    ~SmartPtr() { drop(); }

    SmartPtr& operator=(const SmartPtr& other) { return assign(other.m_p); }
    SmartPtr& operator=(T* p) { return assign(p); }
    template <class U>
    SmartPtr& operator=(const SmartPtr<U>& other) { return assign(other.get()); }

    template <class U>
    static SmartPtr dynamicCast(U* p) { return SmartPtr(p ? dynamic_cast<T*>(p) : nullptr); }
    template <class U>
    static SmartPtr dynamicCast(const SmartPtr<U>& p) { return dynamicCast(p.get()); }

    T* operator->() const { return m_p; }
    T& operator*() const { return *m_p; }
    T* get() const { return m_p; }

    bool isNULL() const { return m_p == nullptr; }
    bool notNULL() const { return m_p != nullptr; }

    template <class U>
    bool operator==(const SmartPtr<U>& other) const { return m_p == other.get(); }
    template <class U>
    bool operator!=(const SmartPtr<U>& other) const { return m_p != other.get(); }

private:
    void retain() {
        if (m_p) static_cast<RefCountedObject*>(m_p)->addRef();
    }
    void drop() {
        if (m_p) {
            T* old = m_p;
            m_p = nullptr;
            static_cast<RefCountedObject*>(old)->release();
        }
    }
    // The new object gains its reference before the old one is released: the
    // old object's destructor may drop the last other reference to the new one.
    SmartPtr& assign(T* p) {
        if (p == m_p) return *this;
        if (p) static_cast<RefCountedObject*>(p)->addRef();
        T* old = m_p;
        m_p = p;
        if (old) static_cast<RefCountedObject*>(old)->release();
        return *this;
    }

    T* m_p = nullptr;
};

template <class T> inline bool isNULL(const SmartPtr<T>& p) { return p.isNULL(); }
template <class T> inline bool notNULL(const SmartPtr<T>& p) { return p.notNULL(); }

}  // namespace Zep
