#include "cli/IntersectCommand.h"

#include "cli/CliOutput.h"
#include "cli/CommandHelp.h"
#include "merge/Intersection.h"
#include "model/CodePage.h"

#include <unistd.h>

namespace {

std::string helpText()
{
    const CliCommandHelp* help = findCliCommandHelp("intersect");
    return help != nullptr ? cliCommandHelpText(*help) : std::string();
}

int usage(std::ostream& err, const std::string& problem)
{
    err << "quellix-cli: " << problem << "\n" << helpText();
    return 2;
}

} // namespace

int runIntersect(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    std::vector<std::string> paths;
    IntersectionRequest request;
    OemCodePage page = OemCodePage::CP850;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            out << helpText();
            return 0;
        }
        if (a == "--ignore-noise") {
            request.ignoreNoise = true;
        } else if (a == "--oem") {
            if (i + 1 >= args.size() || (args[i + 1] != "850" && args[i + 1] != "437"))
                return usage(err, "--oem needs 850 or 437");
            page = args[++i] == "437" ? OemCodePage::CP437 : OemCodePage::CP850;
        } else if (a.size() > 2 && a.compare(0, 2, "--") == 0) {
            return usage(err, "unknown option: " + a);
        } else {
            paths.push_back(a);
        }
    }
    if (paths.size() != 4)
        return usage(err, "intersect needs SOURCE1 SOURCE2 TARGET1 TARGET2");
    request.source1 = paths[0];
    request.source2 = paths[1];
    request.target1 = paths[2];
    request.target2 = paths[3];

    setOemCodePage(page);
    TerminalProgress terminal;
    const bool showProgress = isatty(STDERR_FILENO);
    CSourceText text;
    CObjektManager catalogue;
    IntersectionResult result;
    buildIntersectionFiles(request, text, catalogue, showProgress ? &terminal : nullptr,
                           showProgress ? &terminal : nullptr, nullptr, result);
    terminal.finish();
    if (!result.status.ok()) {
        const Outcome& status = result.status;
        if (status.kind == OutcomeKind::CannotWrite)
            err << "quellix-cli: cannot write " << (status.reason.empty() ? status.path : status.reason) << "\n";
        else
            err << "quellix-cli: cannot read " << status.reason << "\n";
        return 1;
    }
    out << result.target1Objects << " objects written to " << request.target1 << "\n"
        << result.target2Objects << " objects written to " << request.target2 << "\n";
    return 0;
}
