#include "cli/JsonWriter.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

using nlohmann::ordered_json;

// The written text is byte for byte what nlohmann-json dumps for the same document, pretty and
// compact: the layout of empty and nested containers, numbers, null, and strings with escapes,
// control characters and invalid UTF-8 (each broken sequence one U+FFFD).
TEST(JsonWriter, WritesWhatNlohmannJsonDumps)
{
    const std::vector<std::string> texts = {
        "", "plain", "quote\" back\\slash /", std::string("nul\0 \x01\x1f\x7f", 8), "\b\f\n\r\t",
        "\xc3\xa4 \xe2\x94\x80 \xf0\x9f\x98\x80", "\xe4 Latin-1", "\xc3", "\xc3" "A", "\x80\x80",
        "\xed\xa0\x80 surrogate", "\xf4\x90\x80\x80 too high", "\xe0\x80\x80 overlong", "\xe2\x94 cut",
        "ok \xff\xfe end"};
    ordered_json expected;
    expected["texts"] = texts;
    expected["empty"] = ordered_json::array();
    expected["none"] = ordered_json::object();
    expected["numbers"] = {0, -5, 2147483647};
    expected["nested"] = ordered_json::array({{{"a", nullptr}, {"b", ordered_json::array({ordered_json::array()})}}});
    for (const bool pretty : {true, false}) {
        SCOPED_TRACE(pretty ? "pretty" : "compact");
        std::string text;
        JsonWriter json([&](std::string_view piece) { text.append(piece); }, pretty);
        json.beginObject();
        json.key("texts");
        json.strings(texts);
        json.key("empty");
        json.beginArray();
        json.endArray();
        json.key("none");
        json.beginObject();
        json.endObject();
        json.key("numbers");
        json.beginArray();
        for (int n : {0, -5, 2147483647})
            json.value(n);
        json.endArray();
        json.key("nested");
        json.beginArray();
        json.beginObject();
        json.key("a");
        json.null();
        json.key("b");
        json.beginArray();
        json.beginArray();
        json.endArray();
        json.endArray();
        json.endObject();
        json.endArray();
        json.endObject();
        json.finish();
        EXPECT_EQ(text, expected.dump(pretty ? 1 : -1, '\t', false, ordered_json::error_handler_t::replace) + "\n");
    }
}
