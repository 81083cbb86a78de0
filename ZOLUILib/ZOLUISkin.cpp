#include "ZOLUISkin.h"

#include <ZOLXML/ZOLLibXML.h>
#include <afx/win/AfxWin32Text.h>

namespace
{
struct TreeDeleter
{
    void operator()(CZOLLibXMLElement* pRoot) const { pRoot->Delete(); }
};

bool ParseNumber(const CString& strText, int nMin, int nMax, int& nValue)
{
    const int nLength = strText.GetLength();
    if (nLength == 0 || nLength > 4)
        return false;
    int n = 0;
    for (int i = 0; i < nLength; ++i)
    {
        const WCHAR ch = strText[i];
        if (ch < u'0' || ch > u'9')
            return false;
        n = n * 10 + (ch - u'0');
    }
    if (n < nMin || n > nMax)
        return false;
    nValue = n;
    return true;
}

int HexDigit(WCHAR ch)
{
    if (ch >= u'0' && ch <= u'9')
        return ch - u'0';
    if (ch >= u'a' && ch <= u'f')
        return ch - u'a' + 10;
    if (ch >= u'A' && ch <= u'F')
        return ch - u'A' + 10;
    return -1;
}

// "#RRGGBB".
bool ParseColour(const CString& strText, COLORREF& crValue)
{
    if (strText.GetLength() != 7 || strText[0] != u'#')
        return false;
    int rgb[3];
    for (int i = 0; i < 3; ++i)
    {
        const int nHigh = HexDigit(strText[1 + 2 * i]);
        const int nLow = HexDigit(strText[2 + 2 * i]);
        if (nHigh < 0 || nLow < 0)
            return false;
        rgb[i] = nHigh * 16 + nLow;
    }
    crValue = RGB(rgb[0], rgb[1], rgb[2]);
    return true;
}

bool IsAbsolutePath(const CString& strPath)
{
    return strPath.GetLength() >= 1 && (strPath[0] == u'\\' || strPath[0] == u'/' ||
                                        (strPath.GetLength() >= 2 && strPath[1] == u':'));
}

CString FolderOf(LPCWSTR pszPath)
{
    const CString strPath(pszPath);
    for (int i = strPath.GetLength() - 1; i >= 0; --i)
    {
        if (strPath[i] == u'\\' || strPath[i] == u'/')
            return strPath.Left(i + 1);
    }
    return CString();
}

// Where each value of a skin file goes: element, attribute, member.
struct NumberField
{
    LPCWSTR pszElement; // null: the root
    LPCWSTR pszAttribute;
    int nMin;
    int nMax;
    int CZOLUISkin::*pField;
};

struct ColourField
{
    LPCWSTR pszElement;
    LPCWSTR pszAttribute;
    COLORREF CZOLUISkin::*pField;
};

struct ImageField
{
    LPCWSTR pszElement;
    LPCWSTR pszAttribute;
    GdiHandle<HBITMAP> CZOLUISkin::*pField;
};

const NumberField kNumbers[] = {
    {nullptr, u"fontSize", 6, 24, &CZOLUISkin::m_nFontPoints},
    {u"frame", u"border", 0, 32, &CZOLUISkin::m_nBorder},
    {u"frame", u"caption", 16, 64, &CZOLUISkin::m_nCaption},
    {u"frame", u"corner", 0, 32, &CZOLUISkin::m_nCorner},
    {u"menubar", u"height", 16, 64, &CZOLUISkin::m_nBarHeight},
};

const ColourField kColours[] = {
    {u"frame", u"outline", &CZOLUISkin::m_crOutline},
    {u"frame", u"fill", &CZOLUISkin::m_crBorder},
    {u"caption", u"start", &CZOLUISkin::m_crCaptionStart},
    {u"caption", u"end", &CZOLUISkin::m_crCaptionEnd},
    {u"caption", u"text", &CZOLUISkin::m_crCaptionText},
    {u"caption", u"inactiveStart", &CZOLUISkin::m_crInactiveStart},
    {u"caption", u"inactiveEnd", &CZOLUISkin::m_crInactiveEnd},
    {u"caption", u"inactiveText", &CZOLUISkin::m_crInactiveText},
    {u"caption", u"buttons", &CZOLUISkin::m_crButtons},
    {u"client", u"start", &CZOLUISkin::m_crClientStart},
    {u"client", u"end", &CZOLUISkin::m_crClientEnd},
    {u"menubar", u"start", &CZOLUISkin::m_crBarStart},
    {u"menubar", u"end", &CZOLUISkin::m_crBarEnd},
    {u"menubar", u"text", &CZOLUISkin::m_crBarText},
    {u"menubar", u"line", &CZOLUISkin::m_crBarLine},
    {u"menuitem", u"start", &CZOLUISkin::m_crItemStart},
    {u"menuitem", u"end", &CZOLUISkin::m_crItemEnd},
    {u"menuitem", u"text", &CZOLUISkin::m_crItemText},
    {u"menuitem", u"outline", &CZOLUISkin::m_crItemOutline},
};

const ImageField kImages[] = {
    {u"menubar", u"image", &CZOLUISkin::m_barImage},
    {u"menuitem", u"image", &CZOLUISkin::m_itemImage},
};

// The attribute's value, or null when the element or the attribute is absent.
const CZOLLibXMLAttribute* FindValue(const CZOLLibXMLElement& root, LPCWSTR pszElement, LPCWSTR pszAttribute)
{
    const CZOLLibXMLElement* pElement = pszElement != nullptr ? root.GetElementByName(pszElement) : &root;
    return pElement != nullptr ? pElement->GetAttribute(pszAttribute) : nullptr;
}

GdiHandle<HBITMAP> LoadBitmapFile(const CString& strFile, const CString& strFolder)
{
    const CString strPath = IsAbsolutePath(strFile) ? strFile : strFolder + strFile;
    return GdiHandle<HBITMAP>(static_cast<HBITMAP>(::LoadImageW(
        nullptr, AfxWin32Text(strPath.GetString()), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
}
}

CZOLUISkin::CZOLUISkin()
    : m_strFontFace(u"Tahoma"), m_crOutline(RGB(40, 52, 70)),
      m_crBorder(RGB(84, 104, 132)), m_crCaptionStart(RGB(58, 80, 112)), m_crCaptionEnd(RGB(104, 130, 166)),
      m_crCaptionText(RGB(255, 255, 255)), m_crInactiveStart(RGB(120, 128, 140)),
      m_crInactiveEnd(RGB(160, 168, 178)), m_crInactiveText(RGB(226, 230, 236)), m_crButtons(RGB(240, 244, 250)),
      m_crClientStart(RGB(236, 239, 244)), m_crClientEnd(RGB(236, 239, 244)), m_crBarStart(RGB(244, 246, 249)),
      m_crBarEnd(RGB(218, 224, 232)), m_crBarText(RGB(24, 32, 44)), m_crBarLine(RGB(168, 178, 192)),
      m_crItemStart(RGB(200, 216, 238)), m_crItemEnd(RGB(170, 194, 228)), m_crItemText(RGB(10, 20, 40)),
      m_crItemOutline(RGB(92, 120, 168))
{
    CreateFonts();
}

void CZOLUISkin::CreateFonts()
{
    const HDC hScreen = ::GetDC(nullptr);
    const int nHeight = -::MulDiv(m_nFontPoints, ::GetDeviceCaps(hScreen, LOGPIXELSY), 72);
    ::ReleaseDC(nullptr, hScreen);
    const wchar_t* pszFace = AfxWin32Text(m_strFontFace.GetString());
    m_captionFont.reset(::CreateFontW(nHeight, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                      DEFAULT_PITCH | FF_SWISS, pszFace));
    m_barFont.reset(::CreateFontW(nHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                                  pszFace));
}

std::unique_ptr<CZOLUISkin> CZOLUISkin::FromFile(LPCWSTR pszPath)
{
    std::unique_ptr<CZOLLibXMLElement, TreeDeleter> pRoot;
    try
    {
        pRoot.reset(CZOLLibXMLElement::FromFile(pszPath, 0));
        if (pRoot == nullptr || !pRoot->IsNamed(u"skin"))
            return nullptr;

        auto pSkin = std::make_unique<CZOLUISkin>();
        if (const CZOLLibXMLAttribute* pFont = pRoot->GetAttribute(u"font"))
            pSkin->m_strFontFace = pFont->GetValue();
        for (const NumberField& field : kNumbers)
        {
            const CZOLLibXMLAttribute* pValue = FindValue(*pRoot, field.pszElement, field.pszAttribute);
            if (pValue != nullptr && !ParseNumber(pValue->GetValue(), field.nMin, field.nMax, (*pSkin).*field.pField))
                return nullptr;
        }
        for (const ColourField& field : kColours)
        {
            const CZOLLibXMLAttribute* pValue = FindValue(*pRoot, field.pszElement, field.pszAttribute);
            if (pValue != nullptr && !ParseColour(pValue->GetValue(), (*pSkin).*field.pField))
                return nullptr;
        }
        const CString strFolder = FolderOf(pszPath);
        for (const ImageField& field : kImages)
        {
            if (const CZOLLibXMLAttribute* pValue = FindValue(*pRoot, field.pszElement, field.pszAttribute))
                (*pSkin).*field.pField = LoadBitmapFile(pValue->GetValue(), strFolder);
        }
        pSkin->CreateFonts();
        return pSkin;
    }
    catch (CException* e)
    {
        e->Delete();
        return nullptr;
    }
}
