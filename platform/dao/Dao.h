// The database engine as the catalogue's code knows it: DBEngine, workspaces, databases,
// recordsets, fields and the (non-visual) data control, over SQLCipher files.
//
// - Handles (Workspace, Database, Recordset, DataControl) are cheap value objects that share
//   their state, as COM references did: a copy is the same object. A default-constructed
//   handle is Nothing; using it raises 91.
// - Every file is opened through one SQLite connection per process (by canonical path),
//   shared by every workspace, database and data control that opens it.
// - SQL text is Jet SQL; it is translated before it is prepared (JetSql.h).
// - Errors are vb::Error with Jet's numbers (dao::jet below) for the cases the program tests
//   or shows; other SQLite failures carry SQLite's message. A VB runtime error raised inside
//   an SQL function (Mid with start 0: 5, CStr of Null: 94) keeps its own number.
#pragma once

#include "platform/vb/Variant.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace dao {

// Recordset kinds (OpenRecordset type). They differ only in the navigation they allow:
// forward-only refuses moving back, bookmarks, Clone and the Find methods (3251).
constexpr int dbOpenTable = 1;        // taken as a dynaset
constexpr int dbOpenDynaset = 2;
constexpr int dbOpenSnapshot = 4;
constexpr int dbOpenForwardOnly = 8;

// Execute / OpenRecordset options.
constexpr int dbFailOnError = 128;    // errors always raise here; accepted for the program's sake
constexpr int dbSeeChanges = 512;     // "fail when another user is changing the data": no busy wait
// CommitTrans option: flush to disk (every commit is durable here; accepted).
constexpr int dbForceOSFlush = 1;
// DBEngine.Idle option (nothing is cached here; accepted).
constexpr int dbRefreshCache = 8;
// Workspace type.
constexpr int dbUseJet = 2;

// Jet's error numbers raised by this layer.
namespace jet {
constexpr long ObjectNotSet = 91;                // "Object variable or With block variable not set"
constexpr long ReservedError = 3000;             // any other engine failure (SQLite's message)
constexpr long InvalidArgument = 3001;
constexpr long TableExists = 3010;               // "Table 'X' already exists."
constexpr long NoCurrentRecord = 3021;           // "No current record."
constexpr long DuplicateKey = 3022;              // unique index / primary key violated
constexpr long FileNotFound = 3024;              // "Could not find file 'X'."
constexpr long DiskFull = 3026;                  // "Not enough space on disk." (SQLITE_FULL)
constexpr long ReadOnly = 3027;                  // "Cannot update. Database or object is read-only."
constexpr long NotValidPassword = 3031;          // "Not a valid password." (also: not a keyed file)
constexpr long TransactionNotOpen = 3034;        // commit/rollback without BeginTrans, or out of order
constexpr long InvalidPath = 3044;               // CreateDatabase in a folder that does not exist
constexpr long FileInUse = 3045;                 // the file stayed locked while being opened
constexpr long TooFewParameters = 3061;          // an unknown column name (Jet takes it for a parameter)
constexpr long CannotExecuteSelect = 3065;       // Execute of a statement that returns rows
constexpr long UnknownName = 3070;               // a Find criteria names no field of the recordset
constexpr long SyntaxError = 3075;               // the statement does not parse
constexpr long NoSuchTable = 3078;               // "... cannot find the input table or query 'X'..."
constexpr long UndefinedFunction = 3085;         // a function SQLite does not know
constexpr long EmptyStatement = 3129;            // "Invalid SQL statement; expected 'DELETE', ..."
constexpr long TextAfterStatement = 3142;        // "Characters found after end of SQL statement."
constexpr long InvalidBookmark = 3159;           // "Not a valid bookmark." (stale or foreign)
constexpr long FieldTooSmall = 3163;             // a Text(n) column got more than n characters
constexpr long DatabaseExists = 3204;            // CreateDatabase on an existing file
constexpr long Locked = 3218;                    // "Couldn't update; currently locked." (SQLITE_BUSY)
constexpr long InvalidOperation = 3219;          // "Invalid operation." (OpenRecordset of an action query)
constexpr long NotSupported = 3251;              // "Operation is not supported for this type of object."
constexpr long ItemNotFound = 3265;              // "Item not found in this collection." (field name)
constexpr long NullNotAllowed = 3314;            // a Not Null column got Null
constexpr long UnrecognizedFormat = 3343;        // an empty file
constexpr long TableNotFoundToDrop = 3376;       // "Table 'X' does not exist." (DROP TABLE)
constexpr long ObjectClosed = 3420;              // "Object invalid or no longer set." (closed handle)
constexpr long CriteriaTypeMismatch = 3464;      // a Find criteria compares a number with a text
}  // namespace jet

struct ConnectionState;
struct WorkspaceState;
struct DatabaseState;
struct CursorState;
struct DataControlState;

// A bookmark: the row set's generation and the row. A bookmark of an earlier requery (or of
// another recordset) raises 3159 when set. Clones share rows and thus bookmarks.
struct Bookmark {
    std::uint64_t generation = 0;
    long row = -1;
    bool operator==(const Bookmark&) const = default;
};

// One column of a recordset, bound to the recordset's current row (as a DAO Field is):
// reading Value after a move reads the new row.
class Field {
public:
    Field() = default;
    const std::string& Name() const;
    vb::Variant Value() const;          // 3021 when there is no current row
    operator vb::Variant() const { return Value(); }

private:
    friend class Recordset;
    Field(std::shared_ptr<CursorState> c, int index) : c_(std::move(c)), index_(index) {}
    std::shared_ptr<CursorState> c_;
    int index_ = -1;
};

// A materialised recordset: the statement ran to its end when it was opened.
// A new recordset stands on its first row (EOF and BOF both true when it has none).
class Recordset {
public:
    Recordset() = default;              // Nothing
    bool IsNothing() const { return !c_; }

    bool Eof() const;                   // DAO EOF (the name is a C macro)
    bool Bof() const;                   // DAO BOF
    void MoveFirst();
    void MoveLast();
    void MoveNext();                    // 3021 when already at EOF
    void MovePrevious();                // 3021 when already at BOF
    void Move(long rows);               // relative to the current row; clamps to BOF/EOF
    long RecordCount() const;           // exact
    long AbsolutePosition() const;      // 0-based; -1 at BOF/EOF
    void SetAbsolutePosition(long pos); // 3001 outside 0 .. RecordCount-1
    int Type() const;                   // dbOpenDynaset / dbOpenSnapshot / dbOpenForwardOnly

    Bookmark GetBookmark() const;       // 3021 without a current row
    void SetBookmark(const Bookmark& b);// 3159 when stale or out of range

    Recordset Clone() const;            // shares the rows, has its own position (on the first row)

    // Reading any row without moving the current one (bound grids draw their visible rows so).
    // 3001 when row is outside 0 .. RecordCount-1.
    Bookmark BookmarkAt(long row) const;
    vb::Variant ValueAt(long row, int field) const;

    // Jet criteria: field compared with a number or a quoted text (=, <>, <, >, <=, >=, LIKE),
    // Null tests (= Null, Is Null), AND, OR, NOT and parentheses. On no match the current row
    // stays where it was and NoMatch is True.
    void FindFirst(std::string_view criteria);
    void FindLast(std::string_view criteria);
    void FindNext(std::string_view criteria);
    void FindPrevious(std::string_view criteria);
    bool NoMatch() const;

    int FieldCount() const;
    Field Fields(int index) const;              // 3265 out of range
    Field Fields(std::string_view name) const;  // case-insensitive; 3265 when missing
    vb::Variant Value(std::string_view name) const { return Fields(name).Value(); }
    std::vector<std::string> FieldNames() const;

    // Runs the statement again; the position goes to the first row, old bookmarks go stale.
    void Requery();
    void Close();                       // further use raises 3420
    bool IsOpen() const;

    // Told after every change of the current row (a move, a bookmark, a find that matched,
    // a requery). Data controls use it to tell their bound controls.
    int AddMoveListener(std::function<void()> f);
    void RemoveMoveListener(int id);

    bool SameAs(const Recordset& o) const { return c_ == o.c_; }

private:
    friend class Database;
    friend class Field;
    explicit Recordset(std::shared_ptr<CursorState> c) : c_(std::move(c)) {}
    CursorState& state() const;
    std::shared_ptr<CursorState> c_;
};

struct TableDef {
    std::string Name;
};

class Database {
public:
    Database() = default;
    bool IsNothing() const { return !d_; }

    // type: dbOpenDynaset (default), dbOpenSnapshot, dbOpenForwardOnly. The text is a Jet
    // SELECT or the name of a table.
    Recordset OpenRecordset(std::string_view sql, int type = dbOpenDynaset, int options = 0);
    // A statement that returns no rows. With dbSeeChanges a locked file fails at once (3218)
    // instead of waiting the busy timeout.
    void Execute(std::string_view sql, int options = 0);
    long RecordsAffected() const;       // of the last Execute
    std::vector<TableDef> TableDefs() const;   // the user tables, in creation order

    // Reads every page of the file into its connection's page cache when the whole file fits
    // there, so that the first searches find their pages decrypted; a larger file is left to
    // be read as it is used. Safe on a worker thread while no other thread uses the file;
    // another thread that sets stop ends it within a few rows.
    void LoadPageCache(const std::atomic<bool>& stop);

    const std::string& Name() const;    // the path as given to OpenDatabase
    const std::string& Connect() const;
    bool Updatable() const;             // opened read-write on a writable file
    void Close();                       // further use raises 3420; closing twice is harmless
    bool IsOpen() const;

    bool SameAs(const Database& o) const { return d_ == o.d_; }

private:
    friend class Workspace;
    friend class DataControl;
    explicit Database(std::shared_ptr<DatabaseState> d) : d_(std::move(d)) {}
    DatabaseState& state() const;
    std::shared_ptr<DatabaseState> d_;
};

class Workspace {
public:
    Workspace() = default;
    bool IsNothing() const { return !w_; }

    // connect: ";pwd=<password>" (other ";key=value" parts are ignored). A missing file
    // raises 3024, a wrong password or a file that is not keyed with it 3031, a file opened
    // for writing that cannot be written (no permission, a read-only file system) 3027.
    // exclusive=true is not offered (3001).
    Database OpenDatabase(const std::string& path, bool exclusive = false, bool readOnly = false,
                          const std::string& connect = {});
    // A new keyed database file; locale is DAO's locale string with ";pwd=<password>"
    // appended (only the password is used). An existing file raises 3204.
    Database CreateDatabase(const std::string& path, const std::string& locale, int options = 0);

    // The first BeginTrans on a file issues BEGIN; one of another workspace (or a nested one
    // of the same workspace) while one is open becomes a SAVEPOINT. CommitTrans/Rollback end
    // this workspace's innermost transaction; one that is not the innermost of its file
    // raises 3034 and changes nothing. A transaction covers the files of the databases open in
    // the workspace when it begins. A commit that fails raises; the transaction is gone when
    // the engine rolled it back (a full disk: 3026, an I/O error) and stays open when the
    // file was busy (3218).
    void BeginTrans();
    void CommitTrans(int options = 0);
    void Rollback();
    // Closes the workspace's databases; an open transaction is rolled back (with any nested
    // above it, whose workspaces then get 3034 when they end theirs).
    void Close();
    bool IsOpen() const;
    const std::string& Name() const;
    const std::string& UserName() const;
    int TransactionLevel() const;       // how many of this workspace's transactions are open

    bool SameAs(const Workspace& o) const { return w_ == o.w_; }

private:
    friend class DBEngineClass;
    explicit Workspace(std::shared_ptr<WorkspaceState> w) : w_(std::move(w)) {}
    WorkspaceState& state() const;
    std::shared_ptr<WorkspaceState> w_;
};

class DBEngineClass {
public:
    // type must be dbUseJet (2). Names need not be unique, as in DAO.
    Workspace CreateWorkspace(const std::string& name, const std::string& user,
                              const std::string& password, int type = dbUseJet);
    // Workspaces(0) is the default workspace ("#Default Workspace#"), which data controls use.
    Workspace Workspaces(int index);
    int WorkspaceCount() const;
    Database OpenDatabase(const std::string& path, bool exclusive = false, bool readOnly = false,
                          const std::string& connect = {});
    Database CreateDatabase(const std::string& path, const std::string& locale, int options = 0);
    void Idle(int action = 0);          // nothing is cached between calls: a no-op
};

// The engine object (one per process).
DBEngineClass& DBEngine();

// The data control, without its buttons: a database name, a record source, and the
// recordset of the last Refresh, which bound controls read. Refresh opens the database on
// first use (through the default workspace, with Connect / ReadOnly) and runs RecordSource.
class DataControl {
public:
    enum class Event {
        Requery,      // a new recordset (Refresh, or one set from outside, or Nothing)
        Reposition,   // the current row of the recordset changed
    };
    using Listener = std::function<void(Event)>;

    DataControl();    // a new, independent control (unlike the other handles, never Nothing)

    void SetDatabaseName(const std::string& path);   // closes a database opened from the old name
    const std::string& DatabaseName() const;
    void SetConnect(const std::string& connect);     // ";pwd=..."
    const std::string& Connect() const;
    void SetReadOnly(bool readOnly);
    bool ReadOnly() const;
    void SetRecordsetType(int type);                 // dbOpenDynaset (default) / Snapshot / ForwardOnly
    int RecordsetType() const;
    void SetRecordSource(const std::string& sql);
    const std::string& RecordSource() const;

    // Runs RecordSource (an empty one leaves the recordset Nothing) and tells the listeners.
    void Refresh();
    Database GetDatabase() const;                    // Nothing before the first Refresh
    void SetDatabase(const Database& db);            // use an open database instead of the name
    Recordset GetRecordset() const;                  // Nothing before the first Refresh
    void SetRecordset(const Recordset& rs);          // may be Nothing; tells the listeners

    int AddListener(Listener f);
    void RemoveListener(int id);

    bool SameAs(const DataControl& o) const { return s_ == o.s_; }

private:
    std::shared_ptr<DataControlState> s_;
};

}  // namespace dao
