// Expat: a streaming parser that builds nothing, with no handlers set. It
// shows the floor of what reading the bytes costs, not a tree.
#include "DocumentBenchmark.h"

#include <expat.h>

#include <memory>

namespace
{
struct ParserDeleter
{
    void operator()(XML_ParserStruct* parser) const { XML_ParserFree(parser); }
};

void Parse(benchmark::State& state, const CorpusDocument& document)
{
    for (auto _ : state)
    {
        const std::unique_ptr<XML_ParserStruct, ParserDeleter> parser(XML_ParserCreate(nullptr));
        if (XML_Parse(parser.get(), document.bytes.data(), static_cast<int>(document.bytes.size()), XML_TRUE) !=
            XML_STATUS_OK)
        {
            state.SkipWithError("Expat refused the document");
            return;
        }
    }
}
} // namespace

std::vector<DocumentBenchmark> ExpatBenchmarks()
{
    return {{Operation::Parse, "expat", Parse}};
}
