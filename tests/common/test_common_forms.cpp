// Whether a window of the program is loaded, by its exact name.
#include "common/Modulo.h"
#include "platform/forms/Form.h"
#include "tests/support/AplicacaoTeste.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace {

class Janela : public vb::Form {
public:
    explicit Janela(std::string nome) : Form(std::move(nome)) {}
};

TEST(VerificaFormularioCarregadoTeste, OnlyALoadedWindowOfExactlyThatName) {
    testsupport::CriaAplicacao("test_common_forms");
    Janela principal("frmZornak");
    Janela auxiliar("frmZornak2");

    EXPECT_FALSE(VerificaFormularioCarregado("frmZornak"));   // made, not loaded yet

    principal.Load();
    struct Caso { const char* nome; bool carregado; };
    const Caso casos[] = {
        {"frmZornak", true},
        {"FRMZORNAK", false},    // case counts
        {"frmzornak", false},
        {"frmZornak2", false},   // not loaded
        {"frmZorna", false},     // no prefix match
        {"frmZornak ", false},
        {"", false},
    };
    for (const Caso& c : casos) EXPECT_EQ(VerificaFormularioCarregado(c.nome), c.carregado) << c.nome;

    auxiliar.Load();
    EXPECT_TRUE(VerificaFormularioCarregado("frmZornak2"));
    principal.Unload();
    EXPECT_FALSE(VerificaFormularioCarregado("frmZornak"));
    EXPECT_TRUE(VerificaFormularioCarregado("frmZornak2"));
    auxiliar.Unload();
    EXPECT_FALSE(VerificaFormularioCarregado("frmZornak2"));
}

}  // namespace
