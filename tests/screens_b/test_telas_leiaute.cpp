// The screens of the main window as they stand on the demo catalogue: no shown control
// covers another, except the pairs that are placed so on purpose (each with its reason).
// The rectangles are those the shown widgets take in the window, not the layout's numbers.
#include "JanelaDemo.h"

#include "catalog/main_window/JanelaAuxiliar.h"
#include "tests/support/Ponteiro.h"
#include "tests/support/Sobreposicoes.h"
#include "platform/vb/Strings.h"

#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace {

using testsupport::Com;
using testsupport::SobreposicaoPermitida;

class TelasLeiaute : public JanelaDemo {
protected:
    void SetUp() override {
        JanelaDemo::SetUp();
        auxiliar = std::make_shared<testsupport::JanelaAuxiliarGravada>();
        DefineJanelaAuxiliar(auxiliar);
    }
    void TearDown() override {
        DefineJanelaAuxiliar(nullptr);
        EstadoPrograma.RequisicaoTela.clear();
        JanelaDemo::TearDown();
    }
    std::shared_ptr<testsupport::JanelaAuxiliarGravada> auxiliar;
};

// One screen as the program's navigation builds it, and the pairs of controls that it
// places over one another on purpose.
struct Tela {
    const char* nome;
    std::function<void(frmZornakForm&)> abre;
    std::vector<SobreposicaoPermitida> permitidas;
};

void Troca(frmZornakForm& j, int tela, const std::string& historico) {
    const auto saindo = static_cast<std::uint8_t>(j.TelaAtual());
    j.m_HistoricoTelas = historico;
    j.TrocaTela(static_cast<std::uint8_t>(tela), saindo, "LimpaTelaLista");
}

// The smallest application of the demo catalogue that is a vehicle (or not), with a released
// product (or without).
long Aplicacao(bool veiculo, bool comLancamentos) {
    const std::string lancadas =
        "SELECT APLICACAO_PRODUTO.CodigoAplicacao FROM APLICACAO_PRODUTO INNER JOIN PRODUTO ON "
        "APLICACAO_PRODUTO.CodigoProduto = PRODUTO.CodigoProduto WHERE PRODUTO.FlagLancamento = 1";
    const long codigo = ObtemValorSQL("SELECT Min(CodigoAplicacao) FROM APLICACAO WHERE CodigoTipoAplicacao " +
                                          std::string(veiculo ? "=" : "<>") + " 1 AND CodigoAplicacao " +
                                          (comLancamentos ? "IN" : "NOT IN") + " (" + lancadas + ")",
                                      vb::Variant(-1L))
                            .ToLong();
    EXPECT_GT(codigo, 0) << "the demo catalogue has such an application";
    return codigo;
}

void AbreLista(frmZornakForm& j, long aplicacao) {
    j.CodigoAplicacaoLista = aplicacao;
    j.CodigoAplicacaoCombo = 0;
    Troca(j, 3, "23");
}

// What every screen shows around it: the header, the tabs and the footer.
const std::vector<SobreposicaoPermitida> Moldura = {
    {"imgFundoTela", {"*"}, "the large screen's background picture lies under the whole window"},
    {"imgCabecalho",
     {"imgIdiomaP", "imgIdiomaE", "imgIdiomaI", "imgBtnIdiomaP", "imgBtnIdiomaE", "imgBtnIdiomaI", "imgSiteZornak",
      "imgHaste", "imgCarrinho", "imgAjuda", "imgMinimizar", "imgLogo", "lblUltimaAtualizacao",
      "lblVerificarAtualizacoes", "lblConfiguracoes", "imgOrelha0", "imgOrelha1"},
     "the header picture is the ground of the header row; its lower edge reaches 3 pixels into the tabs"},
    {"imgRodapeEsq", {"imgBtnImprimir", "lblImprimir", "imgLegendaLancamento", "imgBtnPagF", "lblPagF"},
     "the left footer bar is the ground of the print button, the release legend and the page buttons"},
    {"imgRodapeDir", {"imgBtnInicio", "lblInicio", "imgBtnSair", "lblSair"},
     "the right footer bar is the ground of the back and exit buttons"},
    {"imgBtnImprimir", {"lblImprimir"}, "a button's caption stands on its button picture"},
    {"imgBtnInicio", {"lblInicio"}, "a button's caption stands on its button picture"},
    {"imgBtnSair", {"lblSair"}, "a button's caption stands on its button picture"},
    {"imgBtnPagF", {"lblPagF"}, "a page button's number stands on its button picture"},
    {"lblVerificarAtualizacoes", {"lblConfiguracoes"},
     "the fixed places of the two header links share 6 pixels; both captions are centred well inside them"},
    {"imgLogo", {"imgLogo"}, "the fixed places of the two logo pictures share 2 pixels"},
};

// The product search screen, for all products and for the releases.
const std::vector<SobreposicaoPermitida> Produtos = {
    {"shpGrid", {"grdTHGrid1", "grdTHGrid2", "imgAplicacaoLigaGrids"}, "the frame around a grid"},
    {"imgAplicacaoLigaGrids", {"grdTHGrid1", "imgFotoProduto"},
     "the picture that links the grids starts under the product grid; its blank lower edge reaches 2 pixels over "
     "the photo"},
    {"shpLigaRef", {"lblNumeroFabricanteRef", "lblFabricanteRef"}, "the frame around the reference panel"},
    {"lblNumeroFabricanteRef", {"lblFabricanteRef"},
     "a reference's maker stands at the right end of its row, shown only when the number leaves it room"},
};

// The list screen, by vehicle and by assembly.
const std::vector<SobreposicaoPermitida> Lista = {
    {"imgTituloL", {"cboTHCombo1"}, "the vehicle's combo of assemblies stands on the title strip"},
    {"shpGrid", {"grdTHGrid1"}, "the frame around the grid"},
    {"shpLigaRef", {"lblNumeroFabricanteRefL", "lblFabricanteRefL"}, "the frame around the reference panel"},
    {"lblNumeroFabricanteRefL", {"lblFabricanteRefL"},
     "a reference's maker stands at the right end of its row, shown only when the number leaves it room"},
};

std::vector<Tela> TelasDoCatalogo() {
    return {
        {"home", [](frmZornakForm& j) { Troca(j, 0, "0"); },
         Com(Moldura,
             {
                 {"shpBaseM",
                  {"lblFabricanteM", "lblGrupoM", "imgLancM", "linHM", "linVM", "imgPopUp", "lblLinkPopUp",
                   "lblFecharPopUp"},
                  "the frame of the makers' grid encloses its cells and the notice"},
                 {"linHM", {"linVM"}, "the lines of the makers' grid cross"},
                 {"lblGrupoM", {"lblGrupoM", "imgLancM", "linHM"},
                  "group links 17 high stand at a pitch of 15 or 17, each with its release mark beside the caption; "
                  "the fifth of a cell reaches the cell's lower line below its caption"},
                 {"imgLancM", {"imgLancM", "linHM"}, "release marks 16 high follow their links' pitch"},
                 {"imgPopUp", {"lblLinkPopUp", "lblFecharPopUp"}, "the notice's link and close areas lie on its picture"},
                 {"lblLinkPopUp", {"lblLinkPopUp"}, "the notice's two link areas overlap; both open the same page"},
                 {"imgPopUp", {"lblFabricanteM", "lblGrupoM", "imgLancM", "linHM", "linVM"},
                  "the notice covers the grid's last row until it is closed"},
                 {"lblLinkPopUp", {"lblFabricanteM", "lblGrupoM", "imgLancM", "linVM"},
                  "the notice covers the grid's last row until it is closed"},
                 {"lblFecharPopUp", {"lblFabricanteM", "lblGrupoM", "imgLancM"},
                  "the notice covers the grid's last row until it is closed"},
             })},
        {"product search", [](frmZornakForm& j) { Troca(j, 1, "1"); }, Com(Moldura, Produtos)},
        {"application search", [](frmZornakForm& j) { Troca(j, 2, "2"); },
         Com(Moldura, {{"shpGrid", {"grdTHGrid1"}, "the frame around the grid"}})},
        {"list by vehicle", [](frmZornakForm& j) { AbreLista(j, Aplicacao(true, true)); }, Com(Moldura, Lista)},
        {"list by vehicle without releases", [](frmZornakForm& j) { AbreLista(j, Aplicacao(true, false)); },
         Com(Moldura, Lista)},
        {"list by assembly", [](frmZornakForm& j) { AbreLista(j, Aplicacao(false, true)); }, Com(Moldura, Lista)},
        {"list by assembly without releases", [](frmZornakForm& j) { AbreLista(j, Aplicacao(false, false)); },
         Com(Moldura, Lista)},
        {"list of a vehicle's assembly",
         [](frmZornakForm& j) {
             j.CodigoAplicacaoLista = Aplicacao(true, true);
             j.CodigoAplicacaoCombo = ObtemValorSQL("SELECT Min(CodigoAplicacao) FROM APLICACAO_VEICULO WHERE "
                                                    "CodigoVeiculo = " + std::to_string(j.CodigoAplicacaoLista),
                                                    vb::Variant(-1L))
                                          .ToLong();
             EXPECT_GT(j.CodigoAplicacaoCombo, 0);
             // The combo's row chosen: the list is built again, of the assembly.
             j.TrocaTela(3, 3, "");
         },
         Com(Moldura, Lista)},
        {"figure",
         [](frmZornakForm& j) {
             j.CodigoAplicacaoFigura = 36;
             Troca(j, 4, "24");
         },
         Com(Moldura,
             {
                 {"imgFiguraDetalhada", {"imgItem", "lblItem"}, "the item markers stand on the figure"},
                 {"imgItem", {"lblItem"}, "an item's number stands on its marker"},
                 {"lblPainelF",
                  {"lblTitDescricaoProdutoF", "lblTitNumeroEmpresaF", "lblTitNumeroReferenciaF",
                   "lblDescricaoProdutoF", "lblNumeroEmpresaF", "lblNroF", "lblObsF", "imgLancF", "lblDataLancF"},
                  "the item panel's texts stand on its ground"},
             })},
        {"releases", [](frmZornakForm& j) { Troca(j, 5, "5"); }, Com(Moldura, Produtos)},
    };
}

TEST_F(TelasLeiaute, NoShownControlCoversAnotherButThosePlacedSo) {
    const std::vector<Tela> telas = TelasDoCatalogo();
    frmZornakForm& j = Inicia();
    j.Show();
    testsupport::Processa();
    QWidget* janela = j.Window();
    // The texts, and so the labels that size themselves, differ by language.
    for (const char* idioma : {"P", "E", "I"}) {
        SCOPED_TRACE(idioma);
        j.AlteraIdioma(idioma, false);
        for (const Tela& t : telas) {
            SCOPED_TRACE(t.nome);
            t.abre(j);
            // The pointer rests on the bare frame: no hover picture is up.
            testsupport::MovePara(janela, testsupport::PontoDe(*j.pctBase, QPoint(500, 3)));
            ASSERT_EQ(j.m_ChaveSelecao, "FORM");
            EXPECT_TRUE(testsupport::NadaSeSobrepoe(janela, t.permitidas));
            ASSERT_TRUE(erros.empty()) << erros.front();
        }
    }
}

// A label breaks a caption wider than itself and shows only the lines its height holds: on
// every screen, in every language, each shown label shows its whole caption.
TEST_F(TelasLeiaute, EveryShownCaptionStandsWhole) {
    frmZornakForm& j = Inicia();
    j.Show();
    testsupport::Processa();
    for (const char* idioma : {"P", "E", "I"}) {
        SCOPED_TRACE(idioma);
        j.AlteraIdioma(idioma, false);
        for (const Tela& t : TelasDoCatalogo()) {
            SCOPED_TRACE(t.nome);
            t.abre(j);
            testsupport::Processa();
            EXPECT_EQ(testsupport::LegendasCortadas(j.Window()), std::vector<std::string>{});
        }
    }
}

}  // namespace

namespace {

// A text with each run of blanks made one (a line may break inside a run).
std::string UmBranco(const std::string& texto) {
    std::string r;
    for (char ch : texto)
        if (ch != ' ' || r.empty() || r.back() != ' ') r += ch;
    return r;
}

// A title's red letters (anti-aliased edges included) in a window's picture.
bool Vermelho(const QColor& c) { return c.red() >= 150 && c.green() <= 130 && c.blue() <= 140 && c.red() - c.green() >= 60; }

// An application name as long as its field allows (100 characters), in each language: the
// list's and the figure's titles break at a word and end inside their title strip, the maker
// shown, and stand clear of the vehicle's combo of assemblies on the list's strip.
TEST_F(TelasLeiaute, ATitleAsLongAsItsFieldAllowsBreaksAtAWordInsideItsStrip) {
    const std::map<std::string, std::string> nomes = {
        {"P", "Motor AK-10 2.0 Turbo Diesel 16V Common Rail com Intercooler e Turbina de Geometria Variavel Exports"},
        {"E", "Motor AK-10 2.0 Turbo Diesel 16V Common Rail con Intercooler y Turbina de Geometria Variable Exports"},
        {"I", "AK-10 2.0 Turbo Diesel 16V Common Rail Engine with Intercooler and Variable Geometry Turbo Export Mo"},
    };
    for (const auto& [idioma, nome] : nomes) ASSERT_EQ(nome.size(), 100u) << idioma;
    frmZornakForm& j = Inicia();
    j.Show();
    testsupport::Processa();
    const long veiculo = Aplicacao(true, true);
    const long figura = 36;
    {
        dao::Workspace ws;
        dao::Database db;
        AbreBancoCatalogo(ws, "NomesLongos", db, false);
        for (long a : {veiculo, figura})
            db.Execute("UPDATE APLICACAO SET DescricaoAplicacaoP = '" + nomes.at("P") + "', DescricaoAplicacaoE = '" +
                           nomes.at("E") + "', DescricaoAplicacaoI = '" + nomes.at("I") +
                           "' WHERE CodigoAplicacao = " + std::to_string(a),
                       dao::dbFailOnError);
        FechaBanco(ws, db);
    }
    struct Caso {
        const char* nome;
        const char* titulo;
        const char* faixa;
        std::function<void()> abre;
    };
    const std::vector<Caso> casos = {
        {"list of a vehicle", "lblTituloL", "imgTituloL", [&] { AbreLista(j, veiculo); }},
        {"figure", "lblTituloF", "imgTituloF",
         [&] {
             j.CodigoAplicacaoFigura = figura;
             Troca(j, 4, "24");
         }},
    };
    for (const auto& [idioma, nome] : nomes) {
        SCOPED_TRACE(idioma);
        j.AlteraIdioma(idioma, false);
        for (const Caso& c : casos) {
            SCOPED_TRACE(c.nome);
            c.abre();
            testsupport::Processa();
            const vb::Label& titulo = j.Lbl(c.titulo);
            const vb::Image& faixa = j.Img(c.faixa);
            const std::string legenda = titulo.Caption();
            ASSERT_NE(legenda.find(vb::UCase(nome)), std::string::npos) << legenda;

            // The whole title shows, maker included, each line broken at a blank (the lines are
            // joined by one).
            const std::vector<vb::LabelLine> linhas = titulo.ShownLines();
            EXPECT_GE(linhas.size(), 2u);
            std::string mostrado;
            std::size_t pos = 0;
            for (std::size_t i = 0; i < linhas.size(); ++i) {
                const std::string texto = vb::Trim(linhas[i].text);
                mostrado += (mostrado.empty() ? "" : " ") + texto;
                pos = legenda.find(texto, pos);
                ASSERT_NE(pos, std::string::npos) << texto;
                pos += texto.size();
                if (i + 1 < linhas.size()) EXPECT_EQ(legenda.substr(pos, 1), " ") << "broken inside a word: " << texto;
            }
            EXPECT_EQ(UmBranco(mostrado), UmBranco(legenda));

            // On the screen: the title's letters end inside the strip's width.
            const QImage imagem = testsupport::Captura(j.Window());
            const QRect area = testsupport::RetanguloVisivel(titulo);
            const int fimFaixa = testsupport::PontoDe(faixa, QPoint(faixa.Width() - 1, 0)).x();
            const int fimTela = testsupport::RetanguloVisivel(*j.pctBase).right();
            int dentro = 0, fora = 0;
            for (int y = area.top(); y <= area.bottom(); ++y)
                for (int x = area.left(); x <= fimTela; ++x)
                    if (Vermelho(imagem.pixelColor(x, y))) ++(x > fimFaixa ? fora : dentro);
            EXPECT_GT(dentro, 0);
            EXPECT_EQ(fora, 0);
            // The title stands above its strip, clear of the combo that lies on the list's.
            EXPECT_TRUE((area & testsupport::RetanguloVisivel(faixa)).isEmpty());
            if (j.cboTHCombo1->Visible()) EXPECT_TRUE((area & testsupport::RetanguloVisivel(*j.cboTHCombo1)).isEmpty());
            ASSERT_TRUE(erros.empty()) << erros.front();
        }
    }
}

}  // namespace

namespace {

// The product list frames its grid and its reference panel as the product search screen
// frames its own: a line of the frames' colour a pixel outside each, on every side. The
// frames go with their screen.
TEST_F(TelasLeiaute, TheListFramesItsGridAndReferencePanelAsTheProductSearchDoes) {
    frmZornakForm& j = Inicia();
    j.Show();
    testsupport::Processa();
    struct Caso {
        const char* nome;
        std::function<void()> abre;
        int painel;
    };
    const std::vector<Caso> casos = {
        {"product search", [&] { Troca(j, 1, "1"); }, 0},
        {"list by vehicle", [&] { AbreLista(j, Aplicacao(true, true)); }, 1},
        {"list by assembly", [&] { AbreLista(j, Aplicacao(false, false)); }, 1},
    };
    // The middle of each side of the line round a control, and its colour there.
    auto emVolta = [&](const vb::Control& c) {
        const QImage imagem = testsupport::Captura(j.Window());
        const QRect r = testsupport::RetanguloVisivel(c).adjusted(-1, -1, 1, 1);
        std::vector<std::string> fora;
        for (const QPoint p : {QPoint(r.left(), r.center().y()), QPoint(r.right(), r.center().y()),
                               QPoint(r.center().x(), r.top()), QPoint(r.center().x(), r.bottom())})
            if (imagem.pixelColor(p) != QColor(0xC8, 0xC8, 0xC8))
                fora.push_back("(" + std::to_string(p.x()) + ", " + std::to_string(p.y()) + ") " +
                               imagem.pixelColor(p).name().toStdString());
        return fora;
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        c.abre();
        testsupport::Processa();
        EXPECT_EQ(emVolta(*j.grdTHGrid1), std::vector<std::string>{}) << "the grid's frame";
        EXPECT_EQ(emVolta(*j.Controle("pctPainelRef", c.painel)), std::vector<std::string>{}) << "the panel's frame";
    }
    // The figure screen shows no frame of the lists.
    j.CodigoAplicacaoFigura = 36;
    Troca(j, 4, "24");
    for (const testsupport::ControleMostrado& m : testsupport::ControlesMostrados(j.Window()))
        EXPECT_TRUE(m.controle->Name() != "shpGrid" && m.controle->Name() != "shpLigaRef") << m.Nome();
    ASSERT_TRUE(erros.empty()) << erros.front();
}

}  // namespace
