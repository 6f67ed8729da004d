// The object comparison view driven through its form on two stand-in databases made from the
// generated exports that the db-compare test uses, with the same expected rows.
#include "GuiTestSupport.h"

#include "app/DocManager.h"
#include "app/MainFrame.h"
#include "app/QuellixApp.h"
#include "db/gui/ObjectCompareView.h"
#include "db/StandInFolder.h"
#include "resources/ResourceIds.h"
#include "results/ListExportText.h"
#include "support/CompareExports.h"
#include "views/AnsiText.h"
#include "views/ResultListCtrl.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/clipbrd.h>
#include <wx/choicdlg.h>
#include <wx/combobox.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/dcsvg.h>
#include <wx/fileconf.h>
#include <wx/statbox.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

using namespace guitest;
using namespace rid;

namespace {

class ObjectCompareViewTest : public testing::Test {
protected:
    void SetUp() override
    {
        database1 = folder.createDatabase("one.db", compareexports::exportOf(1));
        database2 = folder.createDatabase("two.db", compareexports::exportOf(2));
        size_t before = wxGetApp().docManager()->GetDocumentsVector().size();
        whenDialogAppears("Neu", [](wxDialog* dialog) {
            if (auto* choice = dynamic_cast<wxSingleChoiceDialog*>(dialog))
                choice->SetSelection(choiceEntries(dialog).Index("ObjectCompareView"));
            dialog->EndModal(wxID_OK);
        });
        wxCommandEvent newCommand(wxEVT_MENU, wxID_NEW);
        wxGetApp().mainFrame()->GetEventHandler()->ProcessEvent(newCommand);
        ASSERT_TRUE(runUntil([&] { return wxGetApp().docManager()->GetDocumentsVector().size() > before; }));
        pump(100);
        view = dynamic_cast<CObjectCompareView*>(wxGetApp().docManager()->GetCurrentView());
        ASSERT_NE(view, nullptr);
        takeMessages();
    }
    void TearDown() override { closeAllDocuments(); }

    template <class T>
    T* control(int id)
    {
        return dynamic_cast<T*>(view->Form()->FindWindow(id));
    }
    void fill(int database, const std::string& server, const std::string& programPath)
    {
        const int base = database == 1 ? 0 : 1;
        const int servers[] = {IDC_COMPARE_SERVER1, IDC_COMPARE_SERVER2};
        const int nets[] = {IDC_COMPARE_NET1, IDC_COMPARE_NET2};
        const int paths[] = {IDC_COMPARE_PATH1, IDC_COMPARE_PATH2};
        const int licences[] = {IDC_COMPARE_LICENCE1, IDC_COMPARE_LICENCE2};
        const int passwords[] = {IDC_COMPARE_PASSWORD1, IDC_COMPARE_PASSWORD2};
        control<wxTextCtrl>(servers[base])->SetValue(wxString::FromUTF8(server));
        control<wxComboBox>(nets[base])->SetValue("lokal");
        control<wxTextCtrl>(paths[base])->SetValue(wxString::FromUTF8(programPath));
        control<wxTextCtrl>(licences[base])->SetValue("");
        control<wxTextCtrl>(passwords[base])->SetValue("geheim");
    }
    void fillBoth()
    {
        fill(1, database1, folder.programPath());
        fill(2, database2, folder.programPath());
    }
    void pressCompare()
    {
        click(control<wxButton>(IDC_COMPARE_OBJECTS));
        pump(100);
    }
    // The heading line and the rows as the list control shows them, cells joined by TAB.
    std::vector<std::string> shownRows()
    {
        CResultListCtrl* list = view->ResultListCtrl();
        std::vector<std::string> rows;
        wxString heading;
        for (int c = 0; c < list->GetColumnCount(); ++c) {
            wxListItem column;
            column.SetMask(wxLIST_MASK_TEXT);
            list->GetColumn(c, column);
            heading += (c ? "\t" : "") + column.GetText();
        }
        rows.push_back(heading.utf8_string());
        for (long r = 0; r < list->GetItemCount(); ++r) {
            wxString row;
            for (int c = 0; c < list->GetColumnCount(); ++c)
                row += (c ? "\t" : "") + list->GetItemText(r, c);
            rows.push_back(row.utf8_string());
        }
        return rows;
    }
    std::string setting(const wxString& key)
    {
        wxFileConfig stored(wxString(), wxString(), wxGetApp().settingsFile(), wxString(), wxCONFIG_USE_LOCAL_FILE);
        return stored.Read("OBJECTCOMPARE/" + key, "<missing>").utf8_string();
    }

    StandInFolder folder;
    std::string database1;
    std::string database2;
    CObjectCompareView* view = nullptr;
};

} // namespace

TEST_F(ObjectCompareViewTest, TheFormHasTheControlsOfItsTemplateAndNineColumns)
{
    for (auto [id, label] : std::initializer_list<std::pair<int, const char*>>{
             {IDC_COMPARE_GROUP1, "Database1"},
             {IDC_COMPARE_GROUP2, "Database 2"},
             {IDC_COMPARE_OBJECTS, "compare Objects"},
             {IDC_MARK_OBJECTS, "mark Objects in DBs"},
             {IDC_SEARCH_IN_LIST, "Search in list"},
             {IDC_COMPARE_LICENCE1_BROWSE, "..."},
             {IDC_COMPARE_PATH1_BROWSE, "..."},
             {IDC_COMPARE_LICENCE2_BROWSE, "..."},
             {IDC_COMPARE_PATH2_BROWSE, "..."},
             {IDC_COUNT_LABEL, "Count:"},
             {IDC_OBJECT_COUNT_LABEL, "Objectcount:"},
             {IDC_COMPARE_ALL_TYPES, "all object types"}}) {
        wxWindow* window = view->Form()->FindWindow(id);
        ASSERT_NE(window, nullptr) << id;
        EXPECT_EQ(wxControl::RemoveMnemonics(window->GetLabel()), label) << id;
    }
    for (int id : {IDC_COMPARE_NET1, IDC_COMPARE_NET2}) {
        wxComboBox* net = control<wxComboBox>(id);
        ASSERT_NE(net, nullptr);
        wxArrayString listed = net->GetStrings();
        ASSERT_EQ(listed.size(), 3u);
        EXPECT_EQ(listed[0] + " " + listed[1] + " " + listed[2], "tcp netb lokal");
        EXPECT_EQ(net->GetValue(), "netb");
    }
    for (int id : {IDC_COMPARE_PASSWORD1, IDC_COMPARE_PASSWORD2})
        EXPECT_TRUE(control<wxTextCtrl>(id)->HasFlag(wxTE_PASSWORD));
    EXPECT_EQ(control<wxTextCtrl>(IDC_COMPARE_LICENCE2)->GetValue(), "c:\\tmp\\fin.flf");
    EXPECT_EQ(control<wxTextCtrl>(IDC_COMPARE_PATH1)->GetValue(), "c:\\fin_260");
    EXPECT_EQ(control<wxTextCtrl>(IDC_COMPARE_SERVER1)->GetValue(), "");
    for (int id : std::initializer_list<int>{IDC_COMPARE_USER1, IDC_COMPARE_LICENCE1, IDC_COMPARE_SERVER2, IDC_COMPARE_PATH2,
                   IDC_COMPARE_USER2, IDC_SEARCH_TERM, IDC_COUNT, IDC_OBJECT_COUNT})
        EXPECT_NE(control<wxTextCtrl>(id), nullptr) << id;
    EXPECT_FALSE(control<wxCheckBox>(IDC_COMPARE_ALL_TYPES)->GetValue());
    EXPECT_EQ(shownRows(), std::vector<std::string>{"State\tType\tName\tID\tDate1\tDate2\tDate Diff.\tTime1\tTime2"});

    wxSize before = view->ResultListCtrl()->GetSize();
    wxPoint searchBefore = control<wxTextCtrl>(IDC_SEARCH_TERM)->GetPosition();
    wxPoint groupBefore = control<wxStaticBox>(IDC_COMPARE_GROUP2)->GetPosition();
    // The view's frame is a tab of the main window: it grows with the main window.
    wxFrame* mainFrame = wxGetApp().mainFrame();
    mainFrame->SetSize(mainFrame->GetSize() + wxSize(100, 80));
    runUntil([&] { return view->ResultListCtrl()->GetSize() != before; }, 2000);
    pump(100);
    EXPECT_GT(view->ResultListCtrl()->GetSize().x, before.x);
    EXPECT_GT(view->ResultListCtrl()->GetSize().y, before.y);
    EXPECT_GT(control<wxTextCtrl>(IDC_SEARCH_TERM)->GetPosition().y, searchBefore.y);
    EXPECT_EQ(control<wxStaticBox>(IDC_COMPARE_GROUP2)->GetPosition(), groupBefore);
}

TEST_F(ObjectCompareViewTest, CompareObjectsShowsTheRowsOfDbCompareAndStoresTheSettingsWithoutPasswords)
{
    fillBoth();
    control<wxTextCtrl>(IDC_COMPARE_USER2)->SetValue("Admin");
    pressCompare();
    EXPECT_TRUE(takeMessages().empty());
    EXPECT_EQ(shownRows(), compareexports::expectedRows());
    EXPECT_EQ(control<wxTextCtrl>(IDC_COUNT)->GetValue(), "");
    EXPECT_EQ(control<wxTextCtrl>(IDC_OBJECT_COUNT)->GetValue(), "");
    EXPECT_EQ(view->Entries1().count(), 29);
    EXPECT_EQ(view->Entries2().count(), 29);
    int different = 0, onlyFirst = 0, onlySecond = 0;
    for (const std::string& row : compareexports::expectedRows()) {
        different += row.rfind("Different\t", 0) == 0;
        onlyFirst += row.find("\t9999\t") != std::string::npos;
        onlySecond += row.find("\t-9999\t") != std::string::npos;
    }
    wxGetApp().mainFrame()->flushStatusText();
    EXPECT_EQ(wxGetApp().mainFrame()->messageText(),
              wxString::Format("compared: %d different, %d only in Database1, %d only in Database 2, %d equal",
                               different, onlyFirst, onlySecond, 29 - different - onlyFirst));

    EXPECT_EQ(setting("Servername"), database1);
    EXPECT_EQ(setting("Servername2"), database2);
    EXPECT_EQ(setting("Netzwerktyp2"), "lokal");
    EXPECT_EQ(setting("User2"), "Admin");
    EXPECT_EQ(setting("Lizenzdatei"), "");
    EXPECT_EQ(setting("Programmpfad2"), folder.programPath());
    EXPECT_EQ(readFile(wxGetApp().settingsFile().utf8_string()).find("geheim"), std::string::npos);

    control<wxTextCtrl>(IDC_SEARCH_TERM)->SetValue("only two");
    click(control<wxButton>(IDC_SEARCH_IN_LIST));
    EXPECT_EQ(view->ResultListCtrl()->GetFirstSelectedRow(), 9);

    // Ctrl+C in the list copies the selected row as list text.
    view->ResultListCtrl()->SetFocus();
    pump(50);
    wxUIActionSimulator().Char('C', wxMOD_CONTROL);
    pump(200);
    wxString copied;
    {
        wxClipboardLocker locker;
        wxTextDataObject data;
        if (!!locker && wxTheClipboard->GetData(data))
            copied = data.GetText();
    }
    EXPECT_EQ(copied, fromAnsi(listTextOfRows(view->Results(), {9})));
}

TEST_F(ObjectCompareViewTest, AllObjectTypesReadsPagesAndNamesXmlports)
{
    fillBoth();
    control<wxCheckBox>(IDC_COMPARE_ALL_TYPES)->SetValue(true);
    pressCompare();
    std::vector<std::string> rows = shownRows();
    ASSERT_EQ(rows.size(), compareexports::expectedRows().size() + 1);
    EXPECT_EQ(rows[8].substr(0, 24), "Different\tXMLport\t6000\tE");
    EXPECT_EQ(rows.back().substr(0, 16), "New\tPage\t21\tCust");
}

TEST_F(ObjectCompareViewTest, AnUnreadableDatabaseShowsItsMessageAndContributesNothing)
{
    fillBoth();
    control<wxTextCtrl>(IDC_COMPARE_PATH1)->SetValue(wxString::FromUTF8(folder.file("nowhere")));
    pressCompare();
    std::vector<wxString> messages = takeMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], wxString::FromUTF8(folder.file("nowhere") + "/cfront/cfront.so not existing"));
    std::vector<std::string> rows = shownRows();
    ASSERT_EQ(rows.size(), 30u) << "every object of database 2, the page excluded";
    for (size_t r = 1; r < rows.size(); ++r)
        EXPECT_NE(rows[r].find("\t-9999\t"), std::string::npos) << rows[r];
    EXPECT_EQ(view->Entries1().count(), 0);
}

TEST_F(ObjectCompareViewTest, ADatabaseWithoutItsObjectTableShowsAMessageAndListsNoObjectOfIt)
{
    runSql(database2, "DROP TABLE object");
    fillBoth();
    pressCompare();
    std::vector<wxString> messages = takeMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_FALSE(messages[0].empty());
    std::vector<std::string> rows = shownRows();
    ASSERT_EQ(rows.size(), 30u) << "every object of database 1";
    for (size_t r = 1; r < rows.size(); ++r)
        EXPECT_NE(rows[r].find("\t9999\t"), std::string::npos) << rows[r];
    EXPECT_EQ(view->Entries2().count(), 0);
}

TEST_F(ObjectCompareViewTest, MarkObjectsNeedsAComparisonThenShowsTheFilterTextsOfBothDatabases)
{
    fillBoth();
    click(control<wxButton>(IDC_MARK_OBJECTS));
    pump(100);
    std::vector<wxString> messages = takeMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].Find("compare Objects"), wxNOT_FOUND);
    EXPECT_EQ(setting("Servername2"), database2) << "the settings are written first";

    pressCompare();
    wxString filters[2];
    whenDialogAppears("mark Objects in DBs", [&filters](wxDialog* dialog) {
        filters[0] = dynamic_cast<wxTextCtrl*>(dialog->FindWindow(IDC_MARK_FILTER1))->GetValue();
        filters[1] = dynamic_cast<wxTextCtrl*>(dialog->FindWindow(IDC_MARK_FILTER2))->GetValue();
        dialog->EndModal(wxID_CLOSE);
    });
    view->MarkObjects();
    EXPECT_EQ(filters[0], "Table: 18|27|36\r\nForm: 21\r\nReport: 206\r\nDataport: 50000\r\nCodeunit: 80\r\n"
                          "(no type): 6000\r\n");
    EXPECT_EQ(filters[1], "Table: 27|36\r\nForm: 18|21\r\nReport: 206\r\nCodeunit: 80|50001\r\n(no type): 6000\r\n");
}

TEST_F(ObjectCompareViewTest, ExportAppendsAndThePrintoutHasTheDatabaseCompareTitleAndFooter)
{
    fillBoth();
    pressCompare();
    std::string file = tempPath("compare-export.txt");
    std::remove(file.c_str());
    view->ExportToFile(wxString::FromUTF8(file));
    view->ExportToFile(wxString::FromUTF8(file));
    std::string text = readFile(file);
    ASSERT_EQ(text.compare(0, 24, "\r\n\r\nQuellix-Analyse vom "), 0);
    size_t second = text.find("\r\n\r\nQuellix-Analyse vom ", 4);
    ASSERT_NE(second, std::string::npos) << "the second export is appended";
    EXPECT_EQ(text.substr(0, second), text.substr(second));
    EXPECT_NE(text.find("\r\nNew\tCodeunit\t50001\tOnly Two\tQLX2\t\t2005-05-05\t-9999\t\t05:05:05\t\tOnly Two\t\tQLX2\t\r\n"),
              std::string::npos);

    wxPrintDialogData data(wxGetApp().printData());
    std::unique_ptr<wxPrintout> out(view->CreatePrintout(data));
    ASSERT_TRUE(out);
    std::string page = tempPath("compare-page.svg");
    {
        wxSVGFileDC dc(wxString::FromUTF8(page), 1100, 850, 96);
        out->SetDC(&dc);
        out->SetPageSizePixels(1100, 850);
        out->SetPaperRectPixels(wxRect(0, 0, 1100, 850));
        out->SetPPIPrinter(96, 96);
        out->SetPPIScreen(96, 96);
        out->OnPreparePrinting();
        out->OnBeginPrinting();
        out->OnPrintPage(1);
        out->OnEndPrinting();
        out->SetDC(nullptr);
    }
    std::string svg = readFile(page);
    EXPECT_NE(svg.find("Quellix-Analyse DatabaseCompare " + view->GetDocument()->GetUserReadableName().utf8_string()),
              std::string::npos);
    EXPECT_NE(svg.find(">DatabaseCompare<"), std::string::npos) << "footer text";
}

// The README's screenshot of the comparison, taken only when QUELLIX_COMPARE_SCREENSHOT names the
// PNG file to write.
TEST_F(ObjectCompareViewTest, ScreenshotWithRows)
{
    wxString target;
    if (!wxGetEnv("QUELLIX_COMPARE_SCREENSHOT", &target) || target.empty())
        GTEST_SKIP() << "set QUELLIX_COMPARE_SCREENSHOT to a PNG path to take it";
    CMainFrame* frame = wxGetApp().mainFrame();
    frame->SetSize(0, 0, 1180, 740);
    if (auto* child = dynamic_cast<wxFrame*>(view->GetFrame()))
        child->Maximize();
    fillBoth();
    pressCompare();
    pump(800);
    frame->Update();
    wxRect area = frame->GetScreenRect();
    wxBitmap shot(area.width, area.height);
    {
        wxScreenDC screen;
        wxMemoryDC memory(shot);
        memory.Blit(0, 0, area.width, area.height, &screen, area.x, area.y);
    }
    ASSERT_TRUE(shot.SaveFile(target, wxBITMAP_TYPE_PNG));
}

TEST_F(ObjectCompareViewTest, APasswordTheOemCodePageCannotHoldIsRefusedInAMessageBoxWithoutALogin)
{
    fillBoth();
    ASSERT_EQ(folder.admin({"add-user", database2, "ADMIN"}, nullptr, "??????"), 0);
    control<wxTextCtrl>(IDC_COMPARE_USER2)->SetValue("ADMIN");
    control<wxTextCtrl>(IDC_COMPARE_PASSWORD2)->SetValue(wxString::FromUTF8("\xD0\xBF\xD0\xB0\xD1\x80\xD0\xBE\xD0\xBB\xD1\x8C"));
    pressCompare();
    EXPECT_EQ(takeMessages(), (std::vector<wxString>{"Database 2: the password holds the character U+043F, which the "
                                                     "OEM code page 850 of C/FRONT cannot hold"}));
    EXPECT_EQ(view->Entries1().count(), 0);
    EXPECT_EQ(view->Entries2().count(), 0);
}
