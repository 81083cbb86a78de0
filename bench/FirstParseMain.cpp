// zolxml_first_parse [--corpus=FOLDER]
//
// The speed of the first parse in a fresh process, as a program that loads
// one file sees it: ZOLXML and pugixml, each document, each in processes of
// their own, the median of several. Prints
// "first-parse,<document>,<library>,<bytes per second>".
#include "Probes.h"

#include <chrono>

namespace
{
class ClockProbe final : public LoadProbe
{
public:
    void Loading() override { m_start = std::chrono::steady_clock::now(); }
    void Loaded() override { m_loaded = std::chrono::steady_clock::now(); }
    void Destroyed() override {}

    double Seconds() const { return std::chrono::duration<double>(m_loaded - m_start).count(); }

private:
    std::chrono::steady_clock::time_point m_start;
    std::chrono::steady_clock::time_point m_loaded;
};

std::vector<double> Measure(const BenchLibrary& library, const CorpusDocument& document)
{
    ClockProbe probe;
    if (!library.loadOnce(document, probe))
        return {};
    return {static_cast<double>(document.bytes.size()) / probe.Seconds()};
}
} // namespace

int main(int argc, char** argv)
{
    return RunProbeProgram(argc, argv, ProbeProgram{"first-parse", 9, {"ZOLXML", "pugixml"}, Measure});
}
