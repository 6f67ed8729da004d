#include "cli/CliOutput.h"

#include "model/ObjektManager.h"
#include "results/ResultList.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <type_traits>
#include <unordered_map>

namespace {

// The object a row without a result location names by its header, found through a map built on
// first use.
class HeaderLookup {
public:
    explicit HeaderLookup(const CObjektManager& manager) : m_manager(manager) {}
    const CObjectRecord* find(const std::vector<std::string>& cells)
    {
        if (!m_built) {
            for (int i = m_manager.count() - 1; i >= 0; --i)
                m_objects[std::string(m_manager.get(i).headerText())] = i;
            m_built = true;
        }
        for (const std::string& cell : cells) {
            auto found = m_objects.find(cell);
            if (found != m_objects.end())
                return &m_manager.get(found->second);
        }
        return nullptr;
    }

private:
    const CObjektManager& m_manager;
    std::unordered_map<std::string, int> m_objects;
    bool m_built = false;
};

// The object whose span starts at the position a cell holds; null when none does.
const CObjectRecord* objectStartingAt(const CObjektManager& manager, const std::string& cell)
{
    char* end = nullptr;
    const long position = std::strtol(cell.c_str(), &end, 10);
    if (cell.empty() || *end != '\0' || position < 0 || position > 0x7FFFFFFFL)
        return nullptr;
    const int index = manager.objectAt(static_cast<int>(position));
    if (index < 0 || manager.get(index).objectSpan.start() != position)
        return nullptr;
    return &manager.get(index);
}

bool positionColumn(const std::string& heading)
{
    return heading == "Start" || heading == "End";
}

} // namespace

namespace {

// Keeps every row in the output list.
struct KeepRows {
    void operator()(OutputList& out, std::vector<std::string>&& cells) const { out.rows.push_back(std::move(cells)); }
};

// The output list of the rows that forEachRow hands over in order; keep(out, cells) takes each
// row's cells.
template <class ForEachRow, class KeepRow = KeepRows>
OutputList outputList(const std::string& name, const std::string& description, const CResultList& list,
                      const CObjektManager& manager, const CliListOptions& options, ForEachRow forEachRow,
                      KeepRow keep = KeepRows())
{
    auto written = [&](std::string_view cell) {
        std::string text = outputCell(cell);
        return options.ansi ? text : ansiToUtf8ViaOem(text, options.page);
    };
    OutputList out;
    out.name = name;
    out.description = description;
    const int columns = list.GetColumnCount();
    std::vector<std::string> headings;
    for (int c = 0; c < columns; ++c) {
        headings.push_back(list.GetColumn(c).heading);
        out.columns.push_back(written(headings.back()));
    }
    if (options.locations) {
        out.columns.push_back("ItemData");
        out.columns.push_back("Position");
    }
    HeaderLookup headers(manager);
    const auto start = std::find(headings.begin(), headings.end(), "Start");
    const int startColumn = start == headings.end() ? -1 : static_cast<int>(start - headings.begin());
    if constexpr (std::is_same_v<KeepRow, KeepRows>)
        out.rows.reserve(static_cast<size_t>(list.GetRowCount()));
    forEachRow([&](CResultRow&& row) {
        row.cells.resize(static_cast<size_t>(std::max(columns, 0)));
        const CResultLocation* location = nullptr;
        if (row.itemData >= 0 && row.itemData < manager.results.count())
            location = &manager.results.get(row.itemData);
        std::vector<std::string> cells;
        for (const std::string& cell : row.cells)
            cells.push_back(written(cell));
        if (options.locations) {
            cells.push_back(std::to_string(row.itemData));
            cells.push_back(location ? std::to_string(location->position) : std::string());
        }
        keep(out, std::move(cells));
        if (!options.lines && !options.identities)
            return;
        const CObjectRecord* object = location ? location->object : nullptr;
        int position = location ? location->position : 0;
        if (!object) {
            object = headers.find(row.cells);
            if (!object && startColumn >= 0) // a catalogue row: its object starts where it says
                object = objectStartingAt(manager, row.cells[static_cast<size_t>(startColumn)]);
            position = object ? object->objectSpan.start() : 0;
        }
        if (options.lines) {
            std::optional<OutputLocation> where;
            if (object) {
                OutputLocation l;
                l.objectType = written(object->shownTypeWord());
                l.objectNumber = object->number;
                l.objectName = written(object->headerName());
                l.where = location ? written(location->where) : std::string();
                l.position = position;
                // A row placed at its object (the span's start, which is the end of the object
                // before) is shown at the OBJECT line.
                const int objectStart = object->objectLineStart();
                options.lines->lineAndColumn(position == object->objectSpan.start() ? objectStart : position, l.line,
                                             l.column);
                int objectLine = 0, objectColumn = 0;
                options.lines->lineAndColumn(objectStart, objectLine, objectColumn);
                l.objectLine = l.line - objectLine + 1;
                l.objectColumn = l.objectLine == 1 ? l.column - objectColumn + 1 : l.column;
                where = l;
            }
            out.locations.push_back(std::move(where));
        }
        if (options.identities) {
            // Always UTF-8, whatever the output, so a baseline fits every run.
            auto utf8 = [&](std::string_view cell) { return ansiToUtf8ViaOem(outputCell(cell), options.page); };
            // What tells a finding apart: its object, its procedure or trigger, its cells. Never
            // what moves when lines are inserted: positions and the text around the finding.
            std::string identity = object ? utf8(object->shownTypeWord() + " " + object->numberText()) : std::string();
            if (location && !location->where.empty())
                identity += '\t' + utf8(location->where);
            const std::string header = object ? std::string(object->headerText()) : std::string();
            const std::string context = location ? location->context() : std::string();
            for (int c = 0; c < columns; ++c) {
                const std::string& cell = row.cells[static_cast<size_t>(c)];
                if ((object && cell == header) || positionColumn(headings[static_cast<size_t>(c)]) ||
                    (!context.empty() && cell == context))
                    continue;
                identity += '\t' + utf8(cell);
            }
            out.identities.push_back(std::move(identity));
        }
    });
    return out;
}

} // namespace

OutputList cliOutputList(const std::string& name, const std::string& description, const CResultList& list,
                         const CObjektManager& manager, const CliListOptions& options)
{
    auto eachRow = [&](auto&& take) {
        const int rows = list.GetRowCount();
        for (int r = 0; r < rows; ++r)
            take(list.GetRow(r));
    };
    return outputList(name, description, list, manager, options, eachRow);
}

OutputList takeOutputList(const std::string& name, const std::string& description, CResultList& list,
                          CObjektManager& manager, const CliListOptions& options)
{
    auto eachRow = [&](auto&& take) { list.TakeRows(take); };
    OutputList out = outputList(name, description, list, manager, options, eachRow);
    manager.results.release();
    return out;
}

size_t writeTsvList(const std::string& name, CResultList& list, CObjektManager& manager, const CliListOptions& options,
                    bool analysisColumn, const std::function<void(std::string_view)>& write)
{
    constexpr size_t kPiece = 64 * 1024;
    std::string text;
    size_t rows = 0;
    bool headed = false;
    auto writeRow = [&](OutputList& out, std::vector<std::string>&& cells) {
        if (!headed) {
            text += tsvHeadingLine(out, analysisColumn);
            headed = true;
        }
        appendTsvRow(text, out, cells, analysisColumn);
        ++rows;
        if (text.size() >= kPiece) {
            write(text);
            text.clear();
        }
    };
    auto eachRow = [&](auto&& take) { list.TakeRows(take); };
    OutputList out = outputList(name, "", list, manager, options, eachRow, writeRow);
    if (!headed)
        text += tsvHeadingLine(out, analysisColumn);
    write(text);
    manager.results.release();
    return rows;
}

std::string cliListText(const CResultList& list, const CObjektManager& manager, const CliListOptions& options)
{
    OutputDocument document;
    document.lists.push_back(cliOutputList("", "", list, manager, options));
    return formatOutput(document, OutputFormat::Tsv, false);
}

int finishOutput(std::ostream& out, std::ostream& err, std::string_view program, int status)
{
    if (out.flush())
        return status;
    err << program << ": cannot write the output\n";
    return 1;
}

void TerminalProgress::setRange(int low, int high)
{
    m_low = low;
    m_high = high;
    draw(false);
}

void TerminalProgress::setPos(int pos)
{
    m_pos = pos;
    draw(false);
}

void TerminalProgress::setStatusText(const std::string& text)
{
    m_status = text;
    for (char& c : m_status)
        if (c == '\t' || c == '\r' || c == '\n')
            c = ' ';
    draw(false);
}

void TerminalProgress::finish()
{
    if (m_drawn)
        std::fputs("\r\033[K", stderr);
    m_drawn = false;
}

void TerminalProgress::draw(bool force)
{
    using namespace std::chrono;
    long long now = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    if (!force && now - m_lastDraw < 100)
        return;
    m_lastDraw = now;
    int percent = m_high > m_low ? static_cast<int>(100LL * (m_pos - m_low) / (m_high - m_low)) : 0;
    std::string line = m_status.substr(0, 60);
    std::fprintf(stderr, "\r\033[K%3d%% %s", percent, line.c_str());
    m_drawn = true;
}
