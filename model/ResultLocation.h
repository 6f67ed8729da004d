#pragma once

#include <string>

class CObjectRecord;

// Where a result row points into the loaded text, so the object can be opened at the finding.
class CResultLocation {
public:
    CResultLocation() = default;
    CResultLocation(const CResultLocation&) = default;
    CResultLocation& operator=(const CResultLocation&) = default;
    CResultLocation(CResultLocation&&) noexcept = default;
    CResultLocation& operator=(CResultLocation&&) noexcept = default;
    virtual ~CResultLocation() = default;

    int objectEnd = 0;
    int objectStart = 0;
    int position = 0;
    std::string where;      // "Trigger <name>", "Proc <signature>" or empty
    std::string objectName; // the object's headerText()
    std::string term;       // the text to highlight at position
    std::string context;    // 100 characters from position - 30, leading blanks removed
    CObjectRecord* object = nullptr; // not owned
};
