#pragma once

#include "model/ObjectViewerModel.h"

#include <wx/dialog.h>
#include <wx/fdrepdlg.h>
#include <wx/treebase.h>

#include <string>
#include <vector>

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

    // Runs the viewer on location modally; true when the user closed it with OK. When the user asks
    // for the references of a name (Shift+F12, "Find references"), the viewer closes and
    // referencesTarget receives the target text for the references operation.
    static bool show(wxWindow* parent, const CResultLocation& location, std::string* referencesTarget = nullptr);

    // Navigation by the reference index (ObjectViewerNavigation.cpp). F12: shows the definition of
    // the name at the caret (another object replaces the shown one); false when it names nothing
    // resolved. Alt+Left: back to the place before the last F12; false when there is none.
    bool GoToDefinition();
    bool GoBack();
    // Shift+F12 and the tree's "Find references": closes the viewer with the name's target; false
    // when it names nothing the index knows.
    bool FindReferences();
    bool FindReferencesOf(const wxTreeItemId& item);
    const std::string& ReferencesTarget() const { return m_referencesTarget; }

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
    void bindNavigation();
    void addFieldsRoot();
    void showLocation(const CResultLocation& location);
    int caretObjectOffset() const;
    int caretObjectOffsetOf(int shownPosition) const;
    bool requestReferences(int absolutePosition);

    CObjectViewerModel m_model;
    ShownText m_shown;
    wxTreeCtrl* m_tree = nullptr;
    wxStyledTextCtrl* m_text = nullptr;
    wxButton* m_stepButtons[4] = {};
    wxFindReplaceData m_findData;
    wxFindReplaceDialog* m_findDialog = nullptr;
    std::vector<CResultLocation> m_back; // where each F12 started
    std::string m_referencesTarget;
};
