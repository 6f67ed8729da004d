// The exported C functions: each takes the library's lock, checks its arguments and turns
// every failure, C++ exceptions included, into its error result and the last error.
#include "cfront.h"
#include "library/StandIn.h"
#include "store/DateTimeCodec.h"
#include "store/System.h"

#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>

using cfront::CfrontError;
using cfront::StandIn;

namespace {

std::mutex g_mutex;
cfront::Diagnostics g_diagnostics;
std::unique_ptr<StandIn> g_standIn;

// Records the C/FRONT operations; the stand-in's own ordinals beyond 111 are left out.
void appendTrace(int ordinal)
{
    if (ordinal > 111)
        return;
    g_diagnostics.trace += (g_diagnostics.trace.empty() ? "" : " ") + std::to_string(ordinal);
}

template <class Result, class Body>
Result guarded(int ordinal, Result failure, Body&& body) noexcept
{
    try {
        std::lock_guard<std::mutex> lock(g_mutex);
        try {
            appendTrace(ordinal);
            if (!g_standIn)
                throw CfrontError(CFRONT_ERR_NOT_INITIALISED, "C/FRONT is not initialised");
            return body(*g_standIn);
        } catch (const CfrontError& e) {
            g_diagnostics.setError(e.code(), e.what());
        } catch (const cfront::BusyError& e) {
            g_diagnostics.setError(CFRONT_ERR_BUSY, e.what());
        } catch (const cfront::ReadOnlyError& e) {
            g_diagnostics.setError(CFRONT_ERR_READ_ONLY, e.what());
        } catch (const cfront::DatabaseError& e) {
            g_diagnostics.setError(CFRONT_ERR_DATABASE, e.what());
        } catch (const std::exception& e) {
            g_diagnostics.setError(CFRONT_ERR_INTERNAL, e.what());
        } catch (...) {
            g_diagnostics.setError(CFRONT_ERR_INTERNAL, "unknown failure");
        }
    } catch (...) {
        // Not even the error could be recorded (out of memory); the result says enough.
    }
    return failure;
}

std::string_view requiredText(const char* text, const char* what)
{
    if (!text)
        throw CfrontError(CFRONT_ERR_BAD_ARGUMENT, std::string(what) + " is a null pointer");
    return text;
}

// Copies text with its terminating zero into buffer; a text that does not fit is an error.
void writeText(char* buffer, int32_t size, const std::string& text)
{
    if (!buffer || size <= 0)
        throw CfrontError(CFRONT_ERR_BAD_ARGUMENT, "no buffer to write to");
    if (text.size() >= static_cast<size_t>(size)) {
        buffer[0] = '\0';
        throw CfrontError(CFRONT_ERR_BAD_ARGUMENT, "buffer of " + std::to_string(size) + " bytes too small");
    }
    std::memcpy(buffer, text.c_str(), text.size() + 1);
}

// Copies as much of text as fits, always zero-terminated.
int32_t copyTruncated(char* buffer, int32_t size, const std::string& text)
{
    if (buffer && size > 0) {
        size_t n = std::min(text.size(), static_cast<size_t>(size) - 1);
        std::memcpy(buffer, text.data(), n);
        buffer[n] = '\0';
    }
    return static_cast<int32_t>(text.size());
}

std::string libraryFolder()
{
    return cfront::moduleFolder(reinterpret_cast<const void*>(&cfront_ordinal_3));
}

int32_t textToValue(int32_t* value, const char* text, bool (*parse)(std::string_view, int32_t&))
{
    if (!value)
        throw CfrontError(CFRONT_ERR_BAD_ARGUMENT, "value address is a null pointer");
    *value = 0;
    std::string_view t = requiredText(text, "text");
    if (!parse(t, *value))
        throw CfrontError(CFRONT_ERR_CONVERSION, "\"" + std::string(t) + "\" is not a valid value");
    return 1;
}

int32_t valueToText(char* buffer, int32_t size, int32_t value, std::string (*format)(int32_t))
{
    std::string text = format(value);
    writeText(buffer, size, text);
    if (text.empty() && value != 0)
        throw CfrontError(CFRONT_ERR_CONVERSION, std::to_string(value) + " is not a valid value");
    return 1;
}

} // namespace

extern "C" {

CFRONT_EXPORT void CFRONT_CALL cfront_ordinal_3(void)
{
    try {
        std::lock_guard<std::mutex> lock(g_mutex);
        if (g_standIn)
            return;
        g_diagnostics = cfront::Diagnostics{};
        appendTrace(3);
        g_standIn = std::make_unique<StandIn>(libraryFolder(), g_diagnostics);
    } catch (...) {
        // Left uninitialised: every later call fails with CFRONT_ERR_NOT_INITIALISED.
    }
}

CFRONT_EXPORT void CFRONT_CALL cfront_ordinal_4(void)
{
    try {
        std::lock_guard<std::mutex> lock(g_mutex);
        appendTrace(4);
        g_standIn.reset();
    } catch (...) {
        // Shut down cannot fail in a way the caller could act on.
    }
}

CFRONT_EXPORT int32_t CFRONT_CALL cfront_ordinal_1(int32_t code)
{
    return guarded(1, 0, [&](StandIn& s) { s.allowError(code); return 1; });
}

CFRONT_EXPORT int32_t CFRONT_CALL cfront_ordinal_5(char* server, char* net_type)
{
    return guarded(5, 0, [&](StandIn& s) {
        s.connectServer(requiredText(server, "server name"), requiredText(net_type, "network type"));
        return 1;
    });
}

CFRONT_EXPORT int32_t CFRONT_CALL cfront_ordinal_7(char* name, int32_t, int32_t)
{
    return guarded(7, 0, [&](StandIn& s) {
        s.openDatabase(std::string(requiredText(name, "database name")));
        return 1;
    });
}

CFRONT_EXPORT int32_t CFRONT_CALL cfront_ordinal_12(cfront_table** table, int32_t number)
{
    return guarded(12, 0, [&](StandIn& s) {
        if (!table)
            throw CfrontError(CFRONT_ERR_BAD_ARGUMENT, "table handle address is a null pointer");
        *table = nullptr;
        *table = s.openTable(number);
        return 1;
    });
}

CFRONT_EXPORT int32_t CFRONT_CALL cfront_ordinal_14(cfront_table* table)
{
    return guarded(14, 0, [&](StandIn& s) { s.closeTable(table); return 1; });
}

CFRONT_EXPORT int32_t CFRONT_CALL cfront_ordinal_16(cfront_table* table, cfront_record* record, const char* which)
{
    return guarded(16, 0, [&](StandIn& s) {
        g_diagnostics.setError(CFRONT_OK, "");
        return s.find(table, record, requiredText(which, "search text")) ? 1 : 0;
    });
}

CFRONT_EXPORT int16_t CFRONT_CALL cfront_ordinal_17(cfront_table* table, cfront_record* record, int32_t steps)
{
    return guarded(17, int16_t{0}, [&](StandIn& s) {
        g_diagnostics.setError(CFRONT_OK, "");
        return s.next(table, record, steps);
    });
}

CFRONT_EXPORT int32_t CFRONT_CALL cfront_ordinal_30(cfront_table* table, int32_t field, char* filter, int32_t)
{
    return guarded(30, 0, [&](StandIn& s) {
        s.setFilter(table, field, requiredText(filter, "filter text"));
        return 1;
    });
}

CFRONT_EXPORT void* CFRONT_CALL cfront_ordinal_42(cfront_table* table, cfront_record* record, int32_t field)
{
    return guarded(42, static_cast<void*>(nullptr), [&](StandIn& s) { return s.fieldValue(table, record, field); });
}

CFRONT_EXPORT int32_t CFRONT_CALL cfront_ordinal_52(char* user, char* password)
{
    return guarded(52, 0, [&](StandIn& s) {
        s.login(requiredText(user, "user"), requiredText(password, "password"));
        return 1;
    });
}

CFRONT_EXPORT cfront_record* CFRONT_CALL cfront_ordinal_65(cfront_table* table)
{
    return guarded(65, static_cast<cfront_record*>(nullptr), [&](StandIn& s) { return s.newRecord(table); });
}

CFRONT_EXPORT int32_t CFRONT_CALL cfront_ordinal_66(cfront_record* record)
{
    return guarded(66, 0, [&](StandIn& s) { s.freeRecord(record); return 1; });
}

CFRONT_EXPORT int32_t CFRONT_CALL cfront_ordinal_75(int32_t* date, char* text)
{
    return guarded(75, 0, [&](StandIn&) { return textToValue(date, text, cfront::textToDate); });
}

CFRONT_EXPORT int32_t CFRONT_CALL cfront_ordinal_76(char* buffer, int32_t size, int32_t date)
{
    return guarded(76, 0, [&](StandIn&) { return valueToText(buffer, size, date, cfront::dateToText); });
}

CFRONT_EXPORT int32_t CFRONT_CALL cfront_ordinal_77(int32_t* time, char* text)
{
    return guarded(77, 0, [&](StandIn&) { return textToValue(time, text, cfront::textToTime); });
}

CFRONT_EXPORT int32_t CFRONT_CALL cfront_ordinal_78(char* buffer, int32_t size, int32_t time)
{
    return guarded(78, 0, [&](StandIn&) { return valueToText(buffer, size, time, cfront::timeToText); });
}

CFRONT_EXPORT int32_t CFRONT_CALL cfront_ordinal_88(char* path)
{
    return guarded(88, 0, [&](StandIn& s) { s.setProgramPath(requiredText(path, "program path")); return 1; });
}

CFRONT_EXPORT int32_t CFRONT_CALL cfront_ordinal_89(char* path)
{
    return guarded(89, 0, [&](StandIn& s) { s.setLicenceFile(requiredText(path, "licence file")); return 1; });
}

CFRONT_EXPORT int32_t CFRONT_CALL cfront_ordinal_112(char* buffer, int32_t size)
{
    try {
        std::lock_guard<std::mutex> lock(g_mutex);
        copyTruncated(buffer, size, g_diagnostics.lastErrorText);
        return g_diagnostics.lastError;
    } catch (...) {
        return CFRONT_ERR_INTERNAL;
    }
}

CFRONT_EXPORT int32_t CFRONT_CALL cfront_ordinal_113(cfront_notice_fn notice, void* context)
{
    return guarded(113, 0, [&](StandIn& s) { s.setWaitNotice(notice, context); return 1; });
}

CFRONT_EXPORT int32_t cfront_last_error(char* buffer, int32_t size)
{
    return cfront_ordinal_112(buffer, size);
}

CFRONT_EXPORT int32_t cfront_call_trace(char* buffer, int32_t size)
{
    try {
        std::lock_guard<std::mutex> lock(g_mutex);
        return copyTruncated(buffer, size, g_diagnostics.trace);
    } catch (...) {
        return 0;
    }
}

} // extern "C"
