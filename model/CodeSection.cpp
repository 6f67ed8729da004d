#include "model/CodeSection.h"

#include "model/NameHits.h"
#include "model/ObjectRecord.h"
#include "model/ObjektManager.h"
#include "model/SourceText.h"

#include <climits>

using srctext::cut;
using srctext::find;

namespace {
const char* const kVariableTypeWords[] = {
    "System", "Dialog", "File", "Action", "OCX", "Automation", "Codeunit", "Form", "Record", "Report", "Dataport",
    "Boolean", "Option", "Integer", "Decimal", "Char", "Text", "Code", "Date", "Time", "Binary", "TextConst"};
constexpr int kVariableTypeCount = sizeof kVariableTypeWords / sizeof kVariableTypeWords[0];

// Length of a marker, without the terminating zero.
template <size_t N>
constexpr int lengthOf(const char (&)[N])
{
    return static_cast<int>(N - 1);
}

// Lengths of the markers the readers below step over.
constexpr int kLineBreakLength = lengthOf("\r\n");
constexpr int kTypeSeparatorLength = lengthOf(": ");  // between a variable's name and its type
constexpr int kBeforeVarLength = lengthOf(";\r\n");  // or "{\r\n", in front of the line that holds VAR
constexpr int kBeforeProcedureEndLength = lengthOf(";\r\n    "); // in front of a procedure's closing "END;"
constexpr int kProcedureEndLineLength = lengthOf("\r\n    END;"); // the line that closes a procedure
constexpr int kEndWordLength = lengthOf("END;");
// A trigger's locals end before this point, counted from the line break in front of its "END;".
constexpr int kTriggerEndLimitStep = 4;
// A procedure search goes on this far behind the previous hit.
constexpr int kNextProcedureStep = 4;
// Where the search for the blank in front of a procedure's name starts: inside the keyword, behind
// "\r\n    PR" and "\r\n    LOCAL PR", so the blank found is the one that follows "PROCEDURE".
constexpr int kProcedureNameSearch = lengthOf("\r\n    PR");
constexpr int kLocalProcedureNameSearch = lengthOf("\r\n    LOCAL PR");
// A location's context: this many bytes, starting this far before the position.
constexpr int kContextBefore = 30;
constexpr int kContextLength = 100;
} // namespace

const char* variableTypeName(int type)
{
    return type >= 0 && type < VT_TEXTCONST ? kVariableTypeWords[type] : "";
}

// Reads one declaration line "    Name@1000 : Type[30];" (the "@id" may be missing).
void CVariable::parse(std::string_view line, int linePos, bool local)
{
    isLocal = local;
    int c = find(line, ": ", 0);
    std::string_view raw = cut(line, 0, c);
    int suffix = 0;
    int at = find(raw, "@", 0);
    if (at >= 0) {
        suffix = c - at;
        raw = raw.substr(0, static_cast<size_t>(at));
    }
    raw = srctext::trimLeftBlanks(raw);
    const int lengthAfterLeftTrim = static_cast<int>(raw.size());
    name = std::string(srctext::trimRightBlanks(raw));
    declPos = linePos + c - lengthAfterLeftTrim - suffix;

    // The type word ends at a blank, the ";" that ends the line, or the "[" of a length.
    std::string_view rest = srctext::cutFrom(line, c + kTypeSeparatorLength);
    size_t end = rest.find_first_of(" ;[");
    std::string_view word = rest.substr(0, end);
    type = VT_UNKNOWN;
    for (int i = 0; i < kVariableTypeCount; ++i) {
        if (word == kVariableTypeWords[i]) {
            type = i;
            break;
        }
    }
}

std::string CProcedure::name() const
{
    int at = find(signature, "@", 0);
    std::string_view n = at >= 0 ? std::string_view(signature).substr(0, static_cast<size_t>(at)) : signature;
    return std::string(srctext::trimBlanks(n));
}

std::string_view CProcedure::procedureText() const
{
    return text ? cut(*text, span.start(), span.length()) : std::string_view();
}

std::string_view CTrigger::triggerText() const
{
    return text ? cut(*text, span.start(), span.length()) : std::string_view();
}

int wordFind(std::string_view text, std::string_view name, int from)
{
    if (name.empty())
        return -1;
    int p = srctext::findWholeWord(text, name, from);
    return p >= static_cast<int>(text.size()) ? -1 : p;
}

namespace {
// Marks each local whose whole-word name occurs exactly once in scope (its declaration).
void markOnceOnlyLocals(CVariableArray& locals, std::string_view scope)
{
    for (CVariable& v : locals) {
        int w = wordFind(scope, v.name, 1);
        if (w >= 0 && wordFind(scope, v.name, w + 1) < 0)
            v.onceOnly = true;
    }
}

// Reads the declaration lines that follow the VAR line at v ("    Name@id : Type;" each), while
// each line's CR lies before limit1 and limit2; the line that crosses a limit is the last one read.
void readDeclarations(std::string_view whole, int v, int limit1, int limit2, CVariableArray& out)
{
    for (;;) {
        int lineBreak = find(whole, "\r\n", v + kBeforeVarLength);
        if (lineBreak < 0)
            return;
        v = lineBreak + kLineBreakLength;
        int r = find(whole, "\r\n", v);
        if (r < 0)
            return;
        CVariable var;
        var.parse(cut(whole, v, r - v), v, true);
        out.add(std::move(var));
        if (!(r < limit1 && r < limit2))
            return;
    }
}
} // namespace

int CObjectRecord::findBounded(std::string_view pattern, int from, int bound) const
{
    if (!text)
        return -1;
    std::string_view whole = *text;
    const int limit = bound + static_cast<int>(pattern.size());
    std::string_view window = limit < static_cast<int>(whole.size()) ? whole.substr(0, static_cast<size_t>(limit)) : whole;
    int hit = find(window, pattern, from);
    if (hit >= 0 || window.size() == whole.size())
        return hit;
    int last = manager ? manager->lastOccurrence(pattern) : static_cast<int>(whole.rfind(pattern));
    return last >= from ? INT_MAX : -1;
}

// Reads the globals: the lines behind "{\r\n    VAR" of the CODE section up to its first empty line.
void CObjectRecord::parseGlobals()
{
    globals.removeAll();
    std::string_view t = objectText();
    int b = find(t, "{\r\n    VAR", 0);
    int e = find(t, "\r\n\r\n", b);
    if (b < 0 || e < 0)
        return;
    for (;;) {
        int lineBreak = find(t, "\r\n", b + kBeforeVarLength);
        if (lineBreak < 0)
            return;
        b = lineBreak + kLineBreakLength;
        int d = find(t, "\r\n", b);
        if (d < 0)
            return;
        CVariable var;
        var.parse(cut(t, b, d - b), b + objectSpan.start(), false);
        globals.add(std::move(var));
        if (!(d < e))
            return;
    }
}

// Reads a procedure's locals: the lines between ";\r\n    VAR" and ";\r\n    BEGIN" of its text.
void CObjectRecord::readProcedureLocals(CProcedure& proc) const
{
    proc.locals.removeAll();
    const int a = proc.span.start();
    const int off = proc.span.end();
    int v = findBounded(";\r\n    VAR", a, off);
    int g = v >= 0 ? findBounded(";\r\n    BEGIN", v, off) : -1;
    if (!(a <= v && v <= off && a <= g && g <= off && v < g))
        return;
    int x = findBounded(";\r\n    END;\r\n\r\n", v, off);
    x = x == INT_MAX ? INT_MAX : x + kBeforeProcedureEndLength;
    readDeclarations(*text, v, g, x, proc.locals);
    markOnceOnlyLocals(proc.locals, proc.procedureText());
}

// Reads the procedures "\r\n    <keyword> Name@id(...);" of the object, each up to the next
// "\r\n    END;\r\n\r\n"; the signature is the text from the blank after PROCEDURE to ";\r\n".
void CObjectRecord::scanProcedures(std::string_view keyword, int blankOffset, bool isLocal, CProcedureArray& out,
                                   bool withLocals) const
{
    std::string_view whole = *text;
    const std::string marker = "\r\n    " + std::string(keyword);
    const int last = objectSpan.end();
    for (int a = objectSpan.start();;) {
        a = findBounded(marker, a + kNextProcedureStep, last);
        if (a < 0 || a == INT_MAX)
            return;
        int endMark = findBounded("\r\n    END;\r\n\r\n", a, last);
        if (endMark < 0 || endMark == INT_MAX)
            return;
        int off = endMark + kProcedureEndLineLength;
        if (off <= a || !objectSpan.contains(a) || !objectSpan.contains(off))
            return;
        int s = find(whole, " ", a + blankOffset);
        int r = s >= 0 ? find(whole, ";\r\n", s) : -1;
        if (s < 0 || r < 0)
            continue;
        CProcedure proc;
        proc.text = text;
        proc.signature = std::string(srctext::trimLeftBlanks(cut(whole, s, r - s)));
        int at = find(proc.signature, "@", 0);
        int paren = find(proc.signature, "(", 0);
        proc.id = (at >= 0 && paren >= 0) ? srctext::decimal(srctext::cutFrom(proc.signature, at + 1)) : -1;
        proc.span.set(a, off);
        proc.isLocal = isLocal;
        if (withLocals)
            readProcedureLocals(proc);
        out.add(std::move(proc));
    }
}

void CObjectRecord::parseProcedures()
{
    procedures.removeAll();
    if (!text)
        return;
    scanProcedures("PROCEDURE", kProcedureNameSearch, false, procedures, true);
    scanProcedures("LOCAL PROCEDURE", kLocalProcedureNameSearch, true, procedures, true);
}

namespace {
const std::vector<const char*>& triggerNames(int type)
{
    static const std::vector<const char*> none;
    static const std::vector<const char*> table = {"OnModify", "OnDelete", "OnInsert", "OnRename", "OnLookup", "OnValidate"};
    static const std::vector<const char*> form = {
        "OnDrillDown", "OnActivate", "OnActivateForm", "OnAfterGetRecord", "OnAfterGetCurrRecord", "OnAfterInput",
        "OnAfterValidate", "OnAssistEdit", "OnBeforeInput", "OnBeforePutRecord", "OnCloseForm", "OnDeactivate",
        "OnDeactivateForm", "OnDeleteRecord", "OnFindRecord", "OnFormat", "OnInit", "OnInputChange", "OnInsertRecord",
        "OnModifyRecord", "OnNewRecord", "OnNextRecord", "OnOpenForm", "OnPush", "OnValidate"};
    static const std::vector<const char*> report = {
        "OnPreDataItem", "OnAfterGetRecord", "OnInitReport", "OnPostDataItem", "OnPostReport", "OnPostSection",
        "OnPreReport", "OnPreSection", "OnQueryCloseForm"};
    static const std::vector<const char*> dataport = {
        "OnAfterExportRecord", "OnAfterFormatField", "OnAfterImportRecord", "OnBeforeEvaluateField",
        "OnBeforeExportRecord", "OnBeforeImportRecord", "OnInitDataPort", "OnPostDataPort", "OnPreDataPort"};
    static const std::vector<const char*> codeunit = {"OnRun"};
    switch (type) {
    case OT_TABLE: return table;
    case OT_FORM: return form;
    case OT_REPORT: return report;
    case OT_DATAPORT: return dataport;
    case OT_CODEUNIT: return codeunit;
    default: return none;
    }
}

// "\r\n", the blanks of a BEGIN's indentation less two, "END;\r\n".
std::string endLineFor(int indent)
{
    return "\r\n" + std::string(indent > 2 ? static_cast<size_t>(indent - 2) : 0, ' ') + "END;\r\n";
}
} // namespace

// Reads a trigger's locals: the lines between "<Name>=VAR\r\n" and the "BEGIN\r\n" that follows.
void CObjectRecord::readTriggerLocals(CTrigger& trigger) const
{
    trigger.locals.removeAll();
    std::string_view whole = *text;
    const int s = trigger.span.start();
    const int t = trigger.span.end();
    int v = findBounded(trigger.name + "=VAR\r\n", s, t);
    int g = (v >= 0 && v != INT_MAX) ? findBounded("BEGIN\r\n", v, t) : -1;
    if (!(s <= v && v <= t && s <= g && g <= t && v < g))
        return;
    int x = findBounded(endLineFor(srctext::indentOf(whole, g)), v, t);
    x = x == INT_MAX ? INT_MAX : x + kTriggerEndLimitStep;
    readDeclarations(whole, v, g, x, trigger.locals);
    markOnceOnlyLocals(trigger.locals, trigger.triggerText());
}

// Reads the triggers "<Name>=VAR\r\n" (withVar) or "<Name>=BEGIN\r\n" of the object's type, each
// up to the "END;" indented two less than its BEGIN.
void CObjectRecord::collectTriggers(bool withVar, CTriggerArray& out, bool withLocals) const
{
    std::string_view t = objectText();
    const int base = objectSpan.start();
    for (const char* name : triggerNames(type)) {
        const std::string pattern = std::string(name) + (withVar ? "=VAR\r\n" : "=BEGIN\r\n");
        for (int c = 0;;) {
            c = find(t, pattern, c + 1);
            if (c < 0)
                break;
            int d = srctext::indentOf(t, find(t, "BEGIN\r\n", c + 1));
            int e = find(t, endLineFor(d), c) + d + kEndWordLength;
            if (e <= c)
                break;
            if (find(t, name, c) < 0 || find(t, "\r\n", c) < 0)
                continue;
            CTrigger trigger;
            trigger.text = text;
            trigger.name = name;
            trigger.name2 = name;
            trigger.span.set(c + base, e + base);
            trigger.indent = d;
            if (withLocals)
                readTriggerLocals(trigger);
            out.add(std::move(trigger));
        }
    }
}

void CObjectRecord::ensureCode()
{
    if (parseLevel != 1)
        return;
    findProperties();
    parseGlobals();
    parseProcedures();
    globalNamesCounted = false;
    parseLevel = 2;
}

void CObjectRecord::ensureTriggerVars()
{
    if (parseLevel < 2)
        ensureCode();
    if (parseLevel != 2)
        return;
    triggers.removeAll();
    collectTriggers(true, triggers, true);
    parseLevel = 3;
}

void CObjectRecord::ensureTriggers()
{
    if (parseLevel < 3)
        ensureTriggerVars();
    if (parseLevel != 3)
        return;
    collectTriggers(false, triggers, true);
    parseLevel = 4;
}

void CObjectRecord::releaseCode()
{
    if (parseLevel != 2 && parseLevel != 3)
        return;
    globals.release();
    procedures.release();
    triggers.release();
    parseLevel = 1;
}

namespace {
// Where each global's name occurs in the object's text. All names are looked for in one pass:
// one search per name cost the number of globals times the object's size, and the largest
// objects have the most globals.
std::vector<srctext::NameHits> globalNameHits(const CVariableArray& globals, std::string_view t)
{
    std::vector<std::string_view> names;
    for (const CVariable& v : globals)
        names.push_back(v.name);
    return srctext::findNames(t, names);
}
} // namespace

void CObjectRecord::markOnceOnlyGlobals()
{
    countGlobalUses();
}

void CObjectRecord::countGlobalUses()
{
    ensureTriggerVars();
    if (globalNamesCounted)
        return;
    const std::vector<srctext::NameHits> hits = globalNameHits(globals, objectText());
    size_t i = 0;
    for (CVariable& v : globals) {
        const srctext::NameHits& h = hits[i++];
        if (h.first >= 0 && h.second < 0)
            v.onceOnly = true;
        v.occurrences = 0;
        if (h.second < 0)
            continue;
        v.firstUse = h.second + objectSpan.start() == v.declPos ? h.first : h.second;
        v.occurrences = h.count - 1;
    }
    globalNamesCounted = true;
}

CResultLocation CObjectRecord::locate(int pos, const std::string& term)
{
    ensureTriggerVars();
    return placeIn(triggers, procedures, pos, term);
}

void CObjectRecord::outline(CodeOutline& out) const
{
    out.procedures.removeAll();
    out.triggers.removeAll();
    if (!text)
        return;
    scanProcedures("PROCEDURE", kProcedureNameSearch, false, out.procedures, false);
    scanProcedures("LOCAL PROCEDURE", kLocalProcedureNameSearch, true, out.procedures, false);
    collectTriggers(true, out.triggers, false);
}

CResultLocation CObjectRecord::locateIn(const CodeOutline& outline, int pos, const std::string& term)
{
    return placeIn(outline.triggers, outline.procedures, pos, term);
}

CResultLocation CObjectRecord::placeIn(const CTriggerArray& inTriggers, const CProcedureArray& inProcedures, int pos,
                                       const std::string& term)
{
    CResultLocation loc;
    if (!text || !objectSpan.contains(pos))
        return loc;
    loc.objectEnd = objectSpan.end();
    loc.objectStart = objectSpan.start();
    loc.position = pos;
    loc.term = term;
    for (const CTrigger& trigger : inTriggers) {
        if (trigger.span.contains(pos)) {
            loc.where = "Trigger " + trigger.name;
            break;
        }
    }
    if (loc.where.empty()) {
        for (const CProcedure& proc : inProcedures) {
            if (proc.span.contains(pos)) {
                loc.where = "Proc " + proc.signature;
                break;
            }
        }
    }
    loc.object = this;
    return loc;
}

std::string CResultLocation::objectName() const
{
    return object ? std::string(object->headerText()) : std::string();
}

std::string CResultLocation::context() const
{
    if (!object || !object->text)
        return std::string();
    return std::string(srctext::trimLeftBlanks(cut(*object->text, position - kContextBefore, kContextLength)));
}

void CObjectRecord::globalsUsedIn(std::vector<LocalHidingGlobal>& list) const
{
    list.clear();
    for (const CVariable& global : globals) {
        for (const CProcedure& proc : procedures)
            for (const CVariable& local : proc.locals)
                if (local.name == global.name)
                    list.push_back({&local, &proc, nullptr});
        for (const CTrigger& trigger : triggers)
            for (const CVariable& local : trigger.locals)
                if (local.name == global.name)
                    list.push_back({&local, nullptr, &trigger});
    }
}

void CObjectRecord::globalsUsedIn(std::vector<const CVariable*>& list) const
{
    std::vector<LocalHidingGlobal> found;
    globalsUsedIn(found);
    list.clear();
    for (const LocalHidingGlobal& entry : found)
        list.push_back(entry.local);
}
