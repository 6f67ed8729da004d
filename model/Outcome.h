#pragma once

#include <string>

// How reading or writing a file ended: reading an export, the code export, the split, the
// intersection files. The desktop program turns the kind into its message box text, the command
// line into its one-line message and exit status; reason is the system's word on it, shown as it is.
enum class OutcomeKind { Ok, NotFound, Unreadable, CannotWrite, Cancelled };

struct Outcome {
    OutcomeKind kind = OutcomeKind::Ok;
    std::string path;   // the file that could not be read, or the file or folder not written
    std::string reason; // "PATH: reason" of the system, or empty when there is none to give

    bool ok() const { return kind == OutcomeKind::Ok; }
    // Ok or cancelled by the user: nothing to report.
    bool failed() const { return kind != OutcomeKind::Ok && kind != OutcomeKind::Cancelled; }

    static Outcome cannotWrite(std::string path, std::string reason = {})
    {
        return {OutcomeKind::CannotWrite, std::move(path), std::move(reason)};
    }
};
