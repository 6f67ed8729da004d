#pragma once

#include <ostream>
#include <string>
#include <vector>

// quellix-cli db-compare --server1 S [--net1 N] [--program-path1 P] [--user1 U] [--license1 L]
//                        --server2 S [--net2 N] [--program-path2 P] [--user2 U] [--license2 L]
//                        [--all-types] [--oem 850|437] [--ansi] [--format tsv|json]
// The object comparison of two databases: the fourteen-column list of the comparison view as
// the list text of quellix-cli, or (--format json) one JSON document of the same cells (no sarif:
// the rows are differences, not findings). args are the arguments after "db-compare". Passwords
// come from QUELLIX_DB1_PASSWORD and QUELLIX_DB2_PASSWORD, else from a prompt without echo when standard
// input is a terminal, else they are empty. Network types default to "tcp", program paths to
// defaultProgramPath() (db/ProgramPath.h). Returns 0; 1 with one line per failure on err and nothing on
// out when a database cannot be read; 2 with a usage text for bad arguments. Date and time
// conversion errors go to err.
int runDbCompare(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
