#include "cli/JsonWriter.h"

#include <nlohmann/json.hpp>

#include <utility>

namespace {

constexpr size_t kPiece = 64 * 1024;

// Printable ASCII other than the quote and the backslash stands in a JSON string as it is.
bool needsEscaping(std::string_view text)
{
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte > 0x7E || c == '"' || c == '\\')
            return true;
    }
    return false;
}

} // namespace

void appendJsonString(std::string& out, std::string_view text)
{
    if (!needsEscaping(text)) {
        out += '"';
        out += text;
        out += '"';
        return;
    }
    // A string value holds no nested values: destroying it frees one block and allocates nothing.
    const nlohmann::json value = std::string(text);
    out += value.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

JsonWriter::JsonWriter(std::function<void(std::string_view)> write, bool pretty)
    : m_write(std::move(write)), m_pretty(pretty)
{
}

void JsonWriter::beforeValue()
{
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (m_empty.empty())
        return;
    if (!m_empty.back())
        m_text += ',';
    m_empty.back() = false;
    if (m_pretty) {
        m_text += '\n';
        m_text.append(m_empty.size(), '\t');
    }
}

void JsonWriter::begin(char bracket)
{
    beforeValue();
    m_text += bracket;
    m_empty.push_back(true);
}

void JsonWriter::end(char bracket)
{
    const bool empty = m_empty.back();
    m_empty.pop_back();
    if (m_pretty && !empty) {
        m_text += '\n';
        m_text.append(m_empty.size(), '\t');
    }
    m_text += bracket;
    flushIfLong();
}

void JsonWriter::beginObject() { begin('{'); }
void JsonWriter::endObject() { end('}'); }
void JsonWriter::beginArray() { begin('['); }
void JsonWriter::endArray() { end(']'); }

void JsonWriter::key(std::string_view name)
{
    beforeValue();
    appendJsonString(m_text, name);
    m_text += m_pretty ? ": " : ":";
    m_afterKey = true;
}

void JsonWriter::value(std::string_view text)
{
    beforeValue();
    appendJsonString(m_text, text);
    flushIfLong();
}

void JsonWriter::value(int number)
{
    beforeValue();
    m_text += std::to_string(number);
}

void JsonWriter::null()
{
    beforeValue();
    m_text += "null";
}

void JsonWriter::strings(const std::vector<std::string>& texts)
{
    beginArray();
    for (const std::string& text : texts)
        value(text);
    endArray();
}

void JsonWriter::finish()
{
    m_text += '\n';
    m_write(m_text);
    m_text.clear();
}

void JsonWriter::flushIfLong()
{
    if (m_text.size() >= kPiece) {
        m_write(m_text);
        m_text.clear();
    }
}
