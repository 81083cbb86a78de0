#include "DocumentBenchmark.h"

std::vector<BenchLibrary> AllLibraries()
{
    return {ZolXmlLibrary(), PugiXmlLibrary(), TinyXml2Library(), RapidXmlLibrary(), LibXml2Library(), ExpatLibrary()};
}
