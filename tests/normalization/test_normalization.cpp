#include "catalog/startup/Modulo.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Caso {
    const char* entrada;
    const char* esperado;
};

using Funcao = std::string (*)(const std::string&);

void Confere(Funcao f, const std::vector<Caso>& casos) {
    for (const Caso& c : casos) {
        SCOPED_TRACE(std::string("input \"") + c.entrada + "\"");
        EXPECT_EQ(f(c.entrada), c.esperado);
    }
}

const char* const ClasseA = "[AÁÀÂÄÃª]";
const char* const ClasseE = "[EÉÈÊË]";
const char* const ClasseO = "[OÓÒÔÖÕº]";
const char* const ClasseU = "[UÚÙÛÜ]";

TEST(RemoveAcentosTest, FoldsOnlyTheTableCapitalsAndOrdinals) {
    Confere(RemoveAcentos, {
        {"ÁÀÂÄÃª", "AAAAAA"},
        {"ÉÈÊË", "EEEE"},
        {"ÍÌÎÏ", "IIII"},
        {"ÓÒÔÖÕº", "OOOOOO"},
        {"ÚÙÛÜ", "UUUU"},
        {"Ç", "C"},
        // Lower-case accented letters and letters outside the table stay as they are.
        {"áéíóúçã", "áéíóúçã"},
        {"ÑÝŸß", "ÑÝŸß"},
        {"São JOÃO nº 1", "São JOAO nO 1"},
        {"", ""},
        {"plain ASCII 123 !?", "plain ASCII 123 !?"},
    });
}

TEST(SomenteDigitosTest, KeepsTheTenDigitsInOrder) {
    Confere(SomenteDigitos, {
        {" 00ab-12/3 ", "00123"},
        {"abc", ""},
        {"", ""},
        {"１２3", "3"},     // full-width digits are not "[0-9]"
        {"ª1º2²", "12"},
    });
}

TEST(SomenteLetrasDigitosTest, UpperCasesAndDropsEverythingElse) {
    Confere(SomenteLetrasDigitos, {
        {" 00ab-12/3 ", "00AB123"},
        {"Ôx1", "X1"},         // accented letters are dropped, not folded
        {"ação", "AO"},        // lower-case accented letters upper-case, then drop
        {"a.b,c;d", "ABCD"},
        {"", ""},
        {"ß", ""},             // one character at a time: no "SS"
    });
}

TEST(RemoveZerosEsquerdaTest, DropsOnlyLeadingZeros) {
    Confere(RemoveZerosEsquerda, {
        {"000123", "123"},
        {"1020", "1020"},
        {"000", ""},
        {"0", ""},
        {"", ""},
        {" 012", " 012"},      // a blank is not a zero
        {"0A0", "A0"},
    });
}

TEST(NormalizaCodigoAlfanumericoTest, SearchKeyOfManufacturersNumbers) {
    Confere(NormalizaCodigoAlfanumerico, {
        {" 00ab-12/3 ", "AB123"},
        {"000", ""},
        {"Ôx1", "X1"},
        {"0-0-7b", "7B"},
        {"", ""},
    });
}

TEST(NormalizaCodigoNumericoTest, SearchKeyOfTheMakersNumber) {
    Confere(NormalizaCodigoNumerico, {
        {" 00ab-12/3 ", "123"},
        {"0.0.0", ""},
        {"A0B1", "1"},
        {"10.200", "10200"},
        {"", ""},
    });
}

TEST(MontaChaveBuscaTest, FoldsAccentsBeforeFilteringAndKeepsZeros) {
    Confere(MontaChaveBusca, {
        {"São Paulo 007", "SAOPAULO007"},
        {"Ôx1", "OX1"},
        {"ação", "ACAO"},
        {"nº 5", "NO5"},
        {"ÑANDÚ", "ANDU"},     // Ñ is not in the table: dropped
        {"", ""},
    });
}

struct CasoSQL {
    const char* entrada;
    const char* semLike;
    std::string comLike;
};

TEST(PreparaTextoSQLTest, LiteralsAndLikePatterns) {
    const std::vector<CasoSQL> casos = {
        {"d'Água|", "d''Água", std::string("D''") + ClasseA + "G" + ClasseU + ClasseA},
        {"  bomba  ", "bomba", std::string("B") + ClasseO + "MB" + ClasseA},
        {"''", "''''", "''''"},
        {"a|b|c", "abc", std::string(ClasseA) + "B[CÇ]"},
        // Characters with a meaning in LIKE are kept in a literal, removed in a pattern.
        {"[x]?*#!y", "[x]?*#!y", "XY"},
        {"ção", "ção", "[CÇ]" + std::string(ClasseA) + ClasseO},
        {"ie", "ie", "[IÍÌÎÏ]" + std::string(ClasseE)},
        {"ª º", "ª º", std::string(ClasseA) + " " + ClasseO},
        {"abc *", "abc *", std::string(ClasseA) + "B[CÇ] "},   // blanks are trimmed first
        {"", "", ""},
        {"   ", "", ""},
        {"\tx\t", "\tx\t", "\tX\t"},                           // only blanks are trimmed
        {"12-34", "12-34", "12-34"},
    };
    for (const CasoSQL& c : casos) {
        SCOPED_TRACE(std::string("input \"") + c.entrada + "\"");
        EXPECT_EQ(PreparaTextoSQL(c.entrada, false), c.semLike);
        EXPECT_EQ(PreparaTextoSQL(c.entrada, true), c.comLike);
    }
}

TEST(FiltraConectivoTest, DropsConnectorPatternsOnlyAmongSeveralWords) {
    const std::string de = std::string("D") + ClasseE;
    EXPECT_EQ(FiltraConectivo(de, 2), "");
    EXPECT_EQ(FiltraConectivo(std::string("D") + ClasseA, 5), "");
    EXPECT_EQ(FiltraConectivo(std::string("D") + ClasseO, 11), "");
    EXPECT_EQ(FiltraConectivo(de, 1), de);
    EXPECT_EQ(FiltraConectivo(de, 0), de);
    // Only the pattern form is a connector, and only exactly.
    EXPECT_EQ(FiltraConectivo("DE", 3), "DE");
    EXPECT_EQ(FiltraConectivo("de", 3), "de");
    EXPECT_EQ(FiltraConectivo(de + "S", 3), de + "S");
    EXPECT_EQ(FiltraConectivo("D[CÇ]", 3), "D[CÇ]");
}

struct CasoPalavras {
    std::string entrada;
    std::vector<std::string> esperado;
};

TEST(SeparaPalavrasTest, SplitsAtBlanksAndDropsConnectorsAmongSeveral) {
    const std::string de = std::string("D") + ClasseE;
    const std::string da = std::string("D") + ClasseA;
    const std::vector<CasoPalavras> casos = {
        {"", {}},
        {"BOMBA", {"BOMBA"}},
        {"A    B  C", {"A", "B", "C"}},
        {"   ", {"", ""}},
        {" A", {"", "A"}},
        {de, {de}},
        {de + " X", {"", "X"}},
        {"X " + de + " Y " + da, {"X", "", "Y", ""}},
        {de + " ", {"", ""}},          // the empty last word counts for the rule
        {"DE X", {"DE", "X"}},         // not in pattern form: kept
    };
    for (const CasoPalavras& c : casos) {
        SCOPED_TRACE("input \"" + c.entrada + "\"");
        EXPECT_EQ(SeparaPalavras(c.entrada), c.esperado);
    }
}

struct CasoFiltro {
    const char* entrada;
    std::string esperado;
};

TEST(MontaFiltroPalavrasTest, OneLikeClausePerWord) {
    const std::string bomba = std::string("F LIKE '*B") + ClasseO + "MB" + ClasseA + "*'";
    const std::string agua =
        std::string("F LIKE '*") + ClasseA + "G" + ClasseU + ClasseA + "*'";
    const std::vector<CasoFiltro> casos = {
        {"de", std::string("F LIKE '*D") + ClasseE + "*'"},
        {"bomba  de agua", bomba + " AND " + agua},
        {"de bomba", bomba},
        {"", ""},
        {"    ", ""},
        {"*?#", ""},
        {"abc *", std::string("F LIKE '*") + ClasseA + "B[CÇ]*'"},
        {"de *", ""},                  // the empty word makes "de" one of two words
        {"d'x", "F LIKE '*D''X*'"},
        {"x|y", "F LIKE '*XY*'"},
    };
    for (const CasoFiltro& c : casos) {
        SCOPED_TRACE(std::string("input \"") + c.entrada + "\"");
        EXPECT_EQ(MontaFiltroPalavras(c.entrada, "F"), c.esperado);
    }
}

TEST(MontaFiltroPalavrasTest, UsesAtMostElevenWords) {
    EXPECT_EQ(MontaFiltroPalavras("1 2 3 4 5 6 7 8 9 10 11 12", "F"),
              "F LIKE '*1*' AND F LIKE '*2*' AND F LIKE '*3*' AND F LIKE '*4*' AND "
              "F LIKE '*5*' AND F LIKE '*6*' AND F LIKE '*7*' AND F LIKE '*8*' AND "
              "F LIKE '*9*' AND F LIKE '*10*' AND F LIKE '*11*'");
    // Dropped connectors still take their place among the eleven.
    const std::string filtro = MontaFiltroPalavras("de 2 3 4 5 6 7 8 9 10 11 12", "F");
    EXPECT_EQ(filtro.find("'*12*'"), std::string::npos);
    EXPECT_EQ(filtro.rfind("F LIKE '*2*'", 0), 0u);
}

TEST(MontaFiltroPalavrasTest, KeepsTheFieldAsGiven) {
    EXPECT_EQ(MontaFiltroPalavras("12", "PRODUTO.DescricaoProduto<I>"),
              "PRODUTO.DescricaoProduto<I> LIKE '*12*'");
}

}  // namespace
