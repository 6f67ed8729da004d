#pragma once

#include "store/Database.h"
#include "store/Records.h"

#include <string>

// A session held open by cfront-db for the session watch and its tests.
namespace cfront {

// Adds a Session row for user (OEM bytes) with this process's host and ID, prints
// "session <ID>" on standard output, then for holdSeconds raises the row's counters evenly from
// 0 to target (found and searched both follow target.found). The row is removed at the end, and
// also when SIGINT or SIGTERM ends the hold early. Returns the exit status.
int holdSession(Database& db, const std::string& user, int64_t holdSeconds, const SessionCounters& target);

} // namespace cfront
