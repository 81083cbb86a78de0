// Every row of the guide's table of what the reader reads, as the page
// shows it, in both readings: the example loads and writes back as the row
// says, or is refused with the reason the row names.
#include "ReaderTestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

extern const char* const kLanguageGuide;

namespace
{
std::vector<std::string> CodeSpans(const std::string& cell);

// What a reading makes of a row's example: the first code span of its
// column, a tree's text or a reason's name.
struct Outcome
{
    std::string result;
    bool bRefused = false;
};

struct GuideRow
{
    std::string construct;
    std::string example;
    Outcome standard;
    Outcome byDefault;
};

Outcome OutcomeOf(const std::string& cell)
{
    return {CodeSpans(cell)[0], cell.rfind("refused", 0) == 0};
}

// The code spans of a cell, in order: in single backticks, or in double
// ones where the span holds an apostrophe.
std::vector<std::string> CodeSpans(const std::string& cell)
{
    std::vector<std::string> spans;
    for (std::size_t open = cell.find('`'); open != std::string::npos;)
    {
        const std::string fence = cell.compare(open, 2, "``") == 0 ? "``" : "`";
        const std::size_t start = open + fence.size();
        const std::size_t close = cell.find(fence, start);
        if (close == std::string::npos)
            break;
        spans.push_back(cell.substr(start, close - start));
        open = cell.find('`', close + fence.size());
    }
    return spans;
}

std::vector<GuideRow> GuideRows()
{
    std::vector<GuideRow> rows;
    std::istringstream page(kLanguageGuide);
    bool bHeader = true;
    for (std::string line; std::getline(page, line);)
    {
        if (line.rfind("| ", 0) != 0)
            continue;
        if (bHeader || line.rfind("|---", 0) == 0)
        {
            bHeader = false;
            continue;
        }
        std::vector<std::string> cells;
        for (std::size_t start = 2, end; (end = line.find(" | ", start)) != std::string::npos; start = end + 3)
            cells.push_back(line.substr(start, end - start));
        cells.push_back(line.substr(line.rfind(" | ") + 3, line.size() - line.rfind(" | ") - 5));
        if (cells.size() != 4 || CodeSpans(cells[1]).size() != 1 || CodeSpans(cells[2]).empty() ||
            (cells[3] != "the same" && CodeSpans(cells[3]).empty()))
        {
            ADD_FAILURE() << "a row not in the table's form: " << line;
            continue;
        }
        const Outcome byDefault = OutcomeOf(cells[2]);
        rows.push_back({cells[0], CodeSpans(cells[1])[0], cells[3] == "the same" ? byDefault : OutcomeOf(cells[3]),
                        byDefault});
    }
    return rows;
}

const std::map<std::string, ZXMLLoadError> kReasonNames = {
    {"ZXML_LOAD_CDATA_SECTION", ZXML_LOAD_CDATA_SECTION},
    {"ZXML_LOAD_PROCESSING_INSTRUCTION", ZXML_LOAD_PROCESSING_INSTRUCTION},
    {"ZXML_LOAD_HEX_REFERENCE", ZXML_LOAD_HEX_REFERENCE},
    {"ZXML_LOAD_DOCTYPE_INTERNAL_SUBSET", ZXML_LOAD_DOCTYPE_INTERNAL_SUBSET},
    {"ZXML_LOAD_NAME_PUNCTUATION", ZXML_LOAD_NAME_PUNCTUATION},
    {"ZXML_LOAD_SPACE_IN_CLOSING_TAG", ZXML_LOAD_SPACE_IN_CLOSING_TAG},
    {"ZXML_LOAD_DECLARATION_SPELLING", ZXML_LOAD_DECLARATION_SPELLING},
    {"ZXML_LOAD_INVALID_NAME_START", ZXML_LOAD_INVALID_NAME_START},
    {"ZXML_LOAD_FORBIDDEN_REFERENCE", ZXML_LOAD_FORBIDDEN_REFERENCE},
};

void ExpectOutcome(const std::string& example, DWORD dwOptions, const Outcome& outcome)
{
    CZOLLibXMLLoadReport report(dwOptions);
    const ElementPtr root(CZOLLibXMLElement::FromString(Wide(example), 0, report));
    if (outcome.bRefused)
    {
        ASSERT_EQ(1u, kReasonNames.count(outcome.result)) << outcome.result;
        EXPECT_EQ(nullptr, root);
        const ZXMLLoadError error = kReasonNames.at(outcome.result);
        EXPECT_EQ(error, report.m_error) << Utf8(report.m_strMessage);
        EXPECT_EQ(error >= ZXML_LOAD_CDATA_SECTION ? 1 : 0, report.IsNotReadByDesign());
    }
    else
    {
        ASSERT_NE(nullptr, root) << Utf8(report.m_strMessage);
        EXPECT_EQ(outcome.result, Utf8(root->ToString(0, 0)));
    }
}

TEST(LanguageGuide, EveryRowReadsAsItSaysInBothReadings)
{
    const std::vector<GuideRow> rows = GuideRows();
    EXPECT_GE(rows.size(), 20u);
    for (const GuideRow& row : rows)
    {
        SCOPED_TRACE(row.construct + ": " + row.example);
        ExpectOutcome(row.example, 0, row.byDefault);
        ExpectOutcome(row.example, ZXML_READ_STANDARD, row.standard);
    }
}
} // namespace
