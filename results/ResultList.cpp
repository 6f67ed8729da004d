#include "results/ResultList.h"

#include "results/DateParse.h"
#include "results/ListTextCell.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace {

constexpr std::size_t kListTextCellLength = 250;

// Cells are read back through fixed buffers: longer texts are cut in these operations.
constexpr std::size_t kSortFindCellLength = 255;

// Shared by every list: the next accepted column click sorts ascending when set.
std::mutex g_directionMutex;
bool g_nextClickAscending = false;

enum class SortKind { Text, Number, Date };

struct SortRecord {
    CResultList::StoredRow row;
    std::string text;
    double value = 0.0;
};

std::string_view cut(std::string_view text, std::size_t length)
{
    return text.substr(0, length);
}

char foldAsciiUpper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

unsigned char foldAsciiLower(char c)
{
    return static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
}

std::string upperAscii(std::string_view text)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), foldAsciiUpper);
    return result;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::size_t skipDigits(std::string_view text, std::size_t pos)
{
    while (pos < text.size() && isDigit(text[pos]))
        ++pos;
    return pos;
}

// Length of the longest decimal number at pos (digits, point, exponent), 0 when none.
std::size_t decimalLength(std::string_view text, std::size_t pos)
{
    std::size_t end = skipDigits(text, pos);
    bool digits = end > pos;
    if (end < text.size() && text[end] == '.') {
        std::size_t fraction = skipDigits(text, end + 1);
        digits = digits || fraction > end + 1;
        end = fraction;
    }
    if (!digits)
        return 0;
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        std::size_t exponent = end + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-'))
            ++exponent;
        std::size_t exponentEnd = skipDigits(text, exponent);
        if (exponentEnd > exponent)
            end = exponentEnd;
    }
    return end - pos;
}

// Reads as much of the text as forms a decimal number; no number gives 0. Unlike strtod it
// ignores the C locale's decimal point and never reads hex, "inf" or "nan".
double prefixNumber(std::string_view text)
{
    std::size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || (text[pos] >= '\t' && text[pos] <= '\r')))
        ++pos;
    bool negative = pos < text.size() && text[pos] == '-';
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+'))
        ++pos;
    std::size_t length = decimalLength(text, pos);
    if (length == 0)
        return 0.0;
    double value = 0.0;
    const char* first = text.data() + pos;
    if (std::from_chars(first, first + length, value).ec == std::errc::result_out_of_range) {
        std::string_view number = text.substr(pos, length);
        bool tiny = number.find("e-") != std::string_view::npos
                 || number.find("E-") != std::string_view::npos;
        value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    }
    return negative ? -value : value;
}

SortKind kindOf(std::string_view text)
{
    double date = 0.0;
    if (parseDateTime(text, date))
        return SortKind::Date;
    if (prefixNumber(text) != 0.0 || text == "0")
        return SortKind::Number;
    return SortKind::Text;
}

// Negative, zero or positive as left sorts before, with or after right.
int compareText(const std::string& left, const std::string& right)
{
    std::size_t common = std::min(left.size(), right.size());
    for (std::size_t i = 0; i < common; ++i) {
        unsigned char l = foldAsciiLower(left[i]);
        unsigned char r = foldAsciiLower(right[i]);
        if (l != r)
            return l < r ? -1 : 1;
    }
    if (left.size() == right.size())
        return 0;
    return left.size() < right.size() ? -1 : 1;
}

int compareKeys(const SortRecord& left, const SortRecord& right, SortKind kind)
{
    if (kind == SortKind::Text)
        return compareText(left.text, right.text);
    if (left.value == right.value)
        return 0;
    return left.value < right.value ? -1 : 1;
}

SortRecord makeRecord(CResultList::StoredRow&& row, int column, SortKind kind)
{
    SortRecord record;
    std::string_view key = cut(row.cells[static_cast<std::size_t>(column)], kSortFindCellLength);
    if (kind == SortKind::Text) {
        record.text = std::string(key);
    } else if (kind == SortKind::Number) {
        record.value = prefixNumber(key);
    } else if (!parseDateTime(key, record.value)) {
        record.value = 0.0; // the zero date, 30 December 1899
    }
    record.row = std::move(row);
    return record;
}

// Every CR LF pair removed in one left-to-right pass.
std::string withoutCrLf(std::string_view text)
{
    if (text.find('\r') == std::string_view::npos)
        return std::string(text);
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        else
            result += text[i];
    }
    return result;
}

} // namespace

int CResultList::AddColumn(const std::string& heading, int align, int width)
{
    std::lock_guard lock(m_mutex);
    m_columns.push_back(CResultColumn{heading, align, width});
    ++m_changes;
    ++m_reshapes;
    return static_cast<int>(m_columns.size()) - 1;
}

int CResultList::AddRow(const std::vector<std::string>& cells, int itemData, int icon)
{
    if (cells.empty())
        return -1;
    std::lock_guard lock(m_mutex);
    std::size_t kept = std::max<std::size_t>(1, std::min(cells.size(), m_columns.size()));
    StoredRow row;
    row.cells = CPackedCells(cells, kept);
    row.itemData = itemData;
    row.icon = icon < 0 ? -1 : icon;
    m_rows.push_back(std::move(row));
    ++m_changes;
    return static_cast<int>(m_rows.size()) - 1;
}

int CResultList::AddRow(std::vector<std::string>&& cells, int itemData, int icon)
{
    return AddRow(static_cast<const std::vector<std::string>&>(cells), itemData, icon);
}

int CResultList::AddPackedRow(CPackedCells&& cells, int itemData, int icon)
{
    if (cells.size() == 0)
        return -1;
    std::lock_guard lock(m_mutex);
    std::size_t kept = std::max<std::size_t>(1, std::min(cells.size(), m_columns.size()));
    StoredRow row;
    row.cells = kept < cells.size() ? CPackedCells(cells.strings(), kept) : std::move(cells);
    row.itemData = itemData;
    row.icon = icon < 0 ? -1 : icon;
    m_rows.push_back(std::move(row));
    ++m_changes;
    return static_cast<int>(m_rows.size()) - 1;
}

void CResultList::DeleteAllRows()
{
    std::lock_guard lock(m_mutex);
    m_rows.clear();
    m_selected = -1;
    m_focused = -1;
    ++m_changes;
    ++m_reshapes;
}

void CResultList::ResetList()
{
    std::lock_guard lock(m_mutex);
    m_rows.clear();
    m_columns.clear();
    m_selected = -1;
    m_focused = -1;
    ++m_changes;
    ++m_reshapes;
}

int CResultList::GetColumnCount() const
{
    std::lock_guard lock(m_mutex);
    return static_cast<int>(m_columns.size());
}

int CResultList::GetRowCount() const
{
    std::lock_guard lock(m_mutex);
    return static_cast<int>(m_rows.size());
}

int CResultList::GetFirstSelectedRow() const
{
    std::lock_guard lock(m_mutex);
    return m_selected;
}

int CResultList::DeselectAllRows()
{
    std::lock_guard lock(m_mutex);
    m_selected = -1;
    ++m_changes;
    return static_cast<int>(m_rows.size());
}

void CResultList::SelectRow(int row)
{
    std::lock_guard lock(m_mutex);
    selectLocked(row);
}

int CResultList::GetFocusedRow() const
{
    std::lock_guard lock(m_mutex);
    return m_focused;
}

void CResultList::selectLocked(int row)
{
    bool valid = row >= 0 && row < static_cast<int>(m_rows.size());
    m_selected = valid ? row : -1;
    if (valid)
        m_focused = row;
    ++m_changes;
}

int CResultList::FindRowContaining(const std::string& text, int start) const
{
    std::lock_guard lock(m_mutex);
    return findRowLocked(upperAscii(text), start);
}

int CResultList::findRowLocked(const std::string& upperText, int start) const
{
    int rowCount = static_cast<int>(m_rows.size());
    for (int row = std::max(start, 0); row < rowCount; ++row) {
        const CPackedCells& cells = m_rows[row].cells;
        std::size_t present = std::min(cells.size(), m_columns.size());
        for (std::size_t column = 0; column < m_columns.size(); ++column) {
            std::string cell = column < present ? upperAscii(cut(cells[column], kSortFindCellLength))
                                                : std::string();
            if (cell.find(upperText) != std::string::npos)
                return row;
        }
    }
    return -1;
}

bool CResultList::FindInList(const std::string& text)
{
    std::lock_guard lock(m_mutex);
    int start = m_selected < 0 ? 0 : m_selected + 1;
    int hit = findRowLocked(upperAscii(text), start);
    selectLocked(hit);
    return hit >= 0;
}

void CResultList::SortByColumn(int column, bool ascending)
{
    std::lock_guard lock(m_mutex);
    sortLocked(column, ascending);
}

void CResultList::sortLocked(int column, bool ascending)
{
    if (m_rows.empty() || column < 0)
        return;
    SortKind kind = kindOf(cut(m_rows[0].cells[static_cast<std::size_t>(column)], kSortFindCellLength));

    std::vector<SortRecord> records;
    records.reserve(m_rows.size());
    for (StoredRow& row : m_rows)
        records.push_back(makeRecord(std::move(row), column, kind));
    // A stable sort with a strict order gives the order of the exchange sort that swaps only
    // pairs strictly out of order.
    std::stable_sort(records.begin(), records.end(),
                     [kind, ascending](const SortRecord& left, const SortRecord& right) {
                         int order = compareKeys(left, right, kind);
                         return ascending ? order < 0 : order > 0;
                     });
    for (std::size_t i = 0; i < records.size(); ++i)
        m_rows[i] = std::move(records[i].row);
    ++m_changes;
    ++m_reshapes;
}

bool CResultList::OnColumnClick(int column)
{
    std::lock_guard lock(m_mutex);
    if (m_rows.empty())
        return false;
    bool ascending = false;
    {
        std::lock_guard directionLock(g_directionMutex);
        ascending = g_nextClickAscending;
        g_nextClickAscending = !ascending;
    }
    sortLocked(column, ascending);
    return true;
}

bool CResultList::nextClickSortsAscending()
{
    std::lock_guard lock(g_directionMutex);
    return g_nextClickAscending;
}

void CResultList::resetSortDirection()
{
    std::lock_guard lock(g_directionMutex);
    g_nextClickAscending = false;
}

std::string listTextCell(std::string_view cell, std::size_t length)
{
    // A CR or LF that is no pair (a context cut between the two, a bare line feed) would break the
    // row in two in every text the list is copied or written to.
    std::string text = withoutCrLf(cut(cell, length));
    std::replace(text.begin(), text.end(), '\r', ' ');
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

std::string CResultList::ListTextCell(std::string_view cell)
{
    return listTextCell(cell, kListTextCellLength);
}

std::string CResultList::GetListText(const std::string& separator, const std::string& lineEnd) const
{
    std::lock_guard lock(m_mutex);
    std::string text;
    for (const CResultColumn& column : m_columns)
        text += column.heading + separator;
    text += lineEnd;
    for (const StoredRow& row : m_rows) {
        for (std::size_t column = 0; column < m_columns.size(); ++column) {
            if (column < row.cells.size())
                text += ListTextCell(row.cells[column]);
            text += separator;
        }
        text += lineEnd;
    }
    return text;
}

CResultColumn CResultList::GetColumn(int column) const
{
    std::lock_guard lock(m_mutex);
    if (column < 0 || column >= static_cast<int>(m_columns.size()))
        return CResultColumn{};
    return m_columns[column];
}

std::string CResultList::GetCellText(int row, int column) const
{
    std::lock_guard lock(m_mutex);
    if (row < 0 || row >= static_cast<int>(m_rows.size()) || column < 0)
        return std::string();
    return std::string(m_rows[row].cells[static_cast<std::size_t>(column)]);
}

int CResultList::GetItemData(int row) const
{
    std::lock_guard lock(m_mutex);
    return row >= 0 && row < static_cast<int>(m_rows.size()) ? m_rows[row].itemData : 0;
}

int CResultList::GetIcon(int row) const
{
    std::lock_guard lock(m_mutex);
    return row >= 0 && row < static_cast<int>(m_rows.size()) ? m_rows[row].icon : -1;
}

CResultRow CResultList::GetRow(int row) const
{
    std::lock_guard lock(m_mutex);
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return CResultRow{};
    const StoredRow& stored = m_rows[row];
    return CResultRow{stored.cells.strings(), stored.itemData, stored.icon, stored.stateImage};
}

void CResultList::TakeRows(const std::function<void(CResultRow&&)>& take)
{
    std::lock_guard lock(m_mutex);
    for (StoredRow& stored : m_rows) {
        CResultRow row{stored.cells.strings(), stored.itemData, stored.icon, stored.stateImage};
        stored.cells = CPackedCells();
        take(std::move(row));
    }
    std::vector<StoredRow>().swap(m_rows);
    m_selected = -1;
    m_focused = -1;
    ++m_changes;
    ++m_reshapes;
}

std::uint64_t CResultList::GetChangeCount() const
{
    std::lock_guard lock(m_mutex);
    return m_changes;
}

std::uint64_t CResultList::GetReshapeCount() const
{
    std::lock_guard lock(m_mutex);
    return m_reshapes;
}


