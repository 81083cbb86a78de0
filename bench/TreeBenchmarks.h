// The timing loops shared by every library. A library is described by a
// struct with:
//   static constexpr const char* name;
//   using Input;   a container of the document's bytes, made before timing
//   using Tree;    default-constructible, holds what Load builds
//   static bool Load(Tree&, Input&);   false when the library refuses the document
// and, for the loops that work on a loaded tree, functions taking Tree&.
#pragma once

#include "DocumentBenchmark.h"

#include <string>

template <class Library>
typename Library::Input InputOf(const CorpusDocument& document)
{
    return typename Library::Input(document.bytes.begin(), document.bytes.end());
}

template <class Library>
void RefusedBy(benchmark::State& state)
{
    state.SkipWithError((std::string(Library::name) + " refused the document").c_str());
}

template <class Library>
void ParseLoop(benchmark::State& state, const CorpusDocument& document)
{
    typename Library::Input input = InputOf<Library>(document);
    for (auto _ : state)
    {
        typename Library::Tree tree;
        if (!Library::Load(tree, input))
        {
            RefusedBy<Library>(state);
            return;
        }
    }
}

// Loads the document once, then times work on the tree.
template <class Library, void (*Work)(typename Library::Tree&)>
void TreeLoop(benchmark::State& state, const CorpusDocument& document)
{
    typename Library::Input input = InputOf<Library>(document);
    typename Library::Tree tree;
    if (!Library::Load(tree, input))
    {
        RefusedBy<Library>(state);
        return;
    }
    for (auto _ : state)
        Work(tree);
}

// Parse, write and clone, for the libraries that do all three.
template <class Library>
std::vector<DocumentBenchmark> ParseWriteClone()
{
    return {
        {Operation::Parse, Library::name, ParseLoop<Library>},
        {Operation::Write, Library::name, TreeLoop<Library, Library::Write>},
        {Operation::Clone, Library::name, TreeLoop<Library, Library::Clone>},
    };
}
