#pragma once

#include "jobs/JobRunner.h"

#include <wx/string.h>

#include <exception>
#include <new>

// The message box texts of the desktop program. The core reports failures as kinds (Outcome);
// only the desktop program words them, here.
namespace messages {

inline constexpr const char* kNotFound = "%s wurde nicht gefunden.";
inline constexpr const char* kCommandFailed = "Befehl fehlgeschlagen.";
inline constexpr const char* kOutOfMemory = "Nicht genügend Speicher."; // UTF-8: take it with FromUTF8
inline constexpr const char* kPositiveNumber = "Geben Sie bitte eine positive ganze Zahl ein.";
inline constexpr const char* kWholeNumber = "Geben Sie bitte eine ganze Zahl ein.";
inline constexpr const char* kWholeNumberBetween = "Geben Sie bitte eine ganze Zahl zwischen %d und %d ein.";
// A status line, not a message box: a row was opened while a job holds the results.
inline constexpr const char* kNoOpeningDuringJob = "No object opens while a job runs.";

// "Geben Sie bitte eine ganze Zahl zwischen LOW und HIGH ein."
inline wxString wholeNumberBetween(int low, int high)
{
    return wxString::Format(kWholeNumberBetween, low, high);
}
// The caption of a file dialog: Windows gives its own ("Open", "Save As" in the system's language)
// when none is passed; the other toolkits would leave the title bar empty.
inline wxString fileDialogCaption(bool save)
{
#ifdef __WXMSW__
    (void)save;
    return wxString();
#else
    return save ? "Save As" : "Open";
#endif
}

// "mark Objects in DBs" before any comparison.
inline constexpr const char* kCompareFirst =
    "The objects to mark come from a comparison: press \"compare Objects\" first.";

// The merge view: its build's outcome and the external diff program.
inline constexpr const char* kIntersectionWritten = "%s: %d objects, %s: %d objects";
inline constexpr const char* kProgramNotFound =
    "The program \"%s\" cannot be started, and none of meld, kdiff3, kompare and diffuse is on the PATH.";
inline constexpr const char* kOfferDiffProgram =
    "The program \"%s\" cannot be started here.\nStart \"%s\" with the two files instead?";
inline constexpr const char* kProgramNotStarted = "The program \"%s\" cannot be started: %s";

// "PATH wurde nicht gefunden."
inline wxString notFound(const wxString& path)
{
    return wxString::Format(kNotFound, path);
}

// A missing export gives "PATH wurde nicht gefunden."; an export that cannot be read
// "Befehl fehlgeschlagen." with a second line naming the file and the system's reason, as the
// command line words it; so does a file that cannot be written; an empty text when the job went
// through or was cancelled.
inline wxString jobFailure(const Outcome& status)
{
    switch (status.kind) {
    case OutcomeKind::Ok:
    case OutcomeKind::Cancelled: return wxString();
    case OutcomeKind::NotFound: return notFound(wxString::FromUTF8(status.path));
    case OutcomeKind::Unreadable:
        if (!status.reason.empty())
            return wxString(kCommandFailed) + "\ncannot read " + wxString::FromUTF8(status.reason);
        return kCommandFailed;
    case OutcomeKind::CannotWrite:
        if (!status.reason.empty())
            return wxString(kCommandFailed) + "\ncannot write " + wxString::FromUTF8(status.reason);
        return kCommandFailed;
    }
    return kCommandFailed;
}

// The message of a command or job that ended by an exception: out of memory, or any other failure.
inline wxString exceptionMessage(const std::exception_ptr& failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const std::bad_alloc&) {
        return wxString::FromUTF8(kOutOfMemory);
    } catch (...) {
        return kCommandFailed;
    }
}

// Status bar text after the list was appended to a file.
inline wxString appendedTo(const wxString& path)
{
    return "appended to " + path;
}

// Status bar texts after a job that wrote files.
// "5 files written to FOLDER"
inline wxString splitWritten(size_t count, const wxString& folder)
{
    return wxString::Format(count == 1 ? "%zu file written to %s" : "%zu files written to %s", count, folder);
}
// Added when objects repeat a type and number: " (2 repeat a type and number: written as "Table 18 (2).txt" ...)"
inline wxString splitRenamed(size_t count, const wxString& firstName)
{
    return wxString::Format(" (%zu repeat%s a type and number: written as \"%s\" ...)", count,
                            count == 1 ? "s" : "", firstName);
}

// Status bar texts of the user's Stop and of the search in the list.
inline wxString stopped(const wxString& lastAction)
{
    return lastAction.empty() ? wxString("Stopped") : "Stopped: " + lastAction;
}
inline wxString stoppedReading(const wxString& path)
{
    return wxString::Format("Stopped while reading %s: the list is empty", path);
}
inline wxString notFoundInList(const wxString& term)
{
    return wxString::Format("\"%s\" not found in the list", term);
}
inline wxString noFurtherRowInList(const wxString& term)
{
    return wxString::Format("\"%s\": no further row below; the next search starts over from the top", term);
}
inline wxString startedOverInList(const wxString& term, int row)
{
    return wxString::Format("\"%s\": started over from the top, found in row %d", term, row + 1);
}
inline wxString foundInList(const wxString& term, int row)
{
    return wxString::Format("\"%s\" found in row %d", term, row + 1);
}

} // namespace messages
