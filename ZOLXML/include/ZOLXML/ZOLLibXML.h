// ZOLXML: an in-memory XML document model with a reader, a compact writer,
// deep copy, comparison, word gathering and a binary archive form.
#pragma once

// What the declarations need of the platform layer, and the exceptions the
// calls raise; archives and files have headers of their own.
#include <afx/core/AfxExceptions.h>
#include <afx/core/AfxMapStringToPtr.h>
#include <afx/core/AfxPtrList.h>
#include <afx/core/AfxString.h>
#include <afx/core/AfxTypes.h>

#include <cstddef>

#if defined(_WIN32)
#  if defined(ZOLXML_BUILD)
#    define ZOLXML_API __declspec(dllexport)
#  else
#    define ZOLXML_API __declspec(dllimport)
#  endif
#else
#  define ZOLXML_API __attribute__((visibility("default")))
#endif

class CArchive;
class CZOLLibXMLElement;
class CZOLLibXMLAttribute;

enum ZXMLNodeType : int
{
    ZXML_NODE = 0,
    ZXML_ELEMENT = 1,
    ZXML_ATTRIBUTE = 2
};

class ZOLXML_API CZOLLibXMLNode
{
    friend class CZOLLibXMLElement;
    friend class CZOLLibXMLAttribute;
    friend class CZolTreeBuilder;

public:
    CZOLLibXMLNode(CZOLLibXMLElement* pParent = nullptr, LPCWSTR pszName = nullptr);
    CZOLLibXMLNode(const CZOLLibXMLNode& node);
    CZOLLibXMLNode& operator=(const CZOLLibXMLNode& node);
    virtual ~CZOLLibXMLNode();

    // Nodes come from the platform layer's pool, so that exhaustion raises
    // CMemoryException* like every other allocation of the library.
    static void* operator new(std::size_t nSize);
    static void operator delete(void* p, std::size_t nSize) noexcept;

    ZXMLNodeType GetType() const;
    CZOLLibXMLNode* AsNode() const;
    CZOLLibXMLElement* AsElement() const;
    CZOLLibXMLAttribute* AsAttribute() const;
    CZOLLibXMLElement* GetParent() const;

    CString GetName() const;
    void SetName(LPCWSTR pszName);
    // 1 when the name equals pszName ignoring case; 0 through a null object.
    int IsNamed(LPCWSTR pszName) const;
    CString GetValue() const;
    void SetValue(LPCWSTR pszValue);

    // Unlinks the node from its element and destroys it; nothing through a null object.
    void Delete();

    // Reading: decodes a span of raw text (references, white space) into a value.
    static CString StringToValue(LPCWSTR& pszCursor, int nLength);

    // Writing: appends the escaped form of a value to strOut.
    static void ValueToString(LPCWSTR pszValue, CString& strOut);
    // Trims, collapses white space and control characters, drops most punctuation.
    static void UniformString(CString& str);

protected:
    // Scanner steps: on success move the cursor and return 1, else 0 and leave it.
    static int ParseMatch(LPCWSTR& pszCursor, LPCWSTR pszToken);
    static int ParseIdentifier(LPCWSTR& pszCursor, CString& strName);

    // Stores or loads the name, then the value.
    void Serialize(CArchive& ar);

    ZXMLNodeType m_type;
    CZOLLibXMLElement* m_parent;
    CString m_name;
    CString m_value;
};

class ZOLXML_API CZOLLibXMLAttribute : public CZOLLibXMLNode
{
public:
    CZOLLibXMLAttribute(CZOLLibXMLElement* pParent, LPCWSTR pszName);
    CZOLLibXMLAttribute(const CZOLLibXMLAttribute& attribute);
    CZOLLibXMLAttribute& operator=(const CZOLLibXMLAttribute& attribute);

    CZOLLibXMLAttribute* Clone(CZOLLibXMLElement* pNewParent) const;
    int Equals(const CZOLLibXMLAttribute* pOther) const;

    // Reads name = "value" at the cursor.
    int ParseString(LPCWSTR& pszCursor);
    // Appends name="escaped value".
    void ToString(CString& strOut) const;
    void Serialize(CArchive& ar);

    static const WCHAR* const xmlnsSchema;
    static const WCHAR* const xmlnsInstance;
    static const WCHAR* const schemaName;
};

class ZOLXML_API CZOLLibXMLElement : public CZOLLibXMLNode
{
public:
    CZOLLibXMLElement(CZOLLibXMLElement* pParent = nullptr, LPCWSTR pszName = nullptr);
    CZOLLibXMLElement(const CZOLLibXMLElement&) = delete;
    CZOLLibXMLElement& operator=(const CZOLLibXMLElement&) = delete;
    ~CZOLLibXMLElement() override;

    // Children.
    CZOLLibXMLElement* AddElement(LPCWSTR pszName);
    CZOLLibXMLElement* AddElement(CZOLLibXMLElement* pElement);
    int GetElementCount() const;
    CZOLLibXMLElement* GetFirstElement() const;
    POSITION GetElementIterator() const { return m_elements.GetHeadPosition(); }
    CZOLLibXMLElement* GetNextElement(POSITION& pos) const
    {
        return static_cast<CZOLLibXMLElement*>(m_elements.GetNext(pos));
    }
    CZOLLibXMLElement* GetElementByName(LPCWSTR pszName) const;
    CZOLLibXMLElement* GetElementByName(LPCWSTR pszName, int bCreate);
    void RemoveElement(CZOLLibXMLElement* pElement);
    CZOLLibXMLElement* Detach();
    void DeleteAllElements();

    // Attributes, keyed by their lower-cased names.
    CZOLLibXMLAttribute* AddAttribute(LPCWSTR pszName, LPCWSTR pszValue);
    CZOLLibXMLAttribute* AddAttribute(CZOLLibXMLAttribute* pAttribute);
    int GetAttributeCount() const;
    POSITION GetAttributeIterator() const { return m_attributes.GetStartPosition(); }
    CZOLLibXMLAttribute* GetNextAttribute(POSITION& pos) const
    {
        return static_cast<CZOLLibXMLAttribute*>(m_attributes.GetNextPair(pos)->value);
    }
    CZOLLibXMLAttribute* GetAttribute(LPCWSTR pszName) const;
    CString GetAttributeValue(LPCWSTR pszName, LPCWSTR pszDefault = nullptr) const;
    void RemoveAttribute(CZOLLibXMLAttribute* pAttribute);
    void DeleteAttribute(LPCWSTR pszName);
    void DeleteAllAttributes();

    // Copy, comparison and word gathering.
    CZOLLibXMLElement* Clone(CZOLLibXMLElement* pNewParent) const;
    int Equals(const CZOLLibXMLElement* pOther) const;
    CString GetRecursiveWords() const;
    void AddRecursiveWords(CString& strWords) const;

    // Reading.
    int ParseString(LPCWSTR& pszCursor);
    static CZOLLibXMLElement* FromString(LPCWSTR pszText, int requireDeclaration);
    static CZOLLibXMLElement* FromBytes(BYTE* pBytes, DWORD nCount, int requireDeclaration);
    static CZOLLibXMLElement* FromFile(LPCWSTR pszPath, int requireDeclaration);
    static CZOLLibXMLElement* FromFile(HANDLE hFile, int requireDeclaration);

    // Writing: the document form returns new text; the element form appends.
    CString ToString(int bDeclaration, int bLineBreaks) const;
    void ToString(CString& strOut, int bLineBreaks) const;

    // Archive record of the whole subtree.
    void Serialize(CArchive& ar);

protected:
    friend class CZolTreeBuilder;

    // Enters an attribute under its lower-cased name (or the key given) and
    // links it to this element; an attribute it displaces from that key is
    // destroyed.
    CZOLLibXMLAttribute* FileAttribute(CZOLLibXMLAttribute* pAttribute);
    CZOLLibXMLAttribute* FileAttribute(CZOLLibXMLAttribute* pAttribute, const CString& key);

    CPtrList m_elements;
    CMapStringToPtr m_attributes;
};
