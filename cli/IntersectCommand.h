#pragma once

#include <ostream>
#include <string>
#include <vector>

// quellix-cli intersect SOURCE1 SOURCE2 TARGET1 TARGET2 [--ignore-noise] [--oem 850|437]
// Writes the two intersection files of the merge view: TARGET1 holds SOURCE1's objects that
// SOURCE2 also has, in SOURCE2's order; TARGET2 holds SOURCE2's objects that SOURCE1 also has, in
// SOURCE1's order. Prints the number of objects written to each target. args are the arguments
// after "intersect". Returns 0; 1 with a one-line message on err when a file cannot be read or
// written; 2 with the usage text for bad arguments.
int runIntersect(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
