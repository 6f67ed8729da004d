#pragma once

#include "analysis/Operation.h"
#include "model/Outcome.h"
#include "model/ReadExport.h"
#include "model/SourceText.h"

#include <atomic>
#include <string>

class CObjektManager;
class CResultList;
class IProgress;
class IStatusText;

// Ok when path can be opened for reading and is no folder; otherwise NotFound when it does not
// exist, else Unreadable.
Outcome checkSourceReadable(const std::string& path);

// The export a view or the command line has read: its text (converted to ANSI) and file name,
// loaded into a catalogue on demand.
class CLoadedExport {
public:
    enum class Result { Kept, Loaded, Failed, Cancelled };

    // Reads sourceFile when nothing is loaded or the name differs (exact comparison) and loads it
    // into manager, telling report (may be null) how far the reading got. On failure or when the
    // report's cancel flag stops the reading, the earlier text, its name and the catalogue stay.
    Result ensureLoaded(const std::string& sourceFile, CObjektManager& manager, Outcome& status,
                        const ReadReport* report = nullptr);
    const std::string& fileName() const { return m_fileName; }
    const CSourceText& text() const { return m_text; }

private:
    CSourceText m_text;
    std::string m_fileName;
};

// One job: the operation with its inputs and the export it runs on.
struct JobRequest {
    const OperationDef* operation = nullptr;
    AnalysisArgs args;
    std::string sourceFile;
};

// Loads the export on demand, then runs the operation with the cancellation flag, status sink and
// progress (each may be null); the reading reports to the same progress and status. A job
// cancelled before it starts, or while the export is read, runs nothing and reports no failure. The search view's
// worker and quellix-cli both run their operations through here.
Outcome runJob(const JobRequest& request, CLoadedExport& loaded, CObjektManager& manager, CResultList& list,
                 IProgress* progress, IStatusText* status, const std::atomic<bool>* cancel);
