#include "../model/TreeWalk.h"
#include "ValueEscaping.h"

#include <cstdint>

namespace
{
constexpr WCHAR kDeclaration[] = u"<?xml version=\"1.0\"?>";
constexpr WCHAR kLineBreak[] = u"\r\n";
constexpr int kLineBreakLength = 2;

// Text is sized exactly first, so that it is allocated once, and then
// written in one pass without a check: the same walk runs twice, once into
// each of these sinks.
class CLengthSink
{
public:
    void Put(WCHAR) { ++m_nLength; }
    void Put(const CString& str) { m_nLength += str.GetLength(); }
    void PutEscaped(LPCWSTR pszValue) { m_nLength += ZolEscapedLength(pszValue); }
    void PutSpaces(std::int64_t nSpaces) { m_nLength += nSpaces; }
    void PutLineBreak(int nLineBreak) { m_nLength += nLineBreak; }

    std::int64_t m_nLength = 0;
};

class CTextSink
{
public:
    explicit CTextSink(WCHAR* pOut) : m_pOut(pOut) {}

    void Put(WCHAR ch) { *m_pOut++ = ch; }
    void Put(const CString& str) { m_pOut = ZolWriteUnits(m_pOut, str); }
    void PutEscaped(LPCWSTR pszValue) { m_pOut = ZolWriteEscaped(m_pOut, pszValue); }
    void PutSpaces(std::int64_t nSpaces)
    {
        for (; nSpaces > 0; --nSpaces)
            *m_pOut++ = u' ';
    }
    void PutLineBreak(int nLineBreak)
    {
        for (int i = 0; i < nLineBreak; ++i)
            *m_pOut++ = kLineBreak[i];
    }

    WCHAR* m_pOut;
};

// name="escaped value"
template <class Sink>
void PutAttributeText(Sink& sink, const CString& name, const CString& value)
{
    sink.Put(name);
    sink.Put(u'=');
    sink.Put(u'"');
    sink.PutEscaped(value);
    sink.Put(u'"');
}

// The layouts of the element text. The walk tells a layout where it is with
// Enter() and Leave(), and the layout puts what goes before a start tag,
// after a start tag that holds children or a value, before the value and
// end tag, and after the element. Both passes make the same calls, so a
// layout's state is back at its start between them.

// The compact form: CR LF after each element and after a start tag followed
// by children, or nothing at all.
class CCompactLayout
{
public:
    explicit CCompactLayout(int bLineBreaks) : m_nLineBreak(bLineBreaks ? kLineBreakLength : 0) {}

    void Enter(bool /*bHasValue*/) {}
    template <class Sink>
    void StartLead(Sink&) const
    {
    }
    template <class Sink>
    void StartBreak(Sink& sink, bool bHasChildren, bool /*bHasValue*/) const
    {
        if (bHasChildren)
            sink.PutLineBreak(m_nLineBreak);
    }
    template <class Sink>
    void EndLead(Sink&, bool /*bHasChildren*/, bool /*bHasValue*/) const
    {
    }
    template <class Sink>
    void EndBreak(Sink& sink) const
    {
        sink.PutLineBreak(m_nLineBreak);
    }
    void Leave() {}

private:
    int m_nLineBreak;
};

// The form for reading: an element without a value that holds children puts
// each child on a line of its own, indented one step deeper, and its end tag
// on a line of its own. The reader gathers the text around an element's
// children into its value, so an element with a value is written on one line
// whole, children included, and reads back as it was.
class CIndentedLayout
{
public:
    explicit CIndentedLayout(int nIndent) : m_nIndent(nIndent) {}

    void Enter(bool bHasValue)
    {
        if (m_nOneLineLevels > 0 || bHasValue)
            ++m_nOneLineLevels;
    }
    template <class Sink>
    void StartLead(Sink& sink) const
    {
        if (StartsLine())
            sink.PutSpaces(Indentation());
    }
    template <class Sink>
    void StartBreak(Sink& sink, bool bHasChildren, bool bHasValue)
    {
        if (IsOverLines(bHasChildren, bHasValue))
        {
            ++m_nDepth;
            sink.PutLineBreak(kLineBreakLength);
        }
    }
    template <class Sink>
    void EndLead(Sink& sink, bool bHasChildren, bool bHasValue)
    {
        if (IsOverLines(bHasChildren, bHasValue))
        {
            --m_nDepth;
            sink.PutSpaces(Indentation());
        }
    }
    template <class Sink>
    void EndBreak(Sink& sink) const
    {
        if (StartsLine())
            sink.PutLineBreak(kLineBreakLength);
    }
    void Leave()
    {
        if (m_nOneLineLevels > 0)
            --m_nOneLineLevels;
    }

private:
    // The element entered last begins a line of its own: it lies inside no
    // element written on one line.
    bool StartsLine() const { return m_nOneLineLevels <= 1; }
    bool IsOverLines(bool bHasChildren, bool bHasValue) const
    {
        return m_nOneLineLevels == 0 && bHasChildren && !bHasValue;
    }
    std::int64_t Indentation() const { return std::int64_t{m_nIndent} * m_nDepth; }

    int m_nIndent;
    std::int64_t m_nDepth = 0; // elements open over several lines
    int m_nOneLineLevels = 0;  // open elements of a subtree written on one line
};
} // namespace

// Writes the element text of a subtree; a friend of the node classes, so
// that it reads their fields without copying them.
class CZolTextWriter
{
public:
    template <class Layout>
    static void Write(const CZOLLibXMLElement& root, CString& strOut, Layout& layout)
    {
        CLengthSink length;
        Walk(root, layout, length);
        CTextSink text(ZolExtend(strOut, length.m_nLength));
        Walk(root, layout, text);
    }

private:
    template <class Layout, class Sink>
    static void Walk(const CZOLLibXMLElement& root, Layout& layout, Sink& sink)
    {
        ZolWalkTree(
            root,
            [&](const CZOLLibXMLElement& element) {
                const bool bHasChildren = !element.m_elements.IsEmpty();
                const bool bHasValue = !element.m_value.IsEmpty();
                layout.Enter(bHasValue);
                layout.StartLead(sink);
                sink.Put(u'<');
                sink.Put(element.m_name);
                ZolForEachAttribute(element, [&](const CZOLLibXMLAttribute& attribute) {
                    sink.Put(u' ');
                    PutAttributeText(sink, attribute.m_name, attribute.m_value);
                });
                if (!bHasChildren && !bHasValue)
                {
                    sink.Put(u'/');
                    sink.Put(u'>');
                    return;
                }
                sink.Put(u'>');
                layout.StartBreak(sink, bHasChildren, bHasValue);
            },
            [&](const CZOLLibXMLElement& element) {
                const bool bHasChildren = !element.m_elements.IsEmpty();
                const bool bHasValue = !element.m_value.IsEmpty();
                if (bHasChildren || bHasValue)
                {
                    layout.EndLead(sink, bHasChildren, bHasValue);
                    // The value follows the last child.
                    sink.PutEscaped(element.m_value);
                    sink.Put(u'<');
                    sink.Put(u'/');
                    sink.Put(element.m_name);
                    sink.Put(u'>');
                }
                layout.EndBreak(sink);
                layout.Leave();
            });
    }
};

void CZOLLibXMLAttribute::ToString(CString& strOut) const
{
    CLengthSink length;
    PutAttributeText(length, m_name, m_value);
    CTextSink text(ZolExtend(strOut, length.m_nLength));
    PutAttributeText(text, m_name, m_value);
}

void CZOLLibXMLElement::ToString(CString& strOut, int bLineBreaks) const
{
    CCompactLayout layout(bLineBreaks);
    CZolTextWriter::Write(*this, strOut, layout);
}

void CZOLLibXMLElement::ToString(CString& strOut, int bLineBreaks, int nIndent) const
{
    if (nIndent <= 0)
        return ToString(strOut, bLineBreaks);
    CIndentedLayout layout(nIndent);
    CZolTextWriter::Write(*this, strOut, layout);
}

CString CZOLLibXMLElement::ToString(int bDeclaration, int bLineBreaks) const
{
    CString strText;
    if (bDeclaration)
        strText = kDeclaration;
    if (bLineBreaks)
        strText += kLineBreak;
    ToString(strText, bLineBreaks);
    return strText;
}

CString CZOLLibXMLElement::ToString(int bDeclaration, int bLineBreaks, int nIndent) const
{
    if (nIndent <= 0)
        return ToString(bDeclaration, bLineBreaks);
    CString strText;
    if (bDeclaration)
    {
        strText = kDeclaration;
        strText += kLineBreak;
    }
    ToString(strText, bLineBreaks, nIndent);
    return strText;
}
