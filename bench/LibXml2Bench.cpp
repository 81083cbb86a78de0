// libxml2: a DOM read from memory (without its default depth limit of 256,
// which the deep document passes), dumped to memory, copied whole.
#include "TreeBenchmarks.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <memory>
#include <vector>

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

    static void Walk(Tree& tree)
    {
        std::size_t sum = 0;
        std::vector<const xmlNode*> stack{xmlDocGetRootElement(tree.get())};
        while (!stack.empty())
        {
            const xmlNode* node = stack.back();
            stack.pop_back();
            Touch(reinterpret_cast<const char*>(node->name), sum);
            Touch(reinterpret_cast<const char*>(node->content), sum);
            for (const xmlAttr* a = node->properties; a != nullptr; a = a->next)
            {
                Touch(reinterpret_cast<const char*>(a->name), sum);
                if (a->children != nullptr)
                    Touch(reinterpret_cast<const char*>(a->children->content), sum);
            }
            for (const xmlNode* child = node->children; child != nullptr; child = child->next)
                stack.push_back(child);
        }
        benchmark::DoNotOptimize(sum);
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

BenchLibrary LibXml2Library()
{
    xmlInitParser();
    return TreeLibrary<LibXml2>();
}
