// The operations that write files: the code export and the split.
#include "analysis/OperationTable.h"
#include "model/ObjektManager.h"

namespace {
Outcome runExportCode(CObjektManager& manager, CResultList&, IProgress*, const AnalysisArgs& args)
{
    return manager.exportCode(args.path);
}

Outcome runSplit(CObjektManager& manager, CResultList&, IProgress* progress, const AnalysisArgs& args)
{
    return manager.split(args.path, args.from, args.to, progress, args.written, args.renamed);
}
} // namespace

const OperationDef& exportCodeOperation()
{
    static const OperationDef row{
        .commandId = rid::ID_EXPORT_CODE,
        .command = "export-code",
        .summary = "write the code of forms, reports and dataports to OUTFILE",
        .input = OperationInput::OutputFile,
        .menu = {"Object synchronisation", "export form/report/dataport code", 31},
        .run = runExportCode,
    };
    return row;
}

const OperationDef& splitOperation()
{
    static const OperationDef row{
        .commandId = rid::ID_SPLIT,
        .command = "split",
        .summary = "one file per object numbered FROM..TO; prints each written path",
        .lastAction = "Export Objects to ",
        .input = OperationInput::FolderAndRange,
        .menu = {"Object synchronisation", "split Objects to separat files ...", 32},
        .run = runSplit,
    };
    return row;
}
