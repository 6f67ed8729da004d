#pragma once

#include <map>
#include <utility>
#include <vector>

struct LayoutRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const LayoutRect&) const = default;
};

// How a control follows the view when it is resized by (dx, dy).
enum class Anchor { MoveDown, MoveRight, MoveDownRight, GrowHeight, GrowWidth, GrowBoth, MoveRightGrowHeight };

// The six anchoring lists of a form view and the resize rule: rectangles and client size are
// recorded at first display; later sizes move or grow each listed control from its recorded
// rectangle, the lists applied in the order of Anchor so the last one that touches a control wins.
class CAnchorLayout {
public:
    void add(Anchor anchor, int controlId);
    // Every listed control ID once, in the order first added.
    std::vector<int> controlIds() const;

    void record(int controlId, const LayoutRect& rect);
    // Records the client size and ends the initializing state.
    void finishInitialLayout(int clientWidth, int clientHeight);
    bool initializing() const { return m_initializing; }

    // The new rectangle of every recorded control for client size cx x cy; empty while
    // initializing. In a direction where the client is below the initial size, controls keep
    // their recorded (template) coordinates in that direction and the form scrolls instead, so
    // a shrunk view never leaves a control at a place from an earlier, larger size.
    std::vector<std::pair<int, LayoutRect>> place(int cx, int cy) const;
    // The size the form must scroll over at client size cx x cy: the initial size where the client
    // is smaller, the client size where it is larger.
    std::pair<int, int> scrolledSize(int cx, int cy) const;

private:
    std::vector<std::pair<Anchor, int>> m_entries;
    std::map<int, LayoutRect> m_recorded;
    int m_initialWidth = 0;
    int m_initialHeight = 0;
    bool m_initializing = true;
};
