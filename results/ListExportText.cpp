#include "results/ListExportText.h"

#include "model/FileReplace.h"
#include "model/SourceText.h"
#include "results/ListTextCell.h"
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

namespace {
std::string cellThroughBuffer(const std::string& cell, size_t bufferBytes)
{
    return listTextCell(cell, bufferBytes > 0 ? bufferBytes - 1 : 0);
}
} // namespace

std::string buildExportText(const CResultList& list, std::time_t now, size_t cellBufferBytes)
{
    std::string text = exportHeader(now);
    const int columns = list.GetColumnCount();
    for (int c = 0; c < columns; ++c)
        text += cellThroughBuffer(list.GetColumn(c).heading, cellBufferBytes) + '\t';
    text += "\r\n";
    for (int r = 0; r < list.GetRowCount(); ++r) {
        for (int c = 0; c < columns; ++c)
            text += cellThroughBuffer(list.GetCellText(r, c), cellBufferBytes) + '\t';
        text += "\r\n";
    }
    return text;
}

std::string listTextOfRows(const CResultList& list, const std::vector<int>& rows)
{
    if (rows.empty())
        return list.GetListText("\t", "\r\n");
    const int columns = list.GetColumnCount();
    std::string text;
    for (int c = 0; c < columns; ++c)
        text += list.GetColumn(c).heading + '\t';
    text += "\r\n";
    const int count = list.GetRowCount();
    for (int r : rows) {
        if (r < 0 || r >= count)
            continue;
        for (int c = 0; c < columns; ++c)
            text += CResultList::ListTextCell(list.GetCellText(r, c)) + '\t';
        text += "\r\n";
    }
    return text;
}

bool appendToFile(const std::string& path, const std::string& text)
{
    // The old content and the new text go to a new file that replaces the old one, so a failed
    // write leaves the old file as it was.
    CReplacingFile file(path);
    return file.copyTarget() && file.write(text) && file.commit();
}
