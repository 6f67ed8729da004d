#pragma once

#include "layout/AnchorLayout.h"
#include "views/ListPrinter.h"

#include <wx/docview.h>
#include <wx/scrolwin.h>
#include <wx/weakref.h>

class CResultListCtrl;
class CViewDocument;
class IViewContext;
class wxPreviewFrame;

// Base of the list views: a form built on a dialog template inside the view's child frame,
// whose controls follow the frame through the six anchoring lists, and printing of the view's
// result list through a CListPrinter.
class IBLView : public wxView {
public:
    IBLView(int templateId, int menuId, const wxSize& templateSizeInDialogUnits);
    ~IBLView() override;

    bool OnCreate(wxDocument* doc, long flags) override;
    bool OnClose(bool deleteWindow) override;
    void OnDraw(wxDC*) override {}

    wxScrolledWindow* Form() const { return m_form; }
    CViewDocument* Doc() const;
    // The program around the view, from its document; valid from OnCreate on.
    IViewContext& Context() const { return *m_context; }
    bool HasContext() const { return m_context != nullptr; }
    int TemplateId() const { return m_templateId; }
    // The template's size in pixels: below it the form scrolls, above it the controls follow.
    wxSize TemplatePixels() const { return m_form->ConvertDialogToPixels(m_templateSize); }
    // Print and print preview, refused quietly when there is nothing to print.
    void Print();
    wxPreviewFrame* PrintPreview();
    // A printout of the view's list with its title and footer (to print or render elsewhere);
    // null when printing is refused.
    wxPrintout* CreatePrintout(wxPrintDialogData& data);

protected:
    // Reads what the view keeps in the settings; first thing in OnCreate, once the context is known.
    virtual void ReadSettings() {}
    // Creates the template's controls on the form, in dialog units through DialogRect.
    virtual void CreateControls(wxWindow* form) = 0;
    // After the first layout has been recorded.
    virtual void OnInitialUpdate() {}
    // The list the view prints, with the page title and the footer text.
    virtual CResultListCtrl* PrintedList() { return nullptr; }
    virtual wxString PrintTitle() { return wxString(); }
    virtual wxString PrintFooter() { return wxString(); }

    void AddAnchor(Anchor anchor, int controlId) { m_layout.add(anchor, controlId); }
    wxRect DialogRect(int x, int y, int width, int height) const;
    wxWindow* Control(int id) const;

private:
    void fitLabelledControls();
    void recordInitialLayout();
    void onFormSize(wxSizeEvent& event);
    void relayout();
    void onPrint(wxCommandEvent& event);
    void onPreview(wxCommandEvent& event);

    IViewContext* m_context = nullptr;
    int m_templateId;
    int m_menuId;
    wxSize m_templateSize;
    CAnchorLayout m_layout;
    wxScrolledWindow* m_form = nullptr;
    CListPrinter m_printer;
    wxWeakRef<wxPreviewFrame> m_preview;

    wxDECLARE_ABSTRACT_CLASS(IBLView);
};
