// The key under which an element files an attribute: its name lower-cased by
// the platform layer's one folding, so that every lookup ignores case alike.
// Most names are lower case already and serve as their own key, uncopied.
#pragma once

#include <ZOLXML/ZOLLibXML.h>
#include <afx/core/TextClasses.h>

// The key to file an attribute of this name under; it shares the name's
// buffer where the name is lower case already. As for lookups by text, the
// name ends at a NUL it holds.
inline CString ZolAttributeKeyOf(const CString& strName)
{
    CString key(strName);
    if (AfxStringLength(key) != key.GetLength())
        key = CString(key.GetString());
    key.MakeLower();
    return key;
}

// The key to look up a name given as text.
class ZolAttributeKey
{
public:
    explicit ZolAttributeKey(LPCWSTR pszName) : m_pszKey(pszName != nullptr ? pszName : u"")
    {
        for (const WCHAR* p = m_pszKey; *p != 0; ++p)
        {
            if (AfxToLowerW(*p) != *p)
            {
                m_lowered = m_pszKey;
                m_lowered.MakeLower();
                m_pszKey = m_lowered.GetString();
                return;
            }
        }
    }
    ZolAttributeKey(const ZolAttributeKey&) = delete;
    ZolAttributeKey& operator=(const ZolAttributeKey&) = delete;

    operator LPCWSTR() const noexcept { return m_pszKey; }

private:
    CString m_lowered;
    LPCWSTR m_pszKey;
};
