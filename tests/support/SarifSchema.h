#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

// The faults the official SARIF 2.1.0 JSON schema (tests/data/sarif-schema-2.1.0.json) finds in
// a log, one line each, through tests/support/validate_sarif.py (python3-jsonschema); "" when the
// log is valid. A validator that cannot run is a fault too, never a pass.
inline std::string sarifSchemaFaults(const std::string& log)
{
    namespace fs = std::filesystem;
    static int counter = 0;
    const fs::path base = fs::temp_directory_path() /
                          ("quellix-sarif-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    const fs::path logFile = base.string() + ".sarif", report = base.string() + ".faults";
    std::ofstream(logFile, std::ios::binary) << log;
    const std::string source = QUELLIX_SOURCE_DIR;
    const std::string command = "python3 '" + source + "/tests/support/validate_sarif.py' '" + source +
                                "/tests/data/sarif-schema-2.1.0.json' '" + logFile.string() + "' > '" +
                                report.string() + "' 2>&1";
    const int raw = std::system(command.c_str());
    std::ifstream in(report, std::ios::binary);
    std::string faults((std::istreambuf_iterator<char>(in)), {});
    fs::remove(logFile);
    fs::remove(report);
    if (!WIFEXITED(raw) || WEXITSTATUS(raw) != 0)
        return faults.empty() ? "the schema check failed with status " + std::to_string(raw) : faults;
    return "";
}
