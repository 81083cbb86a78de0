// The standard reading: XML as other programs write it, read into the same
// kind of tree, from text and from bytes alike; the default reading is left
// as it was.
#include "ReaderTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
CZOLLibXMLElement* ReadBytes(std::vector<BYTE> bytes, CZOLLibXMLLoadReport& report)
{
    return CZOLLibXMLElement::FromBytes(bytes.data(), static_cast<DWORD>(bytes.size()), 0, report);
}

struct StandardCase
{
    const char* text;    // UTF-8
    const char* written; // the tree written compact, or null when refused
    ZXMLLoadError error; // when refused
};

class StandardReading : public ::testing::TestWithParam<StandardCase>
{
};

TEST_P(StandardReading, ReadsTextAndBytesAlike)
{
    const StandardCase& c = GetParam();
    CZOLLibXMLLoadReport report(ZXML_READ_STANDARD);
    const ElementPtr fromText(CZOLLibXMLElement::FromString(Wide(c.text), 0, report));
    const std::string text = c.text;
    CZOLLibXMLLoadReport byteReport(ZXML_READ_STANDARD);
    const ElementPtr fromBytes(ReadBytes(std::vector<BYTE>(text.begin(), text.end()), byteReport));
    if (c.written == nullptr)
    {
        EXPECT_EQ(nullptr, fromText);
        EXPECT_EQ(c.error, report.m_error) << Utf8(report.m_strMessage);
        EXPECT_EQ(c.error, byteReport.m_error) << Utf8(byteReport.m_strMessage);
        return;
    }
    ASSERT_NE(nullptr, fromText) << Utf8(report.m_strMessage);
    EXPECT_EQ(c.written, Utf8(fromText->ToString(0, 0)));
    EXPECT_EQ(ZXML_LOAD_OK, report.m_error);
    ASSERT_NE(nullptr, fromBytes) << Utf8(byteReport.m_strMessage);
    EXPECT_EQ(1, fromText->Equals(fromBytes.get()));

    // Written by the writer, the tree reads back equal in the same reading.
    CZOLLibXMLLoadReport again(ZXML_READ_STANDARD);
    const ElementPtr back(CZOLLibXMLElement::FromString(fromText->ToString(1, 1), 1, again));
    ASSERT_NE(nullptr, back) << Utf8(again.m_strMessage);
    EXPECT_EQ(1, fromText->Equals(back.get()));
}

const StandardCase kStandardCases[] = {
    // Names as XML spells them, in elements, attributes and closing tags.
    {"<my-tag xml.lang=\"en\" a\xC2\xB7" "b=\"1\"><x.y-z/></my-tag>", "<my-tag xml.lang=\"en\" a\xC2\xB7" "b=\"1\"><x.y-z/></my-tag>", ZXML_LOAD_OK},
    {"<_a:b\xCC\x81/>", "<_a:b\xCC\x81/>", ZXML_LOAD_OK},
    {"<\xF0\x90\x80\x80x/>", "<\xF0\x90\x80\x80x/>", ZXML_LOAD_OK}, // a name character beyond U+FFFF
    {"<-a/>", nullptr, ZXML_LOAD_INVALID_NAME_START},
    {"<a .b=\"1\"/>", nullptr, ZXML_LOAD_EXPECTED_TAG_END},
    // CDATA sections at the start, in the middle and at the end of content.
    {"<a><![CDATA[<b>&amp;</b>]]>tail</a>", "<a>&lt;b&gt;&amp;amp;&lt;/b&gt; tail</a>", ZXML_LOAD_OK},
    {"<a>x<b/><![CDATA[ y  ]] z ]]>w</a>", "<a><b/>x y ]] z w</a>", ZXML_LOAD_OK},
    {"<a>text<![CDATA[]]></a>", "<a>text</a>", ZXML_LOAD_OK},
    {"<a><![CDATA[x", nullptr, ZXML_LOAD_UNTERMINATED_CDATA_SECTION},
    // Hexadecimal references in text and attribute values, beyond U+FFFF too.
    {"<a v=\"&#x41;&#X62;\">&#x1F600;&#x20AC;</a>", "<a v=\"Ab\">&#55357;&#56832;&#8364;</a>", ZXML_LOAD_OK},
    {"<a>&#x;</a>", nullptr, ZXML_LOAD_INVALID_REFERENCE},
    {"<a v=\"&#xG;\"/>", nullptr, ZXML_LOAD_INVALID_REFERENCE},
    // References to characters that XML forbids; a pair of halves is a character.
    {"<a>&#0;</a>", nullptr, ZXML_LOAD_FORBIDDEN_REFERENCE},
    {"<a v=\"&#xDC00;\"/>", nullptr, ZXML_LOAD_FORBIDDEN_REFERENCE},
    {"<a>&#55357;x</a>", nullptr, ZXML_LOAD_FORBIDDEN_REFERENCE},
    {"<a>&#x110000;</a>", nullptr, ZXML_LOAD_FORBIDDEN_REFERENCE},
    {"<a>&#99999999999;</a>", nullptr, ZXML_LOAD_FORBIDDEN_REFERENCE},
    {"<a>&#55357;&#56832;</a>", "<a>&#55357;&#56832;</a>", ZXML_LOAD_OK},
    // Processing instructions in the prolog, in content and after the root.
    {"<?xml-stylesheet type=\"text/xsl\" href=\"s.xsl\"?><!-- c --><?pi?><a>x<?pi a>b?>y</a><?after?>",
     "<a>x y</a>", ZXML_LOAD_OK},
    {"<a><?pi ", nullptr, ZXML_LOAD_UNTERMINATED_PROCESSING_INSTRUCTION},
    // The declaration in any spelling.
    {"<?xml version='1.0' encoding='UTF-8' standalone='yes' ?>\n<a/>", "<a/>", ZXML_LOAD_OK},
    {"<?xml\tversion=\"1.1\"?><a/>", "<a/>", ZXML_LOAD_OK},
    {"<?xml version=\"1.0\"", nullptr, ZXML_LOAD_UNTERMINATED_DECLARATION},
    // Internal subsets, with "]>" in a string, a comment and a processing instruction.
    {"<!DOCTYPE a [\n<!ENTITY e \"]>\">\n<!-- ]> -->\n<?pi ]>?>\n<!ATTLIST a b CDATA '>'>\n]>\n<a>&e;</a>", "<a>&amp;e;</a>", ZXML_LOAD_OK},
    {"<!DOCTYPE a PUBLIC \"-//x//DTD y//EN\" \"y.dtd\" [ <!ELEMENT a (#PCDATA)> ]><a/>", "<a/>", ZXML_LOAD_OK},
    {"<!DOCTYPE a [ <!ENTITY e \"x\"> ", nullptr, ZXML_LOAD_UNTERMINATED_DOCTYPE},
    // White space before the end of a closing tag.
    {"<a><b>x</b\n\t></a   >", "<a><b>x</b></a>", ZXML_LOAD_OK},
    {"<a></b >", nullptr, ZXML_LOAD_MISMATCHED_CLOSING_TAG},
};

INSTANTIATE_TEST_SUITE_P(Table, StandardReading, ::testing::ValuesIn(kStandardCases));

struct EncodingCase
{
    std::vector<BYTE> bytes;
    const char* written; // UTF-8, or null when refused
};

// The declared encoding decides for bytes without a mark; a byte above 0x7F
// tells them apart.
TEST(StandardReadingEncoding, TakesTheDeclaredEncoding)
{
    auto declared = [](const char* pszEncoding, std::vector<BYTE> body) {
        const std::string head = std::string("<?xml version=\"1.0\" encoding=\"") + pszEncoding + "\"?><a>";
        std::vector<BYTE> bytes(head.begin(), head.end());
        bytes.insert(bytes.end(), body.begin(), body.end());
        for (const char ch : std::string("</a>"))
            bytes.push_back(static_cast<BYTE>(ch));
        return bytes;
    };
    const EncodingCase cases[] = {
        {declared("ISO-8859-1", {0xE9, 0x80}), "<a>&#233;&#128;</a>"},
        {declared("latin1", {0xE9}), "<a>&#233;</a>"},
        {declared("windows-1252", {0xE9, 0x80}), "<a>&#233;&#8364;</a>"},
        {declared("US-ASCII", {'x', 0xE9}), "<a>x&#65533;</a>"},
        {declared("utf-8", {0xC3, 0xA9}), "<a>&#233;</a>"},
        {declared("EBCDIC-US", {'x'}), nullptr},
    };
    for (const EncodingCase& c : cases)
    {
        CZOLLibXMLLoadReport report(ZXML_READ_STANDARD);
        const ElementPtr root(ReadBytes(c.bytes, report));
        if (c.written == nullptr)
        {
            EXPECT_EQ(nullptr, root);
            EXPECT_EQ(ZXML_LOAD_UNSUPPORTED_ENCODING, report.m_error);
            EXPECT_EQ(30u, report.m_nOffset); // the encoding's name
            EXPECT_NE(std::string::npos, Utf8(report.m_strMessage).find("'EBCDIC-US'"));
            continue;
        }
        ASSERT_NE(nullptr, root) << Utf8(report.m_strMessage);
        EXPECT_EQ(c.written, Utf8(root->ToString(0, 0)));
    }

    // A NUL ends the text and the declaration with it: what stands behind names nothing.
    const std::string cut("<?xml version=\"1.0\"\0 encoding=\"EBCDIC\"?><a/>", 40);
    CZOLLibXMLLoadReport cutReport(ZXML_READ_STANDARD);
    EXPECT_EQ(nullptr, ReadBytes(std::vector<BYTE>(cut.begin(), cut.end()), cutReport));
    EXPECT_EQ(ZXML_LOAD_UNTERMINATED_DECLARATION, cutReport.m_error);

    // The default reading reads the same bytes as UTF-8, whatever they declare.
    CZOLLibXMLLoadReport report;
    const ElementPtr root(ReadBytes(declared("ISO-8859-1", {0xE9}), report));
    ASSERT_NE(nullptr, root);
    EXPECT_EQ("<a>&#65533;</a>", Utf8(root->ToString(0, 0)));
}

// A mark says more than a declaration: UTF-16 and marked UTF-8 are read as such.
TEST(StandardReadingEncoding, AMarkOverridesTheDeclaration)
{
    const std::string text = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\xC3\xA9</a>";
    std::vector<BYTE> utf8 = {0xEF, 0xBB, 0xBF};
    utf8.insert(utf8.end(), text.begin(), text.end());
    std::vector<BYTE> utf16 = {0xFF, 0xFE};
    for (const WCHAR ch : std::u16string(u"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\u00E9</a>"))
    {
        utf16.push_back(static_cast<BYTE>(ch & 0xFF));
        utf16.push_back(static_cast<BYTE>(ch >> 8));
    }
    for (const std::vector<BYTE>& bytes : {utf8, utf16})
    {
        CZOLLibXMLLoadReport report(ZXML_READ_STANDARD);
        const ElementPtr root(ReadBytes(bytes, report));
        ASSERT_NE(nullptr, root) << Utf8(report.m_strMessage);
        EXPECT_EQ("<a>&#233;</a>", Utf8(root->ToString(0, 0)));
    }
}
} // namespace
