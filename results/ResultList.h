#pragma once

#include "results/PackedCells.h"

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

// Column alignment codes of AddColumn.
enum { LIST_ALIGN_LEFT = 0, LIST_ALIGN_CENTER = 1, LIST_ALIGN_RIGHT = 2 };

struct CResultColumn {
    std::string heading;
    int align = LIST_ALIGN_LEFT;
    int width = 0;
};

struct CResultRow {
    std::vector<std::string> cells; // at most one per column; missing trailing cells are empty
    int itemData = 0;
    int icon = -1;                  // icon resource ID, negative for none
    int stateImage = 0;
};

// The data and operations of a result list: columns, rows, selection, sort, find and list text.
// Every analysis writes to one; the desktop program's list control displays it. All operations
// lock, so a worker may fill the list while the user-interface thread reads it.
class CResultList {
public:
    int AddColumn(const std::string& heading, int align, int width);
    // Appends a row; an empty cell array adds nothing and returns -1.
    int AddRow(const std::vector<std::string>& cells, int itemData, int icon);
    // The same, taking over the cells instead of copying them.
    int AddRow(std::vector<std::string>&& cells, int itemData, int icon);
    int AddRow(const std::vector<std::string>& cells, int icon) { return AddRow(cells, 0, icon); }
    // The same with cells packed beforehand (on a worker): only moved in, unless they are more
    // than the columns.
    int AddPackedRow(CPackedCells&& cells, int itemData, int icon);
    void DeleteAllRows();
    void ResetList();
    int GetColumnCount() const;
    int GetRowCount() const;

    int GetFirstSelectedRow() const;
    int DeselectAllRows();
    void SelectRow(int row);  // the only selected row, and the focused one
    int GetFocusedRow() const;

    // First row from start whose cell (first 255 bytes) contains text, ignoring case of a-z; no wrap.
    int FindRowContaining(const std::string& text, int start) const;
    // Steps from the selection to the next row containing text; selects it (or nothing).
    bool FindInList(const std::string& text);

    // Stable sort by the column's kind (date, number, text) taken from row 0.
    void SortByColumn(int column, bool ascending);
    // A click on a heading: with rows, flips the process-wide direction and sorts; returns whether
    // it sorted.
    bool OnColumnClick(int column);
    // The process-wide direction the next click sorts in (descending first).
    static bool nextClickSortsAscending();
    static void resetSortDirection();

    // Heading line, then one line per row; every cell cut to 250 bytes, CR LF pairs removed,
    // followed by separator.
    std::string GetListText(const std::string& separator, const std::string& lineEnd) const;
    // One cell as the list text writes it: its first 250 bytes with every CR LF pair removed.
    static std::string ListTextCell(std::string_view cell);

    // Read access for views (copies, taken under the lock).
    CResultColumn GetColumn(int column) const;
    std::string GetCellText(int row, int column) const;
    int GetItemData(int row) const;
    int GetIcon(int row) const;
    CResultRow GetRow(int row) const;
    // Hands every row in order to take and leaves the list without rows, each row's memory given
    // back as it goes (for a reader that needs the list no more). take runs under the lock.
    void TakeRows(const std::function<void(CResultRow&&)>& take);
    // Grows with every change, so a view can tell whether to refresh.
    std::uint64_t GetChangeCount() const;
    // Grows with every change but appended rows and selection: columns, removed or reordered
    // rows. While it stands still, a view needs to draw only the rows added since it last looked.
    std::uint64_t GetReshapeCount() const;

    // A row as the list keeps it: the cells in one block.
    struct StoredRow {
        CPackedCells cells;
        int itemData = 0;
        int icon = -1;
        int stateImage = 0;
    };

private:
    mutable std::mutex m_mutex;
    std::vector<CResultColumn> m_columns;
    std::vector<StoredRow> m_rows;
    int m_selected = -1;
    int m_focused = -1;
    std::uint64_t m_changes = 0;
    std::uint64_t m_reshapes = 0;

    int findRowLocked(const std::string& upperText, int start) const;
    void selectLocked(int row);  // an invalid row leaves nothing selected and the focus as it was
    void sortLocked(int column, bool ascending);
};
