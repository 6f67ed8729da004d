#include "analysis/ReferenceNavigation.h"

#include <algorithm>

std::string referenceTarget(const CObjektManager& manager, const ReferenceIndex& index, int symbol)
{
    if (symbol < 0)
        return {};
    const XrefSymbol& s = index.symbols()[static_cast<size_t>(symbol)];
    const CObjectRecord& record = manager.get(s.object);
    std::string target = record.headerTypeWord() + " " + std::to_string(record.number);
    if (s.kind != SymbolKind::Object)
        target += ".\"" + std::string(index.name(symbol)) + "\"";
    return target;
}

int symbolAtPosition(CObjektManager& manager, int pos)
{
    return referenceIndex(manager).symbolAt(pos);
}

CResultLocation definitionAt(CObjektManager& manager, int pos)
{
    CResultLocation location;
    const ReferenceIndex& index = referenceIndex(manager);
    const int symbol = index.symbolAt(pos);
    if (symbol < 0)
        return location;
    const XrefSymbol& s = index.symbols()[static_cast<size_t>(symbol)];
    CObjectRecord& record = manager.get(s.object);
    const int at = s.kind == SymbolKind::Object || s.pos < 0 ? record.objectSpan.start() : s.pos;
    location = record.locate(at, std::string(index.name(symbol)));
    location.object = &record;
    location.position = at;
    return location;
}

OutlineItem fieldsOutline(CObjektManager& manager, int object)
{
    OutlineItem root{"Fields", -1, {}};
    const ReferenceIndex& index = referenceIndex(manager);
    auto [first, last] = index.objectSymbols(object, SymbolKind::Field);
    std::vector<int> fields;
    for (int s = first; s < last; ++s)
        fields.push_back(s);
    std::sort(fields.begin(), fields.end(), [&](int a, int b) { return index.symbols()[static_cast<size_t>(a)].pos < index.symbols()[static_cast<size_t>(b)].pos; });
    const int start = manager.get(object).objectSpan.start();
    for (int s : fields) {
        const XrefSymbol& field = index.symbols()[static_cast<size_t>(s)];
        root.children.push_back(OutlineItem{std::to_string(field.number) + " " + std::string(index.name(s)), field.pos - start, {}});
    }
    return root;
}
