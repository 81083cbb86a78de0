// The about box.
#pragma once

#include "resource.h"

#include <afx/win/AfxDialog.h>

class CAboutDlg : public CDialog
{
public:
    CAboutDlg();

    enum
    {
        IDD = IDD_ABOUTBOX
    };

protected:
    DECLARE_MESSAGE_MAP()
};
