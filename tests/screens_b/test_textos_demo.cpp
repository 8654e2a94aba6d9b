// The demo catalogue is the first thing a new user sees: its texts fit the labels that show
// them, in every language, measured with each label's own font as the shown label has it.
#include "JanelaDemo.h"

#include "common/modTraducao.h"
#include "tests/support/Ponteiro.h"
#include "platform/vb/Strings.h"

#include <QFontMetrics>

#include <functional>
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

// A label, the texts of the catalogue it may show, and the room it has for them.
struct Rotulo {
    const char* nome;
    int tela;
    std::function<vb::Label&(frmZornakForm&)> rotulo;
    std::function<std::vector<std::string>(frmZornakForm&)> textos;
    std::function<int(frmZornakForm&)> espaco;
};

TEST_F(TextosDemo, EveryTextFitsTheLabelThatShowsIt) {
    auto largura = [](const char* nome, int indice = -1) {
        return [nome, indice](frmZornakForm& j) { return j.Lbl(nome, indice).Width(); };
    };
    // A title that grows with its text has the title strip under it for room; one that does
    // not, its own width.
    auto faixa = [](const char* titulo, const char* tira) {
        return [titulo, tira](frmZornakForm& j) {
            const vb::Label& l = j.Lbl(titulo);
            const vb::Image& t = j.Img(tira);
            return l.AutoSize() ? t.Left() + t.Width() - l.Left() : l.Width();
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
         faixa("lblTituloL", "imgTituloL")},
        {"title of the figure", 4, [](frmZornakForm& j) -> vb::Label& { return j.Lbl("lblTituloF"); },
         [](frmZornakForm&) { return Titulos("SELECT DISTINCT CodigoAplicacao FROM CONJUNTO"); },
         faixa("lblTituloF", "imgTituloF")},
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
            ASSERT_TRUE(rotulo.Widget()->isVisible());
            const QFontMetrics medida(rotulo.Widget()->font());
            const int espaco = r.espaco(j);
            for (const std::string& texto : r.textos(j))
                EXPECT_LE(medida.horizontalAdvance(QString::fromStdString(texto)), espaco) << texto;
        }
        ASSERT_TRUE(erros.empty()) << erros.front();
    }
}

}  // namespace
