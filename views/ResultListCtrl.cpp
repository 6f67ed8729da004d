#include "views/ResultListCtrl.h"

#include "resources/Icons.h"
#include "results/ListExportText.h"
#include "settings/LayoutSettings.h"
#include "views/AnsiText.h"

#include <wx/clipbrd.h>
#include <wx/dcclient.h>
#include <wx/imaglist.h>
#include <wx/timer.h>
#include <wx/utils.h>

#include <algorithm>
#include <memory>
#include <utility>

namespace {
wxListColumnFormat columnFormat(int align)
{
    switch (align) {
    case LIST_ALIGN_CENTER: return wxLIST_FORMAT_CENTRE;
    case LIST_ALIGN_RIGHT: return wxLIST_FORMAT_RIGHT;
    default: return wxLIST_FORMAT_LEFT;
    }
}

bool sameColumns(const std::vector<CResultColumn>& a, const std::vector<CResultColumn>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].heading != b[i].heading || a[i].align != b[i].align || a[i].width != b[i].width)
            return false;
    return true;
}

constexpr int kHeadingPadding = 24;  // the heading's margins and room for the sort arrow
constexpr int kCellPadding = 12;     // a blank on each side of a cell and the grid line
constexpr int kEdgeGrip = 5;         // how close to a heading's edge a double click must be
constexpr int kFitRowLimit = 5000;   // rows measured when a column is fitted
constexpr int kFitDelayMs = 50;      // after the button is up, when the heading is done resizing

// The column under x (in the row area's coordinates), -1 right of the last one.
int columnAt(const wxListCtrl& list, int x)
{
    // The first row's cell tells the horizontal scrolling.
    int edge = 0;
    wxRect first;
    if (list.GetItemCount() > 0 && list.GetSubItemRect(list.GetTopItem(), 0, first))
        edge = first.x;
    for (int c = 0; c < list.GetColumnCount(); ++c) {
        edge += list.GetColumnWidth(c);
        if (x < edge)
            return c;
    }
    return -1;
}
} // namespace

CResultListCtrl::CResultListCtrl(wxWindow* parent, wxWindowID id, CResultList& list, ISettingsStore* layoutStore,
                                 const wxRect& rect, long style)
    : wxListCtrl(parent, id, rect.GetPosition(), rect.GetSize(), style), m_list(list), m_layoutStore(layoutStore)
{
    Bind(wxEVT_LIST_COL_CLICK, &CResultListCtrl::onColumnClick, this);
    Bind(wxEVT_LIST_ITEM_SELECTED, &CResultListCtrl::onSelected, this);
    Bind(wxEVT_LIST_ITEM_DESELECTED, &CResultListCtrl::onDeselected, this);
    // The generic list passes its row area's mouse events to the control first.
    Bind(wxEVT_LEFT_UP, &CResultListCtrl::onMouseUp, this);
    Bind(wxEVT_KEY_DOWN, &CResultListCtrl::onKeyDown, this);
    Bind(wxEVT_LIST_COL_END_DRAG, &CResultListCtrl::onColumnDragged, this);
    m_fitTimer.Bind(wxEVT_TIMER, [this](wxTimerEvent&) {
        FitColumn(m_fitOnMouseUp);
        m_fitOnMouseUp = -1;
    });
    // The heading bar is a child window of the generic list: its double clicks come from there.
    for (wxWindow* child : GetChildren()) {
        child->Bind(wxEVT_LEFT_DCLICK, &CResultListCtrl::onHeadingDoubleClick, this);
        child->Bind(wxEVT_LEFT_UP, &CResultListCtrl::onHeadingMouseUp, this);
        child->Bind(wxEVT_PAINT, &CResultListCtrl::onPaintPart, this);
    }
    // A cell cut by its column shows its whole text as the row area's tooltip.
    auto shownCell = std::make_shared<std::pair<long, int>>(-1, -1);
    Bind(wxEVT_MOTION, [this, shownCell](wxMouseEvent& event) {
        event.Skip();
        int flags = 0;
        const long row = HitTest(event.GetPosition(), flags);
        const int column = row >= 0 ? columnAt(*this, event.GetX()) : -1;
        if (std::make_pair(row, column) == *shownCell)
            return;
        *shownCell = {row, column};
        wxWindow* rows = nullptr;
        for (wxWindow* child : GetChildren())
            if (child != headingWindow())
                rows = child;
        if (rows == nullptr)
            return;
        wxString text = column >= 0 ? OnGetItemText(row, column) : wxString();
        const int room = column >= 0 ? GetColumnWidth(column) - kCellPadding - (column == 0 && m_small ? 20 : 0) : 0;
        if (!text.empty() && GetTextExtent(text).x > room)
            rows->SetToolTip(text);
        else
            rows->UnsetToolTip();
    });
}

bool CResultListCtrl::SyncFromList()
{
    std::uint64_t changes = m_list.GetChangeCount();
    if (changes == m_seenChanges)
        return false;
    m_seenChanges = changes;
    // Only a reshaped list (columns, removed or reordered rows) is drawn anew as a whole; while a
    // job appends rows, the rows on screen stay as they are and only new ones are drawn.
    std::uint64_t reshapes = m_list.GetReshapeCount();
    const bool reshaped = reshapes != m_seenReshapes;
    m_seenReshapes = reshapes;
    if (reshaped) {
        std::vector<CResultColumn> columns;
        for (int c = 0, n = m_list.GetColumnCount(); c < n; ++c)
            columns.push_back(m_list.GetColumn(c));
        if (!sameColumns(columns, m_shownColumns))
            rebuildColumns(columns);
        if (GetSortIndicator() >= 0)
            RemoveSortIndicator();
    }
    const int rows = m_list.GetRowCount();
    const int shownBefore = m_shownRows;
    if (rows != m_shownRows) {
        m_shownRows = rows;
        SetItemCount(rows);
        ++m_syncCounts.itemCountSets;
        // The generic list paints nothing (a blank frame) while a new count waits for the idle
        // time to lay out the rows; laying them out now leaves no such moment.
        wxListCtrl::OnInternalIdle();
    }
    // A reset list or a new job's list has no selection: the highlighted row goes with it.
    if (m_list.GetFirstSelectedRow() < 0 && GetItemCount() > 0 && GetFirstSelectedRow() >= 0)
        SetItemState(-1, 0, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    if (reshaped || shownBefore < 0 || rows < shownBefore) {
        Refresh();
        ++m_syncCounts.fullRefreshes;
    } else if (rows > shownBefore) {
        showNewRows(shownBefore);
    }
    return true;
}

void CResultListCtrl::onPaintPart(wxPaintEvent& event)
{
    // A size change (the scroll bar that comes with the rows) also leaves the rows waiting for
    // their idle layout, and the list paints nothing until then: lay them out before it paints.
    event.Skip();
    wxListCtrl::OnInternalIdle();
}

void CResultListCtrl::showNewRows(int firstNew)
{
    // Rows below the visible part are drawn when they are scrolled in.
    const long top = GetTopItem();
    const long last = std::min<long>(m_shownRows - 1, top + GetCountPerPage());
    const long from = std::max<long>(firstNew, top);
    if (from > last)
        return;
    RefreshItems(from, last);
    m_syncCounts.refreshedRows.emplace_back(from, last);
}

void CResultListCtrl::rebuildColumns(const std::vector<CResultColumn>& columns)
{
    Freeze();
    DeleteAllColumns();
    m_shownColumns = columns;
    // Widths the user gave this kind of list win; else the producer's, widened to the heading.
    std::vector<int> stored =
        m_layoutStore != nullptr ? listcolumns::read(*m_layoutStore, headings()) : std::vector<int>();
    for (size_t c = 0; c < columns.size(); ++c) {
        int width = stored.empty() ? FirstColumnWidth(columns[c].heading, columns[c].width) : stored[c];
        InsertColumn(static_cast<long>(c), fromAnsi(columns[c].heading), columnFormat(columns[c].align), width);
    }
    m_shownRows = -1;
    Thaw();
}

std::vector<std::string> CResultListCtrl::headings() const
{
    std::vector<std::string> result;
    for (const CResultColumn& column : m_shownColumns)
        result.push_back(column.heading);
    return result;
}

int CResultListCtrl::FirstColumnWidth(const std::string& heading, int width) const
{
    if (heading.empty())
        return width;
    wxClientDC dc(const_cast<CResultListCtrl*>(this));
    dc.SetFont(GetFont());
    return std::max(width, dc.GetTextExtent(fromAnsi(heading)).x + kHeadingPadding);
}

void CResultListCtrl::FitColumn(int column)
{
    if (column < 0 || column >= GetColumnCount() || column >= static_cast<int>(m_shownColumns.size()))
        return;
    wxClientDC dc(this);
    dc.SetFont(GetFont());
    int width = dc.GetTextExtent(fromAnsi(m_shownColumns[column].heading)).x + kHeadingPadding;
    const int rows = std::min(GetItemCount(), kFitRowLimit);
    int icon = 0;
    if (column == 0 && m_small != nullptr) {
        int w = 0, h = 0;
        m_small->GetSize(0, w, h);
        icon = w + 4;
    }
    for (int r = 0; r < rows; ++r)
        width = std::max(width, dc.GetTextExtent(OnGetItemText(r, column)).x + kCellPadding + icon);
    SetColumnWidth(column, width);
    rememberWidths();
}

void CResultListCtrl::rememberWidths()
{
    if (m_layoutStore == nullptr || m_shownColumns.empty() || GetColumnCount() != static_cast<int>(m_shownColumns.size()))
        return;
    std::vector<int> widths;
    for (int c = 0; c < GetColumnCount(); ++c)
        widths.push_back(GetColumnWidth(c));
    listcolumns::write(*m_layoutStore, headings(), widths);
}

std::string CResultListCtrl::SelectedRowsText() const
{
    std::vector<int> rows;
    for (long row = GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); row >= 0;
         row = GetNextItem(row, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED))
        rows.push_back(static_cast<int>(row));
    return listTextOfRows(m_list, rows);
}

bool CResultListCtrl::CopySelectedRows()
{
    wxClipboardLocker locker;
    if (!locker)
        return false;
    wxTheClipboard->SetData(new wxTextDataObject(fromAnsi(SelectedRowsText())));
    wxTheClipboard->Flush();
    return true;
}

bool CResultListCtrl::HasFocusIn(const wxWindow* focus) const
{
    return focus != nullptr && (focus == this || focus->GetParent() == this);
}

wxWindow* CResultListCtrl::headingWindow() const
{
    // The generic list's heading bar: the child at the top, above the row area.
    wxWindow* heading = nullptr;
    for (wxWindow* child : GetChildren())
        if (child->GetPosition().y == 0 && child->GetSize().y < GetSize().y / 2)
            heading = child;
    return heading;
}

void CResultListCtrl::onHeadingDoubleClick(wxMouseEvent& event)
{
    wxWindow* source = dynamic_cast<wxWindow*>(event.GetEventObject());
    if (source == nullptr || source != headingWindow()) {
        event.Skip();
        return;
    }
    // Column edges in the heading's coordinates; the first row's cell tells the horizontal scrolling.
    int edge = 0;
    wxRect first;
    if (GetItemCount() > 0 && GetSubItemRect(GetTopItem(), 0, first))
        edge = first.x;
    for (int c = 0; c < GetColumnCount(); ++c) {
        edge += GetColumnWidth(c);
        if (std::abs(event.GetX() - edge) <= kEdgeGrip) {
            m_fitOnMouseUp = c;
            return;
        }
    }
    event.Skip();
}

void CResultListCtrl::onHeadingMouseUp(wxMouseEvent& event)
{
    event.Skip();
    // The first press of the double click resized the column to where the mouse is; the heading
    // applies that width once more after the button is up, so the fitted width comes a little later.
    if (m_fitOnMouseUp >= 0)
        m_fitTimer.StartOnce(kFitDelayMs);
}

void CResultListCtrl::onColumnDragged(wxListEvent& event)
{
    event.Skip();
    CallAfter([this] { rememberWidths(); });
}

wxString CResultListCtrl::OnGetItemText(long item, long column) const
{
    ++m_syncCounts.cellTexts;
    // A row is one line: line breaks inside a cell (context texts) show as blanks.
    std::string cell = m_list.GetCellText(static_cast<int>(item), static_cast<int>(column));
    std::replace(cell.begin(), cell.end(), '\r', ' ');
    std::replace(cell.begin(), cell.end(), '\n', ' ');
    return fromAnsi(cell);
}

int CResultListCtrl::OnGetItemImage(long item) const
{
    return const_cast<CResultListCtrl*>(this)->ImageIndexFor(m_list.GetIcon(static_cast<int>(item)));
}

void CResultListCtrl::ensureImageLists()
{
    if (m_small != nullptr)
        return;
    m_small = new wxImageList(16, 16, true, 1);
    m_large = new wxImageList(32, 32, true, 1);
    AssignImageList(m_small, wxIMAGE_LIST_SMALL);
    AssignImageList(m_large, wxIMAGE_LIST_NORMAL);
}

int CResultListCtrl::ImageIndexFor(int iconId)
{
    if (iconId < 0)
        return -1;
    auto known = m_iconIndex.find(iconId);
    if (known != m_iconIndex.end())
        return known->second;
    wxBitmap small = typeIconBitmap(iconId, false);
    if (!small.IsOk())
        return m_iconIndex[iconId] = -1;
    ensureImageLists();
    int index = m_small->Add(small);
    m_large->Add(typeIconBitmap(iconId, true));
    return m_iconIndex[iconId] = index;
}

void CResultListCtrl::ScrollToTop()
{
#ifdef __WXMSW__
    // The native list keeps no scroll position of its own to set: showing the first row does it.
    if (GetItemCount() > 0)
        EnsureVisible(0);
#else
    Scroll(0, 0); // the generic list is a scrolled window
#endif
}

int CResultListCtrl::GetFirstSelectedRow() const
{
    return static_cast<int>(GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED));
}

bool CResultListCtrl::FindInList(const std::string& text)
{
    bool found = m_list.FindInList(text);
    int hit = m_list.GetFirstSelectedRow();
    SetFocus();
    if (GetItemCount() > 0)
        SetItemState(-1, 0, wxLIST_STATE_SELECTED); // -1: every row of a virtual list
    if (found && hit >= 0 && hit < GetItemCount()) {
        SetItemState(hit, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                     wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
        EnsureVisible(hit);
    }
    return found;
}

void CResultListCtrl::ClickColumn(int column)
{
    wxBusyCursor wait;
    if (!m_list.OnColumnClick(column))
        return;
    SyncFromList();
    // The click sorted in the direction the shared flag now shows (the next click takes the other).
    ShowSortIndicator(column, !CResultList::nextClickSortsAscending());
}

void CResultListCtrl::onColumnClick(wxListEvent& event)
{
    ClickColumn(event.GetColumn());
}

void CResultListCtrl::onSelected(wxListEvent& event)
{
    m_list.SelectRow(static_cast<int>(event.GetIndex()));
    event.Skip();
}

void CResultListCtrl::onDeselected(wxListEvent& event)
{
    if (GetFirstSelectedRow() < 0)
        m_list.DeselectAllRows();
    event.Skip();
}

void CResultListCtrl::onMouseUp(wxMouseEvent& event)
{
    event.Skip();
    int flags = 0;
    long row = HitTest(event.GetPosition(), flags);
    if (row >= 0 && (flags & wxLIST_HITTEST_ONITEM) && m_rowClick)
        CallAfter([this, row] { m_rowClick(static_cast<int>(row)); });
}

void CResultListCtrl::onKeyDown(wxKeyEvent& event)
{
    if (event.GetKeyCode() == 'C' && event.GetModifiers() == wxMOD_CONTROL) {
        CopySelectedRows();
        return;
    }
    int row = GetFirstSelectedRow();
    bool enter = event.GetKeyCode() == WXK_RETURN || event.GetKeyCode() == WXK_NUMPAD_ENTER;
    if (!enter || row < 0 || !m_rowClick) {
        event.Skip();
        return;
    }
    CallAfter([this, row] { m_rowClick(row); });
}

int CResultListCtrl::HeadingBarHeight() const
{
    // The generic list puts its heading bar and its row area into child windows, rows below.
    int rowsTop = 0;
    for (wxWindow* child : GetChildren())
        rowsTop = std::max(rowsTop, child->GetPosition().y);
    if (rowsTop > 0)
        return rowsTop;
    wxRect first;
    if (GetItemCount() > 0 && GetTopItem() == 0 && GetItemRect(0, first) && first.y > 0)
        return first.y;
    return GetCharHeight() + 8;
}
