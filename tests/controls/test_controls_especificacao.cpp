#include "catalog/controls/EspecificacaoColunas.h"
#include "platform/vb/Err.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(ControlesEspecificacao, ReadsTheItemsOfTheScreens) {
    struct Caso {
        const char* item;
        const char* campo;
        int alinhamento;
        long largura;
        const char* tipo;
        const char* dica;
        int ponteiro;
        bool legenda;
        long larguraLegenda;
    };
    const Caso casos[] = {
        {"NumeroEmpresaFormatado|0|1230|T", "NumeroEmpresaFormatado", 0, 1230, "T", "", 0, false, 0},
        {"Quantidade|1|600|T", "Quantidade", 1, 600, "T", "", 0, false, 0},
        // A text item may carry more fields; they mean nothing to it.
        {"Descricao|2|3000|T|ignored|99|45", "Descricao", 2, 3000, "T", "", 0, false, 0},
        {"ImagensGrid|2|600|I|Cesta (F2)!|99", "ImagensGrid", 2, 600, "I", "Cesta (F2)!", 99, false, 0},
        {"ImagensGrid|2|1200|I|Lançamento!|0|600", "ImagensGrid", 2, 1200, "I", "Lançamento!", 0, true, 600},
        {"|2|450|F|Figura <ENTER>|99", "", 2, 450, "F", "Figura <ENTER>", 99, false, 0},
        {" Campo | 1 | 150 |T", " Campo ", 1, 150, "T", "", 0, false, 0},
        // An unknown type is kept as it is: no picture, no text label.
        {"Campo|0|300|X", "Campo", 0, 300, "X", "", 0, false, 0},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.item);
        const ColunaEspecificada r = LeColunaEspecificada(c.item);
        EXPECT_EQ(r.Campo, c.campo);
        EXPECT_EQ(r.Alinhamento, c.alinhamento);
        EXPECT_EQ(r.Largura, c.largura);
        EXPECT_EQ(r.Tipo, c.tipo);
        EXPECT_EQ(r.Dica, c.dica);
        EXPECT_EQ(r.Ponteiro, c.ponteiro);
        EXPECT_EQ(r.TemLegenda, c.legenda);
        EXPECT_EQ(r.LarguraLegenda, c.larguraLegenda);
    }
}

TEST(ControlesEspecificacao, BadItemsRaiseAClearError) {
    struct Caso { const char* item; long numero; };
    const Caso casos[] = {
        {"Campo|0|300", 9},              // no type
        {"", 9},
        {"ImagensGrid|2|600|I|dica", 9}, // a picture column needs its pointer
        {"Campo|esquerda|300|T", 13},
        {"Campo|0|larga|T", 13},
        {"ImagensGrid|2|600|I|dica|mao", 13},
        {"ImagensGrid|2|600|I|dica|0|", 13},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.item);
        try {
            LeColunaEspecificada(c.item);
            ADD_FAILURE() << "no error";
        } catch (const vb::Error& e) {
            EXPECT_EQ(e.Number(), c.numero);
            EXPECT_NE(e.Description().find(c.item), std::string::npos) << e.Description();
        }
    }
}

TEST(ControlesEspecificacao, OneBadItemFailsTheWholeSpecification) {
    EXPECT_THROW(LeEspecificacaoColunas({"A|0|300|T", "B|0|300"}), vb::Error);
    EXPECT_EQ(LeEspecificacaoColunas({"A|0|300|T", "B|1|600|F|x|99"}).size(), 2u);
}

TEST(ControlesEspecificacao, ImagensGridFlagsAndLegend) {
    const std::string cr = "\r";
    const std::string cinquenta(50, ' ');
    struct Caso {
        const char* nome;
        std::string texto;
        int posicoes;
        std::vector<bool> mostra;
        std::vector<std::string> legendas;
    };
    const Caso casos[] = {
        {"both shown", "  ", 2, {true, true}, {}},
        {"carriage return hides", " " + cr, 2, {true, false}, {}},
        {"first hidden", cr + " ", 2, {false, true}, {}},
        {"other characters hide", "x ", 2, {false, true}, {}},
        {"short text hides the missing positions", " ", 3, {true, false, false}, {}},
        {"empty text", "", 2, {false, false}, {}},
        {"no I position", " ", 0, {}, {}},
        {"release date after the flags", " " + cr + cinquenta + ".240507", 2, {true, false}, {"240507 "}},
        {"no date after the point", "  " + cinquenta + ".", 2, {true, true}, {" "}},
        {"several legends", " .240507-241231", 1, {true}, {"240507", "241231 "}},
        {"only the first point starts the legend", "  .24.05", 2, {true, true}, {"24.05 "}},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        const ImagensLinha r = LeImagensGrid(c.texto, c.posicoes);
        EXPECT_EQ(r.Mostra, c.mostra);
        EXPECT_EQ(r.Legendas, c.legendas);
    }
    const ImagensLinha r = LeImagensGrid(" .240507", 1);
    EXPECT_EQ(r.Legenda(0), "240507 ");
    EXPECT_EQ(r.Legenda(1), "");
    EXPECT_EQ(r.Legenda(-1), "");
}

TEST(ControlesEspecificacao, TwipsToPixels) {
    EXPECT_EQ(TwipsParaPixels(1500), 100);
    EXPECT_EQ(TwipsParaPixels(0), 0);
    EXPECT_EQ(TwipsParaPixels(22), 1);    // 1.47
    EXPECT_EQ(TwipsParaPixels(23), 2);    // 1.53
}

}  // namespace
