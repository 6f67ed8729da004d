// How long the object viewer takes to open a 2 MB object of 50,000 lines with its hits marked.
// A benchmark, not a test: it runs only when QUELLIX_BENCH is set and prints its times.
#include "GuiTestSupport.h"

#include "app/QuellixDoc.h"
#include "resources/ResourceIds.h"
#include "views/ObjectViewer.h"
#include "views/SearchView.h"
#include "views/ViewContext.h"

#include <gtest/gtest.h>
#include <wx/textentry.h>
#include <wx/choice.h>
#include <wx/stc/stc.h>
#include <wx/textctrl.h>

#include <chrono>
#include <cstdio>
#include <fstream>

using namespace guitest;

namespace {
// One codeunit: globals, then procedures of 40-byte code lines until 50,000 lines are written.
std::string writeBigObject()
{
    std::string path = tempPath("big-object.txt");
    std::ofstream out(path, std::ios::binary);
    out << "OBJECT Codeunit 50100 Big Object\r\n{\r\n  OBJECT-PROPERTIES\r\n  {\r\n    Date=14.07.03;\r\n"
        << "    Time=12:00:00;\r\n  }\r\n  PROPERTIES\r\n  {\r\n  }\r\n  CODE\r\n  {\r\n    VAR\r\n"
        << "      Amount@1000 : Decimal;\r\n      Cust@1001 : Record 18;\r\n\r\n";
    int lines = 16;
    for (int proc = 1; lines < 49994; ++proc) {
        out << "    PROCEDURE Calc" << proc << "@" << proc << "();\r\n    BEGIN\r\n";
        lines += 2;
        for (int i = 0; i < 96 && lines < 49994; ++i, ++lines)
            out << "      Amount := Amount + " << (i % 10) << "; // step " << (1000 + i) << "\r\n";
        out << "    END;\r\n\r\n";
        lines += 2;
    }
    out << "    BEGIN\r\n    END.\r\n  }\r\n}\r\n";
    return path;
}

double msSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}
} // namespace

TEST(Benchmark, ObjectViewerOpensATwoMegabyteObject)
{
    if (!wxGetEnv("QUELLIX_BENCH", nullptr))
        GTEST_SKIP() << "set QUELLIX_BENCH=1 to run the benchmark";
    std::string path = writeBigObject();
    CSearchView* view = openSearchView(wxString::FromUTF8(path));
    ASSERT_NE(view, nullptr);
    dynamic_cast<wxTextEntry*>(view->Form()->FindWindow(rid::IDC_SEARCH_TERM))->SetValue("step 1000");
    dynamic_cast<wxChoice*>(view->Form()->FindWindow(rid::IDC_SEARCH_OPTION))->SetStringSelection("normal");
    view->RunSearch();
    ASSERT_TRUE(waitForJob(view));
    CObjektManager& manager = view->Doc()->manager();
    ASSERT_GT(manager.results.count(), 0);
    const CResultLocation location = manager.results[manager.results.count() / 2];

    for (int run = 1; run <= 3; ++run) {
        auto start = std::chrono::steady_clock::now();
        auto* viewer = new CObjectViewer(view->Context().settings(), view->GetFrame(), location);
        double built = msSince(start);
        viewer->Show();
        viewer->Update();
        double shown = msSince(start);
        wxStyledTextCtrl* text = viewer->TextCtrl();
        std::printf("object viewer, run %d: %d bytes, %d lines, %zu hits: built in %.0f ms, shown in %.0f ms\n", run,
                    static_cast<int>(viewer->Model().objectText().size()), text->GetLineCount(),
                    viewer->Model().hits().size(), built, shown);
        viewer->Destroy();
        pump(100);
    }
    closeAllDocuments();
}
