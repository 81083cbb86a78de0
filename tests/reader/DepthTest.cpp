// Nesting has no limit: the deepest trees load, fail and free on a small stack.
#include "ReaderTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
const auto kLevels = static_cast<std::size_t>(kDeepLevels);

std::u16string Widen(const std::string& ascii)
{
    return std::u16string(ascii.begin(), ascii.end());
}

TEST(Depth, DeepTreesLoadAndFreeOnASmallStack)
{
    const std::u16string text = Widen(NestedElements(kLevels));
    int depth = 0;
    RunOnSmallStack(kSmallStack, [&] {
        ElementPtr root(CZOLLibXMLElement::FromString(text.c_str(), 0));
        depth = Depth(root.get());
    });
    EXPECT_EQ(static_cast<int>(kLevels), depth);
}

TEST(Depth, FailuresAtTheBottomOrTheTopFreeEverything)
{
    const std::u16string unclosed = Widen(NestedElements(kLevels)).substr(0, 3 * kLevels + 4 * (kLevels - 1));
    std::u16string mismatched = Widen(NestedElements(kLevels));
    mismatched[3 * kLevels + 2] = u'b'; // the innermost closing tag
    bool refused = false;
    RunOnSmallStack(kSmallStack, [&] {
        refused = CZOLLibXMLElement::FromString(unclosed.c_str(), 0) == nullptr &&
                  CZOLLibXMLElement::FromString(mismatched.c_str(), 0) == nullptr;
    });
    EXPECT_TRUE(refused);
}
} // namespace
