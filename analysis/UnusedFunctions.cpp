#include "analysis/AnalysisColumns.h"
#include "analysis/AnalysisRun.h"
#include "analysis/AwareRules.h"
#include "analysis/OperationTable.h"
#include "model/WorkerThreads.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <set>
#include <thread>
#include <unordered_set>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// A procedure's name stands this far behind the start of its declaration marker.
constexpr int kProcedureMarkerLength = static_cast<int>(std::string_view("\r\n    PROCEDURE ").size());
constexpr int kLocalProcedureMarkerLength = static_cast<int>(std::string_view("\r\n    LOCAL PROCEDURE ").size());

// Whole-word occurrences of procedure names in the whole text, found in one pass: a whole-word
// occurrence of a name that begins with a letter or digit starts a maximal run of letters and
// digits equal to the name's first run, so only such runs need to be recorded. With foldCase the
// names and runs compare without regard to letter case (A-Z), as the C/AL-aware option asks.
// scanText fills several indexes over the same text in one reading.
class ProcedureNameIndex {
public:
    ProcedureNameIndex(std::string_view text, const std::vector<std::string>& names, bool foldCase = false)
        : m_text(text), m_foldCase(foldCase)
    {
        for (const std::string& name : names) {
            std::string_view head = firstRun(name);
            if (!head.empty()) {
                HeadRuns& runs = m_runs[m_foldCase ? aware::folded(head) : std::string(head)];
                runs.names.push_back(name);
                m_mayBeHead[filterBit(head)] = true;
            }
        }
    }

    // Reads the whole text once, recording for each index where each maximal run of letters and
    // digits that is the first run of one of its names starts. Slices of the text are read on
    // threads of their own, each taking the runs that start in it, and appended in text order.
    static void scanText(std::string_view text, const std::vector<ProcedureNameIndex*>& indexes)
    {
        if (std::all_of(indexes.begin(), indexes.end(), [](const ProcedureNameIndex* i) { return i->m_runs.empty(); }))
            return;
        const size_t n = text.size();
        const size_t threads = std::max(1u, std::thread::hardware_concurrency());
        const size_t slices = std::max<size_t>(1, std::min(threads, n / kMinSlice));
        std::vector<std::vector<std::vector<std::pair<HeadRuns*, int>>>> found(
            slices, std::vector<std::vector<std::pair<HeadRuns*, int>>>(indexes.size()));
        runSlices(static_cast<int>(slices), [&](int slice) {
            const size_t k = static_cast<size_t>(slice);
            scanSlice(text, n * k / slices, n * (k + 1) / slices, indexes, found[k]);
        });
        // Each slice's findings are let go as soon as they are joined: together they are several
        // times the runs they end up as.
        for (auto& slice : found)
            for (auto& perIndex : slice) {
                for (const auto& [runs, p] : perIndex)
                    runs->starts.push_back(p);
                std::vector<std::pair<HeadRuns*, int>>().swap(perIndex);
            }
    }

    // Resolves the exact-case hits of every head at once, the heads in blocks on the worker
    // threads, each block into a map of its own merged afterwards: the rows then only look up.
    void resolveAllExact()
    {
        std::vector<HeadRuns*> heads;
        for (auto& [head, runs] : m_runs)
            if (!runs.resolved[1])
                heads.push_back(&runs);
        HitsByName& byName = m_foldCase ? m_byNameExact : m_byName;
        constexpr size_t kBlock = 64;
        const int blocks = static_cast<int>((heads.size() + kBlock - 1) / kBlock);
        std::vector<HitsByName> found(static_cast<size_t>(blocks));
        runInOrder(
            blocks,
            [&](int b, int) {
                const size_t first = static_cast<size_t>(b) * kBlock;
                for (size_t i = first; i < std::min(heads.size(), first + kBlock); ++i)
                    resolveHead(*heads[i], false, found[static_cast<size_t>(b)]);
            },
            [&](int b) {
                for (auto& [name, hits] : found[static_cast<size_t>(b)])
                    byName.try_emplace(name, std::move(hits));
                found[static_cast<size_t>(b)].clear();
            },
            [] { return false; }); // a tenth of a second at most: a block left out would leave names without hits
    }

    // Like findWholeWord(name, from) over the whole text, without regard to letter case when the
    // index folds it and exactCase is false. An index that folds answers both ways from one
    // reading of the text, so the C/AL-aware run needs no second index.
    int find(const std::string& name, int from, bool exactCase)
    {
        std::string_view head = firstRun(name);
        const bool fold = m_foldCase && !exactCase;
        if (head.empty())
            return fold ? aware::findWholeWordNoCase(m_text, name, from) : srctext::findWholeWord(m_text, name, from);
        const std::vector<int>& hits = occurrences(name, head, fold);
        auto it = std::lower_bound(hits.begin(), hits.end(), from);
        return it == hits.end() ? -1 : *it;
    }

private:
    // The runs of a head in text order and the names that begin with it. Many names can share a
    // head ("Post" of "Post_Line" and "Post_Header"): the runs of a head are read once for all of
    // its names, so the cost does not grow with the product of the two counts.
    struct HeadRuns {
        std::vector<int> starts;
        std::vector<std::string> names; // with repeats: one per declaration
        bool resolved[2] = {false, false}; // [folded, exact]
    };

    static unsigned char foldByte(unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; }

    // Most runs of the text are no name's first run; a bit per length, first and last byte
    // (folded with foldCase) sorts most of them out before they are hashed.
    size_t filterBit(std::string_view run) const
    {
        auto first = static_cast<unsigned char>(run.front());
        auto last = static_cast<unsigned char>(run.back());
        if (m_foldCase) {
            first = foldByte(first);
            last = foldByte(last);
        }
        return ((std::min<size_t>(run.size(), 31) << 12) ^ (static_cast<size_t>(first) << 6) ^ last) &
               (kFilterBits - 1);
    }

    static std::string_view firstRun(std::string_view name)
    {
        size_t n = 0;
        while (n < name.size() && srctext::isWordChar(static_cast<unsigned char>(name[n])))
            ++n;
        return name.substr(0, n);
    }

    // The runs that start in [begin, end), in text order; the last may reach beyond end.
    static void scanSlice(std::string_view text, size_t begin, size_t end,
                          const std::vector<ProcedureNameIndex*>& indexes,
                          std::vector<std::vector<std::pair<HeadRuns*, int>>>& found)
    {
        static const WordBytes word;
        const auto* t = reinterpret_cast<const unsigned char*>(text.data());
        const size_t n = text.size();
        size_t p = begin;
        // A run that began before the slice belongs to the slice before.
        if (p > 0)
            while (p < end && word.is[t[p - 1]] && word.is[t[p]])
                ++p;
        std::string folded;
        auto take = [&](size_t from, size_t to) {
            const std::string_view run(text.data() + from, to - from);
            for (size_t i = 0; i < indexes.size(); ++i) {
                ProcedureNameIndex& index = *indexes[i];
                if (!index.m_mayBeHead[index.filterBit(run)])
                    continue;
                if (index.m_foldCase) {
                    folded.assign(run);
                    for (char& c : folded)
                        c = static_cast<char>(foldByte(static_cast<unsigned char>(c)));
                }
                auto it = index.m_runs.find(index.m_foldCase ? std::string_view(folded) : run);
                if (it != index.m_runs.end())
                    found[i].emplace_back(&it->second, static_cast<int>(from));
            }
        };
        // 64 bytes at a time: a bit per letter or digit, the runs' starts and ends read off the
        // bits. Runs end at unforeseeable places; a test per byte mispredicts at most of them.
        for (size_t c = p; c < end; c += 64) {
            const size_t width = std::min<size_t>(64, n - c);
            const std::uint64_t mask = wordMask(t + c, width);
            const std::uint64_t before = c > p && word.is[t[c - 1]] ? 1 : 0;
            std::uint64_t starts = mask & ~((mask << 1) | before);
            if (end - c < 64)
                starts &= (std::uint64_t{1} << (end - c)) - 1;
            while (starts != 0) {
                const auto s = static_cast<size_t>(std::countr_zero(starts));
                starts &= starts - 1;
                // Bits past a short last block are clear, so a run there ends at the text's end.
                const std::uint64_t rest = ~mask >> s;
                size_t e;
                if (rest != 0) {
                    e = c + s + static_cast<size_t>(std::countr_zero(rest));
                } else {
                    e = c + 64;
                    while (e < n && word.is[t[e]])
                        ++e;
                }
                take(c + s, e);
            }
        }
    }

    // A bit per byte of the width (at most 64) bytes at t: set for 0-9, A-Z and a-z.
    static std::uint64_t wordMask(const unsigned char* t, size_t width)
    {
        std::uint64_t mask = 0;
        size_t k = 0;
#if defined(__SSE2__)
        const __m128i zero = _mm_set1_epi8('0');
        const __m128i nine = _mm_set1_epi8(9);
        const __m128i lower = _mm_set1_epi8(0x20);
        const __m128i a = _mm_set1_epi8('a');
        const __m128i z = _mm_set1_epi8(25);
        for (; k + 16 <= width; k += 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t + k));
            const __m128i digit = _mm_sub_epi8(v, zero);
            const __m128i letter = _mm_sub_epi8(_mm_or_si128(v, lower), a);
            const __m128i isWord = _mm_or_si128(_mm_cmpeq_epi8(_mm_min_epu8(digit, nine), digit),
                                                _mm_cmpeq_epi8(_mm_min_epu8(letter, z), letter));
            mask |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(isWord))) << k;
        }
#endif
        for (; k < width; ++k)
            if (srctext::isWordChar(t[k]))
                mask |= std::uint64_t{1} << k;
        return mask;
    }

    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>()(s); }
    };
    using HitsByName = std::unordered_map<std::string, std::vector<int>, Hash, std::equal_to<>>;

    const std::vector<int>& occurrences(const std::string& name, std::string_view head, bool fold)
    {
        HitsByName& byName = fold || !m_foldCase ? m_byName : m_byNameExact;
        auto cached = byName.find(name);
        if (cached != byName.end())
            return cached->second;
        auto runs = m_runs.find(m_foldCase ? aware::folded(head) : std::string(head));
        if (runs != m_runs.end() && !runs->second.resolved[fold ? 0 : 1]) {
            resolveHead(runs->second, fold, byName);
            cached = byName.find(name);
            if (cached != byName.end())
                return cached->second;
        }
        return byName.emplace(name, std::vector<int>()).first->second;
    }

    // The whole-word occurrences of every name of a head, from one reading of its runs in text
    // order (once per length its names have): sequential reads of the text, hits already sorted.
    void resolveHead(HeadRuns& r, bool fold, HitsByName& byName) const
    {
        r.resolved[fold ? 0 : 1] = true;
        HitsByName hitsByKey;
        std::vector<size_t> lengths;
        for (const std::string& name : r.names) {
            hitsByKey.try_emplace(fold ? aware::folded(name) : name);
            if (std::find(lengths.begin(), lengths.end(), name.size()) == lengths.end())
                lengths.push_back(name.size());
        }
        std::string key;
        for (const int p : r.starts) {
            for (const size_t len : lengths) {
                const size_t after = static_cast<size_t>(p) + len;
                if (after > m_text.size() || (after < m_text.size() && srctext::isWordChar(static_cast<unsigned char>(m_text[after]))))
                    continue;
                std::string_view at = m_text.substr(static_cast<size_t>(p), len);
                if (fold) {
                    key.assign(at);
                    for (char& c : key)
                        c = static_cast<char>(foldByte(static_cast<unsigned char>(c)));
                    at = key;
                }
                auto hit = hitsByKey.find(at);
                if (hit != hitsByKey.end())
                    hit->second.push_back(p);
            }
        }
        for (const std::string& name : r.names)
            if (!byName.contains(name))
                byName.emplace(name, hitsByKey.find(fold ? aware::folded(name) : name)->second);
    }

    // Letters and digits, looked up instead of compared.
    struct WordBytes {
        bool is[256] = {};
        WordBytes()
        {
            for (int c = 0; c < 256; ++c)
                is[c] = srctext::isWordChar(static_cast<unsigned char>(c));
        }
    };
    static constexpr size_t kFilterBits = 1 << 17;
    // A text shorter than this per thread is read on one.
    static constexpr size_t kMinSlice = 1 << 20;
    std::string_view m_text;
    bool m_foldCase;
    std::vector<bool> m_mayBeHead = std::vector<bool>(kFilterBits);
    std::unordered_map<std::string, HeadRuns, Hash, std::equal_to<>> m_runs;
    HitsByName m_byName;
    HitsByName m_byNameExact; // of an index that folds

};

// The first whole-word occurrence of a procedure's name other than its declaration at d, or -1.
int otherOccurrence(ProcedureNameIndex& index, const std::string& name, int d, bool exactCase)
{
    int p = index.find(name, 0, exactCase);
    if (p == d)
        p = index.find(name, d + static_cast<int>(name.size()), exactCase);
    return p;
}

} // namespace

// Procedures whose name stands as a whole word nowhere in the loaded text but in their declaration.
void CObjektManager::findUnusedProcedures(CResultList& list, IProgress* progress, bool aware)
{
    AnalysisRun run(*this, list, progress, unusedFunctionsOperation());
    setAwareSummary("");
    std::vector<std::string> names;
    runInOrder(
        count(), [&](int i, int) { get(i).ensureCode(); },
        [&](int i) {
            for (const CProcedure& proc : get(i).procedures)
                names.push_back(proc.name());
        },
        [&] { return cancelled(); });
    if (cancelled() || !text())
        return;
    // The C/AL-aware option: the same search without regard to letter case too (the same index
    // answers both), the attributes above each declaration, the test codeunits and every event
    // some subscriber names.
    ProcedureNameIndex index(text()->view(), names, aware);
    std::set<aware::EventKey> subscribed;
    aware::AwareCounts counts;
    std::vector<std::pair<CObjectRecord*, const CProcedure*>> unsubscribed;
    if (aware)
        subscribed = aware::subscribedEvents(text()->view());
    ProcedureNameIndex::scanText(text()->view(), {&index});
    index.resolveAllExact();
    run.forEachObject([&](int i, CObjectRecord& record) {
        run.position(i);
        run.status(i, record);
        const std::string header(record.headerText());
        const aware::TestCodeunit codeunit = aware ? aware::testCodeunitOf(record) : aware::TestCodeunit();
        const std::string typeWord = aware ? aware::folded(aware::objectTypeWordOf(record)) : std::string();
        for (const CProcedure& proc : record.procedures) {
            const std::string name = proc.name();
            const int d = proc.span.start() + (proc.isLocal ? kLocalProcedureMarkerLength : kProcedureMarkerLength);
            std::string sort = proc.isLocal ? "locale Proc. " : "Proc. ";
            aware::ProcedureKind kind;
            bool unsubscribedEvent = false;
            if (aware) {
                kind = aware::classifyProcedure(proc, codeunit);
                unsubscribedEvent =
                    kind.publisher && subscribed.count({typeWord, record.number, aware::folded(name)}) == 0;
                if (unsubscribedEvent)
                    unsubscribed.emplace_back(&record, &proc);
            }
            if (otherOccurrence(index, name, d, true) != -1)
                continue;
            if (aware) {
                ++counts.textual;
                if (kind.removal == aware::Removal::EventSubscriber) {
                    ++counts.eventSubscribers;
                    continue;
                }
                if (kind.removal == aware::Removal::Platform) {
                    ++counts.platform;
                    continue;
                }
                if (kind.removal == aware::Removal::Test) {
                    ++counts.test;
                    continue;
                }
                if (otherOccurrence(index, name, d, false) != -1) {
                    ++counts.letterCase;
                    continue;
                }
                if (unsubscribedEvent) { // its one row comes with the events below
                    ++counts.unusedEvents;
                    continue;
                }
                if (kind.external) {
                    ++counts.external;
                    sort = "external";
                }
            }
            run.addLocated(record, {header, "", proc.signature, sort, "", proc.signature}, d, proc.signature);
        }
    });
    if (!aware)
        return;
    // Published events that no subscriber names come last, in catalogue order.
    for (const auto& [record, proc] : unsubscribed) {
        const int d = proc->span.start() + (proc->isLocal ? kLocalProcedureMarkerLength : kProcedureMarkerLength);
        run.addLocated(*record, {std::string(record->headerText()), "", proc->signature, "event without subscriber", "",
                                 proc->signature},
                       d, proc->signature);
        ++counts.eventsWithoutSubscriber;
    }
    setAwareSummary(counts.functionsSummary());
    status(awareSummary());
}

const OperationDef& unusedFunctionsOperation()
{
    static const OperationDef row{
        .commandId = rid::ID_UNUSED_FUNCTIONS,
        .command = "unused-functions",
        .summary = "procedures that are never called",
        .details = "Lists procedures whose name occurs nowhere in the export but in their declaration. Code nobody calls is still "
                   "compiled, upgraded and read; it may also be a call that was lost by mistake.",
        .options = {kTypedSwitch, kAwareSwitch},
        .lastAction = "Unused Functions",
        .menu = {"search unused ...", "functions", 23},
        .check = CheckUse::Always,
        .columns = kUnusedColumns,
        .statusFormat = "%d von %d Name: %s",
        .run = runTypedOrAwareAnalysis<&CObjektManager::findUnusedProcedures, &CObjektManager::findUnusedProceduresTyped>,
    };
    return row;
}
