// The main window started on a copy of the demo data, with the catalogue screens and the
// auxiliary window replaced by recording stand-ins.
#pragma once

#include "catalog/main_window/JanelaAuxiliar.h"
#include "catalog/main_window/frmZornak.h"
#include "catalog/screens/ModuloTelas.h"
#include "catalog/startup/Modulo.h"
#include "platform/forms/Events.h"
#include "platform/forms/Menu.h"
#include "platform/forms/Screen.h"
#include "platform/os/Folders.h"
#include "platform/vb/Err.h"
#include "tests/support/AplicacaoTeste.h"
#include "tests/support/FakeMsgBox.h"
#include "tests/support/JanelasTeste.h"
#include "tests/support/ProgramaDemo.h"
#include "tests/support/TelasProvisorias.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace mainwindowtest {

// The screens as the window calls them, recorded; the panels still show and hide.
class TelasGravadas : public TelasProvisorias {
public:
    TelasGravadas(frmZornakForm& janela, std::vector<std::string>& chamadas)
        : TelasProvisorias([&janela](int i) -> vb::PictureBox& { return (*janela.pctTela)(i); }),
          chamadas_(chamadas) {}

    void MontaTelaPrincipal() override { Grava("MontaTelaPrincipal"); TelasProvisorias::MontaTelaPrincipal(); }
    void DesmontaTelaPrincipal() override { Grava("DesmontaTelaPrincipal"); TelasProvisorias::DesmontaTelaPrincipal(); }
    void MontaTelaProduto() override { Grava("MontaTelaProduto"); TelasProvisorias::MontaTelaProduto(); }
    void DesmontaTelaProduto() override { Grava("DesmontaTelaProduto"); TelasProvisorias::DesmontaTelaProduto(); }
    void MontaTelaAplicacao() override { Grava("MontaTelaAplicacao"); TelasProvisorias::MontaTelaAplicacao(); }
    void DesmontaTelaAplicacao() override { Grava("DesmontaTelaAplicacao"); TelasProvisorias::DesmontaTelaAplicacao(); }
    void MontaTelaLista() override { Grava("MontaTelaLista"); TelasProvisorias::MontaTelaLista(); }
    void DesmontaTelaLista() override { Grava("DesmontaTelaLista"); TelasProvisorias::DesmontaTelaLista(); }
    void MostraTelaFigura() override { Grava("MostraTelaFigura"); TelasProvisorias::MostraTelaFigura(); }
    void EscondeTelaFigura() override { Grava("EscondeTelaFigura"); TelasProvisorias::EscondeTelaFigura(); }
    void LimpaFiltrosLista(bool a, bool b) override {
        Grava(std::string("LimpaFiltrosLista ") + (a ? "1" : "0") + (b ? "1" : "0"));
    }
    void PesquisaProdutos(const std::string& o, bool b) override { Grava("PesquisaProdutos " + o + (b ? " 1" : " 0")); }
    void PesquisaProdutosAplicacao(const std::string& o, bool b) override {
        Grava("PesquisaProdutosAplicacao " + o + (b ? " 1" : " 0"));
    }
    void PesquisaProdutosConjunto(const std::string& o, bool b) override {
        Grava("PesquisaProdutosConjunto " + o + (b ? " 1" : " 0"));
    }
    void PesquisaAplicacoes(const std::string& o, bool b) override { Grava("PesquisaAplicacoes " + o + (b ? " 1" : " 0")); }
    void AtualizaPainelProduto(const std::string& o, bool b, long e) override {
        Grava("AtualizaPainelProduto " + o + (b ? " 1 " : " 0 ") + std::to_string(e));
    }
    int ObtemConjunto(long aplicacao, long produto) override {
        Grava("ObtemConjunto " + std::to_string(aplicacao) + " " + std::to_string(produto));
        return conjunto;
    }
    void CarregaMenuConjuntosVeiculo(long aplicacao, bool& mostrou) override {
        Grava("CarregaMenuConjuntosVeiculo " + std::to_string(aplicacao));
        mostrou = mostraMenuVeiculo;
    }
    void ReiniciaContextoLista() override { Grava("ReiniciaContextoLista"); }
    void ParaPiscarItensFigura() override { Grava("ParaPiscarItensFigura"); }
    void MostraPaginaFigura(std::uint8_t p) override { Grava("MostraPaginaFigura " + std::to_string(p)); }
    void RestauraItemSelecionado() override { Grava("RestauraItemSelecionado"); }
    std::vector<ProdutoItemFigura> ProdutosPainelItem() override { return produtosItem; }
    int PaginasPainelItem() override { return paginasItem; }
    int PaginaPainelItem() override { return paginaItem; }
    void LimpaPainelItem(bool f) override { Grava(std::string("LimpaPainelItem ") + (f ? "1" : "0")); }
    void MostraDadosItem(int item, int pagina) override {
        Grava("MostraDadosItem " + std::to_string(item) + " " + std::to_string(pagina));
        paginaItem = pagina;
    }

    int conjunto = 0;
    bool mostraMenuVeiculo = false;
    std::vector<ProdutoItemFigura> produtosItem;
    int paginasItem = 1, paginaItem = 1;

private:
    void Grava(const std::string& s) { chamadas_.push_back(s); }
    std::vector<std::string>& chamadas_;
};

using testsupport::JanelaAuxiliarGravada;

class MainWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testsupport::CriaAplicacao("test_main_window"); }

    void SetUp() override {
        ASSERT_TRUE(raiz.isValid());
        ASSERT_NO_FATAL_FAILURE(testsupport::InstalaProgramaDemo(raiz.path(), ZK_DEMO_DATA_DIR));
        testsupport::PreparaJanelas([this](frmZornakForm& janela) {
            auto t = std::make_unique<TelasGravadas>(janela, chamadas);
            telas = t.get();
            return t;
        });
        auxiliar = std::make_shared<JanelaAuxiliarGravada>();
        DefineJanelaAuxiliar(auxiliar);
        anteriorPopup = vb::SetPopupMenuHandler([this](vb::Menu& m) -> vb::Menu* {
            popups.push_back(m.Name());
            return escolhaPopup ? escolhaPopup(m) : nullptr;
        });
        ASSERT_TRUE(Inicializa());
        ASSERT_EQ(caixas.Count(), 0u) << caixas.Last().prompt;
        chamadas.clear();
    }

    void TearDown() override {
        vb::SetPopupMenuHandler(anteriorPopup);
        DefineJanelaAuxiliar(nullptr);
        testsupport::EncerraJanelas();
        EstadoPrograma.RequisicaoTela.clear();
        EstadoPrograma.ConjuntosMenu.clear();
    }

    QString Dados() const { return raiz.path() + "/dados"; }
    frmZornakForm& Janela() { return frmZornak(); }

    // Grid 1's data control on the first n products of the demo catalogue, by code; their
    // codes in order.
    std::vector<long> ListaProdutos(int n) {
        frmZornakForm& j = Janela();
        j.dtcTHGrid1.SetRecordSource("SELECT TOP " + std::to_string(n) +
                                     " CodigoProduto FROM PRODUTO ORDER BY CodigoProduto");
        j.dtcTHGrid1.Refresh();
        std::vector<long> codigos;
        dao::Recordset rs = j.dtcTHGrid1.GetRecordset().Clone();
        for (; !rs.Eof(); rs.MoveNext()) codigos.push_back(rs.Value("CodigoProduto").ToLong());
        rs.Close();
        return codigos;
    }

    // The cart of this run: code -> quantity, by code.
    std::vector<std::pair<long, int>> Carrinho() {
        std::vector<std::pair<long, int>> itens;
        dao::Recordset rs = EstadoPrograma.DbAuxiliar.OpenRecordset(
            "SELECT CodigoProduto, Quantidade FROM " + EstadoPrograma.TabelaCarrinho + " ORDER BY CodigoProduto");
        for (; !rs.Eof(); rs.MoveNext())
            itens.emplace_back(rs.Value("CodigoProduto").ToLong(), rs.Value("Quantidade").ToLong());
        rs.Close();
        return itens;
    }

    QTemporaryDir raiz;
    testsupport::FakeMsgBox caixas;
    std::vector<std::string> chamadas;
    TelasGravadas* telas = nullptr;
    std::shared_ptr<JanelaAuxiliarGravada> auxiliar;
    std::vector<std::string> popups;
    std::function<vb::Menu*(vb::Menu&)> escolhaPopup;
    vb::PopupMenuHandler anteriorPopup;
};

}  // namespace mainwindowtest
