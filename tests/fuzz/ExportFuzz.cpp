// Arbitrary bytes as an export file, through the job runner as the command line runs it: read,
// line-end fix, conversion and load, then every operation of the operation table (the text
// searches with a term taken from the input, in every mode), the code export and the split into
// a scratch folder. The reference index is built by the references operation and the typed
// unused analyses.
#include "FuzzSupport.h"

#include "analysis/OperationTable.h"
#include "jobs/JobRunner.h"
#include "model/ObjektManager.h"
#include "results/ResultList.h"

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

// A term from the input: the bytes after the last "@" (the marker of a search term in the
// dictionary's seeds) up to a line end, at most 24 bytes; otherwise the first word of the text.
std::string searchTerm(std::string_view bytes)
{
    std::size_t at = bytes.rfind('@');
    std::size_t begin = at == std::string_view::npos ? 0 : at + 1;
    std::size_t end = bytes.find_first_of(at == std::string_view::npos ? " \r\n" : "\r\n", begin);
    if (end == std::string_view::npos)
        end = bytes.size();
    return std::string(bytes.substr(begin, std::min<std::size_t>(end - begin, 24)));
}

void runOperation(const OperationDef& operation, const std::string& exportPath, const std::string& term,
                  std::uint8_t choice, CLoadedExport& loaded, CObjektManager& manager)
{
    const std::string& scratch = fuzz::scratchFolder();
    JobRequest request;
    request.operation = &operation;
    request.sourceFile = exportPath;
    request.args.term = term;
    request.args.useRegex = (choice & 1) != 0;
    request.args.caseSensitive = (choice & 2) != 0;
    request.args.objects = (choice & 4) == 0;
    request.args.tableFields = (choice & 8) == 0;
    request.args.from = (choice & 16) != 0 ? INT_MIN : 0;
    request.args.to = (choice & 32) != 0 ? 50000 : INT_MAX;
    // The reference index: the typed unused analyses, and the references of the term or every
    // unresolved one.
    if ((choice & 64) != 0 && takesSwitch(operation, kTypedOption))
        request.args.flags.push_back(kTypedOption);
    if (operation.input == OperationInput::Target && (choice & 128) != 0)
        request.args.term = "unresolved";
    std::vector<std::string> written;
    request.args.written = &written;
    if (operation.input == OperationInput::OutputFile)
        request.args.path = scratch + "/code.txt";
    else if (operation.input == OperationInput::FolderAndRange)
        request.args.path = scratch + "/split";
    CResultList list;
    // Any bytes are a readable export, and the scratch folder takes every file written.
    if (!runJob(request, loaded, manager, list, nullptr, nullptr, nullptr).ok())
        std::abort();
    list.GetListText("\t", "\r\n");
    if (operation.input == OperationInput::FolderAndRange) {
        std::error_code ignored;
        std::filesystem::remove_all(request.args.path, ignored);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 4 * 1024 * 1024)
        return 0;
    fuzz::CInput input(data, size);
    const std::uint8_t choice = input.byte();
    const std::string_view bytes = input.rest();
    const std::string exportPath = fuzz::scratchFolder() + "/export.txt";
    std::ofstream(exportPath, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    const std::string term = searchTerm(bytes);

    CLoadedExport loaded;
    CObjektManager manager;
    for (const OperationDef* operation : operationTable())
        runOperation(*operation, exportPath, term, choice, loaded, manager);
    return 0;
}
