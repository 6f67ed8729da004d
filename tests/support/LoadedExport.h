#pragma once

#include "model/ObjektManager.h"
#include "model/SourceText.h"
#include "model/Status.h"
#include "results/ResultList.h"

#include <string>
#include <string_view>
#include <vector>

// Turns the bare LF line ends of a raw string into the export's CR LF.
inline std::string crlf(std::string_view text)
{
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

// A hand-written export (LF line ends) loaded into a catalogue.
struct LoadedExport {
    CSourceText text;
    CObjektManager manager;

    explicit LoadedExport(std::string_view lfText) : text(crlf(lfText)) { manager.load(&text, "test.txt"); }

    // The first record with the given type and number.
    CObjectRecord& object(int type, int number)
    {
        for (int i = 0; i < manager.count(); ++i)
            if (manager.get(i).type == type && manager.get(i).number == number)
                return manager.get(i);
        return manager.get(0);
    }
    // Absolute position of the first occurrence of what.
    int pos(std::string_view what) const { return text.find(what); }
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
