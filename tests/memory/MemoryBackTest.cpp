// A thread that freed its trees and stays alive holds no memory for good:
// AfxPoolTrim(), called on another thread, gives the pages back, so that
// the resident set returns near where it was before the trees were made.
#include "MemoryTestSupport.h"

#include <afx/core/AfxPool.h>

#include <gtest/gtest.h>

#if defined(__linux__)

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

#include <unistd.h>

namespace
{
// The trees of a 2 MiB document, about 12 MiB apiece: some 300 MiB.
constexpr int kTrees = 24;
constexpr std::size_t kMiB = std::size_t{1} << 20;

std::size_t ResidentBytes()
{
    long nPages = 0;
    long nResident = 0;
    if (FILE* pFile = std::fopen("/proc/self/statm", "r"))
    {
        if (std::fscanf(pFile, "%ld %ld", &nPages, &nResident) != 2)
            nResident = 0;
        std::fclose(pFile);
    }
    return static_cast<std::size_t>(nResident) * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

// One hand-over at a time between the test and its worker.
class Turns
{
public:
    void Say(int nStep)
    {
        const std::lock_guard<std::mutex> guard(m_lock);
        m_nStep = nStep;
        m_changed.notify_all();
    }
    void Await(int nStep)
    {
        std::unique_lock<std::mutex> guard(m_lock);
        m_changed.wait(guard, [&] { return m_nStep >= nStep; });
    }

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    int m_nStep = 0;
};

TEST(MemoryBack, TrimOnAnotherThreadGivesBackWhatAnIdleThreadFreed)
{
#if defined(ZOL_SANITIZER_HEAP)
    GTEST_SKIP() << "the sanitizer's heap keeps freed blocks in quarantine";
#elif defined(ZOL_UNDER_EMULATION)
    GTEST_SKIP() << "the resident set is the emulator's";
#endif
    const std::string text = RecordsDocument(2048);
    AfxPoolTrim();
    const std::size_t nBefore = ResidentBytes();
    ASSERT_GT(nBefore, 0u);

    Turns turns;
    std::size_t nPeak = 0;
    // Builds the trees, frees them in shuffled order, and stays alive
    // without touching the layer again until the test is done.
    std::thread worker([&] {
        std::vector<CZOLLibXMLElement*> trees;
        for (int i = 0; i < kTrees; ++i)
            trees.push_back(LoadBytes(text));
        nPeak = ResidentBytes();
        std::shuffle(trees.begin(), trees.end(), std::mt19937(19));
        for (CZOLLibXMLElement* pTree : trees)
            if (pTree != nullptr)
                pTree->Delete();
        turns.Say(1);
        turns.Await(2);
    });
    turns.Await(1);
    const std::size_t nFreed = ResidentBytes();
    AfxPoolTrim();
    const std::size_t nAfter = ResidentBytes();
    turns.Say(2);
    worker.join();

    std::printf("resident MiB: before %zu, with the trees %zu, freed %zu, after AfxPoolTrim %zu\n",
                nBefore / kMiB, nPeak / kMiB, nFreed / kMiB, nAfter / kMiB);
    ASSERT_GT(nPeak, nBefore + kTrees * 8 * kMiB) << "the trees were not as large as the test needs";
    EXPECT_LE(nAfter, nBefore + 32 * kMiB);
}
} // namespace

#endif
