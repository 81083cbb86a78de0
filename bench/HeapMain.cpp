// zolxml_heap [--corpus=FOLDER]
//
// The heap each library's tree of each document keeps once built, the peak
// while it is built, and the number of allocations that building makes,
// each measured in a fresh process. Prints
// "heap,<document>,<library>,<kept bytes>,<peak bytes>,<allocations>".
#include "CountingAllocator.h"
#include "Probes.h"

namespace
{
class HeapProbe final : public LoadProbe
{
public:
    void Loading() override
    {
        ResetHeapPeak();
        m_start = ReadHeapCounters();
    }

    void Loaded() override { m_loaded = ReadHeapCounters(); }
    void Destroyed() override {}

    std::vector<double> Figures() const
    {
        return {static_cast<double>(m_loaded.liveBytes - m_start.liveBytes),
                static_cast<double>(m_loaded.peakBytes - m_start.liveBytes),
                static_cast<double>(m_loaded.allocations - m_start.allocations)};
    }

private:
    HeapCounters m_start{};
    HeapCounters m_loaded{};
};

std::vector<double> Measure(const BenchLibrary& library, const CorpusDocument& document)
{
    HeapProbe probe;
    if (!library.loadOnce(document, probe))
        return {};
    return probe.Figures();
}
} // namespace

int main(int argc, char** argv)
{
    CountLayerBlocks();
    return RunProbeProgram(argc, argv, ProbeProgram{"heap", 1, {}, Measure});
}
