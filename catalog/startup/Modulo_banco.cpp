// Opening and closing both databases, the last-check record and the network update lock.
#include "catalog/startup/Modulo.h"

#include "platform/dao/Dao.h"
#include "platform/forms/Events.h"
#include "platform/vb/Err.h"
#include "platform/vb/Strings.h"

#include <atomic>
#include <thread>

const char* const NomeWsCatalogo = "gWS";
const char* const NomeWsAuxiliar = "DbZornakAux";
const char* const NomeWsGravacao = "sWsNotReadOnly";
const char* const NomeWsBloqueio = "mWsLockTrans";
const char* const ArquivoBancoCatalogo = "CatalogoZORNAK.c01";
const char* const ArquivoBancoAuxiliar = "CatalogoZORNAK.c02";

namespace {

// ";pwd=" and the password, put together afresh for every opening.
std::string TextoConexao() { return ";pwd=" + ObtemSenhaBancoDados(); }

void AbreBanco(dao::Workspace& ws, const std::string& nomeWorkspace, dao::Database& db,
               const std::string& arquivo, bool somenteLeitura)
{
    ws = dao::DBEngine().CreateWorkspace(nomeWorkspace, "admin", "", dao::dbUseJet);
    try {
        db = ws.OpenDatabase(EstadoPrograma.CaminhoDados + arquivo, false, somenteLeitura, TextoConexao());
    } catch (...) {
        // The error goes on; the workspace made for the file does not stay behind.
        ws.Close();
        ws = dao::Workspace();
        db = dao::Database();
        throw;
    }
}

}  // namespace

std::string AplicaIdioma(const std::string& sql)
{
    return consultas::Idioma(sql, EstadoPrograma.Idioma);
}

void AbreBancoCatalogo(dao::Workspace& ws, const std::string& nomeWorkspace, dao::Database& db,
                       bool somenteLeitura)
{
    AbreBanco(ws, nomeWorkspace, db, ArquivoBancoCatalogo, somenteLeitura);
}

void AbreBancoAuxiliar(dao::Workspace& ws, dao::Database& db)
{
    AbreBanco(ws, NomeWsAuxiliar, db, ArquivoBancoAuxiliar, false);
}

namespace {

struct Preparacao {
    std::thread trabalho;
    std::atomic<bool> para{false};
    dao::Workspace ws;
    dao::Database catalogo, auxiliar;

    // The start-up does not wait for pages it may never need (a slow network share): the
    // reading stops where it is.
    void Aguarda()
    {
        para = true;
        if (trabalho.joinable()) trabalho.join();
    }
    void Libera()
    {
        Aguarda();
        catalogo = dao::Database();
        auxiliar = dao::Database();
        if (!ws.IsNothing()) ws.Close();
        ws = dao::Workspace();
    }
    ~Preparacao() { Libera(); }
};

Preparacao& PreparacaoBancos()
{
    static Preparacao p;
    return p;
}

}  // namespace

void PreparaBancos()
{
    Preparacao& p = PreparacaoBancos();
    if (p.trabalho.joinable() || !p.ws.IsNothing()) return;
    std::string pasta;
    try {
        pasta = ObtemCaminhoDados();
    } catch (...) {
        return;
    }
    const std::string conexao = TextoConexao();
    p.para = false;
    p.trabalho = std::thread([&p, pasta, conexao] {
        try {
            p.ws = dao::DBEngine().CreateWorkspace("Preparacao", "admin", "", dao::dbUseJet);
            p.catalogo = p.ws.OpenDatabase(pasta + ArquivoBancoCatalogo, false, true, conexao);
            p.auxiliar = p.ws.OpenDatabase(pasta + ArquivoBancoAuxiliar, false, false, conexao);
            p.catalogo.LoadPageCache(p.para);
        } catch (...) {
            // Reported by the start-up's own opening.
        }
    });
}

void AguardaPreparacaoBancos() { PreparacaoBancos().Aguarda(); }

void LiberaPreparacaoBancos() { PreparacaoBancos().Libera(); }

void FechaBanco(dao::Workspace& ws, dao::Database& db)
{
    if (!db.IsNothing()) db.Close();
    db = dao::Database();
    if (!ws.IsNothing()) ws.Close();
    ws = dao::Workspace();
}

void GravaUltimaVerificacao(const std::string& dataSQL, const std::string& flagErro)
{
    const std::string sql = consultas::GravaUltimaVerificacao(dataSQL, flagErro);
    if (sql.empty()) return;

    dao::Workspace ws;
    dao::Database db;
    AbreBancoCatalogo(ws, NomeWsGravacao, db, false);
    try {
        ws.BeginTrans();
        // While another computer installs an update it holds the catalogue's write lock for
        // minutes: the record fails at once (3218) instead of freezing the window meanwhile.
        db.Execute(sql, dao::dbFailOnError + dao::dbSeeChanges);
        ws.CommitTrans(dao::dbForceOSFlush);
    } catch (...) {
        // An open transaction left behind would hold the shared catalogue's write lock for
        // the rest of the run: roll it back and close before the error goes on.
        try {
            if (ws.TransactionLevel() > 0) ws.Rollback();
        } catch (...) {
        }
        try {
            FechaBanco(ws, db);
        } catch (...) {
        }
        throw;
    }
    dao::DBEngine().Idle(dao::dbRefreshCache);
    FechaBanco(ws, db);
    vb::DoEvents();
    dao::DBEngine().Idle(dao::dbRefreshCache);
    vb::DoEvents();
}

bool BloqueiaAtualizacao(bool bloqueia)
{
    dao::Workspace& ws = EstadoPrograma.WsBloqueio;
    dao::Database& db = EstadoPrograma.DbBloqueio;
    if (!bloqueia) {
        // Lost already (let go when what it held could not be committed): nothing to commit.
        if (!DetemBloqueioAtualizacao()) {
            FechaBanco(ws, db);
            return true;
        }
        try {
            ws.CommitTrans(0);
        } catch (...) {
            // A commit that cannot finish now (another computer in the middle of reading the
            // file) leaves the transaction open, kept for a later release; one that the engine
            // rolled back (a full disk) took the lock with it.
            if (ws.TransactionLevel() == 0) IgnoraFalha([&] { FechaBanco(ws, db); });
            throw;
        }
        FechaBanco(ws, db);
        return true;
    }
    // Held already by this program: a second workspace would only lose the first one.
    if (DetemBloqueioAtualizacao()) return true;
    AbreBancoCatalogo(ws, NomeWsBloqueio, db, false);
    try {
        ws.BeginTrans();
    } catch (...) {
        FechaBanco(ws, db);
        throw;
    }
    try {
        // Fails at once, without waiting, while another program holds the lock.
        db.Execute(consultas::BloqueiaAtualizacao(), dao::dbFailOnError + dao::dbSeeChanges);
    } catch (const vb::Error&) {
        FechaBanco(ws, db);   // abandons the transaction
        return false;
    }
    return true;
}

bool DetemBloqueioAtualizacao()
{
    const dao::Workspace& ws = EstadoPrograma.WsBloqueio;
    return !ws.IsNothing() && ws.IsOpen() && ws.TransactionLevel() > 0;
}

bool EfetivaGravacoesBloqueio()
{
    dao::Workspace& ws = EstadoPrograma.WsBloqueio;
    dao::Database& db = EstadoPrograma.DbBloqueio;
    if (!DetemBloqueioAtualizacao()) return true;
    try {
        // Every writer of this program shares the lock's transaction (one connection to the
        // file): its commit is what puts the update on disk.
        ws.CommitTrans(dao::dbForceOSFlush);
    } catch (...) {
        // Half of an update must not be committed later by the release: what the engine did
        // not roll back itself goes now, and the lock with it.
        IgnoraFalha([&] {
            while (ws.TransactionLevel() > 0) ws.Rollback();
        });
        IgnoraFalha([&] { FechaBanco(ws, db); });
        throw;
    }
    // Taken again before anything else of this program runs. Another computer's lock can fall
    // only into the instant between the two; its second look at the versions then finds this
    // update recorded and nothing to install.
    try {
        ws.BeginTrans();
        db.Execute(consultas::BloqueiaAtualizacao(), dao::dbFailOnError + dao::dbSeeChanges);
    } catch (const vb::Error&) {
        IgnoraFalha([&] { FechaBanco(ws, db); });
        return false;
    }
    return true;
}

// ------------------------------------------------------------------------- the SQL texts

namespace consultas {

std::string Idioma(const std::string& sql, const std::string& idioma)
{
    return vb::Replace(sql, "<I>", idioma);
}

std::string GravaUltimaVerificacao(const std::string& dataSQL, const std::string& flagErro)
{
    std::string atribuicoes;
    if (!dataSQL.empty()) atribuicoes += ",DataUltimaVerificacao=" + dataSQL;
    if (!flagErro.empty()) atribuicoes += ",FlagErroUltimaVerificacao=" + flagErro;
    return atribuicoes.empty() ? std::string() : "UPDATE UMREGISTRO SET " + atribuicoes.substr(1);
}

std::string BloqueiaAtualizacao() { return "UPDATE CONTROLETRAN SET a = a"; }

std::string DatasCatalogo()
{
    return "SELECT DataEmissao,ComplementoDataEmissao,DataUltimaVerificacao,FlagErroUltimaVerificacao FROM UMREGISTRO";
}

}  // namespace consultas
