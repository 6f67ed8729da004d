#include "model/ReadExport.h"

#include "model/CodePage.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

void normalizeLineEnds(std::string& text)
{
    size_t bare = 0;
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            ++bare;
    if (bare == 0)
        return;
    std::string out;
    out.reserve(text.size() + bare);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            out += '\r';
        out += text[i];
    }
    text.swap(out);
}

bool readExportFile(const std::string& path, std::string& text, std::string& error)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    std::string data;
    bool ok = std::fseek(f, 0, SEEK_END) == 0;
    long size = ok ? std::ftell(f) : -1;
    ok = ok && size >= 0 && std::fseek(f, 0, SEEK_SET) == 0;
    if (ok && size > 0x7FFFFFF0L) {
        std::fclose(f);
        error = path + ": file too large (2 GB and more)";
        return false;
    }
    if (ok) {
        data.resize(static_cast<size_t>(size));
        ok = std::fread(data.data(), 1, data.size(), f) == data.size();
    }
    int readErrno = errno;
    std::fclose(f);
    if (!ok) {
        error = path + ": " + (readErrno ? std::strerror(readErrno) : "cannot be read");
        return false;
    }
    normalizeLineEnds(data);
    oemToAnsi(data);
    text.swap(data);
    return true;
}
