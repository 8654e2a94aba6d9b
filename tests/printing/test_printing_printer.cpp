// The Printer object and the printer dialog, printing to PDF files read back with poppler.
#include "tests/printing/Pdf.h"
#include "tests/support/AplicacaoTeste.h"

#include "platform/forms/Printer.h"
#include "platform/forms/PrinterDialog.h"
#include "platform/forms/FileDialog.h"
#include "platform/vb/Err.h"
#include "tests/support/ErroVb.h"
#include "tests/support/Ponteiro.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTimer>
#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace {

class Impressora : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testsupport::CriaAplicacao("test_printing_printer"); }
    void SetUp() override
    {
        auto& p = vb::Printer();
        p.SetOrientation(vb::vbPRORPortrait);
        p.SetScaleMode(vb::vbPixels);
        p.SetFontName("Arial");
        p.SetFontSize(10);
        p.SetFontBold(false);
        p.SetFontItalic(false);
    }
    void TearDown() override
    {
        if (vb::Printer().DocumentOpen()) vb::Printer().EndDoc();
    }
    std::string Arquivo(const std::string& nome) const { return dir_.filePath(QString::fromStdString(nome)).toStdString(); }
    // Points on the PDF page for printer pixels (600 dpi, 6.35 mm margins).
    static double Pontos(double pixels) { return 18.0 + pixels * 72.0 / 600.0; }

    QTemporaryDir dir_;
};

using testsupport::NumeroErro;

TEST_F(Impressora, DialogoCanceladoLevantaErroSoComCancelError)
{
    teste::DialogoPdf dialogo(Arquivo("x.pdf"));
    dialogo.cancela = true;
    vb::PrinterDialog cdg;
    cdg.Flags = 0x14000C;
    EXPECT_EQ(NumeroErro([&] { cdg.ShowPrinter(); }), 0) << "without CancelError a cancel is silent";
    cdg.CancelError = true;
    EXPECT_EQ(NumeroErro([&] { cdg.ShowPrinter(); }), vb::err::CommonDialogCancel);
    EXPECT_EQ(dialogo.vezes, 2);
    EXPECT_EQ(dialogo.ultimasFlags, 0x14000C);
    dialogo.cancela = false;
    EXPECT_EQ(NumeroErro([&] { cdg.ShowPrinter(); }), 0);
    EXPECT_EQ(vb::Printer().Device().outputFileName().toStdString(), Arquivo("x.pdf"))
        << "the dialog sets up the printer object's own device";
}

TEST_F(Impressora, SemRespostaPossivelODialogoNaoEspera)
{
    // No handler on the offscreen platform: nobody could answer a real dialog.
    const auto anterior = vb::SetPrinterDialogHandler({});
    vb::PrinterDialog cdg;
    cdg.CancelError = true;
    EXPECT_EQ(NumeroErro([&] { cdg.ShowPrinter(); }), vb::err::PrinterError);
    vb::SetPrinterDialogHandler(anterior);
}

// The program's own dialog as a user meets it: what it offers, then a press on one of its
// buttons. The answer comes from the dialog's own event loop, once the dialog is up.
class RespostaDialogo {
public:
    explicit RespostaDialogo(std::function<void(QDialog&)> age) : age_(std::move(age)) { Agenda(); }
    bool Respondeu() const { return respondeu_; }

private:
    void Agenda()
    {
        QTimer::singleShot(10, [this] {
            auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!d || !d->isVisible()) {
                if (++tentativas_ < 500) Agenda();
                return;
            }
            respondeu_ = true;
            age_(*d);
        });
    }
    std::function<void(QDialog&)> age_;
    int tentativas_ = 0;
    bool respondeu_ = false;
};

void PressionaBotao(QDialog& d, const char* nome)
{
    auto* botao = d.findChild<QPushButton*>(nome);
    ASSERT_NE(botao, nullptr) << nome;
    testsupport::Clica(&d, testsupport::CentroVisivel(botao));
}

TEST_F(Impressora, ODialogoDoProgramaOfereceAsImpressorasEOPdf)
{
    vb::PrinterDialogTexts textos;
    textos.pdfFileName = "ZORNAK.pdf";
    std::vector<vb::SaveFileRequest> pedidos;
    std::optional<std::string> escolhido = Arquivo("saida.pdf");
    const auto anterior = vb::SetSaveFileHandler([&](const vb::SaveFileRequest& r) {
        pedidos.push_back(r);
        return escolhido;
    });
    QStringList sistema;
    for (const QPrinterInfo& i : QPrinterInfo::availablePrinters())
        sistema << (i.description().isEmpty() ? i.printerName() : i.description());

    // What shows: the toolkit's texts (here untranslated: this process installs no
    // translator), the system's printers, and the PDF output as the last printer, chosen when
    // the system has none. OK then asks where the PDF goes.
    QString titulo, grupo, rotulo, atual;
    QStringList itens, botoes;
    RespostaDialogo ok([&](QDialog& d) {
        titulo = d.windowTitle();
        if (auto* g = d.findChild<QGroupBox*>()) grupo = g->title();
        if (auto* l = d.findChild<QLabel*>()) rotulo = l->text();
        auto* combo = d.findChild<QComboBox*>("printers");
        for (int i = 0; combo && i < combo->count(); ++i) itens << combo->itemText(i);
        if (combo) {
            combo->setCurrentIndex(combo->count() - 1);
            atual = combo->currentText();
        }
        for (QPushButton* b : d.findChildren<QPushButton*>()) botoes << b->text();
        PressionaBotao(d, "ok");
    });
    QPrinter impressora(QPrinter::HighResolution);
    EXPECT_TRUE(vb::ShowProgramPrinterDialog(impressora, 0x14000C, textos));
    EXPECT_TRUE(ok.Respondeu());
    EXPECT_EQ(titulo, "Print");
    EXPECT_EQ(grupo, "Printer");
    EXPECT_EQ(rotulo, "&Name:");
    EXPECT_EQ(itens, sistema + QStringList{"Print to File (PDF)"});
    EXPECT_EQ(atual, "Print to File (PDF)");
    botoes.sort();
    EXPECT_EQ(botoes, (QStringList{"Cancel", "OK"}));
    ASSERT_EQ(pedidos.size(), 1u);
    EXPECT_EQ(pedidos[0].fileName, "ZORNAK.pdf");
    EXPECT_EQ(pedidos[0].title, "Print To File ...");
    EXPECT_EQ(impressora.outputFormat(), QPrinter::PdfFormat);
    EXPECT_EQ(impressora.outputFileName().toStdString(), Arquivo("saida.pdf"));

    // Without a printer of the system, the PDF output is the one offered from the start.
    if (sistema.isEmpty()) {
        RespostaDialogo inicial([&](QDialog& d) {
            auto* combo = d.findChild<QComboBox*>("printers");
            atual = combo ? combo->currentText() : QString();
            PressionaBotao(d, "cancel");
        });
        EXPECT_FALSE(vb::ShowProgramPrinterDialog(impressora, 0x14000C, textos));
        EXPECT_EQ(atual, "Print to File (PDF)");
    }

    // Cancel, and a cancelled save box, print nothing and leave the device as it was.
    QPrinter outra(QPrinter::HighResolution);
    outra.setOutputFileName(QString::fromStdString(Arquivo("antes.pdf")));
    RespostaDialogo cancela([](QDialog& d) { PressionaBotao(d, "cancel"); });
    EXPECT_FALSE(vb::ShowProgramPrinterDialog(outra, 0x14000C, textos));
    escolhido.reset();
    RespostaDialogo semArquivo([](QDialog& d) {
        auto* combo = d.findChild<QComboBox*>("printers");
        if (combo) combo->setCurrentIndex(combo->count() - 1);
        PressionaBotao(d, "ok");
    });
    EXPECT_FALSE(vb::ShowProgramPrinterDialog(outra, 0x14000C, textos));
    EXPECT_EQ(outra.outputFileName().toStdString(), Arquivo("antes.pdf"));
    EXPECT_EQ(pedidos.size(), 2u);
    vb::SetSaveFileHandler(anterior);
}

TEST_F(Impressora, PropriedadesInvalidasSaoRecusadasSemMudarNada)
{
    teste::DialogoPdf dialogo(Arquivo("x.pdf"));
    vb::PrinterDialog().ShowPrinter();
    auto& p = vb::Printer();
    EXPECT_DOUBLE_EQ(p.TwipsPerPixelX(), 2.4);
    EXPECT_DOUBLE_EQ(p.TwipsPerPixelY(), 2.4);
    for (int o : {0, 3, -1}) EXPECT_EQ(NumeroErro([&] { p.SetOrientation(o); }), vb::err::InvalidPropertyValue) << o;
    EXPECT_EQ(p.Orientation(), vb::vbPRORPortrait);
    for (int m : {0, 2, 7}) EXPECT_EQ(NumeroErro([&] { p.SetScaleMode(m); }), vb::err::InvalidPropertyValue) << m;
    EXPECT_EQ(p.ScaleMode(), vb::vbPixels);
    for (const char* f : {"", "No Such Face 123"})
        EXPECT_EQ(NumeroErro([&] { p.SetFontName(f); }), vb::err::InvalidPropertyValue) << f;
    EXPECT_EQ(p.FontName(), "Arial");
    EXPECT_EQ(NumeroErro([&] { p.SetFontSize(0); }), vb::err::InvalidPropertyValue);
    EXPECT_EQ(p.FontSize(), 10);
}

TEST_F(Impressora, PrintNaLinhaOuTerminandoALinha)
{
    teste::DialogoPdf dialogo(Arquivo("linhas.pdf"));
    vb::PrinterDialog().ShowPrinter();
    auto& p = vb::Printer();
    p.SetFontSize(12);
    const double largura = p.TextWidth("Alfa");
    const double altura = p.TextHeight();
    EXPECT_GT(largura, 0);
    // 12 points at 600 dpi: a line is a little more than 100 pixels.
    EXPECT_GT(altura, 100);
    EXPECT_LT(altura, 130);

    p.SetCurrentX(600);
    p.SetCurrentY(1200);
    p.Print("Alfa", false);
    EXPECT_DOUBLE_EQ(p.CurrentX(), 600 + largura);
    EXPECT_DOUBLE_EQ(p.CurrentY(), 1200);
    p.Print("Beta", true);
    EXPECT_DOUBLE_EQ(p.CurrentX(), 0);
    EXPECT_DOUBLE_EQ(p.CurrentY(), 1200 + altura);
    p.Print("Gama", true);

    // Twips are converted through the printer's resolution.
    p.SetScaleMode(vb::vbTwips);
    EXPECT_DOUBLE_EQ(p.CurrentY(), (1200 + 2 * altura) * 2.4);
    p.SetCurrentX(1440);
    p.SetCurrentY(1440 * 5);
    p.Print("Delta", true);
    p.EndDoc();

    const auto palavras = teste::PalavrasPdf(dialogo.Arquivo());
    ASSERT_EQ(palavras.size(), 3u) << teste::TextoPdf(dialogo.Arquivo());
    EXPECT_EQ(palavras[0].texto, "AlfaBeta") << "the second text continues where the first ended";
    EXPECT_NEAR(palavras[0].x, Pontos(600), 0.5);
    EXPECT_EQ(palavras[1].texto, "Gama");
    EXPECT_NEAR(palavras[1].x, Pontos(0), 0.5);
    EXPECT_GT(palavras[1].y, palavras[0].y + 10);
    EXPECT_EQ(palavras[2].texto, "Delta");
    EXPECT_NEAR(palavras[2].x, 18.0 + 72.0, 0.5) << "one inch from the printable area's left edge";
}

TEST_F(Impressora, PaginasContamENovoDocumentoRecomeca)
{
    teste::DialogoPdf dialogo(Arquivo("paginas.pdf"));
    vb::PrinterDialog().ShowPrinter();
    auto& p = vb::Printer();
    EXPECT_FALSE(p.DocumentOpen());
    EXPECT_EQ(p.Page(), 1);
    p.Print("um", true);
    EXPECT_TRUE(p.DocumentOpen());
    p.NewPage();
    EXPECT_EQ(p.Page(), 2);
    EXPECT_DOUBLE_EQ(p.CurrentY(), 0) << "a new page starts at the top";
    p.Print("dois", true);
    p.NewPage();
    p.Print("tres", true);
    EXPECT_EQ(p.Page(), 3);
    p.EndDoc();
    EXPECT_FALSE(p.DocumentOpen());
    EXPECT_EQ(p.Page(), 1);
    EXPECT_EQ(teste::NumeroPaginasPdf(dialogo.Arquivo()), 3);
    const auto paginas = teste::PaginasPdf(dialogo.Arquivo());
    ASSERT_EQ(paginas.size(), 3u);
    EXPECT_NE(paginas[2].find("tres"), std::string::npos);

    // A document with nothing drawn sends nothing.
    dialogo.Para(Arquivo("vazio.pdf"));
    vb::PrinterDialog().ShowPrinter();
    p.EndDoc();
    EXPECT_FALSE(QFile::exists(QString::fromStdString(dialogo.Arquivo())));
}

TEST_F(Impressora, PaisagemEFontesNegritoItalico)
{
    teste::DialogoPdf dialogo(Arquivo("paisagem.pdf"));
    vb::PrinterDialog().ShowPrinter();
    auto& p = vb::Printer();
    p.SetOrientation(vb::vbPRORLandscape);
    p.SetFontBold(true);
    p.Print("Negrito", true);
    p.SetFontBold(false);
    p.SetFontItalic(true);
    p.Print("Italico", true);
    p.EndDoc();
    const std::string info = teste::Executa("pdfinfo", {QString::fromStdString(dialogo.Arquivo())});
    EXPECT_NE(info.find("842 x 595"), std::string::npos) << info;
    const std::string fontes = teste::FontesPdf(dialogo.Arquivo());
    EXPECT_NE(fontes.find("LiberationSans-Bold"), std::string::npos) << fontes;
    EXPECT_NE(fontes.find("LiberationSans-Italic"), std::string::npos) << fontes;
}

TEST_F(Impressora, PaintPictureEscalaNoRetangulo)
{
    teste::DialogoPdf dialogo(Arquivo("figura.pdf"));
    vb::PrinterDialog().ShowPrinter();
    auto& p = vb::Printer();
    QImage imagem(10, 5, QImage::Format_RGB32);
    imagem.fill(Qt::red);
    // One inch from the printable area's corner, two inches wide and one high.
    p.PaintPicture(vb::Picture(QPixmap::fromImage(imagem)), 600, 600, 1200, 600);
    EXPECT_EQ(NumeroErro([&] { p.PaintPicture(vb::Picture(), 0, 0, 10, 10); }), vb::err::InvalidPicture);
    p.EndDoc();

    const QString prefixo = dir_.filePath("figura");
    teste::Executa("pdftoppm", {"-r", "72", "-png", "-singlefile", QString::fromStdString(dialogo.Arquivo()), prefixo});
    QImage pagina(prefixo + ".png");
    ASSERT_FALSE(pagina.isNull());
    // At 72 dpi: the margin is 18 pixels, the picture spans 90..234 across and 90..162 down.
    const auto vermelho = [&](int x, int y) {
        const QColor c(pagina.pixel(x, y));
        return c.red() > 230 && c.green() < 30 && c.blue() < 30;
    };
    const auto branco = [&](int x, int y) { return QColor(pagina.pixel(x, y)).lightness() > 250; };
    EXPECT_TRUE(vermelho(100, 100));
    EXPECT_TRUE(vermelho(225, 155));
    EXPECT_TRUE(branco(80, 100));
    EXPECT_TRUE(branco(245, 100));
    EXPECT_TRUE(branco(100, 172));
}

}  // namespace
