#include "views/ListPrinter.h"

#include "views/ResultListCtrl.h"

#include <wx/dc.h>
#include <wx/math.h>

#include <algorithm>

bool CListPrinter::PreparePrinting(wxPrintDialogData& data, CResultListCtrl* list)
{
    m_list = list;
    if (list == nullptr || list->GetItemCount() == 0 || !data.GetPrintData().IsOk())
        return false;
    data.EnableSelection(false);
    data.EnablePageNumbers(false);
    data.EnablePrintToFile(false);
    data.SetAllPages(true);
    data.GetPrintData().SetOrientation(wxLANDSCAPE);
    return true;
}

void CListPrinter::BeginPrinting(wxDC& dc, const wxString& title, const wxString& footer,
                                 const wxSize& pagePixels, int printerPpiY, int screenPpiY,
                                 const LayoutRect& printable)
{
    m_title = title;
    m_footer = footer;
    m_listFont = m_list->GetFont();
    m_titleFont = m_listFont.Bold().Scaled(1.4f);
    wxRect row;
    if (!m_list->GetItemRect(0, row))
        row = wxRect(0, 0, m_list->GetClientSize().x, m_list->GetCharHeight() + 4);
    wxRect label;
    m_labelOffset = m_list->GetItemRect(0, label, wxLIST_RECT_LABEL) ? label.x - row.x : 0;
    m_headingBarHeight = m_list->HeadingBarHeight();
    int rowWidth = 0;
    for (int c = 0; c < m_list->GetColumnCount(); ++c)
        rowWidth += m_list->GetColumnWidth(c);

    PageGeometryInput in;
    in.printerWidth = pagePixels.x;
    in.printerHeight = pagePixels.y;
    in.printerPpiY = printerPpiY;
    in.screenPpiY = screenPpiY;
    in.rowLeft = 0;
    in.rowRight = std::max(rowWidth, row.width);
    in.rowTop = row.y;
    in.rowBottom = row.y + row.height;
    in.averageCharWidth = m_list->GetCharWidth();
    in.printable = printable;
    m_geometry = computePageGeometry(in);
    m_rowCount = m_list->GetItemCount();
    m_pageCount = printPageCount(m_rowCount, m_geometry.rowsPerPage);
    m_columnCount = 0;
    (void)dc;
}

void CListPrinter::EndPrinting()
{
    m_titleFont = wxNullFont;
    m_listFont = wxNullFont;
}

void CListPrinter::takeColumns()
{
    m_columnCount = m_list->GetColumnCount();
    m_columnOrder.resize(static_cast<size_t>(m_columnCount));
    for (int c = 0; c < m_columnCount; ++c)
        m_columnOrder[static_cast<size_t>(c)] = c;
#ifdef wxHAS_LISTCTRL_COLUMN_ORDER
    wxArrayInt order = m_list->GetColumnsOrder();
    if (static_cast<int>(order.size()) == m_columnCount)
        m_columnOrder.assign(order.begin(), order.end());
#endif
}

wxFont CListPrinter::fittedFont(wxDC& dc, const wxFont& font, int pixelHeight) const
{
    // Printer and preview DCs scale fonts differently; size the font so its height in logical
    // units matches the screen, whatever the DC does with point sizes.
    dc.SetFont(font);
    int height = dc.GetCharHeight();
    if (height <= 0 || pixelHeight <= 0)
        return font;
    return font.Scaled(static_cast<float>(pixelHeight) / static_cast<float>(height));
}

void CListPrinter::PrintPage(wxDC& dc, int page, double deviceScaleX, double deviceScaleY)
{
    wxFont saved = dc.GetFont();
    dc.SetMapMode(wxMM_TEXT);
    dc.SetUserScale(m_geometry.hScale * deviceScaleX, m_geometry.vScale * deviceScaleY);
    dc.SetDeviceOrigin(wxRound(m_geometry.originX * deviceScaleX), wxRound(m_geometry.originY * deviceScaleY));
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    dc.SetTextForeground(*wxBLACK);
    dc.SetPen(*wxBLACK_PEN);
    int first = 0, last = 0;
    printPageRows(page, m_geometry.rowsPerPage, m_rowCount, first, last);
    if (m_columnCount == 0)
        takeColumns();
    drawTitleAndFooter(dc, page);
    int ox = m_geometry.left;
    int oy = m_geometry.top + 4 * m_geometry.rowHeight;
    drawHeadings(dc, ox, oy);
    drawRows(dc, first, last, ox, oy);
    dc.SetUserScale(1, 1);
    dc.SetDeviceOrigin(0, 0);
    dc.SetFont(saved.IsOk() ? saved : wxNullFont);
}

void CListPrinter::drawTitleAndFooter(wxDC& dc, int page)
{
    const PageGeometry& g = m_geometry;
    dc.SetFont(fittedFont(dc, m_titleFont, m_list->GetCharHeight() * 7 / 5));
    int textHeight = dc.GetCharHeight();
    dc.DrawText(m_title, g.left, g.top + (g.rowHeight - textHeight) / 2);

    int lineY = g.bottom - 3 * g.rowHeight;
    dc.DrawLine(0, lineY, g.right, lineY);
    int bandY = lineY + g.rowHeight / 2;
    int textY = bandY + (g.rowHeight - textHeight) / 2;
    dc.DrawText(wxString::FromUTF8(printPageFooter(page, m_pageCount)), 0, textY);
    int width = dc.GetTextExtent(m_footer).x;
    dc.DrawText(m_footer, g.right - width, textY);
}

void CListPrinter::drawHeadings(wxDC& dc, int ox, int oy)
{
    const int rowHeight = m_geometry.rowHeight;
    dc.SetFont(fittedFont(dc, m_listFont.Bold(), m_list->GetCharHeight()));
    int x = 0;
    for (int column : m_columnOrder) {
        wxListItem item;
        item.SetMask(wxLIST_MASK_TEXT);
        m_list->GetColumn(column, item);
        int width = m_list->GetColumnWidth(column);
        wxString text = item.GetText().Left(1024);
        dc.SetClippingRegion(ox + x, oy, width, rowHeight);
        dc.DrawText(text, ox + x, oy + (rowHeight - dc.GetCharHeight()) / 2);
        dc.DestroyClippingRegion();
        x += width;
    }
    dc.DrawLine(ox, oy + rowHeight, m_geometry.right, oy + rowHeight);
}

void CListPrinter::drawRows(wxDC& dc, int first, int last, int ox, int oy)
{
    const int rowHeight = m_geometry.rowHeight;
    dc.SetFont(fittedFont(dc, m_listFont, m_list->GetCharHeight()));
    int left = ox + m_labelOffset + dc.GetTextExtent(" ").x / 2;
    for (int row = first; row < last; ++row) {
        int y = oy + m_headingBarHeight + (row - first) * rowHeight;
        int x = left;
        for (int column : m_columnOrder) {
            int width = m_list->GetColumnWidth(column);
            dc.SetClippingRegion(x, y, width, rowHeight);
            dc.DrawText(m_list->GetItemText(row, column), x, y + (rowHeight - dc.GetCharHeight()) / 2);
            dc.DestroyClippingRegion();
            x += width;
        }
        if (row + 1 < last)
            dc.DrawLine(left, y + rowHeight, m_geometry.right, y + rowHeight);
    }
}

CListPrintout::CListPrintout(CListPrinter& printer, const wxString& title, const wxString& footer,
                             const PageMarginsMm& margins)
    : wxPrintout(title), m_printer(printer), m_footer(footer), m_margins(margins)
{
}

void CListPrintout::begin()
{
    int w = 0, h = 0, ppiX = 0, ppiY = 0, screenX = 0, screenY = 0;
    GetPageSizePixels(&w, &h);
    GetPPIPrinter(&ppiX, &ppiY);
    GetPPIScreen(&screenX, &screenY);
    // The printer's unprintable edges (a paper rectangle starting above-left of the origin) and
    // the page setup's margins, both measured from the paper's edges.
    wxRect paper = GetPaperRectPixels();
    if (paper.IsEmpty())
        paper = wxRect(0, 0, w, h);
    LayoutRect printable = printableArea({paper.x, paper.y, paper.width, paper.height}, w, h, m_margins, ppiX, ppiY);
    m_printer.BeginPrinting(*GetDC(), GetTitle(), m_footer, wxSize(w, h), ppiY, screenY, printable);
}

void CListPrintout::OnPreparePrinting()
{
    begin();
}

void CListPrintout::GetPageInfo(int* minPage, int* maxPage, int* pageFrom, int* pageTo)
{
    *minPage = 1;
    *maxPage = m_printer.PageCount();
    *pageFrom = 1;
    *pageTo = m_printer.PageCount();
}

bool CListPrintout::HasPage(int page)
{
    return page >= 1 && page <= m_printer.PageCount();
}

void CListPrintout::OnBeginPrinting()
{
    begin();
}

bool CListPrintout::OnPrintPage(int page)
{
    wxDC* dc = GetDC();
    if (dc == nullptr)
        return false;
    int pageW = 0, pageH = 0, dcW = 0, dcH = 0;
    GetPageSizePixels(&pageW, &pageH);
    dc->GetSize(&dcW, &dcH);
    double sx = pageW > 0 ? static_cast<double>(dcW) / pageW : 1.0;
    double sy = pageH > 0 ? static_cast<double>(dcH) / pageH : 1.0;
    m_printer.PrintPage(*dc, page, sx, sy);
    return true;
}

void CListPrintout::OnEndPrinting()
{
    m_printer.EndPrinting();
}
