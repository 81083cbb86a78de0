// Test windows and the application object of the window layer's tests.
#pragma once

#include "GuiTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

constexpr UINT kAppCommand = 40001;
constexpr UINT kFrameCommand = 40002;
constexpr UINT kUnknownCommand = 40003;
constexpr UINT kTestDialog = 200;

class TestApp : public CWinApp
{
public:
    int m_nAppCommands = 0;

protected:
    void OnAppCommand() { ++m_nAppCommands; }

    DECLARE_MESSAGE_MAP()
};

extern TestApp g_testApp;

// A frame that records which of its handlers ran and counts its deletions.
class RecordingFrame : public CFrameWnd
{
public:
    static constexpr UINT kBaseOnlyMessage = WM_APP + 1;
    static constexpr UINT kOverriddenMessage = WM_APP + 2;

    ~RecordingFrame() override { ++s_nDeleted; }

    std::vector<std::string> m_calls;
    std::wstring m_strCreateTitle;
    int m_nCreateResult = 0;
    static int s_nDeleted;

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct)
    {
        m_strCreateTitle = lpCreateStruct->lpszName;
        m_calls.push_back("create");
        return m_nCreateResult;
    }
    LRESULT OnBaseOnly(WPARAM wParam, LPARAM) { m_calls.push_back("base only"); return static_cast<LRESULT>(wParam) + 1; }
    LRESULT OnOverridden(WPARAM, LPARAM) { m_calls.push_back("base overridden"); return 0; }
    void OnFrameCommand() { m_calls.push_back("frame command"); }

    DECLARE_MESSAGE_MAP()
};

class DerivedFrame : public RecordingFrame
{
protected:
    LRESULT OnOverridden(WPARAM, LPARAM) { m_calls.push_back("derived"); return 7; }

    DECLARE_MESSAGE_MAP()
};

// A bar of a fixed height.
class TestBar : public CControlBar
{
public:
    explicit TestBar(int nHeight) : m_nHeight(nHeight) {}

    BOOL Create(CWnd* pParent, DWORD dwStyle, UINT nID)
    {
        m_dwStyle = dwStyle & CBRS_ALL;
        return CreateEx(0, nullptr, nullptr, dwStyle & ~CBRS_ALL, 0, 0, 0, 0, pParent->m_hWnd,
                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)));
    }
    CSize CalcFixedLayout(BOOL, BOOL) override { return CSize(32767, m_nHeight); }

private:
    int m_nHeight;
};

// A frame created for one test and destroyed with it.
RecordingFrame* CreateTestFrame(RecordingFrame* pFrame, const wchar_t* pszTitle = L"Window layer test");
// The bar's rectangle in its frame's client coordinates.
RECT BarRect(const CControlBar& bar);
