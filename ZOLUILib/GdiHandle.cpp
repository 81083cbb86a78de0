#include "GdiHandle.h"

OffscreenCanvas::OffscreenCanvas(HDC hTarget, int cx, int cy)
    : m_hTarget(hTarget), m_cx(cx), m_cy(cy), m_hDC(::CreateCompatibleDC(hTarget)),
      m_bitmap(::CreateCompatibleBitmap(hTarget, cx, cy)), m_hOldBitmap(::SelectObject(m_hDC, m_bitmap.get()))
{
}

OffscreenCanvas::~OffscreenCanvas()
{
    ::BitBlt(m_hTarget, 0, 0, m_cx, m_cy, m_hDC, 0, 0, SRCCOPY);
    ::SelectObject(m_hDC, m_hOldBitmap);
    ::DeleteDC(m_hDC);
}
