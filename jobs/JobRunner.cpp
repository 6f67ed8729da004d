#include "jobs/JobRunner.h"

#include "model/FileAccess.h"
#include "model/ObjektManager.h"
#include "model/ReadExport.h"
#include "results/ResultList.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace {
Outcome readFailure(const std::string& path, const std::string& reason)
{
    std::error_code ec;
    OutcomeKind kind = std::filesystem::exists(fileSystemPath(path), ec) ? OutcomeKind::Unreadable : OutcomeKind::NotFound;
    return {kind, path, reason};
}

// A folder opens for reading on some systems; it is refused with the system's own words.
bool isFolder(const std::string& path, Outcome& status)
{
    std::error_code ec;
    if (!std::filesystem::is_directory(fileSystemPath(path), ec))
        return false;
    status = {OutcomeKind::Unreadable, path, path + ": " + std::strerror(EISDIR)};
    return true;
}
} // namespace

Outcome checkSourceReadable(const std::string& path)
{
    Outcome status;
    if (isFolder(path, status))
        return status;
    errno = 0;
    std::ifstream file(fileSystemPath(path), std::ios::binary);
    if (!file) {
        const int error = errno != 0 ? errno : EACCES;
        return readFailure(path, path + ": " + std::strerror(error));
    }
    return status;
}

CLoadedExport::Result CLoadedExport::ensureLoaded(const std::string& sourceFile, CObjektManager& manager,
                                                  Outcome& status, const ReadReport* report)
{
    if (!m_text.empty() && m_fileName == sourceFile)
        return Result::Kept;
    std::string text;
    if (isFolder(sourceFile, status))
        return Result::Failed;
    if (Outcome read = readExportFile(sourceFile, text, report); !read.ok()) {
        if (read.kind == OutcomeKind::Cancelled)
            return Result::Cancelled;
        status = std::move(read);
        return Result::Failed;
    }
    m_text.str().swap(text);
    m_fileName = sourceFile;
    manager.load(&m_text, sourceFile);
    return Result::Loaded;
}

Outcome runJob(const JobRequest& request, CLoadedExport& loaded, CObjektManager& manager, CResultList& list,
                 IProgress* progress, IStatusText* status, const std::atomic<bool>* cancel)
{
    Outcome result;
    manager.setStatusSink(status);
    const ReadReport report{progress, status, cancel};
    const CLoadedExport::Result load = loaded.ensureLoaded(request.sourceFile, manager, result, &report);
    if (load == CLoadedExport::Result::Failed || load == CLoadedExport::Result::Cancelled) {
        // The rows of the export read before would stand under the new file's name and open
        // nothing: a job whose export was not read leaves an empty list.
        list.DeleteAllRows();
        manager.setStatusSink(nullptr);
        return result;
    }
    const OperationDef* operation = request.operation;
    const bool runs = (cancel == nullptr || !cancel->load()) && operation != nullptr && operation->run != nullptr;
    if (!runs && load == CLoadedExport::Result::Loaded)
        list.DeleteAllRows(); // stopped after a new export was read: the rows were the old one's
    if (runs) {
        manager.setCancelFlag(cancel);
        result = operation->run(manager, list, progress, request.args);
        manager.setCancelFlag(nullptr);
    }
    manager.setStatusSink(nullptr);
    return result;
}
