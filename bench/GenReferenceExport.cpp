// gen_export OUTPUT MEGABYTES --references LIST: an export whose every reference to a field, a
// procedure or an object is known, and the list of them (LIST, one line each, sorted):
//
//     <type word> <number> TAB <line> TAB <kind> TAB <target>
//
// target: "Table 50001" for an object, "Table 50001.\"Amount 1\"" for a field or procedure; an
// unresolved reference has the kind "unresolved" and the target "-". Groups of a table, a page, a
// dataport and a codeunit repeat until the file holds MEGABYTES; each group names the one before it.
#include "GenReferenceExport.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

class Writer {
public:
    std::string text;
    int line = 1;
    std::vector<std::string> known;
    std::string object; // "Table 50001" of the object being written

    void put(const std::string& l)
    {
        text += l;
        text += "\r\n";
        ++line;
    }
    // A reference on the line about to be written.
    void ref(const char* kind, const std::string& target) { known.push_back(object + "\t" + std::to_string(line) + "\t" + kind + "\t" + target); }
    void unresolved() { ref("unresolved", "-"); }
};

std::string member(const std::string& object, const std::string& name) { return object + ".\"" + name + "\""; }

void header(Writer& w, const std::string& type, int number, const std::string& name)
{
    w.object = type + " " + std::to_string(number);
    w.put("OBJECT " + type + " " + std::to_string(number) + " " + name);
    w.put("{");
    w.put("  OBJECT-PROPERTIES");
    w.put("  {");
    w.put("    Date=01.01.17;");
    w.put("    Time=12:00:00;");
    w.put("    Version List=REF;");
    w.put("  }");
}

void table(Writer& w, int no)
{
    const std::string t = "Table " + std::to_string(no);
    header(w, "Table", no, "Ref Table " + std::to_string(no));
    w.put("  PROPERTIES");
    w.put("  {");
    w.put("    OnInsert=BEGIN");
    w.ref("read", member(t, "No."));
    w.put("               TESTFIELD(\"No.\");");
    w.ref("write", member(t, "Amount 1"));
    w.put("               \"Amount 1\" := 0;");
    w.put("             END;");
    w.put("");
    w.put("  }");
    w.put("  FIELDS");
    w.put("  {");
    w.put("    { 1   ;   ;No.                 ;Code20        }");
    if (no > 50001) {
        const std::string prev = "Table " + std::to_string(no - 1);
        w.ref("property", prev);
        w.ref("property", member(prev, "No."));
        w.put("    { 2   ;   ;Code                ;Code10        ;TableRelation=\"Ref Table " + std::to_string(no - 1) + "\".\"No.\" }");
    } else {
        w.put("    { 2   ;   ;Code                ;Code10        }");
    }
    const std::string start = "    { 3   ;   ;Amount 1            ;Decimal       ;OnValidate=";
    w.put(start + "BEGIN");
    w.ref("write", member(t, "Amount 2"));
    w.ref("read", member(t, "Amount 1"));
    w.put(std::string(start.size(), ' ') + "  \"Amount 2\" := \"Amount 1\" * 2;");
    w.put(std::string(start.size(), ' ') + "END;");
    w.put("");
    w.put(std::string(51, ' ') + "CaptionML=ENU=Amount 1 }");
    w.put("    { 4   ;   ;Amount 2            ;Decimal       }");
    w.put("    { 5   ;   ;Sum 4               ;Decimal       ;FieldClass=FlowField;");
    w.ref("property", t);
    w.ref("property", member(t, "Amount 2"));
    w.ref("property", member(t, "Code"));
    w.ref("property", member(t, "No."));
    w.put(std::string(51, ' ') + "CalcFormula=Sum(\"Ref Table " + std::to_string(no) + "\".\"Amount 2\" WHERE (Code=FIELD(No.))) }");
    w.put("    { 6   ;   ;Spare               ;Text30        }");
    w.put("  }");
    w.put("  KEYS");
    w.put("  {");
    w.ref("key", member(t, "No."));
    w.put("    {    ;No.                                     ;Clustered=Yes }");
    w.ref("key", member(t, "Code"));
    w.ref("key", member(t, "Amount 1"));
    w.ref("key", member(t, "Amount 2"));
    w.put("    {    ;Code,Amount 1                           ;SumIndexFields=Amount 2 }");
    w.put("  }");
    w.put("  CODE");
    w.put("  {");
    w.put("");
    w.put("    PROCEDURE CheckAmount@1() : Boolean;");
    w.put("    BEGIN");
    w.ref("read", member(t, "Amount 1"));
    w.put("      EXIT(\"Amount 1\" > 0);");
    w.put("    END;");
    w.put("");
    w.put("    BEGIN");
    w.put("    END.");
    w.put("  }");
    w.put("}");
    w.put("");
}

void page(Writer& w, int no)
{
    const std::string t = "Table " + std::to_string(no);
    header(w, "Page", no, "Ref Card " + std::to_string(no));
    const std::string prevT = "Table " + std::to_string(no - 1);
    const std::string prevPage = "Page " + std::to_string(no - 1);
    w.put("  PROPERTIES");
    w.put("  {");
    w.ref("property", t);
    w.put("    SourceTable=Table" + std::to_string(no) + ";");
    if (no > 50001) {
        w.put("    ActionList=ACTIONS");
        w.put("    {");
        w.put("      { 7   ;0   ;Action    ;");
        w.ref("property", prevPage);
        w.put("                  RunObject=" + prevPage + ";");
        w.ref("filter", member(prevT, "No."));
        w.ref("property", member(t, "Code"));
        w.put("                  RunPageLink=No.=FIELD(Code) }");
        w.put("    }");
    }
    w.put("  }");
    w.put("  CONTROLS");
    w.put("  {");
    w.put("    { 1   ;0   ;Container ;");
    w.put("                ContainerType=ContentArea }");
    w.put("");
    w.put("    { 2   ;1   ;Field     ;");
    w.ref("read", member(t, "No."));
    w.put("                SourceExpr=\"No.\" }");
    w.put("");
    if (no > 50001) {
        // A part: the linked page's table on the left, this one's in FIELD(), over two lines.
        w.put("    { 3   ;1   ;Part      ;");
        w.ref("filter", member(prevT, "Code"));
        w.ref("property", member(t, "No."));
        w.put("                SubPageLink=Code=FIELD(No.),");
        w.ref("filter", member(prevT, "Amount 1"));
        w.ref("property", member(t, "Amount 2"));
        w.put("                            Amount 1=FIELD(Amount 2);");
        w.ref("property", prevPage);
        w.put("                PagePartID=" + prevPage + " }");
        w.put("");
    }
    w.put("  }");
    w.put("  CODE");
    w.put("  {");
    w.put("");
    w.put("    BEGIN");
    w.put("    END.");
    w.put("  }");
    w.put("}");
    w.put("");
}

void dataport(Writer& w, int no)
{
    const std::string t = "Table " + std::to_string(no);
    header(w, "Dataport", no, "Ref Import " + std::to_string(no));
    w.put("  PROPERTIES");
    w.put("  {");
    w.put("    Import=Yes;");
    w.put("  }");
    w.put("  DATAITEMS");
    w.put("  {");
    w.put("    { PROPERTIES");
    w.put("      {");
    w.ref("property", t);
    w.put("        DataItemTable=Table" + std::to_string(no) + ";");
    w.put("      }");
    w.put("      FIELDS");
    w.put("      {");
    w.ref("read", member(t, "No."));
    w.put("        {      ;     ;\"No.\"                ;Callback=No }");
    w.ref("read", member(t, "Amount 1"));
    w.put("        {      ;     ;\"Amount 1\"           }");
    w.put("      }");
    w.put("       }");
    w.put("  }");
    w.put("  CODE");
    w.put("  {");
    w.put("");
    w.put("    BEGIN");
    w.put("    END.");
    w.put("  }");
    w.put("}");
    w.put("");
}

void codeunit(Writer& w, int no)
{
    const std::string t = "Table " + std::to_string(no);
    const std::string c = "Codeunit " + std::to_string(no);
    const std::string n = std::to_string(no);
    header(w, "Codeunit", no, "Ref Codeunit " + n);
    w.put("  PROPERTIES");
    w.put("  {");
    w.put("    OnRun=BEGIN");
    w.ref("call", member(c, "PostLine"));
    w.put("            PostLine;");
    w.put("          END;");
    w.put("");
    w.put("  }");
    w.put("  CODE");
    w.put("  {");
    w.put("    VAR");
    w.ref("type", t);
    w.put("      Line@1000 : Record " + n + ";");
    if (no > 50001) {
        w.ref("type", "Codeunit " + std::to_string(no - 1));
        w.put("      Other@1001 : Codeunit " + std::to_string(no - 1) + ";");
    }
    w.unresolved();
    w.put("      Missing@1002 : Record 99999;");
    w.put("");
    w.put("    PROCEDURE PostLine@1();");
    w.put("    VAR");
    w.put("      Total@1000 : Decimal;");
    w.put("    BEGIN");
    w.ref("filter", member(t, "Code"));
    w.put("      Line.SETRANGE(Code,'A');");
    w.ref("key", member(t, "Code"));
    w.ref("key", member(t, "Amount 1"));
    w.put("      Line.SETCURRENTKEY(Code,\"Amount 1\");");
    w.put("      IF Line.FINDSET THEN");
    w.put("        REPEAT");
    w.ref("read", member(t, "Amount 2"));
    w.put("          Total := Total + Line.\"Amount 2\";");
    w.ref("write", member(t, "Amount 1"));
    w.put("          Line.\"Amount 1\" := Total;");
    w.ref("write", member(t, "Amount 1"));
    w.put("          Line.VALIDATE(\"Amount 1\",Total);");
    w.put("        UNTIL Line.NEXT = 0;");
    w.ref("read", member(t, "Sum 4"));
    w.put("      Line.CALCFIELDS(\"Sum 4\");");
    w.put("      WITH Line DO BEGIN");
    w.ref("write", member(t, "Amount 2"));
    w.put("        \"Amount 2\" := 0;");
    w.ref("call", member(t, "CheckAmount"));
    w.put("        IF CheckAmount THEN;");
    w.put("      END;");
    if (no > 50001) {
        w.ref("call", member("Codeunit " + std::to_string(no - 1), "PostLine"));
        w.put("      Other.PostLine;");
    }
    w.ref("call", c);
    w.put("      CODEUNIT.RUN(CODEUNIT::\"Ref Codeunit " + n + "\");");
    w.ref("read", t);
    w.put("      Total := DATABASE::\"Ref Table " + n + "\";");
    w.ref("call", "Page " + n);
    w.put("      PAGE.RUNMODAL(PAGE::\"Ref Card " + n + "\",Line);");
    w.unresolved();
    w.put("      Missing.\"No.\" := '';");
    w.unresolved();
    w.put("      Unknown.Foo;");
    w.put("    END;");
    w.put("");
    w.put("    LOCAL PROCEDURE Spare@2();");
    w.put("    BEGIN");
    w.put("    END;");
    w.put("");
    w.put("    BEGIN");
    w.put("    END.");
    w.put("  }");
    w.put("}");
    w.put("");
}

} // namespace

int writeReferenceExport(const char* path, const char* listPath, double megabytes)
{
    Writer w;
    const auto target = static_cast<size_t>(megabytes * 1024 * 1024);
    for (int no = 50001; w.text.size() < target; ++no) {
        table(w, no);
        page(w, no);
        dataport(w, no);
        codeunit(w, no);
    }
    std::sort(w.known.begin(), w.known.end());
    std::FILE* out = std::fopen(path, "wb");
    std::FILE* list = std::fopen(listPath, "wb");
    bool ok = out != nullptr && list != nullptr && std::fwrite(w.text.data(), 1, w.text.size(), out) == w.text.size();
    for (const std::string& line : w.known)
        ok = ok && list != nullptr && std::fprintf(list, "%s\n", line.c_str()) > 0;
    if (out != nullptr)
        ok = std::fclose(out) == 0 && ok;
    if (list != nullptr)
        ok = std::fclose(list) == 0 && ok;
    if (!ok)
        std::fprintf(stderr, "cannot write %s or %s\n", path, listPath);
    return ok ? 0 : 1;
}
