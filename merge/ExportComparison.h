#pragma once

#include "merge/LineDiff.h"
#include "model/ObjektManager.h"
#include "model/Status.h"

#include <atomic>
#include <string>
#include <string_view>
#include <vector>

// What happened to an object or an element between export A and export B. Noise: only Date,
// Time or Version List differ (objects), or the change is one of those lines (elements).
enum class ChangeKind { Added, Removed, Changed, Moved, Noise };
const char* changeWord(ChangeKind kind); // "added", "removed", "changed", "moved", "noise"

// One change inside an object, as a value: the element's identity (section, key), what changed,
// and the old and new value. A change of the element as a whole (added, removed, moved) has no
// property; a changed code property (a trigger's or procedure's code) has its line hunks instead
// of values. A three-way merge pairs such values by identity and property.
struct ElementChange {
    std::string section;  // "FIELDS", "CODE" ... (see ObjectElement)
    std::string key;      // identity within the section
    std::string kind;     // "Field", "Procedure" ...
    std::string label;    // B's name of it (A's when removed)
    ChangeKind change = ChangeKind::Changed;
    std::string property; // empty: the whole element
    std::string oldValue; // the property's value in A; the element's first line when removed
    std::string newValue; // the property's value in B; the element's first line when added
    std::vector<LineHunk> hunks; // code properties: the line changes, with 3 lines of context
    int removedLines = 0;
    int addedLines = 0;
    int oldLine = -1;     // the element's first line in A's object text (from 0), -1 when added
    int newLine = -1;     // in B's, -1 when removed

    bool operator==(const ElementChange&) const = default;
};

// An object that is not the same in both exports: matched by the type word of its OBJECT line
// and its number (the first occurrence in each export).
struct ObjectChange {
    std::string typeWord;
    int number = 0;
    std::string name;     // B's name (A's when removed)
    ChangeKind change = ChangeKind::Changed; // Added, Removed, Changed or Noise
    int indexA = -1;      // catalogue indexes, -1 on the side that lacks it
    int indexB = -1;
    bool damaged = false; // one side has no object shape: compared as text lines only
    std::vector<ElementChange> changes;
    int removedLines = 0; // lines of the object's text
    int addedLines = 0;

    // "Table 18.txt": the file the split writes it to.
    std::string splitFileName() const;
};

struct ExportComparison {
    std::vector<ObjectChange> objects; // by object type (Table, Form, Report ...), then number
    int unchanged = 0;
    std::vector<std::string> duplicates; // "Table 18 stands twice in FILE; its first occurrence is compared"
    std::vector<std::string> damaged;    // "Table 18 is damaged; compared as text lines"
    bool cancelled = false;
};

// Compares the catalogues a and b (each of an export loaded whole). progress and cancel may be null;
// a cancelled comparison stops between two objects with what it found so far.
ExportComparison compareExports(const CObjektManager& a, const CObjektManager& b, IProgress* progress,
                                const std::atomic<bool>* cancel);

// The element changes between two texts of one object (ANSI, CR LF), in B's order with removed
// elements after their predecessor. damaged is set when either text is compared as lines only.
std::vector<ElementChange> compareObjectTexts(std::string_view oldText, std::string_view newText, bool& damaged);

// The list of a comparison: columns "Type", "No.", "Name", "Change", "Section", "Element", "Old",
// "New", "Lines"; one row per object added or removed, per element change of a changed object,
// and with noise the noise changes and noise-only objects too. Values are shown on one line.
struct ComparisonRow {
    std::vector<std::string> cells;
    const ObjectChange* object = nullptr;
    const ElementChange* change = nullptr; // null for an object added or removed
};
std::vector<std::string> comparisonColumns();
std::vector<ComparisonRow> comparisonRows(const ExportComparison& comparison, bool noise);
// Whether the object has a row under the noise setting.
bool showsObject(const ObjectChange& object, bool noise);

// The unified diff of one object (texts in the OEM code page as the split writes them): headers
// "--- a/<split file name>" and "+++ b/<split file name>", each name followed by a TAB (/dev/null
// for a side without it), then
// hunks with 3 lines of context; empty when the texts are equal.
std::string unifiedObjectDiff(const ObjectChange& object, std::string_view oldText, std::string_view newText);
