#include "SkinPainter.h"

#include "GdiHandle.h"

void SkinFillGradient(HDC hDC, const RECT& rect, COLORREF crTop, COLORREF crBottom)
{
    TRIVERTEX vertices[2] = {};
    vertices[0].x = rect.left;
    vertices[0].y = rect.top;
    vertices[0].Red = static_cast<COLOR16>(GetRValue(crTop) << 8);
    vertices[0].Green = static_cast<COLOR16>(GetGValue(crTop) << 8);
    vertices[0].Blue = static_cast<COLOR16>(GetBValue(crTop) << 8);
    vertices[1].x = rect.right;
    vertices[1].y = rect.bottom;
    vertices[1].Red = static_cast<COLOR16>(GetRValue(crBottom) << 8);
    vertices[1].Green = static_cast<COLOR16>(GetGValue(crBottom) << 8);
    vertices[1].Blue = static_cast<COLOR16>(GetBValue(crBottom) << 8);
    GRADIENT_RECT mesh = {0, 1};
    ::GdiGradientFill(hDC, vertices, 2, &mesh, 1, GRADIENT_FILL_RECT_V);
}

void SkinDrawStretched(HDC hDC, const RECT& rect, HBITMAP hBitmap)
{
    BITMAP info = {};
    ::GetObjectW(hBitmap, sizeof(info), &info);
    const HDC hImageDC = ::CreateCompatibleDC(hDC);
    {
        GdiSelection selection(hImageDC, hBitmap);
        ::SetStretchBltMode(hDC, HALFTONE);
        ::StretchBlt(hDC, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, hImageDC, 0, 0,
                     info.bmWidth, info.bmHeight, SRCCOPY);
    }
    ::DeleteDC(hImageDC);
}

void SkinFrameRect(HDC hDC, const RECT& rect, COLORREF crLine)
{
    GdiHandle<HBRUSH> brush(::CreateSolidBrush(crLine));
    ::FrameRect(hDC, &rect, brush.get());
}
