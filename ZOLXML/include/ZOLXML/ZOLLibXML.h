/// @file
/// ZOLXML: an in-memory XML document model with a reader, a compact and an
/// indented writer, saving to files, deep copy, comparison, word gathering
/// and a binary archive form.
///
/// A document is a tree of CZOLLibXMLElement objects. Each element has a
/// name, one text value, an ordered list of child elements and a set of
/// CZOLLibXMLAttribute objects addressed by name without regard to case.
///
/// Ownership: the caller owns every root element that FromString(),
/// FromBytes(), FromFile() or Clone() returns, and every node that no element
/// holds; it frees a tree with CZOLLibXMLNode::Delete(). An element owns its
/// children and attributes and destroys them with itself.
///
/// Failures: lookups and loads answer with null, int results with 0, text
/// results with an empty string. Exhaustion of memory raises
/// CMemoryException* (exceptions are thrown as pointers: catch them as
/// `catch (CException* e) { ...; e->Delete(); }`), except while a document
/// is read: FromString(), FromBytes() and FromFile() answer null when memory
/// runs out as they build the tree, and the latter two raise only when the
/// copy of their input (a file's bytes, a UTF-16 text) cannot be held. A
/// short archive raises CArchiveException*, a file that cannot be saved
/// CFileException*.
///
/// Depth: no operation recurses on the machine stack, so trees of any depth
/// are read, written, copied, compared, archived and destroyed on a small
/// stack.
///
/// Threads: different trees may be used on different threads at once, and a
/// tree built on one thread may be used or freed on another; one tree is
/// used by one thread at a time. Copies of a CString, which share their
/// buffer until one is changed, may live on different threads.
#pragma once

// What the declarations need of the platform layer, and the exceptions the
// calls raise; archives and files have headers of their own.
#include <afx/core/AfxExceptions.h>
#include <afx/core/AfxMapStringToPtr.h>
#include <afx/core/AfxPtrList.h>
#include <afx/core/AfxString.h>
#include <afx/core/AfxTypes.h>

#include <cstddef>

/// @cond
// The export marker of the library's classes; no part of the interface.
#if defined(_WIN32)
#  if defined(ZOLXML_BUILD)
#    define ZOLXML_API __declspec(dllexport)
#  else
#    define ZOLXML_API __declspec(dllimport)
#  endif
#else
#  define ZOLXML_API __attribute__((visibility("default")))
#endif
/// @endcond

class CArchive;
class CZOLLibXMLElement;
class CZOLLibXMLAttribute;

/// The kind of a node.
enum ZXMLNodeType : int
{
    ZXML_NODE = 0,     ///< a bare node, made only by constructing CZOLLibXMLNode itself
    ZXML_ELEMENT = 1,  ///< an element
    ZXML_ATTRIBUTE = 2 ///< an attribute
};

/// Why a document did not load: the reason a CZOLLibXMLLoadReport gives.
///
/// The values from ::ZXML_LOAD_CDATA_SECTION to
/// ::ZXML_LOAD_DECLARATION_SPELLING name well-formed XML that this reader
/// does not read: the document is not broken (see
/// CZOLLibXMLLoadReport::IsNotReadByDesign()).
enum ZXMLLoadError : int
{
    ZXML_LOAD_OK = 0, ///< the document loaded

    // The document is not well-formed, or not as this reader needs it.
    ZXML_LOAD_NO_INPUT = 1,                 ///< a null text or byte buffer was given
    ZXML_LOAD_MISSING_DECLARATION = 2,      ///< the declaration was demanded and is not there
    ZXML_LOAD_UNTERMINATED_DECLARATION = 3, ///< the text ends inside the XML declaration
    ZXML_LOAD_UNTERMINATED_COMMENT = 4,     ///< the text ends inside a comment
    ZXML_LOAD_UNTERMINATED_DOCTYPE = 5,     ///< the text ends inside the document type declaration
    ZXML_LOAD_MISSING_ROOT = 6,             ///< the text ends before the root element
    ZXML_LOAD_EXPECTED_ROOT = 7,            ///< something other than "<" stands where the root element starts
    ZXML_LOAD_INVALID_NAME_START = 8,       ///< a character that cannot start a name follows "<"
    ZXML_LOAD_EXPECTED_TAG_END = 9,         ///< a start tag goes on with neither an attribute nor ">" or "/>"
    ZXML_LOAD_EXPECTED_EQUALS = 10,         ///< an attribute's name is not followed by "="
    ZXML_LOAD_UNQUOTED_VALUE = 11,          ///< an attribute's value does not start with a quote
    ZXML_LOAD_UNTERMINATED_VALUE = 12,      ///< the text ends inside an attribute's value
    ZXML_LOAD_UNTERMINATED_TAG = 13,        ///< the text ends inside a start or closing tag
    ZXML_LOAD_INVALID_REFERENCE = 14,       ///< "&#" is followed by no digit
    ZXML_LOAD_MISMATCHED_CLOSING_TAG = 15,  ///< a closing tag names another element than the one open
    ZXML_LOAD_UNEXPECTED_CLOSING_TAG = 16,  ///< a closing tag stands where the root element starts
    ZXML_LOAD_EXPECTED_CLOSING_TAG_END = 17, ///< a closing tag's name is followed by something other than ">"
    ZXML_LOAD_UNCLOSED_ELEMENT = 18,        ///< the text ends inside an element's content
    ZXML_LOAD_UNTERMINATED_PROCESSING_INSTRUCTION = 19, ///< the standard reading: the text ends inside a processing instruction
    ZXML_LOAD_UNTERMINATED_CDATA_SECTION = 20, ///< the standard reading: the text ends inside a CDATA section
    ZXML_LOAD_FORBIDDEN_REFERENCE = 21,     ///< the standard reading: a reference to 0, a lone surrogate or beyond U+10FFFF
    ZXML_LOAD_UNSUPPORTED_ENCODING = 22,    ///< the standard reading: the declaration names an encoding it does not read

    // Well-formed XML that this reader does not read.
    ZXML_LOAD_CDATA_SECTION = 32,           ///< a CDATA section
    ZXML_LOAD_PROCESSING_INSTRUCTION = 33,  ///< a processing instruction other than the leading declaration
    ZXML_LOAD_HEX_REFERENCE = 34,           ///< a hexadecimal character reference, "&#x41;"
    ZXML_LOAD_DOCTYPE_INTERNAL_SUBSET = 35, ///< a document type declaration with an internal subset
    ZXML_LOAD_NAME_PUNCTUATION = 36,        ///< "-" or "." within a name
    ZXML_LOAD_SPACE_IN_CLOSING_TAG = 37,    ///< white space before the ">" of a closing tag
    ZXML_LOAD_DECLARATION_SPELLING = 38,    ///< an XML declaration not spelled `<?xml version="`

    // The input could not be had.
    ZXML_LOAD_CANNOT_OPEN = 64,  ///< the file cannot be opened; CZOLLibXMLLoadReport::m_dwOsError says why
    ZXML_LOAD_TOO_LARGE = 65,    ///< the file holds more than 4,194,304 bytes; CZOLLibXMLLoadReport::m_nFileSize
    ZXML_LOAD_READ_FAILED = 66,  ///< the file cannot be read; CZOLLibXMLLoadReport::m_dwOsError says why
    ZXML_LOAD_OUT_OF_MEMORY = 67 ///< memory ran out while the document was read
};

/// Options of a reading, for CZOLLibXMLLoadReport::m_dwReadOptions.
enum ZXMLReadOption : DWORD
{
    /// Reads XML as other programs write it, beside what the default reading
    /// reads: names as XML 1.0 spells them ("-", "." and the rest), CDATA
    /// sections (their text joins the value as any text does, white space
    /// collapsed, no reference replaced), hexadecimal character references,
    /// processing instructions anywhere (skipped), the XML declaration in
    /// any spelling and, for bytes and files, the encoding it names (UTF-8,
    /// UTF-16, ISO-8859-1, US-ASCII, windows-1252), a document type with an
    /// internal subset (skipped whole; its entities are not expanded), and
    /// white space before the ">" of a closing tag. References to characters
    /// that XML forbids are refused. Everything else is read as by default.
    ZXML_READ_STANDARD = 0x1
};

/// What became of a load: the reason, the place and a message in English.
///
/// Pass one to the forms of FromString(), FromBytes() and FromFile() that take
/// it; they fill it whether or not the document loads. A document that loads
/// costs nothing more with a report than without; the place of a failure is
/// worked out only once the reader has failed.
///
/// Before the call, the caller may set m_dwReadOptions to ask for another
/// reading (::ZXML_READ_STANDARD); the call keeps it.
///
/// The place is that of the first unit that cannot be read: where the reader
/// first knows that the document cannot be read (for a text that ends too
/// early, its end). Lines and columns count from 1 in characters; CR LF, CR
/// and LF each end a line, and a tab is one column.
class ZOLXML_API CZOLLibXMLLoadReport
{
public:
    /// A report saying ::ZXML_LOAD_OK, with no place, for a reading with the
    /// options given (a combination of ::ZXMLReadOption values).
    explicit CZOLLibXMLLoadReport(DWORD dwReadOptions = 0);

    /// Back to the state of a new report; the reading options stay.
    void Reset();
    /// 1 when the document loaded, else 0.
    int IsLoaded() const;
    /// 1 when the reason is well-formed XML that this reader does not read
    /// (::ZXML_LOAD_CDATA_SECTION to ::ZXML_LOAD_DECLARATION_SPELLING): the
    /// document is not broken. Else 0.
    int IsNotReadByDesign() const;
    /// 1 when the report has a place in the text (every reason of the text
    /// itself), 0 for ::ZXML_LOAD_OK, ::ZXML_LOAD_NO_INPUT and the reasons
    /// of the input as a whole.
    int HasPlace() const;

    DWORD m_dwReadOptions; ///< the reading asked for: a combination of ::ZXMLReadOption values, 0 by default

    ZXMLLoadError m_error; ///< why the document did not load, or ::ZXML_LOAD_OK
    CString m_strMessage;  ///< what was found and what was expected; empty when it loaded

    int m_nLine;            ///< the line of the place, from 1; 0 when there is none
    int m_nColumn;          ///< the column of the place, from 1 in characters; 0 when there is none
    ULONGLONG m_nOffset;    ///< the place's offset: UTF-16 units for text, bytes for byte and file input
    CString m_strLineText;  ///< the text of the place's line, without its line break

    /// Where the element that a mismatched closing tag should have closed
    /// opened (for ::ZXML_LOAD_MISMATCHED_CLOSING_TAG and
    /// ::ZXML_LOAD_UNCLOSED_ELEMENT), or where the unterminated comment or
    /// value began; 0 when there is no such place.
    int m_nOpenedLine;
    int m_nOpenedColumn;     ///< the column of that place; 0 when there is none
    ULONGLONG m_nOpenedOffset; ///< the offset of that place, in the units of m_nOffset

    DWORD m_dwOsError;     ///< the system's error code for ::ZXML_LOAD_CANNOT_OPEN and ::ZXML_LOAD_READ_FAILED
    ULONGLONG m_nFileSize; ///< the file's size in bytes for ::ZXML_LOAD_TOO_LARGE
};

/// The base of elements and attributes: a kind, a parent link, a name and a
/// value.
///
/// The parent link never owns: it names the element a node belongs to, but a
/// node may carry a link to an element that does not hold it (after the
/// constructors that take a parent, after Clone() with a parent, after
/// CZOLLibXMLElement::RemoveElement() or CZOLLibXMLElement::RemoveAttribute(),
/// after copying a node). Names and values are UTF-16 strings; a null string
/// given for either makes it empty.
class ZOLXML_API CZOLLibXMLNode
{
    friend class CZOLLibXMLElement;
    friend class CZOLLibXMLAttribute;
    friend class CZolTreeBuilder;
    friend class CZolTextWriter;

public:
    /// A node of kind ::ZXML_NODE with the given parent link and name (empty
    /// when null) and an empty value. It is entered nowhere.
    CZOLLibXMLNode(CZOLLibXMLElement* pParent = nullptr, LPCWSTR pszName = nullptr);
    /// Copies kind, parent link, name and value; the copy is entered nowhere.
    /// The strings' buffers are shared, not copied.
    CZOLLibXMLNode(const CZOLLibXMLNode& node);
    /// Copies all four fields, the kind included. If copying fails for
    /// memory, the node keeps its old kind and link.
    CZOLLibXMLNode& operator=(const CZOLLibXMLNode& node);
    /// Releases the value and the name; does not touch the parent link. Free
    /// a node that an element holds with Delete(), which unlinks it first.
    virtual ~CZOLLibXMLNode();

    /// Nodes come from the platform layer's pool, so that exhaustion raises
    /// CMemoryException* like every other allocation of the library. Create
    /// nodes with new.
    static void* operator new(std::size_t nSize);
    /// Gives a node's storage back to the pool; destroy nodes with Delete().
    static void operator delete(void* p, std::size_t nSize) noexcept;

    /// The kind of the node.
    ZXMLNodeType GetType() const;
    /// This node.
    CZOLLibXMLNode* AsNode() const;
    /// This node as an element, or null when it is no element.
    CZOLLibXMLElement* AsElement() const;
    /// This node as an attribute, or null when it is no attribute.
    CZOLLibXMLAttribute* AsAttribute() const;
    /// The parent link, which may name an element that does not hold the node.
    CZOLLibXMLElement* GetParent() const;

    /// A copy of the name, in the case in which it was given. It shares the
    /// name's buffer: no allocation.
    CString GetName() const;
    /// Sets the name (empty when null). An attribute held by an element is
    /// not filed again: it stays under the key of its old name.
    void SetName(LPCWSTR pszName);
    /// 1 when the name equals pszName ignoring case, else 0; 0 when called
    /// through a null object pointer.
    int IsNamed(LPCWSTR pszName) const;
    /// A copy of the value, sharing its buffer: no allocation.
    CString GetValue() const;
    /// Sets the value (empty when null).
    void SetValue(LPCWSTR pszValue);

    /// Unlinks the node from the element that holds it and destroys it, with
    /// its whole subtree for an element. Does nothing when called through a
    /// null object pointer.
    void Delete();

    /// Decodes a span of raw text into a value: references replaced
    /// ("&amp;", "&lt;", "&gt;", "&quot;", "&apos;", "&nbsp;" for a space, in
    /// any case of their letters, and decimal "&#nnn;"), white space
    /// collapsed to single spaces and dropped at the start. The span is the
    /// nLength units at the cursor, ended earlier by a NUL; nothing beyond it
    /// is read. The cursor moves to the span's end, or stops on the
    /// character after "&#" that is no digit. A decimal reference to a
    /// character beyond U+FFFF gives its pair of surrogates; any other number
    /// gives one unit, modulo 65536.
    static CString StringToValue(LPCWSTR& pszCursor, int nLength);

    /// Appends the escaped form of pszValue, up to its first NUL, to strOut:
    /// "&", "<", ">", '"' and "'" as entities and every unit above 0x7F as a
    /// decimal reference, so that the text is plain ASCII. A null value
    /// appends nothing. pszValue may lie in strOut's own buffer.
    static void ValueToString(LPCWSTR pszValue, CString& strOut);
    /// Makes str uniform for comparisons of words: trims it, turns each run
    /// of spaces and control characters into one space, and drops the
    /// punctuation below U+00C0 other than "'", "-", "&", "/", ",", ";", "#",
    /// "(" and ")".
    static void UniformString(CString& str);

protected:
    /// Skips markup white space (space, tab, CR, LF) and the token pszToken;
    /// 1 and the cursor moved behind the token when it stands there, else 0
    /// and the cursor unmoved. An empty or null token gives 0.
    static int ParseMatch(LPCWSTR& pszCursor, LPCWSTR pszToken);
    /// Skips markup white space and reads a name (letters and digits of any
    /// script, ":" and "_") into strName; 1 and the cursor moved behind it,
    /// else 0 with the cursor and strName unchanged.
    static int ParseIdentifier(LPCWSTR& pszCursor, CString& strName);

    /// Stores the name, then the value, in the archive's string form, or
    /// loads them; raises CArchiveException* when a load runs short.
    void Serialize(CArchive& ar);

    ZXMLNodeType m_type;         ///< the kind of the node
    CZOLLibXMLElement* m_parent; ///< the element the node belongs to, never owning
    CString m_name;              ///< the name, in the case in which it was given
    CString m_value;             ///< an element's text or an attribute's value
};

/// An attribute: a name and a value, filed by its element under the name
/// lower-cased (its key).
class ZOLXML_API CZOLLibXMLAttribute : public CZOLLibXMLNode
{
public:
    /// An attribute with the given parent link (possibly null) and name, and
    /// an empty value. The parent's attributes are not touched.
    CZOLLibXMLAttribute(CZOLLibXMLElement* pParent, LPCWSTR pszName);
    /// As the node's copy: the copy is filed nowhere.
    CZOLLibXMLAttribute(const CZOLLibXMLAttribute& attribute);
    /// As the node's assignment.
    CZOLLibXMLAttribute& operator=(const CZOLLibXMLAttribute& attribute);

    /// A new attribute with this one's name and value and the parent link
    /// pNewParent, filed nowhere; the caller owns it.
    CZOLLibXMLAttribute* Clone(CZOLLibXMLElement* pNewParent) const;
    /// 1 when pOther is this attribute, or has the same name and value
    /// (case counts); 0 otherwise, for a null pOther, or through a null
    /// object pointer.
    int Equals(const CZOLLibXMLAttribute* pOther) const;

    /// Reads `name = "value"` (or with apostrophes) at the cursor, markup
    /// white space allowed around the name and "=". The name becomes this
    /// attribute's as soon as it is read, even when the rest fails; the value
    /// is decoded as StringToValue() does. 1 and the cursor behind the
    /// closing quote, else 0.
    int ParseString(LPCWSTR& pszCursor);
    /// Appends `name="escaped value"` to strOut (see ValueToString()).
    void ToString(CString& strOut) const;
    /// Stores or loads the attribute's record: the name, then the value.
    void Serialize(CArchive& ar);

    /// The XML Schema namespace, for callers writing schema references.
    static const WCHAR* const xmlnsSchema;
    /// The XML Schema instance namespace, for callers writing schema references.
    static const WCHAR* const xmlnsInstance;
    /// "xsi:noNamespaceSchemaLocation".
    static const WCHAR* const schemaName;
};

/// An element: a name, a text value, child elements in order and attributes
/// addressed by name without regard to case. It owns its children and
/// attributes. Elements cannot be copied or assigned; Clone() copies them.
class ZOLXML_API CZOLLibXMLElement : public CZOLLibXMLNode
{
public:
    /// An element with the given parent link and name (empty when null), no
    /// children, no attributes and an empty value. The parent's children are
    /// not touched.
    CZOLLibXMLElement(CZOLLibXMLElement* pParent = nullptr, LPCWSTR pszName = nullptr);
    CZOLLibXMLElement(const CZOLLibXMLElement&) = delete;
    CZOLLibXMLElement& operator=(const CZOLLibXMLElement&) = delete;
    /// Destroys the children (each with its subtree) and the attributes.
    /// It does not unlink the element from an element that holds it: free a
    /// held element with Delete().
    ~CZOLLibXMLElement() override;

    /// Appends a new child of that name (empty when null) and returns it;
    /// names may repeat.
    CZOLLibXMLElement* AddElement(LPCWSTR pszName);
    /// Appends pElement, which this element then owns, and returns it. Null,
    /// and nothing changes, when pElement is null, carries a parent link, or
    /// is the root of this element's tree (an element is never added below
    /// itself).
    CZOLLibXMLElement* AddElement(CZOLLibXMLElement* pElement);
    /// The number of children.
    int GetElementCount() const;
    /// The first child; null when there is none, or through a null object
    /// pointer.
    CZOLLibXMLElement* GetFirstElement() const;
    /// A cursor on the first child; null when there is none.
    POSITION GetElementIterator() const { return m_elements.GetHeadPosition(); }
    /// The child at the cursor, which moves on to the next (null after the
    /// last). A null cursor raises CInvalidArgException*. Deleting the child
    /// just returned leaves the cursor valid.
    CZOLLibXMLElement* GetNextElement(POSITION& pos) const
    {
        return static_cast<CZOLLibXMLElement*>(m_elements.GetNext(pos));
    }
    /// The first child, in order, whose name equals pszName ignoring case;
    /// null when none does.
    CZOLLibXMLElement* GetElementByName(LPCWSTR pszName) const;
    /// The same; when none matches and bCreate is nonzero, a new last child
    /// of that name.
    CZOLLibXMLElement* GetElementByName(LPCWSTR pszName, int bCreate);
    /// Takes pElement out of the children when this element holds it; frees
    /// nothing and leaves the child's parent link as it was.
    void RemoveElement(CZOLLibXMLElement* pElement);
    /// Takes this element out of its parent's children and clears its parent
    /// link; returns this element, which the caller then owns.
    CZOLLibXMLElement* Detach();
    /// Destroys every child, first to last, each with its subtree.
    void DeleteAllElements();

    /// The attribute under pszName's key, its value set to pszValue unless
    /// that is null. A new attribute (created when there is none under that
    /// key) takes the name in the case given; an existing one keeps its own.
    CZOLLibXMLAttribute* AddAttribute(LPCWSTR pszName, LPCWSTR pszValue);
    /// Files pAttribute under its name's key and links it to this element,
    /// which then owns it; returns it. An attribute it displaces from that
    /// key is destroyed. Null, and nothing changes, when pAttribute is null or
    /// carries a parent link.
    CZOLLibXMLAttribute* AddAttribute(CZOLLibXMLAttribute* pAttribute);
    /// The number of attributes.
    int GetAttributeCount() const;
    /// A cursor on the first attribute; null when there is none. Attributes
    /// come in the order they were filed; one filed again under its key keeps
    /// its place.
    POSITION GetAttributeIterator() const { return m_attributes.GetStartPosition(); }
    /// The attribute at the cursor, which moves on (null after the last). A
    /// null cursor, or one past the attributes or on one removed since,
    /// raises CInvalidArgException*; deleting the attribute just returned
    /// leaves the cursor valid.
    CZOLLibXMLAttribute* GetNextAttribute(POSITION& pos) const
    {
        return static_cast<CZOLLibXMLAttribute*>(m_attributes.GetNextPair(pos)->value);
    }
    /// The attribute under pszName's key (its name lower-cased), or null.
    CZOLLibXMLAttribute* GetAttribute(LPCWSTR pszName) const;
    /// The value of the attribute under pszName's key, even when empty; when
    /// there is none, pszDefault, or empty when that is null.
    CString GetAttributeValue(LPCWSTR pszName, LPCWSTR pszDefault = nullptr) const;
    /// Takes pAttribute out of the attributes when this element holds it,
    /// even under a key that a rename since has made stale; never removes a
    /// different attribute. Frees nothing and leaves its parent link.
    void RemoveAttribute(CZOLLibXMLAttribute* pAttribute);
    /// Unlinks and destroys the attribute under pszName's key, if any.
    void DeleteAttribute(LPCWSTR pszName);
    /// Destroys every attribute.
    void DeleteAllAttributes();

    /// A copy of the whole subtree whose root carries the parent link
    /// pNewParent (which does not hold it); the caller owns it. To put it
    /// under an element, clone with a null parent and AddElement() the copy.
    CZOLLibXMLElement* Clone(CZOLLibXMLElement* pNewParent) const;
    /// 1 when pOther is this element, or has equal names and values (case
    /// counts), attributes equal one by one (found by key, in any order) and
    /// children equal pairwise in order; else 0, and 0 for a null pOther or
    /// through a null object pointer. Parent links are not compared.
    int Equals(const CZOLLibXMLElement* pOther) const;
    /// The words of the subtree (see AddRecursiveWords()), trimmed.
    CString GetRecursiveWords() const;
    /// Appends the subtree's words to strWords, each after a space when
    /// strWords is not empty: each element's attribute values (except of
    /// names holding ":" and of the name "ZOLLib" in any case), then its
    /// children's words, then its own non-empty value.
    void AddRecursiveWords(CString& strWords) const;

    /// Reads one element at the cursor into this element: the start tag (its
    /// name replaces this element's name; its attributes are filed, a later
    /// one of the same key displacing an earlier one), then the content up to
    /// the matching closing tag. Text before, between and after children is
    /// appended to the value, one space apart. 1 and the cursor behind the
    /// element, else 0; on 0 the children read completely stay, and no failed
    /// child is left behind.
    int ParseString(LPCWSTR& pszCursor);
    /// Reads a document: an optional declaration (demanded when
    /// requireDeclaration is nonzero), comments, one document type, comments,
    /// then the root element; what follows the root is not read. The new
    /// root, owned by the caller, or null when the text does not load or
    /// memory runs out.
    static CZOLLibXMLElement* FromString(LPCWSTR pszText, int requireDeclaration);
    /// Reads a document from nCount bytes: UTF-16 after a byte-order mark
    /// (FE FF or FF FE; big-endian input is turned little-endian in place, in
    /// the caller's buffer), else UTF-8 (after an optional mark), where
    /// invalid sequences read as U+FFFD and the text ends at a NUL. The root,
    /// owned by the caller, or null, also when memory runs out as the tree is
    /// built; raises CMemoryException* when the UTF-16 text cannot be copied.
    static CZOLLibXMLElement* FromBytes(BYTE* pBytes, DWORD nCount, int requireDeclaration);
    /// Reads the file at pszPath as FromBytes() does; null when it cannot be
    /// opened or holds more than 4,194,304 bytes. Raises CMemoryException*
    /// when the file's bytes cannot be held.
    static CZOLLibXMLElement* FromFile(LPCWSTR pszPath, int requireDeclaration);
    /// The same for an open file, read from its current position with one
    /// read; the handle stays the caller's. On POSIX systems a HANDLE is the
    /// platform layer's own (as CFile::m_hFile holds it), not a file
    /// descriptor, and never a path: a `char*` path takes the form for UTF-8
    /// paths below.
    static CZOLLibXMLElement* FromFile(HANDLE hFile, int requireDeclaration);

    /// FromString() that also says why the text does not load, and where:
    /// report is filled in either case, its offsets in UTF-16 units.
    static CZOLLibXMLElement* FromString(LPCWSTR pszText, int requireDeclaration, CZOLLibXMLLoadReport& report);
    /// FromBytes() that also says why the bytes do not load, and where:
    /// report is filled in either case, its offsets in bytes from pBytes
    /// (byte-order marks included).
    static CZOLLibXMLElement* FromBytes(BYTE* pBytes, DWORD nCount, int requireDeclaration,
                                        CZOLLibXMLLoadReport& report);
    /// FromFile() that also says why the file does not load, and where: a
    /// file that cannot be opened or read, or is too large, besides what
    /// FromBytes() reports; offsets in bytes from the start of the file.
    static CZOLLibXMLElement* FromFile(LPCWSTR pszPath, int requireDeclaration, CZOLLibXMLLoadReport& report);
    /// The same for an open file, read from its current position; offsets
    /// from there.
    static CZOLLibXMLElement* FromFile(HANDLE hFile, int requireDeclaration, CZOLLibXMLLoadReport& report);

    /// The document's text: `<?xml version="1.0"?>` when bDeclaration is
    /// nonzero, then the element text (see the other form), with CR LF line
    /// breaks when bLineBreaks is nonzero.
    CString ToString(int bDeclaration, int bLineBreaks) const;
    /// Appends the compact text of the subtree to strOut: names as they are,
    /// values escaped as ValueToString() does, an element's value after its
    /// children, `<name/>` for an element with neither; with bLineBreaks, CR
    /// LF after each element and after a start tag followed by children. The
    /// text is sized first and written once.
    void ToString(CString& strOut, int bLineBreaks) const;

    // ---- Paths in UTF-8, the indented text, saving to a file ----

    /// Reads the file at pszPath as the UTF-16 form does; pszPath is UTF-8,
    /// as a program's paths come on POSIX systems (`argv` included), where it
    /// names the file byte for byte, and on Windows it is turned to UTF-16.
    /// Null also when pszPath is null or not well-formed UTF-8.
    static CZOLLibXMLElement* FromFile(const char* pszPath, int requireDeclaration);
    /// The same with a load report; a path that is not well-formed UTF-8
    /// cannot be opened (::ZXML_LOAD_CANNOT_OPEN, the system error
    /// ERROR_INVALID_NAME).
    static CZOLLibXMLElement* FromFile(const char* pszPath, int requireDeclaration, CZOLLibXMLLoadReport& report);

    /// The document's text laid out for reading when nIndent is above 0:
    /// `<?xml version="1.0"?>` and CR LF when bDeclaration is nonzero, then the
    /// indented element text (see the other form). With nIndent 0 or below,
    /// ToString(bDeclaration, bLineBreaks).
    CString ToString(int bDeclaration, int bLineBreaks, int nIndent) const;
    /// Appends the subtree's text indented by nIndent spaces a level: an
    /// element without a value that holds children writes its start tag, each
    /// child on lines of its own one level deeper, and its end tag on a line
    /// of its own; any other element, with its whole subtree, takes one line
    /// in the compact form, for the reader gathers the text around children
    /// into the element's value. Every line ends with CR LF, so bLineBreaks
    /// changes nothing. The text reads back as the compact form does. With
    /// nIndent 0 or below, ToString(strOut, bLineBreaks).
    void ToString(CString& strOut, int bLineBreaks, int nIndent) const;

    /// Writes the document's text, as ToString(bDeclaration, bLineBreaks,
    /// nIndent) makes it, in UTF-8 to the file at pszPath. The text goes to a
    /// new file beside it, is flushed to the device and only then renamed
    /// over pszPath, so that a failure leaves an earlier file of that name as
    /// it was. A failure (no folder, no permission, no room, a folder in the
    /// way) raises CFileException* with its cause and the path; exhausted
    /// memory raises CMemoryException*.
    void ToFile(LPCWSTR pszPath, int bDeclaration, int bLineBreaks, int nIndent = 0) const;
    /// The same with pszPath in UTF-8 (see FromFile(const char*, int)); a path
    /// that is not well-formed UTF-8 raises CFileException* with the cause
    /// CFileException::badPath.
    void ToFile(const char* pszPath, int bDeclaration, int bLineBreaks, int nIndent = 0) const;

    /// Stores the subtree's record, or loads one into this element: name,
    /// value, the attribute count and attribute records, the child count and
    /// the children's records, depth-first. A short archive raises
    /// CArchiveException*; what was read completely before stays, the
    /// elements still open are freed.
    void Serialize(CArchive& ar);

protected:
    friend class CZolTreeBuilder;
    friend class CZolTextWriter;

    /// Files pAttribute under its name's key and links it to this element;
    /// an attribute it displaces from that key is destroyed.
    CZOLLibXMLAttribute* FileAttribute(CZOLLibXMLAttribute* pAttribute);
    /// The same under a key worked out already.
    CZOLLibXMLAttribute* FileAttribute(CZOLLibXMLAttribute* pAttribute, const CString& key);

    CPtrList m_elements;          ///< the children, owned, in order
    CMapStringToPtr m_attributes; ///< the attributes, owned, by key
};
