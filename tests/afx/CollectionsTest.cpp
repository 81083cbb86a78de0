#include <afx/core/afx.h>

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace
{
void* P(INT_PTR i)
{
    return reinterpret_cast<void*>(i);
}

std::vector<INT_PTR> Items(const CPtrList& list)
{
    std::vector<INT_PTR> out;
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;)
        out.push_back(reinterpret_cast<INT_PTR>(list.GetNext(pos)));
    return out;
}

std::vector<CString> Keys(const CMapStringToPtr& map)
{
    std::vector<CString> out;
    CString key;
    void* value = nullptr;
    for (POSITION pos = map.GetStartPosition(); pos != nullptr;)
    {
        map.GetNextAssoc(pos, key, value);
        out.push_back(key);
    }
    return out;
}
}

TEST(CPtrList, AddFindRemove)
{
    CPtrList list;
    for (INT_PTR i = 1; i <= 25; ++i)
        list.AddTail(P(i));
    EXPECT_EQ(25, list.GetCount());
    EXPECT_EQ(P(1), list.GetHead());

    list.RemoveAt(list.Find(P(10)));
    list.RemoveAt(list.Find(P(1)));
    list.RemoveAt(list.Find(P(25)));
    EXPECT_EQ(nullptr, list.Find(P(10)));
    EXPECT_EQ(22, list.GetCount());
    std::vector<INT_PTR> expected;
    for (INT_PTR i = 2; i <= 24; ++i)
        if (i != 10)
            expected.push_back(i);
    EXPECT_EQ(expected, Items(list));

    POSITION second = list.Find(P(2));
    EXPECT_EQ(list.Find(P(3)), list.Find(P(3), second));
    EXPECT_EQ(nullptr, list.Find(P(2), second));
    EXPECT_EQ(P(2), list.RemoveHead());
    EXPECT_EQ(P(3), list.GetHead());
    list.RemoveAll();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(nullptr, list.GetHeadPosition());
    list.AddTail(P(7));
    EXPECT_EQ(std::vector<INT_PTR>{7}, Items(list));
}

TEST(CPtrList, EmptyListAccessRaisesInvalidArgument)
{
    CPtrList list;
    int raised = 0;
    for (auto access : {+[](CPtrList& l) { l.GetHead(); }, +[](CPtrList& l) { l.RemoveHead(); },
                        +[](CPtrList& l) { POSITION p = nullptr; l.GetNext(p); }})
    {
        try
        {
            access(list);
        }
        catch (CInvalidArgException* e)
        {
            ++raised;
            e->Delete();
        }
    }
    EXPECT_EQ(3, raised);
}

TEST(CMapStringToPtr, InsertionOrderAndReplacementInPlace)
{
    CMapStringToPtr map;
    for (LPCWSTR key : {u"m", u"c", u"x", u"a"})
        map.SetAt(key, P(1));
    map[u"c"] = P(2);
    EXPECT_EQ((std::vector<CString>{u"m", u"c", u"x", u"a"}), Keys(map));
    void* value = nullptr;
    EXPECT_TRUE(map.Lookup(u"c", value));
    EXPECT_EQ(P(2), value);
    EXPECT_FALSE(map.Lookup(u"C", value)); // keys are exact; callers fold them

    EXPECT_TRUE(map.RemoveKey(u"c"));
    EXPECT_FALSE(map.RemoveKey(u"c"));
    map.SetAt(u"c", P(3));
    EXPECT_EQ((std::vector<CString>{u"m", u"x", u"a", u"c"}), Keys(map));
    EXPECT_EQ(4, map.GetCount());
}

TEST(CMapStringToPtr, GrowsAndStaysConsistentUnderChurn)
{
    CMapStringToPtr map;
    std::vector<CString> keys;
    for (int i = 0; i < 3000; ++i)
    {
        CString key(u"k");
        key += CString(static_cast<WCHAR>(u'A' + i % 26), 1 + i / 26);
        keys.push_back(key);
        map.SetAt(key, P(i));
    }
    for (int i = 0; i < 3000; i += 2)
        EXPECT_TRUE(map.RemoveKey(keys[static_cast<std::size_t>(i)]));
    EXPECT_EQ(1500, map.GetCount());
    for (int i = 0; i < 3000; ++i)
    {
        void* value = nullptr;
        EXPECT_EQ(i % 2 == 1, map.Lookup(keys[static_cast<std::size_t>(i)], value) != FALSE);
        EXPECT_EQ(i % 2 == 1 ? P(i) : nullptr, value);
    }
    std::vector<CString> odd;
    for (std::size_t i = 1; i < keys.size(); i += 2)
        odd.push_back(keys[i]);
    EXPECT_EQ(odd, Keys(map));
    map.RemoveAll();
    EXPECT_TRUE(map.IsEmpty());
    EXPECT_EQ(nullptr, map.GetStartPosition());
}

TEST(CMapStringToPtr, PairWalkMatchesCursorWalk)
{
    CMapStringToPtr map;
    map.SetAt(u"one", P(1));
    map.SetAt(u"two", P(2));
    std::vector<CString> keys;
    for (const CMapStringToPtr::CPair* p = map.PGetFirstAssoc(); p != nullptr; p = map.PGetNextAssoc(p))
        keys.push_back(p->key);
    EXPECT_EQ(Keys(map), keys);
}

namespace
{
// Keys made of the blocks U+4E00 U+4E21 and U+4E01 U+4E00 all share one value
// under an unkeyed "times 33 plus unit" hash, however they are joined.
std::vector<CString> KeysCollidingUnderAFixedHash(int nBlocks)
{
    std::vector<CString> keys;
    for (int nPattern = 0; nPattern < (1 << nBlocks); ++nPattern)
    {
        CString key;
        for (int i = 0; i < nBlocks; ++i)
            key += (nPattern >> i & 1) != 0 ? u"\u4E00\u4E21" : u"\u4E01\u4E00";
        keys.push_back(key);
    }
    return keys;
}
} // namespace

TEST(CMapStringToPtr, PreparedKeysDoNotShareOneHash)
{
    const std::vector<CString> keys = KeysCollidingUnderAFixedHash(6);
    std::set<UINT> hashes;
    for (const CString& key : keys)
        hashes.insert(CMapStringToPtr::HashKey(key));
    EXPECT_GT(hashes.size(), keys.size() - 2) << "a chance collision of two is possible, not more";

    CMapStringToPtr map;
    for (std::size_t i = 0; i < keys.size(); ++i)
        map.SetAt(keys[i], P(static_cast<int>(i)));
    EXPECT_EQ(keys, Keys(map));
    for (std::size_t i = 0; i < keys.size(); ++i)
    {
        void* value = nullptr;
        EXPECT_TRUE(map.Lookup(keys[i], value));
        EXPECT_EQ(P(static_cast<int>(i)), value);
    }
}

TEST(CPtrList, PositionsOfOtherListsAreRefused)
{
    CPtrList list;
    CPtrList other;
    list.AddTail(P(1));
    const POSITION foreign = other.AddTail(P(2));
    try
    {
        list.RemoveAt(foreign);
        FAIL() << "removed a node of another list";
    }
    catch (CInvalidArgException* e)
    {
        e->Delete();
    }
    EXPECT_EQ(std::vector<INT_PTR>{1}, Items(list));
    EXPECT_EQ(std::vector<INT_PTR>{2}, Items(other));
}

// A map of one entry holds it in itself and turns into a table with the
// second; walks, lookups and removals see one map throughout.
TEST(CMapStringToPtr, GrowsFromOneEntryToATableAndBack)
{
    CMapStringToPtr map;
    EXPECT_EQ(nullptr, map.GetStartPosition());
    map.SetAt(u"one", P(1));
    EXPECT_EQ(1, map.GetCount());
    EXPECT_EQ((std::vector<CString>{u"one"}), Keys(map));
    map.SetAt(u"two", P(2));
    map.SetAt(u"one", P(11));
    EXPECT_EQ((std::vector<CString>{u"one", u"two"}), Keys(map));
    void* value = nullptr;
    EXPECT_TRUE(map.Lookup(u"one", value));
    EXPECT_EQ(P(11), value);
    EXPECT_TRUE(map.RemoveKey(u"one"));
    EXPECT_TRUE(map.RemoveKey(u"two"));
    EXPECT_TRUE(map.IsEmpty());
    map.SetAt(u"three", P(3));
    EXPECT_EQ((std::vector<CString>{u"three"}), Keys(map));
}

// As with MFC's maps, a walk may remove the entry it has just passed, and
// goes on with the next; a position that names no entry any more is refused.
TEST(CMapStringToPtr, AWalkMayRemoveWhatItPassed)
{
    for (int nEntries : {1, 2, 5, 40})
    {
        CMapStringToPtr map;
        std::vector<CString> keys;
        for (int i = 0; i < nEntries; ++i)
        {
            keys.push_back(CString(u"k") + CString(static_cast<WCHAR>(u'a' + i % 26), 1 + i / 26));
            map.SetAt(keys.back(), P(i));
        }
        std::vector<CString> seen;
        for (POSITION pos = map.GetStartPosition(); pos != nullptr;)
        {
            CString key;
            void* value = nullptr;
            map.GetNextAssoc(pos, key, value);
            seen.push_back(key);
            EXPECT_TRUE(map.RemoveKey(key));
        }
        EXPECT_EQ(keys, seen) << nEntries;
        EXPECT_TRUE(map.IsEmpty());

        map.SetAt(u"x", P(1));
        POSITION stale = map.GetStartPosition();
        map.RemoveKey(u"x");
        try
        {
            CString key;
            void* value = nullptr;
            map.GetNextAssoc(stale, key, value);
            FAIL() << "a stale position was followed";
        }
        catch (CInvalidArgException* e)
        {
            e->Delete();
        }
    }
}

TEST(CMapStringToPtr, KeysGivenAsStringsShareTheirBuffers)
{
    CMapStringToPtr map;
    const CString key(u"a key long enough for a buffer of its own");
    map[key] = P(1);
    const CMapStringToPtr::CPair* pPair = map.PGetFirstAssoc();
    ASSERT_NE(nullptr, pPair);
    EXPECT_EQ(key.GetString(), pPair->key.GetString());
    // A key taken whole with its NUL is found by no text.
    const WCHAR units[] = {u'a', 0, u'b'};
    map[CString(units, 3)] = P(2);
    void* value = nullptr;
    EXPECT_FALSE(map.Lookup(u"a", value));
    EXPECT_EQ(2, map.GetCount());
}
