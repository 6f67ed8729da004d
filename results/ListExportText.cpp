#include "results/ListExportText.h"

#include "model/SourceText.h"
#include "results/ResultList.h"

#include <cstdio>

std::string exportHeader(std::time_t now)
{
    std::string header = "\r\n\r\nQuellix-Analyse vom ";
    srctext::appendDate(header, now, 0);
    header += ' ';
    srctext::appendTime(header, now);
    header += "\r\n";
    return header;
}

std::string buildExportText(const CResultList& list, std::time_t now)
{
    return exportHeader(now) + list.GetListText("\t", "\r\n");
}

bool appendToFile(const std::string& path, const std::string& text)
{
    std::FILE* file = std::fopen(path.c_str(), "ab");
    if (file == nullptr)
        return false;
    bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && ok;
}
