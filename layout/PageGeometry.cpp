#include "layout/PageGeometry.h"

#include <algorithm>
#include <cstdio>

PageGeometry computePageGeometry(const PageGeometryInput& in)
{
    PageGeometry g;
    int rowWidth = in.rowRight - in.rowLeft;
    int wanted = rowWidth + 6 * in.averageCharWidth;
    g.hScale = std::max(1, wanted > 0 ? in.printerWidth / wanted : 1);
    g.vScale = std::max(1, in.screenPpiY > 0 ? in.printerPpiY / in.screenPpiY : 1);
    g.left = 2 * in.averageCharWidth;
    g.top = 0;
    g.right = in.printerWidth / g.hScale - 4 * in.averageCharWidth;
    g.bottom = in.printerHeight / g.vScale;
    g.rowHeight = in.rowBottom - in.rowTop;
    int perRow = g.rowHeight * g.vScale;
    g.rowsPerPage = std::max(1, (perRow > 0 ? in.printerHeight / perRow : 0) - 8);
    return g;
}

int printPageCount(int rowCount, int rowsPerPage)
{
    if (rowsPerPage < 1)
        rowsPerPage = 1;
    return (std::max(0, rowCount) + rowsPerPage - 1) / rowsPerPage;
}

void printPageRows(int page, int rowsPerPage, int rowCount, int& first, int& last)
{
    first = (page - 1) * rowsPerPage;
    last = std::min(page * rowsPerPage, rowCount);
    if (first > last)
        first = last;
}

std::string printPageFooter(int page, int pageCount)
{
    char text[64];
    std::snprintf(text, sizeof text, "Page %d of %d", page, pageCount);
    return text;
}

std::string searchPrintTitle(const std::string& lastAction, const std::string& documentTitle)
{
    return "Quellix-Analyse " + lastAction + " " + documentTitle;
}
