#include "merge/ProgramStart.h"

std::string findDiffProgram(const std::string& pathVariable)
{
    for (const char* name : {"meld", "kdiff3", "kompare", "diffuse"}) {
        size_t from = 0;
        while (from <= pathVariable.size()) {
            size_t end = pathVariable.find(kPathListSeparator, from);
            if (end == std::string::npos)
                end = pathVariable.size();
            std::string folder = pathVariable.substr(from, end - from);
            if (!folder.empty()) {
                const bool separated = folder.back() == '/' || folder.back() == '\\';
                std::string candidate = folder + (separated ? "" : "/") + name + kProgramSuffix;
                if (isExecutableFile(candidate))
                    return candidate;
            }
            from = end + 1;
        }
    }
    return std::string();
}

std::string windowsCommandLine(const std::vector<std::string>& argv)
{
    std::string line;
    for (size_t i = 0; i < argv.size(); ++i) {
        const std::string& arg = argv[i];
        if (i > 0)
            line += ' ';
        if (i == 0) {
            // The program name is split at the first quote, never escaped (it holds none).
            line += '"' + arg + '"';
            continue;
        }
        if (!arg.empty() && arg.find_first_of(" \t\n\v\"") == std::string::npos) {
            line += arg;
            continue;
        }
        line += '"';
        size_t backslashes = 0;
        for (char c : arg) {
            if (c == '\\') {
                ++backslashes;
                continue;
            }
            // Backslashes double only before a quote, which is escaped itself.
            line.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
            backslashes = 0;
            line += c;
        }
        line.append(backslashes * 2, '\\');
        line += '"';
    }
    return line;
}
