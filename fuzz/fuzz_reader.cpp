// Any bytes load or give null, with the declaration demanded or not; a tree
// that loads frees cleanly. The sanitizers report crashes, leaks and misuse.
// Demanding the declaration only ever refuses more: what loads with it loads
// without it, as the same tree. UTF-8 bytes, which are read as they stand,
// give the tree that their decoded text gives.
#include <ZOLXML/ZOLLibXML.h>
#include <afx/core/TextConversion.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace
{
CZOLLibXMLElement* Load(const std::uint8_t* data, std::size_t size, int requireDeclaration)
{
    // The loader swaps big-endian input in place: each load gets its own copy.
    std::vector<BYTE> bytes(data, data + size);
    return CZOLLibXMLElement::FromBytes(bytes.data(), static_cast<DWORD>(bytes.size()), requireDeclaration);
}

// The text that reading the bytes as UTF-8 reads: after a byte-order mark,
// up to the first NUL, decoded.
CZOLLibXMLElement* LoadDecoded(const std::uint8_t* data, std::size_t size)
{
    if (size >= 3 && std::memcmp(data, "\xEF\xBB\xBF", 3) == 0)
    {
        data += 3;
        size -= 3;
    }
    if (const void* nul = std::memchr(data, 0, size))
        size = static_cast<std::size_t>(static_cast<const std::uint8_t*>(nul) - data);
    std::vector<WCHAR> text(size + 1, 0);
    text.resize(AfxDecodeUtf8(data, size, text.data()) + 1);
    text.back() = 0;
    return CZOLLibXMLElement::FromString(text.data(), 0);
}

bool IsUtf16(const std::uint8_t* data, std::size_t size)
{
    return size >= 2 && ((data[0] == 0xFE && data[1] == 0xFF) || (data[0] == 0xFF && data[1] == 0xFE));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CZOLLibXMLElement* pPlain = Load(data, size, 0);
    CZOLLibXMLElement* pDemanded = Load(data, size, 1);
    if (pDemanded != nullptr && (pPlain == nullptr || !pPlain->Equals(pDemanded)))
        __builtin_trap();
    if (!IsUtf16(data, size))
    {
        CZOLLibXMLElement* pDecoded = LoadDecoded(data, size);
        if ((pDecoded == nullptr) != (pPlain == nullptr) || (pDecoded != nullptr && !pDecoded->Equals(pPlain)))
            __builtin_trap();
        if (pDecoded != nullptr)
            pDecoded->Delete();
    }
    if (pPlain != nullptr)
        pPlain->Delete();
    if (pDemanded != nullptr)
        pDemanded->Delete();
    return 0;
}
