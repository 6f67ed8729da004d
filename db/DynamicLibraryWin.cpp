#include "db/DynamicLibrary.h"

#include "model/WinText.h"

std::string CDynamicLibrary::libraryPath(const std::string& base, const std::string& folder, const std::string& name)
{
    // With the ".dll" LoadLibrary would add, so the file can be looked for before it is loaded.
    return base + "\\" + folder + "\\" + name + ".dll";
}

void CDynamicLibrary::rememberError()
{
    const DWORD code = GetLastError();
    m_errorCode = code != 0 ? static_cast<int>(code) : ERROR_INVALID_FUNCTION;
    m_errorText = systemErrorText(static_cast<DWORD>(m_errorCode));
}

bool CDynamicLibrary::open(const std::string& path)
{
    close();
    // No "cannot find the DLL" message box; the caller reports the failure.
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    SetLastError(0);
    m_handle = LoadLibraryW(widePath(path).c_str());
    if (!m_handle)
        rememberError();
    SetErrorMode(oldMode);
    return m_handle != nullptr;
}

void CDynamicLibrary::close()
{
    if (m_handle)
        FreeLibrary(static_cast<HMODULE>(m_handle));
    m_handle = nullptr;
}

void* CDynamicLibrary::ordinal(int number)
{
    if (!m_handle)
        return nullptr;
    SetLastError(0);
    FARPROC address = GetProcAddress(static_cast<HMODULE>(m_handle), MAKEINTRESOURCEA(number));
    if (!address)
        rememberError();
    return reinterpret_cast<void*>(address);
}
