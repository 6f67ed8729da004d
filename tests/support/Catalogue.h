#pragma once

#include "model/Status.h"
#include "results/ResultList.h"
#include "support/TestExport.h"

#include <string>
#include <string_view>
#include <vector>

// A hand-written export with LF line ends, loaded with CR LF, with look-ups by object and by text.
struct Catalogue : LoadedExport {
    explicit Catalogue(std::string_view lfText) : LoadedExport(crlf(lfText)) {}

    // The first record with the given type and number (the first record when none matches).
    CObjectRecord& byNumber(int type, int number)
    {
        for (int i = 0; i < manager->count(); ++i)
            if (manager->get(i).type == type && manager->get(i).number == number)
                return manager->get(i);
        return manager->get(0);
    }
    // Absolute position of the first occurrence of what.
    int pos(std::string_view what) const { return text->find(what); }
};

// Remembers every status line and progress call.
struct RecordingStatus : IStatusText, IProgress {
    std::vector<std::string> lines;
    std::vector<int> positions;
    int high = -1;
    void setStatusText(const std::string& line) override { lines.push_back(line); }
    void setRange(int, int h) override { high = h; }
    void setPos(int p) override { positions.push_back(p); }
};

// The cells of every row of a list.
inline std::vector<std::vector<std::string>> rowCells(const CResultList& list)
{
    std::vector<std::vector<std::string>> rows;
    for (int r = 0; r < list.GetRowCount(); ++r)
        rows.push_back(list.GetRow(r).cells);
    return rows;
}
