#pragma once

#include "model/ObjectViewerModel.h"

#include <wx/dialog.h>
#include <wx/treebase.h>

#include <string>
#include <utility>
#include <vector>

class CResultLocation;
class ISettingsStore;
class wxButton;
class wxCheckBox;
class wxPanel;
class wxSplitterWindow;
class wxStaticText;
class wxStyledTextCtrl;
class wxTextCtrl;
class wxTreeCtrl;
class wxTreeEvent;
class wxIdleEvent;

// The controls of the viewer's find box and the sash between outline and text.
enum {
    IDC_FIND_TEXT = 1100,
    IDC_FIND_MATCH_CASE,
    IDC_FIND_NEXT,
    IDC_FIND_PREVIOUS,
    IDC_FIND_STATE,
    IDC_OBJECT_SPLITTER,
};

// The object viewer (dialog 137): the object's outline in a tree beside its text (a sash between
// them), every hit of the last search in bold red over the C/AL colouring, four buttons that step
// from hit to hit, and a find box (Ctrl+F; F3 and Shift+F3 find again; Esc closes the box only).
class CObjectViewer : public wxDialog {
public:
    // The viewer keeps its size and place in settings.
    CObjectViewer(ISettingsStore& settings, wxWindow* parent, const CResultLocation& location);

    // Runs the viewer on location modally; true when the user closed it with OK. When the user asks
    // for the references of a name (Shift+F12, "Find references"), the viewer closes and
    // referencesTarget receives the target text for the references operation.
    static bool show(ISettingsStore& settings, wxWindow* parent, const CResultLocation& location,
                     std::string* referencesTarget = nullptr);

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
    // Makes hit n (clamped) current: selected, about ten lines below the top, horizontally in view
    // with the start of its line when both fit.
    void ShowHit(int n);
    // Scrolls to the declaration of a tree item and selects the rest of its line; false for an item
    // without a declaration.
    bool ScrollToDeclaration(const wxTreeItemId& item);
    // Selects the next (or previous) occurrence of text after (before) the selection, wrapping
    // around once; false when there is none.
    bool FindNext(const wxString& text, bool forward, bool matchCase);
    // Saves size and position before the dialog ends.
    void EndModal(int code) override;
    // The find box: shown with its text selected and the focus, or hidden with the focus back in
    // the object's text.
    void ShowFindBox(bool show);
    bool IsFindBoxShown() const;
    wxSplitterWindow* Splitter() const { return m_splitter; }
    // True once the whole text has its colours (a large object is coloured in idle time).
    bool IsFullyStyled() const;

private:
    void createControls();
    void fillTree();
    void fillText();
    void applyPlacement();
    void selectAndScroll(int from, int to, int firstLine);
    void scrollHorizontallyTo(int from, int to);
    void onStepButton(wxCommandEvent& event);
    void onTreeActivated(wxTreeEvent& event);
    void styleAround(int line);
    void applyStyles(int from, int to);
    void onIdleStyling(wxIdleEvent& event);
    void createFindBox();
    void findAgain(bool forward);
    void onCharHook(wxKeyEvent& event);
    void bindNavigation();
    void addFieldsRoot();
    void showLocation(const CResultLocation& location);
    int caretObjectOffset() const;
    int caretObjectOffsetOf(int shownPosition) const;
    bool requestReferences(int absolutePosition);

    ISettingsStore& m_settings;
    CObjectViewerModel m_model;
    ShownText m_shown;
    std::string m_styles;                        // one style byte per byte of the shown text
    std::vector<std::pair<int, int>> m_unstyled; // ranges of it not yet given to the control
    bool m_stylingInIdle = false;
    wxSplitterWindow* m_splitter = nullptr;
    wxTreeCtrl* m_tree = nullptr;
    wxStyledTextCtrl* m_text = nullptr;
    wxButton* m_stepButtons[4] = {};
    wxPanel* m_findBox = nullptr;
    wxTextCtrl* m_findText = nullptr;
    wxCheckBox* m_matchCase = nullptr;
    wxStaticText* m_findState = nullptr; // "not found", or empty
    std::vector<CResultLocation> m_back; // where each F12 started
    std::string m_referencesTarget;
};
