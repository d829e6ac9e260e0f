// Zep::MemStream: bytes in memory, either a growable buffer the stream owns
// (write-only by its mode, though reading is not refused) or a read-only view
// over somebody else's bytes.
#pragma once

#include <cstdint>
#include <memory>

#include "zep2/refcount.h"
#include "zep2/stream.h"

namespace Zep {

class MemStream : public Stream {
public:
    static constexpr int kFirstCapacity = 32768;

    // Growable: no buffer until the first write; supports write only.
    MemStream();
    // Read-only view over nSize bytes at pData; they are neither copied nor
    // freed and must outlive the stream.
    MemStream(const void* pData, int nSize);
    ~MemStream() override;
    MemStream(const MemStream&) = delete;
    MemStream& operator=(const MemStream&) = delete;

    int read(int nSize, void* pBuffer) override;
    // Grows the buffer as needed; a position past the end is reached by
    // zero-filling the gap. A view, or a negative position, writes nothing.
    int write(int nSize, const void* pBuffer) override;
    int getPosition() override { return m_nPosition; }
    // Not checked here; reads and writes outside the data do nothing.
    int setPosition(int nPosition) override;
    int length() override { return m_nSize; }
    bool supports(int nMode) override { return (m_nMode & nMode) == nMode; }
    int remaining() override;

    // Null for a growable stream that was never written.
    void* getBuffer() { return m_pData; }
    const void* getBuffer() const { return m_pData; }
    int getCapacity() const { return m_nCapacity; }

    // A read-only stream over a copy of the current bytes; it stays valid
    // whatever happens to this stream afterwards.
    SmartPtr<MemStream> clone() const;

private:
    static constexpr int kModeView = 1;
    static constexpr int kModeGrowable = 2;

    void reserveFor(int64_t nEnd);

    int m_nCapacity = 0;
    int m_nSize = 0;
    int m_nPosition = 0;
    uint8_t* m_pData = nullptr;
    int m_nMode = kModeGrowable;
    std::unique_ptr<uint8_t[]> m_pOwned;  // null for a view over foreign bytes
};

}  // namespace Zep
