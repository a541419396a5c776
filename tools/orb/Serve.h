#pragma once
// `orb serve`: the module as a service for a host written in another language. One request per
// line comes in; one reply line goes out for each, in order, flushed at once; the module and the
// printer stay loaded between requests, as in a host process.
#include <iosfwd>

namespace orb::cli {

struct ServeOutcome {
    int replies = 0;
    int errors = 0;           // replies that carried "error"
    bool outputLost = false;  // the reader went away: the service stopped
};

// Serves until the input ends. Blank lines are skipped; a line that is not JSON is answered with
// {"error"} and the service goes on. A byte-order mark before the first request is skipped.
ServeOutcome Serve(std::istream& in, std::ostream& out);

}  // namespace orb::cli
