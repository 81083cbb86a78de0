// pugixml: a DOM parsed from a buffer, saved without indentation, copied whole.
#include "TreeBenchmarks.h"

#include <pugixml.hpp>

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

    static void Write(Tree& tree)
    {
        StringWriter writer;
        tree.save(writer, "", pugi::format_raw);
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

std::vector<DocumentBenchmark> PugiXmlBenchmarks()
{
    return ParseWriteClone<PugiXml>();
}
