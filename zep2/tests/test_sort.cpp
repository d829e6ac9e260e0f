#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "zep2/list.h"

using Zep::List;
using Zep::SmartPtr;
using Zep::String;

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
        if (!text.empty()) text += ' ';
        text += std::to_string(t.m_nKey);
        if constexpr (std::is_same_v<T, Tagged>) {
            if (t.m_cTag) text += t.m_cTag;
        } else {
            text += t.m_sTag.c_str();
        }
    }
    return text;
}

template <class T>
std::vector<T> contents(const List<T>& list) {
    return std::vector<T>(list.begin(), list.end());
}

// Links must agree both ways and the elements be the ones put in.
template <class T>
void expectIntact(const List<T>& list, std::vector<T> expected) {
    std::vector<T> seen;
    const Zep::ListNode<T>* prev = nullptr;
    for (auto* node = list.getHead(); node != nullptr; node = node->next) {
        EXPECT_EQ(node->prev, prev);
        prev = node;
        seen.push_back(node->data);
    }
    EXPECT_EQ(list.getTail(), prev);
    EXPECT_EQ(static_cast<int>(seen.size()), list.getCount());
    std::sort(seen.begin(), seen.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(seen, expected);
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
    list.sort();
    EXPECT_EQ(contents(list), (std::vector<int>{1, 2, 3}));
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
    std::printf("highscores after sort: %s\n", order.c_str());
    EXPECT_EQ(order, "eve=500 bob=500 cid=300 ann=300 dee=100 ");
}

TEST(ListSort, EqualElementsComeOutInReverseOrder) {
    // Any input: the result is the stable order of the reversed input.
    std::mt19937 rng(12345);
    for (int n : {0, 1, 2, 7, 100}) {
        List<Tagged> plain;
        List<NamedTag> named;
        List<Tagged> expected;
        for (int i = n - 1; i >= 0; --i) {
            Tagged t{static_cast<int>(rng() % 10), static_cast<char>('A' + i % 50)};
            plain.addFirst(t);
            named.addFirst(NamedTag{t.m_nKey, String(t.m_cTag)});
            expected.add(t);
        }
        std::vector<Tagged> stable = contents(expected);
        std::stable_sort(stable.begin(), stable.end());
        plain.sort();
        named.sort();
        std::string sExpected;
        for (const Tagged& t : stable) sExpected += (sExpected.empty() ? "" : " ") + std::to_string(t.m_nKey) + t.m_cTag;
        EXPECT_EQ(spell(plain), sExpected) << n;
        EXPECT_EQ(spell(named), sExpected) << n;
    }
}

TEST(ListSort, BothWaysMakeTheSameComparisons) {
    std::vector<std::pair<int, int>> plainCalls, namedCalls;
    List<int> plain{5, 3, 5, 1, 4, 1, 5, 9, 2, 6, 5, 3};
    List<String> named;
    for (int v : plain) named.add(String::format("%d", v));
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
}

TEST(ListSort, RelinksNodesAndTheNextAccessWalksFromTheHead) {
    List<int> list{5, 3, 9, 1};
    std::vector<const int*> before;
    for (const int& v : list) before.push_back(&v);
    list.get(2);
    list.sort();
    std::vector<const int*> after;
    for (const int& v : list) after.push_back(&v);
    EXPECT_EQ(after, (std::vector<const int*>{before[3], before[1], before[0], before[2]}));
    expectIntact(list, {1, 3, 5, 9});
    list.resetLinkSteps();
    EXPECT_EQ(list.get(3), 9);
    EXPECT_EQ(list.getLinkSteps(), 3);

    List<int> empty;
    empty.sort();
    EXPECT_EQ(empty.getCount(), 0);
}

TEST(ListSort, ComparisonFunctionGetsCopiesAndUserData) {
    List<int> list{2, 7, 1, 8, 2, 8};
    int nCalls = 0;
    list.sort(
        [](int a, int b, void* userData) {
            ++*static_cast<int*>(userData);
            return a > b;
        },
        &nCalls);
    EXPECT_EQ(contents(list), (std::vector<int>{8, 8, 7, 2, 2, 1}));
    EXPECT_GT(nCalls, 0);

    List<Point> points{Point(3), Point(1), Point(2)};
    Point::s_nCopies = 0;
    nCalls = 0;
    points.sort(
        [](Point a, Point b, void* userData) {
            ++*static_cast<int*>(userData);
            return a.m_fX < b.m_fX;
        },
        &nCalls);
    EXPECT_EQ(Point::s_nCopies, 2 * nCalls);
    EXPECT_EQ(points.get(0).m_fX, 1.0f);
    EXPECT_EQ(points.get(2).m_fX, 3.0f);
}

TEST(ListSort, ThrowingComparisonKeepsEveryNode) {
    // Throw at every possible comparison in turn, in both ways of sorting.
    const std::vector<int> ints{9, 4, 7, 1, 8, 2, 6, 3, 5, 0, 11, 10};
    const std::vector<String> words{"pear", "fig", "kiwi", "apple", "lime", "date", "plum", "yuzu", "sloe"};
    for (int failAt = 1; failAt < 40; ++failAt) {
        List<int> list;
        for (int v : ints) list.add(v);
        int calls = 0;
        try {
            list.sortWith([&](const int& a, const int& b) {
                if (++calls == failAt) throw Zep::BadStateException("test", 1, "boom");
                return a < b;
            });
        } catch (const Zep::BadStateException&) {
        }
        expectIntact(list, ints);
        list.sort();  // still a working list
        EXPECT_EQ(list.getFirst(), 0);
        EXPECT_EQ(list.getLast(), 11);
    }
    for (int failAt = 1; failAt < 25; ++failAt) {
        List<String> list;
        for (const String& w : words) list.add(w);
        list.get(4);
        int calls = 0;
        try {
            list.sortWith([&](const String& a, const String& b) {
                if (++calls == failAt) throw Zep::BadStateException("test", 1, "boom");
                return a < b;
            });
        } catch (const Zep::BadStateException&) {
        }
        expectIntact(list, words);
        list.resetLinkSteps();
        EXPECT_EQ(list.get(8), list.getLast());  // the access cursor was dropped
        EXPECT_EQ(list.getLinkSteps(), 8);
    }
}

TEST(ListReverse, SwapsEveryLink) {
    List<int> ints{1, 2, 3, 4};
    ints.get(1);
    ints.reverse();
    expectIntact(ints, {1, 2, 3, 4});
    EXPECT_EQ(contents(ints), (std::vector<int>{4, 3, 2, 1}));
    ints.resetLinkSteps();
    EXPECT_EQ(ints.get(2), 2);
    EXPECT_EQ(ints.getLinkSteps(), 2);
    List<int> empty;
    empty.reverse();
    EXPECT_EQ(empty.getHead(), nullptr);
}

TEST(ListBulk, AddAllAddAllFirstAndJoin) {
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
    EXPECT_EQ(front.getCount(), 2);
    EXPECT_STREQ(List<String>().join(", ").c_str(), "");
    EXPECT_STREQ(List<String>{"only"}.join(", ").c_str(), "only");
}

TEST(ListSearch, IndexOfFindsTheFirstEqualElement) {
    EXPECT_EQ(List<int>().indexOf(1), -1);
    List<String> names{"tom", "ann", "bob", "ann", "eve"};
    EXPECT_EQ(names.indexOf("ann"), 1);
    EXPECT_EQ(names.indexOf("zed"), -1);
    names.resetLinkSteps();
    names.get(2);  // the search left the cursor on the last element
    EXPECT_EQ(names.getLinkSteps(), 2);
    EXPECT_EQ(names.indexOf("bob"), 2);
    names.resetLinkSteps();
    names.get(3);
    EXPECT_EQ(names.getLinkSteps(), 1);

    // Handles compare by identity.
    struct Item : Zep::RefCountedObject {};
    SmartPtr<Item> a = new Item;
    SmartPtr<Item> twin = new Item;
    List<SmartPtr<Item>> handles;
    handles.add(SmartPtr<Item>());
    handles.add(a);
    EXPECT_EQ(handles.indexOf(a), 1);
    EXPECT_EQ(handles.indexOf(twin), -1);
    EXPECT_EQ(handles.indexOf(SmartPtr<Item>()), 0);
    EXPECT_EQ(a->getRefCount(), 2);
}
