// Workspaces, databases, recordsets and the data control over keyed files.
#include "DaoFixture.h"

#include "platform/dao/FaultVfs.h"
#include "platform/vb/Err.h"
#include "tests/support/ErroVb.h"

#include <QFile>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <functional>

#include <unistd.h>

namespace {

using daotest::ConnectString;
using daotest::DaoTest;
using daotest::Rows;
using Lines = std::vector<std::string>;

// The Jet error number that f raises (0 when it raises none).
long ErrorOf(const std::function<void()>& f, std::string* description = nullptr) {
    return testsupport::NumeroErro(f, description);
}

// ---- opening files ---------------------------------------------------------------------

TEST_F(DaoTest, OpeningFailuresGiveJetsErrors) {
    const std::string plain = dir_.filePath("plain.db").toStdString();
    {
        sqlite3* raw = nullptr;
        ASSERT_EQ(sqlite3_open(plain.c_str(), &raw), SQLITE_OK);
        sqlite3_exec(raw, "CREATE TABLE x(a)", nullptr, nullptr, nullptr);
        sqlite3_close(raw);
    }
    const std::string empty = dir_.filePath("empty.c01").toStdString();
    {
        QFile f(QString::fromStdString(empty));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const std::string missing = dir_.filePath("missing.c01").toStdString();
    // The fixture stays open in ws_, so the wrong password meets the shared connection;
    // a second file checks the password against the key of a file opened afresh.
    const std::string other = dir_.filePath("other.c01").toStdString();
    dao::DBEngine().CreateWorkspace("x", "admin", "").CreateDatabase(other, ";pwd=right").Close();

    struct Case { const char* what; std::string path; std::string connect; long number; };
    for (const Case& c : std::vector<Case>{
             {"missing file", missing, ConnectString(), dao::jet::FileNotFound},
             {"wrong password, file open", path_, ";pwd=wrong", dao::jet::NotValidPassword},
             {"wrong password, file closed", other, ";pwd=wrong", dao::jet::NotValidPassword},
             {"no password on a keyed file", other, "", dao::jet::NotValidPassword},
             {"plain SQLite file", plain, ConnectString(), dao::jet::NotValidPassword},
             {"empty file", empty, ConnectString(), 3343}}) {
        auto ws = dao::DBEngine().CreateWorkspace("gWS", "admin", "");
        std::string description;
        EXPECT_EQ(ErrorOf([&] { ws.OpenDatabase(c.path, false, true, c.connect); }, &description), c.number)
            << c.what;
        if (c.number == dao::jet::FileNotFound) {
            EXPECT_EQ(description, "Could not find file '" + missing + "'.");
        }
        if (c.number == dao::jet::NotValidPassword) {
            EXPECT_EQ(description, "Not a valid password.");
        }
        ws.Close();
    }
    auto ws = dao::DBEngine().CreateWorkspace("gWS", "admin", "");
    EXPECT_NO_THROW(ws.OpenDatabase(other, false, true, ";PWD=right").Close());
    EXPECT_EQ(ErrorOf([&] { ws.CreateDatabase(other, ";pwd=right"); }), dao::jet::DatabaseExists);
    ws.Close();
}

TEST_F(DaoTest, KeyedFileIsNotReadableWithoutTheKey) {
    ws_.Close();
    QFile f(QString::fromStdString(path_));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray bytes = f.readAll();
    EXPECT_GT(bytes.size(), 0);
    EXPECT_FALSE(bytes.startsWith("SQLite format 3"));
    EXPECT_EQ(bytes.indexOf("Pastilha"), -1);
}

TEST_F(DaoTest, StatementFailuresGiveJetsErrors) {
    struct Case { const char* sql; long number; };
    for (const Case& c : std::vector<Case>{
             {"CREATE TABLE T (a Long)", dao::jet::TableExists},
             {"SELECT * FROM NoSuchTable", dao::jet::NoSuchTable},
             {"DROP TABLE NoSuchTable", 3376},
             {"UPDATE T SET NoSuchColumn = 1", dao::jet::TooFewParameters},
             {"SELECT Id FROM T", dao::jet::CannotExecuteSelect},
             {"UPDATE T SET", dao::jet::SyntaxError},
             {"UPDATE T SET Qt = 1; DELETE FROM T", 3142},
             {"UPDATE T SET Nome = Mid(Nome, 0)", vb::err::InvalidProcedureCall},
             {"", 3129},
             // SQLite's own statements are no Jet SQL.
             {"BEGIN", 3129},
             {"  commit", 3129},
             {"SAVEPOINT x", 3129},
             {"PRAGMA journal_mode=WAL", 3129}}) {
        std::string description;
        EXPECT_EQ(ErrorOf([&] { db_.Execute(c.sql, dao::dbFailOnError); }, &description), c.number)
            << c.sql << ": " << description;
    }
    std::string description;
    EXPECT_EQ(ErrorOf([&] { db_.Execute("CREATE TABLE t (a Long)"); }, &description), dao::jet::TableExists);
    EXPECT_EQ(description, "Table 't' already exists.");
    EXPECT_EQ(Rows(db_, "SELECT Count(*) FROM T WHERE Qt = 1"), Lines{"0"});   // the 3142 case ran nothing
    // An action query is no recordset: refused, and not run.
    EXPECT_EQ(ErrorOf([&] { db_.OpenRecordset("DELETE FROM T"); }), dao::jet::InvalidOperation);
    EXPECT_EQ(ErrorOf([&] { db_.OpenRecordset("UPDATE T SET Qt = 1", dao::dbOpenForwardOnly); }),
              dao::jet::InvalidOperation);
    EXPECT_EQ(Rows(db_, "SELECT Count(*) FROM T WHERE Qt = 1"), Lines{"0"});
    EXPECT_EQ(Rows(db_, "SELECT Count(*) FROM T"), Lines{"5"});
}

TEST_F(DaoTest, ReadOnlyDatabaseRefusesWritesOnTheSharedConnection) {
    auto ws = dao::DBEngine().CreateWorkspace("gWS", "admin", "");
    auto ro = ws.OpenDatabase(path_, false, true, ConnectString());
    EXPECT_FALSE(ro.Updatable());
    EXPECT_TRUE(db_.Updatable());
    for (const char* sql : {"UPDATE T SET Qt = 1", "DELETE FROM T", "INSERT INTO U VALUES (1, 1)",
                            "CREATE TABLE Z (a Long)", "DROP TABLE U"}) {
        std::string description;
        EXPECT_EQ(ErrorOf([&] { ro.Execute(sql); }, &description), dao::jet::ReadOnly) << sql;
        EXPECT_EQ(description, "Cannot update. Database or object is read-only.");
    }
    EXPECT_EQ(ErrorOf([&] { ro.OpenRecordset("DELETE FROM T"); }), dao::jet::ReadOnly);
    EXPECT_EQ(Rows(ro, "SELECT Count(*) FROM T"), Lines{"5"});
    // The writable database on the same file still writes, and the reader sees it at once.
    db_.Execute("UPDATE T SET Qt = 9 WHERE Id = 1");
    EXPECT_EQ(Rows(ro, "SELECT Qt FROM T WHERE Id = 1"), Lines{"9"});
    ws.Close();
}

// A file this user cannot change: opened to be written it says so at once, with Jet's
// read-only error naming the file, instead of opening quietly for reading; for reading, and
// in a data control (whose lists only read), it opens as ever. The file is made unwritable by
// its permissions where they bind (not for root) and by the layer's file faults everywhere.
TEST_F(DaoTest, AFileThatCannotBeWrittenRefusesAWritableOpening) {
    struct Case { const char* what; std::function<void(const std::string&)> make, undo; };
    std::vector<Case> cases = {{"the file system refuses writing",
                                [](const std::string& f) { dao::SetFileFaultForTesting(f, dao::FileFault::NoWriteAccess); },
                                [](const std::string& f) { dao::SetFileFaultForTesting(f, dao::FileFault::None); }}};
    if (::geteuid() != 0)
        cases.push_back({"read-only permissions",
                         [](const std::string& f) { QFile::setPermissions(QString::fromStdString(f), QFile::ReadOwner); },
                         [](const std::string& f) {
                             QFile::setPermissions(QString::fromStdString(f), QFile::ReadOwner | QFile::WriteOwner);
                         }});
    const std::string file = dir_.filePath("locked.c01").toStdString();
    {
        auto ws = dao::DBEngine().CreateWorkspace("make", "admin", "");
        auto db = ws.CreateDatabase(file, ConnectString());
        daotest::CreateFixture(db);
        ws.Close();
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.make(file);
        auto ws = dao::DBEngine().CreateWorkspace("mWsLockTrans", "admin", "");
        std::string description;
        EXPECT_EQ(ErrorOf([&] { ws.OpenDatabase(file, false, false, ConnectString()); }, &description),
                  dao::jet::ReadOnly);
        EXPECT_NE(description.find(file), std::string::npos) << description;
        auto ro = ws.OpenDatabase(file, false, true, ConnectString());
        EXPECT_EQ(Rows(ro, "SELECT Count(*) FROM T"), Lines{"5"});
        // Open for reading already, the file still refuses a writable opening.
        EXPECT_EQ(ErrorOf([&] { ws.OpenDatabase(file, false, false, ConnectString()); }), dao::jet::ReadOnly);
        dao::DataControl dtc;
        dtc.SetDatabaseName(file);
        dtc.SetConnect(ConnectString());
        dtc.SetRecordSource("SELECT Id FROM T");
        EXPECT_NO_THROW(dtc.Refresh());
        EXPECT_EQ(dtc.GetRecordset().RecordCount(), 5);
        EXPECT_FALSE(dtc.GetDatabase().Updatable());
        dtc.GetDatabase().Close();
        ws.Close();
        c.undo(file);
        // Writable again, it opens for writing.
        auto again = dao::DBEngine().CreateWorkspace("again", "admin", "");
        EXPECT_TRUE(again.OpenDatabase(file, false, false, ConnectString()).Updatable());
        again.Close();
    }
}

TEST_F(DaoTest, TableDefsListTheUserTables) {
    db_.Execute("CREATE TABLE Carrinho_20240507_0 (CodigoProduto Long)");
    std::vector<std::string> names;
    for (const auto& t : db_.TableDefs()) names.push_back(t.Name);
    EXPECT_EQ(names, (std::vector<std::string>{"T", "U", "Carrinho_20240507_0"}));
    db_.Execute("DROP TABLE Carrinho_20240507_0");
    EXPECT_EQ(db_.TableDefs().size(), 2u);
}

TEST_F(DaoTest, ClosedAndUnsetHandlesRaise) {
    dao::Recordset nothing;
    EXPECT_EQ(ErrorOf([&] { nothing.MoveNext(); }), dao::jet::ObjectNotSet);
    auto rs = db_.OpenRecordset("SELECT * FROM T");
    rs.Close();
    EXPECT_EQ(ErrorOf([&] { rs.MoveNext(); }), dao::jet::ObjectClosed);
    auto copy = db_;
    copy.Close();
    EXPECT_FALSE(db_.IsOpen());   // copies share one object
    EXPECT_EQ(ErrorOf([&] { db_.Execute("DELETE FROM T"); }), dao::jet::ObjectClosed);
}

// ---- transactions ----------------------------------------------------------------------

class DaoTransactionTest : public DaoTest {
protected:
    dao::Workspace Open(const char* name, dao::Database* db) {
        auto ws = dao::DBEngine().CreateWorkspace(name, "admin", "");
        *db = ws.OpenDatabase(path_, false, false, ConnectString());
        return ws;
    }
    std::string Qt(int id) { return Rows(db_, "SELECT Qt FROM T WHERE Id = " + std::to_string(id)).at(0); }
    // What the file holds, read through a fresh connection once the fixture's is closed.
    Lines RowsFromFile(const std::string& sql) {
        ws_.Close();
        auto ws = dao::DBEngine().CreateWorkspace("check", "admin", "");
        auto db = ws.OpenDatabase(path_, false, true, ConnectString());
        const Lines rows = Rows(db, sql);
        ws.Close();
        return rows;
    }
};

TEST_F(DaoTransactionTest, RollbackAndCommitOfOneWorkspace) {
    ws_.BeginTrans();
    db_.Execute("UPDATE T SET Qt = 100 WHERE Id = 1");
    EXPECT_EQ(Qt(1), "100");
    ws_.Rollback();
    EXPECT_EQ(Qt(1), "5");
    ws_.BeginTrans();
    ws_.BeginTrans();   // nested in the same workspace
    db_.Execute("UPDATE T SET Qt = 101 WHERE Id = 1");
    ws_.Rollback();
    db_.Execute("UPDATE T SET Qt = 102 WHERE Id = 3");
    ws_.CommitTrans(dao::dbForceOSFlush);
    EXPECT_EQ(Qt(1), "5");
    EXPECT_EQ(Qt(3), "102");
    EXPECT_EQ(ErrorOf([&] { ws_.CommitTrans(); }), dao::jet::TransactionNotOpen);
    EXPECT_EQ(ErrorOf([&] { ws_.Rollback(); }), dao::jet::TransactionNotOpen);
}

TEST_F(DaoTransactionTest, LockWorkspaceHoldsWhileAnotherWorkspaceWritesAndCommits) {
    dao::Database dbLock, dbWrite;
    auto wsLock = Open("mWsLockTrans", &dbLock);
    wsLock.BeginTrans();
    dbLock.Execute("UPDATE U SET a = a", dao::dbFailOnError | dao::dbSeeChanges);
    auto wsWrite = Open("sWsNotReadOnly", &dbWrite);
    wsWrite.BeginTrans();   // nests as a savepoint on the one connection
    dbWrite.Execute("UPDATE U SET Versao = 8", dao::dbFailOnError);
    // Ending the outer one first is out of order and changes nothing.
    EXPECT_EQ(ErrorOf([&] { wsLock.CommitTrans(); }), dao::jet::TransactionNotOpen);
    EXPECT_EQ(wsLock.TransactionLevel(), 1);
    wsWrite.CommitTrans(dao::dbForceOSFlush);
    wsWrite.Close();
    wsLock.CommitTrans();
    wsLock.Close();
    // What was committed is in the file: a fresh connection reads it.
    EXPECT_EQ(RowsFromFile("SELECT Versao, a FROM U"), Lines{"8|1"});
}

// The workspaces alone begin and end transactions on the shared connection: a COMMIT or
// ROLLBACK text through another database (a read-only one passes SQLite's own check) would
// end the lock's transaction behind its back.
TEST_F(DaoTransactionTest, TransactionStatementsCannotEndAWorkspacesTransaction) {
    dao::Database dbLock, ro;
    auto wsLock = Open("mWsLockTrans", &dbLock);
    auto wsRo = dao::DBEngine().CreateWorkspace("gWS", "admin", "");
    ro = wsRo.OpenDatabase(path_, false, true, ConnectString());
    wsLock.BeginTrans();
    dbLock.Execute("UPDATE T SET Qt = 300 WHERE Id = 1");
    for (const char* sql : {"COMMIT", "END TRANSACTION", "ROLLBACK", "RELEASE zk_sp_1"}) {
        EXPECT_EQ(ErrorOf([&] { ro.Execute(sql); }), dao::jet::EmptyStatement) << sql;
        EXPECT_EQ(ErrorOf([&] { db_.Execute(sql); }), dao::jet::EmptyStatement) << sql;
    }
    EXPECT_EQ(Qt(1), "300");
    wsLock.Rollback();
    EXPECT_EQ(Qt(1), "5");
    wsRo.Close();
    wsLock.Close();
}

TEST_F(DaoTransactionTest, ClosingAWorkspaceRollsBackItsTransactionAndWhatNestsInIt) {
    dao::Database dbLock, dbWrite;
    auto wsLock = Open("mWsLockTrans", &dbLock);
    wsLock.BeginTrans();
    dbLock.Execute("UPDATE T SET Qt = 200 WHERE Id = 1");
    auto wsWrite = Open("sWsNotReadOnly", &dbWrite);
    wsWrite.BeginTrans();
    dbWrite.Execute("UPDATE T SET Qt = 201 WHERE Id = 3");
    wsLock.Close();   // abandons its transaction, and the savepoint above it
    EXPECT_EQ(Qt(1), "5");
    EXPECT_EQ(Qt(3), "0");
    std::string description;
    EXPECT_EQ(ErrorOf([&] { wsWrite.CommitTrans(); }, &description), dao::jet::TransactionNotOpen);
    EXPECT_NE(description.find("rolled back"), std::string::npos) << description;
    EXPECT_EQ(wsWrite.TransactionLevel(), 0);
    // The connection is free for new transactions.
    wsWrite.BeginTrans();
    dbWrite.Execute("UPDATE T SET Qt = 202 WHERE Id = 3");
    wsWrite.CommitTrans();
    EXPECT_EQ(Qt(3), "202");
    wsWrite.Close();

    // Dropping the last handles of a workspace closes it, abandoning its transaction.
    {
        dao::Database db;
        auto ws = Open("temp", &db);
        ws.BeginTrans();
        db.Execute("UPDATE T SET Qt = 203 WHERE Id = 3");
    }
    EXPECT_EQ(Qt(3), "202");
}

// The disk fills while a commit writes the file: the engine rolls the transaction back, and
// the workspace holds none any more (a release that kept it would wait for a commit that can
// never come); the file keeps what it had, and the next transaction works once there is room.
// A busy file keeps the transaction instead (the update lock's tests show that one).
TEST_F(DaoTransactionTest, ACommitTheDiskCannotTakeEndsTheTransaction) {
    dao::Database dbLock, dbWrite;
    auto wsLock = Open("mWsLockTrans", &dbLock);
    wsLock.BeginTrans();
    dbLock.Execute("UPDATE U SET a = a", dao::dbFailOnError | dao::dbSeeChanges);
    auto wsWrite = Open("sWsNotReadOnly", &dbWrite);
    wsWrite.BeginTrans();
    dbWrite.Execute("UPDATE T SET Qt = 400 WHERE Id = 1");
    wsWrite.CommitTrans(dao::dbForceOSFlush);
    dao::SetFileFaultForTesting(path_, dao::FileFault::FullDisk);
    std::string description;
    EXPECT_EQ(ErrorOf([&] { wsLock.CommitTrans(dao::dbForceOSFlush); }, &description), dao::jet::DiskFull);
    EXPECT_EQ(description, "Not enough space on disk.");
    EXPECT_EQ(wsLock.TransactionLevel(), 0);
    EXPECT_EQ(ErrorOf([&] { wsLock.CommitTrans(); }), dao::jet::TransactionNotOpen);
    dao::SetFileFaultForTesting(path_, dao::FileFault::None);
    EXPECT_EQ(Qt(1), "5");
    wsLock.BeginTrans();
    dbLock.Execute("UPDATE T SET Qt = 401 WHERE Id = 1");
    wsLock.CommitTrans();
    wsWrite.Close();
    wsLock.Close();
    EXPECT_EQ(RowsFromFile("SELECT Qt FROM T WHERE Id = 1"), Lines{"401"});
}

// ---- recordsets ------------------------------------------------------------------------

TEST_F(DaoTest, RecordsetNavigation) {
    auto rs = db_.OpenRecordset("SELECT Id FROM T ORDER BY Id", dao::dbOpenDynaset);
    auto id = [&] { return rs.Fields("ID").Value().ToLong(); };
    EXPECT_EQ(rs.RecordCount(), 5);
    EXPECT_FALSE(rs.Bof());
    EXPECT_EQ(rs.AbsolutePosition(), 0);
    EXPECT_EQ(id(), 1);
    rs.MoveLast();
    EXPECT_EQ(id(), 5);
    rs.MoveNext();
    EXPECT_TRUE(rs.Eof());
    EXPECT_EQ(rs.AbsolutePosition(), -1);
    EXPECT_EQ(ErrorOf([&] { rs.MoveNext(); }), dao::jet::NoCurrentRecord);
    EXPECT_EQ(ErrorOf([&] { id(); }), dao::jet::NoCurrentRecord);
    rs.MovePrevious();
    EXPECT_EQ(id(), 5);
    rs.Move(-3);
    EXPECT_EQ(id(), 2);
    rs.Move(-10);
    EXPECT_TRUE(rs.Bof());
    EXPECT_EQ(ErrorOf([&] { rs.MovePrevious(); }), dao::jet::NoCurrentRecord);
    rs.MoveFirst();
    rs.SetAbsolutePosition(3);
    EXPECT_EQ(id(), 4);
    EXPECT_EQ(ErrorOf([&] { rs.SetAbsolutePosition(5); }), dao::jet::InvalidArgument);

    auto none = db_.OpenRecordset("SELECT Id FROM T WHERE Id > 99");
    EXPECT_TRUE(none.Eof());
    EXPECT_TRUE(none.Bof());
    EXPECT_EQ(none.RecordCount(), 0);
    EXPECT_EQ(ErrorOf([&] { none.MoveFirst(); }), dao::jet::NoCurrentRecord);
}

TEST_F(DaoTest, FieldsFollowTheCurrentRowAndCarryJetTypes) {
    auto rs = db_.OpenRecordset("T");   // a table name opens the table
    auto name = rs.Fields("nome");
    EXPECT_EQ(name.Name(), "Nome");
    EXPECT_EQ(name.Value().ToString(), "Pastilha");
    EXPECT_EQ(rs.Fields(0).Value().Type(), vb::VarType::Long);
    EXPECT_EQ(rs.Fields("Preco").Value().Type(), vb::VarType::Double);
    EXPECT_EQ(rs.Fields("Dia").Value().Type(), vb::VarType::Date);
    EXPECT_EQ(rs.Fields("Num").Value().Type(), vb::VarType::String);
    rs.MoveNext();
    EXPECT_EQ(name.Value().ToString(), "ÁGUA");
    EXPECT_TRUE(rs.Fields("Dia").Value().IsNull());
    EXPECT_EQ(rs.Fields("T.Nome").Value().ToString(), "ÁGUA");
    EXPECT_EQ(ErrorOf([&] { rs.Fields("Missing"); }), dao::jet::ItemNotFound);
    EXPECT_EQ(ErrorOf([&] { rs.Fields("T.Missing"); }), dao::jet::ItemNotFound);
    EXPECT_EQ(ErrorOf([&] { rs.Fields(6); }), dao::jet::ItemNotFound);
    auto expr = db_.OpenRecordset("SELECT Count(*) AS N, 1.5 AS X FROM T", dao::dbOpenForwardOnly);
    EXPECT_EQ(expr.Fields("N").Value().Type(), vb::VarType::Long);
    EXPECT_EQ(expr.Value("X").ToDouble(), 1.5);
}

TEST_F(DaoTest, ANameAloneOpensItsTable) {
    db_.Execute("CREATE TABLE [Duas Palavras] (Codigo Long)");
    db_.Execute("INSERT INTO [Duas Palavras] (Codigo) VALUES (9)");
    EXPECT_EQ(Rows(db_, " [Duas Palavras]\r\n"), (Lines{"9"}));
    EXPECT_EQ(Rows(db_, "\tU "), (Lines{"7|1"}));
    EXPECT_EQ(Rows(db_, "[U]"), (Lines{"7|1"}));
    EXPECT_EQ(ErrorOf([&] { db_.OpenRecordset("Duas Palavras"); }), dao::jet::SyntaxError);
}

TEST_F(DaoTest, BookmarksAndClones) {
    auto rs = db_.OpenRecordset("SELECT Id FROM T ORDER BY Id");
    rs.Move(2);
    dao::Bookmark third = rs.GetBookmark();
    rs.MoveFirst();
    rs.SetBookmark(third);
    EXPECT_EQ(rs.Value("Id").ToLong(), 3);

    auto clone = rs.Clone();
    EXPECT_EQ(clone.Value("Id").ToLong(), 1);   // its own position
    clone.MoveLast();
    EXPECT_EQ(rs.Value("Id").ToLong(), 3);
    clone.SetBookmark(third);                    // bookmarks are shared with clones
    EXPECT_EQ(clone.Value("Id").ToLong(), 3);

    // A grid reads its visible rows without moving the current one.
    EXPECT_EQ(rs.BookmarkAt(2), third);
    EXPECT_EQ(rs.ValueAt(4, 0).ToLong(), 5);
    EXPECT_EQ(rs.Value("Id").ToLong(), 3);
    EXPECT_EQ(ErrorOf([&] { rs.ValueAt(5, 0); }), dao::jet::InvalidArgument);

    auto other = db_.OpenRecordset("SELECT Id FROM T ORDER BY Id");
    EXPECT_EQ(ErrorOf([&] { other.SetBookmark(third); }), dao::jet::InvalidBookmark);
    rs.Requery();
    EXPECT_EQ(ErrorOf([&] { rs.SetBookmark(third); }), dao::jet::InvalidBookmark);
    EXPECT_EQ(rs.Value("Id").ToLong(), 1);

    auto fwd = db_.OpenRecordset("SELECT Id FROM T", dao::dbOpenForwardOnly);
    fwd.MoveNext();
    for (auto f : std::vector<std::function<void()>>{[&] { fwd.MovePrevious(); }, [&] { fwd.GetBookmark(); },
                                                     [&] { fwd.Clone(); }, [&] { fwd.FindFirst("Id = 1"); },
                                                     [&] { fwd.MoveFirst(); }})
        EXPECT_EQ(ErrorOf(f), dao::jet::NotSupported);
}

struct FindCase {
    const char* criteria;
    long found;   // Id of the row found; 0 for no match
};

void PrintTo(const FindCase& c, std::ostream* os) { *os << c.criteria; }

class DaoFindFirstTest : public DaoTest, public ::testing::WithParamInterface<FindCase> {};

TEST_P(DaoFindFirstTest, FindsTheFirstMatchingRow) {
    auto rs = db_.OpenRecordset("SELECT * FROM T ORDER BY Id", dao::dbOpenSnapshot);
    rs.MoveLast();
    rs.FindFirst(GetParam().criteria);
    EXPECT_EQ(rs.NoMatch(), GetParam().found == 0);
    // No match leaves the current row where it was.
    EXPECT_EQ(rs.Value("Id").ToLong(), GetParam().found ? GetParam().found : 5);
}

INSTANTIATE_TEST_SUITE_P(
    DaoCriteria, DaoFindFirstTest,
    ::testing::Values(
        FindCase{"Id = 3", 3},
        FindCase{"Id=99", 0},
        FindCase{"Nome = 'água'", 2},        // case-insensitive: 'ÁGUA' comes first
        FindCase{"Nome = 'agua'", 0},        // accents count
        FindCase{"Nome = 'O''Brien & Sons'", 4},
        FindCase{"Qt > 4 AND Preco < 2", 1},
        FindCase{"Qt >= 7 OR Num = 'x1'", 4},
        FindCase{"(Id = 1 OR Id = 5) AND NOT Nome LIKE 'P*'", 5},
        FindCase{"Num = Null", 2},
        FindCase{"Num Is Not Null AND Qt <= 0", 3},
        FindCase{"Qt <> 5", 3},              // Null is no match
        FindCase{"Id = '4'", 4},             // a text that reads as a number
        FindCase{"T.Id = 2", 2},
        FindCase{"[Nome] LIKE '*&*'", 4},
        FindCase{"Preco = 10.25", 4},
        FindCase{"Dia > #1/1/2010#", 1},
        FindCase{"Id = -1 OR Id = +2", 2}));

TEST_F(DaoTest, FindRaisesOnBadCriteriaAndContinuesWithFindNext) {
    auto rs = db_.OpenRecordset("SELECT * FROM T ORDER BY Id", dao::dbOpenDynaset);
    EXPECT_EQ(ErrorOf([&] { rs.FindFirst("CodigoProduto = 3"); }), 3070);
    EXPECT_EQ(ErrorOf([&] { rs.FindFirst("Id = 'abc'"); }), 3464);
    EXPECT_EQ(ErrorOf([&] { rs.FindFirst("Id = "); }), dao::jet::SyntaxError);
    EXPECT_EQ(ErrorOf([&] { rs.FindFirst("Id = 1 Id"); }), dao::jet::SyntaxError);
    EXPECT_EQ(ErrorOf([&] { rs.FindFirst("Id = 1E999"); }), dao::jet::SyntaxError);
    // Nesting beyond any real criteria is refused, not a stack overflow; moderate nesting reads.
    const auto nested = [](const std::string& open, int levels, const std::string& close) {
        std::string s;
        for (int i = 0; i < levels; ++i) s += open;
        s += "Id = 2";
        for (int i = 0; i < levels; ++i) s += close;
        return s;
    };
    EXPECT_EQ(ErrorOf([&] { rs.FindFirst(nested("(", 100000, ")")); }), dao::jet::SyntaxError);
    EXPECT_EQ(ErrorOf([&] { rs.FindFirst(nested("NOT ", 100000, "")); }), dao::jet::SyntaxError);
    rs.FindFirst(nested("(NOT NOT ", 50, ")"));
    EXPECT_EQ(rs.Value("Id").ToLong(), 2);
    rs.FindFirst("Qt <> Null");
    EXPECT_EQ(rs.Value("Id").ToLong(), 1);
    rs.FindNext("Qt <> Null");
    EXPECT_EQ(rs.Value("Id").ToLong(), 3);
    rs.FindLast("Qt <> Null");
    EXPECT_EQ(rs.Value("Id").ToLong(), 5);
    rs.FindPrevious("Qt > 4");
    EXPECT_EQ(rs.Value("Id").ToLong(), 4);
    rs.FindNext("Qt > 4");
    EXPECT_TRUE(rs.NoMatch());
    EXPECT_EQ(rs.Value("Id").ToLong(), 4);
}

// A list opened again with the same text after its table was dropped and made anew (the cart
// table is, by this program and by update scripts of another computer) reads the new table.
TEST_F(DaoTest, SameQueryAfterItsTableWasMadeAnewReadsTheNewTable) {
    const std::string sql = "SELECT * FROM Cesta ORDER BY 1";
    db_.Execute("CREATE TABLE Cesta (Codigo Long, Nome Text(10))");
    db_.Execute("INSERT INTO Cesta (Codigo, Nome) VALUES (1, 'um')");
    EXPECT_EQ(Rows(db_, sql), (Lines{"1|um"}));
    EXPECT_EQ(Rows(db_, "Cesta"), (Lines{"1|um"}));

    db_.Execute("DROP TABLE Cesta");
    EXPECT_EQ(ErrorOf([&] { db_.OpenRecordset(sql); }), dao::jet::NoSuchTable);
    db_.Execute("CREATE TABLE Cesta (Dia Date, Qt Int, Nome Text(10))");
    db_.Execute("INSERT INTO Cesta (Dia, Qt, Nome) VALUES (#5/7/2024#, 3, 'tres')");
    auto rs = db_.OpenRecordset(sql);
    ASSERT_EQ(rs.FieldCount(), 3);
    EXPECT_EQ(rs.Fields(0).Name(), "Dia");
    EXPECT_EQ(rs.Fields(0).Value().Type(), vb::VarType::Date);
    EXPECT_EQ(rs.Fields(1).Value().Type(), vb::VarType::Long);
    EXPECT_EQ(rs.Value("Nome").ToString(), "tres");
    rs.Close();

    // The same, made anew by another connection to the file.
    {
        sqlite3* outro = nullptr;
        ASSERT_EQ(sqlite3_open(path_.c_str(), &outro), SQLITE_OK);
        const std::string chave = "PRAGMA key = 's3gr''edo'";
        sqlite3_exec(outro, chave.c_str(), nullptr, nullptr, nullptr);
        ASSERT_EQ(sqlite3_exec(outro, "DROP TABLE Cesta; CREATE TABLE Cesta (Nome TEXT); INSERT INTO Cesta VALUES ('so')",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(outro);
    }
    EXPECT_EQ(Rows(db_, sql), (Lines{"so"}));
    EXPECT_EQ(Rows(db_, "Cesta"), (Lines{"so"}));
}

// Two recordsets of the same text at once each keep their own rows and position.
TEST_F(DaoTest, TwoRecordsetsOfTheSameQueryAreIndependent) {
    const std::string sql = "SELECT Id, Nome FROM T ORDER BY Id";
    auto a = db_.OpenRecordset(sql);
    auto b = db_.OpenRecordset(sql);
    a.MoveLast();
    EXPECT_EQ(a.Value("Id").ToLong(), 5);
    EXPECT_EQ(b.Value("Id").ToLong(), 1);
    db_.Execute("UPDATE T SET Nome = 'outro' WHERE Id = 1");
    auto c = db_.OpenRecordset(sql);
    EXPECT_EQ(c.Value("Nome").ToString(), "outro");
    EXPECT_EQ(b.Value("Nome").ToString(), "Pastilha");
    b.Close();
    EXPECT_EQ(a.Value("Id").ToLong(), 5);
    EXPECT_EQ(Rows(db_, sql).size(), 5u);
}

// ---- the data control --------------------------------------------------------------------

TEST_F(DaoTest, DataControlRequeriesAndTellsItsListeners) {
    dao::DataControl dtc;
    dtc.SetDatabaseName(path_);
    dtc.SetConnect(ConnectString());
    dtc.SetReadOnly(true);
    std::vector<dao::DataControl::Event> events;
    int id = dtc.AddListener([&](dao::DataControl::Event e) { events.push_back(e); });
    EXPECT_TRUE(dtc.GetRecordset().IsNothing());

    dtc.SetRecordSource("SELECT Id, Nome FROM T ORDER BY Id");
    dtc.Refresh();
    auto rs = dtc.GetRecordset();
    ASSERT_FALSE(rs.IsNothing());
    EXPECT_EQ(rs.RecordCount(), 5);
    EXPECT_FALSE(dtc.GetDatabase().Updatable());
    rs.MoveNext();
    rs.FindFirst("Id = 4");
    rs.FindFirst("Id = 40");   // no match, no move, no event
    using E = dao::DataControl::Event;
    EXPECT_EQ(events, (std::vector<E>{E::Requery, E::Reposition, E::Reposition}));

    // A new record source; the old recordset no longer reports to the control.
    events.clear();
    dtc.SetRecordSource("SELECT Id FROM T WHERE Id > 3");
    dtc.Refresh();
    rs.MoveFirst();
    EXPECT_EQ(dtc.GetRecordset().RecordCount(), 2);
    EXPECT_FALSE(dtc.GetRecordset().SameAs(rs));
    dtc.GetRecordset().MoveNext();
    EXPECT_EQ(events, (std::vector<E>{E::Requery, E::Reposition}));

    // The program closes a screen by setting the recordset to nothing.
    dtc.GetRecordset().Close();
    dtc.SetRecordset(dao::Recordset());
    EXPECT_TRUE(dtc.GetRecordset().IsNothing());
    dtc.RemoveListener(id);
    dtc.Refresh();
    EXPECT_EQ(events.size(), 3u);

    // It reads through the one connection of the file, so it sees the writes of this process.
    db_.Execute("UPDATE T SET Nome = 'novo' WHERE Id = 4");
    dtc.SetRecordSource("SELECT Nome FROM T WHERE Id = 4");
    dtc.Refresh();
    EXPECT_EQ(dtc.GetRecordset().Value("Nome").ToString(), "novo");
    EXPECT_EQ(ErrorOf([&] { dtc.GetDatabase().Execute("DELETE FROM T"); }), dao::jet::ReadOnly);
}

}  // namespace
