#pragma once

#include "settings/SettingsStore.h"

#include <string>

// Section "WatchView": the session watch's values, read when its view is created and written when
// it is destroyed. The password is never among them.
struct WatchSettings {
    int requestInterval = 20; // seconds
    std::string logFileName;
    std::string programPath;
    std::string netType;
    std::string user;
    std::string server;

    // A stored interval outside 5..3600 reads as the default 20.
    void read(ISettingsStore& store);
    void write(ISettingsStore& store) const;
};

// The request interval limits of the setup dialog and of quellix-cli db-watch, inclusive.
inline constexpr int kWatchIntervalMin = 5;
inline constexpr int kWatchIntervalMax = 3600;

enum class IntervalCheck { Ok, NotWhole, OutOfRange };

// Reads an interval text: a whole number (blanks around it allowed) from 5 to 3600 gives Ok and
// seconds; otherwise the kind of the problem, and seconds stays unchanged.
IntervalCheck checkWatchInterval(const std::string& text, int& seconds);
