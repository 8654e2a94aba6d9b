// The cart screen: quantities within 1 and 32000, deletion and the row selected afterwards,
// sorting, the cross references, the text file (save box, e-mail) and the printout.
#include "tests/aux_window/Ambiente.h"

#include "catalog/controls/ModuloGrade.h"
#include "common/modTraducao.h"
#include "platform/forms/FileDialog.h"
#include "platform/forms/Keys.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPixmap>

#include <gmock/gmock.h>

namespace {

using ::testing::HasSubstr;

class AuxCarrinho : public auxteste::JanelaAuxiliarTeste {
protected:
    void SetUp() override {
        JanelaAuxiliarTeste::SetUp();
        const std::vector<long> codigos = Codigos("SELECT CodigoProduto FROM PRODUTO ORDER BY CodigoProduto");
        ASSERT_GE(codigos.size(), 3u);
        a_ = codigos[0];
        b_ = codigos[1];
        c_ = codigos[2];
    }
    // Three rows: two numbered, one without a number (sorts last by number).
    void TresLinhas() {
        PoeNoCarrinho(a_, "12345678", "ALFA", 5);
        PoeNoCarrinho(b_, "22222222", std::string(50, 'B'), 31999);   // the column's longest
        PoeNoCarrinho(c_, "", "CHARLIE", 1);
    }
    std::vector<long> OrdemNaLista() {
        std::vector<long> r;
        dao::Recordset copia = J().dtcTHGrid1.GetRecordset().Clone();
        for (; !copia.Eof(); copia.MoveNext()) r.push_back(copia.Value("CodigoProduto").ToLong());
        return r;
    }
    long a_ = 0, b_ = 0, c_ = 0;
};

struct CasoQuantidade {
    int inicial;
    std::uint8_t coluna;   // 0 plus, 1 minus
    int botao;
    int esperada;
};

TEST_F(AuxCarrinho, QuantityStepsStayBetween1And32000) {
    PoeNoCarrinho(a_, "12345678", "ALFA", 1);
    const CasoQuantidade casos[] = {
        {5, 0, vb::vbLeftButton, 6},      {5, 0, vb::vbRightButton, 15},   {31999, 0, vb::vbLeftButton, 32000},
        {31995, 0, vb::vbRightButton, 32000}, {32000, 0, vb::vbLeftButton, 32000}, {20, 1, vb::vbRightButton, 10},
        {7, 1, vb::vbRightButton, 1},     {1, 1, vb::vbLeftButton, 1},     {2, 1, vb::vbLeftButton, 1},
    };
    for (const CasoQuantidade& c : casos) {
        SCOPED_TRACE(std::to_string(c.inicial) + (c.coluna == 0 ? " plus" : " minus") +
                     (c.botao == vb::vbRightButton ? " right" : " left"));
        AlteraQuantidadeCarrinho(a_, c.inicial);
        auxteste::Janela& j = Abre("2|" + std::to_string(a_));
        j.grdTHGrid1_ImageClick(c.coluna, c.botao);
        EXPECT_EQ(Quantidade(a_), c.esperada);
        EXPECT_EQ(Atual("Quantidade").ToLong(), c.esperada) << "the list shows the new quantity";
        EXPECT_EQ(Atual("CodigoProduto").ToLong(), a_);
    }
}

TEST_F(AuxCarrinho, KeysOnTheListChangeAndDeleteOnce) {
    TresLinhas();
    auxteste::Janela& j = Abre("2|" + std::to_string(a_));
    j.grdTHGrid1->SetFocus();
    auxteste::Processa();
    ASSERT_NE(j.ActiveControl(), nullptr);
    ASSERT_EQ(j.ActiveControl()->TypeName(), "THGrid");

    int k = '+';
    j.TeclaPress(k);
    EXPECT_EQ(Quantidade(a_), 6);
    EXPECT_EQ(k, '+') << "the character is not swallowed";
    k = '-';
    j.TeclaPress(k);
    k = '-';
    j.TeclaPress(k);
    EXPECT_EQ(Quantidade(a_), 4);

    int del = vb::vbKeyDelete;
    j.TeclaDown(del, 0);
    EXPECT_EQ(del, 0) << "swallowed at the press";
    EXPECT_EQ(LinhasCarrinho(), 3) << "nothing goes at the press";
    del = vb::vbKeyDelete;
    j.TeclaUp(del, 0);
    EXPECT_EQ(LinhasCarrinho(), 2);
    EXPECT_EQ(Quantidade(a_), -1) << "the current row went";
}

TEST_F(AuxCarrinho, DeletingChoosesTheRowToSelect) {
    struct Caso {
        const char* nome;
        int linhas;          // rows in the cart
        int apagada;         // position of the deleted row in the list (0-based)
        int selecionada;     // position (in the list before) of the row selected after, -1 none
        int linhaGrade;      // grid row after
    };
    const Caso casos[] = {
        {"middle row: the next one in the same grid row", 3, 1, 2, 1},
        {"last row: the previous one a grid row higher", 3, 2, 1, 1},
        {"first row: the next one", 3, 0, 1, 0},
        {"only row: nothing", 1, 0, -1, 255},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        ExcluiProdutoCarrinho(0);
        if (c.linhas == 3) {
            TresLinhas();
        } else {
            PoeNoCarrinho(a_, "12345678", "ALFA", 5);
        }
        const std::vector<long> ordem = c.linhas == 3 ? std::vector<long>{a_, b_, c_} : std::vector<long>{a_};
        auxteste::Janela& j = Abre("2|" + std::to_string(ordem[static_cast<std::size_t>(c.apagada)]));
        ASSERT_EQ(OrdemNaLista(), ordem);
        j.grdTHGrid1_ImageClick(2, vb::vbLeftButton);
        EXPECT_EQ(LinhasCarrinho(), c.linhas - 1);
        if (c.selecionada < 0) {
            EXPECT_TRUE(J().dtcTHGrid1.GetRecordset().Eof());
            EXPECT_EQ(ObtemLinhaSelecionadaGrid(*j.grdTHGrid1), 255);
        } else {
            EXPECT_EQ(Atual("CodigoProduto").ToLong(), ordem[static_cast<std::size_t>(c.selecionada)]);
            EXPECT_EQ(ObtemLinhaSelecionadaGrid(*j.grdTHGrid1), c.linhaGrade);
        }
    }
}

TEST_F(AuxCarrinho, DeletingInALongListKeepsTheGridRow) {
    const std::vector<long> codigos = Codigos("SELECT TOP 20 CodigoProduto FROM PRODUTO ORDER BY CodigoProduto");
    ASSERT_EQ(codigos.size(), 20u);
    for (std::size_t i = 0; i < codigos.size(); ++i)
        PoeNoCarrinho(codigos[i], std::to_string(10000000 + i), "ITEM " + std::to_string(i), 1);
    // The list scrolled so that a middle row is on a grid row other than the first.
    auxteste::Janela& j = Abre("2|" + std::to_string(codigos[10]));
    const int meio = ObtemLinhaSelecionadaGrid(*j.grdTHGrid1);
    ASSERT_NE(meio, 255);
    j.grdTHGrid1_ImageClick(2, vb::vbLeftButton);
    EXPECT_EQ(Atual("CodigoProduto").ToLong(), codigos[11]);
    EXPECT_EQ(ObtemLinhaSelecionadaGrid(*j.grdTHGrid1), meio);
}

TEST_F(AuxCarrinho, EmptyCartDoesNothingAndSaysSo) {
    auxteste::Janela& j = Abre("2|0");
    j.grdTHGrid1_ImageClick(0, vb::vbLeftButton);
    j.grdTHGrid1_ImageClick(2, vb::vbLeftButton);
    EXPECT_EQ(caixas_.Count(), 0u);
    j.lblGerarArquivo_Click();
    j.lblEnviarEmail_Click();
    j.lblImprimir_Click();
    ASSERT_EQ(caixas_.Count(), 3u);
    for (const auto& caixa : caixas_.Boxes()) {
        EXPECT_EQ(caixa.prompt, Traduz(5) + ".");
        EXPECT_EQ(caixa.buttons, vb::vbCritical);
        EXPECT_EQ(caixa.title, Traduz(0));
    }
}

TEST_F(AuxCarrinho, SortsByNumberOrDescriptionAndColoursTheHeader) {
    PoeNoCarrinho(a_, "22222222", "ALFA", 1);
    PoeNoCarrinho(b_, "", "BETA", 1);
    PoeNoCarrinho(c_, "12345678", "CHARLIE", 1);
    auxteste::Janela& j = Abre("2|0");
    EXPECT_EQ(OrdemNaLista(), (std::vector<long>{c_, a_, b_})) << "a product without a number sorts last";
    EXPECT_EQ(j.lblNumeroEmpresaC->ForeColor(), 1910234);
    EXPECT_EQ(j.lblDescricaoC->ForeColor(), 0);
    EXPECT_EQ(Atual("NumeroEmpresaFormatado").ToString(), "12-34-5678");
    j.lblDescricaoC->Click();
    EXPECT_EQ(OrdemNaLista(), (std::vector<long>{a_, b_, c_}));
    EXPECT_EQ(j.OrdemCarrinho, "2");
    EXPECT_EQ(j.lblNumeroEmpresaC->ForeColor(), 0);
    EXPECT_EQ(j.lblDescricaoC->ForeColor(), 1910234);
    // A change keeps the chosen order.
    j.grdTHGrid1_ImageClick(0, vb::vbLeftButton);
    EXPECT_EQ(OrdemNaLista(), (std::vector<long>{a_, b_, c_}));
}

TEST_F(AuxCarrinho, TextsFollowTheLanguage) {
    PoeNoCarrinho(a_, "12345678", "ALFA", 1);
    for (const char* idioma : {"P", "E", "I"}) {
        SCOPED_TRACE(idioma);
        EstadoPrograma.Idioma = idioma;
        auxteste::Janela& j = Abre("2|0");
        EXPECT_EQ(j.lblNumeroEmpresaC->Caption(), vb::UCase(Traduz(32, idioma)));
        EXPECT_EQ(j.lblDescricaoC->ToolTipText(), Traduz(39, idioma) + " " + vb::UCase(Traduz(40, idioma)));
        EXPECT_EQ(j.lblQtdC->ToolTipText(), Traduz(60, idioma));
        EXPECT_EQ(j.lblVoltar->Caption(), vb::UCase(Traduz(58, idioma)));
        const std::string mes = vb::Mid(FormataData(vb::Now(), idioma), 4, 3);
        EXPECT_THAT(j.GeraNomeArquivoCarrinho(), HasSubstr("-" + mes + "-"));
    }
    EstadoPrograma.Idioma = "P";
}

TEST_F(AuxCarrinho, CrossReferencesOfTheCurrentRow) {
    const std::vector<long> comRef =
        Codigos("SELECT CodigoProduto FROM REFERENCIACRUZADA GROUP BY CodigoProduto ORDER BY CodigoProduto");
    const std::vector<long> semRef = Codigos(
        "SELECT CodigoProduto FROM PRODUTO WHERE CodigoProduto NOT IN (SELECT CodigoProduto FROM REFERENCIACRUZADA) "
        "ORDER BY CodigoProduto");
    ASSERT_FALSE(comRef.empty());
    ASSERT_FALSE(semRef.empty());
    const long refs = ObtemValorSQL("SELECT Count(*) FROM REFERENCIACRUZADA WHERE CodigoProduto=" +
                                    std::to_string(comRef[0]), vb::Variant(0L)).ToLong();
    PoeNoCarrinho(comRef[0], "11111111", "COM", 1);
    PoeNoCarrinho(semRef[0], "99999999", "SEM", 1);
    auxteste::Janela& j = Abre("2|" + std::to_string(comRef[0]));
    const std::string texto = (*j.lblNroReferenciaC)(1).Caption();
    EXPECT_EQ(static_cast<long>(vb::Split(texto, "  -  ").size()), refs) << texto;
    EXPECT_THAT(texto, HasSubstr(" ("));
    EXPECT_EQ((*j.lblNroReferenciaC)(0).Caption(), Traduz(42) + ":");
    Abre("2|" + std::to_string(semRef[0]));
    EXPECT_EQ((*J().lblNroReferenciaC)(1).Caption(), "");
}

class AuxArquivoCarrinho : public AuxCarrinho {
protected:
    void SetUp() override {
        AuxCarrinho::SetUp();
        anterior_ = vb::SetSaveFileHandler([this](const vb::SaveFileRequest& r) -> std::optional<std::string> {
            pedidos_.push_back(r);
            if (cancela_) return std::nullopt;
            return destino_;
        });
        destino_ = saida_.filePath("carrinho.txt").toStdString();
    }
    void TearDown() override {
        vb::SetSaveFileHandler(anterior_);
        AuxCarrinho::TearDown();
    }
    static std::vector<std::string> Linhas(const QByteArray& dados) {
        EXPECT_FALSE(dados.contains("\n") && dados.count("\n") != dados.count("\r\n")) << "every line ends with CR LF";
        std::vector<std::string> r = vb::Split(dados.toStdString(), "\r\n");
        if (!r.empty() && r.back().empty()) r.pop_back();
        return r;
    }
    QTemporaryDir saida_;
    std::string destino_;
    bool cancela_ = false;
    std::vector<vb::SaveFileRequest> pedidos_;
    vb::SaveFileHandler anterior_;
};

TEST_F(AuxArquivoCarrinho, ExportWritesFixedWidthColumnsInScreenOrder) {
    TresLinhas();
    auxteste::Janela& j = Abre("2|" + std::to_string(c_));
    j.lblGerarArquivo_Click();

    ASSERT_EQ(pedidos_.size(), 1u);
    const vb::SaveFileRequest& r = pedidos_[0];
    EXPECT_EQ(r.title, Traduz(85) + " - " + Traduz(0));
    EXPECT_EQ(r.filter, "TXT (*.txt)|*.txt");
    EXPECT_EQ(r.flags, 6);
    EXPECT_EQ(r.initDir, ObtemPastaDesktop(false));
    EXPECT_THAT(r.fileName, ::testing::MatchesRegex("ZORNAK_[0-9]{2}-[A-Z]{3}-[0-9]{4}_[0-9]{2}-[0-9]{2}-[0-9]{2}\\.txt"));

    ASSERT_EQ(caixas_.Count(), 1u);
    EXPECT_EQ(caixas_.Last().prompt, vb::Replace(Traduz(87), "|1|", destino_) + ".");
    EXPECT_EQ(caixas_.Last().buttons, vb::vbInformation);

    QFile f(QString::fromStdString(destino_));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray dados = f.readAll();
    EXPECT_TRUE(dados.contains("N\xC2\xBA ZORNAK")) << "UTF-8";
    const std::vector<std::string> l = Linhas(dados);
    ASSERT_EQ(l.size(), 6u);
    EXPECT_EQ(l[0], Traduz(0) + "     1.0     09-DEZ-2026");
    EXPECT_EQ(l[1], "");
    EXPECT_EQ(l[2], "N\xC2\xBA ZORNAK" + std::string(7, ' ') + "DESCRI\xC3\x87\xC3\x83O" + std::string(42, ' ') +
                        "  QTD   N\xC2\xBA REFER\xC3\x8A" "NCIA");
    auto refs = [](long codigo) { return vb::Join(MontaTextoReferenciasCruzadas(codigo, ""), " - "); };
    EXPECT_EQ(l[3], "12-34-5678      ALFA" + std::string(47, ' ') + "    5   " + refs(a_));
    EXPECT_EQ(l[4], "22-22-2222      " + std::string(50, 'B') + " 31999   " + refs(b_));
    const std::string cod = "(COD:" + std::to_string(c_) + ")";
    EXPECT_EQ(l[5], cod + std::string(16 - cod.size(), ' ') + "CHARLIE" + std::string(44, ' ') + "    1   " + refs(c_));
    EXPECT_EQ(Atual("CodigoProduto").ToLong(), c_) << "the list keeps its place";
}

// The widths count characters, not bytes: a description of accented letters as long as the
// cart column allows fills the field with one blank left, and the columns after it stay put.
TEST_F(AuxArquivoCarrinho, AccentedDescriptionsAreMeasuredInCharacters) {
    std::string longa;
    for (int i = 0; i < 50; ++i) longa += "\xC3\x87";   // "Ç" fifty times: 100 bytes
    PoeNoCarrinho(a_, "12345678", longa, 7);
    Abre("2|0").lblGerarArquivo_Click();
    QFile f(QString::fromStdString(destino_));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const std::vector<std::string> l = Linhas(f.readAll());
    ASSERT_EQ(l.size(), 4u);
    EXPECT_EQ(l[3], "12-34-5678      " + longa + "     7   " + vb::Join(MontaTextoReferenciasCruzadas(a_, ""), " - "));
}

TEST_F(AuxArquivoCarrinho, CancelledSaveWritesNothingAndSaysNothing) {
    TresLinhas();
    cancela_ = true;
    Abre("2|0").lblGerarArquivo_Click();
    EXPECT_EQ(caixas_.Count(), 0u);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(destino_)));
}

TEST_F(AuxArquivoCarrinho, UnwritablePlaceReportsTheError) {
    TresLinhas();
    destino_ = saida_.filePath("no/such/folder/carrinho.txt").toStdString();
    Abre("2|0").lblGerarArquivo_Click();
    ASSERT_EQ(caixas_.Count(), 1u);
    EXPECT_THAT(caixas_.Last().prompt, ::testing::Not(HasSubstr(vb::Replace(Traduz(87), "|1|", ""))))
        << "a failure is never reported as success";
    EXPECT_EQ(vb::Screen().MousePointer(), vb::vbDefault);
}

TEST_F(AuxArquivoCarrinho, EmailHandsTheFileToTheMailProgram) {
    TresLinhas();
    QTemporaryDir bin;
    const QString registro = bin.filePath("chamada.txt");
    QFile script(bin.filePath("xdg-email"));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(("#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + registro.toStdString() + ".tmp'\nmv '" +
                  registro.toStdString() + ".tmp' '" + registro.toStdString() + "'\n").c_str());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QByteArray pathAntigo = qgetenv("PATH");
    qputenv("PATH", bin.path().toUtf8() + ":" + pathAntigo);

    Abre("2|0").lblEnviarEmail_Click();
    EXPECT_TRUE(auxteste::Espera([&] { return QFile::exists(registro); }));
    qputenv("PATH", pathAntigo);

    QFile f(registro);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const std::vector<std::string> args = vb::Split(QString::fromUtf8(f.readAll()).trimmed().toStdString(), "\n");
    ASSERT_EQ(args.size(), 2u);
    EXPECT_EQ(args[0], "--attach");
    EXPECT_EQ(QFileInfo(QString::fromStdString(args[1])).absolutePath(), QDir(QDir::tempPath()).absolutePath());
    QFile anexo(QString::fromStdString(args[1]));
    ASSERT_TRUE(anexo.open(QIODevice::ReadOnly));
    EXPECT_EQ(Linhas(anexo.readAll()).size(), 6u);
    anexo.remove();
    EXPECT_EQ(caixas_.Count(), 0u);
}

TEST_F(AuxArquivoCarrinho, EmailWithoutAMailProgramReportsTheError) {
    TresLinhas();
    const QByteArray pathAntigo = qgetenv("PATH");
    QTemporaryDir vazio;
    qputenv("PATH", vazio.path().toUtf8());
    Abre("2|0").lblEnviarEmail_Click();
    qputenv("PATH", pathAntigo);
    ASSERT_EQ(caixas_.Count(), 1u);
    EXPECT_EQ(vb::Screen().MousePointer(), vb::vbDefault);
}

TEST_F(AuxCarrinho, PrintGetsEveryRowFromTheFirst) {
    TresLinhas();
    std::vector<long> impressos;
    frmZornak2Form::Ligacoes().ImprimirCarrinho = [&](dao::Recordset& rs) {
        for (; !rs.Eof(); rs.MoveNext()) {
            impressos.push_back(rs.Value("CodigoProduto").ToLong());
            // The fields the printout reads.
            EXPECT_NO_THROW(rs.Value("NumeroEmpresaFormatado"));
            EXPECT_NO_THROW(rs.Value("DescricaoProduto"));
            EXPECT_NO_THROW(rs.Value("Quantidade"));
        }
    };
    auxteste::Janela& j = Abre("2|" + std::to_string(c_));
    int ctrlP = vb::vbKeyP;
    j.TeclaDown(ctrlP, vb::vbCtrlMask);
    EXPECT_EQ(ctrlP, 0);
    EXPECT_EQ(impressos, (std::vector<long>{a_, b_, c_}));
    EXPECT_EQ(Atual("CodigoProduto").ToLong(), c_) << "the list keeps its place";
}

TEST_F(AuxCarrinho, PrintWithoutThePrinterSaysItIsNotAvailable) {
    TresLinhas();
    Abre("2|0").lblImprimir_Click();
    ASSERT_EQ(caixas_.Count(), 1u);
    EXPECT_THAT(caixas_.Last().prompt, HasSubstr("not available"));
}

TEST_F(AuxCarrinho, Screenshot) {
    TresLinhas();
    PoeNoCarrinho(Codigos("SELECT CodigoProduto FROM PRODUTO ORDER BY CodigoProduto").at(3), "33445566",
                  "FILTRO DE \xC3\x93LEO", 12);
    auxteste::Janela& j = Abre("2|" + std::to_string(a_));
    auxteste::Processa();
    QDir().mkpath(ZK_SCREENSHOT_DIR);
    const QPixmap imagem = j.Window()->grab();
    EXPECT_TRUE(imagem.save(QString(ZK_SCREENSHOT_DIR) + "/aux_window_carrinho.png"));
}

}  // namespace
