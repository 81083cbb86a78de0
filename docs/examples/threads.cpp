// Threads: different trees on different threads at once; one tree on one
// thread at a time; copies of a CString shared freely.
#include <ZOLXML/ZOLLibXML.h>

#include "ExampleOutput.h"

#include <atomic>
#include <thread>
#include <vector>

int main()
{
    // One text, copied into every thread: the copies share one buffer
    // until one of them changes.
    const CString text(u"<order id='1'><line qty='2'>tea</line><line qty='1'>cake</line></order>");

    std::atomic<int> nFaults{0};
    std::vector<std::thread> workers;
    for (int t = 0; t < 4; ++t)
    {
        workers.emplace_back([text, &nFaults] {
            for (int i = 0; i < 200; ++i)
            {
                // This thread's own trees, read, changed, copied and written.
                CZOLLibXMLElement* pOrder = CZOLLibXMLElement::FromString(text, 0);
                pOrder->AddElement(u"note")->SetValue(u"thread");
                CZOLLibXMLElement* pCopy = pOrder->Clone(nullptr);
                if (pCopy->Equals(pOrder) != 1 || pCopy->ToString(0, 0) != pOrder->ToString(0, 0))
                    ++nFaults;
                pCopy->Delete();
                pOrder->Delete();
            }
        });
    }
    for (std::thread& worker : workers)
        worker.join();

    // A tree may move to another thread, when the two take turns: here the
    // thread starts after the tree is built and is joined before it is used
    // again.
    CZOLLibXMLElement* pOrder = CZOLLibXMLElement::FromString(text, 0);
    std::thread([pOrder] { pOrder->AddElement(u"note")->SetValue(u"added on another thread"); }).join();
    PrintLine("", pOrder->GetRecursiveWords());
    pOrder->Delete();

    std::printf("faults: %d\n", nFaults.load());
    return nFaults == 0 ? 0 : 1;
}
