// Documents for the memory tests, made here so that no corpus is needed.
#pragma once

#include <ZOLXML/ZOLLibXML.h>

#include <string>

// Set where a sanitizer serves the heap (the layer then uses the system's).
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#  define ZOL_SANITIZER_HEAP 1
#elif defined(__has_feature)
#  if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#    define ZOL_SANITIZER_HEAP 1
#  endif
#endif

// About nKiB KiB of UTF-8: elements with several attributes and a value,
// as a document of records is.
inline std::string RecordsDocument(int nKiB, int nSeed = 0)
{
    std::string text = "<?xml version=\"1.0\"?><records seed='" + std::to_string(nSeed) + "'>";
    for (int i = 0; text.size() < static_cast<std::size_t>(nKiB) * 1024; ++i)
    {
        const std::string n = std::to_string(i);
        text += "<record id='r" + n + "' name='Name " + n + "' kind='k" + std::to_string(i % 7) +
                "' note='Caf\xC3\xA9 &amp; more'><value>" + n + "</value><empty/></record>";
    }
    return text + "</records>";
}

inline CZOLLibXMLElement* LoadBytes(const std::string& text)
{
    std::string copy = text;
    return CZOLLibXMLElement::FromBytes(reinterpret_cast<BYTE*>(&copy[0]), static_cast<DWORD>(copy.size()), 1);
}
