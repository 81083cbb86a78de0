// The size and shape of a tree, for the stats command.
#pragma once

#include <ZOLXML/ZOLLibXML.h>

#include <cstddef>

namespace cli
{
struct TreeStats
{
    unsigned long long nElements = 0;
    unsigned long long nAttributes = 0;
    std::size_t nDepth = 0; // levels of elements: 1 for a root alone
};

// Walks the tree without recursion, so that no depth exhausts the stack.
TreeStats MeasureTree(const CZOLLibXMLElement& root);
} // namespace cli
