// Zep::Stream: the abstract byte stream under files, memory, zlib and log streams,
// with the typed helpers every saved record is built from.
#pragma once

#include <cstdint>

#include "zep2/refcount.h"
#include "zep2/str.h"

namespace Zep {

class Stream : public RefCountedObject {
public:
    // Mode bits for supports().
    static constexpr int kRead = 1;
    static constexpr int kWrite = 2;

    // Byte-order flag values.
    static constexpr uint8_t kBigEndian = 0;
    static constexpr uint8_t kLittleEndian = 1;

    Stream() = default;
    ~Stream() override = default;

    // Size first, buffer second. Both return the number of bytes moved.
    virtual int read(int nSize, void* pBuffer) = 0;
    virtual int write(int nSize, const void* pBuffer) = 0;
    virtual int getPosition() = 0;
    // Absolute position from the start; 0 when done. Callers usually ignore it.
    virtual int setPosition(int nPosition) = 0;
    virtual int length() = 0;
    // True when every requested mode bit is supported.
    virtual bool supports(int nMode) = 0;

    // Bytes a reader can still get, or -1 when the stream can't tell.
    virtual int remaining() { return -1; }
    // True when a reader knows that no more bytes can come. Readers of counted
    // records use it to stop early on damaged data instead of looping on
    // empty reads.
    virtual bool atEnd() { return remaining() == 0; }
    // True once a write was refused or cut short, or the data read was damaged
    // (for streams that can tell). Byte counts stay the primary report.
    virtual bool hasError() { return false; }

    void setByteOrder(uint8_t nOrder) { m_nByteOrder = nOrder; }
    uint8_t getByteOrder() const { return m_nByteOrder; }

    // Fixed-width values. 16- and 32-bit integers follow the byte order; floats
    // and doubles are always little-endian. A short read yields zero bytes for
    // the part that did not arrive.
    uint8_t readU8();
    bool writeU8(uint8_t nValue);
    int16_t readI16();
    bool writeU16(uint16_t nValue);
    uint32_t readU32();
    bool writeU32(uint32_t nValue);
    float readFloat();
    bool writeFloat(float fValue);
    double readDouble();
    bool writeDouble(double fValue);

    // 7 bits per byte, least significant group first, 0x80 = more follows.
    int32_t readVarInt() { return static_cast<int32_t>(readVarUInt()); }
    uint32_t readVarUInt();
    bool writeVarInt(int32_t nValue) { return writeVarUInt(static_cast<uint32_t>(nValue)); }
    bool writeVarUInt(uint32_t nValue);

    // Raw bytes of the text: no length, no NUL.
    bool writeText(const char* szText);
    bool writeText(const String& sText) { return writeText(sText.c_str()); }

    // 0x12, var-int length, bytes. The reader also accepts the older big-endian
    // form 01 72 74 53 + 32-bit length.
    String readString();
    bool writeString(const char* szText);
    bool writeString(const String& sText) { return writeString(sText.c_str()); }

private:
    // Reads exactly nSize bytes or zero-fills what is missing.
    void readFixed(int nSize, uint8_t* pBytes);

    uint8_t m_nByteOrder = kLittleEndian;
};

}  // namespace Zep
