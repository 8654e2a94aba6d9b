// Single values, caption lines, short lists and the selector lists from the catalogue.
// Every recordset is forward-only, read once and closed; database errors reach the caller.
#include "catalog/startup/Modulo.h"

#include "common/modTraducao.h"
#include "platform/dao/Dao.h"
#include "platform/vb/Err.h"
#include "platform/vb/Strings.h"

#include <cctype>

namespace {

dao::Recordset Abre(const std::string& sql)
{
    return EstadoPrograma.DbCatalogo.OpenRecordset(AplicaIdioma(sql), dao::dbOpenForwardOnly);
}

bool VazioOuNulo(const vb::Variant& v) { return v.IsNull() || v.IsEmpty() || vb::Trim(v.ToString()).empty(); }

// Appends a code to a comma-separated list, skipping what is no code.
void JuntaCodigo(std::string& lista, const std::string& codigo)
{
    if (codigo.empty()) return;
    if (!lista.empty()) lista += ",";
    lista += codigo;
}

// The wildcard manufacturers as a clean comma list. The text goes into an IN list as it
// stands, so it is taken only when it holds nothing but digits, commas and blanks; empty
// items (",,", a trailing comma) are dropped.
std::string CoringasValidos(const std::string& texto)
{
    for (unsigned char ch : texto)
        if (!std::isdigit(ch) && ch != ',' && ch != ' ') return {};
    std::string lista;
    for (const auto& item : vb::Split(texto, ",")) JuntaCodigo(lista, vb::Replace(item, " ", ""));
    return lista;
}

}  // namespace

vb::Variant ObtemValorSQL(const std::string& sql, const vb::Variant& padrao)
{
    std::optional<vb::Variant> v = ObtemValorSQL(sql);
    return v ? *v : padrao;
}

std::optional<vb::Variant> ObtemValorSQL(const std::string& sql)
{
    dao::Recordset rs = Abre(sql);
    std::optional<vb::Variant> valor;
    if (!rs.Eof()) valor = rs.Fields(0).Value();
    rs.Close();
    return valor;
}

std::string ObtemReferenciasCruzadas(long codigoProduto, const std::string& fabricantes)
{
    std::string texto;
    if (fabricantes.empty() || codigoProduto <= 0) return texto;
    dao::Recordset rs = Abre(consultas::ObtemReferenciasCruzadas(codigoProduto, fabricantes));
    for (; !rs.Eof(); rs.MoveNext()) {
        const vb::Variant v = rs.Fields(0).Value();
        // A Null or empty number is no reference: no separator for it either.
        if (VazioOuNulo(v)) continue;
        if (!texto.empty()) texto += " - ";
        texto += v.ToString();
    }
    rs.Close();
    return texto;
}

std::string ListaFabricantesSQL(const std::string& fabricantes)
{
    return vb::Trim(fabricantes).empty() ? std::string("NULL") : fabricantes;
}

std::string ObtemFabricantesAplicacao(long codigoAplicacao)
{
    const std::string app = std::to_string(codigoAplicacao);
    const vb::Variant tipo = ObtemValorSQL("SELECT CodigoTipoAplicacao FROM APLICACAO WHERE CodigoAplicacao=" + app, -1);
    const bool veiculo = !tipo.IsNull() && tipo.ToLong() == 1;
    const std::string relacionados = consultas::FabricantesRelacionados(codigoAplicacao, veiculo);
    // The application's own manufacturer first ("-1" when there is no such application; none
    // when its manufacturer is Null).
    std::string lista;
    const vb::Variant proprio = ObtemValorSQL("SELECT CodigoFabricante FROM APLICACAO WHERE CodigoAplicacao=" + app, -1);
    if (!proprio.IsNull()) JuntaCodigo(lista, std::to_string(proprio.ToLong()));
    dao::Recordset rs = Abre(relacionados);
    for (; !rs.Eof(); rs.MoveNext()) {
        const vb::Variant v = rs.Fields(0).Value();
        if (!v.IsNull()) JuntaCodigo(lista, std::to_string(v.ToLong()));
    }
    rs.Close();
    const vb::Variant coringas = ObtemValorSQL(consultas::FabricantesCoringas(), std::string());
    JuntaCodigo(lista, CoringasValidos(ObtemValorCampo(coringas, "").ToString()));
    return lista;
}

std::string MontaDescricaoAplicacao(long codigoAplicacao, bool maiusculas, bool comFabricante)
{
    dao::Recordset rs = Abre(consultas::MontaDescricaoAplicacao(codigoAplicacao));
    std::string texto;
    if (!rs.Eof()) {
        const vb::Variant tipo = rs.Fields("DescricaoTipoAplicacao").Value();
        if (!tipo.IsNull()) texto = tipo.ToString() + ": ";
        texto += ObtemValorCampo(rs.Fields("DescricaoAplicacao").Value(), "").ToString();
        const vb::Variant fabricante = rs.Fields("DescricaoFabricante").Value();
        if (comFabricante && !fabricante.IsNull()) texto += "     " + Traduz(30) + ": " + fabricante.ToString();
        if (maiusculas) texto = vb::UCase(texto);
    }
    rs.Close();
    return texto;
}

std::string MontaDescricaoProduto(long codigoProduto, bool maiusculas)
{
    dao::Recordset rs = Abre(consultas::MontaDescricaoProduto(codigoProduto));
    std::string texto;
    if (!rs.Eof()) {
        texto = ObtemValorCampo(rs.Fields("DescricaoProduto").Value(), "").ToString() + "     " + Traduz(32) + ": " +
                ObtemValorCampo(rs.Fields("NumeroEmpresaFormatado").Value(), "").ToString();
        if (maiusculas) texto = vb::UCase(texto);
    }
    rs.Close();
    return texto;
}

std::vector<std::string> MontaTextoReferenciasCruzadas(long codigoProduto, const std::string& fabricantes)
{
    dao::Recordset rs = Abre(consultas::MontaTextoReferenciasCruzadas(codigoProduto, fabricantes));
    std::string juntos;
    for (; !rs.Eof(); rs.MoveNext()) {
        if (VazioOuNulo(rs.Fields(1).Value())) continue;
        juntos += "|";
        juntos += ObtemValorCampo(rs.Fields(0).Value(), "").ToString();
    }
    rs.Close();
    if (juntos.empty()) return {std::string()};
    return vb::Split(juntos.substr(1), "|");
}

long ObtemProdutoSubstituto(long codigoProduto)
{
    long resultado = -5;
    std::string visitados = "/";
    long codigo = codigoProduto;
    for (;;) {
        std::string marca = "/";
        marca += std::to_string(codigo);
        marca += "/";
        if (visitados.find(marca) != std::string::npos) break;   // the chain came back
        visitados += std::to_string(codigo) + "/";
        dao::Recordset rs = Abre(consultas::ProdutoSubstituto(codigo));
        // No row, or a row without a new product, ends the chain.
        codigo = -1;
        if (!rs.Eof()) {
            const vb::Variant novo = rs.Fields(0).Value();
            if (!novo.IsNull()) codigo = novo.ToLong();
        }
        rs.Close();
        if (codigo < 1) break;
        resultado = codigo;
    }
    return resultado;
}

void CarregaComboFabricantes(IJanelaSeletores& janela, const std::string& textoTodos, long codigoAplicacao)
{
    // An application without makers lists none (an empty list matches no maker).
    const std::string fabricantes =
        codigoAplicacao <= 0 ? std::string() : ListaFabricantesSQL(ObtemFabricantesAplicacao(codigoAplicacao));
    RecarregaLista(janela.Combo("cboTHCombo1"), janela.DataControl("dtcTHCombo1"),
                   AplicaIdioma(consultas::CarregaComboFabricantes(textoTodos, fabricantes)));
}

void CarregaComboTiposAplicacao(IJanelaSeletores& janela)
{
    RecarregaLista(janela.Combo("cboTHCombo2"), janela.DataControl("dtcTHCombo2"),
                   AplicaIdioma(consultas::CarregaComboTiposAplicacao("<" + vb::UCase(Traduz(7)) + ">")));
}

// ------------------------------------------------------------------------- the SQL texts

namespace consultas {

std::string FabricantesCoringas() { return "SELECT CodigosFabricantesCoringas FROM UMREGISTRO"; }

std::string ObtemReferenciasCruzadas(long codigoProduto, const std::string& fabricantes)
{
    return std::string("SELECT ") + "NumeroFabricante " + "FROM " + "REFERENCIACRUZADA " + "WHERE " +
           "CodigoProduto    = " + std::to_string(codigoProduto) + " AND " + "CodigoFabricante IN (" + fabricantes +
           ") " + "ORDER BY " + "1";
}

std::string FabricantesRelacionados(long codigoAplicacao, bool veiculo)
{
    const std::string app = std::to_string(codigoAplicacao);
    return veiculo ? "SELECT DISTINCT APLICACAO.CodigoFabricante FROM APLICACAO_VEICULO INNER JOIN APLICACAO ON "
                     "APLICACAO_VEICULO.CodigoAplicacao = APLICACAO.CodigoAplicacao WHERE APLICACAO_VEICULO.CodigoVeiculo = " +
                         app
                   : "SELECT DISTINCT APLICACAO.CodigoFabricante FROM APLICACAO_VEICULO INNER JOIN APLICACAO ON "
                     "APLICACAO_VEICULO.CodigoVeiculo = APLICACAO.CodigoAplicacao WHERE APLICACAO_VEICULO.CodigoAplicacao = " +
                         app;
}

std::string MontaDescricaoAplicacao(long codigoAplicacao)
{
    return "SELECT TIPOAPLICACAO.DescricaoTipoAplicacao<I> AS DescricaoTipoAplicacao,APLICACAO.DescricaoAplicacao<I> AS "
           "DescricaoAplicacao,FABRICANTE.DescricaoFabricante<I> AS DescricaoFabricante FROM (APLICACAO LEFT JOIN "
           "TIPOAPLICACAO ON APLICACAO.CodigoTipoAplicacao = TIPOAPLICACAO.CodigoTipoAplicacao) LEFT JOIN FABRICANTE    "
           "ON APLICACAO.CodigoFabricante = FABRICANTE.CodigoFabricante WHERE APLICACAO.CodigoAplicacao = " +
           std::to_string(codigoAplicacao);
}

std::string MontaDescricaoProduto(long codigoProduto)
{
    return "SELECT PRODUTO.DescricaoProduto<I> AS DescricaoProduto,Format(PRODUTO.NumeroEmpresaProduto,'00-00-0000') As "
           "NumeroEmpresaFormatado FROM PRODUTO WHERE PRODUTO.CodigoProduto = " +
           std::to_string(codigoProduto);
}

std::string MontaTextoReferenciasCruzadas(long codigoProduto, const std::string& fabricantes)
{
    const std::string filtro =
        fabricantes.empty() ? std::string() : "AND REFERENCIACRUZADA.CodigoFabricante IN (" + fabricantes + ") ";
    // The number is read beside the text so that a reference without a number is left out
    // instead of showing as " (ABC)".
    return "SELECT REFERENCIACRUZADA.NumeroFabricante & ' (' & FABRICANTE.DescricaoAbrevFabricante<I> & ')',"
           "REFERENCIACRUZADA.NumeroFabricante FROM REFERENCIACRUZADA INNER JOIN FABRICANTE ON "
           "REFERENCIACRUZADA.CodigoFabricante = FABRICANTE.CodigoFabricante WHERE REFERENCIACRUZADA.CodigoProduto = " +
           std::to_string(codigoProduto) + " " + filtro + "ORDER BY 1";
}

std::string ProdutoSubstituto(long codigoProduto)
{
    return "SELECT CodigoProdutoNovo FROM SUBSTITUIDOS WHERE CodigoProduto=" + std::to_string(codigoProduto);
}

std::string CarregaComboFabricantes(const std::string& textoTodos, const std::string& fabricantes)
{
    const std::string filtro = fabricantes.empty() ? std::string() : "WHERE CodigoFabricante IN (" + fabricantes + ") ";
    return "SELECT DescricaoFabricante<I> AS DescricaoFabricante,CodigoFabricante,DescricaoFabricante<I> AS OrderBy FROM "
           "FABRICANTE " +
           filtro + "UNION ALL SELECT '" + textoTodos +
           "' AS DescricaoFabricante,0 AS CodigoFabricante,'' AS OrderBy FROM UMREGISTRO ORDER BY OrderBy";
}

std::string CarregaComboTiposAplicacao(const std::string& textoTodos)
{
    return "SELECT TIPOAPLICACAO.DescricaoTipoAplicacao<I> AS DescricaoTipoAplicacao,TIPOAPLICACAO.CodigoTipoAplicacao,"
           "TIPOAPLICACAO.DescricaoTipoAplicacao<I> AS OrderBy FROM TIPOAPLICACAO UNION ALL SELECT '" +
           textoTodos + "' AS DescricaoTipoAplicacao,0 AS CodigoTipoAplicacao,'' AS OrderBy FROM UMREGISTRO ORDER BY OrderBy";
}

}  // namespace consultas
