// The two searches users type most, on a large catalogue (--scale 50: 20,000 products and
// about 200,000 cross references): the competitor-number substring search and the
// description word search. Each runs as the product list's Jet SQL through the database
// layer, and as the same query written for SQLite through its C API on a connection with the
// same page cache; the ratio is printed.
//
//   bench_catalog_search [benchmark options]
// The catalogue is generated into a temporary folder first, or taken from $ZK_BENCH_DATA
// (a data folder made by "zk_demo_data --scale 50 --no-pictures --out <folder>").
#include "catalog/startup/Modulo.h"
#include "platform/dao/Dao.h"
#include "platform/dao/JetSql.h"
#include "platform/vb/Strings.h"
#include "tools/benchmarks/RelatorMedianas.h"
#include "tools/benchmarks/SqliteDireto.h"
#include "tools/demo_data/Catalogo.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

namespace {

const std::string kBrancos(50, ' ');
const char* const kNumero = "123";                 // typed into the competitor-number box
const char* const kPalavras = "pastilha de freio";  // typed into the description box

// The product list's text as the product search screen builds it.
std::string SqlCamada(const std::string& condicao)
{
    return AplicaIdioma(
        "SELECT IIF(PRODUTO.NumeroEmpresaProduto=Null,'z',Format(PRODUTO.NumeroEmpresaProduto,'00-00-0000')) As "
        "NumeroEmpresaOrderBy,PRODUTO.DescricaoProduto<I> AS DescricaoProduto,GRUPOPRODUTO.DescricaoGrupoProduto<I> AS "
        "DescricaoGrupoProduto,PRODUTO.FlagLancamento & PRODUTO.DataLancamento AS OBLancamento,PRODUTO.CodigoProduto,"
        "Format(PRODUTO.NumeroEmpresaProduto,'00-00-0000') As NumeroEmpresaFormatado,PRODUTO.ArquivoFotoProduto,"
        "IIF(PRODUTO.FlagLancamento=1,' ','\r') & IIF(PRODUTO_OBS.CodigoProduto=Null,'\r',' ') & '" + kBrancos +
        ".'&PRODUTO.DataLancamento As ImagensGrid FROM (PRODUTO LEFT JOIN GRUPOPRODUTO ON PRODUTO.CodigoGrupoProduto = "
        "GRUPOPRODUTO.CodigoGrupoProduto) LEFT JOIN PRODUTO_OBS  ON PRODUTO.CodigoProduto = PRODUTO_OBS.CodigoProduto "
        "WHERE " + condicao + " ORDER BY 1,2");
}

// The same list written for SQLite: CASE, ||, substr and instr/GLOB instead of the Jet
// functions and the Jet LIKE.
std::string SqlNativo(const std::string& condicao)
{
    const std::string z = "substr('00000000'||p.NumeroEmpresaProduto,";
    const std::string fmt = z + "-8,2)||'-'||" + z + "-6,2)||'-'||" + z + "-4,4)";
    return "SELECT CASE WHEN p.NumeroEmpresaProduto IS NULL THEN 'z' ELSE " + fmt + " END,p.DescricaoProdutoP,"
           "g.DescricaoGrupoProdutoP,coalesce(p.FlagLancamento,'')||coalesce(p.DataLancamento,''),p.CodigoProduto,"
           "CASE WHEN p.NumeroEmpresaProduto IS NULL THEN NULL ELSE " + fmt + " END,p.ArquivoFotoProduto,"
           "(CASE WHEN p.FlagLancamento=1 THEN ' ' ELSE char(13) END)||(CASE WHEN o.CodigoProduto IS NULL THEN char(13) "
           "ELSE ' ' END)||'" + kBrancos + ".'||coalesce(p.DataLancamento,'') FROM PRODUTO p LEFT JOIN GRUPOPRODUTO g ON "
           "p.CodigoGrupoProduto = g.CodigoGrupoProduto LEFT JOIN PRODUTO_OBS o ON p.CodigoProduto = o.CodigoProduto "
           "WHERE " + condicao + " ORDER BY 1 COLLATE JET,2 COLLATE JET";
}


struct Contexto {
    std::unique_ptr<QTemporaryDir> temporaria;
    std::string pasta;
    sqlite3* nativo = nullptr;
    std::string camadaNumero, camadaPalavras, nativoNumero, nativoPalavras;
};

Contexto& Ctx()
{
    static Contexto c;
    return c;
}

void Prepara()
{
    Contexto& c = Ctx();
    if (const char* p = std::getenv("ZK_BENCH_DATA")) {
        c.pasta = p;
    } else {
        c.temporaria = std::make_unique<QTemporaryDir>();
        c.pasta = c.temporaria->path().toStdString() + "/catalogo";
        std::fprintf(stderr, "generating the --scale 50 catalogue in %s ...\n", c.pasta.c_str());
        demo::GravaPastaDados(demo::GeraCatalogo({1, 50}), c.pasta, false);
    }
    EstadoPrograma.CaminhoDados = c.pasta + "/";
    AbreBancoCatalogo(EstadoPrograma.WsCatalogo, NomeWsCatalogo, EstadoPrograma.DbCatalogo, true);

    if (sqlite3_open_v2((c.pasta + "/CatalogoZORNAK.c01").c_str(), &c.nativo, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        throw std::runtime_error("cannot open the catalogue natively");
    const std::string chave = "PRAGMA key = '" + ObtemSenhaBancoDados() + "'";
    sqlite3_exec(c.nativo, chave.c_str(), nullptr, nullptr, nullptr);
    // The same page cache as the layer's connection.
    dao::SizePageCache(c.nativo, QFileInfo(QString::fromStdString(c.pasta + "/CatalogoZORNAK.c01")).size());
    // The schema's text columns name the JET collation, so a native connection needs it too.
    dao::RegisterJetFunctions(c.nativo);

    const std::string numero = NormalizaCodigoAlfanumerico(kNumero);
    c.camadaNumero = SqlCamada("PRODUTO.CodigoProduto IN (SELECT CodigoProduto FROM REFERENCIACRUZADA "
                               "WHERE NumeroFabricantePesquisa LIKE '*" + numero + "*') ");
    c.nativoNumero = SqlNativo("p.CodigoProduto IN (SELECT CodigoProduto FROM REFERENCIACRUZADA "
                               "WHERE instr(NumeroFabricantePesquisa,'" + numero + "')>0)");
    c.camadaPalavras = SqlCamada(MontaFiltroPalavras(kPalavras, "PRODUTO.DescricaoProduto<I>"));
    std::string glob;
    for (const auto& palavra : SeparaPalavras(PreparaTextoSQL(kPalavras, true))) {
        if (palavra.empty()) continue;
        glob += (glob.empty() ? "" : " AND ") + std::string("p.DescricaoProdutoP GLOB '*") + benchsqlite::JetParaGlob(palavra) + "*'";
    }
    c.nativoPalavras = SqlNativo(glob);
}

long PelaCamada(const std::string& sql)
{
    dao::Recordset rs = EstadoPrograma.DbCatalogo.OpenRecordset(sql, dao::dbOpenDynaset);
    const long n = rs.RecordCount();
    rs.Close();
    return n;
}

long Nativamente(const std::string& sql) { return benchsqlite::Executa(Ctx().nativo, sql); }

// One search, by the layer or natively, timed; the rows it finds stand beside the time.
template <long (*Executa)(const std::string&), std::string Contexto::*Sql>
void Busca(benchmark::State& s)
{
    long n = 0;
    for (auto _ : s) n = Executa(Ctx().*Sql);
    s.counters["rows"] = static_cast<double>(n);
}
BENCHMARK(Busca<PelaCamada, &Contexto::camadaNumero>)->Name("BM_NumeroConcorrente_Camada")->Unit(benchmark::kMillisecond);
BENCHMARK(Busca<Nativamente, &Contexto::nativoNumero>)->Name("BM_NumeroConcorrente_Nativo")->Unit(benchmark::kMillisecond);
BENCHMARK(Busca<PelaCamada, &Contexto::camadaPalavras>)->Name("BM_PalavrasDescricao_Camada")->Unit(benchmark::kMillisecond);
BENCHMARK(Busca<Nativamente, &Contexto::nativoPalavras>)->Name("BM_PalavrasDescricao_Nativo")->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    try {
        Prepara();
        // Both sides must find the same rows, or the comparison means nothing.
        const Contexto& c = Ctx();
        if (PelaCamada(c.camadaNumero) != Nativamente(c.nativoNumero) ||
            PelaCamada(c.camadaPalavras) != Nativamente(c.nativoPalavras))
            throw std::runtime_error("the layer and the native queries find different rows");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_catalog_search: %s\n", e.what());
        return 1;
    }
    benchsqlite::RelatorMedianas relator;
    benchmark::RunSpecifiedBenchmarks(&relator);
    for (const char* busca : {"BM_NumeroConcorrente", "BM_PalavrasDescricao"}) {
        const auto camada = relator.tempos.find(std::string(busca) + "_Camada");
        const auto nativo = relator.tempos.find(std::string(busca) + "_Nativo");
        if (camada == relator.tempos.end() || nativo == relator.tempos.end() || nativo->second <= 0) continue;
        std::printf("%s: layer %.3f ms, native %.3f ms, ratio %.2f\n", busca, camada->second, nativo->second,
                    camada->second / nativo->second);
    }
    sqlite3_close(Ctx().nativo);
    benchmark::Shutdown();
    return 0;
}
