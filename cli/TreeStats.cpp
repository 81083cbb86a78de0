#include "TreeStats.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace cli
{
TreeStats MeasureTree(const CZOLLibXMLElement& root)
{
    TreeStats stats;
    // Each open level: its element and the cursor on its next child.
    std::vector<std::pair<const CZOLLibXMLElement*, POSITION>> levels;
    const CZOLLibXMLElement* pElement = &root;
    while (true)
    {
        ++stats.nElements;
        stats.nAttributes += static_cast<unsigned long long>(pElement->GetAttributeCount());
        levels.emplace_back(pElement, pElement->GetElementIterator());
        stats.nDepth = std::max(stats.nDepth, levels.size());

        pElement = nullptr;
        while (!levels.empty() && pElement == nullptr)
        {
            auto& [pParent, pos] = levels.back();
            if (pos != nullptr)
                pElement = pParent->GetNextElement(pos);
            else
                levels.pop_back();
        }
        if (pElement == nullptr)
            return stats;
    }
}
} // namespace cli
