#include "merge/SideBySide.h"

#include "merge/LineDiff.h"
#include "merge/ObjectElements.h"

#include <algorithm>
#include <climits>

std::vector<SideBySideRow> sideBySideRows(std::string_view oldText, std::string_view newText)
{
    const int oldCount = static_cast<int>(textLines(oldText).size());
    const int newCount = static_cast<int>(textLines(newText).size());
    std::vector<SideBySideRow> rows;
    int o = 0, n = 0;
    auto same = [&](int untilOld) {
        while (o < untilOld && n < newCount)
            rows.push_back({o++, n++, ' '});
    };
    for (const LineHunk& hunk : diffLines(oldText, newText, 0)) {
        // A side without lines in the hunk starts after its line (unified numbering).
        same(hunk.oldCount == 0 ? hunk.oldStart : hunk.oldStart - 1);
        const int removed = hunk.oldCount, added = hunk.newCount;
        for (int k = 0; k < std::max(removed, added); ++k) {
            if (k < removed && k < added)
                rows.push_back({o++, n++, '~'});
            else if (k < removed)
                rows.push_back({o++, -1, '-'});
            else
                rows.push_back({-1, n++, '+'});
        }
    }
    same(INT_MAX);
    while (o < oldCount)
        rows.push_back({o++, -1, '-'});
    while (n < newCount)
        rows.push_back({-1, n++, '+'});
    return rows;
}

int rowOfLine(const std::vector<SideBySideRow>& rows, int line, bool old)
{
    for (size_t r = 0; r < rows.size(); ++r)
        if ((old ? rows[r].oldLine : rows[r].newLine) == line)
            return static_cast<int>(r);
    return -1;
}
