// Slot pools: slot classes, order of carving, reuse, blocks, and the objects
// the frame walks living in aligned slots.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "effects/particle.h"
#include "base/slotpool.h"
#include "sprite/sprite.h"

namespace {

std::uintptr_t addr(const void* p) { return reinterpret_cast<std::uintptr_t>(p); }

TEST(SlotPoolTest, EachSizeTakesTheSmallestClassInOrder) {
    struct Case {
        std::size_t nBytes;
        std::uintptr_t nStride;
    };
    for (const Case& c : {Case{1, 64}, Case{64, 64}, Case{65, 128}, Case{128, 128}, Case{129, 192}, Case{256, 256}}) {
        SlotPools pools;
        void* pA = pools.take(c.nBytes);
        void* pB = pools.take(c.nBytes);
        EXPECT_EQ(0u, addr(pA) % SlotPools::kSlotAlign) << c.nBytes;
        EXPECT_EQ(c.nStride, addr(pB) - addr(pA)) << c.nBytes;
        std::memset(pA, 0xAB, c.nBytes);
        pools.give(pA, c.nBytes);
        pools.give(pB, c.nBytes);
    }
}

TEST(SlotPoolTest, GivenSlotsComeBackFirstAndBlocksGrowWhenFull) {
    SlotPools pools;
    std::vector<void*> vSlots;
    const std::size_t nPerBlock = SlotPools::kBlockBytes / 192;
    for (std::size_t i = 0; i <= nPerBlock; ++i) vSlots.push_back(pools.take(150));
    EXPECT_EQ(2u, pools.getBlockCount());
    pools.give(vSlots[3], 150);
    pools.give(vSlots[7], 150);
    EXPECT_EQ(vSlots[7], pools.take(150));
    EXPECT_EQ(vSlots[3], pools.take(150));
    EXPECT_EQ(2u, pools.getBlockCount());
    for (void* p : vSlots) pools.give(p, 150);
}

TEST(SlotPoolTest, OtherSizesUseTheGeneralHeapAligned) {
    SlotPools pools;
    for (std::size_t nBytes : {std::size_t{0}, std::size_t{257}, std::size_t{5000}}) {
        void* p = pools.take(nBytes);
        EXPECT_EQ(0u, addr(p) % SlotPools::kSlotAlign) << nBytes;
        pools.give(p, nBytes);
    }
    EXPECT_EQ(0u, pools.getBlockCount());
}

// GCC names AddressSanitizer with a macro, clang as a feature.
#if defined(__SANITIZE_ADDRESS__)
#define SLOTPOOL_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SLOTPOOL_TEST_ASAN 1
#endif
#endif

#if defined(SLOTPOOL_TEST_ASAN)
TEST(SlotPoolDeathTest, ReadingAGivenBackSlotIsReported) {
    EXPECT_DEATH(
        {
            SlotPools pools;
            auto* p = static_cast<volatile char*>(pools.take(100));
            pools.give(const_cast<char*>(p), 100);
            std::printf("%d", p[70]);
        },
        "use-after-poison");
}
#endif

// The walks read a sprite's first cache line and a particle's first two.
TEST(SlotPoolTest, SpritesAndParticlesSitOnCacheLines) {
    static_assert(sizeof(Sprite) <= SlotPools::kSlotAlign);
    static_assert(sizeof(Particle) <= 2 * SlotPools::kSlotAlign);
    std::vector<Zep::SmartPtr<Sprite>> vSprites;
    std::vector<Zep::SmartPtr<Particle>> vParticles;
    for (int i = 0; i < 3; ++i) {
        vSprites.push_back(new Sprite(i, i, 0));
        vParticles.push_back(new Particle(nullptr, i, i, Zep::SmartPtr<Image>(), 0));
        EXPECT_EQ(0u, addr(vSprites.back().get()) % SlotPools::kSlotAlign);
        EXPECT_EQ(0u, addr(vParticles.back().get()) % SlotPools::kSlotAlign);
    }
}

}  // namespace
