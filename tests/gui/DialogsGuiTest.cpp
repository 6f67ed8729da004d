// The number-range and split dialogs as the search view's commands show them.
#include "GuiTestSupport.h"

#include "app/MainFrame.h"
#include "app/QuellixApp.h"
#include "db/gui/WatchView.h"
#include "resources/ResourceIds.h"
#include "views/SearchView.h"

#include <gtest/gtest.h>
#include <wx/checkbox.h>
#include <wx/fileconf.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include <filesystem>
#include <functional>
#include <fstream>

using namespace guitest;

namespace {
class DialogsTest : public testing::Test {
protected:
    void SetUp() override
    {
        view = openSearchView(wxString::FromUTF8(sourcePath("tests/data/small-export.txt")));
        ASSERT_NE(view, nullptr);
        takeMessages();
    }
    void TearDown() override { closeAllDocuments(); }

    static wxTextCtrl* edit(wxDialog* dialog, int id) { return dynamic_cast<wxTextCtrl*>(dialog->FindWindow(id)); }
    static void pressOk(wxDialog* dialog)
    {
        wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
        ok.SetEventObject(dialog);
        dialog->GetEventHandler()->ProcessEvent(ok);
    }

    CSearchView* view = nullptr;
};
} // namespace

TEST_F(DialogsTest, NumberRangeProposesTheDefaultsRefusesNegativeAndRunsOnOk)
{
    wxString from, to;
    bool objects = false, fields = false;
    std::vector<wxString> refused;
    whenDialogAppears("Search Objects in range", [&](wxDialog* dialog) {
        from = edit(dialog, 1053)->GetValue();
        to = edit(dialog, 1054)->GetValue();
        objects = dynamic_cast<wxCheckBox*>(dialog->FindWindow(1057))->GetValue();
        fields = dynamic_cast<wxCheckBox*>(dialog->FindWindow(1058))->GetValue();
        edit(dialog, 1053)->SetValue("-1");
        pressOk(dialog);
        refused = takeMessages();
        edit(dialog, 1053)->SetValue("1");
        edit(dialog, 1054)->SetValue("100");
        pressOk(dialog);
    });
    int job = view->CurrentJobId();
    view->RunCommand(1039);
    EXPECT_EQ(from, "50000");
    EXPECT_EQ(to, "50010");
    EXPECT_TRUE(objects && fields);
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_EQ(refused[0], "Geben Sie bitte eine positive ganze Zahl ein.");
    ASSERT_GT(view->CurrentJobId(), job);
    ASSERT_TRUE(waitForJob(view));
    EXPECT_EQ(view->LastAction(), "Search range of numbers");
    EXPECT_EQ(view->Results().GetColumn(1).heading, "ObjectID");
    EXPECT_GT(view->Results().GetRowCount(), 0);
    wxFileConfig stored(wxString(), wxString(), wxGetApp().settingsFile(), wxString(), wxCONFIG_USE_LOCAL_FILE);
    EXPECT_EQ(stored.ReadLong("/Nummernsuche/NrVon", 0), 1);
    EXPECT_EQ(stored.ReadLong("/Nummernsuche/NrBis", 0), 100);
}

TEST_F(DialogsTest, NumberRangeRefusesNumbersAboveTheLargestObjectNumber)
{
    std::vector<wxString> refused;
    wxString toAfterRefusal;
    whenDialogAppears("Search Objects in range", [&](wxDialog* dialog) {
        edit(dialog, 1053)->SetValue("1");
        edit(dialog, 1054)->SetValue("3000000000");
        pressOk(dialog);
        refused = takeMessages();
        toAfterRefusal = edit(dialog, 1054)->GetValue();
        edit(dialog, 1054)->SetValue("2147483647");
        pressOk(dialog);
    });
    view->RunCommand(1039);
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_EQ(refused[0], "Geben Sie bitte eine positive ganze Zahl ein.");
    EXPECT_EQ(toAfterRefusal, "3000000000");
    ASSERT_TRUE(waitForJob(view));
    pump(100);
    EXPECT_EQ(view->Results().GetRowCount() > 0, true); // every object lies in 1 .. 2147483647
    wxFileConfig stored(wxString(), wxString(), wxGetApp().settingsFile(), wxString(), wxCONFIG_USE_LOCAL_FILE);
    EXPECT_EQ(stored.ReadLong("/Nummernsuche/NrBis", 0), 2147483647);
}

TEST_F(DialogsTest, SplitWritesTheFilesAndSetsTheLastActionAfterwards)
{
    std::filesystem::path folder = tempPath("split");
    std::filesystem::remove_all(folder);
    whenDialogAppears("Split to separat files setup", [&](wxDialog* dialog) {
        EXPECT_EQ(edit(dialog, 1053)->GetValue(), "1");
        EXPECT_EQ(edit(dialog, 1054)->GetValue(), "99999999");
        edit(dialog, 1086)->SetValue(wxString::FromUTF8(folder.string()));
        pressOk(dialog);
    });
    view->RunCommand(32788);
    ASSERT_TRUE(waitForJob(view));
    pump(100);
    EXPECT_EQ(view->LastAction(), "Export Objects to " + wxString::FromUTF8(folder.string()));
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
        ++files;
    EXPECT_EQ(files, 5);
    EXPECT_EQ(wxGetApp().mainFrame()->messageText(), "5 files written to " + wxString::FromUTF8(folder.string()));
    std::filesystem::remove_all(folder);
}

TEST_F(DialogsTest, SplitKeepsObjectsOfTheSameTypeAndNumberAndSaysSo)
{
    const std::string source = tempPath("repeated-export.txt");
    std::ofstream(source, std::ios::binary) << "OBJECT Page 21 Card\r\n{\r\n}\r\n\r\n"
                                               "OBJECT Query 21 Lines\r\n{\r\n}\r\n\r\n"
                                               "OBJECT Page 21 Card Copy\r\n{\r\n}\r\n";
    closeAllDocuments();
    view = openSearchView(wxString::FromUTF8(source));
    ASSERT_NE(view, nullptr);
    std::filesystem::path folder = tempPath("split-repeated");
    std::filesystem::remove_all(folder);
    whenDialogAppears("Split to separat files setup", [&](wxDialog* dialog) {
        edit(dialog, 1086)->SetValue(wxString::FromUTF8(folder.string()));
        pressOk(dialog);
    });
    wxGetApp().mainFrame()->SetStatusText(wxString());
    view->RunCommand(32788);
    ASSERT_TRUE(runUntil([] { return wxGetApp().mainFrame()->messageText().Contains("written"); }));
    EXPECT_TRUE(std::filesystem::exists(folder / "Page 21.txt"));
    EXPECT_TRUE(std::filesystem::exists(folder / "Query 21.txt"));
    EXPECT_NE(readFile((folder / "Page 21 (2).txt").string()).find("Card Copy"), std::string::npos);
    EXPECT_EQ(wxGetApp().mainFrame()->messageText(),
              "3 files written to " + wxString::FromUTF8(folder.string()) +
                  " (1 repeats a type and number: written as \"Page 21 (2).txt\" ...)");
    std::filesystem::remove_all(folder);
}

TEST_F(DialogsTest, CancellingTheSplitRunsNothing)
{
    whenDialogAppears("Split to separat files setup", [](wxDialog* dialog) { dialog->EndModal(wxID_CANCEL); });
    int job = view->CurrentJobId();
    view->RunCommand(32788);
    EXPECT_EQ(view->CurrentJobId(), job);
}

TEST_F(DialogsTest, EveryParameterDialogOpensWithItsFirstEditReadyToBeTypedOver)
{
    // The toolkit gave the focus to OK: typed digits went nowhere and Enter confirmed the old values.
    const struct {
        const char* title;
        int firstEdit;
        std::function<void()> open;
    } dialogs[] = {
        {"Search Objects in range", 1053, [this] { view->RunCommand(1039); }},
        {"Split to separat files setup", 1053, [this] { view->RunCommand(32788); }},
        {"Dialog", rid::IDC_WATCH_LOG_FILE,
         [] {
             if (auto* watch = dynamic_cast<CWatchView*>(newView("WatchView")))
                 watch->Setup();
         }},
    };
    for (const auto& d : dialogs) {
        SCOPED_TRACE(d.title);
        wxString typed;
        bool seen = false;
        whenDialogAppears(d.title, [&](wxDialog* dialog) {
            seen = true;
            pump(100);
            wxUIActionSimulator().Text("7");
            pump(100);
            typed = edit(dialog, d.firstEdit)->GetValue();
            dialog->EndModal(wxID_CANCEL);
        });
        d.open();
        ASSERT_TRUE(runUntil([&] { return seen; }, 5000));
        EXPECT_EQ(typed, "7");
    }
}
