// ZOLXML: reading from bytes, writing compact text, deep copy, and the
// archive record stored to and loaded from memory.
#include "DocumentBenchmark.h"

#include <ZOLXML/ZOLLibXML.h>

#include <memory>

namespace
{
struct TreeDeleter
{
    void operator()(CZOLLibXMLElement* root) const { root->Delete(); }
};
using Tree = std::unique_ptr<CZOLLibXMLElement, TreeDeleter>;

// Archives grow in large steps, as a caller storing whole documents would
// ask for.
constexpr UINT kArchiveGrowBytes = 1024 * 1024;

// FromBytes changes the buffer only for big-endian UTF-16, which the corpus
// does not hold, so one copy serves every iteration.
std::vector<BYTE> WritableCopy(const CorpusDocument& document)
{
    return std::vector<BYTE>(document.bytes.begin(), document.bytes.end());
}

Tree ParseOnce(benchmark::State& state, const CorpusDocument& document)
{
    std::vector<BYTE> bytes = WritableCopy(document);
    Tree root(CZOLLibXMLElement::FromBytes(bytes.data(), static_cast<DWORD>(bytes.size()), 0));
    if (!root)
        state.SkipWithError("ZOLXML refused the document");
    return root;
}

void Parse(benchmark::State& state, const CorpusDocument& document)
{
    std::vector<BYTE> bytes = WritableCopy(document);
    for (auto _ : state)
    {
        Tree root(CZOLLibXMLElement::FromBytes(bytes.data(), static_cast<DWORD>(bytes.size()), 0));
        if (!root)
        {
            state.SkipWithError("ZOLXML refused the document");
            return;
        }
    }
}

void Write(benchmark::State& state, const CorpusDocument& document)
{
    const Tree root = ParseOnce(state, document);
    if (!root)
        return;
    for (auto _ : state)
    {
        const CString text = root->ToString(1, 0);
        benchmark::DoNotOptimize(text.GetString());
    }
}

void Clone(benchmark::State& state, const CorpusDocument& document)
{
    const Tree root = ParseOnce(state, document);
    if (!root)
        return;
    for (auto _ : state)
    {
        const Tree copy(root->Clone(nullptr));
        benchmark::DoNotOptimize(copy.get());
    }
}

void Store(CZOLLibXMLElement& root, CMemFile& file)
{
    CArchive archive(&file, CArchive::store);
    root.Serialize(archive);
    archive.Close();
}

void ArchiveStore(benchmark::State& state, const CorpusDocument& document)
{
    const Tree root = ParseOnce(state, document);
    if (!root)
        return;
    for (auto _ : state)
    {
        CMemFile file(kArchiveGrowBytes);
        Store(*root, file);
        benchmark::DoNotOptimize(file.GetLength());
    }
}

void ArchiveLoad(benchmark::State& state, const CorpusDocument& document)
{
    const Tree root = ParseOnce(state, document);
    if (!root)
        return;
    CMemFile file(kArchiveGrowBytes);
    Store(*root, file);
    for (auto _ : state)
    {
        file.SeekToBegin();
        CArchive archive(&file, CArchive::load);
        const Tree copy(new CZOLLibXMLElement());
        copy->Serialize(archive);
    }
}
} // namespace

std::vector<DocumentBenchmark> ZolXmlBenchmarks()
{
    return {
        {Operation::Parse, "ZOLXML", Parse},
        {Operation::Write, "ZOLXML", Write},
        {Operation::Clone, "ZOLXML", Clone},
        {Operation::ArchiveStore, "ZOLXML", ArchiveStore},
        {Operation::ArchiveLoad, "ZOLXML", ArchiveLoad},
    };
}
