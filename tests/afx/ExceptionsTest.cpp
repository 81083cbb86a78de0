#include <afx/core/afx.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
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

namespace
{
struct MessageCase
{
    const char* what;
    std::function<CException*()> make;
    BOOL result;
    std::u16string message;
};

class ErrorMessageTable : public testing::TestWithParam<MessageCase>
{
};

TEST_P(ErrorMessageTable, SaysWhatFailed)
{
    const MessageCase& c = GetParam();
    CException* e = c.make();
    WCHAR buffer[100];
    UINT nHelpContext = 7;
    EXPECT_EQ(c.result, e->GetErrorMessage(buffer, 100, &nHelpContext)) << c.what;
    EXPECT_EQ(c.message, std::u16string(buffer)) << c.what;
    EXPECT_EQ(0u, nHelpContext);
    e->Delete();
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ErrorMessageTable,
    testing::Values(
        MessageCase{"no message of its own", [] { return new CException; }, FALSE, u""},
        MessageCase{"memory", [] { return static_cast<CException*>(new CMemoryException); }, TRUE, u"out of memory"},
        MessageCase{"argument", [] { return static_cast<CException*>(new CInvalidArgException); }, TRUE,
                    u"an argument is out of range"},
        MessageCase{"file with its name",
                    [] { return static_cast<CException*>(new CFileException(CFileException::fileNotFound, 2, u"/x/y.xml")); },
                    TRUE, u"/x/y.xml: no such file or folder"},
        MessageCase{"file without a name",
                    [] { return static_cast<CException*>(new CFileException(CFileException::diskFull)); }, TRUE,
                    u"the disk is full"},
        MessageCase{"unspecified, with the system's code",
                    [] { return static_cast<CException*>(new CFileException(CFileException::genericException, 1234, u"f")); },
                    TRUE, u"f: failed (system error 1234)"},
        MessageCase{"archive cut short",
                    [] { return static_cast<CException*>(new CArchiveException(CArchiveException::endOfFile, u"a.bin")); },
                    TRUE, u"a.bin: the archive is cut short: it ends inside a record"}));

TEST(ErrorMessage, CutToTheBufferWithItsNul)
{
    CFileException e(CFileException::fileNotFound, 2, u"/x/y.xml");
    WCHAR buffer[6] = {u'#', u'#', u'#', u'#', u'#', u'#'};
    EXPECT_TRUE(e.GetErrorMessage(buffer, 5));
    EXPECT_EQ(u"/x/y", std::u16string(buffer));
    EXPECT_EQ(u'#', buffer[5]);
    EXPECT_FALSE(e.GetErrorMessage(buffer, 0));
    EXPECT_EQ(u'/', buffer[0]);
    EXPECT_FALSE(e.GetErrorMessage(nullptr, 10));
}

TEST(ErrorMessage, FileOpenedByNameNamesIt)
{
    try
    {
        CFile file(u"no-such-file.bin", CFile::modeRead);
        FAIL() << "opened";
    }
    catch (CFileException* e)
    {
        WCHAR buffer[100];
        EXPECT_TRUE(e->GetErrorMessage(buffer, 100));
        EXPECT_EQ(u"no-such-file.bin: no such file or folder", std::u16string(buffer));
        e->Delete();
    }
}
} // namespace
