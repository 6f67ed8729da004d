#include "merge/ExportComparison.h"

#include "merge/ObjectElements.h"

namespace {

// "Name=value" of a changed property, the value alone for an element that is one value.
std::string valueCell(const ElementChange& change, const std::string& value)
{
    if (change.property.empty() || change.property == "Value" || !change.hunks.empty() || value.empty())
        return oneLineValue(value);
    return change.property + "=" + oneLineValue(value);
}

std::string linesCell(int added, int removed)
{
    if (added == 0 && removed == 0)
        return std::string();
    return "+" + std::to_string(added) + " -" + std::to_string(removed);
}

std::string elementCell(const ElementChange& change)
{
    if (change.property.empty() || change.property == "Value" || change.property == change.label)
        return change.label;
    return change.label + " " + change.property;
}

} // namespace

std::vector<std::string> comparisonColumns()
{
    return {"Type", "No.", "Name", "Change", "Section", "Element", "Old", "New", "Lines"};
}

bool showsObject(const ObjectChange& object, bool noise)
{
    return noise || object.change != ChangeKind::Noise;
}

std::vector<ComparisonRow> comparisonRows(const ExportComparison& comparison, bool noise)
{
    std::vector<ComparisonRow> rows;
    for (const ObjectChange& object : comparison.objects) {
        if (!showsObject(object, noise))
            continue;
        const std::vector<std::string> head = {object.typeWord, std::to_string(object.number), object.name};
        if (object.change == ChangeKind::Added || object.change == ChangeKind::Removed) {
            std::vector<std::string> row = head;
            row.insert(row.end(), {changeWord(object.change), "", "", "", "",
                                   linesCell(object.addedLines, object.removedLines)});
            rows.push_back({std::move(row), &object, nullptr});
            continue;
        }
        for (const ElementChange& change : object.changes) {
            if (change.change == ChangeKind::Noise && !noise)
                continue;
            std::vector<std::string> row = head;
            row.insert(row.end(), {changeWord(change.change), change.section, elementCell(change),
                                   valueCell(change, change.oldValue), valueCell(change, change.newValue),
                                   linesCell(change.addedLines, change.removedLines)});
            rows.push_back({std::move(row), &object, &change});
        }
    }
    return rows;
}

std::string unifiedObjectDiff(const ObjectChange& object, std::string_view oldText, std::string_view newText)
{
    const std::vector<LineHunk> hunks = diffLines(oldText, newText, 3);
    if (hunks.empty())
        return std::string();
    const std::string name = object.splitFileName();
    // A TAB ends each name, as diff -u writes it before the time stamp: the names hold blanks.
    std::string out = "--- " + (object.indexA >= 0 ? "a/" + name : std::string("/dev/null")) + "\t\n+++ " +
                      (object.indexB >= 0 ? "b/" + name : std::string("/dev/null")) + "\t\n";
    return out + unifiedHunks(hunks, "\r\n");
}
