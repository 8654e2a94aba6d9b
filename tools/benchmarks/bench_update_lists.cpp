// The reading of the version lists of an update: a list of 20,000 lines (about 540 KB, a
// large picture update) made into the update file table, and the same names listed again by
// a later version in other case and with blanks around them (every line then a repeat,
// skipped).
//
//   bench_update_lists [benchmark options]
#include "catalog/aux_window/AtualizacaoCatalogo.h"

#include <benchmark/benchmark.h>

#include <cstdio>
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

}  // namespace

BENCHMARK_MAIN();
