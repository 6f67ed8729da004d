// Writes a large synthetic Navision object text export for load and analysis benchmarks:
//
//     gen_export OUTPUT MEGABYTES [SEED] [--newer]
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

int usage()
{
    std::fprintf(stderr, "usage: gen_export OUTPUT MEGABYTES [SEED] [--newer]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::string_view(argv[argc - 1]) == "--newer") {
        g_newer = true;
        --argc;
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
