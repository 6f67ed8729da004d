#pragma once

#include "db/DbObjectEntry.h"

#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

class CResultList;

// One column of the comparison list: heading and width in pixels (all left-aligned).
struct CompareColumn {
    const char* heading;
    int width;
};

// The fourteen columns a comparison shows, and the nine the view starts with ("Name" before "ID").
const std::vector<CompareColumn>& compareColumns();
const std::vector<CompareColumn>& initialCompareColumns();

// A's date minus B's date in whole days, truncated toward zero; 0 when either text is not a date
// under the user's locale (results/DateParse). Times take no part.
int compareDateDifference(const std::string& dateA, const std::string& dateB);

// The first position in entries2 of every (type word, id): the entry a linear scan from index 0
// finds first, looked up in constant time.
class CObjectMatchIndex {
public:
    explicit CObjectMatchIndex(const CDbObjectEntryArray& entries2);
    // Index of the first entry matching a (equal type word and id), -1 when none.
    int FindMatch(const CDbObjectEntry& a) const;

private:
    struct KeyHash {
        size_t operator()(const std::pair<std::string, int32_t>& key) const;
    };
    std::unordered_map<std::pair<std::string, int32_t>, int, KeyHash> m_first;
};

// The comparison of two Object tables. Sets matched and state in both arrays (5 only in entries1,
// 3 equal, 4 different; unmatched entries of entries2 stay 0) and returns the rows, fourteen cells
// each: first those of entries1's objects in its order ("New" with "9999" or "Different" with
// the date difference), then "New" rows with "-9999" for the unmatched objects of entries2.
std::vector<std::vector<std::string>> compareObjectTables(CDbObjectEntryArray& entries1,
                                                          CDbObjectEntryArray& entries2);

// ResetList, the fourteen columns, and the rows of compareObjectTables without icons.
void fillCompareList(CResultList& list, CDbObjectEntryArray& entries1, CDbObjectEntryArray& entries2);
// ResetList and the nine columns of a view that has not compared yet.
void fillInitialCompareList(CResultList& list);

// The Object Designer filter text of the objects the last comparison listed for one database:
// "Different" and "New" ones (states 4 and 5 in entries1; state 4 or unmatched in entries2). One
// line per type word in type-code order, "Table: 18|27|50000..50010" with ids ascending and
// consecutive ids merged into a range; objects without a type word come last as "(no type): ...".
// Lines end with "\r\n"; empty when nothing was listed.
std::string markFilterText(const CDbObjectEntryArray& entries, bool secondDatabase);
// How many objects the last comparison found in each state, for the status bar: "compared: 3
// different, 2 only in Database1, 1 only in Database 2, 24 equal".
std::string compareSummary(const CDbObjectEntryArray& entries1, const CDbObjectEntryArray& entries2);
// "18|27|50000..50010" for the ids (any order, duplicates allowed).
std::string idFilter(std::vector<int32_t> ids);

class CDatabaseSession;
struct DatabaseConnection;

// "compare Objects": empties both arrays, reads database 1 into entries1 and then database 2 into
// entries2 (each read loads, uses and unloads the library; one that cannot be read contributes no
// entries, its message shown by the session), and fills list as fillCompareList does.
void runObjectCompare(CDatabaseSession& session, const DatabaseConnection& database1,
                      const DatabaseConnection& database2, bool allTypes, CDbObjectEntryArray& entries1,
                      CDbObjectEntryArray& entries2, CResultList& list);
