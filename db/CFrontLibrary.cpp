#include "db/CFrontLibrary.h"

#include <cstring>
#include <vector>

namespace {

// A writable, zero-terminated copy of text of at least minimum bytes.
std::vector<char> textBuffer(const std::string& text, size_t minimum)
{
    std::vector<char> buffer(std::max(minimum, text.size() + 1), '\0');
    std::memcpy(buffer.data(), text.data(), text.size());
    return buffer;
}

const size_t kTextBufferSize = 50;
const size_t kLicenceBufferSize = 250;

} // namespace

CFrontLibrary::CFrontLibrary()
{
    m_library.setOrdinalPrefix("cfront_ordinal_");
}

CFrontLibrary& CFrontLibrary::instance()
{
    static CFrontLibrary library;
    return library;
}

std::string CFrontLibrary::libraryFilePath(const std::string& programPath)
{
    return CDynamicLibrary::libraryPath(programPath, "cfront", "cfront");
}

int CFrontLibrary::Load(const std::string& programPath)
{
    Unload();
    if (!m_library.open(libraryFilePath(programPath)))
        return m_library.lastErrorCode();
    m_ordinals[3] = m_library.ordinal(3);
    if (!m_ordinals[3]) {
        m_ordinals.fill(nullptr);
        return -1;
    }
    function<cfront_void_fn>(3)();
    for (int n = 1; n < static_cast<int>(m_ordinals.size()); ++n) {
        if (n == 3 || n == 4)
            continue;
        m_ordinals[static_cast<size_t>(n)] = m_library.ordinal(n);
        if (!m_ordinals[static_cast<size_t>(n)]) {
            m_ordinals.fill(nullptr);
            return -1;
        }
    }
    m_lastError = m_library.ordinal(112);
    m_setNotice = m_library.ordinal(113);
    return 0;
}

void CFrontLibrary::Unload()
{
    if (m_library.isOpen()) {
        if (auto shutDown = reinterpret_cast<cfront_void_fn>(m_library.ordinal(4)))
            shutDown();
    }
    m_ordinals.fill(nullptr);
    m_lastError = nullptr;
    m_setNotice = nullptr;
    m_notice = nullptr;
    m_library.close();
}

void CFrontLibrary::setProgramPath(const std::string& path)
{
    if (auto call = function<cfront_set_path_fn>(88))
        call(textBuffer(path, kTextBufferSize).data());
}

void CFrontLibrary::setLicenceFile(const std::string& path)
{
    if (auto call = function<cfront_set_path_fn>(89))
        call(textBuffer(path, kLicenceBufferSize).data());
}

void CFrontLibrary::connectServer(const std::string& server, const std::string& netType)
{
    if (auto call = function<cfront_connect_fn>(5))
        call(textBuffer(server, kTextBufferSize).data(), textBuffer(netType, kTextBufferSize).data());
}

void CFrontLibrary::openDatabase(const std::string& name)
{
    if (auto call = function<cfront_open_database_fn>(7))
        call(textBuffer(name, kTextBufferSize).data(), 8000, 8000);
}

int32_t CFrontLibrary::login(const std::string& user, const std::string& password)
{
    auto call = function<cfront_login_fn>(52);
    return call ? call(textBuffer(user, kTextBufferSize).data(), textBuffer(password, kTextBufferSize).data()) : 0;
}

cfront_table* CFrontLibrary::openTable(int32_t number)
{
    cfront_table* table = nullptr;
    if (auto call = function<cfront_open_table_fn>(12))
        call(&table, number);
    return table;
}

void CFrontLibrary::closeTable(cfront_table* table)
{
    if (auto call = function<cfront_close_table_fn>(14))
        call(table);
}

bool CFrontLibrary::setFilter(cfront_table* table, int32_t field, const std::string& filter, size_t bufferSize)
{
    auto call = function<cfront_set_filter_fn>(30);
    return call && call(table, field, textBuffer(filter, bufferSize).data(), 0) != 0;
}

cfront_record* CFrontLibrary::newRecord(cfront_table* table)
{
    auto call = function<cfront_new_record_fn>(65);
    return call ? call(table) : nullptr;
}

void CFrontLibrary::freeRecord(cfront_record* record)
{
    if (auto call = function<cfront_free_record_fn>(66))
        call(record);
}

void CFrontLibrary::allowError(int32_t code)
{
    if (auto call = function<cfront_allow_error_fn>(1))
        call(code);
}

bool CFrontLibrary::findFirst(cfront_table* table, cfront_record* record)
{
    auto call = function<cfront_find_fn>(16);
    return call && call(table, record, "-") != 0;
}

int16_t CFrontLibrary::next(cfront_table* table, cfront_record* record, int32_t steps)
{
    auto call = function<cfront_next_fn>(17);
    return call ? call(table, record, steps) : int16_t{0};
}

int32_t CFrontLibrary::fieldInteger(cfront_table* table, cfront_record* record, int32_t field)
{
    auto call = function<cfront_field_fn>(42);
    const void* address = call ? call(table, record, field) : nullptr;
    int32_t value = 0;
    if (address)
        std::memcpy(&value, address, sizeof value);
    return value;
}

std::string CFrontLibrary::fieldText(cfront_table* table, cfront_record* record, int32_t field)
{
    auto call = function<cfront_field_fn>(42);
    const void* address = call ? call(table, record, field) : nullptr;
    return address ? std::string(static_cast<const char*>(address)) : std::string();
}

std::string CFrontLibrary::dateToText(int32_t date)
{
    char buffer[kTextBufferSize] = {};
    if (auto call = function<cfront_value_to_text_fn>(76))
        call(buffer, static_cast<int32_t>(sizeof buffer), date);
    buffer[sizeof buffer - 1] = '\0';
    return buffer;
}

int32_t CFrontLibrary::textToDate(const std::string& text)
{
    int32_t date = 0;
    if (auto call = function<cfront_text_to_value_fn>(75))
        call(&date, textBuffer(text, kTextBufferSize).data());
    return date;
}

std::string CFrontLibrary::timeToText(int32_t time)
{
    char buffer[kTextBufferSize] = {};
    if (auto call = function<cfront_value_to_text_fn>(78))
        call(buffer, static_cast<int32_t>(sizeof buffer), time);
    buffer[sizeof buffer - 1] = '\0';
    return buffer;
}

int32_t CFrontLibrary::textToTime(const std::string& text)
{
    int32_t time = 0;
    if (auto call = function<cfront_text_to_value_fn>(77))
        call(&time, textBuffer(text, kTextBufferSize).data());
    return time;
}

int32_t CFrontLibrary::lastError(std::string* reason)
{
    char buffer[1024] = {};
    int32_t code = 0;
    if (auto call = reinterpret_cast<cfront_last_error_fn>(m_lastError))
        code = call(buffer, static_cast<int32_t>(sizeof buffer));
    buffer[sizeof buffer - 1] = '\0';
    if (reason)
        *reason = buffer;
    return code;
}

std::string CFrontLibrary::failureReason(const std::string& fallback)
{
    std::string reason;
    lastError(&reason);
    return reason.empty() ? fallback : reason;
}

std::string CFrontLibrary::readFailure()
{
    std::string reason;
    int32_t code = lastError(&reason);
    if (code == CFRONT_OK || code == CFRONT_ERR_RECORD_NOT_FOUND)
        return "";
    return reason.empty() ? "C/FRONT error " + std::to_string(code) : reason;
}

namespace {
// The library's notice callback, in its calling convention (a lambda has the compiler's own):
// context is the notice function it was set with.
void CFRONT_CALL forwardNotice(const char* text, void* context)
{
    const auto* notice = static_cast<const std::function<void(const std::string&)>*>(context);
    if (*notice && text)
        (*notice)(text);
}
} // namespace

void CFrontLibrary::setWaitNotice(std::function<void(const std::string&)> notice)
{
    m_notice = std::move(notice);
    if (auto call = reinterpret_cast<cfront_set_notice_fn>(m_setNotice))
        call(m_notice ? forwardNotice : nullptr, &m_notice);
}
