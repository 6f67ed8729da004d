#include "analysis/ReferenceBuilder.h"

#include <algorithm>
#include <cctype>

// The second pass over one object: its code and naming properties read as tokens, every name
// resolved by C/AL's rules against the declarations of the first pass.

using namespace xref;

namespace {

enum class Tok : std::uint8_t { Name, Quoted, Number, String, Op };
struct Token {
    int pos;
    int len;
    Tok kind;
};

// Letters of names: ASCII letters, "_" and every byte of the code page's upper half (umlauts).
bool isNameByte(char c)
{
    const unsigned char u = static_cast<unsigned char>(c);
    return std::isalpha(u) || c == '_' || u >= 0x80;
}

// C/AL tokens of text[start, end): comments ({...}, //, (* *)) and strings skipped over; quoted
// names give their content. An unterminated quoted name or string makes the code damaged.
bool tokenize(std::string_view text, int start, int end, std::vector<Token>& out)
{
    bool sound = true;
    int i = start;
    auto at = [&](int k) { return k < end ? text[static_cast<size_t>(k)] : '\0'; };
    while (i < end) {
        const char c = text[static_cast<size_t>(i)];
        if (c == ' ' || c == '\r' || c == '\n' || c == '\t') {
            ++i;
        } else if (c == '{') {
            while (i < end && text[static_cast<size_t>(i)] != '}')
                ++i;
            ++i;
        } else if (c == '/' && at(i + 1) == '/') {
            while (i < end && text[static_cast<size_t>(i)] != '\n')
                ++i;
        } else if (c == '(' && at(i + 1) == '*') {
            i += 2;
            while (i < end && !(text[static_cast<size_t>(i)] == '*' && at(i + 1) == ')'))
                ++i;
            i += 2;
        } else if (c == '"' || c == '\'') {
            int k = i + 1;
            while (k < end && text[static_cast<size_t>(k)] != c && text[static_cast<size_t>(k)] != '\n')
                ++k;
            if (k >= end || text[static_cast<size_t>(k)] != c) {
                sound = false;
                i = k;
                continue;
            }
            if (c == '"')
                out.push_back({i + 1, k - i - 1, Tok::Quoted});
            else
                out.push_back({i, k - i + 1, Tok::String});
            i = k + 1;
        } else if (isNameByte(c)) {
            int k = i;
            while (k < end && (isNameByte(text[static_cast<size_t>(k)]) || std::isdigit(static_cast<unsigned char>(text[static_cast<size_t>(k)]))))
                ++k;
            out.push_back({i, k - i, Tok::Name});
            i = k;
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            int k = i;
            while (k < end && (std::isdigit(static_cast<unsigned char>(text[static_cast<size_t>(k)]))))
                ++k;
            out.push_back({i, k - i, Tok::Number});
            i = k;
        } else {
            const char d = at(i + 1);
            const bool two = (c == ':' && (d == ':' || d == '=')) || ((c == '+' || c == '-' || c == '*' || c == '/') && d == '=') ||
                             (c == '.' && d == '.') || (c == '<' && (d == '>' || d == '=')) || (c == '>' && d == '=');
            out.push_back({i, two ? 2 : 1, Tok::Op});
            i += two ? 2 : 1;
        }
    }
    return sound;
}

bool inList(std::string_view word, std::initializer_list<std::string_view> list)
{
    for (std::string_view w : list)
        if (equalFolded(word, w))
            return true;
    return false;
}

bool isKeyword(std::string_view w)
{
    return inList(w, {"BEGIN", "END", "IF", "THEN", "ELSE", "CASE", "OF", "REPEAT", "UNTIL", "WHILE", "DO", "FOR", "TO",
                      "DOWNTO", "WITH", "EXIT", "AND", "OR", "NOT", "XOR", "DIV", "MOD", "TRUE", "FALSE", "IN", "VAR"});
}

// What C/AL gives every record besides its fields and the table's procedures.
bool isRecordMethod(std::string_view w)
{
    return inList(w, {"GET", "FIND", "FINDFIRST", "FINDLAST", "FINDSET", "NEXT", "INSERT", "MODIFY", "DELETE", "DELETEALL",
                      "MODIFYALL", "RENAME", "INIT", "SETRANGE", "SETFILTER", "GETFILTER", "GETFILTERS", "GETRANGEMIN",
                      "GETRANGEMAX", "RESET", "COPY", "COPYFILTER", "COPYFILTERS", "TRANSFERFIELDS", "VALIDATE",
                      "TESTFIELD", "FIELDNO", "FIELDNAME", "FIELDCAPTION", "FIELDERROR", "CALCFIELDS", "CALCSUMS",
                      "SETCURRENTKEY", "CURRENTKEY", "COUNT", "COUNTAPPROX", "ISEMPTY", "LOCKTABLE", "MARK", "MARKEDONLY",
                      "CLEARMARKS", "ASCENDING", "TABLENAME", "TABLECAPTION", "GETPOSITION", "SETPOSITION", "SETRECFILTER",
                      "SETPERMISSIONFILTER", "FILTERGROUP", "HASFILTER", "ISTEMPORARY", "CHANGECOMPANY", "CONSISTENT",
                      "RECORDID", "SETAUTOCALCFIELDS", "READPERMISSION", "WRITEPERMISSION", "CURRENTCOMPANY",
                      "RECORDLEVELLOCKING", "ADDLINK", "DELETELINK", "DELETELINKS", "COPYLINKS", "HASLINKS",
                      "READCONSISTENCY", "SECURITYFILTERING", "GETVIEW", "SETVIEW", "RELATION", "FIELDACTIVE",
                      "LOCKTIMEOUT", "CALCFIELD", "FIELDNAME"});
}

// What C/AL gives codeunit, page, form, report, XMLport, query and dataport variables.
bool isObjectMethod(std::string_view w)
{
    return inList(w, {"RUN", "RUNMODAL", "SETTABLEVIEW", "SETRECORD", "GETRECORD", "LOOKUPMODE", "EDITABLE", "CAPTION",
                      "UPDATE", "CLOSE", "ACTIVATE", "SETSELECTIONFILTER", "SAVEASPDF", "SAVEASEXCEL", "SAVEASXML",
                      "SAVEASWORD", "SAVEASHTML", "USEREQUESTFORM", "USEREQUESTPAGE", "IMPORT", "EXPORT", "FILENAME",
                      "SETSOURCE", "SETDESTINATION", "OPEN", "READ", "TOPNUMBEROFROWS", "SETFILTER", "SETRANGE",
                      "GETFILTERS", "SAVEAS", "PRINT", "OBJECTID", "TEXTENCODING", "PREVIEW", "CURRENTKEY", "BREAK",
                      "SKIP", "QUIT", "NEWPAGE", "NEWPAGEPERRECORD", "SHOWOUTPUT", "TOTALSCAUSEDBY", "PAGENO", "LANGUAGE",
                      "CREATETOTALS", "FORMAT", "VISIBLE", "ENABLED", "SETCURRENTKEY", "XMLPORT", "BREAKUNBOUND", "EXECUTE"});
}

// Names the platform provides, whose members are none of the export's.
bool isSystemObject(std::string_view w)
{
    return inList(w, {"CurrPage", "CurrForm", "CurrReport", "CurrXMLport", "CurrQuery", "CurrDataport", "CurrFieldNo",
                      "RequestOptionsPage", "RequestOptionsForm", "CODEUNIT", "PAGE", "FORM", "REPORT", "XMLPORT",
                      "QUERY", "DATAPORT", "DATABASE", "SESSION", "SYSTEM", "COMPANYPROPERTY"});
}

// Which arguments of a record method name fields of the record, and how they use them.
bool fieldArguments(std::string_view method, ReferenceKind& kind, bool& all)
{
    all = false;
    if (inList(method, {"SETRANGE", "SETFILTER", "COPYFILTER"}))
        kind = ReferenceKind::Filter;
    else if (inList(method, {"VALIDATE", "MODIFYALL"}))
        kind = ReferenceKind::Write;
    else if (inList(method, {"TESTFIELD", "FIELDNO", "FIELDCAPTION", "FIELDERROR", "FIELDNAME"}))
        kind = ReferenceKind::Read;
    else if (inList(method, {"CALCFIELDS", "CALCSUMS", "SETAUTOCALCFIELDS"}))
        kind = ReferenceKind::Read, all = true;
    else if (equalFolded(method, "SETCURRENTKEY"))
        kind = ReferenceKind::Key, all = true;
    else
        return false;
    return true;
}

class Resolver {
public:
    Resolver(const ReferenceBuilder& builder, int object, ReferenceIndex::ObjectPart& part)
        : m_index(builder.index), m_object(object), m_part(part), m_first(builder.firstSymbol(object))
    {
    }

    void run(std::string_view text)
    {
        m_text = text;
        for (const CodeRegion& region : m_part.code)
            code(region);
        for (const PropertyItem& item : m_part.properties)
            property(item);
        if (m_part.damaged)
            for (XrefReference& ref : m_part.refs)
                if (ref.kind != ReferenceKind::Type) {
                    ref.symbol = -1;
                    ref.reason = UnresolvedReason::DamagedObject;
                }
    }

private:
    const ReferenceIndex& m_index;
    int m_object;
    ReferenceIndex::ObjectPart& m_part;
    int m_first;
    std::string_view m_text;
    std::vector<Token> m_tokens;
    size_t m_i = 0;
    int m_where = 0;
    const CodeRegion* m_region = nullptr;
    struct With {
        int table;
        int depth;
        bool block;
    };
    std::vector<With> m_with;
    struct Frame {
        int table;
        ReferenceKind kind;
        bool all;
        int paren;
        int arg;
    };
    std::vector<Frame> m_frames;
    int m_paren = 0;
    int m_depth = 0;
    bool m_inRun = false;

    std::string_view tokenText(size_t i) const
    {
        return i < m_tokens.size() ? m_text.substr(static_cast<size_t>(m_tokens[i].pos), static_cast<size_t>(m_tokens[i].len)) : std::string_view();
    }
    bool isOp(size_t i, std::string_view op) const { return i < m_tokens.size() && m_tokens[i].kind == Tok::Op && tokenText(i) == op; }
    bool isName(size_t i) const { return i < m_tokens.size() && (m_tokens[i].kind == Tok::Name || m_tokens[i].kind == Tok::Quoted); }
    bool isAssign(size_t i) const { return isOp(i, ":=") || isOp(i, "+=") || isOp(i, "-=") || isOp(i, "*=") || isOp(i, "/="); }

    void add(int pos, int symbol, ReferenceKind kind, UnresolvedReason reason = UnresolvedReason::None)
    {
        XrefReference& ref = m_part.refs.emplace_back();
        ref.pos = pos;
        ref.symbol = symbol;
        ref.where = m_where;
        ref.kind = kind;
        ref.reason = symbol < 0 ? reason : UnresolvedReason::None;
    }

    const XrefSymbol& symbol(int s) const { return m_index.symbols()[static_cast<size_t>(s)]; }

    // The table bare field names belong to here (a data item's, the object's own), or -1.
    int implicitTable() const
    {
        if (m_region != nullptr && m_region->record >= 0)
            return symbol(m_first + m_region->record).target;
        return m_part.ownTable;
    }

    // Member of a table or other object: a field (tables), else a procedure.
    int member(int object, std::string_view name) const
    {
        if (object < 0)
            return -1;
        int s = m_index.findMember(object, SymbolKind::Field, name);
        return s >= 0 ? s : m_index.findMember(object, SymbolKind::Procedure, name);
    }

    // A bare name: WITH records first, then locals, globals, the object's procedures, the implicit record.
    int lookup(std::string_view name) const
    {
        for (auto it = m_with.rbegin(); it != m_with.rend(); ++it)
            if (int s = member(it->table, name); s >= 0)
                return s;
        if (m_region != nullptr && m_region->scope >= 0) {
            const ScopeRange& r = m_part.scopes[static_cast<size_t>(m_region->scope)];
            for (int i = r.first; i < r.last; ++i)
                if (equalFolded(m_index.name(m_first + i), name))
                    return m_first + i;
        }
        if (int s = m_index.findMember(m_object, SymbolKind::Variable, name); s >= 0)
            return s;
        if (int s = m_index.findMember(m_object, SymbolKind::Procedure, name); s >= 0)
            return s;
        return member(implicitTable(), name);
    }

    void code(const CodeRegion& region)
    {
        m_region = &region;
        m_where = region.where;
        m_tokens.clear();
        if (!tokenize(m_text, region.start, region.end, m_tokens))
            m_part.damaged = true;
        m_with.clear();
        m_frames.clear();
        m_paren = m_depth = 0;
        m_inRun = false;
        bool unbalanced = false;
        for (m_i = 0; m_i < m_tokens.size();) {
            const Token& t = m_tokens[m_i];
            if (t.kind == Tok::Name && isKeyword(tokenText(m_i))) {
                unbalanced |= keyword(tokenText(m_i));
                ++m_i;
            } else if (t.kind == Tok::Op) {
                op(tokenText(m_i));
                ++m_i;
            } else if (isName(m_i)) {
                chain();
            } else {
                ++m_i;
            }
        }
        if (unbalanced || m_depth != 0)
            m_part.damaged = true;
        m_region = nullptr;
    }

    // Returns true when END closes more than was opened.
    bool keyword(std::string_view w)
    {
        if (equalFolded(w, "BEGIN") || equalFolded(w, "CASE")) {
            ++m_depth;
        } else if (equalFolded(w, "END")) {
            --m_depth;
            endStatement(true);
            return m_depth < 0;
        } else if (equalFolded(w, "ELSE") || equalFolded(w, "UNTIL")) {
            endStatement(false);
        } else if (equalFolded(w, "WITH")) {
            ++m_i;
            const size_t start = m_i;
            int table = -1;
            if (isName(m_i) && isOp(m_i + 1, ".") == false) {
                int s = lookup(tokenText(m_i));
                if (s >= 0 && symbol(s).kind == SymbolKind::Variable && symbol(s).number == OK_TABLE)
                    table = symbol(s).target;
            }
            while (m_i < m_tokens.size() && !(m_tokens[m_i].kind == Tok::Name && equalFolded(tokenText(m_i), "DO"))) {
                if (isName(m_i) && !isKeyword(tokenText(m_i)))
                    chain();
                else
                    ++m_i;
            }
            (void)start;
            const bool block = m_i + 1 < m_tokens.size() && equalFolded(tokenText(m_i + 1), "BEGIN");
            m_with.push_back({table, block ? m_depth + 1 : m_depth, block});
        }
        return false;
    }

    // A statement ends: WITHs without BEGIN end with it; with END, those whose BEGIN closed.
    void endStatement(bool end)
    {
        while (!m_with.empty()) {
            const With& w = m_with.back();
            if ((w.block && end && m_depth < w.depth) || (!w.block && m_depth <= w.depth && m_paren == 0) ||
                (!w.block && end && m_depth < w.depth))
                m_with.pop_back();
            else
                break;
        }
    }

    void op(std::string_view o)
    {
        if (o == "(") {
            ++m_paren;
        } else if (o == ")") {
            --m_paren;
            while (!m_frames.empty() && m_frames.back().paren > m_paren)
                m_frames.pop_back();
            if (m_paren <= 0)
                m_inRun = false;
        } else if (o == ",") {
            if (!m_frames.empty() && m_frames.back().paren == m_paren)
                ++m_frames.back().arg;
        } else if (o == ";" && m_paren == 0) {
            endStatement(false);
        }
    }

    // A lone name standing as a field argument of a record method, or -2 when this is not one.
    int fieldArgument(size_t i, ReferenceKind& kind)
    {
        if (m_frames.empty())
            return -2;
        const Frame& f = m_frames.back();
        if (f.paren != m_paren || (!f.all && f.arg != 0))
            return -2;
        if (!(isOp(i - 1, "(") || isOp(i - 1, ",")) || !(isOp(i + 1, ",") || isOp(i + 1, ")")))
            return -2;
        kind = f.kind;
        return m_index.findMember(f.table, SymbolKind::Field, tokenText(i));
    }

    // A name and the members that follow it: Var."Field", Var.Proc(, CODEUNIT::"X", Proc(, Field.
    void chain()
    {
        const size_t i = m_i;
        const std::string_view name = tokenText(i);
        const bool quoted = m_tokens[i].kind == Tok::Quoted;
        const int kind = quoted ? OK_NONE : objectKindOf(name);
        if (isOp(i + 1, "::")) {
            if (!quoted && (kind != OK_NONE || equalFolded(name, "DATABASE")) && i + 2 < m_tokens.size()) {
                objectConstant(kind == OK_NONE ? OK_TABLE : kind, i + 2, m_inRun && kind != OK_NONE);
                m_i = i + 3;
                return;
            }
            int s = lookup(name);
            if (s >= 0)
                add(m_tokens[i].pos, s, ReferenceKind::Read);
            m_i = i + 3;
            return;
        }
        if (!quoted && kind != OK_NONE && isOp(i + 1, ".") && i + 2 < m_tokens.size() &&
            (equalFolded(tokenText(i + 2), "RUN") || equalFolded(tokenText(i + 2), "RUNMODAL"))) {
            // Number 0 runs the table's default page or form.
            if (isOp(i + 3, "(") && i + 4 < m_tokens.size() && m_tokens[i + 4].kind == Tok::Number && tokenText(i + 4) != "0") {
                const int target = m_index.findObject(objectKindWord(kind), std::atoi(std::string(tokenText(i + 4)).c_str()));
                add(m_tokens[i + 4].pos, target, ReferenceKind::Call, UnresolvedReason::ObjectNotInExport);
            }
            m_inRun = true;
            m_i = i + 3;
            return;
        }
        ReferenceKind argKind = ReferenceKind::Read;
        if (const int field = fieldArgument(i, argKind); field != -2) {
            add(m_tokens[i].pos, field, argKind, UnresolvedReason::UnknownField);
            m_i = i + 1;
            return;
        }
        const int s = lookup(name);
        m_i = i + 1;
        if (s < 0) {
            unknownName(i, quoted);
            return;
        }
        const XrefSymbol& sym = symbol(s);
        ReferenceKind refKind = sym.kind == SymbolKind::Procedure ? ReferenceKind::Call : ReferenceKind::Read;
        if (isAssign(m_i))
            refKind = ReferenceKind::Write;
        add(m_tokens[i].pos, s, refKind);
        if (sym.kind == SymbolKind::Field || sym.kind == SymbolKind::Procedure) {
            if (sym.kind == SymbolKind::Procedure && isOp(m_i, "("))
                return;
            return;
        }
        if (isOp(m_i, "["))
            skipBrackets();
        if (sym.kind == SymbolKind::Variable && isOp(m_i, ".") && isName(m_i + 1))
            memberOf(sym);
    }

    void unknownName(size_t i, bool quoted)
    {
        const std::string_view name = tokenText(i);
        if (isOp(m_i, ".") && isName(m_i + 1)) {
            if (quoted || !isSystemObject(name))
                add(m_tokens[i].pos, -1, ReferenceKind::Read, UnresolvedReason::UnknownVariable);
            skipMembers();
            return;
        }
        if (quoted) {
            add(m_tokens[i].pos, -1, ReferenceKind::Read, UnresolvedReason::UnknownName);
            return;
        }
        // A method of the implicit record or of the WITH record: its field arguments.
        ReferenceKind kind;
        bool all;
        if (isOp(m_i, "(") && fieldArguments(name, kind, all)) {
            const int table = m_with.empty() ? implicitTable() : m_with.back().table;
            if (table >= 0)
                m_frames.push_back({table, kind, all, m_paren + 1, 0});
        }
    }

    void skipBrackets()
    {
        int depth = 0;
        do {
            if (isOp(m_i, "["))
                ++depth;
            else if (isOp(m_i, "]"))
                --depth;
            ++m_i;
        } while (m_i < m_tokens.size() && depth > 0);
    }

    void skipMembers()
    {
        while (isOp(m_i, ".") && isName(m_i + 1))
            m_i += 2;
    }

    // Var.Member of a variable: a field or procedure of its object, a method C/AL gives it, or unresolved.
    void memberOf(const XrefSymbol& var)
    {
        const size_t at = m_i + 1;
        m_i += 2;
        const std::string_view name = tokenText(at);
        if (var.number == OK_NONE)
            return skipMembers();
        const bool record = var.number == OK_TABLE;
        if (var.target < 0) {
            if (!(record ? isRecordMethod(name) : isObjectMethod(name)) || m_tokens[at].kind == Tok::Quoted)
                add(m_tokens[at].pos, -1, ReferenceKind::Read, UnresolvedReason::ObjectNotInExport);
            return skipMembers();
        }
        const int s = record ? member(var.target, name) : m_index.findMember(var.target, SymbolKind::Procedure, name);
        if (s >= 0) {
            ReferenceKind kind = symbol(s).kind == SymbolKind::Procedure ? ReferenceKind::Call : ReferenceKind::Read;
            if (isAssign(m_i))
                kind = ReferenceKind::Write;
            add(m_tokens[at].pos, s, kind);
            return skipMembers();
        }
        ReferenceKind kind;
        bool all;
        if (record && m_tokens[at].kind == Tok::Name && fieldArguments(name, kind, all) && isOp(m_i, "(")) {
            m_frames.push_back({var.target, kind, all, m_paren + 1, 0});
            return;
        }
        if (m_tokens[at].kind == Tok::Quoted || !(record ? isRecordMethod(name) : isObjectMethod(name)))
            add(m_tokens[at].pos, -1, ReferenceKind::Read, UnresolvedReason::UnknownMember);
        skipMembers();
    }

    // CODEUNIT::"Sales-Post", DATABASE::Customer, PAGE::21.
    void objectConstant(int kind, size_t at, bool call)
    {
        const std::string_view text = tokenText(at);
        const int target = m_tokens[at].kind == Tok::Number
                               ? m_index.findObject(objectKindWord(kind), std::atoi(std::string(text).c_str()))
                               : m_index.findObject(objectKindWord(kind), text);
        add(m_tokens[at].pos, target, call ? ReferenceKind::Call : ReferenceKind::Read, UnresolvedReason::ObjectNotInExport);
    }

    // --- properties ---

    std::string_view value(const PropertyItem& item) const
    {
        return m_text.substr(static_cast<size_t>(item.start), static_cast<size_t>(std::max(0, item.end - item.start)));
    }

    void property(const PropertyItem& item)
    {
        m_where = item.where;
        const std::string_view n = item.name;
        const std::string_view v = value(item);
        if (equalFolded(n, "TableRelation") || equalFolded(n, "CalcFormula")) {
            relation(item.start, v, item.table);
        } else if (equalFolded(n, "SourceExpr")) {
            CodeRegion region{item.start, item.end, -1, item.where, item.record >= 0 ? item.record : -1};
            code(region);
        } else if (equalFolded(n, "SourceTableView") || equalFolded(n, "DataItemTableView")) {
            tableView(item.start, v, item.table);
        } else if (equalFolded(n, "DataItemLink")) {
            conditions(item.start, v, item.table, item.parent, ReferenceKind::Filter);
        } else if (equalFolded(n, "ReqFilterFields")) {
            fieldList(item.start, v, item.table, ReferenceKind::Filter);
        } else if (equalFolded(n, "DataCaptionFields")) {
            fieldList(item.start, v, item.table, ReferenceKind::Property);
        } else if (equalFolded(n, "CalcFields")) {
            fieldList(item.start, v, item.table, ReferenceKind::Read);
        } else if (equalFolded(n, "SumIndexFields") || n == "Key") {
            fieldList(item.start, v, item.table, ReferenceKind::Key);
        } else if (equalFolded(n, "DataSource")) {
            fieldList(item.start, v, item.table, ReferenceKind::Read);
        } else if (equalFolded(n, "SourceField")) {
            // Variable::Field, the variable a table element of the XMLport declares.
            const size_t sep = v.find("::");
            if (sep == std::string_view::npos)
                return;
            const int var = m_index.findMember(m_object, SymbolKind::Variable, trimmed(v.substr(0, sep)));
            if (var < 0)
                return add(item.start, -1, ReferenceKind::Read, UnresolvedReason::UnknownVariable);
            add(item.start + static_cast<int>(v.find_first_not_of(' ')), var, ReferenceKind::Read);
            fieldList(item.start + static_cast<int>(sep + 2), v.substr(sep + 2), symbol(var).target, ReferenceKind::Read);
        } else if (equalFolded(n, "SubPageLink") || equalFolded(n, "RunPageLink") || equalFolded(n, "SubFormLink") ||
                   equalFolded(n, "RunFormLink")) {
            // Fields of the linked page's or form's table = FIELD(fields of this one's).
            conditions(item.start, v, linkedTable(item), item.table, ReferenceKind::Filter);
        } else if (equalFolded(n, "EventSubscriber")) {
            eventSubscriber(item.start, v);
        } else {
            objectProperty(item.start, v, n);
        }
    }

    // The table of the object a link property's element opens (its PagePartID, SubFormID or
    // RunObject), or -1.
    int linkedTable(const PropertyItem& link) const
    {
        for (const PropertyItem& other : m_part.properties) {
            if (other.element != link.element || link.element < 0)
                continue;
            const std::string_view n = other.name;
            if (equalFolded(n, "PagePartID") || equalFolded(n, "SubFormID") || equalFolded(n, "RunObject")) {
                const int target = objectTarget(value(other), n);
                return target < 0 ? -1 : m_index.symbols()[static_cast<size_t>(target)].target;
            }
        }
        return -1;
    }

    void addField(int pos, std::string_view name, int table, ReferenceKind kind)
    {
        const size_t lead = name.find_first_not_of(" \r\n");
        if (lead == std::string_view::npos)
            return;
        pos += static_cast<int>(lead);
        name = trimmed(name.substr(lead));
        if (name.size() >= 2 && name.front() == '"' && name.back() == '"')
            name = name.substr(1, name.size() - 2), ++pos;
        if (table < 0)
            return add(pos, -1, kind, UnresolvedReason::ObjectNotInExport);
        add(pos, m_index.findMember(table, SymbolKind::Field, name), kind, UnresolvedReason::UnknownField);
    }

    // "No.,Search Name,\"Bonus Code\"" at pos.
    void fieldList(int pos, std::string_view list, int table, ReferenceKind kind)
    {
        if (!list.empty() && list.back() == ';')
            list.remove_suffix(1);
        size_t from = 0;
        while (from <= list.size()) {
            size_t comma = list.find(',', from);
            if (comma == std::string_view::npos)
                comma = list.size();
            if (!trimmed(list.substr(from, comma - from)).empty())
                addField(pos + static_cast<int>(from), list.substr(from, comma - from), table, kind);
            from = comma + 1;
        }
    }

    // The text inside the parentheses that open at v[open]: [open + 1, close).
    static size_t closing(std::string_view v, size_t open)
    {
        int depth = 0;
        bool quoted = false;
        for (size_t i = open; i < v.size(); ++i) {
            if (v[i] == '"')
                quoted = !quoted;
            else if (!quoted && v[i] == '(')
                ++depth;
            else if (!quoted && v[i] == ')' && --depth == 0)
                return i;
        }
        return v.size();
    }

    // "A=CONST(x),B=FIELD(C),D=FILTER(<>0)": left names in leftTable, FIELD(...) in rightTable.
    void conditions(int pos, std::string_view list, int leftTable, int rightTable, ReferenceKind kind)
    {
        size_t from = 0;
        while (from < list.size()) {
            size_t eq = list.find('=', from);
            if (eq == std::string_view::npos)
                return;
            addField(pos + static_cast<int>(from), list.substr(from, eq - from), leftTable, kind);
            size_t open = list.find('(', eq);
            if (open == std::string_view::npos)
                return;
            size_t close = closing(list, open);
            std::string_view word = trimmed(list.substr(eq + 1, open - eq - 1));
            if (equalFolded(word, "FIELD")) {
                size_t inner = open + 1, innerEnd = close;
                std::string_view arg = list.substr(inner, innerEnd - inner);
                if (size_t o = arg.find('('); o != std::string_view::npos && (equalFolded(trimmed(arg.substr(0, o)), "UPPERLIMIT") || equalFolded(trimmed(arg.substr(0, o)), "FILTER"))) {
                    inner += o + 1;
                    innerEnd = std::min(innerEnd, inner + arg.substr(o + 1).rfind(')'));
                }
                addField(pos + static_cast<int>(inner), list.substr(inner, innerEnd - inner), rightTable, ReferenceKind::Property);
            }
            from = close + 1;
            while (from < list.size() && (list[from] == ',' || list[from] == ' ' || list[from] == '\r' || list[from] == '\n'))
                ++from;
        }
    }

    // A table name at v[from], quoted or not, ending before ".", " WHERE", ")" or the end.
    size_t tableTarget(int pos, std::string_view v, size_t from, int& table)
    {
        while (from < v.size() && v[from] == ' ')
            ++from;
        size_t end;
        std::string_view name;
        int namePos = pos + static_cast<int>(from);
        if (from < v.size() && v[from] == '"') {
            end = v.find('"', from + 1);
            if (end == std::string_view::npos)
                end = v.size();
            name = v.substr(from + 1, end - from - 1);
            ++namePos;
            ++end;
        } else {
            end = from;
            while (end < v.size() && v[end] != '.' && v[end] != ')' && v[end] != ';' && v.substr(end, 6) != " WHERE" && v.substr(end, 5) != " ELSE")
                ++end;
            name = trimmed(v.substr(from, end - from));
        }
        table = m_index.findObject("Table", name);
        if (table < 0 && name.size() > 5 && equalFolded(name.substr(0, 5), "Table") &&
            std::all_of(name.begin() + 5, name.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
            table = m_index.findObject("Table", std::atoi(std::string(name.substr(5)).c_str()));
        add(namePos, table, ReferenceKind::Property, UnresolvedReason::ObjectNotInExport);
        return end;
    }

    // TableRelation and CalcFormula: [IF (conds)] Table[.Field] [WHERE (conds)] [ELSE ...], or
    // Sum(Table.Field WHERE (conds)).
    void relation(int pos, std::string_view v, int ownTable)
    {
        size_t i = 0;
        while (i < v.size()) {
            while (i < v.size() && (v[i] == ' ' || v[i] == '\r' || v[i] == '\n' || v[i] == '-'))
                ++i;
            if (v.substr(i, 4) == "ELSE") {
                i += 4;
                continue;
            }
            if (v.substr(i, 2) == "IF" && i + 2 < v.size() && (v[i + 2] == ' ' || v[i + 2] == '(')) {
                size_t open = v.find('(', i);
                size_t close = closing(v, open);
                conditions(pos + static_cast<int>(open + 1), v.substr(open + 1, close - open - 1), ownTable, ownTable, ReferenceKind::Property);
                i = close + 1;
                continue;
            }
            // Sum( Count( Lookup( ... : the formula's parentheses.
            size_t word = i;
            while (word < v.size() && std::isalpha(static_cast<unsigned char>(v[word])))
                ++word;
            if (word < v.size() && v[word] == '(' && inList(v.substr(i, word - i), {"Sum", "Average", "Count", "Lookup", "Exist", "Min", "Max"})) {
                size_t close = closing(v, word);
                relation(pos + static_cast<int>(word + 1), v.substr(word + 1, close - word - 1), ownTable);
                i = close + 1;
                continue;
            }
            int table = -1;
            size_t end = tableTarget(pos, v, i, table);
            if (end < v.size() && v[end] == '.') {
                size_t f = end + 1, fe;
                if (f < v.size() && v[f] == '"')
                    fe = std::min(v.size(), v.find('"', f + 1) + 1);
                else {
                    fe = f;
                    while (fe < v.size() && v[fe] != ')' && v[fe] != ';' && v.substr(fe, 6) != " WHERE" && v.substr(fe, 5) != " ELSE")
                        ++fe;
                }
                addField(pos + static_cast<int>(f), v.substr(f, fe - f), table, ReferenceKind::Property);
                end = fe;
            }
            while (end < v.size() && v[end] == ' ')
                ++end;
            if (v.substr(end, 5) == "WHERE") {
                size_t open = v.find('(', end);
                if (open == std::string_view::npos)
                    return;
                size_t close = closing(v, open);
                conditions(pos + static_cast<int>(open + 1), v.substr(open + 1, close - open - 1), table, ownTable, ReferenceKind::Property);
                end = close + 1;
            }
            if (end <= i)
                return;
            i = end;
        }
    }

    // SORTING(a,b) ORDER(...) WHERE(c=CONST(x))
    void tableView(int pos, std::string_view v, int table)
    {
        if (size_t s = v.find("SORTING("); s != std::string_view::npos) {
            size_t close = closing(v, s + 7);
            fieldList(pos + static_cast<int>(s + 8), v.substr(s + 8, close - s - 8), table, ReferenceKind::Key);
        }
        if (size_t w = v.find("WHERE("); w != std::string_view::npos) {
            size_t close = closing(v, w + 5);
            conditions(pos + static_cast<int>(w + 6), v.substr(w + 6, close - w - 6), table, table, ReferenceKind::Filter);
        }
    }

    // [EventSubscriber(Table,18,OnAfterInsertEvent,...)]: the publisher, and its event procedure when it declares one.
    void eventSubscriber(int pos, std::string_view a)
    {
        size_t open = a.find('(');
        if (open == std::string_view::npos)
            return;
        std::vector<std::pair<size_t, std::string_view>> args;
        size_t from = open + 1;
        for (int k = 0; k < 3 && from < a.size(); ++k) {
            size_t comma = a.find_first_of(",)", from);
            if (comma == std::string_view::npos)
                comma = a.size();
            args.emplace_back(from, trimmed(a.substr(from, comma - from)));
            from = comma + 1;
        }
        if (args.size() < 3)
            return;
        const int kind = objectKindOf(args[0].second);
        const int publisher = m_index.findObject(objectKindWord(kind), std::atoi(std::string(args[1].second).c_str()));
        add(pos + static_cast<int>(args[1].first), publisher, ReferenceKind::Call, UnresolvedReason::ObjectNotInExport);
        if (publisher >= 0) {
            const int event = m_index.findMember(publisher, SymbolKind::Procedure, args[2].second);
            if (event >= 0)
                add(pos + static_cast<int>(args[2].first + a.substr(args[2].first).find_first_not_of(' ')), event, ReferenceKind::Call);
        }
    }

    // SourceTable=Table18, LookupPageID=Page21, CardPageID=Customer Card, RunObject=Page 21 ...
    // The catalogue index of the object a property such as "RunObject=Page 21" or
    // "SourceTable=Customer" names (n: the property's name), or -1.
    int objectTarget(std::string_view v, std::string_view n) const
    {
        int kind = OK_PAGE;
        if (equalFolded(n, "SourceTable") || equalFolded(n, "DataItemTable"))
            kind = OK_TABLE;
        else if (equalFolded(n, "LookupFormID") || equalFolded(n, "DrillDownFormID") || equalFolded(n, "SubFormID"))
            kind = OK_FORM;
        std::string_view t = trimmed(v);
        if (!t.empty() && t.back() == ';')
            t = trimmed(t.substr(0, t.size() - 1));
        size_t letters = 0;
        while (letters < t.size() && std::isalpha(static_cast<unsigned char>(t[letters])))
            ++letters;
        const int k = objectKindOf(t.substr(0, letters));
        std::string_view rest = trimmed(t.substr(letters));
        if (k != OK_NONE && !rest.empty() && std::all_of(rest.begin(), rest.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
            return m_index.findObject(objectKindWord(k), std::atoi(std::string(rest).c_str()));
        return m_index.findObject(objectKindWord(kind), t);
    }

    void objectProperty(int pos, std::string_view v, std::string_view n)
    {
        const size_t lead = v.find_first_not_of(' ');
        if (lead == std::string_view::npos)
            return;
        add(pos + static_cast<int>(lead), objectTarget(v, n), ReferenceKind::Property, UnresolvedReason::ObjectNotInExport);
    }
};

} // namespace

void ReferenceBuilder::resolve(int object, ReferenceIndex::ObjectPart& part) const
{
    Resolver(*this, object, part).run(index.m_text);
}
