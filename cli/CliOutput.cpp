#include "cli/CliOutput.h"

#include "model/ObjektManager.h"
#include "results/ResultList.h"

#include <chrono>
#include <cstdio>

std::string cliListText(const CResultList& list, const CObjektManager& manager, const CliListOptions& options)
{
    std::string text;
    const int columns = list.GetColumnCount();
    for (int c = 0; c < columns; ++c)
        text += CResultList::ListTextCell(list.GetColumn(c).heading) + '\t';
    if (options.locations)
        text += "ItemData\tPosition\t";
    text += '\n';
    const int rows = list.GetRowCount();
    for (int r = 0; r < rows; ++r) {
        CResultRow row = list.GetRow(r);
        for (int c = 0; c < columns; ++c)
            text += (c < static_cast<int>(row.cells.size()) ? CResultList::ListTextCell(row.cells[static_cast<size_t>(c)]) : "") + '\t';
        if (options.locations) {
            text += std::to_string(row.itemData) + '\t';
            if (row.itemData >= 0 && row.itemData < manager.results.count())
                text += std::to_string(manager.results.get(row.itemData).position);
            text += '\t';
        }
        text += '\n';
    }
    return options.ansi ? text : ansiToUtf8ViaOem(text, options.page);
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
