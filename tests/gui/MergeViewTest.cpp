// The merge view driven through its controls: intersection files, the external program, browsing.
#include "GuiTestSupport.h"

#include "app/DocManager.h"
#include "app/MainFrame.h"
#include "app/QuellixApp.h"
#include "app/QuellixDoc.h"
#include "merge/gui/VergleichsView.h"
#include "resources/ResourceIds.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choicdlg.h>
#include <wx/clipbrd.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/fileconf.h>
#include <wx/frame.h>
#include <wx/textctrl.h>

#include <filesystem>
#include <fstream>

using namespace guitest;

namespace {

std::string object(const std::string& header, const std::string& code)
{
    return "OBJECT " + header + "\r\n{\r\n  OBJECT-PROPERTIES\r\n  {\r\n    Date=05.07.23;\r\n  }\r\n  CODE\r\n"
           "  {\r\n    BEGIN\r\n      " + code + "\r\n    END.\r\n  }\r\n}\r\n";
}

// Answers browse dialogs as a user would: cancel, or pick a path. Remembers what it was asked.
struct ScriptedChooser : IFileChooser {
    bool answer = false;
    wxString picked;
    wxString* askedInitial = nullptr;
    wxString* askedExtension = nullptr;
    bool choose(wxWindow*, const wxString& initial, const wxString& extension, bool, wxString& path) override
    {
        *askedInitial = initial;
        *askedExtension = extension;
        if (answer)
            path = picked;
        return answer;
    }
};

void writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// A program that writes its arguments, one a line, to out.
std::string writeArgvScript(const std::string& path, const std::string& out)
{
    writeFile(path, "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + out + ".part' && /bin/mv '" + out + ".part' '" + out + "'\n");
    std::filesystem::permissions(path, std::filesystem::perms::owner_all, std::filesystem::perm_options::replace);
    return path;
}

class MergeViewTest : public testing::Test {
protected:
    void SetUp() override
    {
        whenDialogAppears("Neu", [](wxDialog* dialog) {
            auto* choice = dynamic_cast<wxSingleChoiceDialog*>(dialog);
            choice->SetSelection(choiceEntries(dialog).Index("MergeView"));
            dialog->EndModal(wxID_OK);
        });
        wxCommandEvent newCommand(wxEVT_MENU, wxID_NEW);
        wxGetApp().mainFrame()->GetEventHandler()->ProcessEvent(newCommand);
        runUntil([this] {
            view = dynamic_cast<CVergleichsView*>(wxGetApp().docManager()->GetCurrentView());
            return view != nullptr;
        });
        ASSERT_NE(view, nullptr);
        pump(100);
        installMessageHook();
        takeMessages();
    }
    void TearDown() override
    {
        closeAllDocuments();
        installMessageHook();
    }

    wxTextCtrl* edit(int id) { return dynamic_cast<wxTextCtrl*>(view->Form()->FindWindow(id)); }
    wxWindow* control(int id) { return view->Form()->FindWindow(id); }
    void fill(int id, const std::string& value) { edit(id)->SetValue(wxString::FromUTF8(value)); }
    void build()
    {
        int job = view->CurrentJobId();
        click(control(rid::IDC_MERGE_BUILD));
        ASSERT_GT(view->CurrentJobId(), job) << "the click started no build";
        ASSERT_TRUE(runUntil([this] { return !view->IsBusy(); }, 30000));
        pump(50);
    }

    CVergleichsView* view = nullptr;
};

std::string settingValue(const wxString& entry)
{
    wxFileConfig stored(wxString(), wxString(), wxGetApp().settingsFile(), wxString(), wxCONFIG_USE_LOCAL_FILE);
    return stored.Read(entry, "<missing>").utf8_string();
}

} // namespace

TEST_F(MergeViewTest, BuildsTheIntersectionFilesStartsTheProgramAndKeepsTheFieldsInItsSettings)
{
    const std::string table = object("Table 18 Kunde \x81" "bersicht", "A;");
    const std::string tableNew = object("Table 18 Kunde \x81" "bersicht", "B \x84;");
    const std::string form = object("Form 21 Karte", "F;");
    const std::string page = object("Page 21 Karte", "P;");
    const std::string source1 = tempPath("merge alt.txt"), source2 = tempPath("merge neu.txt");
    writeFile(source1, table + "\r\n" + form);
    writeFile(source2, page + "\r\n" + form + "\r\n" + tableNew);
    const std::string target1 = tempPath("Vgl Neu.txt"), target2 = tempPath("Vgl Alt.txt");
    writeFile(target1, std::string(5000, '#'));
    const std::string argvFile = tempPath("argv.txt");
    const std::string program = writeArgvScript(tempPath("diff program"), argvFile);

    fill(rid::IDC_MERGE_SOURCE1, source1); // under "Source Objects 2"
    fill(rid::IDC_MERGE_SOURCE2, source2); // under "Source Objects 1"
    fill(rid::IDC_MERGE_TARGET1, target1);
    fill(rid::IDC_MERGE_TARGET2, target2);
    fill(rid::IDC_MERGE_PROGRAM_PATH, program);
    build();
    EXPECT_EQ(readFile(target1), form + "\r\n" + table);
    EXPECT_EQ(readFile(target2), tableNew + "\r\n" + form);
    EXPECT_EQ(edit(rid::IDC_MERGE_RESULT)->GetValue(), "Vgl Neu.txt: 2 objects, Vgl Alt.txt: 2 objects");
    EXPECT_EQ(view->Doc()->manager().fileName(), source2);
    EXPECT_TRUE(takeMessages().empty());

    click(control(rid::IDC_MERGE_START));
    ASSERT_TRUE(runUntil([&] { return std::filesystem::exists(argvFile); }, 10000));
    EXPECT_EQ(readFile(argvFile), target1 + "\n" + target2 + "\n");

    closeAllDocuments();
    EXPECT_EQ(settingValue("/Merge/Quelldatei1"), source1);
    EXPECT_EQ(settingValue("/Merge/Quelldatei2"), source2);
    EXPECT_EQ(settingValue("/Merge/Zieldatei1"), target1);
    EXPECT_EQ(settingValue("/Merge/Zieldatei2"), target2);
    EXPECT_EQ(settingValue("/Merge/ProgramPath"), program);
}

TEST_F(MergeViewTest, IgnoringNoiseAndAMissingSourceWhichIsReportedByName)
{
    const std::string source1 = tempPath("noise 1.txt"), source2 = tempPath("noise 2.txt");
    writeFile(source1, object("Codeunit 1 A", "X;"));
    std::string other = object("Codeunit 1 A", "Y;");
    writeFile(source2, other.replace(other.find("05.07.23"), 8, "21-12-17"));
    fill(rid::IDC_MERGE_SOURCE1, source1);
    fill(rid::IDC_MERGE_SOURCE2, source2);
    fill(rid::IDC_MERGE_TARGET1, tempPath("n1.txt"));
    fill(rid::IDC_MERGE_TARGET2, tempPath("n2.txt"));
    dynamic_cast<wxCheckBox*>(control(rid::IDC_MERGE_IGNORE_NOISE))->SetValue(true);
    build();
    EXPECT_EQ(readFile(tempPath("n2.txt")), object("Codeunit 1 A", "Y;"));

    fill(rid::IDC_MERGE_SOURCE1, tempPath("not there.txt"));
    build();
    std::vector<wxString> messages = takeMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], wxString::FromUTF8(tempPath("not there.txt")) + " wurde nicht gefunden.");
}

TEST_F(MergeViewTest, CancellingABrowseKeepsTheFieldAndChoosingFillsIt)
{
    wxString initial, extension;
    auto chooser = std::make_unique<ScriptedChooser>();
    ScriptedChooser* answers = chooser.get();
    answers->askedInitial = &initial;
    answers->askedExtension = &extension;
    view->SetFileChooser(std::move(chooser));

    fill(rid::IDC_MERGE_TARGET2, "/data/Vgl Alt.txt");
    click(control(rid::IDC_MERGE_BROWSE_TARGET2));
    EXPECT_EQ(initial, "/data/Vgl Alt.txt");
    EXPECT_EQ(extension, "txt");
    EXPECT_EQ(edit(rid::IDC_MERGE_TARGET2)->GetValue(), "/data/Vgl Alt.txt");

    answers->answer = true;
    answers->picked = "/usr/bin/meld";
    click(control(rid::IDC_MERGE_BROWSE_PROGRAM));
    EXPECT_EQ(extension, "exe");
    EXPECT_EQ(edit(rid::IDC_MERGE_PROGRAM_PATH)->GetValue(), "/usr/bin/meld");
    EXPECT_EQ(edit(rid::IDC_MERGE_TARGET2)->GetValue(), "/data/Vgl Alt.txt");
}

TEST_F(MergeViewTest, AProgramPathThatIsNoProgramOffersADiffProgramFromThePath)
{
    const std::string bin = tempPath("bin");
    std::filesystem::create_directories(bin);
    const std::string argvFile = tempPath("meld argv.txt");
    const std::string meld = writeArgvScript(bin + "/meld", argvFile);
    wxString oldPath;
    wxGetEnv("PATH", &oldPath);
    wxSetEnv("PATH", wxString::FromUTF8(bin));
    std::vector<wxString> asked;
    wxGetApp().setMessageHook([&](const wxString& text) {
        asked.push_back(text);
        return wxYES;
    });
    fill(rid::IDC_MERGE_TARGET1, "a b.txt");
    fill(rid::IDC_MERGE_TARGET2, "c d.txt");
    fill(rid::IDC_MERGE_PROGRAM_PATH, "c:\\programs\\Araxis merge\\merge.exe");
    click(control(rid::IDC_MERGE_START));
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_NE(asked[0].Find("Araxis merge"), wxNOT_FOUND);
    EXPECT_NE(asked[0].Find(wxString::FromUTF8(meld)), wxNOT_FOUND);
    EXPECT_TRUE(runUntil([&] { return std::filesystem::exists(argvFile); }, 10000));
    EXPECT_EQ(readFile(argvFile), "a b.txt\nc d.txt\n");

    wxSetEnv("PATH", wxString::FromUTF8(tempPath("empty")));
    asked.clear();
    click(control(rid::IDC_MERGE_START));
    wxSetEnv("PATH", oldPath);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_NE(asked[0].Find("\"c:\\programs\\Araxis merge\\merge.exe\" cannot be started"), wxNOT_FOUND);
    EXPECT_EQ(edit(rid::IDC_MERGE_PROGRAM_PATH)->GetValue(), "c:\\programs\\Araxis merge\\merge.exe");
}

TEST_F(MergeViewTest, TheEditMenuPastesIntoThePathFieldWithTheFocus)
{
    if (wxTheClipboard->Open()) {
        wxTheClipboard->SetData(new wxTextDataObject("/data/Quelle 1.txt"));
        wxTheClipboard->Close();
    }
    fill(rid::IDC_MERGE_SOURCE1, "");
    edit(rid::IDC_MERGE_SOURCE1)->SetFocus();
    pump(50);
    wxCommandEvent paste(wxEVT_MENU, wxID_PASTE);
    view->GetFrame()->GetEventHandler()->ProcessEvent(paste);
    EXPECT_TRUE(runUntil([&] { return edit(rid::IDC_MERGE_SOURCE1)->GetValue() == "/data/Quelle 1.txt"; }, 3000))
        << edit(rid::IDC_MERGE_SOURCE1)->GetValue();
}

// The README's picture of the merge view. Taken only when QUELLIX_MERGE_SCREENSHOT names the PNG.
TEST_F(MergeViewTest, Screenshot)
{
    wxString target;
    if (!wxGetEnv("QUELLIX_MERGE_SCREENSHOT", &target) || target.empty())
        GTEST_SKIP() << "set QUELLIX_MERGE_SCREENSHOT to a PNG path to take it";
    CMainFrame* frame = wxGetApp().mainFrame();
    frame->SetSize(0, 0, 1180, 420);
    dynamic_cast<wxFrame*>(view->GetFrame())->Maximize();
    const std::string sample = sourcePath("examples/sample-export.txt");
    fill(rid::IDC_MERGE_SOURCE1, sample);
    fill(rid::IDC_MERGE_SOURCE2, sample);
    fill(rid::IDC_MERGE_TARGET1, tempPath("Vgl Neu.txt"));
    fill(rid::IDC_MERGE_TARGET2, tempPath("Vgl Alt.txt"));
    fill(rid::IDC_MERGE_PROGRAM_PATH, "/usr/bin/meld");
    build();
    pump(500);
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
