#include "views/PlaceholderView.h"

#include "resources/ResourceIds.h"
#include "views/BLView.h"

#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

wxIMPLEMENT_DYNAMIC_CLASS(CObjectComparePlaceholder, wxView);

CObjectComparePlaceholder::CObjectComparePlaceholder() : CPlaceholderView(rid::IDR_OBJECTCOMPAREVIEW) {}

bool CPlaceholderView::OnCreate(wxDocument* doc, long flags)
{
    if (!wxView::OnCreate(doc, flags))
        return false;
    wxFrame* frame = createViewFrame(this, doc, m_menuId);
    auto* panel = new wxPanel(frame);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    wxString kind = doc->GetDocumentTemplate() ? doc->GetDocumentTemplate()->GetDocumentName() : wxString();
    sizer->Add(new wxStaticText(panel, wxID_STATIC, kind + ": this view is not available yet."), 0, wxALL, 20);
    panel->SetSizer(sizer);
    frame->Show();
    Activate(true);
    return true;
}
