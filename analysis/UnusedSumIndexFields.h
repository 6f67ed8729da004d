#pragma once

#include "model/TableFields.h"

#include <string>
#include <string_view>
#include <vector>

// Readers of the references to SumIndexFields in the whole text: CalcFormula sums and CALCSUMS calls.
namespace sumrefs {

// Skips blanks (tab, LF, CR, space), reads a double-quoted text or a run of identifier characters
// (0-9, A-Z, a-z, "_", the ANSI umlauts, and "-" when allowMinus), then skips blanks again. A quote
// without its closing quote gives an empty token and moves pos to the end of the text.
std::string readToken(std::string_view text, int& pos, bool allowMinus);

// Reads the formula after the next "CalcFormula=" from pos and moves pos behind what it read. True,
// with the table and the field filled, for a Sum or Average formula (also negated).
bool parseCalcFormula(std::string_view text, int& pos, CCalcFormulaRef& reference);

// Reads the argument list after the next "CALCSUMS(" from pos, appends the field names it names and
// moves pos behind what it read. The list ends at ")", after a "[" form, or at any character other
// than ".", "," or ")".
void parseCalcSums(std::string_view text, int& pos, std::vector<std::string>& names);

// All Sum and Average formula references of the text, in the order of their four prefixes.
CCalcFormulaRefArray collectCalcFormulaRefs(std::string_view text);
// All names summed by CALCSUMS calls of the text.
std::vector<std::string> collectCalcSumsNames(std::string_view text);
// Both of the above, their passes over the text side by side on the worker threads.
void collectSumReferences(std::string_view text, CCalcFormulaRefArray& references, std::vector<std::string>& names);

} // namespace sumrefs
