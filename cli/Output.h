// Where the commands put what they make: standard output, or a file that
// appears only once it is complete.
#pragma once

#include <afx/core/AfxString.h>

#include <cstddef>
#include <string>

namespace cli
{
void WriteStandardOutput(const void* pBytes, std::size_t nBytes);
void WriteStandardOutput(const std::string& text);

// Writes to standard output for "-". A file is written beside its final
// name and renamed into place once complete: a failure leaves nothing
// half-written, and an earlier file of that name as it was.
void WriteOutput(const CString& argument, const void* pBytes, std::size_t nBytes);
} // namespace cli
