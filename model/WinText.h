#pragma once

// UTF-8 <-> UTF-16 for the Windows files of the platform layers (the *Win.cpp files only): the
// rest of the program keeps names and texts in UTF-8.
#include <cerrno>
#include <string>
#include <windows.h>

inline std::wstring widen(const std::string& text)
{
    if (text.empty())
        return std::wstring();
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
    return wide;
}

inline std::string narrow(const std::wstring& wide)
{
    if (wide.empty())
        return std::string();
    const int size = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, text.data(), length, nullptr, nullptr);
    return text;
}

// A path for the wide Windows calls: long paths (260 characters and more) get the \\?\ prefix,
// which also needs backslashes and an absolute path.
inline std::wstring widePath(const std::string& path)
{
    std::wstring wide = widen(path);
    if (wide.size() < MAX_PATH - 12 || wide.rfind(L"\\\\?\\", 0) == 0)
        return wide;
    DWORD length = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    std::wstring full(length, L'\0');
    length = GetFullPathNameW(wide.c_str(), length, full.data(), nullptr);
    full.resize(length);
    if (full.rfind(L"\\\\", 0) == 0)
        return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

// The message text of a Windows error code, without its line end.
inline std::string systemErrorText(DWORD code)
{
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length && buffer ? std::wstring(buffer, length) : std::wstring();
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ' || text.back() == L'.'))
        text.pop_back();
    return text.empty() ? "error " + std::to_string(code) : narrow(text);
}

// The errno a POSIX system gives for a path that cannot be opened because something on its way is
// missing: ENOTDIR when one of its folders is a file (Windows says "path not found" for both), so
// both systems name the same reason; otherwise ENOENT.
inline int missingPathError(const std::string& path)
{
    for (size_t end = path.find_first_of("/\\"); end != std::string::npos; end = path.find_first_of("/\\", end + 1)) {
        const std::string folder = path.substr(0, end);
        // The root, a drive ("c:") and the slashes of a UNC name are no folders to look at.
        if (folder.find_first_not_of("/\\") == std::string::npos || folder.back() == ':' || folder.back() == '/' ||
            folder.back() == '\\')
            continue;
        const DWORD attributes = GetFileAttributesW(widePath(folder).c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES)
            return ENOENT;
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            return ENOTDIR;
    }
    return ENOENT;
}
