// Exceptions of the platform layer. As in MFC they are thrown as pointers and
// the catcher disposes of them: catch (CException* e) { ...; e->Delete(); }
#pragma once

#include "AfxTypes.h"

class AFX_CORE_API CException
{
public:
    CException() = default;
    CException(const CException&) = delete;
    CException& operator=(const CException&) = delete;
    virtual ~CException();

    // Frees a heap-allocated exception; the shared out-of-memory object
    // outlives every Delete so that reporting it never needs memory.
    void Delete();

protected:
    explicit CException(BOOL bAutoDelete) : m_bAutoDelete(bAutoDelete) {}

private:
    BOOL m_bAutoDelete = TRUE;
};

class AFX_CORE_API CMemoryException : public CException
{
public:
    CMemoryException();
    explicit CMemoryException(BOOL bAutoDelete);
    ~CMemoryException() override;
};

class AFX_CORE_API CInvalidArgException : public CException
{
public:
    CInvalidArgException();
    ~CInvalidArgException() override;
};

class AFX_CORE_API CFileException : public CException
{
public:
    enum
    {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };

    explicit CFileException(int cause = none, LONG lOsError = -1);
    ~CFileException() override;

    int m_cause;
    LONG m_lOsError;
};

class AFX_CORE_API CArchiveException : public CException
{
public:
    enum
    {
        none,
        genericException,
        readOnly,
        endOfFile,
        writeOnly,
        badIndex,
        badClass,
        badSchema
    };

    explicit CArchiveException(int cause = none);
    ~CArchiveException() override;

    int m_cause;
};

[[noreturn]] AFX_CORE_API void AfxThrowMemoryException();
[[noreturn]] AFX_CORE_API void AfxThrowInvalidArgException();
[[noreturn]] AFX_CORE_API void AfxThrowArchiveException(int cause, LPCWSTR lpszArchiveName = nullptr);
[[noreturn]] AFX_CORE_API void AfxThrowFileException(int cause, LONG lOsError = -1, LPCWSTR lpszFileName = nullptr);
