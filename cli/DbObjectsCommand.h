#pragma once

#include <ostream>
#include <string>
#include <vector>

// quellix-cli db-objects [--server S] [--net tcp|netb|lokal] [--license FILE] [--user U]
//                        [--program-path DIR] [--oem 850|437]
// Prints the Object table of a database as CDatabaseSession::ReadObjectTable reads it: the
// heading "Type", "ID", "Name", "Version", "Date", "Time", then one line per entry; every cell
// followed by a TAB, lines ended by "\n", texts in UTF-8. args are the arguments after
// "db-objects". The password comes from the environment variable QUELLIX_DB_PASSWORD, else
// from a prompt without echo when standard input is a terminal, else it is empty. The program
// path defaults to defaultProgramPath() (db/ProgramPath.h). Every message of the session
// (conversion errors included) goes to err, one line each. Returns 0; 1 when the database cannot
// be read (nothing on out); 2 with a usage text for bad arguments.
int runDbObjects(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
