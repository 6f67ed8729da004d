#pragma once

#include "results/ResultList.h"

#include <wx/listctrl.h>
#include <wx/timer.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

class ISettingsStore;
class wxImageList;

// The report list every result is shown in: a virtual list over a CResultList (so 100,000 rows
// cost no more than the visible ones), one icon per object type, sorting by a column click and
// search in the list. Producers write to the CResultList from any thread; the control follows it
// when SyncFromList is called on the user-interface thread.
class CResultListCtrl : public wxListCtrl {
public:
    // The column widths the user sets are kept in layoutStore (null: nowhere).
    CResultListCtrl(wxWindow* parent, wxWindowID id, CResultList& list, ISettingsStore* layoutStore,
                    const wxRect& rect, long style = wxLC_REPORT | wxLC_VIRTUAL | wxLC_SINGLE_SEL);

    CResultList& list() { return m_list; }
    const CResultList& list() const { return m_list; }

    // Brings columns, row count and cells up to date with the list; true when anything changed.
    bool SyncFromList();
    // FindInList of the list, then focus, selection and scrolling of the control to the hit.
    bool FindInList(const std::string& text);
    // Scrolls back to the first row (a new job's rows start there).
    void ScrollToTop();
    // The first selected row of the control, -1 when none.
    int GetFirstSelectedRow() const;
    // A column heading click: sorts with the shared direction (nothing on an empty list).
    void ClickColumn(int column);
    // Called with the row index after a mouse click on a row, and with the selected row on Enter.
    void SetRowClickHandler(std::function<void(int row)> handler) { m_rowClick = std::move(handler); }

    // Image list index of an icon resource ID, loading the icon on its first use; -1 for none.
    int ImageIndexFor(int iconId);
    // Height of the heading bar above the rows.
    int HeadingBarHeight() const;

    // Where column widths are remembered per list kind (by headings); null: nowhere.
    void SetLayoutStore(ISettingsStore* store) { m_layoutStore = store; }
    // Gives the column the width of its widest text (heading and rows) and remembers it.
    void FitColumn(int column);
    // The first width of a column: the given one, but never narrower than its heading text.
    int FirstColumnWidth(const std::string& heading, int width) const;
    // The list text of the selected rows (of every row when none is selected).
    std::string SelectedRowsText() const;
    // Puts SelectedRowsText on the clipboard (Ctrl+C in the list); false when the clipboard refused.
    bool CopySelectedRows();
    // Whether focus is the list or its row area.
    bool HasFocusIn(const wxWindow* focus) const;

    // What SyncFromList did, so tests can tell a full redraw from drawing the new rows only.
    struct SyncCounts {
        int itemCountSets = 0;  // SetItemCount calls
        int fullRefreshes = 0;  // redraws of the whole list
        std::vector<std::pair<long, long>> refreshedRows; // first and last row of each partial redraw
        long cellTexts = 0;     // cells the list asked for, to draw or measure them
    };
    const SyncCounts& syncCounts() const { return m_syncCounts; }
    void resetSyncCounts() { m_syncCounts = SyncCounts(); }

protected:
    wxString OnGetItemText(long item, long column) const override;
    int OnGetItemImage(long item) const override;

private:
    void rebuildColumns(const std::vector<CResultColumn>& columns);
    void onColumnClick(wxListEvent& event);
    void onSelected(wxListEvent& event);
    void onDeselected(wxListEvent& event);
    void onMouseUp(wxMouseEvent& event);
    void onKeyDown(wxKeyEvent& event);
    void onHeadingDoubleClick(wxMouseEvent& event);
    void onHeadingMouseUp(wxMouseEvent& event);
    void onPaintPart(wxPaintEvent& event);
    void onColumnDragged(wxListEvent& event);
    void ensureImageLists();
    void showNewRows(int rows);
    std::vector<std::string> headings() const;
    void rememberWidths();
    wxWindow* headingWindow() const;

    CResultList& m_list;
    std::uint64_t m_seenChanges = UINT64_MAX;
    std::uint64_t m_seenReshapes = UINT64_MAX;
    ISettingsStore* m_layoutStore = nullptr;
    int m_fitOnMouseUp = -1; // the column a double click on its edge fits once the button is up
    wxTimer m_fitTimer;
    mutable SyncCounts m_syncCounts;
    std::vector<CResultColumn> m_shownColumns;
    int m_shownRows = -1;
    std::function<void(int)> m_rowClick;
    wxImageList* m_small = nullptr; // owned by the control once assigned
    wxImageList* m_large = nullptr;
    std::map<int, int> m_iconIndex;
};
