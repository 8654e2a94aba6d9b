// The QMessageBox behind the message box seam: buttons, icon, title and the answer.
#include "platform/forms/QtMessageBox.h"
#include "platform/vb/MsgBox.h"
#include "tests/support/AplicacaoTeste.h"
#include "tests/support/Ponteiro.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Visto {
    QString texto, titulo;
    QMessageBox::Icon icone = QMessageBox::NoIcon;
};

// Shows the box and, once it is up, looks at it and acts on it.
int Mostra(const std::string& texto, int botoes, const std::string& titulo, Visto& visto,
           const std::function<void(QMessageBox&)>& age) {
    testsupport::CriaAplicacao("test_common_msgbox");
    vb::InstallQtMessageBox();
    std::function<void()> procura = [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {   // not up yet
            QTimer::singleShot(10, procura);
            return;
        }
        visto.texto = box->text();
        visto.titulo = box->windowTitle();
        visto.icone = box->icon();
        age(*box);
    };
    QTimer::singleShot(0, procura);
    return vb::MsgBox(texto, botoes, titulo);
}

void Clica(QMessageBox& box, QMessageBox::StandardButton botao) { box.button(botao)->click(); }

TEST(QtMessageBoxTeste, ButtonsAnswerWithTheOriginalConstants) {
    struct Caso {
        int botoes;
        QMessageBox::StandardButton clicado;
        int resposta;
    };
    const Caso casos[] = {
        {vb::vbOKOnly, QMessageBox::Ok, vb::vbOK},
        {vb::vbOKCancel, QMessageBox::Cancel, vb::vbCancel},
        {vb::vbYesNo | vb::vbQuestion, QMessageBox::No, vb::vbNo},
        {vb::vbYesNo, QMessageBox::Yes, vb::vbYes},
        {vb::vbYesNoCancel, QMessageBox::Cancel, vb::vbCancel},
        {vb::vbAbortRetryIgnore, QMessageBox::Ignore, vb::vbIgnore},
        {vb::vbRetryCancel, QMessageBox::Retry, vb::vbRetry},
    };
    for (const Caso& c : casos) {
        Visto visto;
        EXPECT_EQ(Mostra("x", c.botoes, "t", visto, [&](QMessageBox& b) { Clica(b, c.clicado); }),
                  c.resposta) << c.botoes;
    }
}

TEST(QtMessageBoxTeste, IconTitleTextAndDefaultButton) {
    Visto visto;
    const int resposta = Mostra("Erro Nº: 53\r\nFile <not> found", vb::vbCritical | vb::vbOKOnly,
                                "Catálogo ZORNAK", visto,
                                [](QMessageBox& b) { b.defaultButton()->click(); });
    EXPECT_EQ(resposta, vb::vbOK);
    EXPECT_EQ(visto.texto, QString::fromUtf8("Erro Nº: 53\nFile <not> found"));
    EXPECT_EQ(visto.titulo, QString::fromUtf8("Catálogo ZORNAK"));
    EXPECT_EQ(visto.icone, QMessageBox::Critical);

    const std::pair<int, QMessageBox::Icon> icones[] = {
        {vb::vbQuestion, QMessageBox::Question}, {vb::vbExclamation, QMessageBox::Warning},
        {vb::vbInformation, QMessageBox::Information}, {0, QMessageBox::NoIcon}};
    for (const auto& [bits, icone] : icones) {
        Visto v;
        Mostra("x", bits, "t", v, [](QMessageBox& b) { b.defaultButton()->click(); });
        EXPECT_EQ(v.icone, icone) << bits;
    }

    // The second button is the default one when asked: Enter answers No.
    Visto segundo;
    EXPECT_EQ(Mostra("?", vb::vbYesNo | vb::vbDefaultButton2, "t", segundo,
                     [](QMessageBox& b) { b.defaultButton()->click(); }),
              vb::vbNo);
}

// A box with a long text (a server's error page, a megabyte of it) stays inside the screen:
// its button can be seen and clicked, and it comes up without laying out all of the text.
TEST(QtMessageBoxTeste, ALongTextKeepsTheBoxAndItsButtonOnTheScreen) {
    std::string pagina = "Erro Nº: 13\r\n";
    while (pagina.size() < 20000) pagina += "<p>Servidor temporariamente fora do ar</p>\r\n";
    const std::vector<std::pair<const char*, std::string>> casos = {
        {"a 20 KB page of short lines", pagina},
        {"a megabyte on one line", "Erro Nº: 13\r\n" + std::string(1 << 20, '9')},
        {"a megabyte of lines", std::string(1 << 20, '\n')},
    };
    for (const auto& [nome, texto] : casos) {
        SCOPED_TRACE(nome);
        Visto visto;
        QRect caixa, tela, botao;
        bool alcancado = false;
        const int resposta = Mostra(texto, vb::vbCritical | vb::vbOKOnly, "t", visto, [&](QMessageBox& b) {
            testsupport::Processa();
            tela = b.screen()->availableGeometry();
            caixa = b.geometry();
            QAbstractButton* ok = b.button(QMessageBox::Ok);
            botao = QRect(ok->mapTo(&b, QPoint(0, 0)), ok->size());
            QObject::connect(ok, &QAbstractButton::clicked, [&] { alcancado = true; });
            testsupport::Clica(&b, botao.center());
            // A button the pointer cannot reach would keep the box up for ever.
            if (!alcancado) ok->click();
        });
        EXPECT_EQ(resposta, vb::vbOK);
        EXPECT_TRUE(alcancado) << "the button was reached where it is shown";
        EXPECT_LE(caixa.height(), tela.height());
        EXPECT_TRUE(tela.contains(botao.translated(caixa.topLeft())))
            << "button at " << botao.y() << " of a box " << caixa.height() << " px tall";
        EXPECT_LT(visto.texto.size(), 5000);
    }
}

}  // namespace
