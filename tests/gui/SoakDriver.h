#pragma once

#include <wx/string.h>

#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

// The soak's random driver: one table of the commands an impatient user gives (open exports and
// the other views, start and stop jobs, open rows, sort, search, resize, close and reopen views),
// each with its weight, drawn from a seeded generator so a failing seed can be run again.
namespace soak {

struct World;

struct Command {
    const char* name;
    int weight;
    // Acts on the program as it is now; false when the command does not fit (no such view).
    bool (*run)(World& world);
};

// The table the driver draws from.
const std::vector<Command>& commands();

// Runs commands drawn from seed for the given seconds, on the test's event loop.
class Driver {
public:
    explicit Driver(unsigned seed);
    ~Driver();
    void run(int seconds);
    struct Acted {
        long count = 0;
        long longestMs = 0; // the longest the event loop waited for one of them
    };
    // How often each command acted, by name; and how many were drawn in all (those that did not
    // fit included).
    const std::map<std::string, Acted>& acted() const { return m_acted; }
    long draws() const { return m_draws; }
    int dialogsClosed() const;

private:
    std::unique_ptr<World> m_world;
    std::map<std::string, Acted> m_acted;
    long m_draws = 0;
};

} // namespace soak
