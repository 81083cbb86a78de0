// Measurements that need a process of their own for each tree: the heap a
// tree keeps, and the first parse in a fresh process. The program runs
// itself once per library and document (a child), and the child prints one
// line of figures for the parent to gather.
#pragma once

#include "DocumentBenchmark.h"

#include <string>
#include <vector>

struct ProbeProgram
{
    // The first field of every line the parent prints.
    const char* kind;
    // How many children run for each library and document; the parent
    // prints the median of each figure.
    int runs;
    // The libraries measured; all that build trees when empty.
    std::vector<std::string> libraries;
    // In the child: builds one tree of the document with the library and
    // returns its figures, or nothing when the library refuses it.
    std::vector<double> (*measure)(const BenchLibrary& library, const CorpusDocument& document);
};

// Parent:  <program> [--corpus=FOLDER]
//          prints "<kind>,<document>,<library>,<figure>..." or "...,refused".
// Child:   <program> --child LIBRARY FILE
int RunProbeProgram(int argc, char** argv, const ProbeProgram& program);
