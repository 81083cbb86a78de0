// Saving to a file: the text as the writer makes it, in UTF-8, put in place
// whole or not at all.
#include "WriterTestSupport.h"

#include <afx/core/TextConversion.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace
{
// The names in a folder: a save leaves no file of its own behind.
std::set<std::filesystem::path> Entries(const std::filesystem::path& folder)
{
    std::set<std::filesystem::path> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename());
    return names;
}

std::string Utf8(const CString& text)
{
    CUtf8String bytes;
    AfxEncodeUtf8(text.GetString(), static_cast<std::size_t>(text.GetLength()), bytes);
    return std::string(bytes.data(), bytes.size());
}

const TreeSpec kLibrary = {u"library",
                           {{u"name", u"Caf\u00E9"}},
                           u"",
                           {{u"book", {}, u"Tea"}, {u"shelf", {}, u"", {{u"book"}, {u"\u00E9tag\u00E8re"}}}}};

struct SaveCase
{
    int declaration;
    int lineBreaks;
    int indent;
};

class SaveTable : public testing::TestWithParam<SaveCase>
{
};

TEST_P(SaveTable, WritesTheDocumentTextByEitherPathForm)
{
    const SaveCase& c = GetParam();
    const ElementPtr tree = BuildTree(kLibrary);
    const std::string expected = Utf8(tree->ToString(c.declaration, c.lineBreaks, c.indent));
    ScratchDirectory dir;
    const std::filesystem::path wide = dir.Path(u"wide-\u00E9.xml");
    const std::filesystem::path narrow = dir.Path(u"narrow-\u6587\U0001F600.xml");
    tree->ToFile(wide.u16string().c_str(), c.declaration, c.lineBreaks, c.indent);
    tree->ToFile(narrow.u8string().c_str(), c.declaration, c.lineBreaks, c.indent);

    EXPECT_EQ(expected, ScratchDirectory::Read(wide));
    EXPECT_EQ(expected, ScratchDirectory::Read(narrow));
    EXPECT_EQ(2u, Entries(dir.Path("")).size());
    const ElementPtr readBack(CZOLLibXMLElement::FromFile(narrow.u8string().c_str(), c.declaration));
    EXPECT_TRUE(tree->Equals(readBack.get()));
}

INSTANTIATE_TEST_SUITE_P(Forms, SaveTable,
                         testing::Values(SaveCase{0, 0, 0}, SaveCase{1, 1, 0}, SaveCase{1, 0, 2}));

TEST(ToFile, ReplacesAnEarlierFile)
{
    ScratchDirectory dir;
    const std::filesystem::path path = dir.Write("doc.xml", std::string(10000, 'x'));
    const ElementPtr tree = BuildTree({u"a"});
    tree->ToFile(path.u16string().c_str(), 0, 0);
    EXPECT_EQ("<a/>", ScratchDirectory::Read(path));
    EXPECT_EQ(1u, Entries(dir.Path("")).size());
}

struct FailureCase
{
    const char* what;
    std::string target;             // beside the files "old.xml" and "folder/inner.xml"
    std::vector<int> causes;        // the systems differ on some
};

class SaveFailureTable : public testing::TestWithParam<FailureCase>
{
};

TEST_P(SaveFailureTable, RaisesItsCauseNamingThePathAndChangesNothing)
{
    const FailureCase& c = GetParam();
    ScratchDirectory dir;
    dir.Write("old.xml", "<old/>");
    std::filesystem::create_directory(dir.Path("folder"));
    dir.Write("folder/inner.xml", "<inner/>");
    const auto before = Entries(dir.Path(""));
    const std::u16string target = c.target.empty() ? std::u16string() : dir.Path(c.target).u16string();

    const ElementPtr tree = BuildTree(kLibrary);
    try
    {
        tree->ToFile(target.c_str(), 1, 1);
        ADD_FAILURE() << c.what << ": no exception";
    }
    catch (CFileException* e)
    {
        EXPECT_NE(c.causes.end(), std::find(c.causes.begin(), c.causes.end(), e->m_cause))
            << c.what << ": cause " << e->m_cause;
        EXPECT_EQ(target, Units(e->m_strFileName)) << c.what;
        e->Delete();
    }
    EXPECT_EQ(before, Entries(dir.Path(""))) << c.what;
    EXPECT_EQ("<old/>", ScratchDirectory::Read(dir.Path("old.xml"))) << c.what;
    EXPECT_EQ("<inner/>", ScratchDirectory::Read(dir.Path("folder/inner.xml"))) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Failures, SaveFailureTable,
    testing::Values(
        FailureCase{"a folder in the way", "folder", {CFileException::accessDenied}},
        FailureCase{"no such folder", "missing/new.xml", {CFileException::fileNotFound, CFileException::badPath}},
        FailureCase{"a file where a folder should be", "old.xml/new.xml", {CFileException::badPath}},
        FailureCase{"no path", "", {CFileException::badPath}}));

TEST(ToFile, RefusesAPathThatIsNotUtf8)
{
    ScratchDirectory dir;
    const std::string path = dir.Path("bad-").u8string() + "\xC3\x28.xml";
    try
    {
        BuildTree({u"a"})->ToFile(path.c_str(), 0, 0);
        ADD_FAILURE() << "no exception";
    }
    catch (CFileException* e)
    {
        EXPECT_EQ(CFileException::badPath, e->m_cause);
        e->Delete();
    }
    EXPECT_TRUE(Entries(dir.Path("")).empty());
}
} // namespace
