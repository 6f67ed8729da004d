// The commands of the search view: search, the analyses of the command table, and the list
// commands (search in list, copy, export, context menu, opening a row).
#include "views/SearchView.h"

#include "analysis/OperationTable.h"
#include "layout/DialogValues.h"
#include "resources/ResourceIds.h"
#include "results/ListExportText.h"
#include "settings/SettingsKeys.h"
#include "views/AnsiText.h"
#include "views/Menus.h"
#include "views/Messages.h"
#include "views/NumberRangeDialog.h"
#include "views/ObjectViewer.h"
#include "views/ResultListCtrl.h"
#include "views/SplitDialog.h"
#include "views/TextEditCommands.h"
#include "views/ViewContext.h"
#include "views/ViewDocument.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/clipbrd.h>
#include <wx/combobox.h>
#include <wx/filedlg.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/textctrl.h>
#include <wx/toolbar.h>

using namespace rid;

void CSearchView::bindCommands()
{
    // Buttons reach the view through the form; menu commands through the frame's routing.
    Bind(wxEVT_BUTTON, &CSearchView::onSearchButton, this, IDC_SEARCH);
    Bind(wxEVT_UPDATE_UI, &CSearchView::onUpdateCommand, this, IDC_SEARCH);
    Bind(wxEVT_BUTTON, &CSearchView::onBrowse, this, IDC_BROWSE);
    Bind(wxEVT_BUTTON, &CSearchView::onSearchInList, this, IDC_SEARCH_IN_LIST);
    Bind(wxEVT_BUTTON, &CSearchView::onCommand, this, IDC_NUMBER_RANGE);
    // Every operation with a command ID is a menu command, but the text search: the "Search"
    // button starts that one.
    for (const OperationDef* operation : operationTable()) {
        if (operation->commandId == ID_NO_COMMAND || operation->input == OperationInput::SearchTerm)
            continue;
        Bind(wxEVT_MENU, &CSearchView::onCommand, this, menuIdOf(operation->commandId));
        Bind(wxEVT_UPDATE_UI, &CSearchView::onUpdateCommand, this, menuIdOf(operation->commandId));
    }
    Bind(wxEVT_MENU, &CSearchView::onCopyToClipboard, this, menuIdOf(ID_COPY_TO_CLIPBOARD));
    for (int id : {menuIdOf(ID_EXPORT_TO_FILE), int(wxID_SAVE), int(wxID_SAVEAS)})
        Bind(wxEVT_MENU, &CSearchView::onExportToFile, this, id);
    for (int id : {menuIdOf(ID_COPY_TO_CLIPBOARD), menuIdOf(ID_EXPORT_TO_FILE), int(wxID_SAVE), int(wxID_SAVEAS)})
        Bind(wxEVT_UPDATE_UI, &CSearchView::onUpdateNeedsRows, this, id);
    Bind(wxEVT_MENU, &CSearchView::onShowObject, this, menuIdOf(ID_SHOW_OBJECT));
    Bind(wxEVT_UPDATE_UI, &CSearchView::onUpdateShowObject, this, menuIdOf(ID_SHOW_OBJECT));
    Bind(wxEVT_MENU, &CSearchView::onStop, this, ID_STOP_JOB);
    Bind(wxEVT_UPDATE_UI, &CSearchView::onUpdateStop, this, ID_STOP_JOB);
    // Ctrl+C with the focus in the list copies its selected rows (every row when none is selected).
    bindTextEditCommands(*this, CopyTarget{[this](wxWindow* focus) { return m_list != nullptr && m_list->HasFocusIn(focus); },
                                           [this] { m_list->CopySelectedRows(); }});
}

void CSearchView::onStop(wxCommandEvent&)
{
    StopJob();
}

void CSearchView::onUpdateStop(wxUpdateUIEvent& event)
{
    event.Enable(m_job.running());
}

void CSearchView::onSourceText(wxCommandEvent& event)
{
    event.Skip();
    if (Doc() != nullptr)
        Doc()->followSourceFile(m_sourceEdit->GetValue());
}

void CSearchView::rememberSearchTerm()
{
    m_recentTerms.add(m_searchTerm.utf8_string());
    m_recentTerms.write(Context().settings());
    wxArrayString items;
    for (const std::string& term : m_recentTerms.terms)
        items.push_back(wxString::FromUTF8(term));
    m_termEdit->Set(items);
    m_termEdit->ChangeValue(m_searchTerm);
}

void CSearchView::onSearchButton(wxCommandEvent&)
{
    RunSearch();
}

void CSearchView::RunSearch()
{
    const OperationDef& search = textSearchOperation();
    updateData();
    m_lastAction = wxString::FromUTF8(search.lastAction) + m_searchTerm;
    applySearchOption(m_searchOption.utf8_string(), m_caseSensitive, m_useRegex);
    m_jobPattern = toAnsi(m_searchTerm);
    AnalysisArgs args;
    args.term = m_jobPattern;
    args.useRegex = m_useRegex;
    args.caseSensitive = m_caseSensitive;
    if (startWorker(&search, args)) {
        writeSearchSettings();
        rememberSearchTerm();
    }
}

void CSearchView::onCommand(wxCommandEvent& event)
{
    RunCommand(commandIdOf(event.GetId()));
}

void CSearchView::RunCommand(int commandId)
{
    const OperationDef* operation = findOperationById(commandId);
    if (operation == nullptr || operation->run == nullptr || operation->input == OperationInput::SearchTerm)
        return;
    updateData();
    AnalysisArgs args;
    if (m_awareCheck != nullptr && m_awareCheck->GetValue())
        args.flags.push_back(kAwareOption);
    if (operation->fixedPattern != nullptr) {
        m_jobPattern = operation->fixedPattern;
        m_useRegex = true;
        m_caseSensitive = true;
        args.term = m_jobPattern;
        args.useRegex = true;
        args.caseSensitive = true;
    }
    if (!askCommandInput(*operation, args))
        return;
    // Operations that write files show their last action when they end (the split), or not at all.
    const bool writesFiles =
        operation->input == OperationInput::OutputFile || operation->input == OperationInput::FolderAndRange;
    if (!writesFiles && operation->lastAction != nullptr)
        m_lastAction = wxString::FromUTF8(operation->lastAction);
    startWorker(operation, args);
}

bool CSearchView::askCommandInput(const OperationDef& operation, AnalysisArgs& args)
{
    switch (operation.input) {
    case OperationInput::None:
    case OperationInput::SearchTerm:
    case OperationInput::Target:
        return true;
    case OperationInput::OutputFile: {
        wxFileDialog dialog(GetFrame(), messages::fileDialogCaption(true), wxString(), wxString(),
                            wxFileSelectorDefaultWildcardStr, wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
        if (dialog.ShowModal() != wxID_OK || dialog.GetPath().empty())
            return false;
        args.path = withTextExtension(dialog.GetPath().utf8_string());
        return true;
    }
    case OperationInput::FolderAndRange: {
        SplitSettings split;
        split.read(Context().settings());
        if (!showSplitDialog(Context(), GetFrame(), split))
            return false;
        split.write(Context().settings());
        args.path = split.targetPath;
        args.from = split.from;
        args.to = split.to;
        if (operation.lastAction != nullptr)
            m_lastActionAfterJob = wxString::FromUTF8(operation.lastAction) + wxString::FromUTF8(split.targetPath);
        return true;
    }
    case OperationInput::NumberRange: {
        NumberRangeSettings range;
        if (!showNumberRangeDialog(Context(), GetFrame(), range))
            return false;
        args.from = static_cast<int>(range.from);
        args.to = static_cast<int>(range.to);
        args.objects = range.objects;
        args.tableFields = range.tableFields;
        return true;
    }
    }
    return false;
}

void CSearchView::onUpdateCommand(wxUpdateUIEvent& event)
{
    // Controls that share an ID with a command (the last-action edit and its label) keep their state.
    wxObject* source = event.GetEventObject();
    if (dynamic_cast<wxWindow*>(source) && !dynamic_cast<wxButton*>(source) && !dynamic_cast<wxToolBar*>(source))
        return;
    if (event.GetId() == IDC_SEARCH) {
        event.Enable(textSearchOperation().run != nullptr);
        return;
    }
    const OperationDef* operation = findOperationById(commandIdOf(event.GetId()));
    event.Enable(operation != nullptr && operation->run != nullptr);
}

void CSearchView::onBrowse(wxCommandEvent&)
{
    updateData();
    wxFileDialog dialog(GetFrame(), messages::fileDialogCaption(false), wxString(), m_sourceFile,
                        "Navision Text File (*.txt)|*.txt|All Files (*.*)|*.*", wxFD_OPEN | wxFD_CHANGE_DIR);
    if (dialog.ShowModal() == wxID_OK) {
        m_sourceFile = dialog.GetPath();
        updateControls();
        Doc()->followSourceFile(m_sourceFile);
    }
}

void CSearchView::onSearchInList(wxCommandEvent&)
{
    SearchInList();
}

void CSearchView::SearchInList()
{
    updateData();
    const std::string term = toAnsi(m_searchTerm);
    const int start = m_results.GetFirstSelectedRow() + 1;
    const bool found = m_list->FindInList(term);
    const int hit = m_results.GetFirstSelectedRow();
    wxString text;
    if (!found)
        text = start > 0 && m_results.FindRowContaining(term, 0) >= 0 ? messages::noFurtherRowInList(m_searchTerm)
                                                                       : messages::notFoundInList(m_searchTerm);
    else if (start == 0 && m_listSearchEnded)
        text = messages::startedOverInList(m_searchTerm, hit);
    else
        text = messages::foundInList(m_searchTerm, hit);
    m_listSearchEnded = !found;
    Context().setStatusText(text);
}

void CSearchView::CopyToClipboard()
{
    if (m_results.GetRowCount() == 0)
        return;
    wxClipboardLocker locker;
    if (!locker)
        return;
    wxTheClipboard->SetData(new wxTextDataObject(fromAnsi(ExportText())));
    wxTheClipboard->Flush();
}

void CSearchView::onCopyToClipboard(wxCommandEvent&)
{
    CopyToClipboard();
}

void CSearchView::ExportToFile(const wxString& path)
{
    if (!appendToFile(path.utf8_string(), ExportText())) {
        Context().showMessage(GetFrame(), messages::kCommandFailed);
        return;
    }
    Context().setStatusText(messages::appendedTo(path));
}

void CSearchView::onExportToFile(wxCommandEvent&)
{
    if (m_results.GetRowCount() == 0)
        return;
    updateData();
    // The list is appended to the file, so there is nothing to ask about replacing it.
    wxFileDialog dialog(GetFrame(), messages::fileDialogCaption(true), wxString(), wxString(),
                        wxFileSelectorDefaultWildcardStr, wxFD_SAVE);
    if (dialog.ShowModal() != wxID_OK)
        return;
    ExportToFile(wxString::FromUTF8(withTextExtension(dialog.GetPath().utf8_string())));
}

void CSearchView::onUpdateNeedsRows(wxUpdateUIEvent& event)
{
    event.Enable(m_results.GetRowCount() > 0);
}

void CSearchView::OpenRow(int row)
{
    if (row < 0 || Doc() == nullptr)
        return;
    // The catalogue and its locations belong to a running job until it ends.
    if (m_job.running()) {
        Context().statusRelay().setStatusText(messages::kNoOpeningDuringJob);
        Context().flushStatusText();
        return;
    }
    int index = m_results.GetItemData(row);
    CObjektManager& manager = Doc()->manager();
    if (index < 0 || index >= manager.results.count())
        return;
    CResultLocation location = manager.results.get(index);
    std::string referencesTarget;
    CObjectViewer::show(Context().settings(), GetFrame(), location, &referencesTarget);
    if (!referencesTarget.empty())
        FindReferences(referencesTarget);
}

void CSearchView::FindReferences(const std::string& target)
{
    AnalysisArgs args;
    args.term = target;
    const OperationDef& operation = referencesOperation();
    m_lastAction = wxString::FromUTF8(operation.lastAction);
    startWorker(&operation, args);
}

void CSearchView::onShowObject(wxCommandEvent&)
{
    OpenRow(m_list->GetFirstSelectedRow());
}

void CSearchView::onUpdateShowObject(wxUpdateUIEvent& event)
{
    event.Enable(m_list->GetFirstSelectedRow() >= 0);
}

void CSearchView::onContextMenu(wxContextMenuEvent&)
{
    wxPoint where(0, 0);
    wxRect rect;
    int row = m_list->GetFirstSelectedRow();
    if (row >= 0 && m_list->GetItemRect(row, rect))
        where = rect.GetPosition();
    std::unique_ptr<wxMenu> menu(createContextMenu());
    m_list->PopupMenu(menu.get(), where);
}
