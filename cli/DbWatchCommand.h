#pragma once

#include <atomic>
#include <ostream>
#include <string>
#include <vector>

// quellix-cli db-watch --server S --net tcp|netb --program-path DIR [--user U]
//                      [--interval SECONDS] [--count N] [--log FILE] [--sessions] [--oem 850|437]
//                      [--format tsv|json]
// The session watch without a window. Checks at start that the database can be reached (exit 1
// with a one-line message when not), then runs a request pair every interval (20 seconds by
// default, 5 to 3600): each changed object is printed as a row of the changed-objects list's
// cells (heading line first, every cell cut to 250 bytes, CR LF pairs removed, a TAB after each,
// "\n" after each row, UTF-8), flushed after each request. With --sessions each request also
// prints the sessions table (its heading line, then its rows); the changed-objects heading then
// opens every request's rows, so the two tables stay apart. --format json writes JSON Lines
// instead: one document a line, flushed, at the start ("request": 0, no rows) and after every
// request ("request": 1, 2, ...), holding that request's new rows (with --sessions as the lists
// "changed-objects" and "sessions" under "analyses"); no sarif, the rows are changes, not
// findings. Stops after N request pairs, or when stop becomes true (SIGINT and SIGTERM set it),
// and appends the collected rows to the log file as the watch's Stop does. Refused logins during the watch go to err as one line each. The
// password comes from QUELLIX_DB_PASSWORD, else from a prompt when standard input is a terminal.
// Returns 0; 1 when the database cannot be reached at start or the log cannot be written; 2
// with a usage text for bad arguments.
int runDbWatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               const std::atomic<bool>& stop);

// runDbWatch with stop set by SIGINT or SIGTERM.
int runDbWatchUntilSignal(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
