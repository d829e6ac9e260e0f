#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "test_util.h"
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

// The elements in link order, checking that the links agree in both
// directions, end in nulls and match the count.
template <class T>
std::vector<T> linked(const List<T>& list) {
    std::vector<T> seen;
    const Zep::ListNode<T>* prev = nullptr;
    for (auto* node = list.getHead(); node != nullptr; node = node->next) {
        EXPECT_EQ(node->prev, prev);
        prev = node;
        seen.push_back(node->data);
    }
    EXPECT_EQ(list.getTail(), prev);
    EXPECT_EQ(static_cast<int>(seen.size()), list.getCount());
    return seen;
}

template <class T>
std::vector<T> sorted(std::vector<T> v) {
    std::sort(v.begin(), v.end());
    return v;
}

std::string rangeMessage(auto&& call) {
    try {
        call();
    } catch (const Zep::FatalErrorException& e) {
        EXPECT_STREQ(e.getFile(), "list_impl");
        return e.getMessage();
    }
    return "(nothing thrown)";
}

using Ints = std::vector<int>;

}  // namespace

TEST(ListIndex, OutOfRangeMessagesNameIndexAndCount) {
    List<int> list = numbers(3);
    EXPECT_EQ(rangeMessage([&] { list.getNode(3); }), "List index out of range : 3 (have 3)");
    EXPECT_EQ(rangeMessage([&] { list.get(-1); }), "List index out of range : -1 (have 3)");
    // insertAt names the index before.
    EXPECT_EQ(rangeMessage([&] { list.insertAt(5, 99); }), "List index out of range : 4 (have 3)");
    EXPECT_EQ(rangeMessage([&] { list.insertAt(-1, 99); }), "List index out of range : -2 (have 3)");
    list.insertAt(3, 30);
    list.insertAt(1, 5);
    EXPECT_EQ(linked(list), (Ints{0, 5, 10, 20, 30}));

    List<int> empty;
    for (auto call : {+[](List<int>& l) { l.removeAt(0); }, +[](List<int>& l) { l.getFirst(); },
                      +[](List<int>& l) { l.getLast(); }, +[](List<int>& l) { l.removeFirst(); }})
        EXPECT_EQ(rangeMessage([&] { call(empty); }), "List index out of range : 0 (have 0)");
    empty.insertAt(0, 7);
    EXPECT_EQ(linked(empty), (Ints{7}));
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
    for (auto [nIndex, nSteps] : {std::pair{5, 5}, {2, 7}, {9, 14}, {8, 22}}) {
        list.get(nIndex);  // forward from the cursor, else all the way from the head
        EXPECT_EQ(list.getLinkSteps(), nSteps) << nIndex;
    }
    // Inserting and removing drop the cursor; removing walks from it first.
    list.get(4);
    list.resetLinkSteps();
    list.add(100);
    list.get(4);
    EXPECT_EQ(list.getLinkSteps(), 4);
    list.removeAt(9);
    EXPECT_EQ(list.getLinkSteps(), 9);
    list.get(4);
    EXPECT_EQ(list.getLinkSteps(), 13);
}

TEST(ListCursors, FirstLastAndClearLeaveTheCursorsAlone) {
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
    EXPECT_EQ(linked(list), Ints{});

    List<int> source = numbers(50);  // assignment reads the source ascending
    source.resetLinkSteps();
    list = source;
    EXPECT_EQ(source.getLinkSteps(), 49);
    source.get(49);  // its cursor now stands on the last element
    EXPECT_EQ(source.getLinkSteps(), 49);
    List<int>& alias = list;
    list = alias;  // self-assignment keeps every element
    EXPECT_EQ(linked(list), linked(source));
}

TEST(ListRemoval, EndsNodesAndWalks) {
    List<int> list = numbers(4);
    EXPECT_EQ(list.removeFirst(), 0);
    EXPECT_EQ(list.removeAt(2), 30);
    EXPECT_EQ(list.removeNode(list.getHead()->next), 20);
    EXPECT_EQ(linked(list), (Ints{10}));
    EXPECT_EQ(list.removeAt(0), 10);
    EXPECT_EQ(linked(list), Ints{});

    for (int i = 1; i <= 10; ++i) list.add(i);
    Ints seen;
    for (list.rewind(); list.hasCurrent();) {
        const int value = list.current();
        seen.push_back(value);
        if (value % 2 == 0 || value == 9)
            list.removeCurrent();
        else
            list.advance();
    }
    EXPECT_EQ(seen, (Ints{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(linked(list), (Ints{1, 3, 5, 7}));
    EXPECT_EQ(list.getIterIndex(), 4);
}

TEST(ListRemoval, NoCurrentNodeIsAnAssertionAndTheIterationMovesOn) {
    List<int> list = numbers(2);
    EXPECT_THROW(list.removeCurrent(), Zep::AssertFailException);  // never rewound
    EXPECT_THROW(list.current(), Zep::AssertFailException);
    EXPECT_EQ(testutil::messageOf<Zep::AssertFailException>([&] { list.removeNode(nullptr); }),
              "Assertion failed : node != nullptr");
    // Removing the tail as the current node ends the walk.
    list.rewind();
    list.advance();
    list.removeCurrent();
    EXPECT_FALSE(list.hasCurrent());
    EXPECT_EQ(list.getIterIndex(), 1);
    EXPECT_EQ(linked(list), (Ints{0}));

    // Removing the iteration node otherwise moves the iteration to the next.
    list = numbers(4);
    list.rewind();
    list.advance();
    EXPECT_EQ(list.removeAt(1), 10);
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
    EXPECT_EQ(log, (Ints{2}));

    a = nullptr;
    for (int i = 3; i <= 5; ++i) list.add(new Tracked(i, &log));
    list.clear();  // from head to tail
    EXPECT_EQ(log, (Ints{2, 1, 3, 4, 5}));

    // Handles compare by identity.
    SmartPtr<Tracked> c = new Tracked(6, &log), twin = new Tracked(6, &log);
    list.add(SmartPtr<Tracked>());
    list.add(c);
    EXPECT_EQ(list.indexOf(c), 1);
    EXPECT_EQ(list.indexOf(twin), -1);
    EXPECT_EQ(list.indexOf(SmartPtr<Tracked>()), 0);
    EXPECT_EQ(c->getRefCount(), 2);
}

TEST(ListHandles, ListsOwnTheirCountsAndMovedFromListsStayUsable) {
    SmartPtr<List<int>> held = new List<int>(numbers(3));
    SmartPtr<List<int>> again = held;
    EXPECT_EQ(held->getRefCount(), 2);
    List<int> copy(*held);
    EXPECT_EQ(copy.getRefCount(), 0);
    *held = numbers(5);
    EXPECT_EQ(held->getRefCount(), 2);
    EXPECT_EQ(held->getCount(), 5);

    List<int> target(std::move(copy));
    EXPECT_EQ(linked(target), (Ints{0, 10, 20}));
    EXPECT_EQ(copy.getCount(), 0);  // NOLINT(bugprone-use-after-move)
    copy.add(1);
    target = std::move(copy);
    EXPECT_EQ(linked(target), (Ints{1}));
}

TEST(ListPointers, DeleteAllDeletesThemSkippingNulls) {
    std::vector<int> log;
    List<Tracked*> owned;
    owned.add(new Tracked(2, &log));
    owned.add(nullptr);
    owned.add(new Tracked(3, &log));
    owned.rewind();
    owned.deleteAll();
    EXPECT_EQ(log, (Ints{2, 3}));
    EXPECT_EQ(owned.getCount(), 0);
    EXPECT_FALSE(owned.hasCurrent());
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

TEST(ListBulk, AddAllJoinIndexOfAndReverse) {
    List<String> list{"a", "b"};
    list.addAll(list);
    EXPECT_STREQ(list.join("").c_str(), "abab");
    List<String> self{"a", "b"};
    self.addAllFirst(self);  // prepends a copy of itself
    EXPECT_STREQ(self.join(" ").c_str(), "a b a b");
    List<String> front{"x", "y"};
    List<String> target{"a", "b"};
    target.addAllFirst(front);
    target.addAll(front);
    EXPECT_STREQ(target.join(", ").c_str(), "x, y, a, b, x, y");
    EXPECT_STREQ(List<String>().join(", ").c_str(), "");

    // indexOf finds the first equal element and leaves the cursor on the last one looked at.
    EXPECT_EQ(List<int>().indexOf(1), -1);
    List<String> names{"tom", "ann", "bob", "ann", "eve"};
    EXPECT_EQ(names.indexOf("ann"), 1);
    EXPECT_EQ(names.indexOf("zed"), -1);
    EXPECT_EQ(names.indexOf("bob"), 2);
    names.resetLinkSteps();
    names.get(3);
    EXPECT_EQ(names.getLinkSteps(), 1);

    List<int> ints{1, 2, 3, 4};
    ints.get(1);
    ints.reverse();
    EXPECT_EQ(linked(ints), (Ints{4, 3, 2, 1}));
    ints.resetLinkSteps();
    EXPECT_EQ(ints.get(2), 2);
    EXPECT_EQ(ints.getLinkSteps(), 2);
    List<int> empty;
    empty.reverse();
    EXPECT_EQ(linked(empty), Ints{});
}

namespace {

// An element ordered by its key only; the tag shows where an equal one went.
struct Tagged {
    int m_nKey;
    char m_cTag;
    bool operator<(const Tagged& other) const { return m_nKey < other.m_nKey; }
};

// The same with a String tag: not a plain byte copy, so the sort walks the
// links instead of working on a side buffer.
struct NamedTag {
    int m_nKey;
    String m_sTag;
    bool operator<(const NamedTag& other) const { return m_nKey < other.m_nKey; }
};

template <class T>
std::string spell(const List<T>& list) {
    std::string text;
    for (const T& t : list) {
        text += (text.empty() ? "" : " ") + std::to_string(t.m_nKey);
        if constexpr (std::is_same_v<T, Tagged>) {
            if (t.m_cTag) text += t.m_cTag;
        } else {
            text += t.m_sTag.c_str();
        }
    }
    return text;
}

// A highscore row: the higher score sorts first.
struct Entry {
    String m_sName;
    int32_t m_nScore = 0;
    bool operator<(const Entry& other) const { return m_nScore > other.m_nScore; }
};

// Counts the copies the sort makes to pass elements by value.
struct Point {
    static inline int s_nCopies = 0;
    explicit Point(float x) : m_fX(x) {}
    Point(const Point& other) : m_fX(other.m_fX) { ++s_nCopies; }
    Point& operator=(const Point&) = default;
    float m_fX;
};

}  // namespace

TEST(ListSort, OrdersAndReversesTies) {
    List<int> list{3, 1, 2};
    list.get(2);
    list.sort();
    EXPECT_EQ(linked(list), (Ints{1, 2, 3}));
    list.resetLinkSteps();
    EXPECT_EQ(list.get(2), 3);
    EXPECT_EQ(list.getLinkSteps(), 2);  // the next access walks from the head
    List<Tagged> five{{1, 'a'}, {2, 'a'}, {1, 'b'}, {0, 0}, {2, 'b'}};
    five.sort();
    EXPECT_EQ(spell(five), "0 1b 1a 2b 2a");
    List<NamedTag> equal{{4, "a"}, {4, "b"}, {4, "c"}, {4, "d"}, {4, "e"}};
    equal.sort();
    EXPECT_EQ(spell(equal), "4e 4d 4c 4b 4a");

    List<Entry> table{{"ann", 300}, {"bob", 500}, {"cid", 300}, {"dee", 100}, {"eve", 500}};
    table.sort();
    std::string order;
    for (const Entry& e : table) order += std::string(e.m_sName.c_str()) + "=" + std::to_string(e.m_nScore) + " ";
    EXPECT_EQ(order, "eve=500 bob=500 cid=300 ann=300 dee=100 ");
}

TEST(ListSort, EqualElementsComeOutInReverseOrder) {
    // Any input: the result is the stable order of the reversed input.
    std::mt19937 rng(12345);
    for (int n : {0, 1, 2, 7, 100}) {
        List<Tagged> plain;
        List<NamedTag> named;
        std::vector<Tagged> reversed;
        for (int i = n - 1; i >= 0; --i) {
            Tagged t{static_cast<int>(rng() % 10), static_cast<char>('A' + i % 50)};
            plain.addFirst(t);
            named.addFirst(NamedTag{t.m_nKey, String(t.m_cTag)});
            reversed.push_back(t);
        }
        std::stable_sort(reversed.begin(), reversed.end());
        std::string sExpected;
        for (const Tagged& t : reversed)
            sExpected += (sExpected.empty() ? "" : " ") + std::to_string(t.m_nKey) + t.m_cTag;
        plain.sort();
        named.sort();
        EXPECT_EQ(spell(plain), sExpected) << n;
        EXPECT_EQ(spell(named), sExpected) << n;
    }
}

TEST(ListSort, BothWaysMakeTheSameComparisonsAndRelinkTheNodes) {
    std::vector<std::pair<int, int>> plainCalls, namedCalls;
    List<int> plain{5, 3, 5, 1, 4, 1, 5, 9, 2, 6, 5, 3};
    List<String> named;
    for (int v : plain) named.add(String::format("%d", v));
    std::vector<const int*> before;
    for (const int& v : plain) before.push_back(&v);
    plain.sortWith([&](const int& a, const int& b) {
        plainCalls.emplace_back(a, b);
        return a < b;
    });
    named.sortWith([&](const String& a, const String& b) {
        namedCalls.emplace_back(a.toInt(), b.toInt());
        return a.toInt() < b.toInt();
    });
    EXPECT_EQ(plainCalls, namedCalls);
    EXPECT_FALSE(plainCalls.empty());
    // The nodes are relinked, not copied into new ones.
    EXPECT_EQ(&plain.getHead()->data, before[5]);  // the later of the two 1s
    EXPECT_EQ(&plain.getTail()->data, before[7]);
    EXPECT_EQ(linked(plain), sorted(linked(plain)));
}

TEST(ListSort, ComparisonFunctionGetsCopiesAndUserData) {
    List<Point> points{Point(1), Point(3), Point(2)};
    Point::s_nCopies = 0;
    int nCalls = 0;
    points.sort(
        [](Point a, Point b, void* userData) {
            ++*static_cast<int*>(userData);
            return a.m_fX > b.m_fX;
        },
        &nCalls);
    EXPECT_GT(nCalls, 0);
    EXPECT_EQ(Point::s_nCopies, 2 * nCalls);
    EXPECT_EQ(points.get(0).m_fX, 3.0f);
    EXPECT_EQ(points.get(2).m_fX, 1.0f);
}

TEST(ListSort, ThrowingComparisonKeepsEveryNode) {
    // Throw at every possible comparison in turn, in both ways of sorting.
    const Ints ints{9, 4, 7, 1, 8, 2, 6, 3, 5, 0, 11, 10};
    const std::vector<String> words{"pear", "fig", "kiwi", "apple", "lime", "date", "plum", "yuzu", "sloe"};
    for (int failAt = 1; failAt < 40; ++failAt) {
        List<int> list;
        for (int v : ints) list.add(v);
        List<String> named;
        for (const String& w : words) named.add(w);
        named.get(4);
        int calls = 0;
        auto boom = [&] {
            if (++calls == failAt) throw Zep::BadStateException("test", 1, "boom");
        };
        try {
            list.sortWith([&](const int& a, const int& b) { return boom(), a < b; });
        } catch (const Zep::BadStateException&) {
        }
        EXPECT_EQ(sorted(linked(list)), sorted(ints));
        list.sort();  // still a working list
        EXPECT_EQ(linked(list), sorted(ints));

        calls = 0;
        try {
            named.sortWith([&](const String& a, const String& b) { return boom(), a < b; });
        } catch (const Zep::BadStateException&) {
        }
        EXPECT_EQ(sorted(linked(named)), sorted(words));
        named.resetLinkSteps();
        EXPECT_EQ(named.get(8), named.getLast());  // the access cursor was dropped
        EXPECT_EQ(named.getLinkSteps(), 8);
    }
}

// Every element kind the system keeps in lists must build with every member
// its kind supports (named, not anonymous, for the explicit instantiations).
namespace listfixtures {
struct Sprite : Zep::RefCountedObject {};
struct Style {
    virtual ~Style() = default;
};
struct Entry {
    String m_sName;
    bool operator<(const Entry& other) const { return m_sName < other.m_sName; }
    bool operator==(const Entry& other) const = default;
};
}  // namespace listfixtures

template class Zep::List<int>;
template class Zep::List<String>;
template class Zep::List<SmartPtr<listfixtures::Sprite>>;
template class Zep::List<listfixtures::Style*>;
template class Zep::List<List<String>>;
template class Zep::List<listfixtures::Entry>;
template class Zep::List<List<listfixtures::Entry>>;
