#include "app/DocManager.h"

#include "app/QuellixApp.h"
#include "views/TopLevelPlacement.h"
#include "resources/ResourceIds.h"
#include "settings/SettingsKeys.h"
#include "views/Messages.h"

#include <wx/app.h>
#include <wx/choicdlg.h>
#include <wx/filedlg.h>
#include <wx/filehistory.h>
#include <wx/listbox.h>
#include <wx/msgdlg.h>

CQuellixDocManager::CQuellixDocManager()
{
    Bind(wxEVT_MENU, &CQuellixDocManager::onNew, this, wxID_NEW);
    Bind(wxEVT_MENU, &CQuellixDocManager::onOpen, this, wxID_OPEN);
    Bind(wxEVT_MENU, &CQuellixDocManager::onRecentFile, this, rid::ID_FILE_MRU_FILE1,
         rid::ID_FILE_MRU_FILE1 + settingskeys::kRecentFileCount - 1);
    // A view with something to save handles Save and Save As itself; for every other view they
    // are disabled and do nothing (the toolkit's own would rename the document and write nothing).
    for (int id : {int(wxID_SAVE), int(wxID_SAVEAS)}) {
        Bind(wxEVT_MENU, [](wxCommandEvent&) {}, id);
        Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& event) { event.Enable(false); }, id);
    }
}

void CQuellixDocManager::newDocument()
{
    CreateNewDocument();
}

void CQuellixDocManager::onNew(wxCommandEvent&)
{
    newDocument();
}

void CQuellixDocManager::onOpen(wxCommandEvent&)
{
    wxFileDialog dialog(wxTheApp->GetTopWindow(), messages::fileDialogCaption(false), wxString(), wxString(),
                        wxFileSelectorDefaultWildcardStr, wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    if (dialog.ShowModal() == wxID_OK)
        CreateDocument(dialog.GetPath(), wxDOC_SILENT);
}

void CQuellixDocManager::onRecentFile(wxCommandEvent& event)
{
    DoOpenMRUFile(static_cast<unsigned>(event.GetId() - rid::ID_FILE_MRU_FILE1));
}

wxString CQuellixDocManager::nextTitle(wxDocTemplate* docTemplate)
{
    return docTemplate->GetDocumentName() + wxString::Format("%d", ++m_untitledCount[docTemplate]);
}

// Makes the dialog's list tall enough for every entry: the toolkit's own guess allows fewer pixels
// per row than GTK's list rows take, which hid half of the last kind.
static void showEveryChoice(wxSingleChoiceDialog& dialog)
{
    for (wxWindow* child : dialog.GetChildren())
        if (auto* list = dynamic_cast<wxListBox*>(child)) {
            int rows = static_cast<int>(list->GetCount());
            int rowHeight = list->GetCharHeight() + 8;
            list->SetMinSize(wxSize(list->GetBestSize().x, rows * rowHeight + 8));
        }
}

wxDocTemplate* CQuellixDocManager::SelectDocumentType(wxDocTemplate** templates, int noTemplates, bool)
{
    wxArrayString names;
    for (int i = 0; i < noTemplates; ++i)
        names.Add(templates[i]->GetDescription());
    wxSingleChoiceDialog dialog(wxTheApp->GetTopWindow(), wxString(), "Neu", names);
    showEveryChoice(dialog);
    fitAndCentreDialog(dialog);
    if (dialog.ShowModal() != wxID_OK)
        return nullptr;
    return templates[dialog.GetSelection()];
}

wxDocTemplate* CQuellixDocManager::FindTemplateForPath(const wxString&)
{
    // Every file opens in the first kind, the search view, which takes the path as its source.
    wxList& list = GetTemplates();
    return list.empty() ? nullptr : static_cast<wxDocTemplate*>(list.GetFirst()->GetData());
}

wxFileHistory* CQuellixDocManager::OnCreateFileHistory()
{
    return new wxFileHistory(settingskeys::kRecentFileCount, rid::ID_FILE_MRU_FILE1);
}

void CQuellixDocManager::OnMRUFileNotExist(unsigned n, const wxString& filename)
{
    wxGetApp().showMessage(wxTheApp->GetTopWindow(), messages::notFound(filename));
    RemoveFileFromHistory(n);
}

void CQuellixDocManager::loadRecentFiles(ISettingsStore& store)
{
    std::vector<std::string> files = readRecentFiles(store);
    for (auto it = files.rbegin(); it != files.rend(); ++it)
        AddFileToHistory(wxString::FromUTF8(*it));
}

void CQuellixDocManager::saveRecentFiles(ISettingsStore& store)
{
    std::vector<std::string> files;
    for (size_t i = 0; i < GetHistoryFilesCount(); ++i)
        files.push_back(GetHistoryFile(i).utf8_string());
    writeRecentFiles(store, files);
}
