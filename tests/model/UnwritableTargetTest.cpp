// The writers (code export, split, list export) facing a target they cannot write: each fails
// naming the file with the same reason on every system, leaves what stood there as it was and
// leaves no file of its own behind.
#include "model/FileReplace.h"
#include "results/ListExportText.h"
#include "support/TestExport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include <unistd.h>
#ifdef _WIN32
#include "model/WinText.h"
#endif

namespace {
namespace fs = std::filesystem;

const std::string kForm = crlf("OBJECT Form 1 F\n{\n  CODE\n  {\n    PROCEDURE P@1();\n    BEGIN\n    END;\n\n"
                               "    BEGIN\n    END.\n  }\n}\n");

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::vector<std::string> folderEntries(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Each writer writes "PLACE/Form 1.txt" and returns its reason ("" for success; the list export,
// which gives none, "failed").
struct Writer {
    const char* name;
    std::function<std::string(CObjektManager&, const std::string& place)> write;
};

std::string reasonOf(const Outcome& outcome)
{
    return outcome.ok() ? "" : outcome.reason;
}

const Writer kWriters[] = {
    {"export-code", [](CObjektManager& m, const std::string& place) { return reasonOf(m.exportCode(place + "/Form 1.txt")); }},
    {"split", [](CObjektManager& m, const std::string& place) { return reasonOf(m.split(place, 1, 1, nullptr)); }},
    {"list export",
     [](CObjektManager&, const std::string& place) {
         return appendToFile(place + "/Form 1.txt", "new\r\n") ? std::string() : std::string("failed");
     }},
};

} // namespace

// A folder that is a file: the reason POSIX gives, on Windows too (which says "path not found").
TEST(UnwritableTarget, FolderThatIsAFileIsNamedSoOnEverySystem)
{
    const fs::path folder = fs::temp_directory_path() / ("quellix-unwritable-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    const std::string file = (folder / "export.txt").string();
    std::ofstream(file, std::ios::binary) << kForm;
    for (const std::string& place : {file, file + "/sub"}) {
        for (const Writer& writer : kWriters) {
            SCOPED_TRACE(std::string(writer.name) + " into " + place);
            LoadedExport loaded(kForm);
            const std::string reason = writer.write(*loaded.manager, place);
            EXPECT_EQ(reason, writer.name == std::string("list export") ? "failed" : place + "/Form 1.txt: Not a directory");
            EXPECT_EQ(readFile(file), kForm);
            EXPECT_EQ(folderEntries(folder), std::vector<std::string>{"export.txt"});
        }
    }
    fs::remove_all(folder);
}

#ifdef _WIN32
// Windows refuses to replace a read-only file and one that another program holds open without
// sharing it (POSIX replaces both: the folder's permissions decide there).
TEST(UnwritableTarget, ReadOnlyOrHeldOpenFileStaysAsItWas)
{
    const fs::path folder = fs::temp_directory_path() / ("quellix-held-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path target = folder / "Form 1.txt";
    struct Obstacle {
        const char* name;
        std::function<std::function<void()>()> block; // returns what lifts it
        std::string reason;
    } obstacles[] = {
        {"read-only",
         [&] {
             fs::permissions(target, fs::perms::owner_write, fs::perm_options::remove);
             return [&] { fs::permissions(target, fs::perms::owner_write, fs::perm_options::add); };
         },
         "Permission denied"},
        {"held open",
         [&] {
             HANDLE held = CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
             EXPECT_NE(held, INVALID_HANDLE_VALUE);
             return [held] { CloseHandle(held); };
         },
         systemErrorText(ERROR_SHARING_VIOLATION)},
    };
    for (const Obstacle& obstacle : obstacles) {
        for (const Writer& writer : kWriters) {
            SCOPED_TRACE(std::string(writer.name) + ", " + obstacle.name);
            std::ofstream(target, std::ios::binary | std::ios::trunc) << "old";
            LoadedExport loaded(kForm);
            const std::function<void()> lift = obstacle.block();
            const std::string reason = writer.write(*loaded.manager, folder.string());
            lift();
            EXPECT_EQ(reason, writer.name == std::string("list export")
                                  ? std::string("failed")
                                  : folder.string() + "/Form 1.txt: " + obstacle.reason);
            EXPECT_EQ(readFile(target), "old");
            EXPECT_EQ(folderEntries(folder), std::vector<std::string>{"Form 1.txt"});
        }
    }
    fs::remove_all(folder);
}
#endif
