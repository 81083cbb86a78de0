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

// Reads the attributes of one element into the skin; remembers whether any
// value was malformed. An absent element or attribute changes nothing.
class SkinReader
{
public:
    SkinReader(const CZOLLibXMLElement* pElement, const CString& strFolder)
        : m_pElement(pElement), m_strFolder(strFolder)
    {
    }

    SkinReader Child(LPCWSTR pszName) const
    {
        return SkinReader(m_pElement != nullptr ? m_pElement->GetElementByName(pszName) : nullptr, m_strFolder);
    }

    void Number(LPCWSTR pszName, int nMin, int nMax, int& nValue)
    {
        if (const CZOLLibXMLAttribute* pAttribute = Find(pszName))
            m_bValid = ParseNumber(pAttribute->GetValue(), nMin, nMax, nValue) && m_bValid;
    }

    void Colour(LPCWSTR pszName, COLORREF& crValue)
    {
        if (const CZOLLibXMLAttribute* pAttribute = Find(pszName))
            m_bValid = ParseColour(pAttribute->GetValue(), crValue) && m_bValid;
    }

    void Text(LPCWSTR pszName, CString& strValue)
    {
        if (const CZOLLibXMLAttribute* pAttribute = Find(pszName))
            strValue = pAttribute->GetValue();
    }

    void Image(LPCWSTR pszName, GdiHandle<HBITMAP>& image)
    {
        const CZOLLibXMLAttribute* pAttribute = Find(pszName);
        if (pAttribute == nullptr)
            return;
        const CString strFile = pAttribute->GetValue();
        const CString strPath = IsAbsolutePath(strFile) ? strFile : m_strFolder + strFile;
        image.reset(static_cast<HBITMAP>(::LoadImageW(nullptr, AfxWin32Text(strPath.GetString()), IMAGE_BITMAP, 0,
                                                      0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    }

    bool IsValid() const { return m_bValid; }
    void Merge(const SkinReader& child) { m_bValid = m_bValid && child.m_bValid; }

private:
    const CZOLLibXMLAttribute* Find(LPCWSTR pszName) const
    {
        return m_pElement != nullptr ? m_pElement->GetAttribute(pszName) : nullptr;
    }

    const CZOLLibXMLElement* m_pElement;
    CString m_strFolder;
    bool m_bValid = true;
};
}

CZOLUISkin::CZOLUISkin()
    : m_strName(u"Default"), m_strFontFace(u"Tahoma"), m_crOutline(RGB(40, 52, 70)),
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
        SkinReader skin(pRoot.get(), FolderOf(pszPath));
        skin.Text(u"name", pSkin->m_strName);
        skin.Text(u"font", pSkin->m_strFontFace);
        skin.Number(u"fontSize", 6, 24, pSkin->m_nFontPoints);

        SkinReader frame = skin.Child(u"frame");
        frame.Number(u"border", 0, 32, pSkin->m_nBorder);
        frame.Number(u"caption", 16, 64, pSkin->m_nCaption);
        frame.Number(u"corner", 0, 32, pSkin->m_nCorner);
        frame.Colour(u"outline", pSkin->m_crOutline);
        frame.Colour(u"fill", pSkin->m_crBorder);
        skin.Merge(frame);

        SkinReader caption = skin.Child(u"caption");
        caption.Colour(u"start", pSkin->m_crCaptionStart);
        caption.Colour(u"end", pSkin->m_crCaptionEnd);
        caption.Colour(u"text", pSkin->m_crCaptionText);
        caption.Colour(u"inactiveStart", pSkin->m_crInactiveStart);
        caption.Colour(u"inactiveEnd", pSkin->m_crInactiveEnd);
        caption.Colour(u"inactiveText", pSkin->m_crInactiveText);
        caption.Colour(u"buttons", pSkin->m_crButtons);
        skin.Merge(caption);

        SkinReader client = skin.Child(u"client");
        client.Colour(u"start", pSkin->m_crClientStart);
        client.Colour(u"end", pSkin->m_crClientEnd);
        skin.Merge(client);

        SkinReader bar = skin.Child(u"menubar");
        bar.Number(u"height", 16, 64, pSkin->m_nBarHeight);
        bar.Colour(u"start", pSkin->m_crBarStart);
        bar.Colour(u"end", pSkin->m_crBarEnd);
        bar.Colour(u"text", pSkin->m_crBarText);
        bar.Colour(u"line", pSkin->m_crBarLine);
        bar.Image(u"image", pSkin->m_barImage);
        skin.Merge(bar);

        SkinReader item = skin.Child(u"menuitem");
        item.Colour(u"start", pSkin->m_crItemStart);
        item.Colour(u"end", pSkin->m_crItemEnd);
        item.Colour(u"text", pSkin->m_crItemText);
        item.Colour(u"outline", pSkin->m_crItemOutline);
        item.Image(u"image", pSkin->m_itemImage);
        skin.Merge(item);

        if (!skin.IsValid())
            return nullptr;
        pSkin->CreateFonts();
        return pSkin;
    }
    catch (CException* e)
    {
        e->Delete();
        return nullptr;
    }
}
