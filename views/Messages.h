#pragma once

#include "jobs/JobRunner.h"

#include <wx/string.h>

// The message box texts of the desktop program. The core reports failures as kinds (JobStatus);
// only the desktop program words them, here.
namespace messages {

inline constexpr const char* kNotFound = "%s wurde nicht gefunden.";
inline constexpr const char* kCommandFailed = "Befehl fehlgeschlagen.";
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

// A missing export gives "PATH wurde nicht gefunden.", every other failure "Befehl fehlgeschlagen.";
// an empty text when the job went through.
inline wxString jobFailure(const JobStatus& status)
{
    switch (status.kind) {
    case JobErrorKind::Ok: return wxString();
    case JobErrorKind::NotFound: return notFound(wxString::FromUTF8(status.path));
    case JobErrorKind::Unreadable:
    case JobErrorKind::CannotWrite: return kCommandFailed;
    }
    return kCommandFailed;
}

} // namespace messages
