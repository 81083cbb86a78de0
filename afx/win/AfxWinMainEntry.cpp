// The program's entry point, linked into every GUI program of the layer:
// the system calls wWinMain, which hands over to AfxWinMain.
#include "AfxWinApp.h"

#include "AfxWin32Text.h"

extern "C" int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, wchar_t* lpCmdLine, int nCmdShow)
{
    return AfxWinMain(hInstance, hPrevInstance, reinterpret_cast<LPWSTR>(lpCmdLine), nCmdShow);
}
