// Date and time texts under every locale rule of the result list's date parser.
#include "results/DateParse.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (DateStyle style : {DateStyle::IsoOnly, DateStyle::DayMonthDot, DateStyle::MonthDaySlash, DateStyle::DayMonthSlash}) {
        double value = 0;
        if (parseDateTime(text, value, style) && !std::isfinite(value))
            std::abort();
    }
    return 0;
}
