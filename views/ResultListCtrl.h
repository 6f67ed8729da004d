#pragma once

#include "results/ResultList.h"

#include <wx/listctrl.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

class wxImageList;

// The report list every result is shown in: a virtual list over a CResultList (so 100,000 rows
// cost no more than the visible ones), one icon per object type, sorting by a column click and
// search in the list. Producers write to the CResultList from any thread; the control follows it
// when SyncFromList is called on the user-interface thread.
class CResultListCtrl : public wxListCtrl {
public:
    CResultListCtrl(wxWindow* parent, wxWindowID id, CResultList& list, const wxRect& rect,
                    long style = wxLC_REPORT | wxLC_VIRTUAL | wxLC_SINGLE_SEL);

    CResultList& list() { return m_list; }
    const CResultList& list() const { return m_list; }

    // Brings columns, row count and cells up to date with the list; true when anything changed.
    bool SyncFromList();
    // FindInList of the list, then focus, selection and scrolling of the control to the hit.
    bool FindInList(const std::string& text);
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
    void ensureImageLists();

    CResultList& m_list;
    std::uint64_t m_seenChanges = UINT64_MAX;
    std::vector<CResultColumn> m_shownColumns;
    int m_shownRows = -1;
    std::function<void(int)> m_rowClick;
    wxImageList* m_small = nullptr; // owned by the control once assigned
    wxImageList* m_large = nullptr;
    std::map<int, int> m_iconIndex;
};
