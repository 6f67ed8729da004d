#include "analysis/UnusedSumIndexFields.h"

#include "analysis/AnalysisRun.h"
#include "analysis/AwareRules.h"
#include "analysis/OperationTable.h"
#include "model/SourceText.h"
#include "model/WorkerThreads.h"

#include <algorithm>
#include <iterator>
#include <unordered_set>

namespace sumrefs {
namespace {

// The character at pos, or 0 beyond either end of the text.
char at(std::string_view text, int pos)
{
    return pos >= 0 && pos < static_cast<int>(text.size()) ? text[static_cast<size_t>(pos)] : '\0';
}

bool isBlank(char c)
{
    return c == '\t' || c == '\n' || c == '\r' || c == ' ';
}

// Letters, digits, "_" and the German letters Ä Ö Ü ä ö ü ß (Windows-1252 codes); "-" on request.
bool isIdentifierChar(char c, bool allowMinus)
{
    const auto u = static_cast<unsigned char>(c);
    return srctext::isWordChar(u) || c == '_' || (allowMinus && c == '-') || u == 196 || u == 214 || u == 220 ||
           u == 228 || u == 246 || u == 252 || u == 223;
}

void skipBlanks(std::string_view text, int& pos)
{
    while (isBlank(at(text, pos)))
        ++pos;
}

void appendIfNamed(std::vector<std::string>& names, const std::string& name)
{
    if (!name.empty())
        names.push_back(name);
}

} // namespace

std::string readToken(std::string_view text, int& pos, bool allowMinus)
{
    pos = std::max(pos, 0);
    skipBlanks(text, pos);
    std::string token;
    if (at(text, pos) == '"') {
        const int close = srctext::find(text, "\"", pos + 1);
        if (close == -1) {
            pos = static_cast<int>(text.size());
            return token;
        }
        token = std::string(srctext::cut(text, pos + 1, close - pos - 1));
        pos = close + 1;
    } else {
        const int begin = pos;
        while (pos < static_cast<int>(text.size()) && isIdentifierChar(at(text, pos), allowMinus))
            ++pos;
        token = std::string(srctext::cut(text, begin, pos - begin));
    }
    skipBlanks(text, pos);
    return token;
}

bool parseCalcFormula(std::string_view text, int& pos, CCalcFormulaRef& reference)
{
    const int found = srctext::find(text, "CalcFormula=", pos);
    if (found == -1) {
        pos = static_cast<int>(text.size());
        return false;
    }
    int cur = found + 12;
    if (at(text, cur) == '+' || at(text, cur) == '-')
        ++cur;
    const std::string method = readToken(text, cur, false);
    const bool summing = method == "Sum" || method == "Average";
    if (summing) {
        ++cur;
        reference.table = readToken(text, cur, true);
        ++cur;
        reference.field = readToken(text, cur, false);
    }
    pos = cur;
    return summing;
}

void parseCalcSums(std::string_view text, int& pos, std::vector<std::string>& names)
{
    const int found = srctext::find(text, "CALCSUMS(", pos);
    if (found == -1) {
        pos = static_cast<int>(text.size());
        return;
    }
    int cur = found + 9;
    for (;;) {
        std::string token = readToken(text, cur, false);
        if (at(text, cur) == '.') {
            ++cur;
            token = readToken(text, cur, false);
            appendIfNamed(names, token);
        }
        const char next = at(text, cur);
        if (next == ',') {
            ++cur;
            appendIfNamed(names, token);
            continue;
        }
        if (next == ')') {
            appendIfNamed(names, token);
        } else if (next == '[') {
            for (int k = 0; k < 3; ++k) {
                ++cur;
                token = readToken(text, cur, false);
            }
            appendIfNamed(names, token);
        }
        break;
    }
    pos = cur;
}

namespace {
constexpr const char* kFormulaPrefixes[] = {"CalcFormula=Sum(", "CalcFormula=-Sum(", "CalcFormula=Average(",
                                            "CalcFormula=-Average("};

// The formulas of one prefix, in text order.
std::vector<CCalcFormulaRef> formulasOf(std::string_view text, const char* prefix)
{
    std::vector<CCalcFormulaRef> found;
    int pos = 0;
    while ((pos = srctext::find(text, prefix, pos)) != -1) {
        CCalcFormulaRef reference;
        if (parseCalcFormula(text, pos, reference))
            found.push_back(std::move(reference));
    }
    return found;
}

void addAll(CCalcFormulaRefArray& references, std::vector<CCalcFormulaRef>& found)
{
    for (CCalcFormulaRef& reference : found)
        references.add(std::move(reference));
}
} // namespace

CCalcFormulaRefArray collectCalcFormulaRefs(std::string_view text)
{
    CCalcFormulaRefArray references;
    for (const char* prefix : kFormulaPrefixes) {
        std::vector<CCalcFormulaRef> found = formulasOf(text, prefix);
        addAll(references, found);
    }
    return references;
}

void collectSumReferences(std::string_view text, CCalcFormulaRefArray& references, std::vector<std::string>& names)
{
    // Each prefix and the CALCSUMS are one pass over the whole text of their own: the passes run
    // side by side, their findings joined in the order one thread would have found them.
    constexpr int kPrefixes = static_cast<int>(std::size(kFormulaPrefixes));
    std::vector<std::vector<CCalcFormulaRef>> found(kPrefixes);
    runInOrder(
        kPrefixes + 1,
        [&](int k, int) {
            if (k < kPrefixes)
                found[static_cast<size_t>(k)] = formulasOf(text, kFormulaPrefixes[k]);
            else
                names = collectCalcSumsNames(text);
        },
        [&](int k) {
            if (k < kPrefixes)
                addAll(references, found[static_cast<size_t>(k)]);
        },
        [] { return false; });
}

std::vector<std::string> collectCalcSumsNames(std::string_view text)
{
    std::vector<std::string> names;
    int pos = 0;
    while ((pos = srctext::find(text, "CALCSUMS(", pos)) != -1)
        parseCalcSums(text, pos, names);
    return names;
}

} // namespace sumrefs

namespace {

// ";Customer No.;Posting Date": every key field preceded by ";".
std::string keyFieldList(const CTableKey& key)
{
    std::string out;
    for (const CTableField& field : key.keyFields)
        out += ";" + field.name;
    return out;
}

// The references and summed names folded, for the C/AL-aware check of a SumIndexField the exact
// comparison found unused.
class FoldedSumReferences {
public:
    FoldedSumReferences(const CCalcFormulaRefArray& references, const std::vector<std::string>& names)
    {
        for (const CCalcFormulaRef& reference : references)
            m_tableFields.insert(aware::folded(reference.table) + '\n' + aware::folded(reference.field));
        for (const std::string& name : names)
            m_names.insert(aware::folded(name));
    }

    bool refersTo(const std::string& table, const std::string& field) const
    {
        const std::string name = aware::folded(field);
        return m_names.count(name) != 0 || m_tableFields.count(aware::folded(table) + '\n' + name) != 0;
    }

private:
    std::unordered_set<std::string> m_tableFields;
    std::unordered_set<std::string> m_names;
};

} // namespace

void CObjektManager::findUnusedSumIndexFields(CResultList& list, IProgress* progress, bool aware)
{
    AnalysisRun run(*this, list, progress, unusedSumIndexFieldsOperation());
    setAwareSummary("");
    const std::string_view whole = m_text != nullptr ? m_text->view() : std::string_view();
    CCalcFormulaRefArray references;
    std::vector<std::string> names;
    sumrefs::collectSumReferences(whole, references, names);
    // The C/AL-aware option: a reference in another letter case counts too.
    const FoldedSumReferences folded(aware ? references : CCalcFormulaRefArray(),
                                     aware ? names : std::vector<std::string>());
    aware::AwareCounts counts;
    run.forEachObject([&](int i, CObjectRecord& record) {
        record.countSumIndexFieldUses(references, names);
        CTableKeyArray unused;
        record.collectUnusedSumIndexFields(unused);
        const std::string table = aware ? record.headerName() : std::string();
        for (const CTableKey& key : unused) {
            if (aware) {
                ++counts.textual;
                if (folded.refersTo(table, key.sumIndexFields.get(0).name)) {
                    ++counts.letterCase;
                    continue;
                }
            }
            run.addRow({std::string(record.headerText()), key.enabled ? "Active" : "Passive", keyFieldList(key),
                        ";" + key.sumIndexFields.get(0).name},
                       0, record.typeImage());
        }
        run.position(i);
        run.status(i, record);
    });
    if (!aware)
        return;
    setAwareSummary(counts.summary());
    status(awareSummary());
}

const OperationDef& unusedSumIndexFieldsOperation()
{
    static const OperationDef row{
        .commandId = rid::ID_UNUSED_SUMINDEXFIELDS,
        .command = "unused-sumindexfields",
        .summary = "SumIndexFields that no CALCSUMS and no FlowField formula uses",
        .details = "Lists SumIndexFields of keys that no CALCSUMS and no FlowField formula uses. Every SumIndexField is "
                   "maintained on each insert, modify and delete of the table, so an unused one costs write time for nothing.",
        .options = {kAwareSwitch},
        .lastAction = "Search unused SumIndexFields",
        .menu = {"search unused ...", "sum index fields", 20},
        .check = CheckUse::Always,
        .columns = {{"Tablename", 250}, {"Key-Status", 10}, {"Keyname", 200}, {"SumIndexField", 200}},
        .statusFormat = "%d from %d Name: %s",
        .run = runAwareAnalysis<&CObjektManager::findUnusedSumIndexFields>,
    };
    return row;
}
