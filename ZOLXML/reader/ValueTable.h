// The short values of one document, each kept once: documents repeat their
// short values (states, units, numbers, flags) as they repeat their names,
// and values that share one buffer cost one allocation and its memory once.
// A value the table has no room for is simply not shared; the table grows
// with the values it holds, up to a limit.
#pragma once

#include "../model/TreeWalk.h"
#include "NameTable.h"

#include <cstdint>
#include <cstring>

class CZolValueTable
{
public:
    // Values up to this many units are shared.
    static constexpr int kLongestShared = 16;

    // A string of these units, sharing the buffer of an equal value read before.
    CString Share(const WCHAR* pUnits, int nUnits)
    {
        if (nUnits > kLongestShared || nUnits == 0)
            return CString(pUnits, nUnits);
        if (m_entries.empty())
            m_entries.resize(kFirstSlots);
        const std::uint64_t hash = Hash(pUnits, nUnits);
        const std::size_t nMask = m_entries.size() - 1;
        for (std::size_t nProbe = 0; nProbe < kProbes; ++nProbe)
        {
            Entry& entry = m_entries[(static_cast<std::size_t>(hash >> 32) + nProbe) & nMask];
            // The slot's own fields decide, without reaching into a string.
            if (entry.nLength == 0)
            {
                entry.text = CString(pUnits, nUnits);
                entry.hash = hash;
                entry.nLength = nUnits;
                CString shared = entry.text;
                if (++m_nCount * 2 > m_entries.size() && m_entries.size() < kMostSlots)
                    Grow();
                return shared;
            }
            if (entry.hash == hash && entry.nLength == nUnits && ZolSpells(entry.text, pUnits, nUnits))
                return entry.text;
        }
        return CString(pUnits, nUnits);
    }

private:
    struct Entry
    {
        CString text;
        std::uint64_t hash = 0;
        int nLength = 0; // 0: a free slot
    };

    static constexpr std::size_t kFirstSlots = 256;
    static constexpr std::size_t kMostSlots = 16384;
    static constexpr std::size_t kProbes = 4;

    // The first and the last four units (which overlap in a short value)
    // and the length; values alike there meet in the probe, compared whole.
    static std::uint64_t Hash(const WCHAR* pUnits, int nUnits)
    {
        std::uint64_t first = 0;
        std::uint64_t last = 0;
        if (nUnits >= 4)
        {
            std::memcpy(&first, pUnits, sizeof first);
            std::memcpy(&last, pUnits + nUnits - 4, sizeof last);
        }
        else
        {
            for (int i = 0; i < nUnits; ++i)
                first |= std::uint64_t{pUnits[i]} << (16 * i);
            last = first;
        }
        std::uint64_t hash = (first ^ static_cast<std::uint64_t>(nUnits)) * 0x9E3779B97F4A7C15ull;
        hash = (hash ^ (hash >> 31) ^ last) * 0xFF51AFD7ED558CCDull;
        return hash ^ (hash >> 29);
    }

    void Grow()
    {
        ZolStack<Entry> old(m_entries.size() * 2);
        old.swap(m_entries);
        const std::size_t nMask = m_entries.size() - 1;
        for (Entry& entry : old)
        {
            if (entry.nLength == 0)
                continue;
            for (std::size_t nProbe = 0; nProbe < kProbes; ++nProbe)
            {
                Entry& slot = m_entries[(static_cast<std::size_t>(entry.hash >> 32) + nProbe) & nMask];
                if (slot.nLength == 0)
                {
                    slot = std::move(entry);
                    break;
                }
            }
        }
    }

    ZolStack<Entry> m_entries;
    std::size_t m_nCount = 0;
};
