// Slot pools: where sprites and particles live.
//
// Every frame walks all sprites and particles twice (the particle step, then
// the draw walk). Taken from the general heap they sit scattered between list
// nodes and each other's leftovers, and the walks read several times the
// memory they use. Here each size class (64, 128, 192 and 256 bytes) has its
// own blocks of 64-byte-aligned slots, carved in order: objects made one after
// another sit one after another, and an object's first 64 bytes are one cache
// line. A freed slot goes on its class's free list and is handed out first.
// Blocks are 2 MB, aligned to their size and marked for huge pages, so that
// the walks need few address translations.
//
// Contract: take(n) with 0 < n <= kMaxSlot gives a slot of the smallest class
// that holds n; give takes it back with the same n. Sizes outside that range
// go to the general heap, still 64-byte aligned. Safe from any thread. Free
// slots are poisoned under AddressSanitizer.
//
// The process-wide pools (SlotPool::allocate / release) keep their blocks for
// the life of the process, since statics may release objects at exit. In
// sanitizer builds they hand every object to the general heap instead, so
// that leak and use-after-free checks see each sprite and particle.
#pragma once

#include <array>
#include <cstddef>
#include <mutex>
#include <vector>

class SlotPools {
public:
    static constexpr std::size_t kSlotAlign = 64;
    static constexpr std::size_t kMaxSlot = 256;
    static constexpr std::size_t kBlockBytes = 2 * 1024 * 1024;

    SlotPools();
    ~SlotPools();
    SlotPools(const SlotPools&) = delete;
    SlotPools& operator=(const SlotPools&) = delete;

    void* take(std::size_t nBytes);
    void give(void* pSlot, std::size_t nBytes);
    // Blocks taken from the general heap so far.
    std::size_t getBlockCount() const;

private:
    struct FreeSlot {
        FreeSlot* pNext;
    };
    // One size class: the block being carved and the slots given back.
    struct SizeClass {
        std::size_t nSlot = 0;
        char* pCarve = nullptr;
        char* pCarveEnd = nullptr;
        FreeSlot* pFree = nullptr;
    };
    static constexpr std::size_t kClassCount = kMaxSlot / kSlotAlign;

    SizeClass& classFor(std::size_t nBytes) { return m_aClasses[(nBytes - 1) / kSlotAlign]; }
    static void* popFree(SizeClass& c);
    void* carve(SizeClass& c);

    mutable std::mutex m_mutex;
    std::array<SizeClass, kClassCount> m_aClasses;
    std::vector<char*> m_vBlocks;
};

namespace SlotPool {

void* allocate(std::size_t nBytes);
void release(void* pSlot, std::size_t nBytes);

}  // namespace SlotPool

// Class-wide operator new and delete through the process-wide pools, for a
// class whose objects (and its subclasses') the frame walks.
#define SLOTPOOL_ALLOCATED                                                                          \
    static void* operator new(std::size_t nBytes) { return SlotPool::allocate(nBytes); }             \
    static void operator delete(void* pSlot, std::size_t nBytes) { SlotPool::release(pSlot, nBytes); }
