// tinyxml2: a DOM parsed from a buffer, printed compactly, deep-copied.
// Its element depth is limited (100 in Debian's version), so it refuses the
// deep document.
#include "TreeBenchmarks.h"

#include <tinyxml2.h>

namespace
{
struct TinyXml2
{
    static constexpr const char* name = "tinyxml2";
    using Input = std::string;
    using Tree = tinyxml2::XMLDocument;

    static bool Load(Tree& tree, Input& input)
    {
        return tree.Parse(input.data(), input.size()) == tinyxml2::XML_SUCCESS;
    }

    static void Write(Tree& tree)
    {
        tinyxml2::XMLPrinter printer(nullptr, true);
        tree.Print(&printer);
        benchmark::DoNotOptimize(printer.CStr());
    }

    static void Clone(Tree& tree)
    {
        tinyxml2::XMLDocument copy;
        tree.DeepCopy(&copy);
        benchmark::DoNotOptimize(copy.RootElement());
    }
};
} // namespace

std::vector<DocumentBenchmark> TinyXml2Benchmarks()
{
    return ParseWriteClone<TinyXml2>();
}
