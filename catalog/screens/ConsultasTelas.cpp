#include "catalog/screens/ConsultasTelas.h"

#include "catalog/screens/ConsultasListas.h"
#include "catalog/startup/Modulo.h"

namespace consultas {

std::string FabricantesTelaPrincipal(const std::string& idioma) {
    return Idioma("SELECT FABRICANTE.DescricaoFabricante<I> AS DescricaoFabricante,FABRICANTE.CodigoFabricante "
                  "FROM FABRICANTE WHERE FABRICANTE.FlagExibirTelaPrincipal=1 ORDER BY FABRICANTE.OrdemTelaPrincipal",
                  idioma);
}

std::string GruposFabricante(long codigoFabricante, const std::string& textoVeiculos, const std::string& idioma) {
    const std::string c = std::to_string(codigoFabricante);
    const std::string lanc =
        "Max(PRODUTO.FlagLancamento & PRODUTO.DataLancamento) AS OBLancamento,"
        "Max(PRODUTO.FlagLancamento) AS FlagLanc ";
    const std::string juncao =
        "INNER JOIN APLICACAO_PRODUTO ON APLICACAO.CodigoAplicacao = APLICACAO_PRODUTO.CodigoAplicacao) ";
    return Idioma(
        "SELECT Min(GRUPOPRODUTO.DescricaoGrupoProduto<I>) AS DescricaoGrupoProduto,"
        "PRODUTO.CodigoGrupoProduto,1 AS AuxOB," + lanc +
        "FROM ((APLICACAO " + juncao +
        "INNER JOIN PRODUTO           ON APLICACAO_PRODUTO.CodigoProduto = PRODUTO.CodigoProduto) "
        "INNER JOIN GRUPOPRODUTO      ON PRODUTO.CodigoGrupoProduto = GRUPOPRODUTO.CodigoGrupoProduto "
        "WHERE APLICACAO.CodigoFabricante=" + c + " GROUP BY PRODUTO.CodigoGrupoProduto "
        "UNION SELECT '" + textoVeiculos + "' AS DescricaoGrupoProduto,-1 AS CodigoGrupoProduto,2 AS AuxOB," + lanc +
        "FROM (APLICACAO " + juncao +
        "INNER JOIN PRODUTO           ON APLICACAO_PRODUTO.CodigoProduto = PRODUTO.CodigoProduto "
        "WHERE APLICACAO.CodigoFabricante=" + c + " AND APLICACAO.CodigoTipoAplicacao=1 "
        "GROUP BY APLICACAO.CodigoTipoAplicacao ORDER BY 3,1",
        idioma);
}

std::string CarregaFiguraDetalhada(long conjunto) {
    return "SELECT DISTINCT FIGURADETALHADA1.NumeroParteFigura,FIGURADETALHADA1.ItemFigura,"
           "FIGURADETALHADA1.PosicaoLeft,FIGURADETALHADA1.PosicaoTop,"
           "Max(IIF(APLICACAO_PRODUTO.CodigoAplicacao=Null,Null,1)) AS ItemAplicavel,"
           "Max(PRODUTO.FlagLancamento & PRODUTO.DataLancamento) AS OBLancamento,"
           "Max(FIGURADETALHADA1.ArquivoFigura) AS ArqFig,"
           "Max(PRODUTO.FlagLancamento) AS FlagLanc "
           "FROM ((FIGURADETALHADA1 "
           "LEFT JOIN CONJUNTO_PRODUTO1 ON "
           "FIGURADETALHADA1.CodigoConjunto = CONJUNTO_PRODUTO1.CodigoConjunto AND "
           "FIGURADETALHADA1.ItemFigura     = CONJUNTO_PRODUTO1.ItemFigura) "
           "LEFT JOIN APLICACAO_PRODUTO ON "
           "CONJUNTO_PRODUTO1.CodigoProduto = APLICACAO_PRODUTO.CodigoProduto AND "
           "CONJUNTO_PRODUTO1.CodigoAplicacao = APLICACAO_PRODUTO.CodigoAplicacao) "
           "LEFT JOIN PRODUTO ON CONJUNTO_PRODUTO1.CodigoProduto = PRODUTO.CodigoProduto "
           "WHERE FIGURADETALHADA1.CodigoConjunto = " + std::to_string(conjunto) + " "
           "GROUP BY FIGURADETALHADA1.NumeroParteFigura,FIGURADETALHADA1.ItemFigura,"
           "FIGURADETALHADA1.PosicaoLeft,FIGURADETALHADA1.PosicaoTop "
           "ORDER BY 1,2";
}

std::string AbreItensConjunto(long conjunto, const std::string& idioma) {
    return Idioma(
        "SELECT DISTINCT CONJUNTO_PRODUTO1.ItemFigura,"
        "IIF(PRODUTO.NumeroEmpresaProduto=Null,'z',Format(PRODUTO.NumeroEmpresaProduto,'00-00-0000')) As NumeroEmpresaOrderBy,"
        "PRODUTO.DescricaoProduto<I> AS DescricaoProduto,"
        "Format(PRODUTO.NumeroEmpresaProduto,'00-00-0000') AS NumeroEmpresaFormatado,"
        "PRODUTO_OBS.CodigoProduto AS Observacao,"
        "CONJUNTO_PRODUTO1.CodigoProduto,PRODUTO.FlagLancamento,PRODUTO.DataLancamento "
        "FROM ((CONJUNTO_PRODUTO1 "
        "INNER JOIN PRODUTO           ON CONJUNTO_PRODUTO1.CodigoProduto = PRODUTO.CodigoProduto) "
        "INNER JOIN APLICACAO_PRODUTO ON CONJUNTO_PRODUTO1.CodigoProduto = APLICACAO_PRODUTO.CodigoProduto AND "
        "CONJUNTO_PRODUTO1.CodigoAplicacao = APLICACAO_PRODUTO.CodigoAplicacao) "
        "LEFT  JOIN PRODUTO_OBS       ON CONJUNTO_PRODUTO1.CodigoProduto = PRODUTO_OBS.CodigoProduto "
        "WHERE CONJUNTO_PRODUTO1.CodigoConjunto = " + std::to_string(conjunto) + " ORDER BY 1,2,3",
        idioma);
}

std::string ItensProdutoConjunto(long conjunto, const std::string& produto) {
    return "SELECT ItemFigura FROM CONJUNTO_PRODUTO WHERE CodigoConjunto = " + std::to_string(conjunto) +
           " AND CodigoProduto  = " + produto;
}

std::string CriterioItemFigura(const std::string& item) { return "ItemFigura='" + PreparaTextoSQL(item, false) + "'"; }

std::string ObtemConjunto(long aplicacao, long produto) {
    std::string sql =
        "SELECT TOP 1 CONJUNTO.CodigoConjunto FROM CONJUNTO INNER JOIN CONJUNTO_PRODUTO ON "
        "CONJUNTO.CodigoConjunto = CONJUNTO_PRODUTO.CodigoConjunto WHERE CONJUNTO.CodigoAplicacao = " +
        std::to_string(aplicacao) + " ";
    if (produto != -1) sql += "AND CONJUNTO_PRODUTO.CodigoProduto = " + std::to_string(produto) + " ";
    return sql + "ORDER BY 1";
}

std::string CarregaMenuConjuntosVeiculo(long veiculo, const std::string& idioma) {
    return Idioma(
        "SELECT DISTINCT TIPOAPLICACAO.DescricaoTipoAplicacao<I> AS DescricaoTipoAplicacao,"
        "APLICACAO.DescricaoAplicacao<I> AS DescricaoAplicacao,"
        "FABRICANTE.DescricaoFabricante<I> AS DescricaoFabricante,"
        "APLICACAO_VEICULO.CodigoAplicacao "
        "FROM (((APLICACAO_VEICULO "
        "INNER JOIN CONJUNTO          ON APLICACAO_VEICULO.CodigoAplicacao = CONJUNTO.CodigoAplicacao) "
        "INNER JOIN APLICACAO         ON APLICACAO_VEICULO.CodigoAplicacao = APLICACAO.CodigoAplicacao) "
        "LEFT  JOIN TIPOAPLICACAO     ON APLICACAO.CodigoTipoAplicacao = TIPOAPLICACAO.CodigoTipoAplicacao) "
        "LEFT  JOIN FABRICANTE        ON APLICACAO.CodigoFabricante = FABRICANTE.CodigoFabricante "
        "WHERE APLICACAO_VEICULO.CodigoVeiculo = " + std::to_string(veiculo) + " ORDER BY 1,2,3",
        idioma);
}

std::string CarregaMenuConjuntos(long produto, long veiculo, const std::string& idioma) {
    return Idioma(
        "SELECT DISTINCT TIPOAPLICACAO.DescricaoTipoAplicacao<I> AS DescricaoTipoAplicacao,"
        "APLICACAO.DescricaoAplicacao<I> & '   ' & APLICACAO_PRODUTO.ComplementoAplicacao<I> AS DescricaoAplicacao,"
        "FABRICANTE.DescricaoFabricante<I> AS DescricaoFabricante,"
        "APLICACAO_VEICULO.CodigoAplicacao "
        "FROM ((((APLICACAO_VEICULO "
        "INNER JOIN CONJUNTO_PRODUTO1 ON APLICACAO_VEICULO.CodigoAplicacao = CONJUNTO_PRODUTO1.CodigoAplicacao) "
        "INNER JOIN APLICACAO_PRODUTO ON CONJUNTO_PRODUTO1.CodigoAplicacao = APLICACAO_PRODUTO.CodigoAplicacao AND "
        "CONJUNTO_PRODUTO1.CodigoProduto = APLICACAO_PRODUTO.CodigoProduto) "
        "INNER JOIN APLICACAO         ON APLICACAO_VEICULO.CodigoAplicacao = APLICACAO.CodigoAplicacao) "
        "LEFT  JOIN TIPOAPLICACAO     ON APLICACAO.CodigoTipoAplicacao = TIPOAPLICACAO.CodigoTipoAplicacao) "
        "LEFT  JOIN FABRICANTE        ON APLICACAO.CodigoFabricante = FABRICANTE.CodigoFabricante "
        "WHERE APLICACAO_VEICULO.CodigoVeiculo = " + std::to_string(veiculo) +
        " AND CONJUNTO_PRODUTO1.CodigoProduto = " + std::to_string(produto) + " ORDER BY 1,2,3",
        idioma);
}

std::string AplicacaoEhTipo1(long aplicacao) {
    return "SELECT 1 FROM APLICACAO WHERE CodigoAplicacao = " + std::to_string(aplicacao) + " AND CodigoTipoAplicacao = 1";
}

std::string AplicacaoTemLancamentos(long aplicacao) {
    return "SELECT 1 FROM APLICACAO_PRODUTO INNER JOIN PRODUTO ON APLICACAO_PRODUTO.CodigoProduto = PRODUTO.CodigoProduto "
           "WHERE APLICACAO_PRODUTO.CodigoAplicacao=" + std::to_string(aplicacao) + " AND PRODUTO.FlagLancamento=1";
}

std::string CarregaReferenciasCruzadas(long produto, const std::string& numeroDigitado,
                                       const std::optional<std::string>& fabricantes, const std::string& idioma) {
    const std::string s = NormalizaCodigoAlfanumerico(numeroDigitado);
    std::string destaque = "0", chaveExtra, filtro;
    if (!s.empty()) {
        destaque = "IIF(REFERENCIACRUZADA.NumeroFabricantePesquisa LIKE '*" + s + "*',1,0)";
        chaveExtra = "IIF(REFERENCIACRUZADA.NumeroFabricantePesquisa LIKE '*" + s + "*',0,1),";
    }
    if (fabricantes) filtro = "AND REFERENCIACRUZADA.CodigoFabricante IN (" + ListaFabricantesSQL(*fabricantes) + ") ";
    return Idioma(
        "SELECT FABRICANTE.DescricaoAbrevFabricante<I> AS DescricaoAbrevFabricante,"
        "FABRICANTE.DescricaoFabricante<I> AS DescricaoFabricante,"
        "REFERENCIACRUZADA.NumeroFabricante," + destaque + " AS CorDestaque "
        "FROM REFERENCIACRUZADA "
        "INNER JOIN FABRICANTE ON REFERENCIACRUZADA.CodigoFabricante = FABRICANTE.CodigoFabricante "
        "WHERE REFERENCIACRUZADA.CodigoProduto = " + std::to_string(produto) + " " + filtro +
        "ORDER BY " + chaveExtra + "1,2",
        idioma);
}

std::string NumeroEmpresaSubstituto(long substituto) {
    return "SELECT IIF(NumeroEmpresaProduto=Null,'',Format(NumeroEmpresaProduto,'00-00-0000')) FROM PRODUTO WHERE CodigoProduto=" +
           std::to_string(substituto);
}

}  // namespace consultas
