#include <afx/core/AfxPool.h>
#include <ZOLXML/ZOLLibXML.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace
{
// Under AddressSanitizer every block is an allocation of its own and the
// pool holds no pages: what these tests say of pages does not apply.
bool PoolHoldsPages()
{
    void* p = AfxPoolAllocate(16);
    const bool bPages = AfxPoolReservedBytes() > 0;
    AfxPoolFree(p, 16);
    return bPages;
}

TEST(Pool, BlocksOfEverySizeAreTheirsAlone)
{
    std::vector<std::pair<unsigned char*, std::size_t>> blocks;
    for (std::size_t nBytes = 1; nBytes <= 3 * kAfxPoolLargest; nBytes += 7)
    {
        std::size_t nGranted = nBytes;
        auto* p = static_cast<unsigned char*>(AfxPoolAllocateBlock(nGranted));
        ASSERT_GE(nGranted, nBytes);
        EXPECT_EQ(nGranted, AfxPoolBlockBytes(nBytes));
        EXPECT_EQ(0u, reinterpret_cast<std::uintptr_t>(p) % alignof(void*));
        std::memset(p, static_cast<int>(nBytes & 0xFF), nGranted);
        blocks.emplace_back(p, nGranted);
    }
    for (const auto& [p, nBytes] : blocks)
    {
        for (std::size_t i = 0; i < nBytes; ++i)
            ASSERT_EQ(static_cast<unsigned char>(p[0]), p[i]) << "blocks overlap";
        AfxPoolFree(p, nBytes);
    }
}

TEST(Pool, MemoryGoesBackOnceFreed)
{
    if (!PoolHoldsPages())
        GTEST_SKIP() << "every block is its own allocation here";
    AfxPoolTrim();
    const std::size_t nBefore = AfxPoolReservedBytes();

    // 64 MiB of blocks of mixed sizes, freed in another order than taken.
    std::vector<std::pair<void*, std::size_t>> blocks;
    std::size_t nTotal = 0;
    for (std::size_t i = 0; nTotal < (64u << 20); ++i)
    {
        const std::size_t nBytes = 16 + (i * 37) % (kAfxPoolLargest - 16);
        blocks.emplace_back(AfxPoolAllocate(nBytes), nBytes);
        nTotal += nBytes;
    }
    EXPECT_GE(AfxPoolReservedBytes(), nBefore + nTotal);
    for (std::size_t i = 0; i < blocks.size(); i += 2)
        AfxPoolFree(blocks[i].first, blocks[i].second);
    for (std::size_t i = 1; i < blocks.size(); i += 2)
        AfxPoolFree(blocks[i].first, blocks[i].second);

    // Without being asked, the pool keeps a few MiB for what comes next...
    EXPECT_LT(AfxPoolReservedBytes(), nBefore + (16u << 20));
    // ...and gives back all it can when asked.
    AfxPoolTrim();
    EXPECT_EQ(nBefore, AfxPoolReservedBytes());
}

TEST(Pool, TreesReuseTheMemoryOfTreesGone)
{
    if (!PoolHoldsPages())
        GTEST_SKIP() << "every block is its own allocation here";
    auto build = [] {
        auto* root = new CZOLLibXMLElement(nullptr, u"root");
        for (int i = 0; i < 20000; ++i)
            root->AddElement(u"child")->AddAttribute(u"Key", u"a value longer than short");
        return root;
    };
    build()->Delete();
    const std::size_t nAfterFirst = AfxPoolReservedBytes();
    for (int i = 0; i < 10; ++i)
        build()->Delete();
    EXPECT_LE(AfxPoolReservedBytes(), nAfterFirst);
}
} // namespace
