#pragma once

#include "analysis/Operation.h"
#include "model/ObjektManager.h"
#include "results/ResultList.h"

#include <functional>
#include <string>
#include <vector>

// The rows one object gives, held until they are appended to the list in catalogue order.
class ObjectRows {
public:
    // Row that opens the object at pos (record.locate(pos, term)).
    void addLocated(CObjectRecord& record, std::vector<std::string> cells, int pos, const std::string& term, int icon);
    void addLocated(CObjectRecord& record, std::vector<std::string> cells, int pos, const std::string& term)
    {
        addLocated(record, std::move(cells), pos, term, record.typeImage());
    }
    // Row that opens location.
    void addLocation(CResultLocation location, std::vector<std::string> cells, int icon);
    // Row without a location.
    void addRow(std::vector<std::string> cells, int itemData, int icon);

private:
    friend class AnalysisRun;
    struct Pending {
        CPackedCells cells; // packed here, on the worker
        int itemData = 0;
        int icon = -1;
        bool located = false;
        CResultLocation location;
    };
    std::vector<Pending> m_rows;
};

// The common sequence of every analysis: reset the list, add the analysis's columns, empty the
// locations, set the progress range, walk the catalogue, and end at the last position.
class AnalysisRun {
public:
    // Resets the list and adds the columns of the analysis's row, empties results and sets the
    // progress range 0..count() (position 0).
    AnalysisRun(CObjektManager& manager, CResultList& list, IProgress* progress, const OperationDef& row);
    AnalysisRun(CObjektManager& manager, CResultList& list, IProgress* progress, const OperationDef& row,
                int progressRange);

    int count() const { return m_manager.count(); }
    bool cancelled() const { return m_manager.cancelled(); }
    CObjektManager& manager() { return m_manager; }
    CResultList& list() { return m_list; }

    void position(int pos);
    // The analysis's status line for object i of count(), if it has one.
    void status(int i, const CObjectRecord& record);
    // Row that opens the object at pos: locate(pos, term), stored in results, its index as item data.
    int addLocated(CObjectRecord& record, const std::vector<std::string>& cells, int pos,
                   const std::string& term, int icon);
    int addLocated(CObjectRecord& record, const std::vector<std::string>& cells, int pos,
                   const std::string& term)
    {
        return addLocated(record, cells, pos, term, record.typeImage());
    }
    // Row without a location.
    int addRow(const std::vector<std::string>& cells, int itemData, int icon);

    // Calls perObject(i, record) for every object in catalogue order while not cancelled, then
    // sets the progress to its end.
    template <class F>
    void forEachObject(F&& perObject)
    {
        for (int i = 0; i < count() && !cancelled(); ++i)
            perObject(i, m_manager.get(i));
        position(m_range);
    }

    // Calls perObject(i, record, rows) for every object on the worker threads (model/WorkerThreads.h)
    // while not cancelled; perObject may touch only its own record and rows. On this thread, in
    // catalogue order: the status line of object i, its rows (locations numbered as by a run on one
    // thread) and the progress i + 1; at the end the progress's end.
    void forEachObjectInParallel(const std::function<void(int, CObjectRecord&, ObjectRows&)>& perObject);
    // Appends rows in their order, each located row's location to results first.
    void append(ObjectRows& rows);

    void finish() { position(m_range); }

private:
    CObjektManager& m_manager;
    CResultList& m_list;
    IProgress* m_progress;
    const OperationDef& m_def;
    int m_range;
};
