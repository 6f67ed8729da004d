#pragma once

#include "settings/SettingsStore.h"

#include <wx/docview.h>

#include <map>

// The document manager: the "Neu" selection, Open as a search view, the recent-file list of ten
// entries in the settings store, and the running numbers of new documents' titles.
class CQuellixDocManager : public wxDocManager {
public:
    CQuellixDocManager();

    // New: shows "Neu", then opens a document of the chosen kind.
    void newDocument();
    // The next title of a new document of this kind: its name and a running number.
    wxString nextTitle(wxDocTemplate* docTemplate);

    void loadRecentFiles(ISettingsStore& store);
    void saveRecentFiles(ISettingsStore& store);

    wxDocTemplate* SelectDocumentType(wxDocTemplate** templates, int noTemplates, bool sort = false) override;
    wxDocTemplate* FindTemplateForPath(const wxString& path) override;
    wxFileHistory* OnCreateFileHistory() override;
    void OnMRUFileNotExist(unsigned n, const wxString& filename) override;

private:
    void onNew(wxCommandEvent& event);
    void onOpen(wxCommandEvent& event);
    void onRecentFile(wxCommandEvent& event);

    std::map<wxDocTemplate*, int> m_untitledCount;
};
