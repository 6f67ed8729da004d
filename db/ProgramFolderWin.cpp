#include "db/ProgramPath.h"

#include "model/WinText.h"

std::string runningProgramFolder()
{
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0)
            return ".";
        if (length < name.size()) {
            name.resize(length);
            break;
        }
        name.resize(name.size() * 2);
    }
    const size_t slash = name.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::string(".") : narrow(name.substr(0, slash));
}
