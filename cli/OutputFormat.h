#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// How quellix-cli writes any command's list: tab-separated text (one line per row), one JSON
// document, or a SARIF 2.1.0 log. Every command that prints a list (the export operations, `check`,
// the database commands) builds an OutputDocument and writes it through formatOutput.

enum class OutputFormat { Tsv, Json, Sarif };

// "tsv", "json" or "sarif"; false for any other word.
bool parseOutputFormat(std::string_view word, OutputFormat& format);

// One cell as every format writes it: the list-text cell (its first 250 bytes, CR LF pairs
// removed) with every CR, LF and TAB left in it turned into one blank.
std::string outputCell(std::string_view cell);

// Where a row points in the export. Lines and columns count from 1; a column counts characters
// (one per byte of the export); position is the byte offset in the loaded text (as --locations).
struct OutputLocation {
    std::string objectType;   // the OBJECT line's type word
    int objectNumber = 0;
    std::string objectName;
    std::string where;        // "Trigger <name>", "Proc <signature>" or empty
    int position = 0;
    int line = 0;             // within the file
    int column = 0;
    int objectLine = 0;       // within the object (its OBJECT line is line 1)
    int objectColumn = 0;
};

// One operation's list. Cells are written as they are (callers pass them through outputCell and
// into the output code page); locations and identities run parallel to rows or stay empty.
struct OutputList {
    std::string name;          // the command or analysis ("unused-variables")
    std::string description;   // a short description (the SARIF rule's)
    std::string details;       // what it finds and why that matters (the SARIF rule's full description)
    std::vector<std::string> columns;
    std::vector<std::vector<std::string>> rows;
    std::vector<std::optional<OutputLocation>> locations;
    // A finding's identity in a baseline: stable under edits elsewhere in the export.
    std::vector<std::string> identities;
};

struct OutputDocument {
    std::string command;       // "unused-variables", "check", "db-objects" ...
    std::string exportPath;    // the export read (empty for a database command)
    std::vector<std::string> databases; // the databases read (a database command)
    std::optional<int> request;         // db-watch: the request's number (0: the start)
    std::vector<OutputList> lists;
};

// The document in the format. Tsv: one list is its heading line and one line per row, each cell
// followed by a TAB; with analysisColumn (the `check` command) each list is a heading line whose
// first cell is "Analysis", and every row starts with the list's name. Json: one object with the
// command, the export, and per list its columns, rows (arrays of strings) and locations (an object
// or null per row); a single list's members stand at the top level. Sarif: one run with one rule
// per list and one result per row.
std::string formatOutput(const OutputDocument& document, OutputFormat format, bool analysisColumn);
// The same text handed to write in pieces (tsv a piece of lines at a time), so a long list is
// never held as one string.
void writeOutput(const OutputDocument& document, OutputFormat format, bool analysisColumn,
                 const std::function<void(std::string_view)>& write);

// The tsv heading line of a list (with analysisColumn first "Analysis"), and one row's line
// appended to text, as formatOutput writes them.
std::string tsvHeadingLine(const OutputList& list, bool analysisColumn);
void appendTsvRow(std::string& text, const OutputList& list, const std::vector<std::string>& row, bool analysisColumn);

// The json document on one line ended by "\n" (JSON Lines), for a command that writes one document
// per step (db-watch); severalLists as analysisColumn of formatOutput.
std::string jsonLine(const OutputDocument& document, bool severalLists);

// A baseline: identities of accepted findings, each "NAME<TAB>IDENTITY" once per finding.
class Baseline {
public:
    // Reads FILE (lines; empty lines and lines starting with "#" are ignored). False when it cannot
    // be read.
    bool read(const std::string& path);
    // Removes from every list each row whose identity the baseline holds (each baseline line
    // accepts one row). Returns the number of rows removed.
    int filter(OutputDocument& document);
    // The baseline text of document's rows: a comment line, then one sorted line per row.
    static std::string text(const OutputDocument& document);

private:
    std::map<std::string, int> m_accepted;
};

// Line starts of a text, to turn byte positions into lines and columns.
class LineIndex {
public:
    explicit LineIndex(std::string_view text);
    // 1-based line and column of position (a column counts bytes from the line start, plus 1).
    void lineAndColumn(int position, int& line, int& column) const;

private:
    std::vector<int> m_starts;
};
