#include "jobs/JobRunner.h"

#include "model/ObjektManager.h"
#include "model/ReadExport.h"
#include "model/FileAccess.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace {
JobStatus readFailure(const std::string& path, const std::string& reason)
{
    std::error_code ec;
    JobErrorKind kind = std::filesystem::exists(path, ec) ? JobErrorKind::Unreadable : JobErrorKind::NotFound;
    return {kind, path, reason};
}
} // namespace

JobStatus checkSourceReadable(const std::string& path)
{
    std::ifstream file(fileSystemPath(path), std::ios::binary);
    std::error_code ec;
    if (file && !std::filesystem::is_directory(path, ec))
        return {};
    return readFailure(path, path + ": cannot be read");
}

CLoadedExport::Result CLoadedExport::ensureLoaded(const std::string& sourceFile, CObjektManager& manager,
                                                  JobStatus& status, const ReadReport* report)
{
    if (!m_text.empty() && m_fileName == sourceFile)
        return Result::Kept;
    std::string text;
    std::string reason;
    std::error_code ec;
    if (std::filesystem::is_directory(sourceFile, ec)) {
        status = {JobErrorKind::Unreadable, sourceFile, sourceFile + ": " + std::strerror(EISDIR)};
        return Result::Failed;
    }
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
        manager.setStatusSink(nullptr);
        return result;
    }
    const OperationDef* operation = request.operation;
    if ((cancel == nullptr || !cancel->load()) && operation != nullptr && operation->run != nullptr) {
        manager.setCancelFlag(cancel);
        if (!operation->run(manager, list, progress, request.args))
            result = {JobErrorKind::CannotWrite, request.args.path, {}};
        manager.setCancelFlag(nullptr);
    }
    manager.setStatusSink(nullptr);
    return result;
}
