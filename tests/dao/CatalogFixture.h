// A miniature of the catalogue's schema (the Portuguese columns only), made with the layer's
// own DDL, with the rows that tell the program's queries apart: Null numbers, types, flags and
// dates, lower-case and accented descriptions, items "1", "7", "12A" and an item that does
// not apply, a vehicle with a member application, two sets of one application.
#pragma once

#include "DaoFixture.h"

namespace daotest {

inline void CreateCatalog(dao::Database& db) {
    const char* ddl[] = {
        "CREATE TABLE GRUPOPRODUTO (CodigoGrupoProduto Short Not Null, DescricaoGrupoProdutoP Text(50), "
        "CONSTRAINT PKGRUPOPRODUTO PRIMARY KEY (CodigoGrupoProduto))",
        "CREATE TABLE PRODUTO (CodigoProduto Long Not Null, NumeroEmpresaProduto Text(8), "
        "DescricaoProdutoP Text(50), CodigoGrupoProduto Short, FlagLancamento Byte, DataLancamento Text(6), "
        "ArquivoFotoProduto Text(50), CONSTRAINT PKPRODUTO PRIMARY KEY (CodigoProduto))",
        "CREATE TABLE FABRICANTE (CodigoFabricante Byte Not Null, DescricaoFabricanteP Text(50), "
        "DescricaoAbrevFabricanteP Text(10), FlagExibirTelaPrincipal Byte, OrdemTelaPrincipal Long)",
        "CREATE TABLE TIPOAPLICACAO (CodigoTipoAplicacao Byte Not Null, DescricaoTipoAplicacaoP Text(50))",
        "CREATE TABLE APLICACAO (CodigoAplicacao Long Not Null, CodigoTipoAplicacao Byte, "
        "CodigoFabricante Byte Not Null, DescricaoAplicacaoP Text(100), DescricaoAplicacaoPesquisaP Text(100))",
        "CREATE TABLE APLICACAO_PRODUTO (CodigoAplicacao Long Not Null, CodigoProduto Long Not Null, "
        "ComplementoAplicacaoP Text(100))",
        "CREATE TABLE APLICACAO_VEICULO (CodigoVeiculo Long Not Null, CodigoAplicacao Long Not Null)",
        "CREATE TABLE PRODUTO_OBS (CodigoProduto Long Not Null, ObservacaoP Memo)",
        "CREATE TABLE APLICACAO_OBS (CodigoAplicacao Long Not Null, ObservacaoP Memo)",
        "CREATE TABLE CONJUNTO (CodigoConjunto Short Not Null, CodigoAplicacao Long Not Null)",
        "CREATE TABLE CONJUNTO_PRODUTO (CodigoConjunto Short Not Null, CodigoProduto Long Not Null, "
        "ItemFigura Text(5) Not Null)",
        "CREATE TABLE CONJUNTO_PRODUTO1 (CodigoConjunto Short Not Null, CodigoAplicacao Long Not Null, "
        "CodigoProduto Long Not Null, ItemFigura Text(5) Not Null)",
        "CREATE TABLE FIGURADETALHADA1 (CodigoConjunto Short Not Null, NumeroParteFigura Byte Not Null, "
        "ArquivoFigura Text(50), ItemFigura Text(5) Not Null, PosicaoLeft Long, PosicaoTop Long)",
        "CREATE TABLE REFERENCIACRUZADA (CodigoProduto Long Not Null, CodigoFabricante Byte Not Null, "
        "NumeroFabricante Text(30), NumeroFabricantePesquisa Text(30))",
        "CREATE TABLE SUBSTITUIDOS (CodigoProduto Long Not Null, CodigoProdutoNovo Long)",
        "CREATE TABLE UMREGISTRO (UrlAtualizacao Text(255), Versao Long, VersaoAnterior Long, DataEmissao Date, "
        "ComplementoDataEmissao Text(50), DataUltimaVerificacao Date, FlagErroUltimaVerificacao Byte, "
        "CodigosFabricantesCoringas Text(255))",
        "CREATE TABLE CONTROLETRAN (a Long)",
    };
    for (const char* s : ddl) db.Execute(s);
    const char* rows[] = {
        "INSERT INTO GRUPOPRODUTO VALUES (1, 'Freios')",
        "INSERT INTO GRUPOPRODUTO VALUES (2, 'água')",
        "INSERT INTO PRODUTO VALUES (100, '1234567', 'Pastilha de freio', 1, 1, '240507', 'a.jpg')",
        "INSERT INTO PRODUTO VALUES (101, Null, 'Bomba d''água', 2, 0, Null, Null)",
        "INSERT INTO PRODUTO VALUES (102, '12', 'PASTÍLHA dianteira', 1, 1, '240601', 'c.png')",
        "INSERT INTO PRODUTO VALUES (103, '987', 'bomba de óleo', 2, Null, Null, 'd.gif')",
        "INSERT INTO FABRICANTE VALUES (1, 'Volta', 'VLT', 1, 2)",
        "INSERT INTO FABRICANTE VALUES (2, 'Émbar', 'EMB', 1, 1)",
        "INSERT INTO FABRICANTE VALUES (3, 'zeta', 'ZT', 0, 3)",
        "INSERT INTO TIPOAPLICACAO VALUES (1, 'Veículo')",
        "INSERT INTO TIPOAPLICACAO VALUES (2, 'Motor')",
        "INSERT INTO APLICACAO VALUES (10, 1, 1, 'Carro X', 'CARROX')",
        "INSERT INTO APLICACAO VALUES (20, 2, 1, 'Motor 1.6', 'MOTOR16')",
        "INSERT INTO APLICACAO VALUES (30, Null, 2, 'Avulsa', 'AVULSA')",
        "INSERT INTO APLICACAO_PRODUTO VALUES (10, 100, 'diant.')",
        "INSERT INTO APLICACAO_PRODUTO VALUES (10, 101, Null)",
        "INSERT INTO APLICACAO_PRODUTO VALUES (20, 101, Null)",
        "INSERT INTO APLICACAO_PRODUTO VALUES (20, 102, '')",
        "INSERT INTO APLICACAO_PRODUTO VALUES (20, 103, 'tras.')",
        "INSERT INTO APLICACAO_PRODUTO VALUES (30, 100, Null)",
        "INSERT INTO APLICACAO_VEICULO VALUES (10, 20)",
        "INSERT INTO PRODUTO_OBS VALUES (100, 'Obs 100')",
        "INSERT INTO PRODUTO_OBS VALUES (101, 'Obs 101')",
        "INSERT INTO APLICACAO_OBS VALUES (20, 'Obs motor')",
        "INSERT INTO CONJUNTO VALUES (1, 20)",
        "INSERT INTO CONJUNTO VALUES (2, 20)",
        "INSERT INTO CONJUNTO_PRODUTO VALUES (1, 102, '1')",
        "INSERT INTO CONJUNTO_PRODUTO VALUES (1, 102, '7')",
        "INSERT INTO CONJUNTO_PRODUTO VALUES (1, 103, '12A')",
        "INSERT INTO CONJUNTO_PRODUTO VALUES (2, 103, '3')",
        "INSERT INTO CONJUNTO_PRODUTO1 VALUES (1, 20, 102, '1')",
        "INSERT INTO CONJUNTO_PRODUTO1 VALUES (1, 20, 102, '7')",
        "INSERT INTO CONJUNTO_PRODUTO1 VALUES (1, 20, 103, '12A')",
        "INSERT INTO CONJUNTO_PRODUTO1 VALUES (1, 20, 100, '10')",   // 100 does not fit application 20
        "INSERT INTO FIGURADETALHADA1 VALUES (1, 1, 'f1.png', '1', 10, 20)",
        "INSERT INTO FIGURADETALHADA1 VALUES (1, 1, 'f1.png', '12A', 30, 40)",
        "INSERT INTO FIGURADETALHADA1 VALUES (1, 2, 'f2.png', '10', 5, 5)",
        "INSERT INTO FIGURADETALHADA1 VALUES (1, 2, 'f2.png', '7', 1, 1)",
        "INSERT INTO REFERENCIACRUZADA VALUES (100, 1, 'ab-12', 'AB12')",
        "INSERT INTO REFERENCIACRUZADA VALUES (100, 2, '0077 x', '77X')",
        "INSERT INTO REFERENCIACRUZADA VALUES (102, 1, 'zz 9', 'ZZ9')",
        "INSERT INTO REFERENCIACRUZADA VALUES (103, 3, Null, Null)",
        "INSERT INTO SUBSTITUIDOS VALUES (100, 102)",
        "INSERT INTO SUBSTITUIDOS VALUES (102, 100)",
        "INSERT INTO SUBSTITUIDOS VALUES (101, Null)",
        "INSERT INTO UMREGISTRO VALUES ('http://x', 3, 2, #5/7/2024#, ' (rev)', Null, 0, '3')",
        "INSERT INTO CONTROLETRAN VALUES (1)",
    };
    for (const char* s : rows) db.Execute(s, dao::dbFailOnError);
}

}  // namespace daotest
