// CZOLUIApp: the base of a skinned program's application object. It holds
// the path of the skin file that the next skin change applies.
#pragma once

#include "ZOLUIExport.h"

#include <afx/core/AfxString.h>
#include <afx/win/AfxWinApp.h>

class ZOLUI_API CZOLUIApp : public CWinApp
{
    DECLARE_DYNAMIC(CZOLUIApp)

public:
    // Full path of the skin file to apply; empty until the program names one.
    CString m_strSkinPath;

protected:
    CZOLUIApp();
    ~CZOLUIApp() override;
};
