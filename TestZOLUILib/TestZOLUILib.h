// The application of the skin test program.
#pragma once

#include <ZOLUILib/ZOLUIApp.h>

class CTestZOLUILibApp : public CZOLUIApp
{
public:
    BOOL InitInstance() override;

    void OnAppAbout();
    void OnCoolbarColorcoolbar();
    void OnCoolbarImagecoolbar();
    void OnFrameMediaplay();
    void OnFrameSkinplusplus();

    DECLARE_MESSAGE_MAP()

private:
    // Names the skin file below the current directory and has the frame apply it.
    void ChangeSkin(LPCWSTR pszRelativePath);
};

extern CTestZOLUILibApp theApp;
