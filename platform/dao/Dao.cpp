// Workspaces, databases and recordsets over SQLCipher.
//
// Locking: one connection per file per process, so every write of the process goes through
// one place; a transaction that has written holds SQLite's write lock on the file, and a
// statement of another process that needs it waits the busy timeout (or, with dbSeeChanges,
// not at all) and then fails with 3218 ("Couldn't update; currently locked."). Jet's 3260
// names the user and machine holding the lock, which SQLite cannot tell, so 3218 it is.
// A file that stays locked while it is being opened gives 3045.
#define SQLITE_HAS_CODEC 1
#include "platform/dao/Dao.h"

#include "platform/dao/Criteria.h"
#include "platform/dao/FaultVfs.h"
#include "platform/dao/JetInstrucoes.h"
#include "platform/dao/JetLexer.h"
#include "platform/dao/JetSql.h"
#include "platform/vb/Err.h"
#include "platform/vb/Strings.h"

#include <malloc.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <map>
#include <mutex>

namespace dao {

namespace {

constexpr int kBusyTimeoutMs = 5000;

[[noreturn]] void raise(long number, const std::string& description) {
    throw vb::Error(number, description, "DAO.Database");
}

[[noreturn]] void raiseNotSet() {
    raise(jet::ObjectNotSet, "Object variable or With block variable not set");
}

[[noreturn]] void raiseClosed() { raise(jet::ObjectClosed, "Object invalid or no longer set."); }

bool startsWith(const std::string& s, std::string_view p) { return s.compare(0, p.size(), p) == 0; }

std::string upperAscii(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// SQLite's failure as the Jet error the program expects.
[[noreturn]] void raiseSqlite(sqlite3* db, int rc, const std::string& sql) {
    std::string msg = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    int ext = db ? sqlite3_extended_errcode(db) : rc;
    if (!msg.empty() && msg[0] == '\x01') {   // a VB runtime error raised inside a function
        size_t sep = msg.find('\x01', 1);
        if (sep != std::string::npos) raise(std::stol(msg.substr(1, sep - 1)), msg.substr(sep + 1));
    }
    switch (ext & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED: raise(jet::Locked, "Couldn't update; currently locked.");
    case SQLITE_READONLY: raise(jet::ReadOnly, "Cannot update. Database or object is read-only.");
    case SQLITE_FULL: raise(jet::DiskFull, "Not enough space on disk.");
    case SQLITE_CANTOPEN: {
        // A statement that writes, whose journal the file's folder refused (a data folder
        // made read-only while the program runs): Jet's read-only error, naming the file.
        std::string verb = upperAscii(sql.substr(0, 16));
        verb.erase(0, verb.find_first_not_of(" \t\r\n("));
        const char* file = db ? sqlite3_db_filename(db, "main") : nullptr;
        if (sql.empty() || startsWith(verb, "SELECT") || !file || !*file) break;
        // The folder says why itself; the engine's own note may be that of its retry
        // without creating the journal (ENOENT).
        const std::string name = file;
        const std::string folder = name.substr(0, name.find_last_of('/') + 1);
        const int cause = !folder.empty() && ::access(folder.c_str(), W_OK) != 0 ? errno : sqlite3_system_errno(db);
        raise(jet::ReadOnly, "Cannot update. Database or object is read-only: '" + std::string(file) +
                                 "' cannot be changed, as its folder takes no new file (" +
                                 (cause > 0 ? std::strerror(cause) : "the journal could not be created") + ").");
    }
    case SQLITE_NOTADB: raise(jet::NotValidPassword, "Not a valid password.");
    case SQLITE_CONSTRAINT:
        if (ext == SQLITE_CONSTRAINT_UNIQUE || ext == SQLITE_CONSTRAINT_PRIMARYKEY)
            raise(jet::DuplicateKey,
                  "The changes you requested to the table were not successful because they would "
                  "create duplicate values in the index, primary key, or relationship.");
        if (ext == SQLITE_CONSTRAINT_NOTNULL) {
            std::string field = msg.substr(msg.find(':') == std::string::npos ? 0 : msg.find(':') + 2);
            raise(jet::NullNotAllowed, "The field '" + field +
                                           "' cannot contain a Null value because the Required "
                                           "property for this field is set to True.");
        }
        if (long number = 0; ext == SQLITE_CONSTRAINT_CHECK) {
            std::string description;
            if (detail::ErroDeRestricao(msg, number, description)) raise(number, description);
        }
        if (msg.find("zk_len_") != std::string::npos)
            raise(jet::FieldTooSmall,
                  "The field is too small to accept the amount of data you attempted to add.");
        raise(jet::ReservedError, msg);
    default: break;
    }
    if (startsWith(msg, "no such table: ")) {
        std::string name = msg.substr(15);
        if (startsWith(upperAscii(sql), "DROP TABLE"))
            raise(jet::TableNotFoundToDrop, "Table '" + name + "' does not exist.");
        raise(jet::NoSuchTable, "The database engine cannot find the input table or query '" + name +
                                    "'. Make sure it exists and that its name is spelled correctly.");
    }
    if (startsWith(msg, "table ") && msg.size() > 21 &&
        msg.compare(msg.size() - 15, 15, " already exists") == 0) {
        std::string name = msg.substr(6, msg.size() - 21);
        if (name.size() >= 2 && (name.front() == '"' || name.front() == '[' || name.front() == '`'))
            name = name.substr(1, name.size() - 2);
        raise(jet::TableExists, "Table '" + name + "' already exists.");
    }
    if (startsWith(msg, "no such column: ")) raise(jet::TooFewParameters, msg);
    if (msg.find("syntax error") != std::string::npos || startsWith(msg, "incomplete input"))
        raise(jet::SyntaxError, msg);
    if (startsWith(msg, "no such function: ")) raise(jet::UndefinedFunction, "Undefined function '" + msg.substr(18) + "' in expression.");
    raise(jet::ReservedError, msg);
}

struct Statement {
    sqlite3_stmt* s = nullptr;
    ~Statement() { sqlite3_finalize(s); }
};

}  // namespace

// ---- shared state ----------------------------------------------------------------------

struct Frame {
    std::uint64_t id;
    bool savepoint;
};

struct ConnectionState {
    sqlite3* db = nullptr;
    std::string path;       // canonical
    std::string password;
    bool writable = false;
    std::vector<Frame> frames;   // open transactions, innermost last

    ~ConnectionState() {
        // Closing rolls back what is still open.
        if (db) sqlite3_close_v2(db);
    }

    void exec(const std::string& sql) {
        char* err = nullptr;
        int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err);
        sqlite3_free(err);
        if (rc != SQLITE_OK) raiseSqlite(db, rc, sql);
    }

    // SQLite may end a transaction by itself (a failed COMMIT keeps it; some errors do not).
    void syncFrames() {
        if (!frames.empty() && sqlite3_get_autocommit(db)) frames.clear();
    }

    long indexOf(std::uint64_t id) const {
        for (size_t i = 0; i < frames.size(); ++i)
            if (frames[i].id == id) return static_cast<long>(i);
        return -1;
    }

    // Rolls back frame idx and every frame above it.
    void rollbackFrom(long idx) {
        if (idx < 0) return;
        const Frame& f = frames[static_cast<size_t>(idx)];
        if (!f.savepoint) {
            exec("ROLLBACK");
        } else {
            std::string sp = "zk_sp_" + std::to_string(f.id);
            exec("ROLLBACK TO " + sp);
            exec("RELEASE " + sp);
        }
        frames.erase(frames.begin() + idx, frames.end());
    }
};

struct DatabaseState {
    std::shared_ptr<ConnectionState> conn;
    std::shared_ptr<WorkspaceState> workspace;   // a database keeps its workspace alive
    std::string name;
    std::string connect;
    bool readOnly = false;
    bool open = true;
    long affected = 0;
};

struct WorkspaceState {
    std::string name;
    std::string user;
    bool open = true;
    std::vector<std::weak_ptr<DatabaseState>> databases;
    struct Level {
        std::vector<std::pair<std::shared_ptr<ConnectionState>, std::uint64_t>> frames;
    };
    std::vector<Level> levels;

    // Abandons the open transactions (with whatever nests above them) and closes the databases.
    void closeAll() noexcept {
        while (!levels.empty()) {
            for (auto& [c, id] : levels.back().frames) {
                try {
                    c->syncFrames();
                    c->rollbackFrom(c->indexOf(id));
                } catch (...) {
                    // Rolling back cannot be refused; a failure leaves SQLite to roll back on close.
                }
            }
            levels.pop_back();
        }
        for (auto& weak : databases)
            if (auto d = weak.lock()) {
                d->open = false;
                d->conn.reset();
            }
        databases.clear();
        open = false;
    }

    // The last handle gone is a Close, as releasing the last reference to a workspace was.
    ~WorkspaceState() { closeAll(); }
};

// The rows of a statement that ran to its end. A list of thousands of rows costs a few
// allocations: one small cell per value, the texts side by side, both in blocks that stay
// below the allocator's threshold for memory of their own, so that a list that comes and
// goes on every keystroke reuses the process's memory instead of asking the system for it
// again. A value becomes a Variant when it is read.
struct RowSet {
    struct Cell {
        vb::VarType type = vb::VarType::Null;
        std::uint32_t length = 0;   // of a text
        union {
            std::int64_t whole;     // Long, Integer, Byte, Boolean
            double real;            // Double, Date
            const char* text;       // String
        };
        Cell() : whole(0) {}
    };
    static constexpr std::size_t kCellsPerBlock = 2048;   // 32 KiB
    static constexpr std::size_t kTextBlock = 32 * 1024;

    std::uint64_t generation = 0;
    std::vector<std::string> names;
    long count = 0;

    Cell& newCell() {
        if (cellsUsed_ % kCellsPerBlock == 0) cells_.push_back(std::make_unique<Cell[]>(kCellsPerBlock));
        return cells_.back()[cellsUsed_++ % kCellsPerBlock];
    }

    const char* keepText(const char* p, std::size_t n) {
        if (n > textFree_) {
            const std::size_t size = std::max(n, kTextBlock);
            texts_.push_back(std::make_unique<char[]>(size));
            textNext_ = texts_.back().get();
            textFree_ = size;
        }
        char* at = textNext_;
        if (n) std::memcpy(at, p, n);
        textNext_ += n;
        textFree_ -= n;
        return at;
    }

    vb::Variant value(long row, std::size_t field) const {
        const std::size_t i = static_cast<std::size_t>(row) * names.size() + field;
        const Cell& c = cells_[i / kCellsPerBlock][i % kCellsPerBlock];
        switch (c.type) {
        case vb::VarType::Null: return vb::Variant::Null();
        case vb::VarType::Boolean: return vb::Variant(c.whole != 0);
        case vb::VarType::Byte: return vb::Variant::Byte(static_cast<std::uint8_t>(c.whole));
        case vb::VarType::Integer: return vb::Variant::Integer(static_cast<std::int16_t>(c.whole));
        case vb::VarType::Long: return vb::Variant(static_cast<long>(c.whole));
        case vb::VarType::Date: return vb::Variant::Date(c.real);
        case vb::VarType::String: return vb::Variant(std::string(c.text, c.length));
        default: return vb::Variant(c.real);
        }
    }

private:
    std::vector<std::unique_ptr<Cell[]>> cells_;
    std::size_t cellsUsed_ = 0;
    std::vector<std::unique_ptr<char[]>> texts_;
    char* textNext_ = nullptr;
    std::size_t textFree_ = 0;
};

struct CursorState {
    std::shared_ptr<const RowSet> rows;
    long pos = 0;
    int type = dbOpenDynaset;
    bool noMatch = false;
    bool open = true;
    std::shared_ptr<DatabaseState> db;
    std::string sql;
    int options = 0;
    std::map<int, std::function<void()>> listeners;
    int nextListener = 1;

    long count() const { return rows->count; }
    bool hasCurrent() const { return pos >= 0 && pos < count(); }
    void notify() {
        auto copy = listeners;
        for (auto& [id, f] : copy) f();
    }
};

namespace {

std::mutex& registryMutex() {
    static std::mutex m;
    return m;
}

std::map<std::string, std::weak_ptr<ConnectionState>>& registry() {
    static std::map<std::string, std::weak_ptr<ConnectionState>> r;
    return r;
}

std::atomic<std::uint64_t> nextGeneration{1};
std::atomic<std::uint64_t> nextFrameId{1};

std::string passwordOf(const std::string& connect) {
    // ";pwd=secret;..." — keys are case-insensitive; the value runs to the next ";".
    size_t i = 0;
    while (i <= connect.size()) {
        size_t end = connect.find(';', i);
        if (end == std::string::npos) end = connect.size();
        std::string part = connect.substr(i, end - i);
        size_t eq = part.find('=');
        if (eq != std::string::npos) {
            std::string key = upperAscii(vb::Trim(part.substr(0, eq)));
            if (key == "PWD") return part.substr(eq + 1);
        }
        i = end + 1;
    }
    return {};
}

// A list of thousands of rows, and SQLite's sorting of it, takes megabytes that are freed
// when the list goes. Given back to the system, they return on the next keystroke as fresh
// pages, whose faults cost the list of all products a third of its time: the process keeps
// up to this much freed memory (the largest list takes about a tenth of it).
void KeepListMemory() {
    static const bool once = [] {
        constexpr int kKeptBytes = 64 * 1024 * 1024;
        mallopt(M_TRIM_THRESHOLD, kKeptBytes);
        return true;
    }();
    (void)once;
}

std::shared_ptr<ConnectionState> openConnection(const std::string& path, const std::string& password) {
    // The path's bytes as they stand: a folder's name need not be UTF-8.
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(path, ec);
    if (path.empty() || !std::filesystem::exists(status) || std::filesystem::is_directory(status))
        raise(jet::FileNotFound, "Could not find file '" + path + "'.");
    const std::filesystem::path canonicalPath = std::filesystem::canonical(path, ec);
    if (ec) raise(jet::FileNotFound, "Could not find file '" + path + "'.");
    std::string canonical = canonicalPath.string();

    std::lock_guard<std::mutex> lock(registryMutex());
    auto& reg = registry();
    if (auto it = reg.find(canonical); it != reg.end()) {
        if (auto c = it->second.lock()) {
            if (c->password != password) raise(jet::NotValidPassword, "Not a valid password.");
            return c;
        }
    }
    const std::uintmax_t size = std::filesystem::file_size(canonicalPath, ec);
    const long long fileBytes = ec ? 0 : static_cast<long long>(size);
    if (!ec && size == 0) raise(jet::UnrecognizedFormat, "Unrecognized database format '" + path + "'.");

    KeepListMemory();
    auto c = std::make_shared<ConnectionState>();
    c->path = canonical;
    c->password = password;
    std::string dir = canonicalPath.parent_path().string();
    // Read-write whenever the file allows it, so that every later opening can share the
    // connection: the engine itself opens the file read-only when it refuses writing (no
    // permission, a read-only file system). The folder must take the journal too.
    int rc = sqlite3_open_v2(canonical.c_str(), &c->db, SQLITE_OPEN_READWRITE, FaultVfsName());
    if (rc != SQLITE_OK) raiseSqlite(c->db, rc, {});
    c->writable = sqlite3_db_readonly(c->db, "main") == 0 && ::access(dir.c_str(), W_OK) == 0;
    sqlite3_extended_result_codes(c->db, 1);
    if (!password.empty()) sqlite3_key(c->db, password.data(), static_cast<int>(password.size()));
    sqlite3_busy_timeout(c->db, kBusyTimeoutMs);
    char* err = nullptr;
    rc = sqlite3_exec(c->db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, &err);
    sqlite3_free(err);
    if ((rc & 0xFF) == SQLITE_NOTADB) raise(jet::NotValidPassword, "Not a valid password.");
    if ((rc & 0xFF) == SQLITE_BUSY || (rc & 0xFF) == SQLITE_LOCKED)
        raise(jet::FileInUse, "Could not use '" + path + "'; file already in use.");
    if (rc != SQLITE_OK) raiseSqlite(c->db, rc, {});
    if (c->writable) {
        // Never WAL: the data folder may be a network share. A lock held elsewhere may keep
        // the mode from being set now; the file is in rollback mode already then.
        sqlite3_exec(c->db, "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr);
    }
    // A long transaction (the update lock with the scripts run under it) would otherwise spill
    // its changes into the file once the page cache is full, which takes the exclusive lock
    // and stops every other computer from reading until the commit.
    sqlite3_exec(c->db, "PRAGMA cache_spill=OFF", nullptr, nullptr, nullptr);
    SizePageCache(c->db, fileBytes);
    RegisterJetFunctions(c->db);
    reg[canonical] = c;
    return c;
}

std::shared_ptr<WorkspaceState> newWorkspace(const std::string& name, const std::string& user) {
    auto w = std::make_shared<WorkspaceState>();
    w->name = name;
    w->user = user;
    return w;
}

// Declared types of our DDL (JetSql.cpp) as Variant kinds.
enum class Kind { Plain, Date, Boolean, Byte, Integer };

Kind kindOf(const char* decl) {
    if (!decl) return Kind::Plain;
    std::string d = upperAscii(decl);
    if (d.find("DATETIME") != std::string::npos || d == "DATE") return Kind::Date;
    if (d.find("YESNO") != std::string::npos || d == "BOOLEAN" || d == "BIT") return Kind::Boolean;
    if (d.find("TINYINT") != std::string::npos) return Kind::Byte;
    if (d.find("SMALLINT") != std::string::npos) return Kind::Integer;
    return Kind::Plain;
}

// One value of the current row, as the Variant kind its column's declared type asks for.
void readValue(sqlite3_stmt* s, int col, Kind kind, RowSet& rs) {
    RowSet::Cell& c = rs.newCell();
    switch (sqlite3_column_type(s, col)) {
    case SQLITE_NULL: c.type = vb::VarType::Null; return;
    case SQLITE_INTEGER: {
        sqlite3_int64 n = sqlite3_column_int64(s, col);
        c.whole = n;
        switch (kind) {
        case Kind::Date: c.type = vb::VarType::Date; c.real = static_cast<double>(n); return;
        case Kind::Boolean: c.type = vb::VarType::Boolean; return;
        case Kind::Byte:
            if (n >= 0 && n <= 255) { c.type = vb::VarType::Byte; return; }
            break;
        case Kind::Integer:
            if (n >= -32768 && n <= 32767) { c.type = vb::VarType::Integer; return; }
            break;
        case Kind::Plain: break;
        }
        if (n >= INT32_MIN && n <= INT32_MAX) {
            c.type = vb::VarType::Long;
        } else {
            c.type = vb::VarType::Double;
            c.real = static_cast<double>(n);
        }
        return;
    }
    case SQLITE_FLOAT:
        c.real = sqlite3_column_double(s, col);
        c.type = kind == Kind::Date ? vb::VarType::Date : vb::VarType::Double;
        return;
    default: {
        const unsigned char* p = sqlite3_column_text(s, col);
        const int n = sqlite3_column_bytes(s, col);
        c.type = vb::VarType::String;
        c.length = p ? static_cast<std::uint32_t>(n) : 0;
        c.text = rs.keepText(reinterpret_cast<const char*>(p), p ? static_cast<std::size_t>(n) : 0);
        return;
    }
    }
}

DatabaseState& openDb(const std::shared_ptr<DatabaseState>& d) {
    if (!d) raiseNotSet();
    if (!d->open || !d->conn) raiseClosed();
    return *d;
}

// SQLite statements that are no Jet SQL and would act on the shared connection behind the
// workspaces' back: transaction control (a COMMIT through any database, even a read-only
// one, would end the update lock's transaction), attaching files, pragmas (key, journal).
bool connectionStatement(const std::string& sql) {
    size_t i = sql.find_first_not_of(" \t\r\n");
    if (i == std::string::npos) return false;
    size_t j = i;
    while (j < sql.size() && std::isalpha(static_cast<unsigned char>(sql[j]))) ++j;
    static const char* refused[] = {"BEGIN", "COMMIT", "END", "ROLLBACK", "SAVEPOINT", "RELEASE",
                                    "ATTACH", "DETACH", "PRAGMA"};
    std::string word = upperAscii(sql.substr(i, j - i));
    return std::find(std::begin(refused), std::end(refused), word) != std::end(refused);
}

// Prepares one translated statement; read-only databases refuse anything that writes.
void prepare(DatabaseState& d, const std::string& sql, Statement& st) {
    if (vb::Trim(sql).empty())
        raise(jet::EmptyStatement, "Invalid SQL statement; expected 'DELETE', 'INSERT', 'PROCEDURE', 'SELECT', or 'UPDATE'.");
    std::string translated = TranslateJetSql(sql);
    if (connectionStatement(translated))
        raise(jet::EmptyStatement, "Invalid SQL statement; expected 'DELETE', 'INSERT', 'PROCEDURE', 'SELECT', or 'UPDATE'.");
    const char* tail = nullptr;
    int rc = sqlite3_prepare_v2(d.conn->db, translated.c_str(), static_cast<int>(translated.size()),
                                &st.s, &tail);
    if (rc != SQLITE_OK) raiseSqlite(d.conn->db, rc, translated);
    if (tail) {
        std::string rest(tail);
        if (rest.find_first_not_of(" \t\r\n;") != std::string::npos)
            raise(jet::TextAfterStatement, "Characters found after end of SQL statement.");
    }
    if (!st.s)
        raise(jet::EmptyStatement, "Invalid SQL statement; expected 'DELETE', 'INSERT', 'PROCEDURE', 'SELECT', or 'UPDATE'.");
    if (!sqlite3_stmt_readonly(st.s) && (d.readOnly || !d.conn->writable))
        raise(jet::ReadOnly, "Cannot update. Database or object is read-only.");
}

// With dbSeeChanges a busy file fails at once instead of waiting.
struct BusyScope {
    sqlite3* db;
    bool active;
    BusyScope(sqlite3* d, int options) : db(d), active(options & dbSeeChanges) {
        if (active) sqlite3_busy_timeout(db, 0);
    }
    ~BusyScope() {
        if (active) sqlite3_busy_timeout(db, kBusyTimeoutMs);
    }
};

std::shared_ptr<const RowSet> runQuery(DatabaseState& d, const std::string& sql, int options) {
    Statement st;
    // A bare table name opens the whole table. Only a text of one word or one [name] can be
    // one; the lists' long SELECTs are not read twice for it.
    std::string text = sql;
    const size_t first = sql.find_first_not_of(" \t\n\v\f\r");
    const size_t last = sql.find_last_not_of(" \t\n\v\f\r");
    const bool oneName = first != std::string::npos &&
                         (sql.find_first_of(" \t\n\v\f\r", first) > last ||
                          (sql[first] == '[' && sql.find(']', first) == last));
    if (oneName) {
        auto toks = detail::Lex(sql);
        if (toks.size() == 1 && (toks[0].kind == detail::Tok::Word || toks[0].kind == detail::Tok::Bracket))
            text = "SELECT * FROM [" + toks[0].text + "]";
    }
    prepare(d, text, st);
    // An action query is Execute's: Jet refuses to open it as a recordset, and runs nothing.
    if (sqlite3_column_count(st.s) == 0) raise(jet::InvalidOperation, "Invalid operation.");
    BusyScope busy(d.conn->db, options);
    auto rs = std::make_shared<RowSet>();
    rs->generation = nextGeneration++;
    // The columns are read after the first step: a schema changed since the statement was
    // prepared (a table made anew by another computer's update) makes SQLite prepare it again
    // there, with the new table's columns.
    int rc = sqlite3_step(st.s);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) raiseSqlite(d.conn->db, rc, text);
    const int n = sqlite3_column_count(st.s);
    std::vector<Kind> kinds(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        const char* name = sqlite3_column_name(st.s, i);
        rs->names.push_back(name ? name : "");
        kinds[static_cast<size_t>(i)] = kindOf(sqlite3_column_decltype(st.s, i));
    }
    for (; rc == SQLITE_ROW; rc = sqlite3_step(st.s)) {
        for (int i = 0; i < n; ++i) readValue(st.s, i, kinds[static_cast<size_t>(i)], *rs);
        ++rs->count;
    }
    if (rc != SQLITE_DONE) raiseSqlite(d.conn->db, rc, text);
    return rs;
}

}  // namespace

// ---- Field -----------------------------------------------------------------------------

const std::string& Field::Name() const {
    if (!c_) raiseNotSet();
    return c_->rows->names.at(static_cast<size_t>(index_));
}

vb::Variant Field::Value() const {
    if (!c_) raiseNotSet();
    if (!c_->open) raiseClosed();
    if (!c_->hasCurrent()) raise(jet::NoCurrentRecord, "No current record.");
    return c_->rows->value(c_->pos, static_cast<size_t>(index_));
}

// ---- Recordset -------------------------------------------------------------------------

CursorState& Recordset::state() const {
    if (!c_) raiseNotSet();
    if (!c_->open) raiseClosed();
    return *c_;
}

namespace {

void requireScrollable(const CursorState& c) {
    if (c.type == dbOpenForwardOnly)
        raise(jet::NotSupported, "Operation is not supported for this type of object.");
}

[[noreturn]] void noCurrent() { raise(jet::NoCurrentRecord, "No current record."); }

}  // namespace

bool Recordset::Eof() const {
    auto& c = state();
    return c.count() == 0 || c.pos >= c.count();
}

bool Recordset::Bof() const {
    auto& c = state();
    return c.count() == 0 || c.pos < 0;
}

void Recordset::MoveFirst() {
    auto& c = state();
    if (c.type == dbOpenForwardOnly && c.pos > 0) requireScrollable(c);
    if (c.count() == 0) noCurrent();
    c.pos = 0;
    c.notify();
}

void Recordset::MoveLast() {
    auto& c = state();
    if (c.count() == 0) noCurrent();
    c.pos = c.count() - 1;
    c.notify();
}

void Recordset::MoveNext() {
    auto& c = state();
    if (c.count() == 0 || c.pos >= c.count()) noCurrent();
    ++c.pos;
    c.notify();
}

void Recordset::MovePrevious() {
    auto& c = state();
    requireScrollable(c);
    if (c.count() == 0 || c.pos < 0) noCurrent();
    --c.pos;
    c.notify();
}

void Recordset::Move(long rows) {
    auto& c = state();
    if (rows < 0) requireScrollable(c);
    if (!c.hasCurrent()) noCurrent();
    long p = c.pos + rows;
    c.pos = std::clamp(p, -1L, c.count());
    c.notify();
}

long Recordset::RecordCount() const { return state().count(); }

long Recordset::AbsolutePosition() const {
    auto& c = state();
    return c.hasCurrent() ? c.pos : -1;
}

void Recordset::SetAbsolutePosition(long pos) {
    auto& c = state();
    requireScrollable(c);
    if (pos < 0 || pos >= c.count()) raise(jet::InvalidArgument, "Invalid argument.");
    c.pos = pos;
    c.notify();
}

int Recordset::Type() const { return state().type; }

Bookmark Recordset::GetBookmark() const {
    auto& c = state();
    requireScrollable(c);
    if (!c.hasCurrent()) noCurrent();
    return {c.rows->generation, c.pos};
}

void Recordset::SetBookmark(const Bookmark& b) {
    auto& c = state();
    requireScrollable(c);
    if (b.generation != c.rows->generation || b.row < 0 || b.row >= c.count())
        raise(jet::InvalidBookmark, "Not a valid bookmark.");
    c.pos = b.row;
    c.notify();
}

Recordset Recordset::Clone() const {
    auto& c = state();
    requireScrollable(c);
    auto n = std::make_shared<CursorState>();
    n->rows = c.rows;
    n->type = c.type;
    n->db = c.db;
    n->sql = c.sql;
    n->options = c.options;
    n->pos = 0;
    return Recordset(n);
}

Bookmark Recordset::BookmarkAt(long row) const {
    auto& c = state();
    requireScrollable(c);
    if (row < 0 || row >= c.count()) raise(jet::InvalidArgument, "Invalid argument.");
    return {c.rows->generation, row};
}

vb::Variant Recordset::ValueAt(long row, int field) const {
    auto& c = state();
    if (row < 0 || row >= c.count()) raise(jet::InvalidArgument, "Invalid argument.");
    if (field < 0 || field >= static_cast<int>(c.rows->names.size()))
        raise(jet::ItemNotFound, "Item not found in this collection.");
    return c.rows->value(row, static_cast<size_t>(field));
}

namespace {

// Searches from `from` in steps of `step`; on a match moves there.
void find(CursorState& c, std::string_view criteria, long from, long step) {
    requireScrollable(c);
    detail::Criteria crit(criteria, c.rows->names);
    for (long i = from; i >= 0 && i < c.count(); i += step) {
        const RowSet& rows = *c.rows;
        if (crit.Matches([&rows, i](int field) { return rows.value(i, static_cast<size_t>(field)); })) {
            c.noMatch = false;
            c.pos = i;
            c.notify();
            return;
        }
    }
    c.noMatch = true;
}

}  // namespace

void Recordset::FindFirst(std::string_view criteria) { find(state(), criteria, 0, 1); }
void Recordset::FindLast(std::string_view criteria) {
    auto& c = state();
    find(c, criteria, c.count() - 1, -1);
}
void Recordset::FindNext(std::string_view criteria) {
    auto& c = state();
    find(c, criteria, c.pos < 0 ? 0 : c.pos + 1, 1);
}
void Recordset::FindPrevious(std::string_view criteria) {
    auto& c = state();
    find(c, criteria, c.pos >= c.count() ? c.count() - 1 : c.pos - 1, -1);
}
bool Recordset::NoMatch() const { return state().noMatch; }

int Recordset::FieldCount() const { return static_cast<int>(state().rows->names.size()); }

Field Recordset::Fields(int index) const {
    auto& c = state();
    if (index < 0 || index >= static_cast<int>(c.rows->names.size()))
        raise(jet::ItemNotFound, "Item not found in this collection.");
    return Field(c_, index);
}

Field Recordset::Fields(std::string_view name) const {
    auto& c = state();
    std::string up = upperAscii(std::string(name));
    for (size_t i = 0; i < c.rows->names.size(); ++i)
        if (upperAscii(c.rows->names[i]) == up) return Field(c_, static_cast<int>(i));
    std::string uc = vb::UCase(name);
    for (size_t i = 0; i < c.rows->names.size(); ++i)
        if (vb::UCase(c.rows->names[i]) == uc) return Field(c_, static_cast<int>(i));
    // "TABLE.Column": the result columns carry no table name.
    if (size_t dot = name.rfind('.'); dot != std::string_view::npos && dot + 1 < name.size())
        return Fields(name.substr(dot + 1));
    raise(jet::ItemNotFound, "Item not found in this collection.");
}

std::vector<std::string> Recordset::FieldNames() const { return state().rows->names; }

void Recordset::Requery() {
    auto& c = state();
    c.rows = runQuery(openDb(c.db), c.sql, c.options);
    c.pos = 0;
    c.noMatch = false;
    c.notify();
}

void Recordset::Close() {
    if (!c_) raiseNotSet();
    c_->open = false;
}

bool Recordset::IsOpen() const { return c_ && c_->open; }

int Recordset::AddMoveListener(std::function<void()> f) {
    auto& c = state();
    int id = c.nextListener++;
    c.listeners[id] = std::move(f);
    return id;
}

void Recordset::RemoveMoveListener(int id) {
    if (c_) c_->listeners.erase(id);
}

// ---- Database --------------------------------------------------------------------------

DatabaseState& Database::state() const { return openDb(d_); }

Recordset Database::OpenRecordset(std::string_view sql, int type, int options) {
    auto& d = state();
    if (type == dbOpenTable) type = dbOpenDynaset;
    if (type != dbOpenDynaset && type != dbOpenSnapshot && type != dbOpenForwardOnly)
        raise(jet::InvalidArgument, "Invalid argument.");
    auto c = std::make_shared<CursorState>();
    c->sql = std::string(sql);
    c->rows = runQuery(d, c->sql, options);
    c->type = type;
    c->db = d_;
    c->options = options;
    return Recordset(c);
}

void Database::Execute(std::string_view sql, int options) {
    auto& d = state();
    {
        // The Jet statements that SQLite runs as several (JetInstrucoes.h).
        BusyScope busy(d.conn->db, options);
        long affected = 0;
        if (detail::ExecutaInstrucaoJet(d.conn->db, sql, !d.readOnly && d.conn->writable, raiseSqlite, affected)) {
            d.affected = affected;
            return;
        }
    }
    Statement st;
    prepare(d, std::string(sql), st);
    if (sqlite3_column_count(st.s) > 0 && sqlite3_stmt_readonly(st.s))
        raise(jet::CannotExecuteSelect, "Cannot execute a select query.");
    BusyScope busy(d.conn->db, options);
    // sqlite3_changes keeps the count of the last INSERT, UPDATE or DELETE; a statement that
    // is none of them (CREATE, DROP) affected no records.
    int before = sqlite3_total_changes(d.conn->db);
    d.affected = 0;
    for (;;) {
        int rc = sqlite3_step(st.s);
        if (rc == SQLITE_DONE) break;
        if (rc != SQLITE_ROW) raiseSqlite(d.conn->db, rc, sqlite3_sql(st.s));
    }
    if (sqlite3_total_changes(d.conn->db) != before) d.affected = sqlite3_changes(d.conn->db);
}

long Database::RecordsAffected() const { return state().affected; }

std::vector<TableDef> Database::TableDefs() const {
    auto& d = state();
    Statement st;
    const char* sql = "SELECT name FROM sqlite_master WHERE type='table' AND substr(name,1,7)<>'sqlite_' ORDER BY rowid";
    int rc = sqlite3_prepare_v2(d.conn->db, sql, -1, &st.s, nullptr);
    if (rc != SQLITE_OK) raiseSqlite(d.conn->db, rc, sql);
    std::vector<TableDef> out;
    while ((rc = sqlite3_step(st.s)) == SQLITE_ROW)
        out.push_back({reinterpret_cast<const char*>(sqlite3_column_text(st.s, 0))});
    if (rc != SQLITE_DONE) raiseSqlite(d.conn->db, rc, sql);
    return out;
}

namespace {

sqlite3_int64 pragmaValue(sqlite3* db, const char* pragma) {
    Statement st;
    if (sqlite3_prepare_v2(db, pragma, -1, &st.s, nullptr) != SQLITE_OK || sqlite3_step(st.s) != SQLITE_ROW) return 0;
    return sqlite3_column_int64(st.s, 0);
}

// Steps a statement to its end (or until told to stop); what it reads stays in the page cache.
void readThrough(sqlite3* db, const std::string& sql, const std::atomic<bool>& stop) {
    Statement st;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st.s, nullptr) != SQLITE_OK) return;
    while (!stop.load(std::memory_order_relaxed) && sqlite3_step(st.s) == SQLITE_ROW) {
    }
}

std::string quoteName(const std::string& name) {
    std::string q = "\"";
    for (char c : name) q += c == '"' ? std::string("\"\"") : std::string(1, c);
    return q + "\"";
}

}  // namespace

void Database::LoadPageCache(const std::atomic<bool>& stop) {
    sqlite3* db = state().conn->db;
    const sqlite3_int64 pages = pragmaValue(db, "PRAGMA page_count");
    const sqlite3_int64 pageSize = pragmaValue(db, "PRAGMA page_size");
    const sqlite3_int64 cache = pragmaValue(db, "PRAGMA cache_size");
    const sqlite3_int64 cacheBytes = cache < 0 ? -cache * 1024 : cache * pageSize;
    // Each cached page costs a little more than its size.
    if (pages <= 0 || pageSize <= 0 || pages * (pageSize + pageSize / 4) > cacheBytes) return;
    // Every table with its rows (and their overflow pages), then every index on its own.
    std::vector<std::pair<std::string, std::string>> trees;   // (name, table of an index)
    {
        Statement st;
        const char* sql = "SELECT type, name, tbl_name FROM sqlite_master WHERE type IN ('table','index') ORDER BY rowid";
        if (sqlite3_prepare_v2(db, sql, -1, &st.s, nullptr) != SQLITE_OK) return;
        while (sqlite3_step(st.s) == SQLITE_ROW) {
            auto text = [&](int i) {
                const unsigned char* p = sqlite3_column_text(st.s, i);
                return std::string(p ? reinterpret_cast<const char*>(p) : "");
            };
            const std::string type = text(0);
            trees.push_back({text(1), type == "index" ? text(2) : std::string()});
        }
    }
    for (const auto& [name, table] : trees) {
        if (table.empty()) readThrough(db, "SELECT * FROM " + quoteName(name), stop);
        else readThrough(db, "SELECT 1 FROM " + quoteName(table) + " INDEXED BY " + quoteName(name), stop);
    }
}

const std::string& Database::Name() const {
    if (!d_) raiseNotSet();
    return d_->name;
}

const std::string& Database::Connect() const {
    if (!d_) raiseNotSet();
    return d_->connect;
}

bool Database::Updatable() const {
    auto& d = state();
    return !d.readOnly && d.conn->writable;
}

void Database::Close() {
    if (!d_) raiseNotSet();
    d_->open = false;
    d_->conn.reset();
}

bool Database::IsOpen() const { return d_ && d_->open; }

// ---- Workspace -------------------------------------------------------------------------

WorkspaceState& Workspace::state() const {
    if (!w_) raiseNotSet();
    if (!w_->open) raiseClosed();
    return *w_;
}

Database Workspace::OpenDatabase(const std::string& path, bool exclusive, bool readOnly,
                                 const std::string& connect) {
    auto& w = state();
    if (exclusive) raise(jet::InvalidArgument, "Opening a database exclusively is not offered.");
    auto d = std::make_shared<DatabaseState>();
    d->conn = openConnection(path, passwordOf(connect));
    // Opened to be written, a file that cannot be says so now, not at the first write.
    if (!readOnly && !d->conn->writable)
        raise(jet::ReadOnly, "Cannot update. Database or object is read-only: '" + path +
                                 "' cannot be opened for writing (no permission to change it or its folder).");
    d->workspace = w_;
    d->name = path;
    d->connect = connect;
    d->readOnly = readOnly;
    w.databases.erase(std::remove_if(w.databases.begin(), w.databases.end(),
                                     [](auto& p) { return p.expired(); }),
                      w.databases.end());
    w.databases.push_back(d);
    return Database(d);
}

Database Workspace::CreateDatabase(const std::string& path, const std::string& locale, int) {
    state();
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) raise(jet::DatabaseExists, "Database already exists.");
    const std::filesystem::path folder = std::filesystem::absolute(path, ec).parent_path();
    if (!std::filesystem::is_directory(folder, ec))
        raise(jet::InvalidPath, "'" + folder.string() + "' isn't a valid path.");
    std::string password = passwordOf(locale);
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        std::string msg = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
        sqlite3_close_v2(db);
        raise(jet::ReservedError, msg);
    }
    if (!password.empty()) sqlite3_key(db, password.data(), static_cast<int>(password.size()));
    // Writing the header makes the (keyed) file at once, as Jet's CreateDatabase does.
    char* err = nullptr;
    rc = sqlite3_exec(db, "PRAGMA journal_mode=DELETE; PRAGMA user_version=1;", nullptr, nullptr, &err);
    std::string msg = err ? err : "";
    sqlite3_free(err);
    sqlite3_close_v2(db);
    if (rc != SQLITE_OK) raise(jet::ReservedError, msg);
    return OpenDatabase(path, false, false, locale);
}

void Workspace::BeginTrans() {
    auto& w = state();
    WorkspaceState::Level level;
    std::vector<std::shared_ptr<ConnectionState>> conns;
    for (auto& weak : w.databases) {
        auto d = weak.lock();
        if (!d || !d->open || !d->conn) continue;
        if (std::find(conns.begin(), conns.end(), d->conn) == conns.end()) conns.push_back(d->conn);
    }
    try {
        for (auto& c : conns) {
            c->syncFrames();
            Frame f{nextFrameId++, !c->frames.empty()};
            c->exec(f.savepoint ? "SAVEPOINT zk_sp_" + std::to_string(f.id) : "BEGIN");
            c->frames.push_back(f);
            level.frames.push_back({c, f.id});
        }
    } catch (...) {
        for (auto it = level.frames.rbegin(); it != level.frames.rend(); ++it) {
            try { it->first->rollbackFrom(it->first->indexOf(it->second)); } catch (...) {}
        }
        throw;
    }
    w.levels.push_back(std::move(level));
}

namespace {

[[noreturn]] void noTransaction() {
    raise(jet::TransactionNotOpen,
          "You tried to commit or rollback a transaction without first beginning a transaction.");
}

// Checks that every frame of the level is the innermost of its file. Returns false when a
// frame is gone (rolled back by another workspace's Close).
bool checkOrder(WorkspaceState::Level& level, const std::string& wsName) {
    bool alive = true;
    for (auto& [c, id] : level.frames) {
        c->syncFrames();
        long idx = c->indexOf(id);
        if (idx < 0) { alive = false; continue; }
        if (idx != static_cast<long>(c->frames.size()) - 1)
            raise(jet::TransactionNotOpen,
                  "The transaction of workspace '" + wsName +
                      "' cannot end before a transaction begun after it on the same database.");
    }
    return alive;
}

void endLevel(WorkspaceState& w, bool commit) {
    if (w.levels.empty()) noTransaction();
    auto& level = w.levels.back();
    if (!checkOrder(level, w.name)) {
        for (auto& [c, id] : level.frames) c->rollbackFrom(c->indexOf(id));
        w.levels.pop_back();
        raise(jet::TransactionNotOpen,
              "The transaction of workspace '" + w.name +
                  "' was rolled back when a workspace holding an outer transaction closed.");
    }
    while (!level.frames.empty()) {
        auto& [c, id] = level.frames.back();
        long idx = c->indexOf(id);
        if (commit) {
            const Frame& f = c->frames[static_cast<size_t>(idx)];
            try {
                c->exec(f.savepoint ? "RELEASE zk_sp_" + std::to_string(f.id) : "COMMIT");
            } catch (...) {
                // A commit the engine could not finish and then rolled back itself (a full
                // disk, an I/O error) took the transaction with it; one it kept (the file
                // busy) stays open for another try.
                c->syncFrames();
                if (c->indexOf(id) < 0) {
                    level.frames.pop_back();
                    if (level.frames.empty()) w.levels.pop_back();
                }
                throw;
            }
            c->frames.pop_back();
        } else {
            c->rollbackFrom(idx);
        }
        level.frames.pop_back();
    }
    w.levels.pop_back();
}

}  // namespace

void Workspace::CommitTrans(int) { endLevel(state(), true); }

void Workspace::Rollback() { endLevel(state(), false); }

void Workspace::Close() {
    if (!w_) raiseNotSet();
    if (w_->open) w_->closeAll();
}

bool Workspace::IsOpen() const { return w_ && w_->open; }

const std::string& Workspace::Name() const {
    if (!w_) raiseNotSet();
    return w_->name;
}

const std::string& Workspace::UserName() const {
    if (!w_) raiseNotSet();
    return w_->user;
}

int Workspace::TransactionLevel() const { return static_cast<int>(state().levels.size()); }

// ---- DBEngine --------------------------------------------------------------------------

namespace {

std::shared_ptr<WorkspaceState>& defaultWorkspace() {
    static std::shared_ptr<WorkspaceState> w;
    if (!w || !w->open) w = newWorkspace("#Default Workspace#", "admin");
    return w;
}

}  // namespace

Workspace DBEngineClass::CreateWorkspace(const std::string& name, const std::string& user,
                                         const std::string&, int type) {
    if (type != dbUseJet) raise(jet::InvalidArgument, "Only Jet workspaces are offered.");
    return Workspace(newWorkspace(name, user));
}

Workspace DBEngineClass::Workspaces(int index) {
    if (index != 0) raise(jet::ItemNotFound, "Item not found in this collection.");
    return Workspace(defaultWorkspace());
}

int DBEngineClass::WorkspaceCount() const { return 1; }

Database DBEngineClass::OpenDatabase(const std::string& path, bool exclusive, bool readOnly,
                                     const std::string& connect) {
    return Workspaces(0).OpenDatabase(path, exclusive, readOnly, connect);
}

Database DBEngineClass::CreateDatabase(const std::string& path, const std::string& locale, int options) {
    return Workspaces(0).CreateDatabase(path, locale, options);
}

void DBEngineClass::Idle(int) {}

DBEngineClass& DBEngine() {
    static DBEngineClass engine;
    return engine;
}

// ---- DataControl -----------------------------------------------------------------------

struct DataControlState {
    std::string databaseName;
    std::string connect;
    std::string recordSource;
    bool readOnly = false;
    int type = dbOpenDynaset;
    Database db;
    bool ownDb = false;
    Recordset rs;
    int rsListener = 0;
    std::map<int, DataControl::Listener> listeners;
    int next = 1;

    void tell(DataControl::Event e) {
        auto copy = listeners;
        for (auto& [id, f] : copy) f(e);
    }
};

namespace {

void attach(const std::shared_ptr<DataControlState>& s, const Recordset& rs) {
    if (!s->rs.IsNothing()) s->rs.RemoveMoveListener(s->rsListener);
    s->rs = rs;
    s->rsListener = 0;
    if (!rs.IsNothing() && rs.IsOpen()) {
        std::weak_ptr<DataControlState> weak = s;
        s->rsListener = s->rs.AddMoveListener([weak] {
            if (auto p = weak.lock()) p->tell(DataControl::Event::Reposition);
        });
    }
    s->tell(DataControl::Event::Requery);
}

}  // namespace

DataControl::DataControl() : s_(std::make_shared<DataControlState>()) {}

void DataControl::SetDatabaseName(const std::string& path) {
    if (path == s_->databaseName) return;
    s_->databaseName = path;
    if (s_->ownDb && !s_->db.IsNothing()) s_->db.Close();
    s_->db = Database();
    s_->ownDb = false;
}

const std::string& DataControl::DatabaseName() const { return s_->databaseName; }
void DataControl::SetConnect(const std::string& connect) { s_->connect = connect; }
const std::string& DataControl::Connect() const { return s_->connect; }
void DataControl::SetReadOnly(bool readOnly) { s_->readOnly = readOnly; }
bool DataControl::ReadOnly() const { return s_->readOnly; }

void DataControl::SetRecordsetType(int type) {
    if (type != dbOpenDynaset && type != dbOpenSnapshot && type != dbOpenForwardOnly && type != dbOpenTable)
        raise(jet::InvalidArgument, "Invalid argument.");
    s_->type = type;
}

int DataControl::RecordsetType() const { return s_->type; }
void DataControl::SetRecordSource(const std::string& sql) { s_->recordSource = sql; }
const std::string& DataControl::RecordSource() const { return s_->recordSource; }

void DataControl::Refresh() {
    if (s_->db.IsNothing() || !s_->db.IsOpen()) {
        try {
            s_->db = DBEngine().OpenDatabase(s_->databaseName, false, s_->readOnly, s_->connect);
        } catch (const vb::Error& e) {
            // Its lists only read: a file this user cannot change is shown all the same.
            if (s_->readOnly || e.Number() != jet::ReadOnly) throw;
            s_->db = DBEngine().OpenDatabase(s_->databaseName, false, true, s_->connect);
        }
        s_->ownDb = true;
    }
    Recordset rs;
    if (!vb::Trim(s_->recordSource).empty()) rs = s_->db.OpenRecordset(s_->recordSource, s_->type);
    attach(s_, rs);
}

Database DataControl::GetDatabase() const { return s_->db; }

void DataControl::SetDatabase(const Database& db) {
    if (s_->ownDb && !s_->db.IsNothing() && !s_->db.SameAs(db)) s_->db.Close();
    s_->db = db;
    s_->ownDb = false;
}

Recordset DataControl::GetRecordset() const { return s_->rs; }

void DataControl::SetRecordset(const Recordset& rs) { attach(s_, rs); }

int DataControl::AddListener(Listener f) {
    int id = s_->next++;
    s_->listeners[id] = std::move(f);
    return id;
}

void DataControl::RemoveListener(int id) { s_->listeners.erase(id); }

}  // namespace dao
