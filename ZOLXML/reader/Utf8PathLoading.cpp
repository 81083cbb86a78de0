// Loading from a file named by a UTF-8 path, the form in which a program
// receives its paths on POSIX systems.
#include "../model/Utf8Path.h"

#include "ReadFailure.h"

#include <ZOLXML/ZOLLibXML.h>
#include <afx/core/Win32Kernel.h>

CZOLLibXMLElement* CZOLLibXMLElement::FromFile(const char* pszPath, int requireDeclaration)
{
    CString strPath;
    if (!ZolPathFromUtf8(pszPath, strPath))
        return nullptr;
    return FromFile(strPath.GetString(), requireDeclaration);
}

CZOLLibXMLElement* CZOLLibXMLElement::FromFile(const char* pszPath, int requireDeclaration,
                                               CZOLLibXMLLoadReport& report)
{
    if (pszPath == nullptr)
    {
        ZolFillInputReport(report, ZXML_LOAD_NO_INPUT);
        return nullptr;
    }
    CString strPath;
    if (!ZolPathFromUtf8(pszPath, strPath))
    {
        ZolFillInputReport(report, ZXML_LOAD_CANNOT_OPEN, ERROR_INVALID_NAME);
        return nullptr;
    }
    return FromFile(strPath.GetString(), requireDeclaration, report);
}
