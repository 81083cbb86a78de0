// Export marking of the skin library's classes.
#pragma once

#if defined(ZOLUILIB_BUILD)
#  define ZOLUI_API __declspec(dllexport)
#else
#  define ZOLUI_API __declspec(dllimport)
#endif
