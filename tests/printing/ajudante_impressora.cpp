// A program that starts as the catalogue does, in the program language given as its argument
// ("P", "E" or "I"), and asks for a printer as a printout does, for test_printing_idioma to
// start under a chosen LANG. The printer box shown is the program's own dialog; it prints
// what the box shows, one per line ("titulo: ...", "grupo: ...", "rotulo: ...", "impressora:
// ..." for each entry, "botao: ..."), chooses the PDF output and presses OK with the pointer,
// prints the title of the save box that then asks where the PDF goes ("arquivo: ..."),
// cancels it and prints the set-up's answer ("resposta: 0").
#include "catalog/main_window/ModuloImpressao.h"
#include "catalog/startup/Modulo.h"
#include "platform/forms/App.h"
#include "platform/forms/PrinterDialog.h"
#include "tests/support/Ponteiro.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <functional>

namespace {

void Escreve(const char* tipo, const QString& texto) { std::printf("%s: %s\n", tipo, texto.toUtf8().constData()); }

// Waits for a modal window other than `anterior` and hands it to `age`.
void QuandoAparecer(QWidget* anterior, const std::function<void(QDialog&)>& age) {
    // A timer of the application's, so that nothing of the wait outlives the program.
    auto* procura = new QTimer(QCoreApplication::instance());
    procura->setInterval(10);
    QObject::connect(procura, &QTimer::timeout, [procura, anterior, age] {
        auto* janela = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!janela || janela == anterior || !janela->isVisible()) return;
        procura->stop();
        procura->deleteLater();
        age(*janela);
    });
    procura->start();
}

void ClicaBotao(QPushButton* b) { testsupport::Clica(b->window(), b->mapTo(b->window(), b->rect().center())); }

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    vb::SubstituteOriginalFonts();
    vb::LoadToolkitTranslations();
    if (argc < 2) return 2;
    EstadoPrograma.Idioma = argv[1];
    // The program's own dialog, which the offscreen platform would otherwise refuse to show.
    vb::SetPrinterDialogHandler([](QPrinter& printer, long flags, const vb::PrinterDialogTexts& textos) {
        return vb::ShowProgramPrinterDialog(printer, flags, textos);
    });
    QuandoAparecer(nullptr, [](QDialog& caixa) {
        Escreve("titulo", caixa.windowTitle());
        for (QGroupBox* g : caixa.findChildren<QGroupBox*>()) Escreve("grupo", g->title());
        for (QLabel* l : caixa.findChildren<QLabel*>())
            if (!l->text().isEmpty()) Escreve("rotulo", l->text());
        auto* impressoras = caixa.findChild<QComboBox*>();
        for (int i = 0; impressoras && i < impressoras->count(); ++i) Escreve("impressora", impressoras->itemText(i));
        QPushButton* ok = nullptr;
        for (QPushButton* b : caixa.findChildren<QPushButton*>()) {
            if (!b->isVisible()) continue;
            Escreve("botao", b->text());
            if (b->objectName() == "ok") ok = b;
        }
        std::fflush(stdout);
        if (!impressoras || !ok) {
            caixa.reject();
            return;
        }
        impressoras->setCurrentIndex(impressoras->count() - 1);
        QuandoAparecer(&caixa, [](QDialog& salvar) {
            Escreve("arquivo", salvar.windowTitle());
            std::fflush(stdout);
            salvar.reject();
        });
        ClicaBotao(ok);
    });
    Escreve("resposta", QString::number(ConfiguraImpressora(1, "Arial") ? 1 : 0));
    return 0;
}
