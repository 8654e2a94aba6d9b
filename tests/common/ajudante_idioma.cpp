// A program that starts as both programs do and shows one of the toolkit's own windows in
// the language of the system it runs on, for test_common_idioma to start under a chosen
// LANG. It prints the window's labels and buttons, one per line ("rotulo: ...", "botao:
// ..."), leaves it through its "no" or cancel button and prints the answer.
//   ajudante_idioma pergunta   a question box (Yes/No), answered No with the pointer
//   ajudante_idioma login      the proxy log-in dialog, cancelled
//   ajudante_idioma arquivo    the save box, cancelled
#include "common/modInternet.h"
#include "platform/forms/App.h"
#include "platform/forms/FileDialog.h"
#include "platform/forms/QtMessageBox.h"
#include "platform/vb/MsgBox.h"
#include "tests/support/Ponteiro.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

namespace {

void Escreve(const char* tipo, const QString& texto) { std::printf("%s: %s\n", tipo, texto.toUtf8().constData()); }

// Waits for the modal window, prints what it shows and hands it to `age`.
void QuandoAparecer(const std::function<void(QDialog&)>& age) {
    // A timer of the application's, so that nothing of the wait outlives the program.
    auto* procura = new QTimer(QCoreApplication::instance());
    procura->setInterval(10);
    QObject::connect(procura, &QTimer::timeout, [procura, age] {
        auto* janela = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!janela || !janela->isVisible()) return;
        procura->stop();
        procura->deleteLater();
        for (QLabel* l : janela->findChildren<QLabel*>())
            if (!l->text().isEmpty()) Escreve("rotulo", l->text());
        for (QPushButton* b : janela->findChildren<QPushButton*>())
            if (b->isVisible()) Escreve("botao", b->text());
        std::fflush(stdout);
        age(*janela);
    });
    procura->start();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    vb::SubstituteOriginalFonts();
    vb::LoadToolkitTranslations();
    TraduzDialogoProxy();
    const std::string modo = argc > 1 ? argv[1] : "";
    if (modo == "pergunta") {
        vb::InstallQtMessageBox();
        QuandoAparecer([](QDialog& janela) {
            // The user presses the box's second button, its "no".
            auto* caixa = qobject_cast<QMessageBox*>(&janela);
            QPushButton* nao = caixa ? qobject_cast<QPushButton*>(caixa->button(QMessageBox::No)) : nullptr;
            if (!nao) {
                janela.reject();
                return;
            }
            testsupport::Clica(nao, nao->mapTo(nao->window(), nao->rect().center()));
        });
        Escreve("resposta", QString::number(vb::MsgBox("Excluir?", vb::vbYesNo | vb::vbQuestion, "Catálogo ZORNAK")));
    } else if (modo == "login") {
        QuandoAparecer([](QDialog& janela) { janela.reject(); });
        std::string usuario, senha;
        Escreve("resposta", net::DefaultProxyLoginDialog("proxy:3128", usuario, senha) ? "ok" : "cancelado");
    } else if (modo == "arquivo") {
        QuandoAparecer([](QDialog& janela) { janela.reject(); });
        vb::CommonDialog dialogo;
        dialogo.Filter = "TXT (*.txt)|*.txt";
        dialogo.FileName = "Carrinho.txt";
        dialogo.ShowSave();
        Escreve("resposta", QString::fromStdString(dialogo.FileName));
    } else {
        return 2;
    }
    return 0;
}
