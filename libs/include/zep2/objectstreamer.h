// Zep::ObjectStreamer: typed values and object graphs over one stream that
// only reads or only writes.
//
// A streamer writes the header byte 05 when made over a writable stream and
// checks it when made over a readable one. Objects written through a pointer
// get ids 0, 1, 2 ... in the order they first appear; a later pointer to the
// same object becomes a back-reference:
//   00 <u32 id> <body>   an object met for the first time
//   01 <u32 id>          an object already written into this stream
//   02                   null
// Objects held by value are written as 00 <body>, without an id.
//
// A class becomes streamable by giving it a default constructor and two
// members, `void persistTo(ObjectStreamer&) const` and
// `void persistFrom(ObjectStreamer&)`. The four free functions writeValue,
// writeObject, readValue and readObject then work for it as templates.
// DECLARE_STREAMABLE(T) in a header and IMPLEMENT_STREAMABLE(T) in the class's
// source file turn them into plain functions compiled once, whose errors name
// that source file.
#pragma once

#include <concepts>
#include <cstdint>
#include <memory>
#include <type_traits>
#include <typeinfo>
#include <unordered_map>

#include "zep2/error.h"
#include "zep2/hash.h"
#include "zep2/refcount.h"
#include "zep2/str.h"
#include "zep2/stream.h"

namespace Zep {

class ObjectStreamer {
public:
    static constexpr uint8_t kHeader = 0x05;
    static constexpr uint8_t kLegacyHeader = 0x01;

    static constexpr uint8_t kTagNew = 0x00;
    static constexpr uint8_t kTagReference = 0x01;
    static constexpr uint8_t kTagNull = 0x02;

    // Writes or checks the header. A stream that both reads and writes throws
    // FatalErrorException before anything is read or written, and a wrong
    // older header throws it too; the stream then stays the caller's, owned
    // or not. When bOwnsStream is true the
    // streamer holds a counted reference to the stream and drops it when it is
    // destroyed, so a stream nobody else holds is deleted with the streamer
    // and one that is also held through a SmartPtr survives.
    ObjectStreamer(Stream* pStream, bool bOwnsStream);
    virtual ~ObjectStreamer();
    ObjectStreamer(const ObjectStreamer&) = delete;
    ObjectStreamer& operator=(const ObjectStreamer&) = delete;

    Stream* getStream() const { return m_pStream; }
    bool isWriting() const { return m_bWriting; }
    bool ownsStream() const { return m_bOwnsStream; }

    // True when the stream knows that no more bytes can come. Readers of
    // counted records check it before every element, so a damaged count ends
    // with an error instead of a long loop over empty reads.
    bool atEnd() const { return m_pStream->atEnd(); }

    // Writing side of the id table.
    uint32_t registerObject(const void* pObject);
    int findObjectId(const void* pObject) const;  // -1 when never written

    // Reading side of the id table.
    void registerLoaded(uint32_t nId, void* pObject);
    bool isLoaded(uint32_t nId) const;
    // Throws FatalErrorException "Hash key not found : <id>" for an id never recorded.
    void* getLoaded(uint32_t nId) const;
    // Records and checks the static type an id was read as, so that a
    // back-reference never hands out an object as a type it does not have.
    void registerLoaded(uint32_t nId, void* pObject, const std::type_info& type);
    bool isLoadedAs(uint32_t nId, const std::type_info& type) const;

    // Typed values. 16- and 32-bit integers follow the stream's byte order;
    // floats and doubles are always little-endian. Writers return the result
    // of the stream's write; readers yield 0 for bytes the stream no longer had.
    bool writeByte(uint8_t nValue);
    void readByte(uint8_t& nValue);
    bool writeUInt8(uint8_t nValue) { return writeByte(nValue); }
    void readUInt8(uint8_t& nValue) { readByte(nValue); }
    bool writeChar(char cValue);
    void readChar(char& cValue);
    bool writeBool(bool bValue);
    void readBool(bool& bValue);  // true only for the byte 1
    bool writeInt16(int16_t nValue);
    void readInt16(int16_t& nValue);
    bool writeUInt16(uint16_t nValue);
    void readUInt16(uint16_t& nValue);

    // Exactly four bytes whatever the width of the argument: a long is cut to
    // its low 32 bits when written and sign-extended when read, an unsigned
    // long zero-extended.
    template <class T>
        requires std::is_integral_v<T>
    bool writeInt32(T nValue) {
        return putU32(static_cast<uint32_t>(static_cast<int32_t>(nValue)));
    }
    void readInt32(int32_t& nValue) { nValue = static_cast<int32_t>(getU32()); }
    void readInt32(long& nValue) { nValue = static_cast<int32_t>(getU32()); }
    template <class T>
        requires std::is_integral_v<T>
    bool writeUInt32(T nValue) {
        return putU32(static_cast<uint32_t>(nValue));
    }
    void readUInt32(uint32_t& nValue) { nValue = getU32(); }
    void readUInt32(unsigned long& nValue) { nValue = getU32(); }

    bool writeFloat(float fValue);
    void readFloat(float& fValue);
    bool writeDouble(double fValue);
    void readDouble(double& fValue);

    bool writeVarInt(int32_t nValue);
    int32_t readVarInt();
    bool writeVarUInt(uint32_t nValue);
    uint32_t readVarUInt();

    // 12 <var-int length> <bytes>; the reader also takes the older form.
    bool writeString(const String& sText);
    bool writeString(const char* szText);
    void readString(String& sText);

private:
    bool putU32(uint32_t nValue);
    uint32_t getU32();
    void growIdTable(int nEntries);

    // Object address -> id when writing, id -> object address when reading.
    std::unique_ptr<Hash<unsigned long, unsigned long>> m_hIdTable;
    // Id -> static type the object was read as (reading only).
    std::unordered_map<uint32_t, const std::type_info*> m_hLoadedTypes;
    uint32_t m_nNextId = 0;
    bool m_bWriting = false;
    Stream* m_pStream = nullptr;
    bool m_bOwnsStream = false;
    SmartPtr<Stream> m_pOwnedStream;  // the counted reference of an owned stream
};

// ---------------------------------------------------------------------------
// Streamable classes

template <class T>
concept Streamable = std::is_class_v<T> && requires(T& object, const T& constObject, ObjectStreamer& streamer) {
    constObject.persistTo(streamer);
    object.persistFrom(streamer);
};

namespace detail {

inline constexpr const char* kStreamerSource = ".\\src\\objectstreamer";

template <Streamable T>
bool writeValueImpl(ObjectStreamer& streamer, const T& object) {
    bool bOk = streamer.writeByte(ObjectStreamer::kTagNew);
    object.persistTo(streamer);
    return bOk;
}

template <Streamable T>
bool writeObjectImpl(ObjectStreamer& streamer, const T* pObject) {
    if (pObject == nullptr) return streamer.writeByte(ObjectStreamer::kTagNull);
    int nId = streamer.findObjectId(pObject);
    if (nId >= 0) {
        bool bOk = streamer.writeByte(ObjectStreamer::kTagReference);
        return streamer.writeUInt32(static_cast<uint32_t>(nId)) && bOk;
    }
    // Recorded before the body, so references from inside the body become
    // back-references.
    uint32_t nNewId = streamer.registerObject(pObject);
    bool bOk = streamer.writeByte(ObjectStreamer::kTagNew);
    bOk = streamer.writeUInt32(nNewId) && bOk;
    pObject->persistTo(streamer);
    return bOk;
}

template <Streamable T>
void readValueImpl(ObjectStreamer& streamer, T& object) {
    uint8_t nTag = 0;
    streamer.readByte(nTag);  // not examined
    object.persistFrom(streamer);
}

// The object is recorded under its id only after its body was read. An object
// whose body fails to read is deleted before the error passes on, and the
// caller's pointer is left null.
template <Streamable T>
    requires std::default_initializable<T>
void readObjectImpl(ObjectStreamer& streamer, T*& pObject, const char* szSource) {
    uint8_t nTag = 0;
    streamer.readByte(nTag);
    if (nTag == ObjectStreamer::kTagNull) {
        pObject = nullptr;
        return;
    }
    uint32_t nId = 0;
    streamer.readUInt32(nId);
    if (nTag == ObjectStreamer::kTagNew) {
        pObject = nullptr;
        auto fresh = std::make_unique<T>();
        fresh->persistFrom(streamer);
        pObject = fresh.release();
        streamer.registerLoaded(nId, pObject, typeid(T));
        return;
    }
    if (!streamer.isLoadedAs(nId, typeid(T))) throw FatalErrorException(szSource, __LINE__, "AlreadyLoaded failed");
    pObject = static_cast<T*>(streamer.getLoaded(nId));
}

}  // namespace detail

template <Streamable T>
bool writeValue(ObjectStreamer& streamer, const T& object) {
    return detail::writeValueImpl(streamer, object);
}

template <Streamable T>
bool writeObject(ObjectStreamer& streamer, const T* pObject) {
    return detail::writeObjectImpl(streamer, pObject);
}

template <Streamable T>
void readValue(ObjectStreamer& streamer, T& object) {
    detail::readValueImpl(streamer, object);
}

template <Streamable T>
    requires std::default_initializable<T>
void readObject(ObjectStreamer& streamer, T*& pObject) {
    detail::readObjectImpl(streamer, pObject, detail::kStreamerSource);
}

}  // namespace Zep

// Plain functions for one class; calls prefer them over the templates above.
// DECLARE_STREAMABLE goes in a header at global scope, IMPLEMENT_STREAMABLE in
// the class's source file, where kZepSource names that file.
#define DECLARE_STREAMABLE(T)                                                   \
    namespace Zep {                                                             \
    bool writeValue(::Zep::ObjectStreamer& streamer, const T& object);          \
    bool writeObject(::Zep::ObjectStreamer& streamer, const T* pObject);        \
    void readValue(::Zep::ObjectStreamer& streamer, T& object);                 \
    void readObject(::Zep::ObjectStreamer& streamer, T*& pObject);              \
    }

#define IMPLEMENT_STREAMABLE(T)                                                 \
    namespace Zep {                                                             \
    bool writeValue(::Zep::ObjectStreamer& streamer, const T& object) {         \
        return ::Zep::detail::writeValueImpl(streamer, object);                 \
    }                                                                           \
    bool writeObject(::Zep::ObjectStreamer& streamer, const T* pObject) {       \
        return ::Zep::detail::writeObjectImpl(streamer, pObject);               \
    }                                                                           \
    void readValue(::Zep::ObjectStreamer& streamer, T& object) {                \
        ::Zep::detail::readValueImpl(streamer, object);                         \
    }                                                                           \
    void readObject(::Zep::ObjectStreamer& streamer, T*& pObject) {             \
        ::Zep::detail::readObjectImpl(streamer, pObject, kZepSource);           \
    }                                                                           \
    }

// The library's own streamable classes.
namespace Zep {
class Date;
}
DECLARE_STREAMABLE(::Zep::Date)

// The stream form of lists and hash tables comes with the streamer, so that
// whoever can make a streamer can also persist containers.
#include "zep2/persist_impl.h"
