// The names of one document, each kept once: elements and attributes of the
// same name share one buffer (copies of a CString share theirs), and an
// attribute's key is worked out once per name. A name the table has no room
// for is simply not shared.
#pragma once

#include "../model/AttributeKey.h"

#include <array>
#include <cstdint>

// Whether text holds exactly the nUnits units given (UTF-16, or ASCII bytes).
template <class Unit>
bool ZolSpells(const CString& text, const Unit* pUnits, int nUnits)
{
    if (text.GetLength() != nUnits)
        return false;
    const WCHAR* pText = text.GetString();
    for (int i = 0; i < nUnits; ++i)
        if (pText[i] != pUnits[i])
            return false;
    return true;
}

class CZolNameTable
{
public:
    struct Entry
    {
        CString name;
        CString key; // the attribute key of the name
        std::uint32_t hash = 0;
    };

    // The entry of the name whose units (UTF-16, or ASCII bytes) are given.
    template <class Unit>
    const Entry& Intern(const Unit* pUnits, int nUnits)
    {
        if (nUnits > kLongestShared)
            return Fresh(pUnits, nUnits);
        // The length and three units tell the few names of a document apart
        // at once; names alike there meet in the probe, compared whole.
        const std::uint32_t hash = static_cast<std::uint32_t>(nUnits) * 0x9E3779B1u ^
                                   (static_cast<std::uint32_t>(pUnits[0]) * 0x85EBCA77u) ^
                                   (static_cast<std::uint32_t>(pUnits[nUnits / 2]) * 0xC2B2AE3Du) ^
                                   (static_cast<std::uint32_t>(pUnits[nUnits - 1]) * 0x27D4EB2Fu);
        for (std::uint32_t nProbe = 0; nProbe < kProbes; ++nProbe)
        {
            Entry& entry = m_entries[((hash >> 16) + nProbe) % kSlots];
            if (entry.name.IsEmpty())
            {
                entry = Make(pUnits, nUnits);
                entry.hash = hash;
                return entry;
            }
            if (entry.hash == hash && ZolSpells(entry.name, pUnits, nUnits))
                return entry;
        }
        return Fresh(pUnits, nUnits);
    }

private:
    static constexpr int kLongestShared = 64;
    static constexpr std::uint32_t kSlots = 128;
    static constexpr std::uint32_t kProbes = 8;

    template <class Unit>
    static Entry Make(const Unit* pUnits, int nUnits)
    {
        Entry entry;
        WCHAR* pName = entry.name.GetBufferSetLength(nUnits);
        for (int i = 0; i < nUnits; ++i)
            pName[i] = pUnits[i];
        entry.key = ZolAttributeKeyOf(entry.name);
        return entry;
    }

    template <class Unit>
    const Entry& Fresh(const Unit* pUnits, int nUnits)
    {
        m_fresh = Make(pUnits, nUnits);
        return m_fresh;
    }

    std::array<Entry, kSlots> m_entries;
    Entry m_fresh;
};
