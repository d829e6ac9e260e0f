#include <zep2/hash.h>

#include "test_util.h"

using Zep::Hash;
using Zep::List;
using Zep::SmartPtr;
using Zep::String;

namespace {
using Ints = std::vector<int>;

std::string spell(const List<String>& list) { return list.join(" ").c_str(); }
std::string spell(const List<int>& list) {
    std::string text;
    for (int item : list) text.append(text.empty() ? "" : " ").append(std::to_string(item));
    return text;
}

// Notes its destruction in a shared log.
struct Tracked : Zep::RefCountedObject {
    Tracked(int id, Ints* log) : m_nId(id), m_pLog(log) {}
    ~Tracked() override { m_pLog->push_back(m_nId); }
    int m_nId;
    Ints* m_pLog;
};

// Counts its copies; rehashing must not make any.
struct Counted {
    static inline int s_nCopies = 0;
    int m_nValue = 0;
    Counted(int value = 0) : m_nValue(value) {}
    Counted(const Counted& other) : m_nValue(other.m_nValue) { ++s_nCopies; }
    Counted& operator=(const Counted& other) = default;
};
}  // namespace

// Stand-ins for the key and value kinds of the higher layers; named, not
// anonymous, for the explicit instantiations below.
namespace fixtures {
struct Image : Zep::RefCountedObject {};
struct Style { virtual ~Style() = default; };
struct PlainRecord {};
struct Waypoint : Zep::RefCountedObject { float m_fX = 0, m_fY = 0; };
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

TEST(HashFunctions, HashesBucketsAndMissingKeyTexts) {
    // Strings hash over signed bytes, the NUL included; integers and
    // pointers are their own hash, negative ones taken as unsigned.
    const std::pair<const char*, uint32_t> texts[] = {{"", 0u}, {"a", 3007u}, {"abc", 2986974u}, {"\xE9", 0xFFFFFD37u}};
    for (auto [text, hash] : texts) EXPECT_EQ(Zep::hashString(text), hash) << text;
    EXPECT_EQ(Zep::hashInt(-1) + Zep::hashPointer(reinterpret_cast<void*>(0x1234)), 0x1233u);
    Hash<String, int> table;
    Hash<unsigned long, unsigned long> longs;
    const std::pair<uint32_t, uint32_t> buckets[] = {
        {table.getBucketIndex("abc"), 53u},         {table.getBucketIndex("ABC"), 32u},
        {table.getBucketIndex("\xE9"), 1u},         {Hash<String, int>(5).getBucketIndex("abc"), 4u},
        {Hash<int, int>().getBucketIndex(-1), 34u}, {longs.getBucketIndex(0xFFFFFFFFul), 34u},
        {Hash<fixtures::EventSound, int>().getBucketIndex(fixtures::EventSound::kBell), 0u},
        {static_cast<uint32_t>(table.getBucketCount()), 97u}};
    for (auto [bucket, expected] : buckets) EXPECT_EQ(bucket, expected);

    Hash<const void*, String> pointers;
    Hash<SmartPtr<Tracked>, bool> handles;
    const Hash<int, int> ints;
    const std::pair<std::function<void()>, std::string> missing[] = {
        {[&] { Hash<String, String>().get("abc"); }, "\"abc\""},
        {[&] { ints.get(-42); }, "-42"},
        {[&] { longs.get(0xFFFFFFFFul); }, "-1"},
        {[&] { pointers.get(reinterpret_cast<void*>(0xABC)); }, "0x00000ABC"},
        {[&] { handles.get(SmartPtr<Tracked>()); }, "0x00000000"},
        {[&] { Hash<fixtures::Beverage, int>().get(fixtures::kTea); }, "0"}};
    for (const auto& [call, text] : missing)
        EXPECT_EQ(testutil::describe(call), "FatalErrorException [hash_impl]: Hash key not found : " + text);
    EXPECT_EQ(ints.getCount() + Zep::traceDepth(), 0);
}

TEST(HashOrder, KeysComeFromTheLastBucketDownOldestFirstWithin) {
    Hash<String, int> table;
    table.set("a", 1);
    table.set("ABC", 2);
    table.set("abc", 3);
    EXPECT_EQ(spell(table.getKeys()) + " " + spell(table.getValues()), "abc ABC a 3 2 1");
    table.set("ABC", 20);  // replaced in place
    EXPECT_EQ(spell(table.getKeys()) + " " + spell(table.getValues()), "abc ABC a 3 20 1");
    Hash<int, int> ints;
    for (int key : {0, 98, 96, 1}) ints.set(key, 0);  // 98 and 1 share bucket 1
    EXPECT_EQ(spell(ints.getKeys()), "96 98 1 0");
}

TEST(HashLookup, SubscriptAddsDefaultsAndRemoveReturnsTheValue) {
    Hash<String, String> strings;
    String& first = strings["k"];
    EXPECT_TRUE(first.isEmpty() && strings.remove("x").isEmpty());
    first = "a fairly long value that needs its own buffer";
    strings.set("k", strings.get("k"));  // set from its own value is harmless
    EXPECT_TRUE(&strings["k"] == &first && first == "a fairly long value that needs its own buffer");
    EXPECT_TRUE((Hash<String, void*>()["p"]) == nullptr && !(Hash<String, bool>()["f"]));
    Hash<String, int> table;
    table.set("a", 5);
    EXPECT_EQ(table["n"] + table.remove("zzz") + table.remove("a"), 5);
    EXPECT_TRUE(!table.contains("a") && table.contains("n"));
    const auto* added = table.addNode("a", 7);
    table.addDefault("a");  // neither looks for the key first: the older entry is found
    EXPECT_TRUE(table.findNode("a") == added && table.getCount() == 3 && table.get("a") == 7);
}

TEST(HashHandles, ValuesHoldOneReferenceEachAndHandleKeysFormASet) {
    Ints log;
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
    kept = b = nullptr;
    table.clear();
    EXPECT_EQ(log, (Ints{1, 2}));
    SmartPtr<Tracked> c = new Tracked(3, &log), twin = new Tracked(4, &log);
    Hash<SmartPtr<Tracked>, bool> seen;
    seen.set(c, true);
    seen.set(SmartPtr<Tracked>(c.get()), true);
    EXPECT_TRUE(seen.getCount() == 1 && c->getRefCount() == 2 && !seen.contains(twin));
}

TEST(HashSizes, TableSizesAndRehash) {
    const std::pair<int, int> sizes[] = {{-3, 5}, {5, 5}, {6, 11}, {97, 97}, {98, 197}, {6421, 6421}, {7000, 6421}};
    for (auto [nWanted, nSize] : sizes) EXPECT_EQ((Hash<int, int>::getTableSize(nWanted)), nSize) << nWanted;
    Hash<int, Counted> table;
    for (int i = 0; i < 3; ++i) table.set(i * 1000, Counted(i));
    const Counted* address = &table.get(2000);
    table.rehash();  // the entries keep their nodes
    EXPECT_TRUE(table.getBucketCount() == 5 && &table.get(2000) == address);
    for (int i = 3; i < 98; ++i) table.set(i, Counted(i));
    Counted::s_nCopies = 0;
    table.rehash();  // nothing is copied
    // The first key is in the highest bucket in use.
    EXPECT_TRUE(Counted::s_nCopies == 0 && table.getBucketCount() == 197 && table.getKeys().getFirst() == 97);
    for (int i = 3; i < 98; ++i) EXPECT_EQ(table.get(i).m_nValue, i);
    table.growFor(197);  // room enough already; growFor never shrinks either
    table.growFor(5);
    EXPECT_EQ(table.getBucketCount(), 197);
    Hash<int, int> counted(5);
    for (int i = 0; i < 12; ++i) counted.set(i, i), counted.growFor(i + 1);
    EXPECT_EQ(counted.getBucketCount(), 23);
    Hash<String, int> one(0), eleven(11);  // counts below one are clamped
    EXPECT_EQ(one.getBucketCount(), 1);
    one.set("a", 1);
    one.init(-5);
    one.set("c", 3);
    EXPECT_EQ(spell(one.getKeys()) + std::to_string(one.getBucketCount()), "c1");
    eleven.set("a", 1);
    eleven.clear();  // keeps the bucket count
    EXPECT_TRUE(eleven.isEmpty() && eleven.getBucketCount() == 11);
}

TEST(HashSizes, AdoptedNodesKeepTheStoredBucketOrder) {
    // As the old bucket-by-bucket stream form restores a table.
    using Table = Hash<String, String>;
    Table table(3);
    List<Table::Node*> bucket{new Table::Node("b", "2"), nullptr, new Table::Node("a", "1"), new Table::Node("b", "3")};
    List<Table::Node*> first{new Table::Node("c", "3")};
    table.adoptNodes(2, bucket);
    table.adoptNodes(0, first);
    EXPECT_EQ(spell(table.getKeys()) + ", " + std::to_string(bucket.getCount() + first.getCount()), "b a b c, 0");
    EXPECT_THROW(table.adoptNodes(3, first), Zep::AssertFailException);
    table.rehash();  // a key stored twice keeps its first place and takes the later value
    EXPECT_EQ(spell(table.getKeys()) + " " + spell(table.getValues()) + " in " + std::to_string(table.getBucketCount()),
              "c b a 3 3 1 in 5");
}

TEST(HashOwnership, DeleteAllDeletesValuesFromTheLastBucket) {
    Ints log;
    Hash<int, Tracked*> table;
    for (int key : {1, 50, 98}) table.set(key, new Tracked(key, &log));  // 98 in bucket 1, after 1
    table.set(7, nullptr);
    table.deleteAll();
    EXPECT_TRUE(log == (Ints{50, 1, 98}) && table.getCount() == 0);
}

TEST(HashCopies, CopyAssignMoveAndAddAll) {
    Hash<String, String> table(11), assigned;
    for (const char* key : {"one", "two", "three", "four", "five", "six"}) table.set(key, key);
    Hash<String, String> copy(table);
    copy.set("one", "1");
    assigned.set("old", "x");
    assigned = table;
    const Hash<String, String>& sameTable = assigned;
    assigned = sameTable;  // self-assignment keeps the entries
    EXPECT_EQ(spell(copy.getKeys()) + spell(assigned.getKeys()), spell(table.getKeys()) + spell(table.getKeys()));
    EXPECT_EQ(copy.getBucketCount() * 10 + (table.get("one") == "one"), 111);
    Hash<String, String> moved(std::move(copy));
    EXPECT_FALSE(copy.contains("one"));  // NOLINT(bugprone-use-after-move)
    copy.set("again", "y");
    EXPECT_EQ(copy.getBucketCount() * 10 + moved.getCount(), 976);
    copy = std::move(moved);
    EXPECT_EQ(spell(copy.getValues()), "1 two six five four three");
    // addAll sets the other table's entries, also from itself.
    Hash<String, String> target;
    target.set("one", "kept?");
    target.set("keep", "k");
    target.addAll(copy);
    target.addAll(target);
    EXPECT_STREQ((target.get("one") + target.get("keep") + String::format("%d", target.getCount())).c_str(), "1k7");
}
