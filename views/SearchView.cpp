#include "views/SearchView.h"

#include "layout/PageGeometry.h"
#include "model/ExportObjects.h"
#include "resources/ResourceIds.h"
#include "results/ListExportText.h"
#include "settings/SettingsKeys.h"
#include "views/AnsiText.h"
#include "views/Messages.h"
#include "views/ResultListCtrl.h"
#include "views/ViewContext.h"
#include "views/ViewDocument.h"

#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/gauge.h>
#include <wx/msgdlg.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

#include <filesystem>

wxIMPLEMENT_DYNAMIC_CLASS(CSearchView, IBLView);

namespace {
const wxSize kTemplateSize(486, 284);
} // namespace

CSearchView::CSearchView() : IBLView(rid::IDD_SEARCHVIEW, rid::IDR_SEARCHVIEW, kTemplateSize)
{
    bindCommands();
}

void CSearchView::ReadSettings()
{
    SearchSettings settings;
    settings.read(Context().settings());
    m_sourceFile = wxString::FromUTF8(settings.sourceFile);
    m_searchTerm = wxString::FromUTF8(settings.searchTerm);
    m_searchOption = wxString::FromUTF8(settings.searchOption);
    m_recentTerms.read(Context().settings());
}

CSearchView::~CSearchView() = default; // the job follower stops a running job

void CSearchView::OnInitialUpdate()
{
    m_job.attach(Context(), m_progressBar,
                 {[this](bool busy) { setWaitCursor(busy); }, [this] { m_list->SyncFromList(); },
                  [this](const wxString& text) { onJobFailed(text); }, [this] { onJobFinished(); }});
    m_list->SetRowClickHandler([this](int) { OpenRow(m_list->GetFirstSelectedRow()); });
    m_list->Bind(wxEVT_CONTEXT_MENU, &CSearchView::onContextMenu, this);
    m_sourceEdit->Bind(wxEVT_TEXT, &CSearchView::onSourceText, this);
    for (const char* heading : {"Objects", "FindPos", "StartPos", "EndPos"})
        m_results.AddColumn(heading, LIST_ALIGN_LEFT, std::string(heading) == "Objects" ? 380 : 100);
    m_list->SyncFromList();
    OnUpdate(nullptr, nullptr);
    m_termEdit->SetFocus(); // what is typed first is the term to search
}

void CSearchView::OnUpdate(wxView*, wxObject*)
{
    if (m_sourceEdit == nullptr)
        return;
    if (Doc() != nullptr && Doc()->openedOnFile())
        m_sourceFile = Doc()->GetFilename();
    updateControls();
}

bool CSearchView::OnClose(bool deleteWindow)
{
    StopWorker();
    return IBLView::OnClose(deleteWindow);
}

void CSearchView::StopWorker()
{
    m_job.stop();
}

void CSearchView::StopJob()
{
    if (!m_job.running())
        return;
    m_stopRequested = true;
    m_job.stop();
    Context().flushStatusText();
    Context().setStatusText(messages::stopped(m_lastAction));
}

void CSearchView::updateControls()
{
    m_sourceEdit->ChangeValue(m_sourceFile);
    m_termEdit->ChangeValue(m_searchTerm);
    m_countEdit->ChangeValue(wxString::Format("%d", m_results.GetRowCount()));
    if (!m_job.running() && Doc() != nullptr)
        m_objectCountEdit->ChangeValue(wxString::Format("%d", Doc()->manager().count()));
    m_lastActionEdit->ChangeValue(m_lastAction);
    m_optionCombo->SetStringSelection(m_searchOption);
}

void CSearchView::updateData()
{
    m_sourceFile = m_sourceEdit->GetValue();
    m_searchTerm = m_termEdit->GetValue();
    m_searchOption = m_optionCombo->GetStringSelection();
}

void CSearchView::writeSearchSettings()
{
    SearchSettings settings{m_sourceFile.utf8_string(), m_searchTerm.utf8_string(), m_searchOption.utf8_string()};
    settings.write(Context().settings());
}

bool CSearchView::StartJob(const OperationDef& operation, const AnalysisArgs& args)
{
    return startWorker(&operation, args);
}

bool CSearchView::startWorker(const OperationDef* operation, const AnalysisArgs& args)
{
    wxBusyCursor wait;
    updateControls();
    Doc()->followSourceFile(m_sourceFile); // the file the job reads names the window
    Outcome readable = checkSourceReadable(m_sourceFile.utf8_string());
    if (!readable.ok()) {
        Context().showMessage(GetFrame(), messages::jobFailure(readable));
        return false;
    }
    // The split's lists belong to its job: the running job ends before they are emptied.
    m_job.stop();
    m_written.clear();
    m_renamed.clear();
    m_stopRequested = false;
    m_jobFailed = false;
    m_jobOperation = operation;
    m_jobPath = args.path;
    JobRequest request{operation, args, m_sourceFile.utf8_string()};
    if (operation->input == OperationInput::FolderAndRange) {
        request.args.written = &m_written;
        request.args.renamed = &m_renamed;
    }
    CObjektManager& manager = Doc()->manager();
    IStatusText* status = &Context().statusRelay();
    m_job.start([this, request, &manager, status](const std::atomic<bool>& cancel) {
        wxString failure;
        try {
            failure = messages::jobFailure(
                runJob(request, m_loaded, manager, m_results, &m_job.progress(), status, &cancel));
        } catch (...) {
            failure = messages::exceptionMessage(std::current_exception());
            dropLoadedExport(manager);
            m_results.DeleteAllRows(); // their locations went with the catalogue
        }
        if (!failure.empty())
            m_job.reportFailure(failure); // reaches the view before the job's end
    });
    // The new job's rows start at the top: a list left scrolled below the new job's row count
    // showed none of them.
    m_list->ScrollToTop();
    return true;
}

void CSearchView::dropLoadedExport(CObjektManager& manager)
{
    // A job that ended by an exception may have left its records half parsed: the next job reads
    // the export anew.
    try {
        manager.setCancelFlag(nullptr);
        manager.setStatusSink(nullptr);
        manager.load(nullptr, std::string());
        m_loaded = CLoadedExport();
    } catch (...) {
    }
}

void CSearchView::onJobFailed(const wxString& text)
{
    m_jobFailed = true;
    // The job's last status line ("Reading ...") is taken first, so the end of the job, which shows
    // the newest line, leaves the failure in the status bar.
    Context().flushStatusText();
    Context().setStatusText(text);
    Context().showMessage(GetFrame(), text);
}

void CSearchView::onJobFinished()
{
    if (!m_lastActionAfterJob.empty()) {
        m_lastAction = m_lastActionAfterJob;
        m_lastActionAfterJob.clear();
    }
    m_list->SyncFromList();
    Context().flushStatusText();
    if (Context().statusText() == messages::kNoOpeningDuringJob)
        Context().setStatusText(wxString()); // true no longer
    showWrittenFiles();
    // A file without any OBJECT line loads no object: the status bar says so, as the command line does.
    if (!m_stopRequested && !m_jobFailed && !holdsObjects(Doc()->manager()))
        Context().setStatusText(wxString("no objects in ") + m_sourceFile);
    updateControls();
}

void CSearchView::showWrittenFiles()
{
    if (m_stopRequested) {
        // Stopped before the export was read to its end: the list was emptied, say why.
        const bool read = m_loaded.fileName() == m_sourceFile.utf8_string();
        Context().setStatusText(read ? messages::stopped(m_lastAction)
                                                   : messages::stoppedReading(m_sourceFile));
        return;
    }
    if (m_jobOperation == nullptr)
        return;
    if (m_jobOperation->input == OperationInput::OutputFile) {
        if (!m_jobFailed)
            Context().setStatusText(messages::splitWritten(1, wxString::FromUTF8(m_jobPath)));
        return;
    }
    if (m_jobOperation->input != OperationInput::FolderAndRange)
        return;
    wxString text = messages::splitWritten(m_written.size(), wxString::FromUTF8(m_jobPath));
    if (!m_renamed.empty())
        text += messages::splitRenamed(m_renamed.size(),
                                       wxString::FromUTF8(std::filesystem::path(m_renamed[0]).filename().string()));
    Context().setStatusText(text);
}

void CSearchView::setWaitCursor(bool busy)
{
    const wxCursor& cursor = busy ? wxCursor(wxCURSOR_ARROWWAIT) : wxNullCursor;
    Form()->SetCursor(cursor);
    m_list->SetCursor(cursor);
}

std::string CSearchView::ExportText() const
{
    return buildExportText(m_results, std::time(nullptr));
}

wxString CSearchView::PrintTitle()
{
    std::string title = GetDocument() ? GetDocument()->GetUserReadableName().utf8_string() : std::string();
    return wxString::FromUTF8(searchPrintTitle(m_lastAction.utf8_string(), title));
}

wxString CSearchView::PrintFooter()
{
    return m_lastAction;
}
