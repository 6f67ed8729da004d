#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Writes one JSON text as it goes, laid out exactly as nlohmann-json dumps a document: pretty (every
// member and element on a line of its own, indented by one tab a level, "{}" and "[]" when empty)
// or compact (one line, no blanks). Strings are escaped as nlohmann-json escapes them (invalid UTF-8
// replaced by U+FFFD). No document is held: the text goes to write in pieces of about 64 KB, and
// running short of memory throws std::bad_alloc from a call here, never from a destructor.
class JsonWriter {
public:
    JsonWriter(std::function<void(std::string_view)> write, bool pretty);

    // Containers; a value inside an object follows its key.
    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    void key(std::string_view name);

    void value(std::string_view text);
    void value(const char* text) { value(std::string_view(text)); }
    void value(int number);
    void null();

    // One member: key and value.
    template <typename T>
    void member(std::string_view name, const T& v)
    {
        key(name);
        value(v);
    }
    // An array of strings.
    void strings(const std::vector<std::string>& texts);

    // Ends the text with "\n" and hands over what is left. Call once, after the outermost container.
    void finish();

private:
    void beforeValue();
    void begin(char bracket);
    void end(char bracket);
    void flushIfLong();

    std::function<void(std::string_view)> m_write;
    bool m_pretty;
    std::string m_text;
    std::vector<bool> m_empty; // per open container: nothing in it yet
    bool m_afterKey = false;
};

// text as a JSON string, quotes included, appended to out.
void appendJsonString(std::string& out, std::string_view text);
