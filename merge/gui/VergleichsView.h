#pragma once

#include "jobs/WorkerJob.h"
#include "merge/Intersection.h"
#include "views/BLView.h"
#include "views/JobFollower.h"

#include <memory>

class wxCheckBox;
class wxGauge;
class wxTextCtrl;
class wxUpdateUIEvent;

// Asks the user for a file path. The merge view's browse buttons go through it, so a test can
// answer in place of the toolkit's native dialog.
class IFileChooser {
public:
    virtual ~IFileChooser() = default;
    // Shows a file dialog starting at initial; true with the chosen path, false when cancelled.
    // forWriting allows a name that does not exist yet (and asks before overwriting one that does).
    virtual bool choose(wxWindow* parent, const wxString& initial, const wxString& defaultExtension,
                        bool forWriting, wxString& path) = 0;
};

// The toolkit's file dialog as a chooser (the merge and "Changes" views' browse buttons).
std::unique_ptr<IFileChooser> dialogFileChooser();

// The merge view (template 101): two exports, the two intersection files built from them on the
// view's worker, and an external diff program started with the two files.
class CVergleichsView : public IBLView {
public:
    CVergleichsView();
    ~CVergleichsView() override;

    bool OnClose(bool deleteWindow) override;

    // The commands, as the buttons call them.
    void BuildIntersectionFiles();
    void StartProgram();
    void Browse(int browseButtonId);
    void StopWorker();

    void SetFileChooser(std::unique_ptr<IFileChooser> chooser) { m_chooser = std::move(chooser); }
    bool IsBusy() const { return m_job.busy(); }
    int CurrentJobId() const { return m_job.currentJob(); }
    // The outcome of the last build that ended.
    const IntersectionResult& LastResult() const { return m_result; }

protected:
    void ReadSettings() override;
    void CreateControls(wxWindow* form) override;
    void OnInitialUpdate() override;

private:
    struct Field {
        int editId;
        int browseId;
        wxString* value;
        const char* extension;
        bool forWriting;
    };
    const Field* fieldOfBrowse(int browseId) const;
    void updateControls();
    void updateData();
    void onBuild(wxCommandEvent& event);
    void onStart(wxCommandEvent& event);
    void onBrowse(wxCommandEvent& event);
    void onJobFailed(const wxString& text);
    void onJobFinished();
    bool chooseProgram(std::string& program);

    // The five settings of section "Merge".
    wxString m_source1;
    wxString m_source2;
    wxString m_target1;
    wxString m_target2;
    wxString m_programPath;
    Field m_fields[5];

    CSourceText m_loadedText; // the text of the document's catalogue, Quelldatei2
    IntersectionResult m_result;
    bool m_jobFailed = false; // the last build ended by an exception, shown in a message box
    CJobFollower m_job;
    std::unique_ptr<IFileChooser> m_chooser;

    wxCheckBox* m_ignoreNoise = nullptr;
    wxGauge* m_progressBar = nullptr;
    wxTextCtrl* m_resultEdit = nullptr;

    wxDECLARE_DYNAMIC_CLASS(CVergleichsView);
};
