#include "analysis/AnalysisColumns.h"
#include "analysis/AnalysisRun.h"
#include "analysis/OperationTable.h"
#include "analysis/PatternMatcher.h"

#include <memory>

// Every occurrence of term in the whole text, each search continuing term's length behind the
// previous hit, so hits never overlap. An empty term finds nothing in any mode.
void CObjektManager::searchText(const std::string& term, CResultList& list, IProgress* progress, bool useRegex,
                                bool caseSensitive)
{
    const std::string empty;
    const std::string& whole = m_text ? m_text->str() : empty;
    const int length = static_cast<int>(whole.size());
    AnalysisRun run(*this, list, progress, textSearchOperation(), length);
    if (term.empty()) {
        run.finish();
        return;
    }
    std::unique_ptr<CPatternMatcher> matcher;
    bool compiled = true;
    if (useRegex) {
        matcher = std::make_unique<CPatternMatcher>();
        matcher->setCaseFlag(caseSensitive);
        matcher->setCancelFlag(cancelFlag());
        compiled = matcher->compile(term.c_str());
    }
    auto next = [&](int from) {
        if (!compiled)
            return -1;
        return useRegex ? matcher->find(whole.data(), length, from) : srctext::find(whole, term, from, caseSensitive);
    };
    for (int hit = next(0); hit >= 0 && !cancelled();) {
        run.position(hit);
        int index = objectAt(hit);
        if (index >= 0) {
            CObjectRecord& record = get(index);
            CResultLocation loc = record.locate(hit, term);
            int locIndex = results.add(loc);
            list.AddRow({"", loc.objectName, loc.where, "", loc.context}, locIndex, record.typeImage());
            run.position(hit);
        }
        hit += static_cast<int>(term.size());
        hit = next(hit);
    }
    run.finish();
}

namespace {
bool runSearch(CObjektManager& m, CResultList& list, IProgress* progress, const AnalysisArgs& args)
{
    m.searchText(args.term, list, progress, args.useRegex, args.caseSensitive);
    return true;
}
bool runFieldReference(CObjektManager& m, CResultList& list, IProgress* progress, const AnalysisArgs&)
{
    m.searchText(fieldReferenceOperation().fixedPattern, list, progress, true, true);
    return true;
}
bool runTableReference(CObjektManager& m, CResultList& list, IProgress* progress, const AnalysisArgs&)
{
    m.searchText(tableReferenceOperation().fixedPattern, list, progress, true, true);
    return true;
}
} // namespace

const OperationDef& textSearchOperation()
{
    static const OperationDef row{rid::ID_SEARCH,
                                  "search",
                                  "Search: ",
                                  OperationInput::SearchTerm,
                                  AnalysisThread::WorkerHighPriority,
                                  kSearchColumns,
                                  nullptr,
                                  nullptr,
                                  runSearch};
    return row;
}

const OperationDef& fieldReferenceOperation()
{
    static const OperationDef row{rid::ID_FIELD_REFERENCE_PROBLEM,
                                  "field-reference-problem",
                                  "Search: Field Reference Problem",
                                  OperationInput::None,
                                  AnalysisThread::WorkerHighPriority,
                                  kSearchColumns,
                                  nullptr,
                                  "=Field[0-9]",
                                  runFieldReference};
    return row;
}

const OperationDef& tableReferenceOperation()
{
    static const OperationDef row{rid::ID_TABLE_REFERENCE_PROBLEM,
                                  "table-reference-problem",
                                  "Search: Table Reference Problem",
                                  OperationInput::None,
                                  AnalysisThread::WorkerHighPriority,
                                  kSearchColumns,
                                  nullptr,
                                  "Relation=Table[0-9]",
                                  runTableReference};
    return row;
}
