#include "zep2/zstream.h"

#include <zlib.h>

#include <cstring>

#include "zep2/error.h"

namespace {
constexpr const char* kZepSource = ".\\src\\zstream";
}  // namespace

namespace Zep {

ZStream::ZStream(Stream* pStream, int nLevel) : m_pStream(pStream) {
    ZEP_TRACE("ZStream::ZStream");
    ZEP_ASSERT(m_pStream);
    if (m_pStream->supports(kRead | kWrite))
        ZEP_THROW(FatalErrorException, "Zep::ZStream : Bidirectional streams not supported");
    m_pZip = std::make_unique<z_stream_s>();
    std::memset(m_pZip.get(), 0, sizeof(z_stream_s));
    if (nLevel == -1) nLevel = defaultLevel;
    ZEP_ASSERT(nLevel >= 0);
    ZEP_ASSERT(nLevel <= 9);
    m_bReading = m_pStream->supports(kRead);
    int nErr = m_bReading ? inflateInit(m_pZip.get()) : deflateInit(m_pZip.get(), nLevel);
    if (nErr != Z_OK) ZEP_THROW(FatalErrorException, String::format("zlib init filed : %d", nErr).c_str());
    m_bOpen = true;
}

ZStream::~ZStream() {
    if (!m_bOpen) return;
    if (m_bReading) {
        // Hand back what was fetched but not inflated: the next reader of the
        // inner stream (another zlib stream, an index) starts right there.
        if (m_pZip->avail_in > 0) {
            try {
                m_pStream->setPosition(m_pStream->getPosition() - static_cast<int>(m_pZip->avail_in));
            } catch (...) {
            }
        }
        inflateEnd(m_pZip.get());
    } else {
        try {
            finish();
        } catch (...) {
            m_bError = true;
        }
        deflateEnd(m_pZip.get());
    }
}

int ZStream::read(int nSize, void* pBuffer) {
    if (nSize <= 0 || !pBuffer || !m_bReading || m_bEnd) return 0;
    z_stream_s& z = *m_pZip;
    const uLong nBefore = z.total_out;
    z.next_out = static_cast<Bytef*>(pBuffer);
    z.avail_out = static_cast<uInt>(nSize);
    for (;;) {
        if (z.avail_in == 0) {
            int nRead = m_pStream->read(kBufferSize, m_aBuffer);
            if (nRead <= 0) {
                // Out of input before the end of the compressed data.
                m_bEnd = true;
                m_bError = true;
                break;
            }
            z.next_in = m_aBuffer;
            z.avail_in = static_cast<uInt>(nRead);
        }
        int nErr = inflate(&z, Z_FULL_FLUSH);
        if (nErr == Z_STREAM_END) {
            m_bEnd = true;
            break;
        }
        if (nErr != Z_OK) {
            // Damaged data or a preset dictionary we don't have. A buffer
            // error only means no progress this time.
            if (nErr != Z_BUF_ERROR) {
                m_bEnd = true;
                m_bError = true;
            }
            break;
        }
        if (z.total_out - nBefore >= static_cast<uLong>(nSize)) break;
    }
    z.next_out = nullptr;
    z.avail_out = 0;
    // What this call produced counts even when it ended early.
    int nProduced = static_cast<int>(z.total_out - nBefore);
    m_nPosition += nProduced;
    return nProduced;
}

int ZStream::innerWrite(int nSize) {
    if (nSize <= 0) return 0;
    int nWritten = m_pStream->write(nSize, m_aBuffer);
    if (nWritten != nSize) m_bError = true;
    return nWritten;
}

int ZStream::write(int nSize, const void* pBuffer) {
    ZEP_TRACE("ZStream::write");
    if (nSize <= 0 || !pBuffer) return 0;
    if (m_bReading) {
        // zlib's own answer for a deflate call on an inflating record.
        ZEP_THROW(FatalErrorException,
                  String::format("ZStream::write : nErr = %d trying to deflate %d bytes", Z_STREAM_ERROR, nSize)
                      .c_str());
    }
    z_stream_s& z = *m_pZip;
    z.next_in = static_cast<Bytef*>(const_cast<void*>(pBuffer));
    z.avail_in = static_cast<uInt>(nSize);
    const uLong nBefore = z.total_in;
    do {
        z.next_out = m_aBuffer;
        z.avail_out = kBufferSize;
        int nErr = deflate(&z, Z_NO_FLUSH);
        if (nErr != Z_OK) {
            // Never leave zlib pointing at the caller's bytes.
            z.next_in = nullptr;
            z.avail_in = 0;
            ZEP_THROW(FatalErrorException,
                      String::format("ZStream::write : nErr = %d trying to deflate %d bytes", nErr, nSize).c_str());
        }
        innerWrite(kBufferSize - static_cast<int>(z.avail_out));
    } while (z.avail_in > 0);
    z.next_in = nullptr;
    int nTaken = static_cast<int>(z.total_in - nBefore);
    m_nPosition += nTaken;
    return nTaken;
}

void ZStream::finish() {
    ZEP_TRACE("ZStream::finish");
    if (m_bReading || !m_bOpen) return;
    z_stream_s& z = *m_pZip;
    for (;;) {
        z.next_out = m_aBuffer;
        z.avail_out = kBufferSize;
        int nErr = deflate(&z, Z_FINISH);
        // Anything but progress or the end would repeat forever.
        if (nErr != Z_OK && nErr != Z_STREAM_END)
            ZEP_THROW(FatalErrorException,
                      String::format("ZStream::write : nErr = %d trying to deflate %d bytes", nErr, 0).c_str());
        innerWrite(kBufferSize - static_cast<int>(z.avail_out));
        if (nErr == Z_STREAM_END) break;
    }
}

bool ZStream::verifyEnd() {
    if (!m_bReading) return false;
    if (!m_bEnd) {
        // zlib checks the checksum before it reports the end of the data.
        uint8_t nExtra = 0;
        if (read(1, &nExtra) != 0) return false;
    }
    return !m_bError;
}

int ZStream::setPosition(int) {
    ZEP_TRACE("ZStream::setPosition");
    ZEP_THROW(FatalErrorException, "Zep::ZStream : Positioning not implemented");
}

int ZStream::length() {
    return m_pStream->length();
}

bool ZStream::supports(int nMode) {
    return m_pStream->supports(nMode);
}

int ZStream::remaining() {
    if (!m_bReading) return 0;
    return m_bEnd ? 0 : -1;
}

bool ZStream::atEnd() {
    return !m_bReading || m_bEnd;
}

}  // namespace Zep
