// Date and time texts under every locale rule of the result list's date parser.
#include "results/DateParse.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    double iso = 0;
    const bool isoAccepted = parseDateTime(text, iso, DateStyle::IsoOnly);
    for (DateStyle style : {DateStyle::DayMonthDot, DateStyle::MonthDaySlash, DateStyle::DayMonthSlash}) {
        double value = 0;
        const bool accepted = parseDateTime(text, value, style);
        if (accepted && !std::isfinite(value))
            std::abort();
        // ISO dates and plain times read the same under every locale.
        if (isoAccepted && (!accepted || value != iso))
            std::abort();
    }
    return 0;
}
