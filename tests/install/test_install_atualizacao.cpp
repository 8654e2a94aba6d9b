// The update installation: the reading of addresses and version lists, and whole runs
// against a local HTTP server on a private copy of the demo data folder.
#include "catalog/aux_window/AtualizacaoCatalogo.h"
#include "common/modInternet.h"
#include "common/modTraducao.h"
#include "platform/os/Folders.h"
#include "platform/vb/Err.h"
#include "tests/data/Pasta.h"
#include "tests/support/AplicacaoTeste.h"
#include "tests/support/EscritaQueFalha.h"
#include "tests/support/ProgramaDemo.h"
#include "tests/support/ServidorHttpTeste.h"

#include <QCoreApplication>
#include <QProcess>

#include <gtest/gtest.h>

#include <zip.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

namespace fs = std::filesystem;
using testsupport::ServidorHttpTeste;

namespace {

std::string LeTudo(const fs::path& caminho) {
    std::ifstream f(caminho, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

// --- The reading of the update address and of the version lists -----------------------------

TEST(EnderecoAtualizacao, ServidorECaminhoBase) {
    struct Caso {
        const char* url;
        const char* servidor;
        const char* base;
    } casos[] = {
        {"http://atualizacao.zornak.example/catalogo/", "atualizacao.zornak.example", "catalogo/"},
        {"HTTP://host/a/b", "host", "a/b/"},
        {"host/catalogo", "host", "catalogo/"},
        {"http://host", "host", ""},
        {"127.0.0.1:8080/x/", "127.0.0.1:8080", "x/"},
        // Another scheme stays: its name and colon become the host, and the connection fails.
        {"ftp://h/x", "ftp:", "/h/x/"},
    };
    for (const Caso& c : casos) {
        const EnderecoAtualizacao e = LeEnderecoAtualizacao(c.url);
        EXPECT_EQ(e.Servidor, c.servidor) << c.url;
        EXPECT_EQ(e.CaminhoBase, c.base) << c.url;
    }
    EXPECT_EQ(NomeListaVersao(28), "ListVersao28.txt");
}

struct CasoLista {
    const char* descricao;
    std::vector<std::string> listas;
    long erro;                                   // 0: no error
    std::vector<std::string> tipos, nomes;
    std::vector<long> tamanhos;
    std::int64_t total;
};

TEST(ListaVersao, MontaTabelaDeArquivos) {
    const CasoLista casos[] = {
        {"kinds cut or padded to 3 characters; blank lines skipped",
         {"SDBX;s.sql;10\r\n\r\n   \r\nsdb;dados.sdb;5\r\nEX;p;1;extra\r\nEXE;prog;2\r\n"},
         0, {"SDB", "sdb", "EX ", "EXE"}, {"s.sql", "dados.sdb", "p", "prog"}, {10, 5, 1, 2}, 18},
        {"the first list naming a file wins, names compared trimmed and without case",
         {"DAT;Figuras\\a.jpg;7\r\n", "SDB; FIGURAS\\A.JPG ;99\r\nDAT;b.txt;3"},
         0, {"DAT", "DAT"}, {"Figuras\\a.jpg", "b.txt"}, {7, 3}, 10},
        {"a repeated name is skipped before its size is read",
         {"DAT;a.txt;1\r\n", "DAT;A.TXT\r\nDAT;a.txt;nada"}, 0, {"DAT"}, {"a.txt"}, {1}, 1},
        {"a name repeated within one list, the first line wins",
         {"DAT;b.txt;4\r\nSDB;a.txt;1\r\nEXE; B.TXT ;9\r\nDAT;c.txt;2\r\nDAT;A.txt;x"}, 0, {"DAT", "SDB", "DAT"},
         {"b.txt", "a.txt", "c.txt"}, {4, 1, 2}, 7},
        {"a failing line keeps the entries of the lines before it",
         {"DAT;a.txt;1\r\nDAT;b.txt;muito"}, vb::err::TypeMismatch, {"DAT"}, {"a.txt"}, {1}, 1},
        {"no size field", {"DAT;a.txt"}, vb::err::SubscriptOutOfRange, {}, {}, {}, 0},
        {"no name field", {"DAT"}, vb::err::SubscriptOutOfRange, {}, {}, {}, 0},
        {"a size that is no number", {"DAT;a.txt;grande"}, vb::err::TypeMismatch, {}, {}, {}, 0},
        {"LF-only line ends read as one line", {"DAT;a.txt;1\nDAT;b.txt;2"}, vb::err::TypeMismatch, {}, {}, {}, 0},
        {"a name going up out of the data folder", {"DAT;ok.txt;1\r\nDAT;..\\fora.txt;1"},
         vb::err::BadFileNameOrNumber, {"DAT"}, {"ok.txt"}, {1}, 1},
        {"a deeper way up", {"DAT;a\\..\\..\\fora.txt;1"}, vb::err::BadFileNameOrNumber, {}, {}, {}, 0},
        {"an absolute name", {"DAT;\\etc\\fora;1"}, vb::err::BadFileNameOrNumber, {}, {}, {}, 0},
        {"an absolute name with /", {"DAT;/tmp/fora;1"}, vb::err::BadFileNameOrNumber, {}, {}, {}, 0},
        {"a drive", {"DAT;C:\\fora.txt;1"}, vb::err::BadFileNameOrNumber, {}, {}, {}, 0},
        {"a folder, not a file", {"DAT;Figuras\\;1"}, vb::err::BadFileNameOrNumber, {}, {}, {}, 0},
        {"an empty name", {"DAT; ;1"}, vb::err::BadFileNameOrNumber, {}, {}, {}, 0},
        {"a NUL in the name", {std::string("DAT;a\0b;1", 9)}, vb::err::BadFileNameOrNumber, {}, {}, {}, 0},
    };
    for (const CasoLista& c : casos) {
        std::vector<ArquivoAtualizacao> tabela;
        std::int64_t total = 0;
        long erro = 0;
        try {
            for (const std::string& l : c.listas) AcrescentaListaVersao(l, tabela, total);
        } catch (const vb::Error& e) {
            erro = e.Number();
        }
        EXPECT_EQ(erro, c.erro) << c.descricao;
        std::vector<std::string> tipos, nomes;
        std::vector<long> tamanhos;
        for (const ArquivoAtualizacao& a : tabela) {
            tipos.push_back(a.Tipo);
            nomes.push_back(a.Nome);
            tamanhos.push_back(a.Tamanho);
        }
        EXPECT_EQ(tipos, c.tipos) << c.descricao;
        EXPECT_EQ(nomes, c.nomes) << c.descricao;
        EXPECT_EQ(tamanhos, c.tamanhos) << c.descricao;
        EXPECT_EQ(total, c.total) << c.descricao;
    }
}

TEST(ListaVersao, ArquivosCompactadosELancamentos) {
    EXPECT_TRUE(EhArquivoCompactadoAtualizacao("DATA\\PECAS-CI-.ZIP"));
    EXPECT_TRUE(EhArquivoCompactadoAtualizacao("-ci-.zip"));
    EXPECT_FALSE(EhArquivoCompactadoAtualizacao("pecas.zip"));
    EXPECT_FALSE(EhArquivoCompactadoAtualizacao("pecas-ci-.zip.bak"));

    struct Caso {
        std::vector<long> antes, depois;
        bool novos;
    } casos[] = {
        {{0}, {0}, false},
        {{3, 8, 15, 42}, {8, 42}, false},
        {{3, 8, 15, 42}, {3, 8, 9, 15, 42}, true},
        {{0}, {5}, true},
        {{5, 9}, {0}, true},
    };
    for (const Caso& c : casos) EXPECT_EQ(ComparaListasLancamentos(c.antes, c.depois), c.novos);

    EXPECT_EQ(MontaComandoVersao(27, 29, vb::DateSerial(2026, 12, 10) + vb::TimeSerial(9, 5, 7)),
              "UPDATE UMREGISTRO SET Versao                    = 29,VersaoAnterior            = 27,"
              "DataUltimaVerificacao     = DateSerial(2026,12,10)+TimeSerial(9,5,7),FlagErroUltimaVerificacao = 0");
}

TEST(ListaVersao, CaminhoNaPastaDadosSemCaixa) {
    QTemporaryDir dir;
    const std::string pasta = dir.path().toStdString() + "/";
    fs::create_directories(pasta + "Figuras/Sub");
    std::ofstream(pasta + "Figuras/Sub/Foto.JPG") << "x";
    EXPECT_EQ(CaminhoArquivoAtualizacao(pasta, "FIGURAS\\sub\\foto.jpg"), pasta + "Figuras/Sub/Foto.JPG");
    EXPECT_EQ(CaminhoArquivoAtualizacao(pasta, "figuras\\Nova\\a.txt"), pasta + "Figuras/Nova/a.txt");
    EXPECT_EQ(CaminhoArquivoAtualizacao(pasta, "novo.txt"), pasta + "novo.txt");
}

// --- Whole runs ----------------------------------------------------------------------------

// What the screen would show, as the runs report it.
class ProgressoGravado : public IProgressoAtualizacao {
public:
    void IniciaPasso(int passo, double total) override {
        iniciados.push_back(passo);
        totais[passo] = total;
        feitos[passo] = 0;
    }
    void DefineFeito(int passo, double feito) override { feitos[passo] = feito; }
    void AcrescentaFeito(int passo, double quantidade) override {
        feitos[passo] += quantidade;
        recebidos[passo] += quantidade;
    }
    void TerminaPasso(int passo) override { terminados.push_back(passo); }

    std::vector<int> iniciados, terminados;
    std::map<int, double> totais, feitos, recebidos;
};

// A zip archive in memory with the given entries.
std::string CriaZip(const std::map<std::string, std::string>& entradas, const std::string& pasta) {
    const std::string caminho = pasta + "/montado.zip";
    int erro = 0;
    zip_t* z = zip_open(caminho.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &erro);
    EXPECT_NE(z, nullptr);
    for (const auto& [nome, conteudo] : entradas) {
        zip_source_t* s = zip_source_buffer(z, conteudo.data(), conteudo.size(), 0);
        EXPECT_GE(zip_file_add(z, nome.c_str(), s, ZIP_FL_OVERWRITE), 0);
    }
    EXPECT_EQ(zip_close(z), 0);
    const std::string bytes = LeTudo(caminho);
    fs::remove(caminho);
    return bytes;
}

class InstalacaoNoServidor : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testsupport::CriaAplicacao<QCoreApplication>("test_install_atualizacao"); }

    void SetUp() override {
        qputenv("XDG_CONFIG_HOME", config_.path().toUtf8());
        servidor_ = std::make_unique<ServidorHttpTeste>([this](const ServidorHttpTeste::Pedido& p) {
            // "GET /catalogo/Nome HTTP/1.0"
            std::string objeto = p.linha.substr(4, p.linha.rfind(' ') - 4);
            std::lock_guard<std::mutex> trava(mutex_);
            pedidos_.push_back(objeto);
            if (const auto bruto = brutos_.find(objeto); bruto != brutos_.end()) return bruto->second;
            const auto it = arquivos_.find(objeto);
            if (it == arquivos_.end()) return ServidorHttpTeste::Resposta(404, "not here");
            return ServidorHttpTeste::Resposta(200, it->second);
        });
        dados_ = pasta_.Caminho();
        teste::AbreComoInicio(dados_);
        {
            teste::Escrita e;
            e.Executa("UPDATE UMREGISTRO SET UrlAtualizacao='http://127.0.0.1:" + std::to_string(servidor_->Porta()) +
                      "/catalogo', Versao=27");
        }
        EstadoPrograma.ReiniciarAposAtualizacao = false;
        cnpopAntes_ = LeTudo(dados_ + "cnpop.txt");
        DefineTempoLimiteInternet(5000);
    }
    void TearDown() override {
        EstadoPrograma.ReiniciarAposAtualizacao = false;
        teste::FechaTudo();
        servidor_.reset();
    }

    void Serve(const std::string& nome, const std::string& corpo) {
        std::lock_guard<std::mutex> trava(mutex_);
        arquivos_["/catalogo/" + nome] = corpo;
    }
    // The whole reply, as a server that misbehaves sends it.
    void ServeBruto(const std::string& nome, const std::string& resposta) {
        std::lock_guard<std::mutex> trava(mutex_);
        brutos_["/catalogo/" + nome] = resposta;
    }
    std::vector<std::string> Pedidos() {
        std::lock_guard<std::mutex> trava(mutex_);
        return pedidos_;
    }
    // The first value of a query, read through the catalogue opened afresh in a workspace of
    // its own ("(Null)" for Null).
    std::string ValorReaberto(const std::string& sql) {
        dao::Workspace ws;
        dao::Database db;
        AbreBancoCatalogo(ws, "Confere", db, true);
        dao::Recordset rs = db.OpenRecordset(sql, dao::dbOpenSnapshot);
        const vb::Variant v = rs.Eof() ? vb::Variant() : rs.Fields(0).Value();
        rs.Close();
        FechaBanco(ws, db);
        return v.IsNull() ? std::string("(Null)") : v.ToString();
    }
    vb::Variant Registro(const std::string& coluna) {
        return ObtemValorSQL("SELECT " + coluna + " FROM UMREGISTRO", vb::Variant());
    }
    // Products that are not releases now, for the script to flag.
    std::vector<long> ProdutosSemLancamento(int quantos) {
        std::vector<long> codigos;
        dao::Recordset rs = EstadoPrograma.DbCatalogo.OpenRecordset(
            "SELECT CodigoProduto FROM PRODUTO WHERE FlagLancamento<>1 ORDER BY 1", dao::dbOpenForwardOnly);
        while (!rs.Eof() && static_cast<int>(codigos.size()) < quantos) {
            codigos.push_back(rs.Fields(0).Value().ToLong());
            rs.MoveNext();
        }
        return codigos;
    }
    // Files the run left behind in the data folder.
    std::vector<std::string> Temporarios() {
        std::vector<std::string> t;
        for (const auto& e : fs::directory_iterator(dados_))
            if (e.path().extension() == ".tmp") t.push_back(e.path().filename().string());
        return t;
    }

    QTemporaryDir config_;
    teste::PastaDados pasta_;
    std::string dados_;
    std::string cnpopAntes_;
    std::unique_ptr<ServidorHttpTeste> servidor_;
    std::mutex mutex_;
    std::map<std::string, std::string> arquivos_;
    std::map<std::string, std::string> brutos_;
    std::vector<std::string> pedidos_;
    ProgressoGravado progresso_;
};

TEST_F(InstalacaoNoServidor, DuasVersoesComArquivosArquivoCompactadoEScripts) {
    const std::vector<long> produtos = ProdutosSemLancamento(2);
    ASSERT_EQ(produtos.size(), 2u);
    QTemporaryDir trabalho;
    const std::string zip = CriaZip({{"sub/a.txt", "AAA"}, {"b.txt", "BB"}}, trabalho.path().toStdString());

    Serve("ListVersao28.txt",
          "DAT;cnpop.txt;1\r\nDAT;Novos\\leia.txt;5\r\nDAT;Figuras\\PECAS-CI-.ZIP;" + std::to_string(zip.size()) +
              "\r\nSDB;script28.sql;10\r\n");
    // A later list naming a file again does not fetch it twice.
    const std::string script29 = std::to_string(produtos[1]);
    Serve("ListVersao29.txt", "dat;CNPOP.TXT;99\r\n\r\nSDB;script29.sql;" + std::to_string(script29.size()) + "\r\n");
    Serve("cnpop.txt", "0");
    Serve("Novos/leia.txt", "novo!");
    Serve("Figuras/PECAS-CI-.ZIP", zip);
    Serve("script28.sql", "B:UPDATE PRODUTO SET FlagLancamento=1 WHERE CodigoProduto=?1\r\n" +
                              std::to_string(produtos[0]) + "\r\nE:THIS IS NOT SQL\r\nR:");
    // The template of the first script stays in force for the second one.
    Serve("script29.sql", script29);

    const ResultadoAtualizacao r = InstalaAtualizacao(27, 29, progresso_);
    ASSERT_TRUE(r.Sucesso) << r.NumeroErro << " " << r.DescricaoErro;
    EXPECT_EQ(r.Resposta(), "11");
    EXPECT_TRUE(r.NovosLancamentos);
    EXPECT_TRUE(r.ProgramaIniciar.empty());

    EXPECT_EQ(LeTudo(dados_ + "cnpop.txt"), "0");
    EXPECT_EQ(LeTudo(dados_ + "Novos/leia.txt"), "novo!");
    EXPECT_EQ(LeTudo(dados_ + "Figuras/sub/a.txt"), "AAA");
    EXPECT_EQ(LeTudo(dados_ + "Figuras/b.txt"), "BB");
    EXPECT_FALSE(fs::exists(dados_ + "Figuras/PECAS-CI-.ZIP"));
    EXPECT_TRUE(Temporarios().empty());

    EXPECT_EQ(Registro("Versao").ToLong(), 29);
    EXPECT_EQ(Registro("VersaoAnterior").ToLong(), 27);
    EXPECT_EQ(Registro("FlagErroUltimaVerificacao").ToLong(), 0);
    for (long p : produtos)
        EXPECT_EQ(ObtemValorSQL("SELECT FlagLancamento FROM PRODUTO WHERE CodigoProduto=" + std::to_string(p),
                                vb::Variant())
                      .ToLong(),
                  1);
    EXPECT_TRUE(EstadoPrograma.ReiniciarAposAtualizacao);

    EXPECT_EQ(Pedidos(), (std::vector<std::string>{"/catalogo/ListVersao28.txt", "/catalogo/ListVersao29.txt",
                                                   "/catalogo/cnpop.txt", "/catalogo/Novos/leia.txt",
                                                   "/catalogo/Figuras/PECAS-CI-.ZIP", "/catalogo/script28.sql",
                                                   "/catalogo/script29.sql"}));
    EXPECT_EQ(progresso_.iniciados, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(progresso_.terminados, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(progresso_.totais[1], 3);   // one more than the lists, so the bar fills only at the end
    EXPECT_EQ(progresso_.totais[2], 1 + 5 + static_cast<double>(zip.size()) + 10 + static_cast<double>(script29.size()));
    EXPECT_GT(progresso_.recebidos[2], 0);
    EXPECT_EQ(progresso_.totais[3], 5);
    EXPECT_EQ(progresso_.totais[4], 6);   // the empty text before the first line, then 5 lines
    // The hook is the screen's only while files download.
    EXPECT_FALSE(DefineGanchoProgressoDownload({}));
}

TEST_F(InstalacaoNoServidor, SemNovosLancamentosEProgramaNoFim) {
    // A list saved with a byte-order mark reads the same.
    Serve("ListVersao28.txt", "\xEF\xBB\xBF" "EXE;Atualiza\\roda.sh;10\r\nDAT;leia.txt;3\r\n");
    Serve("Atualiza/roda.sh", "#!/bin/sh\nexit 0\n");
    Serve("leia.txt", "abc");
    const ResultadoAtualizacao r = InstalaAtualizacao(27, 28, progresso_);
    ASSERT_TRUE(r.Sucesso) << r.NumeroErro << " " << r.DescricaoErro;
    EXPECT_EQ(r.Resposta(), "10");
    EXPECT_EQ(r.ProgramaIniciar, dados_ + "Atualiza/roda.sh");
    const fs::perms p = fs::status(r.ProgramaIniciar).permissions();
    EXPECT_NE(p & fs::perms::owner_exec, fs::perms::none);
    EXPECT_EQ(LeTudo(dados_ + "leia.txt"), "abc");
    EXPECT_EQ(Registro("Versao").ToLong(), 28);
    // No script: the database step has nothing to count and only records the version.
    EXPECT_EQ(progresso_.totais[4], 0);
}

TEST_F(InstalacaoNoServidor, NomeQueSaiDaPastaDeDadosERecusadoSemGravarNada) {
    for (const char* nome : {"..\\fora.txt", "Figuras\\..\\..\\fora.txt", "\\tmp\\fora.txt"}) {
        pedidos_.clear();
        Serve("ListVersao28.txt", std::string("DAT;cnpop.txt;1\r\nDAT;") + nome + ";5\r\n");
        Serve("cnpop.txt", "0");
        const ResultadoAtualizacao r = InstalaAtualizacao(27, 28, progresso_);
        EXPECT_FALSE(r.Sucesso) << nome;
        EXPECT_EQ(r.Resposta(), "00");
        EXPECT_EQ(r.NumeroErro, vb::err::BadFileNameOrNumber) << nome;
        EXPECT_EQ(r.Passo, 1);
        EXPECT_EQ(Pedidos(), std::vector<std::string>{"/catalogo/ListVersao28.txt"}) << nome;
        EXPECT_FALSE(fs::exists(fs::path(dados_).parent_path().parent_path() / "fora.txt"));
        EXPECT_EQ(LeTudo(dados_ + "cnpop.txt"), cnpopAntes_);
        EXPECT_TRUE(Temporarios().empty());
        EXPECT_EQ(Registro("Versao").ToLong(), 27);
    }
}

TEST_F(InstalacaoNoServidor, OsBancosAbertosNaoSaoSubstituidos) {
    const std::string catalogoAntes = LeTudo(dados_ + "CatalogoZORNAK.c01");
    for (const char* nome : {"CatalogoZORNAK.c01", "catalogozornak.C02", "CatalogoZORNAK.c01-journal"}) {
        SCOPED_TRACE(nome);
        pedidos_.clear();
        Serve("ListVersao28.txt", std::string("DAT;cnpop.txt;1\r\nDAT;") + nome + ";5\r\n");
        Serve("cnpop.txt", "0");
        Serve(nome, "not a database");
        const ResultadoAtualizacao r = InstalaAtualizacao(27, 28, progresso_);
        EXPECT_FALSE(r.Sucesso);
        EXPECT_EQ(r.NumeroErro, vb::err::PermissionDenied) << r.DescricaoErro;
        EXPECT_EQ(r.Passo, 1);
        EXPECT_EQ(Pedidos(), std::vector<std::string>{"/catalogo/ListVersao28.txt"}) << "nothing downloaded";
        EXPECT_EQ(LeTudo(dados_ + "cnpop.txt"), cnpopAntes_);
        EXPECT_FALSE(fs::exists(dados_ + "CatalogoZORNAK.c01-journal"));
        EXPECT_EQ(Registro("Versao").ToLong(), 27);
    }
    EXPECT_EQ(LeTudo(dados_ + "CatalogoZORNAK.c01"), catalogoAntes);

    // Nor through an archive unpacked into the data folder; the files before it stay as they were.
    QTemporaryDir trabalho;
    const std::string zip =
        CriaZip({{"leia.txt", "x"}, {"catalogozornak.c01", "not a database"}}, trabalho.path().toStdString());
    pedidos_.clear();
    Serve("ListVersao28.txt", "DAT;cnpop.txt;1\r\nDAT;DADOS-CI-.ZIP;" + std::to_string(zip.size()) + "\r\n");
    Serve("DADOS-CI-.ZIP", zip);
    const ResultadoAtualizacao r = InstalaAtualizacao(27, 28, progresso_);
    EXPECT_FALSE(r.Sucesso);
    EXPECT_EQ(r.NumeroErro, vb::err::PermissionDenied) << r.DescricaoErro;
    EXPECT_EQ(r.Passo, 3);
    EXPECT_EQ(LeTudo(dados_ + "CatalogoZORNAK.c01"), catalogoAntes);
    EXPECT_EQ(LeTudo(dados_ + "cnpop.txt"), cnpopAntes_);
    EXPECT_FALSE(fs::exists(dados_ + "leia.txt"));
    EXPECT_TRUE(Temporarios().empty());
    EXPECT_EQ(Registro("Versao").ToLong(), 27);
}

// The disk fills up while an archive is unpacked: the run stops at that file, the files
// after it keep what they held, and the error says which file and why.
TEST_F(InstalacaoNoServidor, UmDiscoCheioNoDesempacotamentoParaNaqueleArquivoEDizPorque) {
    QTemporaryDir trabalho;
    const std::string zip = CriaZip({{"Figuras/A.TXT", "novo a"}, {"Figuras/B.TXT", "novo b"}, {"Figuras/C.TXT", "novo c"}},
                                    trabalho.path().toStdString());
    fs::create_directories(dados_ + "Figuras");
    std::ofstream(dados_ + "Figuras/B.TXT") << "antigo b";
    std::ofstream(dados_ + "Figuras/C.TXT") << "antigo c";
    Serve("ListVersao28.txt", "DAT;DADOS-CI-.ZIP;" + std::to_string(zip.size()) + "\r\nSDB;script28.sql;10\r\n");
    Serve("DADOS-CI-.ZIP", zip);
    Serve("script28.sql", "E:UPDATE UMREGISTRO SET FlagErroUltimaVerificacao=7");
    ResultadoAtualizacao r;
    {
        testsupport::EscritaQueFalha disco(1, ENOSPC);
        r = InstalaAtualizacao(27, 28, progresso_);
    }
    EXPECT_FALSE(r.Sucesso);
    EXPECT_EQ(r.Passo, 3);
    EXPECT_EQ(r.NumeroErro, vb::err::DiskFull) << r.DescricaoErro;
    EXPECT_NE(r.DescricaoErro.find("B.TXT"), std::string::npos) << r.DescricaoErro;
    EXPECT_NE(r.DescricaoErro.find(std::strerror(ENOSPC)), std::string::npos) << r.DescricaoErro;
    EXPECT_EQ(LeTudo(dados_ + "Figuras/A.TXT"), "novo a");
    EXPECT_EQ(LeTudo(dados_ + "Figuras/B.TXT"), "antigo b");
    EXPECT_EQ(LeTudo(dados_ + "Figuras/C.TXT"), "antigo c");
    EXPECT_TRUE(Temporarios().empty());
    EXPECT_EQ(Registro("Versao").ToLong(), 27);
    EXPECT_NE(Registro("FlagErroUltimaVerificacao").ToLong(), 7);
}

// A data folder whose name holds a Latin-1 byte, named so in "Caminho.txt": both databases
// open there, and an update downloads into it, puts its file and unpacks its archive there,
// runs its script and records its version.
TEST_F(InstalacaoNoServidor, UmaPastaDeDadosDeNomeEmLatin1ERecebeAAtualizacao) {
    teste::FechaTudo();
    const std::string pasta = dados_ + "cat\xE1logo/";
    fs::create_directories(pasta);
    for (const char* arquivo : {"CatalogoZORNAK.c01", "CatalogoZORNAK.c02", "cnpop.txt"})
        fs::copy_file(dados_ + arquivo, pasta + arquivo);
    const std::string programa = dados_ + "programa/";
    fs::create_directories(programa);
    std::ofstream(programa + "Caminho.txt", std::ios::binary) << pasta.substr(0, pasta.size() - 1);
    os::SetProgramFolderForTesting(programa);
    const std::string caminhoDados = ObtemCaminhoDados();
    os::SetProgramFolderForTesting("");
    ASSERT_EQ(caminhoDados, pasta);
    teste::AbreComoInicio(caminhoDados);
    EXPECT_FALSE(CriaTabelaCarrinho(EstadoPrograma.DbAuxiliar).empty());

    QTemporaryDir trabalho;
    const std::string png = LeTudo(teste::kDemo + "/Figuras/FG001_01.png");
    ASSERT_FALSE(png.empty());
    const std::string zip = CriaZip({{"Figuras/FG900_01.png", png}}, trabalho.path().toStdString());
    Serve("ListVersao28.txt", "DAT;novo.txt;4\r\nDAT;FIGURAS-CI-.ZIP;" + std::to_string(zip.size()) +
                                  "\r\nSDB;script28.sql;10\r\n");
    Serve("novo.txt", "novo");
    Serve("FIGURAS-CI-.ZIP", zip);
    Serve("script28.sql", "E:UPDATE UMREGISTRO SET FlagErroUltimaVerificacao=7");
    const ResultadoAtualizacao r = InstalaAtualizacao(27, 28, progresso_);
    EXPECT_TRUE(r.Sucesso) << r.NumeroErro << " " << r.DescricaoErro;
    EXPECT_EQ(LeTudo(pasta + "novo.txt"), "novo");
    DimensoesImagem d;
    std::string tipo;
    EXPECT_TRUE(ObtemDimensoesImagem(LocalizaArquivo(pasta + "Figuras/", "fg900_01.PNG"), d, tipo));
    EXPECT_EQ(tipo, "png");
    EXPECT_EQ(Registro("Versao").ToLong(), 28);
    EXPECT_EQ(Registro("FlagErroUltimaVerificacao").ToLong(), 0);
    for (const auto& e : fs::directory_iterator(pasta)) EXPECT_NE(e.path().extension(), ".tmp") << e.path();
}

TEST_F(InstalacaoNoServidor, ArquivoQueFaltaNoServidorParaTudoComOsArquivosAntigosIntactos) {
    Serve("ListVersao28.txt", "DAT;cnpop.txt;1\r\nDAT;falta.txt;5\r\nSDB;script28.sql;10\r\n");
    Serve("cnpop.txt", "0");
    Serve("script28.sql", "E:UPDATE UMREGISTRO SET FlagErroUltimaVerificacao=7");
    const ResultadoAtualizacao r = InstalaAtualizacao(27, 28, progresso_);
    EXPECT_FALSE(r.Sucesso);
    EXPECT_EQ(r.Resposta(), "00");
    EXPECT_EQ(r.NumeroErro, -104);
    EXPECT_NE(r.DescricaoErro.find("404"), std::string::npos) << r.DescricaoErro;
    EXPECT_EQ(r.Passo, 2);
    EXPECT_EQ(LeTudo(dados_ + "cnpop.txt"), cnpopAntes_);
    EXPECT_FALSE(fs::exists(dados_ + "falta.txt"));
    EXPECT_TRUE(Temporarios().empty());
    EXPECT_EQ(Registro("Versao").ToLong(), 27);
    EXPECT_NE(Registro("FlagErroUltimaVerificacao").ToLong(), 7);
    EXPECT_EQ(progresso_.terminados, std::vector<int>{1});
    EXPECT_FALSE(DefineGanchoProgressoDownload({}));
}

// The maker moved its files: the old addresses answer with redirects, which the run follows
// for the list and for each file. A loop, or a redirect to another scheme, stops the run and
// says so; nothing is installed then.
TEST_F(InstalacaoNoServidor, ListaEArquivosMudadosDeEnderecoSaoSeguidos) {
    const std::string aqui = "http://127.0.0.1:" + std::to_string(servidor_->Porta());
    auto redireciona = [](int status, const std::string& para) {
        return ServidorHttpTeste::Resposta(status, "moved", "Location: " + para + "\r\n");
    };
    Serve("novo/ListVersao28.txt", "DAT;cnpop.txt;1\r\nDAT;Novos\\leia.txt;3\r\n");
    ServeBruto("ListVersao28.txt", redireciona(302, "/catalogo/novo/ListVersao28.txt"));
    ServeBruto("cnpop.txt", redireciona(301, aqui + "/catalogo/arquivos/cnpop.txt"));
    Serve("arquivos/cnpop.txt", "0");
    ServeBruto("Novos/leia.txt", redireciona(307, "../arquivos/leia.txt"));
    Serve("arquivos/leia.txt", "abc");
    ResultadoAtualizacao r = InstalaAtualizacao(27, 28, progresso_);
    ASSERT_TRUE(r.Sucesso) << r.NumeroErro << " " << r.DescricaoErro;
    EXPECT_EQ(LeTudo(dados_ + "cnpop.txt"), "0");
    EXPECT_EQ(LeTudo(dados_ + "Novos/leia.txt"), "abc");
    EXPECT_EQ(Registro("Versao").ToLong(), 28);
    EXPECT_EQ(progresso_.recebidos[2], 4) << "only the files' own bytes count";
    EXPECT_TRUE(Temporarios().empty());

    struct Caso {
        const char* nome;
        std::string lista, arquivo;   // where ListVersao29.txt and leia.txt send the run
        int passo;
        std::string texto;
    };
    const std::vector<Caso> casos = {
        {"the list in a loop", "/catalogo/ListVersao29.txt", "", 1, "too many redirects (more than 10)"},
        {"a file to another scheme", "", "ftp://127.0.0.1/leia.txt", 2,
         "redirect to an unsupported address: ftp://127.0.0.1/leia.txt"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        Serve("ListVersao29.txt", "DAT;cnpop.txt;1\r\nDAT;leia.txt;3\r\n");
        {
            std::lock_guard<std::mutex> trava(mutex_);
            brutos_.clear();
        }
        if (!c.lista.empty()) ServeBruto("ListVersao29.txt", redireciona(302, c.lista));
        if (!c.arquivo.empty()) ServeBruto("leia.txt", redireciona(302, c.arquivo));
        Serve("cnpop.txt", "1");
        r = InstalaAtualizacao(28, 29, progresso_);
        EXPECT_FALSE(r.Sucesso);
        EXPECT_EQ(r.NumeroErro, -104);
        EXPECT_EQ(r.Passo, c.passo);
        EXPECT_NE(r.DescricaoErro.find("HttpSendRequest:12156 - " + c.texto), std::string::npos) << r.DescricaoErro;
        EXPECT_EQ(LeTudo(dados_ + "cnpop.txt"), "0");
        EXPECT_FALSE(fs::exists(dados_ + "leia.txt"));
        EXPECT_EQ(Registro("Versao").ToLong(), 28);
        EXPECT_TRUE(Temporarios().empty());
    }
}

// An archive holding entries whose names lead out of the target folder: they are never
// written, and the error names each one and why, so the maker knows what to mend.
TEST_F(InstalacaoNoServidor, UmArquivoCompactadoComEntradaInseguraDizQualEPorque) {
    QTemporaryDir trabalho;
    const std::string zip = CriaZip({{"bom.txt", "bom"}, {"../fora.txt", "fora"}, {"/tmp/absoluto.txt", "abs"}},
                                    trabalho.path().toStdString());
    Serve("ListVersao28.txt", "DAT;Figuras\\FOTOS-CI-.ZIP;" + std::to_string(zip.size()) + "\r\n");
    Serve("Figuras/FOTOS-CI-.ZIP", zip);
    const ResultadoAtualizacao r = InstalaAtualizacao(27, 28, progresso_);
    EXPECT_FALSE(r.Sucesso);
    EXPECT_EQ(r.Passo, 3);
    EXPECT_EQ(r.NumeroErro, vb::err::PathFileAccessError);
    EXPECT_EQ(r.DescricaoErro.rfind("The archive \"Figuras\\FOTOS-CI-.ZIP\" could not be unpacked: ", 0), 0u)
        << r.DescricaoErro;
    for (const char* entrada : {"../fora.txt: the name leads outside the target folder",
                                "/tmp/absoluto.txt: the name leads outside the target folder"})
        EXPECT_NE(r.DescricaoErro.find(entrada), std::string::npos) << r.DescricaoErro;
    EXPECT_FALSE(fs::exists(dados_ + "fora.txt"));
    EXPECT_FALSE(fs::exists("/tmp/absoluto.txt"));
    EXPECT_EQ(Registro("Versao").ToLong(), 27);
    EXPECT_TRUE(Temporarios().empty());
}

TEST_F(InstalacaoNoServidor, FalhasDepoisDosDownloadsSaoRelatadas) {
    // An archive that does not unpack stops the run before the database is touched.
    Serve("ListVersao28.txt", "DAT;FOTOS-CI-.ZIP;5\r\nSDB;script28.sql;10\r\n");
    Serve("FOTOS-CI-.ZIP", "not a zip archive");
    Serve("script28.sql", "E:UPDATE UMREGISTRO SET FlagErroUltimaVerificacao=7");
    ResultadoAtualizacao r = InstalaAtualizacao(27, 28, progresso_);
    EXPECT_FALSE(r.Sucesso);
    EXPECT_EQ(r.Passo, 3);
    EXPECT_EQ(Registro("Versao").ToLong(), 27);
    EXPECT_TRUE(Temporarios().empty());

    // A list version that the server lacks.
    r = InstalaAtualizacao(27, 30, progresso_);
    EXPECT_FALSE(r.Sucesso);
    EXPECT_EQ(r.NumeroErro, -104);
    EXPECT_EQ(r.Passo, 1);
}

TEST_F(InstalacaoNoServidor, SemRegistroAVersaoNaoGravadaEFalha) {
    Serve("ListVersao28.txt", "SDB;script28.sql;10\r\n");
    // The script takes away the record that the version goes into.
    Serve("script28.sql", "E:DELETE FROM UMREGISTRO");
    const ResultadoAtualizacao r = InstalaAtualizacao(27, 28, progresso_);
    EXPECT_FALSE(r.Sucesso);
    EXPECT_EQ(r.Resposta(), "00");
    EXPECT_EQ(r.Passo, 4);
    // Nothing of the run's writable catalogue is left holding a transaction.
    testsupport::OutroProgramaGravaCatalogo();
}

// The main window runs the installation while it holds the update lock (an open transaction
// on the same catalogue): what the run writes must survive the lock's release, and a failed
// run must leave the lock held and usable.
TEST_F(InstalacaoNoServidor, SobOBloqueioDaAtualizacaoOQueOScriptGravaFica) {
    const std::vector<long> produtos = ProdutosSemLancamento(1);
    ASSERT_EQ(produtos.size(), 1u);
    Serve("ListVersao28.txt", "SDB;script28.sql;10\r\n");
    Serve("script28.sql", "E:UPDATE PRODUTO SET FlagLancamento=1 WHERE CodigoProduto=" +
                              std::to_string(produtos[0]) + "\r\nE:NOT SQL AT ALL\r\nE:CREATE TABLE NOVA_TABELA (a Long)");
    ASSERT_TRUE(BloqueiaAtualizacao(true));
    const ResultadoAtualizacao r = InstalaAtualizacao(27, 28, progresso_);
    ASSERT_TRUE(r.Sucesso) << r.NumeroErro << " " << r.DescricaoErro;
    EXPECT_EQ(r.Resposta(), "11");
    ASSERT_GT(EstadoPrograma.WsBloqueio.TransactionLevel(), 0) << "the lock is still held after the run";
    ASSERT_TRUE(BloqueiaAtualizacao(false));

    // Read back through a connection of its own, after everything of this process is closed.
    teste::FechaTudo();
    EXPECT_EQ(ValorReaberto("SELECT Versao FROM UMREGISTRO"), "28");
    EXPECT_EQ(ValorReaberto("SELECT VersaoAnterior FROM UMREGISTRO"), "27");
    EXPECT_EQ(ValorReaberto("SELECT FlagLancamento FROM PRODUTO WHERE CodigoProduto=" + std::to_string(produtos[0])), "1");
    EXPECT_EQ(ValorReaberto("SELECT Count(*) FROM NOVA_TABELA"), "0");
}

// A script's statements in Jet's own forms (its arithmetic, True as -1, Yes, the named
// formats, ANY and ALL, the VB date and text functions) store what Jet stores: none is
// refused and skipped in silence, none stores another value.
TEST_F(InstalacaoNoServidor, OsComandosDoScriptGuardamOQueOJetGuardaria) {
    Serve("ListVersao28.txt", "SDB;script28.sql;10\r\n");
    Serve("script28.sql",
          "E:CREATE TABLE ZkExpr (Id Long, V Double, T Text(60))\r\n"
          "E:INSERT INTO ZkExpr (Id, V, T) VALUES (1, 10 / 4 + 7 \\ 2 + 12.6 Mod 5 + 2 ^ 3, "
          "Format(1234.5, 'Currency') & ' ' & Format(0.125, 'Percent'))\r\n"
          "E:INSERT INTO ZkExpr (Id, V, T) VALUES (2, (1 < 2) + Yes, IIF(Round(2.5) = 2, 'even', 'odd'))\r\n"
          "E:INSERT INTO ZkExpr (Id, V, T) SELECT 3, DateDiff('d', #1/1/2024#, DateAdd('m', 1, #1/31/2024#)), "
          "Format(DateSerial(2024, 5, 7), 'Long Date') & ' ' & WeekdayName(Weekday(#5/7/2024#)) FROM ZkExpr WHERE Id = 1\r\n"
          "E:UPDATE ZkExpr SET V = V * 100 + InStr(4, 'XXpXXpXXPXXP', 'P', 1) * 10 + Choose(2, 1, 2, 3) WHERE Id = 2\r\n"
          "E:UPDATE ZkExpr SET T = T & '!' WHERE Id > ANY (SELECT Id FROM ZkExpr WHERE Id < 3) AND "
          "Id <> ALL (SELECT Id FROM ZkExpr WHERE Id = 2)\r\n");
    const ResultadoAtualizacao r = InstalaAtualizacao(27, 28, progresso_);
    ASSERT_TRUE(r.Sucesso) << r.NumeroErro << " " << r.DescricaoErro;

    teste::FechaTudo();
    EXPECT_EQ(ValorReaberto("SELECT Versao FROM UMREGISTRO"), "28");
    EXPECT_EQ(ValorReaberto("SELECT V & '|' & T FROM ZkExpr WHERE Id = 1"), "16.5|$1,234.50 12.50%");
    EXPECT_EQ(ValorReaberto("SELECT V & '|' & T FROM ZkExpr WHERE Id = 2"), "-138|even");
    EXPECT_EQ(ValorReaberto("SELECT V & '|' & T FROM ZkExpr WHERE Id = 3"), "59|Tuesday, May 7, 2024 Tuesday!");
}

TEST_F(InstalacaoNoServidor, UmaFalhaSobOBloqueioDeixaOBloqueioUtilizavel) {
    Serve("ListVersao28.txt", "SDB;script28.sql;10\r\n");
    Serve("script28.sql", "E:UPDATE UMREGISTRO SET FlagErroUltimaVerificacao=7\r\nE:DELETE FROM UMREGISTRO");
    ASSERT_TRUE(BloqueiaAtualizacao(true));
    const ResultadoAtualizacao r = InstalaAtualizacao(27, 28, progresso_);
    EXPECT_FALSE(r.Sucesso);
    EXPECT_EQ(r.Passo, 4);
    ASSERT_GT(EstadoPrograma.WsBloqueio.TransactionLevel(), 0);
    // The main window records the check under the lock, then releases it.
    EXPECT_NO_THROW(EstadoPrograma.DbBloqueio.Execute(consultas::BloqueiaAtualizacao(), dao::dbFailOnError));
    EXPECT_TRUE(BloqueiaAtualizacao(false));
    EXPECT_TRUE(EstadoPrograma.WsBloqueio.IsNothing() || EstadoPrograma.WsBloqueio.TransactionLevel() == 0);
}

// A server that ends its replies by closing the connection (HTTP/1.0 without a length), cut
// off before the end of a file: the size in the list shows the file incomplete. The run fails
// as a failed download; nothing is put in place and the version stays, so the update is
// offered again.
TEST_F(InstalacaoNoServidor, UmDownloadCortadoSemTamanhoFalhaENadaEInstalado) {
    const std::string semTamanho = "HTTP/1.0 200 OK\r\nConnection: close\r\n\r\n";
    struct Caso {
        const char* nome;
        std::string lista;
        std::string cortado, resposta;
    };
    const std::vector<Caso> casos = {
        {"a data file", "DAT;cnpop.txt;10\r\nDAT;leia.txt;3\r\n", "cnpop.txt", semTamanho + "0123"},
        {"a script", "DAT;leia.txt;3\r\nSDB;script28.sql;60\r\n", "script28.sql",
         semTamanho + "E:UPDATE UMREGISTRO SET DataEmissaoTexto"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        Serve("ListVersao28.txt", c.lista);
        Serve("leia.txt", "abc");
        ServeBruto(c.cortado, c.resposta);
        const ResultadoAtualizacao r = InstalaAtualizacao(27, 28, progresso_);
        EXPECT_FALSE(r.Sucesso);
        EXPECT_EQ(r.Resposta(), "00");
        EXPECT_EQ(r.Passo, 2);
        EXPECT_EQ(r.NumeroErro, vb::err::DeviceIOError);
        EXPECT_NE(r.DescricaoErro.find(c.cortado), std::string::npos) << r.DescricaoErro;
        EXPECT_FALSE(fs::exists(dados_ + "leia.txt"));
        EXPECT_EQ(LeTudo(dados_ + "cnpop.txt"), cnpopAntes_);
        EXPECT_EQ(Registro("Versao").ToLong(), 27);
        EXPECT_TRUE(Temporarios().empty());
    }
    // More bytes than the list says is no failure (the bar only fills early).
    Serve("ListVersao28.txt", "DAT;leia.txt;2\r\n");
    ServeBruto("leia.txt", semTamanho + "abc");
    const ResultadoAtualizacao r = InstalaAtualizacao(27, 28, progresso_);
    ASSERT_TRUE(r.Sucesso) << r.NumeroErro << " " << r.DescricaoErro;
    EXPECT_EQ(LeTudo(dados_ + "leia.txt"), "abc");
}

// A reply that announces its length and brings all of it is the whole file, whatever size its
// list line gives (the lists are written by hand and may be off either way). Short of its
// own length it is a failed download, even when the list's size was reached.
TEST_F(InstalacaoNoServidor, UmCorpoInteiroPeloSeuTamanhoEInstaladoQualquerQueSejaOTamanhoDaLista) {
    const std::string arquivo = "23 bytes de um arquivo.";
    const std::string script = "E:UPDATE UMREGISTRO SET DataEmissao=Null";
    ASSERT_EQ(arquivo.size(), 23u);
    struct Caso {
        const char* nome;
        std::string lista;
        std::string corpo;
        std::size_t anunciado;   // the reply's Content-Length
        bool instala;
    };
    const std::vector<Caso> casos = {
        {"the list gives one byte more", "DAT;leia.txt;24\r\n", arquivo, 23, true},
        {"the list gives far more", "DAT;leia.txt;100000\r\n", arquivo, 23, true},
        {"the list gives less", "DAT;leia.txt;5\r\n", arquivo, 23, true},
        {"a script the list makes larger", "SDB;leia.txt;80\r\n", script, script.size(), true},
        {"cut short of its length", "DAT;leia.txt;24\r\n", arquivo, 24, false},
        {"cut short of its length, the list's size reached", "DAT;leia.txt;23\r\n", arquivo, 30, false},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        fs::remove(dados_ + "leia.txt");
        {
            teste::Escrita e;
            e.Executa("UPDATE UMREGISTRO SET Versao=27");
        }
        Serve("ListVersao28.txt", c.lista);
        ServeBruto("leia.txt", "HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(c.anunciado) +
                                   "\r\nConnection: close\r\n\r\n" + c.corpo);
        const ResultadoAtualizacao r = InstalaAtualizacao(27, 28, progresso_);
        EXPECT_EQ(r.Sucesso, c.instala) << r.NumeroErro << " " << r.DescricaoErro;
        EXPECT_TRUE(Temporarios().empty());
        if (c.instala) {
            EXPECT_EQ(r.Resposta().substr(0, 1), "1");
            EXPECT_EQ(Registro("Versao").ToLong(), 28);
            if (c.corpo == arquivo) {
                EXPECT_EQ(LeTudo(dados_ + "leia.txt"), arquivo);
            } else {
                EXPECT_TRUE(Registro("DataEmissao").IsNull());
            }
        } else {
            EXPECT_EQ(r.Resposta(), "00");
            EXPECT_EQ(r.Passo, 2);
            EXPECT_EQ(r.NumeroErro, -104);
            EXPECT_NE(r.DescricaoErro.find("InternetReadFile:"), std::string::npos) << r.DescricaoErro;
            EXPECT_NE(r.DescricaoErro.find(";-105;"), std::string::npos) << r.DescricaoErro;
            EXPECT_FALSE(fs::exists(dados_ + "leia.txt"));
            EXPECT_EQ(Registro("Versao").ToLong(), 27);
        }
    }
}

// The catalogue is killed (kill -9, a power cut) while it shows that the update is installed:
// opened again, the catalogue holds the update (the new version, the previous one, what the
// script wrote) beside the files put in place; while the box was up no other computer could
// take the lock, and once the catalogue is gone the lock is free.
TEST_F(InstalacaoNoServidor, MortoDuranteAMensagemDeSucessoOCatalogoFicaAtualizado) {
    const std::vector<long> produtos = ProdutosSemLancamento(1);
    ASSERT_EQ(produtos.size(), 1u);
    Serve("ListVersao28.txt", "DAT;leia.txt;3\r\nSDB;script28.sql;10\r\n");
    Serve("leia.txt", "abc");
    Serve("script28.sql", "E:CREATE TABLE NOVA_TABELA (a Long)\r\nB:INSERT INTO NOVA_TABELA (a) VALUES (?1)\r\n1\r\n2\r\n3\r\n"
                          "E:UPDATE PRODUTO SET FlagLancamento=1 WHERE CodigoProduto=" + std::to_string(produtos[0]));
    // The other program is the catalogue now; this one only looks at the folder afterwards.
    teste::FechaTudo();
    const QString pasta = QString::fromStdString(dados_.substr(0, dados_.size() - 1));
    auto tenta = [&] {
        QProcess outro;
        outro.start(ZK_AJUDANTE, {"tenta", pasta});
        EXPECT_TRUE(outro.waitForFinished(60000));
        // "1" or "0", then "solto" after a release.
        return outro.readAllStandardOutput().split('\n').value(0).trimmed().toStdString();
    };

    QProcess catalogo;
    QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
    ambiente.insert("QT_QPA_PLATFORM", "offscreen");
    catalogo.setProcessEnvironment(ambiente);
    catalogo.start(ZK_AJUDANTE_INSTALACAO, {pasta, "6|27|28"});
    ASSERT_TRUE(catalogo.waitForStarted(20000));
    std::string linha;
    while (linha.rfind("caixa ", 0) != 0) {
        while (!catalogo.canReadLine())
            ASSERT_TRUE(catalogo.waitForReadyRead(60000)) << catalogo.readAllStandardError().toStdString();
        linha = QString::fromUtf8(catalogo.readLine()).trimmed().toStdString();
        ASSERT_NE(linha, "sem bloqueio");
    }
    ASSERT_EQ(linha, "caixa " + Traduz(72) + ".");
    EXPECT_EQ(tenta(), "0") << "the lock is held while the box is up";
    catalogo.kill();
    ASSERT_TRUE(catalogo.waitForFinished(20000));

    EXPECT_EQ(ValorReaberto("SELECT Versao FROM UMREGISTRO"), "28");
    EXPECT_EQ(ValorReaberto("SELECT VersaoAnterior FROM UMREGISTRO"), "27");
    EXPECT_EQ(ValorReaberto("SELECT Count(*) FROM NOVA_TABELA"), "3");
    EXPECT_EQ(ValorReaberto("SELECT FlagLancamento FROM PRODUTO WHERE CodigoProduto=" + std::to_string(produtos[0])), "1");
    EXPECT_EQ(LeTudo(dados_ + "leia.txt"), "abc");
    EXPECT_EQ(tenta(), "1");
}

// Another computer reads the catalogue all the while the update is being committed (a query
// that does not end): the commit cannot finish, and the run fails with nothing of it kept, not
// left for the lock's release to commit later under a version reported as not installed.
TEST_F(InstalacaoNoServidor, UmaGravacaoQueNaoTerminaEUmaFalhaSemNadaGravado) {
    Serve("ListVersao28.txt", "SDB;script28.sql;10\r\n");
    Serve("script28.sql", "E:CREATE TABLE NOVA_TABELA (a Long)");
    ASSERT_TRUE(BloqueiaAtualizacao(true));
    QProcess leitor;
    leitor.start(ZK_AJUDANTE, {"leitura", QString::fromStdString(dados_.substr(0, dados_.size() - 1))});
    ASSERT_TRUE(leitor.waitForStarted(20000));
    while (!leitor.canReadLine()) ASSERT_TRUE(leitor.waitForReadyRead(60000));
    ASSERT_EQ(leitor.readLine().trimmed().toStdString(), "1");

    const ResultadoAtualizacao r = InstalaAtualizacao(27, 28, progresso_);
    EXPECT_FALSE(r.Sucesso);
    EXPECT_EQ(r.Resposta(), "00");
    EXPECT_EQ(r.NumeroErro, dao::jet::Locked) << r.DescricaoErro;
    EXPECT_EQ(r.Passo, 4);
    EXPECT_FALSE(DetemBloqueioAtualizacao()) << "the lock went with the transaction";
    leitor.write("solta\n");
    ASSERT_TRUE(leitor.waitForFinished(60000));
    EXPECT_TRUE(BloqueiaAtualizacao(false));
    teste::FechaTudo();
    EXPECT_EQ(ValorReaberto("SELECT Versao FROM UMREGISTRO"), "27");
    EXPECT_THROW(ValorReaberto("SELECT Count(*) FROM NOVA_TABELA"), vb::Error) << "the script's table is not there";
}

// Runs killed while downloading left their temporary files in the data folder. The next
// installation, under the lock, removes them, this computer's and other computers' alike, and
// nothing else: a user's own ".tmp" files, names of another form, and a file of that form just
// written (the result file of another computer's check) stay. Without the lock nothing goes.
TEST_F(InstalacaoNoServidor, OsDownloadsDeixadosPorExecucoesMortasSaoApagadosNaSeguinte) {
    Serve("ListVersao28.txt", "DAT;leia.txt;3\r\n");
    Serve("leia.txt", "abc");
    struct Arquivo {
        std::string nome;
        bool antigo;   // written an hour ago, else just now
        bool fica;
    };
    const std::vector<Arquivo> arquivos = {
        {fs::path(GeraNomeArquivoUnico("tmp")).filename().string(), true, false},   // this computer's run
        {"0512262307110BADF00D42.tmp", true, false},                                // another computer's
        {"3009261512080BADF00D0.tmp", true, false},
        {"0512262307110BADF00D43.tmp", false, true},                                // just written
        {"notas.tmp", true, true},
        {"0512262307110BADF00D12345.tmp", true, true},                              // five digits
        {"0512262307110BADF00D042.tmp", true, true},                                // a leading zero
        {"0512262307110badf00d42.tmp", true, true},                                 // a lower-case serial
        {"6012262307110BADF00D42.tmp", true, true},                                 // second 60
        {"0512262307110BADF00D42.TMP", true, true},
        {"0512262307110BADF00D42.tmp.bak", true, true},
    };
    const auto horaAtras = fs::file_time_type::clock::now() - std::chrono::hours(1);
    for (const Arquivo& a : arquivos) {
        std::ofstream(dados_ + a.nome) << "parte de um download";
        if (a.antigo) fs::last_write_time(dados_ + a.nome, horaAtras);
    }

    ResultadoAtualizacao r = InstalaAtualizacao(27, 28, progresso_);
    ASSERT_TRUE(r.Sucesso) << r.NumeroErro << " " << r.DescricaoErro;
    for (const Arquivo& a : arquivos) EXPECT_TRUE(fs::exists(dados_ + a.nome)) << "without the lock: " << a.nome;

    {
        teste::Escrita e;
        e.Executa("UPDATE UMREGISTRO SET Versao=27");
    }
    ASSERT_TRUE(BloqueiaAtualizacao(true));
    r = InstalaAtualizacao(27, 28, progresso_);
    ASSERT_TRUE(r.Sucesso) << r.NumeroErro << " " << r.DescricaoErro;
    EXPECT_TRUE(BloqueiaAtualizacao(false));
    for (const Arquivo& a : arquivos) EXPECT_EQ(fs::exists(dados_ + a.nome), a.fica) << a.nome;
    EXPECT_EQ(LeTudo(dados_ + "leia.txt"), "abc");
}

}  // namespace
