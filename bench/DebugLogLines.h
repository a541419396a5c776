#pragma once
// The module's debug log as entries, and the floor its writing sets: the same entries appended
// one by one, each with its own open, write and close, and nothing else.
#include <string>
#include <string_view>
#include <vector>

namespace orb::bench {

// True when a physical line begins an entry: "dd/mm/yyyy hh:nn:ss - ".
bool StartsLogEntry(std::string_view line);

// The entries of a log's contents, each with its line end; a line that does not begin an entry
// (the second line of a printer's answer) belongs to the entry before it.
std::vector<std::string> SplitLogEntries(std::string_view contents);

// The entries of the log file at path (none when the file does not exist).
std::vector<std::string> ReadLogEntries(const std::string& path);

// Appends every entry to path, opening and closing the file for each, as the per-call log does.
// Raises std::runtime_error when the file cannot be opened or written.
void AppendEachEntry(const std::string& path, const std::vector<std::string>& entries);

}  // namespace orb::bench
