#include "analysis/AnalysisRun.h"
#include "analysis/OperationTable.h"
#include "analysis/ReferenceBuilder.h"

#include <algorithm>

// Operations on the reference index: where a field, procedure or object is used, and the unused
// analyses that count resolved references instead of names in the text.

namespace {

std::string codeLine(std::string_view text, int pos)
{
    size_t start = text.rfind('\n', static_cast<size_t>(pos));
    start = start == std::string_view::npos ? 0 : start + 1;
    size_t end = text.find('\n', static_cast<size_t>(pos));
    if (end == std::string_view::npos)
        end = text.size();
    return std::string(xref::trimmed(text.substr(start, end - start)));
}

// One row per reference: object, where, line, kind, the code line; opens the object at the reference.
void addReferenceRow(AnalysisRun& run, const ReferenceIndex& index, const XrefReference& ref, const std::string& term,
                     ReferenceIndex::LineCursor& lines)
{
    CObjektManager& manager = run.manager();
    const int object = manager.objectAt(ref.pos);
    if (object < 0)
        return;
    CObjectRecord& record = manager.get(object);
    std::string kind = referenceKindName(ref.kind);
    if (ref.symbol < 0)
        kind = std::string("unresolved: ") + unresolvedReasonText(ref.reason);
    run.addLocated(record,
                   {std::string(record.headerText()), index.whereTexts()[static_cast<size_t>(ref.where)],
                    std::to_string(index.lineOf(ref.pos, lines)), kind, codeLine(manager.text()->view(), ref.pos)},
                   ref.pos, term);
}

// The unresolved references that could have been uses, by reason: the typed runs' last line.
std::string unresolvedSummary(const ReferenceIndex& index, int unused, const char* what)
{
    std::vector<int> counts = index.unresolvedCounts();
    int total = 0;
    std::string reasons;
    for (size_t r = 1; r < counts.size(); ++r) {
        if (counts[r] == 0)
            continue;
        total += counts[r];
        reasons += (reasons.empty() ? "" : ", ") + std::string(unresolvedReasonText(static_cast<UnresolvedReason>(r))) +
                   " " + std::to_string(counts[r]);
    }
    std::string line = std::to_string(unused) + " " + what + " without a resolved reference; " + std::to_string(total) +
                       " unresolved references could be uses";
    return reasons.empty() ? line : line + " (" + reasons + ")";
}

// Symbols of one object and kind in text order.
std::vector<int> inTextOrder(const ReferenceIndex& index, int object, SymbolKind kind)
{
    auto [first, last] = index.objectSymbols(object, kind);
    std::vector<int> out;
    for (int s = first; s < last; ++s)
        out.push_back(s);
    std::sort(out.begin(), out.end(), [&](int a, int b) { return index.symbols()[static_cast<size_t>(a)].pos < index.symbols()[static_cast<size_t>(b)].pos; });
    return out;
}

Outcome runReferences(CObjektManager& manager, CResultList& list, IProgress* progress, const AnalysisArgs& args)
{
    AnalysisRun run(manager, list, progress, referencesOperation(), 1);
    manager.setAwareSummary("");
    const ReferenceIndex& index = referenceIndex(manager);
    ReferenceIndex::LineCursor lines;
    if (args.term == "unresolved") {
        for (int r : index.unresolved())
            addReferenceRow(run, index, index.references()[static_cast<size_t>(r)], "", lines);
        manager.setAwareSummary(unresolvedSummary(index, 0, "targets"));
        run.finish();
        return {};
    }
    const int target = index.findTarget(args.term);
    if (target < 0) {
        manager.setAwareSummary("not in the export: " + args.term);
        manager.status(manager.awareSummary());
        run.finish();
        return {};
    }
    const std::string term(index.name(target));
    for (int r : index.referencesTo(target))
        addReferenceRow(run, index, index.references()[static_cast<size_t>(r)], term, lines);
    manager.status(std::to_string(index.referenceCount(target)) + " references");
    run.finish();
    return {};
}

} // namespace

void CObjektManager::findUnusedTableFieldsTyped(CResultList& list, IProgress* progress)
{
    AnalysisRun run(*this, list, progress, unusedFieldsOperation());
    const ReferenceIndex& index = referenceIndex(*this);
    int unused = 0;
    run.forEachObject([&](int i, CObjectRecord& record) {
        run.position(i);
        for (int s : inTextOrder(index, i, SymbolKind::Field)) {
            if (index.referenceCount(s) > 0)
                continue;
            ++unused;
            const XrefSymbol& field = index.symbols()[static_cast<size_t>(s)];
            run.addLocated(record, {std::string(record.headerText()), "", std::to_string(field.number), std::string(index.name(s)), "", ""},
                           field.pos, std::string(index.name(s)));
        }
    });
    setAwareSummary(unresolvedSummary(index, unused, "fields"));
    status(awareSummary());
}

void CObjektManager::findUnusedProceduresTyped(CResultList& list, IProgress* progress)
{
    AnalysisRun run(*this, list, progress, unusedFunctionsOperation());
    const ReferenceIndex& index = referenceIndex(*this);
    int unused = 0;
    run.forEachObject([&](int i, CObjectRecord& record) {
        run.position(i);
        for (int s : inTextOrder(index, i, SymbolKind::Procedure)) {
            if (index.referenceCount(s) > 0)
                continue;
            ++unused;
            const std::string name(index.name(s));
            run.addLocated(record, {std::string(record.headerText()), "", name, "", "", name},
                           index.symbols()[static_cast<size_t>(s)].pos, name);
        }
    });
    setAwareSummary(unresolvedSummary(index, unused, "procedures"));
    status(awareSummary());
}

void CObjektManager::findUnusedVariablesTyped(CResultList& list, IProgress* progress)
{
    AnalysisRun run(*this, list, progress, unusedVariablesOperation());
    const ReferenceIndex& index = referenceIndex(*this);
    int unused = 0;
    run.forEachObject([&](int i, CObjectRecord& record) {
        run.position(i);
        auto [first, last] = index.objectSymbols(i, SymbolKind::Variable);
        std::vector<int> variables;
        for (int s = first; s < last; ++s)
            variables.push_back(s);
        // Locals follow the object's globals up to the next object's first symbol.
        for (int s = last; s < static_cast<int>(index.symbols().size()) && index.symbols()[static_cast<size_t>(s)].object == i; ++s)
            variables.push_back(s);
        std::sort(variables.begin(), variables.end(), [&](int a, int b) { return index.symbols()[static_cast<size_t>(a)].pos < index.symbols()[static_cast<size_t>(b)].pos; });
        for (int s : variables) {
            const XrefSymbol& v = index.symbols()[static_cast<size_t>(s)];
            if (v.implicit || v.parameter || index.referenceCount(s) > 0)
                continue;
            ++unused;
            const std::string name(index.name(s));
            if (v.scope >= 0)
                run.addLocated(record, {std::string(record.headerText()), "", name, "local Var", "", index.whereTexts()[static_cast<size_t>(v.scope)]},
                               v.pos, name);
            else
                run.addLocated(record, {std::string(record.headerText()), "", name, "global Var", ""}, v.pos, name);
        }
    });
    setAwareSummary(unresolvedSummary(index, unused, "variables"));
    status(awareSummary());
}

const OperationDef& referencesOperation()
{
    static const OperationDef row{
        .command = "references",
        .summary = "where TARGET is used: \"Table 18\", \"Table 18.\\\"No.\\\"\", \"Codeunit 80.Code\", \"Page 21\"; "
                   "\"unresolved\" lists what the index could not resolve",
        .lastAction = "References",
        .input = OperationInput::Target,
        .columns = {{"Object", 250}, {"Where", 200}, {"Line", 60}, {"Kind", 80}, {"Code", 400}},
        .run = runReferences,
    };
    return row;
}
