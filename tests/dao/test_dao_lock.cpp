// The update lock across two real processes on one keyed file.
#include "platform/dao/Dao.h"
#include "platform/vb/Err.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

namespace {

const char* kPassword = "chave";

class DaoLockTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        path_ = dir_.filePath("CatalogoZORNAK.c01").toStdString();
        auto ws = dao::DBEngine().CreateWorkspace("setup", "admin", "");
        auto db = ws.CreateDatabase(path_, std::string(";pwd=") + kPassword);
        db.Execute("CREATE TABLE CONTROLETRAN (a Long)");
        db.Execute("INSERT INTO CONTROLETRAN (a) VALUES (1)");
        db.Execute("CREATE TABLE PRODUTO (CodigoProduto Long)");
        db.Execute("INSERT INTO PRODUTO VALUES (10)");
        ws.Close();
    }

    // Runs the helper in "try" mode: "ok" or the error number it got.
    std::string TryFromOtherProcess() {
        QProcess p;
        p.start(DAO_LOCK_HELPER, {QString::fromStdString(path_), kPassword, "try"});
        EXPECT_TRUE(p.waitForFinished(60000));
        return p.readAllStandardOutput().trimmed().toStdString();
    }

    // Takes the lock in this process; the number of the error, 0 when it is held.
    long TryHere(dao::Workspace& ws, dao::Database& db) {
        ws = dao::DBEngine().CreateWorkspace("mWsLockTrans", "admin", "");
        db = ws.OpenDatabase(path_, false, false, std::string(";pwd=") + kPassword);
        ws.BeginTrans();
        try {
            db.Execute("UPDATE CONTROLETRAN SET a = a", dao::dbFailOnError | dao::dbSeeChanges);
        } catch (const vb::Error& e) {
            db.Close();
            ws.Close();
            return e.Number();
        }
        return 0;
    }

    QTemporaryDir dir_;
    std::string path_;
};

TEST_F(DaoLockTest, OnlyOneProcessHoldsTheLock) {
    // This process holds it: the other one fails at once with the locking error.
    dao::Workspace ws;
    dao::Database db;
    ASSERT_EQ(TryHere(ws, db), 0);
    EXPECT_EQ(TryFromOtherProcess(), std::to_string(dao::jet::Locked));
    ws.CommitTrans();
    db.Close();
    ws.Close();
    EXPECT_EQ(TryFromOtherProcess(), "ok");

    // The other process holds it: this one fails, yet still reads the catalogue.
    QProcess holder;
    holder.start(DAO_LOCK_HELPER, {QString::fromStdString(path_), kPassword, "hold"});
    ASSERT_TRUE(holder.waitForReadyRead(60000));
    ASSERT_EQ(holder.readLine().trimmed().toStdString(), "locked");
    EXPECT_EQ(TryHere(ws, db), dao::jet::Locked);
    {
        auto gws = dao::DBEngine().CreateWorkspace("gWS", "admin", "");
        auto cat = gws.OpenDatabase(path_, false, true, std::string(";pwd=") + kPassword);
        auto rs = cat.OpenRecordset("SELECT CodigoProduto FROM PRODUTO", dao::dbOpenForwardOnly);
        EXPECT_EQ(rs.Value("CodigoProduto").ToLong(), 10);
        rs.Close();
        gws.Close();
    }
    holder.write("\n");
    ASSERT_TRUE(holder.waitForFinished(60000));
    EXPECT_EQ(holder.exitCode(), 0);
    EXPECT_EQ(TryHere(ws, db), 0);
    ws.CommitTrans();
    ws.Close();
    EXPECT_EQ(TryFromOtherProcess(), "ok");
}

}  // namespace
