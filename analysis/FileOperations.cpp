// The operations that write files: the code export and the split.
#include "analysis/OperationTable.h"
#include "model/ObjektManager.h"

namespace {
bool runExportCode(CObjektManager& manager, CResultList&, IProgress*, const AnalysisArgs& args)
{
    return manager.exportCode(args.path);
}

bool runSplit(CObjektManager& manager, CResultList&, IProgress* progress, const AnalysisArgs& args)
{
    return manager.split(args.path, args.from, args.to, progress, args.written, args.renamed);
}
} // namespace

const OperationDef& exportCodeOperation()
{
    static const OperationDef row{rid::ID_EXPORT_CODE,
                                  "export-code",
                                  nullptr,
                                  OperationInput::OutputFile,
                                  AnalysisThread::Worker,
                                  {},
                                  nullptr,
                                  nullptr,
                                  runExportCode};
    return row;
}

const OperationDef& splitOperation()
{
    static const OperationDef row{rid::ID_SPLIT,
                                  "split",
                                  "Export Objects to ",
                                  OperationInput::FolderAndRange,
                                  AnalysisThread::UserInterface,
                                  {},
                                  nullptr,
                                  nullptr,
                                  runSplit};
    return row;
}
