// The update scripts' line language: how lines read, and how they run on a catalogue copy.
#include "catalog/aux_window/LinhasScript.h"
#include "platform/vb/Err.h"
#include "tests/data/Pasta.h"
#include "tests/support/ProgramaDemo.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

struct CasoModelo {
    const char* modelo;
    const char* linha;
    const char* esperado;
};

TEST(LinhasScript, PreencheModeloPelosNumeros) {
    const CasoModelo casos[] = {
        {"INSERT INTO T (A,B) VALUES (?1,?2)", "10<<;>>'x'", "INSERT INTO T (A,B) VALUES (10,'x')"},
        // Only the first occurrence of a placeholder is filled.
        {"V(?1,?1)", "a", "V(a,?1)"},
        // Extra values are ignored, missing ones leave their placeholder.
        {"V(?1)", "a<<;>>b<<;>>c", "V(a)"},
        {"V(?1,?2,?3)", "a", "V(a,?2,?3)"},
        // ?10 is filled before ?1 could take its first two characters.
        {"?1,?2,?3,?4,?5,?6,?7,?8,?9,?10", "a<<;>>b<<;>>c<<;>>d<<;>>e<<;>>f<<;>>g<<;>>h<<;>>i<<;>>j",
         "a,b,c,d,e,f,g,h,i,j"},
        // A value holding "?1", put in for a higher number before the template's own "?1",
        // takes value 0 in its place.
        {"?2 ?1", "A<<;>>x?1", "xA ?1"},
        // The search is case-sensitive and exact.
        {"?1 ?01", "a", "a ?01"},
        {"", "a<<;>>b", ""},
    };
    for (const CasoModelo& c : casos)
        EXPECT_EQ(PreencheModelo(c.modelo, c.linha), c.esperado) << c.modelo << " / " << c.linha;
}

struct CasoLinha {
    const char* modeloAntes;
    const char* linha;
    TipoLinhaScript tipo;
    const char* texto;
    const char* modeloDepois;
};

TEST(LinhasScript, InterpretaCadaTipoDeLinha) {
    using T = TipoLinhaScript;
    const CasoLinha casos[] = {
        {"X(?1)", "", T::Nada, "", "X(?1)"},
        {"X(?1)", "    ", T::Nada, "", "X(?1)"},
        {"", "E:DELETE FROM T", T::Comando, "DELETE FROM T", ""},
        {"", "E:", T::Nada, "", ""},
        {"", "E:A<<vbCrLf>>B<<vbCrLf>>", T::Comando, "A\r\nB\r\n", ""},
        // The kind is read as the line stands: a blank before it or lower case makes a
        // parameter line.
        {"", " E:DELETE FROM T", T::Nada, "", ""},
        {"X(?1)", "e:DELETE", T::Comando, "X(e:DELETE)", "X(?1)"},
        {"X(?1)", " E:1", T::Comando, "X( E:1)", "X(?1)"},
        // A template replaces the one before and runs nothing.
        {"OLD ?1", "B:INSERT INTO T VALUES (?1)", T::Nada, "", "INSERT INTO T VALUES (?1)"},
        {"OLD ?1", "B:", T::Nada, "", ""},
        {"INSERT INTO T VALUES (?1,?2)", "1<<;>>'a<<vbCrLf>>b'", T::Comando, "INSERT INTO T VALUES (1,'a\r\nb')",
         "INSERT INTO T VALUES (?1,?2)"},
        // Without a template a parameter line asks for nothing.
        {"", "1<<;>>2", T::Nada, "", ""},
        {"", "S:prog --x 1", T::Programa, "prog --x 1", ""},
        {"", "R:", T::Reinicio, "", ""},
        {"", "R:whatever", T::Reinicio, "", ""},
        {"", "r:", T::Nada, "", ""},
    };
    for (const CasoLinha& c : casos) {
        std::string modelo = c.modeloAntes;
        const AcaoLinhaScript a = InterpretaLinhaScript(c.linha, modelo);
        EXPECT_EQ(a.Tipo, c.tipo) << c.linha;
        EXPECT_EQ(a.Texto, c.texto) << c.linha;
        EXPECT_EQ(modelo, c.modeloDepois) << c.linha;
    }
}

class ScriptNoBanco : public ::testing::Test {
protected:
    void SetUp() override {
        teste::AbreComoInicio(pasta_.Caminho());
        AbreBancoCatalogo(ws_, NomeWsGravacao, db_, false);
        db_.Execute("CREATE TABLE TESTE_SCRIPT (A Long, B Text(50), CONSTRAINT pk PRIMARY KEY (A))", dao::dbFailOnError);
        EstadoPrograma.ReiniciarAposAtualizacao = false;
    }
    void TearDown() override {
        if (!ws_.IsNothing()) FechaBanco(ws_, db_);
        EstadoPrograma.ReiniciarAposAtualizacao = false;
        teste::FechaTudo();
    }
    long Conta(const std::string& onde) {
        dao::Recordset rs = db_.OpenRecordset("SELECT COUNT(*) FROM TESTE_SCRIPT WHERE " + onde, dao::dbOpenForwardOnly);
        return rs.Fields(0).Value().ToLong();
    }
    std::string Valor(long a) {
        dao::Recordset rs =
            db_.OpenRecordset("SELECT B FROM TESTE_SCRIPT WHERE A=" + std::to_string(a), dao::dbOpenForwardOnly);
        return rs.Eof() ? "<none>" : rs.Fields(0).Value().ToString();
    }

    teste::PastaDados pasta_;
    dao::Workspace ws_;
    dao::Database db_;
    std::string modelo_;
};

TEST_F(ScriptNoBanco, UmScriptInteiroComLinhasQueFalham) {
    const char* linhas[] = {
        "B:INSERT INTO TESTE_SCRIPT (A,B) VALUES (?1,?2)",
        "1<<;>>'um'",
        "2<<;>>'dois<<vbCrLf>>linhas'",
        "1<<;>>'repetido'",                  // violates the key: skipped
        "E:THIS IS NOT SQL",                 // does not parse: skipped
        "E:UPDATE NAO_EXISTE SET X=1",       // no such table: skipped
        "",
        "3<<;>>'tres'",
        "E:UPDATE TESTE_SCRIPT SET B='UM' WHERE A=1",
    };
    std::vector<bool> resultados;
    for (const char* l : linhas) resultados.push_back(ExecutaLinhaScript(ws_, db_, l, modelo_));
    EXPECT_EQ(resultados, (std::vector<bool>{true, true, true, false, false, false, true, true, true}));
    EXPECT_EQ(Conta("1=1"), 3);
    EXPECT_EQ(Valor(1), "UM");
    EXPECT_EQ(Valor(2), "dois\r\nlinhas");
    EXPECT_EQ(Valor(3), "tres");
    EXPECT_EQ(ws_.TransactionLevel(), 0);
}

TEST_F(ScriptNoBanco, ComandoQueFalhaNoMeioNaoDeixaNadaPelaMetadeNemTransacaoAberta) {
    ASSERT_TRUE(ExecutaLinhaScript(ws_, db_, "E:INSERT INTO TESTE_SCRIPT (A,B) VALUES (5,'cinco')", modelo_));
    // The second row of the select repeats key 5: the whole statement is undone.
    EXPECT_FALSE(ExecutaLinhaScript(
        ws_, db_, "E:INSERT INTO TESTE_SCRIPT (A,B) SELECT CodigoProduto + 1000000, 'x' FROM PRODUTO UNION ALL SELECT 5, 'y' FROM UMREGISTRO",
        modelo_));
    EXPECT_EQ(Conta("1=1"), 1);
    EXPECT_EQ(ws_.TransactionLevel(), 0);
    // Another program's writer is not blocked by anything this one left open.
    testsupport::OutroProgramaGravaCatalogo();
}

TEST_F(ScriptNoBanco, ReinicioEProgramas) {
    EXPECT_TRUE(ExecutaLinhaScript(ws_, db_, "R:", modelo_));
    EXPECT_TRUE(EstadoPrograma.ReiniciarAposAtualizacao);

    // A program line waits for the program to end.
    const std::string marca = pasta_.Caminho() + "marca.txt";
    EXPECT_TRUE(ExecutaLinhaScript(ws_, db_, "S:touch " + marca, modelo_));
    EXPECT_TRUE(std::filesystem::exists(marca));

    // A program that cannot be started is the caller's failure, not a skipped line.
    try {
        ExecutaLinhaScript(ws_, db_, "S:" + pasta_.Caminho() + "nao_existe_programa", modelo_);
        ADD_FAILURE() << "no error for a program that does not exist";
    } catch (const vb::Error& e) {
        EXPECT_NE(e.Number(), 0);
    }
}

}  // namespace
