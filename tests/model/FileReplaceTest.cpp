#include "model/FileReplace.h"

#include "analysis/OperationTable.h"
#include "jobs/JobRunner.h"
#include "model/ObjektManager.h"
#include "results/ListExportText.h"
#include "results/ResultList.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

fs::path freshFolder(const std::string& name)
{
    fs::path folder = fs::temp_directory_path() / ("quellix-replace-" + name + "-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void writeFile(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// An export of forms with code whose code export and split files are each larger than limit.
std::string formsWithCode(int forms)
{
    std::string text;
    for (int i = 1; i <= forms; ++i)
        text += "OBJECT Form " + std::to_string(i) + " F\r\n{\r\n  CODE\r\n  {\r\n    PROCEDURE P@1();\r\n    BEGIN\r\n"
                "      MESSAGE('" + std::string(200, 'm') + "');\r\n    END;\r\n\r\n    BEGIN\r\n    END.\r\n  }\r\n}\r\n\r\n";
    return text;
}

// Files this process writes may grow to limit bytes only; a longer write fails (EFBIG), as on a
// full disk. The old limit and the signal's action come back at the end of the scope.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t limit)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = m_old;
        lowered.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

std::vector<std::string> folderEntries(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(FileReplace, FailedCodeExportKeepsTheOldFileAndReportsTheFile)
{
    const fs::path folder = freshFolder("code");
    writeFile(folder / "export.txt", formsWithCode(40));
    const fs::path target = folder / "code.txt";
    writeFile(target, "old code export\r\n");

    JobRequest request;
    request.operation = &exportCodeOperation();
    request.sourceFile = (folder / "export.txt").string();
    request.args.path = target.string();
    CLoadedExport loaded;
    CObjektManager manager;
    CResultList list;
    Outcome status;
    {
        FileSizeLimit limit(4096);
        status = runJob(request, loaded, manager, list, nullptr, nullptr, nullptr);
    }
    EXPECT_EQ(status.kind, OutcomeKind::CannotWrite);
    EXPECT_EQ(status.path, target.string());
    EXPECT_EQ(readFile(target), "old code export\r\n");
    EXPECT_EQ(folderEntries(folder), (std::vector<std::string>{"code.txt", "export.txt"}));

    // Without the limit the same job replaces the file whole.
    EXPECT_TRUE(runJob(request, loaded, manager, list, nullptr, nullptr, nullptr).ok());
    EXPECT_GT(readFile(target).size(), 4096u);
    EXPECT_EQ(folderEntries(folder), (std::vector<std::string>{"code.txt", "export.txt"}));
    fs::remove_all(folder);
}

TEST(FileReplace, FailedSplitKeepsTheOldObjectFileWhole)
{
    const fs::path folder = freshFolder("split");
    const std::string text = formsWithCode(2);
    CSourceText source(text);
    CObjektManager manager;
    manager.load(&source, "forms.txt");
    writeFile(folder / "Form 1.txt", "old form");
    {
        FileSizeLimit limit(100);
        EXPECT_FALSE(manager.split(folder.string(), 1, 2, nullptr).ok());
    }
    EXPECT_EQ(readFile(folder / "Form 1.txt"), "old form");
    EXPECT_EQ(folderEntries(folder), std::vector<std::string>{"Form 1.txt"});
    fs::remove_all(folder);
}

TEST(FileReplace, FailedListExportKeepsWhatWasAppendedBefore)
{
    const fs::path folder = freshFolder("list");
    const std::string path = (folder / "list.txt").string();
    ASSERT_TRUE(appendToFile(path, "first export\r\n"));
    {
        FileSizeLimit limit(1000);
        EXPECT_FALSE(appendToFile(path, std::string(2000, 'x')));
    }
    EXPECT_EQ(readFile(path), "first export\r\n");
    EXPECT_EQ(folderEntries(folder), std::vector<std::string>{"list.txt"});
    ASSERT_TRUE(appendToFile(path, "second\r\n"));
    EXPECT_EQ(readFile(path), "first export\r\nsecond\r\n");
    fs::remove_all(folder);
}

TEST(FileReplace, ReplacedFileKeepsItsPermissionsAndAnUnwritableFolderFailsCleanly)
{
    const fs::path folder = freshFolder("mode");
    const fs::path target = folder / "out.txt";
    writeFile(target, "old");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(replaceFile(target.string(), "new"));
    EXPECT_EQ(readFile(target), "new");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_FALSE(replaceFile((folder / "missing" / "out.txt").string(), "x"));
    fs::remove_all(folder);
}

// A real full disk: a tmpfs of 16 KB, when this process may mount one (root in a container that
// allows it); otherwise the test is skipped and the size limit above stands in for it.
TEST(FileReplace, FullFileSystemLeavesTheOldCodeExport)
{
    const fs::path mountPoint = freshFolder("tmpfs");
    if (::mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, "size=16k") != 0) {
        fs::remove_all(mountPoint);
        GTEST_SKIP() << "no tmpfs mount allowed here";
    }
    const std::string text = formsWithCode(200);
    CSourceText source(text);
    CObjektManager manager;
    manager.load(&source, "forms.txt");
    const fs::path target = mountPoint / "code.txt";
    writeFile(target, "old code export\r\n");
    EXPECT_FALSE(manager.exportCode(target.string()).ok());
    EXPECT_EQ(readFile(target), "old code export\r\n");
    EXPECT_EQ(folderEntries(mountPoint), std::vector<std::string>{"code.txt"});
    ::umount2(mountPoint.c_str(), MNT_DETACH);
    fs::remove_all(mountPoint);
}

// Only a regular file is renamed over: a device or FIFO is written in place and stays what it was,
// a link is followed and stays a link, a directory is refused untouched.
TEST(FileReplace, OnlyARegularFileIsReplaced)
{
    const fs::path folder = freshFolder("kinds");
    writeFile(folder / "real.txt", "old");
    fs::create_symlink("real.txt", folder / "link.txt");
    fs::create_symlink("made.txt", folder / "dangling.txt");
    fs::create_directory(folder / "dir");
    ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
    const int reader = ::open((folder / "fifo").c_str(), O_RDONLY | O_NONBLOCK);

    struct Case {
        fs::path target;
        bool written;
        fs::file_type kindAfter;
        fs::path readBack; // where the new bytes land, empty when nowhere to read
    } cases[] = {
        {"/dev/null", true, fs::file_type::character, {}},
        {"/dev/full", false, fs::file_type::character, {}},
        {folder / "fifo", true, fs::file_type::fifo, {}},
        {folder / "link.txt", true, fs::file_type::symlink, folder / "real.txt"},
        {folder / "dangling.txt", true, fs::file_type::symlink, folder / "made.txt"},
        {folder / "dir", false, fs::file_type::directory, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target.string());
        EXPECT_EQ(replaceFile(c.target.string(), "new"), c.written);
        EXPECT_EQ(fs::symlink_status(c.target).type(), c.kindAfter);
        if (!c.readBack.empty()) {
            EXPECT_EQ(readFile(c.readBack), "new");
        }
    }
    char got[8] = {};
    EXPECT_EQ(::read(reader, got, sizeof got), 3);
    EXPECT_EQ(std::string(got), "new");
    ::close(reader);
    EXPECT_TRUE(fs::is_empty(folder / "dir"));
    fs::remove_all(folder);
}

// What stands at the target decides: an appending writer must not take an unreadable target for a
// missing one (the earlier exports would be lost), and a rename that fails must not leave the
// temporary file in the user's folder.
TEST(FileReplace, UnreadableOrUnreplaceableTargetFailsAndLeavesOnlyWhatWasThere)
{
    const fs::path folder = freshFolder("targets");
    const fs::path loop = folder / "loop.txt";
    fs::create_symlink(loop, loop); // reading it fails with ELOOP, not "no such file"
    const fs::path dir = folder / "Table 18.txt";
    fs::create_directories(dir / "inside"); // a folder where the file goes: the rename fails
    struct Case {
        fs::path target;
        bool append;
    } cases[] = {{loop, true}, {dir, false}, {dir, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target.string() + (c.append ? " appended" : " replaced"));
        CReplacingFile file(c.target.string(), false);
        const bool written = (!c.append || file.copyTarget()) && file.write("new") && file.commit();
        EXPECT_FALSE(written);
        EXPECT_EQ(folderEntries(folder), (std::vector<std::string>{"Table 18.txt", "loop.txt"}));
        EXPECT_TRUE(fs::is_symlink(loop));
        EXPECT_TRUE(fs::is_directory(dir / "inside"));
    }
    fs::remove_all(folder);
}

// A folder made where the file goes while it is written (the split's "Table 18.txt"): the final
// rename fails, and the temporary file goes with it.
TEST(FileReplace, AFailedRenameLeavesNoTemporaryFile)
{
    const fs::path folder = freshFolder("rename-fails");
    CReplacingFile file((folder / "Table 18.txt").string(), false);
    ASSERT_TRUE(file.write("new"));
    fs::create_directories(folder / "Table 18.txt" / "inside");
    EXPECT_FALSE(file.commit());
    EXPECT_EQ(folderEntries(folder), std::vector<std::string>{"Table 18.txt"});
    fs::remove_all(folder);
}

// A target that is there but cannot be opened for reading (here for want of a file descriptor; a
// file without read permission for any user but root) is no missing one: appending fails and the
// earlier exports stay.
TEST(FileReplace, AppendingFailsWhenTheTargetCannotBeOpened)
{
    const fs::path folder = freshFolder("no-descriptor");
    const fs::path target = folder / "list.txt";
    std::ofstream(target) << "earlier\n";
    CReplacingFile file(target.string(), false);
    const int lowestFree = ::dup(0); // every descriptor below it is taken
    ::close(lowestFree);
    rlimit limit{};
    ::getrlimit(RLIMIT_NOFILE, &limit);
    const rlimit none{static_cast<rlim_t>(lowestFree), limit.rlim_max};
    ::setrlimit(RLIMIT_NOFILE, &none);
    const bool copied = file.copyTarget();
    ::setrlimit(RLIMIT_NOFILE, &limit);
    EXPECT_FALSE(copied && file.write("new\n") && file.commit());
    std::ifstream in(target);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "earlier\n");
    fs::remove_all(folder);
}
