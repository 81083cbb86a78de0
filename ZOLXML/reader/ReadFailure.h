// What the reader knows of a document that does not load, and how that
// becomes a load report. The reader records the reason and the place only
// when it fails; lines, columns and the message are worked out afterwards.
#pragma once

#include <ZOLXML/ZOLLibXML.h>

template <class Unit>
struct ZolReadFailure
{
    ZXMLLoadError error = ZXML_LOAD_OK;
    const Unit* pPlace = nullptr;  // the first unit that cannot be read
    const Unit* pOpened = nullptr; // where the element, comment or value concerned began
    CString strElement;            // the element whose tag or content holds the place
    CString strName;               // an attribute's name, or the name a closing tag gives
};

// How the units of the text read map to the offsets a report gives: the
// caller's input may be a byte-order mark and UTF-16 bytes in front of them.
struct ZolOffsetMap
{
    ULONGLONG nBase = 0; // the offset of the text's first unit
    ULONGLONG nScale = 1; // offset units per unit of the text
};

// Fills report from a failure of the reader in the text at pStart, which
// ends at its first NUL, or at pInputEnd where that comes first (null: at
// the NUL). The caller's input may go on behind a NUL.
void ZolFillReport(CZOLLibXMLLoadReport& report, const ZolReadFailure<WCHAR>& failure, const WCHAR* pStart,
                   const WCHAR* pInputEnd, ZolOffsetMap offsets);
void ZolFillReport(CZOLLibXMLLoadReport& report, const ZolReadFailure<BYTE>& failure, const BYTE* pStart,
                   const BYTE* pInputEnd, ZolOffsetMap offsets);

// Fills report for a failure of the input as a whole (no place in a text).
void ZolFillInputReport(CZOLLibXMLLoadReport& report, ZXMLLoadError error, DWORD dwOsError = 0,
                        ULONGLONG nFileSize = 0);
