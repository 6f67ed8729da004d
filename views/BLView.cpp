#include "views/BLView.h"

#include "resources/Icons.h"
#include "views/ChildFrame.h"
#include "views/FormKeyboard.h"
#include "views/Menus.h"
#include "views/ResultListCtrl.h"
#include "views/TopLevelPlacement.h"
#include "views/ViewContext.h"
#include "views/ViewDocument.h"

#include <wx/checkbox.h>
#include <wx/log.h>
#include <wx/radiobut.h>
#include <wx/printdlg.h>

#include <algorithm>
#include <memory>

wxIMPLEMENT_ABSTRACT_CLASS(IBLView, wxView);

namespace {
// The child frame of a view with the menu of its document kind.
wxFrame* createViewFrame(wxView* view, wxDocument* doc, wxMDIParentFrame* mainWindow, int menuId)
{
    auto* frame = new CChildFrame(doc, view, mainWindow, doc->GetUserReadableName());
    frame->SetIcons(programIcons());
    frame->SetMenuBar(createDocumentMenuBar(doc->GetDocumentManager(), menuId));
    view->SetFrame(frame);
    return frame;
}
} // namespace

IBLView::IBLView(int templateId, int menuId, const wxSize& templateSizeInDialogUnits)
    : m_templateId(templateId), m_menuId(menuId), m_templateSize(templateSizeInDialogUnits)
{
    Bind(wxEVT_MENU, &IBLView::onPrint, this, wxID_PRINT);
    Bind(wxEVT_MENU, &IBLView::onPreview, this, wxID_PREVIEW);
}

IBLView::~IBLView()
{
    if (m_preview)
        m_preview->Close(true);
}

bool IBLView::OnCreate(wxDocument* doc, long flags)
{
    if (!wxView::OnCreate(doc, flags))
        return false;
    m_context = &static_cast<CViewDocument*>(doc)->context();
    ReadSettings();
    wxFrame* frame = createViewFrame(this, doc, m_context->mainWindow(), m_menuId);
    m_form = new wxScrolledWindow(frame, m_templateId, wxDefaultPosition, frame->GetClientSize(),
                                  wxHSCROLL | wxVSCROLL | wxTAB_TRAVERSAL);
    m_form->SetScrollRate(8, 8);
    m_form->ShowScrollbars(wxSHOW_SB_NEVER, wxSHOW_SB_NEVER);
    CreateControls(m_form);
    enableFormKeyboard(*m_form);
    fitLabelledControls();
    recordInitialLayout();
    m_form->Bind(wxEVT_SIZE, &IBLView::onFormSize, this);
    frame->Show();
    m_form->SetVirtualSize(m_form->ConvertDialogToPixels(m_templateSize));
    relayout();
    Activate(true);
    OnInitialUpdate();
    focusFirstControl(*m_form);
    return true;
}

CViewDocument* IBLView::Doc() const
{
    return static_cast<CViewDocument*>(GetDocument());
}

wxRect IBLView::DialogRect(int x, int y, int width, int height) const
{
    wxPoint pos = m_form->ConvertDialogToPixels(wxPoint(x, y));
    wxSize size = m_form->ConvertDialogToPixels(wxSize(width, height));
    return wxRect(pos, size);
}

wxWindow* IBLView::Control(int id) const
{
    return m_form ? m_form->FindWindow(id) : nullptr;
}

void IBLView::fitLabelledControls()
{
    // Template widths were measured in another toolkit's font; a check box or radio button below
    // the size its label needs makes GTK allocate its parts negative sizes (CRITICAL warnings).
    for (wxWindow* child : m_form->GetChildren()) {
        if (!dynamic_cast<wxCheckBox*>(child) && !dynamic_cast<wxRadioButton*>(child))
            continue;
        wxRect r = child->GetRect();
        wxSize best = child->GetBestSize();
        if (r.width >= best.x && r.height >= best.y)
            continue;
        int height = std::max(r.height, best.y);
        child->SetSize(wxRect(r.x, r.y - (height - r.height) / 2, std::max(r.width, best.x), height));
    }
}

void IBLView::recordInitialLayout()
{
    for (int id : m_layout.controlIds())
        if (wxWindow* control = Control(id)) {
            wxRect r = control->GetRect();
            m_layout.record(id, {r.x, r.y, r.width, r.height});
        }
    wxSize initial = m_form->ConvertDialogToPixels(m_templateSize);
    m_layout.finishInitialLayout(initial.x, initial.y);
}

void IBLView::onFormSize(wxSizeEvent& event)
{
    event.Skip();
    relayout();
}

void IBLView::relayout()
{
    wxSize client = m_form->GetClientSize();
    // Scroll bars only when the form is smaller than its template; GTK complains about scroll
    // bars in the few-pixel allocations a child frame passes through while it is being placed.
    wxSize initial = m_form->ConvertDialogToPixels(m_templateSize);
    bool smaller = client.x < initial.x || client.y < initial.y;
    bool placing = client.x < 64 || client.y < 64;
    wxScrollbarVisibility bars = smaller && !placing ? wxSHOW_SB_DEFAULT : wxSHOW_SB_NEVER;
    m_form->ShowScrollbars(bars, bars);
    // A direction that no longer scrolls starts again at offset 0 before anchoring; otherwise
    // the controls that are not anchored (the labels) stay shifted out of sight.
    int startX = 0, startY = 0;
    m_form->GetViewStart(&startX, &startY);
    int toX = client.x >= initial.x ? 0 : startX;
    int toY = client.y >= initial.y ? 0 : startY;
    if (toX != startX || toY != startY)
        m_form->Scroll(toX, toY);
    auto [virtualWidth, virtualHeight] = m_layout.scrolledSize(client.x, client.y);
    if (!m_layout.initializing() && m_form->GetVirtualSize() != wxSize(virtualWidth, virtualHeight))
        m_form->SetVirtualSize(virtualWidth, virtualHeight);
    for (const auto& [id, r] : m_layout.place(client.x, client.y))
        if (wxWindow* control = Control(id))
            control->SetSize(wxRect(m_form->CalcScrolledPosition(wxPoint(r.x, r.y)), wxSize(r.width, r.height)));
}

bool IBLView::OnClose(bool deleteWindow)
{
    if (m_preview)
        m_preview->Close(true);
    return wxView::OnClose(deleteWindow);
}

wxPrintout* IBLView::CreatePrintout(wxPrintDialogData& data)
{
    if (!m_printer.PreparePrinting(data, PrintedList()))
        return nullptr;
    return new CListPrintout(m_printer, PrintTitle(), PrintFooter(), m_context->pageMargins());
}

void IBLView::Print()
{
    wxPrintDialogData data(m_context->printData());
    std::unique_ptr<wxPrintout> printout(CreatePrintout(data));
    if (!printout)
        return;
    wxPrinter printer(&data);
    wxLogNull quiet; // a failed or cancelled job ends without a message
    if (printer.Print(GetFrame(), printout.get(), true))
        m_context->printData() = printer.GetPrintDialogData().GetPrintData();
}

wxPreviewFrame* IBLView::PrintPreview()
{
    wxPrintDialogData data(m_context->printData());
    wxPrintout* forPreview = CreatePrintout(data);
    if (forPreview == nullptr)
        return nullptr;
    if (m_preview)
        m_preview->Close(true);
    auto* preview = new wxPrintPreview(forPreview, CreatePrintout(data), &data);
    if (!preview->IsOk()) {
        delete preview;
        return nullptr;
    }
    auto* frame = new wxPreviewFrame(preview, m_context->mainWindow(), "Print Preview", wxDefaultPosition,
                                     wxSize(900, 700));
    frame->Initialize();
    centreOnMainWindow(*frame);
    frame->Show();
    m_preview = frame;
    return frame;
}

void IBLView::onPrint(wxCommandEvent&)
{
    Print();
}

void IBLView::onPreview(wxCommandEvent&)
{
    PrintPreview();
}
