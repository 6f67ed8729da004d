// Start-up and shell: the "Neu" selection, document kinds and titles, About, drop, recent files.
#include "GuiTestSupport.h"

#include "app/DocManager.h"
#include "app/MainFrame.h"
#include "app/QuellixApp.h"
#include "app/QuellixDoc.h"
#include "views/SearchView.h"

#include <gtest/gtest.h>
#include <wx/choicdlg.h>
#include <wx/fileconf.h>
#include <wx/listbox.h>
#include <wx/stattext.h>
#include <wx/statusbr.h>

using namespace guitest;

namespace {
// Answers the next "Neu" with the given kind and reports the entries it offered.
void chooseInNew(const wxString& kind, wxArrayString* offered = nullptr)
{
    whenDialogAppears("Neu", [kind, offered](wxDialog* dialog) {
        wxArrayString entries = choiceEntries(dialog);
        if (offered)
            *offered = entries;
        if (auto* choice = dynamic_cast<wxSingleChoiceDialog*>(dialog); choice && !kind.empty())
            choice->SetSelection(entries.Index(kind));
        dialog->EndModal(kind.empty() ? wxID_CANCEL : wxID_OK);
    });
}

size_t documentCount()
{
    return wxGetApp().docManager()->GetDocumentsVector().size();
}
} // namespace

TEST(AppStart, WithoutArgumentsOffersTheFiveKindsInOrderAndCancelLeavesAnEmptyWindow)
{
    const wxArrayString& offered = startupNewChoices;
    ASSERT_EQ(offered.size(), 5u);
    EXPECT_EQ(offered[0], "SearchView");
    EXPECT_EQ(offered[1], "ObjectCompareView");
    EXPECT_EQ(offered[2], "WatchView");
    EXPECT_EQ(offered[3], "MergeView");
    EXPECT_EQ(offered[4], "Changes");
    EXPECT_EQ(documentCount(), 0u);
    CMainFrame* frame = wxGetApp().mainFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->IsShown());
    ASSERT_NE(frame->GetStatusBar(), nullptr);
    EXPECT_EQ(frame->GetStatusBar()->GetFieldsCount(), 4);
    EXPECT_NE(frame->GetToolBar(), nullptr);
}

TEST(AppStart, NewDocumentsOfOneKindAreNumberedAndHaveTheirOwnCatalogue)
{
    wxCommandEvent newCommand(wxEVT_MENU, wxID_NEW);
    chooseInNew("SearchView");
    wxGetApp().mainFrame()->GetEventHandler()->ProcessEvent(newCommand);
    ASSERT_TRUE(runUntil([] { return documentCount() == 1; }));
    chooseInNew("SearchView");
    wxGetApp().mainFrame()->GetEventHandler()->ProcessEvent(newCommand);
    ASSERT_TRUE(runUntil([] { return documentCount() == 2; }));
    auto docs = wxGetApp().docManager()->GetDocumentsVector();
    EXPECT_EQ(docs[0]->GetUserReadableName(), "SearchView1");
    EXPECT_EQ(docs[1]->GetUserReadableName(), "SearchView2");
    auto* first = dynamic_cast<CQuellixDoc*>(docs[0]);
    auto* second = dynamic_cast<CQuellixDoc*>(docs[1]);
    ASSERT_TRUE(first && second);
    EXPECT_NE(&first->manager(), &second->manager());
    EXPECT_FALSE(first->openedOnFile());

    chooseInNew("MergeView");
    wxGetApp().mainFrame()->GetEventHandler()->ProcessEvent(newCommand);
    ASSERT_TRUE(runUntil([] { return documentCount() == 3; }));
    EXPECT_EQ(wxGetApp().docManager()->GetDocumentsVector()[2]->GetUserReadableName(), "MergeView1");
    closeAllDocuments();
    EXPECT_EQ(documentCount(), 0u);
}

TEST(AppStart, SaveAndSaveAsAreDisabledWhereAViewHasNothingToSave)
{
    for (const char* kind : {"MergeView", "WatchView", "ObjectCompareView", "SearchView"}) {
        SCOPED_TRACE(kind);
        wxView* view = newView(kind);
        ASSERT_NE(view, nullptr);
        wxWindow* frame = view->GetFrame();
        for (int id : {int(wxID_SAVE), int(wxID_SAVEAS)}) {
            wxUpdateUIEvent update(id);
            update.SetEventObject(frame);
            frame->GetEventHandler()->ProcessEvent(update);
            EXPECT_TRUE(update.GetSetEnabled() && !update.GetEnabled()) << id;
        }
        closeAllDocuments();
    }
}

TEST(AppStart, AboutShowsTheVersionLine)
{
    wxString caption, line;
    whenDialogAppears("Quellix - Info", [&](wxDialog* dialog) {
        caption = dialog->GetTitle();
        for (wxWindow* child : dialog->GetChildren())
            if (auto* text = dynamic_cast<wxStaticText*>(child))
                line = text->GetLabel();
        dialog->EndModal(wxID_OK);
    });
    wxCommandEvent about(wxEVT_MENU, wxID_ABOUT);
    wxGetApp().mainFrame()->GetEventHandler()->ProcessEvent(about);
    EXPECT_EQ(caption, "Quellix - Info");
    EXPECT_EQ(line, "Quellix Version 4.4");
}

TEST(AppStart, DroppedFileOpensLikeOpenAndEntersTheRecentFileList)
{
    std::string path = sourcePath("tests/data/small-export.txt");
    wxArrayString dropped;
    dropped.Add(wxString::FromUTF8(path));
    wxGetApp().mainFrame()->openDroppedFiles(dropped);
    ASSERT_TRUE(runUntil([] { return activeSearchView() != nullptr; }));
    CSearchView* view = activeSearchView();
    EXPECT_TRUE(view->Doc()->openedOnFile());
    EXPECT_EQ(view->Doc()->GetFilename(), wxString::FromUTF8(path));
    EXPECT_EQ(wxGetApp().docManager()->GetHistoryFile(0), wxString::FromUTF8(path));

    wxGetApp().docManager()->saveRecentFiles(wxGetApp().settings());
    wxFileConfig stored(wxString(), wxString(), wxGetApp().settingsFile(), wxString(), wxCONFIG_USE_LOCAL_FILE);
    EXPECT_EQ(stored.Read("/Recent File List/File1", ""), wxString::FromUTF8(path));
    closeAllDocuments();
}
