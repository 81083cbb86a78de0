// The names of one document, each kept once: elements and attributes of the
// same name share one buffer (copies of a CString share theirs), and an
// attribute's key is worked out once per name. A name the table has no room
// for is simply not shared.
#pragma once

#include "../model/AttributeKey.h"

#include <array>
#include <cstdint>
#include <cstring>

class CZolNameTable
{
public:
    struct Entry
    {
        CString name;
        CString key; // the attribute key of the name
        std::uint32_t hash = 0;
    };

    // The entry of the name whose units are given.
    const Entry& Intern(const WCHAR* pUnits, int nUnits)
    {
        if (nUnits > kLongestShared)
            return Fresh(pUnits, nUnits);
        std::uint32_t hash = 2166136261u;
        for (int i = 0; i < nUnits; ++i)
            hash = (hash ^ pUnits[i]) * 16777619u;
        for (std::uint32_t nProbe = 0; nProbe < kProbes; ++nProbe)
        {
            Entry& entry = m_entries[(hash + nProbe) % kSlots];
            if (entry.name.IsEmpty())
            {
                entry = Make(pUnits, nUnits);
                entry.hash = hash;
                return entry;
            }
            if (entry.hash == hash && entry.name.GetLength() == nUnits &&
                std::memcmp(entry.name.GetString(), pUnits, sizeof(WCHAR) * static_cast<std::size_t>(nUnits)) == 0)
                return entry;
        }
        return Fresh(pUnits, nUnits);
    }

private:
    static constexpr int kLongestShared = 64;
    static constexpr std::uint32_t kSlots = 128;
    static constexpr std::uint32_t kProbes = 8;

    static Entry Make(const WCHAR* pUnits, int nUnits)
    {
        Entry entry;
        entry.name = CString(pUnits, nUnits);
        entry.key = ZolAttributeKeyOf(entry.name);
        return entry;
    }

    const Entry& Fresh(const WCHAR* pUnits, int nUnits)
    {
        m_fresh = Make(pUnits, nUnits);
        return m_fresh;
    }

    std::array<Entry, kSlots> m_entries;
    Entry m_fresh;
};
