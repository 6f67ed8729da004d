#pragma once

#include "model/TypedArray.h"

#include <string>
#include <string_view>

// One table field (number and name), or one name of a key's field or SumIndexFields list.
class CTableField {
public:
    int number = 0;
    int uses = 0;           // SumIndexFields only: references counted by countSumIndexFieldUses
    std::string name;
};
using CTableFieldArray = CTypedArray<CTableField>;

// One entry of a table's KEYS section.
class CTableKey {
public:
    CTableFieldArray keyFields;
    CTableFieldArray sumIndexFields;
    bool flag = false;
    bool enabled = true;

    // Parses the text between "  {" and "}\r\n" of one key entry.
    void parse(std::string_view entry, bool flag);
};
using CTableKeyArray = CTypedArray<CTableKey>;

// A reference of a Sum or Average CalcFormula: the summed field and the table it names.
class CCalcFormulaRef {
public:
    std::string field;
    std::string table;
};
using CCalcFormulaRefArray = CTypedArray<CCalcFormulaRef>;
