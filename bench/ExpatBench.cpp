// Expat: a streaming parser that builds nothing, with no handlers set. It
// shows the floor of what reading the bytes costs, not a tree.
#include "TreeBenchmarks.h"

#include <expat.h>

#include <memory>

namespace
{
struct ParserDeleter
{
    void operator()(XML_ParserStruct* parser) const { XML_ParserFree(parser); }
};

struct Expat
{
    static constexpr const char* name = "expat";
    using Input = std::string;
    using Tree = std::unique_ptr<XML_ParserStruct, ParserDeleter>;

    static bool Load(Tree& parser, Input& input)
    {
        parser.reset(XML_ParserCreate(nullptr));
        return parser &&
               XML_Parse(parser.get(), input.data(), static_cast<int>(input.size()), XML_TRUE) == XML_STATUS_OK;
    }
};
} // namespace

BenchLibrary ExpatLibrary()
{
    return {Expat::name, {{Operation::Parse, Expat::name, ParseLoop<Expat>}}, LoadOnce<Expat>};
}
