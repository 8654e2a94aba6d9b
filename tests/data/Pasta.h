// A private copy of the demo data folder's databases for one test, and the program state
// pointed at it.
#pragma once

#include "catalog/startup/Modulo.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

namespace teste {

inline const std::string kDemo = ZK_DEMO_DATA;

class PastaDados {
public:
    PastaDados()
    {
        for (const char* arquivo : {"CatalogoZORNAK.c01", "CatalogoZORNAK.c02", "cnpop.txt"})
            EXPECT_TRUE(QFile::copy(QString::fromStdString(kDemo + "/" + arquivo), dir_.filePath(arquivo)))
                << arquivo;
    }
    // The folder as the program keeps it: ending with "/".
    std::string Caminho() const { return dir_.path().toStdString() + "/"; }

private:
    QTemporaryDir dir_;
};

// Closes whatever the program state holds, so one test's databases never reach the next.
inline void FechaTudo()
{
    auto& e = EstadoPrograma;
    for (auto* par : {&e.WsBloqueio, &e.WsAuxiliar, &e.WsCatalogo}) {
        try {
            if (!par->IsNothing() && par->IsOpen()) par->Close();
        } catch (...) {
        }
    }
    e.WsBloqueio = {}; e.DbBloqueio = {};
    e.WsAuxiliar = {}; e.DbAuxiliar = {};
    e.WsCatalogo = {}; e.DbCatalogo = {};
    e.TabelaCarrinho.clear();
    e.Idioma.assign(1, 'P');
}

// Opens the catalogue read-only and the auxiliary database as the start-up does.
inline void AbreComoInicio(const std::string& caminho)
{
    EstadoPrograma.CaminhoDados = caminho;
    AbreBancoCatalogo(EstadoPrograma.WsCatalogo, NomeWsCatalogo, EstadoPrograma.DbCatalogo, true);
    AbreBancoAuxiliar(EstadoPrograma.WsAuxiliar, EstadoPrograma.DbAuxiliar);
}

// A writable workspace on the test's catalogue copy, for preparing rows.
class Escrita {
public:
    Escrita() { AbreBancoCatalogo(ws_, "PreparaTeste", db_, false); }
    ~Escrita() { FechaBanco(ws_, db_); }
    void Executa(const std::string& sql) { db_.Execute(sql, dao::dbFailOnError); }

private:
    dao::Workspace ws_;
    dao::Database db_;
};

}  // namespace teste
