#include "TreeBuilder.h"

CZolTreeBuilder::CZolTreeBuilder(CZOLLibXMLElement& root)
{
    m_open.push_back(&root);
}

CZolTreeBuilder::~CZolTreeBuilder()
{
    // Each open element below the root is a tree of its own until closed.
    for (std::size_t i = m_open.size(); i-- > 1;)
        delete m_open[i];
}

CZOLLibXMLElement& CZolTreeBuilder::Open()
{
    return *ZolCreateAndFile<CZOLLibXMLElement>(&Current(), nullptr, [this](CZOLLibXMLElement& child) {
        m_open.push_back(&child);
        return true;
    });
}

bool CZolTreeBuilder::Close()
{
    if (m_open.size() == 1)
    {
        m_open.pop_back();
        return false;
    }
    CZOLLibXMLElement* pChild = m_open.back();
    // Joining may fail for memory: the child stays open, so it is freed with the rest.
    m_open[m_open.size() - 2]->m_elements.AddTail(pChild);
    m_open.pop_back();
    return true;
}

void CZolTreeBuilder::FileAttributes(CZOLLibXMLElement& element, ZolStack<PendingAttribute>& attributes)
{
    element.m_attributes.InitHashTable(static_cast<UINT>(element.m_attributes.GetCount() + attributes.size()));
    for (PendingAttribute& pending : attributes)
    {
        element.FileAttribute(pending.attribute.get(), pending.key);
        pending.attribute.release();
    }
    attributes.clear();
}
