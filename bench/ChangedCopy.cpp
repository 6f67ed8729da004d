#include "ChangedCopy.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string_view>
#include <vector>

namespace {

const std::string kCrLf = "\r\n";

std::string cellOf(std::string_view line, int index)
{
    size_t start = line.find('{') + 1;
    for (int i = 0; i < index; ++i)
        start = line.find(';', start) + 1;
    std::string_view cell = line.substr(start, line.find(';', start) - start);
    const size_t first = cell.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string() : std::string(cell.substr(first, cell.find_last_not_of(' ') - first + 1));
}

struct Edit {
    std::string object; // the object's text, changed
    std::string row;    // what the comparison lists, empty for noise
};

// A new line at the start of the first procedure's code.
bool changeCode(Edit& e, const std::string& head)
{
    const size_t proc = e.object.find("PROCEDURE ");
    if (proc == std::string::npos)
        return false;
    const size_t at = e.object.find('@', proc);
    const std::string name = e.object.substr(proc + 10, at - proc - 10);
    const size_t begin = e.object.find("\r\n    BEGIN\r\n", proc);
    if (begin == std::string::npos)
        return false;
    e.object.insert(begin + 13, "      Changed := TRUE;\r\n");
    e.row = head + "changed\tCODE\t" + name + " Code";
    return true;
}

// The first field of the FIELDS section gets another type.
bool changeFieldType(Edit& e, const std::string& head)
{
    const size_t fields = e.object.find("\r\n  FIELDS\r\n  {\r\n    { ");
    if (fields == std::string::npos)
        return false;
    const size_t line = fields + 16;
    const size_t end = e.object.find(kCrLf, line);
    const std::string text = e.object.substr(line, end - line);
    const std::string type = cellOf(text, 3);
    const size_t typeAt = line + text.find(type, text.find(';', text.find(';', text.find(';') + 1) + 1));
    const std::string other = type == "Text250" ? "Code99" : "Text250";
    e.object.replace(typeAt, type.size(), other);
    e.row = head + "changed\tFIELDS\t" + cellOf(text, 0) + " " + cellOf(text, 2) + " Type";
    return true;
}

// The last key goes, when its field list is the only one of its kind.
bool removeKey(Edit& e, const std::string& head)
{
    const size_t keys = e.object.find("\r\n  KEYS\r\n  {\r\n");
    if (keys == std::string::npos)
        return false;
    const size_t close = e.object.find("\r\n  }\r\n", keys + 12);
    const size_t last = e.object.rfind("\r\n    {", close);
    if (last == std::string::npos || last < keys || e.object.find(kCrLf, last + 2) != close)
        return false;
    const std::string fields = cellOf(std::string_view(e.object).substr(last + 2, close - last - 2), 1);
    if (std::count_if(e.object.begin() + static_cast<long>(keys), e.object.begin() + static_cast<long>(close),
                      [](char c) { return c == '{'; }) < 3)
        return false;
    const std::string block = e.object.substr(keys, close - keys);
    if (block.find(";" + fields) != block.rfind(";" + fields))
        return false;
    e.object.erase(last, close - last);
    e.row = head + "removed\tKEYS\t" + fields;
    return true;
}

} // namespace

bool writeChangedCopy(const std::string& exportPath, const std::string& copyPath, const std::string& listPath)
{
    std::ifstream in(exportPath, std::ios::binary);
    std::stringstream whole;
    whole << in.rdbuf();
    const std::string text = whole.str();
    if (!in && !in.eof())
        return false;
    std::vector<std::string> objects;
    for (size_t at = 0; at < text.size();) {
        size_t next = text.find("\r\nOBJECT ", at);
        next = next == std::string::npos ? text.size() : next + 2;
        objects.push_back(text.substr(at, next - at));
        at = next;
    }
    std::ofstream copy(copyPath, std::ios::binary);
    std::vector<std::string> rows, added;
    for (size_t k = 0; k < objects.size(); ++k) {
        Edit e{objects[k], ""};
        const size_t lineEnd = e.object.find(kCrLf);
        std::istringstream header(e.object.substr(7, lineEnd - 7));
        std::string type;
        long number = 0;
        header >> type >> number;
        const std::string head = type + "\t" + std::to_string(number) + "\t";
        if (k % 53 == 5) {
            rows.push_back(head + "removed\t\t");
            continue;
        }
        if (k % 41 == 7) {
            const size_t date = e.object.find("    Date=");
            if (date != std::string::npos)
                e.object.replace(date + 9, 8, "01.01.30");
        } else if (k % 13 == 11 && type == "Codeunit") {
            changeCode(e, head);
        } else if (k % 7 == 3 && type == "Table") {
            changeFieldType(e, head);
        } else if (k % 11 == 4 && type == "Table") {
            removeKey(e, head);
        }
        if (!e.row.empty())
            rows.push_back(e.row);
        copy << e.object;
        if (k % 59 == 3) {
            std::string twin = objects[k];
            const std::string newNumber = std::to_string(number + 900000);
            twin.replace(7 + type.size() + 1, std::to_string(number).size(), newNumber);
            if (twin.size() < 4 || twin.compare(twin.size() - 4, 4, "\r\n\r\n") != 0)
                twin += kCrLf;
            added.push_back(twin);
            rows.push_back(type + "\t" + newNumber + "\tadded\t\t");
        }
    }
    bool blankAtEnd = !objects.empty() && objects.back().size() >= 4 &&
                      objects.back().compare(objects.back().size() - 4, 4, "\r\n\r\n") == 0;
    for (const std::string& twin : added) {
        if (!blankAtEnd)
            copy << kCrLf;
        copy << twin;
        blankAtEnd = true;
    }
    std::sort(rows.begin(), rows.end());
    std::ofstream list(listPath, std::ios::binary);
    for (const std::string& row : rows)
        list << row << "\n";
    return static_cast<bool>(copy) && static_cast<bool>(list);
}
