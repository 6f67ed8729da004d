#include "db/ObjectCompare.h"

#include "db/DatabaseSession.h"
#include "results/DateParse.h"
#include "results/ResultList.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <map>

namespace {

const char* const kNew = "New";
const char* const kDifferent = "Different";

std::vector<std::string> newRowFromFirst(const CDbObjectEntry& a)
{
    return {kNew, a.typeWord, a.idText(), a.name, a.version, a.date, "", "9999",
            a.time, "", a.name, "", a.version, ""};
}

std::vector<std::string> differentRow(const CDbObjectEntry& a, const CDbObjectEntry& b)
{
    return {kDifferent, a.typeWord, a.idText(), a.name, a.version, a.date, b.date,
            std::to_string(compareDateDifference(a.date, b.date)),
            a.time, b.time, a.name, b.name, a.version, b.version};
}

std::vector<std::string> newRowFromSecond(const CDbObjectEntry& b)
{
    return {kNew, b.typeWord, b.idText(), b.name, b.version, "", b.date, "-9999",
            "", b.time, "", b.name, "", b.version};
}

bool sameContents(const CDbObjectEntry& a, const CDbObjectEntry& b)
{
    return a.date == b.date && a.time == b.time && a.name == b.name && a.version == b.version;
}

// Type words in type-code order; a word outside this list sorts after them, by its text.
int typeOrder(const std::string& word)
{
    static const char* const words[] = {"Table", "Form", "Report", "Dataport", "Codeunit",
                                        "XMLport", "MenuSuite", "Page", "Query"};
    for (int i = 0; i < 9; ++i)
        if (word == words[i])
            return i;
    return word.empty() ? 100 : 50;
}

bool listedInComparison(const CDbObjectEntry& entry, bool secondDatabase)
{
    if (secondDatabase)
        return !entry.matched || entry.state == CS_DIFFERENT;
    return entry.state == CS_DIFFERENT || entry.state == CS_ONLY_FIRST;
}

} // namespace

const std::vector<CompareColumn>& compareColumns()
{
    static const std::vector<CompareColumn> columns = {
        {"State", 100}, {"Type", 100},  {"ID", 100},    {"Name", 180},  {"Version", 100},
        {"Date1", 100}, {"Date2", 100}, {"Date Diff.", 100}, {"Time1", 100}, {"Time2", 100},
        {"Name1", 100}, {"Name2", 100}, {"Version1", 100}, {"Version2", 100}};
    return columns;
}

const std::vector<CompareColumn>& initialCompareColumns()
{
    static const std::vector<CompareColumn> columns = {
        {"State", 100}, {"Type", 100},  {"Name", 180},       {"ID", 100},   {"Date1", 100},
        {"Date2", 100}, {"Date Diff.", 100}, {"Time1", 100}, {"Time2", 100}};
    return columns;
}

int compareDateDifference(const std::string& dateA, const std::string& dateB)
{
    double a = 0;
    double b = 0;
    if (!parseDateTime(dateA, a) || !parseDateTime(dateB, b))
        return 0;
    double days = std::trunc(a - b);
    // Parsed dates lie within years 1..9999, so the difference always fits.
    return static_cast<int>(days);
}

size_t CObjectMatchIndex::KeyHash::operator()(const std::pair<std::string, int32_t>& key) const
{
    return std::hash<std::string>()(key.first) * 31u + std::hash<int32_t>()(key.second);
}

CObjectMatchIndex::CObjectMatchIndex(const CDbObjectEntryArray& entries2)
{
    m_first.reserve(static_cast<size_t>(entries2.count()));
    for (int j = 0; j < entries2.count(); ++j) {
        const CDbObjectEntry& b = entries2[j];
        m_first.emplace(std::make_pair(b.typeWord, b.id), j); // keeps the first position
    }
}

int CObjectMatchIndex::FindMatch(const CDbObjectEntry& a) const
{
    auto found = m_first.find(std::make_pair(a.typeWord, a.id));
    return found == m_first.end() ? -1 : found->second;
}

std::vector<std::vector<std::string>> compareObjectTables(CDbObjectEntryArray& entries1,
                                                          CDbObjectEntryArray& entries2)
{
    std::vector<std::vector<std::string>> rows;
    const CObjectMatchIndex index(entries2);
    for (int i = 0; i < entries1.count(); ++i) {
        CDbObjectEntry& a = entries1[i];
        const int j = index.FindMatch(a);
        if (j < 0) {
            a.state = CS_ONLY_FIRST;
            rows.push_back(newRowFromFirst(a));
            continue;
        }
        CDbObjectEntry& b = entries2[j];
        b.matched = true;
        if (sameContents(a, b)) {
            a.state = b.state = CS_EQUAL;
            continue;
        }
        rows.push_back(differentRow(a, b));
        a.state = b.state = CS_DIFFERENT;
    }
    for (const CDbObjectEntry& b : entries2)
        if (!b.matched)
            rows.push_back(newRowFromSecond(b));
    return rows;
}

void fillCompareList(CResultList& list, CDbObjectEntryArray& entries1, CDbObjectEntryArray& entries2)
{
    list.ResetList();
    for (const CompareColumn& column : compareColumns())
        list.AddColumn(column.heading, LIST_ALIGN_LEFT, column.width);
    for (const std::vector<std::string>& row : compareObjectTables(entries1, entries2))
        list.AddRow(row, 0, -1);
}

void fillInitialCompareList(CResultList& list)
{
    list.ResetList();
    for (const CompareColumn& column : initialCompareColumns())
        list.AddColumn(column.heading, LIST_ALIGN_LEFT, column.width);
}

void runObjectCompare(CDatabaseSession& session, const DatabaseConnection& database1,
                      const DatabaseConnection& database2, bool allTypes, CDbObjectEntryArray& entries1,
                      CDbObjectEntryArray& entries2, CResultList& list)
{
    entries1.removeAll();
    entries2.removeAll();
    session.ReadObjectTable(entries1, database1, allTypes);
    session.ReadObjectTable(entries2, database2, allTypes);
    fillCompareList(list, entries1, entries2);
}

std::string compareSummary(const CDbObjectEntryArray& entries1, const CDbObjectEntryArray& entries2)
{
    int different = 0, onlyFirst = 0, onlySecond = 0, equal = 0;
    for (int i = 0; i < entries1.count(); ++i) {
        different += entries1[i].state == CS_DIFFERENT;
        onlyFirst += entries1[i].state == CS_ONLY_FIRST;
        equal += entries1[i].state == CS_EQUAL;
    }
    for (int i = 0; i < entries2.count(); ++i)
        onlySecond += !entries2[i].matched;
    return "compared: " + std::to_string(different) + " different, " + std::to_string(onlyFirst) +
           " only in Database1, " + std::to_string(onlySecond) + " only in Database 2, " + std::to_string(equal) +
           " equal";
}

std::string idFilter(std::vector<int32_t> ids)
{
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    std::string text;
    for (size_t i = 0; i < ids.size();) {
        size_t last = i;
        while (last + 1 < ids.size() && ids[last] != std::numeric_limits<int32_t>::max()
               && ids[last + 1] == ids[last] + 1)
            ++last;
        if (!text.empty())
            text += '|';
        text += std::to_string(ids[i]);
        if (last > i)
            text += ".." + std::to_string(ids[last]);
        i = last + 1;
    }
    return text;
}

std::string markFilterText(const CDbObjectEntryArray& entries, bool secondDatabase)
{
    auto byTypeOrder = [](const std::string& x, const std::string& y) {
        return typeOrder(x) != typeOrder(y) ? typeOrder(x) < typeOrder(y) : x < y;
    };
    std::map<std::string, std::vector<int32_t>, decltype(byTypeOrder)> idsByType(byTypeOrder);
    for (const CDbObjectEntry& entry : entries)
        if (listedInComparison(entry, secondDatabase))
            idsByType[entry.typeWord].push_back(entry.id);
    std::string text;
    for (const auto& [word, ids] : idsByType)
        text += (word.empty() ? std::string("(no type)") : word) + ": " + idFilter(ids) + "\r\n";
    return text;
}
