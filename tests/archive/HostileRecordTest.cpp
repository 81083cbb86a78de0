#include "HostileRecords.h"

#include <gtest/gtest.h>

namespace
{
TEST(HostileRecord, FailsWithEndOfFileAfterReadingWhatIsThere)
{
    for (const HostileRecord& record : HostileRecords())
    {
        CZOLLibXMLElement element;
        LoadingArchive loading(record.bytes);
        EXPECT_EQ(CArchiveException::endOfFile,
                  ExceptionCause<CArchiveException>([&] { element.Serialize(loading.Archive()); }))
            << record.what;
        EXPECT_EQ(loading.File().GetLength(), loading.File().GetPosition()) << record.what;
    }
}
}
