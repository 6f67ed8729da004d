#include "model/CodePage.h"
#include "support/Catalogue.h"
#include "support/CustomerExport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// The folders made by the tests, removed when the test program ends.
struct ScratchFolders {
    std::vector<fs::path> made;
    ~ScratchFolders()
    {
        std::error_code ignored;
        for (const fs::path& folder : made)
            fs::remove_all(folder, ignored);
    }
};

// A fresh, empty folder for the files of one test.
fs::path scratchFolder(const std::string& name)
{
    static ScratchFolders folders;
    fs::path folder = fs::temp_directory_path() / ("quellix-" + name + "-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    folders.made.push_back(folder);
    return folder;
}

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

} // namespace

TEST(CodeExport, WritesTriggersOutdentedAndProceduresOfFormsReportsAndDataportsOnly)
{
    Catalogue e(kCustomerExport);
    RecordingStatus status;
    e.manager->setStatusSink(&status);
    const fs::path file = scratchFolder("export") / "code.txt";
    std::ofstream(file) << std::string(5000, 'x'); // an older, longer file is replaced
    ASSERT_TRUE(e.manager->exportCode(file.string()).ok());

    const std::string expected = crlf("Form 18 Customer List\n"
                                      "\n"
                                      "OnOpenForm=BEGIN\n    SetupDone := TRUE;\n  END;\n\n\n"
                                      "\n"
                                      "\n    PROCEDURE Refresh@1();\n    VAR\n      Cust@1000 : Record 18;\n"
                                      "    BEGIN\n      Cust.GET;\n    END;\n\n\n"
                                      "\n    LOCAL PROCEDURE Check@1();\n    BEGIN\n      MESSAGE('x');\n    END;\n\n\n"
                                      "\n\n\n");
    EXPECT_EQ(readFile(file), expected);
    // The report has no code and is left out, yet every object has its status line.
    ASSERT_EQ(status.lines.size(), 6u);
    EXPECT_EQ(status.lines[3], "3 \t Name: Report 18 Customer Sales");
    EXPECT_EQ(status.lines[5], "Export done");
}

TEST(Split, RangeOfOneNumberWritesEveryObjectOfThatNumber)
{
    Catalogue e(kCustomerExport);
    const fs::path folder = scratchFolder("split");
    RecordingStatus progress;
    std::vector<std::string> written;
    ASSERT_TRUE(e.manager->split(folder.string(), 18, 18, &progress, &written).ok());
    const std::string prefix = folder.string() + "/";
    EXPECT_EQ(written, (std::vector<std::string>{prefix + "Table 18.txt", prefix + "Form 18.txt",
                                                 prefix + "Report 18.txt"}));
    EXPECT_EQ(progress.high, 5);
    EXPECT_EQ(progress.positions, (std::vector<int>{0, 0, 1, 2, 3, 4, 0}));

    written.clear();
    ASSERT_TRUE(e.manager->split(prefix, 19, 18, nullptr, &written).ok());
    EXPECT_TRUE(written.empty());
}

TEST(Split, FileHoldsTheObjectsOriginalBytesAndLoadsBackAsOneObject)
{
    // OEM bytes: 0x84 is "ä" in CP850.
    const std::string oem = crlf("OBJECT Table 5 A\n{\n  PROPERTIES\n  {\n  }\n}\n\n"
                                 "OBJECT Codeunit 7 M\x84rz\n{\n  CODE\n  {\n    BEGIN\n    END.\n  }\n}\n\n"
                                 "OBJECT Form 7 B\n{\n}\n");
    std::string ansi = oem;
    oemToAnsi(ansi);
    CSourceText text(ansi);
    CObjektManager manager;
    manager.load(&text, "oem.txt");
    const fs::path folder = scratchFolder("roundtrip");
    const fs::path existing = folder / "Codeunit 7.txt";
    std::ofstream(existing) << std::string(5000, 'x');
    ASSERT_TRUE(manager.split(folder.string() + "/", 5, 7, nullptr).ok());

    const std::string codeunit = readFile(existing);
    const size_t begin = oem.find("OBJECT Codeunit");
    EXPECT_EQ(codeunit, oem.substr(begin, oem.find("OBJECT Form") - 2 - begin));
    EXPECT_EQ(readFile(folder / "Table 5.txt"), oem.substr(0, oem.find("\r\n\r\n") + 2));
    EXPECT_EQ(readFile(folder / "Form 7.txt"), crlf("OBJECT Form 7 B\n{\n}\n"));

    std::string back = codeunit;
    oemToAnsi(back);
    CSourceText backText(back);
    CObjektManager reloaded;
    reloaded.load(&backText, "Codeunit 7.txt");
    ASSERT_EQ(reloaded.count(), 1);
    EXPECT_EQ(reloaded.get(0).type, OT_CODEUNIT);
    EXPECT_EQ(reloaded.get(0).headerName(), "M\xE4rz");
}

TEST(Split, ObjectsOfNewerTypesTakeTheirTypeWordAndRepeatedNamesGetANumber)
{
    // Page, Query and XMLport are type 0 in the catalogue; two Table 18 and two Page 21 share names.
    const std::string text = crlf("OBJECT Table 18 First\n{\n}\n\n"
                                  "OBJECT Page 21 Card\n{\n}\n\n"
                                  "OBJECT Query 21 Lines\n{\n}\n\n"
                                  "OBJECT XMLport 21 Import\n{\n}\n\n"
                                  "OBJECT Table 18 Second\n{\n}\n\n"
                                  "OBJECT Page 21 Card Copy\n{\n}\n\n"
                                  "OBJECT Table 18 Third\n{\n}\n");
    CSourceText source(text);
    CObjektManager manager;
    manager.load(&source, "newer.txt");
    const fs::path folder = scratchFolder("newer");
    std::vector<std::string> written;
    std::vector<std::string> renamed;
    ASSERT_TRUE(manager.split(folder.string(), 1, 100, nullptr, &written, &renamed).ok());
    const std::string prefix = folder.string() + "/";
    EXPECT_EQ(written, (std::vector<std::string>{prefix + "Table 18.txt", prefix + "Page 21.txt",
                                                 prefix + "Query 21.txt", prefix + "XMLport 21.txt",
                                                 prefix + "Table 18 (2).txt", prefix + "Page 21 (2).txt",
                                                 prefix + "Table 18 (3).txt"}));
    EXPECT_EQ(renamed, (std::vector<std::string>{prefix + "Table 18 (2).txt", prefix + "Page 21 (2).txt",
                                                 prefix + "Table 18 (3).txt"}));
    EXPECT_EQ(readFile(folder / "Table 18 (3).txt"), crlf("OBJECT Table 18 Third\n{\n}\n"));
    EXPECT_EQ(readFile(folder / "Page 21.txt").substr(0, 24), "OBJECT Page 21 Card\r\n{\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 7);

    // A second run into the same folder replaces the files of the first one, as before.
    written.clear();
    ASSERT_TRUE(manager.split(folder.string(), 18, 18, nullptr, &written).ok());
    EXPECT_EQ(written.back(), prefix + "Table 18 (3).txt");
}

// Found by fuzzing: a damaged export whose type word holds a NUL and control characters made the
// split fail to write; such bytes become "_" in the file name.
TEST(Split, TypeWordsWithNulAndControlCharactersStillGiveAFileName)
{
    const std::string text = crlf("OBJECT Pa") + std::string("\0g\x1a", 3) + crlf("e/x 7 Odd\n{\n}\n");
    CSourceText source(text);
    CObjektManager manager;
    manager.load(&source, "damaged.txt");
    ASSERT_EQ(manager.count(), 1);
    const fs::path folder = scratchFolder("damaged");
    std::vector<std::string> written;
    ASSERT_TRUE(manager.split(folder.string(), 0, 100, nullptr, &written).ok());
    EXPECT_EQ(written, (std::vector<std::string>{folder.string() + "/Pa_g_e_x 7.txt"}));
    EXPECT_EQ(readFile(folder / "Pa_g_e_x 7.txt"), text);
}

// A type word longer than a file name may be is cut, so the object is still written.
TEST(Split, OverlongTypeWordIsCutToAWritableName)
{
    const std::string word(300, 'W');
    const std::string text = crlf("OBJECT " + word + " 9 Long\n{\n}\n");
    CSourceText source(text);
    CObjektManager manager;
    manager.load(&source, "long.txt");
    const fs::path folder = scratchFolder("long");
    std::vector<std::string> written;
    ASSERT_TRUE(manager.split(folder.string(), 0, 100, nullptr, &written).ok());
    EXPECT_EQ(written, (std::vector<std::string>{folder.string() + "/" + std::string(64, 'W') + " 9.txt"}));
}
