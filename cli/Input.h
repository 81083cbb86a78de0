// Reading what the commands work on: documents and archives, from files or
// from standard input ("-"). Each function raises Failure with the reason
// when it cannot deliver.
#pragma once

#include <ZOLXML/ZOLLibXML.h>

#include <memory>

namespace cli
{
// The library loads files of at most this many bytes; the tool holds
// standard input to the same limit.
constexpr ULONGLONG kDocumentLimit = 4194304;

struct DocumentDeleter
{
    void operator()(CZOLLibXMLElement* pRoot) const { pRoot->Delete(); }
};
// A root element, which its owner frees with Delete.
using DocumentPtr = std::unique_ptr<CZOLLibXMLElement, DocumentDeleter>;

struct LoadedDocument
{
    DocumentPtr root;
    ULONGLONG nBytes; // of the document's text
};

// The document in the file, the declaration optional, in the reading that
// dwReadOptions asks for.
LoadedDocument LoadDocument(const CString& argument, DWORD dwReadOptions);

struct LoadedArchive
{
    DocumentPtr root;
    ULONGLONG nTrailingBytes; // behind the element record, not read
};

// The tree of the element record at the start of the file.
LoadedArchive LoadArchive(const CString& argument);
} // namespace cli
