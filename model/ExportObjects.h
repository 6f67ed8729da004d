#pragma once

#include "model/ObjektManager.h"
#include "model/SourceText.h"

#include <string_view>

// Whether the loaded text has an OBJECT line. A text without one (empty, random bytes, a pointer
// file) is no export, though the catalogue holds the one record every text makes.
inline bool holdsObjects(const CObjektManager& manager)
{
    // Each OBJECT line after the text's first byte starts a record of its own.
    return manager.count() > 1 ||
           (manager.text() != nullptr && manager.text()->view().substr(0, 7) == std::string_view("OBJECT "));
}
