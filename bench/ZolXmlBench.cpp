// ZOLXML: reading from bytes, walking through the public getters, writing
// compact text, deep copy, and the archive record stored to and loaded from
// memory.
#include "TreeBenchmarks.h"

#include <ZOLXML/ZOLLibXML.h>
#include <afx/core/AfxArchive.h>
#include <afx/core/AfxMemFile.h>

#include <memory>
#include <vector>

namespace
{
struct TreeDeleter
{
    void operator()(CZOLLibXMLElement* root) const { root->Delete(); }
};

// Archives grow in large steps, as a caller storing whole documents would
// ask for.
constexpr UINT kArchiveGrowBytes = 1024 * 1024;

void Touch(const CString& text, std::size_t& sum)
{
    sum += static_cast<std::size_t>(text.GetLength());
    if (!text.IsEmpty())
        sum += text[0];
}

struct ZolXml
{
    static constexpr const char* name = "ZOLXML";
    // FromBytes takes a writable buffer but changes it only for big-endian
    // UTF-16, which the corpus does not hold: one copy serves every parse.
    using Input = std::vector<BYTE>;
    using Tree = std::unique_ptr<CZOLLibXMLElement, TreeDeleter>;

    static bool Load(Tree& tree, Input& input)
    {
        tree.reset(CZOLLibXMLElement::FromBytes(input.data(), static_cast<DWORD>(input.size()), 0));
        return tree != nullptr;
    }

    static void Walk(Tree& tree)
    {
        std::size_t sum = 0;
        std::vector<const CZOLLibXMLElement*> stack{tree.get()};
        while (!stack.empty())
        {
            const CZOLLibXMLElement* element = stack.back();
            stack.pop_back();
            Touch(element->GetName(), sum);
            Touch(element->GetValue(), sum);
            POSITION attributes = element->GetAttributeIterator();
            while (attributes != nullptr)
            {
                const CZOLLibXMLAttribute* attribute = element->GetNextAttribute(attributes);
                Touch(attribute->GetName(), sum);
                Touch(attribute->GetValue(), sum);
            }
            POSITION children = element->GetElementIterator();
            while (children != nullptr)
                stack.push_back(element->GetNextElement(children));
        }
        benchmark::DoNotOptimize(sum);
    }

    static void Write(Tree& tree)
    {
        const CString text = tree->ToString(1, 0);
        benchmark::DoNotOptimize(text.GetString());
    }

    static void Clone(Tree& tree)
    {
        const Tree copy(tree->Clone(nullptr));
        benchmark::DoNotOptimize(copy.get());
    }

    static void Store(Tree& tree, CMemFile& file)
    {
        CArchive archive(&file, CArchive::store);
        tree->Serialize(archive);
        archive.Close();
    }

    static void ArchiveStore(Tree& tree)
    {
        CMemFile file(kArchiveGrowBytes);
        Store(tree, file);
        benchmark::DoNotOptimize(file.GetLength());
    }
};

void ArchiveLoad(benchmark::State& state, const CorpusDocument& document)
{
    ZolXml::Input input = InputOf<ZolXml>(document);
    ZolXml::Tree tree;
    if (!ZolXml::Load(tree, input))
    {
        RefusedBy<ZolXml>(state);
        return;
    }
    CMemFile file(kArchiveGrowBytes);
    ZolXml::Store(tree, file);
    for (auto _ : state)
    {
        file.SeekToBegin();
        CArchive archive(&file, CArchive::load);
        const ZolXml::Tree copy(new CZOLLibXMLElement());
        copy->Serialize(archive);
    }
}
} // namespace

BenchLibrary ZolXmlLibrary()
{
    return TreeLibrary<ZolXml>({{Operation::ArchiveStore, ZolXml::name, TreeLoop<ZolXml, ZolXml::ArchiveStore>},
                                {Operation::ArchiveLoad, ZolXml::name, ArchiveLoad}});
}
