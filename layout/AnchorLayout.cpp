#include "layout/AnchorLayout.h"

#include <algorithm>

void CAnchorLayout::add(Anchor anchor, int controlId)
{
    m_entries.emplace_back(anchor, controlId);
}

std::vector<int> CAnchorLayout::controlIds() const
{
    std::vector<int> ids;
    for (const auto& [anchor, id] : m_entries)
        if (std::find(ids.begin(), ids.end(), id) == ids.end())
            ids.push_back(id);
    return ids;
}

void CAnchorLayout::record(int controlId, const LayoutRect& rect)
{
    m_recorded[controlId] = rect;
}

void CAnchorLayout::finishInitialLayout(int clientWidth, int clientHeight)
{
    m_initialWidth = clientWidth;
    m_initialHeight = clientHeight;
    m_initializing = false;
}

static void apply(Anchor anchor, int dx, int dy, const LayoutRect& from, LayoutRect& to)
{
    switch (anchor) {
    case Anchor::MoveDown: to = from; to.y += dy; break;
    case Anchor::MoveRight: to = from; to.x += dx; break;
    case Anchor::MoveDownRight: to = from; to.x += dx; to.y += dy; break;
    case Anchor::GrowHeight: to = from; to.height += dy; break;
    case Anchor::GrowWidth: to = from; to.width += dx; break;
    case Anchor::GrowBoth: to = from; to.width += dx; to.height += dy; break;
    case Anchor::MoveRightGrowHeight: to = from; to.x += dx; to.height += dy; break;
    }
}

std::vector<std::pair<int, LayoutRect>> CAnchorLayout::place(int cx, int cy) const
{
    std::vector<std::pair<int, LayoutRect>> placed;
    if (m_initializing)
        return placed;
    int dx = std::max(0, cx - m_initialWidth);
    int dy = std::max(0, cy - m_initialHeight);
    static const Anchor order[] = {Anchor::MoveDown,   Anchor::MoveRight, Anchor::MoveDownRight,
                                   Anchor::GrowHeight, Anchor::GrowWidth, Anchor::GrowBoth,
                                   Anchor::MoveRightGrowHeight};
    std::map<int, LayoutRect> result;
    for (Anchor anchor : order)
        for (const auto& [a, id] : m_entries) {
            auto rec = m_recorded.find(id);
            if (a == anchor && rec != m_recorded.end())
                apply(anchor, dx, dy, rec->second, result[id]);
        }
    for (int id : controlIds())
        if (result.count(id))
            placed.emplace_back(id, result[id]);
    return placed;
}

std::pair<int, int> CAnchorLayout::scrolledSize(int cx, int cy) const
{
    return {std::max(cx, m_initialWidth), std::max(cy, m_initialHeight)};
}
