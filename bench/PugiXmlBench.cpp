// pugixml: a DOM parsed from a buffer, saved without indentation as UTF-16
// (the form ZOLXML writes), copied whole.
#include "TreeBenchmarks.h"

#include <pugixml.hpp>

#include <vector>

namespace
{
struct StringWriter : pugi::xml_writer
{
    std::string text;
    void write(const void* data, size_t size) override { text.append(static_cast<const char*>(data), size); }
};

struct PugiXml
{
    static constexpr const char* name = "pugixml";
    using Input = std::string;
    using Tree = pugi::xml_document;

    static bool Load(Tree& tree, Input& input)
    {
        return static_cast<bool>(tree.load_buffer(input.data(), input.size()));
    }

    static void Walk(Tree& tree)
    {
        std::size_t sum = 0;
        std::vector<pugi::xml_node> stack{tree.document_element()};
        while (!stack.empty())
        {
            const pugi::xml_node node = stack.back();
            stack.pop_back();
            Touch(node.name(), sum);
            Touch(node.value(), sum);
            for (const pugi::xml_attribute attribute : node.attributes())
            {
                Touch(attribute.name(), sum);
                Touch(attribute.value(), sum);
            }
            for (const pugi::xml_node child : node.children())
                stack.push_back(child);
        }
        benchmark::DoNotOptimize(sum);
    }

    static void Write(Tree& tree)
    {
        StringWriter writer;
        tree.save(writer, "", pugi::format_raw, pugi::encoding_utf16_le);
        benchmark::DoNotOptimize(writer.text.data());
    }

    static void Clone(Tree& tree)
    {
        pugi::xml_document copy;
        copy.reset(tree);
        benchmark::DoNotOptimize(copy.first_child());
    }
};
} // namespace

BenchLibrary PugiXmlLibrary()
{
    return TreeLibrary<PugiXml>();
}
