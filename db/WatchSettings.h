#pragma once

#include "app/SettingsStore.h"

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

// The request interval limits of the setup dialog, inclusive.
inline constexpr int WATCH_INTERVAL_MIN = 5;
inline constexpr int WATCH_INTERVAL_MAX = 3600;

// Reads the setup dialog's "Timer interval:" text: a whole number from 5 to 3600. Otherwise false
// with the message the dialog shows: "Geben Sie bitte eine ganze Zahl ein." when the text is not
// a whole number, "Geben Sie bitte eine ganze Zahl zwischen 5 und 3600 ein." when it lies outside.
bool parseWatchInterval(const std::string& text, int& seconds, std::string& message);
