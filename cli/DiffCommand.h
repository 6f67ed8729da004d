#pragma once

#include <ostream>
#include <string>
#include <vector>

// quellix-cli diff EXPORT_A EXPORT_B [--noise] [--unified] [--fail-on-changes] [--format tsv|json]
// [--ansi] [--oem 850|437]: the comparison of two exports. Returns the exit status: 0, 1 when an
// export cannot be read or holds no object, 2 for a usage error, 3 with --fail-on-changes when
// rows remain.
int runDiff(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
