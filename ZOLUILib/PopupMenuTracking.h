// Tracking a popup menu while the caller sees the messages of its loop first:
// what the menu bar and the frame's system menu need to move between menus
// and to tell how a menu was closed.
#pragma once

#include <afx/core/AfxTypes.h>

#include <functional>

// Takes a message of the popup's loop before the menu does: true when it took
// the message, which the menu then never sees.
using MenuMessageFilter = std::function<bool(const MSG& msg)>;

// Opens hPopup below (or, where there is no room, above) the screen rectangle
// anchor, which it leaves uncovered, and returns the command chosen, or 0 when
// the menu was closed without a choice. hOwner receives the menu's messages.
UINT TrackPopupMenuBelow(HMENU hPopup, const RECT& anchor, HWND hOwner, const MenuMessageFilter& filter);

// Whether the message is a press of a mouse button, in the client or the
// non-client area.
bool IsMouseButtonDown(UINT nMessage);
