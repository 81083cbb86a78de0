// The load report: the reason, the place and the message of a document that
// does not load, and a clean report for one that does.
#include "ReaderTestSupport.h"

#include <afx/core/Win32Kernel.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace
{
struct FailureCase
{
    const char* text; // UTF-8; read as wide text and as bytes
    ZXMLLoadError error;
    int line;
    int column;
    const char* message; // a part of the message
};

// Reads the case's text as UTF-8 bytes, where offsets count bytes.
CZOLLibXMLElement* LoadBytes(const std::string& text, CZOLLibXMLLoadReport& report, int requireDeclaration = 0)
{
    std::vector<BYTE> bytes(text.begin(), text.end());
    return CZOLLibXMLElement::FromBytes(bytes.data(), static_cast<DWORD>(bytes.size()), requireDeclaration, report);
}

class LoadReportFailure : public ::testing::TestWithParam<FailureCase>
{
};

TEST_P(LoadReportFailure, GivesReasonPlaceAndMessage)
{
    const FailureCase& c = GetParam();
    const std::string text = c.text;
    CZOLLibXMLLoadReport report;
    EXPECT_EQ(nullptr, CZOLLibXMLElement::FromString(Wide(text), 0, report));
    EXPECT_EQ(c.error, report.m_error) << Utf8(report.m_strMessage);
    EXPECT_EQ(c.line, report.m_nLine);
    EXPECT_EQ(c.column, report.m_nColumn);
    EXPECT_NE(std::string::npos, Utf8(report.m_strMessage).find(c.message)) << Utf8(report.m_strMessage);
    EXPECT_EQ(1, report.HasPlace());
    EXPECT_EQ(0, report.IsLoaded());

    // The line holding the place, and the offset within the text: the
    // place's column is its character count from the line's start.
    const CString wide = Wide(text);
    ASSERT_LE(report.m_nOffset, static_cast<ULONGLONG>(wide.GetLength()));
    const CString line = report.m_strLineText;
    EXPECT_LE(report.m_nColumn, line.GetLength() + 1);

    // The same text as UTF-8 bytes fails alike, its offset in bytes.
    CZOLLibXMLLoadReport byteReport;
    EXPECT_EQ(nullptr, LoadBytes(text, byteReport));
    EXPECT_EQ(c.error, byteReport.m_error);
    EXPECT_EQ(c.line, byteReport.m_nLine);
    EXPECT_EQ(c.column, byteReport.m_nColumn);
    EXPECT_EQ(Utf8(report.m_strMessage), Utf8(byteReport.m_strMessage));
    EXPECT_EQ(Utf8(line), Utf8(byteReport.m_strLineText));

    // The plain call agrees: the report changes nothing of what loads.
    EXPECT_EQ(nullptr, CZOLLibXMLElement::FromString(Wide(text), 0));
}

const FailureCase kFailures[] = {
    // The prolog.
    {"<?xml version=\"1.0\"", ZXML_LOAD_UNTERMINATED_DECLARATION, 1, 20, "inside the XML declaration opened at line 1, column 1"},
    {"<!-- a\r\nb", ZXML_LOAD_UNTERMINATED_COMMENT, 2, 2, "inside the comment opened at line 1, column 1"},
    {"<!DOCTYPE a", ZXML_LOAD_UNTERMINATED_DOCTYPE, 1, 12, "document type declaration"},
    {"  \n\n", ZXML_LOAD_MISSING_ROOT, 3, 1, "expected the root element, found the end of the text"},
    {"<!-- c -->\nhello", ZXML_LOAD_EXPECTED_ROOT, 2, 1, "expected '<' to start the root element, found 'h'"},
    {"</a>", ZXML_LOAD_UNEXPECTED_CLOSING_TAG, 1, 1, "found the closing tag </a>"},
    // Names and tags, on later lines and after each kind of line break.
    {"<a>\n  <1 \"2\">", ZXML_LOAD_EXPECTED_TAG_END, 2, 6, "expected '>' to end the start tag of <1>, found '\"'"},
    {"<a>\r\n<=/>", ZXML_LOAD_INVALID_NAME_START, 2, 2, "found '=', which cannot start a name"},
    {"<a>\r<b>\r<c x=\"1\" <d/>", ZXML_LOAD_EXPECTED_TAG_END, 3, 10, "expected '>' to end the start tag of <c>, found '<'"},
    {"<item a=\"1\"/x>", ZXML_LOAD_EXPECTED_TAG_END, 1, 13, "start tag of <item>, found 'x'"},
    {"<item\ta", ZXML_LOAD_UNTERMINATED_TAG, 1, 8, "the text ends inside the start tag of <item>"},
    {"<item", ZXML_LOAD_UNTERMINATED_TAG, 1, 6, "the text ends inside the start tag of <item>"},
    {"<", ZXML_LOAD_UNTERMINATED_TAG, 1, 2, "the text ends inside a tag"},
    // Attributes.
    {"<item\n  size 3/>", ZXML_LOAD_EXPECTED_EQUALS, 2, 8, "expected '=' after the attribute name 'size' in the start tag of <item>"},
    {"<item size=3/>", ZXML_LOAD_UNQUOTED_VALUE, 1, 12, "expected a quote to start the value of the attribute 'size'"},
    {"<item size=\"3/>\n", ZXML_LOAD_UNTERMINATED_VALUE, 2, 1, "attribute 'size' of <item>, opened at line 1, column 12"},
    {"<item size=\"&#;\"/>", ZXML_LOAD_INVALID_REFERENCE, 1, 15, "expected a decimal digit after '&#', found ';'"},
    // Content, deep in a tree.
    {"<a><b><c><d>x &#y</d></c></b></a>", ZXML_LOAD_INVALID_REFERENCE, 1, 17, "found 'y'"},
    {"<a>\n<b>\n<c>text</b>", ZXML_LOAD_MISMATCHED_CLOSING_TAG, 3, 8, "the closing tag </b> does not match <c>, opened at line 3, column 1"},
    {"<a><b>\t</ab></a>", ZXML_LOAD_MISMATCHED_CLOSING_TAG, 1, 8, "the closing tag </ab> does not match <b>, opened at line 1, column 4"},
    {"<a></a-b>", ZXML_LOAD_MISMATCHED_CLOSING_TAG, 1, 4, "the closing tag </a-b> does not match <a>"},
    {"<a></a x>", ZXML_LOAD_EXPECTED_CLOSING_TAG_END, 1, 8, "expected '>' to end the closing tag </a>, found 'x'"},
    {"<a></a", ZXML_LOAD_UNTERMINATED_TAG, 1, 7, "the text ends inside"},
    {"<a>\n  <b>text", ZXML_LOAD_UNCLOSED_ELEMENT, 2, 10, "inside <b>, opened at line 2, column 3; expected its closing tag </b>"},
    {"<a><!-- note", ZXML_LOAD_UNTERMINATED_COMMENT, 1, 13, "opened at line 1, column 4"},
    // Well-formed XML that this reader does not read.
    {"<a><![CDATA[x < y]]></a>", ZXML_LOAD_CDATA_SECTION, 1, 4, "CDATA sections are well-formed XML that this reader does not read"},
    {"<a><?php echo 1; ?></a>", ZXML_LOAD_PROCESSING_INSTRUCTION, 1, 4, "processing instructions"},
    {"<?xml-stylesheet href=\"s.css\"?><a/>", ZXML_LOAD_PROCESSING_INSTRUCTION, 1, 1, "does not read"},
    {"<a>&#x41;</a>", ZXML_LOAD_HEX_REFERENCE, 1, 6, "hexadecimal character references"},
    {"<a v=\"&#X41;\"/>", ZXML_LOAD_HEX_REFERENCE, 1, 9, "hexadecimal"},
    {"<!DOCTYPE a [\n<!ELEMENT a ANY>\n]>\n<a/>", ZXML_LOAD_DOCTYPE_INTERNAL_SUBSET, 1, 13, "internal subset"},
    {"<my-tag/>", ZXML_LOAD_NAME_PUNCTUATION, 1, 4,
     "'-' cannot continue a name: this reader reads names of letters, digits, ':' and '_' only"},
    {"<a xml.lang=\"en\"/>", ZXML_LOAD_NAME_PUNCTUATION, 1, 7, "'.' cannot continue a name"},
    {"<a></a >", ZXML_LOAD_SPACE_IN_CLOSING_TAG, 1, 7, "white space before '>' in a closing tag"},
    {"<?xml version='1.0'?><a/>", ZXML_LOAD_DECLARATION_SPELLING, 1, 1, "(one space, double quotes) is well-formed XML"},
    // Characters beyond ASCII count once each in columns.
    {"<\xC3\xA9t\xC3\xA9>\xF0\x9F\x98\x80</\xC3\xA9t>", ZXML_LOAD_MISMATCHED_CLOSING_TAG, 1, 7,
     "the closing tag </\xC3\xA9t> does not match <\xC3\xA9t\xC3\xA9>"},
    {"<a>\xC3\xA9\xC3\xA9\xC3\xA9&#;</a>", ZXML_LOAD_INVALID_REFERENCE, 1, 9, "found ';'"},
};

INSTANTIATE_TEST_SUITE_P(Table, LoadReportFailure, ::testing::ValuesIn(kFailures));

TEST(LoadReport, IsCleanForADocumentThatLoads)
{
    CZOLLibXMLLoadReport report;
    report.m_error = ZXML_LOAD_CDATA_SECTION;
    report.m_nLine = 4;
    const ElementPtr root(CZOLLibXMLElement::FromString(u"<a b=\"1\"><c/></a>", 0, report));
    ASSERT_NE(nullptr, root);
    EXPECT_EQ(ZXML_LOAD_OK, report.m_error);
    EXPECT_EQ(1, report.IsLoaded());
    EXPECT_EQ(0, report.m_nLine);
    EXPECT_TRUE(report.m_strMessage.IsEmpty());
}

TEST(LoadReport, DemandedDeclaration)
{
    CZOLLibXMLLoadReport report;
    EXPECT_EQ(nullptr, CZOLLibXMLElement::FromString(u"\n <a/>", 1, report));
    EXPECT_EQ(ZXML_LOAD_MISSING_DECLARATION, report.m_error);
    EXPECT_EQ(2, report.m_nLine);
    EXPECT_EQ(2, report.m_nColumn);
    EXPECT_EQ(0, report.IsNotReadByDesign());

    EXPECT_EQ(nullptr, CZOLLibXMLElement::FromString(u"<?xml  version=\"1.0\"?><a/>", 1, report));
    EXPECT_EQ(ZXML_LOAD_DECLARATION_SPELLING, report.m_error);
    EXPECT_EQ(1, report.IsNotReadByDesign());
}

TEST(LoadReport, NullInput)
{
    CZOLLibXMLLoadReport report;
    EXPECT_EQ(nullptr, CZOLLibXMLElement::FromString(nullptr, 0, report));
    EXPECT_EQ(ZXML_LOAD_NO_INPUT, report.m_error);
    EXPECT_EQ(0, report.HasPlace());
    EXPECT_EQ(nullptr, CZOLLibXMLElement::FromBytes(nullptr, 4, 0, report));
    EXPECT_EQ(ZXML_LOAD_NO_INPUT, report.m_error);
    EXPECT_EQ(nullptr, CZOLLibXMLElement::FromFile(static_cast<LPCWSTR>(nullptr), 0, report));
    EXPECT_EQ(ZXML_LOAD_NO_INPUT, report.m_error);
    EXPECT_EQ(nullptr, CZOLLibXMLElement::FromFile(static_cast<const char*>(nullptr), 0, report));
    EXPECT_EQ(ZXML_LOAD_NO_INPUT, report.m_error);
}

struct ByteCase
{
    std::vector<BYTE> bytes;
    ULONGLONG offset; // in bytes, from the first byte given
    int line;
    int column;
};

// A byte-order mark counts in offsets, not in columns; UTF-16 counts two
// bytes a unit.
TEST(LoadReport, ByteInputGivesOffsetsInBytes)
{
    const std::vector<ByteCase> cases = {
        {{'<', 'a', '>', '\n', 0xC3, 0xA9, '<', '/', 'b', '>'}, 6, 2, 2},
        {{0xEF, 0xBB, 0xBF, '<', 'a', '>', '<', '/', 'b', '>'}, 6, 1, 4},
        {{0xFF, 0xFE, '<', 0, 'a', 0, '>', 0, '\r', 0, '\n', 0, '<', 0, '/', 0, 'b', 0, '>', 0}, 12, 2, 1},
        {{0xFE, 0xFF, 0, '<', 0, 'a', 0, '>', 0xD8, 0x3D, 0xDE, 0x00, 0, '<', 0, '/', 0, 'b', 0, '>'}, 12, 1, 5},
    };
    for (const ByteCase& c : cases)
    {
        std::vector<BYTE> bytes = c.bytes;
        CZOLLibXMLLoadReport report;
        EXPECT_EQ(nullptr, CZOLLibXMLElement::FromBytes(bytes.data(), static_cast<DWORD>(bytes.size()), 0, report));
        EXPECT_EQ(ZXML_LOAD_MISMATCHED_CLOSING_TAG, report.m_error);
        EXPECT_EQ(c.offset, report.m_nOffset);
        EXPECT_EQ(c.line, report.m_nLine);
        EXPECT_EQ(c.column, report.m_nColumn);
    }
}

// A NUL ends the text: a UTF-16 file without its mark reads as UTF-8 that
// ends after its first character, and the message says why.
TEST(LoadReport, TextCutShortByANul)
{
    std::vector<BYTE> bytes = {'<', 0, 'a', 0, '/', 0, '>', 0};
    CZOLLibXMLLoadReport report;
    EXPECT_EQ(nullptr, CZOLLibXMLElement::FromBytes(bytes.data(), static_cast<DWORD>(bytes.size()), 0, report));
    EXPECT_EQ(ZXML_LOAD_UNTERMINATED_TAG, report.m_error);
    EXPECT_EQ(1u, report.m_nOffset);
    EXPECT_NE(std::string::npos, Utf8(report.m_strMessage).find("a NUL ends the text here"));
}

class LoadReportFile : public ::testing::Test
{
protected:
    void TearDown() override { std::remove(m_path.c_str()); }

    CString Write(const std::string& content)
    {
        std::ofstream(m_path, std::ios::binary) << content;
        return Wide(m_path);
    }

    std::string m_path = ::testing::TempDir() + "load_report_test.xml";
};

TEST_F(LoadReportFile, SaysWhyAFileDoesNotLoad)
{
    CZOLLibXMLLoadReport report;
    EXPECT_EQ(nullptr, CZOLLibXMLElement::FromFile(Wide(m_path + ".missing"), 0, report));
    EXPECT_EQ(ZXML_LOAD_CANNOT_OPEN, report.m_error);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, report.m_dwOsError);
    EXPECT_EQ("cannot be opened: no such file or folder", Utf8(report.m_strMessage));
    EXPECT_EQ(0, report.HasPlace());

    EXPECT_EQ(nullptr, CZOLLibXMLElement::FromFile(Write(std::string(4194305, ' ')), 0, report));
    EXPECT_EQ(ZXML_LOAD_TOO_LARGE, report.m_error);
    EXPECT_EQ(4194305u, report.m_nFileSize);
    EXPECT_NE(std::string::npos, Utf8(report.m_strMessage).find("4194305 bytes"));

    EXPECT_EQ(nullptr, CZOLLibXMLElement::FromFile(Write("<a>\n<b></a>"), 0, report));
    EXPECT_EQ(ZXML_LOAD_MISMATCHED_CLOSING_TAG, report.m_error);
    EXPECT_EQ(2, report.m_nLine);
    EXPECT_EQ(4, report.m_nColumn);
    EXPECT_EQ(7u, report.m_nOffset);
    EXPECT_EQ(2, report.m_nOpenedLine);
    EXPECT_EQ(1, report.m_nOpenedColumn);

    const ElementPtr root(CZOLLibXMLElement::FromFile(Write("<a/>"), 0, report));
    EXPECT_NE(nullptr, root);
    EXPECT_EQ(ZXML_LOAD_OK, report.m_error);

    // The UTF-8 path form says the same; a path that is no UTF-8 names no file.
    EXPECT_EQ(nullptr, CZOLLibXMLElement::FromFile((m_path + ".missing").c_str(), 0, report));
    EXPECT_EQ(ZXML_LOAD_CANNOT_OPEN, report.m_error);
    EXPECT_EQ(nullptr, CZOLLibXMLElement::FromFile("\xFF.xml", 0, report));
    EXPECT_EQ(ZXML_LOAD_CANNOT_OPEN, report.m_error);
    EXPECT_EQ(ERROR_INVALID_NAME, report.m_dwOsError);
}
} // namespace
