// Printing the search view's list: preview, the pages drawn by the real printout, print to file.
#include "GuiTestSupport.h"

#include "app/QuellixApp.h"
#include "resources/ResourceIds.h"
#include "views/ResultListCtrl.h"
#include "views/SearchView.h"

#include <gtest/gtest.h>
#include <wx/textentry.h>
#include <wx/choice.h>
#include <wx/dcsvg.h>
#include <wx/generic/printps.h>
#include <wx/printdlg.h>
#include <wx/textctrl.h>
#include <wx/timer.h>
#include <wx/uiaction.h>


#include <algorithm>
#include <cstdio>
#include <memory>
#include <regex>

using namespace guitest;

namespace {
constexpr int PAGE_WIDTH = 1123; // A4 landscape at 96 dpi
constexpr int PAGE_HEIGHT = 794;

class PrintTest : public testing::Test {
protected:
    void TearDown() override { closeAllDocuments(); }

    void openAndSearch(const std::string& file, const wxString& term, const wxString& option)
    {
        view = openSearchView(wxString::FromUTF8(sourcePath(file)));
        ASSERT_NE(view, nullptr);
        dynamic_cast<wxTextEntry*>(view->Form()->FindWindow(rid::IDC_SEARCH_TERM))->SetValue(term);
        dynamic_cast<wxChoice*>(view->Form()->FindWindow(rid::IDC_SEARCH_OPTION))->SetStringSelection(option);
        view->RunSearch();
        ASSERT_TRUE(waitForJob(view));
        pump(100);
    }

    std::unique_ptr<wxPrintout> printout()
    {
        wxPrintDialogData data(wxGetApp().printData());
        return std::unique_ptr<wxPrintout>(view->CreatePrintout(data));
    }

    // Runs one print job of the printout on an SVG page and gives the SVG text of one page.
    std::string renderPage(wxPrintout& out, int page, int* pageCount = nullptr,
                           const wxRect& paper = wxRect(0, 0, PAGE_WIDTH, PAGE_HEIGHT))
    {
        std::string file = tempPath("page.svg");
        {
            wxSVGFileDC dc(wxString::FromUTF8(file), PAGE_WIDTH, PAGE_HEIGHT, 96);
            out.SetDC(&dc);
            out.SetPageSizePixels(PAGE_WIDTH, PAGE_HEIGHT);
            out.SetPaperRectPixels(paper);
            out.SetPPIPrinter(96, 96);
            out.SetPPIScreen(96, 96);
            out.OnPreparePrinting();
            out.OnBeginPrinting();
            int minPage = 0, maxPage = 0, from = 0, to = 0;
            out.GetPageInfo(&minPage, &maxPage, &from, &to);
            if (pageCount)
                *pageCount = maxPage;
            out.OnPrintPage(page);
            out.OnEndPrinting();
            out.SetDC(nullptr);
        }
        std::string svg = readFile(file);
        std::remove(file.c_str());
        return svg;
    }

    CSearchView* view = nullptr;
};

// Where an SVG page has text and lines, in page pixels: the SVG DC writes logical coordinates
// inside groups that translate and scale them.
struct DrawnExtent {
    double left = 1e9, top = 1e9, right = -1e9, bottom = -1e9;
    void add(double x, double y)
    {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
};

DrawnExtent drawnExtent(const std::string& svg)
{
    static const std::regex item(R"re(translate\(([-\d.]+) ([-\d.]+)\) scale\(([-\d.]+) ([-\d.]+)\))re"
                                 R"re(|<text x="([-\d.]+)" y="([-\d.]+)")re"
                                 R"re(|<path d="M([-\d.]+) ([-\d.]+) L([-\d.]+) ([-\d.]+)")re");
    double tx = 0, ty = 0, sx = 1, sy = 1;
    DrawnExtent extent;
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), item); it != std::sregex_iterator(); ++it) {
        const std::smatch& m = *it;
        auto at = [&](int i) { return std::stod(m[i].str()); };
        if (m[1].matched) {
            tx = at(1), ty = at(2), sx = at(3), sy = at(4);
        } else if (m[5].matched) {
            extent.add(tx + sx * at(5), ty + sy * at(6));
        } else {
            extent.add(tx + sx * at(7), ty + sy * at(8));
            extent.add(tx + sx * at(9), ty + sy * at(10));
        }
    }
    return extent;
}
} // namespace

TEST_F(PrintTest, PreviewOfAShortListHasOnePageWithTitleHeadingsRowsAndFooter)
{
    openAndSearch("tests/data/small-export.txt", "OBJECT ", "Case sensitiv");
    ASSERT_EQ(view->Results().GetRowCount(), 5);
    wxPreviewFrame* frame = view->PrintPreview();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->GetControlBar()->GetPrintPreview()->GetMaxPage(), 1);
    frame->Close(true);
    pump(100);

    auto out = printout();
    ASSERT_TRUE(out);
    int pages = 0;
    std::string svg = renderPage(*out, 1, &pages);
    EXPECT_EQ(pages, 1);
    EXPECT_NE(svg.find("Page 1 of 1"), std::string::npos);
    EXPECT_NE(svg.find("Quellix-Analyse Search: OBJECT  small-export.txt"), std::string::npos);
    EXPECT_NE(svg.find(">Search: OBJECT <"), std::string::npos) << "footer text";
    EXPECT_NE(svg.find("Environment"), std::string::npos) << "last column heading";
    EXPECT_NE(svg.find("Codeunit 80 Sales-Post"), std::string::npos);
}

TEST_F(PrintTest, ALongListPrintsPageNOfMAndEachJobTakesTheColumnsAnew)
{
    openAndSearch("examples/sample-export.txt", "BEGIN", "normal");
    int rows = view->Results().GetRowCount();
    auto out = printout();
    ASSERT_TRUE(out);
    int pages = 0;
    std::string first = renderPage(*out, 1, &pages);
    ASSERT_GE(pages, 2) << rows << " rows";
    std::string second = renderPage(*out, 2);
    EXPECT_NE(second.find("Page 2 of " + std::to_string(pages)), std::string::npos);
    EXPECT_NE(first.find("Environment"), std::string::npos);

    view->RunCommand(1030); // unused variables: other columns
    ASSERT_TRUE(waitForJob(view));
    pump(100);
    auto again = printout();
    std::string next = renderPage(*again, 1);
    EXPECT_NE(next.find("Count of unused Vars"), std::string::npos);
    EXPECT_EQ(next.find("Environment"), std::string::npos);
    EXPECT_NE(next.find(">Unused Variables<"), std::string::npos);
}

TEST_F(PrintTest, PagesStayInsideThePageSetupMargins)
{
    openAndSearch("examples/sample-export.txt", "BEGIN", "normal");
    PageMarginsMm saved = wxGetApp().pageMargins();
    wxGetApp().pageMargins() = {20, 15, 20, 15};
    auto out = printout();
    ASSERT_TRUE(out);
    int pages = 0;
    DrawnExtent first = drawnExtent(renderPage(*out, 1, &pages));
    ASSERT_GE(pages, 2);
    DrawnExtent last = drawnExtent(renderPage(*out, pages));
    wxGetApp().pageMargins() = saved;
    const double mmX = 96 / 25.4, mmY = 96 / 25.4;
    for (const DrawnExtent& e : {first, last}) {
        EXPECT_GE(e.left, 20 * mmX - 1);
        EXPECT_GE(e.top, 15 * mmY - 1) << "the title starts inside the top margin";
        EXPECT_LE(e.right, PAGE_WIDTH - 20 * mmX + 1);
        EXPECT_LE(e.bottom, PAGE_HEIGHT - 15 * mmY + 1) << "the footer ends inside the bottom margin";
    }
    // A page of a printer with unprintable edges: its origin lies 30 pixels into the paper, so the
    // 20 mm margin starts 46 pixels from the origin.
    std::string svg = renderPage(*out, 1, nullptr, wxRect(-30, -30, PAGE_WIDTH, PAGE_HEIGHT));
    EXPECT_GE(drawnExtent(svg).left, 20 * mmX - 30 - 1);
    EXPECT_LT(drawnExtent(svg).left, 20 * mmX - 30 + 20);
}

TEST_F(PrintTest, AnEmptyListIsNotPrinted)
{
    openAndSearch("tests/data/small-export.txt", "no such text anywhere", "normal");
    EXPECT_EQ(view->Results().GetRowCount(), 0);
    EXPECT_EQ(view->PrintPreview(), nullptr);
    EXPECT_FALSE(printout());
}

TEST_F(PrintTest, PrintingToAPostScriptFileNeedsNoPrinter)
{
    openAndSearch("tests/data/small-export.txt", "Customer", "normal");
    std::string file = tempPath("list.ps");
    std::remove(file.c_str());
    wxPrintDialogData data(wxGetApp().printData());
    std::unique_ptr<wxPrintout> out(view->CreatePrintout(data));
    ASSERT_TRUE(out);
    data.GetPrintData().SetFilename(wxString::FromUTF8(file));
    data.GetPrintData().SetPrintMode(wxPRINT_MODE_FILE);
    data.SetFromPage(1);
    data.SetToPage(1);
    wxPostScriptPrinter printer(&data);
    ASSERT_TRUE(printer.Print(nullptr, out.get(), false));
    std::string ps = readFile(file);
    EXPECT_EQ(ps.rfind("%!PS-Adobe", 0), 0u);
    EXPECT_NE(ps.find("Page 1 of 1"), std::string::npos) << ps.substr(ps.size() > 3000 ? ps.size() - 3000 : 0);
    std::remove(file.c_str());
}

TEST_F(PrintTest, PrintOpensTheToolkitDialogAndCancellingEndsQuietly)
{
    openAndSearch("tests/data/small-export.txt", "Customer", "normal");
    takeMessages();
    // The toolkit's own print dialog runs its own loop; a timer there presses Escape.
    struct CEscape : wxTimer {
        void Notify() override
        {
            wxUIActionSimulator simulator;
            wxSize screen = wxGetDisplaySize();
            simulator.MouseMove(screen.x / 2, screen.y / 2);
            simulator.Char(WXK_ESCAPE);
            ++presses;
        }
        int presses = 0;
    } escape;
    escape.Start(1500);
    view->Print();
    escape.Stop();
    EXPECT_GE(escape.presses, 1);
    EXPECT_TRUE(takeMessages().empty());
}
