#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "test_util.h"
#include "zep2/hash.h"

using Zep::Hash;
using Zep::List;
using Zep::SmartPtr;
using Zep::String;

namespace {

std::string spell(const List<String>& keys) { return keys.join(" ").c_str(); }

template <class T>
std::vector<T> contents(const List<T>& list) {
    return std::vector<T>(list.begin(), list.end());
}

std::string notFound(auto&& call) {
    try {
        call();
    } catch (const Zep::FatalErrorException& e) {
        EXPECT_STREQ(e.getFile(), "hash_impl");
        return e.getMessage();
    }
    return "(nothing thrown)";
}

// Notes its destruction in a shared log.
struct Tracked : Zep::RefCountedObject {
    Tracked(int id, std::vector<int>* log) : m_nId(id), m_pLog(log) {}
    ~Tracked() override { m_pLog->push_back(m_nId); }
    int m_nId;
    std::vector<int>* m_pLog;
};

}  // namespace

// Stand-ins for the key and value kinds of the higher layers; named, not
// anonymous, for the explicit instantiations below.
namespace fixtures {
struct Image : Zep::RefCountedObject {};
struct Style {
    virtual ~Style() = default;
};
struct PlainRecord {};
struct Waypoint : Zep::RefCountedObject {
    float m_fX = 0, m_fY = 0;
};
enum Beverage { kTea };
enum class EventSound { kBell };

}  // namespace fixtures

// Every kind of key and value the system uses must build with every member.
template class Zep::Hash<String, String>;
template class Zep::Hash<String, bool>;
template class Zep::Hash<String, void*>;
template class Zep::Hash<String, fixtures::Style*>;
template class Zep::Hash<String, fixtures::PlainRecord*>;
template class Zep::Hash<String, SmartPtr<fixtures::Image>>;
template class Zep::Hash<String, List<String>>;
template class Zep::Hash<String, List<fixtures::Waypoint>>;
template class Zep::Hash<String, List<SmartPtr<fixtures::Image>>>;
template class Zep::Hash<int, SmartPtr<fixtures::Image>>;
template class Zep::Hash<unsigned long, unsigned long>;
template class Zep::Hash<fixtures::Beverage, SmartPtr<fixtures::Image>>;
template class Zep::Hash<fixtures::EventSound, SmartPtr<fixtures::Image>>;
template class Zep::Hash<fixtures::Image*, String>;
template class Zep::Hash<SmartPtr<fixtures::Image>, bool>;

TEST(HashFunctions, HashesTextsAndBuckets) {
    // Strings hash over signed bytes, the NUL included.
    const std::pair<const char*, uint32_t> texts[] = {{"", 0u}, {"a", 3007u}, {"abc", 2986974u}, {"\xE9", 0xFFFFFD37u}};
    for (auto [text, hash] : texts) EXPECT_EQ(Zep::hashString(text), hash) << text;
    EXPECT_EQ(Zep::hashInt(-1), 0xFFFFFFFFu);
    EXPECT_EQ(Zep::hashPointer(reinterpret_cast<void*>(0x1234)), 0x1234u);
    EXPECT_STREQ(Zep::intKeyText(-42).c_str(), "-42");

    Hash<String, int> table;
    EXPECT_EQ(table.getBucketCount(), 97);
    for (auto [text, bucket] : {std::pair{"abc", 53u}, {"ABC", 32u}, {"\xE9", 1u}})
        EXPECT_EQ(table.getBucketIndex(text), bucket) << text;
    EXPECT_EQ((Hash<String, int>(5).getBucketIndex("abc")), 4u);
    // Negative hashes use the unsigned remainder.
    EXPECT_EQ((Hash<int, int>().getBucketIndex(-1)), 34u);
    Hash<unsigned long, unsigned long> longs;
    EXPECT_EQ(longs.getBucketIndex(0xFFFFFFFFul), 34u);
    EXPECT_EQ((Hash<fixtures::EventSound, int>().getBucketIndex(fixtures::EventSound::kBell)), 0u);

    // Missing keys are named by their text.
    Hash<const void*, String> pointers;
    Hash<SmartPtr<Tracked>, bool> handles;
    const Hash<int, int> ints;
    const std::pair<std::function<void()>, const char*> missing[] = {
        {[&] { Hash<String, String>().get("abc"); }, "\"abc\""},
        {[&] { ints.get(42); }, "42"},
        {[&] { longs.get(0xFFFFFFFFul); }, "-1"},
        {[&] { pointers.get(reinterpret_cast<void*>(0xABC)); }, "0x00000ABC"},
        {[&] { handles.get(SmartPtr<Tracked>()); }, "0x00000000"},
        {[&] { Hash<fixtures::Beverage, int>().get(fixtures::kTea); }, "0"},
    };
    for (const auto& [call, text] : missing) EXPECT_EQ(notFound(call), std::string("Hash key not found : ") + text);
    EXPECT_EQ(ints.getCount(), 0);
    EXPECT_EQ(Zep::traceDepth(), 0);
}

TEST(HashOrder, KeysComeFromTheLastBucketDownOldestFirstWithin) {
    Hash<String, int> table;
    table.set("a", 1);
    table.set("ABC", 2);
    table.set("abc", 3);
    EXPECT_EQ(spell(table.getKeys()), "abc ABC a");
    EXPECT_EQ(contents(table.getValues()), (std::vector<int>{3, 2, 1}));
    table.set("ABC", 20);  // replaced in place
    EXPECT_EQ(spell(table.getKeys()), "abc ABC a");
    EXPECT_EQ(table.get("ABC"), 20);

    Hash<int, int> ints;
    for (int key : {0, 98, 96, 1}) ints.set(key, 0);  // 98 and 1 share bucket 1
    EXPECT_EQ(contents(ints.getKeys()), (std::vector<int>{96, 98, 1, 0}));
}

TEST(HashLookup, SubscriptAddsDefaultsAndRemoveReturnsTheValue) {
    Hash<String, String> strings;
    String& first = strings["k"];
    EXPECT_TRUE(first.isEmpty());
    first = "v";
    EXPECT_EQ(&strings["k"], &first);
    EXPECT_STREQ(strings.get("k").c_str(), "v");
    EXPECT_TRUE(strings.remove("x").isEmpty());
    strings.set("k", strings.get("k"));  // set from its own value is harmless
    EXPECT_STREQ(strings.get("k").c_str(), "v");
    EXPECT_EQ((Hash<String, void*>()["p"]), nullptr);
    EXPECT_FALSE((Hash<String, bool>()["f"]));
    Hash<String, List<String>> lists;
    lists["a"].add("x");
    lists["a"].add("y");
    EXPECT_EQ(lists.get("a").getCount(), 2);

    Hash<String, int> table;
    EXPECT_EQ(table["n"], 0);
    table.set("a", 5);
    EXPECT_EQ(table.remove("zzz"), 0);
    EXPECT_EQ(table.remove("a"), 5);
    EXPECT_FALSE(table.contains("a"));
    EXPECT_TRUE(table.contains("n"));
    EXPECT_EQ(table.getCount(), 1);
}

TEST(HashHandles, ValuesHoldOneReferenceEachAndHandleKeysFormASet) {
    std::vector<int> log;
    Hash<String, SmartPtr<Tracked>> table;
    SmartPtr<Tracked> a = new Tracked(1, &log), b = new Tracked(2, &log);
    table.set("x", a);
    table.set("y", a);
    EXPECT_EQ(a->getRefCount(), 3);
    table.set("y", b);  // the old object is released, the new one referenced
    table.set("y", b);
    EXPECT_EQ(a->getRefCount() * 10 + b->getRefCount(), 22);
    a = nullptr;
    SmartPtr<Tracked> kept = table.remove("x");  // keeps the object alive
    EXPECT_EQ(kept->getRefCount(), 1);
    kept = nullptr;
    b = nullptr;
    table.clear();
    EXPECT_EQ(log, (std::vector<int>{1, 2}));

    SmartPtr<Tracked> c = new Tracked(3, &log), twin = new Tracked(4, &log);
    Hash<SmartPtr<Tracked>, bool> seen;
    seen.set(c, true);
    seen.set(SmartPtr<Tracked>(c.get()), true);
    EXPECT_EQ(seen.getCount(), 1);
    EXPECT_FALSE(seen.contains(twin));
    EXPECT_EQ(seen.getBucketIndex(c), Zep::hashPointer(c.get()) % 97u);
    EXPECT_EQ(c->getRefCount(), 2);
}

namespace {

// Counts its copies; rehashing must not make any.
struct Counted {
    static inline int s_nCopies = 0;
    int m_nValue = 0;
    Counted() = default;
    explicit Counted(int value) : m_nValue(value) {}
    Counted(const Counted& other) : m_nValue(other.m_nValue) { ++s_nCopies; }
    Counted& operator=(const Counted& other) = default;
};

}  // namespace

TEST(HashSizes, TableSizesAndRehash) {
    const std::pair<int, int> sizes[] = {{-3, 5}, {5, 5}, {6, 11}, {97, 97}, {98, 197}, {6421, 6421}, {7000, 6421}};
    for (auto [nWanted, nSize] : sizes) EXPECT_EQ((Hash<int, int>::getTableSize(nWanted)), nSize) << nWanted;

    Hash<int, Counted> table;
    for (int i = 0; i < 3; ++i) table.set(i * 1000, Counted(i));
    const Counted* address = &table.get(2000);
    Counted::s_nCopies = 0;
    table.rehash();  // the entries keep their nodes
    EXPECT_EQ(table.getBucketCount(), 5);
    EXPECT_EQ(&table.get(2000), address);
    for (int i = 3; i < 98; ++i) table.set(i, Counted(i));
    const int copiesBefore = Counted::s_nCopies;
    table.rehash();
    EXPECT_EQ(table.getBucketCount(), 197);
    EXPECT_EQ(Counted::s_nCopies, copiesBefore);
    EXPECT_EQ(contents(table.getKeys()).front(), 97);  // the highest bucket in use
    for (int i = 3; i < 98; ++i) EXPECT_EQ(table.get(i).m_nValue, i);

    Hash<String, int> one(0);  // counts below one are clamped
    EXPECT_EQ(one.getBucketCount(), 1);
    one.set("a", 1);
    one.init(-5);
    EXPECT_EQ(one.getBucketCount() + one.getCount(), 1);
    one.set("c", 3);
    EXPECT_EQ(one.get("c"), 3);
    Hash<String, int> eleven(11);
    eleven.set("a", 1);
    eleven.clear();  // keeps the bucket count
    EXPECT_TRUE(eleven.isEmpty());
    EXPECT_EQ(eleven.getBucketCount(), 11);
}

TEST(HashSizes, AdoptedNodesKeepTheStoredBucketOrder) {
    // As the old bucket-by-bucket stream form restores a table.
    using Table = Hash<String, String>;
    Table table(3);
    List<Table::Node*> bucket, first;
    bucket.add(new Table::Node("b", "2"));
    bucket.add(nullptr);
    bucket.add(new Table::Node("a", "1"));
    bucket.add(new Table::Node("b", "3"));  // stored twice: the later value wins
    table.adoptNodes(2, bucket);
    EXPECT_EQ(bucket.getCount(), 0);
    first.add(new Table::Node("c", "3"));
    table.adoptNodes(0, first);
    EXPECT_EQ(spell(table.getKeys()), "b a b c");
    EXPECT_THROW(table.adoptNodes(3, first), Zep::AssertFailException);
    table.rehash();
    EXPECT_EQ(table.getBucketCount(), 5);
    EXPECT_EQ(spell(table.getKeys()), "c b a");
    EXPECT_EQ(spell(table.getValues()), "3 3 1");
}

TEST(HashOwnership, DeleteAllDeletesValuesFromTheLastBucketClearLeavesThem) {
    std::vector<int> log;
    Hash<int, Tracked*> table;
    table.set(1, new Tracked(1, &log));
    table.set(50, new Tracked(50, &log));
    table.set(98, new Tracked(98, &log));  // bucket 1, after 1
    table.set(7, nullptr);
    table.deleteAll();
    EXPECT_EQ(log, (std::vector<int>{50, 1, 98}));
    EXPECT_EQ(table.getCount(), 0);

    Tracked kept(1, &log);
    Hash<String, Tracked*> borrowed;
    borrowed.set("a", &kept);
    EXPECT_EQ(borrowed.remove("a"), &kept);
    borrowed.set("b", &kept);
    borrowed.clear();
    EXPECT_EQ(log.size(), 3u);
}

TEST(HashCopies, CopyAssignMoveAndAddAll) {
    Hash<String, String> table(11);
    for (const char* key : {"one", "two", "three", "four", "five", "six"}) table.set(key, key);
    Hash<String, String> copy(table), assigned;
    EXPECT_EQ(copy.getBucketCount(), 11);
    EXPECT_EQ(spell(copy.getKeys()), spell(table.getKeys()));
    copy.set("one", "1");
    EXPECT_STREQ(table.get("one").c_str(), "one");
    assigned.set("old", "x");
    assigned = table;
    assigned = assigned;
    EXPECT_EQ(spell(assigned.getKeys()), spell(table.getKeys()));

    Hash<String, String> moved(std::move(copy));
    EXPECT_EQ(moved.getCount(), 6);
    EXPECT_EQ(copy.getCount(), 0);  // NOLINT(bugprone-use-after-move)
    EXPECT_FALSE(copy.contains("one"));
    copy.set("again", "y");
    EXPECT_EQ(copy.getBucketCount(), 97);
    copy = std::move(moved);
    EXPECT_EQ(spell(copy.getValues()), "1 two six five four three");

    // addAll sets the other table's entries, also from itself.
    Hash<String, String> target;
    target.set("one", "kept?");
    target.set("keep", "k");
    target.addAll(copy);
    target.addAll(target);
    EXPECT_EQ(target.getCount(), 7);
    EXPECT_STREQ(target.get("one").c_str(), "1");
    EXPECT_STREQ(target.get("keep").c_str(), "k");
}
