#pragma once

#include <string>

// What the stand-in asks of the operating system, one file per platform beside this header.
namespace cfront {

// The name of this computer; "" when it cannot be told.
std::string hostName();

// The id of this process.
long processId();

// True when no process with this id runs on this computer (a session left by a killed program).
bool processGone(long long pid);

// Creates path as a new empty file that only its owner may read and write; false with the
// system's reason when it exists or cannot be created.
bool createOwnerOnlyFile(const std::string& path, std::string& reason);

// Writable for this process and carrying a write permission at all (root passes every access
// check; a read-only file on Windows has none).
bool writable(const std::string& path);

// The folder of the library or program file that holds address; "." when it cannot be told.
std::string moduleFolder(const void* address);

} // namespace cfront
