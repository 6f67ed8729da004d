#pragma once

#include <string>

class CObjectRecord;

// Where a result row points into the loaded text, so the object can be opened at the finding.
// Kept small (a search may hold hundreds of thousands): the object's name and the context are
// read from the object when asked for.
class CResultLocation {
public:
    int objectEnd = 0;
    int objectStart = 0;
    int position = 0;
    std::string where;      // "Trigger <name>", "Proc <signature>" or empty
    std::string term;       // the text to highlight at position
    CObjectRecord* object = nullptr; // not owned

    // The object's headerText(); empty without an object.
    std::string objectName() const;
    // 100 characters from position - 30, leading blanks removed; empty without an object.
    std::string context() const;
};
