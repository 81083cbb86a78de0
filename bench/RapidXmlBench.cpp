// rapidxml: parses in place, so every parse works on a fresh copy of the
// document (the copy is timed with it). Its clone copies the node structure
// but shares the text with the original.
#include "TreeBenchmarks.h"

#include <rapidxml/rapidxml.hpp>
#include <rapidxml/rapidxml_print.hpp>

#include <iterator>
#include <vector>

namespace
{
struct RapidXml
{
    static constexpr const char* name = "rapidxml";
    using Input = std::string;
    struct Tree
    {
        std::vector<char> text;
        rapidxml::xml_document<> document;
    };

    static bool Load(Tree& tree, Input& input)
    {
        tree.text.assign(input.begin(), input.end());
        tree.text.push_back('\0');
        try
        {
            tree.document.parse<0>(tree.text.data());
            return true;
        }
        catch (const rapidxml::parse_error&)
        {
            return false;
        }
    }

    static void Walk(Tree& tree)
    {
        std::size_t sum = 0;
        std::vector<const rapidxml::xml_node<>*> stack{tree.document.first_node()};
        while (!stack.empty())
        {
            const rapidxml::xml_node<>* node = stack.back();
            stack.pop_back();
            Touch(node->name(), sum);
            Touch(node->value(), sum);
            for (const rapidxml::xml_attribute<>* a = node->first_attribute(); a != nullptr; a = a->next_attribute())
            {
                Touch(a->name(), sum);
                Touch(a->value(), sum);
            }
            for (const rapidxml::xml_node<>* child = node->first_node(); child != nullptr; child = child->next_sibling())
                stack.push_back(child);
        }
        benchmark::DoNotOptimize(sum);
    }

    static void Write(Tree& tree)
    {
        std::string out;
        rapidxml::print(std::back_inserter(out), tree.document, rapidxml::print_no_indenting);
        benchmark::DoNotOptimize(out.data());
    }

    static void Clone(Tree& tree)
    {
        rapidxml::memory_pool<> pool;
        benchmark::DoNotOptimize(pool.clone_node(&tree.document));
    }
};
} // namespace

BenchLibrary RapidXmlLibrary()
{
    return TreeLibrary<RapidXml>();
}
