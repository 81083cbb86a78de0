// Any allocation of a read, a copy or a write may fail. Each of them is
// refused in turn: a read then gives null (reading bytes may also raise
// CMemoryException*), a copy and a write raise CMemoryException*, and either
// way nothing stays allocated and the trees that were there are intact.
//
// Allocations are seen twice over: the layer's blocks through its hooks
// (AfxPoolSetHooks), whatever allocator serves them, and everything else
// through the global operator new, which this program replaces (that reaches
// into the libraries where the platform links that way, not into a Windows
// DLL). Where the layer's blocks come from the system's heap, a block is
// seen both ways and may be refused at either.
#include "MemoryTestSupport.h"

#include <afx/core/AfxPool.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <new>
#include <string>

namespace
{
long g_refuseAt = -1; // which allocation, counted from arming, to refuse; -1: none
long g_counted = 0;   // allocations asked for since arming
long g_live = 0;      // allocations not yet freed

bool Refused() noexcept
{
    return g_refuseAt >= 0 && g_counted++ == g_refuseAt;
}

void* Allocate(std::size_t n) noexcept
{
    if (Refused())
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

const AfxPoolHooks kHooks = {
    [](std::size_t) noexcept { return !Refused(); },
    [](std::size_t) noexcept { ++g_live; },
    [](std::size_t) noexcept { --g_live; },
};

class AllocationFailure : public ::testing::Test
{
protected:
    void SetUp() override { AfxPoolSetHooks(&kHooks); }
    void TearDown() override { AfxPoolSetHooks(nullptr); }
};

// Refuses the first, the second, ... allocation of work until it needs no
// more than were allowed. work keeps what it made; after each try, finish
// (run with nothing refused) answers whether work succeeded, checks what it
// made and frees it, and nothing else may stay allocated. work may raise
// CMemoryException* when mayRaise, and must fail quietly otherwise.
void RefuseEachAllocationIn(const std::function<void()>& work, bool mayRaise, const std::function<bool()>& finish)
{
    for (long refuseAt = 0;; ++refuseAt)
    {
        const long liveBefore = g_live;
        g_counted = 0;
        g_refuseAt = refuseAt;
        bool raised = false;
        try
        {
            work();
        }
        catch (CException* e)
        {
            raised = true;
            EXPECT_NE(nullptr, dynamic_cast<CMemoryException*>(e)) << refuseAt;
            e->Delete();
        }
        g_refuseAt = -1;
        const bool refused = g_counted > refuseAt;
        ASSERT_FALSE(refuseAt == 0 && g_counted == 0) << "no allocation was seen";
        const bool succeeded = finish();
        EXPECT_EQ(liveBefore, g_live) << "left allocated when refusing allocation " << refuseAt;
        if (!refused)
        {
            EXPECT_TRUE(succeeded);
            EXPECT_GT(refuseAt, 0) << "no allocation was refused";
            return;
        }
        EXPECT_FALSE(succeeded) << refuseAt;
        EXPECT_TRUE(mayRaise || !raised) << refuseAt;
    }
}

const char kDocument[] = "<?xml version=\"1.0\"?><!-- c --><r a='1' B=\"two\" b='3' c='4' d='5' e='6' f='7' g='8' "
                         "h='9' i='10' j='11' k='12' l='13' m='14' n='15' o='16' p='17' q='18'>"
                         "<x>t &amp; u</x><y z='\xC3\xA9'/>text<x><deeper>1</deeper></x>tail"
                         "<long>a value long enough to need a block of its own, and then some more</long></r>";

std::u16string Widened(const char* p)
{
    std::u16string text;
    for (; *p != 0; ++p)
        text += static_cast<char16_t>(static_cast<unsigned char>(*p));
    return text;
}

// Whether the tree read equals the expected one; frees it.
bool Matches(CZOLLibXMLElement*& rpRoot, const CZOLLibXMLElement* pExpected)
{
    const bool same = rpRoot != nullptr && rpRoot->Equals(pExpected);
    if (rpRoot != nullptr)
        rpRoot->Delete();
    rpRoot = nullptr;
    return same;
}

TEST_F(AllocationFailure, ReadingTextGivesNullAndLeavesNothing)
{
    const std::u16string text = Widened(kDocument);
    CZOLLibXMLElement* pExpected = CZOLLibXMLElement::FromString(text.c_str(), 1);
    ASSERT_NE(nullptr, pExpected);
    CZOLLibXMLElement* pRoot = nullptr;
    RefuseEachAllocationIn([&] { pRoot = CZOLLibXMLElement::FromString(text.c_str(), 1); }, false,
                           [&] { return Matches(pRoot, pExpected); });
    pExpected->Delete();
}

TEST_F(AllocationFailure, ReadingBytesGivesNullOrRaisesAndLeavesNothing)
{
    CZOLLibXMLElement* pExpected = LoadBytes(kDocument);
    ASSERT_NE(nullptr, pExpected);
    std::string bytes = kDocument;
    CZOLLibXMLElement* pRoot = nullptr;
    RefuseEachAllocationIn(
        [&] {
            pRoot = CZOLLibXMLElement::FromBytes(reinterpret_cast<BYTE*>(&bytes[0]), static_cast<DWORD>(bytes.size()), 1);
        },
        true, [&] { return Matches(pRoot, pExpected); });
    pExpected->Delete();
}

// With a report a read never raises: it gives the tree (a second, diagnosing
// read may find the memory that the first lacked) or null and says
// ZXML_LOAD_OUT_OF_MEMORY; a document that does not load keeps its reason.
TEST_F(AllocationFailure, ReadingWithAReportSaysSoAndLeavesNothing)
{
    const std::u16string text = Widened(kDocument);
    const std::u16string broken = text.substr(0, text.size() - 2);
    for (const DWORD dwOptions : {DWORD{0}, DWORD{ZXML_READ_STANDARD}})
    {
        CZOLLibXMLElement* pExpected = CZOLLibXMLElement::FromString(text.c_str(), 1);
        ASSERT_NE(nullptr, pExpected);
        for (long refuseAt = 0;; ++refuseAt)
        {
            const long liveBefore = g_live;
            CZOLLibXMLLoadReport report(dwOptions);
            CZOLLibXMLLoadReport brokenReport(dwOptions);
            g_counted = 0;
            g_refuseAt = refuseAt;
            CZOLLibXMLElement* pRoot = CZOLLibXMLElement::FromString(text.c_str(), 1, report);
            const long nCounted = g_counted;
            g_counted = 0;
            CZOLLibXMLElement* pBroken = CZOLLibXMLElement::FromString(broken.c_str(), 1, brokenReport);
            g_refuseAt = -1;
            EXPECT_EQ(nullptr, pBroken);
            EXPECT_TRUE(brokenReport.m_error == ZXML_LOAD_UNTERMINATED_TAG ||
                        brokenReport.m_error == ZXML_LOAD_OUT_OF_MEMORY)
                << brokenReport.m_error;
            if (pRoot == nullptr)
                EXPECT_EQ(ZXML_LOAD_OUT_OF_MEMORY, report.m_error) << refuseAt;
            else
                EXPECT_EQ(ZXML_LOAD_OK, report.m_error) << refuseAt;
            const bool bLoaded = Matches(pRoot, pExpected);
            report.Reset();
            brokenReport.Reset();
            EXPECT_EQ(liveBefore, g_live) << "left allocated when refusing allocation " << refuseAt;
            if (nCounted <= refuseAt)
            {
                EXPECT_TRUE(bLoaded);
                break;
            }
        }
        pExpected->Delete();
    }
}

TEST_F(AllocationFailure, CopyingRaisesAndLeavesTheSourceIntact)
{
    CZOLLibXMLElement* pSource = LoadBytes(kDocument);
    CZOLLibXMLElement* pExpected = LoadBytes(kDocument);
    ASSERT_NE(nullptr, pSource);
    ASSERT_NE(nullptr, pExpected);
    CZOLLibXMLElement* pCopy = nullptr;
    RefuseEachAllocationIn([&] { pCopy = pSource->Clone(nullptr); }, true, [&] {
        EXPECT_TRUE(pSource->Equals(pExpected));
        return Matches(pCopy, pExpected);
    });
    pExpected->Delete();
    pSource->Delete();
}

TEST_F(AllocationFailure, WritingRaisesAndLeavesTheTreeIntact)
{
    CZOLLibXMLElement* pSource = LoadBytes(kDocument);
    CZOLLibXMLElement* pExpected = LoadBytes(kDocument);
    ASSERT_NE(nullptr, pSource);
    ASSERT_NE(nullptr, pExpected);
    const CString expected = pSource->ToString(1, 1);
    ASSERT_GT(expected.GetLength(), 0);
    CString written;
    RefuseEachAllocationIn([&] { written = pSource->ToString(1, 1); }, true, [&] {
        EXPECT_TRUE(pSource->Equals(pExpected));
        const bool same = written == expected;
        written.Empty();
        return same;
    });
    pExpected->Delete();
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
