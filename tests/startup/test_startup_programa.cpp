// The real program, started as a person starts it: a data folder without a catalogue ends
// it after one error box with a non-zero exit code.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {

TEST(StartupPrograma, MissingCatalogueEndsWithOneErrorBoxAndANonZeroExitCode) {
    QTemporaryDir raiz;
    ASSERT_TRUE(raiz.isValid());
    QDir(raiz.path()).mkpath("prog");
    QDir(raiz.path()).mkpath("vazia");
    QDir(raiz.path()).mkpath("cfg");
    // The program folder is the executable's own: a copy of it, with its own Caminho.txt.
    const QString programa = raiz.path() + "/prog/CatalogoZORNAK";
    ASSERT_TRUE(QFile::copy(ZK_PROGRAM, programa));
    QFile caminho(raiz.path() + "/prog/Caminho.txt");
    ASSERT_TRUE(caminho.open(QIODevice::WriteOnly));
    caminho.write((raiz.path() + "/vazia").toUtf8());
    caminho.close();

    QProcess processo;
    QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
    ambiente.insert("QT_QPA_PLATFORM", "offscreen");
    ambiente.insert("XDG_CONFIG_HOME", raiz.path() + "/cfg");
    ambiente.insert("ZK_MSGBOX", "stderr");
    processo.setProcessEnvironment(ambiente);
    processo.start(programa, {});
    ASSERT_TRUE(processo.waitForFinished(60000)) << "the program did not end";
    EXPECT_EQ(processo.exitStatus(), QProcess::NormalExit);
    EXPECT_NE(processo.exitCode(), 0);
    const QString saida = QString::fromUtf8(processo.readAllStandardError());
    EXPECT_EQ(saida.count("Erro N"), 1) << saida.toStdString();
    EXPECT_TRUE(saida.contains("3024")) << saida.toStdString();
}

}  // namespace
