// Drawing primitives shared by the skinned frame and the menu bar.
#pragma once

#include <afx/core/AfxTypes.h>

// Fills the rectangle with a vertical gradient from crTop to crBottom.
void SkinFillGradient(HDC hDC, const RECT& rect, COLORREF crTop, COLORREF crBottom);
// Stretches the whole bitmap over the rectangle.
void SkinDrawStretched(HDC hDC, const RECT& rect, HBITMAP hBitmap);
// Outlines the rectangle with a one-pixel line.
void SkinFrameRect(HDC hDC, const RECT& rect, COLORREF crLine);
