#include <afx/core/afx.h>

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <vector>

TEST(CString, NullPointerMakesEmpty)
{
    CString s(u"abc");
    s = static_cast<LPCWSTR>(nullptr);
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_EQ(0, CString(static_cast<LPCWSTR>(nullptr)).GetLength());
}

TEST(CString, HoldsEmbeddedNulUnits)
{
    const WCHAR units[] = {u'a', 0, u'b'};
    CString s(units, 3);
    EXPECT_EQ(3, s.GetLength());
    EXPECT_EQ(u'b', s[2]);
    EXPECT_NE(CString(u"a"), s); // string comparison sees every unit
    EXPECT_TRUE(s == u"a");      // text comparison ends at the NUL, as wcscmp does
}

TEST(CString, AppendForms)
{
    CString s(u"ab");
    s += u"cd";
    s += CString(u"e");
    s += u'f';
    s.Append(u"ghXX", 2);
    s.AppendChar(u'i');
    EXPECT_EQ(CString(u"abcdefghi"), s);
    EXPECT_EQ(CString(u"xy"), CString(u"x") + u"y");
    EXPECT_EQ(CString(u"xy"), u"x" + CString(u"y"));
}

TEST(CString, LongStringsGrowAndCopyIndependently)
{
    CString s;
    for (int i = 0; i < 10000; ++i)
        s.AppendChar(static_cast<WCHAR>(u'a' + i % 26));
    CString copy = s;
    copy.SetAt(0, u'Z');
    EXPECT_EQ(u'a', s[0]);
    EXPECT_EQ(10000, copy.GetLength());
}

TEST(CString, BufferAccess)
{
    CString s(u"abc");
    LPWSTR p = s.GetBuffer(10);
    p[3] = u'd';
    p[4] = 0;
    s.ReleaseBuffer();
    EXPECT_EQ(CString(u"abcd"), s);

    p = s.GetBuffer(8);
    p[0] = u'x';
    s.ReleaseBuffer(2);
    EXPECT_EQ(CString(u"xb"), s);

    s.Preallocate(100);
    EXPECT_GE(s.GetAllocLength(), 100);
    EXPECT_EQ(CString(u"xb"), s);

    s.GetBufferSetLength(3)[2] = u'q';
    EXPECT_EQ(3, s.GetLength());
    EXPECT_EQ(u'q', s[2]);
    s.Truncate(1);
    EXPECT_EQ(CString(u"x"), s);
}

TEST(CString, TrimUsesTextWhiteSpace)
{
    const struct
    {
        LPCWSTR in;
        LPCWSTR out;
    } cases[] = {
        {u"  a b \t\r\n", u"a b"},
        {u"\v\fa\v\f", u"a"},
        {u"\u3000a\u2003", u"a"},  // ideographic and em spaces
        {u"\u00A0a\u00A0", u"\u00A0a\u00A0"}, // no-break space joins, it is kept
        {u"\x1Fa\x1C", u"\x1Fa\x1C"}, // information separators are not white space
        {u" \t ", u""},
    };
    for (const auto& c : cases)
    {
        CString s(c.in);
        EXPECT_EQ(CString(c.out), s.Trim());
    }
}

TEST(CString, CaseFolding)
{
    const struct
    {
        LPCWSTR in;
        LPCWSTR lower;
    } cases[] = {
        {u"ABC xyz 09", u"abc xyz 09"},
        {u"\u00C9T\u00C9", u"\u00E9t\u00E9"},
        {u"\u0391\u0392\u0393", u"\u03B1\u03B2\u03B3"},
        {u"\u0416", u"\u0436"},
        {u"\u65E5\u672C", u"\u65E5\u672C"},
    };
    for (const auto& c : cases)
    {
        CString s(c.in);
        EXPECT_EQ(CString(c.lower), s.MakeLower());
        EXPECT_EQ(0, CString(c.in).CompareNoCase(c.lower));
    }
    EXPECT_LT(CString(u"a").CompareNoCase(u"B"), 0);
    EXPECT_GT(CString(u"ab").CompareNoCase(u"A"), 0);
}

TEST(CString, FindAndSubstrings)
{
    CString s(u"one two one");
    EXPECT_EQ(4, s.Find(u't'));
    EXPECT_EQ(8, s.Find(u"one", 1));
    EXPECT_EQ(-1, s.Find(u"three"));
    EXPECT_EQ(-1, s.Find(u'o', 99));
    EXPECT_EQ(CString(u"two"), s.Mid(4, 3));
    EXPECT_EQ(CString(u"one"), s.Mid(8, 99));
    EXPECT_EQ(CString(), s.Mid(50, 1));
    EXPECT_EQ(CString(u"one"), s.Left(3));
}

TEST(CString, BadIndexesAndLengthsRaiseInvalidArgument)
{
    CString s(u"ab");
    int raised = 0;
    for (int i : {-1, 2, 100})
    {
        try
        {
            s.GetAt(i);
        }
        catch (CInvalidArgException* e)
        {
            ++raised;
            e->Delete();
        }
    }
    try
    {
        CString bad(u"x", -1);
    }
    catch (CInvalidArgException* e)
    {
        ++raised;
        e->Delete();
    }
    EXPECT_EQ(4, raised);
}

TEST(CString, ImpossibleLengthRaisesMemoryException)
{
    // A length past what a string can hold is refused before anything is read or allocated.
    CString s(u"ab");
    try
    {
        s.Append(u"x", std::numeric_limits<int>::max());
        FAIL() << "no exception";
    }
    catch (CMemoryException* e)
    {
        e->Delete();
    }
    EXPECT_EQ(CString(u"ab"), s);
}

// Copies share one buffer until one of them changes; a change is the
// changer's own, whatever changes it.
TEST(CString, CopiesShareTheirBufferUntilChanged)
{
    const CString original(u"a string too long to be anything but shared");
    const std::vector<std::function<void(CString&)>> changes = {
        [](CString& s) { s.SetAt(0, u'X'); },
        [](CString& s) { s += u"!"; },
        [](CString& s) { s.MakeLower(); s.SetAt(1, u'_'); },
        [](CString& s) { s.Trim(); s.Truncate(3); },
        [](CString& s) { s.GetBuffer()[0] = u'Y'; s.ReleaseBuffer(); },
        [](CString& s) { s.GetBufferSetLength(5)[4] = u'Z'; },
        [](CString& s) { s.Empty(); },
        [](CString& s) { s = u"other"; },
    };
    for (const auto& change : changes)
    {
        CString copy = original;
        EXPECT_EQ(original.GetString(), copy.GetString());
        change(copy);
        EXPECT_EQ(CString(u"a string too long to be anything but shared"), original);
        EXPECT_NE(original, copy);
    }
}

TEST(CString, AssigningPartOfItselfKeepsTheText)
{
    CString s(u"0123456789abcdef");
    s = s.GetString() + 10;
    EXPECT_EQ(CString(u"abcdef"), s);
    CString t(u"xyz");
    t.Append(t.GetString(), 2);
    t.Append(t);
    EXPECT_EQ(CString(u"xyzxyxyzxy"), t);
}

TEST(CString, FreeExtraKeepsTheTextInASmallerBlock)
{
    CString s;
    s.Preallocate(4000);
    s = u"short";
    s.FreeExtra();
    EXPECT_EQ(CString(u"short"), s);
    EXPECT_LT(s.GetAllocLength(), 100);
}
