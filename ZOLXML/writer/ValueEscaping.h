// The escaping of values on output: the five XML entities, and a decimal
// reference for every code unit above 0x7F, so escaped text is plain ASCII.
#pragma once

#include "TextSink.h"

// Writes pszValue, up to its first NUL, in escaped form.
void ZolWriteEscaped(CZolTextSink& sink, LPCWSTR pszValue);
