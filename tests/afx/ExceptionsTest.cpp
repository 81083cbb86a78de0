#include <afx/core/afx.h>

#include <gtest/gtest.h>

#include <vector>

TEST(Exceptions, ThrownAsPointersWithTheirCause)
{
    try
    {
        AfxThrowArchiveException(CArchiveException::endOfFile);
    }
    catch (CException* e)
    {
        auto* archive = dynamic_cast<CArchiveException*>(e);
        ASSERT_NE(nullptr, archive);
        EXPECT_EQ(3, archive->m_cause);
        e->Delete();
    }
}

TEST(Exceptions, MemoryExceptionSurvivesDelete)
{
    for (int i = 0; i < 2; ++i)
    {
        try
        {
            AfxThrowMemoryException();
        }
        catch (CMemoryException* e)
        {
            e->Delete(); // the shared object stays usable for the next report
        }
    }
}

TEST(Exceptions, ContainerExhaustionIsAMemoryException)
{
    // Blocks as large as the allocator admits, until the address space is
    // spent: a 64-bit one refuses the first, a 32-bit one may grant one or
    // two (each is just under 2 GiB) but never three.
    std::vector<std::vector<char, CAfxAllocator<char>>> blocks(3);
    for (auto& block : blocks)
    {
        try
        {
            block.reserve(CAfxAllocator<char>::max_size());
        }
        catch (CMemoryException* e)
        {
            e->Delete();
            return;
        }
    }
    FAIL() << "no exception";
}
