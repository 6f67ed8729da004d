#pragma once

#include "model/ObjectRecord.h"
#include "model/Outcome.h"
#include "model/ResultLocation.h"
#include "model/SourceText.h"
#include "model/Status.h"
#include "model/TypedArray.h"

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class CResultList;

// Something built from the whole catalogue when first asked for and kept with it (the reference
// index of analysis/): dropped when another export is loaded.
class CCatalogueIndex {
public:
    virtual ~CCatalogueIndex() = default;
};

// The catalogue of one loaded export and the analyses over it. One operation at a time uses it.
class CObjektManager {
public:
    CTypedArray<CResultLocation> results; // locations of the last analysis, indexed by item data
    CObjectRecordArray catalogue;          // objects in text order

    CObjektManager() = default;
    CObjektManager(const CObjektManager&) = delete;
    CObjektManager& operator=(const CObjektManager&) = delete;

    // Cuts text into object records (header parsed only). Loading the same file name again keeps
    // the catalogue. The text is owned by the caller and must outlive the catalogue.
    void load(CSourceText* text, const std::string& fileName);

    int count() const { return catalogue.count(); }
    CObjectRecord& get(int i) { return catalogue.get(i); }
    const CObjectRecord& get(int i) const { return catalogue.get(i); }
    CSourceText* text() const { return m_text; }
    const std::string& fileName() const { return m_fileName; }
    // Index of the object whose objectSpan contains pos, -1 when none does.
    int objectAt(int pos) const;

    // Object index as it stands in the export (ANSI): from its "OBJECT" through the CR LF after
    // its closing "}", without the line ends between objects. Empty for an index out of range.
    std::string sourceText(int index) const;

    // Start of the last occurrence of pattern in the whole text, -1 when none (cached; any thread).
    int lastOccurrence(std::string_view pattern) const;

    // Status lines and cancellation, set by the caller that runs an operation.
    void setStatusSink(IStatusText* sink) { m_status = sink; }
    void status(const std::string& line) const;
    void setCancelFlag(const std::atomic<bool>* flag) { m_cancel = flag; }
    const std::atomic<bool>* cancelFlag() const { return m_cancel; }
    bool cancelled() const { return m_cancel != nullptr && m_cancel->load(std::memory_order_relaxed); }
    // The last status line of an unused analysis run with the C/AL-aware option: how many rows its
    // rules removed and why; empty after any other run of the four unused analyses.
    const std::string& awareSummary() const { return m_awareSummary; }
    void setAwareSummary(const std::string& line) { m_awareSummary = line; }

    // Whether the code that a text search or the number range parses only to place its rows stays
    // parsed (the default: later analyses and the object viewer find it ready). A program that runs
    // one of them and exits (the command line) turns it off, so a run with rows in every object
    // does not hold the code of all of them.
    void setKeepParses(bool keep) { m_keepParses = keep; }
    bool keepParses() const { return m_keepParses; }

    // The index kept with this catalogue, or null before it was built or after another load.
    std::unique_ptr<CCatalogueIndex>& keptIndex() { return m_index; }

    // Analyses: each resets the list, adds its columns and rows, and drives the progress.
    void searchText(const std::string& term, CResultList& list, IProgress* progress, bool useRegex,
                    bool caseSensitive);
    void findUnusedVariables(CResultList& list, IProgress* progress, bool aware = false);
    void findUnusedProcedures(CResultList& list, IProgress* progress, bool aware = false);
    void findUnusedTableFields(CResultList& list, IProgress* progress, bool aware = false);
    // The unused analyses by the reference index: no resolved reference of any kind.
    void findUnusedVariablesTyped(CResultList& list, IProgress* progress);
    void findUnusedProceduresTyped(CResultList& list, IProgress* progress);
    void findUnusedTableFieldsTyped(CResultList& list, IProgress* progress);
    void findUnusedSumIndexFields(CResultList& list, IProgress* progress, bool aware = false);
    void searchNumberRange(CResultList& list, IProgress* progress, int from, int to, bool objects,
                           bool tableFields);
    void findLocalEqualsGlobal(CResultList& list, IProgress* progress);
    void findOnceUsedGlobals(CResultList& list, IProgress* progress);
    void findDuplicateIds(CResultList& list, IProgress* progress);
    void findMissingPageNameTranslations(CResultList& list, IProgress* progress);
    void checkForms(CResultList& list, IProgress* progress);

    // Writes the code of forms, reports and dataports to fileName (replacing it). CannotWrite,
    // with the system's reason, when the file cannot be written.
    Outcome exportCode(const std::string& fileName);
    // Writes every object numbered from..to to folder/"<Type> <No>.txt" in the OEM code page, the
    // type word as its OBJECT line has it ("Page 21.txt"). A name already written in this run gets
    // " (2)", " (3)" ... before ".txt"; such paths go to renamed too. Appends each written path to
    // written; CannotWrite naming the file and the reason when one cannot be written (files
    // already written stay).
    Outcome split(const std::string& folder, int from, int to, IProgress* progress,
                  std::vector<std::string>* written = nullptr, std::vector<std::string>* renamed = nullptr);

private:
    CSourceText* m_text = nullptr;
    std::string m_fileName;
    IStatusText* m_status = nullptr;
    std::string m_awareSummary;
    const std::atomic<bool>* m_cancel = nullptr;
    bool m_keepParses = true;
    std::unique_ptr<CCatalogueIndex> m_index;
    mutable std::mutex m_lastOccurrenceMutex;
    mutable std::map<std::string, int, std::less<>> m_lastOccurrence;
};
