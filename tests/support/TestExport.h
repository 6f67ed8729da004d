#pragma once

#include "model/ObjektManager.h"

#include <memory>
#include <string>
#include <string_view>

// Turns the "\n" of a raw string literal into the "\r\n" of an export.
inline std::string crlf(std::string_view text)
{
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

// A catalogue loaded from an in-memory export (already in the ANSI code page).
struct LoadedExport {
    explicit LoadedExport(const std::string& exportText, const std::string& name = "test.txt")
        : text(std::make_unique<CSourceText>(exportText)), manager(std::make_unique<CObjektManager>())
    {
        manager->load(text.get(), name);
    }
    CObjectRecord& object(int i) { return manager->get(i); }
    const std::string& whole() const { return text->str(); }

    std::unique_ptr<CSourceText> text;
    std::unique_ptr<CObjektManager> manager;
};
