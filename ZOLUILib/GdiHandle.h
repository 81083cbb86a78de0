// Ownership of GDI objects (fonts, bitmaps, brushes, regions).
#pragma once

#include <afx/core/AfxTypes.h>

#include <memory>
#include <type_traits>

struct GdiObjectDeleter
{
    void operator()(HGDIOBJ hObject) const noexcept { ::DeleteObject(hObject); }
};

template <class THandle>
using GdiHandle = std::unique_ptr<std::remove_pointer_t<THandle>, GdiObjectDeleter>;

// Selects an object into a device context for the life of the scope.
class GdiSelection
{
public:
    GdiSelection(HDC hDC, HGDIOBJ hObject) noexcept : m_hDC(hDC), m_hOld(::SelectObject(hDC, hObject)) {}
    GdiSelection(const GdiSelection&) = delete;
    GdiSelection& operator=(const GdiSelection&) = delete;
    ~GdiSelection() { ::SelectObject(m_hDC, m_hOld); }

private:
    HDC m_hDC;
    HGDIOBJ m_hOld;
};

// Painting into an off-screen bitmap of the target's size, copied to the
// target in one step when the scope ends, so that nothing flickers.
class OffscreenCanvas
{
public:
    OffscreenCanvas(HDC hTarget, int cx, int cy);
    OffscreenCanvas(const OffscreenCanvas&) = delete;
    OffscreenCanvas& operator=(const OffscreenCanvas&) = delete;
    ~OffscreenCanvas();

    HDC GetDC() const noexcept { return m_hDC; }

private:
    HDC m_hTarget;
    int m_cx;
    int m_cy;
    HDC m_hDC;
    GdiHandle<HBITMAP> m_bitmap;
    HGDIOBJ m_hOldBitmap;
};
