#include <stdlib.h>
#include <string_view>

extern "C" void* memmem(const void* haystack, size_t haystackSize, const void* needle, size_t needleSize)
{
    const std::string_view text(static_cast<const char*>(haystack), haystackSize);
    const size_t at = text.find(std::string_view(static_cast<const char*>(needle), needleSize));
    return at == std::string_view::npos ? nullptr : const_cast<char*>(text.data() + at);
}

extern "C" void* memrchr(const void* s, int c, size_t size)
{
    const unsigned char* bytes = static_cast<const unsigned char*>(s);
    while (size > 0)
        if (bytes[--size] == static_cast<unsigned char>(c))
            return const_cast<unsigned char*>(bytes + size);
    return nullptr;
}

extern "C" int setenv(const char* name, const char* value, int overwrite)
{
    if (!overwrite && getenv(name))
        return 0;
    return _putenv_s(name, value) == 0 ? 0 : -1;
}

extern "C" int unsetenv(const char* name)
{
    return _putenv_s(name, "") == 0 ? 0 : -1; // an empty value removes the variable
}
