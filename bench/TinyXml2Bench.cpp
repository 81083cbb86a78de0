// tinyxml2: a DOM parsed from a buffer, printed compactly, deep-copied. It
// decodes names and text lazily, on their first reading: its walk is where
// that is paid. Its element depth is limited (100 in Debian's version), so
// it refuses the deep document.
#include "TreeBenchmarks.h"

#include <tinyxml2.h>

#include <vector>

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

    static void Walk(Tree& tree)
    {
        std::size_t sum = 0;
        std::vector<const tinyxml2::XMLNode*> stack{tree.RootElement()};
        while (!stack.empty())
        {
            const tinyxml2::XMLNode* node = stack.back();
            stack.pop_back();
            Touch(node->Value(), sum);
            if (const tinyxml2::XMLElement* element = node->ToElement())
            {
                for (const tinyxml2::XMLAttribute* a = element->FirstAttribute(); a != nullptr; a = a->Next())
                {
                    Touch(a->Name(), sum);
                    Touch(a->Value(), sum);
                }
            }
            for (const tinyxml2::XMLNode* child = node->FirstChild(); child != nullptr; child = child->NextSibling())
                stack.push_back(child);
        }
        benchmark::DoNotOptimize(sum);
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

BenchLibrary TinyXml2Library()
{
    return TreeLibrary<TinyXml2>();
}
