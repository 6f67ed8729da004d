// Writes a large synthetic Navision object text export for load and analysis benchmarks:
//
//     gen_export OUTPUT MEGABYTES [SEED] [--newer] [--real|--nav2013|--joined] [--changed-copy COPY LIST]
//
// --changed-copy also writes a changed copy of the export and the list of its changes (see
// ChangedCopy.h), for the comparison of two exports.
//
// --real writes an export shaped like a real one of a newer version instead (see namespace real
// below): pages, tables, codeunits, reports, XMLports, queries and menusuites in the real
// proportions and sizes (--newer then changes nothing; its sizes come from the C library's log,
// exp and cos, so another platform may draw them a little differently). --nav2013 writes one
// shaped like a real NAV 2013 R2 customer database (more LOCAL and longer procedures, no tool
// tips); --joined several versions of one --real application joined into one file (the same
// object numbers, mostly the same procedure names; see writeJoinedExport). Without these, the
// older synthetic shape described here:
//
// The objects repeat the shapes of examples/sample-export.txt (tables with fields, FlowFields, keys
// and triggers, forms with controls, reports with sections, dataports, codeunits with many
// procedures and locals) in the export's fixed indentation, with CR LF line ends and umlauts as
// CP850 bytes. Object numbers and procedure names are distinct; some procedures are called from
// other objects, others from nowhere. Now and then a codeunit grows to about 50,000 lines, as real
// exports have. The output depends only on the arguments.
//
// --newer writes the same objects in the style of newer versions: attribute lines above some
// codeunit procedures ([EventSubscriber(...)] in the forms real exports use, [External],
// [Integration], [Business], [TryFunction], [Normal]), drawn from a generator of their own so that
// the rest of the file stays the same as without the option.
#include "ChangedCopy.h"
#include "GenReferenceExport.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

// splitmix64: small, fast and the same on every platform, so a seed always gives the same file.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t next()
    {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int range(int lo, int hi) { return lo + static_cast<int>(next() % static_cast<std::uint64_t>(hi - lo + 1)); }
    bool chance(int percent) { return range(1, 100) <= percent; }
    template <typename T, std::size_t N> const T& pick(const T (&items)[N]) { return items[next() % N]; }

private:
    std::uint64_t m_state;
};

// Buffered output; every line gets CR LF.
class Out {
public:
    explicit Out(std::FILE* file) : m_file(file) { m_buf.reserve(kFlushAt + 4096); }
    ~Out() { flush(); }
    void line(std::string_view text)
    {
        m_buf.append(text);
        m_buf.append("\r\n");
        if (m_buf.size() >= kFlushAt)
            flush();
    }
    void linef(const char* format, ...) __attribute__((format(printf, 2, 3)))
    {
        char tmp[1024];
        va_list args;
        va_start(args, format);
        int n = std::vsnprintf(tmp, sizeof tmp, format, args);
        va_end(args);
        line(std::string_view(tmp, n < 0 ? 0 : (n < static_cast<int>(sizeof tmp) ? n : sizeof tmp - 1)));
    }
    void flush()
    {
        if (!m_buf.empty() && std::fwrite(m_buf.data(), 1, m_buf.size(), m_file) != m_buf.size())
            m_failed = true;
        m_written += m_buf.size();
        m_buf.clear();
    }
    std::uint64_t size() const { return m_written + m_buf.size(); }
    bool failed() const { return m_failed; }

private:
    static constexpr std::size_t kFlushAt = 4u << 20;
    std::FILE* m_file;
    std::string m_buf;
    std::uint64_t m_written = 0;
    bool m_failed = false;
};

// CP850 bytes, spelled as escapes so the source stays ASCII: 0x84 a-umlaut, 0x94 o-umlaut,
// 0x81 u-umlaut, 0x8E A-umlaut, 0x9A U-umlaut, 0xE1 sharp s.
const char* const kNouns[] = {"Entry", "Line", "Header", "Amount", "Bonus", "Price", "Stock", "Budget",
                              "Pr\x81" "fung", "Z\x84" "hler", "Gr\x94\xE1" "e", "\x8E" "nderung"};
const char* const kVerbs[] = {"Calc", "Post", "Check", "Update", "Get", "Set", "Init", "Find", "Show", "Validate"};
const char* const kFieldWords[] = {"Description", "Posting Date", "Document No.", "Quantity", "Unit Price",
                                   "Amount", "Bemerkung", "G\x81" "ltig ab", "Code", "Status"};
const char* const kTypes[] = {"Code20", "Text50", "Date", "Integer", "Decimal", "Boolean", "Option"};

struct TableInfo {
    int number;
    std::string name;
    std::vector<std::string> decimals;
};

struct Catalog {
    std::vector<TableInfo> tables;
    std::vector<std::pair<int, std::string>> procedures; // codeunit number, procedure name
};

std::string pad(std::string_view text, std::size_t width)
{
    std::string s(text);
    if (s.size() < width)
        s.append(width - s.size(), ' ');
    return s;
}

void objectHeader(Out& out, Rng& rng, const char* type, int number, const std::string& name)
{
    out.linef("OBJECT %s %d %s", type, number, name.c_str());
    out.line("{");
    out.line("  OBJECT-PROPERTIES");
    out.line("  {");
    out.linef("    Date=%02d.%02d.%02d;", rng.range(1, 28), rng.range(1, 12), rng.range(0, 9));
    out.linef("    Time=%02d:%02d:%02d;", rng.range(7, 19), rng.range(0, 59), rng.range(0, 59));
    if (rng.chance(60))
        out.line("    Modified=Yes;");
    out.linef("    Version List=QLX%d.%02d;", rng.range(1, 5), rng.range(0, 20));
    out.line("  }");
}

// A trigger whose first line is prefix + name + "=BEGIN" (or "=VAR" with its declarations), body
// lines two columns right of BEGIN, and END; under BEGIN; a blank line follows when asked.
void trigger(Out& out, const std::string& prefix, const char* name, const std::vector<std::string>& locals,
             const std::vector<std::string>& body, bool blankAfter)
{
    std::string col(prefix.size() + std::string_view(name).size() + 1, ' ');
    out.line(prefix + name + (locals.empty() ? "=BEGIN" : "=VAR"));
    for (const auto& decl : locals)
        out.line(col + "  " + decl);
    if (!locals.empty())
        out.line(col + "BEGIN");
    for (const auto& stmt : body)
        out.line(col + "  " + stmt);
    out.line(col + "END;");
    if (blankAfter)
        out.line("");
}

std::string procName(Rng& rng, int objectNo, int index)
{
    return std::string(rng.pick(kVerbs)) + rng.pick(kNouns) + std::to_string(objectNo) + "_" + std::to_string(index);
}

// Statements of a procedure body; some call procedures of other codeunits through mgtVar.
std::vector<std::string> bodyLines(Rng& rng, const Catalog& cat, const std::vector<std::string>& locals,
                                   const std::string& mgtVar, int lines)
{
    std::vector<std::string> body;
    for (int i = 0; i < lines; ++i) {
        int kind = rng.range(0, 9);
        if (kind < 2 && !cat.procedures.empty() && !mgtVar.empty()) {
            const auto& callee = cat.procedures[rng.next() % cat.procedures.size()];
            body.push_back(mgtVar + "." + callee.second + "(" + std::to_string(i) + ");");
        } else if (kind < 6 && !locals.empty()) {
            const std::string& v = locals[rng.next() % locals.size()];
            body.push_back(v + " := " + v + " + " + std::to_string(rng.range(1, 99)) + ";");
        } else if (kind < 8) {
            body.push_back("IF Amount > " + std::to_string(rng.range(0, 9999)) + " THEN");
            body.push_back("  Amount := ROUND(Amount * 0." + std::to_string(rng.range(10, 99)) + ",0.01);");
        } else {
            body.push_back("// Z\x84hlerstand " + std::to_string(rng.range(1, 500)) + " pr\x81" "fen");
        }
    }
    return body;
}

// hiddenGlobal: a global name that a local of this procedure repeats now and then.
void procedure(Out& out, Rng& rng, const Catalog& cat, const std::string& name, int id, bool local,
               const std::string& mgtVar, const std::string& hiddenGlobal, int bodySize,
               const std::vector<std::string>& attributes = {})
{
    for (const std::string& attribute : attributes)
        out.line("    " + attribute);
    std::vector<std::string> locals;
    int localCount = rng.range(0, 4);
    for (int i = 0; i < localCount; ++i)
        locals.push_back(std::string(rng.pick(kNouns)) + std::to_string(i));
    if (!hiddenGlobal.empty() && rng.chance(5))
        locals.push_back(hiddenGlobal);
    out.linef("    %sPROCEDURE %s@%d(Amount@1000 : Decimal) : Decimal;", local ? "LOCAL " : "", name.c_str(), id);
    if (!locals.empty()) {
        out.line("    VAR");
        for (std::size_t i = 0; i < locals.size(); ++i)
            out.linef("      %s@%zu : Decimal;", locals[i].c_str(), 1001 + i);
    }
    // Drop one local from the body now and then, so the unused-variable analysis has work.
    if (!locals.empty() && rng.chance(30))
        locals.pop_back();
    out.line("    BEGIN");
    for (const auto& stmt : bodyLines(rng, cat, locals, mgtVar, bodySize))
        out.line("      " + stmt);
    out.line("      EXIT(Amount);");
    out.line("    END;");
    out.line("");
}

void codeEnd(Out& out)
{
    out.line("    BEGIN");
    out.line("    END.");
    out.line("  }");
    out.line("}");
}

// One FIELDS entry: a plain field, a FlowField summing a Decimal of an earlier table, or a field
// with an OnValidate trigger.
void writeField(Out& out, Rng& rng, const Catalog& cat, TableInfo& info, int f)
{
    std::string name = std::string(rng.pick(kFieldWords)) + " " + std::to_string(f);
    const TableInfo* other = !cat.tables.empty() && rng.chance(15) ? &cat.tables[rng.next() % cat.tables.size()] : nullptr;
    bool flowField = other != nullptr && !other->decimals.empty();
    const char* type = flowField ? "Decimal" : rng.pick(kTypes);
    std::string start = "    { " + pad(std::to_string(f), 4) + ";   ;" + pad(name, 20) + ";" + pad(type, 14);
    const std::string propertyColumn(51, ' ');
    if (flowField) {
        out.line(start + ";FieldClass=FlowField;");
        out.line(propertyColumn + "CalcFormula=" + (rng.chance(20) ? "-Sum(\"" : "Sum(\"") + other->name + "\".\"" +
                 other->decimals[rng.next() % other->decimals.size()] + "\" WHERE (Entry No.=FIELD(Entry No.)));");
        out.line(propertyColumn + "Editable=No }");
        return;
    }
    if (std::string_view(type) == "Decimal")
        info.decimals.push_back(name);
    if (rng.chance(10)) {
        trigger(out, start + ";", "OnValidate", {"Rec2@1000 : Record " + std::to_string(info.number) + ";"},
                {"IF Rec2.GET(\"Entry No.\") THEN", "  TESTFIELD(\"Entry No.\");"}, true);
        out.line(propertyColumn + "Description=Gepr\x81" "ft }");
        return;
    }
    out.line(start + "}");
}

void writeTable(Out& out, Rng& rng, Catalog& cat, int number)
{
    TableInfo info{number, std::string(rng.pick(kNouns)) + " Ledger " + std::to_string(number), {}};
    objectHeader(out, rng, "Table", number, info.name);
    out.line("  PROPERTIES");
    out.line("  {");
    trigger(out, "    ", "OnInsert", {}, {"IF \"Posting Date\" = 0D THEN", "  \"Posting Date\" := WORKDATE;"}, true);
    out.linef("    CaptionML=[DEU=Posten %d;", number);
    out.linef("               ENU=Entry %d];", number);
    out.line("  }");
    out.line("  FIELDS");
    out.line("  {");
    out.line("    { 1   ;   ;Entry No.           ;Integer       ;CaptionML=[DEU=Lfd. Nr.;");
    out.line("                                                              ENU=Entry No.] }");
    for (int f = 2, count = rng.range(8, 60); f <= count; ++f)
        writeField(out, rng, cat, info, f);
    out.line("  }");
    out.line("  KEYS");
    out.line("  {");
    out.line("    {    ;Entry No.                               ;Clustered=Yes }");
    if (!info.decimals.empty()) {
        std::string sums = info.decimals[0];
        if (info.decimals.size() > 1)
            sums += "," + info.decimals[1];
        out.line(std::string("    {") + (rng.chance(10) ? " No ;" : "    ;") + pad("Entry No.", 40) +
                 ";SumIndexFields=" + sums + " }");
    }
    out.line("  }");
    out.line("  CODE");
    out.line("  {");
    out.line("");
    codeEnd(out);
    cat.tables.push_back(std::move(info));
}

void writeForm(Out& out, Rng& rng, const Catalog& cat, int number)
{
    objectHeader(out, rng, "Form", number, "Card " + std::to_string(number));
    int table = cat.tables.empty() ? 18 : cat.tables[rng.next() % cat.tables.size()].number;
    out.line("  PROPERTIES");
    out.line("  {");
    out.line("    Width=9790;");
    out.line("    Height=6710;");
    out.linef("    SourceTable=Table%d;", table);
    trigger(out, "    ", "OnOpenForm", {}, {"CurrForm.UPDATE;"}, true);
    out.line("  }");
    out.line("  CONTROLS");
    out.line("  {");
    out.line("    { 1   ;TabControl   ;220  ;220  ;9350 ;5280 ;PageNamesML=[DEU=Allgemein,Details;");
    out.line(std::string(62, ' ') + (rng.chance(20) ? "ENU=General,Details,Statistics] }" : "ENU=General,Details] }"));
    int controls = rng.range(6, 80);
    for (int c = 2; c <= controls; ++c) {
        int id = rng.range(1, 100) == 1 ? c - 1 : c; // the odd duplicate ID
        std::string start = "    { " + pad(std::to_string(id), 4) + ";" + pad(c % 2 ? "Label" : "TextBox", 13) +
                            ";3520 ;" + pad(std::to_string(220 + 550 * (c % 9)), 5) + ";1700 ;440  ;";
        out.line(start + "ParentControl=1;");
        out.linef("%sInPage=%d;", std::string(49, ' ').c_str(), c % 2);
        if (c % 2) {
            out.linef("%sCaptionML=[DEU=Feld %d;", std::string(49, ' ').c_str(), c);
            out.linef("%sENU=Field %d] }", std::string(60, ' ').c_str(), c);
        } else {
            out.linef("%sSourceExpr=\"Entry No.\" }", std::string(49, ' ').c_str());
        }
    }
    out.line("  }");
    out.line("  CODE");
    out.line("  {");
    std::string mgt;
    if (!cat.procedures.empty()) {
        out.line("    VAR");
        out.linef("      Mgt@1000 : Codeunit %d;", cat.procedures.back().first);
        out.line("");
        mgt = "Mgt";
    }
    for (int p = 1, count = rng.range(1, 4); p <= count; ++p)
        procedure(out, rng, cat, procName(rng, number, p), p, p % 2 == 0, mgt, "", rng.range(2, 12));
    codeEnd(out);
}

void writeReport(Out& out, Rng& rng, const Catalog& cat, int number)
{
    objectHeader(out, rng, "Report", number, "List " + std::to_string(number));
    int table = cat.tables.empty() ? 18 : cat.tables[rng.next() % cat.tables.size()].number;
    out.line("  PROPERTIES");
    out.line("  {");
    out.line("  }");
    out.line("  DATAITEMS");
    out.line("  {");
    out.line("    { PROPERTIES");
    out.line("      {");
    out.linef("        DataItemTable=Table%d;", table);
    trigger(out, "        ", "OnAfterGetRecord", {"Summe@1000 : Decimal;"}, {"Summe := Summe + 1;"}, true);
    out.line("      }");
    out.line("      SECTIONS");
    out.line("      {");
    int id = 1;
    for (int s = 0, sections = rng.range(1, 4); s < sections; ++s) {
        out.line("        { PROPERTIES");
        out.line("          {");
        out.line(s == 0 ? "            SectionType=Header;" : "            SectionType=Body;");
        out.line("            SectionWidth=18150;");
        out.line("            SectionHeight=423;");
        out.line("          }");
        out.line("          CONTROLS");
        out.line("          {");
        for (int c = 0, n = rng.range(2, 12); c < n; ++c, ++id)
            out.line("            { " + pad(std::to_string(id), 4) + ";TextBox      ;" + pad(std::to_string(c * 1500), 5) +
                     ";0    ;1500 ;423  ;SourceExpr=\"Entry No.\" }");
        out.line("          }");
        out.line("           }");
    }
    out.line("      }");
    out.line("       }");
    out.line("  }");
    out.line("  REQUESTFORM");
    out.line("  {");
    out.line("    PROPERTIES");
    out.line("    {");
    out.line("    }");
    out.line("    CONTROLS");
    out.line("    {");
    out.line("    }");
    out.line("  }");
    out.line("  CODE");
    out.line("  {");
    out.line("");
    codeEnd(out);
}

void writeDataport(Out& out, Rng& rng, const Catalog& cat, int number)
{
    objectHeader(out, rng, "Dataport", number, "Import " + std::to_string(number));
    int table = cat.tables.empty() ? 18 : cat.tables[rng.next() % cat.tables.size()].number;
    out.line("  PROPERTIES");
    out.line("  {");
    out.line("    Import=Yes;");
    trigger(out, "    ", "OnPreDataPort", {}, {"Z\x84hler := 0;"}, true);
    out.line("  }");
    out.line("  DATAITEMS");
    out.line("  {");
    out.line("    { PROPERTIES");
    out.line("      {");
    out.linef("        DataItemTable=Table%d;", table);
    trigger(out, "        ", "OnAfterImportRecord", {}, {"Z\x84hler := Z\x84hler + 1;"}, true);
    out.line("      }");
    out.line("      FIELDS");
    out.line("      {");
    out.line("        {      ;     ;\"Entry No.\"          }");
    out.line("      }");
    out.line("       }");
    out.line("  }");
    out.line("  CODE");
    out.line("  {");
    out.line("    VAR");
    out.line("      Z\x84hler@1000 : Integer;");
    out.line("");
    codeEnd(out);
}

// The attribute lines of a codeunit procedure in a newer-style export, drawn from rng.
std::vector<std::string> newerAttributes(Rng& rng, const Catalog& cat)
{
    std::vector<std::string> attributes;
    const int kind = rng.range(1, 100);
    char line[256];
    if (kind <= 20) {
        if (rng.chance(20))
            attributes.emplace_back("[Normal]");
        const int form = rng.range(1, 3);
        if (form == 1 && !cat.tables.empty())
            std::snprintf(line, sizeof line, "[EventSubscriber(Table,%d,OnAfterInsertEvent)]",
                          cat.tables[rng.next() % cat.tables.size()].number);
        else if (form == 2 && !cat.procedures.empty()) {
            const auto& event = cat.procedures[rng.next() % cat.procedures.size()];
            std::snprintf(line, sizeof line, "[EventSubscriber(Codeunit,%d,%s,\"\",Skip,Skip)]", event.first,
                          event.second.c_str());
        } else
            std::snprintf(line, sizeof line, "[EventSubscriber(Page,9177,OnBeforeActionEvent,\"Create New Company, %d\")]",
                          rng.range(1, 9));
        attributes.emplace_back(line);
    } else if (kind <= 28) {
        attributes.emplace_back("[External]");
    } else if (kind <= 34) {
        const char* const publishers[] = {"[Integration]", "[Integration(TRUE)]", "[Business]"};
        attributes.emplace_back(rng.pick(publishers));
    } else if (kind <= 37) {
        attributes.emplace_back("[TryFunction]");
    }
    return attributes;
}

bool g_newer = false;
Rng g_attributeRng(0);

void writeCodeunit(Out& out, Rng& rng, Catalog& cat, int number, int procedures)
{
    objectHeader(out, rng, "Codeunit", number, "Management " + std::to_string(number));
    std::vector<std::string> names;
    for (int p = 1; p <= procedures; ++p)
        names.push_back(procName(rng, number, p));
    out.line("  PROPERTIES");
    out.line("  {");
    trigger(out, "    ", "OnRun", {}, {names[0] + "(0);"}, true);
    out.line("  }");
    out.line("  CODE");
    out.line("  {");
    out.line("    VAR");
    std::string mgt;
    if (!cat.procedures.empty()) {
        out.linef("      Mgt@1000 : Codeunit %d;", cat.procedures.back().first);
        mgt = "Mgt";
    }
    out.line("      Text000@1001 : TextConst 'DEU=Bitte pr\x81" "fen;ENU=Please check';");
    out.linef("      Rec@1002 : Record %d;", cat.tables.empty() ? 18 : cat.tables.back().number);
    out.line("");
    for (int p = 1; p <= procedures; ++p) {
        int id = p > 1 && rng.range(1, 200) == 1 ? p - 1 : p; // the odd duplicate ID
        procedure(out, rng, cat, names[p - 1], id, rng.chance(25), mgt, "Rec", rng.range(3, 30),
                  g_newer ? newerAttributes(g_attributeRng, cat) : std::vector<std::string>());
    }
    codeEnd(out);
    // Offer a few of this codeunit's procedures to later objects; the others stay uncalled.
    for (int p = 0; p < procedures; p += rng.range(2, 5))
        cat.procedures.emplace_back(number, names[p]);
    if (cat.procedures.size() > 4096)
        cat.procedures.erase(cat.procedures.begin(), cat.procedures.begin() + 2048);
}

// ---------------------------------------------------------------------------------------------
// --real: an export shaped like a real one of a newer version. Per 148 MB a real export holds
// 4,979 objects (2,146 pages, 1,211 tables, 892 codeunits, 646 reports, 84 XMLports, queries and
// menusuites), 24,947 procedures, 113,000 variable declarations, 70,000 table fields and 3.0 M
// lines; the median object has 6.8 KB, a few have about 2 MB. The object count follows the
// requested size; each object's size is drawn from a log-normal spread with that median (and
// that mean), and its type decides how the size is filled: fields, controls, report layout lines
// or procedures. Objects stand in the order of an export: by type, then by number.

namespace real {

const char* const kVerbs[] = {"Post", "Check", "Calc", "Update", "Get", "Set", "Init", "Find", "Show", "Validate",
                              "Create", "Insert", "Modify", "Delete", "Copy", "Transfer", "Apply", "Release",
                              "Test", "Fill", "Lookup", "Run", "Handle", "Build", "Export", "Import", "Print",
                              "Archive", "Reopen", "Assign", "Split", "Round", "Convert", "Send", "Reserve"};
const char* const kNouns[] = {"Line", "Header", "Entry", "Charge", "Document", "Customer", "Vendor", "Item",
                              "Dimension", "Price", "Discount", "Ledger", "Journal", "Batch", "Posting", "Setup",
                              "Balance", "Currency", "Payment", "Shipment", "Receipt", "Invoice", "Order",
                              "Quantity", "Location", "Bin", "Lot", "Serial", "Tracking", "Budget", "Account",
                              "VAT", "Tax", "Reminder", "Service", "Contract", "Job", "Resource", "Bonus",
                              "Pr\x81" "fung", "Z\x84" "hler", "Gr\x94\xE1" "e", "\x8E" "nderung"};
const char* const kFieldPrefixes[] = {"", "", "", "", "Sell-to ", "Bill-to ", "Ship-to ", "Bal. ", "Orig. ",
                                      "Remaining ", "Outstanding ", "Shortcut ", "Applies-to ", "Last ", "Qty. to "};
const char* const kFieldNouns[] = {"No.", "Description", "Posting Date", "Document No.", "Amount", "Unit Cost (LCY)",
                                   "Quantity", "Unit Price", "Customer No.", "Vendor No.", "Item No.", "Code",
                                   "Status", "Currency Code", "Dimension 1 Code", "Location Code", "Name",
                                   "Address", "City", "Post Code", "Country/Region Code", "Due Date", "Type",
                                   "Line No.", "Entry No.", "Open", "Bemerkung", "G\x81" "ltig ab", "Bonus"};
const char* const kFieldTypes[] = {"Code20", "Text50", "Date", "Integer", "Decimal", "Boolean", "Option", "Code10",
                                   "Text30", "DateTime", "GUID", "BLOB"};
const char* const kVarTypes[] = {"Record ", "Codeunit ", "Decimal", "Integer", "Code[20]", "Text[250]", "Boolean",
                                 "Date", "Page ", "Report "};

enum Kind { Table, Report, Codeunit, XMLport, MenuSuite, Page, Query, KindCount };
const char* const kTypeWords[] = {"Table", "Report", "Codeunit", "XMLport", "MenuSuite", "Page", "Query"};

// What tells one real export from another: objects of each kind in the order above (per the
// export's size), object sizes, bytes of code per procedure, the share of LOCAL procedures, the
// Version List and whether page fields carry tool tips and application areas.
struct Shape {
    int perExport[KindCount];
    double exportMegabytes;
    double medianObject;
    double largest;
    double procedureBytes;
    int localPercent;
    const char* versionList; // printf format taking three ints
    bool toolTips;
};

// The real NAV 2017 export of 148 MB: 4,979 objects, 24,947 procedures, median object 6.8 KB.
const Shape kNav2017 = {{1211, 646, 892, 40, 14, 2146, 30}, 148.0, 7.3 * 1024, 2.1 * 1024 * 1024, 2750, 45,
                        "NAVW19.00.00.%d,NAVDACH9.00,QLX%d.%02d", true};
// A NAV 2013 R2 customer database of 152 MB: 4,794 objects, 20,006 procedures (7,948 LOCAL),
// longer procedures, median object 6.3 KB, the largest 2.15 MB, no tool tips.
const Shape kNav2013 = {{1157, 796, 718, 30, 10, 2071, 12}, 152.0, 6.0 * 1024, 2.15 * 1024 * 1024, 3330, 40,
                        "NAVW17.10.00.%d,NAVDACH7.10,KUN%d.%02d", false};
// Share of an object's bytes its code takes, by kind.
const double kCodeShare[] = {0.40, 0.25, 0.97, 0.45, 0.0, 0.33, 0.25};

struct Object {
    Kind kind;
    int id = 0;      // seeds the object's text in a joined export
    int variant = 0; // a changed object of a later version gets another text
    int number;
    double bytes;
    std::string name;
    std::vector<std::string> procedures;
};

// A normally distributed number from two uniform ones (Box-Muller).
double normal(Rng& rng)
{
    const double u = (static_cast<double>(rng.next() >> 11) + 0.5) / 9007199254740992.0;
    const double v = (static_cast<double>(rng.next() >> 11) + 0.5) / 9007199254740992.0;
    return std::sqrt(-2.0 * std::log(u)) * std::cos(6.283185307179586 * v);
}

std::string procedureName(Rng& rng)
{
    std::string name = std::string(rng.pick(kVerbs)) + rng.pick(kNouns);
    if (rng.chance(60))
        name += rng.pick(kNouns);
    if (rng.chance(25))
        name += std::to_string(rng.range(1, 99));
    return name;
}

std::string fieldName(Rng& rng, int f)
{
    if (f == 1)
        return "No.";
    std::string name = std::string(rng.pick(kFieldPrefixes)) + rng.pick(kFieldNouns);
    if (rng.chance(12))
        name += " " + std::to_string(rng.range(2, 9));
    else if (rng.chance(4))
        name = "Bonus " + std::string(rng.pick(kNouns)) + " " + std::to_string(rng.range(1, 999999));
    return name;
}

class Writer {
public:
    Writer(Out& out, Rng& rng, const Shape& shape) : m_out(out), m_rng(rng), m_shape(shape) {}

    void write(Object& object)
    {
        const std::uint64_t start = m_out.size();
        m_start = start;
        m_object = &object;
        m_out.linef("OBJECT %s %d %s", kTypeWords[object.kind], object.number, object.name.c_str());
        m_out.line("{");
        header();
        switch (object.kind) {
        case Table: table(); break;
        case Report: report(); break;
        case Codeunit: properties({"    Permissions=TableData 17=rimd;"}); code(); break;
        case XMLport: xmlport(); break;
        case MenuSuite: menuSuite(); break;
        case Page: page(); break;
        case Query: query(); break;
        default: break;
        }
        m_out.line("}");
        m_out.line("");
    }

    // The codeunits' numbers and the procedures other objects call.
    std::vector<std::pair<int, std::vector<std::string>>> published;
    std::vector<std::string> fieldNames;

private:
    double used() const { return static_cast<double>(m_out.size() - m_start); }
    double budget() const { return m_object->bytes; }

    void header()
    {
        static const char* const dates[] = {"05.07.23", "09/06/18", "01/21/14", "21-12-17", "14.03.16"};
        static const char* const times[] = {"10:06:14 PM", "[ 4:41:14 PM]", "12:00:00", "08:15:31"};
        m_out.line("  OBJECT-PROPERTIES");
        m_out.line("  {");
        m_out.linef("    Date=%s;", m_rng.pick(dates));
        m_out.linef("    Time=%s;", m_rng.pick(times));
        if (m_rng.chance(40))
            m_out.line("    Modified=Yes;");
        // Drawn last to first, as the files of earlier builds of this program were.
        const int minor = m_rng.range(0, 40), major = m_rng.range(1, 9), build = m_rng.range(40000, 49999);
        char versions[128];
        std::snprintf(versions, sizeof versions, m_shape.versionList, build, major, minor);
        m_out.linef("    Version List=%s;", versions);
        m_out.line("  }");
    }

    void properties(const std::vector<std::string>& lines)
    {
        m_out.line("  PROPERTIES");
        m_out.line("  {");
        for (const std::string& l : lines)
            m_out.line(l);
        m_out.line("  }");
    }

    void table()
    {
        properties({"    DataCaptionFields=No.,Description;", "    CaptionML=[DEU=" + m_object->name + ";",
                    "               ENU=" + m_object->name + "];"});
        m_out.line("  FIELDS");
        m_out.line("  {");
        // 70,000 fields in 1,211 tables: 58 a table, more in larger tables.
        const double share = budget() * 0.55;
        const int fields = std::max(3, std::min(900, static_cast<int>(share / 235.0)));
        m_fields.clear();
        for (int f = 1; f <= fields; ++f) {
            std::string name = fieldName(m_rng, f);
            m_fields.push_back(name);
            const char* type = f == 1 ? "Code20" : m_rng.pick(kFieldTypes);
            std::string start = "    { " + pad(std::to_string(f), 4) + ";   ;" + pad(name, 20) + ";" + pad(type, 14);
            const std::string column(51, ' ');
            if (m_rng.chance(35)) {
                m_out.line(start + ";CaptionML=[DEU=" + name + ";");
                m_out.line(column + "           ENU=" + name + "];");
                if (m_rng.chance(30)) {
                    m_out.line(column + "TableRelation=Customer.\"No.\";");
                }
                m_out.line(column + "Description=QLX }");
            } else if (m_rng.chance(8)) {
                m_out.line(start + ";OnValidate=BEGIN");
                m_out.line(column + "         TESTFIELD(\"" + m_fields[0] + "\");");
                m_out.line(column + "         IF \"" + name + "\" <> xRec.\"" + name + "\" THEN");
                m_out.line(column + "           VALIDATE(\"" + m_fields[m_rng.next() % m_fields.size()] + "\");");
                m_out.line(column + "       END;");
                m_out.line("");
                m_out.line(column + "CaptionML=DEU=" + name + " }");
            } else {
                m_out.line(start + "}");
            }
            fieldNames.push_back(name);
        }
        m_out.line("  }");
        m_out.line("  KEYS");
        m_out.line("  {");
        m_out.line("    {    ;No.                                     ;Clustered=Yes }");
        if (fields > 4)
            m_out.line("    {    ;" + pad(m_fields[2] + "," + m_fields[3], 40) + ";SumIndexFields=" + m_fields[4] + " }");
        m_out.line("  }");
        m_out.line("  FIELDGROUPS");
        m_out.line("  {");
        m_out.line("  }");
        code();
    }

    void page()
    {
        properties({"    Editable=Yes;", "    CaptionML=[DEU=" + m_object->name + ";",
                    "               ENU=" + m_object->name + "];",
                    "    SourceTable=Table" + std::to_string(m_rng.range(1, 99999)) + ";", "    PageType=Card;"});
        m_out.line("  CONTROLS");
        m_out.line("  {");
        m_out.line("    { 1   ;0   ;Container ;");
        m_out.line("                ContainerType=ContentArea }");
        m_out.line("");
        const double controlsEnd = budget() * (1.0 - kCodeShare[Page]);
        int id = 2;
        while (used() < controlsEnd) {
            if (id == 2 || m_rng.chance(10)) {
                m_out.line("    { " + pad(std::to_string(id), 4) + ";1   ;Group     ;");
                m_out.line("                CaptionML=[DEU=Allgemein;");
                m_out.line("                           ENU=General] }");
                m_out.line("");
                ++id;
                continue;
            }
            const std::string field = fieldNames.empty() ? "No." : fieldNames[m_rng.next() % fieldNames.size()];
            m_out.line("    { " + pad(std::to_string(id++), 4) + ";2   ;Field     ;");
            const bool promoted = m_rng.chance(30);
            m_out.line("                SourceExpr=\"" + field + "\";");
            if (m_shape.toolTips && m_rng.chance(70))
                m_out.line("                ToolTipML=[DEU=Gibt den Wert im Feld " + field + " an.;ENU=Specifies the value of the " +
                           field + " field.];");
            const char* const last = m_shape.toolTips ? "                ApplicationArea=#Basic,#Suite" : "                Editable=Yes";
            m_out.line(std::string(last) + (promoted ? ";" : " }"));
            if (promoted)
                m_out.line("                Importance=Promoted }");
            m_out.line("");
        }
        m_out.line("  }");
        code();
    }

    void report()
    {
        properties({"    CaptionML=[DEU=" + m_object->name + ";", "               ENU=" + m_object->name + "];"});
        m_out.line("  DATASET");
        m_out.line("  {");
        const double datasetEnd = budget() * 0.2;
        int id = 1;
        while (used() < datasetEnd || id < 3) {
            if (id == 1 || m_rng.chance(8)) {
                m_out.line("    { " + pad(std::to_string(id++), 4) + ";    ;DataItem;                    ;");
                m_out.line("               DataItemTable=Table" + std::to_string(m_rng.range(1, 99999)) + " }");
            } else {
                const std::string field = fieldNames.empty() ? "No." : fieldNames[m_rng.next() % fieldNames.size()];
                std::string column = field;
                for (char& c : column)
                    if (c == ' ' || c == '.' || c == '(' || c == ')' || c == '-' || c == '/')
                        c = '_';
                m_out.line("    { " + pad(std::to_string(id++), 4) + ";1   ;Column  ;" + pad(column, 20) + ";");
                m_out.line("               SourceExpr=\"" + field + "\" }");
            }
            m_out.line("");
        }
        m_out.line("  }");
        m_out.line("  REQUESTPAGE");
        m_out.line("  {");
        m_out.line("    PROPERTIES");
        m_out.line("    {");
        m_out.line("    }");
        m_out.line("    CONTROLS");
        m_out.line("    {");
        m_out.line("    }");
        m_out.line("  }");
        m_out.line("  LABELS");
        m_out.line("  {");
        m_out.line("  }");
        code(1.0 - 0.5);
        m_out.line("  RDLDATA");
        m_out.line("  {");
        m_out.line("    <?xml version=\"1.0\" encoding=\"utf-8\"?>");
        m_out.line("<Report xmlns=\"http://schemas.microsoft.com/sqlserver/reporting/2010/01/reportdefinition\">");
        int box = 1;
        while (used() < budget()) {
            m_out.linef("                      <Textbox Name=\"Textbox%d\"><CanGrow>true</CanGrow><KeepTogether>true</KeepTogether>", box);
            m_out.linef("                        <Paragraphs><Paragraph><TextRuns><TextRun><Value>=Fields!Column_%d.Value</Value>", box % 97);
            m_out.line("                          <Style><FontFamily>Segoe UI</FontFamily><FontSize>7pt</FontSize><Format>#,##0.00</Format></Style>");
            m_out.line("                        </TextRun></TextRuns><Style><TextAlign>Right</TextAlign></Style></Paragraph></Paragraphs>");
            m_out.line("                      </Textbox>");
            ++box;
        }
        m_out.line("</Report>");
        m_out.line("    END_OF_RDLDATA");
        m_out.line("  }");
    }

    void xmlport()
    {
        properties({"    Direction=Export;", "    Encoding=UTF-8;"});
        m_out.line("  ELEMENTS");
        m_out.line("  {");
        const double elementsEnd = budget() * (1.0 - kCodeShare[XMLport]);
        for (int e = 0; used() < elementsEnd || e < 2; ++e) {
            const std::string field = fieldNames.empty() ? "No." : fieldNames[m_rng.next() % fieldNames.size()];
            m_out.linef("    { [{%08X-5B3D-4F61-9A7E-2C0D5B6E7F10}];%d ;Element%-13d;Element ;%s", e,
                        e == 0 ? 0 : 1, e, e == 0 ? "Text     }" : "Field   ;");
            if (e > 0) {
                m_out.line("                                                  DataType=Decimal;");
                m_out.line("                                                  SourceField=Entry::" + field + " }");
            }
            m_out.line("");
        }
        m_out.line("  }");
        m_out.line("  EVENTS");
        m_out.line("  {");
        m_out.line("  }");
        m_out.line("  REQUESTPAGE");
        m_out.line("  {");
        m_out.line("    PROPERTIES");
        m_out.line("    {");
        m_out.line("    }");
        m_out.line("    CONTROLS");
        m_out.line("    {");
        m_out.line("    }");
        m_out.line("  }");
        code();
    }

    void query()
    {
        properties({"    OrderBy=Amount=Descending;"});
        m_out.line("  ELEMENTS");
        m_out.line("  {");
        m_out.line("    { 1   ;    ;DataItem;                    ;");
        m_out.line("               DataItemTable=Table17 }");
        m_out.line("");
        const double elementsEnd = budget() * (1.0 - kCodeShare[Query]);
        for (int e = 2; used() < elementsEnd || e < 4; ++e) {
            const std::string field = fieldNames.empty() ? "No." : fieldNames[m_rng.next() % fieldNames.size()];
            m_out.line("    { " + pad(std::to_string(e), 4) + ";1   ;Column  ;Column" + pad(std::to_string(e), 14) + ";");
            m_out.line("               DataSource=" + field + " }");
            m_out.line("");
        }
        m_out.line("  }");
        code();
    }

    void menuSuite()
    {
        m_out.line("  PROPERTIES");
        m_out.line("  {");
        m_out.line("  }");
        m_out.line("  MENUNODES");
        m_out.line("  {");
        for (int node = 0; used() < budget() || node < 2; ++node) {
            m_out.linef("    { MenuItem       ;[{7A1F%04X-2D9B-4E05-8C11-93B0A4D2E6F1}] ;Name=%s;", node & 0xFFFF,
                        procedureName(m_rng).c_str());
            m_out.line("                                                                CaptionML=[DEU=Posten;");
            m_out.line("                                                                           ENU=Entries];");
            m_out.line("                                                                RunObjectType=Page;");
            m_out.linef("                                                                RunObjectID=%d;",
                        m_rng.range(1, 99999));
            m_out.line("                                                                NextNodeID=[{00000000-0000-0000-0000-000000000000}] }");
        }
        m_out.line("  }");
    }

    std::string declaration(const std::string& name, int id)
    {
        std::string type = m_rng.pick(kVarTypes);
        if (type.back() == ' ') {
            if (type == "Codeunit " && !published.empty())
                type += std::to_string(published[m_rng.next() % published.size()].first);
            else
                type += std::to_string(m_rng.range(1, 99999));
        }
        return name + "@" + std::to_string(id) + " : " + type + ";";
    }

    std::string variableName()
    {
        std::string name = std::string(m_rng.pick(kNouns)) + (m_rng.chance(50) ? m_rng.pick(kNouns) : "");
        if (m_rng.chance(30))
            name += std::to_string(m_rng.range(2, 9));
        return name;
    }

    // A statement of a procedure body; calls stay within the object or go through the global
    // codeunit variable.
    std::string statement(const std::vector<std::string>& locals)
    {
        const std::string v = locals.empty() ? std::string("Rec") : locals[m_rng.next() % locals.size()];
        const std::string field = fieldNames.empty() ? "No." : fieldNames[m_rng.next() % fieldNames.size()];
        if (!m_globals.empty() && m_rng.chance(12))
            return "IF " + m_globals[m_rng.next() % m_globals.size()] + ".\"" + field + "\" = '' THEN";
        switch (m_rng.range(0, 11)) {
        case 0: return "IF " + v + ".\"" + field + "\" <> 0 THEN";
        case 1: return "  " + v + ".Quantity := ROUND(" + v + ".Quantity * " + std::to_string(m_rng.range(1, 99)) + " / 100,0.00001);";
        case 2: return v + ".SETRANGE(\"" + field + "\"," + v + ".\"No.\"," + v + ".\"Document No.\");";
        case 3: return "IF " + v + ".FINDSET(FALSE,FALSE) AND (" + v + ".\"" + field + "\" <> '') THEN";
        case 4: return "  Total := Total + " + v + ".\"" + field + "\";";
        case 5:
            if (!m_object->procedures.empty())
                return m_object->procedures[m_rng.next() % m_object->procedures.size()] + "(" + v + ");";
            return v + ".INIT;";
        case 6:
            if (!m_callee.empty())
                return "Mgt." + m_callee[m_rng.next() % m_callee.size()] + "(" + v + ");";
            return v + ".MODIFY(TRUE);";
        case 7: return "// Z\x84hlerstand pr\x81" "fen, " + field;
        case 8: return "ERROR(Text001," + v + ".TABLECAPTION," + v + ".FIELDCAPTION(\"" + field + "\"));";
        case 9: return v + ".TESTFIELD(\"" + field + "\");";
        case 10: return "\"" + field + "\" := " + v + ".\"" + field + "\";";
        default: return "EXIT(" + v + (m_rng.chance(10) ? ".Amount" : ".Quantity") + " <> 0);";
        }
    }

    void procedure(const std::string& name, int id, double bytes)
    {
        const bool local = m_rng.chance(m_shape.localPercent);
        std::vector<std::string> locals;
        const int localCount = m_rng.range(0, 7);
        for (int i = 0; i < localCount; ++i)
            locals.push_back(variableName());
        m_out.linef("    %sPROCEDURE %s@%d(VAR Rec@1000 : Record %d;Value@1001 : Decimal) : Boolean;",
                    local ? "LOCAL " : "", name.c_str(), id, m_rng.range(1, 99999));
        if (!locals.empty()) {
            m_out.line("    VAR");
            for (std::size_t i = 0; i < locals.size(); ++i)
                m_out.line("      " + declaration(locals[i], static_cast<int>(1002 + i)));
        }
        if (!locals.empty() && m_rng.chance(30))
            locals.pop_back(); // one local left unused now and then
        m_out.line("    BEGIN");
        const double end = used() + bytes;
        static const char* const indents[] = {"      ", "      ", "        ", "          ", "            "};
        while (used() < end)
            m_out.line(m_rng.pick(indents) + statement(locals));
        m_out.line("    END;");
        m_out.line("");
    }

    // The CODE section: globals, then the procedures filling the rest of the object's budget
    // (share of it when given).
    void code(double share = -1)
    {
        const double codeBytes = std::max(0.0, (share < 0 ? budget() : budget() * share) - used());
        m_out.line("  CODE");
        m_out.line("  {");
        m_callee.clear();
        m_globals.clear();
        const int procedures = static_cast<int>(m_object->procedures.size());
        const int globals = std::min(60, m_rng.range(0, procedures * 2));
        if (globals > 0 || !published.empty()) {
            m_out.line("    VAR");
            int id = 1000;
            if (!published.empty()) {
                const auto& target = published[m_rng.next() % published.size()];
                m_out.linef("      Mgt@%d : Codeunit %d;", id++, target.first);
                m_callee = target.second;
            }
            m_out.linef("      Text001@%d : TextConst 'DEU=Bitte pr\x81" "fen: %%1;ENU=Please check: %%1';", id++);
            for (int g = 0; g < globals; ++g)
            {
                m_globals.push_back(variableName() + std::to_string(g));
                m_out.line("      " + declaration(m_globals.back(), id++));
            }
            m_out.line("");
        } else {
            m_out.line("");
        }
        for (int p = 0; p < procedures; ++p)
            procedure(m_object->procedures[p], p + 1, std::max(100.0, codeBytes / procedures - 250));
        m_out.line("    BEGIN");
        m_out.line("    {");
        m_out.line("      QLX1.00 Erstellt");
        m_out.line("    }");
        m_out.line("    END.");
        m_out.line("  }");
    }

    Out& m_out;
    Rng& m_rng;
    const Shape& m_shape;
    std::uint64_t m_start = 0;
    Object* m_object = nullptr;
    std::vector<std::string> m_fields;
    std::vector<std::string> m_callee;
    std::vector<std::string> m_globals;
};

// The objects of one export of about target bytes: kinds in the shape's proportions, in export
// order (by type, then number), sizes, names and procedure names.
std::vector<Object> planObjects(Rng& rng, std::uint64_t target, const Shape& shape)
{
    int perExport = 0;
    for (int k = 0; k < KindCount; ++k)
        perExport += shape.perExport[k];
    const double meanObject = shape.exportMegabytes * 1024 * 1024 / perExport;
    const double largest = shape.largest;
    const int count = std::max(static_cast<int>(KindCount), static_cast<int>(static_cast<double>(target) / meanObject + 0.5));
    std::vector<Object> objects;
    // Object kinds in the real proportions, the remainder rounded by chance.
    for (int k = 0; k < KindCount; ++k) {
        const double exact = static_cast<double>(count) * shape.perExport[k] / perExport;
        int n = static_cast<int>(exact);
        if (rng.range(0, 999) < static_cast<int>((exact - n) * 1000))
            ++n;
        for (int i = 0; i < std::max(1, n); ++i)
            objects.push_back({static_cast<Kind>(k), static_cast<int>(objects.size()), 0, 0, 0, "", {}});
    }
    // Sizes: log-normal around the real median, with the real mean (sigma 1.7); capped at the
    // largest real object. A few objects (one per 75 MB) are about 2 MB.
    double total = 0;
    for (Object& o : objects) {
        o.bytes = std::min(largest, shape.medianObject * std::exp(1.7 * normal(rng)));
        if (o.kind == MenuSuite)
            o.bytes = std::min(o.bytes, 200000.0);
        total += o.bytes;
    }
    const int giants = static_cast<int>(target / (75u << 20)) + 1;
    for (int g = 0; g < giants && target >= (20u << 20); ++g) {
        Object& o = objects[rng.next() % objects.size()];
        if (o.kind == MenuSuite || o.kind == Query)
            continue;
        total += largest * 0.95 - o.bytes;
        o.bytes = largest * (0.9 + 0.1 * static_cast<double>(rng.range(0, 100)) / 100.0);
    }
    // Scales the smaller objects so that the export comes out near the requested size.
    const double factor = static_cast<double>(target) / total * 0.975;
    for (Object& o : objects)
        if (o.bytes < largest * 0.5)
            o.bytes = std::max(1500.0, o.bytes * factor);
    // Numbers and names; procedures in proportion to an object's code.
    int numbers[KindCount] = {};
    for (Object& o : objects) {
        numbers[o.kind] += rng.range(1, 20);
        o.number = numbers[o.kind];
        o.name = std::string(rng.pick(kNouns)) + " " + rng.pick(kNouns) + " " + std::to_string(o.number);
        const double procedures = o.bytes * kCodeShare[o.kind] / shape.procedureBytes;
        int n = static_cast<int>(procedures);
        if (rng.range(0, 999) < static_cast<int>((procedures - n) * 1000))
            ++n;
        if (o.kind == Codeunit)
            n = std::max(1, n);
        for (int p = 0; p < n; ++p)
            o.procedures.push_back(procedureName(rng));
    }
    return objects;
}

// Every other procedure of a codeunit or so is called from other objects; the rest only from
// within their own object, or from nowhere.
void publish(Writer& writer, Rng& rng, const std::vector<Object>& objects)
{
    for (const Object& o : objects) {
        if (o.kind != Codeunit)
            continue;
        std::vector<std::string> called;
        for (std::size_t p = 0; p < o.procedures.size(); p += static_cast<std::size_t>(rng.range(1, 3)))
            called.push_back(o.procedures[p]);
        writer.published.emplace_back(o.number, std::move(called));
    }
}

void writeExport(Out& out, Rng& rng, std::uint64_t target, const Shape& shape)
{
    std::vector<Object> objects = planObjects(rng, target, shape);
    Writer writer(out, rng, shape);
    publish(writer, rng, objects);
    for (Object& o : objects) {
        writer.write(o);
        if (writer.fieldNames.size() > 20000)
            writer.fieldNames.erase(writer.fieldNames.begin(), writer.fieldNames.begin() + 10000);
    }
}

// Several versions of one application joined into one file, as when the exports of several
// releases are kept together: one version per 36 MB (ten in 360 MB), each an export of its own
// in export order, the last one cut at the size asked for. Objects keep their numbers and names
// from version to version; in each later version about 3 % of the objects change (another text,
// now and then a procedure renamed or added) and about 1 % are new. An unchanged object is the
// same text in every version.
void writeJoinedExport(Out& out, Rng& rng, std::uint64_t target, std::uint64_t seed)
{
    // Versions of 36 MB each, the last one cut where the file reaches the size asked for.
    const std::uint64_t perVersion = 36u << 20;
    const int versions = std::max(2, static_cast<int>((target + perVersion - 1) / perVersion));
    std::vector<Object> objects = planObjects(rng, std::min(target / 2, perVersion), kNav2017);
    Rng objectRng(seed);
    Writer writer(out, objectRng, kNav2017);
    publish(writer, rng, objects);
    // A fixed pool of field names, so that an object's text depends only on its seed.
    for (int f = 2; f < 5000; ++f)
        writer.fieldNames.push_back(fieldName(rng, f));
    const std::size_t pool = writer.fieldNames.size();
    int nextId = static_cast<int>(objects.size());
    for (int v = 0; v < versions; ++v) {
        if (v > 0) {
            const std::size_t before = objects.size();
            for (std::size_t i = 0; i < before; ++i) {
                Object& o = objects[i];
                if (rng.chance(97))
                    continue;
                ++o.variant;
                if (!o.procedures.empty() && rng.chance(30))
                    o.procedures[rng.next() % o.procedures.size()] = procedureName(rng);
                if (o.kind != MenuSuite && rng.chance(30))
                    o.procedures.push_back(procedureName(rng));
            }
            for (std::size_t i = 0; i < before; ++i) {
                if (!rng.chance(1))
                    continue;
                Object o = objects[rng.next() % before];
                o.id = nextId++;
                o.variant = 0;
                o.number += 100000 + v * 1000 + static_cast<int>(i % 1000);
                objects.push_back(o);
            }
            std::stable_sort(objects.begin(), objects.end(), [](const Object& a, const Object& b) {
                return a.kind != b.kind ? a.kind < b.kind : a.number < b.number;
            });
        }
        for (Object& o : objects) {
            if (out.size() >= target)
                return;
            objectRng = Rng(seed * 0x9E3779B97F4A7C15ull + static_cast<std::uint64_t>(o.id) * 1000003u +
                            static_cast<std::uint64_t>(o.variant));
            writer.write(o);
            writer.fieldNames.resize(pool);
        }
    }
}

} // namespace real

int usage()
{
    std::fprintf(stderr, "usage: gen_export OUTPUT MEGABYTES [SEED] [--newer] [--real|--nav2013|--joined] "
                         "[--changed-copy COPY LIST]\n       gen_export OUTPUT MEGABYTES --references LIST\n");
    return 2;
}

} // namespace

int writeExport(int argc, char** argv);

int main(int argc, char** argv)
{
    if (argc == 5 && std::string_view(argv[3]) == "--references") {
        char* end = nullptr;
        const double megabytes = std::strtod(argv[2], &end);
        if (*end != '\0' || megabytes <= 0)
            return usage();
        return writeReferenceExport(argv[1], argv[4], megabytes);
    }
    // --changed-copy COPY LIST, anywhere after OUTPUT: a changed copy of the export and its changes.
    std::vector<char*> args(argv, argv + argc);
    std::string copyPath, listPath;
    for (size_t i = 1; i + 2 < args.size(); ++i)
        if (std::string_view(args[i]) == "--changed-copy") {
            copyPath = args[i + 1];
            listPath = args[i + 2];
            args.erase(args.begin() + static_cast<long>(i), args.begin() + static_cast<long>(i) + 3);
            break;
        }
    argc = static_cast<int>(args.size());
    argv = args.data();
    const int status = writeExport(argc, argv);
    if (status != 0 || copyPath.empty())
        return status;
    if (!writeChangedCopy(argv[1], copyPath, listPath)) {
        std::fprintf(stderr, "cannot write %s\n", copyPath.c_str());
        return 1;
    }
    return 0;
}

int writeExport(int argc, char** argv)
{
    bool realShape = false, nav2013 = false, joined = false;
    for (bool flag = true; flag && argc > 1;) {
        const std::string_view last = argv[argc - 1];
        flag = last == "--newer" || last == "--real" || last == "--nav2013" || last == "--joined";
        g_newer = g_newer || last == "--newer";
        realShape = realShape || last == "--real";
        nav2013 = nav2013 || last == "--nav2013";
        joined = joined || last == "--joined";
        argc -= flag ? 1 : 0;
    }
    if (argc < 3 || argc > 4)
        return usage();
    char* end = nullptr;
    double megabytes = std::strtod(argv[2], &end);
    if (*end != '\0' || megabytes <= 0)
        return usage();
    std::uint64_t seed = argc == 4 ? std::strtoull(argv[3], nullptr, 10) : 1;
    std::FILE* file = std::fopen(argv[1], "wb");
    if (file == nullptr) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    const auto target = static_cast<std::uint64_t>(megabytes * 1024 * 1024);
    Rng rng(seed);
    g_attributeRng = Rng(seed ^ 0x5EEDA77Bull);
    if (realShape || nav2013 || joined) {
        Out out(file);
        if (joined)
            real::writeJoinedExport(out, rng, target, seed);
        else
            real::writeExport(out, rng, target, nav2013 ? real::kNav2013 : real::kNav2017);
        out.flush();
        const bool failed = out.failed();
        if (std::fclose(file) != 0 || failed) {
            std::fprintf(stderr, "cannot write %s\n", argv[1]);
            return 1;
        }
        return 0;
    }
    Catalog cat;
    int numbers[6] = {0, 50000, 50000, 50000, 50000, 50000};
    bool giantWritten = false;
    {
        Out out(file);
        for (bool first = true; out.size() < target; first = false) {
            if (!first)
                out.line("");
            int kind = rng.range(1, 100);
            if (kind <= 35 || cat.tables.empty()) {
                writeTable(out, rng, cat, ++numbers[1]);
            } else if (kind <= 55) {
                writeForm(out, rng, cat, ++numbers[2]);
            } else if (kind <= 65) {
                writeReport(out, rng, cat, ++numbers[3]);
            } else if (kind <= 70) {
                writeDataport(out, rng, cat, ++numbers[4]);
            } else {
                // Real exports hold a few huge codeunits: one once the file is 40 % written (when
                // the target allows it) and the odd one by chance.
                bool giant = (!giantWritten && target >= (20u << 20) && out.size() * 10 >= target * 4) ||
                             rng.range(1, 1000) == 1;
                giantWritten = giantWritten || giant;
                writeCodeunit(out, rng, cat, ++numbers[5], giant ? 1700 : rng.range(3, 40));
            }
        }
        out.flush();
        if (out.failed()) {
            std::fprintf(stderr, "cannot write %s\n", argv[1]);
            std::fclose(file);
            return 1;
        }
    }
    if (std::fclose(file) != 0) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
