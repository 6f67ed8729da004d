#include "db/WatchSettings.h"

#include "views/DialogValues.h"

namespace {
const char* const kSection = "WatchView";
} // namespace

void WatchSettings::read(ISettingsStore& store)
{
    requestInterval = store.getInt(kSection, "RequestInterval", 20);
    // A value edited by hand outside the dialog's limits would make the timer spin or stall.
    if (requestInterval < WATCH_INTERVAL_MIN || requestInterval > WATCH_INTERVAL_MAX)
        requestInterval = 20;
    logFileName = store.getString(kSection, "ProtokollFileName", "");
    programPath = store.getString(kSection, "NavisionPath", "");
    netType = store.getString(kSection, "Netzwerktyp", "");
    user = store.getString(kSection, "Benutzer", "");
    server = store.getString(kSection, "Servername", "");
}

void WatchSettings::write(ISettingsStore& store) const
{
    store.writeInt(kSection, "RequestInterval", requestInterval);
    store.writeString(kSection, "ProtokollFileName", logFileName);
    store.writeString(kSection, "NavisionPath", programPath);
    store.writeString(kSection, "Netzwerktyp", netType);
    store.writeString(kSection, "Benutzer", user);
    store.writeString(kSection, "Servername", server);
}

bool parseWatchInterval(const std::string& text, int& seconds, std::string& message)
{
    int value = 0;
    if (!parseSignedField(text, value)) {
        message = WHOLE_NUMBER_MESSAGE;
        return false;
    }
    if (value < WATCH_INTERVAL_MIN || value > WATCH_INTERVAL_MAX) {
        message = "Geben Sie bitte eine ganze Zahl zwischen " + std::to_string(WATCH_INTERVAL_MIN) + " und " +
                  std::to_string(WATCH_INTERVAL_MAX) + " ein.";
        return false;
    }
    seconds = value;
    return true;
}
