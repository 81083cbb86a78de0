// The key under which an element files an attribute: its name lower-cased by
// the platform layer's one folding, so that every lookup ignores case alike.
#pragma once

#include "ZOLLibXML.h"

inline CString ZolAttributeKey(LPCWSTR pszName)
{
    CString key(pszName);
    key.MakeLower();
    return key;
}
