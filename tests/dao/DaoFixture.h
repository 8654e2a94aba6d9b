// A small keyed database in a temporary folder, shared by the database layer's tests.
#pragma once

#include "platform/dao/Dao.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace daotest {

inline std::string ConnectString() { return std::string(";pwd=") + "s3gr'edo"; }

// Rows of T (Id order): the cases the translation must keep apart.
//  1 Pastilha        Num "1234567"   Qt 5    Preco 1.5   Dia 2024-05-07
//  2 ÁGUA            Num Null        Qt Null Preco Null  Dia Null
//  3 água            Num "12"        Qt 0    Preco 2     Dia 2000-01-01
//  4 O'Brien & Sons  Num "12345678"  Qt 7    Preco 10.25 Dia Null
//  5 abc             Num "x1"        Qt 3    Preco 0.5   Dia Null
inline void CreateFixture(dao::Database& db) {
    db.Execute("CREATE TABLE T (Id Long Not Null, Nome Text(20) Null, Num Text(8) Null, "
               "Qt Int Null, Preco Double, Dia Date, CONSTRAINT PKT PRIMARY KEY(Id))");
    db.Execute("INSERT INTO T (Id, Nome, Num, Qt, Preco, Dia) VALUES (1, 'Pastilha', '1234567', 5, 1.5, DateSerial(2024,5,7))");
    db.Execute("INSERT INTO T (Id, Nome, Num, Qt, Preco, Dia) VALUES (2, 'ÁGUA', Null, Null, Null, Null)");
    db.Execute("INSERT INTO T (Id, Nome, Num, Qt, Preco, Dia) VALUES (3, 'água', '12', 0, 2, #1/1/2000#)");
    db.Execute("INSERT INTO T (Id, Nome, Num, Qt, Preco) VALUES (4, 'O''Brien & Sons', '12345678', 7, 10.25)");
    db.Execute("INSERT INTO T (Id, Nome, Num, Qt, Preco) VALUES (5, \"abc\", 'x1', 3, 0.5)");
    db.Execute("CREATE TABLE U (Versao Long, a Long)");
    db.Execute("INSERT INTO U (Versao, a) VALUES (7, 1)");
}

class DaoTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        path_ = dir_.filePath("fixture.c01").toStdString();
        ws_ = dao::DBEngine().CreateWorkspace("wsTest", "admin", "");
        db_ = ws_.CreateDatabase(path_, ";LANGID=0x0409;CP=1252;COUNTRY=0" + ConnectString());
        CreateFixture(db_);
    }
    void TearDown() override {
        if (!ws_.IsNothing()) ws_.Close();
    }

    QTemporaryDir dir_;
    std::string path_;
    dao::Workspace ws_;
    dao::Database db_;
};

// Every row of a query, each as its values joined by "|"; Null is "<null>".
inline std::vector<std::string> Rows(dao::Database& db, const std::string& sql) {
    auto rs = db.OpenRecordset(sql, dao::dbOpenSnapshot);
    std::vector<std::string> out;
    while (!rs.Eof()) {
        std::string line;
        for (int i = 0; i < rs.FieldCount(); ++i) {
            vb::Variant v = rs.Fields(i).Value();
            if (i) line += "|";
            line += v.IsNull() ? "<null>" : v.ToString();
        }
        out.push_back(line);
        rs.MoveNext();
    }
    return out;
}

}  // namespace daotest
