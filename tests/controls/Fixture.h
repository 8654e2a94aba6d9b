// What the list-control tests share: the application, a small keyed database in a temporary
// folder, a window that hosts the controls, and simple pictures.
#pragma once

#include "catalog/controls/THCombo.h"
#include "catalog/controls/THGrid.h"
#include "platform/dao/Dao.h"
#include "platform/forms/Events.h"
#include "platform/forms/Form.h"
#include "tests/support/AplicacaoTeste.h"

#include <QApplication>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace fixture {

inline std::string Twips(int pixels) { return std::to_string(pixels * 15); }

// A window with the controls the test builds into it.
class Janela : public vb::Form {
public:
    Janela() : Form("frmTesteListas") {}
    std::function<void(Janela&)> monta;
    vb::TextBox* caixa = nullptr;   // another control to take the focus

    template <class T>
    T* Cria(const std::string& nome) { return New<T>(*this, nome); }

protected:
    void Build() override {
        caixa = New<vb::TextBox>(*this, "txtOutro");
        caixa->Move(600, 10, 80, 20);
        if (monta) monta(*this);
    }
};

// The products of the fixture: code i, a description, a group, and ImagensGrid with the
// cart flag (every row), the note flag (even codes) and a release date on every third row.
struct Banco {
    QTemporaryDir pasta;
    dao::Database db;

    explicit Banco(int produtos) {
        const std::string caminho = pasta.path().toStdString() + "/fixture.c01";
        db = dao::DBEngine().CreateDatabase(caminho, ";LANGID=0x0409;CP=1252;COUNTRY=0;pwd=teste");
        db.Execute("CREATE TABLE PRODUTO (Codigo Long, Descricao Text(50), Grupo Text(30), ImagensGrid Text(80))");
        dao::Workspace ws = dao::DBEngine().Workspaces(0);
        ws.BeginTrans();
        for (int i = 1; i <= produtos; ++i) {
            const std::string flags = std::string(" ") + (i % 2 == 0 ? " " : "\r") + std::string(50, ' ') + "." +
                                      (i % 3 == 0 ? "2405" + std::string(i < 10 ? "0" : "") + std::to_string(i % 28 + 1) : "");
            db.Execute("INSERT INTO PRODUTO VALUES (" + std::to_string(i) + ", 'PRODUTO " + std::to_string(i) +
                       "', 'GRUPO " + std::to_string(i % 4) + "', '" + flags + "')");
        }
        ws.CommitTrans();
    }

    void Liga(dao::DataControl& dc, const std::string& sql = "SELECT * FROM PRODUTO ORDER BY Codigo") {
        dc.SetDatabase(db);
        dc.SetRecordSource(sql);
        dc.Refresh();
    }
};

inline vb::Picture Quadrado(int w, int h, QColor cor) {
    QPixmap p(w, h);
    p.fill(cor);
    return vb::Picture(p);
}

// Four variants per picture column, in the order the screens give them.
inline TabelaPictures Tabela(int colunas) {
    TabelaPictures t;
    const QColor cores[4] = {Qt::blue, Qt::cyan, Qt::white, Qt::yellow};
    for (int v = 0; v < 4; ++v)
        for (int k = 0; k < colunas; ++k) t[static_cast<std::size_t>(v)].push_back(Quadrado(15, 14, cores[v]));
    return t;
}

inline void Processa() {
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

// Lets the timers of the controls run until the condition holds (or a generous bound).
inline bool Espera(const std::function<bool()>& condicao) {
    for (int i = 0; i < 500 && !condicao(); ++i) QTest::qWait(2);
    return condicao();
}

}  // namespace fixture
