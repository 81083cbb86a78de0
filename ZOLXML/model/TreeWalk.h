// Depth-first walks over element trees on an explicit stack, so that a tree
// of any depth is visited without recursion on the machine stack.
#pragma once

#include <ZOLXML/ZOLLibXML.h>
#include <afx/core/AfxAllocator.h>

#include <vector>

template <class T>
using ZolStack = std::vector<T, CAfxAllocator<T>>;

// Calls enter(element) before an element's children and leave(element) after
// them, children in list order, starting with root itself.
template <class Enter, class Leave>
void ZolWalkTree(const CZOLLibXMLElement& root, Enter&& enter, Leave&& leave)
{
    struct Frame
    {
        const CZOLLibXMLElement* element;
        POSITION next;
    };
    ZolStack<Frame> stack;
    enter(root);
    stack.push_back(Frame{&root, root.GetElementIterator()});
    while (!stack.empty())
    {
        Frame& top = stack.back();
        if (top.next != nullptr)
        {
            const CZOLLibXMLElement* child = top.element->GetNextElement(top.next);
            enter(*child);
            stack.push_back(Frame{child, child->GetElementIterator()});
        }
        else
        {
            leave(*top.element);
            stack.pop_back();
        }
    }
}

// Calls visit(attribute) for each attribute of element in enumeration order.
template <class Visit>
void ZolForEachAttribute(const CZOLLibXMLElement& element, Visit&& visit)
{
    POSITION pos = element.GetAttributeIterator();
    while (pos != nullptr)
        visit(*element.GetNextAttribute(pos));
}
