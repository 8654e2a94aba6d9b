// The cart screen's print button with the real cart printout, printed to a PDF file.
#include "tests/aux_window/Ambiente.h"

#include "catalog/main_window/ModuloImpressao.h"
#include "tests/printing/Pdf.h"

#include <gmock/gmock.h>

namespace {

using ::testing::HasSubstr;

class AuxImpressao : public auxteste::JanelaAuxiliarTeste {
protected:
    std::string Arquivo() const { return saida_.filePath("carrinho.pdf").toStdString(); }
    QTemporaryDir saida_;
};

TEST_F(AuxImpressao, PrintsEveryCartRowAndLeavesTheListInPlace) {
    const std::vector<long> c = Codigos("SELECT TOP 3 CodigoProduto FROM PRODUTO ORDER BY CodigoProduto");
    ASSERT_EQ(c.size(), 3u);
    PoeNoCarrinho(c[0], "12345678", "PRIMEIRO ITEM", 4);
    PoeNoCarrinho(c[1], "", "SEGUNDO ITEM", 7);
    PoeNoCarrinho(c[2], "22222222", "TERCEIRO ITEM", 9);
    frmZornak2Form::Ligacoes().ImprimirCarrinho = [](dao::Recordset& rs) { ImprimirCarrinho(rs); };
    teste::DialogoPdf dialogo(Arquivo());
    auxteste::Janela& j = Abre("2|" + std::to_string(c[2]));
    j.lblImprimir_Click();
    EXPECT_EQ(dialogo.vezes, 1);
    const std::string texto = teste::TextoPdf(Arquivo());
    for (const char* d : {"PRIMEIRO ITEM", "SEGUNDO ITEM", "TERCEIRO ITEM"}) EXPECT_THAT(texto, HasSubstr(d));
    EXPECT_THAT(texto, HasSubstr("12-34-5678"));
    EXPECT_THAT(texto, HasSubstr("(COD:" + std::to_string(c[1]) + ")"));
    EXPECT_EQ(Atual("CodigoProduto").ToLong(), c[2]) << "the list keeps its place";
    EXPECT_EQ(caixas_.Count(), 0u);
}

TEST_F(AuxImpressao, CancelledPrinterBoxPrintsNothing) {
    PoeNoCarrinho(Codigos("SELECT TOP 1 CodigoProduto FROM PRODUTO ORDER BY CodigoProduto").at(0), "12345678", "ITEM", 1);
    frmZornak2Form::Ligacoes().ImprimirCarrinho = [](dao::Recordset& rs) { ImprimirCarrinho(rs); };
    teste::DialogoPdf dialogo(Arquivo());
    dialogo.cancela = true;
    Abre("2|0").lblImprimir_Click();
    EXPECT_EQ(dialogo.vezes, 1);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Arquivo())));
    EXPECT_EQ(caixas_.Count(), 0u);
}

}  // namespace
