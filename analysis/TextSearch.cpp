#include "analysis/AnalysisColumns.h"
#include "analysis/AnalysisRun.h"
#include "analysis/OperationTable.h"
#include "analysis/PatternMatcher.h"
#include "model/WorkerThreads.h"

#include <algorithm>
#include <memory>

namespace {

// Whether a regular expression uses "^" (the search start) outside a class: where its matches lie
// then depends on where each search begins, so the text cannot be searched in parts. Errs towards
// true.
bool usesSearchStart(const std::string& pattern)
{
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '\\') {
            ++i;
        } else if (pattern[i] == '[') {
            i = pattern.find(']', pattern[i + 1] == '^' ? i + 2 : i + 1);
            if (i == std::string::npos)
                return true;
        } else if (pattern[i] == '^') {
            return true;
        }
    }
    return false;
}

// The hits of one part of the text and where the chain of searches goes on behind them (-1: no hit).
struct SearchPart {
    ObjectRows rows;
    int resume = -1;
};

} // namespace

// Every occurrence of term in the whole text, each search continuing term's length behind the
// previous hit, so hits never overlap. An empty term finds nothing in any mode.
//
// With several worker threads every object is searched on its own from its start. That gives the
// hits of the one chain of searches through the whole text unless the chain enters the object
// behind its start (a hit reaching over the object's start): that object is searched again, from
// there, while the parts are put together in text order.
void CObjektManager::searchText(const std::string& term, CResultList& list, IProgress* progress, bool useRegex,
                                bool caseSensitive)
{
    const std::string empty;
    const std::string& whole = m_text ? m_text->str() : empty;
    const int length = static_cast<int>(whole.size());
    const int step = static_cast<int>(term.size());
    AnalysisRun run(*this, list, progress, textSearchOperation(), length);
    const bool byObject = workerThreads() > 1 && count() > 1 && !(useRegex && usesSearchStart(term));
    const int parts = byObject ? count() : 1;
    const int workers = workersFor(parts);
    // One matcher per worker and one for the searches again on this thread.
    std::vector<std::unique_ptr<CPatternMatcher>> matchers;
    for (int w = 0; useRegex && w <= workers; ++w) {
        matchers.push_back(std::make_unique<CPatternMatcher>());
        matchers.back()->setCaseFlag(caseSensitive);
        matchers.back()->setKeepMatchText(false); // only the positions are used
        matchers.back()->setCancelFlag(cancelFlag());
        if (!matchers.back()->compile(term.c_str())) {
            run.finish();
            return;
        }
    }
    if (term.empty()) {
        run.finish();
        return;
    }
    auto partStart = [&](int k) { return k == 0 ? 0 : get(k).objectSpan.start(); };
    auto partEnd = [&](int k) { return k + 1 < parts ? partStart(k + 1) : length + 1; };
    // The hits starting in part k of the chain that enters it at from.
    auto searchPart = [&](int k, int from, CPatternMatcher* matcher, SearchPart& out) {
        const int end = partEnd(k);
        const std::string_view window(whole.data(), static_cast<size_t>(std::min(length, end - 1 + step)));
        auto next = [&](int at) {
            return matcher ? matcher->find(whole.data(), length, at, end - 1) : srctext::find(window, term, at, caseSensitive);
        };
        // A record still at the header level is not parsed to place its hits when parses are not
        // kept: its outline, read once per object, places them the same way.
        int placing = -1;
        bool byOutline = false;
        bool outlined = false;
        CObjectRecord::CodeOutline outline;
        for (int hit = next(from); hit >= 0 && hit < end && !cancelled(); hit = next(hit + step)) {
            out.resume = hit + step;
            const int index = objectAt(hit);
            if (index < 0)
                continue;
            CObjectRecord& record = get(index);
            if (index != placing) {
                placing = index;
                byOutline = !m_keepParses && record.parseLevel == 1;
                outlined = false;
            }
            if (byOutline && !outlined) {
                record.outline(outline);
                outlined = true;
            }
            CResultLocation loc = byOutline ? record.locateIn(outline, hit, term) : record.locate(hit, term);
            std::vector<std::string> cells{"", loc.objectName(), loc.where, "", loc.context()};
            out.rows.addLocation(std::move(loc), std::move(cells), record.typeImage());
        }
    };
    auto matcherOf = [&](int w) { return useRegex ? matchers[static_cast<size_t>(w)].get() : nullptr; };
    std::vector<SearchPart> found(static_cast<size_t>(parts));
    int chainAt = 0;
    runInOrder(
        parts, [&](int k, int w) { searchPart(k, partStart(k), matcherOf(w), found[static_cast<size_t>(k)]); },
        [&](int k) {
            SearchPart& part = found[static_cast<size_t>(k)];
            if (chainAt > partStart(k)) {
                part = SearchPart();
                searchPart(k, chainAt, matcherOf(workers), part);
            }
            if (part.resume >= 0)
                chainAt = part.resume;
            run.append(part.rows);
            run.position(std::min(partEnd(k), length));
        },
        [&] { return cancelled(); });
    run.finish();
}

namespace {
Outcome runSearch(CObjektManager& m, CResultList& list, IProgress* progress, const AnalysisArgs& args)
{
    m.searchText(args.term, list, progress, args.useRegex, args.caseSensitive);
    return {};
}
Outcome runFieldReference(CObjektManager& m, CResultList& list, IProgress* progress, const AnalysisArgs&)
{
    m.searchText(fieldReferenceOperation().fixedPattern, list, progress, true, true);
    return {};
}
Outcome runTableReference(CObjektManager& m, CResultList& list, IProgress* progress, const AnalysisArgs&)
{
    m.searchText(tableReferenceOperation().fixedPattern, list, progress, true, true);
    return {};
}
} // namespace

const OperationDef& textSearchOperation()
{
    static const OperationDef row{
        .commandId = rid::ID_SEARCH,
        .command = "search",
        .summary = "text search over all objects",
        .lastAction = "Search: ",
        .input = OperationInput::SearchTerm,
        .columns = kSearchColumns,
        .run = runSearch,
    };
    return row;
}

const OperationDef& fieldReferenceOperation()
{
    static const OperationDef row{
        .commandId = rid::ID_FIELD_REFERENCE_PROBLEM,
        .command = "field-reference-problem",
        .summary = "the regular expression search =Field[0-9]",
        .lastAction = "Search: Field Reference Problem",
        .menu = {"Analyse sourceproblems", "field reference problem", 10},
        .check = CheckUse::WhenNamed,
        .columns = kSearchColumns,
        .fixedPattern = "=Field[0-9]",
        .run = runFieldReference,
    };
    return row;
}

const OperationDef& tableReferenceOperation()
{
    static const OperationDef row{
        .commandId = rid::ID_TABLE_REFERENCE_PROBLEM,
        .command = "table-reference-problem",
        .summary = "the regular expression search Relation=Table[0-9]",
        .lastAction = "Search: Table Reference Problem",
        .menu = {"Analyse sourceproblems", "table reference problem", 11},
        .check = CheckUse::WhenNamed,
        .columns = kSearchColumns,
        .fixedPattern = "Relation=Table[0-9]",
        .run = runTableReference,
    };
    return row;
}
