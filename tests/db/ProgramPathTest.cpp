#include "db/ProgramPath.h"

#include "db/CFrontLibrary.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {
namespace fs = std::filesystem;

// A scratch tree laid out like an install prefix: bin/ and lib/quellix/.
class ProgramPath : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = fs::temp_directory_path() / ("quellix-program-path-" + std::to_string(::getpid()));
        fs::create_directories(root / "bin");
    }
    void TearDown() override { fs::remove_all(root); }

    void putLibrary(const fs::path& programPath)
    {
        fs::create_directories(programPath / "cfront");
        std::ofstream(CFrontLibrary::libraryFilePath(programPath.string())) << "stand-in";
    }

    fs::path root;
};
} // namespace

TEST_F(ProgramPath, InstalledLibraryFolderBesideTheProgramFolderIsTheDefault)
{
    putLibrary(root / "lib" / "quellix");
    EXPECT_EQ(defaultProgramPathFor((root / "bin").string()), (root / "lib" / "quellix").string());
}

TEST_F(ProgramPath, ProgramFolderHoldingTheLibraryWinsOverTheInstalledOne)
{
    putLibrary(root / "bin");
    putLibrary(root / "lib" / "quellix");
    EXPECT_EQ(defaultProgramPathFor((root / "bin").string()), (root / "bin").string());
}

TEST_F(ProgramPath, WithoutAnyLibraryTheMissingFileIsNamedWhereItBelongs)
{
    // a folder, not the library
    fs::create_directories(CFrontLibrary::libraryFilePath((root / "lib" / "quellix").string()));
    // An installed program: where the stand-in's package puts the library.
    EXPECT_EQ(defaultProgramPathFor((root / "bin").string()), (root / "lib" / "quellix").string());
    // A build tree: the program's own folder.
    fs::create_directories(root / "build");
    EXPECT_EQ(defaultProgramPathFor((root / "build").string()), (root / "build").string());
}

TEST(ProgramPathOfThisProgram, IsAnAbsoluteFolder)
{
    const fs::path folder = runningProgramFolder();
    EXPECT_TRUE(folder.is_absolute());
    EXPECT_TRUE(fs::is_directory(folder));
}
