#pragma once

#include "layout/PageGeometry.h"

#include <wx/cmndata.h>
#include <wx/font.h>
#include <wx/print.h>

#include <vector>

class CResultListCtrl;

// Prints the content of a result list control page by page: title, column headings, rows, and the
// footer "Page %d of %d" with the footer text. The view owns one and forwards the toolkit's
// printing steps to it through a CListPrintout.
class CListPrinter {
public:
    // False (refuse quietly) without a list, without rows or without a usable printer; otherwise
    // prepares the print dialog data: all pages only, landscape.
    bool PreparePrinting(wxPrintDialogData& data, CResultListCtrl* list);
    // Stores the texts and computes the geometry for the given printer page, inside its printable
    // area (empty: the whole page); forgets the columns so this job reads them anew.
    void BeginPrinting(wxDC& dc, const wxString& title, const wxString& footer, const wxSize& pagePixels,
                       int printerPpiY, int screenPpiY, const LayoutRect& printable = {});
    // Draws 1-based page n; deviceScale maps printer pixels to the DC's pixels (below 1 in a preview).
    void PrintPage(wxDC& dc, int page, double deviceScaleX, double deviceScaleY);
    void EndPrinting();

    int PageCount() const { return m_pageCount; }
    const PageGeometry& Geometry() const { return m_geometry; }
    CResultListCtrl* List() const { return m_list; }

private:
    void takeColumns();
    void drawTitleAndFooter(wxDC& dc, int page);
    void drawHeadings(wxDC& dc, int ox, int oy);
    void drawRows(wxDC& dc, int first, int last, int ox, int oy);
    wxFont fittedFont(wxDC& dc, const wxFont& font, int pixelHeight) const;

    CResultListCtrl* m_list = nullptr;
    wxString m_title;
    wxString m_footer;
    wxFont m_titleFont;
    wxFont m_listFont;
    PageGeometry m_geometry;
    int m_rowCount = 0;
    int m_pageCount = 0;
    int m_columnCount = 0; // 0: not yet taken in this job
    std::vector<int> m_columnOrder;
    int m_labelOffset = 0;
    int m_headingBarHeight = 0;
};

// The toolkit's printout of a CListPrinter (printing and each side of a print preview).
class CListPrintout : public wxPrintout {
public:
    CListPrintout(CListPrinter& printer, const wxString& title, const wxString& footer,
                  const PageMarginsMm& margins = {});

    void OnPreparePrinting() override;
    void GetPageInfo(int* minPage, int* maxPage, int* pageFrom, int* pageTo) override;
    bool HasPage(int page) override;
    void OnBeginPrinting() override;
    bool OnPrintPage(int page) override;
    void OnEndPrinting() override;

private:
    void begin();

    CListPrinter& m_printer;
    wxString m_footer;
    PageMarginsMm m_margins;
};
