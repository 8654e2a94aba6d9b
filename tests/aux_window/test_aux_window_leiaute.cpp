// The screens of the auxiliary window as they stand on the demo catalogue: no shown control
// covers another, except the pairs that are placed so on purpose (each with its reason).
// The rectangles are those the shown widgets take in the window, not the layout's numbers.
#include "tests/aux_window/Ambiente.h"

#include "common/modInternet.h"
#include "common/modTraducao.h"
#include "tests/support/Ponteiro.h"
#include "tests/support/ServidorHttpTeste.h"
#include "tests/support/Sobreposicoes.h"

#include <QFontMetrics>

#include <functional>
#include <memory>

namespace {

using testsupport::Com;
using testsupport::SobreposicaoPermitida;

class AuxLeiaute : public auxteste::JanelaAuxiliarTeste {
protected:
    void SetUp() override {
        JanelaAuxiliarTeste::SetUp();
        // The update screen runs its installation against a server of its own.
        servidor_ = std::make_unique<testsupport::ServidorHttpTeste>([](const testsupport::ServidorHttpTeste::Pedido& p) {
            const std::string objeto = p.Objeto();
            if (objeto == "/cat/ListVersao28.txt") return testsupport::ServidorHttpTeste::Resposta(200, "DAT;leia.txt;3\r\n");
            if (objeto == "/cat/leia.txt") return testsupport::ServidorHttpTeste::Resposta(200, "abc");
            return testsupport::ServidorHttpTeste::Resposta(404, "not here");
        });
        AtualizacoesDoServidor(servidor_->Porta());
    }
    void TearDown() override {
        JanelaAuxiliarTeste::TearDown();
        servidor_.reset();
    }
    std::unique_ptr<testsupport::ServidorHttpTeste> servidor_;

    long Primeiro(const std::string& sql) {
        const std::vector<long> codigos = Codigos(sql);
        EXPECT_FALSE(codigos.empty()) << sql;
        return codigos.empty() ? 0 : codigos.front();
    }
    // The pointer rests on the window's background, away from every button.
    ::testing::AssertionResult NadaSeSobrepoe(const std::vector<SobreposicaoPermitida>& permitidas) {
        QWidget* w = J().Window();
        testsupport::MovePara(w, QPoint(w->width() - 30, 40));
        if (J().ChaveSelecaoAtual != "FORM") return ::testing::AssertionFailure() << J().ChaveSelecaoAtual << " is lit";
        return testsupport::NadaSeSobrepoe(w, permitidas);
    }
};

// Around every screen: the background, the title and the footer with its buttons.
const std::vector<SobreposicaoPermitida> Moldura = {
    {"imgFundo", {"*"}, "the window's background picture lies under the whole window"},
    {"imgRodapeEsq",
     {"imgBtnImprimir", "lblImprimir", "imgBtnGerarArquivo", "lblGerarArquivo", "imgBtnEnviarEmail", "lblEnviarEmail"},
     "the left footer bar is the ground of the print, file and e-mail buttons"},
    {"imgRodapeDir", {"imgBtnOk", "lblOk", "imgBtnVoltar", "lblVoltar"},
     "the right footer bar is the ground of the Ok and Back buttons"},
    {"imgBtnImprimir", {"lblImprimir"}, "a button's caption stands on its button picture"},
    {"imgBtnGerarArquivo", {"lblGerarArquivo"}, "a button's caption stands on its button picture"},
    {"imgBtnEnviarEmail", {"lblEnviarEmail"}, "a button's caption stands on its button picture"},
    {"imgBtnOk", {"lblOk"}, "a button's caption stands on its button picture"},
    {"imgBtnVoltar", {"lblVoltar"}, "a button's caption stands on its button picture"},
};

// One screen, the request that opens it and the pairs it places over one another on purpose.
struct Tela {
    const char* nome;
    std::function<std::string()> requisicao;
    std::vector<SobreposicaoPermitida> permitidas;
};

TEST_F(AuxLeiaute, NoShownControlCoversAnotherAndEveryCaptionStandsWhole) {
    // A cart longer than its list, of products with cross references.
    const std::vector<long> comReferencias = Codigos(
        "SELECT CodigoProduto FROM PRODUTO WHERE CodigoProduto IN (SELECT CodigoProduto FROM REFERENCIACRUZADA) ORDER BY 1");
    ASSERT_GE(comReferencias.size(), 12u);
    for (std::size_t i = 0; i < 12; ++i) IncluiProdutoCarrinho(comReferencias[i], 2);
    const std::string grupo = [this] {
        dao::Recordset rs = EstadoPrograma.DbCatalogo.OpenRecordset(
            "SELECT APLICACAO.CodigoFabricante, PRODUTO.CodigoGrupoProduto, Count(*) FROM (PRODUTO INNER JOIN "
            "APLICACAO_PRODUTO ON PRODUTO.CodigoProduto = APLICACAO_PRODUTO.CodigoProduto) INNER JOIN APLICACAO ON "
            "APLICACAO_PRODUTO.CodigoAplicacao = APLICACAO.CodigoAplicacao WHERE PRODUTO.FlagLancamento = 1 GROUP BY "
            "APLICACAO.CodigoFabricante, PRODUTO.CodigoGrupoProduto ORDER BY 3 DESC",
            dao::dbOpenSnapshot);
        const std::string r = rs.Eof() ? std::string() : rs.Fields(0).Value().ToString() + "|" + rs.Fields(1).Value().ToString();
        rs.Close();
        return r;
    }();
    ASSERT_FALSE(grupo.empty());
    const std::vector<Tela> telas = {
        {"product observation",
         [this] { return "0|P|" + std::to_string(Primeiro("SELECT CodigoProduto FROM PRODUTO_OBS ORDER BY 1")); },
         Moldura},
        {"application observation",
         [this] { return "0|A|" + std::to_string(Primeiro("SELECT CodigoAplicacao FROM APLICACAO_OBS ORDER BY 1")); },
         Moldura},
        {"applications of a product",
         [this] {
             return "1|" +
                    std::to_string(Primeiro("SELECT CodigoProduto FROM APLICACAO_PRODUTO GROUP BY CodigoProduto "
                                            "HAVING Count(*) >= 3 ORDER BY CodigoProduto")) +
                    "|0";
         },
         Moldura},
        {"cart", [&] { return "2|" + std::to_string(comReferencias[0]); }, Moldura},
        {"applications of a group", [grupo] { return "3|" + grupo + "|0|0||255|1|0|0"; }, Moldura},
        {"releases of a group", [grupo] { return "3|" + grupo + "|0|0||255|3|0|1"; }, Moldura},
        {"settings", [] { return std::string("5"); }, Moldura},
    };
    for (const char* idioma : {"P", "E", "I"}) {
        SCOPED_TRACE(idioma);
        EstadoPrograma.Idioma = idioma;
        for (const Tela& t : telas) {
            SCOPED_TRACE(t.nome);
            const std::string requisicao = t.requisicao();
            Abre(requisicao);
            ASSERT_EQ(J().TelaAtual(), requisicao[0] - '0');
            EXPECT_TRUE(NadaSeSobrepoe(t.permitidas));
            // Every caption stands whole: one wider than its label would break and lose words.
            EXPECT_EQ(testsupport::LegendasCortadas(J().Window()), std::vector<std::string>{});
        }
        // The update screen is seen while its result box is up: the window closes after it.
        SCOPED_TRACE("update");
        bool visto = false;
        caixas_.OnBox([&](const testsupport::FakeMsgBox::Box&) {
            if (visto) return;
            visto = true;
            EXPECT_TRUE(NadaSeSobrepoe(Com(Moldura, {{"imgBordaBarraAtualizacao", {"imgBarraAtualizacao"},
                                                      "a progress bar runs inside its border"}})));
            EXPECT_EQ(testsupport::LegendasCortadas(J().Window()), std::vector<std::string>{});
        });
        Abre("6|27|28");
        caixas_.OnBox(nullptr);
        EXPECT_TRUE(visto);
        teste::Escrita e;
        e.Executa("UPDATE UMREGISTRO SET Versao=27");
    }
    EstadoPrograma.Idioma = "P";
}

// The subtitle names what a screen shows: a maker and a group, an application with its maker,
// a product with its number. Every such text of the demo catalogue fits the room the subtitle
// has, measured with its own font, in every language.
TEST_F(AuxLeiaute, EveryDemoSubtitleFitsItsRoom) {
    auto textos = [this] {
        std::vector<std::string> r;
        dao::Recordset fg = EstadoPrograma.DbCatalogo.OpenRecordset(
            AplicaIdioma("SELECT DISTINCT FABRICANTE.DescricaoFabricante<I>, GRUPOPRODUTO.DescricaoGrupoProduto<I> FROM "
                         "(((APLICACAO INNER JOIN APLICACAO_PRODUTO ON APLICACAO.CodigoAplicacao = "
                         "APLICACAO_PRODUTO.CodigoAplicacao) INNER JOIN PRODUTO ON APLICACAO_PRODUTO.CodigoProduto = "
                         "PRODUTO.CodigoProduto) INNER JOIN GRUPOPRODUTO ON PRODUTO.CodigoGrupoProduto = "
                         "GRUPOPRODUTO.CodigoGrupoProduto) INNER JOIN FABRICANTE ON APLICACAO.CodigoFabricante = "
                         "FABRICANTE.CodigoFabricante"),
            dao::dbOpenSnapshot);
        for (; !fg.Eof(); fg.MoveNext()) {
            const std::string fabricante = fg.Fields(0).Value().ToString();
            r.push_back(vb::UCase(fabricante + "  -  " + fg.Fields(1).Value().ToString()));
            r.push_back(vb::UCase(fabricante + "  -  " + Traduz(89)));
        }
        fg.Close();
        for (long a : Codigos("SELECT CodigoAplicacao FROM APLICACAO_OBS")) r.push_back(MontaDescricaoAplicacao(a, true, true));
        for (long p : Codigos("SELECT CodigoProduto FROM PRODUTO")) r.push_back(MontaDescricaoProduto(p, true));
        return r;
    };
    const std::vector<long> grupo = Codigos("SELECT Min(CodigoGrupoProduto) FROM PRODUTO");
    for (const char* idioma : {"P", "E", "I"}) {
        SCOPED_TRACE(idioma);
        EstadoPrograma.Idioma = idioma;
        auxteste::Janela& j = Abre("3|1|" + std::to_string(grupo.at(0)) + "|0|0||255|1|0|0");
        vb::Label& subtitulo = *j.lblSubTitulo;
        ASSERT_TRUE(subtitulo.Widget()->isVisible());
        ASSERT_FALSE(subtitulo.Caption().empty());
        // A subtitle that grows with its text has the room up to the screens' right edge.
        const vb::PictureBox& tela = (*j.pctTela)(3);
        const int espaco = subtitulo.AutoSize() ? tela.Left() + tela.Width() - subtitulo.Left() : subtitulo.Width();
        const QFontMetrics medida(subtitulo.Widget()->font());
        const std::vector<std::string> todos = textos();
        ASSERT_GT(todos.size(), 100u);
        for (const std::string& texto : todos)
            EXPECT_LE(medida.horizontalAdvance(QString::fromStdString(texto)), espaco) << texto;
    }
    EstadoPrograma.Idioma = "P";
}

}  // namespace
