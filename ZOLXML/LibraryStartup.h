// The platform-neutral half of the library's start-up; the loader hooks of
// each platform (LibraryStartup_posix.cpp, LibraryStartup_win.cpp) call it.
#pragma once

#include <afx/core/afx.h>

BOOL ZolXmlProcessAttach(HMODULE hModule);
void ZolXmlProcessDetach();
