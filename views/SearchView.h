#pragma once

#include "jobs/JobRunner.h"
#include "jobs/SearchOption.h"
#include "jobs/WorkerJob.h"
#include "results/ResultList.h"
#include "settings/LayoutSettings.h"
#include "views/BLView.h"
#include "views/JobFollower.h"

#include <string>
#include <vector>

class CMenuButton;
class CObjektManager;
class CResultListCtrl;
class wxCheckBox;
class wxChoice;
class wxComboBox;
class wxGauge;
class wxTextCtrl;
class wxUpdateUIEvent;

// The working window for object text exports (template 103): it holds an export file name and a
// search term, loads the export on demand, runs the text search and the analyses on a worker
// thread, and shows the results with copy, export, search in the list and printing.
class CSearchView : public IBLView {
public:
    CSearchView();
    ~CSearchView() override;

    bool OnClose(bool deleteWindow) override;
    void OnUpdate(wxView* sender, wxObject* hint) override;

    // The commands, as the buttons and menus call them.
    void RunSearch();
    void RunCommand(int commandId);
    // FindInList with the search term; the status bar says when nothing was found or the search
    // started over from the top.
    void SearchInList();
    void CopyToClipboard();
    void ExportToFile(const wxString& path);
    void OpenRow(int row);
    // Lists the references of target ("Table 18.\"No.\"") in the list: the references operation.
    void FindReferences(const std::string& target);
    // Starts operation with args on the worker, as the commands do after asking for their input.
    bool StartJob(const OperationDef& operation, const AnalysisArgs& args);
    // Sets the cancellation flag of a running job and waits for its thread to end.
    void StopWorker();
    // The user's Stop (View › "Stop", Esc): stops the running job as StopWorker does and says so
    // in the status bar; the rows found so far stay.
    void StopJob();
    // The search terms the drop-down offers, most recent first.
    const std::vector<std::string>& RecentTerms() const { return m_recentTerms.terms; }

    CResultListCtrl* ResultListCtrl() const { return m_list; }
    CResultList& Results() { return m_results; }
    CProgressRelay& ProgressRelay() { return m_job.progress(); }
    bool IsBusy() const { return m_job.busy(); }
    bool IsWorkerRunning() const { return m_job.running(); }
    bool IsJobTimerRunning() const { return m_job.timerRunning(); }
    // Grows with every job started.
    int CurrentJobId() const { return m_job.currentJob(); }
    wxString LastAction() const { return m_lastAction; }
    const CLoadedExport& Loaded() const { return m_loaded; }
    // The text that copy and export write (dated header and list text, ANSI bytes).
    std::string ExportText() const;

protected:
    void ReadSettings() override;
    void CreateControls(wxWindow* form) override;
    void OnInitialUpdate() override;
    CResultListCtrl* PrintedList() override { return m_list; }
    wxString PrintTitle() override;
    wxString PrintFooter() override;

private:
    void createAnchors();
    void bindCommands();
    void updateControls();
    void updateData();
    void writeSearchSettings();
    bool startWorker(const OperationDef* operation, const AnalysisArgs& args);
    void onJobFailed(const wxString& text);
    void onJobFinished();
    void setWaitCursor(bool busy);
    void showWrittenFiles();
    void dropLoadedExport(CObjektManager& manager);
    bool askCommandInput(const OperationDef& operation, AnalysisArgs& args);

    void onSearchButton(wxCommandEvent& event);
    void onCommand(wxCommandEvent& event);
    void onUpdateCommand(wxUpdateUIEvent& event);
    void onBrowse(wxCommandEvent& event);
    void onSearchInList(wxCommandEvent& event);
    void onCopyToClipboard(wxCommandEvent& event);
    void onExportToFile(wxCommandEvent& event);
    void onUpdateNeedsRows(wxUpdateUIEvent& event);
    void onShowObject(wxCommandEvent& event);
    void onUpdateShowObject(wxUpdateUIEvent& event);
    void onContextMenu(wxContextMenuEvent& event);
    void onStop(wxCommandEvent& event);
    void onUpdateStop(wxUpdateUIEvent& event);
    void onSourceText(wxCommandEvent& event);
    void rememberSearchTerm();

    wxString m_sourceFile;
    wxString m_searchTerm;
    wxString m_searchOption;
    wxString m_lastAction;
    wxString m_lastActionAfterJob; // set when the job ends (the split)
    const OperationDef* m_jobOperation = nullptr; // of the job started last
    std::string m_jobPath;                         // its output file or folder
    std::vector<std::string> m_written;            // the split's files, filled by its job
    std::vector<std::string> m_renamed;            // those of them with a numbered name
    bool m_stopRequested = false; // the user stopped the job started last
    bool m_jobFailed = false;     // the job started last showed a failure
    bool m_listSearchEnded = false; // the last search in the list found nothing below the selection
    RecentSearchTerms m_recentTerms;
    bool m_caseSensitive = false;
    bool m_useRegex = false;
    std::string m_jobPattern;

    CLoadedExport m_loaded;
    CResultList m_results;
    CJobFollower m_job;

    wxTextCtrl* m_sourceEdit = nullptr;
    wxComboBox* m_termEdit = nullptr; // remembers the last terms in its drop-down
    wxChoice* m_optionCombo = nullptr;
    wxCheckBox* m_awareCheck = nullptr; // "C/AL-aware": the unused analyses' option, kept in section "Analysis"
    wxTextCtrl* m_lastActionEdit = nullptr;
    wxTextCtrl* m_countEdit = nullptr;
    wxTextCtrl* m_objectCountEdit = nullptr;
    wxGauge* m_progressBar = nullptr;
    CResultListCtrl* m_list = nullptr;
    CMenuButton* m_analysesButton = nullptr;

    wxDECLARE_DYNAMIC_CLASS(CSearchView);
};
