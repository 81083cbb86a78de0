// The document and element parser, over UTF-16 text and over UTF-8 bytes
// alike. Elements nest to any depth: the elements being read stand on an
// explicit stack (the tree builder's), never on the machine stack.
//
// The reader comes in builds told apart by two switches. The plain one only
// answers whether the text loads. The diagnosing one, run again on a text
// that did not load when the caller asked why, also records where each open
// element started and the reason and place of the failure, so that the
// plain one pays nothing. The standard reading reads XML as other programs
// write it. Each build is made in a file of its own (XMLParser.cpp for the
// plain default one, ReportedReading.cpp for the rest), so that the
// compiler weighs the inlining of each on its own.
#pragma once

#include "ReadFailure.h"

#include "../model/TreeBuilder.h"
#include "NameTable.h"
#include "ScanPrimitives.h"
#include "ValueTable.h"

#include <memory>

// Each file that reads gets its own copy of the builds it makes, so that
// one file's builds never stand in for another's.
namespace
{
enum class ZolStartTag
{
    Failed,
    Empty,
    Open
};

// kStandard reads XML as other programs write it (names as XML spells them,
// CDATA sections, hexadecimal references, processing instructions, any
// declaration, a document type with an internal subset); the default
// reading is this reader's own language.
template <class Text, bool kDiagnose = false, bool kStandard = false>
class CZolReader
{
public:
    using Cursor = ZolCursor<Text>;

    explicit CZolReader(const Text& text) : m_text(text) {}

    // The prolog and the root element; null when the text does not load.
    CZOLLibXMLElement* ReadDocument(Cursor p, int requireDeclaration);

    // Why the text did not load; the diagnosing build says it in full, the
    // plain one only whether memory ran out.
    const ZolReadFailure<typename Text::Unit>& Failure() const { return m_failure; }
    bool RanOutOfMemory() const { return m_failure.error == ZXML_LOAD_OUT_OF_MEMORY; }

    // One element at the cursor, read into element.
    bool ReadElement(Cursor& cursor, CZOLLibXMLElement& element);

    // name = "value" at the cursor. The name is the attribute's as soon as it
    // is read; the key it is to be filed under goes to pKey.
    bool ReadAttribute(Cursor& cursor, CZOLLibXMLAttribute& attribute, CString* pKey);

private:
    // "<" name, attributes, then ">" (content follows) or "/>". The
    // attributes read are filed even when a later one fails.
    ZolStartTag ReadStartTag(Cursor& cursor, CZOLLibXMLElement& element);

    // The name at the cursor (after markup white space), shared with every
    // other of the same units; null when none stands there.
    const CZolNameTable::Entry* ReadName(Cursor& cursor)
    {
        const Cursor pStart = ZolSkipMarkupSpace(m_text, cursor);
        const Cursor pEnd = ZolScanNameAs<kStandard>(m_text, pStart, m_nameUnits);
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

    bool SkipComments(Cursor& p)
    {
        for (Cursor pNext; (pNext = SkipComment(p)) != p; p = pNext)
            if (pNext == nullptr)
                return Fail(ZXML_LOAD_UNTERMINATED_COMMENT, End(p), ZolSkipMarkupSpace(m_text, p));
        return true;
    }

    // Just behind "</" name ">" (one token, after markup white space), or null.
    Cursor MatchClosingTag(Cursor p, const CString& strName) const
    {
        p = ZolMatchToken(m_text, p, "</");
        if (p != nullptr)
            p = ZolMatchName(m_text, p, strName);
        if (p == nullptr)
            return nullptr;
        if constexpr (kStandard)
            p = ZolSkipMarkupSpace(m_text, p);
        return ZolStartsWith(m_text, p, ">");
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
            ZolAppendLongSpan<kStandard>(m_text, strValue, cursor, pEnd);
            const int nSpare = strValue.GetAllocLength() - strValue.GetLength();
            if (nSpare > strValue.GetLength() / 8)
                strValue.FreeExtra();
            return;
        }
        WCHAR units[kZolShortSpan];
        const int nUnits = static_cast<int>(ZolDecodeSpan<Text, kStandard>(m_text, cursor, pEnd, units) - units);
        if (strValue.IsEmpty())
            strValue = m_values.Share(units, nUnits);
        else
            strValue.Append(units, nUnits);
    }

    // Texts before, between and after children join into one value, one
    // space apart. False when the decoder stopped early ("&#" without a digit).
    bool AppendTextRun(CString& strValue, Cursor& cursor, Cursor pMarkup)
    {
        SeparateTextRun(strValue);
        AppendSpan(strValue, cursor, pMarkup);
        return cursor == pMarkup;
    }

    static void SeparateTextRun(CString& strValue)
    {
        const int nLength = strValue.GetLength();
        if (nLength != 0 && strValue.GetString()[nLength - 1] != u' ')
            strValue.AppendChar(u' ');
    }

    // A CDATA section's text, [p, pEnd), joins the value as any text does,
    // but as it stands: no reference is replaced.
    void AppendLiteralRun(CString& strValue, Cursor p, Cursor pEnd)
    {
        p = ZolSkipTextSpace(m_text, p, pEnd);
        if (p == pEnd)
            return;
        SeparateTextRun(strValue);
        const int nOld = strValue.GetLength();
        WCHAR* pBuffer = strValue.GetBufferSetLength(nOld + static_cast<int>(pEnd - p));
        const WCHAR* pWritten = ZolDecodeLiteralSpan(m_text, p, pEnd, pBuffer + nOld);
        strValue.ReleaseBuffer(static_cast<int>(pWritten - pBuffer));
    }

    // Just behind the processing instruction that stands at p (after markup
    // white space), p itself when none does; null for one that never ends.
    // The standard reading only: the default one refuses them.
    Cursor SkipProcessingInstruction(Cursor p) const
    {
        const Cursor pBody = ZolMatchToken(m_text, p, "<?");
        return pBody == nullptr ? p : ZolSkipPast(m_text, pBody, "?>");
    }

    // Comments, and in the standard reading processing instructions, in any
    // number; false (the failure recorded) for one that never ends.
    bool SkipMisc(Cursor& p)
    {
        if constexpr (kStandard)
        {
            for (;;)
            {
                if (!SkipComments(p))
                    return false;
                const Cursor pNext = SkipProcessingInstruction(p);
                if (pNext == nullptr)
                    return Fail(ZXML_LOAD_UNTERMINATED_PROCESSING_INSTRUCTION, End(p), ZolSkipMarkupSpace(m_text, p));
                if (pNext == p)
                    return true;
                p = pNext;
            }
        }
        return SkipComments(p);
    }

    // Just behind the document type whose body starts at p (behind
    // "<!DOCTYPE"), or null when it never ends. The default reading ends it
    // at its first ">"; the standard one follows its internal subset, with
    // quoted strings, comments and processing instructions in it.
    Cursor SkipDocumentType(Cursor p) const
    {
        if constexpr (!kStandard)
            return ZolSkipPast(m_text, p, ">");
        int nDepth = 0;
        while (!m_text.AtEnd(p))
        {
            const unsigned int ch = m_text.Peek(p);
            if (ch == '"' || ch == '\'')
            {
                p = m_text.Find(p + 1, static_cast<char>(ch));
                if (p == nullptr)
                    return nullptr;
            }
            else if (const Cursor pComment = ZolStartsWith(m_text, p, "<!--"))
            {
                p = ZolSkipPast(m_text, pComment, "-->");
                if (p == nullptr)
                    return nullptr;
                continue;
            }
            else if (const Cursor pInstruction = ZolStartsWith(m_text, p, "<?"))
            {
                p = ZolSkipPast(m_text, pInstruction, "?>");
                if (p == nullptr)
                    return nullptr;
                continue;
            }
            else if (ch == '[')
            {
                ++nDepth;
            }
            else if (ch == ']' && nDepth > 0)
            {
                --nDepth;
            }
            else if (ch == '>' && nDepth == 0)
            {
                return p + 1;
            }
            ++p;
        }
        return nullptr;
    }

    // Records the first failure; the reader's steps return what this does.
    // The plain build records nothing, and its arguments cost nothing to
    // pass, so that the reading loop stays as small as it was.
    bool Fail(ZXMLLoadError error, Cursor pPlace, Cursor pOpened = nullptr, LPCWSTR pszElement = nullptr,
              LPCWSTR pszName = nullptr)
    {
        if constexpr (kDiagnose)
        {
            if (m_failure.error == ZXML_LOAD_OK)
                m_failure = {error, pPlace, pOpened, CString(pszElement), CString(pszName)};
        }
        return false;
    }

    // Replaces the failure recorded with what it turned out to be.
    void Refail(ZXMLLoadError error, Cursor pPlace)
    {
        m_failure = ZolReadFailure<typename Text::Unit>();
        m_failure.error = error;
        m_failure.pPlace = pPlace;
    }

    // The name of the element an attribute is read for.
    static LPCWSTR ElementName(const CZOLLibXMLAttribute& attribute)
    {
        CZOLLibXMLElement* pElement = attribute.GetParent();
        return pElement != nullptr ? CZolTreeBuilder::Name(*pElement).GetString() : nullptr;
    }

    // The end of the text, found only after a failure, by the diagnosing build.
    Cursor End(Cursor p) const
    {
        if constexpr (!kDiagnose)
            return p;
        while (!m_text.AtEnd(p))
            ++p;
        return p;
    }

    // A name that stops at p, where the tag needs something else: "-" or
    // "." right behind a name are the punctuation this reader leaves out of
    // names; the end of the text ends the tag too early.
    ZXMLLoadError InTagFailure(Cursor p, ZXMLLoadError otherwise) const
    {
        if (m_text.AtEnd(p))
            return ZXML_LOAD_UNTERMINATED_TAG;
        const unsigned int ch = m_text.Peek(p);
        if ((ch == '-' || ch == '.') && !ZolIsMarkupSpace(m_text.Peek(p - 1)))
            return ZXML_LOAD_NAME_PUNCTUATION;
        return otherwise;
    }

    // The decoder stopped at p: behind "&#" or "&#x" where a digit was
    // expected, or on the "&" of a reference to a forbidden character.
    bool ReferenceFailure(Cursor p)
    {
        const unsigned int ch = m_text.Peek(p);
        if constexpr (kStandard)
        {
            if (ch == '&')
                return Fail(ZXML_LOAD_FORBIDDEN_REFERENCE, p);
            const unsigned int before = m_text.Peek(p - 1);
            return Fail(ZXML_LOAD_INVALID_REFERENCE, p, nullptr, nullptr, before == 'x' || before == 'X' ? u"&#x" : u"&#");
        }
        return Fail(ch == 'x' || ch == 'X' ? ZXML_LOAD_HEX_REFERENCE : ZXML_LOAD_INVALID_REFERENCE, p, nullptr, nullptr,
                    u"&#");
    }

    // "<" at pMarkup is followed by no name, but by pAfter.
    void MarkupFailure(Cursor pMarkup, Cursor pAfter);

    // "</" at pMarkup is no closing tag of the element open, if any.
    void ClosingTagFailure(Cursor pMarkup, Cursor pName);

    // The name at p as XML spells names, "-" and "." included; p moves
    // behind it.
    CString ScanXmlName(Cursor& p)
    {
        CString strName;
        for (;;)
        {
            const Cursor pStart = p;
            p = ZolScanName(m_text, p, m_nameUnits);
            if (!m_nameUnits.empty())
                strName.Append(m_nameUnits.data(), static_cast<int>(m_nameUnits.size()));
            else
                for (Cursor q = pStart; q != p; ++q)
                    strName.AppendChar(static_cast<WCHAR>(*q));
            const unsigned int ch = m_text.Peek(p);
            if (strName.IsEmpty() || (ch != '-' && ch != '.'))
                return strName;
            strName.AppendChar(static_cast<WCHAR>(ch));
            ++p;
        }
    }

    // Where the element being read began, for the diagnosing build.
    Cursor OpenedAt() const
    {
        if constexpr (kDiagnose)
            return m_opened.empty() ? nullptr : m_opened.back().pTag;
        return nullptr;
    }

    // "<?xml" followed by white space or "?": a declaration, in any
    // spelling.
    bool IsOtherDeclaration(Cursor p) const
    {
        const Cursor pAfter = ZolStartsWith(m_text, p, "<?xml");
        return pAfter != nullptr && (ZolIsMarkupSpace(m_text.Peek(pAfter)) || m_text.Peek(pAfter) == '?');
    }

    // Just behind the declaration at p (after markup white space), p itself
    // when none stands there, null when it never ends. The default reading
    // knows it by one spelling only.
    Cursor SkipDeclaration(Cursor p) const
    {
        Cursor pBody;
        if constexpr (kStandard)
            pBody = IsOtherDeclaration(ZolSkipMarkupSpace(m_text, p)) ? ZolMatchToken(m_text, p, "<?xml") : nullptr;
        else
            pBody = ZolMatchToken(m_text, p, "<?xml version=\"");
        return pBody == nullptr ? p : ZolSkipPast(m_text, pBody, "?>");
    }

    Text m_text;
    ZolReadFailure<typename Text::Unit> m_failure;
    // The elements open and where each began ("<"); kept by the diagnosing
    // build only.
    struct OpenElement
    {
        Cursor pTag;
        const CZOLLibXMLElement* pElement;
    };
    ZolStack<OpenElement> m_opened;
    CZolNameTable m_names;
    CZolValueTable m_values;
    ZolStack<WCHAR> m_nameUnits;
    ZolStack<CZolTreeBuilder::PendingAttribute> m_pending;
};

template <class Text, bool kDiagnose, bool kStandard>
bool CZolReader<Text, kDiagnose, kStandard>::ReadAttribute(Cursor& cursor, CZOLLibXMLAttribute& attribute, CString* pKey)
{
    const CZolNameTable::Entry* pName = ReadName(cursor);
    if (pName == nullptr)
    {
        const Cursor p = ZolSkipMarkupSpace(m_text, cursor);
        return Fail(InTagFailure(p, ZXML_LOAD_EXPECTED_TAG_END), p, nullptr, ElementName(attribute));
    }
    CZolTreeBuilder::Name(attribute) = pName->name;
    if (pKey != nullptr)
        *pKey = pName->key;
    // "=" and the opening quote, each after markup white space; the cursor
    // moves past each one found.
    Cursor p = ZolSkipMarkupSpace(m_text, cursor);
    if (static_cast<unsigned int>(m_text.Peek(p)) != '=')
        return Fail(InTagFailure(p, ZXML_LOAD_EXPECTED_EQUALS), p, nullptr, ElementName(attribute), pName->name.GetString());
    cursor = p + 1;
    p = ZolSkipMarkupSpace(m_text, cursor);
    const auto quote = static_cast<unsigned int>(m_text.Peek(p));
    if (quote != '"' && quote != '\'')
        return Fail(m_text.AtEnd(p) ? ZXML_LOAD_UNTERMINATED_TAG : ZXML_LOAD_UNQUOTED_VALUE, p, nullptr,
                    ElementName(attribute), pName->name.GetString());
    cursor = p + 1;
    const Cursor pClose = m_text.Find(cursor, static_cast<char>(quote));
    if (pClose == nullptr)
        return Fail(ZXML_LOAD_UNTERMINATED_VALUE, End(cursor), p, ElementName(attribute), pName->name.GetString());
    CString& strValue = CZolTreeBuilder::Value(attribute);
    strValue.Empty();
    AppendSpan(strValue, cursor, pClose);
    // After a decoder's early stop only markup white space may precede the
    // quote, which is the first one behind the cursor.
    if (ZolSkipMarkupSpace(m_text, cursor) != pClose)
        return ReferenceFailure(cursor);
    cursor = pClose + 1;
    return true;
}

template <class Text, bool kDiagnose, bool kStandard>
void CZolReader<Text, kDiagnose, kStandard>::MarkupFailure(Cursor pMarkup, Cursor pAfter)
{
    if constexpr (kDiagnose)
    {
        const unsigned int ch = m_text.Peek(pAfter);
        if (m_text.AtEnd(pAfter))
        {
            Fail(ZXML_LOAD_UNTERMINATED_TAG, pAfter);
        }
        else if (ch == '?')
        {
            Fail(ZXML_LOAD_PROCESSING_INSTRUCTION, pMarkup);
        }
        else if (ZolStartsWith(m_text, pAfter, "![CDATA[") != nullptr)
        {
            Fail(ZXML_LOAD_CDATA_SECTION, pMarkup);
        }
        else if (ch == '/')
        {
            ClosingTagFailure(pMarkup, pAfter + 1);
        }
        else
        {
            Fail(ZXML_LOAD_INVALID_NAME_START, pAfter);
        }
    }
}

template <class Text, bool kDiagnose, bool kStandard>
void CZolReader<Text, kDiagnose, kStandard>::ClosingTagFailure(Cursor pMarkup, Cursor pName)
{
    Cursor p = pName;
    const CString strName = ScanXmlName(p);
    if (m_opened.empty())
    {
        Fail(ZXML_LOAD_UNEXPECTED_CLOSING_TAG, pMarkup, nullptr, nullptr, strName);
        return;
    }
    const CString strOpen = m_opened.back().pElement->GetName();
    if (strName.IsEmpty())
    {
        Fail(m_text.AtEnd(p) ? ZXML_LOAD_UNTERMINATED_TAG : ZXML_LOAD_INVALID_NAME_START, p, nullptr, strOpen);
        return;
    }
    if (strName != strOpen)
    {
        Fail(ZXML_LOAD_MISMATCHED_CLOSING_TAG, pMarkup, OpenedAt(), strOpen, strName);
        return;
    }
    const Cursor pEnd = ZolSkipMarkupSpace(m_text, p);
    if (m_text.AtEnd(pEnd))
        Fail(ZXML_LOAD_UNTERMINATED_TAG, pEnd, nullptr, strOpen);
    else if (pEnd != p && m_text.Peek(pEnd) == '>')
        Fail(ZXML_LOAD_SPACE_IN_CLOSING_TAG, p, nullptr, strOpen);
    else
        Fail(ZXML_LOAD_EXPECTED_CLOSING_TAG_END, pEnd, nullptr, strOpen);
}

template <class Text, bool kDiagnose, bool kStandard>
ZolStartTag CZolReader<Text, kDiagnose, kStandard>::ReadStartTag(Cursor& cursor, CZOLLibXMLElement& element)
{
    if (!ZolMatch(m_text, cursor, "<"))
    {
        const Cursor p = ZolSkipMarkupSpace(m_text, cursor);
        Fail(m_text.AtEnd(p) ? ZXML_LOAD_MISSING_ROOT : ZXML_LOAD_EXPECTED_ROOT, p);
        return ZolStartTag::Failed;
    }
    const CZolNameTable::Entry* pName = ReadName(cursor);
    if (pName == nullptr)
    {
        MarkupFailure(cursor - 1, ZolSkipMarkupSpace(m_text, cursor));
        return ZolStartTag::Failed;
    }
    CZolTreeBuilder::Name(element) = pName->name;

    // The attributes wait until the tag ends, so that the element makes room
    // for them all at once; those read are filed even when a later one
    // fails. Of two whose names differ in case only, the later one stays.
    ZolStartTag tag = ZolStartTag::Open;
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
            tag = ZolStartTag::Empty;
            if (!ZolMatch(m_text, cursor, ">"))
            {
                const Cursor p = ZolSkipMarkupSpace(m_text, cursor);
                Fail(m_text.AtEnd(p) ? ZXML_LOAD_UNTERMINATED_TAG : ZXML_LOAD_EXPECTED_TAG_END, p, nullptr, pName->name.GetString());
                tag = ZolStartTag::Failed;
            }
            break;
        }
        if (m_text.AtEnd(cursor))
        {
            Fail(ZXML_LOAD_UNTERMINATED_TAG, cursor, nullptr, pName->name.GetString());
            tag = ZolStartTag::Failed;
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
            tag = ZolStartTag::Failed;
            break;
        }
    }
    if (!m_pending.empty())
        CZolTreeBuilder::FileAttributes(element, m_pending);
    return tag;
}

template <class Text, bool kDiagnose, bool kStandard>
bool CZolReader<Text, kDiagnose, kStandard>::ReadElement(Cursor& cursor, CZOLLibXMLElement& element)
{
    const Cursor pElementTag = ZolSkipMarkupSpace(m_text, cursor);
    const ZolStartTag tag = ReadStartTag(cursor, element);
    if (tag != ZolStartTag::Open)
        return tag == ZolStartTag::Empty;
    if constexpr (kDiagnose)
        m_opened.push_back({pElementTag, &element});

    CZolTreeBuilder builder(element);
    for (;;)
    {
        CZOLLibXMLElement& current = builder.Current();
        const Cursor pMarkup = m_text.AtEnd(cursor) ? nullptr : m_text.Find(cursor, '<');
        if (pMarkup == nullptr)
            return Fail(ZXML_LOAD_UNCLOSED_ELEMENT, End(cursor), OpenedAt(), CZolTreeBuilder::Name(current).GetString());
        if (pMarkup != cursor && !AppendTextRun(CZolTreeBuilder::Value(current), cursor, pMarkup))
            return ReferenceFailure(cursor);

        if (const Cursor pAfter = MatchClosingTag(cursor, CZolTreeBuilder::Name(current)))
        {
            cursor = pAfter;
            if constexpr (kDiagnose)
                m_opened.pop_back();
            if (!builder.Close())
                return true;
            continue;
        }

        const Cursor pAfterComment = SkipComment(cursor);
        if (pAfterComment == nullptr)
            return Fail(ZXML_LOAD_UNTERMINATED_COMMENT, End(cursor), cursor);
        if (pAfterComment != cursor)
        {
            cursor = pAfterComment;
            continue;
        }
        if constexpr (kStandard)
        {
            if (const Cursor pSection = ZolStartsWith(m_text, cursor, "<![CDATA["))
            {
                const Cursor pSectionEnd = ZolSkipPast(m_text, pSection, "]]>");
                if (pSectionEnd == nullptr)
                    return Fail(ZXML_LOAD_UNTERMINATED_CDATA_SECTION, End(cursor), cursor);
                AppendLiteralRun(CZolTreeBuilder::Value(current), pSection, pSectionEnd - 3);
                cursor = pSectionEnd;
                continue;
            }
            const Cursor pAfterInstruction = SkipProcessingInstruction(cursor);
            if (pAfterInstruction == nullptr)
                return Fail(ZXML_LOAD_UNTERMINATED_PROCESSING_INSTRUCTION, End(cursor), cursor);
            if (pAfterInstruction != cursor)
            {
                cursor = pAfterInstruction;
                continue;
            }
        }

        const Cursor pTag = cursor;
        CZOLLibXMLElement& child = builder.Open();
        switch (ReadStartTag(cursor, child))
        {
        case ZolStartTag::Failed:
            return false;
        case ZolStartTag::Empty:
            builder.Close();
            break;
        case ZolStartTag::Open:
            if constexpr (kDiagnose)
                m_opened.push_back({pTag, &child});
            break;
        }
    }
}

template <class Text, bool kDiagnose, bool kStandard>
CZOLLibXMLElement* CZolReader<Text, kDiagnose, kStandard>::ReadDocument(Cursor p, int requireDeclaration)
{
    // The prolog: the declaration (its content unread), comments, one
    // document type (skipped to its first ">"), comments.
    const Cursor pFirst = ZolSkipMarkupSpace(m_text, p);
    const Cursor pAfterDeclaration = SkipDeclaration(p);
    if (pAfterDeclaration == nullptr)
    {
        Fail(ZXML_LOAD_UNTERMINATED_DECLARATION, End(pFirst), pFirst);
        return nullptr;
    }
    if (pAfterDeclaration == p && requireDeclaration)
    {
        Fail(!kStandard && IsOtherDeclaration(pFirst) ? ZXML_LOAD_DECLARATION_SPELLING : ZXML_LOAD_MISSING_DECLARATION,
             pFirst);
        return nullptr;
    }
    p = pAfterDeclaration;
    if (!SkipMisc(p))
        return nullptr;
    Cursor pSubset = nullptr;
    if (const Cursor pDocumentType = ZolMatchToken(m_text, p, "<!DOCTYPE"))
    {
        const Cursor pStart = ZolSkipMarkupSpace(m_text, p);
        p = SkipDocumentType(pDocumentType);
        if (p == nullptr)
        {
            Fail(ZXML_LOAD_UNTERMINATED_DOCTYPE, End(pDocumentType), pStart);
            return nullptr;
        }
        if constexpr (kDiagnose && !kStandard)
            pSubset = m_text.Find(pDocumentType, '[');
        if (pSubset != nullptr && pSubset >= p)
            pSubset = nullptr;
    }
    if (!SkipMisc(p))
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
        Refail(ZXML_LOAD_OUT_OF_MEMORY, nullptr);
        return nullptr;
    }
    if constexpr (kDiagnose)
    {
        // What stops the root reads as well-formed XML that this reader does
        // not: an internal subset whose first ">" ended the document type
        // early, or a declaration spelled otherwise.
        const Cursor pRoot = ZolSkipMarkupSpace(m_text, p);
        if (m_failure.pPlace == pRoot && pSubset != nullptr)
            Refail(ZXML_LOAD_DOCTYPE_INTERNAL_SUBSET, pSubset);
        else if (!kStandard && m_failure.pPlace == pFirst && IsOtherDeclaration(pFirst))
            Refail(ZXML_LOAD_DECLARATION_SPELLING, pFirst);
    }
    return nullptr;
}
} // namespace
