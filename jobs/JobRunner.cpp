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
JobStatus readFailure(const std::string& path, const std::string& reason)
{
    std::error_code ec;
    JobErrorKind kind = std::filesystem::exists(fileSystemPath(path), ec) ? JobErrorKind::Unreadable : JobErrorKind::NotFound;
    return {kind, path, reason};
}

// A folder opens for reading on some systems; it is refused with the system's own words.
bool isFolder(const std::string& path, JobStatus& status)
{
    std::error_code ec;
    if (!std::filesystem::is_directory(fileSystemPath(path), ec))
        return false;
    status = {JobErrorKind::Unreadable, path, path + ": " + std::strerror(EISDIR)};
    return true;
}
} // namespace

JobStatus checkSourceReadable(const std::string& path)
{
    JobStatus status;
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
                                                  JobStatus& status, const ReadReport* report)
{
    if (!m_text.empty() && m_fileName == sourceFile)
        return Result::Kept;
    std::string text;
    std::string reason;
    if (isFolder(sourceFile, status))
        return Result::Failed;
    if (!readExportFile(sourceFile, text, reason, report)) {
        if (report != nullptr && report->cancel != nullptr && report->cancel->load() && reason.empty())
            return Result::Cancelled;
        status = readFailure(sourceFile, reason);
        return Result::Failed;
    }
    m_text.str().swap(text);
    m_fileName = sourceFile;
    manager.load(&m_text, sourceFile);
    return Result::Loaded;
}

JobStatus runJob(const JobRequest& request, CLoadedExport& loaded, CObjektManager& manager, CResultList& list,
                 IProgress* progress, IStatusText* status, const std::atomic<bool>* cancel)
{
    JobStatus result;
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
        if (!operation->run(manager, list, progress, request.args))
            result = {JobErrorKind::CannotWrite, request.args.path, {}};
        manager.setCancelFlag(nullptr);
    }
    manager.setStatusSink(nullptr);
    return result;
}
