#include <zep2/refcount.h>

#include "test_util.h"

using Zep::RefCountedObject;
using Zep::SmartPtr;

namespace {
struct Counted : RefCountedObject {
    explicit Counted(int* deaths) : m_pDeaths(deaths) {}
    ~Counted() override { ++*m_pDeaths; }
    int* m_pDeaths;
    SmartPtr<Counted> m_pChild;  // assigning it to a handle of its holder must keep it alive
};
struct Derived : Counted { using Counted::Counted; };
struct Other : RefCountedObject {};

void takeByValue(SmartPtr<Counted>) {}
}  // namespace

TEST(SmartPtr, CountsAssignmentsAndDeletesOnce) {
    int deaths = 0;
    {
        SmartPtr<Counted> a(new Counted(&deaths));
        EXPECT_EQ(std::vector<SmartPtr<Counted>>(2, a).back()->getRefCount(), 3);  // two copies held
        SmartPtr<Counted> b(a);
        const SmartPtr<Counted>& same = a;
        a = same;  // self-assignment keeps the count
        a = b;
        EXPECT_EQ(a->getRefCount(), 2);
        b = nullptr;
        EXPECT_EQ(a->getRefCount() * 10 + deaths, 10);
    }
    EXPECT_EQ(deaths, 1);
    SmartPtr<Counted> a(new Counted(&deaths));
    a = static_cast<Counted*>(nullptr);
    EXPECT_TRUE(deaths == 2 && a.isNULL() && Zep::isNULL(a) && !Zep::notNULL(a));
    a = static_cast<Counted*>(nullptr);  // null onto empty: nothing happens
    takeByValue(SmartPtr<Counted>(new Counted(&deaths)));  // a count-zero object passed by value dies
    EXPECT_EQ(deaths, 3);
    // Copies of the object start with their own count; assignment keeps it.
    SmartPtr<Counted> held(new Counted(&deaths));
    Counted copy(*held);
    copy = *held;
    EXPECT_EQ(copy.getRefCount() * 10 + held->getRefCount(), 1);
}

TEST(SmartPtr, CastsKeepTheAddressAndTheCount) {
    int deaths = 0;
    SmartPtr<Derived> d(new Derived(&deaths));
    SmartPtr<Counted> base = d, empty;
    SmartPtr<Derived> back = SmartPtr<Derived>::dynamicCast(base);
    EXPECT_TRUE(base.get() == d.get() && back.get() == d.get() && base == d && !(base != back));
    EXPECT_TRUE(SmartPtr<Other>::dynamicCast(base).isNULL() && SmartPtr<Derived>::dynamicCast(empty).isNULL());
    EXPECT_TRUE(d->getRefCount() == 3 && empty == SmartPtr<Counted>() && empty != base);
}

TEST(SmartPtr, AssignFromMemberOfTheHeldObjectKeepsTheMember) {
    int deaths = 0;
    SmartPtr<Counted> handle = new Counted(&deaths);
    handle->m_pChild = new Counted(&deaths);
    Counted* child = handle->m_pChild.get();
    handle = handle->m_pChild;  // the holder dies inside this assignment and drops its reference to the child
    EXPECT_TRUE(deaths == 1 && handle.get() == child && handle->getRefCount() == 1);
    handle = nullptr;
    EXPECT_EQ(deaths, 2);
}
