#pragma once

#include "views/Menus.h"

#include <wx/docmdi.h>

// The plain multi-document child frame of every view.
class CChildFrame : public wxDocMDIChildFrame {
public:
    CChildFrame(wxDocument* doc, wxView* view, wxMDIParentFrame* parent, const wxString& title)
        : wxDocMDIChildFrame(doc, view, parent, wxID_ANY, title)
    {
    }
    ~CChildFrame() override { releaseRecentFilesMenu(wxDocManager::GetDocumentManager(), GetMenuBar()); }
};
