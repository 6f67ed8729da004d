// The stand-in C/FRONT's side of untrusted text: an export's bytes imported into Object table rows
// under every date order, lenient or strict, and filter texts for every field of the Object table
// (and the Session table), plus the date and time texts of its codec.
#include "FuzzSupport.h"

#include "admin/ExportImport.h"
#include "store/DateTimeCodec.h"
#include "store/Tables.h"

#include <cstdlib>
#include <optional>
#include <sstream>

namespace {

void importExport(std::string_view bytes, std::uint8_t choice)
{
    cfront::ImportOptions options;
    switch (choice % 4) {
    case 1: options.dateOrder = cfront::DateOrder::DayMonthYear; break;
    case 2: options.dateOrder = cfront::DateOrder::MonthDayYear; break;
    case 3: options.dateOrder = cfront::DateOrder::YearMonthDay; break;
    default: break;
    }
    options.lenient = (choice & 4) != 0;
    options.today = 20261231;
    std::istringstream in{std::string(bytes)};
    cfront::importExport(in, options, [](const cfront::ObjectRow&) {});
}

void parseFilters(std::string_view text)
{
    for (std::int32_t table : {2000000001, 2000000009}) {
        const cfront::TableDef* def = cfront::findTableDef(table);
        if (def == nullptr)
            std::abort();
        for (const cfront::FieldDef& field : def->fields) {
            cfront::FieldFilter filter;
            std::string reason;
            if (!cfront::parseFilter(field.kind, text, filter, reason) && reason.empty())
                std::abort(); // a refused filter always says why
        }
    }
}

void codecTexts(std::string_view text)
{
    std::int32_t value = 0;
    if (cfront::textToDate(text, value))
        cfront::dateToText(value);
    if (cfront::textToTime(text, value))
        cfront::timeToText(value);
    cfront::parseDayMonthYear(text, value);
    cfront::parseHoursMinutesSeconds(text, value);
    if (const auto date = cfront::splitExportDate(text))
        for (auto order : {cfront::DateOrder::DayMonthYear, cfront::DateOrder::MonthDayYear, cfront::DateOrder::YearMonthDay})
            cfront::exportDate(*date, order);
    cfront::exportTime(text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 256 * 1024)
        return 0;
    fuzz::CInput input(data, size);
    const std::uint8_t choice = input.byte();
    if ((choice & 8) != 0) {
        const std::string_view text = input.part();
        parseFilters(text);
        codecTexts(text);
    }
    importExport(input.rest(), choice);
    return 0;
}
