// The parser's entry for UTF-8 bytes, which the loader hands it undecoded.
#pragma once

#include <ZOLXML/ZOLLibXML.h>

// The document in [pBytes, pEnd), which holds no NUL; null when it does not
// load. Reads exactly the tree that FromString reads from the decoded text.
CZOLLibXMLElement* ZolReadUtf8Document(const BYTE* pBytes, const BYTE* pEnd, int requireDeclaration);
