#include "common/SimStore.h"

#include <sqlite3.h>

#include <filesystem>
#include <stdexcept>

#include "common/SimText.h"
#include "platform/Platform.h"

namespace orb::sim {

namespace {

class Statement {
public:
    Statement(sqlite3* db, const std::string& sql) : db_(db) {
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt_, nullptr) != SQLITE_OK)
            throw std::runtime_error(std::string("printer storage: ") + sqlite3_errmsg(db));
    }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    void Bind(int index, const std::string& text) {
        sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    }
    bool Step() {
        int rc = sqlite3_step(stmt_);
        if (rc == SQLITE_ROW) return true;
        if (rc == SQLITE_DONE) return false;
        throw std::runtime_error(std::string("printer storage: ") + sqlite3_errmsg(db_));
    }
    std::string Text(int column) {
        auto p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
        return p ? std::string(p, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column))) : std::string();
    }

private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

std::string LogTable(const char* log) {
    std::string name(log);
    if (name != "journal" && name != "roll") throw std::invalid_argument("unknown log " + name);
    return name;
}

}  // namespace

SimStore::~SimStore() { Close(); }

void SimStore::Open(const std::string& path, bool forReset) {
    if (db_ && path == path_) return;
    Close();
    std::error_code ignored;
    if (!forReset && path != ":memory:" && std::filesystem::exists(path, ignored) &&
        std::filesystem::file_size(path, ignored) == 0)
        throw std::runtime_error("printer storage " + path +
                                 " is empty: the printer's memory is lost; a reset makes a factory-fresh printer");
    if (sqlite3_open(path.c_str(), &db_) != SQLITE_OK) {
        std::string message = db_ ? sqlite3_errmsg(db_) : "out of memory";
        Close();
        throw std::runtime_error("printer storage " + path + ": " + message);
    }
    path_ = path;
    sqlite3_busy_timeout(db_, 10000);
    // Each entry-point call is one transaction. In WAL mode with NORMAL syncing a committed call
    // survives the death of the host process, which is what a printer keeping an open coupon
    // across a host crash needs; only a power cut of the computer may lose the last calls.
    Exec("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;");
    Exec(
        "CREATE TABLE IF NOT EXISTS state (id INTEGER PRIMARY KEY CHECK (id = 1), doc TEXT NOT NULL);"
        "CREATE TABLE IF NOT EXISTS journal (seq INTEGER PRIMARY KEY AUTOINCREMENT, text TEXT NOT NULL);"
        "CREATE TABLE IF NOT EXISTS roll (seq INTEGER PRIMARY KEY AUTOINCREMENT, text TEXT NOT NULL);");
}

void SimStore::Close() {
    if (db_) sqlite3_close(db_);
    db_ = nullptr;
    path_.clear();
}

void SimStore::Exec(const char* sql) {
    if (!db_) throw std::runtime_error("printer storage is not open");
    char* error = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        std::string message = error ? error : "unknown error";
        sqlite3_free(error);
        throw std::runtime_error("printer storage: " + message);
    }
}

void SimStore::Begin() { Exec("BEGIN IMMEDIATE"); }
void SimStore::Commit() { Exec("COMMIT"); }
void SimStore::Rollback() noexcept {
    if (db_ && !sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

std::string SimStore::LoadState() {
    Statement st(db_, "SELECT doc FROM state WHERE id = 1");
    return st.Step() ? st.Text(0) : std::string();
}

void SimStore::SaveState(const std::string& json) {
    Statement st(db_, "INSERT OR REPLACE INTO state (id, doc) VALUES (1, ?1)");
    st.Bind(1, json);
    st.Step();
}

void SimStore::Append(const char* log, const std::string& text) {
    Statement st(db_, "INSERT INTO " + LogTable(log) + " (text) VALUES (?1)");
    st.Bind(1, text);
    st.Step();
}

std::vector<std::string> SimStore::Read(const char* log) {
    Statement st(db_, "SELECT text FROM " + LogTable(log) + " ORDER BY seq");
    std::vector<std::string> rows;
    while (st.Step()) rows.push_back(st.Text(0));
    return rows;
}

void SimStore::Clear(const char* log) {
    Statement st(db_, "DELETE FROM " + LogTable(log));
    st.Step();
}

std::string StateFileFromIni(const char* key, const char* defaultName) {
    std::string folder = platform::SystemDirectory();
    std::string contents;
    std::string wanted = UpperCp1252(key);
    if (platform::ReadFile(platform::JoinPath(folder, "Bemafi32.ini"), contents)) {
        std::size_t start = 0;
        while (start < contents.size()) {
            std::size_t end = contents.find('\n', start);
            if (end == std::string::npos) end = contents.size();
            std::string line = contents.substr(start, end - start);
            start = end + 1;
            std::size_t eq = line.find('=');
            if (eq == std::string::npos || UpperCp1252(Trim(line.substr(0, eq))) != wanted) continue;
            std::string value = Trim(line.substr(eq + 1));
            if (value.empty()) break;
            if (value == ":memory:") return value;
            bool absolute = value[0] == '/' || value[0] == '\\' || (value.size() > 1 && value[1] == ':');
            return absolute ? platform::NativePath(value) : platform::JoinPath(folder, platform::NativePath(value));
        }
    }
    return platform::JoinPath(folder, defaultName);
}

std::string SideFile(const std::string& databasePath, const char* suffix) {
    if (databasePath.empty() || databasePath == ":memory:") return std::string();
    std::size_t slash = databasePath.find_last_of("/\\");
    std::size_t dot = databasePath.find_last_of('.');
    std::string stem = dot != std::string::npos && (slash == std::string::npos || dot > slash)
                           ? databasePath.substr(0, dot)
                           : databasePath;
    return stem + suffix;
}

}  // namespace orb::sim
