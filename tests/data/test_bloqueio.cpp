// The update lock across two programs sharing one data folder, and the writes one program
// makes while it holds the lock.
#include "tests/data/Pasta.h"

#include "platform/dao/Dao.h"
#include "platform/vb/Err.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

// The other program: started on the same folder, talking through its standard streams.
class Outro {
public:
    Outro(const std::string& modo, const std::string& pasta, const std::string& extra = {})
    {
        QStringList args{QString::fromStdString(modo), QString::fromStdString(pasta)};
        if (!extra.empty()) args << QString::fromStdString(extra);
        p_.start(QString::fromStdString(ZK_AJUDANTE), args);
        EXPECT_TRUE(p_.waitForStarted(10000));
    }
    ~Outro()
    {
        if (p_.state() != QProcess::NotRunning) {
            p_.kill();
            p_.waitForFinished(10000);
        }
    }
    std::string Linha()
    {
        while (!p_.canReadLine())
            if (!p_.waitForReadyRead(20000)) return "(nada)";
        return QString::fromUtf8(p_.readLine()).trimmed().toStdString();
    }
    void Escreve(const std::string& s)
    {
        p_.write((s + "\n").c_str());
        p_.waitForBytesWritten(5000);
    }
    void Mata()
    {
        p_.kill();
        p_.waitForFinished(10000);
    }
    bool Termina() { return p_.waitForFinished(20000); }

private:
    QProcess p_;
};

std::string Executa(const std::string& modo, const std::string& pasta, const std::string& extra = {})
{
    Outro o(modo, pasta, extra);
    const std::string linha = o.Linha();
    o.Termina();
    return linha;
}

class Bloqueio : public ::testing::Test {
protected:
    void SetUp() override
    {
        EstadoPrograma.CaminhoDados = pasta_.Caminho();
        AbreBancoCatalogo(EstadoPrograma.WsCatalogo, NomeWsCatalogo, EstadoPrograma.DbCatalogo, true);
    }
    void TearDown() override { teste::FechaTudo(); }
    std::string Pasta() const { return pasta_.Caminho().substr(0, pasta_.Caminho().size() - 1); }
    std::string Valor(const std::string& sql)
    {
        const vb::Variant v = ObtemValorSQL(sql, std::string("(nenhum)"));
        return v.IsNull() ? "(Null)" : v.ToString();
    }

    teste::PastaDados pasta_;
};

}  // namespace

TEST_F(Bloqueio, SecondProgramIsRefusedUntilTheFirstReleases)
{
    Outro primeiro("segura", Pasta());
    ASSERT_EQ(primeiro.Linha(), "1");
    EXPECT_FALSE(BloqueiaAtualizacao(true));
    EXPECT_TRUE(EstadoPrograma.WsBloqueio.IsNothing());   // a refused lock leaves nothing open
    EXPECT_EQ(Executa("tenta", Pasta()), "0");

    primeiro.Escreve("solta");
    EXPECT_EQ(primeiro.Linha(), "solto");
    EXPECT_TRUE(BloqueiaAtualizacao(true));
    EXPECT_EQ(Executa("tenta", Pasta()), "0");   // now this program holds it
    EXPECT_TRUE(BloqueiaAtualizacao(false));
    EXPECT_TRUE(EstadoPrograma.WsBloqueio.IsNothing());
    EXPECT_EQ(Executa("tenta", Pasta()), "1");
    // The lock statement leaves the table as it was.
    EXPECT_EQ(Valor("SELECT a FROM CONTROLETRAN"), "1");
}

// The program neither waits nor retries: while another computer holds the lock, this one's
// lock and its record of the last check are refused at once, not after the engine's wait.
TEST_F(Bloqueio, ALockHeldElsewhereIsRefusedAtOnce)
{
    Outro primeiro("segura", Pasta());
    ASSERT_EQ(primeiro.Linha(), "1");
    QElapsedTimer relogio;
    relogio.start();
    EXPECT_FALSE(BloqueiaAtualizacao(true));
    EXPECT_LT(relogio.elapsed(), 1000);

    relogio.restart();
    long erro = 0;
    try {
        GravaUltimaVerificacao("DateSerial(2026,12,1)", "0");
    } catch (const vb::Error& e) {
        erro = e.Number();
    }
    EXPECT_LT(relogio.elapsed(), 1000);
    EXPECT_EQ(erro, dao::jet::Locked);
    EXPECT_EQ(Valor("SELECT DataUltimaVerificacao FROM UMREGISTRO"), "(Null)");
    // Nothing of the refused record stays open: once the other program lets go, both work.
    primeiro.Escreve("solta");
    EXPECT_EQ(primeiro.Linha(), "solto");
    EXPECT_NO_THROW(GravaUltimaVerificacao("DateSerial(2026,12,1)", "0"));
    EXPECT_TRUE(BloqueiaAtualizacao(true));
    EXPECT_TRUE(BloqueiaAtualizacao(false));
}

TEST_F(Bloqueio, AProgramKilledWhileHoldingTheLockReleasesIt)
{
    Outro primeiro("segura", Pasta());
    ASSERT_EQ(primeiro.Linha(), "1");
    EXPECT_FALSE(BloqueiaAtualizacao(true));
    primeiro.Mata();
    EXPECT_TRUE(BloqueiaAtualizacao(true));
    EXPECT_TRUE(BloqueiaAtualizacao(false));
}

// A release whose commit cannot finish (another computer is in the middle of reading the
// file) reports the error and keeps the transaction, which holds what was written under the
// lock: abandoning it would lose the installed update. A later release commits it all.
TEST_F(Bloqueio, AReleaseThatCannotCommitKeepsTheWritesForALaterRelease)
{
    ASSERT_TRUE(BloqueiaAtualizacao(true));
    GravaUltimaVerificacao("", "1");
    Outro leitor("leitura", Pasta());
    ASSERT_EQ(leitor.Linha(), "1");
    EXPECT_THROW(BloqueiaAtualizacao(false), vb::Error);
    EXPECT_FALSE(EstadoPrograma.WsBloqueio.IsNothing());
    leitor.Escreve("solta");
    EXPECT_EQ(leitor.Linha(), "solto");
    EXPECT_TRUE(BloqueiaAtualizacao(false));
    EXPECT_TRUE(EstadoPrograma.WsBloqueio.IsNothing());
    EXPECT_EQ(Executa("tenta", Pasta()), "1");
    EXPECT_EQ(Executa("le", Pasta(), "SELECT FlagErroUltimaVerificacao FROM UMREGISTRO"), "1");
}

// While this program holds the lock it still writes the catalogue through other workspaces
// (the last-check record, the update scripts); the browsing database sees the writes before
// and after the release, and another program sees them after it.
TEST_F(Bloqueio, WritesWhileHoldingTheLockAreSeenBeforeAndAfterTheRelease)
{
    ASSERT_TRUE(BloqueiaAtualizacao(true));
    GravaUltimaVerificacao("DateSerial(2026,11,2)+TimeSerial(10,20,30)", "1");
    {
        dao::Workspace ws;
        dao::Database db;
        AbreBancoCatalogo(ws, NomeWsGravacao, db, false);
        ws.BeginTrans();
        db.Execute("UPDATE UMREGISTRO SET Versao = 28", dao::dbFailOnError);
        ws.CommitTrans();
        FechaBanco(ws, db);
    }
    const double esperado = vb::DateSerial(2026, 11, 2) + vb::TimeSerial(10, 20, 30);
    auto confere = [&] {
        EXPECT_DOUBLE_EQ(ObtemValorSQL("SELECT DataUltimaVerificacao FROM UMREGISTRO", 0).ToDouble(), esperado);
        EXPECT_EQ(Valor("SELECT FlagErroUltimaVerificacao FROM UMREGISTRO"), "1");
        EXPECT_EQ(Valor("SELECT Versao FROM UMREGISTRO"), "28");
    };
    confere();
    EXPECT_EQ(Executa("tenta", Pasta()), "0");
    ASSERT_TRUE(BloqueiaAtualizacao(false));
    confere();
    EXPECT_EQ(Executa("le", Pasta(), "SELECT Versao FROM UMREGISTRO"), "28");
    EXPECT_EQ(Executa("le", Pasta(), "SELECT FlagErroUltimaVerificacao FROM UMREGISTRO"), "1");
}

TEST_F(Bloqueio, LastCheckRecordWritesOnlyWhatItIsGiven)
{
    GravaUltimaVerificacao("", "1");
    EXPECT_EQ(Valor("SELECT FlagErroUltimaVerificacao FROM UMREGISTRO"), "1");
    EXPECT_EQ(Valor("SELECT DataUltimaVerificacao FROM UMREGISTRO"), "(Null)");
    GravaUltimaVerificacao("DateSerial(2026,12,1)", "");
    EXPECT_DOUBLE_EQ(ObtemValorSQL("SELECT DataUltimaVerificacao FROM UMREGISTRO", 0).ToDouble(), vb::DateSerial(2026, 12, 1));
    EXPECT_EQ(Valor("SELECT FlagErroUltimaVerificacao FROM UMREGISTRO"), "1");
    // Nothing to write opens nothing: not even a missing catalogue is noticed.
    EstadoPrograma.CaminhoDados = "/nonexistent/folder/";
    EXPECT_NO_THROW(GravaUltimaVerificacao("", ""));
}

// A statement that fails while it runs, after it took the write lock: the error reaches the caller, and
// nothing stays open that would keep the shared catalogue's write lock.
TEST_F(Bloqueio, AFailedLastCheckRecordLeavesNoOpenTransaction)
{
    EXPECT_THROW(GravaUltimaVerificacao("DateSerial(2026,12,1)", "Mid('abc',0)"), vb::Error);
    EXPECT_EQ(Valor("SELECT DataUltimaVerificacao FROM UMREGISTRO"), "(Null)");
    EXPECT_EQ(Executa("tenta", Pasta()), "1");
    EXPECT_TRUE(BloqueiaAtualizacao(true));
    EXPECT_TRUE(BloqueiaAtualizacao(false));
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
