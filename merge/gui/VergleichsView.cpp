#include "merge/gui/VergleichsView.h"

#include "merge/ProgramStart.h"
#include "resources/ResourceIds.h"
#include "settings/SettingsKeys.h"
#include "views/Messages.h"
#include "views/TextEditCommands.h"
#include "views/ViewContext.h"
#include "views/ViewDocument.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/gauge.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

#include <algorithm>
#include <cstdlib>

wxIMPLEMENT_DYNAMIC_CLASS(CVergleichsView, IBLView);

using namespace rid;

namespace {
const wxSize kTemplateSize(518, 132);

// The toolkit's file dialog: no filter list, the field's value as the initial file.
class CDialogFileChooser : public IFileChooser {
public:
    bool choose(wxWindow* parent, const wxString& initial, const wxString& defaultExtension, bool forWriting,
                wxString& path) override
    {
        wxFileName name(initial);
        long style = forWriting ? wxFD_SAVE | wxFD_OVERWRITE_PROMPT : wxFD_OPEN;
        wxFileDialog dialog(parent, wxString(), name.GetPath(), name.GetFullName(), wxString(), style);
        if (dialog.ShowModal() != wxID_OK || dialog.GetPath().empty())
            return false;
        path = dialog.GetPath();
        // The default extension completes a new name typed without one, never an existing file.
        if (!wxFileName::Exists(path) && wxFileName(path).GetExt().empty())
            path += "." + defaultExtension;
        return true;
    }
};

} // namespace

std::unique_ptr<IFileChooser> dialogFileChooser()
{
    return std::make_unique<CDialogFileChooser>();
}

namespace {

wxString fileName(const std::string& path)
{
    return wxFileName(wxString::FromUTF8(path)).GetFullName();
}
} // namespace

CVergleichsView::CVergleichsView()
    : IBLView(IDD_MERGEVIEW, IDR_MERGEVIEW, kTemplateSize),
      m_fields{{IDC_MERGE_SOURCE2, IDC_MERGE_BROWSE_SOURCE2, &m_source2, "txt", false},
               {IDC_MERGE_SOURCE1, IDC_MERGE_BROWSE_SOURCE1, &m_source1, "txt", false},
               {IDC_MERGE_TARGET1, IDC_MERGE_BROWSE_TARGET1, &m_target1, "txt", true},
               {IDC_MERGE_TARGET2, IDC_MERGE_BROWSE_TARGET2, &m_target2, "txt", true},
               {IDC_MERGE_PROGRAM_PATH, IDC_MERGE_BROWSE_PROGRAM, &m_programPath, "exe", false}},
      m_chooser(dialogFileChooser())
{
    Bind(wxEVT_BUTTON, &CVergleichsView::onBuild, this, IDC_MERGE_BUILD);
    Bind(wxEVT_BUTTON, &CVergleichsView::onStart, this, IDC_MERGE_START);
    for (const Field& field : m_fields)
        Bind(wxEVT_BUTTON, &CVergleichsView::onBrowse, this, field.browseId);
    // The Edit menu and its accelerators act on the path field that has the focus.
    bindTextEditCommands(*this);
}

CVergleichsView::~CVergleichsView()
{
    if (!HasContext())
        return; // never created: nothing read, nothing to keep
    MergeSettings settings{m_source1.utf8_string(), m_source2.utf8_string(), m_target1.utf8_string(),
                           m_target2.utf8_string(), m_programPath.utf8_string()};
    settings.write(Context().settings());
}

void CVergleichsView::ReadSettings()
{
    MergeSettings settings;
    settings.read(Context().settings());
    m_source1 = wxString::FromUTF8(settings.source1);
    m_source2 = wxString::FromUTF8(settings.source2);
    m_target1 = wxString::FromUTF8(settings.target1);
    m_target2 = wxString::FromUTF8(settings.target2);
    m_programPath = wxString::FromUTF8(settings.programPath);
}

void CVergleichsView::CreateControls(wxWindow* form)
{
    auto label = [&](const wxString& text, const wxRect& r) {
        new wxStaticText(form, wxID_STATIC, text, r.GetPosition(), r.GetSize());
    };
    auto edit = [&](int id, const wxRect& r, long style = 0) {
        return new wxTextCtrl(form, id, wxString(), r.GetPosition(), r.GetSize(), style);
    };
    auto button = [&](int id, const wxString& text, const wxRect& r) {
        return new wxButton(form, id, text, r.GetPosition(), r.GetSize());
    };

    wxRect group = DialogRect(304, 2, 207, 72);
    new wxStaticBox(form, IDC_MERGE_GROUP, "Intersection", group.GetPosition(), group.GetSize());
    label("Source Objects &1", DialogRect(7, 12, 170, 8));
    edit(IDC_MERGE_SOURCE2, DialogRect(7, 22, 170, 12));
    button(IDC_MERGE_BROWSE_SOURCE2, "...", DialogRect(180, 21, 18, 14));
    label("Source Objects &2", DialogRect(7, 42, 170, 8));
    edit(IDC_MERGE_SOURCE1, DialogRect(7, 52, 170, 12));
    button(IDC_MERGE_BROWSE_SOURCE1, "...", DialogRect(180, 51, 18, 14));
    button(IDC_MERGE_BUILD, "&build Intersection Files ->", DialogRect(204, 36, 96, 14));

    label("&Intersection Objects of Source 1", DialogRect(311, 12, 170, 8));
    edit(IDC_MERGE_TARGET1, DialogRect(311, 22, 170, 12));
    button(IDC_MERGE_BROWSE_TARGET1, "...", DialogRect(486, 21, 18, 14));
    label("I&ntersection Objects of Source 2", DialogRect(311, 42, 170, 8));
    edit(IDC_MERGE_TARGET2, DialogRect(311, 52, 170, 12));
    button(IDC_MERGE_BROWSE_TARGET2, "...", DialogRect(486, 51, 18, 14));

    wxRect check = DialogRect(7, 70, 200, 10);
    m_ignoreNoise = new wxCheckBox(form, IDC_MERGE_IGNORE_NOISE, "ignore &Date, Time and Version List",
                                   check.GetPosition(), check.GetSize());

    label("start &program with this two files as parameters", DialogRect(7, 86, 300, 8));
    edit(IDC_MERGE_PROGRAM_PATH, DialogRect(7, 96, 411, 12));
    button(IDC_MERGE_BROWSE_PROGRAM, "...", DialogRect(422, 95, 18, 14));
    button(IDC_MERGE_START, "&start program", DialogRect(446, 95, 65, 14));

    wxRect gauge = DialogRect(7, 116, 170, 10);
    m_progressBar = new wxGauge(form, IDC_MERGE_PROGRESS, 100, gauge.GetPosition(), gauge.GetSize());
    m_resultEdit = edit(IDC_MERGE_RESULT, DialogRect(184, 115, 327, 12), wxTE_READONLY);

    AddAnchor(Anchor::GrowWidth, IDC_MERGE_PROGRAM_PATH);
    AddAnchor(Anchor::GrowWidth, IDC_MERGE_RESULT);
    for (int id : {IDC_MERGE_BROWSE_PROGRAM, IDC_MERGE_START})
        AddAnchor(Anchor::MoveRight, id);
}

void CVergleichsView::OnInitialUpdate()
{
    m_job.attach(Context(), m_progressBar,
                 {[this](bool busy) { Form()->SetCursor(busy ? wxCursor(wxCURSOR_ARROWWAIT) : wxNullCursor); },
                  nullptr, [this](const wxString& text) { onJobFailed(text); }, [this] { onJobFinished(); }});
    updateControls();
}

bool CVergleichsView::OnClose(bool deleteWindow)
{
    StopWorker();
    return IBLView::OnClose(deleteWindow);
}

void CVergleichsView::StopWorker()
{
    m_job.stop();
}

void CVergleichsView::updateControls()
{
    for (const Field& field : m_fields)
        if (auto* edit = dynamic_cast<wxTextCtrl*>(Control(field.editId)))
            edit->ChangeValue(*field.value);
}

void CVergleichsView::updateData()
{
    for (const Field& field : m_fields)
        if (auto* edit = dynamic_cast<wxTextCtrl*>(Control(field.editId)))
            *field.value = edit->GetValue();
}

const CVergleichsView::Field* CVergleichsView::fieldOfBrowse(int browseId) const
{
    for (const Field& field : m_fields)
        if (field.browseId == browseId)
            return &field;
    return nullptr;
}

void CVergleichsView::onBrowse(wxCommandEvent& event)
{
    Browse(event.GetId());
}

void CVergleichsView::Browse(int browseButtonId)
{
    const Field* field = fieldOfBrowse(browseButtonId);
    if (field == nullptr)
        return;
    updateData();
    wxString chosen;
    if (m_chooser->choose(GetFrame(), *field->value, field->extension, field->forWriting, chosen))
        *field->value = chosen;
    updateControls();
    Form()->Refresh();
}

void CVergleichsView::onBuild(wxCommandEvent&)
{
    BuildIntersectionFiles();
}

void CVergleichsView::BuildIntersectionFiles()
{
    updateData();
    IntersectionRequest request{m_source1.utf8_string(), m_source2.utf8_string(), m_target1.utf8_string(),
                                m_target2.utf8_string(), m_ignoreNoise->GetValue()};
    CObjektManager& catalogue = Doc()->manager();
    IStatusText* status = &Context().statusRelay();
    m_resultEdit->ChangeValue(wxString());
    m_jobFailed = false;
    m_job.start([this, request, &catalogue, status](const std::atomic<bool>& cancel) {
        buildIntersectionFiles(request, m_loadedText, catalogue, status, &m_job.progress(), &cancel, m_result);
    });
}

void CVergleichsView::onJobFailed(const wxString& text)
{
    m_jobFailed = true;
    Context().showMessage(GetFrame(), text);
}

void CVergleichsView::onJobFinished()
{
    Context().flushStatusText();
    if (m_result.cancelled || m_jobFailed)
        return; // a failed build's counts are no result
    if (!m_result.status.ok()) {
        Context().showMessage(GetFrame(), messages::jobFailure(m_result.status));
        return;
    }
    m_resultEdit->ChangeValue(wxString::Format(messages::kIntersectionWritten, fileName(m_target1.utf8_string()),
                                               m_result.target1Objects, fileName(m_target2.utf8_string()),
                                               m_result.target2Objects));
}

void CVergleichsView::onStart(wxCommandEvent&)
{
    StartProgram();
}

bool CVergleichsView::chooseProgram(std::string& program)
{
    program = m_programPath.utf8_string();
    if (isExecutableFile(program))
        return true;
    const char* path = std::getenv("PATH");
    std::string fallback = findDiffProgram(path ? path : "");
    if (fallback.empty()) {
        Context().showMessage(GetFrame(), wxString::Format(messages::kProgramNotFound, m_programPath));
        return false;
    }
    wxString question = wxString::Format(messages::kOfferDiffProgram, m_programPath, wxString::FromUTF8(fallback));
    if (Context().showMessage(GetFrame(), question, wxYES_NO | wxICON_QUESTION) != wxYES)
        return false;
    program = fallback;
    return true;
}

void CVergleichsView::StartProgram()
{
    updateData();
    std::string program;
    if (!chooseProgram(program))
        return;
    std::string error;
    if (!startProgram({program, m_target1.utf8_string(), m_target2.utf8_string()}, error))
        Context().showMessage(GetFrame(), wxString::Format(messages::kProgramNotStarted, wxString::FromUTF8(program),
                                                            wxString::FromUTF8(error)));
}

