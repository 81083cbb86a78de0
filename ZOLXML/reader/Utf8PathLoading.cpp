// Loading from a file named by a UTF-8 path, the form in which a program
// receives its paths on POSIX systems.
#include "../model/Utf8Path.h"

#include <ZOLXML/ZOLLibXML.h>

CZOLLibXMLElement* CZOLLibXMLElement::FromFile(const char* pszPath, int requireDeclaration)
{
    CString strPath;
    if (!ZolPathFromUtf8(pszPath, strPath))
        return nullptr;
    return FromFile(strPath.GetString(), requireDeclaration);
}
