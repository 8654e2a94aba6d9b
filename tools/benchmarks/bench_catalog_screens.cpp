// Every search box of the catalogue screens on a large catalogue (--scale 50: 20,000
// products, about 200,000 cross references), measured as the user feels it: the text of a
// box changes (or a combo's choice), the screen's own change handler rebuilds the list's
// SQL, the data control requeries, the grid's AtualizaGrid runs and the grid is painted
// offscreen. Beside each, the list's query alone through the database layer (the data
// control's record source, opened as a recordset) and the same list written for SQLite
// and run through its C API on a connection with the same page cache; the ratio of the two
// is printed. Start-up is measured in a fresh process per run: from the end of the splash
// animation to the main window painted; the memory after start-up and after a search of all
// products is printed.
//
//   bench_catalog_screens [benchmark options]
// The catalogue is generated into a temporary folder first, or taken from $ZK_BENCH_DATA
// (a data folder made by "zk_demo_data --scale 50 --no-pictures --out <folder>"); the
// benchmark works on a copy of its two database files. Medians come from 5 repetitions
// unless --benchmark_repetitions says otherwise.
#include "catalog/aux_window/ligacao/RegistroJanelaAuxiliar.h"
#include "catalog/main_window/frmZornak.h"
#include "catalog/screens/TelaAplicacao.h"
#include "catalog/screens/TelaLista.h"
#include "catalog/screens/TelaProduto.h"
#include "catalog/screens/TelasCatalogo.h"
#include "catalog/startup/Modulo.h"
#include "catalog/startup/frmApresentacao.h"
#include "platform/dao/Dao.h"
#include "platform/dao/JetSql.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Events.h"
#include "platform/os/Folders.h"
#include "platform/vb/Err.h"
#include "platform/vb/Strings.h"
#include "tools/benchmarks/RelatorMedianas.h"
#include "tools/benchmarks/SqliteDireto.h"
#include "tools/demo_data/Catalogo.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QPixmap>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <fstream>
#include <regex>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <variant>
#include <vector>

namespace {

// ------------------------------------------------------------------ the installed program

// Resident memory of this process, in KiB.
long MemoriaResidente()
{
    std::ifstream status("/proc/self/status");
    std::string linha;
    while (std::getline(status, linha))
        if (linha.rfind("VmRSS:", 0) == 0) return std::atol(linha.c_str() + 6);
    return -1;
}

// The program under root: "prog" with Caminho.txt, "dados" with copies of the two
// databases, "cfg" with Portuguese settings and no automatic update check.
void InstalaPrograma(const QString& raiz, const QString& dadosOrigem)
{
    for (const char* pasta : {"prog", "dados", "cfg/VelmoSistemas"}) QDir(raiz).mkpath(pasta);
    for (const char* arquivo : {"CatalogoZORNAK.c01", "CatalogoZORNAK.c02"}) {
        QFile::remove(raiz + "/dados/" + arquivo);
        if (!QFile::copy(dadosOrigem + "/" + arquivo, raiz + "/dados/" + arquivo))
            throw std::runtime_error("cannot copy " + std::string(arquivo));
    }
    QFile caminho(raiz + "/prog/Caminho.txt");
    caminho.open(QIODevice::WriteOnly | QIODevice::Truncate);
    caminho.write((raiz + "/dados").toUtf8());
    caminho.close();
    QFile cfg(raiz + "/cfg/VelmoSistemas/CatalogoZORNAKConfig.txt");
    cfg.open(QIODevice::WriteOnly | QIODevice::Truncate);
    cfg.write("P|0||");
}

// Points this process at the installed program.
void UsaPrograma(const QString& raiz)
{
    setenv("XDG_CONFIG_HOME", (raiz + "/cfg").toLocal8Bit().constData(), 1);
    os::SetProgramFolderForTesting((raiz + "/prog").toStdString());
}

void RegistraJanelas()
{
    vb::SetErrorHandler([](long numero, const std::string& descricao) {
        std::fprintf(stderr, "bench_catalog_screens: error %ld: %s\n", numero, descricao.c_str());
        std::_Exit(2);
    });
    RegistraJanelaPrincipal();
    RegistraJanelaAuxiliar();
}

void Pinta()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// ------------------------------------------------------------------ start-up, in a child

// The splash window as the program starts it, its animation playing on its own timer to its
// last frame and waiting the last frame's time; then its last tick (the start-up sequence
// and the window's unload) and the painting of the main window are timed. Prints "<ms> <KiB
// after start-up> <KiB after all products> <products>".
int InicioFilho(const QString& raiz)
{
    UsaPrograma(raiz);
    RegistraJanelas();
    frmApresentacaoForm& splash = frmApresentacao();
    splash.Show(vb::vbModeless);
    while (splash.QuadroAtual() < 6) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    splash.TimerAnimacao()->SetEnabled(false);
    QElapsedTimer ultimoQuadro;
    ultimoQuadro.start();
    while (ultimoQuadro.elapsed() < 600) {
        QCoreApplication::processEvents();
        usleep(2000);
    }
    Pinta();
    QElapsedTimer relogio;
    relogio.start();
    splash.tmrAnimacao_Timer();
    Pinta();
    const double ms = static_cast<double>(relogio.nsecsElapsed()) / 1e6;
    if (!JanelaCriada("frmZornak") || !frmZornak().IsLoaded()) return 3;
    const long aposInicio = MemoriaResidente();
    frmZornakForm& j = frmZornak();
    j.imgOrelha0_Click(1);   // the product search with every box empty: all products
    Pinta();
    const long todos = j.dtcTHGrid1.GetRecordset().RecordCount();
    const long aposTodos = MemoriaResidente();
    ApagaTabelaCarrinho(EstadoPrograma.DbAuxiliar, EstadoPrograma.TabelaCarrinho);
    std::printf("%.3f %ld %ld %ld\n", ms, aposInicio, aposTodos, todos);
    std::fflush(stdout);
    std::_Exit(0);
}

struct ResultadoInicio {
    double ms = 0;
    long kibInicio = 0, kibTodos = 0, produtos = 0;
};

ResultadoInicio RodaFilho(const QString& raiz)
{
    QProcess p;
    p.start(QCoreApplication::applicationFilePath(), {"--startup-child", raiz});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        throw std::runtime_error("the start-up run failed: " + p.readAllStandardError().toStdString());
    ResultadoInicio r;
    if (std::sscanf(p.readAllStandardOutput().constData(), "%lf %ld %ld %ld", &r.ms, &r.kibInicio, &r.kibTodos,
                    &r.produtos) != 4)
        throw std::runtime_error("the start-up run printed no figures");
    return r;
}

// ------------------------------------------------------------------ the searches

struct Contexto {
    std::unique_ptr<QTemporaryDir> temporaria;
    QString raiz;
    sqlite3* nativo = nullptr;
    ResultadoInicio inicio;
    long kibAntesBuscas = 0, kibTodosProdutos = 0;
};

Contexto& Ctx()
{
    static Contexto c;
    return c;
}

frmZornakForm& J() { return frmZornak(); }
TelasCatalogo& Telas() { return static_cast<TelasCatalogo&>(J().Telas()); }

// One search: how the screen is put up, the state before the measured change (not timed),
// the change itself, and the same list written for SQLite.
struct Busca {
    Busca(std::string n, std::function<void()> t, std::function<void()> a, std::function<void()> m,
          std::function<std::string()> s)
        : nome(std::move(n)), tela(std::move(t)), antes(std::move(a)), mudanca(std::move(m)), nativo(std::move(s)) {}
    std::string nome;
    std::function<void()> tela;      // shows the screen, once before the series
    std::function<void()> antes;     // the state one keystroke (or one choice) before
    std::function<void()> mudanca;   // the measured change
    std::function<std::string()> nativo;
    std::string sqlCamada;           // the record source the change left (read once)
    std::string sqlNativo;           // SQLite's text, made while the search's screen shows
    long linhas = -1;
};

std::vector<Busca>& Buscas()
{
    static std::vector<Busca> b;
    return b;
}

// The screen now shown, as the user's choice of its tab or list would bring it.
int telaAtual = -1;
long aplicacaoLista = 0;

void MostraTela(int tela, long aplicacao = 0)
{
    if (telaAtual == tela && aplicacaoLista == aplicacao) return;
    frmZornakForm& j = J();
    if (tela == 3) {
        const auto saindo = static_cast<std::uint8_t>(j.TelaAtual());
        // As a click on an application's list icon opens it.
        Telas().ReiniciaContextoLista();
        j.CodigoAplicacaoLista = aplicacao;
        j.m_HistoricoTelas = "03";
        j.TrocaTela(3, saindo, "LimpaTelaLista");
    } else {
        j.imgOrelha0_Click(tela == 1 ? 1 : 2);
    }
    Pinta();
    telaAtual = tela;
    aplicacaoLista = aplicacao;
}

// A combo's choice: its data control moves to the row, the combo raises its event.
void EscolheCombo(THCombo* combo, dao::DataControl& dc, const std::string& criterio)
{
    dao::Recordset rs = dc.GetRecordset();
    rs.FindFirst(criterio);
    if (rs.NoMatch()) throw std::runtime_error("no row " + criterio + " in the combo");
    combo->SelecaoAlterada();
}

void PintaGrade() { benchmark::DoNotOptimize(J().grdTHGrid1->Widget()->grab()); }

// ------------------------------------------------------------------ SQLite's own text

const std::string kBrancos(50, ' ');


// The description word filter: one GLOB per word, as MontaFiltroPalavras makes its LIKEs.
std::string GlobPalavras(const std::string& texto, const std::string& coluna)
{
    const std::string jet = MontaFiltroPalavras(texto, "X");
    std::string out;
    std::size_t p = 0;
    while ((p = jet.find("LIKE '", p)) != std::string::npos) {
        p += 6;
        const std::size_t fim = jet.find('\'', p);
        out += (out.empty() ? "" : " AND ") + coluna + " GLOB '" + benchsqlite::JetParaGlob(jet.substr(p, fim - p)) + "'";
        p = fim;
    }
    return out;
}

const std::string kFmtNumero = [] {
    const std::string z = "substr('00000000'||p.NumeroEmpresaProduto,";
    return z + "-8,2)||'-'||" + z + "-6,2)||'-'||" + z + "-4,4)";
}();

std::string ColunasProdutoInicio()
{
    return "CASE WHEN p.NumeroEmpresaProduto IS NULL THEN 'z' ELSE " + kFmtNumero + " END,p.DescricaoProdutoP,";
}

std::string ColunasProdutoMeio()
{
    return "coalesce(p.FlagLancamento,'')||coalesce(p.DataLancamento,''),p.CodigoProduto,"
           "CASE WHEN p.NumeroEmpresaProduto IS NULL THEN NULL ELSE " + kFmtNumero + " END,";
}

std::string FlagLancNativo() { return "(CASE WHEN p.FlagLancamento=1 THEN ' ' ELSE char(13) END)||"; }

std::string FlagObsNativo()
{
    return "(CASE WHEN o.CodigoProduto IS NULL THEN char(13) ELSE ' ' END)||'" + kBrancos +
           ".'||coalesce(p.DataLancamento,'')";
}

// The product lists' sort codes, as the screens' ORDER BY with Jet's collation.
std::string OrdemNativa(const std::string& ordem)
{
    if (ordem == "2") return " ORDER BY 2 COLLATE JET,1 COLLATE JET";
    if (ordem == "3") return " ORDER BY 3 COLLATE JET,1 COLLATE JET";
    if (ordem == "4") return " ORDER BY 4 COLLATE JET DESC,1 COLLATE JET";
    return " ORDER BY 1 COLLATE JET,2 COLLATE JET";
}

// The conditions of the product lists in SQLite's words; empty texts add nothing.
struct FiltrosNativos {
    std::string numero, descricao, referencia, item;
    int grupo = 0;
};

FiltrosNativos Numero(const std::string& t) { FiltrosNativos f; f.numero = t; return f; }
FiltrosNativos Descricao(const std::string& t) { FiltrosNativos f; f.descricao = t; return f; }
FiltrosNativos Referencia(const std::string& t) { FiltrosNativos f; f.referencia = t; return f; }
FiltrosNativos Item(const std::string& t) { FiltrosNativos f; f.item = t; return f; }
FiltrosNativos Grupo(int g) { FiltrosNativos f; f.grupo = g; return f; }

std::vector<std::string> CondicoesNativas(const FiltrosNativos& f, const std::string& produto,
                                          const std::string* fabricantes)
{
    std::vector<std::string> c;
    const std::string r = NormalizaCodigoAlfanumerico(f.referencia);
    if (!r.empty()) {
        std::string s = produto + " IN (SELECT CodigoProduto FROM REFERENCIACRUZADA WHERE instr(NumeroFabricantePesquisa,'" +
                        r + "')>0";
        if (fabricantes) s += " AND CodigoFabricante IN (" + ListaFabricantesSQL(*fabricantes) + ")";
        c.push_back(s + ")");
    }
    if (!f.item.empty()) c.push_back("c1.ItemFigura GLOB '" + benchsqlite::JetParaGlob(PreparaTextoSQL(f.item, true)) + "*'");
    if (f.grupo > 0) c.push_back("p.CodigoGrupoProduto=" + std::to_string(f.grupo));
    const std::string n = NormalizaCodigoNumerico(f.numero);
    if (!n.empty()) c.push_back("p.NumeroEmpresaProduto GLOB '" + n + "*'");
    const std::string d = GlobPalavras(f.descricao, "p.DescricaoProdutoP");
    if (!d.empty()) c.push_back(d);
    return c;
}

std::string Junta(const std::vector<std::string>& condicoes, const std::string& primeira = "")
{
    std::string w = primeira;
    for (const auto& c : condicoes) w += (w.empty() ? " WHERE " : " AND ") + c;
    return w;
}

std::string NativoProdutos(const FiltrosNativos& f, const std::string& ordem)
{
    return "SELECT " + ColunasProdutoInicio() + "g.DescricaoGrupoProdutoP," + ColunasProdutoMeio() +
           "p.ArquivoFotoProduto," + FlagLancNativo() + FlagObsNativo() +
           " FROM PRODUTO p LEFT JOIN GRUPOPRODUTO g ON p.CodigoGrupoProduto=g.CodigoGrupoProduto"
           " LEFT JOIN PRODUTO_OBS o ON p.CodigoProduto=o.CodigoProduto" +
           Junta(CondicoesNativas(f, "p.CodigoProduto", nullptr)) + OrdemNativa(ordem);
}

// The rows of one application's list: its products with their notes, one more join, the
// conditions and the sort.
std::string DaAplicacao(long aplicacao, const FiltrosNativos& f, const std::string& fabricantes,
                        const std::string& juncao, const std::string& ordem)
{
    return " FROM APLICACAO_PRODUTO ap JOIN PRODUTO p ON ap.CodigoProduto=p.CodigoProduto"
           " LEFT JOIN PRODUTO_OBS o ON p.CodigoProduto=o.CodigoProduto" +
           juncao +
           Junta(CondicoesNativas(f, "ap.CodigoProduto", &fabricantes),
                 " WHERE ap.CodigoAplicacao=" + std::to_string(aplicacao)) +
           OrdemNativa(ordem);
}

std::string NativoListaVeiculo(long aplicacao, const FiltrosNativos& f, const std::string& fabricantes, bool marca,
                               const std::string& ordem)
{
    return "SELECT DISTINCT " + ColunasProdutoInicio() + "g.DescricaoGrupoProdutoP," + ColunasProdutoMeio() +
           "p.ArquivoFotoProduto," + (marca ? FlagLancNativo() : std::string()) +
           "(CASE WHEN EXISTS(SELECT 1 FROM CONJUNTO_PRODUTO1 x WHERE x.CodigoProduto=ap.CodigoProduto) THEN ' ' ELSE "
           "char(13) END)||" + FlagObsNativo() +
           DaAplicacao(aplicacao, f, fabricantes, " LEFT JOIN GRUPOPRODUTO g ON p.CodigoGrupoProduto=g.CodigoGrupoProduto",
                       ordem);
}

std::string NativoListaConjunto(long aplicacao, const FiltrosNativos& f, const std::string& fabricantes, bool marca,
                                const std::string& ordem)
{
    return "SELECT DISTINCT " + ColunasProdutoInicio() +
           "CASE WHEN c1.ItemFigura IS NULL THEN 'z' WHEN c1.ItemFigura NOT GLOB '*[^0-9]*' THEN "
           "CASE WHEN length(c1.ItemFigura)>=2 THEN c1.ItemFigura ELSE substr('00'||c1.ItemFigura,-2) END "
           "ELSE substr('000'||c1.ItemFigura,-3) END," + ColunasProdutoMeio() +
           "c1.ItemFigura,p.ArquivoFotoProduto," + (marca ? FlagLancNativo() : std::string()) +
           "(CASE WHEN EXISTS(SELECT 1 FROM CONJUNTO_PRODUTO1 x WHERE x.CodigoAplicacao=ap.CodigoAplicacao AND "
           "x.CodigoProduto=ap.CodigoProduto) THEN ' ' ELSE char(13) END)||" + FlagObsNativo() +
           DaAplicacao(aplicacao, f, fabricantes,
                       " LEFT JOIN CONJUNTO_PRODUTO1 c1 ON ap.CodigoAplicacao=c1.CodigoAplicacao AND "
                       "ap.CodigoProduto=c1.CodigoProduto",
                       ordem);
}

std::string NativoAplicacoes(const std::string& descricao, int tipo, int fabricante, const std::string& ordem)
{
    std::vector<std::string> c;
    const std::string d = PreparaTextoSQL(MontaChaveBusca(descricao), true);
    if (!d.empty()) c.push_back("a.DescricaoAplicacaoPesquisaP GLOB '*" + benchsqlite::JetParaGlob(d) + "*'");
    if (tipo != 0) c.push_back("a.CodigoTipoAplicacao=" + std::to_string(tipo));
    if (fabricante != 0) c.push_back("a.CodigoFabricante=" + std::to_string(fabricante));
    const std::string o = ordem == "2"   ? " ORDER BY 2 COLLATE JET,3 COLLATE JET"
                          : ordem == "3" ? " ORDER BY 3 COLLATE JET,1 COLLATE JET,2 COLLATE JET"
                                         : " ORDER BY 1 COLLATE JET,2 COLLATE JET,3 COLLATE JET";
    return "SELECT t.DescricaoTipoAplicacaoP,a.DescricaoAplicacaoP,f.DescricaoFabricanteP,a.CodigoAplicacao,"
           "CASE WHEN EXISTS(SELECT 1 FROM CONJUNTO c WHERE c.CodigoAplicacao=a.CodigoAplicacao) THEN ' ' ELSE "
           "char(13) END FROM APLICACAO a LEFT JOIN TIPOAPLICACAO t ON a.CodigoTipoAplicacao=t.CodigoTipoAplicacao"
           " LEFT JOIN FABRICANTE f ON a.CodigoFabricante=f.CodigoFabricante" +
           Junta(c) + o;
}

long Nativamente(const std::string& sql) { return benchsqlite::Executa(Ctx().nativo, sql); }

long PelaCamada(const std::string& sql)
{
    dao::Recordset rs = EstadoPrograma.DbCatalogo.OpenRecordset(sql, dao::dbOpenDynaset);
    const long n = rs.RecordCount();
    rs.Close();
    return n;
}

// ------------------------------------------------------------------ the catalogue's choices

long Valor(const std::string& sql) { return ObtemValorSQL(sql, vb::Variant(-1L)).ToLong(); }

// The vehicle with the most products (list LV), the assembly application with the most
// products (list LC), the group with the most products of that vehicle, the type and
// manufacturer with the most applications.
struct Escolhas {
    long veiculo = 0, conjunto = 0;
    int grupoVeiculo = 0, grupo = 0, tipo = 0, fabricante = 0;
};

Escolhas Escolhe()
{
    Escolhas e;
    e.veiculo = Valor("SELECT TOP 1 APLICACAO.CodigoAplicacao FROM APLICACAO INNER JOIN APLICACAO_PRODUTO ON "
                      "APLICACAO.CodigoAplicacao = APLICACAO_PRODUTO.CodigoAplicacao WHERE APLICACAO.CodigoTipoAplicacao=1 "
                      "GROUP BY APLICACAO.CodigoAplicacao ORDER BY Count(*) DESC");
    e.conjunto = Valor("SELECT TOP 1 APLICACAO.CodigoAplicacao FROM APLICACAO INNER JOIN APLICACAO_PRODUTO ON "
                       "APLICACAO.CodigoAplicacao = APLICACAO_PRODUTO.CodigoAplicacao WHERE APLICACAO.CodigoTipoAplicacao<>1 "
                       "AND EXISTS(SELECT 1 FROM CONJUNTO WHERE CONJUNTO.CodigoAplicacao = APLICACAO.CodigoAplicacao) "
                       "GROUP BY APLICACAO.CodigoAplicacao ORDER BY Count(*) DESC");
    e.grupoVeiculo = static_cast<int>(Valor(
        "SELECT TOP 1 PRODUTO.CodigoGrupoProduto FROM APLICACAO_PRODUTO INNER JOIN PRODUTO ON "
        "APLICACAO_PRODUTO.CodigoProduto = PRODUTO.CodigoProduto WHERE APLICACAO_PRODUTO.CodigoAplicacao=" +
        std::to_string(e.veiculo) + " GROUP BY PRODUTO.CodigoGrupoProduto ORDER BY Count(*) DESC"));
    e.grupo = static_cast<int>(Valor("SELECT TOP 1 CodigoGrupoProduto FROM PRODUTO GROUP BY CodigoGrupoProduto "
                                     "ORDER BY Count(*) DESC"));
    e.tipo = static_cast<int>(Valor("SELECT TOP 1 CodigoTipoAplicacao FROM APLICACAO GROUP BY CodigoTipoAplicacao "
                                    "ORDER BY Count(*) DESC"));
    e.fabricante = static_cast<int>(Valor("SELECT TOP 1 CodigoFabricante FROM APLICACAO GROUP BY CodigoFabricante "
                                          "ORDER BY Count(*) DESC"));
    if (e.veiculo <= 0 || e.conjunto <= 0 || e.grupo <= 0 || e.grupoVeiculo <= 0 || e.tipo <= 0 || e.fabricante <= 0)
        throw std::runtime_error("the catalogue lacks a vehicle, an assembly, a group, a type or a manufacturer");
    return e;
}

bool MarcaLancamento() { return J().lblLancamentoLC && J().lblLancamentoLC->Tag() == "1"; }

void MontaBuscas(const Escolhas& e)
{
    auto& b = Buscas();
    auto tp = [] { return &Telas().Produto(); };
    auto tl = [] { return &Telas().Lista(); };
    auto ta = [] { return &Telas().Aplicacao(); };
    // A box of the product search: the text one keystroke before, then the text.
    auto produto = [&](const std::string& nome, std::function<vb::TextBox*()> caixa, std::string antes,
                       std::string texto, std::function<std::string()> nativo) {
        b.emplace_back(nome, [] { MostraTela(1); },
                     [caixa, antes] {
                         TelaProduto& t = Telas().Produto();
                         for (vb::TextBox* c : {t.txtNumeroEmpresa, t.txtDescricaoProduto, t.txtNumeroFabricante})
                             if (c != caixa() && !c->Text().empty()) c->SetText("");
                         EscolheCombo(J().cboTHCombo2, J().dtcTHCombo2, "CodigoGrupoProduto = 0");
                         caixa()->SetText(antes);
                     },
                     [caixa, texto] { caixa()->SetText(texto); }, std::move(nativo));
    };
    produto("Produto_NumeroEmpresa", [tp] { return tp()->txtNumeroEmpresa; }, "1", "12",
            [] { return NativoProdutos(Numero("12"), "1"); });
    produto("Produto_Descricao", [tp] { return tp()->txtDescricaoProduto; }, "pastilha de frei", "pastilha de freio",
            [] { return NativoProdutos(Descricao("pastilha de freio"), "2"); });
    produto("Produto_NumeroFabricante", [tp] { return tp()->txtNumeroFabricante; }, "12", "123",
            [] { return NativoProdutos(Referencia("123"), Telas().Produto().OrdemProdutos[0]); });
    produto("Produto_NumeroFabricantePrimeiraTecla", [tp] { return tp()->txtNumeroFabricante; }, "", "1",
            [] { return NativoProdutos(Referencia("1"), Telas().Produto().OrdemProdutos[0]); });
    // The last character of a box deleted: every product.
    produto("Produto_TodosOsProdutos", [tp] { return tp()->txtNumeroEmpresa; }, "1", "",
            [] { return NativoProdutos(FiltrosNativos(), "1"); });
    b.emplace_back("Produto_Grupo", [] { MostraTela(1); },
                 [] {
                     TelaProduto& t = Telas().Produto();
                     for (vb::TextBox* c : {t.txtNumeroEmpresa, t.txtDescricaoProduto, t.txtNumeroFabricante})
                         if (!c->Text().empty()) c->SetText("");
                     EscolheCombo(J().cboTHCombo2, J().dtcTHCombo2, "CodigoGrupoProduto = 0");
                 },
                 [g = e.grupo] { EscolheCombo(J().cboTHCombo2, J().dtcTHCombo2, "CodigoGrupoProduto = " + std::to_string(g)); },
                 [g = e.grupo] { return NativoProdutos(Grupo(g), "1"); });

    // The lists of one application: LV (a vehicle) and LC (an assembly).
    auto lista = [&](const std::string& nome, long aplicacao, bool conjunto, std::function<vb::TextBox*()> caixa,
                     std::string antes, std::string texto, std::string ordem, FiltrosNativos f) {
        b.emplace_back(nome, [aplicacao] { MostraTela(3, aplicacao); },
                     [caixa, antes, conjunto] {
                         TelaLista& t = Telas().Lista();
                         const std::vector<vb::TextBox*> caixas =
                             conjunto ? std::vector<vb::TextBox*>{t.txtNumeroEmpresaLC, t.txtDescricaoProdutoLC,
                                                                  t.txtNumeroFabricanteLC, t.txtItemFigLC}
                                      : std::vector<vb::TextBox*>{t.txtNumeroEmpresaLV, t.txtDescricaoProdutoLV,
                                                                  t.txtNumeroFabricanteLV};
                         for (vb::TextBox* c : caixas)
                             if (c != caixa() && !c->Text().empty()) c->SetText("");
                         if (!conjunto) EscolheCombo(J().cboTHCombo2, J().dtcTHCombo2, "CodigoGrupoProduto = 0");
                         caixa()->SetText(antes);
                     },
                     [caixa, texto] { caixa()->SetText(texto); },
                     [aplicacao, conjunto, f, ordem] {
                         // The reference box keeps the list's order.
                         const std::string o = f.referencia.empty() ? ordem : Telas().Lista().OrdemLista;
                         const std::string fab = J().FabricantesLista;
                         return conjunto ? NativoListaConjunto(aplicacao, f, fab, MarcaLancamento(), o)
                                         : NativoListaVeiculo(aplicacao, f, fab, MarcaLancamento(), o);
                     });
    };
    lista("ListaVeiculo_NumeroEmpresa", e.veiculo, false, [tl] { return tl()->txtNumeroEmpresaLV; }, "", "1", "1",
          Numero("1"));
    lista("ListaVeiculo_Descricao", e.veiculo, false, [tl] { return tl()->txtDescricaoProdutoLV; }, "filtr", "filtro",
          "2", Descricao("filtro"));
    lista("ListaVeiculo_NumeroFabricante", e.veiculo, false, [tl] { return tl()->txtNumeroFabricanteLV; }, "12", "123",
          "1", Referencia("123"));
    // The first character typed into the box: a substring that most references hold.
    lista("ListaVeiculo_NumeroFabricantePrimeiraTecla", e.veiculo, false, [tl] { return tl()->txtNumeroFabricanteLV; },
          "", "1", "1", Referencia("1"));
    b.emplace_back("ListaVeiculo_Grupo", [v = e.veiculo] { MostraTela(3, v); },
                 [] {
                     TelaLista& t = Telas().Lista();
                     for (vb::TextBox* c : {t.txtNumeroEmpresaLV, t.txtDescricaoProdutoLV, t.txtNumeroFabricanteLV})
                         if (!c->Text().empty()) c->SetText("");
                     EscolheCombo(J().cboTHCombo2, J().dtcTHCombo2, "CodigoGrupoProduto = 0");
                 },
                 [g = e.grupoVeiculo] {
                     EscolheCombo(J().cboTHCombo2, J().dtcTHCombo2, "CodigoGrupoProduto = " + std::to_string(g));
                 },
                 [v = e.veiculo, g = e.grupoVeiculo] {
                     return NativoListaVeiculo(v, Grupo(g), J().FabricantesLista, MarcaLancamento(), "1");
                 });
    lista("ListaConjunto_NumeroEmpresa", e.conjunto, true, [tl] { return tl()->txtNumeroEmpresaLC; }, "", "1", "1",
          Numero("1"));
    lista("ListaConjunto_Descricao", e.conjunto, true, [tl] { return tl()->txtDescricaoProdutoLC; }, "filtr", "filtro",
          "2", Descricao("filtro"));
    lista("ListaConjunto_NumeroFabricante", e.conjunto, true, [tl] { return tl()->txtNumeroFabricanteLC; }, "12",
          "123", "1", Referencia("123"));
    lista("ListaConjunto_ItemFigura", e.conjunto, true, [tl] { return tl()->txtItemFigLC; }, "", "1", "3",
          Item("1"));

    // The application search: its description box and its two combos.
    auto limpaAplicacao = [] {
        EscolheCombo(J().cboTHCombo2, J().dtcTHCombo2, "CodigoTipoAplicacao = 0");
        EscolheCombo(J().cboTHCombo1, J().dtcTHCombo1, "CodigoFabricante = 0");
    };
    b.emplace_back("Aplicacao_Descricao", [] { MostraTela(2); },
                 [ta, limpaAplicacao] {
                     limpaAplicacao();
                     ta()->txtDescricaoAplicacaoA->SetText("g");
                 },
                 [ta] { ta()->txtDescricaoAplicacaoA->SetText("go"); },
                 [] { return NativoAplicacoes("go", 0, 0, "2"); });
    b.emplace_back("Aplicacao_Tipo", [] { MostraTela(2); },
                 [ta, limpaAplicacao] {
                     if (!ta()->txtDescricaoAplicacaoA->Text().empty()) ta()->txtDescricaoAplicacaoA->SetText("");
                     limpaAplicacao();
                 },
                 [t = e.tipo] { EscolheCombo(J().cboTHCombo2, J().dtcTHCombo2, "CodigoTipoAplicacao = " + std::to_string(t)); },
                 [t = e.tipo] { return NativoAplicacoes("", t, 0, Telas().Aplicacao().OrdemAplicacoes); });
    b.emplace_back("Aplicacao_Fabricante", [] { MostraTela(2); },
                 [ta, limpaAplicacao] {
                     if (!ta()->txtDescricaoAplicacaoA->Text().empty()) ta()->txtDescricaoAplicacaoA->SetText("");
                     limpaAplicacao();
                 },
                 [f = e.fabricante] {
                     EscolheCombo(J().cboTHCombo1, J().dtcTHCombo1, "CodigoFabricante = " + std::to_string(f));
                 },
                 [f = e.fabricante] { return NativoAplicacoes("", 0, f, Telas().Aplicacao().OrdemAplicacoes); });
}

// Puts the search's screen and state up, makes the change once, and keeps the record source
// it left; both sides must then find the same rows.
void PreparaBusca(Busca& b)
{
    b.tela();
    b.antes();
    b.mudanca();
    Pinta();
    b.sqlCamada = J().dtcTHGrid1.RecordSource();
    b.linhas = J().dtcTHGrid1.GetRecordset().RecordCount();
    // The list screens' texts take the shown application's manufacturers and sort: made now,
    // not when another screen may be showing.
    b.sqlNativo = b.nativo();
    const long nativas = Nativamente(b.sqlNativo);
    if (PelaCamada(b.sqlCamada) != b.linhas || nativas != b.linhas)
        throw std::runtime_error(b.nome + ": the screen found " + std::to_string(b.linhas) + " rows, SQLite " +
                                 std::to_string(nativas));
}

// Minor page faults of this process so far: memory taken from the system anew.
long Faltas()
{
    rusage r{};
    getrusage(RUSAGE_SELF, &r);
    return r.ru_minflt;
}

void BM_Tela(benchmark::State& s, Busca* b)
{
    b->tela();
    long faltas = 0;
    for (auto _ : s) {
        s.PauseTiming();
        b->antes();
        Pinta();
        const long antes = Faltas();
        s.ResumeTiming();
        b->mudanca();
        PintaGrade();
        faltas += Faltas() - antes;
    }
    s.counters["rows"] = static_cast<double>(b->linhas);
    s.counters["faults"] = benchmark::Counter(static_cast<double>(faltas), benchmark::Counter::kAvgIterations);
}

void BM_Camada(benchmark::State& s, Busca* b)
{
    long n = 0;
    const long antes = Faltas();
    for (auto _ : s) n = PelaCamada(b->sqlCamada);
    s.counters["rows"] = static_cast<double>(n);
    s.counters["faults"] = benchmark::Counter(static_cast<double>(Faltas() - antes), benchmark::Counter::kAvgIterations);
}

void BM_Nativo(benchmark::State& s, Busca* b)
{
    const std::string& sql = b->sqlNativo;
    long n = 0;
    const long antes = Faltas();
    for (auto _ : s) n = Nativamente(sql);
    s.counters["rows"] = static_cast<double>(n);
    s.counters["faults"] = benchmark::Counter(static_cast<double>(Faltas() - antes), benchmark::Counter::kAvgIterations);
}

void BM_Inicio(benchmark::State& s)
{
    for (auto _ : s) {
        Ctx().inicio = RodaFilho(Ctx().raiz);
        s.SetIterationTime(Ctx().inicio.ms / 1000.0);
    }
}

void Prepara()
{
    Contexto& c = Ctx();
    c.temporaria = std::make_unique<QTemporaryDir>();
    c.raiz = c.temporaria->path();
    QString dados;
    if (const char* p = std::getenv("ZK_BENCH_DATA")) {
        dados = QString::fromLocal8Bit(p);
    } else {
        dados = c.raiz + "/gerado";
        std::fprintf(stderr, "generating the --scale 50 catalogue in %s ...\n", dados.toLocal8Bit().constData());
        demo::GravaPastaDados(demo::GeraCatalogo({1, 50}), dados.toStdString(), false);
    }
    InstalaPrograma(c.raiz, dados);
    UsaPrograma(c.raiz);
    RegistraJanelas();
    if (!Inicializa()) throw std::runtime_error("the program did not start");
    Pinta();
    c.kibAntesBuscas = MemoriaResidente();

    // SQLite directly, on the same file with the same page cache as the layer's connection.
    const std::string arquivo = (c.raiz + "/dados/CatalogoZORNAK.c01").toStdString();
    if (sqlite3_open_v2(arquivo.c_str(), &c.nativo, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        throw std::runtime_error("cannot open the catalogue natively");
    const std::string chave = "PRAGMA key = '" + ObtemSenhaBancoDados() + "'";
    sqlite3_exec(c.nativo, chave.c_str(), nullptr, nullptr, nullptr);
    dao::SizePageCache(c.nativo, QFileInfo(QString::fromStdString(arquivo)).size());
    // The schema's text columns name the JET collation, so a native connection needs it too.
    dao::RegisterJetFunctions(c.nativo);

    MontaBuscas(Escolhe());
    // Only the searches the filter asks for are prepared (and checked).
    const std::regex filtro(benchmark::GetBenchmarkFilter() == "all" ? std::string(".") : benchmark::GetBenchmarkFilter());
    auto& buscas = Buscas();
    buscas.erase(std::remove_if(buscas.begin(), buscas.end(),
                                [&](const Busca& b) {
                                    for (const char* lado : {"_Tela", "_Camada", "_Nativo"})
                                        if (std::regex_search("BM_" + b.nome + lado, filtro)) return false;
                                    return true;
                                }),
                 buscas.end());
    for (Busca& b : buscas) PreparaBusca(b);
    MostraTela(1);
    Telas().Produto().txtNumeroEmpresa->SetText("");
    EscolheCombo(J().cboTHCombo2, J().dtcTHCombo2, "CodigoGrupoProduto = 0");
    Pinta();
    c.kibTodosProdutos = MemoriaResidente();
}

}  // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc == 3 && std::string(argv[1]) == "--startup-child") return InicioFilho(QString::fromLocal8Bit(argv[2]));

    // Unless told otherwise: 5 repetitions, reported as their aggregates, the repetitions of
    // all benchmarks interleaved at random, so that a change in the machine's load falls on
    // the screen, the layer and SQLite alike.
    std::vector<char*> args(argv, argv + argc);
    std::string repeticoes = "--benchmark_repetitions=5";
    std::string soAgregados = "--benchmark_report_aggregates_only=true";
    std::string intercalados = "--benchmark_enable_random_interleaving=true";
    auto dado = [&](const char* opcao) {
        for (int i = 1; i < argc; ++i)
            if (std::string(argv[i]).rfind(opcao, 0) == 0) return true;
        return false;
    };
    if (!dado("--benchmark_repetitions")) {
        args.push_back(repeticoes.data());
        args.push_back(soAgregados.data());
    }
    if (!dado("--benchmark_enable_random_interleaving")) args.push_back(intercalados.data());
    int n = static_cast<int>(args.size());
    benchmark::Initialize(&n, args.data());
    try {
        Prepara();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_catalog_screens: %s\n", e.what());
        return 1;
    }
    benchmark::RegisterBenchmark("BM_Inicio", BM_Inicio)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
    for (Busca& b : Buscas()) {
        benchmark::RegisterBenchmark(("BM_" + b.nome + "_Tela").c_str(), BM_Tela, &b)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("BM_" + b.nome + "_Camada").c_str(), BM_Camada, &b)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("BM_" + b.nome + "_Nativo").c_str(), BM_Nativo, &b)->Unit(benchmark::kMillisecond);
    }
    benchsqlite::RelatorMedianas relator;
    benchmark::RunSpecifiedBenchmarks(&relator);

    auto t = [&](const std::string& nome) {
        auto it = relator.tempos.find(nome);
        return it == relator.tempos.end() ? -1.0 : it->second;
    };
    std::printf("\n%-32s %7s %12s %11s %11s %6s\n", "search", "rows", "screen (ms)", "layer (ms)", "SQLite (ms)", "ratio");
    for (const Busca& b : Buscas()) {
        const double tela = t("BM_" + b.nome + "_Tela"), camada = t("BM_" + b.nome + "_Camada"),
                     nativo = t("BM_" + b.nome + "_Nativo");
        if (tela < 0 && camada < 0) continue;
        std::printf("%-32s %7ld %12.2f %11.2f %11.2f %6.2f\n", b.nome.c_str(), b.linhas, tela, camada, nativo,
                    nativo > 0 ? camada / nativo : 0.0);
    }
    const Contexto& c = Ctx();
    if (t("BM_Inicio") >= 0)
        std::printf("\nstart-up after the splash animation: %.1f ms (median); memory after start-up %.1f MiB, "
                    "after all %ld products %.1f MiB\n",
                    t("BM_Inicio"), c.inicio.kibInicio / 1024.0, c.inicio.produtos, c.inicio.kibTodos / 1024.0);
    std::printf("this process: %.1f MiB after start-up, %.1f MiB after every search and all products shown\n",
                c.kibAntesBuscas / 1024.0, c.kibTodosProdutos / 1024.0);
    std::fflush(stdout);
    sqlite3_close(c.nativo);
    ApagaTabelaCarrinho(EstadoPrograma.DbAuxiliar, EstadoPrograma.TabelaCarrinho);
    benchmark::Shutdown();
    // The windows go while the application object still exists.
    LiberaJanelas();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    return 0;
}
