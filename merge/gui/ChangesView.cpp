#include "merge/gui/ChangesView.h"

#include "merge/ObjectElements.h"
#include "merge/gui/VergleichsView.h"
#include "model/ReadExport.h"
#include "resources/ResourceIds.h"
#include "views/AnsiText.h"
#include "views/ResultListCtrl.h"
#include "views/TextEditCommands.h"
#include "views/ViewContext.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/gauge.h>
#include <wx/listbox.h>
#include <wx/stc/stc.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <algorithm>

wxIMPLEMENT_DYNAMIC_CLASS(CChangesView, IBLView);

using namespace rid;

namespace {
const wxSize kTemplateSize(520, 300);
// Markers of the side-by-side texts: a changed, a removed, an added line, a gap.
enum { kChanged = 1, kRemoved, kAdded, kGap };

void defineMarkers(wxStyledTextCtrl* text)
{
    text->StyleSetFont(wxSTC_STYLE_DEFAULT, wxFont(wxFontInfo(10).Family(wxFONTFAMILY_TELETYPE)));
    text->StyleClearAll();
    text->MarkerDefine(kChanged, wxSTC_MARK_BACKGROUND, wxNullColour, wxColour(255, 236, 160));
    text->MarkerDefine(kRemoved, wxSTC_MARK_BACKGROUND, wxNullColour, wxColour(255, 200, 200));
    text->MarkerDefine(kAdded, wxSTC_MARK_BACKGROUND, wxNullColour, wxColour(200, 240, 200));
    text->MarkerDefine(kGap, wxSTC_MARK_BACKGROUND, wxNullColour, wxColour(225, 225, 225));
    text->SetMarginWidth(1, 0);
}

int markerOf(char kind, bool old, bool gap)
{
    if (gap)
        return kGap;
    if (kind == '~')
        return kChanged;
    if (kind == '-')
        return old ? kRemoved : kGap;
    if (kind == '+')
        return old ? kGap : kAdded;
    return -1;
}
} // namespace

// Both exports as the last comparison loaded them: the list's rows point into them.
struct CChangesView::Loaded {
    CSourceText textA, textB;
    CObjektManager a, b;
};

CChangesView::CChangesView()
    : IBLView(IDD_CHANGESVIEW, IDR_MERGEVIEW, kTemplateSize), m_chooser(dialogFileChooser())
{
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Compare(); }, IDC_CHANGES_COMPARE);
    Bind(wxEVT_BUTTON, &CChangesView::onBrowse, this, IDC_CHANGES_BROWSE_A);
    Bind(wxEVT_BUTTON, &CChangesView::onBrowse, this, IDC_CHANGES_BROWSE_B);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { StepChange(false); }, IDC_CHANGES_PREVIOUS);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { StepChange(true); }, IDC_CHANGES_NEXT);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { m_list->FindInList(toAnsi(m_searchEdit->GetValue())); },
         IDC_SEARCH_IN_LIST);
    Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { fillList(); }, IDC_CHANGES_NOISE);
    Bind(wxEVT_LISTBOX, [this](wxCommandEvent& e) { showElement(e.GetSelection()); }, IDC_CHANGES_ELEMENTS);
    bindTextEditCommands(*this);
}

CChangesView::~CChangesView() = default; // the job follower stops a running job

void CChangesView::SetFileChooser(std::unique_ptr<IFileChooser> chooser)
{
    m_chooser = std::move(chooser);
}

void CChangesView::CreateControls(wxWindow* form)
{
    auto label = [&](int id, const wxString& text, const wxRect& r) {
        new wxStaticText(form, id, text, r.GetPosition(), r.GetSize());
    };
    auto edit = [&](int id, const wxRect& r, long style = 0) {
        return new wxTextCtrl(form, id, wxString(), r.GetPosition(), r.GetSize(), style);
    };
    auto button = [&](int id, const wxString& text, const wxRect& r) {
        return new wxButton(form, id, text, r.GetPosition(), r.GetSize());
    };
    label(IDC_CHANGES_LABEL_A, "Export &A (before)", DialogRect(7, 4, 200, 8));
    m_pathA = edit(IDC_CHANGES_EXPORT_A, DialogRect(7, 14, 200, 12));
    button(IDC_CHANGES_BROWSE_A, "...", DialogRect(210, 13, 18, 14));
    label(IDC_CHANGES_LABEL_B, "Export &B (after)", DialogRect(236, 4, 200, 8));
    m_pathB = edit(IDC_CHANGES_EXPORT_B, DialogRect(236, 14, 200, 12));
    button(IDC_CHANGES_BROWSE_B, "...", DialogRect(439, 13, 18, 14));
    button(IDC_CHANGES_COMPARE, "&compare", DialogRect(463, 13, 50, 14))->SetDefault();
    wxRect check = DialogRect(7, 31, 220, 10);
    m_noise = new wxCheckBox(form, IDC_CHANGES_NOISE, "show &Date, Time and Version List changes",
                             check.GetPosition(), check.GetSize());
    wxRect gauge = DialogRect(236, 31, 100, 10);
    m_progressBar = new wxGauge(form, wxID_ANY, 100, gauge.GetPosition(), gauge.GetSize());

    m_list = new CResultListCtrl(form, IDC_RESULT_LIST, m_results, &Context().settings(), DialogRect(7, 44, 506, 84));
    m_list->SetRowClickHandler([this](int row) { ShowObject(row); });
    wxRect searchRect = DialogRect(7, 132, 150, 12);
    m_searchEdit = new wxTextCtrl(form, IDC_SEARCH_TERM, wxString(), searchRect.GetPosition(), searchRect.GetSize());
    button(IDC_SEARCH_IN_LIST, "Search in &list", DialogRect(161, 131, 56, 14));
    button(IDC_CHANGES_PREVIOUS, "< &previous change", DialogRect(363, 131, 73, 14));
    button(IDC_CHANGES_NEXT, "&next change >", DialogRect(440, 131, 73, 14));

    wxRect elements = DialogRect(7, 148, 110, 134);
    m_elements = new wxListBox(form, IDC_CHANGES_ELEMENTS, elements.GetPosition(), elements.GetSize());
    wxRect oldRect = DialogRect(120, 148, 195, 134);
    m_oldText = new wxStyledTextCtrl(form, IDC_CHANGES_OLD, oldRect.GetPosition(), oldRect.GetSize());
    wxRect newRect = DialogRect(318, 148, 195, 134);
    m_newText = new wxStyledTextCtrl(form, IDC_CHANGES_NEW, newRect.GetPosition(), newRect.GetSize());
    for (wxStyledTextCtrl* text : {m_oldText, m_newText}) {
        defineMarkers(text);
        text->SetReadOnly(true);
    }
    m_status = edit(IDC_CHANGES_STATUS, DialogRect(7, 285, 506, 12), wxTE_READONLY);

    // One anchor per control (the last list that names a control wins): the old side keeps its
    // width so that the new side beside it can grow without covering it.
    AddAnchor(Anchor::GrowWidth, IDC_RESULT_LIST);
    for (int id : {IDC_CHANGES_COMPARE, IDC_CHANGES_PREVIOUS, IDC_CHANGES_NEXT})
        AddAnchor(Anchor::MoveRight, id);
    AddAnchor(Anchor::GrowHeight, IDC_CHANGES_ELEMENTS);
    AddAnchor(Anchor::GrowHeight, IDC_CHANGES_OLD);
    AddAnchor(Anchor::GrowBoth, IDC_CHANGES_NEW);
    AddAnchor(Anchor::MoveDown, IDC_CHANGES_STATUS);
}

void CChangesView::OnInitialUpdate()
{
    m_job.attach(Context(), m_progressBar,
                 {[this](bool busy) { Form()->SetCursor(busy ? wxCursor(wxCURSOR_ARROWWAIT) : wxNullCursor); },
                  nullptr, [this](const wxString& text) { onJobFailed(text); }, [this] { onJobFinished(); }});
}

bool CChangesView::OnClose(bool deleteWindow)
{
    StopWorker();
    return IBLView::OnClose(deleteWindow);
}

void CChangesView::StopWorker()
{
    m_job.stop();
}

wxString CChangesView::PrintTitle()
{
    return "Changes " + m_pathA->GetValue() + " -> " + m_pathB->GetValue();
}

wxString CChangesView::StatusText() const
{
    return m_status->GetValue();
}

void CChangesView::SetPaths(const wxString& exportA, const wxString& exportB)
{
    m_pathA->ChangeValue(exportA);
    m_pathB->ChangeValue(exportB);
}

void CChangesView::SetNoise(bool noise)
{
    m_noise->SetValue(noise);
    fillList();
}

void CChangesView::onBrowse(wxCommandEvent& event)
{
    wxTextCtrl* field = event.GetId() == IDC_CHANGES_BROWSE_A ? m_pathA : m_pathB;
    wxString chosen;
    if (m_chooser->choose(GetFrame(), field->GetValue(), "txt", false, chosen))
        field->ChangeValue(chosen);
}

void CChangesView::Compare()
{
    const std::string pathA = m_pathA->GetValue().utf8_string();
    const std::string pathB = m_pathB->GetValue().utf8_string();
    StopWorker();
    forgetShownObject();
    m_rowObjects.clear();
    m_results.ResetList();
    m_list->SyncFromList();
    m_comparison = ExportComparison();
    m_loaded.reset();
    m_status->ChangeValue(wxString());
    m_failure.clear();
    m_jobFailed = false;
    m_job.start([this, pathA, pathB](const std::atomic<bool>& cancel) {
        auto loaded = std::make_unique<Loaded>();
        for (auto [path, text, manager] : {std::tuple(&pathA, &loaded->textA, &loaded->a),
                                           std::tuple(&pathB, &loaded->textB, &loaded->b)}) {
            if (Outcome read = readExportFile(*path, text->str()); !read.ok()) {
                m_failure = read.reason; // names the file
                return;
            }
            manager->load(text, *path);
        }
        m_comparison = compareExports(loaded->a, loaded->b, &m_job.progress(), &cancel);
        m_loaded = std::move(loaded);
    });
}

void CChangesView::onJobFailed(const wxString& text)
{
    m_jobFailed = true;
    m_status->ChangeValue(text);
}

void CChangesView::onJobFinished()
{
    if (m_jobFailed)
        return; // nothing to list: the comparison did not end
    if (!m_failure.empty()) {
        m_status->ChangeValue("cannot read " + wxString::FromUTF8(m_failure));
        return;
    }
    fillList();
}

namespace {
int typeCode(const std::string& word)
{
    for (int type = OT_TABLE; type <= OT_CODEUNIT; ++type)
        if (word == objectTypeWord(type))
            return type;
    return OT_NONE;
}

// "12 changed, 3 added, 1 removed, 4 with noise only, 900 unchanged", then the warnings.
wxString summary(const ExportComparison& comparison)
{
    int counts[5] = {};
    for (const ObjectChange& object : comparison.objects)
        ++counts[static_cast<int>(object.change)];
    std::string text = std::to_string(counts[static_cast<int>(ChangeKind::Changed)]) + " changed, " +
                       std::to_string(counts[static_cast<int>(ChangeKind::Added)]) + " added, " +
                       std::to_string(counts[static_cast<int>(ChangeKind::Removed)]) + " removed, " +
                       std::to_string(counts[static_cast<int>(ChangeKind::Noise)]) + " with noise only, " +
                       std::to_string(comparison.unchanged) + " unchanged";
    for (const std::string& line : comparison.damaged)
        text += "; " + line;
    for (const std::string& line : comparison.duplicates)
        text += "; " + line;
    return fromAnsi(text);
}
} // namespace

void CChangesView::fillList()
{
    const bool noise = m_noise->GetValue();
    forgetShownObject();
    m_rowObjects.clear();
    for (wxStyledTextCtrl* text : {m_oldText, m_newText}) {
        text->SetReadOnly(false);
        text->ClearAll();
        text->SetReadOnly(true);
    }
    m_results.ResetList();
    for (const char* heading : {"Type", "No.", "Name", "Change", "Elements", "Lines"})
        m_results.AddColumn(heading, wxLIST_FORMAT_LEFT, 80);
    if (m_loaded == nullptr) {
        m_list->SyncFromList();
        return;
    }
    for (const ObjectChange& object : m_comparison.objects) {
        if (!showsObject(object, noise))
            continue;
        const auto shownChanges = std::count_if(object.changes.begin(), object.changes.end(), [&](const ElementChange& c) {
            return noise || c.change != ChangeKind::Noise;
        });
        std::vector<std::string> cells = {object.typeWord, std::to_string(object.number), object.name,
                                          changeWord(object.change),
                                          object.changes.empty() ? std::string() : std::to_string(shownChanges),
                                          "+" + std::to_string(object.addedLines) + " -" + std::to_string(object.removedLines)};
        m_results.AddRow(std::move(cells), static_cast<int>(m_rowObjects.size()), objectTypeImage(typeCode(object.typeWord)));
        m_rowObjects.push_back(&object);
    }
    m_list->SyncFromList();
    m_status->ChangeValue(summary(m_comparison));
}

void CChangesView::ShowObject(int row)
{
    if (m_loaded == nullptr || row < 0 || row >= m_results.GetRowCount())
        return;
    const int index = m_results.GetItemData(row);
    if (index < 0 || index >= static_cast<int>(m_rowObjects.size()))
        return;
    forgetShownObject();
    m_shown = m_rowObjects[static_cast<size_t>(index)];
    const std::string oldText = m_shown->indexA >= 0 ? m_loaded->a.sourceText(m_shown->indexA) : std::string();
    const std::string newText = m_shown->indexB >= 0 ? m_loaded->b.sourceText(m_shown->indexB) : std::string();
    m_rows = sideBySideRows(oldText, newText);
    const std::vector<std::string_view> oldLines = textLines(oldText), newLines = textLines(newText);
    for (bool old : {true, false}) {
        wxStyledTextCtrl* text = old ? m_oldText : m_newText;
        const std::vector<std::string_view>& lines = old ? oldLines : newLines;
        std::string shown;
        for (const SideBySideRow& r : m_rows) {
            const int line = old ? r.oldLine : r.newLine;
            shown.append(line >= 0 ? lines[static_cast<size_t>(line)] : std::string_view()).append("\n");
        }
        text->SetReadOnly(false);
        text->SetText(fromAnsi(shown));
        text->MarkerDeleteAll(-1);
        for (size_t r = 0; r < m_rows.size(); ++r) {
            const int marker = markerOf(m_rows[r].kind, old, (old ? m_rows[r].oldLine : m_rows[r].newLine) < 0);
            if (marker >= 0)
                text->MarkerAdd(static_cast<int>(r), marker);
        }
        text->SetReadOnly(true);
    }
    const bool noise = m_noise->GetValue();
    for (const ElementChange& change : m_shown->changes) {
        if (change.change == ChangeKind::Noise && !noise)
            continue;
        std::string item = std::string(changeWord(change.change)) + " " + change.label;
        if (!change.property.empty() && change.property != "Value" && change.property != change.label)
            item += " " + change.property;
        m_elements->Append(fromAnsi(item));
        m_shownChanges.push_back(&change);
    }
    if (!m_shownChanges.empty()) {
        m_elements->SetSelection(0);
        showElement(0);
    }
}

void CChangesView::forgetShownObject()
{
    m_shown = nullptr;
    m_shownChanges.clear();
    m_elements->Clear();
}

void CChangesView::showElement(int index)
{
    if (index < 0 || index >= static_cast<int>(m_shownChanges.size()))
        return;
    const ElementChange& change = *m_shownChanges[static_cast<size_t>(index)];
    // The element's first line, then its first changed line when it has hunks.
    int row = change.newLine >= 0 ? rowOfLine(m_rows, change.newLine, false) : rowOfLine(m_rows, change.oldLine, true);
    for (int r = std::max(0, row); r < static_cast<int>(m_rows.size()) && !change.hunks.empty(); ++r)
        if (m_rows[static_cast<size_t>(r)].kind != ' ') {
            row = r;
            break;
        }
    if (row < 0)
        return;
    for (wxStyledTextCtrl* text : {m_oldText, m_newText}) {
        text->SetFirstVisibleLine(std::max(0, row - 5));
        text->GotoLine(row);
    }
}

void CChangesView::StepChange(bool forward)
{
    const int count = static_cast<int>(m_shownChanges.size());
    if (count == 0)
        return;
    int index = m_elements->GetSelection();
    index = index == wxNOT_FOUND ? 0 : (index + (forward ? 1 : count - 1)) % count;
    m_elements->SetSelection(index);
    showElement(index);
}
