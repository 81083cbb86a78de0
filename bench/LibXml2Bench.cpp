// libxml2: a DOM read from memory (without its default depth limit of 256,
// which the deep document passes), dumped to memory, copied whole.
#include "TreeBenchmarks.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <memory>

namespace
{
struct DocDeleter
{
    void operator()(xmlDoc* document) const { xmlFreeDoc(document); }
};

struct LibXml2
{
    static constexpr const char* name = "libxml2";
    using Input = std::string;
    using Tree = std::unique_ptr<xmlDoc, DocDeleter>;

    static bool Load(Tree& tree, Input& input)
    {
        tree.reset(xmlReadMemory(input.data(), static_cast<int>(input.size()), nullptr, nullptr,
                                 XML_PARSE_NONET | XML_PARSE_HUGE));
        return tree != nullptr;
    }

    static void Write(Tree& tree)
    {
        xmlChar* text = nullptr;
        int size = 0;
        xmlDocDumpMemory(tree.get(), &text, &size);
        benchmark::DoNotOptimize(text);
        xmlFree(text);
    }

    static void Clone(Tree& tree)
    {
        const Tree copy(xmlCopyDoc(tree.get(), 1));
        benchmark::DoNotOptimize(copy.get());
    }
};
} // namespace

std::vector<DocumentBenchmark> LibXml2Benchmarks()
{
    xmlInitParser();
    return ParseWriteClone<LibXml2>();
}
