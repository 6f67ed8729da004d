#include "model/ObjectRecord.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

// (id, collection index) of every element with an id of 1 or more, ordered by id and, within one
// id, by collection order; so duplicates come out in the order of walking the ids 1..max, at a cost
// that does not depend on how large the ids are.
template <class Array>
std::vector<std::pair<int, int>> idsInCheckOrder(const Array& items)
{
    std::vector<std::pair<int, int>> ids;
    for (int i = 0; i < items.count(); ++i)
        if (items.get(i).id >= 1)
            ids.emplace_back(items.get(i).id, i);
    std::sort(ids.begin(), ids.end());
    return ids;
}

// Calls report(id, index) for every element whose id an earlier element already carries.
template <class Array, class Report>
void forEachDuplicate(const Array& items, Report report)
{
    const std::vector<std::pair<int, int>> ids = idsInCheckOrder(items);
    for (size_t k = 1; k < ids.size(); ++k)
        if (ids[k].first == ids[k - 1].first)
            report(ids[k].first, ids[k].second);
}

template <class Array>
int maxId(const Array& items)
{
    int m = 0;
    for (const auto& item : items)
        m = std::max(m, item.id);
    return m;
}

} // namespace

int CObjectRecord::maxProcedureId() const
{
    return maxId(procedures);
}

int CObjectRecord::maxControlId() const
{
    return maxId(controls);
}

void CObjectRecord::checkDuplicateIds(std::vector<std::string>& lines) const
{
    lines.clear();
    const std::string maxProcedure = std::to_string(maxProcedureId());
    forEachDuplicate(procedures, [&](int id, int index) {
        lines.push_back("Fehler: ProcedureID " + std::to_string(id) + " " + procedures.get(index).name() +
                        " MaxFktID = " + maxProcedure);
    });
    const std::string maxControl = std::to_string(maxControlId());
    forEachDuplicate(controls, [&](int id, int) {
        lines.push_back("Fehler: ControlID " + std::to_string(id) + " MaxFktID = " + maxControl);
    });
}
