#include "ReaderTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>

#if !defined(_WIN32)
#  include <sys/stat.h>
#endif

namespace
{
using namespace std::string_literals;

std::string Utf16(const std::string& ascii, bool bigEndian)
{
    std::string bytes;
    for (char ch : ascii)
        bytes += bigEndian ? "\0"s + ch : ch + "\0"s;
    return bytes;
}

const std::string LE = "\xFF\xFE";
const std::string BE = "\xFE\xFF";

TEST(FromBytes, DetectsTheEncodingAndReads)
{
    const struct
    {
        std::string bytes;
        const char* tree;
        std::string bufferAfter; // empty: the buffer is unchanged
    } cases[] = {{LE + Utf16("<a/>", false), "a", ""},
                 {LE + Utf16("<a/>", false) + "\x01", "a", ""}, // odd last byte ignored
                 {BE + Utf16("<a>x</a>", true), "a=\"x\"", BE + Utf16("<a>x</a>", false)},
                 {BE + Utf16("<a/>", true) + "<", "a", BE + Utf16("<a/>", false) + "<"},
                 {"\xEF\xBB\xBF<a/>", "a", ""},
                 {"<a/>", "a", ""},
                 {"<a>\xC3\xA9</a>", "a=\"\u00E9\"", ""},
                 {"<a>\xFF\xC3(x</a>", "a=\"\uFFFD\uFFFD(x\"", ""}, // invalid bytes do not fail a load
                 {"<a\xFF/>", "null", ""},
                 {Utf16("<a/>", false), "null", ""}, // no mark: UTF-8, ended by its first NUL
                 {"", "null", ""},
                 {"<", "null", ""},
                 {LE, "null", ""},
                 {BE + "\0"s, "null", ""},
                 {LE + "\0\0"s + Utf16("<a/>", false), "null", ""},
                 {"<a/>\0\xFF\xFE garbage"s, "a", ""},
                 {"\xEF\xBB\xBF\xEF\xBB\xBF<a/>", "null", ""}}; // a second mark is text
    for (const auto& c : cases)
    {
        std::string buffer = c.bytes;
        const ElementPtr root(CZOLLibXMLElement::FromBytes(reinterpret_cast<BYTE*>(&buffer[0]),
                                                           static_cast<DWORD>(buffer.size()), 0));
        EXPECT_EQ(c.tree, Describe(root.get())) << c.bytes;
        EXPECT_EQ(c.bufferAfter.empty() ? c.bytes : c.bufferAfter, buffer);
    }
    std::string plain = "<a/>";
    EXPECT_EQ(nullptr, CZOLLibXMLElement::FromBytes(reinterpret_cast<BYTE*>(&plain[0]), 4, 1));
    EXPECT_EQ(nullptr, CZOLLibXMLElement::FromBytes(nullptr, 4, 0));
}

ElementPtr Load(const std::filesystem::path& path, int requireDeclaration = 0)
{
    return ElementPtr(CZOLLibXMLElement::FromFile(path.u16string().c_str(), requireDeclaration));
}

TEST(FromFile, RefusesWhatCannotBeOpenedOrRead)
{
    ScratchDirectory dir;
    EXPECT_EQ(nullptr, Load(dir.Path("missing.xml")));
    EXPECT_EQ(nullptr, Load(dir.Write("empty.xml", "")));
    EXPECT_EQ(nullptr, Load(dir.Path(".")));
#if !defined(_WIN32)
    ASSERT_EQ(0, mkfifo(dir.Path("fifo").c_str(), 0600));
    EXPECT_EQ(nullptr, Load(dir.Path("fifo"))); // and does not wait for a writer
#endif
}

TEST(FromFile, PassesRequireDeclarationOn)
{
    ScratchDirectory dir;
    const auto plain = dir.Write("plain.xml", "<a/>");
    const auto declared = dir.Write("declared.xml", "<?xml version=\"1.0\"?><a/>");
    EXPECT_EQ("a", Describe(Load(plain, 0).get()));
    EXPECT_EQ(nullptr, Load(plain, 1));
    EXPECT_EQ("a", Describe(Load(declared, 1).get()));
}

TEST(FromFile, ReadsNamesOutsideAscii)
{
    ScratchDirectory dir;
    EXPECT_EQ("a", Describe(Load(dir.Write(u"\u00FC-\u6587\U0001F600.xml", "<a/>")).get()));
}

TEST(FromFile, HandleFormReadsFromItsPositionAndKeepsTheHandle)
{
    ScratchDirectory dir;
    const HANDLE h = CreateFileW(dir.Write("f.xml", "<b/><a/>").u16string().c_str(), GENERIC_READ, FILE_SHARE_READ,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    ASSERT_EQ(4u, SetFilePointer(h, 4, nullptr, FILE_BEGIN));
    EXPECT_EQ("a", Describe(ElementPtr(CZOLLibXMLElement::FromFile(h, 0)).get()));
    EXPECT_EQ(8u, SetFilePointer(h, 0, nullptr, FILE_CURRENT));
    EXPECT_TRUE(CloseHandle(h));
}

TEST(FromFile, SharesTheFileWithReadersOnly)
{
    ScratchDirectory dir;
    const auto path = dir.Write("f.xml", "<a/>");
    const auto open = [&](DWORD access, DWORD share) {
        return CreateFileW(path.u16string().c_str(), access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    };
    const HANDLE reader = open(GENERIC_READ, FILE_SHARE_READ);
    EXPECT_EQ("a", Describe(Load(path).get()));
    CloseHandle(reader);
    const HANDLE writer = open(GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
    EXPECT_EQ(nullptr, Load(path));
    CloseHandle(writer);
}

// The size limit holds at its edge, and the largest file may be nested
// as deeply as it can be, read on a small stack.
TEST(FromFile, LoadsFourMebibytesAndNotOneByteMore)
{
    const std::size_t limit = 4194304;
    const std::size_t levels = limit / 7;
    std::string text = NestedElements(levels);
    text.append(limit - text.size(), ' ');
    ScratchDirectory dir;
    const auto edge = dir.Write("edge.xml", text);
    const auto over = dir.Write("over.xml", text + " ");

    int depth = 0;
    bool overRefused = false;
    RunOnSmallStack(kSmallStack, [&] {
        ElementPtr root = Load(edge);
        depth = Depth(root.get());
        root.reset();
        overRefused = Load(over) == nullptr;
    });
    EXPECT_EQ(static_cast<int>(levels), depth);
    EXPECT_TRUE(overRefused);
}
} // namespace
