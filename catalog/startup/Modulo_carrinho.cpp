// The cart of this run: one table in the auxiliary database, named per run.
#include "catalog/startup/Modulo.h"

#include "platform/dao/Dao.h"
#include "platform/vb/DateTime.h"
#include "platform/vb/Err.h"
#include "platform/vb/Strings.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <limits>
#include <thread>

namespace {

std::string BaseNomeCarrinho() { return "Carrinho_" + vb::FormatDate(vb::Today(), "yyyymmdd") + "_"; }

// The first free name from number n on; n is kept as the 16-bit counter it always was.
std::string PrimeiroNomeLivre(const dao::Database& db, long& n)
{
    const std::string base = BaseNomeCarrinho();
    for (;; ++n) {
        if (n > std::numeric_limits<std::int16_t>::max()) vb::Raise(vb::err::Overflow);
        const std::string nome = base + std::to_string(n);
        if (!TabelaExiste(db, nome)) return nome;
    }
}

std::string Aspas(const std::string& texto)
{
    std::string s(1, '\'');
    s += texto;
    s += '\'';
    return s;
}

}  // namespace

bool TabelaExiste(const dao::Database& db, const std::string& tabela)
{
    const std::string procurada = vb::UCase(vb::Trim(tabela));
    for (const auto& def : db.TableDefs())
        if (vb::UCase(vb::Trim(def.Name)) == procurada) return true;
    return false;
}

std::string NomeTabelaCarrinho(const dao::Database& db)
{
    long n = 0;
    return PrimeiroNomeLivre(db, n);
}

std::string CriaTabelaCarrinho(dao::Workspace& ws, dao::Database& db)
{
    // Two programs starting together on one data folder both see the same first free name.
    // Choosing and creating happen in one transaction, and a name the other one took in
    // between ("already exists") moves on to the next number; a file the other one is
    // writing right now (locked) is tried again after a short wait, for a few seconds at most.
    const bool comTransacao = !ws.IsNothing();
    long n = 0;
    int bloqueios = 0;
    for (;;) {
        if (comTransacao) ws.BeginTrans();
        try {
            const std::string nome = PrimeiroNomeLivre(db, n);
            db.Execute(consultas::CriaTabelaCarrinho(nome));
            if (comTransacao) ws.CommitTrans();
            return nome;
        } catch (const vb::Error& e) {
            if (comTransacao) {
                try {
                    ws.Rollback();
                } catch (...) {
                }
            }
            if (e.Number() == dao::jet::TableExists) {
                ++n;
                continue;
            }
            // Another program is committing its own table: SQLite answers a reader that wants
            // to write at once instead of waiting, so wait a little here and try again.
            if (e.Number() == dao::jet::Locked && ++bloqueios < 200) {
                std::this_thread::sleep_for(std::chrono::milliseconds(std::min(5 + bloqueios, 40)));
                continue;
            }
            throw;
        }
    }
}

std::string CriaTabelaCarrinho(dao::Database& db)
{
    dao::Workspace nenhum;
    if (!EstadoPrograma.DbAuxiliar.IsNothing() && db.SameAs(EstadoPrograma.DbAuxiliar))
        return CriaTabelaCarrinho(EstadoPrograma.WsAuxiliar, db);
    return CriaTabelaCarrinho(nenhum, db);
}

void IncluiProdutoCarrinho(long codigoProduto, int quantidade)
{
    const std::string& t = EstadoPrograma.TabelaCarrinho;
    dao::Recordset rs =
        EstadoPrograma.DbAuxiliar.OpenRecordset(consultas::QuantidadeCarrinho(t, codigoProduto), dao::dbOpenForwardOnly);
    if (!rs.Eof()) {
        // Already in the cart: raised to the larger quantity, never lowered, never summed.
        const long atual = rs.Fields("Quantidade").Value().ToLong();
        rs.Close();
        if (quantidade > atual)
            EstadoPrograma.DbAuxiliar.Execute(consultas::AlteraQuantidadeCarrinho(t, codigoProduto, quantidade),
                                              dao::dbFailOnError);
        return;
    }
    rs.Close();
    rs = EstadoPrograma.DbCatalogo.OpenRecordset(AplicaIdioma(consultas::ProdutoCarrinho(codigoProduto)),
                                                 dao::dbOpenForwardOnly);
    if (!rs.Eof()) {
        const vb::Variant numero = rs.Fields("NumeroEmpresaProduto").Value();
        std::optional<std::string> textoNumero;
        if (!numero.IsNull()) textoNumero = numero.ToString();
        // A product without a description in this language goes in with an empty one.
        EstadoPrograma.DbAuxiliar.Execute(
            consultas::IncluiProdutoCarrinho(t, codigoProduto, textoNumero,
                                             ObtemValorCampo(rs.Fields("DescricaoProduto").Value(), "").ToString(), quantidade),
            dao::dbFailOnError);
    }
    rs.Close();
}

void AlteraQuantidadeCarrinho(long codigoProduto, int quantidade)
{
    EstadoPrograma.DbAuxiliar.Execute(
        consultas::AlteraQuantidadeCarrinho(EstadoPrograma.TabelaCarrinho, codigoProduto, quantidade), dao::dbFailOnError);
}

void ExcluiProdutoCarrinho(long codigoProduto)
{
    EstadoPrograma.DbAuxiliar.Execute(consultas::ExcluiProdutoCarrinho(EstadoPrograma.TabelaCarrinho, codigoProduto),
                                      dao::dbFailOnError);
}

bool ApagaTabelaCarrinho(dao::Database& db, const std::string& tabela)
{
    try {
        db.Execute(consultas::ApagaTabelaCarrinho(tabela));
        return true;
    } catch (...) {
        return false;
    }
}

void AtualizaDescricoesCarrinho(const std::string& idioma)
{
    const std::string letra = idioma.empty() ? EstadoPrograma.Idioma : idioma;
    const std::string& t = EstadoPrograma.TabelaCarrinho;
    dao::Recordset carrinho =
        EstadoPrograma.DbAuxiliar.OpenRecordset("SELECT CodigoProduto,DescricaoProduto FROM " + t, dao::dbOpenForwardOnly);
    if (!carrinho.Eof()) {
        dao::Recordset catalogo = EstadoPrograma.DbCatalogo.OpenRecordset(
            "SELECT CodigoProduto,DescricaoProduto" + letra + " FROM PRODUTO", dao::dbOpenSnapshot);
        for (; !carrinho.Eof(); carrinho.MoveNext()) {
            const long codigo = carrinho.Fields("CodigoProduto").Value().ToLong();
            catalogo.FindFirst("CodigoProduto=" + std::to_string(codigo));
            if (catalogo.NoMatch()) continue;   // no longer in the catalogue: keeps its text
            EstadoPrograma.DbAuxiliar.Execute(
                consultas::AlteraDescricaoCarrinho(t, codigo, ObtemValorCampo(catalogo.Fields(1).Value(), "").ToString()), dao::dbFailOnError);
        }
        catalogo.Close();
    }
    carrinho.Close();
}

// ------------------------------------------------------------------------- the SQL texts

namespace consultas {

std::string CriaTabelaCarrinho(const std::string& tabela)
{
    return "CREATE TABLE " + tabela + "(" +
           "CodigoProduto         Long     Not Null," +
           "NumeroEmpresaProduto  Text(8)  Null," +
           "DescricaoProduto      Text(50) Not Null," +
           "Quantidade            Int      Not Null," +
           "CONSTRAINT PK" + tabela + " PRIMARY KEY(CodigoProduto)" + ")";
}

std::string QuantidadeCarrinho(const std::string& tabela, long codigoProduto)
{
    return std::string("SELECT ") + "Quantidade " + "FROM " + tabela + " " + "WHERE " + "CodigoProduto = " +
           std::to_string(codigoProduto);
}

std::string ProdutoCarrinho(long codigoProduto)
{
    return std::string("SELECT ") + "PRODUTO.NumeroEmpresaProduto," + "PRODUTO.DescricaoProduto<I> AS DescricaoProduto " +
           "FROM " + "PRODUTO " + "WHERE " + "CodigoProduto = " + std::to_string(codigoProduto);
}

std::string IncluiProdutoCarrinho(const std::string& tabela, long codigoProduto,
                                  const std::optional<std::string>& numeroEmpresa, const std::string& descricao,
                                  int quantidade)
{
    const std::string numero = numeroEmpresa ? Aspas(PreparaTextoSQL(*numeroEmpresa, false)) : std::string("Null");
    return "INSERT INTO " + tabela + "(" + "CodigoProduto," + "NumeroEmpresaProduto," + "DescricaoProduto," +
           "Quantidade) " + "VALUES(" + std::to_string(codigoProduto) + "," + numero + "," +
           Aspas(PreparaTextoSQL(descricao, false)) + "," + std::to_string(quantidade) + ")";
}

std::string AlteraQuantidadeCarrinho(const std::string& tabela, long codigoProduto, int quantidade)
{
    return "UPDATE " + tabela + " SET " + "Quantidade = " + std::to_string(quantidade) + " " + "WHERE " +
           "CodigoProduto = " + std::to_string(codigoProduto);
}

std::string AlteraDescricaoCarrinho(const std::string& tabela, long codigoProduto, const std::string& descricao)
{
    return "UPDATE " + tabela + " SET " + "DescricaoProduto=" + Aspas(PreparaTextoSQL(descricao, false)) + " " +
           "WHERE " + "CodigoProduto=" + std::to_string(codigoProduto);
}

std::string ExcluiProdutoCarrinho(const std::string& tabela, long codigoProduto)
{
    // Only 0, which names no product, empties the cart: a product the catalogue keeps under a
    // negative code is deleted alone, not with the whole cart.
    std::string sql = "DELETE FROM " + tabela;
    if (codigoProduto != 0) sql += " WHERE CodigoProduto = " + std::to_string(codigoProduto);
    return sql;
}

std::string ApagaTabelaCarrinho(const std::string& tabela) { return "DROP TABLE " + tabela; }

}  // namespace consultas
