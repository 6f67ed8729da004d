#pragma once

#include "db/DatabaseSession.h"
#include "results/ResultList.h"
#include "views/BLView.h"

#include <string>

class CResultListCtrl;
class wxCheckBox;
class wxComboBox;
class wxTextCtrl;

// The object comparison of two databases (template 153): two connections, "compare Objects"
// reads both Object tables and lists the objects found in one database only or differing in
// date, time, name or version; "mark Objects in DBs" shows the filter texts of the listed objects.
class CObjectCompareView : public IBLView {
public:
    CObjectCompareView();

    // The commands, as the buttons and menus call them.
    void CompareObjects();
    void MarkObjects();
    void SearchInList();
    void ExportToFile(const wxString& path);
    // The file export's text: dated header, then the list with cells read back in 200-byte buffers.
    std::string ExportText() const;

    CResultListCtrl* ResultListCtrl() const { return m_list; }
    CResultList& Results() { return m_results; }
    const CDbObjectEntryArray& Entries1() const { return m_entries1; }
    const CDbObjectEntryArray& Entries2() const { return m_entries2; }
    // Connection 0 or 1 as the form holds it, user and password in the session's bytes; false
    // with problem when the OEM code page cannot hold one of their characters.
    bool Connection(int database, DatabaseConnection& connection, std::string& problem) const;

protected:
    void CreateControls(wxWindow* form) override;
    void OnInitialUpdate() override;
    CResultListCtrl* PrintedList() override { return m_list; }
    wxString PrintTitle() override;
    wxString PrintFooter() override;

private:
    // The texts of one group box, as typed.
    struct ConnectionTexts {
        wxString server, netType, licenceFile, user, password, programPath;
    };
    struct ConnectionControls {
        wxTextCtrl* server = nullptr;
        wxComboBox* netType = nullptr;
        wxTextCtrl* licenceFile = nullptr;
        wxTextCtrl* user = nullptr;
        wxTextCtrl* password = nullptr;
        wxTextCtrl* programPath = nullptr;
    };

    void createGroup(wxWindow* form, int database, int left);
    void createAnchors();
    void bindCommands();
    void readSettings();
    void writeSettings();
    void updateData();
    void updateControls();

    void onCompare(wxCommandEvent& event);
    void onMark(wxCommandEvent& event);
    void onSearchInList(wxCommandEvent& event);
    void onBrowseLicence(wxCommandEvent& event);
    void onBrowseProgramPath(wxCommandEvent& event);
    void onExport(wxCommandEvent& event);

    wxString m_searchText;
    ConnectionTexts m_connection[2];
    bool m_allTypes = false;
    bool m_compared = false;
    wxString m_comparedServers[2];
    CDbObjectEntryArray m_entries1;
    CDbObjectEntryArray m_entries2;
    CResultList m_results;

    ConnectionControls m_controls[2];
    wxTextCtrl* m_searchEdit = nullptr;
    wxCheckBox* m_allTypesCheck = nullptr;
    CResultListCtrl* m_list = nullptr;

    wxDECLARE_DYNAMIC_CLASS(CObjectCompareView);
};
