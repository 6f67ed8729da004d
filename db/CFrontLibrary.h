#pragma once

#include "cfront/cfront.h"
#include "db/DynamicLibrary.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

// The C/FRONT library, loaded at run time from the Navision program folder and called by
// ordinal; one instance per process. Calls must not overlap (one operation at a time). Every
// call wrapper does nothing and returns 0, null or "" when its ordinal is not available.
class CFrontLibrary {
public:
    static CFrontLibrary& instance();

    // The library file under a program path: <program path>/cfront/cfront.so on POSIX,
    // <program path>\cfront\cfront.dll on Windows.
    static std::string libraryFilePath(const std::string& programPath);

    // Loads the library from the program path, resolves and calls ordinal 3, then resolves 1, 2
    // and 5 to 111 in ascending order. Returns 0 when loaded; -1 when an ordinal does not
    // resolve (the library stays loaded until Unload); otherwise the system error code of the
    // failed load. Loads again after an Unload when already loaded. Ordinal 112 (last error)
    // is resolved too when the library has it; a library without it loads all the same.
    int Load(const std::string& programPath);
    // Calls ordinal 4 when it resolves, releases the library, clears the loaded flag.
    void Unload();
    // True while the library is held: after Load returned 0 or -1, until Unload.
    bool isLoaded() const { return m_library.isOpen(); }
    // The system's message text for the last failure of Load.
    const std::string& lastErrorText() const { return m_library.lastErrorText(); }

    // The operations; texts are handed over in writable buffers of at least the given size.
    void setProgramPath(const std::string& path);                                 // 88, 50 bytes
    void setLicenceFile(const std::string& path);                                 // 89, 250 bytes
    void connectServer(const std::string& server, const std::string& netType);    // 5
    void openDatabase(const std::string& name);                                   // 7, 8000, 8000
    int32_t login(const std::string& user, const std::string& password);          // 52
    cfront_table* openTable(int32_t number);                                      // 12
    void closeTable(cfront_table* table);                                         // 14
    // false when the library refuses the filter
    bool setFilter(cfront_table* table, int32_t field, const std::string& filter,
                   size_t bufferSize = 50);                                       // 30
    cfront_record* newRecord(cfront_table* table);                                // 65
    void freeRecord(cfront_record* record);                                       // 66
    void allowError(int32_t code);                                                // 1
    bool findFirst(cfront_table* table, cfront_record* record);                   // 16, "-"
    int16_t next(cfront_table* table, cfront_record* record, int32_t steps = 1);  // 17
    // Field values (42): a 32-bit integer, or the raw OEM text; 0 or "" when none.
    int32_t fieldInteger(cfront_table* table, cfront_record* record, int32_t field);
    std::string fieldText(cfront_table* table, cfront_record* record, int32_t field);
    std::string dateToText(int32_t date);                                         // 76, 50 bytes
    int32_t textToDate(const std::string& text);                                  // 75
    std::string timeToText(int32_t time);                                         // 78, 50 bytes
    int32_t textToTime(const std::string& text);                                  // 77
    // The library's last error code and its reason (112); 0 and "" when the library has no
    // such ordinal. After a find or step that gave 0, a code other than 0 and
    // CFRONT_ERR_RECORD_NOT_FOUND means the read failed.
    int32_t lastError(std::string* reason = nullptr);
    // The reason for a failed call, or fallback when the library gives none.
    std::string failureReason(const std::string& fallback);
    // After a find or step that gave no record: the reason when the read failed, else "".
    std::string readFailure();
    bool hasLastError() const { return m_lastError != nullptr; }
    // Hands notice to the library (113, when it has it) to call when a call has waited a second
    // for a database another program holds; an empty function removes it. Kept until Unload.
    void setWaitNotice(std::function<void(const std::string&)> notice);

private:
    CFrontLibrary();
    template <class Function>
    Function function(int ordinal) const
    {
        return reinterpret_cast<Function>(m_ordinals[static_cast<size_t>(ordinal)]);
    }

    CDynamicLibrary m_library;
    std::array<void*, 112> m_ordinals{};
    void* m_lastError = nullptr; // ordinal 112, when the library has it
    void* m_setNotice = nullptr; // ordinal 113, when the library has it
    std::function<void(const std::string&)> m_notice;
};
