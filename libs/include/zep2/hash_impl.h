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
            for (auto* item = other.m_pBuckets[i].getHead(); item != nullptr; item = item->next) {
                auto node = std::make_unique<Node>(*item->data);
                m_pBuckets[i].add(node.get());
                node.release();
            }
        }
    } catch (...) {
        clear();  // the bucket lists do not own their nodes
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
    clear();
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
    if (!m_pBuckets) return;
    for (int i = m_nBucketCount - 1; i >= 0; --i) m_pBuckets[i].deleteAll();
}

template <class K, class V>
void Hash<K, V>::deleteAll()
    requires(std::is_pointer_v<V> && std::is_object_v<std::remove_pointer_t<V>>)
{
    ZEP_TRACE("Hash::deleteAll");
    if (!m_pBuckets) return;
    for (int i = m_nBucketCount - 1; i >= 0; --i) {
        for (auto* item = m_pBuckets[i].getHead(); item != nullptr; item = item->next) {
            Node* node = item->data;
            if (node->value != nullptr) {
                delete node->value;
                node->value = nullptr;
            }
        }
    }
    clear();
}

template <class K, class V>
uint32_t Hash<K, V>::getBucketIndex(const K& key) const {
    ZEP_TRACE("Hash::getBucketIndex");
    ZEP_ASSERT(m_nBucketCount > 0);
    return HashTraits<K>::hash(key) % static_cast<uint32_t>(m_nBucketCount);
}

template <class K, class V>
typename Hash<K, V>::Bucket& Hash<K, V>::getBucket(int index) {
    ZEP_ASSERT(index >= 0 && index < m_nBucketCount);
    return m_pBuckets[index];
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
    List<K> keys = getKeys();
    const int size = getTableSize(keys.getCount());
    if (size == m_nBucketCount) return;
    List<V> values = getValues();
    init(size);
    auto value = values.begin();
    for (const K& key : keys) {
        set(key, *value);
        ++value;
    }
}

// ---------------------------------------------------------------------------
// Entries

template <class K, class V>
HashNode<K, V>* Hash<K, V>::findNode(const K& key) const {
    ZEP_TRACE("Hash::findNode");
    if (!m_pBuckets) return nullptr;
    const Bucket& bucket = m_pBuckets[getBucketIndex(key)];
    for (auto* item = bucket.getHead(); item != nullptr; item = item->next) {
        if (item->data->key == key) return item->data;
    }
    return nullptr;
}

template <class K, class V>
HashNode<K, V>* Hash<K, V>::link(std::unique_ptr<Node> node) {
    if (!m_pBuckets) init(kDefaultBucketCount);  // a moved-from table
    m_pBuckets[getBucketIndex(node->key)].add(node.get());
    return node.release();
}

template <class K, class V>
HashNode<K, V>* Hash<K, V>::addDefault(const K& key) {
    ZEP_TRACE("Hash::addDefault");
    return link(std::make_unique<Node>(key));
}

template <class K, class V>
HashNode<K, V>* Hash<K, V>::addNode(const K& key, const V& value) {
    ZEP_TRACE("Hash::addNode");
    return link(std::make_unique<Node>(key, value));
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
    Node* node = findNode(key);
    if (node == nullptr)
        addNode(key, value);
    else if (&node->value != &value)
        node->value = value;
}

template <class K, class V>
V& Hash<K, V>::operator[](const K& key) {
    Node* node = findNode(key);
    if (node != nullptr) return node->value;
    addDefault(key);
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
    Bucket& bucket = m_pBuckets[getBucketIndex(key)];
    bucket.rewind();
    while (bucket.hasCurrent()) {
        Node* node = bucket.current();
        if (node->key == key) {
            V result(std::move(node->value));
            bucket.removeCurrent();
            delete node;
            return result;
        }
        bucket.advance();
    }
    return V{};
}

// ---------------------------------------------------------------------------
// Whole-table views

template <class K, class V>
List<K> Hash<K, V>::getKeys() const {
    ZEP_TRACE("Hash::getKeys");
    List<K> keys;
    for (int i = m_nBucketCount - 1; i >= 0; --i) {
        for (auto* item = m_pBuckets[i].getHead(); item != nullptr; item = item->next) keys.add(item->data->key);
    }
    return keys;
}

template <class K, class V>
List<V> Hash<K, V>::getValues() const {
    ZEP_TRACE("Hash::getValues");
    List<V> values;
    for (int i = m_nBucketCount - 1; i >= 0; --i) {
        for (auto* item = m_pBuckets[i].getHead(); item != nullptr; item = item->next)
            values.add(item->data->value);
    }
    return values;
}

template <class K, class V>
int Hash<K, V>::getCount() const {
    ZEP_TRACE("Hash::getCount");
    int count = 0;
    for (int i = 0; i < m_nBucketCount; ++i) count += m_pBuckets[i].getCount();
    return count;
}

template <class K, class V>
bool Hash<K, V>::isEmpty() const {
    ZEP_TRACE("Hash::isEmpty");
    for (int i = 0; i < m_nBucketCount; ++i) {
        if (m_pBuckets[i].getCount() != 0) return false;
    }
    return true;
}

template <class K, class V>
void Hash<K, V>::addAll(const Hash& other) {
    ZEP_TRACE("Hash::addAll");
    if (&other == this) return;
    // The other table's visiting order, as getKeys gives it.
    for (int i = other.m_nBucketCount - 1; i >= 0; --i) {
        for (auto* item = other.m_pBuckets[i].getHead(); item != nullptr; item = item->next)
            set(item->data->key, item->data->value);
    }
}

}  // namespace Zep
