#pragma once

#include <string>

// Receives the one-line status texts (the main window's message pane, or stderr in the CLI).
class IStatusText {
public:
    virtual ~IStatusText() = default;
    virtual void setStatusText(const std::string& text) = 0;
};

// A progress bar: range low..high and a position inside it.
class IProgress {
public:
    virtual ~IProgress() = default;
    virtual void setRange(int low, int high) = 0;
    virtual void setPos(int pos) = 0;
};
