// The parser's entries for the loader: UTF-8 bytes, which it hands over
// undecoded, and UTF-16 text, each also with a load report.
#pragma once

#include "ReadFailure.h"

#include <ZOLXML/ZOLLibXML.h>

// The document in [pBytes, pEnd), which holds no NUL; null when it does not
// load. Reads exactly the tree that FromString reads from the decoded text.
CZOLLibXMLElement* ZolReadUtf8Document(const BYTE* pBytes, const BYTE* pEnd, int requireDeclaration);

// The same, with a report, for [pBytes, pInputEnd), where the text ends at
// its first NUL if any. offsets maps places to the caller's input.
CZOLLibXMLElement* ZolReadUtf8Document(const BYTE* pBytes, const BYTE* pInputEnd, int requireDeclaration,
                                       CZOLLibXMLLoadReport& report, ZolOffsetMap offsets);

// FromString with a report, for text that the caller holds up to pInputEnd
// (null: nothing behind its NUL).
CZOLLibXMLElement* ZolReadWideDocument(LPCWSTR pszText, LPCWSTR pInputEnd, int requireDeclaration,
                                       CZOLLibXMLLoadReport& report, ZolOffsetMap offsets);
