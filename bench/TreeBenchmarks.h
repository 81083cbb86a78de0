// The timing loops shared by every library. A library is described by a
// struct with:
//   static constexpr const char* name;
//   using Input;   a container of the document's bytes, made before timing
//   using Tree;    default-constructible, holds what Load builds
//   static bool Load(Tree&, Input&);   false when the library refuses the document
// and, for the loops that work on a loaded tree, functions taking Tree&:
//   Walk   visits every element and attribute and reads each name and value
//          through the library's public getters;
//   Write, Clone.
#pragma once

#include "DocumentBenchmark.h"

#include <initializer_list>
#include <memory>
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

// Parse; with bWalk, then read every name and value: what a program that
// loads a document to use it pays.
template <class Library, bool bWalk = false>
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
        if constexpr (bWalk)
            Library::Walk(tree);
    }
}

// Times the destruction of a tree alone; building it is not timed.
template <class Library>
void DestroyLoop(benchmark::State& state, const CorpusDocument& document)
{
    typename Library::Input input = InputOf<Library>(document);
    for (auto _ : state)
    {
        state.PauseTiming();
        auto tree = std::make_unique<typename Library::Tree>();
        const bool bLoaded = Library::Load(*tree, input);
        state.ResumeTiming();
        if (!bLoaded)
        {
            RefusedBy<Library>(state);
            return;
        }
        tree.reset();
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

template <class Library>
bool LoadOnce(const CorpusDocument& document, LoadProbe& probe)
{
    typename Library::Input input = InputOf<Library>(document);
    probe.Loading();
    {
        auto tree = std::make_unique<typename Library::Tree>();
        const bool bLoaded = Library::Load(*tree, input);
        probe.Loaded();
        if (!bLoaded)
            return false;
    }
    probe.Destroyed();
    return true;
}

// Every operation of a library that builds, walks, writes and copies trees,
// and those it does besides.
template <class Library>
BenchLibrary TreeLibrary(std::initializer_list<DocumentBenchmark> more = {})
{
    std::vector<DocumentBenchmark> benchmarks{
        {Operation::Parse, Library::name, ParseLoop<Library>},
        {Operation::ParseWalk, Library::name, ParseLoop<Library, true>},
        {Operation::Write, Library::name, TreeLoop<Library, Library::Write>},
        {Operation::Clone, Library::name, TreeLoop<Library, Library::Clone>},
        {Operation::Destroy, Library::name, DestroyLoop<Library>},
    };
    benchmarks.insert(benchmarks.end(), more);
    return {Library::name, benchmarks, LoadOnce<Library>};
}

// Reads a name or value as a walk does: its first character is touched.
inline void Touch(const char* text, std::size_t& sum)
{
    if (text != nullptr)
        sum += static_cast<unsigned char>(text[0]);
}
