#include <gtest/gtest.h>

#include <vector>

#include "zep2/refcount.h"

using Zep::RefCountedObject;
using Zep::SmartPtr;

namespace {

struct Counted : RefCountedObject {
    explicit Counted(int* deaths) : m_pDeaths(deaths) {}
    ~Counted() override { ++*m_pDeaths; }
    int* m_pDeaths;
};

struct Derived : Counted {
    using Counted::Counted;
};

struct Other : RefCountedObject {};

// Holds a handle to another object; assigning that member to a handle of this
// object must keep the member alive.
struct Holder : Counted {
    using Counted::Counted;
    SmartPtr<Counted> m_pChild;
};

void takeByValue(SmartPtr<Counted>) {}

}  // namespace

TEST(SmartPtr, CountsAssignmentsAndDeletesOnce) {
    int deaths = 0;
    {
        SmartPtr<Counted> a(new Counted(&deaths));
        EXPECT_EQ(a->getRefCount(), 1);
        {
            std::vector<SmartPtr<Counted>> v{a, a};
            EXPECT_EQ(a->getRefCount(), 3);
        }
        SmartPtr<Counted> b(a);
        a = a;
        a = b;
        EXPECT_EQ(a->getRefCount(), 2);
        b = nullptr;
        EXPECT_EQ(a->getRefCount(), 1);
        EXPECT_EQ(deaths, 0);
    }
    EXPECT_EQ(deaths, 1);
    SmartPtr<Counted> a(new Counted(&deaths));
    a = static_cast<Counted*>(nullptr);
    EXPECT_EQ(deaths, 2);
    EXPECT_TRUE(a.isNULL());
    a = static_cast<Counted*>(nullptr);  // null onto empty: nothing happens
    takeByValue(SmartPtr<Counted>(new Counted(&deaths)));  // a count-zero object passed by value dies
    EXPECT_EQ(deaths, 3);
}

TEST(SmartPtr, CastsKeepTheAddressAndTheCount) {
    int deaths = 0;
    SmartPtr<Derived> d(new Derived(&deaths));
    SmartPtr<Counted> base = d;
    EXPECT_EQ(base.get(), d.get());
    EXPECT_EQ(d->getRefCount(), 2);

    SmartPtr<Derived> back = SmartPtr<Derived>::dynamicCast(base);
    EXPECT_EQ(back.get(), d.get());
    EXPECT_EQ(d->getRefCount(), 3);

    SmartPtr<Other> wrong = SmartPtr<Other>::dynamicCast(base);
    EXPECT_TRUE(wrong.isNULL());
    EXPECT_EQ(d->getRefCount(), 3);

    SmartPtr<Counted> empty;
    EXPECT_TRUE(SmartPtr<Derived>::dynamicCast(empty).isNULL());
    EXPECT_TRUE(empty == SmartPtr<Counted>());
    EXPECT_TRUE(base == d);
}

TEST(SmartPtr, AssignFromMemberOfTheHeldObjectKeepsTheMember) {
    int deaths = 0;
    SmartPtr<Counted> handle;
    {
        Holder* holder = new Holder(&deaths);
        holder->m_pChild = new Counted(&deaths);
        handle = holder;
    }
    Counted* child = static_cast<Holder*>(handle.get())->m_pChild.get();
    // The holder dies inside this assignment and drops its reference to the child.
    handle = static_cast<Holder*>(handle.get())->m_pChild;
    EXPECT_EQ(deaths, 1);
    EXPECT_EQ(handle.get(), child);
    EXPECT_EQ(handle->getRefCount(), 1);
    handle = nullptr;
    EXPECT_EQ(deaths, 2);
}

TEST(RefCountedObject, CopiesStartWithTheirOwnCount) {
    int deaths = 0;
    SmartPtr<Counted> a(new Counted(&deaths));
    Counted copy(*a);
    EXPECT_EQ(copy.getRefCount(), 0);
    copy = *a;
    EXPECT_EQ(copy.getRefCount(), 0);
    EXPECT_EQ(a->getRefCount(), 1);
    copy.m_pDeaths = &deaths;
}
