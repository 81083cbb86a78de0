// Any bytes load or give null, with the declaration demanded or not; a tree
// that loads frees cleanly. The sanitizers report crashes, leaks and misuse.
// Demanding the declaration only ever refuses more: what loads with it loads
// without it, as the same tree.
#include <ZOLXML/ZOLLibXML.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace
{
CZOLLibXMLElement* Load(const std::uint8_t* data, std::size_t size, int requireDeclaration)
{
    // The loader swaps big-endian input in place: each load gets its own copy.
    std::vector<BYTE> bytes(data, data + size);
    return CZOLLibXMLElement::FromBytes(bytes.data(), static_cast<DWORD>(bytes.size()), requireDeclaration);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CZOLLibXMLElement* pPlain = Load(data, size, 0);
    CZOLLibXMLElement* pDemanded = Load(data, size, 1);
    if (pDemanded != nullptr && (pPlain == nullptr || !pPlain->Equals(pDemanded)))
        __builtin_trap();
    if (pPlain != nullptr)
        pPlain->Delete();
    if (pDemanded != nullptr)
        pDemanded->Delete();
    return 0;
}
