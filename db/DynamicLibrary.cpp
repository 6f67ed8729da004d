#include "db/DynamicLibrary.h"

#include <cerrno>
#include <dlfcn.h>

std::string CDynamicLibrary::libraryPath(const std::string& base, const std::string& folder, const std::string& name)
{
    return base + "/" + folder + "/" + name + ".so";
}

void CDynamicLibrary::rememberError()
{
    // dlerror gives text only; errno holds the cause when the loader set one (a missing file
    // is ENOENT), and ELIBBAD stands for the rest (a bad file, a missing symbol).
    int code = errno;
    const char* text = dlerror();
    m_errorCode = code != 0 ? code : ELIBBAD;
    m_errorText = text ? text : "unknown loader error";
}

bool CDynamicLibrary::open(const std::string& path)
{
    close();
    dlerror();
    errno = 0;
    m_handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!m_handle) {
        rememberError();
        return false;
    }
    return true;
}

void CDynamicLibrary::close()
{
    if (m_handle)
        dlclose(m_handle);
    m_handle = nullptr;
}

void* CDynamicLibrary::ordinal(int number)
{
    if (!m_handle)
        return nullptr;
    dlerror();
    errno = 0;
    void* address = dlsym(m_handle, (m_ordinalPrefix + std::to_string(number)).c_str());
    if (!address) {
        errno = 0;
        rememberError();
    }
    return address;
}
