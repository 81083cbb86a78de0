// The skin user-interface library: a skinned application base, main frame
// and menu bar.
#pragma once

#include "ZOLUIApp.h"
#include "ZOLUICoolMenuBar.h"
#include "ZOLUIMainWnd.h"
