#include "results/ListExportText.h"

#include "model/FileReplace.h"
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
    // The old content and the new text go to a new file that replaces the old one, so a failed
    // write leaves the old file as it was.
    CReplacingFile file(path);
    return file.copyTarget() && file.write(text) && file.commit();
}
