// The printouts' test ground: a copy of the demo catalogue with a few products, references,
// observations, an application and figure pages of our own, the printer sending to a PDF
// file, and a small database for the recordsets the callers hand over.
#pragma once

#include "tests/data/Pasta.h"
#include "tests/printing/Pdf.h"
#include "tests/support/AplicacaoTeste.h"
#include "tests/support/FakeMsgBox.h"

#include "catalog/main_window/ModuloImpressao.h"
#include "catalog/startup/Modulo.h"
#include "common/modTraducao.h"
#include "platform/dao/Dao.h"
#include "platform/forms/Printer.h"
#include "platform/forms/Screen.h"
#include "platform/vb/Strings.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace teste {

// Our own maker, application and products, clear of the demo catalogue's codes.
constexpr long kFabricante = 240;
constexpr long kAplicacao = 99000;
constexpr long kComTresReferencias = 99101;   // "12-34-5678", three references
constexpr long kSemNumero = 99102;            // no maker number, no reference
constexpr long kSessentaReferencias = 99103;  // enough references to fill more than a page
constexpr long kSemObservacao = 99104;        // marked as having one, without a text
constexpr long kObservacaoLonga = 99105;

inline std::string Referencia(int i) { return "REF" + std::to_string(1000 + i); }

class Impressao : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testsupport::CriaAplicacao("test_printing"); }

    void SetUp() override
    {
        EstadoPrograma.CaminhoDados = pasta_.Caminho();
        EstadoPrograma.Idioma = "P";
        EstadoPrograma.DataEmissaoTexto = "Emissão: 01/12/2026";
        {
            Escrita e;
            e.Executa("INSERT INTO FABRICANTE (CodigoFabricante,DescricaoFabricanteP,DescricaoFabricanteE,"
                      "DescricaoFabricanteI,DescricaoAbrevFabricanteP,DescricaoAbrevFabricanteE,DescricaoAbrevFabricanteI) "
                      "VALUES (240,'Fabricante Teste','Fabricante Teste','Test Maker','FTE','FTE','FTE')");
            e.Executa("INSERT INTO APLICACAO (CodigoAplicacao,CodigoTipoAplicacao,CodigoFabricante,DescricaoAplicacaoP,"
                      "DescricaoAplicacaoE,DescricaoAplicacaoI) VALUES (99000,Null,240,'Motor de Teste','Motor de Prueba',"
                      "'Test Engine')");
            Produto(e, kComTresReferencias, "'12345678'", "Filtro de Óleo Teste");
            Produto(e, kSemNumero, "Null", "Junta Sem Número");
            Produto(e, kSessentaReferencias, "'87654321'", "Bomba Muitas Referências");
            Produto(e, kSemObservacao, "'11112222'", "Tampa Sem Texto");
            Produto(e, kObservacaoLonga, "'33334444'", "Sensor Observação Longa");
            for (int i = 0; i < 3; ++i) Refere(e, kComTresReferencias, Referencia(i));
            for (int i = 0; i < 60; ++i) Refere(e, kSessentaReferencias, Referencia(100 + i));
            e.Executa("DELETE FROM PRODUTO_OBS WHERE CodigoProduto >= 99000");
            Observa(e, kComTresReferencias, "  Usar somente com junta nova.  ");
            Observa(e, kSemNumero, "Primeiro parágrafo.\r\n\r\nTerceiro parágrafo.");
            Observa(e, kObservacaoLonga, std::string(400, 'X'));
        }
        AbreBancoCatalogo(EstadoPrograma.WsCatalogo, NomeWsCatalogo, EstadoPrograma.DbCatalogo, true);
        fixture_ = dao::DBEngine().CreateDatabase(dir_.filePath("fixture.db").toStdString(), ";pwd=teste");
        fixture_.Execute("CREATE TABLE Linhas (Ordem Long, CodigoProduto Long, NumeroEmpresaFormatado Text(20), "
                         "DescricaoProduto Text(50), DescricaoGrupoProduto Text(50), ItemFigura Text(5), "
                         "ImagensGrid Text(80), Quantidade Int)");
        auto& p = vb::Printer();
        p.SetFontBold(false);
        p.SetFontItalic(false);
    }

    void TearDown() override
    {
        if (vb::Printer().DocumentOpen()) vb::Printer().EndDoc();
        fixture_.Close();
        FechaTudo();
    }

    static void Produto(Escrita& e, long codigo, const std::string& numeroSQL, const std::string& descricao)
    {
        e.Executa("INSERT INTO PRODUTO (CodigoProduto,NumeroEmpresaProduto,DescricaoProdutoP,DescricaoProdutoE,"
                  "DescricaoProdutoI,CodigoGrupoProduto) VALUES (" + std::to_string(codigo) + "," + numeroSQL + ",'" +
                  descricao + "','" + descricao + "','" + descricao + "',1)");
    }
    static void Refere(Escrita& e, long produto, const std::string& numero)
    {
        e.Executa("INSERT INTO REFERENCIACRUZADA (CodigoProduto,CodigoFabricante,NumeroFabricante,"
                  "NumeroFabricantePesquisa) VALUES (" + std::to_string(produto) + ",240,'" + numero + "','" + numero + "')");
    }
    static void Observa(Escrita& e, long produto, const std::string& texto)
    {
        const std::string t = "'" + vb::Replace(texto, "'", "''") + "'";
        e.Executa("INSERT INTO PRODUTO_OBS (CodigoProduto,ObservacaoP,ObservacaoE,ObservacaoI) VALUES (" +
                  std::to_string(produto) + "," + t + "," + t + "," + t + ")");
    }

    // A row the caller's recordset holds (cart rows, or list rows).
    struct Linha {
        long codigo;
        std::string numero;            // NumeroEmpresaFormatado
        std::string descricao;
        std::string grupo = "Filtros";
        std::string item;              // "" is Null
        std::string imagens;           // ImagensGrid
        int quantidade = 1;
    };
    dao::Recordset Recordset(const std::vector<Linha>& linhas)
    {
        fixture_.Execute("DELETE FROM Linhas");
        long ordem = 0;
        for (const auto& l : linhas) {
            fixture_.Execute("INSERT INTO Linhas VALUES (" + std::to_string(++ordem) + "," + std::to_string(l.codigo) +
                             ",'" + l.numero + "','" + l.descricao + "','" + l.grupo + "'," +
                             (l.item.empty() ? std::string("Null") : "'" + l.item + "'") + ",'" + l.imagens + "'," +
                             std::to_string(l.quantidade) + ")");
        }
        return fixture_.OpenRecordset("SELECT * FROM Linhas ORDER BY Ordem", dao::dbOpenDynaset);
    }

    // ImagensGrid of a list row without the release column: set flag, observation flag.
    static std::string Imagens(bool observacao)
    {
        return std::string("\r") + (observacao ? " " : "\r") + std::string(50, ' ') + ".";
    }

    std::string Arquivo(const std::string& nome) const { return dir_.filePath(QString::fromStdString(nome)).toStdString(); }
    bool Existe(const std::string& arquivo) const { return QFile::exists(QString::fromStdString(arquivo)); }
    // Points on the PDF page for print units (600 dpi, 6.35 mm margins): 4 twips each.
    static double Pontos(double unidades) { return 18.0 + unidades * 4.0 / 20.0; }
    // Keeps a rendering of one page in the build folder, to be looked at.
    static void GuardaImagem(const std::string& pdf, int pagina, const std::string& nome)
    {
        QDir().mkpath("renderings");
        Executa("pdftoppm", {"-r", "100", "-png", "-singlefile", "-f", QString::number(pagina), "-l",
                             QString::number(pagina), QString::fromStdString(pdf), "renderings/" + QString::fromStdString(nome)});
    }

    PastaDados pasta_;
    QTemporaryDir dir_;
    dao::Database fixture_;
    testsupport::FakeMsgBox caixas_;
};

// The words of the line whose first word lies at y (points), left to right, joined by blanks.
inline std::string LinhaEm(const std::vector<Palavra>& palavras, int pagina, double y, double tolerancia = 2.0)
{
    std::vector<Palavra> linha;
    for (const auto& p : palavras)
        if (p.pagina == pagina && std::abs(p.y - y) <= tolerancia) linha.push_back(p);
    std::sort(linha.begin(), linha.end(), [](const Palavra& a, const Palavra& b) { return a.x < b.x; });
    std::string texto;
    for (const auto& p : linha) texto += (texto.empty() ? "" : " ") + p.texto;
    return texto;
}

}  // namespace teste
