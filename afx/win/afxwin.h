// The window part of the platform layer, in one include.
#pragma once

#include <afx/core/afx.h>

#include "AfxControlBar.h"
#include "AfxDialog.h"
#include "AfxFrameWnd.h"
#include "AfxMenu.h"
#include "AfxWin32Text.h"
#include "AfxWinApp.h"
#include "AfxWnd.h"
#include "afxres.h"
