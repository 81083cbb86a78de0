#include "TestSupport.h"
#include "afx/ArchiveBytes.h"

#include <gtest/gtest.h>

namespace
{
// A chain of kDeepLevels elements named "e", each the only child of the one above.
void BuildChain(CZOLLibXMLElement& root)
{
    CZOLLibXMLElement* tip = &root;
    for (int i = 1; i < kDeepLevels; ++i)
        tip = tip->AddElement(u"e");
    tip->SetValue(u"bottom");
}

Bytes StoredOnSmallStack(CZOLLibXMLElement& root)
{
    Bytes bytes;
    RunOnSmallStack(kSmallStack, [&] { bytes = StoredBytes([&](CArchive& ar) { root.Serialize(ar); }); });
    return bytes;
}

TEST(DeepTree, StoresAndLoadsOnASmallStack)
{
    CZOLLibXMLElement root(nullptr, u"e");
    BuildChain(root);
    Bytes bytes = StoredOnSmallStack(root);
    // Each level: name (6 bytes), empty value (4), two counts (4); the bottom value has 6 units.
    EXPECT_EQ(14u * kDeepLevels + 12, bytes.size());

    CZOLLibXMLElement loaded;
    RunOnSmallStack(kSmallStack, [&] {
        LoadingArchive loading(std::move(bytes));
        loaded.Serialize(loading.Archive());
    });
    EXPECT_TRUE(loaded.Equals(&root));
}

TEST(DeepTree, CutShortFailsOnASmallStack)
{
    CZOLLibXMLElement root(nullptr, u"e");
    BuildChain(root);
    Bytes bytes = StoredOnSmallStack(root);
    bytes.resize(bytes.size() - 3);

    CZOLLibXMLElement loaded;
    int cause = kNoException;
    RunOnSmallStack(kSmallStack, [&] {
        LoadingArchive loading(std::move(bytes));
        cause = ExceptionCause<CArchiveException>([&] { loaded.Serialize(loading.Archive()); });
    });
    EXPECT_EQ(CArchiveException::endOfFile, cause);
    EXPECT_TRUE(loaded.GetName() == u"e");
    EXPECT_EQ(0, loaded.GetElementCount()) << "no level below the root was complete";
}
}
