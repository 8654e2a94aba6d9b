#include "catalog/screens/ConsultasListas.h"

#include "catalog/startup/Modulo.h"
#include "platform/vb/Strings.h"

namespace consultas {

namespace {

const std::string CR = "\r";
const std::string Brancos50(50, ' ');

// WHERE of screens 1, 2 and 5: the first condition after "WHERE ", the next after "AND ".
void Acrescenta(std::string& where, const std::string& condicao) {
    where += where.empty() ? "WHERE " : "AND ";
    where += condicao;
}

// The conditions shared by the product lists (part number and description), already
// normalised; empty texts add nothing.
std::string CondicaoNumeroEmpresa(const std::string& texto) {
    const std::string n = NormalizaCodigoNumerico(texto);
    return n.empty() ? std::string() : "PRODUTO.NumeroEmpresaProduto LIKE '" + n + "*' ";
}

std::string CondicaoReferencia(const std::string& texto, const std::string* fabricantes) {
    const std::string r = NormalizaCodigoAlfanumerico(texto);
    if (r.empty()) return {};
    std::string s = std::string(fabricantes ? "APLICACAO_PRODUTO" : "PRODUTO") +
                    ".CodigoProduto IN (SELECT CodigoProduto FROM REFERENCIACRUZADA "
                    "WHERE NumeroFabricantePesquisa LIKE '*" + r + "*'";
    if (fabricantes) s += " AND CodigoFabricante IN (" + ListaFabricantesSQL(*fabricantes) + ")) ";
    else s += ") ";
    return s;
}

std::string SelectProdutosInicio() {
    return "IIF(PRODUTO.NumeroEmpresaProduto=Null,'z',Format(PRODUTO.NumeroEmpresaProduto,'00-00-0000')) As NumeroEmpresaOrderBy,"
           "PRODUTO.DescricaoProduto<I> AS DescricaoProduto,";
}

std::string SelectProdutosMeio() {
    return "PRODUTO.FlagLancamento & PRODUTO.DataLancamento AS OBLancamento,"
           "PRODUTO.CodigoProduto,"
           "Format(PRODUTO.NumeroEmpresaProduto,'00-00-0000') As NumeroEmpresaFormatado,";
}

std::string FlagLancamento() { return "IIF(PRODUTO.FlagLancamento=1,' ','" + CR + "') & "; }

std::string FlagObservacaoEData() {
    return "IIF(PRODUTO_OBS.CodigoProduto=Null,'" + CR + "',' ') & '" + Brancos50 +
           ".'&PRODUTO.DataLancamento As ImagensGrid ";
}

// The WHERE of lists LV and LC: the application first, every other condition after "AND ".
std::string WhereLista(long codigoAplicacao, const FiltrosProdutos& f, const std::string& fabricantes,
                       bool conjunto) {
    std::string w = "WHERE APLICACAO_PRODUTO.CodigoAplicacao=" + std::to_string(codigoAplicacao) + " ";
    auto e = [&w](const std::string& c) {
        if (!c.empty()) w += "AND " + c;
    };
    e(CondicaoReferencia(f.numeroFabricante, &fabricantes));
    if (conjunto) {
        const std::string i = PreparaTextoSQL(f.itemFigura, true);
        if (!i.empty()) e("CONJUNTO_PRODUTO1.ItemFigura LIKE '" + i + "*' ");
    } else if (f.grupo > 0) {
        e("PRODUTO.CodigoGrupoProduto = " + std::to_string(f.grupo) + " ");
    }
    e(CondicaoNumeroEmpresa(f.numeroEmpresa));
    e(MontaFiltroPalavras(f.descricao, "PRODUTO.DescricaoProduto<I>"));
    return w;
}

}  // namespace

std::string OrdemAplicacoes(const std::string& ordem) {
    if (ordem == "2") return "2,3";
    if (ordem == "3") return "3,1,2";
    return "1,2,3";
}

std::string OrdemProdutos(const std::string& ordem) {
    if (ordem == "2") return "2,1";
    if (ordem == "3") return "3,1";
    if (ordem == "4") return "4 DESC,1";
    return "1,2";
}

std::string PesquisaAplicacoes(const std::string& descricao, int tipoAplicacao, int fabricante,
                               const std::string& ordem, const std::string& idioma) {
    std::string where;
    const std::string d = PreparaTextoSQL(MontaChaveBusca(descricao), true);
    if (!d.empty()) Acrescenta(where, "APLICACAO.DescricaoAplicacaoPesquisa<I> LIKE '*" + d + "*' ");
    if (tipoAplicacao != 0) Acrescenta(where, "APLICACAO.CodigoTipoAplicacao = " + std::to_string(tipoAplicacao) + " ");
    if (fabricante != 0) Acrescenta(where, "APLICACAO.CodigoFabricante = " + std::to_string(fabricante) + " ");
    const std::string sql =
        "SELECT TIPOAPLICACAO.DescricaoTipoAplicacao<I> AS DescricaoTipoAplicacao,"
        "APLICACAO.DescricaoAplicacao<I> AS DescricaoAplicacao,"
        "FABRICANTE.DescricaoFabricante<I> AS DescricaoFabricante,"
        "APLICACAO.CodigoAplicacao,"
        "IIF(EXISTS(SELECT 1 FROM CONJUNTO WHERE CONJUNTO.CodigoAplicacao = APLICACAO.CodigoAplicacao),' ','" + CR +
        "') As ImagensGrid "
        "FROM (APLICACAO "
        "LEFT  JOIN TIPOAPLICACAO ON APLICACAO.CodigoTipoAplicacao = TIPOAPLICACAO.CodigoTipoAplicacao) "
        "LEFT  JOIN FABRICANTE    ON APLICACAO.CodigoFabricante = FABRICANTE.CodigoFabricante " + where;
    return Idioma(sql, idioma) + "ORDER BY " + OrdemAplicacoes(ordem);
}

std::string CarregaComboGrupos(const std::string& textoTodos, const std::string& idioma) {
    const std::string sql =
        "SELECT GRUPOPRODUTO.DescricaoGrupoProduto<I> AS DescricaoGrupoProduto,"
        "GRUPOPRODUTO.CodigoGrupoProduto,"
        "GRUPOPRODUTO.DescricaoGrupoProduto<I> AS OrderBy "
        "FROM GRUPOPRODUTO "
        "UNION ALL "
        "SELECT '" + vb::Replace(textoTodos, "'", "''") + "' AS DescricaoGrupoProduto,"
        "0 AS CodigoGrupoProduto,"
        "'' AS OrderBy "
        "FROM UMREGISTRO "
        "ORDER BY OrderBy";
    return Idioma(sql, idioma);
}

std::string CarregaComboAplicacoesVeiculo(long codigoVeiculo, const std::string& idioma) {
    const std::string v = std::to_string(codigoVeiculo);
    const std::string sql =
        "SELECT 1 AS OrderBy,"
        "TIPOAPLICACAO.DescricaoTipoAplicacao<I> AS DescricaoTipoAplicacao,"
        "APLICACAO.DescricaoAplicacao<I> AS DescricaoAplicacao,"
        "APLICACAO_VEICULO.CodigoAplicacao "
        "FROM (APLICACAO_VEICULO "
        "INNER JOIN APLICACAO     ON APLICACAO_VEICULO.CodigoAplicacao = APLICACAO.CodigoAplicacao) "
        "LEFT  JOIN TIPOAPLICACAO ON APLICACAO.CodigoTipoAplicacao = TIPOAPLICACAO.CodigoTipoAplicacao "
        "WHERE APLICACAO_VEICULO.CodigoVeiculo = " + v + " "
        "UNION ALL "
        "SELECT 0 AS OrderBy,"
        "TIPOAPLICACAO.DescricaoTipoAplicacao<I> AS DescricaoTipoAplicacao,"
        "APLICACAO.DescricaoAplicacao<I> AS DescricaoAplicacao,"
        "0 AS CodigoAplicacao "
        "FROM APLICACAO "
        "LEFT JOIN TIPOAPLICACAO ON APLICACAO.CodigoTipoAplicacao = TIPOAPLICACAO.CodigoTipoAplicacao "
        "WHERE APLICACAO.CodigoAplicacao = " + v + " "
        "ORDER BY 1,2,3";
    return Idioma(sql, idioma);
}

std::string PesquisaAplicacoesProduto(long codigoProduto, const std::string& ordem, const std::string& idioma) {
    const std::string sql =
        "SELECT TIPOAPLICACAO.DescricaoTipoAplicacao<I> AS DescricaoTipoAplicacao,"
        "APLICACAO.DescricaoAplicacao<I> & '   ' & APLICACAO_PRODUTO.ComplementoAplicacao<I> AS DescricaoAplicacao,"
        "FABRICANTE.DescricaoFabricante<I> AS DescricaoFabricante,"
        "APLICACAO_PRODUTO.CodigoAplicacao,"
        "IIF(EXISTS(SELECT 1 FROM CONJUNTO_PRODUTO1 WHERE CONJUNTO_PRODUTO1.CodigoAplicacao = APLICACAO_PRODUTO.CodigoAplicacao "
        "AND CONJUNTO_PRODUTO1.CodigoProduto = APLICACAO_PRODUTO.CodigoProduto),' ','" + CR + "') As ImagensGrid "
        "FROM ((APLICACAO_PRODUTO "
        "INNER JOIN APLICACAO ON APLICACAO_PRODUTO.CodigoAplicacao = APLICACAO.CodigoAplicacao) "
        "LEFT JOIN TIPOAPLICACAO ON APLICACAO.CodigoTipoAplicacao = TIPOAPLICACAO.CodigoTipoAplicacao) "
        "LEFT JOIN FABRICANTE ON APLICACAO.CodigoFabricante = FABRICANTE.CodigoFabricante "
        "WHERE APLICACAO_PRODUTO.CodigoProduto=" + std::to_string(codigoProduto) + " ";
    return Idioma(sql, idioma) + "ORDER BY " + OrdemAplicacoes(ordem);
}

std::string PesquisaProdutos(bool lancamentos, const FiltrosProdutos& f, const std::string& ordem,
                             const std::string& idioma) {
    std::string where;
    if (lancamentos) Acrescenta(where, "PRODUTO.FlagLancamento=1 ");
    const std::string r = CondicaoReferencia(f.numeroFabricante, nullptr);
    if (!r.empty()) Acrescenta(where, r);
    if (f.grupo > 0) Acrescenta(where, "PRODUTO.CodigoGrupoProduto = " + std::to_string(f.grupo) + " ");
    const std::string n = CondicaoNumeroEmpresa(f.numeroEmpresa);
    if (!n.empty()) Acrescenta(where, n);
    const std::string d = MontaFiltroPalavras(f.descricao, "PRODUTO.DescricaoProduto<I>");
    if (!d.empty()) Acrescenta(where, d);
    const std::string sql =
        "SELECT " + SelectProdutosInicio() +
        "GRUPOPRODUTO.DescricaoGrupoProduto<I> AS DescricaoGrupoProduto," + SelectProdutosMeio() +
        "PRODUTO.ArquivoFotoProduto," + FlagLancamento() + FlagObservacaoEData() +
        "FROM (PRODUTO "
        "LEFT JOIN GRUPOPRODUTO ON PRODUTO.CodigoGrupoProduto = GRUPOPRODUTO.CodigoGrupoProduto) "
        "LEFT JOIN PRODUTO_OBS  ON PRODUTO.CodigoProduto = PRODUTO_OBS.CodigoProduto " + where;
    return Idioma(sql, idioma) + "ORDER BY " + OrdemProdutos(ordem);
}

std::string PesquisaProdutosAplicacao(long codigoAplicacao, const FiltrosProdutos& f, const std::string& fabricantes,
                                      bool marcaLancamento, const std::string& ordem, const std::string& idioma) {
    const std::string sql =
        "SELECT DISTINCT " + SelectProdutosInicio() +
        "GRUPOPRODUTO.DescricaoGrupoProduto<I> AS DescricaoGrupoProduto," + SelectProdutosMeio() +
        "PRODUTO.ArquivoFotoProduto," + (marcaLancamento ? FlagLancamento() : std::string()) +
        "IIF(EXISTS(SELECT 1 FROM CONJUNTO_PRODUTO1 WHERE CONJUNTO_PRODUTO1.CodigoProduto = APLICACAO_PRODUTO.CodigoProduto),' ','" +
        CR + "') & " + FlagObservacaoEData() +
        "FROM ((APLICACAO_PRODUTO "
        "INNER JOIN PRODUTO      ON APLICACAO_PRODUTO.CodigoProduto = PRODUTO.CodigoProduto) "
        "LEFT  JOIN GRUPOPRODUTO ON PRODUTO.CodigoGrupoProduto = GRUPOPRODUTO.CodigoGrupoProduto) "
        "LEFT  JOIN PRODUTO_OBS  ON PRODUTO.CodigoProduto = PRODUTO_OBS.CodigoProduto " +
        WhereLista(codigoAplicacao, f, fabricantes, false);
    return Idioma(sql, idioma) + "ORDER BY " + OrdemProdutos(ordem);
}

std::string PesquisaProdutosConjunto(long codigoAplicacao, const FiltrosProdutos& f, const std::string& fabricantes,
                                     bool marcaLancamento, const std::string& ordem, const std::string& idioma) {
    const std::string sql =
        "SELECT DISTINCT " + SelectProdutosInicio() +
        "IIF(CONJUNTO_PRODUTO1.ItemFigura=Null,'z',IIF(IsNumeric(CONJUNTO_PRODUTO1.ItemFigura),"
        "Format(CONJUNTO_PRODUTO1.ItemFigura,'00'),Right('000' & CONJUNTO_PRODUTO1.ItemFigura,3))) As ItemFiguraOrderBy," +
        SelectProdutosMeio() + "CONJUNTO_PRODUTO1.ItemFigura,PRODUTO.ArquivoFotoProduto," +
        (marcaLancamento ? FlagLancamento() : std::string()) +
        "IIF(EXISTS(SELECT 1 FROM CONJUNTO_PRODUTO1 WHERE CONJUNTO_PRODUTO1.CodigoAplicacao = APLICACAO_PRODUTO.CodigoAplicacao "
        "AND CONJUNTO_PRODUTO1.CodigoProduto = APLICACAO_PRODUTO.CodigoProduto),' ','" + CR + "') & " + FlagObservacaoEData() +
        "FROM ((APLICACAO_PRODUTO "
        "INNER JOIN PRODUTO           ON APLICACAO_PRODUTO.CodigoProduto = PRODUTO.CodigoProduto) "
        "LEFT  JOIN PRODUTO_OBS       ON PRODUTO.CodigoProduto = PRODUTO_OBS.CodigoProduto) "
        "LEFT  JOIN CONJUNTO_PRODUTO1 ON APLICACAO_PRODUTO.CodigoAplicacao = CONJUNTO_PRODUTO1.CodigoAplicacao "
        "AND APLICACAO_PRODUTO.CodigoProduto = CONJUNTO_PRODUTO1.CodigoProduto " +
        WhereLista(codigoAplicacao, f, fabricantes, true);
    return Idioma(sql, idioma) + "ORDER BY " + OrdemProdutos(ordem);
}

}  // namespace consultas
