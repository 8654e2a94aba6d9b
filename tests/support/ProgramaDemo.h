// The program as installed under a temporary root, for the tests that start its windows:
// "prog" is the program folder, whose Caminho.txt points at "dados", a copy of the demo
// catalogue; "cfg" is the settings home. Call it inside ASSERT_NO_FATAL_FAILURE.
#pragma once

#include "catalog/startup/Modulo.h"
#include "platform/dao/Dao.h"
#include "platform/os/Folders.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <cstdlib>
#include <string>
#include <vector>

namespace testsupport {

// The cart tables in the auxiliary database of the data folder `dados` (a folder's bytes), read
// while a catalogue process may be starting or ending: a database that cannot be read yet
// counts as none.
inline std::vector<std::string> TabelasCarrinhoEm(const std::string& dados) {
    std::vector<std::string> tabelas;
    try {
        dao::Workspace ws = dao::DBEngine().CreateWorkspace("verifica", "admin", "");
        dao::Database db = ws.OpenDatabase(dados + "/CatalogoZORNAK.c02", false, true, ";pwd=" + ObtemSenhaBancoDados());
        for (const auto& t : db.TableDefs())
            if (t.Name.rfind("Carrinho_", 0) == 0) tabelas.push_back(t.Name);
        db.Close();
        ws.Close();
    } catch (const std::exception&) {
    }
    return tabelas;
}

// A cart table in the auxiliary database of `dados`, as a run that was killed (kill -9, a
// crash, a power cut) leaves it behind: tests assert about their own run's table, never about
// every table there is. Returns the table's name.
inline std::string DeixaTabelaCarrinho(const QString& dados) {
    dao::Workspace ws = dao::DBEngine().CreateWorkspace("TabelaDeixada", "admin", "");
    dao::Database db = ws.OpenDatabase((dados + "/CatalogoZORNAK.c02").toStdString(), false, false,
                                       ";pwd=" + ObtemSenhaBancoDados());
    const std::string tabela = CriaTabelaCarrinho(db);
    db.Close();
    ws.Close();
    return tabela;
}

// Every row of a query on the open catalogue (its "<I>" in the current language) as texts,
// Null as "".
inline std::vector<std::vector<std::string>> LinhasCatalogo(const std::string& sql) {
    std::vector<std::vector<std::string>> r;
    dao::Recordset rs = EstadoPrograma.DbCatalogo.OpenRecordset(AplicaIdioma(sql), dao::dbOpenSnapshot);
    for (; !rs.Eof(); rs.MoveNext()) {
        std::vector<std::string> l;
        for (int i = 0; i < rs.FieldCount(); ++i) l.push_back(ObtemValorCampo(rs.Fields(i).Value(), "").ToString());
        r.push_back(l);
    }
    rs.Close();
    return r;
}

// Another program writes the catalogue in a transaction of its own, as its update lock does:
// raises when something this program left open stops it.
inline void OutroProgramaGravaCatalogo() {
    dao::Workspace ws;
    dao::Database db;
    AbreBancoCatalogo(ws, "OutroPrograma", db, false);
    ws.BeginTrans();
    db.Execute(consultas::BloqueiaAtualizacao(), dao::dbFailOnError | dao::dbSeeChanges);
    ws.CommitTrans();
    FechaBanco(ws, db);
}

// What "dados" gets beside the two databases: no pictures, the demo folder's own photos and
// figures (only read), or a copy of everything (for tests that change or remove pictures).
enum class ImagensDemo { Nenhuma, Ligadas, Copiadas };

inline void CopiaPastaDemo(const QString& de, const QString& para) {
    QDirIterator it(de, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString arquivo = it.next();
        const QString relativo = QDir(de).relativeFilePath(arquivo);
        if (relativo.startsWith(".")) continue;
        QDir().mkpath(QFileInfo(para + "/" + relativo).path());
        ASSERT_TRUE(QFile::copy(arquivo, para + "/" + relativo)) << relativo.toStdString();
    }
}

inline void InstalaProgramaDemo(const QString& raiz, const QString& pastaDemo,
                                ImagensDemo imagens = ImagensDemo::Nenhuma) {
    for (const char* pasta : {"prog", "cfg", "dados"}) QDir(raiz).mkpath(pasta);
    setenv("XDG_CONFIG_HOME", (raiz + "/cfg").toLocal8Bit().constData(), 1);
    os::SetProgramFolderForTesting((raiz + "/prog").toStdString());
    const QString dados = raiz + "/dados";
    if (imagens == ImagensDemo::Copiadas) {
        CopiaPastaDemo(pastaDemo, dados);
    } else {
        for (const char* arquivo : {"CatalogoZORNAK.c01", "CatalogoZORNAK.c02"})
            ASSERT_TRUE(QFile::copy(pastaDemo + "/" + arquivo, dados + "/" + arquivo));
        if (imagens == ImagensDemo::Ligadas) {
            for (const char* pasta : {"FotoPeca", "Figuras"}) {
                ASSERT_TRUE(QFile::link(pastaDemo + "/" + pasta, dados + "/" + pasta));
            }
        }
    }
    QFile caminho(raiz + "/prog/Caminho.txt");
    ASSERT_TRUE(caminho.open(QIODevice::WriteOnly | QIODevice::Truncate));
    caminho.write(dados.toUtf8());
}

}  // namespace testsupport
