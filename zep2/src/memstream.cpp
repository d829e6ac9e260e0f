#include "zep2/memstream.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace Zep {

MemStream::MemStream() = default;

MemStream::MemStream(const void* pData, int nSize) {
    if (!pData || nSize < 0) nSize = 0;
    // The view never writes through this pointer: write() refuses in this mode.
    m_pData = static_cast<uint8_t*>(const_cast<void*>(pData));
    m_nCapacity = nSize;
    m_nSize = nSize;
    m_nMode = kModeView;
}

MemStream::~MemStream() {
    m_nCapacity = m_nSize = m_nPosition = 0;
    m_nMode = 0;
}

int MemStream::setPosition(int nPosition) {
    m_nPosition = nPosition;
    return 0;
}

int MemStream::remaining() {
    if (m_nPosition < 0 || m_nPosition >= m_nSize) return 0;
    return m_nSize - m_nPosition;
}

int MemStream::read(int nSize, void* pBuffer) {
    if (nSize <= 0 || !pBuffer) return 0;
    int n = std::min(nSize, remaining());
    if (n <= 0) return 0;
    std::memcpy(pBuffer, m_pData + m_nPosition, static_cast<size_t>(n));
    m_nPosition += n;
    return n;
}

// Growth: 32,768 bytes first, then capacity * 1.75 + 1, or the end itself when
// that is still short. A buffer filled exactly counts as full.
void MemStream::reserveFor(int64_t nEnd) {
    if (nEnd < m_nCapacity) return;
    double fNew = m_nCapacity == 0 ? kFirstCapacity : m_nCapacity * 1.75 + 1.0;
    int64_t nNew = fNew >= static_cast<double>(INT_MAX) ? INT_MAX : static_cast<int64_t>(fNew);
    if (nNew < nEnd) nNew = nEnd;
    auto pNew = std::make_unique_for_overwrite<uint8_t[]>(static_cast<size_t>(nNew));
    if (m_nSize > 0) std::memcpy(pNew.get(), m_pData, static_cast<size_t>(m_nSize));
    m_pOwned = std::move(pNew);
    m_pData = m_pOwned.get();
    m_nCapacity = static_cast<int>(nNew);
}

int MemStream::write(int nSize, const void* pBuffer) {
    if (m_nMode != kModeGrowable || nSize <= 0 || !pBuffer || m_nPosition < 0) return 0;
    int64_t nEnd = static_cast<int64_t>(m_nPosition) + nSize;
    if (nEnd > INT_MAX) return 0;
    if (nEnd >= m_nSize) {
        reserveFor(nEnd);
        // Bytes skipped by a position past the end read back as zeros.
        if (m_nPosition > m_nSize)
            std::memset(m_pData + m_nSize, 0, static_cast<size_t>(m_nPosition - m_nSize));
        m_nSize = static_cast<int>(nEnd);
    }
    std::memcpy(m_pData + m_nPosition, pBuffer, static_cast<size_t>(nSize));
    m_nPosition += nSize;
    return nSize;
}

SmartPtr<MemStream> MemStream::clone() const {
    SmartPtr<MemStream> pClone(new MemStream());
    if (m_nSize > 0) {
        pClone->m_pOwned = std::make_unique_for_overwrite<uint8_t[]>(static_cast<size_t>(m_nSize));
        std::memcpy(pClone->m_pOwned.get(), m_pData, static_cast<size_t>(m_nSize));
        pClone->m_pData = pClone->m_pOwned.get();
    }
    pClone->m_nCapacity = m_nSize;
    pClone->m_nSize = m_nSize;
    pClone->m_nMode = kModeView;
    return pClone;
}

}  // namespace Zep
