// The demo catalogue is the first thing a new user sees: its texts fit the labels that show
// them, in every language, measured with each label's own font as the shown label has it.
#include "JanelaDemo.h"

#include "common/modTraducao.h"
#include "tests/support/Ponteiro.h"
#include "platform/vb/Strings.h"

#include <QFontMetrics>

#include <functional>
#include <map>
#include <vector>

namespace {

class TextosDemo : public JanelaDemo {
protected:
    static std::vector<std::string> Coluna(const std::string& sql) {
        std::vector<std::string> r;
        for (const auto& linha : testsupport::LinhasCatalogo(sql)) r.push_back(linha.at(0));
        EXPECT_FALSE(r.empty()) << sql;
        return r;
    }
    static std::vector<std::string> Titulos(const std::string& sqlAplicacoes) {
        std::vector<std::string> r;
        for (const std::string& codigo : Coluna(sqlAplicacoes)) r.push_back(MontaDescricaoAplicacao(std::stol(codigo), true, true));
        return r;
    }
};

// A label, the texts of the catalogue it may show, and the room it has for them: a width for
// a label of one line; for one that breaks its text, the lines the screen gives it (the
// label is measured at that height, with its own breaking).
struct Rotulo {
    const char* nome;
    int tela;
    std::function<vb::Label&(frmZornakForm&)> rotulo;
    std::function<std::vector<std::string>(frmZornakForm&)> textos;
    std::function<int(frmZornakForm&)> espaco;
    int altura = 0;
};

// The text as a label of this height shows it, its lines joined by a blank.
std::string Mostrado(vb::Label& l, int altura, const std::string& texto) {
    const std::string legenda = l.Caption();
    const int alturaAntes = l.Height();
    l.SetHeight(altura);
    l.SetCaption(texto);
    std::string mostrado;
    for (const vb::LabelLine& linha : l.ShownLines()) mostrado += (mostrado.empty() ? "" : " ") + vb::Trim(linha.text);
    l.SetCaption(legenda);
    l.SetHeight(alturaAntes);
    return mostrado;
}

TEST_F(TextosDemo, EveryTextFitsTheLabelThatShowsIt) {
    auto largura = [](const char* nome, int indice = -1) {
        return [nome, indice](frmZornakForm& j) { return j.Lbl(nome, indice).Width(); };
    };
    // The figure panel's rows: a product of an item (of every item that the application's
    // figure shows) with its description and the references of the application's makers.
    // Each is measured with a position before it, as an item of several products shows it.
    auto linhasFigura = [](const char* coluna) {
        return [coluna](frmZornakForm&) {
            std::map<std::string, std::string> fabricantes;
            std::vector<std::string> r;
            for (const auto& l : testsupport::LinhasCatalogo(
                     "SELECT DISTINCT C.CodigoAplicacao, C.CodigoProduto, P.DescricaoProduto<I> FROM (CONJUNTO_PRODUTO1 C "
                     "INNER JOIN APLICACAO_PRODUTO A ON C.CodigoProduto = A.CodigoProduto AND C.CodigoAplicacao = "
                     "A.CodigoAplicacao) INNER JOIN PRODUTO P ON C.CodigoProduto = P.CodigoProduto")) {
                std::string texto = l.at(2);
                if (std::string(coluna) == "referencias") {
                    auto f = fabricantes.find(l.at(0));
                    if (f == fabricantes.end())
                        f = fabricantes.emplace(l.at(0), ObtemFabricantesAplicacao(std::stol(l.at(0)))).first;
                    texto = ObtemReferenciasCruzadas(std::stol(l.at(1)), f->second);
                }
                r.push_back("9 - " + texto);
            }
            EXPECT_FALSE(r.empty());
            return r;
        };
    };
    const std::vector<Rotulo> rotulos = {
        {"maker on the home screen", 0, [](frmZornakForm& j) -> vb::Label& { return j.Lbl("lblFabricanteM", 0); },
         [](frmZornakForm&) {
             std::vector<std::string> r;
             for (const std::string& f : Coluna("SELECT DescricaoFabricante<I> FROM FABRICANTE")) r.push_back(vb::UCase(f));
             return r;
         },
         largura("lblFabricanteM", 0)},
        {"group link on the home screen", 0, [](frmZornakForm& j) -> vb::Label& { return j.Lbl("lblGrupoM", 0); },
         [](frmZornakForm&) {
             std::vector<std::string> r = Coluna("SELECT DescricaoGrupoProduto<I> FROM GRUPOPRODUTO");
             r.push_back(Traduz(89));   // the vehicles link
             return r;
         },
         largura("lblGrupoM", 0)},
        {"issue date in the header", 0, [](frmZornakForm& j) -> vb::Label& { return *j.lblUltimaAtualizacao; },
         [](frmZornakForm& j) { return std::vector<std::string>{j.lblUltimaAtualizacao->Caption()}; },
         [](frmZornakForm& j) { return j.lblUltimaAtualizacao->Width(); }},
        {"title of the list", 3, [](frmZornakForm& j) -> vb::Label& { return j.Lbl("lblTituloL"); },
         [](frmZornakForm&) { return Titulos("SELECT DISTINCT CodigoAplicacao FROM APLICACAO_PRODUTO"); },
         largura("lblTituloL")},
        {"title of the figure", 4, [](frmZornakForm& j) -> vb::Label& { return j.Lbl("lblTituloF"); },
         [](frmZornakForm&) { return Titulos("SELECT DISTINCT CodigoAplicacao FROM CONJUNTO"); },
         largura("lblTituloF")},
        {"description of a figure item's product", 4,
         [](frmZornakForm& j) -> vb::Label& { return j.Lbl("lblDescricaoProdutoF", 0); }, linhasFigura("descricao"),
         largura("lblDescricaoProdutoF", 0), 26},
        {"references of a figure item's product", 4,
         [](frmZornakForm& j) -> vb::Label& { return j.Lbl("lblNroF", 0); }, linhasFigura("referencias"),
         largura("lblNroF", 0), 26},
    };
    frmZornakForm& j = Inicia();
    j.Show();
    testsupport::Processa();
    for (const char* idioma : {"P", "E", "I"}) {
        SCOPED_TRACE(idioma);
        j.AlteraIdioma(idioma, false);
        for (const Rotulo& r : rotulos) {
            SCOPED_TRACE(r.nome);
            // The label as its screen shows it, on a list or a figure of the catalogue.
            const auto saindo = static_cast<std::uint8_t>(j.TelaAtual());
            j.CodigoAplicacaoLista = 36;
            j.CodigoAplicacaoCombo = 0;
            j.CodigoAplicacaoFigura = 36;
            j.m_HistoricoTelas = std::to_string(r.tela);
            j.TrocaTela(static_cast<std::uint8_t>(r.tela), saindo, "LimpaTelaLista");
            testsupport::Processa();
            vb::Label& rotulo = r.rotulo(j);
            // The figure panel's rows show while an item is under the pointer; their screen is up.
            ASSERT_TRUE(r.altura > 0 ? (*j.pctTela)(r.tela).Widget()->isVisible() : rotulo.Widget()->isVisible());
            const QFontMetrics medida(rotulo.Widget()->font());
            const int espaco = r.espaco(j);
            for (const std::string& texto : r.textos(j)) {
                if (r.altura == 0) EXPECT_LE(medida.horizontalAdvance(QString::fromStdString(texto)), espaco) << texto;
                else EXPECT_EQ(Mostrado(rotulo, r.altura, texto), vb::Trim(texto));
            }
        }
        ASSERT_TRUE(erros.empty()) << erros.front();
    }
}

}  // namespace
