#pragma once

#include "model/Outcome.h"

#include <atomic>
#include <string>

class IProgress;
class IStatusText;

// Where reading an export reports to while it goes; each member may be null.
struct ReadReport {
    IProgress* progress = nullptr;        // range 0..100: reading up to 80, converting the rest
    IStatusText* status = nullptr;        // "Reading NAME: 45 %", "Converting NAME"
    const std::atomic<bool>* cancel = nullptr;
};

// Turns every LF that is not preceded by CR into CR LF.
void normalizeLineEnds(std::string& text);

// Reads an export file whole into its final buffer and, in one pass, normalises its line ends and
// converts it from the process-wide OEM code page to ANSI. On failure: NotFound or Unreadable with
// a one-line reason that names the file, text unchanged. With a report, it reads in steps, says how
// far it got and stops when the cancel flag is set: then Cancelled, text unchanged.
Outcome readExportFile(const std::string& path, std::string& text, const ReadReport* report = nullptr);
