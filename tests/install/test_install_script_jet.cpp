// An update whose script changes the catalogue's design in Jet's own statement forms,
// installed through screen 6 of the auxiliary window under the update lock, as the main
// window installs: every line does to the catalogue what Jet would have done, and a line Jet
// refuses leaves nothing behind while the script goes on.
#include "catalog/aux_window/AtualizacaoCatalogo.h"
#include "common/modInternet.h"
#include "tests/aux_window/Ambiente.h"
#include "tests/support/ServidorHttpTeste.h"

#include <map>
#include <mutex>

namespace {

using testsupport::ServidorHttpTeste;

// One line of the update script, and what the catalogue shows of it once the update is in:
// the rows of the query, each as its values joined by "|", joined by "\n" ("" for none).
// A line whose effect a later line shows has no query of its own.
struct LinhaScript {
    const char* linha;
    const char* consulta;
    const char* esperado;
};

const LinhaScript kScript[] = {
    {"E:CREATE TABLE ZK_GRUPO (Codigo Long, Nome Text(20))", nullptr, nullptr},
    // A primary key made as an index: a repeated key and a Null key are refused.
    {"E:CREATE INDEX PK_GRUPO ON ZK_GRUPO (Codigo) WITH PRIMARY", nullptr, nullptr},
    {"E:INSERT INTO ZK_GRUPO (Codigo, Nome) VALUES (1, 'Freios')", nullptr, nullptr},
    {"E:INSERT INTO ZK_GRUPO (Codigo, Nome) VALUES (1, 'Repetido')", "SELECT Nome FROM ZK_GRUPO WHERE Codigo = 1", "Freios"},
    {"E:INSERT INTO ZK_GRUPO (Codigo, Nome) VALUES (Null, 'Sem codigo')",
     "SELECT count(*) FROM ZK_GRUPO WHERE Nome = 'Sem codigo'", "0"},
    // A relationship and a counter with its seed and step, filled by a template.
    {"E:CREATE TABLE ZK_PECA (Codigo Counter(100, 10), Grupo Long CONSTRAINT FK_PECA_GRUPO REFERENCES ZK_GRUPO "
     "(Codigo), Descricao Text(10))",
     "SELECT Codigo, Grupo FROM ZK_PECA WHERE Grupo = 1", "100|1"},
    {"B:INSERT INTO ZK_PECA (Grupo, Descricao) VALUES (?1, ?2)", nullptr, nullptr},
    {"1<<;>>'Pastilha'", nullptr, nullptr},
    {"2<<;>>'Orfa'", "SELECT count(*) FROM ZK_PECA WHERE Descricao = 'Orfa'", "0"},
    {"E:DELETE FROM ZK_GRUPO WHERE Codigo = 1", "SELECT count(*) FROM ZK_GRUPO WHERE Codigo = 1", "1"},
    // Columns altered, added as required and dropped; a unique constraint added.
    {"E:ALTER TABLE ZK_PECA ALTER COLUMN Descricao Text(40)", nullptr, nullptr},
    {"E:UPDATE ZK_PECA SET Descricao = 'Pastilha de freio dianteira' WHERE Codigo = 100", nullptr, nullptr},
    {"E:ALTER TABLE ZK_GRUPO ADD COLUMN Ativo YesNo NOT NULL", nullptr, nullptr},
    {"E:INSERT INTO ZK_GRUPO (Codigo, Nome) VALUES (4, 'Sem ativo')", "SELECT count(*) FROM ZK_GRUPO WHERE Codigo = 4", "0"},
    {"E:ALTER TABLE ZK_GRUPO DROP COLUMN Ativo", "SELECT * FROM ZK_GRUPO", "1|Freios"},
    {"E:ALTER TABLE ZK_GRUPO ADD CONSTRAINT UQ_NOME UNIQUE (Nome)", nullptr, nullptr},
    {"E:INSERT INTO ZK_GRUPO (Codigo, Nome) VALUES (3, 'FREIOS')", "SELECT count(*) FROM ZK_GRUPO WHERE Codigo = 3", "0"},
    // Joined changes, a make-table query, RIGHT JOIN and TOP n PERCENT.
    {"E:UPDATE ZK_PECA INNER JOIN ZK_GRUPO ON ZK_PECA.Grupo = ZK_GRUPO.Codigo "
     "SET ZK_PECA.Descricao = ZK_GRUPO.Nome & ': ' & ZK_PECA.Descricao",
     "SELECT Descricao FROM ZK_PECA WHERE Codigo = 100", "Freios: Pastilha de freio dianteira"},
    {"E:SELECT Codigo, Descricao INTO ZK_COPIA FROM ZK_PECA", nullptr, nullptr},
    {"E:INSERT INTO ZK_GRUPO (Codigo, Nome) VALUES (2, 'Motor')", nullptr, nullptr},
    {"E:DELETE ZK_GRUPO.* FROM ZK_GRUPO LEFT JOIN ZK_PECA ON ZK_PECA.Grupo = ZK_GRUPO.Codigo WHERE ZK_PECA.Codigo Is Null",
     "SELECT Codigo FROM ZK_GRUPO", "1"},
    {"E:INSERT INTO ZK_COPIA (Codigo, Descricao) SELECT TOP 100 PERCENT ZK_GRUPO.Codigo, ZK_PECA.Descricao "
     "FROM ZK_PECA RIGHT JOIN ZK_GRUPO ON ZK_PECA.Grupo = ZK_GRUPO.Codigo",
     "SELECT Codigo, Descricao FROM ZK_COPIA WHERE Descricao = 'FREIOS: pastilha de freio dianteira' ORDER BY Codigo",
     "1|Freios: Pastilha de freio dianteira\n100|Freios: Pastilha de freio dianteira"},
    // The relationship dropped: a piece of no group is taken.
    {"E:ALTER TABLE ZK_PECA DROP CONSTRAINT FK_PECA_GRUPO", nullptr, nullptr},
    {"E:INSERT INTO ZK_PECA (Grupo, Descricao) VALUES (9, 'Livre')", "SELECT Codigo, Grupo FROM ZK_PECA WHERE Descricao = 'Livre'",
     "110|9"},
    // Expressions as Jet computes them: division, integer division, Mod and Round on
    // fractions, True as -1, named formats, date functions, ANY and ALL.
    {"E:CREATE TABLE ZkExpr (Id Long, V Double, T Text(60))", nullptr, nullptr},
    {"E:INSERT INTO ZkExpr (Id, V, T) VALUES (1, 10 / 4 + 7 \\ 2 + 12.6 Mod 5 + 2 ^ 3, "
     "Format(1234.5, 'Currency') & ' ' & Format(0.125, 'Percent'))",
     "SELECT V & '|' & T FROM ZkExpr WHERE Id = 1", "16.5|$1,234.50 12.50%"},
    {"E:INSERT INTO ZkExpr (Id, V, T) VALUES (2, (1 < 2) + Yes, IIF(Round(2.5) = 2, 'even', 'odd'))", nullptr, nullptr},
    {"E:INSERT INTO ZkExpr (Id, V, T) SELECT 3, DateDiff('d', #1/1/2024#, DateAdd('m', 1, #1/31/2024#)), "
     "Format(DateSerial(2024, 5, 7), 'Long Date') & ' ' & WeekdayName(Weekday(#5/7/2024#)) FROM ZkExpr WHERE Id = 1",
     nullptr, nullptr},
    {"E:UPDATE ZkExpr SET V = V * 100 + InStr(4, 'XXpXXpXXPXXP', 'P', 1) * 10 + Choose(2, 1, 2, 3) WHERE Id = 2",
     "SELECT V & '|' & T FROM ZkExpr WHERE Id = 2", "-138|even"},
    {"E:UPDATE ZkExpr SET T = T & '!' WHERE Id > ANY (SELECT Id FROM ZkExpr WHERE Id < 3) "
     "AND Id <> ALL (SELECT Id FROM ZkExpr WHERE Id = 2)",
     "SELECT V & '|' & T FROM ZkExpr WHERE Id = 3", "59|Tuesday, May 7, 2024 Tuesday!"},
};

std::string Linhas(const std::string& sql) {
    std::string out;
    dao::Recordset rs = EstadoPrograma.DbCatalogo.OpenRecordset(sql, dao::dbOpenSnapshot);
    for (; !rs.Eof(); rs.MoveNext()) {
        if (!out.empty()) out += "\n";
        for (int i = 0; i < rs.FieldCount(); ++i) {
            const vb::Variant v = rs.Fields(i).Value();
            out += (i ? "|" : "") + (v.IsNull() ? std::string("<null>") : v.ToString());
        }
    }
    rs.Close();
    return out;
}

class ScriptJet : public auxteste::JanelaAuxiliarTeste {
protected:
    void SetUp() override {
        JanelaAuxiliarTeste::SetUp();
        servidor_ = std::make_unique<ServidorHttpTeste>([this](const ServidorHttpTeste::Pedido& p) {
            const std::string objeto = p.linha.substr(4, p.linha.rfind(' ') - 4);
            std::lock_guard<std::mutex> trava(mutex_);
            const auto it = arquivos_.find(objeto);
            return it == arquivos_.end() ? ServidorHttpTeste::Resposta(404, "not here")
                                         : ServidorHttpTeste::Resposta(200, it->second);
        });
        AtualizacoesDoServidor(servidor_->Porta());
    }
    void TearDown() override {
        JanelaAuxiliarTeste::TearDown();
        servidor_.reset();
    }
    void Serve(const std::string& nome, const std::string& corpo) {
        std::lock_guard<std::mutex> trava(mutex_);
        arquivos_["/cat/" + nome] = corpo;
    }

    std::unique_ptr<ServidorHttpTeste> servidor_;
    std::mutex mutex_;
    std::map<std::string, std::string> arquivos_;
};

TEST_F(ScriptJet, CadaLinhaFazOQueOJetFaria) {
    std::string script;
    for (const LinhaScript& l : kScript) script += std::string(script.empty() ? "" : "\r\n") + l.linha;
    Serve("ListVersao28.txt", "SDB;script28.sql;" + std::to_string(script.size()) + "\r\n");
    Serve("script28.sql", script);
    // Under the update lock, as the main window installs: every statement nests in its
    // transaction.
    ASSERT_TRUE(BloqueiaAtualizacao(true));
    Abre("6|27|28");
    EXPECT_TRUE(BloqueiaAtualizacao(false));
    EXPECT_EQ(EstadoPrograma.RequisicaoTela, "10");
    ASSERT_EQ(caixas_.Count(), 1u);
    EXPECT_EQ(caixas_.Last().buttons, vb::vbInformation);
    EXPECT_EQ(ObtemValorSQL("SELECT Versao FROM UMREGISTRO", vb::Variant()).ToLong(), 28);
    for (const LinhaScript& l : kScript) {
        if (!l.consulta) continue;
        EXPECT_EQ(Linhas(l.consulta), l.esperado) << l.linha;
    }
    EXPECT_TRUE(auxteste::Espera([this] { return !J().IsLoaded(); }));
}

}  // namespace
