// The look that a skin file describes: metrics, colours, fonts and images
// of the frame and of the menu bar. A skin starts as the library's own look;
// a file changes what it names and leaves the rest.
#pragma once

#include "GdiHandle.h"

#include <afx/core/AfxString.h>

#include <memory>

struct CZOLUISkin
{
    // The library's own look.
    CZOLUISkin();

    // The skin a file describes, or null when the file is missing, is not
    // a skin file or holds a value out of range. Images are looked up
    // relative to the file's folder; one that cannot be loaded is drawn
    // with the colours instead.
    static std::unique_ptr<CZOLUISkin> FromFile(LPCWSTR pszPath);

    CString m_strFontFace;
    int m_nFontPoints = 9;

    // Frame: the border around everything, the caption on top.
    int m_nBorder = 4;
    int m_nCaption = 26;
    int m_nCorner = 0; // radius of rounded outer corners
    COLORREF m_crOutline;
    COLORREF m_crBorder;
    COLORREF m_crCaptionStart;
    COLORREF m_crCaptionEnd;
    COLORREF m_crCaptionText;
    COLORREF m_crInactiveStart;
    COLORREF m_crInactiveEnd;
    COLORREF m_crInactiveText;
    COLORREF m_crButtons;
    COLORREF m_crClientStart;
    COLORREF m_crClientEnd;

    // Menu bar, and its item under the mouse or opened.
    int m_nBarHeight = 24;
    COLORREF m_crBarStart;
    COLORREF m_crBarEnd;
    COLORREF m_crBarText;
    COLORREF m_crBarLine;
    COLORREF m_crItemStart;
    COLORREF m_crItemEnd;
    COLORREF m_crItemText;
    COLORREF m_crItemOutline;
    GdiHandle<HBITMAP> m_barImage;
    GdiHandle<HBITMAP> m_itemImage;

    // Fonts made from the face and size: bold for the caption.
    GdiHandle<HFONT> m_captionFont;
    GdiHandle<HFONT> m_barFont;

private:
    void CreateFonts();
};
