// The document and element parser, over UTF-16 text and over UTF-8 bytes
// alike. Elements nest to any depth: the elements being read stand on an
// explicit stack (the tree builder's), never on the machine stack.
#include "XMLParser.h"

#include "../model/TreeBuilder.h"
#include "NameTable.h"
#include "ScanPrimitives.h"
#include "ValueTable.h"

#include <memory>

namespace
{
enum class StartTag
{
    Failed,
    Empty,
    Open
};

template <class Text>
class CZolReader
{
public:
    using Cursor = ZolCursor<Text>;

    explicit CZolReader(const Text& text) : m_text(text) {}

    // The prolog and the root element; null when the text does not load.
    CZOLLibXMLElement* ReadDocument(Cursor p, int requireDeclaration);

    // One element at the cursor, read into element.
    bool ReadElement(Cursor& cursor, CZOLLibXMLElement& element);

    // name = "value" at the cursor. The name is the attribute's as soon as it
    // is read; the key it is to be filed under goes to pKey.
    bool ReadAttribute(Cursor& cursor, CZOLLibXMLAttribute& attribute, CString* pKey);

private:
    // "<" name, attributes, then ">" (content follows) or "/>". The
    // attributes read are filed even when a later one fails.
    StartTag ReadStartTag(Cursor& cursor, CZOLLibXMLElement& element);

    // The name at the cursor (after markup white space), shared with every
    // other of the same units; null when none stands there.
    const CZolNameTable::Entry* ReadName(Cursor& cursor)
    {
        const Cursor pStart = ZolSkipMarkupSpace(m_text, cursor);
        const Cursor pEnd = ZolScanName(m_text, pStart, m_nameUnits);
        if (pEnd == pStart)
            return nullptr;
        cursor = pEnd;
        if (!m_nameUnits.empty())
            return &m_names.Intern(m_nameUnits.data(), static_cast<int>(m_nameUnits.size()));
        return &m_names.Intern(pStart, static_cast<int>(pEnd - pStart));
    }

    // Just behind a comment that stands at p (after markup white space); p
    // itself when none stands there; null for a comment that never ends.
    Cursor SkipComment(Cursor p) const
    {
        const Cursor pBody = ZolMatchToken(m_text, p, "<!--");
        return pBody == nullptr ? p : ZolSkipPast(m_text, pBody, "-->");
    }

    bool SkipComments(Cursor& p) const
    {
        for (Cursor pNext; (pNext = SkipComment(p)) != p; p = pNext)
            if (pNext == nullptr)
                return false;
        return true;
    }

    // Just behind "</" name ">" (one token, after markup white space), or null.
    Cursor MatchClosingTag(Cursor p, const CString& strName) const
    {
        p = ZolMatchToken(m_text, p, "</");
        if (p != nullptr)
            p = ZolMatchName(m_text, p, strName);
        if (p != nullptr)
            p = ZolStartsWith(m_text, p, ">");
        return p;
    }

    // Appends the decoded span to a value. A short value read whole shares
    // the buffer of an equal one read before; a long one keeps little more
    // room than it needs (its room was sized by the text it came from, which
    // references and white space make longer).
    void AppendSpan(CString& strValue, Cursor& cursor, Cursor pEnd)
    {
        cursor = ZolSkipTextSpace(m_text, cursor, pEnd);
        if (cursor == pEnd)
            return;
        if (pEnd - cursor > kZolShortSpan)
        {
            ZolAppendLongSpan(m_text, strValue, cursor, pEnd);
            const int nSpare = strValue.GetAllocLength() - strValue.GetLength();
            if (nSpare > strValue.GetLength() / 8)
                strValue.FreeExtra();
            return;
        }
        WCHAR units[kZolShortSpan];
        const int nUnits = static_cast<int>(ZolDecodeSpan(m_text, cursor, pEnd, units) - units);
        if (strValue.IsEmpty())
            strValue = m_values.Share(units, nUnits);
        else
            strValue.Append(units, nUnits);
    }

    // Texts before, between and after children join into one value, one
    // space apart. False when the decoder stopped early ("&#" without a digit).
    bool AppendTextRun(CString& strValue, Cursor& cursor, Cursor pMarkup)
    {
        const int nLength = strValue.GetLength();
        if (nLength != 0 && strValue.GetString()[nLength - 1] != u' ')
            strValue.AppendChar(u' ');
        AppendSpan(strValue, cursor, pMarkup);
        return cursor == pMarkup;
    }

    Text m_text;
    CZolNameTable m_names;
    CZolValueTable m_values;
    ZolStack<WCHAR> m_nameUnits;
    ZolStack<CZolTreeBuilder::PendingAttribute> m_pending;
};

template <class Text>
bool CZolReader<Text>::ReadAttribute(Cursor& cursor, CZOLLibXMLAttribute& attribute, CString* pKey)
{
    const CZolNameTable::Entry* pName = ReadName(cursor);
    if (pName == nullptr)
        return false;
    CZolTreeBuilder::Name(attribute) = pName->name;
    if (pKey != nullptr)
        *pKey = pName->key;
    // "=" and the opening quote, each after markup white space; the cursor
    // moves past each one found.
    Cursor p = ZolSkipMarkupSpace(m_text, cursor);
    if (static_cast<unsigned int>(m_text.Peek(p)) != '=')
        return false;
    cursor = p + 1;
    p = ZolSkipMarkupSpace(m_text, cursor);
    const auto quote = static_cast<unsigned int>(m_text.Peek(p));
    if (quote != '"' && quote != '\'')
        return false;
    cursor = p + 1;
    const Cursor pClose = m_text.Find(cursor, static_cast<char>(quote));
    if (pClose == nullptr)
        return false;
    CString& strValue = CZolTreeBuilder::Value(attribute);
    strValue.Empty();
    AppendSpan(strValue, cursor, pClose);
    // After a decoder's early stop only markup white space may precede the
    // quote, which is the first one behind the cursor.
    if (ZolSkipMarkupSpace(m_text, cursor) != pClose)
        return false;
    cursor = pClose + 1;
    return true;
}

template <class Text>
StartTag CZolReader<Text>::ReadStartTag(Cursor& cursor, CZOLLibXMLElement& element)
{
    if (!ZolMatch(m_text, cursor, "<"))
        return StartTag::Failed;
    const CZolNameTable::Entry* pName = ReadName(cursor);
    if (pName == nullptr)
        return StartTag::Failed;
    CZolTreeBuilder::Name(element) = pName->name;

    // The attributes wait until the tag ends, so that the element makes room
    // for them all at once; those read are filed even when a later one
    // fails. Of two whose names differ in case only, the later one stays.
    StartTag tag = StartTag::Open;
    for (;;)
    {
        // ">" or "/" after markup white space ends the tag.
        const Cursor pNext = ZolSkipMarkupSpace(m_text, cursor);
        const auto ch = static_cast<unsigned int>(m_text.Peek(pNext));
        if (ch == '>')
        {
            cursor = pNext + 1;
            break;
        }
        if (ch == '/')
        {
            cursor = pNext + 1;
            tag = ZolMatch(m_text, cursor, ">") ? StartTag::Empty : StartTag::Failed;
            break;
        }
        if (m_text.AtEnd(cursor))
        {
            tag = StartTag::Failed;
            break;
        }
        const bool bRead = ZolCreateAndFile<CZOLLibXMLAttribute>(&element, nullptr, [&](CZOLLibXMLAttribute& attribute) {
            CString key;
            if (!ReadAttribute(cursor, attribute, &key))
                return false;
            // The room first: the list takes the attribute over only where it cannot fail.
            if (m_pending.size() == m_pending.capacity())
                m_pending.reserve(2 * m_pending.size() + 1);
            m_pending.push_back({std::unique_ptr<CZOLLibXMLAttribute>(&attribute), std::move(key)});
            return true;
        }) != nullptr;
        if (!bRead)
        {
            tag = StartTag::Failed;
            break;
        }
    }
    if (!m_pending.empty())
        CZolTreeBuilder::FileAttributes(element, m_pending);
    return tag;
}

template <class Text>
bool CZolReader<Text>::ReadElement(Cursor& cursor, CZOLLibXMLElement& element)
{
    const StartTag tag = ReadStartTag(cursor, element);
    if (tag != StartTag::Open)
        return tag == StartTag::Empty;

    CZolTreeBuilder builder(element);
    for (;;)
    {
        CZOLLibXMLElement& current = builder.Current();
        if (m_text.AtEnd(cursor))
            return false;
        const Cursor pMarkup = m_text.Find(cursor, '<');
        if (pMarkup == nullptr)
            return false;
        if (pMarkup != cursor && !AppendTextRun(CZolTreeBuilder::Value(current), cursor, pMarkup))
            return false;

        if (const Cursor pAfter = MatchClosingTag(cursor, CZolTreeBuilder::Name(current)))
        {
            cursor = pAfter;
            if (!builder.Close())
                return true;
            continue;
        }

        const Cursor pAfterComment = SkipComment(cursor);
        if (pAfterComment == nullptr)
            return false;
        if (pAfterComment != cursor)
        {
            cursor = pAfterComment;
            continue;
        }

        switch (ReadStartTag(cursor, builder.Open()))
        {
        case StartTag::Failed:
            return false;
        case StartTag::Empty:
            builder.Close();
            break;
        case StartTag::Open:
            break;
        }
    }
}

template <class Text>
CZOLLibXMLElement* CZolReader<Text>::ReadDocument(Cursor p, int requireDeclaration)
{
    // The prolog: the declaration (its content unread), comments, one
    // document type (skipped to its first ">"), comments.
    if (const Cursor pDeclaration = ZolMatchToken(m_text, p, "<?xml version=\""))
    {
        p = ZolSkipPast(m_text, pDeclaration, "?>");
        if (p == nullptr)
            return nullptr;
    }
    else if (requireDeclaration)
    {
        return nullptr;
    }
    if (!SkipComments(p))
        return nullptr;
    if (const Cursor pDocumentType = ZolMatchToken(m_text, p, "<!DOCTYPE"))
    {
        p = ZolSkipPast(m_text, pDocumentType, ">");
        if (p == nullptr)
            return nullptr;
    }
    if (!SkipComments(p))
        return nullptr;

    // Whatever follows the root element is not read.
    try
    {
        auto root = std::make_unique<CZOLLibXMLElement>(nullptr, nullptr);
        if (ReadElement(p, *root))
            return root.release();
    }
    catch (CException* e)
    {
        e->Delete();
    }
    return nullptr;
}
} // namespace

int CZOLLibXMLAttribute::ParseString(LPCWSTR& pszCursor)
{
    CZolReader<ZolWideText> reader{ZolWideText()};
    return reader.ReadAttribute(pszCursor, *this, nullptr) ? 1 : 0;
}

int CZOLLibXMLElement::ParseString(LPCWSTR& pszCursor)
{
    CZolReader<ZolWideText> reader{ZolWideText()};
    return reader.ReadElement(pszCursor, *this) ? 1 : 0;
}

CZOLLibXMLElement* CZOLLibXMLElement::FromString(LPCWSTR pszText, int requireDeclaration)
{
    if (pszText == nullptr)
        return nullptr;
    CZolReader<ZolWideText> reader{ZolWideText()};
    return reader.ReadDocument(pszText, requireDeclaration);
}

CZOLLibXMLElement* ZolReadUtf8Document(const BYTE* pBytes, const BYTE* pEnd, int requireDeclaration)
{
    CZolReader<ZolUtf8Text> reader{ZolUtf8Text(pEnd)};
    return reader.ReadDocument(pBytes, requireDeclaration);
}
