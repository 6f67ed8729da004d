#include "merge/ProgramStart.h"

#include "model/WinText.h"

const char kPathListSeparator = ';';
const char* const kProgramSuffix = ".exe";

bool isExecutableFile(const std::string& path)
{
    if (path.empty())
        return false;
    const DWORD attributes = GetFileAttributesW(widePath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    DWORD kind = 0;
    return GetBinaryTypeW(widePath(path).c_str(), &kind) != 0;
}

bool startProgram(const std::vector<std::string>& argv, std::string& error)
{
    if (argv.empty() || argv[0].empty()) {
        error = "no program given";
        return false;
    }
    std::wstring commandLine = widen(windowsCommandLine(argv));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(widePath(argv[0]).c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        error = argv[0] + ": " + systemErrorText(GetLastError());
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}
