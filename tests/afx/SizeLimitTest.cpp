// Sizes that no block can have are refused as exhaustion, worked out in
// arithmetic wide enough not to wrap where a size_t has 32 bits.
#include <afx/core/AfxPool.h>
#include <ZOLXML/ZOLLibXML.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>

#if defined(__linux__)
#  include <sys/mman.h>
#  include <unistd.h>
#endif

namespace
{
std::uint64_t g_nLargestAsked = 0;

// Records the largest block asked for and refuses every one of 1 GiB or more,
// which no test here may be granted.
const AfxPoolHooks kRecorder = {
    [](std::size_t nBytes) noexcept {
        if (nBytes > g_nLargestAsked)
            g_nLargestAsked = nBytes;
        return nBytes < (std::size_t{1} << 30);
    },
    nullptr, nullptr};

bool RaisesMemoryException(const std::function<void()>& work)
{
    try
    {
        work();
    }
    catch (CException* e)
    {
        const bool bMemory = dynamic_cast<CMemoryException*>(e) != nullptr;
        e->Delete();
        return bMemory;
    }
    return false;
}

TEST(SizeLimits, AHashTableOfAnImpossibleSizeRaisesWithoutAskingForAWrongSize)
{
    // 300,000,000 entries and an index of 2^30 places of 4 bytes: more than
    // 4 GiB, which a 32-bit process cannot have at all.
    constexpr UINT nSize = 300000000;
    const std::uint64_t nNeeded = std::uint64_t{sizeof(CMapStringToPtr::CPair)} * nSize + (std::uint64_t{4} << 30);
    CMapStringToPtr map;
    map[u"kept"] = &map;
    g_nLargestAsked = 0;
    AfxPoolSetHooks(&kRecorder);
    const bool bRaised = RaisesMemoryException([&] { map.InitHashTable(nSize); });
    AfxPoolSetHooks(nullptr);
    EXPECT_TRUE(bRaised);
    if (sizeof(std::size_t) < sizeof(std::uint64_t))
        EXPECT_EQ(0u, g_nLargestAsked) << "a size that cannot be was asked for";
    else
        EXPECT_GE(g_nLargestAsked, nNeeded) << "less was asked for than the table needs";
    // The map is as it was.
    void* pValue = nullptr;
    EXPECT_TRUE(map.Lookup(u"kept", pValue));
    EXPECT_EQ(&map, pValue);
    EXPECT_EQ(1, map.GetCount());
}

#if defined(__linux__) && UINTPTR_MAX > 0xFFFFFFFFu
// A text of 2^31 units and more is longer than an int counts: its length is
// refused as exhaustion, as a CString of it would be, never cut to an int.
// The text is one 16 MiB file mapped over and over, so that it costs
// address space and not memory.
TEST(SizeLimits, ATextOfTwoToThe31UnitsOrMoreIsTooLongForAString)
{
    constexpr std::size_t kChunk = std::size_t{16} << 20;
    constexpr std::size_t kChunks = (std::size_t{2} << 31) / kChunk; // 2^31 units
    const int fdUnits = memfd_create("units", 0);
    const int fdTail = memfd_create("tail", 0);
    ASSERT_GE(fdUnits, 0);
    ASSERT_GE(fdTail, 0);
    ASSERT_EQ(0, ftruncate(fdUnits, kChunk));
    ASSERT_EQ(0, ftruncate(fdTail, 4096));
    for (int fd : {fdUnits, fdTail})
    {
        const std::size_t nBytes = fd == fdUnits ? kChunk : 4096;
        void* p = mmap(nullptr, nBytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        ASSERT_NE(MAP_FAILED, p);
        auto* pUnits = static_cast<WCHAR*>(p);
        std::fill(pUnits, pUnits + nBytes / sizeof(WCHAR), u'a');
        if (fd == fdTail)
            pUnits[16] = 0;
        munmap(p, nBytes);
    }
    const std::size_t nReserved = kChunks * kChunk + 4096;
    void* pReserved = mmap(nullptr, nReserved, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    ASSERT_NE(MAP_FAILED, pReserved);
    auto* pBase = static_cast<unsigned char*>(pReserved);
    for (std::size_t i = 0; i < kChunks; ++i)
        ASSERT_NE(MAP_FAILED, mmap(pBase + i * kChunk, kChunk, PROT_READ, MAP_SHARED | MAP_FIXED, fdUnits, 0));
    ASSERT_NE(MAP_FAILED, mmap(pBase + kChunks * kChunk, 4096, PROT_READ, MAP_SHARED | MAP_FIXED, fdTail, 0));
    const auto* pszText = reinterpret_cast<LPCWSTR>(pBase);

    // A CString of it measures it with AfxStringLength: one scan of 4 GiB.
    EXPECT_TRUE(RaisesMemoryException([&] { CString text(pszText); }));

    munmap(pReserved, nReserved);
    close(fdUnits);
    close(fdTail);
}
#endif
} // namespace
