#pragma once

#include "model/CodeSection.h"
#include "model/Control.h"
#include "model/ResultLocation.h"
#include "model/TableFields.h"
#include "model/TextSpan.h"

#include <string>
#include <string_view>
#include <vector>

class CObjektManager;

enum ObjectType { OT_NONE = 0, OT_TABLE = 1, OT_FORM = 2, OT_REPORT = 3, OT_DATAPORT = 4, OT_CODEUNIT = 5 };
// Header word of a type code ("Table" ...), empty for 0 and unknown codes.
const char* objectTypeWord(int type);
// Icon resource ID of a type code: 163 Table, 162 Form, 161 Report, 164 Dataport, 165 Codeunit,
// 166 none; -1 for any other code.
int objectTypeImage(int type);

// One object of the catalogue: spans into the whole text and lazily parsed sections.
class CObjectRecord {
public:
    int type = OT_NONE;
    std::string extra;          // kept empty by the parsers
    int number = 0;
    CTextSpan objectSpan;
    CTextSpan propertiesSpan;   // "O" of OBJECT-PROPERTIES .. first "}" after it; (0, 0) when none
    CVariableArray globals;
    CProcedureArray procedures; // all PROCEDUREs, then all LOCAL PROCEDUREs, each in text order
    CTriggerArray triggers;     // =VAR triggers (level 3), then =BEGIN triggers (level 4)
    CTableFieldArray fields;
    CControlArray controls;     // spans absolute in the whole text
    CTableKeyArray keys;
    CObjektManager* manager = nullptr;
    const std::string* text = nullptr;
    CTextSpan headerSpan;
    int parseLevel = 0;         // 0 reset, 1 header, 2 code, 3 =VAR triggers, 4 all triggers, 5 fields
    // Separate read-once guards of the FIELDS, KEYS and CONTROLS readers.
    bool fieldsRead = false;
    bool keysRead = false;
    bool controlsRead = false;
    // The globals' names were looked for in the object's text (onceOnly, occurrences, firstUse set).
    bool globalNamesCounted = false;

    void reset();

    // Header and properties.
    void parseHeader(int start, int end, const std::string* wholeText);
    void findProperties();
    std::string_view objectText() const;
    std::string_view headerText() const;
    // Where the OBJECT line starts (objectSpan starts earlier: at the end of the object before).
    int objectLineStart() const;
    std::string headerName() const;
    const char* typeName() const { return objectTypeWord(type); }
    // The type word of the OBJECT line ("Page", "XMLport" ... for type 0 too): headerText() up to
    // its first blank.
    std::string headerTypeWord() const;
    // The type word a list shows for the object: typeName() for the five known types, the OBJECT
    // line's word for the others, so a Page or an XMLport is not left without one.
    std::string shownTypeWord() const { return type == OT_NONE ? headerTypeWord() : std::string(typeName()); }
    int typeImage() const { return objectTypeImage(type); }
    std::string numberText() const;
    bool sameObject(const CObjectRecord& other) const { return type == other.type && number == other.number; }

    // Code section: parse levels 2 to 4.
    void ensureCode();
    void ensureTriggerVars();
    void ensureTriggers();
    // Back from a code parse to the header level (1): globals, procedures and triggers dropped
    // with their memory. Only from levels 2 and 3 (fields and all triggers stay read).
    void releaseCode();
    // Both read where each global's name stands in the object's text, once per code parse: the
    // first sets onceOnly, occurrences and firstUse of every global, the other finds them set.
    void markOnceOnlyGlobals();
    void countGlobalUses();
    CResultLocation locate(int pos, const std::string& term);
    // The procedures and the =VAR triggers as a code parse up to level 3 reads them, without
    // their locals and without touching the record: enough to place positions as locate does.
    struct CodeOutline {
        CProcedureArray procedures;
        CTriggerArray triggers;
    };
    void outline(CodeOutline& out) const;
    // What locate gives for a record at the header level (1), placed in outline (of this record)
    // instead of in a parse kept by the record.
    CResultLocation locateIn(const CodeOutline& outline, int pos, const std::string& term);
    // For every global, every local of a procedure, then of a trigger, with the same name.
    void globalsUsedIn(std::vector<const CVariable*>& list) const;
    // Like globalsUsedIn, with the procedure or trigger that declares each local.
    struct LocalHidingGlobal {
        const CVariable* local;
        const CProcedure* procedure; // null for a trigger local
        const CTrigger* trigger;     // null for a procedure local
    };
    void globalsUsedIn(std::vector<LocalHidingGlobal>& list) const;

    // Table fields and keys: tables only, each section read once per record, never appended twice.
    // ensureFields brings the record to level 4, reads the fields and sets level 5; fieldsOnce brings
    // it to level 2 and reads the fields.
    void ensureFields();
    void fieldsOnce();
    void readKeys();
    // Reads the keys and sets the uses of every SumIndexField: the references that name this table
    // (headerName()) and the field, plus the equal names; exact comparisons.
    void countSumIndexFieldUses(const CCalcFormulaRefArray& references, const std::vector<std::string>& names);
    // Appends, per SumIndexField without uses, a copy of its key that carries only that SumIndexField.
    void collectUnusedSumIndexFields(CTableKeyArray& out) const;

    // Controls: read once per record, with absolute spans, by the first reader that fits the type.
    void readFormControls();         // forms
    void readFormControlsAbsolute(); // forms
    void readReportControls();       // reports: the CONTROLS of every section, in text order

    // ID check: a "Fehler: ProcedureID ..." line per repeated procedure ID, then a
    // "Fehler: ControlID ..." line per repeated control ID, each group by ascending ID and, within
    // one ID, in collection order; the first element with an ID is never reported.
    void checkDuplicateIds(std::vector<std::string>& lines) const;
    int maxProcedureId() const; // 0 without procedures or IDs of 1 and above
    int maxControlId() const;   // 0 without controls or IDs of 1 and above

private:
    void parseGlobals();
    void parseProcedures();
    void scanProcedures(std::string_view keyword, int blankOffset, bool isLocal, CProcedureArray& out,
                        bool withLocals) const;
    void readProcedureLocals(CProcedure& proc) const;
    void collectTriggers(bool withVar, CTriggerArray& out, bool withLocals) const;
    CResultLocation placeIn(const CTriggerArray& inTriggers, const CProcedureArray& inProcedures, int pos,
                            const std::string& term);
    void readTriggerLocals(CTrigger& trigger) const;
    // Absolute search for a match starting in from..bound; INT_MAX when the first match lies beyond
    // bound, -1 when there is none. Keeps searches of one object from scanning the rest of the text.
    int findBounded(std::string_view pattern, int from, int bound) const;
    void parseFields();
    void readControls();
};
using CObjectRecordArray = CTypedArray<CObjectRecord>;
