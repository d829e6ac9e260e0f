#include <gtest/gtest.h>

#include <algorithm>
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

std::string spell(const List<Tagged>& list) {
    std::string text;
    for (const Tagged& t : list) {
        if (!text.empty()) text += ' ';
        text += std::to_string(t.m_nKey);
        if (t.m_cTag) text += t.m_cTag;
    }
    return text;
}

template <class T>
std::vector<T> contents(const List<T>& list) {
    return std::vector<T>(list.begin(), list.end());
}

void expectConsistent(const List<int>& list) {
    int n = 0;
    const Zep::ListNode<int>* prev = nullptr;
    for (auto* node = list.getHead(); node != nullptr; node = node->next) {
        EXPECT_EQ(node->prev, prev);
        prev = node;
        ++n;
    }
    EXPECT_EQ(list.getTail(), prev);
    EXPECT_EQ(n, list.getCount());
}

// A highscore row: the higher score sorts first.
struct Entry {
    String m_sName;
    int32_t m_nScore = 0;
    bool isHigherThan(const Entry& other) const { return m_nScore > other.m_nScore; }
    bool operator<(const Entry& other) const { return isHigherThan(other); }
};

// Counts the copies the sort makes to pass elements by value.
struct Point {
    static inline int s_nCopies = 0;
    Point(float x, float y) : m_fX(x), m_fY(y) {}
    Point(const Point& other) : m_fX(other.m_fX), m_fY(other.m_fY) { ++s_nCopies; }
    Point& operator=(const Point&) = default;
    float m_fX, m_fY;
};

}  // namespace

TEST(ListSort, OrdersAndReversesTies) {
    List<int> list{3, 1, 2};
    list.sort();
    EXPECT_EQ(contents(list), (std::vector<int>{1, 2, 3}));

    List<Tagged> ties{{2, 'a'}, {1, 0}, {2, 'b'}};
    ties.sort();
    EXPECT_EQ(spell(ties), "1 2b 2a");

    List<Tagged> five{{1, 'a'}, {2, 'a'}, {1, 'b'}, {0, 0}, {2, 'b'}};
    five.sort();
    EXPECT_EQ(spell(five), "0 1b 1a 2b 2a");

    List<Tagged> equal{{4, 'a'}, {4, 'b'}, {4, 'c'}, {4, 'd'}, {4, 'e'}};
    equal.sort();
    EXPECT_EQ(spell(equal), "4e 4d 4c 4b 4a");
}

TEST(ListSort, EqualElementsComeOutInReverseOrder) {
    // Any input: the result is the stable order of the reversed input.
    std::mt19937 rng(12345);
    for (int n : {0, 1, 2, 7, 64, 100, 1000}) {
        List<Tagged> plain;
        List<NamedTag> named;
        std::vector<Tagged> expected;
        for (int i = 0; i < n; ++i) {
            Tagged t{static_cast<int>(rng() % 10), static_cast<char>('A' + i % 50)};
            plain.add(t);
            named.add(NamedTag{t.m_nKey, String(t.m_cTag)});
            expected.push_back(t);
        }
        std::reverse(expected.begin(), expected.end());
        std::stable_sort(expected.begin(), expected.end());
        plain.sort();
        named.sort();
        ASSERT_EQ(plain.getCount(), n);
        ASSERT_EQ(named.getCount(), n);
        int i = 0;
        for (const Tagged& t : plain) {
            EXPECT_EQ(t.m_nKey, expected[i].m_nKey);
            EXPECT_EQ(t.m_cTag, expected[i].m_cTag);
            ++i;
        }
        i = 0;
        for (const NamedTag& t : named) {
            EXPECT_EQ(t.m_nKey, expected[i].m_nKey);
            EXPECT_EQ(t.m_sTag[0], expected[i].m_cTag);
            ++i;
        }
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

TEST(ListSort, HighscoreTiesAfterTheDefaultSort) {
    List<Entry> table;
    table.add({"ann", 300});
    table.add({"bob", 500});
    table.add({"cid", 300});
    table.add({"dee", 100});
    table.add({"eve", 500});
    table.sort();
    std::string order;
    for (const Entry& e : table) order += std::string(e.m_sName.c_str()) + "=" + std::to_string(e.m_nScore) + " ";
    std::printf("highscores after sort: %s\n", order.c_str());
    EXPECT_EQ(order, "eve=500 bob=500 cid=300 ann=300 dee=100 ");
}

TEST(ListSort, RelinksNodesWithoutCopyingIntoNewOnes) {
    List<int> list{5, 3, 9, 1};
    std::vector<const int*> before;
    for (const int& v : list) before.push_back(&v);
    list.sort();
    EXPECT_EQ(contents(list), (std::vector<int>{1, 3, 5, 9}));
    std::vector<const int*> after;
    for (const int& v : list) after.push_back(&v);
    EXPECT_EQ(after, (std::vector<const int*>{before[3], before[1], before[0], before[2]}));
    expectConsistent(list);
}

TEST(ListSort, NextAccessWalksFromTheHead) {
    List<int> list{4, 3, 2, 1, 0};
    list.get(2);
    list.sort();
    list.resetLinkSteps();
    EXPECT_EQ(list.get(3), 3);
    EXPECT_EQ(list.getLinkSteps(), 3);

    List<int> empty;
    empty.sort();
    EXPECT_EQ(empty.getCount(), 0);
}

TEST(ListSort, ComparisonFunctionGetsCopiesAndUserData) {
    List<int> list{2, 7, 1, 8, 2, 8};
    struct Seen {
        int m_nCalls = 0;
    } seen;
    list.sort(
        [](int a, int b, void* userData) {
            ++static_cast<Seen*>(userData)->m_nCalls;
            return a > b;
        },
        &seen);
    EXPECT_EQ(contents(list), (std::vector<int>{8, 8, 7, 2, 2, 1}));
    EXPECT_GT(seen.m_nCalls, 0);

    List<Point> points{{3, 0}, {1, 0}, {2, 0}};
    Point::s_nCopies = 0;
    int calls = 0;
    points.sort(
        [](Point a, Point b, void* userData) {
            ++*static_cast<int*>(userData);
            return a.m_fX < b.m_fX;
        },
        &calls);
    EXPECT_EQ(Point::s_nCopies, 2 * calls);
    EXPECT_EQ(points.get(0).m_fX, 1.0f);
    EXPECT_EQ(points.get(2).m_fX, 3.0f);
}

TEST(ListSort, ThrowingComparisonKeepsEveryNode) {
    // Throw at every possible comparison in turn.
    for (int failAt = 1; failAt < 40; ++failAt) {
        List<int> list{9, 4, 7, 1, 8, 2, 6, 3, 5, 0, 11, 10};
        int calls = 0;
        try {
            list.sortWith([&](const int& a, const int& b) {
                if (++calls == failAt) throw Zep::BadStateException("test", 1, "boom");
                return a < b;
            });
        } catch (const Zep::BadStateException&) {
        }
        EXPECT_EQ(list.getCount(), 12);
        expectConsistent(list);
        std::vector<int> values = contents(list);
        std::sort(values.begin(), values.end());
        EXPECT_EQ(values, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
        list.sort();  // still a working list
        EXPECT_EQ(list.getFirst(), 0);
        EXPECT_EQ(list.getLast(), 11);
    }
}

TEST(ListSort, ThrowingComparisonWhileRelinkingKeepsEveryNode) {
    const std::vector<std::string> words{"pear", "fig", "kiwi", "apple", "lime", "date", "plum", "yuzu", "sloe"};
    for (int failAt = 1; failAt < 25; ++failAt) {
        List<String> list;
        for (const std::string& w : words) list.add(w.c_str());
        list.get(4);
        int calls = 0;
        try {
            list.sortWith([&](const String& a, const String& b) {
                if (++calls == failAt) throw Zep::BadStateException("test", 1, "boom");
                return a < b;
            });
        } catch (const Zep::BadStateException&) {
        }
        ASSERT_EQ(list.getCount(), 9);
        int n = 0;
        const Zep::ListNode<String>* prev = nullptr;
        std::vector<std::string> seen;
        for (auto* node = list.getHead(); node != nullptr; node = node->next) {
            EXPECT_EQ(node->prev, prev);
            prev = node;
            seen.emplace_back(node->data.c_str());
            ++n;
        }
        EXPECT_EQ(list.getTail(), prev);
        EXPECT_EQ(n, 9);
        std::sort(seen.begin(), seen.end());
        std::vector<std::string> sorted = words;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(seen, sorted);
        list.resetLinkSteps();
        EXPECT_EQ(list.get(8), list.getLast());  // the access cursor was dropped
        EXPECT_EQ(list.getLinkSteps(), 8);
    }
}

TEST(ListReverse, SwapsEveryLink) {
    List<String> list{"a", "b", "c"};
    list.reverse();
    EXPECT_STREQ(list.join(",").c_str(), "c,b,a");
    EXPECT_EQ(list.getHead()->prev, nullptr);
    EXPECT_EQ(list.getTail()->next, nullptr);
    EXPECT_STREQ(list.getHead()->next->data.c_str(), "b");

    List<int> ints{1, 2, 3, 4};
    ints.get(1);
    ints.reverse();
    ints.resetLinkSteps();
    EXPECT_EQ(ints.get(2), 2);
    EXPECT_EQ(ints.getLinkSteps(), 2);
    expectConsistent(ints);

    List<int> empty;
    empty.reverse();
    EXPECT_EQ(empty.getHead(), nullptr);
}

TEST(ListBulk, AddAllAndAddAllFirst) {
    List<String> list{"a", "b"};
    list.addAll(list);
    EXPECT_STREQ(list.join("").c_str(), "abab");

    List<String> front{"x", "y"};
    List<String> target{"a", "b"};
    target.addAllFirst(front);
    EXPECT_STREQ(target.join("").c_str(), "xyab");
    target.addAll(front);
    EXPECT_STREQ(target.join("").c_str(), "xyabxy");
    EXPECT_EQ(front.getCount(), 2);
}

TEST(ListBulk, AddAllFirstOfItselfPrependsACopy) {
    List<String> list{"a", "b"};
    list.addAllFirst(list);
    EXPECT_STREQ(list.join(" ").c_str(), "a b a b");
}

TEST(ListBulk, JoinPutsTheSeparatorBetween) {
    List<String> list{"a", "b", "c"};
    EXPECT_STREQ(list.join(", ").c_str(), "a, b, c");
    EXPECT_STREQ(List<String>().join(", ").c_str(), "");
    EXPECT_STREQ(List<String>{"only"}.join(", ").c_str(), "only");
}

TEST(ListSearch, IndexOfFindsTheFirstEqualElement) {
    List<int> empty;
    EXPECT_EQ(empty.indexOf(1), -1);

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
}

TEST(ListSearch, HandlesCompareByIdentity) {
    struct Item : Zep::RefCountedObject {
        int m_nValue = 1;
    };
    SmartPtr<Item> a = new Item;
    SmartPtr<Item> twin = new Item;
    List<SmartPtr<Item>> list;
    list.add(SmartPtr<Item>());
    list.add(a);
    EXPECT_EQ(list.indexOf(a), 1);
    EXPECT_EQ(list.indexOf(twin), -1);
    EXPECT_EQ(list.indexOf(SmartPtr<Item>()), 0);
    EXPECT_EQ(a->getRefCount(), 2);
}
