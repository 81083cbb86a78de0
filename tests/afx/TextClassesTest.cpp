#include <afx/core/afx.h>

#include <gtest/gtest.h>

TEST(TextClasses, AsciiAgreesWithTheCLocale)
{
    for (WCHAR ch = 0; ch < 0x80; ++ch)
    {
        const bool alnum = (ch >= u'0' && ch <= u'9') || (ch >= u'a' && ch <= u'z') || (ch >= u'A' && ch <= u'Z');
        const bool space = ch == u' ' || ch == u'\t' || ch == u'\n' || ch == u'\v' || ch == u'\f' || ch == u'\r';
        EXPECT_EQ(alnum, AfxIsAlnumW(ch) != FALSE) << int(ch);
        EXPECT_EQ(space, AfxIsSpaceW(ch) != FALSE) << int(ch);
        EXPECT_EQ(ch >= u'A' && ch <= u'Z' ? ch + 32 : ch, AfxToLowerW(ch)) << int(ch);
    }
}

TEST(TextClasses, BeyondAscii)
{
    const struct
    {
        WCHAR ch;
        bool alnum;
        bool space;
        WCHAR lower;
    } cases[] = {
        {0x00C9, true, false, 0x00E9},  // É
        {0x00D7, false, false, 0x00D7}, // multiplication sign
        {0x00B2, true, false, 0x00B2},  // superscript two is a number
        {0x0391, true, false, 0x03B1},  // Greek Alpha
        {0x0416, true, false, 0x0436},  // Cyrillic Zhe
        {0x05D0, true, false, 0x05D0},  // Hebrew Alef
        {0x0663, true, false, 0x0663},  // Arabic-Indic three
        {0x0915, true, false, 0x0915},  // Devanagari Ka
        {0x093F, true, false, 0x093F},  // Devanagari vowel sign: part of a word
        {0x4E2D, true, false, 0x4E2D},  // CJK
        {0x0085, false, true, 0x0085},  // next line
        {0x2003, false, true, 0x2003},  // em space
        {0x3000, false, true, 0x3000},  // ideographic space
        {0x00A0, false, false, 0x00A0}, // no-break space
        {0x2014, false, false, 0x2014}, // em dash
        {0xD83D, false, false, 0xD83D}, // a surrogate alone is nothing
        {0xFFFF, false, false, 0xFFFF},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(c.alnum, AfxIsAlnumW(c.ch) != FALSE) << std::hex << int(c.ch);
        EXPECT_EQ(c.space, AfxIsSpaceW(c.ch) != FALSE) << std::hex << int(c.ch);
        EXPECT_EQ(c.lower, AfxToLowerW(c.ch)) << std::hex << int(c.ch);
    }
}

// The quick answer for white space beyond ASCII asks the table only where
// Unicode has white space: the table must have none elsewhere.
TEST(TextClasses, WhiteSpaceLiesWhereTheQuickAnswerLooks)
{
    for (unsigned int ch = 0x80; ch <= 0xFFFF; ++ch)
    {
        const bool bCandidate = ch == 0x85 || ch == 0xA0 || ch == 0x1680 || (ch >= 0x2000 && ch <= 0x205F) || ch == 0x3000;
        if (!bCandidate)
        {
            ASSERT_EQ(0, AfxGetCharClassW(static_cast<WCHAR>(ch)) & AFX_CT_SPACE) << std::hex << ch;
        }
    }
}
