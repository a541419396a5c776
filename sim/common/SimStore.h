#pragma once
// Storage of a stand-in printer: one SQLite database holding the whole printer state as one JSON
// document, and two append-only logs (the journal of calls and the paper roll). Every call of
// an entry point runs in one transaction, so a process that dies mid-call leaves the state of the
// last complete call, and several processes may share one printer.
#include <string>
#include <vector>

struct sqlite3;

namespace orb::sim {

class SimStore {
public:
    SimStore() = default;
    ~SimStore();
    SimStore(const SimStore&) = delete;
    SimStore& operator=(const SimStore&) = delete;

    // Opens the database (":memory:" keeps one in-process database for as long as it stays
    // open). Reopening the same path keeps the connection. Throws std::runtime_error, also for a
    // file that exists and is empty: a printer's memory is never silently lost, so only a reset
    // (`forReset`) may start such a file afresh.
    void Open(const std::string& path, bool forReset = false);
    void Close();
    const std::string& Path() const { return path_; }
    bool InMemory() const { return path_ == ":memory:"; }

    void Begin();  // an immediate transaction: other processes wait for it
    void Commit();
    void Rollback() noexcept;

    // The state document; empty when none was saved yet.
    std::string LoadState();
    void SaveState(const std::string& json);

    // The logs: "journal" and "roll".
    void Append(const char* log, const std::string& text);
    std::vector<std::string> Read(const char* log);
    void Clear(const char* log);

private:
    void Exec(const char* sql);
    sqlite3* db_ = nullptr;
    std::string path_;
};

// The database file of a stand-in: the value of `key` in the system folder's Bemafi32.ini (any
// section; a relative name is taken beside the file; ":memory:" as it stands), else
// `defaultName` beside it.
std::string StateFileFromIni(const char* key, const char* defaultName);
// A file beside the database: its name with the extension replaced by suffix ("" for memory).
std::string SideFile(const std::string& databasePath, const char* suffix);

}  // namespace orb::sim
