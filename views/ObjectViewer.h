#pragma once

#include "model/ObjectViewerModel.h"

#include <wx/dialog.h>
#include <wx/fdrepdlg.h>
#include <wx/treebase.h>

class CResultLocation;
class wxButton;
class wxStyledTextCtrl;
class wxTreeCtrl;
class wxTreeEvent;

// The object viewer (dialog 137): the object's outline in a tree, its text with every hit of the
// last search in bold red over the C/AL colouring, and four buttons that step from hit to hit.
class CObjectViewer : public wxDialog {
public:
    CObjectViewer(wxWindow* parent, const CResultLocation& location);

    // Runs the viewer on location modally; true when the user closed it with OK.
    static bool show(wxWindow* parent, const CResultLocation& location);

    const CObjectViewerModel& Model() const { return m_model; }
    const ShownText& Shown() const { return m_shown; }
    wxStyledTextCtrl* TextCtrl() const { return m_text; }
    wxTreeCtrl* Tree() const { return m_tree; }
    // Makes hit n (clamped) current: selected, about ten lines below the top, horizontally in view.
    void ShowHit(int n);
    // Scrolls to the declaration of a tree item and selects the rest of its line; false for an item
    // without a declaration.
    bool ScrollToDeclaration(const wxTreeItemId& item);
    // Selects the next (or previous) occurrence of text after (before) the selection, wrapping
    // around once; false when there is none.
    bool FindNext(const wxString& text, bool forward, bool matchCase);
    // Saves size and position before the dialog ends.
    void EndModal(int code) override;

private:
    void createControls();
    void fillTree();
    void fillText();
    void applyPlacement();
    void selectAndScroll(int from, int to, int firstLine);
    void scrollHorizontallyTo(int from, int to);
    void onStepButton(wxCommandEvent& event);
    void onTreeActivated(wxTreeEvent& event);
    void onFindCommand(wxCommandEvent& event);
    void onFindDialog(wxFindDialogEvent& event);

    CObjectViewerModel m_model;
    ShownText m_shown;
    wxTreeCtrl* m_tree = nullptr;
    wxStyledTextCtrl* m_text = nullptr;
    wxButton* m_stepButtons[4] = {};
    wxFindReplaceData m_findData;
    wxFindReplaceDialog* m_findDialog = nullptr;
};
