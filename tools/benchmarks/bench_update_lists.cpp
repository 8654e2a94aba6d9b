// The reading of the version lists of an update: a list of 20,000 lines (about 540 KB, a
// large picture update) made into the update file table, and the same names listed again by
// a later version in other case and with blanks around them (every line then a repeat,
// skipped).
//
// Then what the user waits for after the downloads of such an update into a picture folder
// that already holds 5,000 files: the check of every listed name against the open databases
// (step 1), and the putting in place of 20,000 small downloaded files (step 3), each name
// matched without case against the folder's files; and 5,000 listed names that replace the
// folder's files under another case. The folders live in a temporary folder of their own;
// the files to place are written before each round and removed after it, out of the time.
//
//   bench_update_lists [benchmark options]
#include "catalog/aux_window/AtualizacaoCatalogo.h"

#include "catalog/startup/Modulo.h"
#include "platform/vb/Strings.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kLinhas = 20000;

// "DAT;Fotos\F01234.JPG;48213" and its CR LF, 27 bytes a line on average.
std::string ListaFotos(bool outraCaixa) {
    std::string texto;
    char linha[64];
    for (int i = 0; i < kLinhas; ++i) {
        std::snprintf(linha, sizeof linha, outraCaixa ? "DAT; fotos\\f%05d.jpg ;%d\r\n" : "DAT;Fotos\\F%05d.JPG;%d\r\n",
                      i, 1000 + (i * 7919) % 9000);
        texto += linha;
    }
    return texto;
}

void BM_ListaVersao20000Linhas(benchmark::State& estado) {
    const std::string lista = ListaFotos(false);
    for (auto _ : estado) {
        std::vector<ArquivoAtualizacao> tabela;
        std::int64_t total = 0;
        AcrescentaListaVersao(lista, tabela, total);
        benchmark::DoNotOptimize(tabela.data());
        if (tabela.size() != kLinhas) estado.SkipWithError("the table lost entries");
    }
    estado.counters["bytes"] = static_cast<double>(lista.size());
}
BENCHMARK(BM_ListaVersao20000Linhas)->Unit(benchmark::kMillisecond);

void BM_SegundaListaRepeteTudo(benchmark::State& estado) {
    const std::string primeira = ListaFotos(false), segunda = ListaFotos(true);
    for (auto _ : estado) {
        estado.PauseTiming();
        std::vector<ArquivoAtualizacao> tabela;
        std::int64_t total = 0;
        AcrescentaListaVersao(primeira, tabela, total);
        estado.ResumeTiming();
        AcrescentaListaVersao(segunda, tabela, total);
        if (tabela.size() != kLinhas) estado.SkipWithError("a repeated name was added");
    }
}
BENCHMARK(BM_SegundaListaRepeteTudo)->Unit(benchmark::kMillisecond);

namespace fs = std::filesystem;

// A data folder with the two databases (empty stand-ins: nothing opens them here) and a
// picture folder "Fotos" of `existentes` files named as the demo names its pictures.
class PastaDadosBench {
public:
    explicit PastaDadosBench(int existentes) {
        char modelo[] = "/tmp/zk-bench-pastaXXXXXX";
        if (!mkdtemp(modelo)) std::abort();
        dados_ = std::string(modelo) + "/";
        fs::create_directories(dados_ + "Fotos");
        for (const char* banco : {ArquivoBancoCatalogo, ArquivoBancoAuxiliar}) std::ofstream(dados_ + banco) << "x";
        char nome[64];
        for (int i = 0; i < existentes; ++i) {
            std::snprintf(nome, sizeof nome, "Fotos/FG%05d_01.png", i);
            std::ofstream(dados_ + nome) << "antiga";
        }
    }
    ~PastaDadosBench() {
        std::error_code ec;
        fs::remove_all(dados_, ec);
    }
    const std::string& Dados() const { return dados_; }

private:
    std::string dados_;
};

// The table of a list naming `quantos` pictures: new ones ("Fotos\F00000.JPG" ...), or the
// folder's own files in other case ("fotos\fg00000_01.PNG" ...).
std::vector<ArquivoAtualizacao> TabelaFotos(int quantos, bool existentesOutraCaixa) {
    std::string lista;
    char linha[64];
    for (int i = 0; i < quantos; ++i) {
        std::snprintf(linha, sizeof linha, existentesOutraCaixa ? "DAT;fotos\\fg%05d_01.PNG;6\r\n" : "DAT;Fotos\\F%05d.JPG;4\r\n", i);
        lista += linha;
    }
    std::vector<ArquivoAtualizacao> tabela;
    std::int64_t total = 0;
    AcrescentaListaVersao(lista, tabela, total);
    return tabela;
}

// Step 1: every listed name checked against the open databases; the folders are read once
// for the run, so each round starts without them.
void BM_DestinosNaPasta(benchmark::State& estado) {
    const PastaDadosBench pasta(static_cast<int>(estado.range(1)));
    const std::vector<ArquivoAtualizacao> tabela = TabelaFotos(static_cast<int>(estado.range(0)), false);
    for (auto _ : estado) {
        os::FolderNames pastas;
        for (const ArquivoAtualizacao& a : tabela) VerificaDestinoLivre(pasta.Dados(), a.Nome, pastas);
        benchmark::DoNotOptimize(pastas.Readings());
    }
    estado.counters["nomes"] = static_cast<double>(tabela.size());
}
BENCHMARK(BM_DestinosNaPasta)->Args({20000, 5000})->Unit(benchmark::kMillisecond);

// Step 3: the downloaded files, waiting in the data folder under temporary names, renamed
// into the picture folder.
void BM_ColocaArquivos(benchmark::State& estado) {
    const bool outraCaixa = estado.range(2) != 0;
    const PastaDadosBench pasta(static_cast<int>(estado.range(1)));
    std::vector<ArquivoAtualizacao> tabela = TabelaFotos(static_cast<int>(estado.range(0)), outraCaixa);
    for (std::size_t i = 0; i < tabela.size(); ++i) tabela[i].Local = pasta.Dados() + std::to_string(i) + ".tmp";
    std::vector<std::string> colocados;
    for (auto _ : estado) {
        estado.PauseTiming();
        for (const ArquivoAtualizacao& a : tabela) std::ofstream(a.Local) << "nova";
        colocados.clear();
        estado.ResumeTiming();
        os::FolderNames pastas;
        for (const ArquivoAtualizacao& a : tabela) colocados.push_back(ColocaArquivoAtualizacao(pasta.Dados(), a, pastas));
        estado.PauseTiming();
        if (outraCaixa) {
            // Every file replaced under its old name: nothing new beside it.
            if (colocados.front() != pasta.Dados() + "Fotos/FG00000_01.png")
                estado.SkipWithError("a file was not replaced under its name");
        } else {
            for (const std::string& c : colocados) fs::remove(c);
        }
        estado.ResumeTiming();
    }
    estado.counters["arquivos"] = static_cast<double>(tabela.size());
}
BENCHMARK(BM_ColocaArquivos)->Args({20000, 5000, 0})->Args({5000, 5000, 1})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
