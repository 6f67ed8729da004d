#include "db/gui/ObjectCompareView.h"

#include "settings/ObjectCompareSettings.h"
#include "db/gui/DatabaseWait.h"
#include "db/gui/MarkObjectsDialog.h"
#include "db/ObjectCompare.h"
#include "resources/ResourceIds.h"
#include "views/AnsiText.h"
#include "views/Messages.h"
#include "results/ListExportText.h"
#include "views/ResultListCtrl.h"
#include "views/TextEditCommands.h"
#include "views/ViewContext.h"

#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/dirdlg.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

#include <ctime>

wxIMPLEMENT_DYNAMIC_CLASS(CObjectCompareView, IBLView);

using namespace rid;

namespace {

const wxSize kTemplateSize(486, 284);
constexpr size_t kExportCellBuffer = 200;

// The session's failure reports as the program's message boxes, with their captions and icons.
class CViewMessageBoxes : public IMessageBoxes {
public:
    CViewMessageBoxes(IViewContext& context, wxWindow* parent) : m_context(context), m_parent(parent) {}
    void show(const std::string& text, const std::string& caption, MessageIcon icon) override
    {
        long style = icon == MessageIcon::Error ? wxICON_ERROR
                     : icon == MessageIcon::Information ? wxICON_INFORMATION : wxICON_NONE;
        m_context.showMessageBox(m_parent, fromAnsi(text), fromAnsi(caption), wxOK | style);
    }
    void note(const std::string& text) override { m_context.statusRelay().setStatusText(text); }
    void waiting(const std::string& text) override { CDatabaseOperation::showWait(m_context, text); }

private:
    IViewContext& m_context;
    wxWindow* m_parent;
};

// Which database a command of a "..." button belongs to.
int databaseOfButton(int id)
{
    return id == IDC_COMPARE_LICENCE2_BROWSE || id == IDC_COMPARE_PATH2_BROWSE ? 1 : 0;
}

} // namespace

CObjectCompareView::CObjectCompareView() : IBLView(IDD_OBJECTCOMPAREVIEW, IDR_OBJECTCOMPAREVIEW, kTemplateSize)
{
    bindCommands();
}

void CObjectCompareView::bindCommands()
{
    // Buttons reach the view through the form; menu commands through the frame's routing.
    Bind(wxEVT_BUTTON, &CObjectCompareView::onCompare, this, IDC_COMPARE_OBJECTS);
    Bind(wxEVT_BUTTON, &CObjectCompareView::onMark, this, IDC_MARK_OBJECTS);
    Bind(wxEVT_BUTTON, &CObjectCompareView::onSearchInList, this, IDC_SEARCH_IN_LIST);
    for (int id : {IDC_COMPARE_LICENCE1_BROWSE, IDC_COMPARE_LICENCE2_BROWSE})
        Bind(wxEVT_BUTTON, &CObjectCompareView::onBrowseLicence, this, id);
    for (int id : {IDC_COMPARE_PATH1_BROWSE, IDC_COMPARE_PATH2_BROWSE})
        Bind(wxEVT_BUTTON, &CObjectCompareView::onBrowseProgramPath, this, id);
    for (int id : {wxID_SAVE, wxID_SAVEAS}) {
        Bind(wxEVT_MENU, &CObjectCompareView::onExport, this, id);
        Bind(wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& event) { event.Enable(m_results.GetRowCount() > 0); }, id);
    }
    // Ctrl+C with the focus in the list copies its selected rows (every row when none is selected).
    bindTextEditCommands(*this, CopyTarget{[this](wxWindow* focus) { return m_list != nullptr && m_list->HasFocusIn(focus); },
                                           [this] { m_list->CopySelectedRows(); }});
}

void CObjectCompareView::OnInitialUpdate()
{
    readSettings();
    fillInitialCompareList(m_results);
    m_list->SyncFromList();
    updateControls();
}

void CObjectCompareView::readSettings()
{
    ObjectCompareSettings settings;
    settings.read(Context().settings());
    const ObjectCompareSettings::Connection* stored[2] = {&settings.database1, &settings.database2};
    for (int n = 0; n < 2; ++n) {
        ConnectionTexts& texts = m_connection[n];
        texts.server = wxString::FromUTF8(stored[n]->server);
        texts.netType = wxString::FromUTF8(stored[n]->netType);
        texts.licenceFile = wxString::FromUTF8(stored[n]->licenceFile);
        texts.user = wxString::FromUTF8(stored[n]->user);
        texts.programPath = wxString::FromUTF8(stored[n]->programPath);
    }
}

void CObjectCompareView::writeSettings()
{
    ObjectCompareSettings settings;
    ObjectCompareSettings::Connection* stored[2] = {&settings.database1, &settings.database2};
    for (int n = 0; n < 2; ++n) {
        const ConnectionTexts& texts = m_connection[n];
        *stored[n] = ObjectCompareSettings::Connection{texts.server.utf8_string(), texts.netType.utf8_string(),
                                                       texts.licenceFile.utf8_string(), texts.user.utf8_string(),
                                                       texts.programPath.utf8_string()};
    }
    settings.write(Context().settings());
}

void CObjectCompareView::updateData()
{
    for (int n = 0; n < 2; ++n) {
        const ConnectionControls& c = m_controls[n];
        m_connection[n] = ConnectionTexts{c.server->GetValue(),   c.netType->GetValue(), c.licenceFile->GetValue(),
                                          c.user->GetValue(),     c.password->GetValue(),
                                          c.programPath->GetValue()};
    }
    m_searchText = m_searchEdit->GetValue();
    m_allTypes = m_allTypesCheck->GetValue();
}

void CObjectCompareView::updateControls()
{
    for (int n = 0; n < 2; ++n) {
        const ConnectionControls& c = m_controls[n];
        const ConnectionTexts& texts = m_connection[n];
        c.server->ChangeValue(texts.server);
        c.netType->ChangeValue(texts.netType);
        c.licenceFile->ChangeValue(texts.licenceFile);
        c.user->ChangeValue(texts.user);
        c.password->ChangeValue(texts.password);
        c.programPath->ChangeValue(texts.programPath);
    }
    m_searchEdit->ChangeValue(m_searchText);
    m_allTypesCheck->SetValue(m_allTypes);
}

bool CObjectCompareView::Connection(int database, DatabaseConnection& connection, std::string& problem) const
{
    const ConnectionTexts& texts = m_connection[database];
    connection = DatabaseConnection{texts.server.utf8_string(), texts.netType.utf8_string(),
                                    texts.licenceFile.utf8_string(), texts.user.utf8_string(),
                                    texts.password.utf8_string(), texts.programPath.utf8_string()};
    return credentialsToAnsi(connection, problem);
}

void CObjectCompareView::CompareObjects()
{
    updateData();
    writeSettings();
    DatabaseConnection connections[2];
    for (int n = 0; n < 2; ++n) {
        std::string problem;
        if (!Connection(n, connections[n], problem)) {
            Context().showMessageBox(GetFrame(), wxString::Format("Database %d: ", n + 1) + wxString::FromUTF8(problem),
                                      "Error", wxOK | wxICON_ERROR);
            return;
        }
    }
    {
        CDatabaseOperation operation;
        CViewMessageBoxes boxes(Context(), GetFrame());
        CDatabaseSession session(boxes);
        runObjectCompare(session, connections[0], connections[1], m_allTypes, m_entries1, m_entries2, m_results);
    }
    Context().statusRelay().setStatusText(compareSummary(m_entries1, m_entries2));
    m_compared = true;
    m_comparedServers[0] = m_connection[0].server;
    m_comparedServers[1] = m_connection[1].server;
    m_list->SyncFromList();
}

void CObjectCompareView::MarkObjects()
{
    updateData();
    writeSettings();
    if (!m_compared) {
        Context().showMessage(GetFrame(), messages::kCompareFirst);
        return;
    }
    // The filters belong to the databases of the last comparison, whatever the form says now.
    const wxString headings[2] = {"Database1 " + m_comparedServers[0], "Database 2 " + m_comparedServers[1]};
    const std::string filters[2] = {markFilterText(m_entries1, false), markFilterText(m_entries2, true)};
    showMarkObjectsDialog(GetFrame(), headings, filters);
}

void CObjectCompareView::SearchInList()
{
    updateData();
    m_list->FindInList(toAnsi(m_searchText));
}

std::string CObjectCompareView::ExportText() const
{
    return buildExportText(m_results, std::time(nullptr), kExportCellBuffer);
}

void CObjectCompareView::ExportToFile(const wxString& path)
{
    if (!appendToFile(path.utf8_string(), ExportText()))
        Context().showMessage(GetFrame(), messages::kCommandFailed);
}

wxString CObjectCompareView::PrintTitle()
{
    wxString title = GetDocument() ? GetDocument()->GetUserReadableName() : wxString();
    return "Quellix-Analyse DatabaseCompare " + title;
}

wxString CObjectCompareView::PrintFooter()
{
    return "DatabaseCompare";
}

void CObjectCompareView::onCompare(wxCommandEvent&)
{
    CompareObjects();
}

void CObjectCompareView::onMark(wxCommandEvent&)
{
    MarkObjects();
}

void CObjectCompareView::onSearchInList(wxCommandEvent&)
{
    SearchInList();
}

void CObjectCompareView::onBrowseLicence(wxCommandEvent& event)
{
    updateData();
    wxString& licence = m_connection[databaseOfButton(event.GetId())].licenceFile;
    wxFileName current(licence);
    wxFileDialog dialog(GetFrame(), wxString(), current.GetPath(), current.GetFullName(),
                        "License File (*.flf)|*.flf|All Files (*.*)|*.*", wxFD_OPEN);
    if (dialog.ShowModal() == wxID_OK) {
        licence = dialog.GetPath();
        updateControls();
    }
}

void CObjectCompareView::onBrowseProgramPath(wxCommandEvent& event)
{
    updateData();
    wxString& programPath = m_connection[databaseOfButton(event.GetId())].programPath;
    wxDirDialog dialog(GetFrame(), "Navision Path", programPath);
    if (dialog.ShowModal() == wxID_OK && !dialog.GetPath().empty()) {
        programPath = dialog.GetPath();
        updateControls();
    }
}

void CObjectCompareView::onExport(wxCommandEvent&)
{
    updateData();
    wxFileDialog dialog(GetFrame(), wxString(), wxString(), wxString(), wxFileSelectorDefaultWildcardStr,
                        wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    if (dialog.ShowModal() != wxID_OK)
        return;
    wxString path = dialog.GetPath();
    if (!wxFileName(path).HasExt())
        path += ".txt";
    ExportToFile(path);
}
