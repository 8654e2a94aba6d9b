// The catalogue screens as a user meets them: the window is shown, the pointer moves over
// the visible centre of each element and clicks there through the top-level window, and
// the test checks what the click did. Each screen has a table, one row per element that
// can be clicked inside it; the frame around the screens (header, tabs, footer buttons)
// has its own tables elsewhere.
#include "JanelaDemo.h"

#include "catalog/main_window/JanelaAuxiliar.h"
#include "catalog/main_window/frmMenu.h"
#include "catalog/screens/PainelProduto.h"
#include "catalog/screens/TelaAplicacao.h"
#include "catalog/screens/TelaFigura.h"
#include "catalog/screens/TelaLista.h"
#include "catalog/screens/TelaProduto.h"
#include "common/modTraducao.h"
#include "platform/forms/Menu.h"
#include "platform/vb/Strings.h"
#include "platform/dao/FaultVfs.h"
#include "platform/os/Desktop.h"
#include "tests/support/AjudantesDesktop.h"
#include "tests/support/LinhasLista.h"
#include "tests/support/Ponteiro.h"

#include <QCursor>
#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

namespace {

using testsupport::CentroVisivel;
using testsupport::Processa;

constexpr long Destaque = 0x1D25DA;

using AuxiliarGravada = testsupport::JanelaAuxiliarGravada;

// One element of a screen: what the user points at, how to click it, what must follow.
struct Elemento {
    std::string nome;
    std::function<vb::Control*()> alvo;
    std::function<void()> confere;
    Qt::MouseButton botao = Qt::LeftButton;
    bool duplo = false;
    std::function<void()> prepara = {};   // puts the screen back as the row needs it
    std::function<QPoint()> ponto = {};   // a point of the element other than its centre
};

class TelasPonteiro : public JanelaDemo {
protected:
    void SetUp() override {
        JanelaDemo::SetUp();
        auxiliar = std::make_shared<AuxiliarGravada>();
        DefineJanelaAuxiliar(auxiliar);
        anteriorPopup = vb::SetPopupMenuHandler([this](vb::Menu& m) -> vb::Menu* {
            popups.push_back(m.Name());
            legendasPopup.clear();
            if (m.Name() == "mnuItensFigura" || m.Name().rfind("mnuProduto", 0) == 0) {
                auto& menu = static_cast<frmMenuForm&>(m.OwnerForm());
                for (std::size_t n = 1; n <= 4; ++n)
                    if (menu.mnuProduto[n]->Visible()) legendasPopup.push_back(menu.mnuProduto[n]->Caption());
            }
            return nullptr;
        });
    }
    void TearDown() override {
        vb::SetPopupMenuHandler(anteriorPopup);
        DefineJanelaAuxiliar(nullptr);
        EstadoPrograma.RequisicaoTela.clear();
        JanelaDemo::TearDown();
    }

    // The program started and its window shown, as a user sees it.
    frmZornakForm& Mostra(const std::string& idioma = "P") {
        frmZornakForm& j = Inicia(idioma);
        j.Show();
        Processa();
        janela = j.Window();
        return j;
    }

    // The screen switched as the program's own navigation does.
    void VaiPara(frmZornakForm& j, int tela, const std::string& historico) {
        const auto saindo = static_cast<std::uint8_t>(j.TelaAtual());
        j.m_HistoricoTelas = historico;
        j.TrocaTela(static_cast<std::uint8_t>(tela), saindo, "LimpaTelaLista");
        Processa();
    }
    void AbreLista(frmZornakForm& j, long aplicacao) {
        j.CodigoAplicacaoLista = aplicacao;
        j.CodigoAplicacaoCombo = 0;
        VaiPara(j, 3, "23");
    }
    void AbreFigura(frmZornakForm& j, long aplicacao, const std::string& pedido = "") {
        EstadoPrograma.RequisicaoTela = pedido;
        j.CodigoAplicacaoFigura = static_cast<int>(aplicacao);
        VaiPara(j, 4, "24");
    }

    // What lies under the pointer at the centre of a control is that control, or one of its
    // parts: a user can reach it there.
    ::testing::AssertionResult AoAlcance(const vb::Control& c, QPoint p) const {
        if (!c.Widget()->isVisible()) return ::testing::AssertionFailure() << c.Name() << " is not shown";
        if (!testsupport::RetanguloVisivel(c).contains(p))
            return ::testing::AssertionFailure() << c.Name() << " is not seen at the point";
        QWidget* w = testsupport::WidgetNoPonto(janela, p);
        if (w != c.Widget() && !c.Widget()->isAncestorOf(w))
            return ::testing::AssertionFailure()
                   << c.Name() << "(" << c.Index() << ") is covered by "
                   << (w ? w->objectName().toStdString() + " " + w->metaObject()->className() + " of " +
                               (vb::ControlOf(w) ? vb::ControlOf(w)->Name() : std::string("-"))
                         : "nothing");
        return ::testing::AssertionSuccess();
    }

    void ClicaTabela(const std::vector<Elemento>& tabela) {
        for (const Elemento& e : tabela) {
            SCOPED_TRACE(e.nome);
            if (e.prepara) e.prepara();
            Processa();
            vb::Control* c = e.alvo();
            ASSERT_NE(c, nullptr);
            const QPoint p = e.ponto ? e.ponto() : CentroVisivel(*c);
            ASSERT_TRUE(AoAlcance(*c, p));
            testsupport::MovePara(janela, p);
            ultimoPonto = p;
            if (e.duplo) testsupport::ClicaDuplo(janela, p, e.botao);
            else testsupport::Clica(janela, p, e.botao);
            Processa();
            e.confere();
            ASSERT_TRUE(erros.empty()) << erros.front();
        }
    }

    // The middle of a visible row of a list, in the window.
    QPoint PontoLinha(THGrid& g, int linha) const {
        return g.Grade().mapTo(janela, QPoint(g.Grade().width() / 2, linha * 17 + 8));
    }
    QPoint PontoMarcador(THGrid& g, int posicao, int linha) const {
        vb::PictureBox* m = g.Marcador(posicao, linha);
        return m ? CentroVisivel(*m) : QPoint(-1, -1);
    }
    // The picture of a position on the current row's selection bar.
    QPoint PontoBarra(THGrid& g, int posicao) const {
        EXPECT_TRUE(g.Visible_imgSelecionado(posicao));
        int left = 0, ponteiro = 0;
        vb::Picture figura;
        std::string dica;
        g.Properties_imgSelecionado(posicao, left, figura, dica, ponteiro);
        const vb::PictureBox& barra = *g.BarraSelecao();
        return barra.Widget()->mapTo(janela, QPoint(left + std::max(1, figura.Width() / 2), barra.Height() / 2));
    }
    // A combo opened by the click closes with a click on its closed box again.
    std::function<void()> AbreEFecha(THCombo* combo) {
        return [this, combo] {
            EXPECT_TRUE(combo->ListaAberta());
            testsupport::Clica(janela, ultimoPonto);
            EXPECT_FALSE(combo->ListaAberta());
        };
    }

    // Part of a product's number to type, and whether a listed number starts with it: the
    // box searches the number's digits without the leading zeros of its formatted form.
    static std::string InicioNumero(const dao::DataControl& dc) {
        dao::Recordset rs = dc.GetRecordset().Clone();
        std::string inicio;
        for (rs.MoveFirst(); !rs.Eof() && inicio.empty(); rs.MoveNext()) {
            const std::string n = Digitos(rs.Value("NumeroEmpresaFormatado").ToString());
            if (n.size() >= 3) inicio = n.substr(0, 2);
        }
        rs.Close();
        return inicio;
    }
    static std::string Digitos(const std::string& formatado) {
        std::string d;
        for (char ch : formatado)
            if (ch >= '0' && ch <= '9' && !(d.empty() && ch == '0')) d += ch;
        return d;
    }
    static void TodosComecamPor(const dao::DataControl& dc, const std::string& inicio) {
        dao::Recordset rs = dc.GetRecordset().Clone();
        long n = 0;
        for (; !rs.Eof(); rs.MoveNext(), ++n)
            EXPECT_EQ(Digitos(rs.Value("NumeroEmpresaFormatado").ToString()).substr(0, inicio.size()), inicio);
        rs.Close();
        EXPECT_GT(n, 0);
    }
    // A word of the current row's text to type: its first letters up to any accented one.
    static std::string Palavra(const dao::DataControl& dc, const char* campo) {
        for (const std::string& p : vb::Split(vb::Trim(dc.GetRecordset().Value(campo).ToString()), " ")) {
            std::string ascii;
            for (char ch : p) {
                if (static_cast<unsigned char>(ch) >= 0x80) break;
                ascii += ch;
            }
            if (ascii.size() >= 3) return ascii;
        }
        return {};
    }

    static long Valor(const std::string& sql) { return ObtemValorSQL(sql, vb::Variant(-1L)).ToLong(); }
    static long CodigoAtual(const dao::DataControl& dc, const char* campo = "CodigoProduto") {
        const dao::Recordset rs = dc.GetRecordset();
        if (rs.IsNothing() || rs.Eof()) return 0;
        return rs.Value(campo).ToLong();
    }
    static long Linhas(const dao::DataControl& dc) {
        const dao::Recordset rs = dc.GetRecordset();
        return rs.IsNothing() ? -1 : rs.RecordCount();
    }
    // The first visible row (from the second) whose marker at a picture position shows.
    static int LinhaComMarcador(THGrid& g, int posicao) {
        for (int r = 1; r < g.LinhasPorPagina(); ++r)
            if (vb::PictureBox* m = g.Marcador(posicao, r); m && m->Visible()) return r;
        return -1;
    }
    // The product of a visible row of grid 1 (row 0 the first shown).
    static long ProdutoDaLinha(frmZornakForm& j, THGrid& g, int linha, const char* campo = "CodigoProduto") {
        (void)g;
        dao::Recordset rs = j.dtcTHGrid1.GetRecordset().Clone();
        rs.MoveFirst();
        rs.Move(linha);
        const long codigo = rs.Value(campo).ToLong();
        rs.Close();
        return codigo;
    }

    static bool NaLista(frmZornakForm& j, long produto) {
        dao::Recordset rs = j.dtcTHGrid1.GetRecordset().Clone();
        rs.FindFirst("CodigoProduto = " + std::to_string(produto));
        const bool achou = !rs.NoMatch();
        rs.Close();
        return achou;
    }
    // The reference the list's panel shows first for a product: by maker abbreviation and
    // name, among the makers of the list's application.
    static std::string PrimeiraReferencia(long produto, const std::string& fabricantes) {
        return ObtemValorSQL("SELECT TOP 1 REFERENCIACRUZADA.NumeroFabricante FROM REFERENCIACRUZADA INNER JOIN "
                             "FABRICANTE ON REFERENCIACRUZADA.CodigoFabricante = FABRICANTE.CodigoFabricante WHERE "
                             "REFERENCIACRUZADA.CodigoProduto = " + std::to_string(produto) +
                                 " AND REFERENCIACRUZADA.CodigoFabricante IN (" + fabricantes +
                                 ") ORDER BY FABRICANTE.DescricaoAbrevFabricanteP, FABRICANTE.DescricaoFabricanteP",
                             vb::Variant(""))
            .ToString();
    }

    // A sortable header clicked: it turns red, the other headers of its list black, and the
    // list keeps the header's sort code.
    static std::function<void()> Ordenado(vb::Label* clicado, std::vector<vb::Label*> grupo, const std::string* ordem,
                                          std::string esperado) {
        return [clicado, grupo, ordem, esperado] {
            for (vb::Label* o : grupo) EXPECT_EQ(o->ForeColor(), o == clicado ? Destaque : 0) << o->Name();
            EXPECT_EQ(*ordem, esperado);
        };
    }

    std::vector<long> Carrinho() {
        std::vector<long> v;
        dao::Recordset rs = EstadoPrograma.DbAuxiliar.OpenRecordset(
            "SELECT CodigoProduto FROM " + EstadoPrograma.TabelaCarrinho + " ORDER BY CodigoProduto");
        for (; !rs.Eof(); rs.MoveNext()) v.push_back(rs.Value("CodigoProduto").ToLong());
        rs.Close();
        return v;
    }

    // A box clicked, then typed into: the text lands there.
    std::function<void()> Digitado(vb::TextBox* caixa, const std::string& texto, std::function<void()> depois) {
        return [this, caixa, texto, depois] {
            EXPECT_TRUE(caixa->HasFocus());
            testsupport::Digita(janela, texto);
            EXPECT_EQ(caixa->Text(), texto);
            depois();
            caixa->SetText("");
            Processa();
        };
    }

    QWidget* janela = nullptr;
    QPoint ultimoPonto;
    std::shared_ptr<AuxiliarGravada> auxiliar;
    std::vector<std::string> popups, legendasPopup;
    vb::PopupMenuHandler anteriorPopup;
};

// ------------------------------------------------------------------------- home screen

TEST_F(TelasPonteiro, HomeScreenGroupShortcutsAndNotice) {
    // The browser is a program on the PATH that notes the address it was given.
    QTemporaryDir bin;
    const QString nota = bin.path() + "/endereco.txt";
    {
        QFile f(bin.path() + "/xdg-open");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(("#!/bin/sh\necho \"$1\" >> '" + nota + "'\n").toUtf8());
        f.close();
        f.setPermissions(QFile::ExeOwner | QFile::ReadOwner | QFile::WriteOwner);
    }
    const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", (bin.path().toStdString() + ":" + path).c_str(), 1);
    auto ultimoEndereco = [&nota] {
        QFile f(nota);
        if (!f.open(QIODevice::ReadOnly)) return std::string();
        const QList<QByteArray> linhas = f.readAll().trimmed().split('\n');
        return linhas.last().toStdString();
    };
    // The browser is started and not waited for.
    auto esperaEndereco = [&] {
        for (int i = 0; i < 500 && ultimoEndereco().empty(); ++i) QTest::qWait(20);
        return ultimoEndereco();
    };

    frmZornakForm& j = Mostra();
    auto* links = j.ArranjoControles<vb::Label>("lblGrupoM");
    auto* datas = j.ArranjoControles<vb::Label>("lblDataLancM");
    // A group with releases, one without, and a maker's vehicles.
    int comLancamentos = -1, semLancamentos = -1, veiculos = -1;
    for (int i : links->Indices()) {
        const vb::Label& l = (*links)(i);
        if (!l.Visible()) continue;
        const bool pseudo = l.Tag().size() > 3 && l.Tag().substr(l.Tag().size() - 3) == "|-1";
        if (pseudo && veiculos < 0) veiculos = i;
        else if (!pseudo && l.WhatsThisHelpID() >= 0 && comLancamentos < 0) comLancamentos = i;
        else if (!pseudo && l.WhatsThisHelpID() < 0 && semLancamentos < 0) semLancamentos = i;
    }
    ASSERT_GE(comLancamentos, 0);
    ASSERT_GE(semLancamentos, 0);
    ASSERT_GE(veiculos, 0);

    // A group with new releases asks for them first (sort 3, release mark 1).
    auto atalho = [&](int i) {
        return [&, i] {
            const vb::Label& l = (*links)(i);
            const char* ordemMarca = l.WhatsThisHelpID() >= 0 ? "3|0|1" : "1|0|0";
            EXPECT_EQ(auxiliar->Ultima(), "3|" + l.Tag() + "|0|0||255|" + ordemMarca);
            // Nothing chosen there: the home screen stays, the list state reset.
            EXPECT_EQ(j.m_HistoricoTelas, "0");
            EXPECT_EQ(j.LinhaRetorno, 255);
            // The pointer still rests on the shortcut: it is underlined, with its date.
            EXPECT_EQ(j.m_ChaveSelecao, "_GRUPOM" + std::to_string(i));
            EXPECT_TRUE(l.FontUnderline());
            if (l.WhatsThisHelpID() >= 0) {
                EXPECT_TRUE((*datas)(static_cast<int>(l.WhatsThisHelpID())).Widget()->isVisible());
            }
        };
    };
    const std::vector<Elemento> tabela = {
        {"group shortcut with new releases", [&] { return &(*links)(comLancamentos); }, atalho(comLancamentos)},
        {"group shortcut without", [&] { return &(*links)(semLancamentos); }, atalho(semLancamentos)},
        {"a maker's vehicles", [&] { return &(*links)(veiculos); }, atalho(veiculos)},
        {"notice link", [&] { return &j.Lbl("lblLinkPopUp", 0); },
         [&] { EXPECT_EQ(esperaEndereco(), "https://www.zornak.com.br/contato"); }},
        {"notice close", [&] { return &j.Lbl("lblFecharPopUp"); },
         [&] {
             EXPECT_FALSE(j.Img("imgPopUp").Widget()->isVisible());
             EXPECT_FALSE(j.Lbl("lblLinkPopUp", 0).Widget()->isVisible());
             EXPECT_FALSE(j.Lbl("lblFecharPopUp").Widget()->isVisible());
         }},
    };
    ClicaTabela(tabela);
    setenv("PATH", path.c_str(), 1);
}

// The notice's links with a browser helper that fails, and one that opens the page.
TEST_F(TelasPonteiro, TheNoticeLinkReportsABrowserThatFails) {
    testsupport::AjudantesDesktop ajudantes;
    frmZornakForm& j = Mostra();
    struct Caso {
        int link;
        int codigo;
        bool caixa;
    };
    const Caso casos[] = {{0, 3, true}, {1, 3, true}, {0, 0, false}};
    for (const Caso& c : casos) {
        SCOPED_TRACE("link " + std::to_string(c.link) + ", xdg-open ending with " + std::to_string(c.codigo));
        ajudantes.Programa("xdg-open", c.codigo);
        caixas.Clear();
        const vb::Label& link = j.Lbl("lblLinkPopUp", c.link);
        const QPoint p = CentroVisivel(link);
        ASSERT_TRUE(AoAlcance(link, p));
        testsupport::Clica(janela, p);
        const std::optional<std::string> endereco = ajudantes.Argumentos("xdg-open");
        ASSERT_TRUE(endereco);
        EXPECT_EQ(*endereco, "https://www.zornak.com.br/contato\n");
        ASSERT_TRUE(testsupport::EsperaComEventos([] { return os::WatchedHelpers() == 0; }));
        testsupport::DeixaCorrer(100);
        if (!c.caixa) {
            EXPECT_EQ(caixas.Count(), 0u) << caixas.Last().prompt;
            continue;
        }
        ASSERT_EQ(caixas.Count(), 1u);
        EXPECT_EQ(caixas.Last().prompt,
                  Traduz(1) + ": 31\r\n(1) You should check that your browser is correctly installed.");
        EXPECT_EQ(caixas.Last().title, Traduz(0));
        EXPECT_TRUE(j.Img("imgPopUp").Widget()->isVisible()) << "the notice stays";
    }
    EXPECT_TRUE(erros.empty());
}

// ------------------------------------------------------------- product search, releases

TEST_F(TelasPonteiro, ProductSearchAndReleasesScreens) {
    frmZornakForm& j = Mostra();
    TelaProduto& pr = Telas(j).Produto();
    THGrid& g1 = *j.grdTHGrid1;
    THGrid& g2 = *j.grdTHGrid2;
    for (const int tela : {1, 5}) {
        SCOPED_TRACE("screen " + std::to_string(tela));
        const int modo = tela == 5 ? 1 : 0;
        // A product with a set among its applications (a release on the releases screen).
        const long comConjunto = Valor(
            "SELECT Min(APLICACAO_PRODUTO.CodigoProduto) FROM (APLICACAO_PRODUTO INNER JOIN CONJUNTO_PRODUTO1 ON "
            "APLICACAO_PRODUTO.CodigoProduto = CONJUNTO_PRODUTO1.CodigoProduto AND APLICACAO_PRODUTO.CodigoAplicacao = "
            "CONJUNTO_PRODUTO1.CodigoAplicacao) INNER JOIN PRODUTO ON APLICACAO_PRODUTO.CodigoProduto = "
            "PRODUTO.CodigoProduto WHERE PRODUTO.NumeroEmpresaProduto <> Null" +
            std::string(tela == 5 ? " AND PRODUTO.FlagLancamento = 1" : ""));
        ASSERT_GT(comConjunto, 0);
        const std::string numeroComConjunto =
            ObtemValorSQL("SELECT NumeroEmpresaProduto FROM PRODUTO WHERE CodigoProduto = " + std::to_string(comConjunto),
                          vb::Variant("")).ToString();
        // A product with an observation, found by its whole number.
        const long comObservacao = Valor(
            "SELECT Min(PRODUTO.CodigoProduto) FROM PRODUTO INNER JOIN PRODUTO_OBS ON PRODUTO.CodigoProduto = "
            "PRODUTO_OBS.CodigoProduto WHERE PRODUTO.NumeroEmpresaProduto >= 10000000" +
            std::string(tela == 5 ? " AND PRODUTO.FlagLancamento = 1" : ""));
        ASSERT_GT(comObservacao, 0);
        const std::string numeroComObservacao =
            ObtemValorSQL("SELECT NumeroEmpresaProduto FROM PRODUTO WHERE CodigoProduto = " + std::to_string(comObservacao),
                          vb::Variant("")).ToString();
        auto volta = [&, tela] {
            if (j.TelaAtual() != tela) VaiPara(j, tela, std::to_string(tela));
            auxiliar->requisicoes.clear();
        };
        // The screen on the product with a set: its applications fill grid 2.
        auto naqueleProduto = [&] {
            volta();
            pr.txtNumeroEmpresa->SetText(numeroComConjunto);
            Processa();
        };
        volta();
        const long total = Linhas(j.dtcTHGrid1);
        ASSERT_GT(total, 3);
        const std::string prefixo = InicioNumero(j.dtcTHGrid1);
        const std::string palavra = Palavra(j.dtcTHGrid1, "DescricaoProduto");
        ASSERT_GE(palavra.size(), 3u);
        const long primeiro = CodigoAtual(j.dtcTHGrid1);
        const std::string referencia = Telas(j).Painel().lblNumeroFabricanteRef[0]->Caption();
        ASSERT_FALSE(referencia.empty()) << "the first product has references";

        auto cabecalho = [&](vb::Label* l, const std::vector<vb::Label*>& grupo, const std::string& ordem, bool aplicacoes) {
            return Ordenado(l, grupo, aplicacoes ? &pr.OrdemAplicacoesProduto[modo] : &pr.OrdemProdutos[modo], ordem);
        };
        const std::vector<vb::Label*> produtos = {pr.lblNumeroEmpresa, pr.lblDescricaoProduto, pr.lblGrupo, pr.lblLancamento};
        const std::vector<vb::Label*> aplicacoes = {pr.lblTipoAplicacao, pr.lblAplicacaoProduto, pr.lblFabricante};
        int linhaCesta = -1, linhaFigura = -1, linhaLista = -1;
        long produtoLinha = 0, aplicacaoLinha = 0;

        const std::vector<Elemento> tabela = {
            {"part number box", [&] { return pr.txtNumeroEmpresa; },
             Digitado(pr.txtNumeroEmpresa, prefixo, [&] {
                 TodosComecamPor(j.dtcTHGrid1, prefixo);
                 EXPECT_LT(Linhas(j.dtcTHGrid1), total);
             }),
             Qt::LeftButton, false, volta},
            {"description box", [&] { return pr.txtDescricaoProduto; },
             Digitado(pr.txtDescricaoProduto, palavra, [&] {
                 EXPECT_TRUE(NaLista(j, primeiro)) << palavra;
                 EXPECT_LE(Linhas(j.dtcTHGrid1), total);
             }),
             Qt::LeftButton, false, volta},
            {"reference box", [&] { return pr.txtNumeroFabricante; },
             Digitado(pr.txtNumeroFabricante, referencia, [&] {
                 // The product is found by its reference; the panel shows the searched one
                 // first, in red.
                 EXPECT_TRUE(NaLista(j, primeiro));
                 EXPECT_EQ(Telas(j).Painel().lblNumeroFabricanteRef[0]->ForeColor(), Destaque);
             }),
             Qt::LeftButton, false, volta},
            {"group combo", [&] { return j.cboTHCombo2; }, AbreEFecha(j.cboTHCombo2), Qt::LeftButton, false, volta},
            {"a product row", [&] { return &g1; },
             [&] {
                 EXPECT_EQ(CodigoAtual(j.dtcTHGrid1), ProdutoDaLinha(j, g1, 2));
                 EXPECT_NE(CodigoAtual(j.dtcTHGrid1), primeiro);
             },
             Qt::LeftButton, false, volta, [&] { return PontoLinha(g1, 2); }},
            {"cart icon of a row", [&] { return &g1; },
             [&] {
                 const std::vector<long> cesta = Carrinho();
                 EXPECT_NE(std::find(cesta.begin(), cesta.end(), produtoLinha), cesta.end());
                 EXPECT_EQ(auxiliar->Ultima(), "2|" + std::to_string(produtoLinha));
             },
             Qt::LeftButton, false,
             [&] {
                 volta();
                 linhaCesta = LinhaComMarcador(g1, 0);
                 produtoLinha = ProdutoDaLinha(j, g1, linhaCesta);
             },
             [&] { return PontoMarcador(g1, 0, linhaCesta); }},
            {"observation icon of the current row", [&] { return &g1; },
             [&] { EXPECT_EQ(auxiliar->Ultima(), "0|P|" + std::to_string(comObservacao)); }, Qt::LeftButton, false,
             [&] {
                 volta();
                 pr.txtNumeroEmpresa->SetText(numeroComObservacao);
                 Processa();
                 ASSERT_EQ(CodigoAtual(j.dtcTHGrid1), comObservacao);
             },
             [&] { return PontoBarra(g1, 2); }},
            {"number header", [&] { return pr.lblNumeroEmpresa; }, cabecalho(pr.lblNumeroEmpresa, produtos, "1", false)},
            {"description header", [&] { return pr.lblDescricaoProduto; }, cabecalho(pr.lblDescricaoProduto, produtos, "2", false)},
            {"group header", [&] { return pr.lblGrupo; }, cabecalho(pr.lblGrupo, produtos, "3", false)},
            {"release header", [&] { return pr.lblLancamento; }, cabecalho(pr.lblLancamento, produtos, "4", false)},
            {"application type header", [&] { return pr.lblTipoAplicacao; },
             cabecalho(pr.lblTipoAplicacao, aplicacoes, "1", true), Qt::LeftButton, false, naqueleProduto},
            {"application header", [&] { return pr.lblAplicacaoProduto; },
             cabecalho(pr.lblAplicacaoProduto, aplicacoes, "2", true)},
            {"maker header", [&] { return pr.lblFabricante; }, cabecalho(pr.lblFabricante, aplicacoes, "3", true)},
            {"figure icon of an application", [&] { return &g2; },
             [&] {
                 EXPECT_EQ(j.TelaAtual(), 4);
                 EXPECT_EQ(j.CodigoAplicacaoFigura, aplicacaoLinha);
                 // The product's items on the figure are marked.
                 EXPECT_GE(Telas(j).Figura().UltimoItemPiscando, 0);
             },
             Qt::LeftButton, false,
             [&] {
                 naqueleProduto();
                 linhaFigura = -1;
                 for (int r = 0; r < g2.LinhasPorPagina() && linhaFigura < 0; ++r)
                     if (vb::PictureBox* m = g2.Marcador(0, r); m && m->Visible()) linhaFigura = r;
                 ASSERT_GE(linhaFigura, 0);
                 dao::Recordset rs = j.dtcTHGrid2.GetRecordset().Clone();
                 rs.MoveFirst();
                 rs.Move(linhaFigura);
                 aplicacaoLinha = rs.Value("CodigoAplicacao").ToLong();
                 rs.Close();
             },
             [&] { return PontoMarcador(g2, 0, linhaFigura); }},
            {"list icon of an application", [&] { return &g2; },
             [&] {
                 EXPECT_EQ(j.TelaAtual(), 3);
                 EXPECT_EQ(j.CodigoAplicacaoLista, aplicacaoLinha);
                 EXPECT_EQ(CodigoAtual(j.dtcTHGrid1), comConjunto) << "the list opens on the product";
             },
             Qt::LeftButton, false,
             [&] {
                 naqueleProduto();
                 linhaLista = j.dtcTHGrid2.GetRecordset().RecordCount() > 1 ? 1 : 0;
                 dao::Recordset rs = j.dtcTHGrid2.GetRecordset().Clone();
                 rs.MoveFirst();
                 rs.Move(linhaLista);
                 aplicacaoLinha = rs.Value("CodigoAplicacao").ToLong();
                 rs.Close();
             },
             [&] { return PontoMarcador(g2, 1, linhaLista); }},
            {"double click on an application", [&] { return &g2; },
             [&] {
                 EXPECT_EQ(j.TelaAtual(), 3);
                 EXPECT_EQ(j.CodigoAplicacaoLista, aplicacaoLinha);
             },
             Qt::LeftButton, true,
             [&] {
                 naqueleProduto();
                 dao::Recordset rs = j.dtcTHGrid2.GetRecordset().Clone();
                 rs.MoveFirst();
                 aplicacaoLinha = rs.Value("CodigoAplicacao").ToLong();
                 rs.Close();
             },
             [&] { return PontoLinha(g2, 0); }},
        };
        ClicaTabela(tabela);

        // The detail panel: a resting pointer names the maker of a reference.
        volta();
        pr.txtNumeroEmpresa->SetText("");
        pr.txtNumeroFabricante->SetText(referencia);
        Processa();
        ASSERT_TRUE(AoAlcance(*Telas(j).Painel().lblNumeroFabricanteRef[0], CentroVisivel(*Telas(j).Painel().lblNumeroFabricanteRef[0])));
        EXPECT_EQ(testsupport::DicaNoPonto(janela, CentroVisivel(*Telas(j).Painel().lblNumeroFabricanteRef[0])),
                  Telas(j).Painel().lblNumeroFabricanteRef[0]->ToolTipText());
        EXPECT_FALSE(Telas(j).Painel().lblNumeroFabricanteRef[0]->ToolTipText().empty());
    }
}

// --------------------------------------------------------------------- application search

// The data folder became read-only while the program runs: a click on a product's cart icon
// reports Jet's read-only error naming the auxiliary database, and nothing else is lost: the
// cart keeps what it had, and once the folder takes files again the same click adds the
// product. (The folder is refused through the database layer's file faults: permissions do
// not bind root.)
TEST_F(TelasPonteiro, ACartIconWithTheDataFolderReadOnlySaysWhichFileAndWhy) {
    frmZornakForm& j = Mostra();
    VaiPara(j, 1, "1");
    THGrid& g1 = *j.grdTHGrid1;
    const int linha = LinhaComMarcador(g1, 0);
    ASSERT_GE(linha, 0);
    const long produto = ProdutoDaLinha(j, g1, linha);
    const std::vector<long> antes = Carrinho();
    const std::string auxiliarDb =
        std::filesystem::canonical(EstadoPrograma.CaminhoDados + "CatalogoZORNAK.c02").string();
    auxiliar->requisicoes.clear();
    caixas.Clear();

    dao::SetFileFaultForTesting(auxiliarDb, dao::FileFault::FolderNotWritable);
    const QPoint p = PontoMarcador(g1, 0, linha);
    ASSERT_TRUE(AoAlcance(g1, p));
    testsupport::Clica(janela, p);
    Processa();
    dao::SetFileFaultForTesting(auxiliarDb, dao::FileFault::None);

    ASSERT_EQ(erros.size(), 1u);
    EXPECT_EQ(erros[0].rfind("3027 Cannot update. Database or object is read-only: '" + auxiliarDb + "'", 0), 0u)
        << erros[0];
    EXPECT_NE(erros[0].find(std::strerror(EACCES)), std::string::npos) << erros[0];
    EXPECT_EQ(Carrinho(), antes);
    EXPECT_TRUE(auxiliar->requisicoes.empty()) << "the cart screen did not open";

    erros.clear();
    testsupport::Clica(janela, p);
    Processa();
    EXPECT_TRUE(erros.empty()) << erros.front();
    const std::vector<long> depois = Carrinho();
    EXPECT_NE(std::find(depois.begin(), depois.end(), produto), depois.end());
    EXPECT_EQ(auxiliar->Ultima(), "2|" + std::to_string(produto));
}

TEST_F(TelasPonteiro, ApplicationSearchScreen) {
    frmZornakForm& j = Mostra();
    TelaAplicacao& a = Telas(j).Aplicacao();
    THGrid& g = *j.grdTHGrid1;
    auto volta = [&] {
        if (j.TelaAtual() != 2) VaiPara(j, 2, "2");
    };
    volta();
    const long total = Linhas(j.dtcTHGrid1);
    ASSERT_GT(total, 3);
    const std::string palavra = Palavra(j.dtcTHGrid1, "DescricaoAplicacao");
    ASSERT_GE(palavra.size(), 3u);
    const std::vector<vb::Label*> cabecalhos = {a.lblTipoAplicacaoA, a.lblAplicacaoProdutoA, a.lblFabricanteA};
    auto cabecalho = [&](vb::Label* l, const std::string& ordem) { return Ordenado(l, cabecalhos, &a.OrdemAplicacoes, ordem); };
    int linha = -1;
    long aplicacao = 0;
    auto aplicacaoDaLinha = [&](int posicao) {
        volta();
        linha = posicao < 0 ? 1 : LinhaComMarcador(g, posicao);
        ASSERT_GT(linha, 0);
        aplicacao = ProdutoDaLinha(j, g, linha, "CodigoAplicacao");
    };
    const std::vector<Elemento> tabela = {
        {"description box", [&] { return a.txtDescricaoAplicacaoA; },
         Digitado(a.txtDescricaoAplicacaoA, palavra, [&] {
             EXPECT_GT(Linhas(j.dtcTHGrid1), 0);
             EXPECT_LE(Linhas(j.dtcTHGrid1), total);
             EXPECT_EQ(a.OrdemAplicacoes, "2") << "typing sorts by the application";
         }),
         Qt::LeftButton, false, volta},
        {"application type combo", [&] { return j.cboTHCombo2; }, AbreEFecha(j.cboTHCombo2)},
        {"maker combo", [&] { return j.cboTHCombo1; }, AbreEFecha(j.cboTHCombo1)},
        {"type header", [&] { return a.lblTipoAplicacaoA; }, cabecalho(a.lblTipoAplicacaoA, "1")},
        {"application header", [&] { return a.lblAplicacaoProdutoA; }, cabecalho(a.lblAplicacaoProdutoA, "2")},
        {"maker header", [&] { return a.lblFabricanteA; }, cabecalho(a.lblFabricanteA, "3")},
        {"figure icon of a row", [&] { return &g; },
         [&] {
             EXPECT_EQ(j.TelaAtual(), 4);
             EXPECT_EQ(j.m_HistoricoTelas, "24");
             EXPECT_EQ(j.CodigoAplicacaoFigura, aplicacao);
         },
         Qt::LeftButton, false, [&] { aplicacaoDaLinha(0); }, [&] { return PontoMarcador(g, 0, linha); }},
        {"list icon of a row", [&] { return &g; },
         [&] {
             EXPECT_EQ(j.TelaAtual(), 3);
             EXPECT_EQ(j.m_HistoricoTelas, "23");
             EXPECT_EQ(j.CodigoAplicacaoLista, aplicacao);
         },
         Qt::LeftButton, false, [&] { aplicacaoDaLinha(1); }, [&] { return PontoMarcador(g, 1, linha); }},
        {"double click on a row", [&] { return &g; },
         [&] {
             EXPECT_EQ(j.TelaAtual(), 3);
             EXPECT_EQ(j.CodigoAplicacaoLista, aplicacao);
         },
         Qt::LeftButton, true, [&] { aplicacaoDaLinha(-1); }, [&] { return PontoLinha(g, linha); }},
    };
    ClicaTabela(tabela);
}

// The list screen entered from the application search screen for an application of fewer
// products than a page: its rows end with the selection bar, and a click beside them, where a
// scroll bar would stand, chooses no product.
TEST_F(TelasPonteiro, AShortListEnteredFromTheApplicationScreenEndsItsRowsWithItsBar) {
    frmZornakForm& j = Mostra();
    const long aplicacao = Valor(
        "SELECT Min(A.CodigoAplicacao) FROM APLICACAO A WHERE (SELECT Count(*) FROM APLICACAO_PRODUTO P WHERE "
        "P.CodigoAplicacao = A.CodigoAplicacao) BETWEEN 3 AND 8");
    ASSERT_GT(aplicacao, 0);
    // Its model code ("AW-166") typed in the description box brings its row first.
    std::string modelo;
    for (const std::string& p : vb::Split(ObtemValorSQL("SELECT DescricaoAplicacaoP FROM APLICACAO WHERE CodigoAplicacao = " +
                                                            std::to_string(aplicacao), std::string()).ToString(), " "))
        if (modelo.empty() && p.find('-') != std::string::npos) modelo = p;
    ASSERT_FALSE(modelo.empty());
    VaiPara(j, 2, "2");
    testsupport::Clica(*Telas(j).Aplicacao().txtDescricaoAplicacaoA);
    testsupport::Digita(janela, modelo);
    THGrid& g = *j.grdTHGrid1;
    ASSERT_EQ(ProdutoDaLinha(j, g, 0, "CodigoAplicacao"), aplicacao);
    testsupport::Clica(janela, PontoMarcador(g, 1, 0));
    ASSERT_EQ(j.TelaAtual(), 3);
    ASSERT_EQ(j.CodigoAplicacaoLista, aplicacao);
    ASSERT_LT(Linhas(j.dtcTHGrid1), g.LinhasPorPagina());

    const long primeiro = CodigoAtual(j.dtcTHGrid1);
    EXPECT_TRUE(testsupport::LinhasTerminamComABarra(g));
    testsupport::Clica(janela, testsupport::PontoAoLadoDaBarra(g));
    EXPECT_EQ(CodigoAtual(j.dtcTHGrid1), primeiro);
    ASSERT_TRUE(erros.empty()) << erros.front();
}

// ----------------------------------------------------------------------- product lists

TEST_F(TelasPonteiro, ListByVehicle) {
    frmZornakForm& j = Mostra();
    TelaLista& l = Telas(j).Lista();
    PainelProduto& pr = Telas(j).Painel();
    THGrid& g = *j.grdTHGrid1;
    const long veiculo = 1;
    auto volta = [&] {
        if (j.TelaAtual() != 3 || j.grdTHGrid1->Tag() != "1") AbreLista(j, veiculo);
        auxiliar->requisicoes.clear();
        popups.clear();
        caixas.Clear();
    };
    volta();
    ASSERT_EQ(g.Tag(), "1");
    const long total = Linhas(j.dtcTHGrid1);
    ASSERT_GT(total, 3);
    const long primeiro = CodigoAtual(j.dtcTHGrid1);
    const std::string prefixo = InicioNumero(j.dtcTHGrid1);
    const std::string palavra = Palavra(j.dtcTHGrid1, "DescricaoProduto");
    ASSERT_GE(palavra.size(), 3u);
    const std::string referencia = pr.lblNumeroFabricanteRefL[0]->Caption();
    ASSERT_FALSE(referencia.empty());
    std::vector<vb::Label*> cabecalhos = {l.lblNumeroEmpresaLV, l.lblDescricaoProdutoLV, l.lblGrupoLV, l.lblLancamentoLV};
    auto cabecalho = [&](vb::Label* c, const std::string& ordem) { return Ordenado(c, cabecalhos, &l.OrdemLista, ordem); };
    int linha = -1;
    long produto = 0;
    // The figure icon of a vehicle's list offers the sets of the vehicle that hold the
    // product: none, one (the figure opens) or a menu.
    auto conjuntos = [&](long p) {
        return Valor("SELECT Count(*) FROM (SELECT DISTINCT APLICACAO_VEICULO.CodigoAplicacao FROM (APLICACAO_VEICULO "
                     "INNER JOIN CONJUNTO_PRODUTO1 ON APLICACAO_VEICULO.CodigoAplicacao = CONJUNTO_PRODUTO1.CodigoAplicacao) "
                     "INNER JOIN APLICACAO_PRODUTO ON CONJUNTO_PRODUTO1.CodigoAplicacao = APLICACAO_PRODUTO.CodigoAplicacao "
                     "AND CONJUNTO_PRODUTO1.CodigoProduto = APLICACAO_PRODUTO.CodigoProduto WHERE "
                     "APLICACAO_VEICULO.CodigoVeiculo = " + std::to_string(veiculo) +
                     " AND CONJUNTO_PRODUTO1.CodigoProduto = " + std::to_string(p) + ")");
    };
    auto figura = [&] {
        const long n = conjuntos(produto);
        if (n == 0) {
            ASSERT_EQ(caixas.Count(), 1u);
            EXPECT_EQ(caixas.Last().prompt, Traduz(63) + ".");
        } else if (n == 1) {
            EXPECT_EQ(j.TelaAtual(), 4);
        } else {
            EXPECT_EQ(popups, std::vector<std::string>{"mnuConjuntos"});
        }
    };
    auto naLinha = [&](int posicao) {
        volta();
        linha = posicao < 0 ? 2 : LinhaComMarcador(g, posicao);
        ASSERT_GT(linha, 0);
        produto = ProdutoDaLinha(j, g, linha);
    };
    std::vector<Elemento> tabela = {
        {"part number filter", [&] { return l.txtNumeroEmpresaLV; },
         Digitado(l.txtNumeroEmpresaLV, prefixo, [&] { TodosComecamPor(j.dtcTHGrid1, prefixo); }),
         Qt::LeftButton, false, volta},
        {"description filter", [&] { return l.txtDescricaoProdutoLV; },
         Digitado(l.txtDescricaoProdutoLV, palavra, [&] {
             EXPECT_TRUE(NaLista(j, primeiro)) << palavra;
         }),
         Qt::LeftButton, false, volta},
        {"reference filter", [&] { return l.txtNumeroFabricanteLV; },
         Digitado(l.txtNumeroFabricanteLV, referencia, [&] {
             EXPECT_TRUE(NaLista(j, primeiro));
             EXPECT_EQ(pr.lblNumeroFabricanteRefL[0]->ForeColor(), Destaque);
         }),
         Qt::LeftButton, false, volta},
        {"group combo", [&] { return j.cboTHCombo2; }, AbreEFecha(j.cboTHCombo2)},
        {"application combo, on its caption", [&] { return j.cboTHCombo1; }, AbreEFecha(j.cboTHCombo1), Qt::LeftButton,
         false, {}, [&] { return CentroVisivel(j.cboTHCombo1->Texto()); }},
        {"number header", [&] { return l.lblNumeroEmpresaLV; }, cabecalho(l.lblNumeroEmpresaLV, "1")},
        {"description header", [&] { return l.lblDescricaoProdutoLV; }, cabecalho(l.lblDescricaoProdutoLV, "2")},
        {"group header", [&] { return l.lblGrupoLV; }, cabecalho(l.lblGrupoLV, "3")},
        {"a product row", [&] { return &g; },
         [&] {
             EXPECT_EQ(CodigoAtual(j.dtcTHGrid1), produto);
             // The panel follows the row.
             EXPECT_EQ(pr.lblNumeroFabricanteRefL[0]->Caption(), PrimeiraReferencia(produto, j.FabricantesLista));
         },
         Qt::LeftButton, false, [&] { naLinha(-1); }, [&] { return PontoLinha(g, linha); }},
        {"cart icon", [&] { return &g; },
         [&] {
             const std::vector<long> cesta = Carrinho();
             EXPECT_NE(std::find(cesta.begin(), cesta.end(), produto), cesta.end());
             EXPECT_EQ(auxiliar->Ultima(), "2|" + std::to_string(produto));
         },
         Qt::LeftButton, false, [&] { naLinha(0); }, [&] { return PontoMarcador(g, 0, linha); }},
        {"figure icon", [&] { return &g; }, figura, Qt::LeftButton, false,
         [&] { naLinha(l.ComLancamentos() ? 2 : 1); },
         [&] { return PontoMarcador(g, l.ComLancamentos() ? 2 : 1, linha); }},
        {"applications icon", [&] { return &g; },
         [&] { EXPECT_EQ(auxiliar->Ultima(), "1|" + std::to_string(produto) + "|" + std::to_string(veiculo)); },
         Qt::LeftButton, false, [&] { naLinha(l.ComLancamentos() ? 3 : 2); },
         [&] { return PontoMarcador(g, l.ComLancamentos() ? 3 : 2, linha); }},
        {"observation icon", [&] { return &g; },
         [&] { EXPECT_EQ(auxiliar->Ultima(), "0|P|" + std::to_string(produto)); }, Qt::LeftButton, false,
         [&] { naLinha(l.ComLancamentos() ? 4 : 3); },
         [&] { return PontoMarcador(g, l.ComLancamentos() ? 4 : 3, linha); }},
        {"double click on a row", [&] { return &g; }, figura, Qt::LeftButton, true,
         [&] {
             naLinha(-1);
             // Only a row with its figure icon shown acts.
             linha = LinhaComMarcador(g, l.ComLancamentos() ? 2 : 1);
             produto = ProdutoDaLinha(j, g, linha);
         },
         [&] { return PontoLinha(g, linha); }},
    };
    if (l.ComLancamentos())
        tabela.insert(tabela.begin() + 8,
                      Elemento{"release header", [&] { return l.lblLancamentoLV; }, cabecalho(l.lblLancamentoLV, "4")});
    ClicaTabela(tabela);
}

// An assembly's list, with and without the release column: its headers and filters stand
// over their columns, and a click on a row's figure opens the figure on its item.
TEST_F(TelasPonteiro, ListByAssembly) {
    frmZornakForm& j = Mostra();
    TelaLista& l = Telas(j).Lista();
    THGrid& g = *j.grdTHGrid1;
    const long comLancamento = Valor(
        "SELECT Min(APLICACAO.CodigoAplicacao) FROM (APLICACAO INNER JOIN APLICACAO_PRODUTO ON APLICACAO.CodigoAplicacao = "
        "APLICACAO_PRODUTO.CodigoAplicacao) INNER JOIN PRODUTO ON APLICACAO_PRODUTO.CodigoProduto = PRODUTO.CodigoProduto "
        "WHERE APLICACAO.CodigoTipoAplicacao <> 1 AND PRODUTO.FlagLancamento = 1 AND APLICACAO.CodigoAplicacao IN "
        "(SELECT CodigoAplicacao FROM CONJUNTO)");
    const long semLancamento = Valor(
        "SELECT Min(CodigoAplicacao) FROM APLICACAO WHERE CodigoTipoAplicacao <> 1 AND CodigoAplicacao IN (SELECT "
        "CodigoAplicacao FROM CONJUNTO) AND CodigoAplicacao NOT IN (SELECT APLICACAO_PRODUTO.CodigoAplicacao "
        "FROM APLICACAO_PRODUTO INNER JOIN PRODUTO ON APLICACAO_PRODUTO.CodigoProduto = PRODUTO.CodigoProduto WHERE "
        "PRODUTO.FlagLancamento = 1)");
    ASSERT_GT(comLancamento, 0);
    ASSERT_GT(semLancamento, 0);
    for (const long aplicacao : {comLancamento, semLancamento}) {
        SCOPED_TRACE("application " + std::to_string(aplicacao));
        auto volta = [&, aplicacao] {
            if (j.TelaAtual() != 3 || j.CodigoAplicacaoLista != aplicacao) AbreLista(j, aplicacao);
            auxiliar->requisicoes.clear();
        };
        volta();
        ASSERT_EQ(g.Tag(), "2");
        ASSERT_EQ(l.ComLancamentos(), aplicacao == comLancamento);

        // The figure item column of the list, in the window.
        int x = 0, largura = 0;
        for (int c = 0; c < g.Grade().ColumnCount(); ++c) {
            const GradeDados::Coluna& coluna = g.Grade().Columns(c);
            if (!coluna.Visible) continue;
            if (coluna.DataField == "ItemFigura") {
                largura = coluna.Width;
                break;
            }
            x += coluna.Width;
        }
        ASSERT_GT(largura, 0);
        const int esquerda = g.Grade().mapTo(janela, QPoint(x, 0)).x();
        const int direita = esquerda + largura;
        // Header and box lie over the column, the description box ends before it.
        const QRect cabecalho = testsupport::RetanguloVisivel(*l.lblItemFigLC);
        const QRect caixa = testsupport::RetanguloVisivel(*l.txtItemFigLC);
        EXPECT_GE(cabecalho.left(), esquerda);
        EXPECT_LE(cabecalho.right(), direita);
        EXPECT_GE(caixa.left(), esquerda);
        EXPECT_LE(caixa.right(), direita);
        EXPECT_LT(testsupport::RetanguloVisivel(*l.txtDescricaoProdutoLC).right(), caixa.left());
        // What the header draws lies over the column.
        const QImage com = testsupport::Captura(janela);
        l.lblItemFigLC->SetVisible(false);
        const QImage sem = testsupport::Captura(janela);
        l.lblItemFigLC->SetVisible(true);
        Processa();
        int desenhados = 0;
        for (int px = cabecalho.left() - 60; px <= cabecalho.right() + 60; ++px)
            for (int py = cabecalho.top(); py <= cabecalho.bottom(); ++py)
                if (com.pixel(px, py) != sem.pixel(px, py)) {
                    ++desenhados;
                    EXPECT_TRUE(px >= esquerda && px < direita) << px;
                }
        EXPECT_GT(desenhados, 10) << "the header is drawn";
        EXPECT_EQ(l.lblItemFigLC->Caption(), vb::UCase(Traduz(51)));

        const long total = Linhas(j.dtcTHGrid1);
        ASSERT_GT(total, 1);
        std::string item;
        {
            dao::Recordset rs = j.dtcTHGrid1.GetRecordset().Clone();
            for (; !rs.Eof() && item.empty(); rs.MoveNext())
                if (!rs.Value("ItemFigura").IsNull()) item = rs.Value("ItemFigura").ToString();
            rs.Close();
        }
        ASSERT_FALSE(item.empty());
        std::vector<vb::Label*> cabecalhos = {l.lblNumeroEmpresaLC, l.lblDescricaoProdutoLC, l.lblItemFigLC, l.lblLancamentoLC};
        auto ordena = [&](vb::Label* c, const std::string& ordem) { return Ordenado(c, cabecalhos, &l.OrdemLista, ordem); };
        const int posicaoFigura = l.ComLancamentos() ? 2 : 1;
        int linha = -1;
        std::string itemLinha;
        auto comFigura = [&] {
            volta();
            linha = LinhaComMarcador(g, posicaoFigura);
            if (linha < 0 && g.Marcador(posicaoFigura, 0) && g.Marcador(posicaoFigura, 0)->Visible()) linha = 0;
            ASSERT_GE(linha, 0);
            dao::Recordset rs = j.dtcTHGrid1.GetRecordset().Clone();
            rs.MoveFirst();
            rs.Move(linha);
            itemLinha = rs.Value("ItemFigura").ToString();
            rs.Close();
        };
        auto abreFigura = [&] {
            EXPECT_EQ(j.TelaAtual(), 4);
            EXPECT_EQ(j.m_HistoricoTelas, "24");
            EXPECT_EQ(j.CodigoAplicacaoFigura, aplicacao);
            TelaFigura& f = Telas(j).Figura();
            ASSERT_GE(f.UltimoItemPiscando, 0) << "item " << itemLinha << " is marked";
            EXPECT_EQ(f.lblItem()(static_cast<int>(f.ItensPiscando[0])).Caption(), itemLinha);
        };
        std::vector<Elemento> tabela = {
            {"figure item filter", [&] { return l.txtItemFigLC; },
             Digitado(l.txtItemFigLC, item, [&] {
                 EXPECT_GT(Linhas(j.dtcTHGrid1), 0);
                 EXPECT_LE(Linhas(j.dtcTHGrid1), total);
                 EXPECT_EQ(l.OrdemLista, "3");
             }),
             Qt::LeftButton, false, volta},
            {"number header", [&] { return l.lblNumeroEmpresaLC; }, ordena(l.lblNumeroEmpresaLC, "1")},
            {"description header", [&] { return l.lblDescricaoProdutoLC; }, ordena(l.lblDescricaoProdutoLC, "2")},
            {"figure item header", [&] { return l.lblItemFigLC; }, ordena(l.lblItemFigLC, "3")},
            {"figure icon", [&] { return &g; }, abreFigura, Qt::LeftButton, false, comFigura,
             [&] { return PontoMarcador(g, posicaoFigura, linha); }},
            {"double click on a row", [&] { return &g; }, abreFigura, Qt::LeftButton, true, comFigura,
             [&] { return PontoLinha(g, linha); }},
        };
        if (l.ComLancamentos())
            tabela.insert(tabela.begin() + 4,
                          Elemento{"release header", [&] { return l.lblLancamentoLC; }, ordena(l.lblLancamentoLC, "4")});
        ClicaTabela(tabela);
    }
}

// ---------------------------------------------------------------------------- figures

// The page buttons of a figure of four pages: the page shown has its selected plate and the
// default pointer, the others their plain plate and the hand; the pointer over another
// page's button shows its selected plate.
TEST_F(TelasPonteiro, FigurePageButtons) {
    frmZornakForm& j = Mostra();
    AbreFigura(j, 52);
    ASSERT_EQ(j.PaginasFigura.size(), 4u);
    auto* botoes = j.ArranjoControles<vb::Label>("lblPagF");
    auto* placas = j.ArranjoControles<vb::Image>("imgBtnPagF");
    auto* selecionadas = j.ArranjoControles<vb::Image>("imgBtnPagFSel");
    // Points of a plate, off the number, where the plain and the selected pictures differ.
    const QImage normal = (*placas)(0).GetPicture().Pixmap().toImage();
    const QImage selecionada = (*selecionadas)(0).GetPicture().Pixmap().toImage();
    ASSERT_FALSE(normal.isNull());
    ASSERT_FALSE(selecionada.isNull());
    std::vector<QPoint> pontos;
    const QRect numero((*botoes)(0).Left() - (*placas)(0).Left(), (*botoes)(0).Top() - (*placas)(0).Top(),
                       (*botoes)(0).Width(), (*botoes)(0).Height());
    for (int y = 0; y < normal.height(); ++y)
        for (int x = 0; x < normal.width(); ++x)
            if (!numero.contains(x, y) && qAlpha(normal.pixel(x, y)) == 255 && qAlpha(selecionada.pixel(x, y)) == 255 &&
                normal.pixel(x, y) != selecionada.pixel(x, y))
                pontos.emplace_back(x, y);
    ASSERT_GE(pontos.size(), 3u);
    // The plate that a page's button shows, as drawn on the window.
    auto placa = [&](int p) {
        const QImage tela = testsupport::Captura(janela);
        int comoNormal = 0, comoSelecionada = 0;
        for (const QPoint& q : pontos) {
            const QRgb px = tela.pixel(testsupport::PontoDe((*placas)(p), q));
            comoNormal += px == normal.pixel(q);
            comoSelecionada += px == selecionada.pixel(q);
        }
        if (comoSelecionada == static_cast<int>(pontos.size())) return std::string("selected");
        if (comoNormal == static_cast<int>(pontos.size())) return std::string("plain");
        return std::string("other");
    };
    auto ponteiro = [&](int p) {
        QWidget* w = testsupport::WidgetNoPonto(janela, CentroVisivel((*botoes)(p)));
        return w ? w->cursor().shape() : Qt::BlankCursor;
    };
    auto confere = [&](int atual) {
        EXPECT_EQ(j.PaginaFiguraAtual, atual);
        for (int p = 0; p < 4; ++p) {
            SCOPED_TRACE("button " + std::to_string(p + 1));
            EXPECT_TRUE(AoAlcance((*botoes)(p), CentroVisivel((*botoes)(p))));
            if (p != atual) {
                EXPECT_EQ(ponteiro(p), Qt::BitmapCursor) << "the hand";
                EXPECT_EQ(placa(p), "plain");
            } else {
                EXPECT_EQ(ponteiro(p), Qt::ArrowCursor);
                EXPECT_EQ(placa(p), "selected");
            }
        }
    };
    TelaFigura& f = Telas(j).Figura();
    testsupport::MovePara(janela, QPoint(5, 300));
    confere(0);
    std::vector<Elemento> tabela;
    for (int p : {1, 2, 3, 0}) {
        tabela.push_back({"page " + std::to_string(p + 1), [&, p] { return &(*botoes)(p); },
                          [&, p] {
                              confere(p);
                              const std::string& e = j.PaginasFigura[p];
                              EXPECT_TRUE(f.lblItem()(std::stoi(e.substr(2, 3))).Widget()->isVisible());
                          },
                          Qt::LeftButton, false,
                          [&, p] {
                              // The pointer over another page's button shows its selected plate.
                              testsupport::MovePara(janela, CentroVisivel((*botoes)(p)));
                              EXPECT_EQ(placa(p), "selected") << "hover";
                              EXPECT_EQ(j.m_ChaveSelecao, "PAGINAF" + std::to_string(p));
                          }});
    }
    // The page shown: its button is no link, so the marked items go on blinking.
    tabela.push_back({"the page shown", [&] { return &(*botoes)(0); },
                      [&] {
                          EXPECT_TRUE(f.tmrFigura().Enabled());
                          confere(0);
                          const std::string& e = j.PaginasFigura[0];
                          const int primeiro = std::stoi(e.substr(2, 3)), ultimo = std::stoi(e.substr(5, 3));
                          std::set<long> piscando;
                          for (int k = 0; k <= f.UltimoItemPiscando; ++k)
                              if (f.ItensPiscando[k] >= primeiro && f.ItensPiscando[k] <= ultimo)
                                  piscando.insert(f.ItensPiscando[k]);
                          EXPECT_FALSE(piscando.empty()) << "the asked item of this page blinks";
                          // A blinking marker is shown or hidden by the timer's phase, so it must be
                          // seen both ways within a few of its periods; every other one stays shown.
                          std::set<long> mostrados, escondidos;
                          for (int n = 0; n < 250; ++n) {
                              for (const long i : piscando)
                                  (f.imgItem()(static_cast<int>(i)).Widget()->isVisible() ? mostrados : escondidos)
                                      .insert(i);
                              if (mostrados.size() == piscando.size() && escondidos.size() == piscando.size()) break;
                              QTest::qWait(20);
                          }
                          for (int i = primeiro; i <= ultimo; ++i) {
                              if (!piscando.count(i))
                                  EXPECT_TRUE(f.imgItem()(i).Widget()->isVisible()) << "marker " << i;
                              else
                                  EXPECT_TRUE(mostrados.count(i) && escondidos.count(i)) << "marker " << i << " blinks";
                          }
                      },
                      Qt::LeftButton, false,
                      [&] {
                          VaiPara(j, 0, "0");
                          AbreFigura(j, 52, "I:" + ObtemValorSQL("SELECT Min(ItemFigura) FROM FIGURADETALHADA1 WHERE "
                                                                 "CodigoConjunto = 4 AND NumeroParteFigura = 1",
                                                                 vb::Variant(""))
                                                       .ToString() + ":I");
                          ASSERT_TRUE(f.tmrFigura().Enabled());
                          ASSERT_EQ(j.PaginaFiguraAtual, 0);
                      }});
    ClicaTabela(tabela);
}

// The items of a figure under the pointer: the left button offers the item's products (or
// says that it does not apply), the right one pages the panel, the middle one does nothing.
TEST_F(TelasPonteiro, FigureItems) {
    frmZornakForm& j = Mostra();
    AbreFigura(j, 36);
    TelaFigura& f = Telas(j).Figura();
    auto item = [&f](const std::string& legenda) -> vb::Control* {
        for (int i = 1; i <= f.QuantidadeItensFigura; ++i)
            if (f.lblItem()(i).Caption() == legenda) return &f.lblItem()(i);
        return nullptr;
    };
    auto limpa = [&] {
        popups.clear();
        legendasPopup.clear();
        caixas.Clear();
    };
    const std::vector<Elemento> tabela = {
        {"item with one product, left", [&] { return item("1"); },
         [&] {
             EXPECT_EQ(popups, std::vector<std::string>{"mnuProduto1"});
             ASSERT_EQ(legendasPopup.size(), 1u);
             EXPECT_EQ(legendasPopup[0].find(" - "), std::string::npos) << legendasPopup[0];
             EXPECT_EQ(caixas.Count(), 0u);
         },
         Qt::LeftButton, false, limpa},
        {"item with four products, left", [&] { return item("3"); },
         [&] {
             EXPECT_EQ(popups, std::vector<std::string>{"mnuItensFigura"});
             ASSERT_EQ(legendasPopup.size(), 4u);
             for (std::size_t n = 0; n < 4; ++n) {
                 const std::string prefixo = std::to_string(n + 1) + " - ";
                 const std::string& legenda = legendasPopup[n];
                 EXPECT_EQ(legenda.rfind(prefixo, 0), 0u) << legenda;
                 EXPECT_EQ(legenda.find(prefixo, 1), std::string::npos) << "the position once: " << legenda;
                 EXPECT_EQ(legenda, prefixo + vb::Mid(f.lblNumeroEmpresaF()(static_cast<int>(n)).Caption(), 5) + "   " +
                                        vb::Mid(f.lblDescricaoProdutoF()(static_cast<int>(n)).Caption(), 5));
             }
         },
         Qt::LeftButton, false, limpa},
        {"item that does not apply, left", [&] { return item("6"); },
         [&] {
             ASSERT_EQ(caixas.Count(), 1u);
             EXPECT_EQ(caixas.Last().prompt, vb::UCase(Traduz(12)) + ".");
             EXPECT_EQ(caixas.Last().buttons, vb::vbInformation);
             EXPECT_EQ(caixas.Last().title, Traduz(0));
             EXPECT_TRUE(popups.empty());
         },
         Qt::LeftButton, false, limpa},
        {"item that does not apply, middle", [&] { return item("6"); },
         [&] {
             EXPECT_EQ(caixas.Count(), 0u);
             EXPECT_TRUE(popups.empty());
         },
         Qt::MiddleButton, false, limpa},
        {"item with four products, middle", [&] { return item("3"); },
         [&] {
             EXPECT_EQ(caixas.Count(), 0u);
             EXPECT_TRUE(popups.empty());
         },
         Qt::MiddleButton, false, limpa},
        {"item with five products, right", [&] { return item("4"); },
         [&] {
             EXPECT_EQ(f.PaginaPainelItem(), 2);
             EXPECT_TRUE(f.lblDescricaoProdutoF()(0).Widget()->isVisible());
             EXPECT_EQ(f.lblDescricaoProdutoF()(0).Caption().rfind("5 - ", 0), 0u);
             EXPECT_TRUE(popups.empty());
         },
         Qt::RightButton, false, limpa},
        {"the same item, right again", [&] { return item("4"); },
         [&] { EXPECT_EQ(f.PaginaPainelItem(), 1); }, Qt::RightButton, false, limpa},
    };
    ClicaTabela(tabela);
    // The pointer over an item fills the panel with its products.
    vb::Control* cinco = item("5");
    ASSERT_NE(cinco, nullptr);
    testsupport::MovePara(janela, CentroVisivel(*cinco));
    EXPECT_EQ(j.ItemFiguraSelecionado, cinco->Index());
    EXPECT_EQ(f.PaginasPainelItem(), 3);
    EXPECT_TRUE(f.lblPaginaXdeXF().Widget()->isVisible());
}

// ------------------------------------------------------------ picture files that are FIFOs

// Once its time is up, opens the FIFOs for writing again and again: a reader waiting in its
// open() goes on, reads an end of file, and the test fails instead of hanging.
class VigiaFifos {
public:
    VigiaFifos(std::vector<std::string> fifos, std::chrono::milliseconds prazo)
        : fifos_(std::move(fifos)), fio_([this, prazo] { Vigia(prazo); }) {}
    ~VigiaFifos() { Para(); }
    // Stops the watch; true when a reader had to be let go.
    bool Para() {
        {
            std::lock_guard<std::mutex> l(m_);
            parar_ = true;
        }
        cv_.notify_all();
        if (fio_.joinable()) fio_.join();
        return disparou_;
    }

private:
    void Vigia(std::chrono::milliseconds prazo) {
        std::unique_lock<std::mutex> l(m_);
        if (cv_.wait_for(l, prazo, [this] { return parar_; })) return;
        disparou_ = true;
        while (!parar_) {
            for (const std::string& f : fifos_) {
                const int fd = ::open(f.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                if (fd >= 0) ::close(fd);
            }
            cv_.wait_for(l, std::chrono::milliseconds(50), [this] { return parar_; });
        }
    }

    std::vector<std::string> fifos_;
    std::mutex m_;
    std::condition_variable cv_;
    bool parar_ = false;
    bool disparou_ = false;
    std::thread fio_;
};

constexpr std::chrono::seconds PrazoFifo{4};

// A product photo that is a link to a FIFO is a missing photo: coming back to the product
// search on that product shows the background at once, and the window goes on.
TEST_F(TelasPonteiro, APhotoThatIsAFifoShowsTheBackground) {
    frmZornakForm& j = Mostra();
    PainelProduto& painel = Telas(j).Painel();
    TelaProduto& pr = Telas(j).Produto();
    VaiPara(j, 1, "1");
    const std::string numero =
        ObtemValorSQL("SELECT NumeroEmpresaProduto FROM PRODUTO WHERE CodigoProduto = 1", vb::Variant("")).ToString();
    ASSERT_FALSE(numero.empty());
    testsupport::Clica(janela, CentroVisivel(*pr.txtNumeroEmpresa));
    testsupport::Digita(janela, numero);
    Processa();
    ASSERT_EQ(CodigoAtual(j.dtcTHGrid1), 1);
    const std::string arquivo = j.dtcTHGrid1.GetRecordset().Value("ArquivoFotoProduto").ToString();
    const QString caminho = Dados() + "/FotoPeca/" + QString::fromStdString(arquivo);
    const QImage foto(caminho);
    ASSERT_EQ(foto.size(), QSize(190, 165)) << "product 1's photo fills the photo slot";
    const QImage fundo = CarregaImagemRecurso("FOTOPRODUTOFUNDO", "G").Pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    auto vaga = [&] {
        return testsupport::Captura(janela)
            .copy(testsupport::RetanguloVisivel(*painel.imgFotoProduto[0]))
            .convertToFormat(QImage::Format_RGB32);
    };
    ASSERT_EQ(vaga(), foto.convertToFormat(QImage::Format_RGB32)) << "the photo is drawn in its slot";

    VaiPara(j, 0, "0");
    const std::string fifo = (Dados() + "/fifo_foto").toStdString();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0) << std::strerror(errno);
    ASSERT_TRUE(QFile::remove(caminho));
    ASSERT_TRUE(QFile::link(QString::fromStdString(fifo), caminho));
    VigiaFifos vigia({fifo}, PrazoFifo);
    VaiPara(j, 1, "1");
    EXPECT_FALSE(vigia.Para()) << "the window waited on the FIFO";
    EXPECT_EQ(CodigoAtual(j.dtcTHGrid1), 1);
    EXPECT_EQ(vaga(), fundo) << "the background stands for the missing photo";
    EXPECT_TRUE(painel.imgFotoProduto[1]->GetPicture().IsNothing());
    EXPECT_TRUE(erros.empty()) << erros.front();
    EXPECT_EQ(caixas.Count(), 0u);
}

// A figure page that is a FIFO is a missing page: its button shows the page's items over an
// empty drawing at once, and the other page's button still brings that page back.
TEST_F(TelasPonteiro, AFigurePageThatIsAFifoIsLeftEmpty) {
    frmZornakForm& j = Mostra();
    AbreFigura(j, 37);
    ASSERT_EQ(j.PaginasFigura.size(), 2u);
    TelaFigura& f = Telas(j).Figura();
    vb::Image& figura = j.Img("imgFiguraDetalhada");
    const std::vector<std::string> arquivos = vb::Split(figura.Tag(), "|");
    ASSERT_EQ(arquivos.size(), 2u);
    const std::string fifo = LocalizaArquivo(EstadoPrograma.CaminhoDados + "Figuras/", arquivos[1]);
    ASSERT_TRUE(QFile::remove(QString::fromStdString(fifo)));
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0) << std::strerror(errno);
    auto* botoes = j.ArranjoControles<vb::Label>("lblPagF");
    auto itensVisiveis = [&](int p) {
        const std::string& e = j.PaginasFigura[static_cast<std::size_t>(p)];
        for (int i = std::stoi(e.substr(2, 3)); i <= std::stoi(e.substr(5, 3)); ++i)
            if (!f.lblItem()(i).Widget()->isVisible()) return false;
        return true;
    };
    const QRect area = testsupport::RetanguloVisivel(figura);
    const QImage pagina1 = testsupport::Captura(janela).copy(area);

    VigiaFifos vigia({fifo}, PrazoFifo);
    testsupport::Clica(janela, CentroVisivel((*botoes)(1)));
    Processa();
    EXPECT_FALSE(vigia.Para()) << "the window waited on the FIFO";
    EXPECT_EQ(j.PaginaFiguraAtual, 1);
    EXPECT_TRUE(figura.GetPicture().IsNothing());
    EXPECT_NE(testsupport::Captura(janela).copy(area), pagina1) << "page 1's drawing does not stay for page 2";
    EXPECT_TRUE(itensVisiveis(1));

    testsupport::Clica(janela, CentroVisivel((*botoes)(0)));
    Processa();
    EXPECT_EQ(j.PaginaFiguraAtual, 0);
    EXPECT_EQ(testsupport::Captura(janela).copy(area), pagina1);
    EXPECT_TRUE(itensVisiveis(0));
    EXPECT_TRUE(erros.empty()) << erros.front();
    EXPECT_EQ(caixas.Count(), 0u);
}

// ------------------------------------------------------------------- the frame around them

// Back, print and the logos belong to the list and figure screens: the home screen shows
// none of them, from the start and after a visit to a list; Back leaves no highlight behind.
TEST_F(TelasPonteiro, BackPrintAndLogosShowOnlyWithListsAndFigures) {
    frmZornakForm& j = Mostra();
    vb::Label& inicio = *j.lblInicio;
    std::vector<vb::Control*> botoes = {&inicio, &j.Img("imgBtnInicio"), j.lblImprimir, &j.Img("imgBtnImprimir"),
                                        &j.Img("imgLogo", 0), &j.Img("imgLogo", 1)};
    auto nenhum = [&] {
        for (vb::Control* c : botoes) {
            EXPECT_FALSE(c->Widget()->isVisible()) << c->Name();
            EXPECT_NE(testsupport::ControleNoPonto(janela, CentroVisivel(*c)), c) << c->Name();
        }
    };
    nenhum();
    const QPoint ponto = CentroVisivel(j.Img("imgBtnInicio"));
    const QRgb vazio = testsupport::Captura(janela).pixel(ponto);

    AbreLista(j, 1);
    for (vb::Control* c : botoes) EXPECT_TRUE(c->Widget()->isVisible()) << c->Name();
    // The labels lie over their button pictures and take the pointer.
    for (vb::Control* c : {static_cast<vb::Control*>(&inicio), static_cast<vb::Control*>(j.lblImprimir),
                           static_cast<vb::Control*>(&j.Img("imgLogo", 0)), static_cast<vb::Control*>(&j.Img("imgLogo", 1))})
        EXPECT_TRUE(AoAlcance(*c, CentroVisivel(*c)));
    EXPECT_NE(testsupport::Captura(janela).pixel(ponto), vazio) << "the back button is drawn";
    // The pointer over Back highlights it; the click goes home and takes the highlight along.
    j.m_HistoricoTelas = "03";
    testsupport::MovePara(janela, CentroVisivel(inicio));
    EXPECT_EQ(j.m_ChaveSelecao, "BTNINICIO");
    EXPECT_TRUE(j.Img("imgBtnInicioSel").Widget()->isVisible());
    testsupport::Clica(janela, CentroVisivel(inicio));
    EXPECT_EQ(j.m_HistoricoTelas, "0");
    EXPECT_EQ(j.TelaAtual(), 0);
    EXPECT_EQ(j.m_ChaveSelecao, "FORM");
    EXPECT_FALSE(j.Img("imgBtnInicioSel").Widget()->isVisible());
    EXPECT_EQ(testsupport::Captura(janela).pixel(ponto), vazio);
    nenhum();
    ASSERT_TRUE(erros.empty()) << erros.front();
}

// A screen build lets waiting events run; a click that was already waiting for the tabs,
// Back, a logo or a flag is ignored, so no control of one screen stays on another.
TEST_F(TelasPonteiro, ClicksQueuedDuringABuildAreIgnored) {
    struct Caso {
        const char* nome;
        std::function<vb::Control*(frmZornakForm&)> alvo;
    };
    const std::vector<Caso> casos = {
        {"figure tab", [](frmZornakForm& j) { return &(*j.imgOrelha1)(1); }},
        {"back", [](frmZornakForm& j) { return static_cast<vb::Control*>(j.lblInicio); }},
        {"logo", [](frmZornakForm& j) { return &j.Img("imgLogo", 1); }},
        {"Spanish flag", [](frmZornakForm& j) { return &j.Img("imgBtnIdiomaE"); }},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        frmZornakForm& j = Mostra();
        VaiPara(j, 2, "2");
        const QPoint p = CentroVisivel(*c.alvo(j));
        QWindow* w = testsupport::JanelaDe(janela);
        const QPointF global = janela->mapToGlobal(QPointF(p));
        QCoreApplication::postEvent(w, new QMouseEvent(QEvent::MouseButtonPress, QPointF(p), global, Qt::LeftButton,
                                                       Qt::LeftButton, Qt::NoModifier));
        QCoreApplication::postEvent(w, new QMouseEvent(QEvent::MouseButtonRelease, QPointF(p), global, Qt::LeftButton,
                                                       Qt::NoButton, Qt::NoModifier));
        // The list of an assembly of a vehicle, under the vehicle's application combo: its
        // build lets the waiting click through, and the assembly has a figure to go to.
        j.CodigoAplicacaoLista = 1;
        j.CodigoAplicacaoCombo = 36;
        j.m_HistoricoTelas = "23";
        j.TrocaTela(3, 2, "LimpaTelaLista");
        Processa();
        EXPECT_EQ(j.m_HistoricoTelas, "23");
        EXPECT_EQ(EstadoPrograma.Idioma, "P");
        for (int i : j.pctTela->Indices()) EXPECT_EQ((*j.pctTela)(i).Widget()->isVisible(), i == 3) << "panel " << i;
        EXPECT_TRUE(j.cboTHCombo1->Widget()->isVisible());
        EXPECT_TRUE(j.grdTHGrid1->Widget()->isVisible());
        EXPECT_FALSE(j.grdTHGrid2->Widget()->isVisible());
        EXPECT_FALSE(j.ArranjoControles<vb::Label>("lblPagF")->operator()(0).Widget()->isVisible());
        EXPECT_FALSE(j.m_TrocandoTela);
        EXPECT_TRUE(erros.empty()) << erros.front();
        LiberaJanelas();
        Processa();
    }
}

// A screen whose build fails leaves the window working: the error is shown, the hourglass
// goes and the search boxes answer typing again.
class TelaQueFalha : public TelasCatalogo {
public:
    using TelasCatalogo::TelasCatalogo;
    void MontaTelaAplicacao() override {
        TelasCatalogo::MontaTelaAplicacao();
        if (falhar) vb::Raise(3021, "No current record.");
    }
    static inline bool falhar = false;
};

TEST_F(TelasPonteiro, AFailedBuildLeavesTheWindowWorking) {
    frmZornakForm::DefineFabricaTelas([](frmZornakForm& j) { return std::make_unique<TelaQueFalha>(j); });
    vb::SetErrorHandler([](long numero, const std::string& descricao) { MostraErro(numero, descricao); });
    frmZornakForm& j = Mostra();
    VaiPara(j, 1, "1");
    TelaQueFalha::falhar = true;
    testsupport::Clica(janela, CentroVisivel((*j.imgOrelha0)(2)));
    TelaQueFalha::falhar = false;
    ASSERT_EQ(caixas.Count(), 1u);
    EXPECT_EQ(caixas.Last().prompt, Traduz(1) + ": 3021\r\nNo current record.");
    EXPECT_FALSE(j.m_TrocandoTela);
    EXPECT_EQ(vb::Screen().MousePointer(), vb::vbDefault);

    testsupport::Clica(janela, CentroVisivel((*j.imgOrelha0)(1)));
    ASSERT_EQ(j.TelaAtual(), 1);
    TelaProduto& pr = Telas(j).Produto();
    const long total = Linhas(j.dtcTHGrid1);
    testsupport::Clica(janela, CentroVisivel(*pr.txtNumeroEmpresa));
    testsupport::Digita(janela, "1");
    EXPECT_LT(Linhas(j.dtcTHGrid1), total) << "the box answers typing";
    EXPECT_EQ(caixas.Count(), 1u);
}

// Each control array has one owner of its events: a second wiring is refused.
TEST_F(TelasPonteiro, ArraysRefuseASecondWiring) {
    frmZornakForm& j = Mostra();
    EXPECT_THROW(j.lblItem->SetHandlers([](vb::Label&) {}), vb::Error);
    EXPECT_THROW(j.ArranjoControles<vb::Label>("lblPagF")->SetHandlers([](vb::Label&) {}), vb::Error);
}

}  // namespace
