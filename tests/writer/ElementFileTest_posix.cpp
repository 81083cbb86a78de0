// Saving when the system refuses: a full disk and a folder that may not be
// written. Each save runs in a child process: a file size limit stands for
// the full disk, and the unprivileged user "nobody" for a refused writer
// (root writes anywhere).
#include "WriterTestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <iterator>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
constexpr int kSaved = 100;

// The cause the save raised in a child prepared so, or kSaved.
int SaveInChild(const std::function<bool()>& prepare, const CZOLLibXMLElement& tree, const std::string& path)
{
    const pid_t child = fork();
    if (child == 0)
    {
        if (!prepare())
            _exit(kSaved + 1);
        try
        {
            tree.ToFile(path.c_str(), 1, 0, 2);
            _exit(kSaved);
        }
        catch (CFileException* e)
        {
            const int cause = e->m_cause;
            e->Delete();
            _exit(cause);
        }
        catch (CException* e)
        {
            e->Delete();
            _exit(kSaved + 2);
        }
    }
    int status = 0;
    if (child == -1 || waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

bool LimitFileSize()
{
    // Past the limit a write fails with EFBIG, as on a full disk, instead
    // of ending the process.
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{64, 64};
    return setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

bool BecomeUnprivileged()
{
    const uid_t nobody = 65534;
    return geteuid() != 0 || (setgid(nobody) == 0 && setuid(nobody) == 0);
}

struct RefusalCase
{
    const char* what;
    std::function<bool()> prepare;
    mode_t folderMode;
    int cause;
};

class RefusalTable : public testing::TestWithParam<RefusalCase>
{
};

TEST_P(RefusalTable, LeavesTheOldFileAndNothingElse)
{
    const RefusalCase& c = GetParam();
    ScratchDirectory dir;
    const std::filesystem::path path = dir.Write("doc.xml", "<old/>");
    ElementPtr tree(new CZOLLibXMLElement(nullptr, u"a"));
    tree->SetValue(std::u16string(1000, u'v').c_str());
    ASSERT_EQ(0, chmod(dir.Path("").c_str(), c.folderMode));

    EXPECT_EQ(c.cause, SaveInChild(c.prepare, *tree, path.u8string())) << c.what;

    chmod(dir.Path("").c_str(), 0755);
    EXPECT_EQ("<old/>", ScratchDirectory::Read(path));
    EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(dir.Path("")), {})) << c.what;
}

// A folder of mode 0555 may be read and searched, not written, by any user
// but root.
INSTANTIATE_TEST_SUITE_P(Refusals, RefusalTable,
                         testing::Values(RefusalCase{"no room", LimitFileSize, 0755, CFileException::diskFull},
                                         RefusalCase{"no permission", BecomeUnprivileged, 0555,
                                                     CFileException::accessDenied}));
} // namespace
