#pragma once

#include <cstddef> // before TypedArray.h, which uses size_t without including it
#include <cstdint>
#include <string>

#include "model/TypedArray.h"

// Result of the object comparison for one entry (0 also for objects found only in database 2).
enum CompareState : int32_t {
    CS_NOT_COMPARED = 0,
    CS_EQUAL = 3,
    CS_DIFFERENT = 4,
    CS_ONLY_FIRST = 5
};

// One row of a database's Object table, as the object comparison uses it.
class CDbObjectEntry {
public:
    std::string typeWord; // "Table" .. "Codeunit" for type codes 1..5, empty otherwise
    int32_t id = 0;
    std::string name;     // ANSI code page
    std::string version;  // ANSI code page
    std::string date;     // as C/FRONT writes it
    std::string time;     // as C/FRONT writes it
    bool statusFlag = false;
    bool matched = false;
    int32_t state = CS_NOT_COMPARED;

    // Matching equality: the same type word (byte for byte) and the same id; nothing else counts.
    bool operator==(const CDbObjectEntry& other) const { return typeWord == other.typeWord && id == other.id; }
    // The id as a decimal number without padding.
    std::string idText() const { return std::to_string(id); }

    // The type word of an Object table type code: "Table", "Form", "Report", "Dataport",
    // "Codeunit" for 1 to 5, empty for any other code.
    static std::string typeWordOf(int32_t typeCode);
    // With allTypes also "XMLport", "MenuSuite", "Page", "Query" for 6 to 9.
    static std::string typeWordOf(int32_t typeCode, bool allTypes);
};

using CDbObjectEntryArray = CTypedArray<CDbObjectEntry>;
