// Where the skinned frame's parts lie, in window coordinates (the origin
// at the window's top-left corner).
#pragma once

#include <afx/core/AfxTypes.h>

struct CZOLUISkin;

struct FrameParts
{
    RECT caption;
    RECT icon;
    RECT title;
    RECT minimize;
    RECT maximize;
    RECT close;
    RECT client;
};

FrameParts ComputeFrameParts(const CZOLUISkin& skin, int cx, int cy, bool bClientEdge);

// What the point of the window is: a caption button, the icon (the system
// menu's), the caption, the client area, or a border edge or corner
// (HTBORDER when not sizable).
UINT FrameHitTest(const FrameParts& parts, int cx, int cy, POINT point, bool bSizable);

// The point carried by a mouse message.
inline POINT PointFromLParam(LPARAM lParam)
{
    return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}
