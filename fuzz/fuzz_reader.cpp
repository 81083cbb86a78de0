// Any bytes, with the declaration demanded or not, load or give null; a tree
// that loads frees cleanly. The sanitizers report crashes, leaks and misuse.
#include <ZOLXML/ZOLLibXML.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    for (int requireDeclaration = 0; requireDeclaration <= 1; ++requireDeclaration)
    {
        // The loader swaps big-endian input in place: give it its own copy.
        std::vector<BYTE> bytes(data, data + size);
        CZOLLibXMLElement* pRoot = CZOLLibXMLElement::FromBytes(bytes.data(), static_cast<DWORD>(bytes.size()),
                                                                requireDeclaration);
        if (pRoot != nullptr)
            pRoot->Delete();
    }
    return 0;
}
