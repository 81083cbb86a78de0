// Any allocation of a load (or of a copy) may fail. The parse then gives
// null, loading from bytes and copying may also raise CMemoryException*, and
// either way nothing stays allocated. This program counts and refuses allocations by replacing the
// global operator new, which reaches into the library where the platform
// links that way (not into a Windows DLL: the test is skipped there). Small
// blocks reach it one by one only in the sanitizer build, where the layer's
// pool gives each block an allocation of its own; elsewhere the pool's pages
// (taken aligned, and not replaced here) serve them.
#include "ReaderTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <new>
#include <string>

namespace
{
long g_refuseAt = -1; // which allocation, counted from arming, to refuse; -1: none
long g_counted = 0;   // allocations since arming
long g_live = 0;      // allocations not yet freed

void* Allocate(std::size_t n) noexcept
{
    if (g_refuseAt >= 0 && g_counted++ == g_refuseAt)
        return nullptr;
    void* p = std::malloc(n != 0 ? n : 1);
    if (p != nullptr)
        ++g_live;
    return p;
}

void Free(void* p) noexcept
{
    if (p != nullptr)
    {
        --g_live;
        std::free(p);
    }
}

// Refuses the first, the second, ... allocation of load until it needs no
// more than were allowed, checking each time that nothing is left behind.
void RefuseEachAllocationIn(const std::function<CZOLLibXMLElement*()>& load, bool mayRaise)
{
    for (long refuseAt = 0;; ++refuseAt)
    {
        const long liveBefore = g_live;
        g_counted = 0;
        g_refuseAt = refuseAt;
        CZOLLibXMLElement* pRoot = nullptr;
        bool raised = false;
        try
        {
            pRoot = load();
        }
        catch (CException* e)
        {
            raised = true;
            e->Delete();
        }
        g_refuseAt = -1;
        const bool refused = g_counted > refuseAt;
        if (refuseAt == 0 && g_counted == 0)
            GTEST_SKIP() << "the library's allocations are not visible here";
        if (!refused)
        {
            ASSERT_NE(nullptr, pRoot);
            pRoot->Delete();
            EXPECT_EQ(liveBefore, g_live);
            return;
        }
        EXPECT_EQ(nullptr, pRoot) << refuseAt;
        EXPECT_TRUE(mayRaise || !raised) << refuseAt;
        EXPECT_EQ(liveBefore, g_live) << refuseAt;
    }
}

const char kDocument[] = "<?xml version=\"1.0\"?><!-- c --><r a='1' B=\"two\" b='3'>"
                         "<x>t &amp; u</x><y z='\xC3\xA9'/>text<x><deeper>1</deeper></x>tail</r>";

TEST(AllocationFailure, FromStringGivesNullAndLeavesNothing)
{
    std::u16string text;
    for (const char* p = kDocument; *p != 0; ++p)
        text += static_cast<char16_t>(static_cast<unsigned char>(*p));
    RefuseEachAllocationIn([&] { return CZOLLibXMLElement::FromString(text.c_str(), 1); }, false);
}

TEST(AllocationFailure, FromBytesGivesNullOrRaisesAndLeavesNothing)
{
    std::string bytes = kDocument;
    RefuseEachAllocationIn(
        [&] { return CZOLLibXMLElement::FromBytes(reinterpret_cast<BYTE*>(&bytes[0]), static_cast<DWORD>(bytes.size()), 1); },
        true);
}

// A copy of a loaded tree fails the same way: it raises and leaves nothing.
TEST(AllocationFailure, CloneRaisesAndLeavesNothing)
{
    std::string bytes = kDocument;
    CZOLLibXMLElement* pSource =
        CZOLLibXMLElement::FromBytes(reinterpret_cast<BYTE*>(&bytes[0]), static_cast<DWORD>(bytes.size()), 1);
    ASSERT_NE(nullptr, pSource);
    RefuseEachAllocationIn([&] { return pSource->Clone(nullptr); }, true);
    pSource->Delete();
}
} // namespace

void* operator new(std::size_t n)
{
    if (void* p = Allocate(n))
        return p;
    throw std::bad_alloc();
}

void* operator new[](std::size_t n)
{
    return operator new(n);
}

void* operator new(std::size_t n, const std::nothrow_t&) noexcept
{
    return Allocate(n);
}

void* operator new[](std::size_t n, const std::nothrow_t&) noexcept
{
    return Allocate(n);
}

void operator delete(void* p) noexcept
{
    Free(p);
}

void operator delete[](void* p) noexcept
{
    Free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    Free(p);
}

void operator delete[](void* p, std::size_t) noexcept
{
    Free(p);
}
