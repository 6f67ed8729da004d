#include "app/MainFrame.h"

#include "views/Menus.h"
#include "app/QuellixApp.h"
#include "QuellixVersion.h"
#include "views/TopLevelPlacement.h"
#include "resources/Icons.h"
#include "resources/ResourceIds.h"
#include "settings/LayoutSettings.h"

#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/display.h>
#include <wx/dnd.h>
#include <wx/docview.h>
#include <wx/printdlg.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>
#include <wx/utils.h>

#include <algorithm>
#include <vector>

namespace {
enum { PANE_MESSAGE, PANE_CAPS, PANE_NUM, PANE_SCROLL, PANE_COUNT };
constexpr int kStatusIntervalMs = 50; // at most 20 status updates a second

// Accepts files dropped anywhere on the main window.
class CFileDropTarget : public wxFileDropTarget {
public:
    explicit CFileDropTarget(CMainFrame* frame) : m_frame(frame) {}
    bool OnDropFiles(wxCoord, wxCoord, const wxArrayString& files) override
    {
        m_frame->CallAfter([frame = m_frame, files] { frame->openDroppedFiles(files); });
        return true;
    }

private:
    CMainFrame* m_frame;
};
} // namespace

CMainFrame::CMainFrame(wxDocManager* manager)
    // The views' menu bars bring their own "Window" menu: without wxFRAME_NO_WINDOW_MENU the
    // Windows build added the toolkit's second one beside it.
    : wxDocMDIParentFrame(manager, nullptr, wxID_ANY, "Quellix", wxDefaultPosition, wxSize(1024, 720),
                          wxDEFAULT_FRAME_STYLE | wxFRAME_NO_WINDOW_MENU),
      m_timer(this, rid::ID_STATUS_TIMER)
{
    SetIcons(programIcons());
    SetMenuBar(createMainMenuBar(manager));
    createToolBar();
    createStatusPanes();
    setAccelerators();
    SetDropTarget(new CFileDropTarget(this));
    if (GetClientWindow() != nullptr)
        GetClientWindow()->SetDropTarget(new CFileDropTarget(this));

    Bind(wxEVT_TIMER, &CMainFrame::onTimer, this, rid::ID_STATUS_TIMER);
    Bind(wxEVT_MENU, &CMainFrame::onAbout, this, wxID_ABOUT);
    Bind(wxEVT_MENU, &CMainFrame::onPrintSetup, this, wxID_PRINT_SETUP);
    Bind(wxEVT_MENU, &CMainFrame::onExit, this, wxID_EXIT);
    Bind(wxEVT_MENU, &CMainFrame::onToggleBar, this, rid::ID_VIEW_TOOLBAR, rid::ID_VIEW_STATUS_BAR);
    Bind(wxEVT_UPDATE_UI, &CMainFrame::onUpdateToggleBar, this, rid::ID_VIEW_TOOLBAR, rid::ID_VIEW_STATUS_BAR);
    Bind(wxEVT_MENU, &CMainFrame::onWindowCommand, this, rid::ID_WINDOW_NEW, rid::ID_WINDOW_TILE_VERT);
    Bind(wxEVT_MENU, &CMainFrame::onPane, this, rid::ID_NEXT_PANE, rid::ID_PREV_PANE);
    Bind(wxEVT_CHAR_HOOK, &CMainFrame::onCharHook, this);
    // The status line follows a job on the timer; otherwise the frame catches up when idle, so an
    // idle program is not woken at all.
    Bind(wxEVT_IDLE, &CMainFrame::onIdle, this);
    Bind(wxEVT_SIZE, &CMainFrame::onMoveOrSize, this);
    Bind(wxEVT_MOVE, &CMainFrame::onMoveOrSize, this);
    Bind(wxEVT_CLOSE_WINDOW, &CMainFrame::onClose, this);
}

void CMainFrame::RestorePlacement()
{
    MainWindowPlacement placement;
    placement.read(wxGetApp().settings());
    // A stored place that no longer fits a display (a screen that is gone, a smaller one) gives
    // way to the default size on the primary display.
    // The stored size is the client area's: the window manager's frame comes on top of it, and
    // storing the outer size would grow the window by that frame at every start.
    const wxSize parts = GetSize() - GetClientSize();
    const LayoutRect remembered{placement.x, placement.y, placement.width + parts.x, placement.height + parts.y};
    const LayoutRect r = placeMainWindow(*this, placement.stored() ? &remembered : nullptr);
    m_restoredRect = wxRect(r.x, r.y, r.width - parts.x, r.height - parts.y);
    Maximize(!placement.stored() || placement.maximized);
}

void CMainFrame::SavePlacement()
{
    if (!IsMaximized() && !IsIconized())
        m_restoredRect = wxRect(GetPosition(), GetClientSize());
    if (m_restoredRect.IsEmpty())
        return;
    MainWindowPlacement placement{m_restoredRect.x, m_restoredRect.y, m_restoredRect.width, m_restoredRect.height,
                                  IsMaximized()};
    placement.write(wxGetApp().settings());
}

void CMainFrame::onMoveOrSize(wxEvent& event)
{
    event.Skip();
    if (IsShown() && !IsMaximized() && !IsIconized())
        m_restoredRect = wxRect(GetPosition(), GetClientSize());
    CallAfter([] { followMainWindow(); }); // once the window has its new place
}

void CMainFrame::onClose(wxCloseEvent& event)
{
    SavePlacement();
    event.Skip();
}

CMainFrame::~CMainFrame()
{
    m_timer.Stop();
    releaseRecentFilesMenu(GetDocumentManager(), GetMenuBar());
}

void CMainFrame::createToolBar()
{
    wxToolBar* bar = CreateToolBar(wxTB_HORIZONTAL | wxTB_FLAT);
    const wxSize size(16, 16);
    auto tool = [&](int id, const wxArtID& art, const wxString& tip, const wxString& help) {
        bar->AddTool(id, wxString(), wxArtProvider::GetBitmap(art, wxART_TOOLBAR, size), tip, wxITEM_NORMAL);
        bar->SetToolLongHelp(id, help);
    };
    tool(wxID_NEW, wxART_NEW, "New", "Create a new document");
    tool(wxID_OPEN, wxART_FILE_OPEN, "Open", "Open an existing document");
    tool(wxID_SAVE, wxART_FILE_SAVE, "Save", "Save the active document");
    bar->AddSeparator();
    tool(wxID_CUT, wxART_CUT, "Cut", "Cut the selection and put it on the Clipboard");
    tool(wxID_COPY, wxART_COPY, "Copy", "Copy the selection and put it on the Clipboard");
    tool(wxID_PASTE, wxART_PASTE, "Paste", "Insert Clipboard contents");
    bar->AddSeparator();
    tool(wxID_PRINT, wxART_PRINT, "Print", "Print the active document");
    bar->AddSeparator();
    tool(wxID_ABOUT, wxART_HELP, "About", "Display program information, version number and copyright");
    bar->Realize();
}

void CMainFrame::createStatusPanes()
{
    wxStatusBar* bar = CreateStatusBar(PANE_COUNT);
    const int widths[PANE_COUNT] = {-1, 36, 36, 36};
    const int styles[PANE_COUNT] = {wxSB_NORMAL, wxSB_SUNKEN, wxSB_SUNKEN, wxSB_SUNKEN};
    bar->SetStatusWidths(PANE_COUNT, widths);
    bar->SetStatusStyles(PANE_COUNT, styles);
    SetStatusBarPane(PANE_MESSAGE);
    updateIndicators();
}

void CMainFrame::setAccelerators()
{
    const wxAcceleratorEntry entries[] = {
        {wxACCEL_CTRL, 'N', wxID_NEW},           {wxACCEL_CTRL, 'O', wxID_OPEN},
        {wxACCEL_CTRL, 'S', wxID_SAVE},          {wxACCEL_CTRL, 'P', wxID_PRINT},
        {wxACCEL_CTRL, 'Z', wxID_UNDO},          {wxACCEL_ALT, WXK_BACK, wxID_UNDO},
        {wxACCEL_CTRL, 'X', wxID_CUT},           {wxACCEL_SHIFT, WXK_DELETE, wxID_CUT},
        {wxACCEL_CTRL, 'C', wxID_COPY},          {wxACCEL_CTRL, WXK_INSERT, wxID_COPY},
        {wxACCEL_CTRL, 'V', wxID_PASTE},         {wxACCEL_SHIFT, WXK_INSERT, wxID_PASTE},
        {wxACCEL_NORMAL, WXK_F6, rid::ID_NEXT_PANE}, {wxACCEL_SHIFT, WXK_F6, rid::ID_PREV_PANE},
    };
    SetAcceleratorTable(wxAcceleratorTable(WXSIZEOF(entries), entries));
}

wxString CMainFrame::messageText() const
{
    return GetStatusBar() ? GetStatusBar()->GetStatusText(PANE_MESSAGE) : wxString();
}

void CMainFrame::flushStatusText()
{
    std::string text;
    if (wxGetApp().statusRelay().takeNewer(text))
        SetStatusText(wxString::FromUTF8(text), PANE_MESSAGE);
}

void CMainFrame::FollowJob(bool running)
{
    m_jobsRunning = std::max(0, m_jobsRunning + (running ? 1 : -1));
    if (m_jobsRunning > 0 && !m_timer.IsRunning())
        m_timer.Start(kStatusIntervalMs);
    else if (m_jobsRunning == 0 && m_timer.IsRunning())
        m_timer.Stop();
}

void CMainFrame::onIdle(wxIdleEvent& event)
{
    event.Skip();
    flushStatusText();
    updateIndicators();
    updateTitle();
}

void CMainFrame::onTimer(wxTimerEvent&)
{
    // after thread jump: status lines of the workers, collected at the timer's pace
    flushStatusText();
    updateIndicators();
    updateTitle();
}

void CMainFrame::updateIndicators()
{
    wxStatusBar* bar = GetStatusBar();
    if (bar == nullptr)
        return;
    const struct { int pane; wxKeyCode key; const char* caption; } locks[] = {
        {PANE_CAPS, WXK_CAPITAL, "UF"}, {PANE_NUM, WXK_NUMLOCK, "NUM"}, {PANE_SCROLL, WXK_SCROLL, "RF"}};
    for (const auto& lock : locks) {
        wxString text = wxGetKeyState(lock.key) ? lock.caption : "";
        if (bar->GetStatusText(lock.pane) != text)
            bar->SetStatusText(text, lock.pane);
    }
}

void CMainFrame::updateTitle()
{
    wxString title = "Quellix";
    if (wxMDIChildFrame* child = GetActiveChild())
        title += " - " + child->GetTitle();
    if (GetTitle() != title)
        SetTitle(title);
}

void CMainFrame::openDroppedFiles(const wxArrayString& files)
{
    for (const wxString& file : files)
        wxGetApp().openFile(file);
}

// The About box: program icon, version line and OK.
static void showAboutBox(wxWindow* parent)
{
    wxDialog dialog(parent, wxID_ANY, "Quellix - Info");
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    wxIcon icon = programIcons().GetIcon(wxSize(32, 32));
    row->Add(new wxStaticBitmap(&dialog, wxID_ANY, icon), 0, wxALL, 12);
    row->Add(new wxStaticText(&dialog, wxID_STATIC, "Quellix Version " QUELLIX_VERSION), 0, wxALIGN_CENTER_VERTICAL | wxALL, 12);
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(row, 0, wxEXPAND);
    column->Add(new wxButton(&dialog, wxID_OK, "OK"), 0, wxALIGN_RIGHT | wxALL, 10);
    dialog.SetSizerAndFit(column);
    fitAndCentreDialog(dialog);
    dialog.ShowModal();
}

void CMainFrame::onAbout(wxCommandEvent&)
{
    showAboutBox(this);
}

void CMainFrame::onPrintSetup(wxCommandEvent&)
{
    wxPageSetupDialogData data(wxGetApp().printData());
    PageMarginsMm& margins = wxGetApp().pageMargins();
    data.SetMarginTopLeft(wxPoint(margins.left, margins.top));
    data.SetMarginBottomRight(wxPoint(margins.right, margins.bottom));
    wxPageSetupDialog dialog(this, &data);
    if (dialog.ShowModal() == wxID_OK) {
        const wxPageSetupDialogData& chosen = dialog.GetPageSetupDialogData();
        wxGetApp().printData() = chosen.GetPrintData();
        margins = {chosen.GetMarginTopLeft().x, chosen.GetMarginTopLeft().y, chosen.GetMarginBottomRight().x,
                   chosen.GetMarginBottomRight().y};
    }
}

void CMainFrame::onToggleBar(wxCommandEvent& event)
{
    wxWindow* bar = event.GetId() == rid::ID_VIEW_TOOLBAR ? static_cast<wxWindow*>(GetToolBar())
                                                          : static_cast<wxWindow*>(GetStatusBar());
    if (bar == nullptr)
        return;
    bar->Show(!bar->IsShown());
    SendSizeEvent();
}

void CMainFrame::onUpdateToggleBar(wxUpdateUIEvent& event)
{
    wxWindow* bar = event.GetId() == rid::ID_VIEW_TOOLBAR ? static_cast<wxWindow*>(GetToolBar())
                                                          : static_cast<wxWindow*>(GetStatusBar());
    event.Check(bar != nullptr && bar->IsShown());
}

void CMainFrame::onWindowCommand(wxCommandEvent& event)
{
    switch (event.GetId()) {
    case rid::ID_WINDOW_NEW:
        // Each document has exactly one view, so a new window activates the document's frame.
        if (wxMDIChildFrame* child = GetActiveChild())
            child->Activate();
        break;
    case rid::ID_WINDOW_TILE_HORZ: Tile(wxHORIZONTAL); break;
    case rid::ID_WINDOW_TILE_VERT: Tile(wxVERTICAL); break;
    case rid::ID_WINDOW_ARRANGE: ArrangeIcons(); break;
    default: break;
    }
}

void CMainFrame::onPane(wxCommandEvent& event)
{
    activateNeighbour(event.GetId() == rid::ID_NEXT_PANE);
}

void CMainFrame::onCharHook(wxKeyEvent& event)
{
    // Ctrl+Tab and Ctrl+F6 (with Shift backwards) switch views as in other multi-document
    // programs; the toolkit would move the focus out of the form to the view's tab instead.
    const int key = event.GetKeyCode();
    const bool ctrl = (event.GetModifiers() & ~wxMOD_SHIFT) == wxMOD_CONTROL;
    if (ctrl && (key == WXK_TAB || key == WXK_NUMPAD_TAB || key == WXK_F6)) {
        activateNeighbour(!event.ShiftDown());
        return;
    }
    event.Skip();
}

void CMainFrame::activateNeighbour(bool forward)
{
    std::vector<wxMDIChildFrame*> children;
    if (wxWindow* client = GetClientWindow())
        for (wxWindow* child : client->GetChildren())
            if (auto* frame = dynamic_cast<wxMDIChildFrame*>(child))
                children.push_back(frame);
    const auto count = static_cast<std::ptrdiff_t>(children.size());
    if (count < 2)
        return;
    const std::ptrdiff_t at = std::find(children.begin(), children.end(), GetActiveChild()) - children.begin();
    const std::ptrdiff_t next = at >= count ? 0 : (at + (forward ? 1 : count - 1)) % count;
    children[static_cast<size_t>(next)]->Activate();
}

void CMainFrame::onExit(wxCommandEvent&)
{
    Close();
}
