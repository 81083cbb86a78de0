// Conversion between the library's UTF-16 text and the UTF-8 of the
// command line, the terminal and the files the tool writes.
#pragma once

#include <afx/core/AfxString.h>

#include <string>
#include <string_view>

namespace cli
{
// Ill-formed UTF-8 becomes U+FFFD, as the library reads it.
CString FromUtf8(std::string_view bytes);

// An unpaired surrogate has no UTF-8 form and becomes U+FFFD; rbLossless
// tells whether that happened.
std::string ToUtf8(const CString& text, bool& rbLossless);

// For messages, where a replaced unit needs no mention.
std::string ToUtf8(const CString& text);
} // namespace cli
