// Stream form of Zep::List<T> and Zep::Hash<K,V>.
//
// A container record starts with one type byte, the type in the low four bits
// and the version in the high four, then a var-int count and the elements:
//   list   14 <count> element*
//   hash   13 <count> (key value)*
// Readers also take the older forms, which start with a version byte and a
// three-byte tag and carry 32-bit counts in the stream's byte order:
//   list   01 74 73 4C <count> element*
//   hash   02 68 73 48 <byte> <key list> <byte> <value list>
//   hash   01 68 73 48 <bucket count> (<byte> <list of HashNode pointers>)*
//
// Element rules: a String is a string record; a streamable class held by value
// goes through writeValue/readValue, one held through a pointer through
// writeObject/readObject (see objectstreamer.h).
//
// Counts come from the data and are not trusted: readers stop with "bad stream
// format" as soon as the stream knows it has nothing left, and never size
// anything by a count before the elements have arrived.
#pragma once

#include <cstdio>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

#include "zep2/error.h"
#include "zep2/hash.h"
#include "zep2/list.h"
#include "zep2/objectstreamer.h"
#include "zep2/str.h"

namespace Zep {

namespace persist_detail {

inline constexpr uint8_t kTypeHash = 0x13;
inline constexpr uint8_t kTypeList = 0x14;
inline constexpr uint8_t kTypeMask = 0x0F;
inline constexpr uint8_t kVersionMask = 0xF0;
inline constexpr uint8_t kVersion1 = 0x10;
inline constexpr uint32_t kLegacyListTag = 0x74734C;
inline constexpr uint32_t kLegacyHashTag = 0x687348;

// The three tag bytes of an older header, most significant first.
inline uint32_t readLegacyTag(ObjectStreamer& streamer) {
    uint32_t nTag = 0;
    for (int i = 0; i < 3; ++i) {
        char c = 0;
        streamer.readChar(c);
        nTag = (nTag << 8) | static_cast<uint8_t>(c);
    }
    return nTag;
}

inline uint8_t readTypeByte(ObjectStreamer& streamer) {
    char c = 0;
    streamer.readChar(c);
    return static_cast<uint8_t>(c);
}

// --- writing one element

inline bool writeElement(ObjectStreamer& streamer, const String& sValue) { return streamer.writeString(sValue); }

template <Streamable T>
bool writeElement(ObjectStreamer& streamer, const T& value) {
    return writeValue(streamer, value);
}

template <Streamable T>
bool writeElement(ObjectStreamer& streamer, const T* pValue) {
    return writeObject(streamer, pValue);
}

// --- reading one element into a default-constructed one

inline void readElement(ObjectStreamer& streamer, String& sValue) { streamer.readString(sValue); }

template <Streamable T>
void readElement(ObjectStreamer& streamer, T& value) {
    readValue(streamer, value);
}

template <Streamable T>
    requires std::default_initializable<T>
void readElement(ObjectStreamer& streamer, T*& pValue) {
    readObject(streamer, pValue);
}

// The nodes of an older bucket-by-bucket table. They live only until the
// table is rebuilt, so they are never recorded under their ids and a
// back-reference to one is refused: it would hand out a node that is about to
// be freed, or put one node into the table twice.
template <class K, class V>
void readElement(ObjectStreamer& streamer, HashNode<K, V>*& pNode) {
    uint8_t nTag = 0;
    streamer.readByte(nTag);
    pNode = nullptr;
    if (nTag == ObjectStreamer::kTagNull) return;
    if (nTag != ObjectStreamer::kTagNew)
        throw BadStreamFormatException(Hash<K, V>::kZepSource, __LINE__, "Hash::persistFrom : bad stream format\n");
    uint32_t nId = 0;
    streamer.readUInt32(nId);
    auto fresh = std::make_unique<HashNode<K, V>>();
    fresh->persistFrom(streamer);
    pNode = fresh.release();
}

// Older form, version 1: the bucket count, then every bucket as a list of
// node pointers. Gives the entries in the table's visiting order (last bucket
// first, each bucket head to tail). The stored bucket count only drives the
// loop: nothing is sized by it, so a damaged count can't exhaust memory.
// On a failure the entries of the buckets read completely so far are set into
// the table before the error passes on.
template <class K, class V>
void readLegacyBuckets(Hash<K, V>& table, ObjectStreamer& streamer, List<K>& keys, List<V>& values) {
    using Node = HashNode<K, V>;
    int32_t nBuckets = 0;
    streamer.readInt32(nBuckets);
    std::vector<std::vector<std::unique_ptr<Node>>> buckets;
    auto visit = [&buckets](auto&& onEntry) {
        for (auto bucket = buckets.rbegin(); bucket != buckets.rend(); ++bucket) {
            for (auto& node : *bucket) onEntry(*node);
        }
    };
    try {
        for (int32_t i = 0; i < nBuckets; ++i) {
            if (streamer.atEnd())
                throw BadStreamFormatException(Hash<K, V>::kZepSource, __LINE__,
                                               "Hash::persistFrom : bad stream format\n");
            char cIgnored = 0;
            streamer.readChar(cIgnored);
            List<Node*> bucketList;
            try {
                bucketList.persistFrom(streamer);
            } catch (...) {
                bucketList.deleteAll();
                throw;
            }
            std::vector<std::unique_ptr<Node>> owned;
            owned.reserve(static_cast<size_t>(bucketList.getCount()));
            for (Node* node : bucketList) {
                if (node != nullptr) owned.emplace_back(node);
            }
            bucketList.clear();
            buckets.push_back(std::move(owned));
        }
    } catch (...) {
        visit([&table](const Node& node) { table.set(node.key, node.value); });
        throw;
    }
    visit([&keys, &values](const Node& node) {
        keys.add(node.key);
        values.add(node.value);
    });
}

}  // namespace persist_detail

// ---------------------------------------------------------------------------
// List

template <class T>
void List<T>::persistTo(ObjectStreamer& streamer) const {
    ZEP_TRACE("List::persistTo");
    streamer.writeChar(static_cast<char>(persist_detail::kTypeList));
    streamer.writeVarInt(m_nCount);
    for (const T& item : *this) persist_detail::writeElement(streamer, item);
}

template <class T>
void List<T>::persistFrom(ObjectStreamer& streamer) {
    ZEP_TRACE("List::persistFrom");
    clear();
    const uint8_t nType = persist_detail::readTypeByte(streamer);
    uint32_t nCount = 0;
    if (nType == 0x01) {
        if (persist_detail::readLegacyTag(streamer) != persist_detail::kLegacyListTag)
            ZEP_THROW(BadStreamFormatException, "List::persistFrom : bad stream format\n");
        int32_t nLegacyCount = 0;
        streamer.readInt32(nLegacyCount);
        nCount = static_cast<uint32_t>(nLegacyCount);
    } else {
        if ((nType & persist_detail::kTypeMask) != (persist_detail::kTypeList & persist_detail::kTypeMask))
            ZEP_THROW(BadStreamFormatException, "List::persistFrom : bad stream format\n");
        if ((nType & persist_detail::kVersionMask) != persist_detail::kVersion1)
            ZEP_THROW(BadStreamFormatException, "List::persistFrom : unknown format version\n");
        nCount = streamer.readVarUInt();
    }
    while (nCount != 0) {
        --nCount;
        // Every element takes at least one byte.
        if (streamer.atEnd()) ZEP_THROW(BadStreamFormatException, "List::persistFrom : bad stream format\n");
        T item{};
        persist_detail::readElement(streamer, item);
        add(std::move(item));
    }
}

// ---------------------------------------------------------------------------
// Hash table

template <class K, class V>
void HashNode<K, V>::persistFrom(ObjectStreamer& streamer) {
    persist_detail::readElement(streamer, key);
    persist_detail::readElement(streamer, value);
}

template <class K, class V>
void Hash<K, V>::persistTo(ObjectStreamer& streamer) const {
    ZEP_TRACE("Hash::persistTo");
    streamer.writeChar(static_cast<char>(persist_detail::kTypeHash));
    List<K> keys = getKeys();
    List<V> values = getValues();
    streamer.writeVarInt(keys.getCount());
    auto value = values.begin();
    for (const K& key : keys) {
        persist_detail::writeElement(streamer, key);
        persist_detail::writeElement(streamer, *value);
        ++value;
    }
}

template <class K, class V>
void Hash<K, V>::persistFrom(ObjectStreamer& streamer) {
    ZEP_TRACE("Hash::persistFrom");
    clear();
    const uint8_t nType = persist_detail::readTypeByte(streamer);

    if (nType == 0x01 || nType == 0x02) {
        if (persist_detail::readLegacyTag(streamer) != persist_detail::kLegacyHashTag)
            ZEP_THROW(BadStreamFormatException, "Hash::persistFrom : bad stream format\n");
        List<K> keys;
        List<V> values;
        if (nType == 0x01) {
            std::fprintf(stderr, "WARNING : %s\n", "Hash::persistFrom : reading old format version 1");
            persist_detail::readLegacyBuckets(*this, streamer, keys, values);
        } else {
            char cIgnored = 0;
            streamer.readChar(cIgnored);
            keys.persistFrom(streamer);
            streamer.readChar(cIgnored);
            values.persistFrom(streamer);
        }
        init(getTableSize(keys.getCount()));
        // Values beyond the keys are ignored; a missing one throws from get.
        int i = 0;
        for (const K& key : keys) {
            set(key, values.get(i));
            ++i;
        }
        return;
    }

    if ((nType & persist_detail::kTypeMask) != (persist_detail::kTypeHash & persist_detail::kTypeMask))
        ZEP_THROW(BadStreamFormatException, "Hash::persistFrom : bad stream format\n");
    if ((nType & persist_detail::kVersionMask) != persist_detail::kVersion1)
        ZEP_THROW(BadStreamFormatException, "Hash::persistFrom : unknown format version\n");
    uint32_t nCount = streamer.readVarUInt();
    // Into the buckets as they stand; one resize at the end.
    while (nCount != 0) {
        --nCount;
        if (streamer.atEnd()) ZEP_THROW(BadStreamFormatException, "Hash::persistFrom : bad stream format\n");
        K key{};
        V value{};
        persist_detail::readElement(streamer, key);
        persist_detail::readElement(streamer, value);
        set(key, value);
    }
    rehash();
}

}  // namespace Zep
