#include "common/modTraducao.h"

#include "common/Modulo.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Textos {
    long numero;
    const char* portugues;
    const char* espanhol;
    const char* ingles;
};

void PrintTo(const Textos& t, std::ostream* os) { *os << "message " << t.numero; }

class MensagemTest : public ::testing::TestWithParam<Textos> {};

TEST_P(MensagemTest, EachLanguageHasItsOwnText) {
    const Textos& t = GetParam();
    EXPECT_EQ(Traduz(t.numero, "P"), t.portugues);
    EXPECT_EQ(Traduz(t.numero, "E"), t.espanhol);
    EXPECT_EQ(Traduz(t.numero, "I"), t.ingles);
}

// First, last, texts shared by two languages, accents, "¿", quotes, placeholders and the
// slips the program has always shown.
INSTANTIATE_TEST_SUITE_P(
    Textos, MensagemTest,
    ::testing::Values(
        Textos{0, "Catálogo ZORNAK", "Catálogo ZORNAK", "ZORNAK Part List"},
        Textos{1, "Erro Nº", "Erro Nº", "Err Nr."},
        Textos{3, "Observação", "Observación", "Note"},
        Textos{5, "Nenhum Item Encontrado", "Ningún Item Encontrado", "No Item Found"},
        Textos{7, "Todos", "Todos", "All"},
        Textos{10, "Para Pesquisar, selecione uma Referência (acima), depois informe o Nº",
               "Para buscar, selecciona una referencia (arriba), después informa el Nº",
               "To search, select a Reference (above), later inform the Nº"},
        Textos{12, "Não Aplicavel", "No se Aplica", "Not Applicable"},
        Textos{27, "Aplicação", "Aplicación", "Application"},
        Textos{29, "Conjuntos do Veículo", "Sistemas del Vehículo", "Sets of the Vehicle"},
        Textos{31, "Não Possui Figura", "No Posee el Figura", "There is no Picture"},
        Textos{32, "Nº ZORNAK", "Nº ZORNAK", "ZORNAK Nr."},
        Textos{33, "Excluir", "Exclución", "Delete"},
        Textos{44, "Obs", "Obs", "Note"},
        Textos{55, "Confirma?", "¿Confirma?", "Confirms?"},
        Textos{56, "Página |1| de |2|", "Página |1| de |2|", "Page |1| of |2|"},
        Textos{62, "Próxima Página: Clique no botão Direito do Mouse",
               "Página Siguiente: Clic en el botón derecho del ratón",
               "Next Page: Click in the Right button of the Mouse"},
        Textos{66, "Existem Novas Atualizações. Deseja Instalar agora?",
               "Existen Nuevas Actualizaciones. ¿Desea instálelas ahora?",
               "New Updates Exist. Install now?"},
        Textos{68,
               "Não foi possível Bloquear o Banco de Dados. (Outro Computador, de sua rede, já "
               "está Atualizando o Catálogo)",
               "Non foi posible bloquear la base de datos. (Otra Computadora, de la su red, ya "
               "está actualizando el Catálogo)",
               "It was not possible To block the Data Base. (Another Computer, of its net, "
               "already Is update the Part List)"},
        Textos{72, "Atualização Concluída com Sucesso", "Actualización Concluida con Éxito",
               "Successfully Concluded Update"},
        Textos{80, "Verificar Atualizações Automaticamente",
               "Verificar Actualizaciones Automáticamente", "Verify Updates Automatically"},
        Textos{83, "Senha", "Seña", "Password"},
        Textos{84, "Ok", "Ok", "Ok"},
        Textos{87, "Arquivo \"|1|\" gerado com Sucesso", "Archivo \"|1|\" grabado con Exito",
               "File \"|1|\" Successfully Saved"},
        Textos{88, "Lançamentos", "Lanzamientos", "Launches"},
        Textos{92, "Substituído por", "Sustituido por", "Replaced by"}));

// The date formats take the month from 13 + month - 1: every row must be in its place.
TEST(MesesTest, ThirteenToTwentyFourAreJanuaryToDecember) {
    const char* portugues[] = {"JAN", "FEV", "MAR", "ABR", "MAI", "JUN",
                               "JUL", "AGO", "SET", "OUT", "NOV", "DEZ"};
    const char* espanhol[] = {"ENE", "FEB", "MAR", "ABR", "MAY", "JUN",
                              "JUL", "AGO", "SEP", "OCT", "NOV", "DIC"};
    const char* ingles[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                            "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    for (long mes = 0; mes < 12; ++mes) {
        SCOPED_TRACE(mes + 1);
        EXPECT_EQ(Traduz(13 + mes, "P"), portugues[mes]);
        EXPECT_EQ(Traduz(13 + mes, "E"), espanhol[mes]);
        EXPECT_EQ(Traduz(13 + mes, "I"), ingles[mes]);
    }
}

TEST(SemTextoTest, UnusedAndOutOfRangeNumbersGiveNothingInEveryLanguage) {
    for (long numero : {4L, 25L, 26L, 93L, -1L, 1000L, -2147483647L - 1}) {
        for (const char* idioma : {"P", "E", "I", ""}) {
            SCOPED_TRACE(std::to_string(numero) + " " + idioma);
            EXPECT_EQ(Traduz(numero, idioma), "");
        }
    }
}

TEST(SemTextoTest, UnknownLanguageLettersGiveNothing) {
    for (const char* idioma : {"p", "e", "i", "X", "PE", " P", "Português"}) {
        SCOPED_TRACE(idioma);
        EXPECT_EQ(Traduz(7, idioma), "");
        EXPECT_EQ(Traduz(0, idioma), "");
    }
}

class IdiomaAtualTest : public ::testing::Test {
protected:
    void TearDown() override { EstadoPrograma.Idioma = salvo_; }
    std::string salvo_ = EstadoPrograma.Idioma;
};

TEST_F(IdiomaAtualTest, EmptyLetterFollowsTheCurrentLanguage) {
    EstadoPrograma.Idioma = "E";
    EXPECT_EQ(Traduz(36), "Carrito");
    EXPECT_EQ(Traduz(36, ""), "Carrito");
    EstadoPrograma.Idioma = "I";
    EXPECT_EQ(Traduz(36), "Cart");
    EstadoPrograma.Idioma = "P";
    EXPECT_EQ(Traduz(36), "Carrinho");
}

TEST_F(IdiomaAtualTest, NamedLetterOverridesTheCurrentLanguage) {
    EstadoPrograma.Idioma = "I";
    EXPECT_EQ(Traduz(36, "P"), "Carrinho");
    EXPECT_EQ(Traduz(36, "E"), "Carrito");
}

TEST_F(IdiomaAtualTest, UnknownCurrentLanguageGivesNothing) {
    EstadoPrograma.Idioma = "x";
    EXPECT_EQ(Traduz(36), "");
    EXPECT_EQ(Traduz(36, "I"), "Cart");
}

}  // namespace
