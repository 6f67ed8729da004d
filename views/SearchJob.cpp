#include "views/SearchJob.h"

#include "model/ObjektManager.h"
#include "model/ReadExport.h"

#include <filesystem>
#include <fstream>

bool applySearchOption(const std::string& option, bool& caseSensitive, bool& useRegex)
{
    if (option == SEARCH_OPTION_NORMAL) {
        caseSensitive = false;
        useRegex = false;
    } else if (option == SEARCH_OPTION_CASE) {
        caseSensitive = true;
        useRegex = false;
    } else if (option == SEARCH_OPTION_REGEX) {
        caseSensitive = true;
        useRegex = true;
    } else {
        return false;
    }
    return true;
}

const std::vector<SearchCommand>& searchViewCommands()
{
    static const std::vector<SearchCommand> commands = {
        {32786, "field-reference-problem", CommandInput::None},
        {32787, "table-reference-problem", CommandInput::None},
        {1040, "local-global", CommandInput::None},
        {32777, "once-used", CommandInput::None},
        {32789, "page-translations", CommandInput::None},
        {1068, "unused-sumindexfields", CommandInput::None},
        {1038, "unused-fields", CommandInput::None},
        {1030, "unused-variables", CommandInput::None},
        {1037, "unused-functions", CommandInput::None},
        {1062, "duplicate-ids", CommandInput::None},
        {1036, "export-code", CommandInput::SaveFile},
        {32788, "split", CommandInput::SplitDialog},
        {32782, "check-forms", CommandInput::None},
        {1039, "number-range", CommandInput::NumberRangeDialog},
    };
    return commands;
}

const SearchCommand* findSearchCommand(int id)
{
    for (const SearchCommand& command : searchViewCommands())
        if (command.id == id)
            return &command;
    return nullptr;
}

namespace {
// The two commands that write files instead of rows; their file or folder comes in args.term.
void runExportCode(CObjektManager& manager, CResultList&, IProgress*, const AnalysisArgs& args)
{
    manager.exportCode(args.term);
}

void runSplit(CObjektManager& manager, CResultList&, IProgress* progress, const AnalysisArgs& args)
{
    manager.split(args.term, args.from, args.to, progress);
}

const std::vector<AnalysisDef>& fileOperations()
{
    static const std::vector<AnalysisDef> operations = {
        {"export-code", 1036, nullptr, AnalysisThread::Worker, {}, nullptr, nullptr, runExportCode},
        {"split", 32788, "Export Objects to ", AnalysisThread::UserInterface, {}, nullptr, nullptr, runSplit},
    };
    return operations;
}
} // namespace

const AnalysisDef* analysisFor(const SearchCommand& command)
{
    const AnalysisDef* def = findAnalysisById(command.id);
    if (def == nullptr)
        def = findAnalysis(command.operation);
    for (const AnalysisDef& operation : fileOperations())
        if (def == nullptr && operation.commandId == command.id)
            def = &operation;
    return def != nullptr && def->run != nullptr ? def : nullptr;
}

const AnalysisDef* textSearchAnalysis()
{
    const AnalysisDef* def = findAnalysis("search");
    return def != nullptr && def->run != nullptr ? def : nullptr;
}

std::string fileErrorMessage(const std::string& path)
{
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        return path + " wurde nicht gefunden.";
    return "Befehl fehlgeschlagen.";
}

bool sourceReadable(const std::string& path, std::string& message)
{
    std::ifstream file(path, std::ios::binary);
    std::error_code ec;
    if (file && !std::filesystem::is_directory(path, ec))
        return true;
    message = fileErrorMessage(path);
    return false;
}

CLoadedExport::Result CLoadedExport::ensureLoaded(const std::string& sourceFile, CObjektManager& manager,
                                                  std::string& message)
{
    if (!m_text.empty() && m_fileName == sourceFile)
        return Result::Kept;
    std::string text;
    std::string reason;
    if (!sourceReadable(sourceFile, message) || !readExportFile(sourceFile, text, reason)) {
        if (message.empty())
            message = fileErrorMessage(sourceFile);
        return Result::Failed;
    }
    m_text.str().swap(text);
    m_fileName = sourceFile;
    manager.load(&m_text, sourceFile);
    return Result::Loaded;
}

namespace {
// The code export and the split write files and can fail, which the analysis table's runners do
// not report; so they are called here. Returns whether the request was one of them.
bool runFileOperation(const SearchJobRequest& request, CObjektManager& manager, IProgress* progress, bool& written)
{
    const AnalysisArgs& args = request.args;
    if (request.analysis->commandId == 1036)
        written = manager.exportCode(args.term);
    else if (request.analysis->commandId == 32788)
        written = manager.split(args.term, args.from, args.to, progress);
    else
        return false;
    return true;
}
} // namespace

bool runSearchJob(const SearchJobRequest& request, CLoadedExport& loaded, CObjektManager& manager,
                  CResultList& list, IProgress* progress, IStatusText* status,
                  const std::atomic<bool>& cancel, std::string& message)
{
    manager.setStatusSink(status);
    if (loaded.ensureLoaded(request.sourceFile, manager, message) == CLoadedExport::Result::Failed) {
        manager.setStatusSink(nullptr);
        return false;
    }
    bool written = true;
    if (!cancel.load() && request.analysis != nullptr) {
        manager.setCancelFlag(&cancel);
        if (!runFileOperation(request, manager, progress, written))
            request.analysis->run(manager, list, progress, request.args);
        manager.setCancelFlag(nullptr);
    }
    manager.setStatusSink(nullptr);
    if (!written)
        message = "Befehl fehlgeschlagen.";
    return written;
}
