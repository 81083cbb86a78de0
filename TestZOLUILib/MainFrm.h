// The program's main frame: the library's skinned frame with its menu bar.
#pragma once

#include <ZOLUILib/ZOLUIMainWnd.h>

class CMainFrame : public CZOLUIMainWnd
{
    DECLARE_DYNAMIC(CMainFrame)

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    LRESULT OnSkinChanged(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};
