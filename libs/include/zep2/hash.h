// Zep::Hash<K,V>: the library's associative container, a chained hash table
// of HashNode records.
//
// The bucket count is fixed at construction (97 everywhere in the system) and
// changes only through init or an explicit rehash, which picks the first of
// eleven sizes (5 ... 6421) that holds the entries. Storing never resizes.
//
// Visiting order is part of the table's contract: getKeys and getValues walk
// the buckets from the last index down to 0, and each bucket oldest entry
// first. Saved tables are written in that order, so the hash functions below
// and the bucket arithmetic must not change.
//
// Key types are plugged in through HashTraits<K>: String, integers and
// enumerations, raw pointers and SmartPtr are built in; any type with
// `uint32_t pack() const` and `String toString() const` (a colour, say) works
// as a key as it stands, and other types can specialise HashTraits themselves.
//
// The member bodies live in hash_impl.h, which this header pulls in.
#pragma once

#include <concepts>
#include <cstdint>
#include <memory>
#include <type_traits>
#include <vector>

#include "zep2/error.h"
#include "zep2/list.h"
#include "zep2/refcount.h"
#include "zep2/str.h"

namespace Zep {

class ObjectStreamer;

// Free hash functions and key texts.
// hashString: h = h * 31 + c over the bytes taken as signed, the closing NUL
// included. hashInt and hashPointer return their argument unchanged.
uint32_t hashString(const char* text);
uint32_t hashInt(int value);
uint32_t hashPointer(const void* address);
// "\"abc\"", "%d", "0x%08X" (at least eight upper-case hex digits).
String stringKeyText(const String& key);
String intKeyText(int value);
String pointerKeyText(const void* address);

// hash(key) -> uint32_t and keyText(key) -> String for one key type.
template <class K>
struct HashTraits;

template <>
struct HashTraits<String> {
    static uint32_t hash(const String& key) { return hashString(key.c_str()); }
    static String keyText(const String& key) { return stringKeyText(key); }
};

// int, unsigned long and enumerations: the value, cut to 32 bits, read as int.
template <class K>
    requires(std::is_integral_v<K> || std::is_enum_v<K>)
struct HashTraits<K> {
    static uint32_t hash(K key) { return hashInt(static_cast<int>(key)); }
    static String keyText(K key) { return intKeyText(static_cast<int>(key)); }
};

template <class P>
struct HashTraits<P*> {
    static uint32_t hash(const P* key) { return hashPointer(key); }
    static String keyText(const P* key) { return pointerKeyText(key); }
};

template <class P>
struct HashTraits<SmartPtr<P>> {
    static uint32_t hash(const SmartPtr<P>& key) { return hashPointer(key.get()); }
    static String keyText(const SmartPtr<P>& key) { return pointerKeyText(key.get()); }
};

// Value keys that pack themselves into 32 bits and print themselves.
template <class K>
concept PackedHashKey = requires(const K& key) {
    { key.pack() } -> std::convertible_to<uint32_t>;
    { key.toString() } -> std::convertible_to<String>;
};

template <PackedHashKey K>
struct HashTraits<K> {
    static uint32_t hash(const K& key) { return static_cast<uint32_t>(key.pack()); }
    static String keyText(const K& key) { return key.toString(); }
};

// One entry: key, then value (so the value is destroyed first). Plain data.
// Scalar and pointer members start at zero, false or null.
template <class K, class V>
struct HashNode {
    K key{};
    V value{};

    HashNode() = default;
    explicit HashNode(const K& k) : key(k), value() {}
    HashNode(const K& k, const V& v) : key(k), value(v) {}

    // Reads the key, then the value; defined in persist_impl.h.
    void persistFrom(ObjectStreamer& streamer);
};

template <class K, class V>
class Hash : public RefCountedObject {
public:
    using Node = HashNode<K, V>;

    static constexpr const char* kZepSource = "hash_impl";
    static constexpr int kDefaultBucketCount = 97;

    explicit Hash(int bucketCount = kDefaultBucketCount);
    // Copies keep the bucket count and the visiting order.
    Hash(const Hash& other);
    Hash(Hash&& other) noexcept;  // the source is left without buckets, empty
    Hash& operator=(const Hash& other);
    Hash& operator=(Hash&& other) noexcept;
    ~Hash() override;

    // Drops every entry and makes n empty buckets (n below 1 counts as 1).
    void init(int bucketCount);
    // Removes every entry; values that are pointers are not deleted.
    void clear();
    // Pointer values only: deletes every non-null value, then clears.
    void deleteAll()
        requires(std::is_pointer_v<V> && std::is_object_v<std::remove_pointer_t<V>>);

    uint32_t getBucketIndex(const K& key) const;
    Node* findNode(const K& key) const;
    // Append a new node at the tail of the key's bucket without testing
    // whether the key is there already; set and operator[] test first.
    Node* addDefault(const K& key);
    Node* addNode(const K& key, const V& value);

    List<K> getKeys() const;
    List<V> getValues() const;
    int getCount() const;
    bool isEmpty() const;
    int getBucketCount() const { return m_nBucketCount; }
    // Moves every node of `nodes` to the tail of bucket `index`, in order, and
    // takes ownership of them; `nodes` ends empty. For the reader of the old
    // bucket-by-bucket stream form, which restores the stored buckets as they were.
    void adoptNodes(int index, List<Node*>& nodes);

    // Sets every key of the other table to its value there.
    void addAll(const Hash& other);
    // First of 5, 11, 23, 47, 97, 197, 397, 797, 1597, 3203, 6421 not below n.
    static int getTableSize(int n);
    // Re-buckets to getTableSize(getCount()); shrinks as well as grows. The
    // nodes move to their new buckets: no key or value is copied.
    void rehash();
    // Rehashes when nEntries, counted by the caller, want more buckets than
    // the table has: a table filled one entry at a time grows in a few steps
    // without walking its buckets to count them at each entry.
    void growFor(int nEntries);

    // Throws FatalErrorException "Hash key not found : <key text>".
    virtual V& get(const K& key);
    const V& get(const K& key) const;
    // Replaces the value in place, or appends a new entry to the key's bucket.
    virtual void set(const K& key, const V& value);
    // Called by operator[] right after it added an entry.
    virtual void onEntryAdded(const K&) {}
    // Adds the key with a value-initialised value when it is missing.
    virtual V& operator[](const K& key);
    virtual bool contains(const K& key) const;
    // Returns the removed value; V{} when the key is not there.
    virtual V remove(const K& key);

    // Stream form; the bodies are in persist_impl.h.
    void persistTo(ObjectStreamer& streamer) const;
    void persistFrom(ObjectStreamer& streamer);

private:
    // A bucket holds its entries oldest first, each with its key's hash so
    // that a lookup scans one contiguous run and compares keys only on a
    // matching hash. The nodes themselves never move while they live, so
    // references into them stay valid.
    struct Slot {
        uint32_t m_nHash;
        Node* m_pNode;
    };
    using Bucket = std::vector<Slot>;

    // Visits every node in the visiting order of getKeys.
    template <class Visit>
    void forEachNode(Visit&& visit) const;
    // Copies of one member of every node, in visiting order.
    template <class T>
    List<T> collect(T Node::*member) const;
    void mergeDuplicateKeys();
    Node* link(std::unique_ptr<Node> node, uint32_t hash);
    Node* findNode(const K& key, uint32_t hash) const;
    uint32_t bucketOf(uint32_t hash) const { return hash % static_cast<uint32_t>(m_nBucketCount); }
    [[noreturn]] void throwKeyNotFound(const K& key) const;

    std::unique_ptr<Bucket[]> m_pBuckets;
    int32_t m_nBucketCount = 0;
};

}  // namespace Zep

#include "zep2/hash_impl.h"
