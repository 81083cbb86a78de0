/// @file
/// Exceptions of the platform layer. As in MFC they are thrown as pointers and
/// the catcher disposes of them: `catch (CException* e) { ...; e->Delete(); }`.
#pragma once

#include "AfxString.h"
#include "AfxTypes.h"

/// The base of every exception the layer and the library raise.
class AFX_CORE_API CException
{
public:
    /// An exception that Delete() frees.
    CException() = default;
    CException(const CException&) = delete;
    CException& operator=(const CException&) = delete;
    /// Exceptions are destroyed through Delete(), not directly.
    virtual ~CException();

    /// Disposes of a caught exception: frees one made on the heap; the shared
    /// out-of-memory object outlives every Delete(), so that reporting
    /// exhaustion never needs memory.
    void Delete();

    /// Copies a message for a person into lpszError, cut to nMaxError units
    /// with its NUL, and sets *pnHelpContext (when given) to 0: this layer
    /// has no help. The kinds below say what failed; this base has no message
    /// and answers FALSE with an empty text. FALSE too for a null buffer or a
    /// nMaxError of 0. Never allocates, so it serves while memory is short.
    virtual BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const;

protected:
    /// An exception that Delete() frees only when bAutoDelete is set.
    explicit CException(BOOL bAutoDelete) : m_bAutoDelete(bAutoDelete) {}

private:
    BOOL m_bAutoDelete = TRUE;
};

/// Memory is exhausted: every failed allocation of the layer and the
/// library raises this, as one shared object.
class AFX_CORE_API CMemoryException : public CException
{
public:
    /// An exception that Delete() frees.
    CMemoryException();
    /// An exception that Delete() frees only when bAutoDelete is set.
    explicit CMemoryException(BOOL bAutoDelete);
    /// Destroyed through Delete().
    ~CMemoryException() override;

    /// "out of memory".
    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;
};

/// An argument is out of range: an index past a string's end, a null or
/// stale cursor.
class AFX_CORE_API CInvalidArgException : public CException
{
public:
    /// An exception that Delete() frees.
    CInvalidArgException();
    /// Destroyed through Delete().
    ~CInvalidArgException() override;

    /// "an argument is out of range".
    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;
};

/// A file operation failed.
class AFX_CORE_API CFileException : public CException
{
public:
    /// Why: MFC's causes.
    enum
    {
        none, ///< no error
        genericException, ///< an unspecified error
        fileNotFound, ///< the file does not exist
        badPath, ///< the path is not valid
        tooManyOpenFiles, ///< no more files can be opened
        accessDenied, ///< the file may not be opened so
        invalidFile, ///< the handle is not valid
        removeCurrentDir, ///< the current directory cannot be removed
        directoryFull, ///< the directory has no room
        badSeek, ///< the position cannot be set
        hardIO, ///< the device failed
        sharingViolation, ///< another holder shares the file otherwise
        lockViolation, ///< a part of the file is locked
        diskFull, ///< the disk is full
        endOfFile ///< the end of the file was reached
    };

    /// An exception of that cause and system error (-1: none) on the file of
    /// that name (none when null).
    explicit CFileException(int cause = none, LONG lOsError = -1, LPCWSTR lpszArchiveName = nullptr);
    /// Destroyed through Delete().
    ~CFileException() override;

    /// The file's name and the reason, as "/x/y.xml: no such file or
    /// folder"; the reason alone when no name is known. The reason follows
    /// the cause, in the same words on every system; an unspecified one
    /// gives the system's error code.
    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;

    /// The cause that a system error code (GetLastError()'s) stands for;
    /// CFileException::genericException for one without a closer cause.
    static int OsErrorToException(LONG lOsError);
    /// Raises a CFileException of the cause that lOsError stands for, on the
    /// file of that name (none when null).
    [[noreturn]] static void ThrowOsError(LONG lOsError, LPCWSTR lpszFileName = nullptr);

    int m_cause;      ///< one of the causes above
    LONG m_lOsError;  ///< the system's error code, or -1
    CString m_strFileName; ///< the name of the file, as given when it was opened; may be empty
};

/// An archive could not be read or written: CArchiveException::endOfFile
/// (3) when a read runs past what the file holds.
class AFX_CORE_API CArchiveException : public CException
{
public:
    /// Why: MFC's causes.
    enum
    {
        none, ///< no error
        genericException, ///< an unspecified error
        readOnly, ///< the archive was opened for loading
        endOfFile, ///< the end of the file was reached
        writeOnly, ///< the archive was opened for storing
        badIndex, ///< an object index is not valid
        badClass, ///< an object of another class
        badSchema ///< an object of another version
    };

    /// An exception of that cause on the archive of that name (none when null).
    explicit CArchiveException(int cause = none, LPCWSTR lpszArchiveName = nullptr);
    /// Destroyed through Delete().
    ~CArchiveException() override;

    /// What went wrong, after the archive's name when one is known: for
    /// CArchiveException::endOfFile, that the archive was cut short inside a
    /// record.
    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;

    int m_cause; ///< one of the causes above
    CString m_strFileName; ///< the name of the archive's file; may be empty
};

/// Raises the shared CMemoryException.
[[noreturn]] AFX_CORE_API void AfxThrowMemoryException();
/// Raises a CInvalidArgException.
[[noreturn]] AFX_CORE_API void AfxThrowInvalidArgException();
/// Raises a CArchiveException of that cause on the archive of that name.
[[noreturn]] AFX_CORE_API void AfxThrowArchiveException(int cause, LPCWSTR lpszArchiveName = nullptr);
/// Raises a CFileException of that cause and system error on the file of that name.
[[noreturn]] AFX_CORE_API void AfxThrowFileException(int cause, LONG lOsError = -1, LPCWSTR lpszFileName = nullptr);
