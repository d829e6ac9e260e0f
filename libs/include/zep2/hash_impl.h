// Member bodies of Zep::Hash<K,V>. Include zep2/hash.h, which pulls this in.
#pragma once

#include <iterator>
#include <utility>

#include "zep2/hash.h"

namespace Zep {

// ---------------------------------------------------------------------------
// Construction, copying, destruction

template <class K, class V>
Hash<K, V>::Hash(int bucketCount) {
    init(bucketCount);
}

template <class K, class V>
Hash<K, V>::Hash(const Hash& other) : RefCountedObject() {
    init(other.m_pBuckets ? other.m_nBucketCount : kDefaultBucketCount);
    try {
        for (int i = 0; i < other.m_nBucketCount; ++i) {
            const Bucket& from = other.m_pBuckets[i];
            Bucket& to = m_pBuckets[i];
            to.reserve(from.size());
            for (const Slot& slot : from) {
                auto node = std::make_unique<Node>(*slot.m_pNode);
                to.push_back(Slot{slot.m_nHash, node.get()});
                node.release();
            }
        }
    } catch (...) {
        clear();  // the destructor does not run for a half-built object
        throw;
    }
}

template <class K, class V>
Hash<K, V>::Hash(Hash&& other) noexcept
    : RefCountedObject(), m_pBuckets(std::move(other.m_pBuckets)), m_nBucketCount(other.m_nBucketCount) {
    other.m_nBucketCount = 0;
}

template <class K, class V>
Hash<K, V>& Hash<K, V>::operator=(const Hash& other) {
    if (&other == this) return *this;
    Hash copy(other);
    std::swap(m_pBuckets, copy.m_pBuckets);
    std::swap(m_nBucketCount, copy.m_nBucketCount);
    return *this;
}

template <class K, class V>
Hash<K, V>& Hash<K, V>::operator=(Hash&& other) noexcept {
    if (&other == this) return *this;
    clear();
    m_pBuckets = std::move(other.m_pBuckets);
    m_nBucketCount = other.m_nBucketCount;
    other.m_nBucketCount = 0;
    return *this;
}

template <class K, class V>
Hash<K, V>::~Hash() {
    ZEP_TRACE("Hash::~Hash");
    clear();
    m_pBuckets.reset();
}

// ---------------------------------------------------------------------------
// Buckets

template <class K, class V>
void Hash<K, V>::init(int bucketCount) {
    ZEP_TRACE("Hash::init");
    // A bucket index is a remainder of a division by the count.
    if (bucketCount < 1) bucketCount = 1;
    auto fresh = std::make_unique<Bucket[]>(static_cast<size_t>(bucketCount));
    clear();
    m_pBuckets = std::move(fresh);
    m_nBucketCount = bucketCount;
}

template <class K, class V>
void Hash<K, V>::clear() {
    ZEP_TRACE("Hash::clear");
    // Last bucket first, oldest entry first: the order in which keys and
    // values are destroyed.
    for (int i = m_nBucketCount - 1; i >= 0; --i) {
        Bucket& bucket = m_pBuckets[i];
        for (const Slot& slot : bucket) delete slot.m_pNode;
        bucket.clear();
    }
}

template <class K, class V>
void Hash<K, V>::deleteAll()
    requires(std::is_pointer_v<V> && std::is_object_v<std::remove_pointer_t<V>>)
{
    ZEP_TRACE("Hash::deleteAll");
    // Guarded again inside: clang before 16 instantiates every member on an
    // explicit instantiation of the class, whatever its constraints.
    if constexpr (std::is_pointer_v<V> && std::is_object_v<std::remove_pointer_t<V>>) {
        forEachNode([](Node& node) {
            delete node.value;  // null values are skipped by delete itself
            node.value = nullptr;
        });
    }
    clear();
}

template <class K, class V>
uint32_t Hash<K, V>::getBucketIndex(const K& key) const {
    ZEP_TRACE("Hash::getBucketIndex");
    ZEP_ASSERT(m_nBucketCount > 0);
    return bucketOf(HashTraits<K>::hash(key));
}

template <class K, class V>
void Hash<K, V>::adoptNodes(int index, List<Node*>& nodes) {
    ZEP_TRACE("Hash::adoptNodes");
    ZEP_ASSERT(index >= 0 && index < m_nBucketCount);
    while (!nodes.isEmpty()) {
        Node* node = nodes.getFirst();
        if (node != nullptr) m_pBuckets[index].push_back(Slot{HashTraits<K>::hash(node->key), node});
        nodes.removeFirst();  // only once the bucket holds it
    }
}

template <class K, class V>
int Hash<K, V>::getTableSize(int n) {
    ZEP_TRACE("Hash::getTableSize");
    static constexpr int kSizes[] = {5, 11, 23, 47, 97, 197, 397, 797, 1597, 3203, 6421};
    for (int size : kSizes) {
        if (n <= size) return size;
    }
    return kSizes[std::size(kSizes) - 1];
}

template <class K, class V>
void Hash<K, V>::rehash() {
    ZEP_TRACE("Hash::rehash");
    const int size = getTableSize(getCount());
    if (size == m_nBucketCount) return;
    // The slots go to the new buckets in visiting order, which appends each
    // entry as setting it would. The old buckets keep owning the nodes until
    // every slot is placed, so a failed allocation changes nothing.
    auto fresh = std::make_unique<Bucket[]>(static_cast<size_t>(size));
    for (int i = m_nBucketCount - 1; i >= 0; --i) {
        for (const Slot& slot : m_pBuckets[i]) fresh[slot.m_nHash % static_cast<uint32_t>(size)].push_back(slot);
    }
    m_pBuckets.swap(fresh);
    m_nBucketCount = size;
    mergeDuplicateKeys();
}

template <class K, class V>
void Hash<K, V>::growFor(int nEntries) {
    if (getTableSize(nEntries) > m_nBucketCount) rehash();
}

// A restored legacy table can hold a key twice. Setting the entries one by
// one would keep the first entry with the last value: do the same.
template <class K, class V>
void Hash<K, V>::mergeDuplicateKeys() {
    for (int i = 0; i < m_nBucketCount; ++i) {
        Bucket& bucket = m_pBuckets[i];
        for (size_t j = 1; j < bucket.size();) {
            Node* node = bucket[j].m_pNode;
            Node* first = findNode(node->key, bucket[j].m_nHash);
            if (first == node) {
                ++j;
                continue;
            }
            first->value = std::move(node->value);
            bucket.erase(bucket.begin() + static_cast<std::ptrdiff_t>(j));
            delete node;
        }
    }
}

// ---------------------------------------------------------------------------
// Entries

template <class K, class V>
HashNode<K, V>* Hash<K, V>::findNode(const K& key) const {
    ZEP_TRACE("Hash::findNode");
    if (!m_pBuckets) return nullptr;
    return findNode(key, HashTraits<K>::hash(key));
}

template <class K, class V>
HashNode<K, V>* Hash<K, V>::findNode(const K& key, uint32_t hash) const {
    for (const Slot& slot : m_pBuckets[bucketOf(hash)]) {
        if (slot.m_nHash == hash && slot.m_pNode->key == key) return slot.m_pNode;
    }
    return nullptr;
}

template <class K, class V>
HashNode<K, V>* Hash<K, V>::link(std::unique_ptr<Node> node, uint32_t hash) {
    if (!m_pBuckets) init(kDefaultBucketCount);  // a moved-from table
    m_pBuckets[bucketOf(hash)].push_back(Slot{hash, node.get()});
    return node.release();
}

template <class K, class V>
HashNode<K, V>* Hash<K, V>::addDefault(const K& key) {
    ZEP_TRACE("Hash::addDefault");
    return link(std::make_unique<Node>(key), HashTraits<K>::hash(key));
}

template <class K, class V>
HashNode<K, V>* Hash<K, V>::addNode(const K& key, const V& value) {
    ZEP_TRACE("Hash::addNode");
    return link(std::make_unique<Node>(key, value), HashTraits<K>::hash(key));
}

template <class K, class V>
void Hash<K, V>::throwKeyNotFound(const K& key) const {
    String message("Hash key not found : ");
    message += HashTraits<K>::keyText(key);
    ZEP_THROW(FatalErrorException, message.c_str());
}

template <class K, class V>
V& Hash<K, V>::get(const K& key) {
    ZEP_TRACE("Hash::get");
    Node* node = findNode(key);
    if (node == nullptr) throwKeyNotFound(key);
    return node->value;
}

template <class K, class V>
const V& Hash<K, V>::get(const K& key) const {
    ZEP_TRACE("Hash::get");
    Node* node = findNode(key);
    if (node == nullptr) throwKeyNotFound(key);
    return node->value;
}

template <class K, class V>
void Hash<K, V>::set(const K& key, const V& value) {
    ZEP_TRACE("Hash::set");
    const uint32_t hash = HashTraits<K>::hash(key);
    Node* node = m_pBuckets ? findNode(key, hash) : nullptr;
    if (node == nullptr)
        link(std::make_unique<Node>(key, value), hash);
    else if (&node->value != &value)
        node->value = value;
}

template <class K, class V>
V& Hash<K, V>::operator[](const K& key) {
    const uint32_t hash = HashTraits<K>::hash(key);
    Node* node = m_pBuckets ? findNode(key, hash) : nullptr;
    if (node != nullptr) return node->value;
    link(std::make_unique<Node>(key), hash);
    onEntryAdded(key);
    return get(key);
}

template <class K, class V>
bool Hash<K, V>::contains(const K& key) const {
    ZEP_TRACE("Hash::contains");
    return findNode(key) != nullptr;
}

template <class K, class V>
V Hash<K, V>::remove(const K& key) {
    ZEP_TRACE("Hash::remove");
    if (!m_pBuckets) return V{};
    const uint32_t hash = HashTraits<K>::hash(key);
    Bucket& bucket = m_pBuckets[bucketOf(hash)];
    for (auto slot = bucket.begin(); slot != bucket.end(); ++slot) {
        Node* node = slot->m_pNode;
        if (slot->m_nHash == hash && node->key == key) {
            V result(std::move(node->value));
            bucket.erase(slot);  // the later entries keep their order
            delete node;
            return result;
        }
    }
    return V{};
}

// ---------------------------------------------------------------------------
// Whole-table views

template <class K, class V>
template <class Visit>
void Hash<K, V>::forEachNode(Visit&& visit) const {
    for (int i = m_nBucketCount - 1; i >= 0; --i) {
        for (const Slot& slot : m_pBuckets[i]) visit(*slot.m_pNode);
    }
}

template <class K, class V>
template <class T>
List<T> Hash<K, V>::collect(T Node::*member) const {
    List<T> items;
    forEachNode([&items, member](const Node& node) { items.add(node.*member); });
    return items;
}

template <class K, class V>
List<K> Hash<K, V>::getKeys() const {
    ZEP_TRACE("Hash::getKeys");
    return collect(&Node::key);
}

template <class K, class V>
List<V> Hash<K, V>::getValues() const {
    ZEP_TRACE("Hash::getValues");
    return collect(&Node::value);
}

template <class K, class V>
int Hash<K, V>::getCount() const {
    ZEP_TRACE("Hash::getCount");
    size_t count = 0;
    for (int i = 0; i < m_nBucketCount; ++i) count += m_pBuckets[i].size();
    return static_cast<int>(count);
}

template <class K, class V>
bool Hash<K, V>::isEmpty() const {
    ZEP_TRACE("Hash::isEmpty");
    for (int i = 0; i < m_nBucketCount; ++i) {
        if (!m_pBuckets[i].empty()) return false;
    }
    return true;
}

template <class K, class V>
void Hash<K, V>::addAll(const Hash& other) {
    ZEP_TRACE("Hash::addAll");
    if (&other == this) return;
    // The other table's visiting order, as getKeys gives it.
    other.forEachNode([this](const Node& node) { set(node.key, node.value); });
}

}  // namespace Zep
