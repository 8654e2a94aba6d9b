// Jet statements that SQLite runs as several of its own: a table made anew keeps what it had,
// a statement that fails leaves nothing of itself, and the forms that stay refused say so.
#include "tests/dao/DaoFixture.h"
#include "tests/support/ErroVb.h"

#include "platform/dao/JetSql.h"

namespace daotest {
namespace {

using Lines = std::vector<std::string>;
using testsupport::NumeroErro;

// The table's design and rows, as a statement that fails must leave them.
Lines Retrato(dao::Database& db, const std::string& tabela) {
    Lines r = Rows(db, "SELECT type, name, sql FROM sqlite_master WHERE tbl_name = '" + tabela + "' ORDER BY type, name");
    for (const std::string& l : Rows(db, "SELECT * FROM " + tabela)) r.push_back(l);
    return r;
}

// A statement of each kind that fails half-way, after the table was made anew or its rows
// changed: the table is as it was, and so is every other table.
TEST_F(DaoTest, AStatementThatFailsLeavesTheTablesAsTheyWere) {
    db_.Execute("CREATE TABLE P (Id Counter CONSTRAINT pkP PRIMARY KEY, Nome Text(10))");
    db_.Execute("CREATE TABLE C (Id Long, IdP Long CONSTRAINT fkC REFERENCES P (Id), Obs Text(20))");
    db_.Execute("CREATE INDEX ixObs ON C (Obs)");
    db_.Execute("INSERT INTO P (Nome) VALUES ('um')");
    db_.Execute("INSERT INTO C (Id, IdP, Obs) VALUES (10, 1, 'abcdefgh')");
    db_.Execute("INSERT INTO C (Id, IdP, Obs) VALUES (10, Null, Null)");
    struct Caso {
        const char* sql;
        long erro;
    } casos[] = {
        {"ALTER TABLE C ADD CONSTRAINT pkC PRIMARY KEY (Id)", 3022},          // two rows of Id 10
        {"CREATE INDEX pkC ON C (IdP) WITH PRIMARY", 3058},                   // a Null
        {"ALTER TABLE C ALTER COLUMN Obs Text(3)", dao::jet::FieldTooSmall},  // would cut 'abcdefgh'
        {"ALTER TABLE C DROP COLUMN Obs", 3280},
        {"ALTER TABLE C DROP COLUMN IdP", 3303},
        {"ALTER TABLE P DROP COLUMN Id", 3280},
        {"DROP TABLE P", 3303},
        {"ALTER TABLE C ADD CONSTRAINT fk2 FOREIGN KEY (Id) REFERENCES P (Id)", 3201},
        {"ALTER TABLE C DROP CONSTRAINT semEsse", 3371},
        {"UPDATE C INNER JOIN P ON C.IdP = P.Id SET C.Obs = P.Nome & 'xxxxxxxxxxxxxxxxxxxxxx'", dao::jet::FieldTooSmall},
        {"SELECT Id, Obs INTO C FROM C", dao::jet::TableExists},
    };
    const Lines p = Retrato(db_, "P"), c = Retrato(db_, "C");
    for (const Caso& k : casos) {
        std::string descricao;
        EXPECT_EQ(NumeroErro([&] { db_.Execute(k.sql, dao::dbFailOnError); }, &descricao), k.erro) << k.sql;
        EXPECT_FALSE(descricao.empty()) << k.sql;
        EXPECT_EQ(Retrato(db_, "P"), p) << k.sql;
        EXPECT_EQ(Retrato(db_, "C"), c) << k.sql;
    }
    // And the relationship still holds both ways.
    EXPECT_EQ(NumeroErro([&] { db_.Execute("INSERT INTO C (Id, IdP) VALUES (11, 5)"); }), 3201);
    EXPECT_EQ(NumeroErro([&] { db_.Execute("DELETE FROM P"); }), 3200);
}

// A table made anew (a column altered, one dropped, a key added) keeps its indexes, its
// counter, its relationships on both sides and its text collation.
TEST_F(DaoTest, ATableMadeAnewKeepsItsIndexesCountersAndRelationships) {
    db_.Execute("CREATE TABLE P (Id Counter(5, 5), Nome Text(10), Extra Long, CONSTRAINT pkP PRIMARY KEY (Id))");
    db_.Execute("CREATE TABLE C (Id Long, IdP Long, CONSTRAINT fkC FOREIGN KEY (IdP) REFERENCES P (Id) ON DELETE CASCADE)");
    db_.Execute("CREATE UNIQUE INDEX ixNome ON P (Nome)");
    db_.Execute("INSERT INTO P (Nome) VALUES ('um')");
    db_.Execute("INSERT INTO C (Id, IdP) VALUES (1, 5)");
    db_.Execute("ALTER TABLE P ALTER COLUMN Nome Text(30)");
    db_.Execute("ALTER TABLE P DROP COLUMN Extra");
    db_.Execute("ALTER TABLE C ALTER COLUMN Id Text(5)");
    db_.Execute("ALTER TABLE C ADD CONSTRAINT pkC PRIMARY KEY (Id)");
    db_.Execute("INSERT INTO P (Nome) VALUES ('dois')");
    EXPECT_EQ(Rows(db_, "SELECT Id, Nome FROM P ORDER BY Id"), (Lines{"5|um", "10|dois"}));
    EXPECT_EQ(NumeroErro([&] { db_.Execute("INSERT INTO P (Nome) VALUES ('UM')"); }), dao::jet::DuplicateKey);
    EXPECT_EQ(NumeroErro([&] { db_.Execute("INSERT INTO C (Id, IdP) VALUES ('2', 99)"); }), 3201);
    EXPECT_EQ(NumeroErro([&] { db_.Execute("INSERT INTO C (Id, IdP) VALUES ('1', 10)"); }), dao::jet::DuplicateKey);
    EXPECT_EQ(NumeroErro([&] { db_.Execute("INSERT INTO C (Id, IdP) VALUES ('123456', 10)"); }), dao::jet::FieldTooSmall);
    db_.Execute("INSERT INTO C (Id, IdP) VALUES ('b', 10)");
    EXPECT_EQ(Rows(db_, "SELECT Id FROM C WHERE Id = 'B'"), Lines{"b"});
    db_.Execute("DELETE FROM P WHERE Nome = 'UM'");
    EXPECT_EQ(Rows(db_, "SELECT Id, IdP FROM C"), (Lines{"b|10"}));
    // The relationship dropped, the child's rows are free.
    db_.Execute("ALTER TABLE C DROP CONSTRAINT fkC");
    db_.Execute("INSERT INTO C (Id, IdP) VALUES ('c', 77)");
    db_.Execute("DROP TABLE P");
    EXPECT_EQ(Rows(db_, "SELECT count(*) FROM C"), Lines{"2"});
}

// Statements of several SQLite statements are one statement of the workspace's transaction.
TEST_F(DaoTest, AWorkspaceRollbackUndoesATableMadeAnew) {
    const Lines antes = Retrato(db_, "T");
    ws_.BeginTrans();
    db_.Execute("ALTER TABLE T DROP COLUMN Dia");
    db_.Execute("ALTER TABLE T ADD CONSTRAINT uq UNIQUE (Num)");
    db_.Execute("UPDATE T INNER JOIN U ON T.Id = U.a SET T.Nome = 'x'");
    EXPECT_EQ(Rows(db_, "SELECT Nome FROM T WHERE Id = 1"), Lines{"x"});
    ws_.Rollback();
    EXPECT_EQ(Retrato(db_, "T"), antes);
}

// Where the join gives a target row twice, it is changed twice, in the order the joined rows
// were added to their table: the last assigned value stays, additions add up; the rows
// changed and deleted are counted once.
TEST_F(DaoTest, AJoinedUpdateAppliesEachJoinedRowInTurnAndCountsEachRowOnce) {
    db_.Execute("INSERT INTO U (Versao, a) VALUES (8, 1)");
    db_.Execute("INSERT INTO U (Versao, a) VALUES (9, 3)");
    db_.Execute("UPDATE T INNER JOIN U ON T.Id = U.a SET T.Qt = U.Versao");
    EXPECT_EQ(db_.RecordsAffected(), 2);
    EXPECT_EQ(Rows(db_, "SELECT Id, Qt FROM T WHERE Id IN (1, 3) ORDER BY Id"), (Lines{"1|8", "3|9"}));
    // Applied in turn: the second joined row adds to what the first left.
    db_.Execute("UPDATE T AS x INNER JOIN U ON x.Id = U.a SET x.Qt = x.Qt + U.Versao, x.Preco = U.Versao");
    EXPECT_EQ(db_.RecordsAffected(), 2);
    EXPECT_EQ(Rows(db_, "SELECT Id, Qt, Preco FROM T WHERE Id IN (1, 3) ORDER BY Id"), (Lines{"1|23|8", "3|18|9"}));
    db_.Execute("DELETE DISTINCTROW T.* FROM T INNER JOIN U ON T.Id = U.a");
    EXPECT_EQ(db_.RecordsAffected(), 2);
    db_.Execute("SELECT * INTO Copia FROM T");
    EXPECT_EQ(db_.RecordsAffected(), 3);
    EXPECT_EQ(Rows(db_, "SELECT Id, Nome, Dia FROM Copia ORDER BY Id"), Rows(db_, "SELECT Id, Nome, Dia FROM T ORDER BY Id"));
}

// RIGHT JOIN inside a join that Jet nests in parentheses, and the forms that stay refused.
TEST_F(DaoTest, RightJoinsAreSwappedAndTheRefusedFormsSaySo) {
    EXPECT_EQ(Rows(db_, "SELECT T.Id, U.Versao, T2.Id FROM (U RIGHT JOIN T ON T.Id = U.a) INNER JOIN T AS T2 "
                        "ON T2.Id = T.Id WHERE T.Id < 3 ORDER BY T.Id"),
              (Lines{"1|7|1", "2|<null>|2"}));
    EXPECT_EQ(Rows(db_, "SELECT T.Id, U.Versao FROM U RIGHT JOIN (T INNER JOIN T AS T2 ON T2.Id = T.Id) "
                        "ON T.Id = U.a WHERE T.Id < 3 ORDER BY T.Id"),
              (Lines{"1|7", "2|<null>"}));
    // TOP n PERCENT counts the rows of its own SELECT, whatever stands around it.
    db_.Execute("INSERT INTO U (Versao, a) SELECT TOP 40 PERCENT Id + 1 + Qt, Nome & '!' FROM T WHERE Id > 0 ORDER BY Id");
    EXPECT_EQ(Rows(db_, "SELECT Versao FROM U ORDER BY Versao"), (Lines{"<null>", "7", "7"}));   // Ids 1 and 2 (Qt Null)
    // Right() the function is no join.
    EXPECT_EQ(Rows(db_, "SELECT Right(Nome, 2) FROM T WHERE Id = 1"), Lines{"ha"});
    struct Caso {
        const char* sql;
        long erro;
    } casos[] = {
        {"SELECT Id INTO Nova IN 'outro.mdb' FROM T", dao::jet::NotSupported},
        {"TRANSFORM Count(Id) SELECT Qt FROM T GROUP BY Qt PIVOT Num", dao::jet::NotSupported},
        {"DELETE FROM T INNER JOIN U ON T.Id = U.a", 3128},
        {"UPDATE T INNER JOIN (SELECT a FROM U) AS X ON T.Id = X.a SET X.a = 1", 3073},
    };
    for (const Caso& k : casos) {
        std::string descricao;
        EXPECT_EQ(NumeroErro([&] { db_.Execute(k.sql, dao::dbFailOnError); }, &descricao), k.erro) << k.sql;
        EXPECT_FALSE(descricao.empty()) << k.sql;
    }
    // A database opened read-only changes nothing this way either.
    dao::Database leitura = ws_.OpenDatabase(path_, false, true, ConnectString());
    for (const char* sql : {"ALTER TABLE T DROP COLUMN Dia", "UPDATE T INNER JOIN U ON T.Id = U.a SET T.Qt = 1",
                            "SELECT Id INTO Nova FROM T"})
        EXPECT_EQ(NumeroErro([&] { leitura.Execute(sql); }), dao::jet::ReadOnly) << sql;
}

}  // namespace
}  // namespace daotest
