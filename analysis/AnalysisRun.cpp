#include "analysis/AnalysisRun.h"

#include "model/WorkerThreads.h"

#include <cstdio>

AnalysisRun::AnalysisRun(CObjektManager& manager, CResultList& list, IProgress* progress, const OperationDef& row)
    : AnalysisRun(manager, list, progress, row, manager.count())
{
}

AnalysisRun::AnalysisRun(CObjektManager& manager, CResultList& list, IProgress* progress, const OperationDef& row,
                         int progressRange)
    : m_manager(manager), m_list(list), m_progress(progress), m_def(row), m_range(progressRange)
{
    m_list.ResetList();
    for (const ColumnDef& column : m_def.columns)
            m_list.AddColumn(column.heading, LIST_ALIGN_LEFT, column.width);
    m_manager.results.removeAll();
    if (m_progress) {
        m_progress->setRange(0, m_range);
        m_progress->setPos(0);
    }
}

void AnalysisRun::position(int pos)
{
    if (m_progress)
        m_progress->setPos(pos);
}

void AnalysisRun::status(int i, const CObjectRecord& record)
{
    if (!m_def.statusFormat)
        return;
    std::string header(record.headerText());
    int size = std::snprintf(nullptr, 0, m_def.statusFormat, i, count(), header.c_str());
    std::string line(static_cast<size_t>(size > 0 ? size : 0), '\0');
    std::snprintf(line.data(), line.size() + 1, m_def.statusFormat, i, count(), header.c_str());
    m_manager.status(line);
}

int AnalysisRun::addLocated(CObjectRecord& record, const std::vector<std::string>& cells, int pos,
                            const std::string& term, int icon)
{
    int index = m_manager.results.add(record.locate(pos, term));
    return m_list.AddRow(cells, index, icon);
}

int AnalysisRun::addRow(const std::vector<std::string>& cells, int itemData, int icon)
{
    return m_list.AddRow(cells, itemData, icon);
}

void ObjectRows::addLocated(CObjectRecord& record, std::vector<std::string> cells, int pos, const std::string& term,
                            int icon)
{
    m_rows.push_back({CPackedCells(cells, cells.size()), 0, icon, true, record.locate(pos, term)});
}

void ObjectRows::addLocation(CResultLocation location, std::vector<std::string> cells, int icon)
{
    m_rows.push_back({CPackedCells(cells, cells.size()), 0, icon, true, std::move(location)});
}

void ObjectRows::addRow(std::vector<std::string> cells, int itemData, int icon)
{
    m_rows.push_back({CPackedCells(cells, cells.size()), itemData, icon, false, {}});
}

void AnalysisRun::append(ObjectRows& rows)
{
    for (ObjectRows::Pending& row : rows.m_rows) {
        int itemData = row.itemData;
        if (row.located)
            itemData = m_manager.results.add(std::move(row.location));
        m_list.AddPackedRow(std::move(row.cells), itemData, row.icon);
    }
    std::vector<ObjectRows::Pending>().swap(rows.m_rows);
}

void AnalysisRun::forEachObjectInParallel(const std::function<void(int, CObjectRecord&, ObjectRows&)>& perObject)
{
    std::vector<ObjectRows> rows(static_cast<size_t>(count()));
    runInOrder(
        count(), [&](int i, int) { perObject(i, m_manager.get(i), rows[static_cast<size_t>(i)]); },
        [&](int i) {
            status(i, m_manager.get(i));
            append(rows[static_cast<size_t>(i)]);
            position(i + 1);
        },
        [&] { return cancelled(); });
    position(m_range);
}
