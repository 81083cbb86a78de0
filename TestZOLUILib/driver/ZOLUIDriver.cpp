// ZOLUIDriver: drives a running TestZOLUILib from the command line, for the
// headless run that takes a screenshot of each state.
//
//   ZOLUIDriver wait <title> [ms]        wait for a top-level window
//   ZOLUIDriver gone <title> [ms]        wait for it to go away
//   ZOLUIDriver command <title> <cmd>    send a menu command and let it paint
//   ZOLUIDriver post <title> <cmd>       post a menu command (modal dialogs)
//   ZOLUIDriver press <title> <id>       click a button of a window
//
// <cmd> is colorcoolbar, imagecoolbar, mediaplay, skin++, about, exit, undo,
// cut, copy, paste or a number. Exit status 0 on success.
#include "WindowDriving.h"

#include <cstdio>

namespace
{
constexpr DWORD kDefaultTimeoutMs = 20000;
// Time for the program to repaint once its queue is idle.
constexpr DWORD kSettleMs = 700;

int Fail(const wchar_t* pszWhat, const wchar_t* pszDetail)
{
    std::fwprintf(stderr, L"ZOLUIDriver: %ls %ls\n", pszWhat, pszDetail);
    return 1;
}

DWORD TimeoutArgument(int argc, wchar_t** argv)
{
    return argc > 3 ? static_cast<DWORD>(std::wcstoul(argv[3], nullptr, 10)) : kDefaultTimeoutMs;
}
}

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3)
    {
        std::fwprintf(stderr, L"usage: ZOLUIDriver wait|gone|command|post|press <title> [argument]\n");
        return 2;
    }
    const std::wstring strVerb = argv[1];
    const wchar_t* pszTitle = argv[2];

    if (strVerb == L"wait")
        return WaitForWindow(pszTitle, TimeoutArgument(argc, argv)) != nullptr ? 0 : Fail(L"no window", pszTitle);
    if (strVerb == L"gone")
        return WaitForWindowGone(pszTitle, TimeoutArgument(argc, argv)) ? 0 : Fail(L"window stays", pszTitle);
    if (argc < 4)
        return Fail(L"missing argument for", argv[1]);

    const HWND hWnd = WaitForWindow(pszTitle, kDefaultTimeoutMs);
    if (hWnd == nullptr)
        return Fail(L"no window", pszTitle);

    if (strVerb == L"press")
    {
        const HWND hButton = ::GetDlgItem(hWnd, static_cast<int>(CommandFromText(argv[3])));
        if (hButton == nullptr)
            return Fail(L"no button", argv[3]);
        return ::PostMessageW(hButton, BM_CLICK, 0, 0) ? 0 : Fail(L"cannot press", argv[3]);
    }

    const UINT nID = CommandFromText(argv[3]);
    if (nID == 0)
        return Fail(L"unknown command", argv[3]);
    if (strVerb == L"post")
        return PostCommand(hWnd, nID) ? 0 : Fail(L"cannot post", argv[3]);
    if (strVerb == L"command")
    {
        if (!SendCommand(hWnd, nID))
            return Fail(L"command not handled:", argv[3]);
        ::Sleep(kSettleMs);
        return 0;
    }
    return Fail(L"unknown verb", argv[1]);
}
