#include "model/TableFields.h"

#include "model/ObjectRecord.h"
#include "model/SourceText.h"

#include <string>
#include <vector>

namespace {

// Markers of the FIELDS and KEYS sections, with the lengths the readers step over.
constexpr std::string_view kFieldEntryStart = "\r\n    { ";
constexpr std::string_view kSumIndexFieldsKey = "SumIndexFields=";
constexpr int kFieldEntryStartLength = static_cast<int>(kFieldEntryStart.size());
constexpr int kSumIndexFieldsKeyLength = static_cast<int>(kSumIndexFieldsKey.size());

// Appends one field per separated piece of text ("No.,Name"), each name without trailing blanks.
void appendNames(std::string_view text, std::string_view separator, CTableFieldArray& out)
{
    std::vector<std::string> pieces;
    srctext::split(text, separator, pieces);
    for (const std::string& piece : pieces) {
        CTableField field;
        field.name = std::string(srctext::trimRightBlanks(piece));
        out.add(std::move(field));
    }
}

// Reads the field entries of a FIELDS block: "\r\n    { <no> ;<skipped> ;<name> ;...".
void readFieldEntries(std::string_view block, CTableFieldArray& out)
{
    int c = 0;
    while (c != -1) {
        int o = srctext::find(block, kFieldEntryStart, c);
        if (o == -1)
            break;
        int s1 = srctext::find(block, ";", o);
        if (s1 == -1)
            break;
        CTableField field;
        const int number = o + kFieldEntryStartLength;
        field.number = srctext::decimal(srctext::cut(block, number, s1 - number));
        int s2 = srctext::find(block, ";", s1 + 1);
        if (s2 == -1)
            break;
        c = srctext::find(block, ";", s2 + 1);
        if (c != -1)
            field.name = std::string(srctext::trimRightBlanks(srctext::cut(block, s2 + 1, c - (s2 + 1))));
        out.add(std::move(field));
    }
}

} // namespace

// Reads one key entry "<enabled> ;<field>,<field> [;SumIndexFields=<field>,<field>]" (braces removed).
void CTableKey::parse(std::string_view entry, bool flagValue)
{
    std::vector<std::string> parts;
    int partCount = srctext::split(entry, ";", parts);
    enabled = srctext::trimLeftBlanks(parts[0]).empty();
    if (partCount > 1)
        appendNames(parts[1], ",", keyFields);
    if (partCount == 3) {
        std::string_view third = parts[2];
        int marker = srctext::find(third, kSumIndexFieldsKey);
        if (marker != -1)
            appendNames(srctext::cutFrom(third, marker + kSumIndexFieldsKeyLength), ",", sumIndexFields);
    }
    flag = flagValue;
}

// Reads the field entries between "  FIELDS\r\n  {" and the "\r\n  }\r\n" that closes the section.
void CObjectRecord::parseFields()
{
    if (fieldsRead)
        return;
    fieldsRead = true;
    fields.removeAll();
    if (type != OT_TABLE)
        return;
    std::string_view t = objectText();
    int f = srctext::find(t, "  FIELDS\r\n  {");
    if (f == -1)
        return;
    int g = srctext::find(t, "\r\n  }\r\n", f);
    if (g == -1)
        return;
    readFieldEntries(srctext::cut(t, f, g - f), fields);
}

void CObjectRecord::ensureFields()
{
    if (parseLevel < 4)
        ensureTriggers();
    if (parseLevel == 4) {
        parseFields();
        parseLevel = 5;
    }
}

void CObjectRecord::fieldsOnce()
{
    if (parseLevel < 2)
        ensureCode();
    parseFields();
}

// Reads the key entries "  {...}\r\n" between "\r\n  KEYS\r\n  {\r\n" and "  }\r\n  CODE\r\n".
void CObjectRecord::readKeys()
{
    if (keysRead || type != OT_TABLE)
        return;
    keysRead = true;
    keys.removeAll();
    std::vector<std::string> entries;
    srctext::extractItems(objectText(), entries, "\r\n  KEYS\r\n  {\r\n", "  }\r\n  CODE\r\n", "  {", "}\r\n");
    for (const std::string& entry : entries) {
        CTableKey key;
        key.parse(entry, false);
        keys.add(std::move(key));
    }
}

void CObjectRecord::countSumIndexFieldUses(const CCalcFormulaRefArray& references,
                                           const std::vector<std::string>& names)
{
    readKeys();
    if (type != OT_TABLE)
        return;
    const std::string tableName = headerName();
    for (CTableKey& key : keys) {
        for (CTableField& sumField : key.sumIndexFields) {
            sumField.uses = 0;
            for (const CCalcFormulaRef& ref : references)
                if (ref.table == tableName && ref.field == sumField.name)
                    ++sumField.uses;
            for (const std::string& name : names)
                if (name == sumField.name)
                    ++sumField.uses;
        }
    }
}

void CObjectRecord::collectUnusedSumIndexFields(CTableKeyArray& out) const
{
    if (type != OT_TABLE)
        return;
    for (const CTableKey& key : keys) {
        for (const CTableField& sumField : key.sumIndexFields) {
            if (sumField.uses != 0)
                continue;
            CTableKey single = key;
            single.sumIndexFields.removeAll();
            single.sumIndexFields.add(sumField);
            out.add(std::move(single));
        }
    }
}
