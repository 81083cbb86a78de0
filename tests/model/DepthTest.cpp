// Trees far deeper than a machine stack could walk recursively.
#include <ZOLXML/ZOLLibXML.h>

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace
{
CZOLLibXMLElement* MakeChain(int depth)
{
    auto* root = new CZOLLibXMLElement(nullptr, u"n");
    CZOLLibXMLElement* e = root;
    for (int i = 1; i < depth; ++i)
    {
        e = e->AddElement(u"n");
        if (i % 1000 == 0)
            e->AddAttribute(u"d", u"x");
    }
    e->SetValue(u"bottom");
    return root;
}
}

TEST(Depth, DeepChainOnSmallStack)
{
    RunOnSmallStack(kSmallStack, [] {
        CZOLLibXMLElement* chain = MakeChain(kDeepLevels);
        CZOLLibXMLElement* copy = chain->Clone(nullptr);
        EXPECT_EQ(1, chain->Equals(copy));
        EXPECT_EQ(1, copy->Equals(chain));
        EXPECT_EQ(CString(u"x"), chain->GetRecursiveWords().Left(1));

        CZOLLibXMLElement* e = copy;
        while (e->GetFirstElement() != nullptr)
            e = e->GetFirstElement();
        e->SetValue(u"other");
        EXPECT_EQ(0, chain->Equals(copy));

        copy->Delete();
        chain->Delete();
    });
}
