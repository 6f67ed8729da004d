#include "model/CodePage.h"
#include "model/ReadExport.h"
#include "support/TestExport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <unistd.h>
#ifdef _WIN32
#include "model/WinText.h"
#endif

TEST(LineEnds, BareLineFeedsGetACarriageReturnOthersStay)
{
    const std::pair<std::string, std::string> cases[] = {
        {"a\r\nb\nc\r\n", "a\r\nb\r\nc\r\n"},
        {"\nx", "\r\nx"},
        {"\n\n", "\r\n\r\n"},
        {"a\r\n", "a\r\n"},
        {"a\rb\n", "a\rb\r\n"},
        {"\r\r\n", "\r\r\n"},
        {"", ""},
    };
    for (const auto& [input, expected] : cases) {
        std::string text = input;
        normalizeLineEnds(text);
        EXPECT_EQ(text, expected) << testing::PrintToString(input);
    }
}

TEST(LineEnds, AFileWithMixedLineEndsLoadsLikeOneWithCrLf)
{
    namespace fs = std::filesystem;
    const fs::path path = fs::temp_directory_path() / ("quellix-mixed-" + std::to_string(::getpid()) + ".txt");
    std::ofstream(path, std::ios::binary) << "OBJECT Codeunit 1 A\r\n{\n}\r\n\nOBJECT Codeunit 2 B\n{\r\n}\n";
    std::string text;
    ASSERT_TRUE(readExportFile(path.string(), text).ok());
    fs::remove(path);
    const std::string crlfText = "OBJECT Codeunit 1 A\r\n{\r\n}\r\n\r\nOBJECT Codeunit 2 B\r\n{\r\n}\r\n";
    EXPECT_EQ(text, crlfText);
    LoadedExport e(text);
    ASSERT_EQ(e.manager->count(), 2);
    EXPECT_EQ(e.object(1).number, 2);
    EXPECT_EQ(e.object(1).objectSpan.start(), static_cast<int>(crlfText.find("\r\nOBJECT Codeunit 2")));
}

// The file read against the two steps done one after the other, byte by byte: a CR before every
// bare LF, then each byte through the OEM to ANSI table. Exports with many, few and no bare LFs.
TEST(LineEnds, ReadingFixesLineEndsAndConvertsLikeTheTwoStepsInTurn)
{
    namespace fs = std::filesystem;
    const fs::path path = fs::temp_directory_path() / ("quellix-read-" + std::to_string(::getpid()) + ".txt");
    std::mt19937 random(5);
    const char alphabet[] = {'a', '\r', '\n', '\x84', '\xE1', '\x0D', ' '};
    for (int round = 0; round < 60; ++round) {
        std::string raw;
        const int length = static_cast<int>(random() % 300);
        for (int k = 0; k < length; ++k)
            raw += round % 3 == 0 ? '\n' : alphabet[random() % sizeof alphabet];
        if (round % 3 == 1)
            for (size_t k = 0; k < raw.size(); ++k)
                if (raw[k] == '\n' && (k == 0 || raw[k - 1] != '\r'))
                    raw[k] = 'b';
        std::string expected;
        for (size_t k = 0; k < raw.size(); ++k) {
            if (raw[k] == '\n' && (k == 0 || raw[k - 1] != '\r'))
                expected += static_cast<char>(oemToAnsiByte('\r', oemCodePage()));
            expected += static_cast<char>(oemToAnsiByte(static_cast<unsigned char>(raw[k]), oemCodePage()));
        }
        std::ofstream(path, std::ios::binary) << raw;
        std::string text;
        ASSERT_TRUE(readExportFile(path.string(), text).ok());
        ASSERT_EQ(text, expected) << testing::PrintToString(raw);
    }
    fs::remove(path);
}

// File names are UTF-8 throughout; on Windows they open through the wide calls, so letters outside
// the ANSI code page (Cyrillic here) do not stop an export from loading.
TEST(LineEnds, AnExportWhoseNameHoldsUmlautsAndCyrillicLetters)
{
    namespace fs = std::filesystem;
    const std::string name = "quellix-\xc3\xa4\xc3\xb6\xc3\xbc-\xd0\xad\xd0\xba\xd1\x81-" + std::to_string(::getpid()) + ".txt";
    const fs::path file = fs::temp_directory_path() / fs::path(std::u8string(name.begin(), name.end()));
    const std::u8string utf8 = file.u8string();
    std::ofstream(file, std::ios::binary) << "OBJECT Codeunit 1 A\r\n{\r\n}\r\n";
    std::string text;
    EXPECT_TRUE(readExportFile(std::string(utf8.begin(), utf8.end()), text).ok());
    EXPECT_EQ(text, "OBJECT Codeunit 1 A\r\n{\r\n}\r\n");
    fs::remove(file);
}

// Where an export stands may be awkward: deep in folders (a path of more than 260 characters, the
// old Windows limit), marked read-only, or held open by another program without sharing it. The
// first two are read; the last is refused, naming the file and the system's reason.
TEST(LineEnds, AnExportOnALongPathReadOnlyOrHeldOpen)
{
    namespace fs = std::filesystem;
    // The standard library's own calls need the long form of such a path on Windows.
    const auto longForm = [](const fs::path& path) {
#ifdef _WIN32
        return fs::path(L"\\\\?\\" + fs::absolute(path).wstring());
#else
        return path;
#endif
    };
    const fs::path top = fs::temp_directory_path() / ("quellix-where-" + std::to_string(::getpid()));
    fs::create_directories(top);
    const fs::path folder = top / std::string(250, 'N'); // one name may have 255 characters
    fs::create_directory(longForm(folder));
    const std::string content = "OBJECT Codeunit 1 A\r\n{\r\n}\r\n";
    const fs::path file = folder / "export.txt";
    std::ofstream(longForm(file), std::ios::binary) << content;
    std::string text;
    const Outcome deep = readExportFile(file.string(), text);
    EXPECT_TRUE(deep.ok()) << deep.reason;
    EXPECT_EQ(text, content);

    fs::permissions(longForm(file), fs::perms::owner_write, fs::perm_options::remove);
    text.clear();
    EXPECT_TRUE(readExportFile(file.string(), text).ok());
    EXPECT_EQ(text, content);
    fs::permissions(longForm(file), fs::perms::owner_write, fs::perm_options::add);

#ifdef _WIN32
    const HANDLE held = CreateFileW(widePath(file.string()).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const Outcome refused = readExportFile(file.string(), text);
    CloseHandle(held);
    EXPECT_EQ(refused.kind, OutcomeKind::Unreadable);
    EXPECT_EQ(refused.reason, file.string() + ": " + systemErrorText(ERROR_SHARING_VIOLATION));
#endif
    for (const fs::path& made : {file, folder, top})
        fs::remove(longForm(made));
}
