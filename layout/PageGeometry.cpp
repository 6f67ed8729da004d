#include "layout/PageGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

PageGeometry computePageGeometry(const PageGeometryInput& input)
{
    PageGeometryInput in = input;
    PageGeometry g;
    if (in.printable.width > 0 && in.printable.height > 0) {
        g.originX = in.printable.x;
        g.originY = in.printable.y;
        in.printerWidth = in.printable.width;
        in.printerHeight = in.printable.height;
    }
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

LayoutRect printableArea(const LayoutRect& paper, int pageWidth, int pageHeight, const PageMarginsMm& margins,
                         int ppiX, int ppiY)
{
    auto pixels = [](int mm, int ppi) { return static_cast<int>(std::lround(std::max(0, mm) * ppi / 25.4)); };
    int left = std::max(0, paper.x + pixels(margins.left, ppiX));
    int top = std::max(0, paper.y + pixels(margins.top, ppiY));
    int right = std::min(pageWidth, paper.x + paper.width - pixels(margins.right, ppiX));
    int bottom = std::min(pageHeight, paper.y + paper.height - pixels(margins.bottom, ppiY));
    if (right <= left || bottom <= top) // margins larger than the paper: print on the whole page
        return {0, 0, pageWidth, pageHeight};
    return {left, top, right - left, bottom - top};
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
