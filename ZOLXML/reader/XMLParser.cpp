// The document and element parser. Elements nest to any depth: the elements
// being read stand on an explicit stack, never on the machine stack.
#include "../model/TreeWalk.h"
#include "ScanPrimitives.h"

#include <memory>

namespace
{
// Just behind a comment that stands at p (after markup white space); p itself
// when none stands there; null for a comment that never ends.
const WCHAR* SkipComment(const WCHAR* p)
{
    const WCHAR* pBody = ZolMatchToken(p, u"<!--");
    return pBody == nullptr ? p : ZolSkipPast(pBody, u"-->");
}

bool SkipComments(const WCHAR*& p)
{
    for (const WCHAR* pNext; (pNext = SkipComment(p)) != p; p = pNext)
        if (pNext == nullptr)
            return false;
    return true;
}

// Just behind "</" name ">" (one token, after markup white space), or null.
const WCHAR* MatchClosingTag(const WCHAR* p, const CString& strName)
{
    p = ZolMatchToken(p, u"</");
    if (p != nullptr)
        p = ZolStartsWith(p, strName);
    if (p != nullptr)
        p = ZolStartsWith(p, u">");
    return p;
}

// Texts before, between and after children join into one value, one space
// apart.
void AppendTextRun(CString& strValue, LPCWSTR& pszCursor, const WCHAR* pEnd)
{
    const int nLength = strValue.GetLength();
    if (nLength != 0 && strValue.GetString()[nLength - 1] != u' ')
        strValue.AppendChar(u' ');
    ZolAppendDecodedSpan(strValue, pszCursor, pEnd);
}
} // namespace

int CZOLLibXMLAttribute::ParseString(LPCWSTR& pszCursor)
{
    if (!ZolReadName(pszCursor, m_name) || !ZolMatch(pszCursor, u"="))
        return 0;
    LPCWSTR pszQuote = u"\"";
    if (!ZolMatch(pszCursor, pszQuote))
    {
        pszQuote = u"'";
        if (!ZolMatch(pszCursor, pszQuote))
            return 0;
    }
    const WCHAR* pClose = ZolFindChar(pszCursor, pszQuote[0]);
    if (pClose == nullptr)
        return 0;
    m_value.Empty();
    ZolAppendDecodedSpan(m_value, pszCursor, pClose);
    // After a decoder's early stop only markup white space may precede the quote.
    return ZolMatch(pszCursor, pszQuote) ? 1 : 0;
}

int CZOLLibXMLElement::ParseString(LPCWSTR& pszCursor)
{
    enum class StartTag
    {
        Failed,
        Empty,
        Open
    };
    // "<" name, attributes, then ">" (content follows) or "/>".
    auto readStartTag = [&pszCursor](CZOLLibXMLElement& element) {
        if (!ZolMatch(pszCursor, u"<") || !ZolReadName(pszCursor, element.m_name))
            return StartTag::Failed;
        while (!ZolMatch(pszCursor, u">"))
        {
            if (ZolMatch(pszCursor, u"/"))
                return ZolMatch(pszCursor, u">") ? StartTag::Empty : StartTag::Failed;
            if (*pszCursor == 0)
                return StartTag::Failed;
            std::unique_ptr<CZOLLibXMLAttribute> attribute(new CZOLLibXMLAttribute(&element, nullptr));
            if (!attribute->ParseString(pszCursor))
                return StartTag::Failed;
            // Of two attributes whose names differ in case only, the later one stays.
            element.FileAttribute(attribute.get());
            attribute.release();
        }
        return StartTag::Open;
    };

    const StartTag tag = readStartTag(*this);
    if (tag != StartTag::Open)
        return tag == StartTag::Empty ? 1 : 0;

    // This element's child that is still being read, attached already so that
    // everything below it is owned; destroyed with its subtree if this
    // element fails or an exception passes, so a failed child is never left.
    struct UnfinishedChild
    {
        CZOLLibXMLElement* pElement = nullptr;
        ~UnfinishedChild()
        {
            if (pElement != nullptr)
                pElement->Delete();
        }
    } unfinished;

    // The elements whose content is being read, this one at the bottom.
    ZolStack<CZOLLibXMLElement*> open;
    open.push_back(this);
    for (;;)
    {
        CZOLLibXMLElement& current = *open.back();
        if (*pszCursor == 0)
            return 0;
        const WCHAR* pMarkup = ZolFindChar(pszCursor, u'<');
        if (pMarkup == nullptr)
            return 0;
        if (pMarkup != pszCursor)
        {
            AppendTextRun(current.m_value, pszCursor, pMarkup);
            if (pszCursor != pMarkup)
                return 0; // "&#" without a digit
        }

        if (const WCHAR* pAfter = MatchClosingTag(pszCursor, current.m_name))
        {
            pszCursor = pAfter;
            open.pop_back();
            if (open.size() == 1)
                unfinished.pElement = nullptr;
            else if (open.empty())
                return 1;
            continue;
        }

        const WCHAR* pAfterComment = SkipComment(pszCursor);
        if (pAfterComment == nullptr)
            return 0;
        if (pAfterComment != pszCursor)
        {
            pszCursor = pAfterComment;
            continue;
        }

        std::unique_ptr<CZOLLibXMLElement> created(new CZOLLibXMLElement(&current, nullptr));
        current.m_elements.AddTail(created.get());
        CZOLLibXMLElement* pChild = created.release();
        if (open.size() == 1)
            unfinished.pElement = pChild;
        switch (readStartTag(*pChild))
        {
        case StartTag::Failed:
            return 0;
        case StartTag::Empty:
            if (open.size() == 1)
                unfinished.pElement = nullptr;
            break;
        case StartTag::Open:
            open.push_back(pChild);
            break;
        }
    }
}

CZOLLibXMLElement* CZOLLibXMLElement::FromString(LPCWSTR pszText, int requireDeclaration)
{
    if (pszText == nullptr)
        return nullptr;

    // The prolog: the declaration (its content unread), comments, one
    // document type (skipped to its first ">"), comments.
    const WCHAR* p = pszText;
    if (const WCHAR* pDeclaration = ZolMatchToken(p, u"<?xml version=\""))
    {
        p = ZolSkipPast(pDeclaration, u"?>");
        if (p == nullptr)
            return nullptr;
    }
    else if (requireDeclaration)
    {
        return nullptr;
    }
    if (!SkipComments(p))
        return nullptr;
    if (const WCHAR* pDocumentType = ZolMatchToken(p, u"<!DOCTYPE"))
    {
        p = ZolSkipPast(pDocumentType, u">");
        if (p == nullptr)
            return nullptr;
    }
    if (!SkipComments(p))
        return nullptr;

    // Whatever follows the root element is not read.
    try
    {
        std::unique_ptr<CZOLLibXMLElement> root(new CZOLLibXMLElement(nullptr, nullptr));
        if (root->ParseString(p))
            return root.release();
    }
    catch (CException* e)
    {
        e->Delete();
    }
    return nullptr;
}
