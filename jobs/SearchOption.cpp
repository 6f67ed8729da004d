#include "jobs/SearchOption.h"

bool applySearchOption(const std::string& option, bool& caseSensitive, bool& useRegex)
{
    if (option == kSearchOptionNormal) {
        caseSensitive = false;
        useRegex = false;
    } else if (option == kSearchOptionCase) {
        caseSensitive = true;
        useRegex = false;
    } else if (option == kSearchOptionRegex) {
        caseSensitive = true;
        useRegex = true;
    } else {
        return false;
    }
    return true;
}
