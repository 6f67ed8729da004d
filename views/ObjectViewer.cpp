#include "views/ObjectViewer.h"

#include "model/ObjectRecord.h"
#include "resources/ResourceIds.h"
#include "settings/SettingsKeys.h"
#include "views/AnsiText.h"
#include "views/TopLevelPlacement.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/panel.h>
#include <wx/splitter.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/sizer.h>
#include <wx/stc/stc.h>
#include <wx/treectrl.h>
#include <wx/utils.h>

#include <algorithm>
#include <functional>
#include <memory>

using namespace rid;

namespace {
const wxSize kDialogUnits(469, 302);
constexpr int kTreeWidthUnits = 79;
constexpr int kNavigationButtonUnits = 15;
constexpr int kStyledLinesAround = 200;      // styled at once above and below the line shown first
constexpr int kIdleStyleBytes = 256 * 1024;  // styled per idle event after that

// Where a tree item's declaration starts in the object text.
class CDeclarationData : public wxTreeItemData {
public:
    explicit CDeclarationData(int position) : position(position) {}
    int position;
};

void setStyle(wxStyledTextCtrl* text, int style, const wxColour& colour, bool bold = false)
{
    text->StyleSetForeground(style, colour);
    text->StyleSetBold(style, bold);
}
} // namespace

CObjectViewer::CObjectViewer(ISettingsStore& settings, wxWindow* parent, const CResultLocation& location)
    : wxDialog(parent, IDD_OBJECT_VIEWER, wxString(), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER | wxMAXIMIZE_BOX),
      m_settings(settings), m_model(location)
{
    SetTitle(fromAnsi(m_model.title()));
    createControls();
    fillTree();
    fillText();
    applyPlacement();
    Layout(); // the text control's width decides the horizontal scrolling to the hit
    const bool hasHits = !m_model.hits().empty();
    for (wxButton* button : m_stepButtons)
        button->Enable(hasHits);
    if (hasHits)
        ShowHit(m_model.current());
    else
        styleAround(0);

    const wxAcceleratorEntry keys[] = {{wxACCEL_CTRL, 'F', wxID_FIND},
                                       {wxACCEL_NORMAL, WXK_F3, IDC_FIND_NEXT},
                                       {wxACCEL_SHIFT, WXK_F3, IDC_FIND_PREVIOUS}};
    SetAcceleratorTable(wxAcceleratorTable(WXSIZEOF(keys), keys));
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { ShowFindBox(true); }, wxID_FIND);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { findAgain(true); }, IDC_FIND_NEXT);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { findAgain(false); }, IDC_FIND_PREVIOUS);
    Bind(wxEVT_CHAR_HOOK, &CObjectViewer::onCharHook, this);
    bindNavigation();
}

bool CObjectViewer::show(ISettingsStore& settings, wxWindow* parent, const CResultLocation& location,
                         std::string* referencesTarget)
{
    if (location.object == nullptr)
        return false;
    std::unique_ptr<CObjectViewer> viewer;
    {
        wxBusyCursor wait; // a large object takes a moment to colour
        viewer = std::make_unique<CObjectViewer>(settings, parent, location);
    }
    const bool ok = viewer->ShowModal() == wxID_OK;
    if (referencesTarget != nullptr)
        *referencesTarget = viewer->ReferencesTarget();
    return ok;
}

void CObjectViewer::createControls()
{
    m_splitter = new wxSplitterWindow(this, IDC_OBJECT_SPLITTER, wxDefaultPosition, wxDefaultSize,
                                      wxSP_LIVE_UPDATE | wxSP_3DSASH);
    m_tree = new wxTreeCtrl(m_splitter, IDC_OBJECT_TREE, wxDefaultPosition, wxDefaultSize,
                            wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxTR_HIDE_ROOT | wxTR_SINGLE);
    m_text = new wxStyledTextCtrl(m_splitter, IDC_OBJECT_TEXT);
    m_splitter->SetMinimumPaneSize(20);
    m_splitter->SetSashGravity(0.0); // a wider dialog widens the text, the tree keeps its width
    m_splitter->SplitVertically(m_tree, m_text, ConvertDialogToPixels(wxSize(kTreeWidthUnits, 0)).x);
    createFindBox();

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->AddStretchSpacer();
    const wxSize stepSize = ConvertDialogToPixels(wxSize(kNavigationButtonUnits, kNavigationButtonUnits));
    const char* labels[] = {"|<", "<", ">", ">|"};
    for (int i = 0; i < 4; ++i) {
        m_stepButtons[i] = new wxButton(this, IDC_FIRST_HIT + i, labels[i], wxDefaultPosition,
                                        wxSize(std::max(stepSize.x, 30), -1), wxBU_EXACTFIT);
        buttons->Add(m_stepButtons[i], 0, wxRIGHT, 1);
    }
    Bind(wxEVT_BUTTON, &CObjectViewer::onStepButton, this, IDC_FIRST_HIT, IDC_LAST_HIT);
    buttons->AddStretchSpacer();
    buttons->Add(new wxButton(this, wxID_OK, "OK"), 0, wxRIGHT, 2);
    buttons->Add(new wxButton(this, wxID_CANCEL, "Cancel"));

    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_splitter, 1, wxEXPAND | wxALL, 8);
    sizer->Add(m_findBox, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 8);
    sizer->Add(buttons, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 8);
    SetSizer(sizer);
    sizer->Hide(m_findBox);
    SetSize(ConvertDialogToPixels(kDialogUnits));
}

void CObjectViewer::createFindBox()
{
    // Part of the dialog, not a window of its own: a modal dialog leaves no input to a second one.
    m_findBox = new wxPanel(this);
    m_findText = new wxTextCtrl(m_findBox, IDC_FIND_TEXT, wxString(), wxDefaultPosition, wxSize(220, -1),
                                wxTE_PROCESS_ENTER);
    m_matchCase = new wxCheckBox(m_findBox, IDC_FIND_MATCH_CASE, "Match &case");
    m_findState = new wxStaticText(m_findBox, IDC_FIND_STATE, wxString());
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(new wxStaticText(m_findBox, wxID_STATIC, "&Find:"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);
    row->Add(m_findText, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);
    row->Add(new wxButton(m_findBox, IDC_FIND_NEXT, "&Next"), 0, wxRIGHT, 2);
    row->Add(new wxButton(m_findBox, IDC_FIND_PREVIOUS, "&Previous"), 0, wxRIGHT, 8);
    row->Add(m_matchCase, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 8);
    row->Add(m_findState, 1, wxALIGN_CENTER_VERTICAL);
    m_findBox->SetSizer(row);
    m_findText->Bind(wxEVT_TEXT_ENTER, [this](wxCommandEvent&) { findAgain(!wxGetKeyState(WXK_SHIFT)); });
    m_findBox->Bind(wxEVT_BUTTON, [this](wxCommandEvent& event) { findAgain(event.GetId() == IDC_FIND_NEXT); },
                    IDC_FIND_NEXT, IDC_FIND_PREVIOUS);
}

void CObjectViewer::fillTree()
{
    wxTreeItemId root = m_tree->AddRoot(wxString());
    std::function<void(const wxTreeItemId&, const std::vector<OutlineItem>&)> add;
    add = [&](const wxTreeItemId& parent, const std::vector<OutlineItem>& items) {
        for (const OutlineItem& item : items) {
            wxTreeItemId id = m_tree->AppendItem(parent, fromAnsi(item.text), -1, -1,
                                                 item.declPos >= 0 ? new CDeclarationData(item.declPos) : nullptr);
            add(id, item.children);
        }
    };
    add(root, m_model.outline());
    wxTreeItemIdValue cookie;
    for (wxTreeItemId item = m_tree->GetFirstChild(root, cookie); item.IsOk(); item = m_tree->GetNextChild(root, cookie))
        m_tree->Expand(item);
    m_tree->Bind(wxEVT_TREE_ITEM_ACTIVATED, &CObjectViewer::onTreeActivated, this);
}

void CObjectViewer::fillText()
{
    m_text->SetLexer(wxSTC_LEX_CONTAINER); // styled here, once; the control never restyles
    m_text->StyleSetFont(wxSTC_STYLE_DEFAULT, wxFont(wxFontInfo(10).Family(wxFONTFAMILY_TELETYPE)));
    m_text->StyleClearAll();
    setStyle(m_text, CAL_KEYWORD, wxColour(0, 0, 160));
    setStyle(m_text, CAL_COMMENT, wxColour(0, 128, 0));
    setStyle(m_text, CAL_STRING, wxColour(128, 0, 128));
    setStyle(m_text, CAL_NUMBER, wxColour(0, 128, 128));
    setStyle(m_text, CAL_HIT, wxColour(255, 0, 0), true);
    m_text->SetMarginType(0, wxSTC_MARGIN_NUMBER);
    m_text->SetMarginWidth(0, m_text->TextWidth(wxSTC_STYLE_LINENUMBER, "_999999"));
    m_text->SetMarginWidth(1, 0);
    m_text->SetWrapMode(wxSTC_WRAP_NONE);
    m_text->SetEndAtLastLine(false); // a hit near the end still gets its ten lines above
    m_text->SetScrollWidth(1);
    m_text->SetScrollWidthTracking(true);
    m_text->SetUndoCollection(false);

    m_shown = makeShownText(m_model.objectText(), oemCodePage());
    // No modification events: the toolkit would copy the whole inserted text into one, which
    // costs more than the insertion itself; the viewer listens to none.
    m_text->SetModEventMask(0);
    m_text->Allocate(static_cast<int>(m_shown.utf8.size()) + 1);
    m_text->AddTextRaw(m_shown.utf8.data(), static_cast<int>(m_shown.utf8.size()));
    std::vector<char> styles = calStyles(m_model.objectText());
    markHits(styles, m_model.hits());
    m_styles = styleBytes(m_shown, styles);
    m_unstyled = {{0, static_cast<int>(m_styles.size())}};
    m_text->SetReadOnly(true);
}

void CObjectViewer::styleAround(int line)
{
    // What the window shows is styled at once; the rest of a large object in idle time.
    const int from = m_text->PositionFromLine(std::max(0, line - kStyledLinesAround));
    const int to = m_text->PositionFromLine(std::min(m_text->GetLineCount(), line + 2 * kStyledLinesAround));
    applyStyles(from, to < 0 ? static_cast<int>(m_styles.size()) : to);
    if (!m_unstyled.empty() && !m_stylingInIdle) {
        m_stylingInIdle = true;
        Bind(wxEVT_IDLE, &CObjectViewer::onIdleStyling, this);
    }
}

void CObjectViewer::applyStyles(int from, int to)
{
    std::vector<std::pair<int, int>> left;
    for (auto [start, end] : m_unstyled) {
        const int a = std::max(start, from), b = std::min(end, to);
        if (a >= b) {
            left.emplace_back(start, end);
            continue;
        }
        m_text->StartStyling(a);
        m_text->SetStyleBytes(b - a, m_styles.data() + a);
        if (start < a)
            left.emplace_back(start, a);
        if (b < end)
            left.emplace_back(b, end);
    }
    m_unstyled.swap(left);
}

void CObjectViewer::onIdleStyling(wxIdleEvent& event)
{
    event.Skip();
    if (m_unstyled.empty()) {
        Unbind(wxEVT_IDLE, &CObjectViewer::onIdleStyling, this);
        m_stylingInIdle = false;
        return;
    }
    const int start = m_unstyled.front().first;
    applyStyles(start, start + kIdleStyleBytes);
    event.RequestMore(!m_unstyled.empty());
}

bool CObjectViewer::IsFullyStyled() const
{
    return m_unstyled.empty();
}

void CObjectViewer::applyPlacement()
{
    ObjectViewerPlacement placement;
    placement.read(m_settings);
    if (!placement.stored() || !placeRemembered(*this, wxRect(placement.x, placement.y, placement.width, placement.height)))
        centreOnMainWindow(*this);
}

void CObjectViewer::EndModal(int code)
{
    wxRect rect = GetRect();
    ObjectViewerPlacement{rect.x, rect.y, rect.width, rect.height}.write(m_settings);
    wxDialog::EndModal(code);
}

void CObjectViewer::ShowHit(int n)
{
    if (!m_model.showHit(n))
        return;
    const ViewerHit& hit = m_model.hits()[static_cast<size_t>(m_model.current())];
    styleAround(m_text->LineFromPosition(m_shown.at(hit.offset)));
    selectAndScroll(m_shown.at(hit.offset), m_shown.at(hit.offset + hit.length), m_model.firstVisibleLine());
}

void CObjectViewer::selectAndScroll(int from, int to, int firstLine)
{
    // Selecting scrolls the caret into view; the first line is set after it.
    m_text->SetSelection(from, to);
    m_text->SetFirstVisibleLine(firstLine);
    scrollHorizontallyTo(from, to);
}

void CObjectViewer::scrollHorizontallyTo(int from, int to)
{
    const int left = m_text->GetMarginWidth(0);
    const int width = m_text->GetClientSize().x - left;
    if (width <= 0)
        return;
    const int offset = m_text->GetXOffset();
    const int start = m_text->PointFromPosition(from).x - left + offset;
    const int end = m_text->PointFromPosition(to).x - left + offset;
    // The line's start stays in view whenever the hit fits beside it.
    if (end <= width - width / 16) {
        m_text->SetXOffset(0);
        return;
    }
    if (start >= offset && end <= offset + width)
        return;
    // A hit left of the view comes in near the left edge, one to the right near the right edge
    // (a hit wider than the view with its start in view).
    int target = start < offset ? start - width / 8 : std::min(end - width + width / 8, start - width / 16);
    m_text->SetXOffset(std::max(0, target));
}

void CObjectViewer::onStepButton(wxCommandEvent& event)
{
    using Step = CObjectViewerModel::Step;
    static const Step steps[] = {Step::First, Step::Previous, Step::Next, Step::Last};
    m_model.step(steps[event.GetId() - IDC_FIRST_HIT]);
    ShowHit(m_model.current());
}

bool CObjectViewer::ScrollToDeclaration(const wxTreeItemId& item)
{
    auto* data = item.IsOk() ? dynamic_cast<CDeclarationData*>(m_tree->GetItemData(item)) : nullptr;
    if (data == nullptr)
        return false;
    int from = m_shown.at(data->position);
    int to = m_text->GetLineEndPosition(m_text->LineFromPosition(from));
    styleAround(m_text->LineFromPosition(from));
    selectAndScroll(from, to, m_model.firstVisibleLineFor(data->position));
    return true;
}

void CObjectViewer::onTreeActivated(wxTreeEvent& event)
{
    if (!ScrollToDeclaration(event.GetItem()))
        event.Skip(); // a root item: the tree opens or closes it
}

bool CObjectViewer::FindNext(const wxString& text, bool forward, bool matchCase)
{
    if (text.empty())
        return false;
    const int flags = matchCase ? wxSTC_FIND_MATCHCASE : 0;
    const int length = m_text->GetLength();
    int end = 0;
    int found = forward ? m_text->FindText(m_text->GetSelectionEnd(), length, text, flags, &end)
                        : m_text->FindText(m_text->GetSelectionStart(), 0, text, flags, &end);
    if (found < 0)
        found = forward ? m_text->FindText(0, length, text, flags, &end)
                        : m_text->FindText(length, 0, text, flags, &end);
    if (found < 0)
        return false;
    m_text->SetSelection(found, end);
    m_text->EnsureCaretVisible();
    return true;
}

void CObjectViewer::ShowFindBox(bool show)
{
    GetSizer()->Show(m_findBox, show);
    Layout();
    if (show) {
        m_findText->SetFocus();
        m_findText->SelectAll();
    } else {
        m_text->SetFocus();
    }
}

bool CObjectViewer::IsFindBoxShown() const
{
    return m_findBox->IsShown();
}

void CObjectViewer::findAgain(bool forward)
{
    if (!IsFindBoxShown() || m_findText->IsEmpty()) {
        ShowFindBox(true);
        if (m_findText->IsEmpty())
            return;
    }
    const bool found = FindNext(m_findText->GetValue(), forward, m_matchCase->GetValue());
    m_findState->SetLabel(found ? wxString() : wxString("not found"));
    if (!found)
        wxBell();
}

void CObjectViewer::onCharHook(wxKeyEvent& event)
{
    if (event.GetKeyCode() == WXK_ESCAPE && event.GetModifiers() == wxMOD_NONE && IsFindBoxShown()) {
        ShowFindBox(false);
        return;
    }
    // The read-only text would swallow Tab (it indents), leaving the keyboard stuck in it.
    if (event.GetKeyCode() == WXK_TAB && (event.GetModifiers() & ~wxMOD_SHIFT) == 0 &&
        wxWindow::FindFocus() == m_text) {
        m_text->Navigate(event.ShiftDown() ? wxNavigationKeyEvent::IsBackward : wxNavigationKeyEvent::IsForward);
        return;
    }
    event.Skip(); // Esc without the find box closes the viewer as Cancel does
}
