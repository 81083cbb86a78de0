// Builds a tree from the top down, as the reader and the archive loader read
// one: elements are opened below the current one and joined to their parent
// once closed, so that a failure anywhere frees exactly the elements still
// open (each with what was joined to it) and leaves what was closed in place.
// Trees of any depth are built on this explicit stack, never on the machine's.
#pragma once

#include "TreeWalk.h"
#include <ZOLXML/ZOLLibXML.h>

#include <memory>

// The one way a node is made and handed to what owns it: created with new,
// then given to file, which fills it and files it where something owns it
// (true), or finds it unwanted (false: it is destroyed and null returned).
// A node whose filling or filing fails by an exception (memory runs out, an
// archive ends) is destroyed too, never leaked.
template <class Node, class File>
Node* ZolCreateAndFile(CZOLLibXMLElement* pParent, LPCWSTR pszName, File&& file)
{
    std::unique_ptr<Node> node(new Node(pParent, pszName));
    if (!file(*node))
        return nullptr;
    return node.release();
}

class CZolTreeBuilder
{
public:
    // Fills root, which the caller owns; root is open from the start.
    explicit CZolTreeBuilder(CZOLLibXMLElement& root);
    CZolTreeBuilder(const CZolTreeBuilder&) = delete;
    CZolTreeBuilder& operator=(const CZolTreeBuilder&) = delete;
    // Destroys the elements still open below the root.
    ~CZolTreeBuilder();

    CZOLLibXMLElement& Current() const noexcept { return *m_open.back(); }
    // The elements open, the root among them.
    std::size_t OpenCount() const noexcept { return m_open.size(); }

    // A new child of the current element, now the current one.
    CZOLLibXMLElement& Open();
    // Joins the current element to its parent, which becomes current again;
    // false when the current one is the root, which is then done.
    bool Close();

    // The fields a reader fills.
    static CString& Name(CZOLLibXMLNode& node) noexcept { return node.m_name; }
    static CString& Value(CZOLLibXMLNode& node) noexcept { return node.m_value; }

    // Files an attribute under the key of its name: it displaces (and
    // destroys) one filed under the same key before.
    static void FileAttribute(CZOLLibXMLElement& element, CZOLLibXMLAttribute& attribute)
    {
        element.FileAttribute(&attribute);
    }

    // Attributes read but not filed yet, owned until they are, with their keys.
    struct PendingAttribute
    {
        std::unique_ptr<CZOLLibXMLAttribute> attribute;
        CString key;
    };
    // Files them in order, making room for them all at once, as FileAttribute does.
    static void FileAttributes(CZOLLibXMLElement& element, ZolStack<PendingAttribute>& attributes);

private:
    ZolStack<CZOLLibXMLElement*> m_open;
};
