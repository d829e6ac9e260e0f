#include <random>

#include <zep2/list.h>

#include "test_util.h"

using Zep::List;
using Zep::SmartPtr;
using Zep::String;

namespace {
using Ints = std::vector<int>;
using Log = std::vector<std::string>;
using Calls = std::vector<std::pair<std::function<void()>, std::string>>;

// Logs its copies and destructions; counted, so lists may hold handles to
// it as well as copies of it. A copy of id 0 throws.
struct Tracked : Zep::RefCountedObject {
    Tracked(int id, Log* log) : m_nId(id), m_pLog(log) {}
    Tracked(const Tracked& other) : RefCountedObject(other), m_nId(other.m_nId), m_pLog(other.m_pLog) {
        if (m_nId == 0) throw Zep::BadStateException("test", 1, "copy refused");
        m_pLog->push_back("copy " + std::to_string(m_nId));
    }
    ~Tracked() override { m_pLog->push_back("drop " + std::to_string(m_nId)); }
    int m_nId;
    Log* m_pLog;
};

List<int> numbers(int n) {
    List<int> list;
    for (int i = 0; i < n; ++i) list.add(i * 10);
    return list;
}

// The elements in link order, checking that the links agree both ways, end
// in nulls and match the count.
template <class T>
std::vector<T> linked(const List<T>& list) {
    std::vector<T> seen;
    const Zep::ListNode<T>* prev = nullptr;
    for (auto* node = list.getHead(); node != nullptr; prev = node, node = node->next) {
        EXPECT_EQ(node->prev, prev);
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
}  // namespace

TEST(ListIndex, OutOfRangeMessagesNameIndexAndCount) {
    List<int> list = numbers(3), empty;
    const Calls cases = {
        {[&] { list.getNode(3); }, "3 (have 3)"},     {[&] { list.get(-1); }, "-1 (have 3)"},
        {[&] { list.insertAt(5, 9); }, "4 (have 3)"}, {[&] { list.insertAt(-1, 9); }, "-2 (have 3)"},
        {[&] { empty.removeAt(0); }, "0 (have 0)"},   {[&] { empty.getFirst(); }, "0 (have 0)"},
        {[&] { empty.getLast(); }, "0 (have 0)"},     {[&] { empty.removeFirst(); }, "0 (have 0)"},
    };  // insertAt names the index before
    for (const auto& [call, text] : cases)
        EXPECT_EQ(testutil::describe(call), "FatalErrorException [list_impl]: List index out of range : " + text);
    list.insertAt(3, 30);
    list.insertAt(1, 5);
    empty.insertAt(0, 7);
    EXPECT_TRUE(linked(list) == (Ints{0, 5, 10, 20, 30}) && linked(empty) == Ints{7});
}

TEST(ListIndex, AccessCursorWalksForwardOrRestartsFromTheHead) {
    List<int> list = numbers(100);
    list.resetLinkSteps();
    long sum = 0;
    for (int i = 0; i < list.getCount(); ++i) sum += list[i];
    EXPECT_TRUE(sum == 49500 && list.getLinkSteps() == 99);  // an ascending loop follows each link once
    // Forward from the cursor, else from the head; first, last and the
    // iteration leave it alone, adding drops it, removing walks from it first.
    list = numbers(10);
    list.resetLinkSteps();
    const std::pair<std::function<void()>, int> steps[] = {
        {[&] { list.get(5); }, 5},  {[&] { list.get(2); }, 7},  {[&] { list.get(9); }, 14},
        {[&] { list.get(8); }, 22}, {[&] { list.get(4); }, 26},
        {[&] { list.getFirst(), list.getLast(), list.rewind(), list.advance(), list.get(5); }, 27},
        {[&] { list.add(100), list.get(4); }, 31}, {[&] { list.removeAt(9); }, 36}, {[&] { list.get(4); }, 40}};
    for (const auto& [call, total] : steps) EXPECT_EQ((call(), list.getLinkSteps()), total);
    EXPECT_EQ(list.current(), 10);
    list.advance();
    list.clear();  // drops the iteration node but keeps its position
    EXPECT_FALSE(list.hasCurrent());

    List<int> source = numbers(50);  // assignment reads the source ascending
    source.resetLinkSteps();
    list = source;
    source.get(49);  // its cursor stands on the last element
    EXPECT_EQ(source.getLinkSteps(), 49);
    List<int>& alias = list;
    list = alias;  // self-assignment keeps every element
    EXPECT_TRUE(linked(list) == linked(source) && list.getIterIndex() == 2);
}

TEST(ListCopies, FailedElementCopyLeavesTheTargetAsItWas) {
    Log log;
    List<Tracked> target{Tracked(7, &log)}, source{Tracked(5, &log), Tracked(6, &log)};
    log.clear();
    target = source;  // copies first, then drops the old elements
    EXPECT_EQ(log, (Log{"copy 5", "copy 5", "drop 5", "copy 6", "copy 6", "drop 6", "drop 7"}));
    source.addFirst(Tracked(1, &log));
    source.add(Tracked(9, &log));
    source[3].m_nId = 0;  // its copy throws
    log.clear();
    EXPECT_THROW(target = source, Zep::BadStateException);
    ASSERT_EQ(log.size(), 12u);  // each element copied in twice, through the value parameter
    EXPECT_EQ(Log(log.end() - 3, log.end()), (Log{"drop 1", "drop 5", "drop 6"}));
    log.clear();
    Tracked got = target.get(1);
    target.clear();  // head first
    EXPECT_EQ(log, (Log{"copy 6", "drop 5", "drop 6"}));
}

TEST(ListRemoval, EndsNodesAndTheIterationCursor) {
    List<int> list = numbers(4);
    EXPECT_EQ(list.removeFirst() + list.removeAt(2) + list.removeNode(list.getHead()->next), 50);
    EXPECT_EQ(linked(list), (Ints{10}));
    // Never rewound: no current node.
    for (auto call : {+[](List<int>& l) { l.removeCurrent(); }, +[](List<int>& l) { l.current(); }})
        EXPECT_EQ(testutil::messageOf([&] { call(list); }), "Assertion failed : m_pIterNode != nullptr");
    EXPECT_EQ(testutil::messageOf([&] { list.removeNode(nullptr); }), "Assertion failed : node != nullptr");
    list.removeAt(0);
    for (int i = 1; i <= 10; ++i) list.add(i);
    Ints seen;
    for (list.rewind(); list.hasCurrent();) {
        seen.push_back(list.current());
        if (seen.back() % 2 == 0 || seen.back() == 9)
            list.removeCurrent();  // the iteration moves on to the next node
        else
            list.advance();
    }
    EXPECT_EQ(seen, (Ints{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_TRUE(linked(list) == (Ints{1, 3, 5, 7}) && list.getIterIndex() == 4);
    list.rewind();
    list.advance();
    EXPECT_EQ(list.removeAt(1) * 10 + list.current(), 35);  // any removal of the iteration node moves it on
    list.advance();
    list.removeFirst();
    list.removeNode(list.getTail());  // removing the tail ends the walk
    EXPECT_TRUE(!list.hasCurrent() && linked(list) == Ints{5});
}

TEST(ListHandles, CountsFollowInsertionRemovalAndClear) {
    Log log;
    SmartPtr<Tracked> a = new Tracked(1, &log), b = new Tracked(2, &log);
    List<SmartPtr<Tracked>> list{a, b, a};
    EXPECT_EQ(a->getRefCount() * 10 + b->getRefCount(), 32);
    EXPECT_EQ(List<SmartPtr<Tracked>>(list).get(0)->getRefCount(), 6);  // the copy and the get both hold it
    list.removeAt(2);
    b = nullptr;
    SmartPtr<Tracked> kept = list.removeAt(1);  // the list's handle was the last
    EXPECT_EQ(a->getRefCount() * 10 + kept->getRefCount(), 21);
    kept = a = nullptr;
    for (int i = 3; i <= 5; ++i) list.add(new Tracked(i, &log));
    list.clear();  // from head to tail
    SmartPtr<Tracked> c = new Tracked(6, &log), twin = new Tracked(6, &log);
    list = {SmartPtr<Tracked>(), c};
    EXPECT_EQ(list.indexOf(c) * 10 + list.indexOf(SmartPtr<Tracked>()) + list.indexOf(twin), 9);  // identity
    List<Tracked*> owned{new Tracked(7, &log), nullptr, new Tracked(8, &log)};
    owned.rewind();
    owned.deleteAll();
    EXPECT_EQ(log, (Log{"drop 2", "drop 1", "drop 3", "drop 4", "drop 5", "drop 7", "drop 8"}));
    EXPECT_TRUE(owned.isEmpty() && !owned.hasCurrent());

    SmartPtr<List<int>> held = new List<int>(numbers(3)), again = held;
    *held = numbers(5);  // lists own their counts
    EXPECT_EQ(held->getRefCount() * 10 + List<int>(*held).getRefCount(), 20);
    List<int> moved(std::move(*held));  // leaves a usable empty list
    EXPECT_EQ(linked(moved).size() * 10 + held->getCount(), 50u);
    held->add(1);
    moved = std::move(*held);
    EXPECT_EQ(linked(moved), (Ints{1}));
}

TEST(ListBulk, AddAllJoinIndexOfAndReverse) {
    List<String> list{"a", "b"}, self{"a", "b"}, front{"x", "y"}, target{"a", "b"};
    list.addAll(list);
    self.addAllFirst(self);  // prepends a copy of itself
    target.addAllFirst(front);
    target.addAll(front);
    EXPECT_STREQ((list.join("") + "|" + self.join(" ") + "|" + target.join(", ") + List<String>().join(", ")).c_str(),
                 "abab|a b a b|x, y, a, b, x, y");
    // indexOf finds the first equal element and leaves the cursor on it.
    List<String> names{"tom", "ann", "bob", "ann", "eve"};
    EXPECT_EQ(List<int>().indexOf(1) + names.indexOf("zed") + names.indexOf("ann") * 10, 8);
    names.resetLinkSteps();
    names.get(3);
    EXPECT_EQ(names.getLinkSteps(), 2);
    List<int> ints{1, 2, 3, 4}, empty;
    ints.get(1);
    ints.reverse();
    empty.reverse();
    EXPECT_TRUE(linked(ints) == (Ints{4, 3, 2, 1}) && linked(empty).empty());
    ints.resetLinkSteps();
    EXPECT_EQ(ints.get(2) + ints.getLinkSteps(), 4);  // the cursor was dropped: two steps
}

TEST(ListBulk, TakeAllMovesTheNodesThemselves) {
    List<int> target{1, 2}, source{3, 4}, empty;
    const Zep::ListNode<int>* pThree = source.getHead();
    target.get(1);
    target.takeAll(source);
    target.takeAll(target);
    empty.takeAll(target);
    EXPECT_TRUE(linked(empty) == (Ints{1, 2, 3, 4}) && linked(target).empty() && linked(source).empty());
    EXPECT_EQ(pThree, empty.getNode(2));
    EXPECT_EQ(4, empty.getCount());
    EXPECT_EQ(3, empty.get(2));
}

namespace {
// Ordered by key only; the tag shows where an equal one went. A String tag
// is not a plain byte copy, so that sort walks the links instead of a buffer.
template <class Tag>
struct Keyed {
    int m_nKey;
    Tag m_tag;
    bool operator<(const Keyed& other) const { return m_nKey < other.m_nKey; }
};
using Tagged = Keyed<char>;
using NamedTag = Keyed<String>;

template <class T>
std::string spell(const List<T>& list) {
    std::string text;
    for (const T& t : list)
        text.append(text.empty() ? "" : " ").append(std::to_string(t.m_nKey)).append(String(t.m_tag).c_str());
    return text;
}

// Counts the copies the sort makes to pass elements by value.
struct Point {
    static inline int s_nCopies = 0;
    explicit Point(float x) : m_fX(x) {}
    Point(const Point& other) : m_fX(other.m_fX) { ++s_nCopies; }
    Point& operator=(const Point&) = default;
    float m_fX;
};
}  // namespace

TEST(ListSort, OrdersReversesTiesAndRelinksTheNodes) {
    List<int> list{5, 3, 1, 4, 1};
    std::vector<const int*> before;
    for (const int& v : list) before.push_back(&v);
    list.get(4);
    list.sort();
    EXPECT_EQ(linked(list), (Ints{1, 1, 3, 4, 5}));
    // The later of the two 1s: relinked, not copied.
    EXPECT_TRUE(&list.getHead()->data == before[4] && &list.getTail()->data == before[0]);
    list.resetLinkSteps();
    EXPECT_EQ(list.get(2) + list.getLinkSteps(), 5);  // the next access walks from the head
    List<Tagged> five{{1, 'a'}, {2, 'a'}, {1, 'b'}, {0, 0}, {2, 'b'}};
    five.sort();
    EXPECT_EQ(spell(five), "0 1b 1a 2b 2a");
    List<Point> points{Point(1), Point(3), Point(2)};
    Point::s_nCopies = 0;
    int nCalls = 0;
    points.sort([](Point a, Point b, void* calls) { return ++*static_cast<int*>(calls), a.m_fX > b.m_fX; }, &nCalls);
    // The comparison gets copies and the user data.
    EXPECT_TRUE(nCalls == 3 && Point::s_nCopies == 6 && points.get(0).m_fX - points.get(2).m_fX == 2.0f);
}

TEST(ListSort, AnyInputGivesTheStableOrderOfItsReverseOnBothPaths) {
    // Byte-copyable elements are merged in a side buffer, others along the
    // links: the comparisons must be the very same.
    std::mt19937 rng(12345);
    for (int n : {0, 1, 2, 5, 7, 12, 100}) {
        List<Tagged> plain;
        List<NamedTag> named;
        std::vector<Tagged> reversed;
        for (int i = n - 1; i >= 0; --i) {
            Tagged t{n == 5 ? 4 : static_cast<int>(rng() % 10), static_cast<char>('A' + i % 50)};
            plain.addFirst(t);
            named.addFirst(NamedTag{t.m_nKey, String(t.m_tag)});
            reversed.push_back(t);
        }
        std::stable_sort(reversed.begin(), reversed.end());
        std::string expected, plainCalls, namedCalls;
        for (const Tagged& t : reversed)
            expected.append(expected.empty() ? "" : " ").append(std::to_string(t.m_nKey)).append(1, t.m_tag);
        plain.sortWith([&](const Tagged& a, const Tagged& b) { return plainCalls += {a.m_tag, b.m_tag}, a < b; });
        named.sortWith([&](const NamedTag& a, const NamedTag& b) {
            return namedCalls += std::string(a.m_tag.c_str()) + b.m_tag.c_str(), a < b;
        });
        EXPECT_EQ(spell(plain), expected) << n;
        EXPECT_EQ(spell(named), expected) << n;
        EXPECT_EQ(plainCalls, namedCalls) << n;
    }
}

TEST(ListSort, ThrowingComparisonKeepsEveryNode) {
    // Throw at every possible comparison in turn, on both paths.
    const List<int> ints{9, 4, 7, 1, 8, 2, 6, 3, 5, 0, 11, 10};
    const List<String> words{"pear", "fig", "kiwi", "apple", "lime", "date", "plum", "yuzu", "sloe"};
    for (int failAt = 1; failAt < 40; ++failAt) {
        List<int> list(ints);
        List<String> named(words);
        named.get(4);
        int calls = 0;
        auto boom = [&] {
            if (++calls == failAt) throw Zep::BadStateException("test", 1, "boom");
        };
        testutil::messageOf([&] { list.sortWith([&](int a, int b) { return boom(), a < b; }); });
        calls = 0;
        testutil::messageOf([&] { named.sortWith([&](const String& a, const String& b) { return boom(), a < b; }); });
        EXPECT_TRUE(sorted(linked(list)) == sorted(linked(ints)) && sorted(linked(named)) == sorted(linked(words)));
        list.sort();  // still a working list
        EXPECT_EQ(linked(list), sorted(linked(ints)));
        named.resetLinkSteps();
        EXPECT_TRUE(named.get(8) == named.getLast() && named.getLinkSteps() == 8);  // the access cursor was dropped
    }
}

// Every element kind the system keeps in lists must build with every member
// its kind supports (named, not anonymous, for the explicit instantiations).
namespace listfixtures {
struct Sprite : Zep::RefCountedObject {};
struct Style { virtual ~Style() = default; };
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
