// The main window with the catalogue screens, started as the program starts, on a copy of
// the demo data folder; message boxes are answered by the test.
#pragma once

#include "catalog/main_window/frmZornak.h"
#include "catalog/screens/TelasCatalogo.h"
#include "catalog/startup/Modulo.h"
#include "platform/forms/Events.h"
#include "platform/forms/Screen.h"
#include "platform/os/Folders.h"
#include "platform/vb/Err.h"
#include "tests/support/AplicacaoTeste.h"
#include "tests/support/FakeMsgBox.h"
#include "tests/support/JanelasTeste.h"
#include "tests/support/ProgramaDemo.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <cstdlib>
#include <string>

class JanelaDemo : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testsupport::CriaAplicacao("test_screens_b"); }

    void SetUp() override {
        ASSERT_TRUE(raiz.isValid());
        ASSERT_NO_FATAL_FAILURE(
            testsupport::InstalaProgramaDemo(raiz.path(), ZK_DEMO_DATA_DIR, testsupport::ImagensDemo::Copiadas));
        testsupport::PreparaJanelas([](frmZornakForm& j) { return std::make_unique<TelasCatalogo>(j); },
                                    [this](long numero, const std::string& descricao) {
                                        erros.push_back(std::to_string(numero) + " " + descricao);
                                    });
    }

    void TearDown() override {
        testsupport::EncerraJanelas();
    }

    // Starts the program; the home screen is up afterwards.
    frmZornakForm& Inicia(const std::string& idioma = "P") {
        QDir().mkpath(raiz.path() + "/cfg/VelmoSistemas");
        QFile cfg(raiz.path() + "/cfg/VelmoSistemas/CatalogoZORNAKConfig.txt");
        EXPECT_TRUE(cfg.open(QIODevice::WriteOnly | QIODevice::Truncate));
        cfg.write((idioma + "|0||").c_str());
        cfg.close();
        EXPECT_TRUE(Inicializa());
        frmZornakForm& j = frmZornak();
        EXPECT_TRUE(j.IsLoaded());
        return j;
    }

    TelasCatalogo& Telas(frmZornakForm& j) { return static_cast<TelasCatalogo&>(j.Telas()); }

    QString Dados() const { return raiz.path() + "/dados"; }

    void Grava(const QString& nome, const QByteArray& conteudo) {
        QFile f(Dados() + "/" + nome);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(conteudo);
    }

    static void GravaImagem(QWidget* w, const QString& nome) {
        QDir().mkpath(ZK_SCREENSHOT_DIR);
        ASSERT_TRUE(w->grab().toImage().save(QString(ZK_SCREENSHOT_DIR) + "/" + nome));
    }

    QTemporaryDir raiz;
    testsupport::FakeMsgBox caixas;
    std::vector<std::string> erros;
};
