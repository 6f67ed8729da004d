// A regular expression and a subject from the input: compile, then every match from the start
// as the text search walks them, under a small step budget and under the default one.
#include "FuzzSupport.h"

#include "analysis/PatternMatcher.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 64 * 1024)
        return 0;
    fuzz::CInput input(data, size);
    const std::uint8_t options = input.byte();
    const std::string pattern(input.part());
    const std::string_view subject = input.rest();

    CPatternMatcher matcher;
    if (!matcher.compile(pattern))
        return 0;
    // The budget holds for one find; the default one (some ten million steps) is tried on the
    // first few matches only, so that the harness stays within libFuzzer's time limit.
    const bool defaultBudget = (options & 1) != 0;
    matcher.setStepBudget(defaultBudget ? 0 : 20000);
    const int length = static_cast<int>(subject.size());
    int found = 0;
    for (int start = 0; start <= length && found < (defaultBudget ? 3 : 200); ++found) {
        const int at = matcher.find(subject.data(), length, start);
        if (at < 0)
            break;
        // A match lies in the subject, its groups in the match.
        if (at < start || matcher.groupEnd(0) > length || matcher.groupStart(0) != at || matcher.matchText() == nullptr)
            std::abort();
        for (int g = 1; g <= CPatternMatcher::kMaxGroups; ++g)
            if (matcher.groupStart(g) >= 0 && (matcher.groupStart(g) < at || matcher.groupEnd(g) > matcher.groupEnd(0)))
                std::abort();
        start = std::max(at + 1, matcher.groupEnd(0));
    }
    return 0;
}
