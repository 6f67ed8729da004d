#pragma once

#include "layout/AnchorLayout.h"

// Sizes and places of top-level windows, computed without a display: the main window's restored
// rectangle and a dialog centred on the main window, both kept on the screen's work area.

// The main window's default size before anything is remembered.
constexpr int kMainWindowWidth = 1024;
constexpr int kMainWindowHeight = 768;
// Below this the main window's menu, tool bar and a form's first row no longer fit.
constexpr int kMainWindowMinWidth = 640;
constexpr int kMainWindowMinHeight = 400;

// The rectangle the main window takes when it is not maximised: the remembered one when it is
// usable (at least the minimum size and at least partly on the work area), otherwise the default
// size centred on the work area; either way no larger than the work area and inside it.
LayoutRect restoredMainWindowRect(const LayoutRect& workArea, const LayoutRect* remembered = nullptr);

// The rectangle cut to the area's size and moved inside the area.
LayoutRect keptInside(LayoutRect r, const LayoutRect& area);

// A width x height window centred on owner, then shifted (and, when larger, cut) so that it lies
// inside the work area.
LayoutRect centredOn(const LayoutRect& owner, int width, int height, const LayoutRect& workArea);
