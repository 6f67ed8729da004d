// Times loading an export and every analysis and search mode on it; prints one line per step.
// Usage: bench_analyses EXPORT [TERM]
#include "analysis/OperationTable.h"
#include "model/ObjektManager.h"
#include "model/ReadExport.h"
#include "results/ResultList.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

namespace {
double seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

long residentKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_analyses EXPORT [TERM]\n");
        return 2;
    }
    const std::string term = argc > 2 ? argv[2] : "Customer";
    auto start = std::chrono::steady_clock::now();
    CSourceText text;
    std::string error;
    if (!readExportFile(argv[1], text.str(), error)) {
        std::fprintf(stderr, "cannot read %s\n", error.c_str());
        return 1;
    }
    std::printf("%-28s %8.3f s  (%.1f MB)\n", "read + convert", seconds(start), text.length() / 1048576.0);
    start = std::chrono::steady_clock::now();
    CObjektManager manager;
    manager.load(&text, argv[1]);
    std::printf("%-28s %8.3f s  (%d objects, peak RSS %ld MB)\n", "load", seconds(start), manager.count(),
                residentKb() / 1024);

    for (const OperationDef* row : operationTable()) {
        if (row->input == OperationInput::OutputFile || row->input == OperationInput::FolderAndRange)
            continue; // they write files
        const OperationDef& def = *row;
        std::string name = def.command;
        AnalysisArgs args;
        args.term = term;
        args.from = 50000;
        args.to = 50010;
        const int runs = name == "search" ? 3 : 1;
        for (int mode = 0; mode < runs; ++mode) {
            args.useRegex = mode == 2;
            args.caseSensitive = mode != 0;
            CResultList list;
            start = std::chrono::steady_clock::now();
            def.run(manager, list, nullptr, args);
            std::string label = name + (runs > 1 ? (mode == 0 ? " normal" : mode == 1 ? " case" : " regex") : "");
            std::printf("%-28s %8.3f s  (%d rows)\n", label.c_str(), seconds(start), list.GetRowCount());
        }
    }
    std::printf("%-28s %ld MB\n", "peak RSS", residentKb() / 1024);
    return 0;
}
