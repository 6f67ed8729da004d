#pragma once

#include <string_view>
#include <vector>

// One row of two texts shown side by side: the line of each side shown in it (from 0; -1 for a
// gap), and how it differs: ' ' the same, '~' changed (a removed line beside an added one), '-'
// only on the old side, '+' only on the new side.
struct SideBySideRow {
    int oldLine = -1;
    int newLine = -1;
    char kind = ' ';

    bool operator==(const SideBySideRow&) const = default;
};

// The rows of oldText beside newText, as the line diff pairs them: removed lines and the added
// lines that follow them share rows, the longer run fills the rest.
std::vector<SideBySideRow> sideBySideRows(std::string_view oldText, std::string_view newText);

// The first row showing line of one side (old or not), -1 when none does.
int rowOfLine(const std::vector<SideBySideRow>& rows, int line, bool old);
