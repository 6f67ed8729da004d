#pragma once

#include <string>

// A library loaded at run time and its functions by ordinal: the one place that knows the
// platform's loader (dlopen on POSIX, LoadLibrary on Windows).
class CDynamicLibrary {
public:
    CDynamicLibrary() = default;
    ~CDynamicLibrary() { close(); }
    CDynamicLibrary(const CDynamicLibrary&) = delete;
    CDynamicLibrary& operator=(const CDynamicLibrary&) = delete;

    // The file of library "name" in folder "folder" under base, as the loader is given it:
    // base/folder/name.so on POSIX, base\folder\name.dll on Windows.
    static std::string libraryPath(const std::string& base, const std::string& folder, const std::string& name);

    // Loads the library; on failure returns false and keeps the system's error code and text.
    bool open(const std::string& path);
    // Releases the library; harmless when none is loaded.
    void close();
    bool isOpen() const { return m_handle != nullptr; }

    // Address of the function with that ordinal, or null (error code and text kept). POSIX
    // libraries have no ordinals: ordinal N is the exported symbol prefix + N, the prefix
    // given to setOrdinalPrefix.
    void* ordinal(int number);
    void setOrdinalPrefix(const std::string& prefix) { m_ordinalPrefix = prefix; }

    // The last failure of open or ordinal: a non-zero system error code and its message text.
    int lastErrorCode() const { return m_errorCode; }
    const std::string& lastErrorText() const { return m_errorText; }

private:
    void rememberError();

    void* m_handle = nullptr;
    std::string m_ordinalPrefix;
    int m_errorCode = 0;
    std::string m_errorText;
};
