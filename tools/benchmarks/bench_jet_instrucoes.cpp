// Update script statements that the database layer runs as several of SQLite's, on a table
// the size of the products of a large catalogue (20,000 rows, two indexes, a key), each
// undone after it: a column altered (the table made anew), a key added, a joined UPDATE
// of every row and a make-table query.
//
//   bench_jet_instrucoes [benchmark options]
#include "platform/dao/Dao.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include <string>

namespace {

constexpr int kLinhas = 20000;

struct Banco {
    QTemporaryDir pasta;
    dao::Workspace ws = dao::DBEngine().CreateWorkspace("bench", "admin", "");
    dao::Database db;
    Banco() {
        db = ws.CreateDatabase(pasta.filePath("b.c01").toStdString(), ";pwd=bench");
        db.Execute("CREATE TABLE PRODUTO (CodigoProduto Long Not Null, Numero Text(8), Descricao Text(50), "
                   "Grupo Short, Flag Byte, CONSTRAINT PKPRODUTO PRIMARY KEY (CodigoProduto))");
        db.Execute("CREATE INDEX IXNumero ON PRODUTO (Numero)");
        db.Execute("CREATE INDEX IXGrupo ON PRODUTO (Grupo)");
        db.Execute("CREATE TABLE GRUPO (Grupo Short, Nome Text(30), CONSTRAINT PKGRUPO PRIMARY KEY (Grupo))");
        ws.BeginTrans();
        for (int g = 0; g < 40; ++g)
            db.Execute("INSERT INTO GRUPO VALUES (" + std::to_string(g) + ", 'Grupo " + std::to_string(g) + "')");
        for (int i = 0; i < kLinhas; ++i)
            db.Execute("INSERT INTO PRODUTO VALUES (" + std::to_string(i) + ", '" + std::to_string(10000000 + i) +
                       "', 'Peça número " + std::to_string(i) + "', " + std::to_string(i % 40) + ", 0)");
        ws.CommitTrans();
    }
};

Banco& Dados() {
    static Banco b;
    return b;
}

void Mede(benchmark::State& estado, const std::string& sql) {
    Banco& b = Dados();
    for (auto _ : estado) {
        b.ws.BeginTrans();
        b.db.Execute(sql, dao::dbFailOnError);
        estado.PauseTiming();
        b.ws.Rollback();
        estado.ResumeTiming();
    }
}

void BM_AlterColumn(benchmark::State& e) { Mede(e, "ALTER TABLE PRODUTO ALTER COLUMN Descricao Text(80)"); }
BENCHMARK(BM_AlterColumn)->Unit(benchmark::kMillisecond);

void BM_DropColumn(benchmark::State& e) { Mede(e, "ALTER TABLE PRODUTO DROP COLUMN Flag"); }
BENCHMARK(BM_DropColumn)->Unit(benchmark::kMillisecond);

void BM_AddConstraintUnique(benchmark::State& e) { Mede(e, "ALTER TABLE PRODUTO ADD CONSTRAINT UQ UNIQUE (Numero)"); }
BENCHMARK(BM_AddConstraintUnique)->Unit(benchmark::kMillisecond);

void BM_AddForeignKey(benchmark::State& e) {
    Mede(e, "ALTER TABLE PRODUTO ADD CONSTRAINT FK FOREIGN KEY (Grupo) REFERENCES GRUPO (Grupo)");
}
BENCHMARK(BM_AddForeignKey)->Unit(benchmark::kMillisecond);

void BM_UpdateInnerJoinEveryRow(benchmark::State& e) {
    Mede(e, "UPDATE PRODUTO INNER JOIN GRUPO ON PRODUTO.Grupo = GRUPO.Grupo SET PRODUTO.Descricao = GRUPO.Nome");
}
BENCHMARK(BM_UpdateInnerJoinEveryRow)->Unit(benchmark::kMillisecond);

void BM_UpdatePlainEveryRow(benchmark::State& e) { Mede(e, "UPDATE PRODUTO SET Descricao = 'x' & Grupo"); }
BENCHMARK(BM_UpdatePlainEveryRow)->Unit(benchmark::kMillisecond);

void BM_SelectInto(benchmark::State& e) { Mede(e, "SELECT CodigoProduto, Descricao INTO COPIA FROM PRODUTO"); }
BENCHMARK(BM_SelectInto)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
