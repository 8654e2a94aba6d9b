#include "catalog/aux_window/ConsultasAuxiliar.h"

#include "catalog/startup/Modulo.h"
#include "platform/vb/Strings.h"

namespace consultas {

std::string ObservacaoAuxiliar(const std::string& tipo, long codigo, const std::string& idioma) {
    const std::string palavra = tipo == "A" ? "Aplicacao" : "Produto";
    return Idioma("SELECT Observacao<I> AS Observacao FROM " + palavra + "_OBS WHERE Codigo" + palavra + "=" +
                      std::to_string(codigo),
                  idioma);
}

std::string GradeAplicacoesProduto(long produto, const std::string& idioma) {
    return Idioma(
        "SELECT TIPOAPLICACAO.DescricaoTipoAplicacao<I> AS DescricaoTipoAplicacao,"
        "APLICACAO.DescricaoAplicacao<I> & '   ' & APLICACAO_PRODUTO.ComplementoAplicacao<I> AS DescricaoAplicacao,"
        "FABRICANTE.DescricaoFabricante<I> AS DescricaoFabricante,"
        "APLICACAO_PRODUTO.CodigoAplicacao "
        "FROM ((APLICACAO_PRODUTO "
        "INNER JOIN APLICACAO     ON APLICACAO_PRODUTO.CodigoAplicacao = APLICACAO.CodigoAplicacao) "
        "LEFT  JOIN TIPOAPLICACAO ON APLICACAO.CodigoTipoAplicacao = TIPOAPLICACAO.CodigoTipoAplicacao) "
        "LEFT  JOIN FABRICANTE    ON APLICACAO.CodigoFabricante = FABRICANTE.CodigoFabricante "
        "WHERE APLICACAO_PRODUTO.CodigoProduto = " + std::to_string(produto) + " ORDER BY ",
        idioma);
}

std::string OrdemGradeAplicacoesProduto(const std::string& ordem) {
    return ordem == "1" ? "1,2,3" : ordem == "2" ? "2,3" : ordem == "3" ? "3,1,2" : ordem;
}

std::string GradeCarrinho(const std::string& tabela) {
    return "SELECT IIF(NumeroEmpresaProduto=Null,'z',Format(NumeroEmpresaProduto,'00-00-0000')) As "
           "NumeroEmpresaOrderBy,DescricaoProduto,Quantidade,Format(NumeroEmpresaProduto,'00-00-0000') As "
           "NumeroEmpresaFormatado,CodigoProduto FROM " + tabela + " ORDER BY ";
}

std::string OrdemGradeCarrinho(const std::string& ordem) {
    return ordem == "1" ? "1,2" : ordem == "2" ? "2,1" : ordem;
}

std::string ReferenciasCarrinho(long produto, const std::string& idioma) {
    return Idioma("SELECT REFERENCIACRUZADA.NumeroFabricante & ' (' & FABRICANTE.DescricaoAbrevFabricante<I> & ')' "
                  "FROM REFERENCIACRUZADA INNER JOIN FABRICANTE ON REFERENCIACRUZADA.CodigoFabricante = "
                  "FABRICANTE.CodigoFabricante WHERE REFERENCIACRUZADA.CodigoProduto = " +
                      std::to_string(produto) + " ORDER BY 1",
                  idioma);
}

std::string DescricaoGrupoProduto(long grupo, const std::string& idioma) {
    return "SELECT DescricaoGrupoProduto" + idioma + " FROM GRUPOPRODUTO WHERE CodigoGrupoProduto=" + std::to_string(grupo);
}

std::string DescricaoFabricante(long fabricante, const std::string& idioma) {
    return "SELECT DescricaoFabricante" + idioma + " FROM FABRICANTE WHERE CodigoFabricante=" + std::to_string(fabricante);
}

std::string BaseAplicacoesGrupo(long fabricante, long grupo, bool colunaLancamento, const std::string& idioma) {
    const std::string cr = "\r";
    std::string sql =
        "SELECT Min(TIPOAPLICACAO.DescricaoTipoAplicacao<I>) AS DescricaoTipoAplicacao,"
        "Min(APLICACAO.DescricaoAplicacao<I>) AS DescricaoAplicacao,"
        "Max(IIF(PRODUTO.FlagLancamento=Null,0,PRODUTO.FlagLancamento)&PRODUTO.DataLancamento) AS OBLancamento,"
        "Min(APLICACAO.CodigoTipoAplicacao) AS CodigoTipoAplicacao,"
        "APLICACAO_PRODUTO.CodigoAplicacao,";
    if (colunaLancamento) sql += "IIF(Max(PRODUTO.FlagLancamento)=1,' ','" + cr + "') & ";
    sql += "IIF(EXISTS(SELECT 1 FROM CONJUNTO_PRODUTO1 WHERE CONJUNTO_PRODUTO1.CodigoAplicacao = "
           "APLICACAO_PRODUTO.CodigoAplicacao),' ','" +
           cr + "') & '" + std::string(50, ' ') +
           ".'&Mid(Max(IIF(PRODUTO.FlagLancamento=Null,0,PRODUTO.FlagLancamento)&PRODUTO.DataLancamento),2) As "
           "ImagensGrid "
           "FROM ((PRODUTO "
           "INNER JOIN APLICACAO_PRODUTO ON PRODUTO.CodigoProduto = APLICACAO_PRODUTO.CodigoProduto) "
           "INNER JOIN APLICACAO ON APLICACAO_PRODUTO.CodigoAplicacao = APLICACAO.CodigoAplicacao) "
           "LEFT JOIN TIPOAPLICACAO ON APLICACAO.CodigoTipoAplicacao = TIPOAPLICACAO.CodigoTipoAplicacao "
           "WHERE ";
    if (grupo > 0) sql += "PRODUTO.CodigoGrupoProduto=" + std::to_string(grupo) + " AND ";
    sql += "APLICACAO.CodigoFabricante=" + std::to_string(fabricante) +
           " <WHERE>GROUP BY APLICACAO_PRODUTO.CodigoAplicacao ORDER BY ";
    return Idioma(sql, idioma);
}

std::string GradeAplicacoesGrupo(const std::string& base, const std::string& descricao, long tipo,
                                 const std::string& ordem, const std::string& idioma) {
    std::string filtro;
    const std::string padrao = PreparaTextoSQL(MontaChaveBusca(descricao), true);
    if (!padrao.empty()) filtro += "AND APLICACAO.DescricaoAplicacaoPesquisa" + idioma + " LIKE '*" + padrao + "*' ";
    if (tipo != 0) filtro += "AND APLICACAO.CodigoTipoAplicacao = " + std::to_string(tipo) + " ";
    return vb::Replace(base, "<WHERE>", filtro) + (ordem == "1" ? "1,2" : ordem == "3" ? "3 DESC,1,2" : ordem);
}

std::string VeiculosAplicacao(long aplicacao, const std::string& fabricante, const std::string& idioma) {
    return Idioma("SELECT APLICACAO.DescricaoAplicacao<I> AS DescricaoAplicacao FROM APLICACAO_VEICULO "
                  "INNER JOIN APLICACAO ON APLICACAO_VEICULO.CodigoVeiculo = APLICACAO.CodigoAplicacao "
                  "WHERE APLICACAO_VEICULO.CodigoAplicacao = " +
                      std::to_string(aplicacao) + " AND APLICACAO.CodigoFabricante = " + fabricante + " ORDER BY 1",
                  idioma);
}

}  // namespace consultas
