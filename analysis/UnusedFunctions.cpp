#include "analysis/AnalysisColumns.h"
#include "analysis/AnalysisRun.h"
#include "analysis/OperationTable.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace {

// A procedure's name stands this far behind the start of its declaration marker.
constexpr int kProcedureMarkerLength = static_cast<int>(std::string_view("\r\n    PROCEDURE ").size());
constexpr int kLocalProcedureMarkerLength = static_cast<int>(std::string_view("\r\n    LOCAL PROCEDURE ").size());

// Whole-word occurrences of procedure names in the whole text, found in one pass: a whole-word
// occurrence of a name that begins with a letter or digit starts a maximal run of letters and
// digits equal to the name's first run, so only such runs need to be recorded.
class ProcedureNameIndex {
public:
    ProcedureNameIndex(std::string_view text, const std::vector<std::string>& names) : m_text(text)
    {
        for (const std::string& name : names) {
            std::string_view head = firstRun(name);
            if (!head.empty()) {
                HeadRuns& runs = m_runs[std::string(head)];
                runs.longestName = std::max(runs.longestName, name.size());
                m_mayBeHead[filterBit(head)] = true;
            }
        }
        if (!m_runs.empty())
            scan();
    }

    // Like findWholeWord(name, from) over the whole text.
    int find(const std::string& name, int from)
    {
        std::string_view head = firstRun(name);
        if (head.empty())
            return srctext::findWholeWord(m_text, name, from);
        const std::vector<int>& hits = occurrences(name, head);
        auto it = std::lower_bound(hits.begin(), hits.end(), from);
        return it == hits.end() ? -1 : *it;
    }

private:
    // Most runs of the text are no name's first run; a bit per length, first and last byte sorts
    // most of them out before they are hashed.
    static size_t filterBit(std::string_view run)
    {
        const auto first = static_cast<unsigned char>(run.front());
        const auto last = static_cast<unsigned char>(run.back());
        return ((std::min<size_t>(run.size(), 31) << 12) ^ (static_cast<size_t>(first) << 6) ^ last) & (kFilterBits - 1);
    }

    static std::string_view firstRun(std::string_view name)
    {
        size_t n = 0;
        while (n < name.size() && srctext::isWordChar(static_cast<unsigned char>(name[n])))
            ++n;
        return name.substr(0, n);
    }

    // Reads the whole text once, recording where each maximal run of letters and digits that is
    // the first run of some name starts.
    void scan()
    {
        const auto* t = reinterpret_cast<const unsigned char*>(m_text.data());
        const size_t n = m_text.size();
        for (size_t p = 0; p < n;) {
            if (!srctext::isWordChar(t[p])) {
                ++p;
                continue;
            }
            size_t e = p;
            while (e < n && srctext::isWordChar(t[e]))
                ++e;
            const std::string_view run(m_text.data() + p, e - p);
            if (!m_mayBeHead[filterBit(run)]) {
                p = e;
                continue;
            }
            auto it = m_runs.find(run);
            if (it != m_runs.end())
                it->second.starts.push_back(static_cast<int>(p));
            p = e;
        }
    }

    // The runs of a head, sorted once by the text they start (up to the longest name with that
    // head), so that the runs that go on with one name are found by two binary searches: many
    // names can share a head ("Post" of "Post_Line" and "Post_Header"), and filtering every run
    // of the head for every such name would cost the product of the two counts.
    struct HeadRuns {
        std::vector<int> starts;
        std::vector<int> byText;
        size_t longestName = 0;
    };

    const std::vector<int>& occurrences(const std::string& name, std::string_view head)
    {
        auto cached = m_byName.find(name);
        if (cached != m_byName.end())
            return cached->second;
        std::vector<int> hits;
        auto runs = m_runs.find(head);
        if (runs != m_runs.end()) {
            HeadRuns& r = runs->second;
            const size_t len = name.size();
            auto textAt = [&](int p, size_t n) { return m_text.substr(static_cast<size_t>(p), n); };
            if (r.byText.size() != r.starts.size()) {
                r.byText = r.starts;
                std::stable_sort(r.byText.begin(), r.byText.end(),
                                 [&](int a, int b) { return textAt(a, r.longestName) < textAt(b, r.longestName); });
            }
            // -1 stands for the name itself in the binary searches.
            auto key = [&](int p) { return p < 0 ? std::string_view(name) : textAt(p, len); };
            auto [first, last] = std::equal_range(r.byText.begin(), r.byText.end(), -1,
                                                  [&](int a, int b) { return key(a) < key(b); });
            for (auto it = first; it != last; ++it) {
                const size_t after = static_cast<size_t>(*it) + len;
                if (after >= m_text.size() || !srctext::isWordChar(static_cast<unsigned char>(m_text[after])))
                    hits.push_back(*it);
            }
            std::sort(hits.begin(), hits.end());
        }
        return m_byName.emplace(name, std::move(hits)).first->second;
    }

    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>()(s); }
    };
    static constexpr size_t kFilterBits = 1 << 17;
    std::string_view m_text;
    std::vector<bool> m_mayBeHead = std::vector<bool>(kFilterBits);
    std::unordered_map<std::string, HeadRuns, Hash, std::equal_to<>> m_runs;
    std::unordered_map<std::string, std::vector<int>> m_byName;
};

} // namespace

// Procedures whose name stands as a whole word nowhere in the loaded text but in their declaration.
void CObjektManager::findUnusedProcedures(CResultList& list, IProgress* progress)
{
    AnalysisRun run(*this, list, progress, unusedFunctionsOperation());
    std::vector<std::string> names;
    for (int i = 0; i < count() && !cancelled(); ++i) {
        get(i).ensureCode();
        for (const CProcedure& proc : get(i).procedures)
            names.push_back(proc.name());
    }
    if (cancelled() || !text())
        return;
    ProcedureNameIndex index(text()->view(), names);
    run.forEachObject([&](int i, CObjectRecord& record) {
        run.position(i);
        run.status(i, record);
        const std::string header(record.headerText());
        for (const CProcedure& proc : record.procedures) {
            const std::string name = proc.name();
            const int d = proc.span.start() + (proc.isLocal ? kLocalProcedureMarkerLength : kProcedureMarkerLength);
            int p = index.find(name, 0);
            if (p == d)
                p = index.find(name, d + static_cast<int>(name.size()));
            if (p == -1)
                run.addLocated(record, {header, "", proc.signature, proc.isLocal ? "locale Proc. " : "Proc. ", "", proc.signature},
                               d, proc.signature);
        }
    });
}

const OperationDef& unusedFunctionsOperation()
{
    static const OperationDef row{rid::ID_UNUSED_FUNCTIONS,
                                  "unused-functions",
                                  "Unused Functions",
                                  OperationInput::None,
                                  AnalysisThread::Worker,
                                  kUnusedColumns,
                                  "%d von %d Name: %s",
                                  nullptr,
                                  runPlainAnalysis<&CObjektManager::findUnusedProcedures>};
    return row;
}
