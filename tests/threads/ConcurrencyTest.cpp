// Different trees may be used on different threads at once, and a tree built
// on one thread may be freed on another; copies of a string, which share
// their buffer, may live on different threads. These are the tests of the
// sharing of strings, and of the allocator behind trees and strings
// (afx/core/AfxPool.h) as threads use it.
#include <afx/core/AfxPool.h>
#include <ZOLXML/ZOLLibXML.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace
{
constexpr int kThreads = 4;

std::string Document(int nSeed)
{
    std::string text = "<?xml version=\"1.0\"?><root n='" + std::to_string(nSeed) + "'>";
    for (int i = 0; i < 300; ++i)
        text += "<item id='i" + std::to_string(i) + "' name='Caf\xC3\xA9 &amp; " + std::to_string(nSeed) +
                "'>text " + std::to_string(i) + "<sub/></item>";
    return text + "</root>";
}

CZOLLibXMLElement* Load(std::string text)
{
    return CZOLLibXMLElement::FromBytes(reinterpret_cast<BYTE*>(&text[0]), static_cast<DWORD>(text.size()), 1);
}

TEST(Concurrency, ThreadsParseCopyAndFreeTreesAtOnce)
{
    std::atomic<int> nFailures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
    {
        threads.emplace_back([t, &nFailures] {
            for (int round = 0; round < 20; ++round)
            {
                CZOLLibXMLElement* pRoot = Load(Document(t * 100 + round));
                CZOLLibXMLElement* pCopy = pRoot != nullptr ? pRoot->Clone(nullptr) : nullptr;
                if (pCopy == nullptr || !pRoot->Equals(pCopy) || pCopy->GetElementCount() != 300)
                    ++nFailures;
                const CString text = pCopy != nullptr ? pCopy->ToString(1, 0) : CString();
                pRoot->Delete();
                CZOLLibXMLElement* pAgain = CZOLLibXMLElement::FromString(text, 1);
                if (pAgain == nullptr || !pAgain->Equals(pCopy))
                    ++nFailures;
                pAgain->Delete();
                pCopy->Delete();
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(0, nFailures.load());
}

TEST(Concurrency, TreesBuiltOnOneThreadAreFreedOnAnother)
{
    std::vector<CZOLLibXMLElement*> trees(kThreads * 4, nullptr);
    {
        std::vector<std::thread> builders;
        for (int t = 0; t < kThreads; ++t)
            builders.emplace_back([t, &trees] {
                for (int i = 0; i < 4; ++i)
                    trees[static_cast<std::size_t>(t * 4 + i)] = Load(Document(t * 4 + i));
            });
        for (std::thread& thread : builders)
            thread.join();
    }
    for (CZOLLibXMLElement* pTree : trees)
        ASSERT_NE(nullptr, pTree);
    // Each thread frees the trees another one built, while building more.
    std::vector<std::thread> freers;
    for (int t = 0; t < kThreads; ++t)
        freers.emplace_back([t, &trees] {
            const int nOther = (t + 1) % kThreads;
            for (int i = 0; i < 4; ++i)
            {
                trees[static_cast<std::size_t>(nOther * 4 + i)]->Delete();
                Load(Document(i))->Delete();
            }
        });
    for (std::thread& thread : freers)
        thread.join();
    // The threads have ended; what they held goes back.
    AfxPoolTrim();
}

TEST(Concurrency, CopiesOfAStringLiveOnManyThreads)
{
    const CString shared(u"a string long enough to live in a buffer of its own");
    std::vector<std::thread> threads;
    std::atomic<int> nWrong{0};
    for (int t = 0; t < kThreads; ++t)
    {
        threads.emplace_back([&shared, &nWrong] {
            for (int i = 0; i < 10000; ++i)
            {
                CString copy = shared;
                CString other(copy);
                other.SetAt(0, u'A'); // a change is the changer's own
                if (copy != shared || other[0] != u'A' || shared[0] != u'a')
                    ++nWrong;
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(0, nWrong.load());
}
} // namespace
