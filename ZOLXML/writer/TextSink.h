// Writes text straight into the buffer of a CString, behind what it already
// holds, so that building a document needs no temporary string per piece.
#pragma once

#include "../model/ZOLLibXML.h"

#include <cstdint>

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

    // Reserves room for nReserve more units behind the string's content, or
    // as many as a string can hold.
    CZolTextSink(CString& strOut, std::int64_t nReserve, Growth growth);
    // Gives back the unused reservation: the string ends after the last piece.
    ~CZolTextSink();
    CZolTextSink(const CZolTextSink&) = delete;
    CZolTextSink& operator=(const CZolTextSink&) = delete;

    void Write(LPCWSTR pch, int nCount)
    {
        if (nCount > m_nEnd - m_nPos)
            MakeRoom(nCount);
        LPWSTR pOut = m_pBuffer + m_nPos;
        m_nPos += nCount;
        // Most pieces are short names and fixed marks, too short for a call.
        if (nCount <= kShortPiece)
        {
            while (nCount-- > 0)
                *pOut++ = *pch++;
        }
        else
        {
            CopyUnits(pOut, pch, nCount);
        }
    }

    // The whole string, embedded NUL units included.
    void Write(const CString& str) { Write(str.GetString(), str.GetLength()); }

    void Write(WCHAR ch)
    {
        if (m_nPos == m_nEnd)
            MakeRoom(1);
        m_pBuffer[m_nPos++] = ch;
    }

private:
    static constexpr int kShortPiece = 16;

    static void CopyUnits(LPWSTR pOut, LPCWSTR pch, int nCount);
    void MakeRoom(int nPiece);
    // Keeps the capacity at nWanted units, or at as many down to nNeeded as
    // the string can take.
    void Reserve(std::int64_t nNeeded, std::int64_t nWanted);

    CString& m_strOut;
    // The string's buffer; its length is m_nEnd, of which the units from
    // m_nPos on are not written yet.
    LPWSTR m_pBuffer;
    int m_nPos;
    int m_nEnd;
    // Units that the string's capacity is kept at, at least.
    int m_nReserved;
    Growth m_growth;
};
