#include "layout/WindowPlacement.h"

#include <algorithm>

LayoutRect keptInside(LayoutRect r, const LayoutRect& area)
{
    r.width = std::min(r.width, area.width);
    r.height = std::min(r.height, area.height);
    r.x = std::clamp(r.x, area.x, area.x + area.width - r.width);
    r.y = std::clamp(r.y, area.y, area.y + area.height - r.height);
    return r;
}

namespace {
bool overlaps(const LayoutRect& a, const LayoutRect& b)
{
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}
} // namespace

LayoutRect restoredMainWindowRect(const LayoutRect& workArea, const LayoutRect* remembered)
{
    if (remembered && remembered->width >= kMainWindowMinWidth && remembered->height >= kMainWindowMinHeight &&
        overlaps(*remembered, workArea))
        return keptInside(*remembered, workArea);
    return centredOn(workArea, kMainWindowWidth, kMainWindowHeight, workArea);
}

LayoutRect centredOn(const LayoutRect& owner, int width, int height, const LayoutRect& workArea)
{
    LayoutRect r{owner.x + (owner.width - width) / 2, owner.y + (owner.height - height) / 2, width, height};
    return keptInside(r, workArea);
}
