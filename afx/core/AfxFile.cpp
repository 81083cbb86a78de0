#include "AfxFile.h"

#include "AfxFileSystem.h"

const HANDLE CFile::hFileNull = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-1));

CFile::CFile() noexcept : m_hFile(hFileNull), m_bCloseOnDelete(FALSE) {}

CFile::CFile(HANDLE hFile) noexcept : m_hFile(hFile), m_bCloseOnDelete(FALSE) {}

CFile::CFile(LPCWSTR lpszFileName, UINT nOpenFlags) : CFile()
{
    CFileException failure;
    if (!Open(lpszFileName, nOpenFlags, &failure))
        AfxThrowFileException(failure.m_cause, failure.m_lOsError, lpszFileName);
}

CFile::~CFile()
{
    if (m_hFile != hFileNull && m_bCloseOnDelete)
    {
        try
        {
            Close();
        }
        catch (CException* e)
        {
            // A destructor cannot report; callers who care call Close.
            e->Delete();
        }
    }
}

BOOL CFile::Open(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    CFileException failure;
    const HANDLE hFile = AfxFileSystem::Open(lpszFileName, nOpenFlags, failure);
    if (hFile == hFileNull)
    {
        if (pError != nullptr)
        {
            pError->m_cause = failure.m_cause;
            pError->m_lOsError = failure.m_lOsError;
        }
        return FALSE;
    }
    m_hFile = hFile;
    m_bCloseOnDelete = TRUE;
    return TRUE;
}

ULONGLONG CFile::GetPosition() const
{
    return AfxFileSystem::Seek(m_hFile, 0, current);
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom)
{
    return AfxFileSystem::Seek(m_hFile, lOff, nFrom);
}

ULONGLONG CFile::GetLength() const
{
    return AfxFileSystem::GetLength(m_hFile);
}

UINT CFile::Read(void* lpBuf, UINT nCount)
{
    return nCount == 0 ? 0 : AfxFileSystem::Read(m_hFile, lpBuf, nCount);
}

void CFile::Write(const void* lpBuf, UINT nCount)
{
    if (nCount != 0)
        AfxFileSystem::Write(m_hFile, lpBuf, nCount);
}

void CFile::Flush()
{
    if (m_hFile != hFileNull)
        AfxFileSystem::Flush(m_hFile);
}

void CFile::Close()
{
    const HANDLE hFile = m_hFile;
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
    if (hFile != hFileNull)
        AfxFileSystem::Close(hFile);
}
