// UTF-8 bytes are read as they stand, not decoded first: every load must
// give the tree that reading their decoded text gives, also where names,
// values and markup meet bytes that are not ASCII or not UTF-8 at all.
#include "ReaderTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
using namespace std::string_literals;

// Both ways of reading the bytes, described.
std::pair<std::string, std::string> ReadBothWays(std::string bytes)
{
    std::u16string text(bytes.size(), u'\0');
    text.resize(AfxDecodeUtf8(reinterpret_cast<const BYTE*>(bytes.data()), bytes.size(), &text[0]));
    const ElementPtr fromText(CZOLLibXMLElement::FromString(text.c_str(), 0));
    const ElementPtr fromBytes(CZOLLibXMLElement::FromBytes(reinterpret_cast<BYTE*>(&bytes[0]), static_cast<DWORD>(bytes.size()), 0));
    EXPECT_TRUE((fromText == nullptr && fromBytes == nullptr) || fromText->Equals(fromBytes.get()));
    return {Describe(fromText.get()), Describe(fromBytes.get())};
}

TEST(Utf8Reading, GivesTheTreeOfTheDecodedText)
{
    const struct
    {
        std::string bytes;
        const char* tree;
    } cases[] = {
        {"<\xC3\xA9l\xC3\xA9ment \xE4\xB8\xAD='\xF0\x9F\x98\x80'/>", "\u00E9l\u00E9ment{\u4E2D=\U0001F600}"},
        {"<a\xF0\x9F\x98\x80/>", "null"},                      // a pair of surrogates ends a name
        {"<a\xEF\xBF\xBD/>", "null"},                          // so does U+FFFD
        {"<a\xC3/>", "null"},                                  // and a sequence cut short
        {"<a>x\xE3\x80\x80\xE3\x80\x80y\xE2\x80\xA8z</a>", "a=\"x y z\""}, // white space of other scripts collapses
        {"<a>\xE3\x80\x80 x</a>", "a=\"x\""},                  // and leads nothing
        {"<a>\xC2\xA0x</a>", "a=\"\u00A0x\""},                 // a no-break space is no white space
        {"<a x='\xE2\x80\x83v\xE2\x80\x83\xE2\x80\x83'/>", "a{x=v }"},
        {"<a>\xE0\x80\xAF\xED\xA0\x80\xF4\x90\x80\x80</a>", "a=\"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\""},
        {"<a>\xE2\x82</a>", "a=\"\uFFFD\""},                   // cut short by the markup
        {"<a x='\xF0\x9F'/>", "a{x=\uFFFD}"},
        {"<\xC3\xA9>t</\xC3\xA9>", "\u00E9=\"t\""},
        {"<\xC3\xA9>t</\xC3\xA8>", "null"},                    // closing tags compare decoded names
        {"<ab>t</a\xC3\xA9>", "null"},
        {"<a>&#233;&amp;\xC3\xA9</a>", "a=\"\u00E9&\u00E9\""},
        {"<a>x</a>\xFF\xFE", "a=\"x\""},
        {"<a>x\0</a>"s, "null"},                               // the text ends at the NUL
    };
    for (const auto& c : cases)
    {
        const auto [fromText, fromBytes] = ReadBothWays(c.bytes);
        EXPECT_EQ(c.tree, fromBytes) << c.bytes;
        EXPECT_EQ(fromText, fromBytes) << c.bytes;
    }
}
} // namespace
