// Slot pools: size classes of 64-byte-aligned slots carved from blocks in
// order, one free list per class (slotpool.h).
#include "base/slotpool.h"

#include <sys/mman.h>

#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define SLOTPOOL_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SLOTPOOL_ASAN 1
#endif
#endif

#if defined(SLOTPOOL_ASAN)
#include <sanitizer/asan_interface.h>
#define SLOT_POISON(p, n) ASAN_POISON_MEMORY_REGION(p, n)
#define SLOT_UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION(p, n)
#define SLOTPOOL_SANITIZED 1
#else
#define SLOT_POISON(p, n) ((void)(p), (void)(n))
#define SLOT_UNPOISON(p, n) ((void)(p), (void)(n))
#define SLOTPOOL_SANITIZED 0
#endif

namespace {

constexpr std::align_val_t kAlign{SlotPools::kSlotAlign};

bool isSlotSize(std::size_t nBytes) { return nBytes > 0 && nBytes <= SlotPools::kMaxSlot; }

}  // namespace

SlotPools::SlotPools() {
    for (std::size_t i = 0; i < kClassCount; ++i) m_aClasses[i].nSlot = (i + 1) * kSlotAlign;
}

SlotPools::~SlotPools() {
    for (char* pBlock : m_vBlocks) {
        SLOT_UNPOISON(pBlock, kBlockBytes);
        ::operator delete(pBlock, std::align_val_t(kBlockBytes));
    }
}

void* SlotPools::take(std::size_t nBytes) {
    if (!isSlotSize(nBytes)) return ::operator new(nBytes, kAlign);
    std::lock_guard<std::mutex> lock(m_mutex);
    SizeClass& c = classFor(nBytes);
    void* pSlot = c.pFree ? popFree(c) : carve(c);
    SLOT_UNPOISON(pSlot, c.nSlot);
    return pSlot;
}

void SlotPools::give(void* pSlot, std::size_t nBytes) {
    if (!pSlot) return;
    if (!isSlotSize(nBytes)) return ::operator delete(pSlot, kAlign);
    std::lock_guard<std::mutex> lock(m_mutex);
    SizeClass& c = classFor(nBytes);
    c.pFree = new (pSlot) FreeSlot{c.pFree};
    SLOT_POISON(pSlot, c.nSlot);
}

std::size_t SlotPools::getBlockCount() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_vBlocks.size();
}

// The free list's link sits in the slot's first bytes.
void* SlotPools::popFree(SizeClass& c) {
    FreeSlot* pSlot = c.pFree;
    SLOT_UNPOISON(pSlot, sizeof(FreeSlot));
    c.pFree = pSlot->pNext;
    return pSlot;
}

void* SlotPools::carve(SizeClass& c) {
    if (c.pCarve == c.pCarveEnd) {
        char* pBlock = static_cast<char*>(::operator new(kBlockBytes, std::align_val_t(kBlockBytes)));
        madvise(pBlock, kBlockBytes, MADV_HUGEPAGE);  // advice only: its failure changes nothing
        m_vBlocks.push_back(pBlock);
        SLOT_POISON(pBlock, kBlockBytes);
        c.pCarve = pBlock;
        c.pCarveEnd = pBlock + kBlockBytes / c.nSlot * c.nSlot;
    }
    void* pSlot = c.pCarve;
    c.pCarve += c.nSlot;
    return pSlot;
}

namespace SlotPool {

namespace {

// Never destroyed: statics may release objects during exit.
SlotPools& processPools() {
    static SlotPools* s_pPools = new SlotPools;
    return *s_pPools;
}

}  // namespace

void* allocate(std::size_t nBytes) {
    if (SLOTPOOL_SANITIZED) return ::operator new(nBytes, kAlign);
    return processPools().take(nBytes);
}

void release(void* pSlot, std::size_t nBytes) {
    if (SLOTPOOL_SANITIZED) return ::operator delete(pSlot, kAlign);
    processPools().give(pSlot, nBytes);
}

}  // namespace SlotPool
