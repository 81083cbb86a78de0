#include "AfxExceptions.h"

#include <new>

CException::~CException() = default;

void CException::Delete()
{
    if (m_bAutoDelete)
        delete this;
}

CMemoryException::CMemoryException() = default;
CMemoryException::CMemoryException(BOOL bAutoDelete) : CException(bAutoDelete) {}
CMemoryException::~CMemoryException() = default;

CInvalidArgException::CInvalidArgException() = default;
CInvalidArgException::~CInvalidArgException() = default;

CFileException::CFileException(int cause, LONG lOsError) : m_cause(cause), m_lOsError(lOsError) {}
CFileException::~CFileException() = default;

CArchiveException::CArchiveException(int cause) : m_cause(cause) {}
CArchiveException::~CArchiveException() = default;

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

void AfxThrowArchiveException(int cause, LPCWSTR /*lpszArchiveName*/)
{
    ThrowNew<CArchiveException>(cause);
}

void AfxThrowFileException(int cause, LONG lOsError, LPCWSTR /*lpszFileName*/)
{
    ThrowNew<CFileException>(cause, lOsError);
}
