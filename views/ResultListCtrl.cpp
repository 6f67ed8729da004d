#include "views/ResultListCtrl.h"

#include "resources/Icons.h"
#include "views/AnsiText.h"

#include <wx/imaglist.h>
#include <wx/utils.h>

#include <algorithm>

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
} // namespace

CResultListCtrl::CResultListCtrl(wxWindow* parent, wxWindowID id, CResultList& list, const wxRect& rect,
                                 long style)
    : wxListCtrl(parent, id, rect.GetPosition(), rect.GetSize(), style), m_list(list)
{
    Bind(wxEVT_LIST_COL_CLICK, &CResultListCtrl::onColumnClick, this);
    Bind(wxEVT_LIST_ITEM_SELECTED, &CResultListCtrl::onSelected, this);
    Bind(wxEVT_LIST_ITEM_DESELECTED, &CResultListCtrl::onDeselected, this);
    // The generic list passes its row area's mouse events to the control first.
    Bind(wxEVT_LEFT_UP, &CResultListCtrl::onMouseUp, this);
    Bind(wxEVT_KEY_DOWN, &CResultListCtrl::onKeyDown, this);
}

bool CResultListCtrl::SyncFromList()
{
    std::uint64_t changes = m_list.GetChangeCount();
    if (changes == m_seenChanges)
        return false;
    m_seenChanges = changes;
    std::vector<CResultColumn> columns;
    for (int c = 0, n = m_list.GetColumnCount(); c < n; ++c)
        columns.push_back(m_list.GetColumn(c));
    if (!sameColumns(columns, m_shownColumns))
        rebuildColumns(columns);
    int rows = m_list.GetRowCount();
    if (rows != m_shownRows) {
        m_shownRows = rows;
        SetItemCount(rows);
    }
    Refresh();
    return true;
}

void CResultListCtrl::rebuildColumns(const std::vector<CResultColumn>& columns)
{
    Freeze();
    DeleteAllColumns();
    for (size_t c = 0; c < columns.size(); ++c)
        InsertColumn(static_cast<long>(c), fromAnsi(columns[c].heading), columnFormat(columns[c].align),
                     columns[c].width);
    m_shownColumns = columns;
    m_shownRows = -1;
    Thaw();
}

wxString CResultListCtrl::OnGetItemText(long item, long column) const
{
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
    if (m_list.OnColumnClick(column))
        SyncFromList();
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
