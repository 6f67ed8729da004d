#pragma once

#include <string>
#include <string_view>
#include <vector>

// One line of a hunk: ' ' kept, '-' only in the old text, '+' only in the new one; the text
// without its line end.
struct DiffLine {
    char op = ' ';
    std::string text;

    bool operator==(const DiffLine&) const = default;
};

// A run of changed lines with its context, numbered as a unified diff numbers them (from 1; a
// start of 0 with a count of 0 for an empty side).
struct LineHunk {
    int oldStart = 0;
    int oldCount = 0;
    int newStart = 0;
    int newCount = 0;
    std::vector<DiffLine> lines;

    bool operator==(const LineHunk&) const = default;
};

// The hunks that turn oldText into newText, lines split at LF (a CR before it belongs to the line
// end), with context lines of unchanged text around each change; none when the texts are equal.
// Bytes are compared as they are (OEM or ANSI alike).
std::vector<LineHunk> diffLines(std::string_view oldText, std::string_view newText, int context);

// Lines removed and added by hunks.
void countChangedLines(const std::vector<LineHunk>& hunks, int& removed, int& added);

// The hunks as the body of a unified diff: "@@ -a,b +c,d @@" lines ended by LF, and the lines,
// each ended by lineEnd (the texts' own, so that patch keeps them).
std::string unifiedHunks(const std::vector<LineHunk>& hunks, std::string_view lineEnd);
