// Zep::ZStream: zlib compression over another stream. It inflates when the
// inner stream reads and deflates otherwise; the direction is fixed at
// construction.
#pragma once

#include <cstdint>
#include <memory>

#include "zep2/stream.h"

struct z_stream_s;

namespace Zep {

class ZStream : public Stream {
public:
    static constexpr int defaultLevel = 9;
    // Compressed bytes move to and from the inner stream in pieces of at most
    // this size; when reading, the unused rest is handed back to the inner
    // stream on destruction.
    static constexpr int kBufferSize = 4096;

    // pStream is borrowed: it must outlive this stream. nLevel is -1 (the
    // default level) or 0..9, checked in both directions. A reading stream
    // starts at the inner stream's current position.
    explicit ZStream(Stream* pStream, int nLevel = -1);
    // Writing: finishes the data. Reading: moves the inner stream back over
    // compressed bytes that were fetched but not used, so that whatever
    // follows the compressed data can be read from there.
    ~ZStream() override;
    ZStream(const ZStream&) = delete;
    ZStream& operator=(const ZStream&) = delete;

    // Returns the bytes inflated, fewer than asked at the end of the data, when
    // the inner stream runs dry or on damaged data (the last two also set the
    // error flag). Every read after the end returns 0.
    int read(int nSize, void* pBuffer) override;
    int write(int nSize, const void* pBuffer) override;
    // Uncompressed bytes read or written so far.
    int getPosition() override { return m_nPosition; }
    // Always throws: a zlib stream can't be positioned.
    int setPosition(int nPosition) override;
    // The inner stream's length: the compressed size.
    int length() override;
    bool supports(int nMode) override;
    int remaining() override;
    bool atEnd() override;
    // Reading: damaged or truncated compressed data. Writing: the inner stream
    // took fewer bytes than it was given.
    bool hasError() override { return m_bError; }

    // Ends the compressed data; later writes throw. Does nothing when reading.
    virtual void finish();

    // Reading: confirms that the compressed data ends right after the bytes
    // read so far and that its checksum matches. Readers that know how many
    // bytes they want call this after taking them, so that damaged or cut data
    // is never taken for good data. Inflates at most one byte more; false on
    // extra data, a bad checksum, a cut stream or when writing.
    bool verifyEnd();

    Stream* getStream() const { return m_pStream; }
    bool isReading() const { return m_bReading; }

private:
    int innerWrite(int nSize);

    Stream* m_pStream = nullptr;
    std::unique_ptr<z_stream_s> m_pZip;
    bool m_bReading = false;
    bool m_bOpen = false;   // zlib initialised
    bool m_bEnd = false;    // reading: nothing more can come
    bool m_bError = false;
    int m_nPosition = 0;
    uint8_t m_aBuffer[kBufferSize];
};

}  // namespace Zep
