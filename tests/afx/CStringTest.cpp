#include <ZOLXML/ZOLLibXML.h>

#include <gtest/gtest.h>

TEST(CString, NullPointerMakesEmpty)
{
    CString s(u"abc");
    s = static_cast<LPCWSTR>(nullptr);
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_EQ(0, CString(static_cast<LPCWSTR>(nullptr)).GetLength());
}
