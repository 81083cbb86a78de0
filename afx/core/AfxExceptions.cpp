#include "AfxExceptions.h"

#include <new>

namespace
{
// Fills a caller's buffer with pieces of a message, cutting it where the
// buffer ends; writes nothing on the heap, so that a memory exception can
// describe itself.
class CMessageBuffer
{
public:
    CMessageBuffer(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) : m_pNext(lpszError), m_nLeft(nMaxError)
    {
        if (pnHelpContext != nullptr)
            *pnHelpContext = 0;
        if (IsUsable())
            *m_pNext = 0;
    }

    bool IsUsable() const { return m_pNext != nullptr && m_nLeft != 0; }

    CMessageBuffer& operator<<(LPCWSTR psz)
    {
        if (IsUsable())
        {
            for (; *psz != 0 && m_nLeft > 1; --m_nLeft)
                *m_pNext++ = *psz++;
            *m_pNext = 0;
        }
        return *this;
    }

    CMessageBuffer& operator<<(unsigned long nNumber)
    {
        WCHAR digits[24];
        WCHAR* p = digits + 23;
        *p = 0;
        do
            *--p = static_cast<WCHAR>(u'0' + nNumber % 10);
        while ((nNumber /= 10) != 0);
        return *this << p;
    }

    // "name: " when there is a name.
    CMessageBuffer& Subject(const CString& strName)
    {
        if (!strName.IsEmpty())
            *this << strName.GetString() << u": ";
        return *this;
    }

    BOOL Result() const { return IsUsable() ? TRUE : FALSE; }

private:
    LPTSTR m_pNext;
    UINT m_nLeft;
};

LPCWSTR FileReason(int cause)
{
    switch (cause)
    {
    case CFileException::none:
        return u"no error";
    case CFileException::fileNotFound:
        return u"no such file or folder";
    case CFileException::badPath:
        return u"no such folder, or a name that cannot be used";
    case CFileException::tooManyOpenFiles:
        return u"too many open files";
    case CFileException::accessDenied:
        return u"access denied, or not a regular file";
    case CFileException::invalidFile:
        return u"not an open file";
    case CFileException::removeCurrentDir:
        return u"the current folder cannot be removed";
    case CFileException::directoryFull:
        return u"the folder has no room";
    case CFileException::badSeek:
        return u"the position cannot be set";
    case CFileException::hardIO:
        return u"input/output error";
    case CFileException::sharingViolation:
    case CFileException::lockViolation:
        return u"in use by another program";
    case CFileException::diskFull:
        return u"the disk is full";
    case CFileException::endOfFile:
        return u"the end of the file was reached";
    default:
        return u"failed";
    }
}

LPCWSTR ArchiveReason(int cause)
{
    switch (cause)
    {
    case CArchiveException::none:
        return u"no error";
    case CArchiveException::readOnly:
        return u"the archive is open for loading, not storing";
    case CArchiveException::endOfFile:
        return u"the archive is cut short: it ends inside a record";
    case CArchiveException::writeOnly:
        return u"the archive is open for storing, not loading";
    case CArchiveException::badIndex:
        return u"an object index in the archive is not valid";
    case CArchiveException::badClass:
        return u"the archive holds an object of another class";
    case CArchiveException::badSchema:
        return u"the archive holds an object of another version";
    default:
        return u"the archive cannot be used";
    }
}
} // namespace

CException::~CException() = default;

void CException::Delete()
{
    if (m_bAutoDelete)
        delete this;
}

BOOL CException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    CMessageBuffer(lpszError, nMaxError, pnHelpContext);
    return FALSE;
}

CMemoryException::CMemoryException() = default;
CMemoryException::CMemoryException(BOOL bAutoDelete) : CException(bAutoDelete) {}
CMemoryException::~CMemoryException() = default;

BOOL CMemoryException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    return (CMessageBuffer(lpszError, nMaxError, pnHelpContext) << u"out of memory").Result();
}

CInvalidArgException::CInvalidArgException() = default;
CInvalidArgException::~CInvalidArgException() = default;

BOOL CInvalidArgException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    return (CMessageBuffer(lpszError, nMaxError, pnHelpContext) << u"an argument is out of range").Result();
}

CFileException::CFileException(int cause, LONG lOsError, LPCWSTR lpszArchiveName)
    : m_cause(cause), m_lOsError(lOsError), m_strFileName(lpszArchiveName)
{
}
CFileException::~CFileException() = default;

BOOL CFileException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    CMessageBuffer message(lpszError, nMaxError, pnHelpContext);
    message.Subject(m_strFileName) << FileReason(m_cause);
    if (m_cause == genericException && m_lOsError != -1)
        message << u" (system error " << static_cast<unsigned long>(static_cast<DWORD>(m_lOsError)) << u")";
    return message.Result();
}

CArchiveException::CArchiveException(int cause, LPCWSTR lpszArchiveName)
    : m_cause(cause), m_strFileName(lpszArchiveName)
{
}
CArchiveException::~CArchiveException() = default;

BOOL CArchiveException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    CMessageBuffer message(lpszError, nMaxError, pnHelpContext);
    message.Subject(m_strFileName) << ArchiveReason(m_cause);
    return message.Result();
}

void AfxThrowMemoryException()
{
    // Allocating the exception could itself fail, so one static object serves
    // every throw; its Delete does nothing.
    static CMemoryException s_outOfMemory(FALSE);
    throw &s_outOfMemory;
}

namespace
{
// Creates a heap exception, falling back to the out-of-memory report when even
// that small allocation fails.
template <class Exception, class... Args>
[[noreturn]] void ThrowNew(Args... args)
{
    Exception* e = new (std::nothrow) Exception(args...);
    if (e == nullptr)
        AfxThrowMemoryException();
    throw e;
}
}

void AfxThrowInvalidArgException()
{
    ThrowNew<CInvalidArgException>();
}

void AfxThrowArchiveException(int cause, LPCWSTR lpszArchiveName)
{
    ThrowNew<CArchiveException>(cause, lpszArchiveName);
}

void AfxThrowFileException(int cause, LONG lOsError, LPCWSTR lpszFileName)
{
    ThrowNew<CFileException>(cause, lOsError, lpszFileName);
}
