#pragma once

#include "merge/ExportComparison.h"
#include "merge/SideBySide.h"
#include "results/ResultList.h"
#include "views/BLView.h"
#include "views/JobFollower.h"

#include <memory>

class CResultListCtrl;
class IFileChooser;
class wxCheckBox;
class wxGauge;
class wxListBox;
class wxStyledTextCtrl;
class wxTextCtrl;

// The "Changes" view: two exports (A, B) compared on the view's worker; the changed objects in the
// result list, and the selected object side by side with its changes coloured, its changed
// elements on the left, stepping from change to change.
class CChangesView : public IBLView {
public:
    CChangesView();
    ~CChangesView() override;

    bool OnClose(bool deleteWindow) override;

    // The commands, as the buttons call them.
    void Compare();
    void SetPaths(const wxString& exportA, const wxString& exportB);
    void SetNoise(bool noise);
    void ShowObject(int row);     // a row of the list
    void StepChange(bool forward); // the next (previous) changed element, wrapping around
    void StopWorker();

    bool IsBusy() const { return m_job.busy(); }
    int CurrentJobId() const { return m_job.currentJob(); }
    CResultListCtrl* ResultListCtrl() const { return m_list; }
    CResultList& Results() { return m_results; }
    const ExportComparison& Comparison() const { return m_comparison; }
    wxListBox* ElementList() const { return m_elements; }
    wxStyledTextCtrl* OldText() const { return m_oldText; }
    wxStyledTextCtrl* NewText() const { return m_newText; }
    wxString StatusText() const;
    const std::vector<SideBySideRow>& ShownRows() const { return m_rows; }
    void SetFileChooser(std::unique_ptr<IFileChooser> chooser);

protected:
    void CreateControls(wxWindow* form) override;
    void OnInitialUpdate() override;
    CResultListCtrl* PrintedList() override { return m_list; }
    wxString PrintTitle() override;
    wxString PrintFooter() override { return wxString(); }

private:
    struct Loaded; // both exports, loaded
    void fillList();
    void showElement(int index);
    // Forgets the object shown side by side with its list of elements: they point into the
    // comparison, which a new comparison replaces.
    void forgetShownObject();
    void onJobFailed(const wxString& text);
    void onJobFinished();
    void onBrowse(wxCommandEvent& event);

    CResultList m_results;
    std::unique_ptr<Loaded> m_loaded;
    ExportComparison m_comparison;
    std::vector<const ObjectChange*> m_rowObjects; // per list row, by item data
    const ObjectChange* m_shown = nullptr;
    std::vector<const ElementChange*> m_shownChanges;
    std::vector<SideBySideRow> m_rows;
    std::string m_failure;  // the export the last comparison could not read
    bool m_jobFailed = false; // the last comparison ended by an exception (its text in the status)

    CJobFollower m_job;
    std::unique_ptr<IFileChooser> m_chooser;

    wxTextCtrl* m_pathA = nullptr;
    wxTextCtrl* m_pathB = nullptr;
    wxCheckBox* m_noise = nullptr;
    CResultListCtrl* m_list = nullptr;
    wxTextCtrl* m_searchEdit = nullptr;
    wxListBox* m_elements = nullptr;
    wxStyledTextCtrl* m_oldText = nullptr;
    wxStyledTextCtrl* m_newText = nullptr;
    wxGauge* m_progressBar = nullptr;
    wxTextCtrl* m_status = nullptr;

    wxDECLARE_DYNAMIC_CLASS(CChangesView);
};
