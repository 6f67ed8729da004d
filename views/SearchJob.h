#pragma once

#include "analysis/AnalysisTable.h"
#include "model/SourceText.h"

#include <atomic>
#include <string>
#include <vector>

class CObjektManager;
class CResultList;
class IProgress;
class IStatusText;

// The three texts of the search view's option combo.
inline constexpr const char* SEARCH_OPTION_NORMAL = "normal";
inline constexpr const char* SEARCH_OPTION_CASE = "Case sensitiv";
inline constexpr const char* SEARCH_OPTION_REGEX = "regular Expression";

// Sets the two text-search flags from an option text; any other text leaves them and gives false.
bool applySearchOption(const std::string& option, bool& caseSensitive, bool& useRegex);

// What a search view command asks the user before it runs.
enum class CommandInput { None, SaveFile, SplitDialog, NumberRangeDialog };

// One worker command of the search view: its command ID, the quellix-cli name of its operation in
// the analysis table, and what it asks first.
struct SearchCommand {
    int id;
    const char* operation;
    CommandInput input;
};

const std::vector<SearchCommand>& searchViewCommands();
const SearchCommand* findSearchCommand(int id);
// The analysis-table row that runs a command (by command ID, else by operation name); null while
// the core does not have the operation, so the command stays disabled.
const AnalysisDef* analysisFor(const SearchCommand& command);
// The plain text search behind the "Search" button.
const AnalysisDef* textSearchAnalysis();

// "%1 wurde nicht gefunden." for a missing file, "Befehl fehlgeschlagen." for any other failure.
std::string fileErrorMessage(const std::string& path);
// True when path can be opened for reading; otherwise message says why.
bool sourceReadable(const std::string& path, std::string& message);

// The export a search view has read: its text (converted to ANSI) and file name, loaded into the
// document's catalogue on demand.
class CLoadedExport {
public:
    enum class Result { Kept, Loaded, Failed };

    // Reads sourceFile when nothing is loaded or the name differs (exact comparison) and loads it
    // into manager. On failure the earlier text, its name and the catalogue stay.
    Result ensureLoaded(const std::string& sourceFile, CObjektManager& manager, std::string& message);
    const std::string& fileName() const { return m_fileName; }
    const CSourceText& text() const { return m_text; }

private:
    CSourceText m_text;
    std::string m_fileName;
};

// Everything one worker job needs besides the thread: the operation with its inputs.
struct SearchJobRequest {
    const AnalysisDef* analysis = nullptr;
    AnalysisArgs args;
    std::string sourceFile;
};

// The body of a worker job: loads on demand, then runs the operation with the job's cancellation
// flag, status sink and progress. Returns false (with message) when the export cannot be read or a
// file of the code export or the split cannot be written.
bool runSearchJob(const SearchJobRequest& request, CLoadedExport& loaded, CObjektManager& manager,
                  CResultList& list, IProgress* progress, IStatusText* status,
                  const std::atomic<bool>& cancel, std::string& message);
