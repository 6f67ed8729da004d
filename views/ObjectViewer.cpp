#include "views/ObjectViewer.h"

#include "app/QuellixApp.h"
#include "app/TopLevelPlacement.h"
#include "model/ObjectRecord.h"
#include "resources/ResourceIds.h"
#include "settings/SettingsKeys.h"
#include "views/AnsiText.h"

#include <wx/button.h>
#include <wx/display.h>
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

CObjectViewer::CObjectViewer(wxWindow* parent, const CResultLocation& location)
    : wxDialog(parent, IDD_OBJECT_VIEWER, wxString(), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER | wxMAXIMIZE_BOX),
      m_model(location)
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

    wxAcceleratorEntry find(wxACCEL_CTRL, 'F', wxID_FIND);
    SetAcceleratorTable(wxAcceleratorTable(1, &find));
    Bind(wxEVT_MENU, &CObjectViewer::onFindCommand, this, wxID_FIND);
    Bind(wxEVT_FIND, &CObjectViewer::onFindDialog, this);
    Bind(wxEVT_FIND_NEXT, &CObjectViewer::onFindDialog, this);
    Bind(wxEVT_FIND_CLOSE, [this](wxFindDialogEvent&) {
        m_findDialog->Destroy();
        m_findDialog = nullptr;
    });
    bindNavigation();
}

bool CObjectViewer::show(wxWindow* parent, const CResultLocation& location, std::string* referencesTarget)
{
    if (location.object == nullptr)
        return false;
    std::unique_ptr<CObjectViewer> viewer;
    {
        wxBusyCursor wait; // a large object takes a moment to colour
        viewer = std::make_unique<CObjectViewer>(parent, location);
    }
    const bool ok = viewer->ShowModal() == wxID_OK;
    if (referencesTarget != nullptr)
        *referencesTarget = viewer->ReferencesTarget();
    return ok;
}

void CObjectViewer::createControls()
{
    m_tree = new wxTreeCtrl(this, IDC_OBJECT_TREE, wxDefaultPosition,
                            wxSize(ConvertDialogToPixels(wxSize(kTreeWidthUnits, 0)).x, -1),
                            wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxTR_HIDE_ROOT | wxTR_SINGLE);
    m_text = new wxStyledTextCtrl(this, IDC_OBJECT_TEXT);
    auto* body = new wxBoxSizer(wxHORIZONTAL);
    body->Add(m_tree, 0, wxEXPAND | wxRIGHT, 5);
    body->Add(m_text, 1, wxEXPAND);

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
    sizer->Add(body, 1, wxEXPAND | wxALL, 8);
    sizer->Add(buttons, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 8);
    SetSizer(sizer);
    SetSize(ConvertDialogToPixels(kDialogUnits));
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
    std::string bytes = styleBytes(m_shown, styles);
    m_text->StartStyling(0);
    m_text->SetStyleBytes(static_cast<int>(bytes.size()), bytes.data());
    m_text->SetReadOnly(true);
}

void CObjectViewer::applyPlacement()
{
    ObjectViewerPlacement placement;
    placement.read(wxGetApp().settings());
    if (placement.stored() && wxDisplay::GetFromPoint(wxPoint(placement.x + 20, placement.y + 20)) != wxNOT_FOUND) {
        SetSize(placement.x, placement.y, placement.width, placement.height);
        keepPlaceWhenShown(*this, wxRect(placement.x, placement.y, placement.width, placement.height));
    } else {
        centreOnMainWindow(*this);
    }
}

void CObjectViewer::EndModal(int code)
{
    wxRect rect = GetRect();
    ObjectViewerPlacement{rect.x, rect.y, rect.width, rect.height}.write(wxGetApp().settings());
    wxDialog::EndModal(code);
}

void CObjectViewer::ShowHit(int n)
{
    if (!m_model.showHit(n))
        return;
    const ViewerHit& hit = m_model.hits()[static_cast<size_t>(m_model.current())];
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

void CObjectViewer::onFindCommand(wxCommandEvent&)
{
    if (m_findDialog == nullptr) {
        m_findData.SetFlags(wxFR_DOWN);
        m_findDialog = new wxFindReplaceDialog(this, &m_findData, "Find");
    }
    m_findDialog->Show();
    m_findDialog->Raise();
}

void CObjectViewer::onFindDialog(wxFindDialogEvent& event)
{
    const int flags = event.GetFlags();
    if (!FindNext(event.GetFindString(), (flags & wxFR_DOWN) != 0, (flags & wxFR_MATCHCASE) != 0))
        wxBell();
}
