// Records that announce far more than they hold: strings of billions of code
// units, billions of attributes or children, in a few bytes.
#pragma once

#include "afx/ArchiveBytes.h"

#include <ZOLXML/ZOLLibXML.h>

#include <vector>

struct HostileRecord
{
    const char* what;
    Bytes bytes;
};

inline std::vector<HostileRecord> HostileRecords()
{
    const Bytes name = HexBytes("FF FE FF 01 65 00");
    const Bytes empty = HexBytes("FF FE FF 00");
    const Bytes text = Bytes(64, 0x41);
    const Bytes leaf = name + empty + HexBytes("00 00 00 00");
    return {
        {"name of 0xFFFFFFFF units", HexBytes("FF FE FF FF FF FF FF FF FF FF") + text},
        {"name of 0x7FFFFFFF units", HexBytes("FF FE FF FF FF FF FF FF FF 7F") + text},
        {"8-bit name of 0xFFFFFFFF bytes", HexBytes("FF FF FF FF FF FF FF") + text},
        {"value of 0xFFFFFFFF units", name + HexBytes("FF FE FF FF FF FF FF FF FF FF") + text},
        {"0x7FFFFFFF attributes", name + empty + HexBytes("FF FF FF FF FF 7F") + name + empty + name},
        {"attribute value of 0xFFFFFFFF units",
         name + empty + HexBytes("01 00") + name + HexBytes("FF FE FF FF FF FF FF FF FF FF") + text},
        {"0x7FFFFFFF children", name + empty + HexBytes("00 00 FF FF FF FF FF 7F") + leaf + leaf + name},
        {"0x7FFFFFFF grandchildren", name + empty + HexBytes("00 00 01 00") + name + empty +
                                         HexBytes("00 00 FF FF FF FF FF 7F") + leaf},
    };
}
