// Every block of the layer is aligned for any object of its size, is the
// caller's alone over all of the size granted, and goes back freed with it.
#include <afx/core/AfxPool.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <thread>
#include <utility>
#include <vector>

namespace
{
// The strictest alignment that an object of nBytes may have: a power of two
// that divides its size, at most that of std::max_align_t.
std::size_t AlignmentFor(std::size_t nBytes)
{
    std::size_t nAlign = 1;
    while (nAlign < alignof(std::max_align_t) && nBytes % (2 * nAlign) == 0)
        nAlign *= 2;
    return nAlign;
}

std::vector<std::size_t> Sizes()
{
    std::vector<std::size_t> sizes;
    for (std::size_t nBytes = 1; nBytes <= 1024; ++nBytes)
        sizes.push_back(nBytes);
    for (std::size_t nBytes = 1024; nBytes <= (std::size_t{4} << 20); nBytes = nBytes * 3 / 2 + 8)
        sizes.push_back(nBytes);
    return sizes;
}

TEST(Alignment, EveryBlockIsAlignedForAnyObjectOfItsSize)
{
    std::vector<std::pair<void*, std::size_t>> blocks;
    for (const std::size_t nBytes : Sizes())
    {
        // Several of each size, so that blocks other than a page's first are seen.
        for (int i = 0; i < 3; ++i)
        {
            void* p = AfxPoolAllocate(nBytes);
            EXPECT_EQ(0u, reinterpret_cast<std::uintptr_t>(p) % AlignmentFor(nBytes)) << nBytes << " bytes";
            blocks.emplace_back(p, nBytes);
        }
    }
    for (const auto& [p, nBytes] : blocks)
        AfxPoolFree(p, nBytes);
}

TEST(Alignment, BlocksOfEverySizeAreTheirsAloneOverTheSizeGranted)
{
    struct Block
    {
        unsigned char* p;
        std::size_t nAsked;
        std::size_t nGranted;
    };
    std::vector<Block> blocks;
    for (const std::size_t nBytes : Sizes())
    {
        std::size_t nGranted = nBytes;
        auto* p = static_cast<unsigned char*>(AfxPoolAllocateBlock(nGranted));
        ASSERT_GE(nGranted, nBytes);
        EXPECT_EQ(nGranted, AfxPoolBlockBytes(nBytes));
        EXPECT_EQ(0u, reinterpret_cast<std::uintptr_t>(p) % AlignmentFor(nGranted)) << nGranted << " bytes";
        std::memset(p, static_cast<int>(blocks.size() & 0xFF), nGranted);
        blocks.push_back({p, nBytes, nGranted});
    }
    for (std::size_t i = 0; i < blocks.size(); ++i)
    {
        const Block& block = blocks[i];
        for (std::size_t j = 0; j < block.nGranted; ++j)
            ASSERT_EQ(static_cast<unsigned char>(i & 0xFF), block.p[j]) << "blocks overlap";
        AfxPoolFree(block.p, block.nGranted);
    }
}

// A block may be freed on a thread other than the one that took it.
TEST(Alignment, BlocksFreedOnAnyThreadAreTakenAgain)
{
    std::vector<void*> blocks;
    for (int i = 0; i < 10000; ++i)
        blocks.push_back(AfxPoolAllocate(48));
    std::thread([&] {
        for (void* p : blocks)
            AfxPoolFree(p, 48);
    }).join();
    for (int i = 0; i < 10000; ++i)
        blocks[static_cast<std::size_t>(i)] = AfxPoolAllocate(48);
    for (void* p : blocks)
        AfxPoolFree(p, 48);
}
} // namespace
