// Writes text straight into the buffer of a CString, behind what it already
// holds, so that building a document needs no temporary string per piece.
#pragma once

#include "../model/ZOLLibXML.h"

#include <string>

class CZolTextSink
{
public:
    // How the reservation grows when a piece does not fit: by the piece and a
    // little slack (single values), or by at least what is reserved so far
    // (whole documents, so that growth stays amortised).
    enum class Growth
    {
        ByPiece,
        Doubling
    };

    // Reserves room for nReserve more units behind the string's content.
    CZolTextSink(CString& strOut, int nReserve, Growth growth);
    // Gives back the unused reservation: the string ends after the last piece.
    ~CZolTextSink();
    CZolTextSink(const CZolTextSink&) = delete;
    CZolTextSink& operator=(const CZolTextSink&) = delete;

    void Write(LPCWSTR pch, int nCount)
    {
        if (nCount > m_nFree)
            Grow(nCount);
        std::char_traits<WCHAR>::copy(m_pBuffer + m_nPos, pch, static_cast<std::size_t>(nCount));
        m_nPos += nCount;
        m_nFree -= nCount;
    }

    // The whole string, embedded NUL units included.
    void Write(const CString& str) { Write(str.GetString(), str.GetLength()); }

    void Write(WCHAR ch)
    {
        if (m_nFree < 1)
            Grow(1);
        m_pBuffer[m_nPos++] = ch;
        --m_nFree;
    }

private:
    void Grow(int nPiece);

    CString& m_strOut;
    LPWSTR m_pBuffer;
    int m_nPos;
    int m_nFree;
    Growth m_growth;
};
