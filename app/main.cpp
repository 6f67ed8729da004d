#include "app/QuellixApp.h"
#include "QuellixVersion.h"

#include <cstdio>
#include <cstring>

wxIMPLEMENT_APP_NO_MAIN(CQuellixApp);

namespace {

const char* const kHelp =
    "usage: quellix [--settings FILE] [EXPORT]\n"
    "The desktop program of Quellix: analyses of Navision C/AL object text exports.\n"
    "  EXPORT           the export to open\n"
    "  --settings FILE  use this file as the settings store\n"
    "  --help           this text\n"
    "  --version        the version\n";

// --help and --version are answered before the toolkit starts, so they need no display; -1 when
// the arguments ask for neither.
int answerWithoutDisplay(int argc, char** argv)
{
    if (argc != 2)
        return -1;
    const bool help = std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0;
    if (!help && std::strcmp(argv[1], "--version") != 0)
        return -1;
    std::fputs(help ? kHelp : "quellix " QUELLIX_VERSION "\n", stdout);
    if (std::fflush(stdout) == 0)
        return 0;
    std::fputs("quellix: cannot write the output\n", stderr);
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (const int status = answerWithoutDisplay(argc, argv); status >= 0)
        return status;
    return wxEntry(argc, argv);
}
