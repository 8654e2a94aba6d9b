// The update scripts' Jet SQL: every statement of the corpus gives Jet's rows or Jet's error.
#include "tests/dao/CorpusJet.h"
#include "tests/dao/DaoFixture.h"

#include "platform/vb/Err.h"

#include <cstdio>
#include <sstream>

namespace daotest {
namespace {

const CasoJet kCorpus[] = {
#include "tests/dao/corpus_jet_expressoes.inc"
#include "tests/dao/corpus_jet_instrucoes.inc"
};

std::vector<std::string> Linhas(const char* texto) {
    std::vector<std::string> out;
    std::istringstream in(texto);
    std::string linha;
    while (std::getline(in, linha))
        if (!linha.empty()) out.push_back(linha);
    return out;
}

class CorpusJetTest : public DaoTest {};

TEST_F(CorpusJetTest, EveryStatementGivesJetsRowsOrJetsError) {
    int antes[3] = {0, 0, 0}, agora[3] = {0, 0, 0};  // same, different, refused
    for (const CasoJet& caso : kCorpus) {
        // Each statement on a fresh copy of the fixture.
        dao::Workspace ws = dao::DBEngine().CreateWorkspace("wsCorpus", "admin", "");
        QTemporaryDir dir;
        dao::Database db = ws.CreateDatabase(dir.filePath("c.c01").toStdString(),
                                             ";LANGID=0x0409;CP=1252;COUNTRY=0" + ConnectString());
        CreateFixture(db);
        long erro = 0;
        std::string descricao;
        // A preparation the layer refuses counts as the statement refused.
        bool preparado = true;
        try {
            for (const std::string& s : Linhas(caso.preparo)) db.Execute(s, dao::dbFailOnError);
        } catch (const vb::Error& e) {
            preparado = false;
            erro = e.Number();
            descricao = "preparation: " + e.Description();
        }
        if (!preparado) {
        } else if (*caso.instrucao) {
            try {
                db.Execute(caso.instrucao, dao::dbFailOnError);
            } catch (const vb::Error& e) {
                erro = e.Number();
                descricao = e.Description();
            }
        }
        std::vector<std::string> linhas;
        bool consultaFalhou = false;
        if (preparado && *caso.consulta) {
            try {
                linhas = Rows(db, caso.consulta);
            } catch (const vb::Error& e) {
                consultaFalhou = true;
                descricao = e.Description();
                if (!erro) erro = e.Number();
            }
        }
        const bool igual = erro == caso.erro && !(consultaFalhou && !caso.erro) &&
                           (caso.erro || linhas == Linhas(caso.esperado));
        EXPECT_TRUE(igual) << caso.instrucao << "\n  " << caso.consulta << "\n  error " << erro
                           << " " << descricao << " (Jet: " << caso.erro << ")\n  rows: "
                           << ::testing::PrintToString(linhas) << "\n  Jet's:  "
                           << ::testing::PrintToString(Linhas(caso.esperado));
        ++antes[caso.antes == 'i' ? 0 : caso.antes == 'd' ? 1 : 2];
        ++agora[igual ? 0 : (erro && !caso.erro) ? 2 : 1];
        ws.Close();
    }
    std::printf("Corpus of %zu statements. Before: %d same, %d different, %d refused. "
                "Now: %d same, %d different, %d refused.\n",
                std::size(kCorpus), antes[0], antes[1], antes[2], agora[0], agora[1], agora[2]);
}

}  // namespace
}  // namespace daotest
