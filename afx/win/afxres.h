/* Identifiers of the framework's standard commands and windows, shared by
   resource scripts and code (the resource compiler reads only #define). */
#pragma once

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#define ID_EDIT_COPY 0xE122
#define ID_EDIT_CUT 0xE123
#define ID_EDIT_PASTE 0xE125
#define ID_EDIT_UNDO 0xE12B

#define ID_APP_ABOUT 0xE140
#define ID_APP_EXIT 0xE141

#define AFX_IDW_DOCKBAR_TOP 0xE81B
