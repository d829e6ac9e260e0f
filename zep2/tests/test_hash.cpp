#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "zep2/hash.h"

using Zep::Hash;
using Zep::List;
using Zep::SmartPtr;
using Zep::String;

namespace {

std::string spell(const List<String>& keys) {
    return keys.join(" ").c_str();
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

struct Tracked : Zep::RefCountedObject {
    Tracked(int id, std::vector<int>* log) : m_nId(id), m_pLog(log) {}
    ~Tracked() override { m_pLog->push_back(m_nId); }
    int m_nId;
    std::vector<int>* m_pLog;
};

}  // namespace

// Named, not anonymous: the explicit instantiations below use it.
namespace fixtures {

// A colour-like key: four bytes, a packed value and its own text.
struct TestColor {
    static inline int s_nDestroyed = 0;
    TestColor(uint8_t r, uint8_t g, uint8_t b, uint8_t a) : m_r(r), m_g(g), m_b(b), m_a(a) {}
    TestColor(const TestColor&) = default;
    virtual ~TestColor() { ++s_nDestroyed; }
    uint32_t pack() const {
        return static_cast<uint32_t>(m_r) << 24 | static_cast<uint32_t>(m_a) << 16 |
               static_cast<uint32_t>(m_b) << 8 | m_g;
    }
    String toString() const { return String::format("(%d, %d, %d, %d)", m_r, m_g, m_b, m_a); }
    bool operator==(const TestColor& other) const { return pack() == other.pack(); }
    uint8_t m_r, m_g, m_b, m_a;
};

}  // namespace fixtures

using fixtures::TestColor;

TEST(HashFunctions, StringHashesOverSignedBytesWithTheNul) {
    EXPECT_EQ(Zep::hashString(""), 0u);
    EXPECT_EQ(Zep::hashString("a"), 3007u);
    EXPECT_EQ(Zep::hashString("abc"), 2986974u);
    EXPECT_EQ(Zep::hashString("ABC"), 2001918u);
    EXPECT_EQ(Zep::hashString("\xE9"), 0xFFFFFD37u);
    EXPECT_EQ(Zep::hashInt(-1), 0xFFFFFFFFu);
    EXPECT_EQ(Zep::hashPointer(reinterpret_cast<void*>(0x1234)), 0x1234u);
}

TEST(HashFunctions, KeyTexts) {
    EXPECT_STREQ(Zep::stringKeyText("abc").c_str(), "\"abc\"");
    EXPECT_STREQ(Zep::intKeyText(-42).c_str(), "-42");
    EXPECT_STREQ(Zep::pointerKeyText(reinterpret_cast<void*>(0xABC)).c_str(), "0x00000ABC");
}

TEST(HashBuckets, StringKeysLandInTheirBuckets) {
    Hash<String, int> table;
    EXPECT_EQ(table.getBucketCount(), 97);
    EXPECT_EQ(table.getBucketIndex(""), 0u);
    EXPECT_EQ(table.getBucketIndex("a"), 0u);
    EXPECT_EQ(table.getBucketIndex("abc"), 53u);
    EXPECT_EQ(table.getBucketIndex("ABC"), 32u);
    EXPECT_EQ(table.getBucketIndex("\xE9"), 1u);
    Hash<String, int> small(5);
    EXPECT_EQ(small.getBucketIndex("abc"), 4u);
}

TEST(HashBuckets, NegativeHashesUseTheUnsignedRemainder) {
    Hash<int, int> ints;
    EXPECT_EQ(ints.getBucketIndex(-1), 34u);
    Hash<unsigned long, unsigned long> longs;
    EXPECT_EQ(longs.getBucketIndex(0xFFFFFFFFul), 34u);
    EXPECT_EQ(notFound([&] { longs.get(0xFFFFFFFFul); }), "Hash key not found : -1");
}

TEST(HashOrder, KeysComeFromTheLastBucketDown) {
    Hash<String, int> table;
    table.set("a", 1);
    table.set("ABC", 2);
    table.set("abc", 3);
    List<String> keys = table.getKeys();
    std::printf("getKeys of a 97-bucket table: %s\n", spell(keys).c_str());
    EXPECT_EQ(spell(keys), "abc ABC a");
    List<int> values = table.getValues();
    EXPECT_EQ(std::vector<int>(values.begin(), values.end()), (std::vector<int>{3, 2, 1}));

    table.set("ABC", 20);  // replaced in place
    EXPECT_EQ(spell(table.getKeys()), "abc ABC a");
    EXPECT_EQ(table.get("ABC"), 20);
}

TEST(HashOrder, OldestFirstWithinABucket) {
    Hash<int, int> table;
    table.set(0, 0);
    table.set(98, 1);  // bucket 1
    table.set(96, 2);
    table.set(1, 3);  // bucket 1, after 98
    List<int> keys = table.getKeys();
    EXPECT_EQ(std::vector<int>(keys.begin(), keys.end()), (std::vector<int>{96, 98, 1, 0}));
}

TEST(HashLookup, MissingKeysNameTheirText) {
    Hash<String, String> strings;
    EXPECT_EQ(notFound([&] { strings.get("abc"); }), "Hash key not found : \"abc\"");
    Hash<int, int> ints;
    EXPECT_EQ(notFound([&] { ints.get(42); }), "Hash key not found : 42");
    Hash<const void*, String> pointers;
    EXPECT_EQ(notFound([&] { pointers.get(reinterpret_cast<void*>(0x1234)); }),
              "Hash key not found : 0x00001234");
    Hash<SmartPtr<Tracked>, bool> handles;
    EXPECT_EQ(notFound([&] { handles.get(SmartPtr<Tracked>()); }), "Hash key not found : 0x00000000");
    const Hash<int, int>& view = ints;
    EXPECT_EQ(notFound([&] { view.get(7); }), "Hash key not found : 7");
    EXPECT_EQ(ints.getCount(), 0);
    EXPECT_EQ(Zep::traceDepth(), 0);
}

TEST(HashLookup, ColourKeysUseTheirPackedValueAndText) {
    struct Image : Zep::RefCountedObject {};
    SmartPtr<Image> image = new Image;
    TestColor red(255, 0, 0, 255);
    TestColor::s_nDestroyed = 0;
    {
        Hash<TestColor, SmartPtr<Image>*> table;
        EXPECT_EQ(table.getBucketIndex(red), 0xFFFF0000u % 97u);
        table.set(red, &image);
        EXPECT_EQ(table.get(TestColor(255, 0, 0, 255)), &image);
        EXPECT_EQ(notFound([&] { table.get(TestColor(1, 2, 3, 4)); }), "Hash key not found : (1, 2, 3, 4)");
        TestColor::s_nDestroyed = 0;
        table.clear();
        EXPECT_EQ(TestColor::s_nDestroyed, 1);  // the key copy in the node
    }
    EXPECT_EQ(image->getRefCount(), 1);
}

TEST(HashLookup, SubscriptAddsValueInitialisedEntries) {
    Hash<String, String> strings;
    String& first = strings["k"];
    EXPECT_TRUE(first.isEmpty());
    first = "v";
    EXPECT_EQ(&strings["k"], &first);
    EXPECT_STREQ(strings.get("k").c_str(), "v");
    EXPECT_EQ(strings.getCount(), 1);

    Hash<String, int> ints;
    EXPECT_EQ(ints["n"], 0);
    Hash<String, void*> pointers;
    EXPECT_EQ(pointers["p"], nullptr);
    Hash<String, bool> flags;
    EXPECT_FALSE(flags["f"]);
    Hash<String, SmartPtr<Tracked>> handles;
    EXPECT_TRUE(handles["h"].isNULL());
}

TEST(HashLookup, RemoveReturnsTheValueOrADefault) {
    Hash<String, int> table;
    table.set("a", 5);
    table.set("b", 6);
    EXPECT_EQ(table.remove("zzz"), 0);
    EXPECT_EQ(table.getCount(), 2);
    EXPECT_EQ(table.remove("a"), 5);
    EXPECT_FALSE(table.contains("a"));
    EXPECT_TRUE(table.contains("b"));
    EXPECT_EQ(table.getCount(), 1);

    Hash<String, String> strings;
    EXPECT_TRUE(strings.remove("x").isEmpty());
}

TEST(HashHandles, ValuesHoldOneReferenceEach) {
    std::vector<int> log;
    Hash<String, SmartPtr<Tracked>> table;
    SmartPtr<Tracked> a = new Tracked(1, &log);
    SmartPtr<Tracked> b = new Tracked(2, &log);
    table.set("x", a);
    table.set("y", a);
    EXPECT_EQ(a->getRefCount(), 3);
    table.set("y", b);  // the old object is released, the new one referenced
    EXPECT_EQ(a->getRefCount(), 2);
    EXPECT_EQ(b->getRefCount(), 2);
    table.set("y", b);
    EXPECT_EQ(b->getRefCount(), 2);

    a = nullptr;
    SmartPtr<Tracked> kept = table.remove("x");  // keeps the object alive
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(kept->getRefCount(), 1);
    kept = nullptr;
    EXPECT_EQ(log, (std::vector<int>{1}));

    b = nullptr;
    table.clear();
    EXPECT_EQ(log, (std::vector<int>{1, 2}));
}

TEST(HashHandles, HandleKeysFormASet) {
    std::vector<int> log;
    SmartPtr<Tracked> a = new Tracked(1, &log);
    SmartPtr<Tracked> twin = new Tracked(2, &log);
    Hash<SmartPtr<Tracked>, bool> seen;
    seen.set(a, true);
    seen.set(SmartPtr<Tracked>(a.get()), true);
    EXPECT_EQ(seen.getCount(), 1);
    EXPECT_FALSE(seen.contains(twin));
    EXPECT_EQ(seen.getBucketIndex(a), Zep::hashPointer(a.get()) % 97u);
    EXPECT_EQ(a->getRefCount(), 2);
}

TEST(HashSizes, TableSizes) {
    using H = Hash<int, int>;
    EXPECT_EQ(H::getTableSize(-3), 5);
    EXPECT_EQ(H::getTableSize(0), 5);
    EXPECT_EQ(H::getTableSize(5), 5);
    EXPECT_EQ(H::getTableSize(6), 11);
    EXPECT_EQ(H::getTableSize(97), 97);
    EXPECT_EQ(H::getTableSize(98), 197);
    EXPECT_EQ(H::getTableSize(6421), 6421);
    EXPECT_EQ(H::getTableSize(7000), 6421);
}

TEST(HashSizes, RehashShrinksAndGrows) {
    Hash<int, int> table;
    for (int i = 0; i < 3; ++i) table.set(i * 1000, i);
    table.rehash();
    EXPECT_EQ(table.getBucketCount(), 5);
    EXPECT_EQ(table.getCount(), 3);
    EXPECT_EQ(table.get(2000), 2);

    Hash<int, int> full;
    for (int i = 0; i < 97; ++i) full.set(i, i);
    full.rehash();
    EXPECT_EQ(full.getBucketCount(), 97);
    full.set(97, 97);
    full.rehash();
    EXPECT_EQ(full.getBucketCount(), 197);
    EXPECT_EQ(full.getCount(), 98);
    for (int i = 0; i < 98; ++i) EXPECT_EQ(full.get(i), i);
}

TEST(HashSizes, ClearKeepsTheBucketCount) {
    Hash<String, String> table(11);
    table.set("a", "1");
    table.clear();
    EXPECT_TRUE(table.isEmpty());
    EXPECT_EQ(table.getCount(), 0);
    EXPECT_EQ(table.getBucketCount(), 11);
}

TEST(HashSizes, BucketCountsBelowOneAreClamped) {
    Hash<String, int> table(0);
    EXPECT_EQ(table.getBucketCount(), 1);
    table.set("a", 1);
    table.set("b", 2);
    table.init(-5);
    EXPECT_EQ(table.getBucketCount(), 1);
    EXPECT_EQ(table.getCount(), 0);
    table.set("c", 3);
    EXPECT_EQ(table.get("c"), 3);
}

TEST(HashSizes, AdoptedNodesKeepTheStoredBucketOrder) {
    // As the old bucket-by-bucket stream form restores a table.
    using Table = Hash<String, String>;
    Table table(3);
    List<Table::Node*> bucket;
    bucket.add(new Table::Node("b", "2"));
    bucket.add(nullptr);
    bucket.add(new Table::Node("a", "1"));
    table.adoptNodes(2, bucket);
    EXPECT_EQ(bucket.getCount(), 0);
    List<Table::Node*> first;
    first.add(new Table::Node("c", "3"));
    table.adoptNodes(0, first);
    EXPECT_EQ(spell(table.getKeys()), "b a c");
    EXPECT_EQ(table.getCount(), 3);
    EXPECT_THROW(table.adoptNodes(3, first), Zep::AssertFailException);
    table.rehash();
    EXPECT_EQ(table.getBucketCount(), 5);
    EXPECT_STREQ(table.get("a").c_str(), "1");
    EXPECT_STREQ(table.get("c").c_str(), "3");
}

namespace {

struct Emitter : Zep::RefCountedObject {
    explicit Emitter(std::vector<int>* log, int id) : m_nId(id), m_pLog(log) {}
    ~Emitter() override { m_pLog->push_back(m_nId); }
    int m_nId;
    std::vector<int>* m_pLog;
};

}  // namespace

TEST(HashOwnership, DeleteAllDeletesValuesFromTheLastBucket) {
    std::vector<int> log;
    Hash<int, Emitter*> table;
    table.set(1, new Emitter(&log, 1));
    table.set(50, new Emitter(&log, 50));
    table.set(98, new Emitter(&log, 98));  // bucket 1, after 1
    table.set(7, nullptr);
    table.deleteAll();
    EXPECT_EQ(log, (std::vector<int>{50, 1, 98}));
    EXPECT_EQ(table.getCount(), 0);

    Hash<String, Emitter*> nulls;
    nulls.set("a", nullptr);
    nulls.deleteAll();
    EXPECT_TRUE(nulls.isEmpty());
}

TEST(HashOwnership, ClearAndRemoveLeavePointedObjectsAlone) {
    std::vector<int> log;
    Emitter kept(&log, 1);
    Hash<String, Emitter*> table;
    table.set("a", &kept);
    EXPECT_EQ(table.remove("a"), &kept);
    table.set("b", &kept);
    table.clear();
    EXPECT_TRUE(log.empty());
}

TEST(HashCopies, CopyKeepsBucketsAndOrder) {
    Hash<String, String> table(11);
    for (const char* key : {"one", "two", "three", "four", "five", "six"}) table.set(key, key);
    Hash<String, String> copy(table);
    EXPECT_EQ(copy.getBucketCount(), 11);
    EXPECT_EQ(spell(copy.getKeys()), spell(table.getKeys()));
    copy.set("one", "1");
    EXPECT_STREQ(table.get("one").c_str(), "one");

    Hash<String, String> assigned;
    assigned.set("old", "x");
    assigned = table;
    EXPECT_EQ(spell(assigned.getKeys()), spell(table.getKeys()));
    assigned = assigned;
    EXPECT_EQ(assigned.getCount(), 6);

    Hash<String, String> moved(std::move(copy));
    EXPECT_EQ(moved.getCount(), 6);
    EXPECT_EQ(copy.getCount(), 0);  // NOLINT(bugprone-use-after-move)
    EXPECT_FALSE(copy.contains("one"));
    EXPECT_TRUE(copy.remove("one").isEmpty());
    copy.set("again", "y");
    EXPECT_EQ(copy.getBucketCount(), 97);
    EXPECT_STREQ(copy.get("again").c_str(), "y");
}

TEST(HashCopies, AddAllSetsTheOtherTablesEntries) {
    Hash<String, int> target;
    target.set("keep", 1);
    target.set("both", 2);
    Hash<String, int> other;
    other.set("both", 20);
    other.set("new", 30);
    target.addAll(other);
    EXPECT_EQ(target.getCount(), 3);
    EXPECT_EQ(target.get("keep"), 1);
    EXPECT_EQ(target.get("both"), 20);
    EXPECT_EQ(target.get("new"), 30);
    target.addAll(target);
    EXPECT_EQ(target.getCount(), 3);
}

TEST(HashCopies, SetFromItsOwnValueIsHarmless) {
    Hash<String, String> table;
    table.set("k", "a fairly long value that needs its own buffer");
    table.set("k", table.get("k"));
    EXPECT_STREQ(table.get("k").c_str(), "a fairly long value that needs its own buffer");
}

// Every key and value pairing the system uses must build, with stand-ins for
// the types of the higher layers.
namespace fixtures {
struct Image : Zep::RefCountedObject {};
struct Animation : Zep::RefCountedObject {};
struct Sprite : Zep::RefCountedObject {};
struct AnimSprite : Zep::RefCountedObject {};
struct Sample : Zep::RefCountedObject {};
struct ParticleEmitter : Zep::RefCountedObject {};
struct ButtonStyle {
    virtual ~ButtonStyle() = default;
};
struct FrameStyle {
    virtual ~FrameStyle() = default;
};
struct ResourceFileEntry {};
struct ProfileData {
    virtual ~ProfileData() = default;
    String m_sName;
};
struct PathWaypoint : Zep::RefCountedObject {
    float m_fX = 0, m_fY = 0;
};
enum LiquidType { kWater };
enum BeverageType { kTea };
enum class EventSound { kBell };
}  // namespace fixtures

template class Zep::Hash<String, String>;
template class Zep::Hash<String, int>;
template class Zep::Hash<String, bool>;
template class Zep::Hash<String, void*>;
template class Zep::Hash<String, fixtures::ParticleEmitter*>;
template class Zep::Hash<String, fixtures::ButtonStyle*>;
template class Zep::Hash<String, fixtures::FrameStyle*>;
template class Zep::Hash<String, fixtures::ResourceFileEntry*>;
template class Zep::Hash<String, fixtures::ProfileData*>;
template class Zep::Hash<String, SmartPtr<fixtures::Image>>;
template class Zep::Hash<String, SmartPtr<fixtures::Animation>>;
template class Zep::Hash<String, List<String>>;
template class Zep::Hash<String, List<fixtures::PathWaypoint>>;
template class Zep::Hash<String, List<SmartPtr<fixtures::Sample>>>;
template class Zep::Hash<int, void*>;
template class Zep::Hash<int, SmartPtr<fixtures::Sample>>;
template class Zep::Hash<unsigned long, unsigned long>;
template class Zep::Hash<fixtures::LiquidType, SmartPtr<fixtures::AnimSprite>>;
template class Zep::Hash<fixtures::BeverageType, SmartPtr<fixtures::AnimSprite>>;
template class Zep::Hash<fixtures::EventSound, SmartPtr<fixtures::Sample>>;
template class Zep::Hash<fixtures::Image*, SmartPtr<fixtures::Image>>;
template class Zep::Hash<fixtures::Image*, String>;
template class Zep::Hash<SmartPtr<fixtures::Image>, bool>;
template class Zep::Hash<TestColor, SmartPtr<fixtures::Image>*>;

TEST(HashInstances, EnumKeysUseTheirValue) {
    Hash<fixtures::EventSound, int> sounds;
    sounds.set(fixtures::EventSound::kBell, 3);
    EXPECT_EQ(sounds.getBucketIndex(fixtures::EventSound::kBell), 0u);
    EXPECT_EQ(notFound([&] { Hash<fixtures::BeverageType, int>().get(fixtures::kTea); }),
              "Hash key not found : 0");
    Hash<String, List<String>> lists;
    lists["a"].add("x");
    lists["a"].add("y");
    EXPECT_EQ(lists.get("a").getCount(), 2);
}
