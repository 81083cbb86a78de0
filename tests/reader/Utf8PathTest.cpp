// Paths as a program holds them: `char*` in UTF-8 reaches the path form of
// FromFile, never the handle form.
#include "ReaderTestSupport.h"

#include <gtest/gtest.h>

namespace
{
TEST(FromFileUtf8, OpensWhatArgvNames)
{
    ScratchDirectory dir;
    for (const std::u16string name : {u"plain.xml", u"\u00FC-\u6587\U0001F600.xml"})
    {
        std::string path = dir.Write(name, "<a/>").u8string();
        // As main() receives it: not const.
        char* argument = &path[0];
        EXPECT_EQ("a", Describe(ElementPtr(CZOLLibXMLElement::FromFile(argument, 0)).get()));
    }
}

TEST(FromFileUtf8, RefusesPathsThatAreNotUtf8)
{
    ScratchDirectory dir;
    // The name a lenient decoding would give the ill-formed one.
    dir.Write(u"bad-\uFFFD(.xml", "<a/>");
    const std::string illFormed = dir.Path("bad-").u8string() + "\xC3\x28.xml";
    EXPECT_EQ(nullptr, CZOLLibXMLElement::FromFile(illFormed.c_str(), 0));
    EXPECT_EQ(nullptr, CZOLLibXMLElement::FromFile(static_cast<const char*>(nullptr), 0));
}
} // namespace
