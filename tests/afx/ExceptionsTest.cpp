#include <ZOLXML/ZOLLibXML.h>

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
    std::vector<int, CAfxAllocator<int>> v;
    try
    {
        v.reserve(CAfxAllocator<int>::max_size());
        FAIL() << "no exception";
    }
    catch (CMemoryException* e)
    {
        e->Delete();
    }
}
