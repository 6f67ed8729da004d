#pragma once

#include "settings/SettingsStore.h"
#include "db/DatabaseSession.h"

// Section "OBJECTCOMPARE": the connections of the object comparison without their passwords.
namespace settingskeys {

inline constexpr const char* SECTION_OBJECT_COMPARE = "OBJECTCOMPARE";
inline constexpr const char* COMPARE_LICENCE_FILE = "Lizenzdatei";
inline constexpr const char* COMPARE_NET_TYPE = "Netzwerktyp";
inline constexpr const char* COMPARE_SERVER = "Servername";
inline constexpr const char* COMPARE_USER = "User";
inline constexpr const char* COMPARE_PROGRAM_PATH = "Programmpfad";

inline constexpr const char* DEFAULT_COMPARE_LICENCE_FILE = "c:\\tmp\\fin.flf";
inline constexpr const char* DEFAULT_COMPARE_NET_TYPE = "netb";
inline constexpr const char* DEFAULT_COMPARE_SERVER = "";
inline constexpr const char* DEFAULT_COMPARE_USER = "";
inline constexpr const char* DEFAULT_COMPARE_PROGRAM_PATH = "c:\\fin_260";

} // namespace settingskeys

// The ten values the comparison view reads when it is first shown and writes at "compare Objects"
// and "mark Objects in DBs"; database 2's keys end in "2". Passwords are neither read nor written.
struct ObjectCompareSettings {
    DatabaseConnection database1;
    DatabaseConnection database2;

    void read(ISettingsStore& store);
    void write(ISettingsStore& store) const;
};
