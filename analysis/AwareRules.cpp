#include "analysis/AwareRules.h"

#include "analysis/OperationTable.h"
#include "model/ObjectRecord.h"
#include "model/SourceText.h"

#include <cstdlib>

namespace aware {
namespace {

char foldChar(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

// The line that ends before lineEnd (a CR or LF position, or the text's end), without its CR.
std::string_view lineBefore(std::string_view text, size_t lineEnd, size_t& lineStart)
{
    size_t end = lineEnd;
    if (end > 0 && end <= text.size() && text[end - 1] == '\r')
        --end;
    size_t nl = end == 0 ? std::string_view::npos : text.rfind('\n', end - 1);
    lineStart = nl == std::string_view::npos ? 0 : nl + 1;
    return text.substr(lineStart, end - lineStart);
}

bool isAttributeLine(std::string_view line)
{
    return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

// Calls perLine(trimmed line) for every line of text.
template <class F>
void forEachLine(std::string_view text, F&& perLine)
{
    size_t p = 0;
    while (p < text.size()) {
        size_t nl = text.find('\n', p);
        size_t end = nl == std::string_view::npos ? text.size() : nl;
        if (end > p && text[end - 1] == '\r')
            --end;
        perLine(srctext::trimBlanks(text.substr(p, end - p)));
        p = end + 1;
    }
}

void addHandlerNames(std::string_view list, std::set<std::string>& handlers)
{
    size_t p = 0;
    while (p <= list.size()) {
        size_t comma = list.find(',', p);
        size_t end = comma == std::string_view::npos ? list.size() : comma;
        std::string_view name = srctext::trimBlanks(list.substr(p, end - p));
        if (!name.empty())
            handlers.insert(folded(name));
        p = end + 1;
    }
}

} // namespace

std::string folded(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = foldChar(c);
    return out;
}

bool equalNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (foldChar(a[i]) != foldChar(b[i]))
            return false;
    return true;
}

int findWholeWordNoCase(std::string_view text, std::string_view name, int from)
{
    const auto* t = reinterpret_cast<const unsigned char*>(text.data());
    for (int p = srctext::findNoCase(text, name, from); p != -1; p = srctext::findNoCase(text, name, p + 1)) {
        const size_t after = static_cast<size_t>(p) + name.size();
        if ((p == 0 || !srctext::isWordChar(t[p - 1])) && (after >= text.size() || !srctext::isWordChar(t[after])))
            return p;
    }
    return -1;
}

std::vector<std::string> procedureAttributes(const CProcedure& proc)
{
    std::vector<std::string> attributes;
    if (proc.text == nullptr)
        return attributes;
    std::string_view text = *proc.text;
    size_t lineEnd = static_cast<size_t>(proc.span.start());
    while (lineEnd > 0 && lineEnd <= text.size()) {
        size_t lineStart = 0;
        std::string_view line = srctext::trimBlanks(lineBefore(text, lineEnd, lineStart));
        if (!isAttributeLine(line))
            break;
        attributes.insert(attributes.begin(), std::string(line));
        if (lineStart == 0)
            break;
        lineEnd = lineStart - 1;
    }
    return attributes;
}

std::string attributeName(std::string_view attribute)
{
    if (!attribute.empty() && attribute.front() == '[')
        attribute.remove_prefix(1);
    size_t end = attribute.find_first_of("(]");
    return std::string(srctext::trimBlanks(attribute.substr(0, end)));
}

std::vector<std::string> attributeArguments(std::string_view attribute)
{
    std::vector<std::string> arguments;
    size_t open = attribute.find('(');
    size_t close = attribute.rfind(')');
    if (open == std::string_view::npos || close == std::string_view::npos || close < open)
        return arguments;
    std::string current;
    bool quoted = false;
    for (size_t i = open + 1; i < close; ++i) {
        const char c = attribute[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            arguments.emplace_back(srctext::trimBlanks(current));
            current.clear();
        } else {
            current += c;
        }
    }
    arguments.emplace_back(srctext::trimBlanks(current));
    return arguments;
}

std::set<EventKey> subscribedEvents(std::string_view text)
{
    static constexpr std::string_view kMarker = "[EventSubscriber(";
    std::set<EventKey> events;
    for (int p = srctext::find(text, kMarker, 0); p != -1; p = srctext::find(text, kMarker, p + 1)) {
        size_t start = 0;
        size_t nl = text.find('\n', static_cast<size_t>(p));
        std::string_view line =
            srctext::trimBlanks(lineBefore(text, nl == std::string_view::npos ? text.size() : nl, start));
        if (!isAttributeLine(line))
            continue;
        std::vector<std::string> args = attributeArguments(line);
        if (args.size() < 3)
            continue;
        char* end = nullptr;
        long number = std::strtol(args[1].c_str(), &end, 10);
        if (args[1].empty() || *end != '\0')
            continue;
        events.insert({folded(args[0]), static_cast<int>(number), folded(args[2])});
    }
    return events;
}

std::string objectTypeWordOf(const CObjectRecord& record)
{
    std::string_view header = record.headerText();
    return std::string(header.substr(0, header.find(' ')));
}

TestCodeunit testCodeunitOf(const CObjectRecord& record)
{
    TestCodeunit codeunit;
    if (record.type != OT_CODEUNIT)
        return codeunit;
    std::string_view t = record.objectText();
    int properties = srctext::find(t, "\n  PROPERTIES", 0);
    int code = srctext::find(t, "\n  CODE", 0);
    if (properties != -1 && (code == -1 || properties < code)) {
        std::string_view section = srctext::cut(t, properties, (code == -1 ? static_cast<int>(t.size()) : code) - properties);
        forEachLine(section, [&](std::string_view line) {
            if (line.empty())
                return;
            if (line == "Subtype=Test;")
                codeunit.isTest = true;
            static constexpr std::string_view kHandlers = "HandlerFunctions=";
            if (line.substr(0, kHandlers.size()) == kHandlers && line.back() == ';')
                addHandlerNames(line.substr(kHandlers.size(), line.size() - kHandlers.size() - 1), codeunit.handlers);
        });
    }
    if (codeunit.isTest && code != -1)
        forEachLine(srctext::cutFrom(t, code), [&](std::string_view line) {
            if (isAttributeLine(line) && attributeName(line) == "HandlerFunctions")
                for (const std::string& name : attributeArguments(line))
                    addHandlerNames(name, codeunit.handlers);
        });
    return codeunit;
}

ProcedureKind classifyProcedure(const CProcedure& proc, const TestCodeunit& codeunit)
{
    ProcedureKind kind;
    for (const std::string& attribute : procedureAttributes(proc)) {
        const std::string name = attributeName(attribute);
        if (name == "EventSubscriber") {
            kind.removal = Removal::EventSubscriber;
        } else if (name == "UpgradePerCompany" || name == "UpgradePerDatabase" || name == "TableSyncSetup" ||
                   name == "CheckPrecondition" || name == "ServiceEnabled") {
            if (kind.removal == Removal::None)
                kind.removal = Removal::Platform;
        } else if (name == "Test" && codeunit.isTest) {
            if (kind.removal == Removal::None)
                kind.removal = Removal::Test;
        } else if (name == "External") {
            kind.external = true;
        } else if (name == "Integration" || name == "Business") {
            kind.publisher = true;
        }
    }
    if (kind.removal == Removal::None && codeunit.isTest && codeunit.handlers.count(folded(proc.name())) != 0)
        kind.removal = Removal::Test;
    return kind;
}

std::string AwareCounts::functionsSummary() const
{
    return std::to_string(textual) + " textual, " + std::to_string(eventSubscribers) + " event subscribers, " +
           std::to_string(platform) + " platform, " + std::to_string(test) + " test, " +
           std::to_string(letterCase) + " letter case: " + std::to_string(shown()) + " shown, " +
           std::to_string(external) + " external, " + std::to_string(eventsWithoutSubscriber) +
           " events without subscriber";
}

std::string AwareCounts::summary() const
{
    return std::to_string(textual) + " textual, " + std::to_string(letterCase) + " letter case: " +
           std::to_string(shown()) + " shown";
}

} // namespace aware
