#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "zep2/list.h"

using Zep::List;
using Zep::SmartPtr;
using Zep::String;

namespace {

// Notes its destruction in a shared log; counted, so lists may hold handles.
struct Tracked : Zep::RefCountedObject {
    Tracked(int id, std::vector<int>* log) : m_nId(id), m_pLog(log) {}
    ~Tracked() override { m_pLog->push_back(m_nId); }
    int m_nId;
    std::vector<int>* m_pLog;
};

List<int> numbers(int n) {
    List<int> list;
    for (int i = 0; i < n; ++i) list.add(i * 10);
    return list;
}

std::vector<int> contents(const List<int>& list) { return std::vector<int>(list.begin(), list.end()); }

std::string rangeMessage(auto&& call) {
    try {
        call();
    } catch (const Zep::FatalErrorException& e) {
        EXPECT_STREQ(e.getFile(), "list_impl");
        return e.getMessage();
    }
    return "(nothing thrown)";
}

// Links must agree in both directions and end in nulls.
void expectConsistent(const List<int>& list) {
    int n = 0;
    const Zep::ListNode<int>* prev = nullptr;
    for (auto* node = list.getHead(); node != nullptr; node = node->next, ++n) {
        EXPECT_EQ(node->prev, prev);
        prev = node;
    }
    EXPECT_EQ(list.getTail(), prev);
    EXPECT_EQ(n, list.getCount());
}

}  // namespace

TEST(ListIndex, OutOfRangeMessagesNameIndexAndCount) {
    List<int> list = numbers(3);
    EXPECT_EQ(rangeMessage([&] { list.getNode(3); }), "List index out of range : 3 (have 3)");
    EXPECT_EQ(rangeMessage([&] { list.get(-1); }), "List index out of range : -1 (have 3)");
    // insertAt names the index before.
    EXPECT_EQ(rangeMessage([&] { list.insertAt(5, 99); }), "List index out of range : 4 (have 3)");
    EXPECT_EQ(rangeMessage([&] { list.insertAt(-1, 99); }), "List index out of range : -2 (have 3)");
    EXPECT_EQ(contents(list), (std::vector<int>{0, 10, 20}));
    list.insertAt(3, 30);
    list.insertAt(1, 5);
    EXPECT_EQ(contents(list), (std::vector<int>{0, 5, 10, 20, 30}));

    List<int> empty;
    EXPECT_EQ(rangeMessage([&] { empty.removeAt(0); }), "List index out of range : 0 (have 0)");
    EXPECT_EQ(rangeMessage([&] { empty.getFirst(); }), "List index out of range : 0 (have 0)");
    EXPECT_EQ(rangeMessage([&] { empty.getLast(); }), "List index out of range : 0 (have 0)");
    EXPECT_EQ(rangeMessage([&] { empty.removeFirst(); }), "List index out of range : 0 (have 0)");
    empty.insertAt(0, 7);
    EXPECT_EQ(contents(empty), (std::vector<int>{7}));
    expectConsistent(empty);
}

TEST(ListIndex, AccessCursorWalksForwardOrRestartsFromTheHead) {
    List<int> list = numbers(100);
    list.resetLinkSteps();
    long sum = 0;
    for (int i = 0; i < list.getCount(); ++i) sum += list[i];
    EXPECT_EQ(sum, 49500);
    EXPECT_EQ(list.getLinkSteps(), 99);  // an ascending loop follows each link once

    list = numbers(10);
    list.resetLinkSteps();
    list.get(5);
    EXPECT_EQ(list.getLinkSteps(), 5);
    list.get(2);
    EXPECT_EQ(list.getLinkSteps(), 7);
    list.get(9);  // forward from the cursor at 2, not from the tail
    EXPECT_EQ(list.getLinkSteps(), 14);
    list.get(8);  // one before the cursor: all the way from the head
    EXPECT_EQ(list.getLinkSteps(), 22);
}

TEST(ListCursors, InsertAndRemoveInvalidateTheAccessCursor) {
    List<int> list = numbers(10);
    list.get(4);
    list.resetLinkSteps();
    list.add(100);
    list.get(4);
    EXPECT_EQ(list.getLinkSteps(), 4);

    list.resetLinkSteps();
    list.removeAt(9);  // the walk to 9 goes from the cursor at 4
    EXPECT_EQ(list.getLinkSteps(), 5);
    list.get(4);
    EXPECT_EQ(list.getLinkSteps(), 9);
}

TEST(ListCursors, FirstAndLastLeaveTheCursorsAlone) {
    List<int> list = numbers(10);
    list.get(3);
    list.rewind();
    list.advance();
    EXPECT_EQ(list.getFirst(), 0);
    EXPECT_EQ(list.getLast(), 90);
    list.resetLinkSteps();
    list.get(4);
    EXPECT_EQ(list.getLinkSteps(), 1);
    EXPECT_EQ(list.current(), 10);
    EXPECT_EQ(list.getIterIndex(), 1);

    // clear drops the iteration node but keeps its position.
    list.advance();
    list.clear();
    EXPECT_FALSE(list.hasCurrent());
    EXPECT_EQ(list.getIterIndex(), 2);
    EXPECT_EQ(list.getHead(), nullptr);
    EXPECT_EQ(list.getTail(), nullptr);
}

TEST(ListCursors, AssignmentReadsTheSourceAscending) {
    List<int> source = numbers(50);
    source.resetLinkSteps();
    List<int> copy;
    copy = source;
    EXPECT_EQ(source.getLinkSteps(), 49);
    source.get(49);  // its cursor now stands on the last element
    EXPECT_EQ(source.getLinkSteps(), 49);
    EXPECT_EQ(contents(copy), contents(source));
    List<int>& alias = copy;
    copy = alias;  // self-assignment keeps every element
    EXPECT_EQ(contents(copy), contents(source));
}

TEST(ListRemoval, RemovingEndsKeepsTheLinksConsistent) {
    List<int> list = numbers(4);
    EXPECT_EQ(list.removeFirst(), 0);
    EXPECT_EQ(list.getHead()->prev, nullptr);
    EXPECT_EQ(list.removeAt(2), 30);
    EXPECT_EQ(list.getTail()->next, nullptr);
    EXPECT_EQ(list.removeNode(list.getHead()->next), 20);
    expectConsistent(list);
    EXPECT_EQ(list.removeAt(0), 10);
    EXPECT_EQ(list.getHead(), nullptr);
    EXPECT_EQ(list.getTail(), nullptr);
    EXPECT_EQ(list.getCount(), 0);
}

TEST(ListRemoval, WalkRemovesExactlyTheMatches) {
    List<int> list;
    for (int i = 1; i <= 10; ++i) list.add(i);
    std::vector<int> seen;
    for (list.rewind(); list.hasCurrent();) {
        const int value = list.current();
        seen.push_back(value);
        if (value % 2 == 0 || value == 9)
            list.removeCurrent();
        else
            list.advance();
    }
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(contents(list), (std::vector<int>{1, 3, 5, 7}));
    EXPECT_EQ(list.getIterIndex(), 4);
    expectConsistent(list);
}

TEST(ListRemoval, NoCurrentNodeIsAnAssertion) {
    List<int> list = numbers(2);
    EXPECT_THROW(list.removeCurrent(), Zep::AssertFailException);  // never rewound
    EXPECT_THROW(list.current(), Zep::AssertFailException);
    try {
        list.removeNode(nullptr);
        FAIL();
    } catch (const Zep::AssertFailException& e) {
        EXPECT_STREQ(e.getMessage(), "Assertion failed : node != nullptr");
    }
    EXPECT_EQ(contents(list), (std::vector<int>{0, 10}));
    // Removing the tail as the current node ends the walk.
    list.rewind();
    list.advance();
    list.removeCurrent();
    EXPECT_FALSE(list.hasCurrent());
    EXPECT_EQ(list.getIterIndex(), 1);
    EXPECT_EQ(contents(list), (std::vector<int>{0}));
}

TEST(ListRemoval, RemovingTheIterationNodeMovesTheIteration) {
    List<int> list = numbers(4);
    list.rewind();
    list.advance();  // on 10
    EXPECT_EQ(list.removeAt(1), 10);
    ASSERT_TRUE(list.hasCurrent());
    EXPECT_EQ(list.current(), 20);
    EXPECT_EQ(list.removeNode(list.getHead()->next), 20);
    EXPECT_EQ(list.current(), 30);
    list.removeAt(1);
    EXPECT_FALSE(list.hasCurrent());
    list.add(30);
    list.rewind();
    EXPECT_EQ(list.removeFirst(), 0);
    EXPECT_EQ(list.current(), 30);
}

TEST(ListHandles, CountsFollowInsertionRemovalAndClear) {
    std::vector<int> log;
    SmartPtr<Tracked> a = new Tracked(1, &log);
    SmartPtr<Tracked> b = new Tracked(2, &log);
    List<SmartPtr<Tracked>> list;
    list.add(a);
    list.add(b);
    list.add(a);
    EXPECT_EQ(a->getRefCount(), 3);
    EXPECT_EQ(b->getRefCount(), 2);
    {
        List<SmartPtr<Tracked>> copy(list);
        EXPECT_EQ(a->getRefCount(), 5);
    }
    EXPECT_EQ(a->getRefCount(), 3);
    list.removeAt(2);
    EXPECT_EQ(a->getRefCount(), 2);

    b = nullptr;
    SmartPtr<Tracked> kept = list.removeAt(1);  // the list's handle was the last
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(kept->getRefCount(), 1);
    kept = nullptr;
    EXPECT_EQ(log, (std::vector<int>{2}));

    a = nullptr;
    for (int i = 3; i <= 5; ++i) list.add(new Tracked(i, &log));
    list.clear();  // from head to tail
    EXPECT_EQ(log, (std::vector<int>{2, 1, 3, 4, 5}));
}

TEST(ListHandles, ListReferenceCountIsItsOwn) {
    SmartPtr<List<int>> held = new List<int>(numbers(3));
    SmartPtr<List<int>> again = held;
    EXPECT_EQ(held->getRefCount(), 2);
    List<int> copy(*held);
    EXPECT_EQ(copy.getRefCount(), 0);
    *held = numbers(5);
    EXPECT_EQ(held->getRefCount(), 2);
    EXPECT_EQ(held->getCount(), 5);
}

TEST(ListPointers, ClearLeavesObjectsDeleteAllDeletesThem) {
    std::vector<int> log;
    Tracked a(1, &log);
    List<Tracked*> borrowed;
    borrowed.add(&a);
    borrowed.clear();
    EXPECT_TRUE(log.empty());

    List<Tracked*> owned;
    owned.add(new Tracked(2, &log));
    owned.add(nullptr);
    owned.add(new Tracked(3, &log));
    owned.rewind();
    owned.deleteAll();
    EXPECT_EQ(log, (std::vector<int>{2, 3}));
    EXPECT_EQ(owned.getCount(), 0);
    EXPECT_FALSE(owned.hasCurrent());
}

TEST(ListMove, MovedFromListIsEmptyAndUsable) {
    List<int> source = numbers(3);
    List<int> target(std::move(source));
    EXPECT_EQ(contents(target), (std::vector<int>{0, 10, 20}));
    EXPECT_EQ(source.getCount(), 0);  // NOLINT(bugprone-use-after-move)
    source.add(1);
    target = std::move(source);
    EXPECT_EQ(contents(target), (std::vector<int>{1}));
}

namespace {

// Value record that logs its copies and destructions (as the game's scene and
// waypoint records are kept by value).
struct Record {
    Record(int id, std::vector<std::string>* log) : m_nId(id), m_pLog(log) {}
    Record(const Record& other) : m_nId(other.m_nId), m_pLog(other.m_pLog) {
        m_pLog->push_back("copy " + std::to_string(m_nId));
    }
    ~Record() { m_pLog->push_back("drop " + std::to_string(m_nId)); }
    int m_nId;
    std::vector<std::string>* m_pLog;
};

// A counted object kept by value: each copy has its own zero count.
struct Waypoint : Zep::RefCountedObject {
    explicit Waypoint(float y) : m_fY(y) {}
    float m_fY;
};

// Record holding handles and a String, as the scene reader keeps by value.
struct HandleRecord {
    List<SmartPtr<Tracked>> m_lSprites;
    String m_sName;
};

}  // namespace

TEST(ListValues, RecordsAreCopiedInAndDestroyedHeadFirst) {
    std::vector<std::string> log;
    {
        List<Record> list;
        Record one(1, &log);
        Record two(2, &log);
        list.add(one);
        list.add(two);
        log.clear();
        Record got = list.get(1);
        EXPECT_EQ(log, (std::vector<std::string>{"copy 2"}));
        log.clear();
        list.clear();
        EXPECT_EQ(log, (std::vector<std::string>{"drop 1", "drop 2"}));
        log.clear();
    }
    EXPECT_EQ(log, (std::vector<std::string>{"drop 2", "drop 2", "drop 1"}));
}

TEST(ListValues, CopiesAreDeepAndShareHandledObjects) {
    List<Waypoint> path;
    path.add(Waypoint(2.0f));
    path.add(Waypoint(4.5f));
    List<Waypoint> copy = path;
    EXPECT_EQ(copy[1].getRefCount(), 0);
    EXPECT_EQ(copy[1].m_fY, 4.5f);

    List<List<String>> table;
    table.add(List<String>{"a", "b"});
    List<List<String>> tableCopy = table;
    tableCopy[0].add("x");
    EXPECT_EQ(table[0].getCount(), 2);
    EXPECT_STREQ(tableCopy[0].join("").c_str(), "abx");

    std::vector<int> log;
    SmartPtr<Tracked> sprite = new Tracked(7, &log);
    HandleRecord record;
    record.m_lSprites.add(sprite);
    record.m_sName = "bar";
    {
        List<HandleRecord> list;
        list.add(record);
        list.add(record);
        EXPECT_EQ(sprite->getRefCount(), 4);
        EXPECT_STREQ(list.get(1).m_sName.c_str(), "bar");
    }
    EXPECT_EQ(sprite->getRefCount(), 2);
    EXPECT_TRUE(log.empty());
}

// Every element kind the system keeps in lists must build with every member
// its kind supports.
namespace listfixtures {
struct Entry {
    String m_sName;
    int32_t m_nScore = 0;
    bool operator<(const Entry& other) const { return m_nScore > other.m_nScore; }
    bool operator==(const Entry& other) const = default;
};
struct Style {
    virtual ~Style() = default;
};
enum Mode { kWindowed, kFullscreen };
}  // namespace listfixtures

template class Zep::List<int>;
template class Zep::List<float>;
template class Zep::List<bool>;
template class Zep::List<listfixtures::Mode>;
template class Zep::List<String>;
template class Zep::List<SmartPtr<Tracked>>;
template class Zep::List<listfixtures::Style*>;
template class Zep::List<void*>;
template class Zep::List<List<String>>;
template class Zep::List<listfixtures::Entry>;
template class Zep::List<List<listfixtures::Entry>>;
