#pragma once

#include "analysis/ReferenceIndex.h"
#include "model/ObjectViewerModel.h"
#include "model/ResultLocation.h"

#include <string>

// What the object viewer asks of the reference index: go to a definition, name what to find the
// references of, and the fields of a table for its outline.

// The target text of a symbol as `references` takes it: "Table 18", "Table 18.\"No.\"",
// "Codeunit 80.\"Code\""; variables too ("Codeunit 80.\"Cust\""), though a local repeats by name.
std::string referenceTarget(const CObjektManager& manager, const ReferenceIndex& index, int symbol);

// The symbol named or declared at an absolute position of the text, -1 when none.
int symbolAtPosition(CObjektManager& manager, int pos);

// Where the symbol at pos is declared: its object and the position of its name (an object: its
// OBJECT line), term its name. No object when pos names nothing the index resolved.
CResultLocation definitionAt(CObjektManager& manager, int pos);

// The outline root "Fields" of a table: "<number> <name>" in text order, each at its declaration
// (object-relative); no children for any other object.
OutlineItem fieldsOutline(CObjektManager& manager, int object);
