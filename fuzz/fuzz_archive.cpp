// Loads arbitrary bytes as an element record. Every input either loads a
// tree or ends with the end-of-file archive exception, leaving nothing
// behind; a tree that loads completely stores and loads back as an equal
// tree, and stores the same bytes again.
#include <ZOLXML/ZOLLibXML.h>
#include <afx/core/AfxArchive.h>
#include <afx/core/AfxMemFile.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace
{
// Loads one record into element; true when the record was complete.
bool Load(const BYTE* data, std::size_t size, CZOLLibXMLElement& element)
{
    CMemFile file(const_cast<BYTE*>(data), static_cast<UINT>(size));
    CArchive ar(&file, CArchive::load);
    try
    {
        element.Serialize(ar);
        return true;
    }
    catch (CArchiveException* e)
    {
        const bool endOfFile = e->m_cause == CArchiveException::endOfFile;
        e->Delete();
        if (!endOfFile)
            std::abort();
        return false;
    }
}

// The record of element, in a buffer the caller frees.
BYTE* Store(CZOLLibXMLElement& element, std::size_t& size)
{
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    element.Serialize(ar);
    ar.Close();
    size = static_cast<std::size_t>(file.GetLength());
    return file.Detach();
}
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CZOLLibXMLElement loaded;
    if (!Load(data, size, loaded))
        return 0;

    std::size_t storedSize = 0;
    BYTE* stored = Store(loaded, storedSize);
    CZOLLibXMLElement reloaded;
    const bool complete = Load(stored, storedSize, reloaded);
    std::size_t restoredSize = 0;
    BYTE* restored = Store(reloaded, restoredSize);
    const bool same = restoredSize == storedSize && std::memcmp(stored, restored, storedSize) == 0;
    std::free(stored);
    std::free(restored);
    if (!complete || !reloaded.Equals(&loaded) || !same)
        std::abort();
    return 0;
}
