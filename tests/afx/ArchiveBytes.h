// Helpers for tests of the archive form: byte strings written in hex, the
// bytes a storing archive produces, and loading archives over given bytes.
#pragma once

#include <afx/core/afx.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

using Bytes = std::vector<BYTE>;

// "FF FE 01" -> {0xFF, 0xFE, 0x01}
inline Bytes HexBytes(const std::string& hex)
{
    Bytes bytes;
    for (std::size_t i = 0; i < hex.size();)
    {
        if (hex[i] == ' ')
        {
            ++i;
            continue;
        }
        bytes.push_back(static_cast<BYTE>(std::stoul(hex.substr(i, 2), nullptr, 16)));
        i += 2;
    }
    return bytes;
}

inline Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

inline Bytes FileBytes(CMemFile& file)
{
    Bytes bytes(static_cast<std::size_t>(file.GetLength()));
    file.SeekToBegin();
    file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
    return bytes;
}

// The bytes that store(ar) writes through a storing archive.
template <class Store>
Bytes StoredBytes(Store&& store, int nBufSize = 4096)
{
    CMemFile file;
    CArchive ar(&file, CArchive::store, nBufSize);
    store(ar);
    ar.Close();
    return FileBytes(file);
}

// A loading archive over its own copy of some bytes.
class LoadingArchive
{
public:
    explicit LoadingArchive(Bytes bytes, int nBufSize = 4096)
        : m_bytes(std::move(bytes)),
          m_file(m_bytes.data(), static_cast<UINT>(m_bytes.size())),
          m_archive(&m_file, CArchive::load, nBufSize)
    {
    }

    CArchive& Archive() { return m_archive; }
    CMemFile& File() { return m_file; }

private:
    Bytes m_bytes;
    CMemFile m_file;
    CArchive m_archive;
};

// The m_cause of the Exception* (CArchiveException, CFileException) that
// action raises, or kNoException.
constexpr int kNoException = -1;

template <class Exception, class Action>
int ExceptionCause(Action&& action)
{
    try
    {
        action();
    }
    catch (Exception* e)
    {
        const int cause = e->m_cause;
        e->Delete();
        return cause;
    }
    return kNoException;
}
