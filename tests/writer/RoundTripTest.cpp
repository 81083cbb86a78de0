// Text written by the writer and read back by the reader.
#include "WriterTestSupport.h"

#include <gtest/gtest.h>

#include <random>

namespace
{
ElementPtr Read(const std::u16string& text, int requireDeclaration = 0)
{
    return ElementPtr(CZOLLibXMLElement::FromString(text.c_str(), requireDeclaration));
}

// Both trees alike, attribute order included: equal trees write equal text.
void ExpectSameTree(const CZOLLibXMLElement& expected, const CZOLLibXMLElement& actual)
{
    EXPECT_TRUE(expected.Equals(&actual));
    EXPECT_EQ(Units(expected.ToString(0, 0)), Units(actual.ToString(0, 0)));
}

struct ReadBackCase
{
    int declaration;
    int lineBreaks;
    int indent;
};
const ReadBackCase kFlagSettings[] = {{0, 0, 0}, {0, 1, 0}, {1, 0, 0}, {1, 1, 0}, {0, 0, 2}, {1, 1, 1}};

// Writes with every flag setting, compact and indented, and reads back; each
// reading must match.
void ExpectReadBackEqual(const CZOLLibXMLElement& tree, const CZOLLibXMLElement& expected)
{
    for (const ReadBackCase& flags : kFlagSettings)
    {
        SCOPED_TRACE(testing::Message() << "declaration " << flags.declaration << ", line breaks " << flags.lineBreaks
                                        << ", indent " << flags.indent);
        const CString text = tree.ToString(flags.declaration, flags.lineBreaks, flags.indent);
        const ElementPtr readBack = Read(Units(text), flags.declaration);
        ASSERT_NE(nullptr, readBack);
        ExpectSameTree(expected, *readBack);
    }
}

class ReadWriteRead : public testing::TestWithParam<std::u16string>
{
};

TEST_P(ReadWriteRead, ReadsBackTheSameTree)
{
    const ElementPtr first = Read(GetParam());
    ASSERT_NE(nullptr, first);
    ExpectReadBackEqual(*first, *first);
}

INSTANTIATE_TEST_SUITE_P(
    Documents, ReadWriteRead,
    testing::Values(
        u"<a/>", u"<a></a>", u"<a>1 &lt; 2 &amp;&amp; 3 &gt; 2</a>", u"<a><b>x</b><c/></a>",
        u"<a>x<b/>y<!-- note -->z</a>", u"<a>\r\n  x  \r\n  <b/>\r\n</a>",
        u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<!-- c --><!DOCTYPE a><a k=\"v\"/>",
        u"<a q='say \"hi\"' r=\"it's\" s=\"&lt;&gt;&amp;\"/>", u"<a x='1' X='2' y = ' spaced  value '/>",
        u"<e z=\"1\" a=\"2\" M=\"3\" b=\"4\"/>", u"<a>Caf\u00E9 \u2603 \U0001F600</a>", u"<a>&#55357;&#56832;&#65535;</a>",
        u"<ns:root_1 xmlns:ns=\"urn:x\"><ns:item_2>t</ns:item_2><_3/></ns:root_1>",
        u"<\u00E9l\u00E8ve \u0438\u043C\u044F=\"\u4E2D\"><\u4E2D\u6587/></\u00E9l\u00E8ve>",
        u"<a>\x01\x1F ctl</a>", u"<list>\r\n  <item id=\"1\">one</item>\r\n  <item id=\"2\">two</item>\r\n  tail\r\n</list>",
        u"<a><b><c><d><e>deep</e></d></c></b>after</a>"));

// The ways a read-back differs from what was written.

TEST(RoundTrip, ValueComesAfterTheChildren)
{
    const ElementPtr first = Read(u"<a>x<b/>y</a>");
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(u"<a><b/>x y</a>", Units(first->ToString(0, 0)));
    ExpectReadBackEqual(*first, *first);
}

TEST(RoundTrip, WhiteSpaceInValuesCollapses)
{
    const ElementPtr written = BuildTree({u"a", {{u"k", u"\t two  spaces"}}, u" \r\n lead\t\ttabs \v\f", {{u"b", {}, u"\t"}}});
    const ElementPtr collapsed = BuildTree({u"a", {{u"k", u"two spaces"}}, u"lead tabs ", {{u"b"}}});
    ExpectReadBackEqual(*written, *collapsed);

    // Spaces that references put into a value are written plainly, and then collapse.
    const ElementPtr fromReferences = Read(u"<a>&nbsp;&nbsp;x&#9;&#9;y</a>");
    ASSERT_NE(nullptr, fromReferences);
    EXPECT_EQ(u"  x\t\ty", Units(fromReferences->GetValue()));
    const ElementPtr readBack = Read(Units(fromReferences->ToString(0, 0)));
    ASSERT_NE(nullptr, readBack);
    EXPECT_EQ(u"x y", Units(readBack->GetValue()));
}

TEST(RoundTrip, NamesOutsideNameCharactersDoNotLoad)
{
    const TreeSpec written[] = {{u"my-tag"}, {u"a", {{u"data-x", u"1"}}}, {u"a", {}, u"", {{u"b.c"}}}, {u""}};
    for (const TreeSpec& shape : written)
    {
        const CString text = BuildTree(shape)->ToString(0, 0);
        EXPECT_EQ(nullptr, Read(Units(text))) << testing::PrintToString(Units(text));
    }
}

TEST(RoundTrip, DeclarationOnlyOnRequest)
{
    const ElementPtr tree = BuildTree({u"a", {}, u"v"});
    EXPECT_EQ(nullptr, Read(Units(tree->ToString(0, 1)), 1));
    EXPECT_EQ(nullptr, Read(Units(tree->ToString(0, 0)), 1));
    const ElementPtr declared = Read(Units(tree->ToString(1, 0)), 1);
    ASSERT_NE(nullptr, declared);
    EXPECT_TRUE(tree->Equals(declared.get()));
}

TEST(RoundTrip, AttributeOrderSurvives)
{
    const std::u16string text = u"<e zeta=\"1\" Alpha=\"2\" mid=\"3\" b=\"4\"><f y=\"1\" x=\"2\"/></e>";
    const ElementPtr first = Read(text);
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(text, Units(first->ToString(0, 0)));
}

// Random trees: names of name characters, values of every kind of character.

class TreeGenerator
{
public:
    explicit TreeGenerator(unsigned int seed) : m_random(seed) {}

    // The tree as built, and the tree a reader gives back for its text.
    std::pair<ElementPtr, ElementPtr> Generate()
    {
        ElementPtr written(new CZOLLibXMLElement(nullptr, Name().c_str()));
        ElementPtr expected(new CZOLLibXMLElement(nullptr, written->GetName()));
        std::vector<std::pair<CZOLLibXMLElement*, CZOLLibXMLElement*>> open{{written.get(), expected.get()}};
        int nElements = 1;
        while (!open.empty())
        {
            auto [pWritten, pExpected] = open.back();
            open.pop_back();
            const int nAttributes = Pick(4);
            for (int i = 0; i < nAttributes; ++i)
            {
                const std::u16string name = Name();
                const std::u16string value = Value();
                pWritten->AddAttribute(name.c_str(), value.c_str());
                pExpected->AddAttribute(name.c_str(), Collapsed(value).c_str());
            }
            const std::u16string value = Pick(2) == 0 ? std::u16string() : Value();
            pWritten->SetValue(value.c_str());
            pExpected->SetValue(Collapsed(value).c_str());
            const int nChildren = nElements < 60 ? Pick(4) : 0;
            for (int i = 0; i < nChildren; ++i, ++nElements)
            {
                CZOLLibXMLElement* pChild = pWritten->AddElement(Name().c_str());
                open.emplace_back(pChild, pExpected->AddElement(pChild->GetName()));
            }
        }
        return {std::move(written), std::move(expected)};
    }

private:
    int Pick(int n) { return static_cast<int>(m_random() % static_cast<unsigned int>(n)); }

    std::u16string Name()
    {
        static const std::u16string kNameCharacters = u"abcXYZ019:_\u00E9\u0416\u4E2D";
        std::u16string name;
        for (int n = 1 + Pick(6); n > 0; --n)
            name += kNameCharacters[static_cast<std::size_t>(Pick(static_cast<int>(kNameCharacters.size())))];
        return name;
    }

    std::u16string Value()
    {
        static const std::u16string kValueCharacters = u"aZ9 \t\r\n\v\f&<>\"';#\x01\x1F\x7F\u0080\u00A0\u00E9\u3000\uFFFF";
        std::u16string value;
        for (int n = Pick(12); n > 0; --n)
        {
            if (Pick(16) == 0)
                value += u"\U0001F600";
            else
                value += kValueCharacters[static_cast<std::size_t>(Pick(static_cast<int>(kValueCharacters.size())))];
        }
        return value;
    }

    // What the reader makes of a written value: the white space that is
    // written plainly (ASCII) is dropped at the start, and each run of it
    // becomes one space.
    static std::u16string Collapsed(const std::u16string& value)
    {
        std::u16string result;
        bool bInRun = false;
        for (const char16_t ch : value)
        {
            if (ch < 0x80 && AfxIsSpaceW(ch))
            {
                bInRun = true;
                continue;
            }
            if (bInRun && !result.empty())
                result += u' ';
            bInRun = false;
            result += ch;
        }
        if (bInRun && !result.empty())
            result += u' ';
        return result;
    }

    std::mt19937 m_random;
};

TEST(RoundTrip, GeneratedTrees)
{
    TreeGenerator generator(20240611);
    for (int i = 0; i < 300; ++i)
    {
        SCOPED_TRACE(testing::Message() << "tree " << i);
        const auto [written, expected] = generator.Generate();
        ExpectReadBackEqual(*written, *expected);
    }
}
}
