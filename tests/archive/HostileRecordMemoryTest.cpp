#include "AllocationCounter.h"
#include "HostileRecords.h"

#include <gtest/gtest.h>

namespace
{
// Far below the gigabytes the records announce, a little above one piece of
// a long string.
constexpr std::size_t kBound = 256 * 1024;

TEST(HostileRecord, LoadingTakesBoundedMemory)
{
    {
        // The counter must see the libraries' allocations for the bound to mean anything.
        AllocationCounter counter;
        // A name of a block of its own.
        const CString name(u'n', 1000);
        CZOLLibXMLElement probe(nullptr, name);
        ASSERT_GT(counter.Bytes(), 0u);
    }
    for (const HostileRecord& record : HostileRecords())
    {
        CZOLLibXMLElement element;
        LoadingArchive loading(record.bytes);
        AllocationCounter counter;
        ExceptionCause<CArchiveException>([&] { element.Serialize(loading.Archive()); });
        EXPECT_LT(counter.Bytes(), kBound) << record.what;
    }
}
}
