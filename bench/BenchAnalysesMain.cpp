// Times loading an export and every analysis and search mode on it; prints one line per step with
// its wall and CPU time and the ratio of its CPU time to that of `grep -c -F TERM EXPORT`, run
// first on the same file: on a busy machine wall times swing, the ratio much less.
// Usage: bench_analyses EXPORT [TERM]
#include "analysis/OperationTable.h"
#include "analysis/ReferenceIndex.h"
#include "model/ObjektManager.h"
#include "model/ReadExport.h"
#include "results/ResultList.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <sys/resource.h>

namespace {
double seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

double childCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    auto secs = [](const timeval& v) { return static_cast<double>(v.tv_sec) + static_cast<double>(v.tv_usec) / 1e6; };
    return secs(usage.ru_utime) + secs(usage.ru_stime);
}

// One step's figures: wall time, CPU time, and the CPU time as a multiple of grep's.
struct Step {
    std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
    double cpu = cpuSeconds();
    void print(const char* label, double grepCpu, const std::string& note) const
    {
        const double used = cpuSeconds() - cpu;
        std::printf("%-28s %8.3f s wall %8.3f s cpu %7.1fx grep  %s\n", label, seconds(wall), used,
                    grepCpu > 0 ? used / grepCpu : 0.0, note.c_str());
    }
};

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
    const std::string grep = "grep -c -F '" + term + "' '" + std::string(argv[1]) + "' > /dev/null";
    // grep takes a few milliseconds of CPU; the mean of several runs is steadier than one.
    constexpr int kGrepRuns = 5;
    const double childBefore = childCpuSeconds();
    auto grepStart = std::chrono::steady_clock::now();
    for (int k = 0; k < kGrepRuns; ++k)
        if (std::system(grep.c_str()) == -1)
            return 1;
    const double grepWall = seconds(grepStart) / kGrepRuns;
    const double grepCpu = (childCpuSeconds() - childBefore) / kGrepRuns;
    std::printf("%-28s %8.3f s wall %8.3f s cpu\n", "grep -c -F", grepWall, grepCpu);

    Step step;
    CSourceText text;
    if (Outcome read = readExportFile(argv[1], text.str()); !read.ok()) {
        std::fprintf(stderr, "cannot read %s\n", read.reason.c_str());
        return 1;
    }
    char note[96];
    std::snprintf(note, sizeof note, "(%.1f MB)", text.length() / 1048576.0);
    step.print("read + convert", grepCpu, note);
    step = Step();
    CObjektManager manager;
    manager.load(&text, argv[1]);
    std::snprintf(note, sizeof note, "(%d objects, peak RSS %ld MB)", manager.count(), residentKb() / 1024);
    step.print("load", grepCpu, note);

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
            step = Step();
            def.run(manager, list, nullptr, args);
            std::string label = name + (runs > 1 ? (mode == 0 ? " normal" : mode == 1 ? " case" : " regex") : "");
            step.print(label.c_str(), grepCpu, "(" + std::to_string(list.GetRowCount()) + " rows)");
        }
    }
    const ReferenceIndex& index = referenceIndex(manager);
    std::printf("%-28s %.1f MB (%.0f%% of the text: %zu symbols, %zu references, %zu where texts)\n", "reference index",
                static_cast<double>(index.memoryBytes()) / 1048576.0, 100.0 * static_cast<double>(index.memoryBytes()) / static_cast<double>(text.length()),
                index.symbols().size(), index.references().size(), index.whereTexts().size());
    std::printf("%-28s %ld MB\n", "peak RSS", residentKb() / 1024);
    return 0;
}
