// The window classes the layer registers for its own windows, all served by
// AfxWndProc. Each is registered with the program's module on first use.
#pragma once

#include <afx/core/AfxTypes.h>

LPCWSTR AfxFrameWndClass();
LPCWSTR AfxControlBarClass();
